#include "courier.h"

#include "guard.h"
#include "text.h"

#include <string.h>

static const char *MenuStrings[1];
static const char *ConfigStrings[1];

enum { CONFIG_EDIT = 0, CONFIG_OK = 1, CONFIG_ITEMS = 5 };

static const PackedDialogItem ConfigItems[CONFIG_ITEMS] = {
  {DI_EDIT, 15, 3, 48, 0, 1, 0, 0, 0, (INT_PTR)""},
  {DI_BUTTON, 3, 6, 0, 0, 0, 0, 0, 1, MOk},
  {DI_BUTTON, 11, 6, 0, 0, 0, 0, 0, 0, MCancel},
  {DI_DOUBLEBOX, 3, 1, 51, 5, 0, 0, 0, 0, MConfigTitle},
  {DI_TEXT, 6, 3, 0, 0, 0, 0, 0, 0, MSourcesLabel},
};

static int ConfigureDomains() {
  FarDialogItem Items[CONFIG_ITEMS];
  ExpandDialogItems(ConfigItems, Items, CONFIG_ITEMS);
  ReadStringSetting(HKEY_CURRENT_USER, "", "Domains", Items[CONFIG_EDIT].Data, "",
                    DOMAINS_SIZE);
  int Result = StartupInfo.Dialog(StartupInfo.ModuleNumber, -1, -1, 55, 8, NULL, Items,
                                  CONFIG_ITEMS);
  if (Result != CONFIG_OK) return 0;
  char Domains[DOMAINS_SIZE];
  CopyText(Domains, Items[CONFIG_EDIT].Data, sizeof Domains);
  WriteStringSetting(HKEY_CURRENT_USER, "", "Domains", Domains);
  return 1;
}

static void RunOpenPlugin(void *) {
  char Sources[DOMAINS_SIZE];
  ReadStringSetting(HKEY_CURRENT_USER, "", "Domains", Sources, "", sizeof Sources);
  RunMessageDialog(Sources);
}

static void RunRestoreBusyNotices(void *) { RestoreBusyNotices(); }
static void RunShowError(void *Context) { ShowError(*(int *)Context); }

static void RunConfigure(void *Context) { *(int *)Context = ConfigureDomains(); }

extern "C" {

void WINAPI SetStartupInfo(const PluginStartupInfo *Info) {
  ComposeKeyPath(PluginKeyPath, sizeof PluginKeyPath, Info->RootKey, "\\Courier");
  memcpy(&StartupInfo, Info, sizeof StartupInfo);
}

void WINAPI GetPluginInfo(PluginInfo *Info) {
  memset(Info, 0, sizeof *Info);
  Info->StructSize = sizeof *Info;
  Info->Flags = PF_EDITOR | PF_VIEWER;
  MenuStrings[0] = GetMessageText(MPluginMenu);
  ConfigStrings[0] = GetMessageText(MConfigTitle);
  Info->PluginMenuStrings = MenuStrings;
  Info->PluginMenuStringsNumber = 1;
  Info->PluginConfigStrings = ConfigStrings;
  Info->PluginConfigStringsNumber = 1;
}

HANDLE WINAPI OpenPlugin(int, INT_PTR) {
  if (!CallGuarded(RunOpenPlugin, NULL)) {
    // The screen comes back before the box. These call the host too, so they
    // are guarded as well; every failed round drops one notice.
    while (!CallGuarded(RunRestoreBusyNotices, NULL)) {
    }
    int Msg = MDialogFailed;
    CallGuarded(RunShowError, &Msg);
  }
  return INVALID_HANDLE_VALUE;
}

int WINAPI Configure(int ItemNumber) {
  if (ItemNumber != 0) return 0;
  int Result = 0;
  if (!CallGuarded(RunConfigure, &Result)) return 0;
  return Result;
}

}  // extern "C"
