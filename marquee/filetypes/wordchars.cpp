#include "wordchars.h"

#include <string.h>

void SetDefaultWordChars(unsigned char *Set) {
  memset(Set, 0, WORD_CHAR_SET_SIZE);
  for (int C = '0'; C <= '9'; C++) Set[C] = 1;
  for (int C = 'A'; C <= 'Z'; C++) Set[C] = 1;
  for (int C = 'a'; C <= 'z'; C++) Set[C] = 1;
  Set['_'] = 1;
  Set[0xA8] = 1;
  Set[0xB8] = 1;
  for (int C = 0xC0; C <= 0xFF; C++) Set[C] = 1;
}

// "#" and its digits (the "#" already taken): the code, number modulo 256;
// no digits or a number past 2147483647 count as 0.
static unsigned char ParseCharCode(const unsigned char **P) {
  unsigned long long Value = 0;
  bool TooLarge = false;
  for (; **P >= '0' && **P <= '9'; (*P)++) {
    if (!TooLarge) {
      Value = Value * 10 + (unsigned)(**P - '0');
      if (Value > 2147483647ull) TooLarge = true;
    }
  }
  return TooLarge ? 0 : (unsigned char)(Value % 256);
}

// One plain, escaped or numbered character.
static unsigned char ParseItem(const unsigned char **P) {
  unsigned char C = *(*P)++;
  if (C == '#') return ParseCharCode(P);
  if (C == '\\') {
    if (!**P) return 0;  // a backslash at the very end
    return *(*P)++;
  }
  return C;
}

void ParseWordChars(const char *Notation, unsigned char *Set) {
  memset(Set, 0, WORD_CHAR_SET_SIZE);
  if (!Notation) return;
  const unsigned char *P = (const unsigned char *)Notation;
  unsigned Previous = 0;
  while (*P) {
    if (*P == '-') {
      P++;
      if (!*P) break;  // a hyphen at the end adds nothing
      unsigned Last = ParseItem(&P);
      for (unsigned C = Previous + 1; C <= Last && C < WORD_CHAR_SET_SIZE; C++) Set[C] = 1;
      continue;
    }
    Previous = ParseItem(&P);
    Set[Previous] = 1;
  }
}

char *NextMaskPiece(char **Cursor) {
  char *Piece = *Cursor;
  if (!Piece || !*Piece) return NULL;
  char *Comma = strchr(Piece, ',');
  if (Comma) {
    *Comma = 0;
    *Cursor = Comma + 1;
  } else {
    *Cursor = Piece + strlen(Piece);
  }
  return Piece;
}
