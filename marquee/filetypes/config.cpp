#include "filetypes/filetypemenu.h"
#include "frame/dialogs.h"
#include "frame/frame.h"
#include "frame/registry.h"

enum { ConfigFileTypesButton = 6, ConfigOkButton = 8 };

bool ShowConfigDialog() {
  // One flag per radio button, taken bit by bit: a hand-edited value may
  // start with several buttons selected, or none.
  unsigned char F1 = Method & 1, F2 = (Method & 2) >> 1, F4 = (Method & 4) >> 2;
  const bool No = false, Yes = true;
  const TaggedValue Items[] = {
      TagInt(DI_DOUBLEBOX), TagInt(3), TagInt(1), TagInt(37), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MTitle),
      TagInt(DI_TEXT), TagInt(5), TagInt(2), TagInt(0), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MSchemeLabel),
      TagInt(DI_RADIOBUTTON), TagInt(5), TagInt(3), TagInt(0), TagBool(Yes), TagFlag(&F1),
      TagInt(DIF_GROUP), TagInt(MScheme1),
      TagInt(DI_RADIOBUTTON), TagInt(5), TagInt(4), TagInt(0), TagBool(No), TagFlag(&F2), TagInt(0),
      TagInt(MScheme2),
      TagInt(DI_RADIOBUTTON), TagInt(5), TagInt(5), TagInt(0), TagBool(No), TagFlag(&F4), TagInt(0),
      TagInt(MScheme4),
      TagInt(DI_TEXT), TagInt(2), TagInt(6), TagInt(37), TagBool(No), TagBool(No),
      TagInt(DIF_BOXCOLOR | DIF_SEPARATOR), TagText(""),
      TagInt(DI_BUTTON), TagInt(0), TagInt(7), TagInt(0), TagBool(No), TagBool(No),
      TagInt(DIF_CENTERGROUP), TagInt(MFileTypesButton),
      TagInt(DI_TEXT), TagInt(2), TagInt(8), TagInt(37), TagBool(No), TagBool(No),
      TagInt(DIF_BOXCOLOR | DIF_SEPARATOR), TagText(""),
      TagInt(DI_BUTTON), TagInt(0), TagInt(9), TagInt(0), TagBool(No), TagBool(No),
      TagInt(DIF_CENTERGROUP), TagInt(MOk),
      TagInt(DI_BUTTON), TagInt(0), TagInt(9), TagInt(0), TagBool(No), TagBool(No),
      TagInt(DIF_CENTERGROUP), TagInt(MCancel),
  };
  for (;;) {
    int Result = RunDialog("Configure", Items, sizeof Items / sizeof *Items, ConfigOkButton);
    if (Result == ConfigFileTypesButton) {
      // The radio choice written back into the flags is shown again as left.
      EditFileTypes();
      continue;
    }
    if (Result != ConfigOkButton) return false;
    Method = F1 + 2 * F2 + 4 * F4;
    WriteDWordValue(HKEY_CURRENT_USER, "", "Method", &Method, sizeof Method);
    return true;
  }
}
