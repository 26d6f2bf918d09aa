#include "almanac.h"

#include <stdio.h>
#include <string.h>

volatile LONG IndicatorRunning, IndicatorStop, KeptSwitchMode;
char IndicatorFormat[512];

enum {
  ID_STANDARD = 2, ID_CUSTOM = 3, ID_FORMAT = 4, ID_KEEP_COLOR = 5, ID_TITLE = 6, ID_PAUSE = 7,
  ID_XCOORD = 8, ID_YCOORD = 9, ID_SWITCH = 10, ID_CHOOSE_COLOR = 12, ID_CTRL_OFF = 14
};
enum { ID_FOREGROUND = 1, ID_BACKGROUND = 16, ID_ACCEPT_COLOR = 0xF2, ID_SAMPLE = 0xF3 };

static int ModifierState() {
  int State = 0;
  if (GetAsyncKeyState(VK_CONTROL) & 0x8000) State |= 0x100;
  if (GetAsyncKeyState(VK_SHIFT) & 0x8000) State |= 0x10;
  if (GetAsyncKeyState(VK_MENU) & 0x8000) State |= 0x01;
  return State;
}

static DWORD WINAPI IndicatorWorker(LPVOID) {
  HKEY Key = OpenOwnKey("Indicator");
  InterlockedExchange(&KeptSwitchMode, (LONG)ReadNumber(Key, "SwitchMode"));
  // Claimed atomically, so that two workers started together never both show.
  if (InterlockedCompareExchange(&IndicatorRunning, 1, 0) != 0) {
    InterlockedExchange(&IndicatorStop, KeptSwitchMode);
    if (Key) RegCloseKey(Key);
    return 0;
  }
  // A stop request meant for a worker that was already ending must not end
  // this one at once.
  InterlockedExchange(&IndicatorStop, 0);
  DWORD Pause = ReadNumber(Key, "Pause");
  SHORT XOffset = (SHORT)ReadNumber(Key, "Xcoord"), Row = (SHORT)ReadNumber(Key, "Ycoord");
  DWORD Title = ReadNumber(Key, "Title"), Custom = ReadNumber(Key, "Custom");
  WORD Color = (WORD)ReadNumber(Key, "Color");
  int StartModifiers = ReadNumber(Key, "CtrlOff") ? ModifierState() : 0;
  const char *Format = MessageText(MIndicatorFormat);
  if (Custom && Key) {
    ReadText(Key, "Format", IndicatorFormat, sizeof IndicatorFormat);
    Format = IndicatorFormat;
  }
  if (Key) RegCloseKey(Key);
  if (!Pause) {
    int Found;
    long Ms = ParseLeadingNumber(MessageText(MIndicatorTime), &Found);
    Pause = Ms > 0 ? (DWORD)Ms : 0;
  }
  if (!Pause) Pause = 1000;
  HANDLE Out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD Start = GetTickCount();
  char Text[TEXT_BUFFER_SIZE];
  FormatDateTime(Text, sizeof Text, Format, NULL);
  DWORD N = (DWORD)strlen(Text);
  // Nothing to show: nothing to draw over or put back.
  if (N) {
    char SavedTitle[TEXT_BUFFER_SIZE] = "";
    if (Title) {
      GetConsoleTitleA(SavedTitle, sizeof SavedTitle);
      SetConsoleTitleA(Text);
    }
    CONSOLE_SCREEN_BUFFER_INFO Info;
    memset(&Info, 0, sizeof Info);
    GetConsoleScreenBufferInfo(Out, &Info);
    COORD At;
    At.X = (SHORT)(Info.dwSize.X - (SHORT)N - XOffset);
    At.Y = Row;
    // Cells are read and written with their characters and colours together:
    // a paint of the host between two separate reads would be lost.
    CHAR_INFO Saved[TEXT_BUFFER_SIZE], Now[TEXT_BUFFER_SIZE];
    memset(Saved, 0, sizeof Saved);
    COORD Size = {(SHORT)N, 1}, Origin = {0, 0};
    SMALL_RECT Rect = {At.X, At.Y, (SHORT)(At.X + N - 1), At.Y};
    // A text that does not lie wholly inside the buffer is not shown at all.
    bool Inside = At.X >= 0 && At.Y >= 0 && At.Y < Info.dwSize.Y && At.X + (LONG)N <= Info.dwSize.X;
    if (!Inside || !ReadConsoleOutputA(Out, Saved, Size, Origin, &Rect))
      for (DWORD I = 0; I < N; I++) Saved[I].Char.AsciiChar = ' ';
    WORD Attribute = Color ? Color : Saved[0].Attributes;
    CHAR_INFO Shown[TEXT_BUFFER_SIZE];
    for (DWORD I = 0; I < N; I++) {
      Shown[I].Char.AsciiChar = Text[I];
      Shown[I].Attributes = Attribute;
    }
    for (;;) {
      Rect.Left = At.X, Rect.Top = Rect.Bottom = At.Y, Rect.Right = (SHORT)(At.X + N - 1);
      bool Changed = false;
      if (Inside && ReadConsoleOutputA(Out, Now, Size, Origin, &Rect)) {
        DWORD Got = (DWORD)(Rect.Right - Rect.Left + 1);
        // What the host painted over the text becomes what is put back.
        for (DWORD I = 0; I < Got && I < N; I++)
          if (Now[I].Char.AsciiChar != Text[I] || Now[I].Attributes != Attribute) {
            Saved[I] = Now[I];
            Changed = true;
          }
      }
      if (Changed) {
        Rect.Left = At.X, Rect.Top = Rect.Bottom = At.Y, Rect.Right = (SHORT)(At.X + N - 1);
        WriteConsoleOutputA(Out, Shown, Size, Origin, &Rect);
      }
      if (GetTickCount() - Start > Pause || IndicatorStop ||
          (StartModifiers && ModifierState() != StartModifiers))
        break;
    }
    Rect.Left = At.X, Rect.Top = Rect.Bottom = At.Y, Rect.Right = (SHORT)(At.X + N - 1);
    if (Inside) WriteConsoleOutputA(Out, Saved, Size, Origin, &Rect);
    if (Title) SetConsoleTitleA(SavedTitle);
  }
  InterlockedExchange(&IndicatorStop, 0);
  InterlockedExchange(&IndicatorRunning, 0);
  return 0;
}

