// Almanac's text builders and date arithmetic. No Windows calls.
#ifndef ALMANAC_TEXT_H
#define ALMANAC_TEXT_H

#include <stddef.h>
#include <time.h>

enum { TEXT_BUFFER_SIZE = 80, KEY_PATH_SIZE = 88, ROOT_KEY_SIZE = 256, MENU_TEXT_SIZE = 128 };

// Writes Time (the current local time when null) through Format into Dest.
// Always terminated: an expansion longer than Size - 1 is cut there, and a
// format the C runtime rejects gives an empty text.
void FormatDateTime(char *Dest, size_t Size, const char *Format, const struct tm *Time);

// "Root\Almanac\SubKey" (SubKey null: "Root\Almanac") into Path (KEY_PATH_SIZE
// bytes); 0 when it would not fit.
int ComposeKeyPath(char *Path, const char *Root, const char *SubKey);
int ComposeSlotPath(char *Path, const char *Root, int Slot);

// A line of the formats menu (Dest holds MENU_TEXT_SIZE bytes). Name null:
// the slot is empty and shows "<None>".
void BuildFormatMenuText(char *Dest, int Slot, int Width, const char *Name, const char *Sample);

// The decimal number at the start of Text (blanks skipped, optional sign);
// *Found tells whether there was one. Saturates at the 32-bit limits.
long ParseLeadingNumber(const char *Text, int *Found);

// The month button's text: the name centred in about nine columns.
void BuildMonthTitle(char *Dest, size_t Size, const char *MonthName);

// Calendar dates, valid for any year of the Gregorian calendar: day D of
// month M of year Y, where D may be 0, negative or past the month's end.
int IsoWeekday(int Y, int M, int D);   // 1 = Monday ... 7 = Sunday
int NormalDay(int Y, int M, int D);    // the day of the month it falls on
int NormalMonth(int Y, int M, int D);  // 1 to 12
int NormalYear(int Y, int M, int D);
int DaysInMonth(int Y, int M);
// Sets year, month and day of Time and completes its weekday and day of the year.
void SetDate(struct tm *Time, int Y, int M, int D);

#endif
