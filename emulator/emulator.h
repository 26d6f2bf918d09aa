// The host emulator: loads plug-in DLLs the way the host does and answers
// their service calls like the host. Tests, the demo and the benchmarks drive
// the real DLLs through it. One emulator per process (the services are plain
// functions), reached through Host().
#ifndef EMULATOR_EMULATOR_H
#define EMULATOR_EMULATOR_H

#include "editor.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace emu {

// A loaded plug-in and its exports (null when the DLL lacks one).
struct Plugin {
  HMODULE Module = nullptr;
  std::string Path;       // Windows path of the DLL
  std::string RootKey;    // below HKEY_CURRENT_USER
  intptr_t ModuleNumber = 0;
  std::vector<std::string> Messages;  // of the language file in use
  std::vector<std::string> HelpTopics;  // topics of the help file, if one is found
  // What SetStartupInfo was given: the long record of a modern host.
  unsigned char StartupInfo[sizeof(PluginStartupInfo) + sizeof(PluginStartupInfoTail)];
  PluginInfo Info;           // after GetPluginInfo
  PluginInfo InfoPattern;    // what GetPluginInfo was handed

  void(WINAPI *SetStartupInfo)(const PluginStartupInfo *) = nullptr;
  void(WINAPI *GetPluginInfo)(PluginInfo *) = nullptr;
  HANDLE(WINAPI *OpenPlugin)(int OpenFrom, INT_PTR Item) = nullptr;
  int(WINAPI *Configure)(int ItemNumber) = nullptr;
  int(WINAPI *ProcessEditorInput)(const INPUT_RECORD *Rec) = nullptr;
  FARPROC Export(const char *Name) const;

  // Message n as the host would return it (empty when out of range).
  std::string Msg(int N) const;
  std::vector<std::string> MenuStrings() const;
  std::vector<std::string> ConfigStrings() const;
};

enum class Service { Menu, Dialog, Message, GetMsg, Control, SaveScreen, RestoreScreen,
                     CmpName, EditorControl };
enum class Fault {
  ErrorResult,      // the service's failure value (-1, 0, null handle)
  NullText,         // a null where a text is returned or filled in
  RaiseException,   // RaiseException inside the service
  AccessViolation,  // a write through a null pointer inside the service
  CppException,     // a C++ throw of a host built with the system's compiler
};
constexpr DWORD FaultExceptionCode = 0xE0FA0001;
constexpr DWORD CppExceptionCode = 0xE06D7363;  // how such a throw crosses modules

// What the user does in a menu.
struct MenuAnswer {
  int Highlight = -1;  // item to highlight; -1 keeps the item that came Selected
  enum Key { Enter, Esc, BreakKey } Press = Enter;
  int BreakKeyCode = 0;  // with BreakKey: the key code as listed in BreakKeys
};

// What the user does in a dialog before closing it.
struct DialogAnswer {
  std::vector<std::pair<int, std::string>> Texts;  // item, new edit text
  std::vector<std::pair<int, int>> Selected;       // item, state (radio: 1 chooses it)
  int Close = -1;                                  // closing item, or -1 for Esc
  std::function<void(FarDialogItem *Items, int Count)> During;  // runs while shown
};

struct MenuCall {
  int X, Y, MaxHeight;
  DWORD Flags;
  std::string Title, Bottom, HelpTopic;
  std::vector<int> BreakKeys;
  std::vector<FarMenuItem> Items;
  int Result, BreakCode;
};

struct DialogCall {
  int X1, Y1, X2, Y2;
  std::string HelpTopic;
  std::vector<FarDialogItem> Items;  // as the plug-in passed them
  std::vector<FarDialogItem> Final;  // as the user left them
  int Result;
};

struct MessageCall {
  DWORD Flags;
  std::string HelpTopic;
  std::vector<std::string> Lines;
  int ButtonsNumber;
  std::string ErrorText;  // with FMSG_ERRORTYPE: the system's text of the last error
  int Result;
  int OpenScreens = 0;    // screens saved and not yet restored when the box came up
};

struct UiCall {
  enum Kind { Menu, Dialog, Message } Type;
  const Plugin *From;
  MenuCall MenuData;
  DialogCall DialogData;
  MessageCall MessageData;
  std::string Title() const;
};

struct HistoryEntry {
  std::string Name, Text;
};

class Emulator {
public:
  Emulator();
  ~Emulator();
  // Back to a fresh host: plug-ins unloaded, queues, records and faults cleared.
  void Reset();

  // Loading. Path may be a Windows path or a Unix one (taken as Z:).
  // Required names that are missing are reported and make the load fail
  // (null result). SetStartupInfo and GetPluginInfo are called.
  Plugin *Load(const std::string &Path, const std::string &RootKey,
               const std::vector<std::string> &Required);
  void UnloadAll();
  void SetLanguage(const std::string &Name);  // "English" by default

  // Scripted user interface.
  void AnswerMenu(MenuAnswer A);
  void AnswerDialog(DialogAnswer A);
  void AnswerMessage(int Button);  // -1 is Esc
  size_t PendingAnswers() const;
  std::vector<UiCall> Calls;  // every Menu, Dialog and Message call
  std::vector<HistoryEntry> Histories;
  std::string Render(const UiCall &Call) const;  // as UTF-8 text

  // The editor window and the command line.
  EditorModel Editor;
  std::string CommandLine;
  size_t CommandLineCursor = 0;

  // Screens saved and not yet restored.
  int OpenScreens() const;

  // Faults: the Nth next call (1 = the next) of the service fails.
  void FailCall(Service S, Fault F, int Nth = 1);

  // Test failures noticed by the emulator (unknown message, unexpected box,
  // screen restored twice ...). Taken once; the caller reports them.
  std::vector<std::string> TakeFailures();
  void AddFailure(const std::string &Text);

  // Mouse events as the console delivers them.
  static INPUT_RECORD MouseEvent(int X, int Y, DWORD Buttons, DWORD ControlKeys = 0,
                                 DWORD EventFlags = 0);
  int SendInput(Plugin &P, const INPUT_RECORD &Rec);

  // Service internals, public for the service trampolines.
  Plugin *FindPlugin(intptr_t ModuleNumber, const char *ServiceName);
  bool TakeFault(Service S, Fault *F);
  void RaiseFault(Fault F);

  struct Answer {
    UiCall::Kind Kind;
    MenuAnswer MenuData;
    DialogAnswer DialogData;
    int Button;
  };
  std::deque<Answer> Queue;
  std::vector<std::unique_ptr<Plugin>> Plugins;
  std::string Language = "English";
  std::vector<std::pair<HANDLE, bool>> Screens;  // handle, restored
  struct PendingFault {
    Service S;
    Fault F;
    int Countdown;
  };
  std::vector<PendingFault> Faults;
  std::mutex Lock;  // failures and messages may be touched from a worker thread
  std::vector<std::string> Failures;
};

Emulator &Host();

// The host's file-mask rules (the CmpName service).
bool MatchMask(const char *Pattern, const char *Name, bool SkipPath);
// OEM text to UTF-8, for showing.
std::string OemToUtf8(const std::string &Text);
// Reads a language file; false when it can't be read or has no .Language line.
bool ReadLanguageFile(const std::string &Path, std::string *Language,
                      std::vector<std::string> *Messages);

}  // namespace emu

#endif