// The worker holds a reference to the library, so that unloading it while
// the text is shown cannot pull the code away under the running thread.
static DWORD WINAPI IndicatorThread(LPVOID Module) {
  IndicatorWorker(NULL);
  FreeLibraryAndExitThread((HMODULE)Module, 0);
  return 0;
}

void StartIndicator() {
  HMODULE Self = NULL;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)(void *)IndicatorThread,
                          &Self))
    return;
  HANDLE Thread = CreateThread(NULL, 1024, IndicatorThread, Self, 0, NULL);
  if (Thread) CloseHandle(Thread);
  else FreeLibrary(Self);
}

static void SetNumberText(DialogHandle D, int Id, HKEY Key, const char *Name) {
  char Text[16];
  snprintf(Text, sizeof Text, "%lu", (unsigned long)ReadNumber(Key, Name));
  SetItemText(D, Id, Text);
}

static void StoreNumberText(DialogHandle D, int Id, HKEY Key, const char *Name) {
  int Found;
  long Value = ParseLeadingNumber(Dlg.GetItemData(D, Id), &Found);
  if (Found) WriteNumber(Key, Name, (DWORD)Value);
}

void ShowIndicatorSettings() {
  DialogHandle D = LoadAlmanacDialog(MessageText(MDialogFile), "Indicator");
  DialogHandle ColorDialog = LoadAlmanacDialog("color.dlg", "Color Select");
  if (!D) {
    if (ColorDialog) Dlg.FreeDialog(ColorDialog);
    return;
  }
  DWORD Color = 0;
  HKEY Key = OpenAlmanacKey("Indicator", 1);
  if (Key) {
    Dlg.SetRadioStatus(D, ID_STANDARD, ReadNumber(Key, "Custom") ? ID_CUSTOM : ID_STANDARD);
    Dlg.SetItemStatus(D, ID_TITLE, ReadNumber(Key, "Title") != 0);
    Color = ReadNumber(Key, "Color");
    DWORD Switch = ReadNumber(Key, "SwitchMode");
    Dlg.SetItemStatus(D, ID_SWITCH, Switch != 0);
    InterlockedExchange(&KeptSwitchMode, (LONG)Switch);
    Dlg.SetItemStatus(D, ID_CTRL_OFF, ReadNumber(Key, "CtrlOff") != 0);
    // Shown as stored, so that closing the dialog keeps them.
    char *Format = Dlg.GetItemData(D, ID_FORMAT);
    if (Format) ReadText(Key, "Format", Format, 512);
    SetNumberText(D, ID_PAUSE, Key, "Pause");
    SetNumberText(D, ID_XCOORD, Key, "Xcoord");
    SetNumberText(D, ID_YCOORD, Key, "Ycoord");
  }
  for (;;) {
    if (Dlg.ShowDialog(D) == -1) break;
    if (Dlg.GetItemStatus(D, ID_CHOOSE_COLOR) && ColorDialog) {
      int Foreground = Color & 0x0F, Background = Color & 0xF0;
      if (!Color) Background = 0x30;
      Dlg.SetRadioStatus(D, ID_KEEP_COLOR, ID_KEEP_COLOR);
      Dlg.SetRadioStatus(ColorDialog, ID_FOREGROUND, Foreground);
      Dlg.SetRadioStatus(ColorDialog, ID_BACKGROUND, Background);
      int R;
      do {
        Dlg.SetItemColor(ColorDialog, ID_SAMPLE, Foreground + Background);
        R = Dlg.ShowDialog(ColorDialog);
        Foreground = Dlg.GetRadioStatus(ColorDialog, ID_FOREGROUND);
        Background = Dlg.GetRadioStatus(ColorDialog, ID_BACKGROUND);
      } while (R != ID_ACCEPT_COLOR && R != -1);
      if (R == ID_ACCEPT_COLOR) Color = (DWORD)(Foreground + Background);
      continue;
    }
    Key = OpenAlmanacKey("Indicator", 1);
    if (Key) {
      WriteNumber(Key, "Custom", (DWORD)Dlg.GetItemStatus(D, ID_CUSTOM));
      WriteText(Key, "Format", Dlg.GetItemData(D, ID_FORMAT));
      WriteNumber(Key, "Title", (DWORD)Dlg.GetItemStatus(D, ID_TITLE));
      WriteNumber(Key, "Color", Color);
      StoreNumberText(D, ID_PAUSE, Key, "Pause");
      StoreNumberText(D, ID_XCOORD, Key, "Xcoord");
      StoreNumberText(D, ID_YCOORD, Key, "Ycoord");
      DWORD Switch = (DWORD)Dlg.GetItemStatus(D, ID_SWITCH);
      WriteNumber(Key, "SwitchMode", Switch);
      InterlockedExchange(&KeptSwitchMode, (LONG)Switch);
      WriteNumber(Key, "CtrlOff", (DWORD)Dlg.GetItemStatus(D, ID_CTRL_OFF));
    }
    break;
  }
  Dlg.FreeDialog(D);
  if (ColorDialog) Dlg.FreeDialog(ColorDialog);
}
