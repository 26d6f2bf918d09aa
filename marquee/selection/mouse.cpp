#include "mouse.h"

#include "filetypes/filetypes.h"
#include "frame/frame.h"
#include "selection/blocktext.h"

#include <stdlib.h>
#include <string.h>

bool Dragging;
int DragBlockType;
int AnchorLine = -1, AnchorPos = -1;
bool ExtendStarted;
DWORD LastWordTime;

void ReadEditorInfo(MouseEventContext *Context) {
  memset(&Context->Info, 0, sizeof Context->Info);
  StartupInfo.EditorControl(ECTL_GETINFO, &Context->Info);
}

void SetEditorPosition(int Line, int Pos, int TabPos, int Top, int Left) {
  EditorSetPosition Position = {Line, Pos, TabPos, Top, Left, -1};
  StartupInfo.EditorControl(ECTL_SETPOSITION, &Position);
}

void SelectEditorBlock(int Type, int StartLine, int StartPos, int Width, int Height) {
  EditorSelect Select = {Type, StartLine, StartPos, Width, Height};
  StartupInfo.EditorControl(ECTL_SELECT, &Select);
}

void RedrawEditor() { StartupInfo.EditorControl(ECTL_REDRAW, NULL); }

// A press or double click soon after a word selection selects the line. A
// line selection (or no word yet) leaves nothing to count from, whatever the
// system's double-click time says.
static bool WithinDoubleClickTime() {
  if (!LastWordTime) return false;
  DWORD Elapsed = GetTickCount() - LastWordTime;
  return DoubleClickSpeed >= 0 && Elapsed <= (DWORD)DoubleClickSpeed;
}

// Moves the cursor to the pointer, scrolling one line or column at the
// edges, and selects from the anchor to the cursor.
static void ExtendSelection(MouseEventContext *Context, int X, int Y) {
  ReadEditorInfo(Context);
  const EditorInfo &Info = Context->Info;
  int Line, Top = -1, Left = -1;
  if (Y <= 0) {
    Line = Info.TopScreenLine > 0 ? Info.TopScreenLine - 1 : -1;
    Top = Line;
  } else if (Y > Info.WindowSizeY) {
    Line = Info.TopScreenLine + Info.WindowSizeY;
    Top = Info.TopScreenLine + 1;
  } else {
    Line = Info.TopScreenLine + Y - 1;
    Context->Result = -1;
  }
  if (X == 0) Left = Info.LeftPos > 0 ? Info.LeftPos - 1 : -1;
  else if (X == Info.WindowSizeX - 1) Left = Info.LeftPos + 1;
  int TabPos = Info.LeftPos + X;
  if (TabPos < 0) TabPos = 0;
  SetEditorPosition(Line, -1, TabPos, Top, Left);

  ReadEditorInfo(Context);
  int L = Context->Info.CurLine;
  int P = DragBlockType == BTYPE_STREAM ? Context->Info.CurPos : Context->Info.CurTabPos;
  bool Column = DragBlockType != BTYPE_STREAM;
  int Type = DragBlockType, StartLine, Height, StartPos, Width;
  if (L != AnchorLine) {
    StartLine = L > AnchorLine ? AnchorLine : L;
    Height = L > AnchorLine ? L - AnchorLine + 1 : AnchorLine - L + 1;
    // A stream block runs from the earlier end to the later one; its width
    // may come out negative on the last line.
    bool FromAnchor = Column ? P > AnchorPos : L > AnchorLine;
    StartPos = FromAnchor ? AnchorPos : P;
    Width = FromAnchor ? P - AnchorPos : AnchorPos - P;
  } else {
    StartLine = L;
    Height = 1;
    StartPos = P > AnchorPos ? AnchorPos : P;
    Width = P > AnchorPos ? P - AnchorPos : AnchorPos - P;
  }
  if (P == AnchorPos && (Column || L == AnchorLine)) Type = BTYPE_NONE;
  RedrawEditor();
  SelectEditorBlock(Type, StartLine, StartPos, Width, Height);
  RedrawEditor();
}

// The word around the cursor, which the first click of the double click put
// under the pointer.
static void SelectWord(MouseEventContext *Context, int X, int Y, DWORD Buttons) {
  ReadEditorInfo(Context);
  EditorInfo Info = Context->Info;
  if (Info.TopScreenLine + Y - 1 != Info.CurLine || Info.LeftPos + X != Info.CurTabPos) return;
  SelectWordChars(Info.FileName);

  EditorGetString Line;
  memset(&Line, 0, sizeof Line);
  Line.StringNumber = Info.CurLine;
  StartupInfo.EditorControl(ECTL_GETSTRING, &Line);
  int Length = Line.StringText && Line.StringLength > 0 ? Line.StringLength : 0;
  char *Text = (char *)malloc((size_t)Length + 1);
  if (!Text) return;
  if (Length) memcpy(Text, Line.StringText, (size_t)Length);
  Text[Length] = 0;
  // Word characters are ANSI codes: the line goes to OEM through the host,
  // then to ANSI.
  EditorConvertText Convert = {Text, Length};
  StartupInfo.EditorControl(ECTL_EDITORTOOEM, &Convert);
  OemToCharBuffA(Text, Text, (DWORD)Length + 1);
  int Start, End;
  FindWord((const unsigned char *)Text, Length, Info.CurPos, WordChars, &Start, &End);
  free(Text);

  if (Buttons == FROM_LEFT_1ST_BUTTON_PRESSED)
    SelectEditorBlock(BTYPE_STREAM, Info.CurLine, Start, End - Start, 1);
  else
    SelectEditorBlock(BTYPE_COLUMN, Info.CurLine, Info.CurTabPos - Info.CurPos + Start,
                      End - Start, 1);
  SetEditorPosition(-1, End, -1, -1, -1);
  RedrawEditor();
  Context->Result = -1;
  LastWordTime = GetTickCount();
}

