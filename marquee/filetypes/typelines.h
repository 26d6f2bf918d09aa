// The texts the file-type menu shows: one line per type and the quoted mask
// of the delete question. Texts from the registry may be of any length;
// these cut them to the host's fields. No Windows calls.
#ifndef MARQUEE_TYPELINES_H
#define MARQUEE_TYPELINES_H

#include <stddef.h>

enum {
  MENU_LINE_MAX = 127,    // the host's 128-byte menu text
  MENU_MASK_MAX = 79,     // the mask enters a line through an 80-byte buffer
  QUOTED_MASK_MAX = 79,   // the question's mask line, quotes included
  // Longer descriptions are cut so that a line always shows a whole
  // MENU_MASK_MAX of the mask.
  MENU_DESCRIPTION_MAX = MENU_LINE_MAX - 3 - MENU_MASK_MAX,
};

// Description padded with blanks to Width (at most MENU_DESCRIPTION_MAX), a
// blank, the vertical line (OEM 179), a blank and the mask; with Width 0 (no
// type has a description) the mask alone. Line holds MENU_LINE_MAX + 1 bytes.
void BuildTypeMenuLine(char *Line, const char *Description, size_t Width, const char *Mask);

// The mask between double quotes; Line holds QUOTED_MASK_MAX + 1 bytes.
void BuildQuotedMask(char *Line, const char *Mask);

#endif
