#include "almanac.h"

#include <stdio.h>
#include <string.h>

enum { FIRST_YEAR = 1970, LAST_YEAR = 2037, CELLS = 42, CALENDAR_SLOT = 11 };
enum {
  ID_PREV_YEAR = 50, ID_YEAR = 51, ID_NEXT_YEAR = 52, ID_PREV_MONTH = 53, ID_MONTH = 54,
  ID_NEXT_MONTH = 55, ID_TODAY = 56, ID_ACCEPT = 60
};
static const unsigned OUTSIDE_MARKER = 0x00F00F00;
static const char CalendarFile[] = "Calendar.dlg";

static void Now(struct tm *Time) {
  SYSTEMTIME S;
  GetLocalTime(&S);
  memset(Time, 0, sizeof *Time);
  Time->tm_hour = S.wHour;
  Time->tm_min = S.wMinute;
  Time->tm_sec = S.wSecond;
  Time->tm_isdst = -1;
  SetDate(Time, S.wYear, S.wMonth, S.wDay);
}

// The marker and what it replaced live in the last twelve bytes of Data.
static void MarkCellOutside(DialogHandle D, int Cell) {
  FarDialogItem *Item = Dlg.GetItemAddr(D, Cell);
  if (!Item) return;
  unsigned Saved[3] = {OUTSIDE_MARKER, (unsigned)Item->Type, (unsigned)Item->Flags};
  memcpy(Item->Data + 500, Saved, sizeof Saved);
  Item->Type = DI_TEXT;
  Dlg.SetItemColor(D, Cell, 0x78);
}

static void UnmarkCell(DialogHandle D, int Cell) {
  FarDialogItem *Item = Dlg.GetItemAddr(D, Cell);
  if (!Item) return;
  unsigned Saved[3];
  memcpy(Saved, Item->Data + 500, sizeof Saved);
  if (Saved[0] != OUTSIDE_MARKER) return;
  memset(Item->Data + 500, 0, 4);
  Item->Type = (int)Saved[1];
  Item->Flags = Saved[2];
}

static int WrapYear(int Y) {
  if (Y < FIRST_YEAR) return LAST_YEAR;
  if (Y > LAST_YEAR) return FIRST_YEAR;
  return Y;
}

static int AskYear(int Year) {
  DialogHandle D = LoadAlmanacDialog(CalendarFile, "Set Year");
  if (!D) return Year;
  int Y = Year;
  for (;;) {
    char Text[16];
    snprintf(Text, sizeof Text, "%d", Y);
    SetItemText(D, ID_YEAR, Text);
    int R = Dlg.ShowDialog(D);
    if (R == ID_PREV_YEAR) Y = Y > FIRST_YEAR ? Y - 1 : LAST_YEAR;
    else if (R == ID_NEXT_YEAR) Y = Y <= LAST_YEAR - 1 ? Y + 1 : FIRST_YEAR;
    else if (R == ID_PREV_MONTH) {
      struct tm T;
      Now(&T);
      Y = T.tm_year + 1900;
    } else if (R == ID_ACCEPT) {
      int Found;
      long Typed = ParseLeadingNumber(Dlg.GetItemData(D, ID_YEAR), &Found);
      if (Found) Y = Typed < -100000 ? -100000 : Typed > 100000 ? 100000 : (int)Typed;
      break;
    } else if (R == -1) {
      Y = Year;
      break;
    }
  }
  Dlg.FreeDialog(D);
  return Y;
}

static int AskMonth(int Month) {
  DialogHandle D = LoadAlmanacDialog(CalendarFile, "Set Month");
  if (!D) return Month;
  int M = Month;
  for (;;) {
    Dlg.SetRadioStatus(D, 1, M);
    int R = Dlg.ShowDialog(D);
    if (R == ID_PREV_YEAR) M = M > 1 ? M - 1 : 12;
    else if (R == ID_NEXT_YEAR) M = M <= 11 ? M + 1 : 1;
    else if (R == ID_PREV_MONTH) {
      struct tm T;
      Now(&T);
      M = T.tm_mon + 1;
    } else if (R == ID_ACCEPT) {
      M = Dlg.GetRadioStatus(D, 1);
      break;
    } else if (R == -1) {
      M = Month;
      break;
    }
  }
  Dlg.FreeDialog(D);
  return M >= 1 && M <= 12 ? M : Month;
}

static void DeliverDay(int OpenFrom, const char *Format, DWORD Mode, struct tm *Date) {
  if (Mode & 0xFF00) return;
  if (Mode & 0xFF0000) DeliverText(Format, OpenFrom == OPEN_EDITOR ? OPEN_EDITOR : OPEN_PLUGINSMENU, Date);
  else PutAlmanac(Format, Date);
}

void ShowCalendar(int OpenFrom) {
  struct tm Date;
  Now(&Date);
  int Y = Date.tm_year + 1900, M = Date.tm_mon + 1;
  static char Format[512], Name[512];
  HKEY Key = OpenSlotKey(CALENDAR_SLOT, 1);
  ReadText(Key, "Format", Format, sizeof Format);
  ReadText(Key, "Name", Name, sizeof Name);
  DWORD Mode = ReadNumber(Key, "Mode");
  DialogHandle D = LoadAlmanacDialog(CalendarFile, "Calendar");
  if (!D) return;
  for (;;) {
    int F = IsoWeekday(Y, M, 1) - 1;
    int Cell = Date.tm_mday + F;
    Dlg.SetRadioStatus(D, 1, Cell);
    Dlg.SetItemFocus(D, Cell);
    char Text[64];
    snprintf(Text, sizeof Text, " %d ", Y);
    SetItemText(D, ID_YEAR, Text);
    BuildMonthTitle(Text, sizeof Text, MessageText(MMonthBase + M));
    SetItemText(D, ID_MONTH, Text);
    for (int I = 1; I <= CELLS; I++) {
      int Day = I - F;
      if (NormalMonth(Y, M, Day) != M) MarkCellOutside(D, I);
      snprintf(Text, sizeof Text, "%2d", NormalDay(Y, M, Day));
      SetItemText(D, I, Text);
    }
    int R = Dlg.ShowDialog(D);
    for (int I = 1; I <= CELLS; I++) UnmarkCell(D, I);
    switch (R) {
      case ID_PREV_YEAR: Y = Y > FIRST_YEAR ? Y - 1 : LAST_YEAR; break;
      case ID_YEAR: Y = AskYear(Y); break;
      case ID_NEXT_YEAR: Y = Y <= LAST_YEAR - 1 ? Y + 1 : FIRST_YEAR; break;
      case ID_PREV_MONTH:
        if (--M < 1) M = 12, Y--;
        break;
      case ID_MONTH: M = AskMonth(M); break;
      case ID_NEXT_MONTH:
        if (++M > 12) M = 1, Y++;
        break;
      case ID_TODAY:
        Now(&Date);
        Y = Date.tm_year + 1900, M = Date.tm_mon + 1;
        break;
    }
    Y = WrapYear(Y);
    int Sel = Dlg.GetRadioStatus(D, F + 1);
    if (Sel >= 1 && Sel <= CELLS) {
      SetDate(&Date, Y, M, Sel - F);
      DeliverDay(OpenFrom, Format, Mode, &Date);
      break;
    }
    if (Sel == -1) break;
  }
  Dlg.FreeDialog(D);
}