// The cursor's whole line, after a third click.
static void SelectLine(MouseEventContext *Context, DWORD Buttons) {
  ReadEditorInfo(Context);
  int Line = Context->Info.CurLine;
  if (Buttons == FROM_LEFT_1ST_BUTTON_PRESSED) {
    // From the start of the line to the start of the next: with its break.
    SelectEditorBlock(BTYPE_STREAM, Line, 0, 0, 2);
    SetEditorPosition(Line + 1, 0, -1, -1, 0);
  } else if (Method != 2) {
    EditorGetString String;
    memset(&String, 0, sizeof String);
    String.StringNumber = Line;
    StartupInfo.EditorControl(ECTL_GETSTRING, &String);
    SetEditorPosition(Line, String.StringLength, -1, -1, -1);
    ReadEditorInfo(Context);
    SelectEditorBlock(BTYPE_COLUMN, Context->Info.CurLine, 0, Context->Info.CurTabPos, 1);
  }
  RedrawEditor();
  Context->Result = -1;
  LastWordTime = 0;
}

static void HandlePress(MouseEventContext *Context, int X, int Y, DWORD Buttons, bool Shift) {
  if (WithinDoubleClickTime()) {
    SelectLine(Context, Buttons);
    return;
  }
  ReadEditorInfo(Context);
  if (Y <= 0 || Y > Context->Info.WindowSizeY) return;
  if (!Shift) SetEditorPosition(Context->Info.TopScreenLine + Y - 1, -1,
                                Context->Info.LeftPos + X, -1, -1);
  // The anchor is where the host put the cursor: after a plain press the
  // pointer's cell or the end of a short line, with Shift the old cursor.
  ReadEditorInfo(Context);
  DragBlockType = Buttons == FROM_LEFT_1ST_BUTTON_PRESSED ? BTYPE_STREAM : BTYPE_COLUMN;
  AnchorPos = DragBlockType == BTYPE_STREAM ? Context->Info.CurPos : Context->Info.CurTabPos;
  AnchorLine = Context->Info.CurLine;
  Dragging = true;
  ExtendStarted = Shift;
  if (Shift) {
    ExtendSelection(Context, X, Y);
    return;
  }
  SelectEditorBlock(BTYPE_NONE, 0, 0, 0, 0);
  RedrawEditor();
  Context->Result = -1;
}

static void HandleRelease(MouseEventContext *Context, bool Alt, bool Ctrl, bool Shift) {
  ReadEditorInfo(Context);
  if (Context->Info.BlockType != BTYPE_NONE) {
    if ((Method == 2 || Method == 4 || Ctrl) && !Shift) CopyBlock(Context);
    if (Shift && !ExtendStarted) CutBlock(Context);
  } else if (Method != 1 && DragBlockType == BTYPE_COLUMN && (Alt || Method == 2)) {
    PasteClipboard(Context);
  }
  Dragging = false;
  Context->Result = -1;
}

void HandleMouseEvent(MouseEventContext *Context) {
  Context->Result = 0;
  const INPUT_RECORD *Event = Context->Event;
  if (!Event || Event->EventType != MOUSE_EVENT) return;
  const MOUSE_EVENT_RECORD &Mouse = Event->Event.MouseEvent;
  DWORD Flags = Mouse.dwEventFlags, Buttons = Mouse.dwButtonState, Keys = Mouse.dwControlKeyState;
  int X = Mouse.dwMousePosition.X, Y = Mouse.dwMousePosition.Y;
  bool Alt = (Keys & (RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED)) != 0;
  bool Ctrl = (Keys & (RIGHT_CTRL_PRESSED | LEFT_CTRL_PRESSED)) != 0;
  bool Shift = (Keys & SHIFT_PRESSED) != 0;

  if (Flags == MOUSE_MOVED) {
    if (Dragging && Buttons) ExtendSelection(Context, X, Y);
    else Dragging = false;
    return;
  }
  if (Flags == DOUBLE_CLICK) {
    if (WithinDoubleClickTime()) SelectLine(Context, Buttons);
    else if (Method == 1 && Alt) PasteClipboard(Context);
    else if (Method != 2 || Buttons == FROM_LEFT_1ST_BUTTON_PRESSED)
      SelectWord(Context, X, Y, Buttons);
    return;
  }
  if (Buttons == FROM_LEFT_1ST_BUTTON_PRESSED || Buttons == RIGHTMOST_BUTTON_PRESSED ||
      Buttons == FROM_LEFT_2ND_BUTTON_PRESSED)
    HandlePress(Context, X, Y, Buttons, Shift);
  else if (!Buttons)
    HandleRelease(Context, Alt, Ctrl, Shift);
}
