// Message boxes and dialogs built from lists of tagged values, so that no
// caller fills a FarDialogItem by hand.
#ifndef MARQUEE_DIALOGS_H
#define MARQUEE_DIALOGS_H

#include "host/far.h"

struct TaggedValue {
  enum Kind { Integer, Boolean, Text, FlagAddress, StringAddress } Type;
  union {
    int Int;
    bool Bool;
    const char *Str;
    unsigned char *Flag;
    // A caller's string variable: a malloc'd text (or null for empty) that
    // RunDialog replaces with a new malloc'd text after the dialog.
    char **Var;
  };
};

inline TaggedValue TagInt(int N) {
  TaggedValue V;
  V.Type = TaggedValue::Integer;
  V.Int = N;
  return V;
}
inline TaggedValue TagBool(bool B) {
  TaggedValue V;
  V.Type = TaggedValue::Boolean;
  V.Bool = B;
  return V;
}
inline TaggedValue TagText(const char *S) {
  TaggedValue V;
  V.Type = TaggedValue::Text;
  V.Str = S;
  return V;
}
inline TaggedValue TagFlag(unsigned char *F) {
  TaggedValue V;
  V.Type = TaggedValue::FlagAddress;
  V.Flag = F;
  return V;
}
inline TaggedValue TagString(char **S) {
  TaggedValue V;
  V.Type = TaggedValue::StringAddress;
  V.Var = S;
  return V;
}

// The values per dialog item: Type, X1, Y1, X2, Focus, Selected, Flags, Data.
enum { DIALOG_ITEM_VALUES = 8, DIALOG_DATA_MAX = sizeof(((FarDialogItem *)0)->Data) - 1 };

// Lines: title, body, then ButtonCount buttons. A message number shows its
// text, a text itself, anything else a single blank. Returns the host's
// result: the button from 0, or -1.
int ShowMessageBox(FARDWORD Flags, const char *HelpTopic, const TaggedValue *Lines, int LineCount,
                   int ButtonCount);

// Runs a dialog whose first item is its frame; the last item's row sets the
// height. DefaultIndex -1 makes the first button the default. Unless the
// result is -1, flags and strings given by address receive what the user
// left in their items. Returns the closing item, or -1.
int RunDialog(const char *HelpTopic, const TaggedValue *Values, int ValueCount, int DefaultIndex);

#endif
