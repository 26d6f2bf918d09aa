// The menu in which the user lists, inserts, edits, deletes and reorders
// the file types, and the dialog of one type.
#ifndef MARQUEE_FILETYPEMENU_H
#define MARQUEE_FILETYPEMENU_H

// Returns when the user leaves the menu with Esc. Every change is in the
// registry at once.
void EditFileTypes();

// Mask, Description and Charset are malloc'd texts (or null), Charset in the
// ANSI code page; they receive what the user typed. True when the dialog was
// closed with OK and the mask is not empty.
bool EditFileType(char **Mask, char **Description, char **Charset);

#endif
