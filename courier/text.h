// Courier's text routines: message lines, recipient lists, address sources,
// key paths. No Windows calls, so the native sanitizer build runs them too.
#ifndef COURIER_TEXT_H
#define COURIER_TEXT_H

#include "host/far.h"

#include <stddef.h>

enum {
  MESSAGE_LINES = 7,
  LINE_SIZE = 512,          // a dialog edit field's Data
  LOADED_LINE_MAX = 510,    // a history line shown in an edit field
  RECIPIENTS_MAX = 510,     // what the browse menu lets the recipient field grow to
  MENU_TEXT_MAX = 127,      // FarMenuItem.Text less its terminator
  // Seven full lines and six CR LF pairs, with the terminator.
  MESSAGE_TEXT_SIZE = MESSAGE_LINES * (LINE_SIZE - 1) + (MESSAGE_LINES - 1) * 2 + 1,
};

// Copies at most Size - 1 bytes and always terminates (Size > 0).
void CopyText(char *Dest, const char *Source, size_t Size);
bool TextIsEmpty(const char *Text);

// Index of the last non-empty line, or -1 when all are empty.
int FindLastLine(const char *const *Lines, int Count);
// Lines 0 to the last non-empty one joined with CR LF (empty lines in between
// kept). Dest holds Size bytes; the text is cut there. Returns its length.
size_t BuildMessageText(char *Dest, size_t Size, const char *const *Lines, int Count);
// The reverse: empties the Count lines (each LINE_SIZE bytes), then fills them
// from Text split at CR LF. Each line is cut to LOADED_LINE_MAX characters,
// and text beyond the last line is dropped.
void SplitMessageText(const char *Text, char *const *Lines, int Count);

// Appends Name to the ';'-separated Field (RECIPIENTS_MAX + 1 bytes or more):
// an empty field takes the name, else ";" and the name go on when the two
// lengths add up to less than RECIPIENTS_MAX. False when it was left out.
bool AppendRecipient(char *Field, const char *Name);
// What Enter in the address menu makes of the recipient field: the marked
// names joined in list order, or the chosen entry's name when none is marked.
void JoinMarkedNames(char *Field, const FarMenuItem *Items, int Count, int Chosen);
// The entry the cursor moves to after Space on R: the first non-separator
// after R, or R itself when there is none.
int FindNextSelectable(const FarMenuItem *Items, int Count, int R);

// Kinds of address source in the "Domains" text.
enum SourceKind {
  SOURCE_CONTAINER,      // a workgroup or domain: its servers
  SOURCE_SERVER_USERS,   // "*DC:server": the server's accounts
  SOURCE_DOMAIN_USERS,   // "*D:domain": the domain's accounts
  SOURCE_NONE,           // any other "*" text
};
// Takes the source at *Cursor (up to the next ';' or the end) and moves
// *Cursor past it. Name receives what to query (the container, the server or
// the domain name), cut to NameSize - 1. *Followed tells whether a ';'
// followed, i.e. whether another source comes.
SourceKind TakeSource(const char **Cursor, char *Name, size_t NameSize, bool *Followed);

// RootKey + "\Courier" into Dest (Size bytes); false, with Dest empty, when it
// would not fit.
bool ComposeKeyPath(char *Dest, size_t Size, const char *RootKey, const char *Suffix);

#endif
