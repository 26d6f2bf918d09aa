#include "guard.h"

#include <windows.h>

// GCC offers no __try on Windows. The guard therefore installs a handler of
// its own for CallGuarded's frame: on 32-bit x86 a record on the thread's
// handler chain (fs:[0]), on x86-64 a handler named in CallGuarded's unwind
// data. The handler unwinds the frames above and jumps back to the state
// that CallGuarded saved.

static bool __attribute__((noinline)) CallCatching(void (*Body)(void *), void *Context) {
  try {
    Body(Context);
    return true;
  } catch (...) {
    return false;
  }
}

#if defined(__i386__)

struct GuardFrame {
  GuardFrame *Next;  // what the system walks: the next record, then the handler
  void *Handler;
  void *Resume[5];
};

static GuardFrame *ReadHandlerChain() {
  GuardFrame *Top;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(Top));
  return Top;
}

static void WriteHandlerChain(GuardFrame *Top) {
  __asm__ volatile("movl %0, %%fs:0" : : "r"(Top) : "memory");
}

extern "C" EXCEPTION_DISPOSITION __cdecl CatchGuardedFault(EXCEPTION_RECORD *Record, void *Frame,
                                                           CONTEXT *, void *) {
  if (Record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  GuardFrame *Guard = (GuardFrame *)Frame;
  RtlUnwind(Frame, NULL, Record, NULL);
  WriteHandlerChain(Guard);
  __builtin_longjmp(Guard->Resume, 1);
}

bool CallGuarded(void (*Body)(void *), void *Context) {
  GuardFrame Guard;
  Guard.Next = ReadHandlerChain();
  Guard.Handler = (void *)CatchGuardedFault;
  volatile bool Done = false;
  if (__builtin_setjmp(Guard.Resume) == 0) {
    WriteHandlerChain(&Guard);
    Done = CallCatching(Body, Context);
  }
  WriteHandlerChain(Guard.Next);
  return Done;
}

#elif defined(__x86_64__)

struct GuardFrame {
  GuardFrame *Outer;
  void *Resume[5];
};
// Courier runs on the host's one thread only.
static GuardFrame *ActiveGuard;

extern "C" void __attribute__((noreturn, used)) ResumeActiveGuard() {
  __builtin_longjmp(ActiveGuard->Resume, 1);
}

// The unwind ends here, in CallGuarded's frame; give the call below an
// aligned stack with its shadow space.
extern "C" void LandGuardedFault();
__asm__(".text\n"
        ".globl LandGuardedFault\n"
        "LandGuardedFault:\n"
        "\tandq $-16, %rsp\n"
        "\tsubq $32, %rsp\n"
        "\tcall ResumeActiveGuard\n");

extern "C" EXCEPTION_DISPOSITION CatchGuardedFault(EXCEPTION_RECORD *Record, void *Frame,
                                                   CONTEXT *Context, void *Dispatch) {
  if ((Record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) || !ActiveGuard)
    return ExceptionContinueSearch;
  RtlUnwindEx(Frame, (void *)LandGuardedFault, Record, NULL, Context,
              ((DISPATCHER_CONTEXT *)Dispatch)->HistoryTable);
  return ExceptionContinueSearch;
}

bool __attribute__((noinline)) CallGuarded(void (*Body)(void *), void *Context) {
  __asm__(".seh_handler CatchGuardedFault, @except");
  GuardFrame Guard;
  Guard.Outer = ActiveGuard;
  volatile bool Done = false;
  if (__builtin_setjmp(Guard.Resume) == 0) {
    ActiveGuard = &Guard;
    Done = CallCatching(Body, Context);
  }
  ActiveGuard = Guard.Outer;
  return Done;
}

#endif
