#include "almanac.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { SLOT_COUNT = 10, LIST_TEXT_SIZE = 70, CALENDAR_SLOT = 11 };

// Dialog items of "Main" and "Main2".
enum {
  ID_INSERT = 1, ID_CLIPBOARD = 2, ID_AT_ONCE = 3, ID_NAME = 4, ID_FORMAT = 6, ID_DELIVER = 7,
  ID_SAVE = 8, ID_NO_CALENDAR = 11
};
// Dialog items of "Auto" and "Menu".
enum { ID_STANDARD = 2, ID_CUSTOM = 3, ID_SETTING_FORMAT = 4 };

struct FormatEntry {
  char *Name, *Format;
};
static FormatEntry FormatList[SLOT_COUNT];
static FarMenuItem FormatItems[SLOT_COUNT];

static char *CopyText(const char *Text) {
  if (!Text) return NULL;
  size_t Len = strlen(Text) + 1;
  char *Copy = (char *)malloc(Len);
  if (Copy) memcpy(Copy, Text, Len);
  return Copy;
}

static void ClearEntry(FormatEntry *E) {
  free(E->Name);
  free(E->Format);
  E->Name = E->Format = NULL;
}

int LoadFormatList() {
  int Width = 10;
  ClearEntry(&FormatList[0]);
  FormatList[0].Name = CopyText(MessageText(MSlotZeroName));
  for (int Slot = 1; Slot < SLOT_COUNT; Slot++) {
    FormatEntry *E = &FormatList[Slot];
    ClearEntry(E);
    HKEY Key = OpenSlotKey(Slot, 0);
    if (!Key) continue;
    // The list takes texts of fewer than 70 bytes with their terminator.
    char Name[LIST_TEXT_SIZE], Format[LIST_TEXT_SIZE];
    if (!ReadTextChecked(Key, "Name", Name, sizeof Name - 1)) continue;
    E->Name = CopyText(Name);
    int Len = (int)strlen(Name);
    if (Len > Width) Width = Len;
    ReadText(Key, "Format", Format, sizeof Format - 1);
    E->Format = CopyText(Format);
  }
  return Width;
}

static void BuildFormatItems(int Width) {
  for (int Slot = 0; Slot < SLOT_COUNT; Slot++) {
    FormatEntry *E = &FormatList[Slot];
    FarMenuItem &Item = FormatItems[Slot];
    if (E->Name) {
      FormatDateTime(TextBuffer, sizeof TextBuffer, E->Format, NULL);
      BuildFormatMenuText(Item.Text, Slot, Width, E->Name, TextBuffer);
    } else {
      BuildFormatMenuText(Item.Text, Slot, Width, NULL, NULL);
    }
    Item.Selected = Item.Checked = Item.Separator = 0;
  }
}

static void LoadFormatRecord(DialogHandle D, int Slot) {
  HKEY Key = OpenSlotKey(Slot, 1);
  char *Name = Dlg.GetItemData(D, ID_NAME), *Format = Dlg.GetItemData(D, ID_FORMAT);
  if (Name) ReadText(Key, "Name", Name, 512);
  if (Format) ReadText(Key, "Format", Format, 512);
  DWORD Mode = ReadNumber(Key, "Mode");
  Dlg.SetRadioStatus(D, ID_INSERT, (Mode & 0xFF0000) ? 1 : 2);
  Dlg.SetItemStatus(D, ID_AT_ONCE, (Mode & 0xFF) ? 1 : 0);
  Dlg.SetItemStatus(D, ID_NO_CALENDAR, (Mode & 0xFF00) ? 1 : 0);
}

static void SaveFormatRecord(DialogHandle D, int Slot) {
  HKEY Key = OpenSlotKey(Slot, 1);
  WriteText(Key, "Name", Dlg.GetItemData(D, ID_NAME));
  WriteText(Key, "Format", Dlg.GetItemData(D, ID_FORMAT));
  DWORD Mode = (DWORD)Dlg.GetItemStatus(D, ID_AT_ONCE) +
               256u * (DWORD)Dlg.GetItemStatus(D, ID_NO_CALENDAR) +
               65536u * (DWORD)Dlg.GetItemStatus(D, ID_INSERT);
  WriteNumber(Key, "Mode", Mode);
}

