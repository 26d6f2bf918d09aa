// Copy, cut and paste of the editor's block through the clipboard.
#include "mouse.h"

#include "clipboard/clipboard.h"
#include "frame/frame.h"
#include "selection/blocktext.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

static const char VerticalBlockFormat[] = "FAR_VerticalBlock";

// A line as the host reports it; a failed call reads as a line outside any
// block, without text.
static void GetEditorString(int Line, EditorGetString *String) {
  memset(String, 0, sizeof *String);
  String->StringNumber = Line;
  String->SelStart = -1;
  StartupInfo.EditorControl(ECTL_GETSTRING, String);
  if (!String->StringText || String->StringLength < 0) {
    String->StringText = "";
    String->StringLength = 0;
  }
}

static void SetEditorString(int Line, char *Text, int Length) {
  EditorSetString String = {Line, Text, NULL, Length};
  StartupInfo.EditorControl(ECTL_SETSTRING, &String);
}

static void InsertEditorText(const char *Text) {
  StartupInfo.EditorControl(ECTL_INSERTTEXT, (void *)Text);
}

void CopyBlock(MouseEventContext *Context) {
  Context->Result = -1;
  ReadEditorInfo(Context);
  int Total = Context->Info.TotalLines;
  bool Stream = Context->Info.BlockType == BTYPE_STREAM;
  DragBlockType = Context->Info.BlockType;
  Context->FirstLine = Context->StartPos = Context->LastLine = Context->EndPos = -1;
  TextBuilder Text;
  StartText(&Text);
  for (int Line = Context->Info.BlockStartLine; Line < Total; Line++) {
    EditorGetString String;
    GetEditorString(Line, &String);
    if (String.SelStart == -1) break;
    if (Context->FirstLine == -1) {
      Context->FirstLine = Line;
      Context->StartPos = String.SelStart;
    }
    if (!Stream) {
      Context->LastLine = Line;
      AppendColumnRow(&Text, String.StringText, String.StringLength, String.SelStart,
                      String.SelEnd);
    } else {
      AppendStreamLine(&Text, String.StringText, String.StringLength, String.SelStart,
                       String.SelEnd);
      // A selection through the break ends at the start of the next line.
      Context->LastLine = String.SelEnd == -1 ? Line + 1 : Line;
      Context->EndPos = String.SelEnd == -1 ? 0 : String.SelEnd;
    }
  }
  if (Text.Text && !Text.Failed && Text.Length <= INT_MAX) {
    EditorConvertText Convert = {Text.Text, (int)Text.Length};
    StartupInfo.EditorControl(ECTL_EDITORTOOEM, &Convert);
    // A column block goes as text too, so that other programs get these rows
    // and not the text of an older copy.
    if (Stream) PutClipboardText(Text.Text);
    else PutClipboardTextWithFormat(VerticalBlockFormat, Text.Text);
  }
  ReleaseText(&Text);
}

static void CutStreamBlock(MouseEventContext *Context) {
  int First = Context->FirstLine, Last = Context->LastLine, EndPos = Context->EndPos;
  int Total = Context->Info.TotalLines;
  if (Last >= Total) {
    // Through the break of the file's last line: the block ends at its end.
    Last = Total - 1;
    EndPos = INT_MAX;
  }
  // Gone before the text is edited, so that no Del rule of the host's can
  // take the block instead of a character.
  SelectEditorBlock(BTYPE_NONE, 0, 0, 0, 0);
  if (First < Last) {
    SetEditorPosition(First + 1, -1, -1, -1, -1);
    for (int I = First + 1; I < Last; I++) StartupInfo.EditorControl(ECTL_DELETESTRING, NULL);
    Last = First + 1;
  }
  EditorGetString Head, Tail;
  GetEditorString(First, &Head);
  GetEditorString(Last, &Tail);
  int HeadLength = Context->StartPos < Head.StringLength ? Context->StartPos : Head.StringLength;
  if (HeadLength < 0) HeadLength = 0;
  int TailStart = EndPos < Tail.StringLength ? EndPos : Tail.StringLength;
  if (TailStart < 0) TailStart = 0;
  TextBuilder Text;
  StartText(&Text);
  if (First == Last) {
    AppendChars(&Text, Head.StringText, (size_t)HeadLength);
    AppendChars(&Text, Tail.StringText + TailStart, (size_t)(Tail.StringLength - TailStart));
    if (!Text.Failed) SetEditorString(First, Text.Text, (int)Text.Length);
  } else {
    // The last line keeps only the tail and is joined to the head: the joined
    // line takes the last line's break, also where the file ends without one.
    AppendChars(&Text, Tail.StringText + TailStart, (size_t)(Tail.StringLength - TailStart));
    if (!Text.Failed) SetEditorString(Last, Text.Text, (int)Text.Length);
    Text.Length = 0;
    AppendChars(&Text, Head.StringText, (size_t)HeadLength);
    if (!Text.Failed) SetEditorString(First, Text.Text, (int)Text.Length);
    SetEditorPosition(First, HeadLength, -1, -1, -1);
    StartupInfo.EditorControl(ECTL_DELETECHAR, NULL);
  }
  ReleaseText(&Text);
}

