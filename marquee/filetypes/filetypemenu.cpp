#include "filetypemenu.h"

#include "filetypes/filetypes.h"
#include "filetypes/typelines.h"
#include "frame/dialogs.h"
#include "frame/frame.h"
#include "frame/registry.h"
#include "frame/zstr.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum { EditOkButton = 9 };
enum { BreakEdit, BreakInsert, BreakDelete, BreakF4, BreakMoveUp, BreakMoveDown };

static const int MenuBreakKeys[] = {
    VK_RETURN, VK_INSERT, VK_DELETE, VK_F4, (PKF_CONTROL << 16) | VK_UP,
    (PKF_CONTROL << 16) | VK_DOWN, 0};


static void MoveType(int From, int To) {
  FileType Type;
  ReadFileType(From, &Type);
  WriteFileType(To, &Type);
  FreeFileType(&Type);
}

static void SwapTypes(int A, int B) {
  FileType TypeA, TypeB;
  ReadFileType(A, &TypeA);
  ReadFileType(B, &TypeB);
  WriteFileType(B, &TypeA);
  WriteFileType(A, &TypeB);
  FreeFileType(&TypeA);
  FreeFileType(&TypeB);
}

static int CountTypes() {
  char Key[FILE_TYPE_KEY_SIZE];
  for (int N = 0;; N++) {
    FileTypeKey(Key, N);
    HKEY Handle = OpenSettingsKey(HKEY_CURRENT_USER, Key);
    if (!Handle) return N;
    RegCloseKey(Handle);
  }
}

// Count type lines and the empty last line; null when memory runs out.
static FarMenuItem *BuildMenuItems(int Count, int Position) {
  FarMenuItem *Items = (FarMenuItem *)calloc(Count + 1, sizeof *Items);
  FileType *Types = (FileType *)calloc(Count > 0 ? Count : 1, sizeof *Types);
  if (!Items || !Types) {
    free(Items);
    free(Types);
    return NULL;
  }
  size_t Width = 0;
  for (int N = 0; N < Count; N++) {
    Types[N].Description = ReadFileTypeValue(N, FILE_TYPE_DESCRIPTION);
    Types[N].Mask = ReadFileTypeValue(N, FILE_TYPE_MASK);
    if (Types[N].Description) {
      size_t Len = ZStrLength(Types[N].Description);
      if (Len > Width) Width = Len;
    }
  }
  for (int N = 0; N < Count; N++) {
    BuildTypeMenuLine(Items[N].Text, Types[N].Description, Width, Types[N].Mask);
    FreeFileType(&Types[N]);
  }
  free(Types);
  Items[Count].Checked = -1;
  Items[Position].Selected = -1;
  return Items;
}

static void DeleteType(int Position, int Count) {
  FileType Type;
  ReadFileType(Position, &Type);
  char Quoted[QUOTED_MASK_MAX + 1];
  BuildQuotedMask(Quoted, Type.Mask);
  FreeFileType(&Type);
  const TaggedValue Lines[] = {TagInt(MFileTypesTitle), TagInt(MDeleteQuestion), TagText(Quoted),
                               TagInt(MDelete), TagInt(MCancel)};
  if (ShowMessageBox(FMSG_WARNING, NULL, Lines, sizeof Lines / sizeof *Lines, 2) != 0) return;
  for (int I = Position; I < Count - 1; I++) MoveType(I + 1, I);
  char Key[FILE_TYPE_KEY_SIZE];
  FileTypeKey(Key, Count - 1);
  DeleteSettingsKey(HKEY_CURRENT_USER, Key);
}

static void InsertType(int Position, int Count) {
  FileType Type = {NULL, NULL, NULL};
  if (EditFileType(&Type.Mask, &Type.Description, &Type.Charset)) {
    for (int I = Count; I > Position; I--) MoveType(I - 1, I);
    WriteFileType(Position, &Type);
  }
  FreeFileType(&Type);
}

static void EditType(int Position) {
  FileType Type;
  ReadFileType(Position, &Type);
  if (EditFileType(&Type.Mask, &Type.Description, &Type.Charset)) WriteFileType(Position, &Type);
  FreeFileType(&Type);
}

