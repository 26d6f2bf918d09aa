// Almanac's module state and the routines its files share.
#ifndef ALMANAC_ALMANAC_H
#define ALMANAC_ALMANAC_H

#include "host/far.h"
#include "text.h"

#include <windows.h>

// Message numbers of the language file.
enum {
  MTitle = 0,
  MQuickInsert = 1,
  MFormatsItem = 2,
  MIndicatorItem = 3,
  MCalendarItem = 4,
  MMenuTitle = 5,
  MSlotZeroName = 6,
  MQuickFormat = 7,
  MIndicatorFormat = 8,
  MIndicatorTime = 9,
  MFormatsBottom = 11,
  MMainBottom = 12,
  MMonthBase = 35,  // + month 1..12
  MDialogFile = 59,
};

extern HMODULE ModuleHandle;
extern PluginStartupInfo StartupInfo;
extern int StartupReceived;
extern int DialogLibraryReady;
extern char RootKeyCopy[ROOT_KEY_SIZE];
extern int RootKeyUsable;  // false when the host's RootKey was too long to keep
extern char TextBuffer[TEXT_BUFFER_SIZE];

const char *MessageText(int Number);

// Registry: one key open at a time on the host's thread.
HKEY OpenAlmanacKey(const char *SubKey, int Create);  // closes the one opened before
HKEY OpenSlotKey(int Slot, int Create);
DWORD ReadNumber(HKEY Key, const char *Name);
void ReadText(HKEY Key, const char *Name, char *Buffer, DWORD Size);
int ReadTextChecked(HKEY Key, const char *Name, char *Buffer, DWORD Size);
void WriteNumber(HKEY Key, const char *Name, DWORD Value);
void WriteText(HKEY Key, const char *Name, const char *Text);
// The same, on a key handle of the caller's own (the indicator's thread).
HKEY OpenOwnKey(const char *SubKey);
void DeleteSlotKey(int Slot);

// Dialog.gen, bound at start; stand-ins return 0 when a name is missing.
typedef void *DialogHandle;
struct DialogLibrary {
  int(__cdecl *DG_Init)(PluginStartupInfo);
  DialogHandle(__cdecl *LoadDialogEx)(HMODULE, intptr_t, const char *, const char *);
  int(__cdecl *ShowDialog)(DialogHandle);
  void(__cdecl *FreeDialog)(DialogHandle);
  int(__cdecl *GetItemStatus)(DialogHandle, int);
  int(__cdecl *SetItemStatus)(DialogHandle, int, int);
  char *(__cdecl *GetItemData)(DialogHandle, int);
  FarDialogItem *(__cdecl *GetItemAddr)(DialogHandle, int);
  int(__cdecl *SetRadioStatus)(DialogHandle, int, int);
  int(__cdecl *GetRadioStatus)(DialogHandle, int);
  int(__cdecl *SetItemColor)(DialogHandle, int, int);
  int(__cdecl *HideItem)(DialogHandle, int);
  int(__cdecl *RestoreItem)(DialogHandle, int);
  int(__cdecl *SetItemFocus)(DialogHandle, int);
};
extern DialogLibrary Dlg;
int BindDialogLibrary(HMODULE Module, const PluginStartupInfo *Info);
DialogHandle LoadAlmanacDialog(const char *File, const char *Name);
void SetItemText(DialogHandle D, int Id, const char *Text);

// Formatting and delivery.
void DeliverText(const char *Format, int Place, const struct tm *Time);
void DeliverByOrigin(const char *Format, int OpenFrom);
extern "C" void __cdecl PutAlmanac(const char *Format, struct tm *Time);
int ShowErrorMessage(const char *Text);

// Formats and settings.
int LoadFormatList();
int ShowFormatsMenu(DialogHandle *Main);
void ShowSettingsDialog(const char *Name);
void ShowCalendarFormatDialog();

// Indicator.
extern volatile LONG IndicatorRunning, IndicatorStop, KeptSwitchMode;
extern char IndicatorFormat[512];
void StartIndicator();
void ShowIndicatorSettings();

// Calendar.
void ShowCalendar(int OpenFrom);

#endif
