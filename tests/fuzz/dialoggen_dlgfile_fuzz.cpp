// Dialog files of any content: a dialog that reads well, written out again,
// reads the same; names and words are found consistently; every text stays
// within its buffer.
#include "dialoggen/dlgfile.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static const char *TypeWords[] = {"text", "vtext", "singlebox", "doublebox", "edit", "password",
                                  "fixedit", "button", "checkbox", "radio", "combobox", "listbox"};
static const int Types[] = {DI_TEXT, DI_VTEXT, DI_SINGLEBOX, DI_DOUBLEBOX, DI_EDIT, DI_PSWEDIT,
                            DI_FIXEDIT, DI_BUTTON, DI_CHECKBOX, DI_RADIOBUTTON, DI_COMBOBOX,
                            DI_LISTBOX};
static const char *FlagWords[] = {"group", "boxcolor", "lefttext", "moveselect", "showampersand",
                                  "centergroup", "nobrackets", "separator", "editexpand",
                                  "readonly", "nofocus", "disable"};
static const FARDWORD Flags[] = {DIF_GROUP, DIF_BOXCOLOR, DIF_LEFTTEXT, DIF_MOVESELECT,
                                 DIF_SHOWAMPERSAND, DIF_CENTERGROUP, DIF_NOBRACKETS,
                                 DIF_SEPARATOR, DIF_EDITEXPAND, DIF_READONLY, DIF_NOFOCUS,
                                 DIF_DISABLE};

static void Bounded(const char *Text, size_t Size) {
  if (!memchr(Text, 0, Size)) abort();
}

static std::string Quoted(const char *Text) {
  std::string Q = "\"";
  for (const char *P = Text; *P; P++) {
    if (*P == '"' || *P == '\\') Q += '\\';
    Q += *P;
  }
  return Q + "\"";
}

static std::string Number(long V) {
  char B[24];
  snprintf(B, sizeof B, " %ld", V);
  return B;
}

// Texts are compared up to their end: a word given twice leaves the rest of
// the longer one behind the terminator.
static bool SameLayout(const DialogLayout &A, const DialogLayout &B) {
  if (strcmp(A.Name, B.Name) || strcmp(A.Help, B.Help) || A.Width != B.Width ||
      A.Height != B.Height || A.Count != B.Count)
    return false;
  for (int I = 0; I < A.Count; I++) {
    const DialogItemLayout &X = A.Items[I], &Y = B.Items[I];
    if (X.Type != Y.Type || X.Id != Y.Id || X.X1 != Y.X1 || X.Y1 != Y.Y1 || X.X2 != Y.X2 ||
        X.Y2 != Y.Y2 || X.Flags != Y.Flags || X.Value != Y.Value || X.MsgNumber != Y.MsgNumber ||
        X.Selected != Y.Selected || X.Focus != Y.Focus || X.Default != Y.Default ||
        X.Hidden != Y.Hidden || X.Cancel != Y.Cancel || X.ChoiceCloses != Y.ChoiceCloses ||
        strcmp(X.Text, Y.Text))
      return false;
  }
  return true;
}

// The layout as a dialog file; empty when a line would pass the reader's
// line length.
static std::string WriteLayout(const DialogLayout &L) {
  std::string Out = "dialog " + Quoted(L.Name) + Number(L.Width) + Number(L.Height) + "\n";
  if (L.Help[0]) Out += "help " + Quoted(L.Help) + "\n";
  for (int I = 0; I < L.Count; I++) {
    const DialogItemLayout &It = L.Items[I];
    std::string Line;
    for (size_t T = 0; T < sizeof Types / sizeof *Types; T++)
      if (Types[T] == It.Type) Line = TypeWords[T];
    if (Line.empty()) abort();
    Line += Number(It.Id) + Number(It.X1) + Number(It.Y1) + Number(It.X2) + Number(It.Y2);
    for (size_t F = 0; F < sizeof Flags / sizeof *Flags; F++)
      if (It.Flags & Flags[F]) Line += std::string(" ") + FlagWords[F];
    if (It.Flags & DIF_SETCOLOR) Line += " color" + Number(It.Flags & DIF_COLORMASK);
    if (It.MsgNumber >= 0) Line += " msg" + Number(It.MsgNumber);
    if (It.Value) Line += " value" + Number(It.Value);
    if (It.Selected) Line += " selected";
    if (It.Focus) Line += " focus";
    if (It.Default) Line += " default";
    if (It.Hidden) Line += " hidden";
    if (It.Cancel) Line += " cancel";
    if (It.ChoiceCloses) Line += " closes";
    if (It.Text[0]) Line += " text " + Quoted(It.Text);
    if (Line.size() > 1000) return "";
    Out += Line + "\n";
  }
  return Out + "end\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 1) return 0;
  std::string Text((const char *)Data + 1, Size - 1);
  Text = Text.c_str();

  char Name[DLG_NAME_SIZE + 1];
  Name[DLG_NAME_SIZE] = 0x5A;
  bool Ended = false;
  for (int I = 0; I < 6; I++) {
    int Got = DialogNameAt(Text.c_str(), I, Name, DLG_NAME_SIZE);
    if (Name[DLG_NAME_SIZE] != 0x5A) abort();
    Bounded(Name, DLG_NAME_SIZE);
    if (Got && Ended) abort();
    if (!Got) Ended = true;
  }
  if (!DialogNameAt(Text.c_str(), Data[0] % 4, Name, DLG_NAME_SIZE))
    snprintf(Name, sizeof Name, "%s", "Main");

  static DialogLayout Layout, Again;
  char Error[40];
  if (!ParseDialogFile(Text.c_str(), Name, &Layout, Error, sizeof Error)) {
    if (!Error[0]) abort();
  } else {
    if (Layout.Count < 0 || Layout.Count > DLG_MAX_ITEMS || strcmp(Layout.Name, Name)) abort();
    Bounded(Layout.Help, sizeof Layout.Help);
    for (int I = 0; I < Layout.Count; I++) Bounded(Layout.Items[I].Text, DLG_TEXT_SIZE);
    std::string Written = WriteLayout(Layout);
    if (!Written.empty()) {
      if (!ParseDialogFile(Written.c_str(), Name, &Again, Error, sizeof Error)) abort();
      if (!SameLayout(Layout, Again)) abort();
    }
  }

  // Words of the first line: once one is missing, so are all after it.
  std::string First = Text.substr(0, Text.find('\n'));
  char Word[16];
  bool Missing = false;
  for (int I = 0; I < 6; I++) {
    int Got = GetWord(First.c_str(), I, Word, sizeof Word);
    Bounded(Word, sizeof Word);
    if (Got && Missing) abort();
    if (!Got) Missing = true;
  }
  return 0;
}
