// The stand-in LAN Manager (netapi32.dll and mpr.dll built from this folder)
// answers from a scripted network and keeps a log of every message it
// delivers. Tests and the demo load it by name: beside the program, with
// WINEDLLOVERRIDES="netapi32,mpr=n", it is what LoadLibraryA("netapi32.dll")
// finds, and what Courier.dll is bound to.
//
// The script, UTF-8, one statement a line, fields separated by '|' (blanks
// around them are ignored), '#' starts a comment line:
//   network | NAME                  a provider at the root of the network
//   domain  | NAME | PARENT         a domain or workgroup inside PARENT
//   generic | NAME | PARENT         another kind of container
//   server  | \\NAME | PARENT       a server (its remote name, backslashes included)
//   share   | \\NAME\SHARE | PARENT a share (not a container)
//   user    | SERVER | NAME [| normal | trust | temp]   an account of SERVER
//   denyusers | SERVER | ERROR      NetUserEnum on SERVER fails with ERROR
//   dc      | DOMAIN | \\SERVER     the domain controller of DOMAIN
//   refuse  | NAME | ERROR          NetMessageBufferSend to NAME fails with ERROR
//   crash   | NAME                  NetMessageBufferSend to NAME raises an access violation
//   userbatch | N                   NetUserEnum hands over at most N names a call
//   enumbatch | N                   WNetEnumResourceA hands over at most N resources a call
// Server and message names match without regard to case; a server matches
// with or without its leading backslashes. A message to any name not refused
// is delivered.
#ifndef NETSTUB_NETSTUB_H
#define NETSTUB_NETSTUB_H

#include <windows.h>

// The control functions that netapi32.dll exports besides the real ones.
struct NetStub {
  HMODULE Module = nullptr;
  // Forgets the network, the logs and the counters, then reads Script;
  // 0 when every line was understood, else the number of the first bad line.
  int(WINAPI *Load)(const char *Script) = nullptr;
  int(WINAPI *MessageCount)() = nullptr;
  // Message Index as delivered: recipient, text (Bytes / 2 characters,
  // terminated here) and the length the caller passed.
  BOOL(WINAPI *Message)(int Index, const WCHAR **Recipient, const WCHAR **Text,
                           DWORD *Bytes) = nullptr;
  // Every call, one line each, UTF-8 ("NetUserEnum \\ALPHA level 0 filter 2 -> 0").
  const char *(WINAPI *CallLog)() = nullptr;
  // Buffers not released with NetApiBufferFree plus enumerations not closed.
  int(WINAPI *Outstanding)() = nullptr;

  bool Bind() {
    Module = LoadLibraryA("netapi32.dll");
    if (!Module) return false;
    Load = (decltype(Load))GetProcAddress(Module, "NetStubLoad");
    MessageCount = (decltype(MessageCount))GetProcAddress(Module, "NetStubMessageCount");
    Message = (decltype(Message))GetProcAddress(Module, "NetStubGetMessage");
    CallLog = (decltype(CallLog))GetProcAddress(Module, "NetStubCallLog");
    Outstanding = (decltype(Outstanding))GetProcAddress(Module, "NetStubOutstanding");
    return Load && MessageCount && Message && CallLog && Outstanding;
  }
};

#endif
