#include "zstr.h"

#include <stdint.h>

size_t ZStrLength(const char *Str) {
  const char *P = Str;
  while (*P) P++;
  return (size_t)(P - Str);
}

char *ZStrCopy(char *Dest, const char *Source) {
  char *D = Dest;
  while ((*D++ = *Source++) != 0) {
  }
  return Dest;
}

char *ZStrEnd(char *Str) { return Str + ZStrLength(Str); }

char *ZStrAppend(char *Dest, const char *Source) {
  ZStrCopy(ZStrEnd(Dest), Source);
  return Dest;
}

char *ZStrCopyMax(char *Dest, const char *Source, size_t MaxLen) {
  size_t I = 0;
  for (; I < MaxLen && Source[I]; I++) Dest[I] = Source[I];
  Dest[I] = 0;
  return Dest;
}

char *IntToDecimal(char *Dest, unsigned N) {
  char Digits[11];
  int Count = 0;
  do {
    Digits[Count++] = (char)('0' + N % 10);
    N /= 10;
  } while (N);
  for (int I = 0; I < Count; I++) Dest[I] = Digits[Count - 1 - I];
  Dest[Count] = 0;
  return Dest;
}

static int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

int ParseDecimal(const char *Text) {
  const char *P = Text;
  while (*P == ' ') P++;
  bool Negative = false, Hex = false;
  if (*P == '-' || *P == '+') {
    Negative = *P++ == '-';
  } else if (*P == '$' || *P == 'x' || *P == 'X') {
    Hex = true;
    P++;
  } else if (P[0] == '0' && (P[1] == 'x' || P[1] == 'X')) {
    Hex = true;
    P += 2;
  }
  if (!*P) return 0;
  int64_t Value = 0;
  for (; *P; P++) {
    int D = Hex ? HexDigit(*P) : (*P >= '0' && *P <= '9' ? *P - '0' : -1);
    if (D < 0) return 0;
    Value = Value * (Hex ? 16 : 10) + D;
    if (Value > (int64_t)INT32_MAX + 1) return 0;
  }
  if (Negative) Value = -Value;
  if (Value > INT32_MAX || Value < INT32_MIN) return 0;
  return (int)Value;
}

int SplitErrorText(char *Text, const char **Pieces, int MaxPieces) {
  for (char *P = Text; *P; P++)
    if (*P == '\r' || *P == '\n') *P = ' ';
  int Count = 0;
  char *Start = Text;
  for (char *P = Text; *P;) {
    if ((P[0] == '.' || P[0] == ' ') && P[1] == ' ') {
      *P = 0;
      if (Count < MaxPieces) Pieces[Count++] = Start;
      P += 2;
      Start = P;
    } else {
      P++;
    }
  }
  if (Count < MaxPieces) Pieces[Count++] = Start;
  return Count;
}
