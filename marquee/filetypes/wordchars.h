// Word characters: the built-in set, the notation of a file type's "Charset"
// value, and the cutting of a file type's "Mask" into pieces. No Windows calls.
#ifndef MARQUEE_WORDCHARS_H
#define MARQUEE_WORDCHARS_H

enum { WORD_CHAR_SET_SIZE = 256 };

// A set holds one flag per 8-bit character code (ANSI code page).
void SetDefaultWordChars(unsigned char *Set);
// Clears Set and adds the characters that Notation lists. Every text has a
// meaning; nothing is ever refused.
void ParseWordChars(const char *Notation, unsigned char *Set);

// Takes the next comma-separated piece from *Cursor, cutting the writable
// mask in place; null when the mask is used up. A trailing comma ends the
// mask without an empty piece after it.
char *NextMaskPiece(char **Cursor);

#endif
