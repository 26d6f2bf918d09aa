#include "dlgfile.h"

#include <stdio.h>
#include <string.h>

namespace {

const struct {
  const char *Word;
  int Type;
} ItemTypes[] = {
    {"text", DI_TEXT},         {"vtext", DI_VTEXT},       {"singlebox", DI_SINGLEBOX},
    {"doublebox", DI_DOUBLEBOX}, {"edit", DI_EDIT},       {"password", DI_PSWEDIT},
    {"fixedit", DI_FIXEDIT},   {"button", DI_BUTTON},     {"checkbox", DI_CHECKBOX},
    {"radio", DI_RADIOBUTTON}, {"combobox", DI_COMBOBOX}, {"listbox", DI_LISTBOX},
};

const struct {
  const char *Word;
  FARDWORD Flag;
} FlagWords[] = {
    {"group", DIF_GROUP},           {"boxcolor", DIF_BOXCOLOR},
    {"lefttext", DIF_LEFTTEXT},     {"moveselect", DIF_MOVESELECT},
    {"showampersand", DIF_SHOWAMPERSAND}, {"centergroup", DIF_CENTERGROUP},
    {"nobrackets", DIF_NOBRACKETS}, {"separator", DIF_SEPARATOR},
    {"editexpand", DIF_EDITEXPAND}, {"readonly", DIF_READONLY},
    {"nofocus", DIF_NOFOCUS},       {"disable", DIF_DISABLE},
};

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r'; }

// Copies the line that starts at P (without its line break) into Line.
// Returns the start of the next line, or null at the end of the text.
const char *TakeLine(const char *P, char *Line, int Size) {
  int N = 0;
  while (*P && *P != '\n') {
    if (N < Size - 1) Line[N++] = *P;
    P++;
  }
  Line[N] = 0;
  return *P && P[1] ? P + 1 : nullptr;
}

// Reads one word at *P into Out (quoted texts keep their inner blanks,
// \" and \\ stand for " and \). Returns 0 when the line has no more words.
int ReadWord(const char **P, char *Out, int OutSize) {
  const char *S = *P;
  while (IsBlank(*S)) S++;
  if (!*S || *S == '#') {
    *P = S;
    return 0;
  }
  int N = 0;
  if (*S == '"') {
    S++;
    while (*S && *S != '"') {
      if (*S == '\\' && (S[1] == '"' || S[1] == '\\')) S++;
      if (N < OutSize - 1) Out[N++] = *S;
      S++;
    }
    if (*S == '"') S++;
  } else {
    while (*S && !IsBlank(*S)) {
      if (N < OutSize - 1) Out[N++] = *S;
      S++;
    }
  }
  Out[N] = 0;
  *P = S;
  return 1;
}

bool ReadInt(const char **P, int *Value) {
  char Word[32];
  if (!ReadWord(P, Word, sizeof Word)) return false;
  const char *End;
  long V = ParseNumber(Word, &End);
  if (End == Word || *End) return false;
  *Value = (int)V;
  return true;
}

void SetError(char *Error, int ErrorSize, int LineNumber, const char *What) {
  if (Error && ErrorSize > 0) snprintf(Error, ErrorSize, "line %d: %s", LineNumber, What);
}

bool ParseItem(const char *P, DialogItemLayout *Item, const char **Problem) {
  char Word[DLG_TEXT_SIZE];
  memset(Item, 0, sizeof *Item);
  Item->MsgNumber = -1;
  ReadWord(&P, Word, sizeof Word);
  Item->Type = -1;
  for (auto &T : ItemTypes)
    if (!strcmp(Word, T.Word)) Item->Type = T.Type;
  if (Item->Type < 0) {
    *Problem = "unknown item type";
    return false;
  }
  if (!ReadInt(&P, &Item->Id) || !ReadInt(&P, &Item->X1) || !ReadInt(&P, &Item->Y1) ||
      !ReadInt(&P, &Item->X2) || !ReadInt(&P, &Item->Y2)) {
    *Problem = "an item needs: type id x1 y1 x2 y2";
    return false;
  }
  while (ReadWord(&P, Word, sizeof Word)) {
    bool Known = false;
    for (auto &F : FlagWords)
      if (!strcmp(Word, F.Word)) Item->Flags |= F.Flag, Known = true;
    if (Known) continue;
    int N;
    if (!strcmp(Word, "text")) {
      if (!ReadWord(&P, Item->Text, sizeof Item->Text)) {
        *Problem = "text needs a quoted text";
        return false;
      }
    } else if (!strcmp(Word, "msg")) {
      if (!ReadInt(&P, &Item->MsgNumber) || Item->MsgNumber < 0) {
        *Problem = "msg needs a message number";
        return false;
      }
    } else if (!strcmp(Word, "value")) {
      if (!ReadInt(&P, &Item->Value)) {
        *Problem = "value needs a number";
        return false;
      }
    } else if (!strcmp(Word, "color")) {
      if (!ReadInt(&P, &N)) {
        *Problem = "color needs a number";
        return false;
      }
      Item->Flags = (Item->Flags & ~DIF_COLORMASK) | DIF_SETCOLOR | (FARDWORD)(N & 0xFF);
    } else if (!strcmp(Word, "selected")) {
      Item->Selected = 1;
    } else if (!strcmp(Word, "focus")) {
      Item->Focus = 1;
    } else if (!strcmp(Word, "default")) {
      Item->Default = 1;
    } else if (!strcmp(Word, "hidden")) {
      Item->Hidden = 1;
    } else if (!strcmp(Word, "cancel")) {
      Item->Cancel = 1;
    } else if (!strcmp(Word, "closes")) {
      Item->ChoiceCloses = 1;
    } else {
      *Problem = "unknown word";
      return false;
    }
  }
  return true;
}

}  // namespace