// Slot 0 has no save item: it is never stored.
static void ShowAndSave(DialogHandle D, int Slot) {
  if (Slot == 0) Dlg.HideItem(D, ID_SAVE);
  int R = Dlg.ShowDialog(D);
  Dlg.RestoreItem(D, ID_SAVE);
  if (R != -1) SaveFormatRecord(D, Slot);
}

int ShowFormatsMenu(DialogHandle *Main) {
  static const int BreakKeys[] = {VK_INSERT, VK_F4, VK_DELETE, 0};
  *Main = NULL;
  DialogHandle D = LoadAlmanacDialog(MessageText(MDialogFile), "Main");
  if (!D) return -1;
  int Slot = 0, BreakCode;
  do {
    BuildFormatItems(LoadFormatList());
    if (Slot >= 0 && Slot < SLOT_COUNT) FormatItems[Slot].Selected = 1;
    BreakCode = -1;
    const char *Title = MessageText(MMenuTitle), *Bottom = MessageText(MFormatsBottom);
    Slot = StartupInfo.Menu(StartupInfo.ModuleNumber, -1, -1, 0, FMENU_WRAPMODE, Title, Bottom,
                            "Contents", BreakKeys, &BreakCode, FormatItems, SLOT_COUNT);
    if (Slot <= 0 || Slot >= SLOT_COUNT) continue;
    switch (BreakCode) {
      case 0:
        ShowAndSave(D, Slot);
        break;
      case 1:
        LoadFormatRecord(D, Slot);
        ShowAndSave(D, Slot);
        break;
      case 2:
        DeleteSlotKey(Slot);
        break;
    }
  } while (BreakCode != -1);
  if (Slot < 0 || Slot >= SLOT_COUNT) {
    Dlg.FreeDialog(D);
    return -1;
  }
  LoadFormatRecord(D, Slot);
  if (Slot != 0 && Dlg.GetItemStatus(D, ID_AT_ONCE)) {
    *Main = D;
    return 7;
  }
  if (Slot == 0) Dlg.HideItem(D, ID_SAVE);
  int R;
  do {
    R = Dlg.ShowDialog(D);
    if (Dlg.GetItemStatus(D, ID_SAVE)) SaveFormatRecord(D, Slot);
  } while (Dlg.GetItemStatus(D, ID_SAVE));
  if (Slot == 0) Dlg.RestoreItem(D, ID_SAVE);
  if (R == ID_DELIVER) {
    *Main = D;
    return 7;
  }
  Dlg.FreeDialog(D);
  return R;
}

void ShowSettingsDialog(const char *Name) {
  DialogHandle D = LoadAlmanacDialog(MessageText(MDialogFile), Name);
  if (!D) return;
  HKEY Key = OpenAlmanacKey(Name, 1);
  if (Key) {
    Dlg.SetRadioStatus(D, ID_STANDARD, ReadNumber(Key, "Custom") ? ID_CUSTOM : ID_STANDARD);
    // Shown as stored, so that closing the dialog keeps it.
    char *Format = Dlg.GetItemData(D, ID_SETTING_FORMAT);
    if (Format) ReadText(Key, "Format", Format, 512);
  }
  int R = Dlg.ShowDialog(D);
  if (R != -1) {
    Key = OpenAlmanacKey(Name, 1);
    WriteNumber(Key, "Custom", (DWORD)Dlg.GetItemStatus(D, ID_CUSTOM));
    WriteText(Key, "Format", Dlg.GetItemData(D, ID_SETTING_FORMAT));
  }
  Dlg.FreeDialog(D);
}

void ShowCalendarFormatDialog() {
  DialogHandle D = LoadAlmanacDialog(MessageText(MDialogFile), "Main2");
  if (!D) return;
  LoadFormatRecord(D, CALENDAR_SLOT);
  if (Dlg.ShowDialog(D) != -1) SaveFormatRecord(D, CALENDAR_SLOT);
  Dlg.FreeDialog(D);
}
