// Reads dialog files: plain text describing dialogs item by item (the format
// is documented in README.md, "Dialog files"). No Windows calls.
#ifndef DIALOGGEN_DLGFILE_H
#define DIALOGGEN_DLGFILE_H

#include "host/far.h"

enum { DLG_TEXT_SIZE = 512, DLG_NAME_SIZE = 64, DLG_MAX_ITEMS = 128 };

struct DialogItemLayout {
  int Type;            // DI_...
  int Id;              // identifier the plug-in addresses it by; 0 = none
  int X1, Y1, X2, Y2;
  FARDWORD Flags;      // DIF_...
  int Value;           // radio buttons: the value the group yields
  int MsgNumber;       // text from the language file, -1 = literal Text
  int Selected, Focus, Default, Hidden;
  int Cancel;          // closing through it counts as cancel
  int ChoiceCloses;    // first radio of a group whose choice closes the dialog
  char Text[DLG_TEXT_SIZE];
};

struct DialogLayout {
  char Name[DLG_NAME_SIZE];
  int Width, Height;
  char Help[DLG_NAME_SIZE];
  int Count;
  DialogItemLayout Items[DLG_MAX_ITEMS];
};

// Finds dialog Name in the file's text (NUL-terminated) and fills Out.
// Returns 1 when found and well formed; otherwise 0 and, when Error is
// given, a short description with the line number.
int ParseDialogFile(const char *FileText, const char *Name, DialogLayout *Out, char *Error,
                    int ErrorSize);

// Name of the Index-th dialog of the file (0-based) into Name; 0 when none.
int DialogNameAt(const char *FileText, int Index, char *Name, int NameSize);

// A number: decimal, or hexadecimal after 0x; leading blanks skipped;
// *End (when given) receives where it stopped. 0 when there is none.
long ParseNumber(const char *Text, const char **End);

// The Index-th blank-separated word of Line (a "quoted text" is one word,
// without its quotes) into Out; 0 when there is no such word.
int GetWord(const char *Line, int Index, char *Out, int OutSize);

#endif