static void CutColumnBlock(MouseEventContext *Context) {
  TextBuilder Text;
  StartText(&Text);
  for (int Line = Context->FirstLine; Line <= Context->LastLine; Line++) {
    EditorGetString String;
    GetEditorString(Line, &String);
    int Length = String.StringLength, Start = String.SelStart;
    if (Start < 0 || Length <= Start) continue;
    int End = String.SelEnd < Length ? String.SelEnd : Length;
    if (End < Start) End = Start;
    Text.Length = 0;
    AppendChars(&Text, String.StringText, (size_t)Start);
    AppendChars(&Text, String.StringText + End, (size_t)(Length - End));
    if (!Text.Failed) SetEditorString(Line, Text.Text, (int)Text.Length);
  }
  ReleaseText(&Text);
}

void CutBlock(MouseEventContext *Context) {
  Context->Result = -1;
  CopyBlock(Context);
  if (Context->FirstLine == -1) return;
  if (DragBlockType == BTYPE_STREAM) CutStreamBlock(Context);
  else CutColumnBlock(Context);
  SetEditorPosition(Context->FirstLine, Context->StartPos, -1, -1, -1);
  SelectEditorBlock(BTYPE_NONE, 0, 0, 0, 0);
  RedrawEditor();
}

// Each line goes in with the first character of its break, which starts a
// new line in the host; a CR LF pair counts once. Empty lines are kept.
static void PasteStream(MouseEventContext *Context, char *Text) {
  ReadEditorInfo(Context);
  FARDWORD Options = Context->Info.Options;
  AnchorPos = Context->Info.CurPos;
  AnchorLine = Context->Info.CurLine;
  for (char *P = Text; *P;) {
    size_t Break;
    size_t Length = NextTextLine(P, &Break);
    size_t Insert = Length + (Break ? 1 : 0);
    char Kept = P[Insert];
    P[Insert] = 0;
    InsertEditorText(P);
    P[Insert] = Kept;
    P += Length + Break;
  }
  if (Options & EOPT_PERSISTENTBLOCKS) {
    ReadEditorInfo(Context);
    SelectEditorBlock(BTYPE_STREAM, AnchorLine, AnchorPos, Context->Info.CurPos - AnchorPos,
                      Context->Info.CurLine + 1 - AnchorLine);
  }
}

// Blanks up to the paste column where the cursor stands at the end of a
// shorter line, so that the row lands in its column.
static void PadToColumn(MouseEventContext *Context, int Column) {
  ReadEditorInfo(Context);
  int Missing = Column - Context->Info.CurTabPos;
  if (Missing <= 0) return;
  EditorGetString String;
  GetEditorString(Context->Info.CurLine, &String);
  if (Context->Info.CurPos < String.StringLength) return;
  TextBuilder Blanks;
  StartText(&Blanks);
  AppendBlanks(&Blanks, (size_t)Missing);
  if (!Blanks.Failed) InsertEditorText(Blanks.Text);
  ReleaseText(&Blanks);
}

// Rows go into the lines below the cursor at the cursor's screen column; at
// the end of the file new lines are added, so that no row lands in another's.
static void PasteColumn(MouseEventContext *Context, char *Text) {
  ReadEditorInfo(Context);
  FARDWORD Options = Context->Info.Options;
  int Column = Context->Info.CurTabPos, Line = Context->Info.CurLine;
  int Total = Context->Info.TotalLines;
  AnchorLine = Line;
  size_t Width = 0;
  for (char *P = Text;;) {
    size_t Break;
    Width = NextTextLine(P, &Break);
    char Kept = P[Width];
    P[Width] = 0;
    InsertEditorText(P);
    P[Width] = Kept;
    P += Width + Break;
    if (!Break || !*P) break;
    Line++;
    if (Line >= Total) {
      EditorGetString Last;
      GetEditorString(Total - 1, &Last);
      SetEditorPosition(Total - 1, Last.StringLength, -1, -1, -1);
      InsertEditorText("\r");
      Total++;
    }
    SetEditorPosition(Line, -1, Column, -1, -1);
    PadToColumn(Context, Column);
  }
  if (Options & EOPT_PERSISTENTBLOCKS) {
    ReadEditorInfo(Context);
    SelectEditorBlock(BTYPE_COLUMN, AnchorLine, Column, (int)Width,
                      Context->Info.CurLine + 1 - AnchorLine);
  }
  SetEditorPosition(AnchorLine, -1, Column, -1, -1);
}

void PasteClipboard(MouseEventContext *Context) {
  Context->Result = -1;
  char *Text = GetNamedClipboardText(VerticalBlockFormat);
  bool Column = Text != NULL;
  if (!Text) Text = GetClipboardText();
  if (!Text) return;
  if (*Text) {
    if (Column) PasteColumn(Context, Text);
    else PasteStream(Context, Text);
    RedrawEditor();
  }
  free(Text);
}
