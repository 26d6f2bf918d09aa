#include "typelines.h"

#include <string.h>

// Appends at most Count characters of Text, never past MENU_LINE_MAX.
static size_t AppendCut(char *Line, size_t Len, const char *Text, size_t Count) {
  for (size_t I = 0; I < Count && Text[I] && Len < MENU_LINE_MAX; I++) Line[Len++] = Text[I];
  return Len;
}

void BuildTypeMenuLine(char *Line, const char *Description, size_t Width, const char *Mask) {
  if (!Description) Description = "";
  if (!Mask) Mask = "";
  size_t Len = 0;
  if (Width > MENU_DESCRIPTION_MAX) Width = MENU_DESCRIPTION_MAX;
  if (Width > 0) {
    Len = AppendCut(Line, Len, Description, Width);
    while (Len < Width && Len < MENU_LINE_MAX) Line[Len++] = ' ';
    Len = AppendCut(Line, Len, " \xB3 ", 3);
  }
  Len = AppendCut(Line, Len, Mask, MENU_MASK_MAX);
  Line[Len] = 0;
}

void BuildQuotedMask(char *Line, const char *Mask) {
  if (!Mask) Mask = "";
  size_t Len = strnlen(Mask, QUOTED_MASK_MAX - 2);
  Line[0] = '"';
  memcpy(Line + 1, Mask, Len);
  Line[Len + 1] = '"';
  Line[Len + 2] = 0;
}
