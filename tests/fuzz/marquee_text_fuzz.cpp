// Marquee's number and error-text routines on arbitrary text.
#include "frame/zstr.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  std::string Text((const char *)Data, Size);
  Text = Text.c_str();  // the routines see NUL-terminated text

  int Value = ParseDecimal(Text.c_str());
  if (Value >= 0) {
    char Digits[16];
    IntToDecimal(Digits, (unsigned)Value);
    if (ParseDecimal(Digits) != Value) abort();
  }

  std::string Copy = Text;
  const char *Pieces[64];
  int Count = SplitErrorText(&Copy[0], Pieces, 64);
  if (Count < 1 || Count > 64) abort();
  for (int I = 0; I < Count; I++)
    if (Pieces[I] < Copy.data() || Pieces[I] > Copy.data() + Copy.size()) abort();

  char Bounded[9];
  ZStrCopyMax(Bounded, Text.c_str(), 8);
  if (strlen(Bounded) > 8) abort();
  return 0;
}
