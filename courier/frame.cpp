#include "courier.h"

#include "text.h"

#include <new>
#include <stdlib.h>
#include <string.h>

PluginStartupInfo StartupInfo;
char PluginKeyPath[PLUGIN_KEY_PATH_SIZE];
char LastRecipients[RECIPIENTS_SIZE];

enum { KEY_PATH_SIZE = 512, MAX_BUSY_NOTICES = 8 };

const char *GetMessageText(int MsgNumber) {
  const char *Text = StartupInfo.GetMsg(StartupInfo.ModuleNumber, MsgNumber);
  return Text ? Text : "";
}

void ShowError(int MsgNumber) {
  const char *Lines[3] = {GetMessageText(MErrorTitle), GetMessageText(MsgNumber),
                          GetMessageText(MOk)};
  StartupInfo.Message(StartupInfo.ModuleNumber, FMSG_WARNING, NULL, Lines, 3, 1);
}

// Screens saved by the busy notices alive, oldest first. A structured
// exception may jump over a notice's destructor; OpenPlugin's handler then
// restores what is left here.
static void *BusyScreens[MAX_BUSY_NOTICES];
static int BusyCount;

static void ForgetBusyScreen(void *Screen) {
  for (int I = BusyCount - 1; I >= 0; I--)
    if (BusyScreens[I] == Screen) {
      memmove(BusyScreens + I, BusyScreens + I + 1, (BusyCount - I - 1) * sizeof *BusyScreens);
      BusyCount--;
      return;
    }
}

Warning::Warning(int MsgNumber) {
  SavedScreen = StartupInfo.SaveScreen(0, 0, -1, -1);
  if (BusyCount < MAX_BUSY_NOTICES) BusyScreens[BusyCount++] = SavedScreen;
  Lines[0] = "";
  Lines[1] = GetMessageText(MsgNumber);
  StartupInfo.Message(StartupInfo.ModuleNumber, 0, NULL, Lines, 2, 0);
}

Warning::~Warning() {
  ForgetBusyScreen(SavedScreen);
  StartupInfo.RestoreScreen(SavedScreen);
}

void RestoreBusyNotices() {
  while (BusyCount > 0) StartupInfo.RestoreScreen(BusyScreens[--BusyCount]);
}

void ExpandDialogItems(const PackedDialogItem *Packed, FarDialogItem *Items, int Count) {
  for (int I = 0; I < Count; I++) {
    const PackedDialogItem &P = Packed[I];
    FarDialogItem &D = Items[I];
    memset(&D, 0, sizeof D);
    D.Type = P.Type;
    D.X1 = P.X1, D.Y1 = P.Y1, D.X2 = P.X2, D.Y2 = P.Y2;
    D.Focus = P.Focus;
    // The union's widest member, so that a history name's address survives.
    D.History = (const char *)P.Selected;
    D.Flags = P.Flags;
    D.DefaultButton = P.DefaultButton;
    if ((uintptr_t)P.Data < MESSAGE_NUMBER_LIMIT)
      CopyText(D.Data, GetMessageText((int)P.Data), sizeof D.Data);
    else
      CopyText(D.Data, (const char *)P.Data, sizeof D.Data);
  }
}

void *AllocateOrFail(size_t Size) {
  void *Block = malloc(Size);
  if (!Block) throw std::bad_alloc();
  return Block;
}

// PluginKeyPath, then "\" and SubKey; false when there is no valid path.
static bool ComposePluginKeyPath(char *Path, const char *SubKey) {
  if (!PluginKeyPath[0]) return false;
  if (!SubKey || !*SubKey) return ComposeKeyPath(Path, KEY_PATH_SIZE, PluginKeyPath, "");
  char Tail[KEY_PATH_SIZE];
  return ComposeKeyPath(Tail, sizeof Tail, "\\", SubKey) &&
         ComposeKeyPath(Path, KEY_PATH_SIZE, PluginKeyPath, Tail);
}

HKEY CreatePluginKey(HKEY Root, const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  HKEY Key;
  if (!ComposePluginKeyPath(Path, SubKey) ||
      RegCreateKeyExA(Root, Path, 0, NULL, 0, KEY_WRITE, NULL, &Key, NULL) != ERROR_SUCCESS)
    return 0;
  return Key;
}

HKEY OpenPluginKey(HKEY Root, const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  HKEY Key;
  if (!ComposePluginKeyPath(Path, SubKey) ||
      RegOpenKeyExA(Root, Path, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS)
    return 0;
  return Key;
}

void WriteStringSetting(HKEY Root, const char *SubKey, const char *ValueName, const char *Text) {
  HKEY Key = CreatePluginKey(Root, SubKey);
  if (!Key) return;
  RegSetValueExA(Key, ValueName, 0, REG_SZ, (const BYTE *)Text, (DWORD)strlen(Text) + 1);
  RegCloseKey(Key);
}

int ReadStringSetting(HKEY Root, const char *SubKey, const char *ValueName, char *Buffer,
                      const char *Default, DWORD Size) {
  if (!Size) return 0;
  HKEY Key = OpenPluginKey(Root, SubKey);
  bool Read = false;
  if (Key) {
    DWORD Count = Size;
    if (RegQueryValueExA(Key, ValueName, NULL, NULL, (BYTE *)Buffer, &Count) == ERROR_SUCCESS &&
        Count <= Size) {
      // A value kept without its terminator must still fit one.
      if (Count == 0 || Buffer[Count - 1] == 0) Read = true, Buffer[Count ? Count - 1 : 0] = 0;
      else if (Count < Size) Read = true, Buffer[Count] = 0;
    }
    RegCloseKey(Key);
  }
  if (!Read) CopyText(Buffer, Default, Size);
  return Read;
}
