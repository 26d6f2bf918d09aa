#include "almanac.h"

#include <stdio.h>
#include <string.h>

HMODULE ModuleHandle;
PluginStartupInfo StartupInfo;
int StartupReceived;
int DialogLibraryReady;
char RootKeyCopy[ROOT_KEY_SIZE];
int RootKeyUsable;

static const char *PluginTitle;
static const char *MenuStrings[1];
static FarMenuItem MainMenuItems[4];
static char QuickFormat[512];

const char *MessageText(int Number) {
  if (!StartupReceived) return NULL;
  return StartupInfo.GetMsg(StartupInfo.ModuleNumber, Number);
}

static const char *Msg(int Number) {
  const char *T = MessageText(Number);
  return T ? T : "";
}

// Returns the chosen item (0 to 3) or -1; F4, and every choice from the
// configuration menu, opens the item's settings.
static int ShowMainMenu(int FromConfigure) {
  static const int BreakKeys[] = {VK_F4, 0};
  for (int I = 0; I < 4; I++) {
    FarMenuItem &Item = MainMenuItems[I];
    snprintf(Item.Text, sizeof Item.Text, "%s", Msg(MQuickInsert + I));
    Item.Selected = Item.Checked = Item.Separator = 0;
  }
  for (;;) {
    int BreakCode = -1;
    int R = StartupInfo.Menu(StartupInfo.ModuleNumber, -1, -1, 0, FMENU_WRAPMODE, Msg(MMenuTitle),
                             Msg(MMainBottom), "Contents", BreakKeys, &BreakCode, MainMenuItems,
                             4);
    if (BreakCode == 0 || FromConfigure) {
      switch (R) {
        case 0: ShowSettingsDialog("Auto"); break;
        case 1: ShowSettingsDialog("Menu"); break;
        case 2: ShowIndicatorSettings(); break;
        case 3: ShowCalendarFormatDialog(); break;
      }
    }
    for (int I = 0; I < 4; I++) MainMenuItems[I].Selected = I == R;
    if (BreakCode == -1) return R;
  }
}

static void QuickInsert(int OpenFrom) {
  const char *Format = Msg(MQuickFormat);
  HKEY Key = OpenAlmanacKey("Auto", 1);
  QuickFormat[0] = 0;
  if (ReadNumber(Key, "Custom")) {
    ReadText(Key, "Format", QuickFormat, sizeof QuickFormat);
    Format = QuickFormat;
  }
  DeliverByOrigin(Format, OpenFrom);
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) ModuleHandle = Instance;
  return TRUE;
}

void WINAPI SetStartupInfo(const PluginStartupInfo *Info) {
  memcpy(&StartupInfo, Info, sizeof StartupInfo);
  StartupReceived = 1;
  const char *Root = Info->RootKey ? Info->RootKey : "";
  size_t Len = strnlen(Root, ROOT_KEY_SIZE);
  // A longer root would name some other key if cut: use none instead.
  RootKeyUsable = Len < ROOT_KEY_SIZE;
  memcpy(RootKeyCopy, Root, RootKeyUsable ? Len : 0);
  RootKeyCopy[RootKeyUsable ? Len : 0] = 0;
  StartupInfo.RootKey = RootKeyCopy;
  LoadFormatList();
  DialogLibraryReady = BindDialogLibrary(ModuleHandle, &StartupInfo);
  QuickFormat[0] = 0;
  IndicatorFormat[0] = 0;
}

void WINAPI GetPluginInfo(PluginInfo *Info) {
  Info->StructSize = sizeof *Info;
  Info->Flags = PF_EDITOR | PF_VIEWER;
  PluginTitle = Msg(MTitle);
  MenuStrings[0] = PluginTitle;
  Info->PluginMenuStrings = MenuStrings;
  Info->PluginMenuStringsNumber = 1;
  HKEY Key = OpenAlmanacKey("Config", 1);
  if (ReadNumber(Key, "NoUseMenu") == 0) {
    Info->PluginConfigStrings = MenuStrings;
    Info->PluginConfigStringsNumber = 1;
  } else {
    Info->PluginConfigStrings = NULL;
    Info->PluginConfigStringsNumber = 0;
  }
}

HANDLE WINAPI OpenPlugin(int OpenFrom, INT_PTR) {
  if (!DialogLibraryReady) return INVALID_HANDLE_VALUE;
  switch (ShowMainMenu(0)) {
    case 0:
      QuickInsert(OpenFrom);
      break;
    case 1: {
      DialogHandle Main = NULL;
      if (ShowFormatsMenu(&Main) == 7) {
        const char *Format = Dlg.GetItemData(Main, 6);
        if (Format) {
          if (Dlg.GetItemStatus(Main, 1)) DeliverByOrigin(Format, OpenFrom);
          else PutAlmanac(Format, NULL);
        }
        Dlg.FreeDialog(Main);
      }
      break;
    }
    case 2:
      if (IndicatorRunning && KeptSwitchMode == 1) InterlockedExchange(&IndicatorStop, 1);
      else if (!IndicatorRunning) StartIndicator();
      break;
    case 3:
      ShowCalendar(OpenFrom);
      break;
  }
  return INVALID_HANDLE_VALUE;
}

int WINAPI Configure(int) { return ShowMainMenu(1) >= 0 ? 1 : 0; }

}  // extern "C"