void EditFileTypes() {
  int Position = 0;
  for (;;) {
    int Count = CountTypes();
    if (Position > Count) Position = Count;
    if (Position < 0) Position = 0;
    FarMenuItem *Items = BuildMenuItems(Count, Position);
    if (!Items) return;
    int BreakCode = -1;
    Position = StartupInfo.Menu(StartupInfo.ModuleNumber, -1, -1, 0, FMENU_WRAPMODE,
                                GetMsgText(MFileTypesTitle), GetMsgText(MFileTypesBottom),
                                "Charset", MenuBreakKeys, &BreakCode, Items, Count + 1);
    free(Items);
    switch (BreakCode) {
      case BreakEdit:
      case BreakF4:
        if (Position >= 0 && Position < Count) EditType(Position);
        break;
      case BreakInsert:
        if (Position >= 0 && Position <= Count) InsertType(Position, Count);
        break;
      case BreakDelete:
        if (Position >= 0 && Position < Count) DeleteType(Position, Count);
        break;
      case BreakMoveUp:
        if (Position > 0 && Position < Count) {
          SwapTypes(Position, Position - 1);
          Position--;
        }
        break;
      case BreakMoveDown:
        if (Position >= 0 && Position < Count - 1) {
          SwapTypes(Position, Position + 1);
          Position++;
        }
        break;
      default:
        return;
    }
  }
}

// A converted copy of Text; null when memory runs out.
static char *ConvertedCopy(const char *Text, BOOL(WINAPI *Convert)(LPCSTR, LPSTR)) {
  if (!Text) Text = "";
  char *Copy = (char *)malloc(ZStrLength(Text) + 1);
  if (Copy) Convert(Text, Copy);
  return Copy;
}

static char *CopyText(const char *Text) {
  char *Copy = (char *)malloc(ZStrLength(Text) + 1);
  return Copy ? ZStrCopy(Copy, Text) : NULL;
}

bool EditFileType(char **Mask, char **Description, char **Charset) {
  // The dialog shows the notation in the console's character set.
  char *Shown = ConvertedCopy(*Charset, CharToOemA);
  char *Edited = Shown ? CopyText(Shown) : NULL;
  if (!Edited) {
    free(Shown);
    return false;
  }
  const bool No = false, Yes = true;
  const TaggedValue Items[] = {
      TagInt(DI_DOUBLEBOX), TagInt(3), TagInt(1), TagInt(70), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MEditTitle),
      TagInt(DI_TEXT), TagInt(5), TagInt(2), TagInt(0), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MEditMask),
      TagInt(DI_EDIT), TagInt(5), TagInt(3), TagInt(68), TagBool(Yes), TagBool(No), TagInt(0),
      TagString(Mask),
      TagInt(DI_TEXT), TagInt(5), TagInt(4), TagInt(0), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MEditDescription),
      TagInt(DI_EDIT), TagInt(5), TagInt(5), TagInt(68), TagBool(No), TagBool(No), TagInt(0),
      TagString(Description),
      TagInt(DI_TEXT), TagInt(2), TagInt(6), TagInt(70), TagBool(No), TagBool(No),
      TagInt(DIF_BOXCOLOR | DIF_SEPARATOR), TagText(""),
      TagInt(DI_TEXT), TagInt(5), TagInt(7), TagInt(0), TagBool(No), TagBool(No), TagInt(0),
      TagInt(MEditCharset),
      TagInt(DI_EDIT), TagInt(5), TagInt(8), TagInt(68), TagBool(No), TagText("Marquee-Charset"),
      TagInt(DIF_HISTORY), TagString(&Edited),
      TagInt(DI_TEXT), TagInt(2), TagInt(9), TagInt(70), TagBool(No), TagBool(No),
      TagInt(DIF_BOXCOLOR | DIF_SEPARATOR), TagText(""),
      TagInt(DI_BUTTON), TagInt(0), TagInt(10), TagInt(0), TagBool(No), TagBool(No),
      TagInt(DIF_CENTERGROUP), TagInt(MOk),
      TagInt(DI_BUTTON), TagInt(0), TagInt(10), TagInt(0), TagBool(No), TagBool(No),
      TagInt(DIF_CENTERGROUP), TagInt(MCancel),
  };
  int Result = RunDialog("Edit", Items, sizeof Items / sizeof *Items, -1);
  bool Accepted = Result == EditOkButton && *Mask && **Mask;
  // A notation left as shown keeps its stored characters, also those that
  // have no counterpart in the console's character set.
  if (Accepted && strcmp(Edited, Shown) != 0) {
    char *Ansi = ConvertedCopy(Edited, OemToCharA);
    if (Ansi) {
      free(*Charset);
      *Charset = Ansi;
    } else {
      Accepted = false;
    }
  }
  free(Edited);
  free(Shown);
  return Accepted;
}
