#include "frame.h"

#include "guard.h"
#include "registry.h"
#include "selection/mouse.h"
#include "zstr.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

PluginStartupInfo StartupInfo;
int DoubleClickSpeed;
int Method;

static void LoadSettings();
static void (*StartupHook)() = LoadSettings;
static const char *MenuStrings[1];
static const char *ConfigStrings[1];

const char *GetMsgText(int MsgNumber) {
  return StartupInfo.GetMsg(StartupInfo.ModuleNumber, MsgNumber & 0x7F);
}

static void LoadSettings() {
  SetRegistryBasePath("", "");
  char *Speed = ReadStringValue(HKEY_CURRENT_USER, "Control Panel\\Mouse", "DoubleClickSpeed",
                                "500");
  DoubleClickSpeed = Speed ? ParseDecimal(Speed) : 500;
  free(Speed);
  SetRegistryBasePath(StartupInfo.RootKey, "\\Marquee");
  Method = ReadDWordValue(HKEY_CURRENT_USER, "", "Method", 1);
}

// The box must come up also when the host has no text for its title or button.
static const char *GetMsgTextOrEmpty(int MsgNumber) {
  const char *Text = GetMsgText(MsgNumber);
  return Text ? Text : "";
}

static void ShowErrorBoxUnguarded(void *Context) {
  const char *Text = (const char *)Context;
  if (!Text) Text = "";
  size_t Len = ZStrLength(Text);
  char *Copy = (char *)malloc(Len + 1);
  // A piece per two characters at most, plus title, last piece and button.
  const char **Lines = (const char **)malloc((Len / 2 + 3) * sizeof *Lines);
  if (Copy && Lines) {
    // No ANSI-to-OEM conversion: the text comes from the language file, which
    // is in the OEM code page already, and converting it again garbles every
    // letter outside ASCII (a Russian box would show nonsense).
    ZStrCopy(Copy, Text);
    Lines[0] = GetMsgTextOrEmpty(MErrorTitle);
    int Count = 1 + SplitErrorText(Copy, Lines + 1, (int)(Len / 2 + 1));
    Lines[Count++] = GetMsgTextOrEmpty(MOk);
    StartupInfo.Message(StartupInfo.ModuleNumber, FMSG_WARNING, "Exception", Lines, Count, 1);
  }
  free(Lines);
  free(Copy);
}

void ShowErrorBox(const char *Text) {
  // The box calls the host too; a failure there must not escape either.
  RunGuarded(ShowErrorBoxUnguarded, (void *)Text);
}

static void ShowErrorBoxFor(int MsgNumber) {
  struct Local {
    static void Run(void *Context) { ShowErrorBox(GetMsgText(*(int *)Context)); }
  };
  RunGuarded(Local::Run, &MsgNumber);
}

extern "C" {

void WINAPI SetStartupInfo(const PluginStartupInfo *Info) {
  memcpy(&StartupInfo, Info, sizeof StartupInfo);
  if (StartupHook) StartupHook();
}

void WINAPI GetPluginInfo(PluginInfo *Info) {
  Info->StructSize = sizeof *Info;
  Info->Flags = PF_DISABLEPANELS | PF_EDITOR;
  Info->DiskMenuStringsNumber = 0;
  MenuStrings[0] = GetMsgText(MTitle);
  ConfigStrings[0] = GetMsgText(MTitle);
  Info->PluginMenuStrings = MenuStrings;
  Info->PluginMenuStringsNumber = 1;
  Info->PluginConfigStrings = ConfigStrings;
  Info->PluginConfigStringsNumber = 1;
  Info->CommandPrefix = NULL;
}

static void RunConfigDialog(void *Context) { *(bool *)Context = ShowConfigDialog(); }

HANDLE WINAPI OpenPlugin(int, INT_PTR) {
  bool Accepted = false;
  if (!RunGuarded(RunConfigDialog, &Accepted)) ShowErrorBoxFor(MErrorOpen);
  return INVALID_HANDLE_VALUE;
}

int WINAPI Configure(int) {
  bool Accepted = false;
  if (!RunGuarded(RunConfigDialog, &Accepted)) {
    ShowErrorBoxFor(MErrorOpen);
    return 0;
  }
  return Accepted ? -1 : 0;
}

static void RunMouseEvent(void *Context) { HandleMouseEvent((MouseEventContext *)Context); }

int WINAPI ProcessEditorInput(const INPUT_RECORD *Rec) {
  MouseEventContext Context;
  memset(&Context, 0, sizeof Context);
  Context.Event = Rec;
  if (!RunGuarded(RunMouseEvent, &Context)) ShowErrorBoxFor(MErrorEditorInput);
  return Context.Result;
}

}  // extern "C"