long ParseNumber(const char *Text, const char **End) {
  const char *P = Text;
  while (*P == ' ' || *P == '\t') P++;
  bool Negative = false;
  if (*P == '-' || *P == '+') Negative = *P++ == '-';
  int Base = 10;
  if (P[0] == '0' && (P[1] == 'x' || P[1] == 'X')) Base = 16, P += 2;
  const char *Digits = P;
  unsigned long V = 0;
  for (;; P++) {
    int D;
    if (*P >= '0' && *P <= '9') D = *P - '0';
    else if (Base == 16 && *P >= 'a' && *P <= 'f') D = *P - 'a' + 10;
    else if (Base == 16 && *P >= 'A' && *P <= 'F') D = *P - 'A' + 10;
    else break;
    if (V < 0x10000000ul) V = V * Base + D;  // beyond that the number is nonsense anyway
  }
  if (P == Digits) {
    if (End) *End = Text;
    return 0;
  }
  if (End) *End = P;
  long R = (long)(V & 0x7FFFFFFFul);
  return Negative ? -R : R;
}

int GetWord(const char *Line, int Index, char *Out, int OutSize) {
  if (!Line || !Out || OutSize < 1) return 0;
  Out[0] = 0;
  for (int I = 0; I <= Index; I++)
    if (!ReadWord(&Line, Out, OutSize)) {
      Out[0] = 0;
      return 0;
    }
  return 1;
}

// Dialogs start with: dialog "Name" width height. Returns the text after the
// header line of the Index-th (or the named) one.
static const char *FindDialog(const char *FileText, const char *Name, int Index, char *Found,
                              int FoundSize, DialogLayout *Out, int *LineNumber) {
  char Line[1024], Word[DLG_NAME_SIZE];
  const char *P = FileText;
  int Seen = 0;
  *LineNumber = 0;
  while (P) {
    P = TakeLine(P, Line, sizeof Line);
    ++*LineNumber;
    const char *L = Line;
    if (!ReadWord(&L, Word, sizeof Word) || strcmp(Word, "dialog")) continue;
    if (!ReadWord(&L, Found, FoundSize)) continue;
    bool Match = Name ? !strcmp(Found, Name) : Seen == Index;
    Seen++;
    if (!Match) continue;
    if (Out) {
      if (!ReadInt(&L, &Out->Width) || !ReadInt(&L, &Out->Height)) return nullptr;
    }
    return P ? P : "";
  }
  return nullptr;
}

int DialogNameAt(const char *FileText, int Index, char *Name, int NameSize) {
  int LineNumber;
  if (!FileText || !Name || NameSize < 1) return 0;
  Name[0] = 0;
  if (!FindDialog(FileText, nullptr, Index, Name, NameSize, nullptr, &LineNumber)) {
    Name[0] = 0;
    return 0;
  }
  return 1;
}

int ParseDialogFile(const char *FileText, const char *Name, DialogLayout *Out, char *Error,
                    int ErrorSize) {
  if (Error && ErrorSize > 0) Error[0] = 0;
  if (!FileText || !Name || !Out) return 0;
  memset(Out, 0, sizeof *Out);
  char Found[DLG_NAME_SIZE];
  int LineNumber;
  const char *P = FindDialog(FileText, Name, 0, Found, sizeof Found, Out, &LineNumber);
  if (!P) {
    SetError(Error, ErrorSize, LineNumber, "dialog not found or without width and height");
    return 0;
  }
  snprintf(Out->Name, sizeof Out->Name, "%s", Found);
  char Line[1024], Word[DLG_NAME_SIZE];
  while (P) {
    P = TakeLine(P, Line, sizeof Line);
    LineNumber++;
    const char *L = Line;
    if (!ReadWord(&L, Word, sizeof Word)) continue;
    if (!strcmp(Word, "end")) return 1;
    if (!strcmp(Word, "help")) {
      ReadWord(&L, Out->Help, sizeof Out->Help);
      continue;
    }
    if (Out->Count == DLG_MAX_ITEMS) {
      SetError(Error, ErrorSize, LineNumber, "too many items");
      return 0;
    }
    const char *Problem = "";
    if (!ParseItem(Line, &Out->Items[Out->Count], &Problem)) {
      SetError(Error, ErrorSize, LineNumber, Problem);
      return 0;
    }
    Out->Count++;
  }
  SetError(Error, ErrorSize, LineNumber, "no end line");
  return 0;
}
