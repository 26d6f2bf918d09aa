#include "text.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

void FormatDateTime(char *Dest, size_t Size, const char *Format, const struct tm *Time) {
  if (!Dest || !Size) return;
  Dest[0] = 0;
  if (!Format || !*Format) return;
  struct tm Now;
  if (!Time) {
    time_t T = time(NULL);
    const struct tm *L = localtime(&T);
    if (!L) return;
    Now = *L;
    Time = &Now;
  }
  if (strftime(Dest, Size, Format, Time)) return;
  // Zero means either "does not fit" or "rejected": try with room for any
  // expansion, then keep what fits.
  Dest[0] = 0;
  size_t Len = strlen(Format);
  if (Len > 65536) return;
  size_t Room = (Len + 1) * 128;
  char *Wide = (char *)malloc(Room);
  if (!Wide) return;
  if (strftime(Wide, Room, Format, Time)) {
    size_t N = strlen(Wide);
    if (N > Size - 1) N = Size - 1;
    memcpy(Dest, Wide, N);
    Dest[N] = 0;
  }
  free(Wide);
}

static int Fits(int Written) { return Written >= 0 && Written < KEY_PATH_SIZE; }

int ComposeKeyPath(char *Path, const char *Root, const char *SubKey) {
  Path[0] = 0;
  if (!Root) return 0;
  int N = SubKey ? snprintf(Path, KEY_PATH_SIZE, "%s\\Almanac\\%s", Root, SubKey)
                 : snprintf(Path, KEY_PATH_SIZE, "%s\\Almanac", Root);
  if (Fits(N)) return 1;
  Path[0] = 0;
  return 0;
}

int ComposeSlotPath(char *Path, const char *Root, int Slot) {
  Path[0] = 0;
  if (!Root) return 0;
  int N = snprintf(Path, KEY_PATH_SIZE, "%s\\Almanac\\Format%d", Root, Slot);
  if (Fits(N)) return 1;
  Path[0] = 0;
  return 0;
}

void BuildFormatMenuText(char *Dest, int Slot, int Width, const char *Name, const char *Sample) {
  if (Width < 0) Width = 0;
  if (Width > MENU_TEXT_SIZE) Width = MENU_TEXT_SIZE;
  if (Name)
    snprintf(Dest, MENU_TEXT_SIZE, "&%-2d \xB3 %-*s \xB3 %-.50s", Slot, Width, Name,
             Sample ? Sample : "");
  else
    snprintf(Dest, MENU_TEXT_SIZE, "&%-2d \xB3 %-*s \xB3 ", Slot, Width, "<None>");
}

long ParseLeadingNumber(const char *Text, int *Found) {
  *Found = 0;
  if (!Text) return 0;
  while (*Text == ' ' || *Text == '\t') Text++;
  int Negative = 0;
  if (*Text == '-' || *Text == '+') Negative = *Text++ == '-';
  long long V = 0;
  for (; *Text >= '0' && *Text <= '9'; Text++) {
    *Found = 1;
    if (V < 0x80000000ll) V = V * 10 + (*Text - '0');
  }
  if (Negative) V = -V;
  if (V > 0x7FFFFFFFll) V = 0x7FFFFFFFll;
  if (V < -0x7FFFFFFFll - 1) V = -0x7FFFFFFFll - 1;
  return (long)V;
}

void BuildMonthTitle(char *Dest, size_t Size, const char *MonthName) {
  if (!MonthName) MonthName = "";
  size_t Len = strlen(MonthName);
  int Pad = Len <= 9 ? (int)(9 - Len) / 2 + 1 : 0;
  snprintf(Dest, Size, "%*s%s", Pad, "", MonthName);
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar.
static long long DayNumber(long long Y, long long M, long long D) {
  // Month 0 and below or past 12 carry into the year first.
  Y += (M - 1) >= 0 ? (M - 1) / 12 : -((12 - M) / 12);
  M = ((M - 1) % 12 + 12) % 12 + 1;
  if (M <= 2) Y--, M += 12;
  long long Era = (Y >= 0 ? Y : Y - 399) / 400;
  long long YearOfEra = Y - Era * 400;
  long long DayOfYear = (153 * (M - 3) + 2) / 5 + D - 1;
  return Era * 146097 + YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
}

static void FromDayNumber(long long N, int *Y, int *M, int *D) {
  long long Era = (N >= 0 ? N : N - 146096) / 146097;
  long long DayOfEra = N - Era * 146097;
  long long YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  long long DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  long long MP = (5 * DayOfYear + 2) / 153;
  *D = (int)(DayOfYear - (153 * MP + 2) / 5 + 1);
  *M = (int)(MP < 10 ? MP + 3 : MP - 9);
  *Y = (int)(YearOfEra + Era * 400 + (*M <= 2));
}

int IsoWeekday(int Y, int M, int D) {
  // Day number 0 (1 March of year 0) was a Wednesday.
  long long W = (DayNumber(Y, M, D) + 2) % 7;
  if (W < 0) W += 7;
  return (int)W + 1;
}

int NormalDay(int Y, int M, int D) {
  int Yr, Mo, Dy;
  FromDayNumber(DayNumber(Y, M, D), &Yr, &Mo, &Dy);
  return Dy;
}

int NormalMonth(int Y, int M, int D) {
  int Yr, Mo, Dy;
  FromDayNumber(DayNumber(Y, M, D), &Yr, &Mo, &Dy);
  return Mo;
}

int NormalYear(int Y, int M, int D) {
  int Yr, Mo, Dy;
  FromDayNumber(DayNumber(Y, M, D), &Yr, &Mo, &Dy);
  return Yr;
}

int DaysInMonth(int Y, int M) { return NormalDay(Y, M + 1, 0); }

void SetDate(struct tm *Time, int Y, int M, int D) {
  int Yr, Mo, Dy;
  long long N = DayNumber(Y, M, D);
  FromDayNumber(N, &Yr, &Mo, &Dy);
  Time->tm_year = Yr - 1900;
  Time->tm_mon = Mo - 1;
  Time->tm_mday = Dy;
  Time->tm_wday = IsoWeekday(Yr, Mo, Dy) % 7;
  Time->tm_yday = (int)(N - DayNumber(Yr, 1, 1));
}
