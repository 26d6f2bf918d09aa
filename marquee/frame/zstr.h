// Routines on NUL-terminated texts and decimal numbers. No Windows calls.
#ifndef MARQUEE_ZSTR_H
#define MARQUEE_ZSTR_H

#include <stddef.h>

size_t ZStrLength(const char *Str);
char *ZStrCopy(char *Dest, const char *Source);
char *ZStrEnd(char *Str);
char *ZStrAppend(char *Dest, const char *Source);
// Copies at most MaxLen characters and always terminates (Dest holds MaxLen + 1).
char *ZStrCopyMax(char *Dest, const char *Source, size_t MaxLen);

// Decimal text of N into Dest (room for 11 bytes); returns Dest.
char *IntToDecimal(char *Dest, unsigned N);
// Signed decimal, or hexadecimal after "$", "x", "X", "0x", "0X"; leading
// blanks skipped. 0 for anything else or a number outside 32 bits signed.
int ParseDecimal(const char *Text);

// Cuts an error text into the lines of the error box, in place: CR and LF
// become blanks, then the text is cut at every ". " and every pair of blanks.
// Stores at most MaxPieces line addresses; returns how many it stored.
int SplitErrorText(char *Text, const char **Pieces, int MaxPieces);

#endif
