// Texts of the block commands, without any host or Windows call: the growing
// buffer that a copy builds, the splitting of pasted text into lines, and the
// word around the cursor.
#ifndef MARQUEE_BLOCKTEXT_H
#define MARQUEE_BLOCKTEXT_H

#include <stddef.h>

// A NUL-terminated text that grows with amortised doubling. After a failed
// allocation it stays as it was and Failed is set.
struct TextBuilder {
  char *Text;
  size_t Length, Capacity;
  bool Failed;
};

void StartText(TextBuilder *B);
void AppendChars(TextBuilder *B, const char *Chars, size_t Count);
void AppendBlanks(TextBuilder *B, size_t Count);
void ReleaseText(TextBuilder *B);

// One line of a stream block as the host reports it (Text of Length
// characters, SelStart, SelEnd = -1 for through the line break): the selected
// characters, and CR LF when the selection runs through the break. Positions
// outside the line are clamped to it.
void AppendStreamLine(TextBuilder *B, const char *Text, int Length, int SelStart, int SelEnd);
// One row of a column block: SelEnd - SelStart characters, blanks where the
// line is short, then CR LF.
void AppendColumnRow(TextBuilder *B, const char *Text, int Length, int SelStart, int SelEnd);

// Splits off the next line of pasted text: returns the number of characters
// before its line break and stores the break's length in *BreakLength: 2 for
// CR LF, 1 for a lone CR or LF, 0 at the end of the text.
size_t NextTextLine(const char *Text, size_t *BreakLength);

// The word around real position Cursor of a line of Length characters, by
// the set WordChars (256 flags): *Start and *End (exclusive). Without any word
// character the whole line.
void FindWord(const unsigned char *Text, int Length, int Cursor, const unsigned char *WordChars,
              int *Start, int *End);

#endif
