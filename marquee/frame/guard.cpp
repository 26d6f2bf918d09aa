#include "guard.h"

#include <windows.h>

// GCC has no __try for Windows targets. On 32-bit x86 the guard puts a record
// of its own on the thread's exception-handler chain (fs:[0]); on x86-64, where
// handlers are found through unwind tables, RunGuarded names its handler in
// its own unwind data. Either way the handler jumps back into RunGuarded.

// Marquee itself is built without C++ exceptions (nothing in it throws, and
// the runtime support would make the DLL seven times larger); a host's C++
// exceptions cross module borders as structured exceptions and are caught as
// those.
static bool __attribute__((noinline)) RunCatching(void (*Body)(void *), void *Context) {
#if __cpp_exceptions
  try {
    Body(Context);
    return true;
  } catch (...) {
    return false;
  }
#else
  Body(Context);
  return true;
#endif
}

#if defined(__i386__)

struct GuardRecord {
  GuardRecord *Next;  // the layout the system walks: next, then handler
  void *Handler;
  void *JumpBuffer[5];
};

static GuardRecord *GetHandlerChain() {
  GuardRecord *Top;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(Top));
  return Top;
}

static void SetHandlerChain(GuardRecord *Top) {
  __asm__ volatile("movl %0, %%fs:0" : : "r"(Top) : "memory");
}

extern "C" EXCEPTION_DISPOSITION __cdecl HandleGuardException(EXCEPTION_RECORD *Record,
                                                              void *Frame, CONTEXT *, void *) {
  if (Record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  GuardRecord *Guard = (GuardRecord *)Frame;
  // Lets the handlers registered above ours clean up, then drops them.
  RtlUnwind(Frame, NULL, Record, NULL);
  SetHandlerChain(Guard);
  __builtin_longjmp(Guard->JumpBuffer, 1);
}

bool RunGuarded(void (*Body)(void *), void *Context) {
  GuardRecord Guard;
  Guard.Next = GetHandlerChain();
  Guard.Handler = (void *)HandleGuardException;
  volatile bool Succeeded = false;
  if (__builtin_setjmp(Guard.JumpBuffer) == 0) {
    SetHandlerChain(&Guard);
    Succeeded = RunCatching(Body, Context);
  }
  SetHandlerChain(Guard.Next);
  return Succeeded;
}

#elif defined(__x86_64__)

// The innermost guard of this thread; guards nest through Outer.
struct GuardRecord {
  GuardRecord *Outer;
  void *JumpBuffer[5];
};
static __thread GuardRecord *InnermostGuard;

extern "C" void __attribute__((noreturn, used)) JumpToInnermostGuard() {
  __builtin_longjmp(InnermostGuard->JumpBuffer, 1);
}

// Where the unwind lands, on RunGuarded's own frame: realign the stack and
// jump back to the guard's saved state.
extern "C" void ResumeGuardedCall();
__asm__(".text\n"
        ".globl ResumeGuardedCall\n"
        "ResumeGuardedCall:\n"
        "\tandq $-16, %rsp\n"
        "\tsubq $32, %rsp\n"
        "\tcall JumpToInnermostGuard\n");

extern "C" EXCEPTION_DISPOSITION HandleGuardException(EXCEPTION_RECORD *Record, void *Frame,
                                                      CONTEXT *Context, void *Dispatch) {
  if ((Record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) || !InnermostGuard)
    return ExceptionContinueSearch;
  // A proper unwind, so that the frames in between (the system's own among
  // them) are told and dropped; it ends in ResumeGuardedCall.
  RtlUnwindEx(Frame, (void *)ResumeGuardedCall, Record, NULL, Context,
              ((DISPATCHER_CONTEXT *)Dispatch)->HistoryTable);
  return ExceptionContinueSearch;
}

bool __attribute__((noinline)) RunGuarded(void (*Body)(void *), void *Context) {
  __asm__(".seh_handler HandleGuardException, @except");
  GuardRecord Guard;
  Guard.Outer = InnermostGuard;
  volatile bool Succeeded = false;
  if (__builtin_setjmp(Guard.JumpBuffer) == 0) {
    InnermostGuard = &Guard;
    Succeeded = RunCatching(Body, Context);
  }
  InnermostGuard = Guard.Outer;
  return Succeeded;
}

#endif
