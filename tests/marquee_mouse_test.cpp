// Marquee's editor mouse handling through the emulator: the three schemes,
// the drag, word and line states, word characters by file type, and the
// double click of the overview traced end to end.
#include "marquee_mouse.h"

using namespace emu;
using namespace mouse;

namespace {

const char SchemeText[] = "alpha beta\ngamma delta\nepsilon\n";

// Screen row Y shows line Y - 1 and column X position X (the view starts at
// the top left). Every row starts from a fresh plug-in, the text above, the
// cursor given and "clip" on the clipboard.
struct SchemeRow {
  const char *Gesture;
  const char *Methods;  // the Method values the row holds for
  int Line, Pos;        // cursor before the gesture
  std::vector<Ev> Events;
  std::string Text;  // empty: unchanged
  EditorBlock Block;
  int CurLine, CurPos;
  std::string Clip;  // CF_OEMTEXT afterwards
};

}  // namespace

TEST_F(MarqueeMouse, SchemesTable) {
  const EditorBlock None = Block(0, 0, 0, 0, 0);
  const EditorBlock Drag = Block(BTYPE_STREAM, 0, 2, 1, 2), Word = Block(BTYPE_STREAM, 1, 0, 5, 1);
  const EditorBlock ColumnWord = Block(BTYPE_COLUMN, 1, 0, 5, 1);
  const EditorBlock ColumnDrag = Block(BTYPE_COLUMN, 0, 2, 3, 3);
  const EditorBlock WholeLine = Block(BTYPE_STREAM, 1, 0, 0, 2);
  const EditorBlock ColumnLine = Block(BTYPE_COLUMN, 1, 0, 11, 1);
  const std::string Dragged = "pha beta\r\ngam", Columns = "pha\r\nmma\r\nsil\r\n";
  const std::string Pasted1 = "alpha beta\ngclipamma delta\nepsilon\n";
  const std::string Pasted0 = "alpha clipbeta\ngamma delta\nepsilon\n";
  const std::vector<Ev> LeftDrag = {Press(2, 1, L), Move(3, 2, L), Release(3, 2)};
  const std::vector<Ev> RightDrag = {Press(2, 1, R), Move(5, 3, R), Release(5, 3)};
  const std::vector<Ev> MiddleDrag = {Press(2, 1, M), Move(5, 3, M), Release(5, 3)};
  const std::vector<Ev> LeftDouble = {Press(1, 2, L), Release(1, 2), Double(1, 2, L),
                                      Release(1, 2)};
  std::vector<Ev> ThirdLeft = LeftDouble, ThirdRight = LeftDouble;
  ThirdLeft.insert(ThirdLeft.end(), {Press(1, 2, L), Release(1, 2)});
  ThirdRight.insert(ThirdRight.end(), {Press(1, 2, R), Release(1, 2)});

  const SchemeRow Rows[] = {
      {"left press and drag", "13", 0, 0, LeftDrag, "", Drag, 1, 3, "clip"},
      {"left press and drag", "24", 0, 0, LeftDrag, "", Drag, 1, 3, Dragged},
      {"right press and drag", "13", 0, 0, RightDrag, "", ColumnDrag, 2, 5, "clip"},
      {"right press and drag", "24", 0, 0, RightDrag, "", ColumnDrag, 2, 5, Columns},
      {"middle press and drag", "2", 0, 0, MiddleDrag, "", ColumnDrag, 2, 5, Columns},
      {"shift + press and drag, released with shift", "1234", 0, 1,
       {Press(6, 2, L, Shift), Move(8, 2, L, Shift), Release(8, 2, Shift)}, "",
       Block(BTYPE_STREAM, 0, 1, 7, 2), 1, 8, "clip"},
      {"shift + right press and drag", "2", 2, 3,
       {Press(1, 1, R, Shift), Release(1, 1, Shift)}, "", Block(BTYPE_COLUMN, 0, 1, 2, 3), 0, 1,
       "clip"},
      {"left double click", "13", 0, 0, LeftDouble, "", Word, 1, 5, "clip"},
      {"left double click", "24", 0, 0, LeftDouble, "", Word, 1, 5, "gamma"},
      {"right double click", "1", 1, 1, {Double(1, 2, R), Release(1, 2)}, "", ColumnWord, 1, 5,
       "clip"},
      {"right double click", "2", 1, 1, {Double(1, 2, R, 0, 0), Release(1, 2)}, "", None, 1, 1,
       "clip"},
      {"right double click", "4", 1, 1, {Double(1, 2, R), Release(1, 2)}, "", ColumnWord, 1, 5,
       "gamma\r\n"},
      {"alt + double click", "1", 1, 1, {Double(1, 2, L, Alt), Release(1, 2, Alt)}, Pasted1,
       None, 1, 5, "clip"},
      {"alt + double click", "24", 1, 1, {Double(1, 2, L, Alt), Release(1, 2, Alt)}, "", Word, 1,
       5, "gamma"},
      {"alt + double click", "3", 1, 1, {Double(1, 2, L, Alt), Release(1, 2, Alt)}, "", Word, 1,
       5, "clip"},
      {"third left click", "13", 0, 0, ThirdLeft, "", WholeLine, 2, 0, "clip"},
      {"third left click", "24", 0, 0, ThirdLeft, "", WholeLine, 2, 0, "gamma delta\r\n"},
      {"third right click", "1", 0, 0, ThirdRight, "", ColumnLine, 1, 11, "clip"},
      {"third right click", "2", 0, 0, ThirdRight, "", Word, 1, 5, "gamma"},
      {"third right click", "4", 0, 0, ThirdRight, "", ColumnLine, 1, 11, "gamma delta\r\n"},
      {"release with a block and ctrl", "1234", 0, 0,
       {Press(2, 1, L), Move(3, 2, L), Release(3, 2, Ctrl)}, "", Drag, 1, 3, Dragged},
      {"release with shift after a press without", "1234", 0, 0,
       {Press(2, 1, L), Move(3, 2, L), Release(3, 2, Shift)}, "alma delta\nepsilon\n", None, 0,
       2, Dragged},
      {"right click without a block", "134", 0, 0, {Press(6, 1, R), Release(6, 1)}, "", None, 0,
       6, "clip"},
      {"right click without a block", "2", 0, 0, {Press(6, 1, R), Release(6, 1)}, Pasted0, None,
       0, 10, "clip"},
      {"alt + right click", "1", 0, 0, {Press(6, 1, R, Alt), Release(6, 1, Alt)}, "", None, 0, 6,
       "clip"},
      {"alt + right click", "234", 0, 0, {Press(6, 1, R, Alt), Release(6, 1, Alt)}, Pasted0,
       None, 0, 10, "clip"},
  };
  for (const SchemeRow &Row : Rows) {
    for (const char *M = Row.Methods; *M; M++) {
      SCOPED_TRACE(std::string(Row.Gesture) + ", Method " + *M);
      H.Reset();
      Plugin *P = LoadWithMethod(*M - '0');
      ASSERT_TRUE(P);
      H.Editor.SetText(SchemeText);
      H.Editor.SetCursor(Row.Line, Row.Pos);
      FillClipboard({{CF_OEMTEXT, Z("clip")}});
      Send(P, Row.Events);
      EXPECT_EQ(H.Editor.GetText(), Row.Text.empty() ? SchemeText : Row.Text);
      ExpectBlock(Row.Block);
      ExpectCursor(Row.CurLine, Row.CurPos);
      EXPECT_EQ(ClipboardText(CF_OEMTEXT), Row.Clip);
      ExpectNoEmulatorFailures();
    }
  }
}

// Event sequences that walk the drag through its states.
TEST_F(MarqueeMouse, DragStates) {
  struct Case {
    const char *Why;
    const char *Text;
    std::vector<Ev> Events;
    EditorBlock Block;
    int CurLine, CurPos;
  } Cases[] = {
      {"upward stream drag runs from the pointer to the anchor", SchemeText,
       {Press(5, 3, L), Move(2, 1, L)}, Block(BTYPE_STREAM, 0, 2, 3, 3), 0, 2},
      {"column drag up and left", SchemeText, {Press(5, 3, R), Move(2, 1, R)},
       Block(BTYPE_COLUMN, 0, 2, 3, 3), 0, 2},
      {"back at the anchor: no block", SchemeText,
       {Press(3, 1, L), Move(3, 2, L), Move(3, 1, L)}, Block(0, 0, 0, 0, 0), 0, 3},
      {"stream drag back to the anchor column on another line keeps a block", SchemeText,
       {Press(3, 1, L), Move(3, 2, L)}, Block(BTYPE_STREAM, 0, 3, 0, 2), 1, 3},
      {"column drag in the anchor's column: no block", SchemeText,
       {Press(3, 1, R), Move(5, 3, R), Move(3, 3, R)}, Block(0, 0, 0, 0, 0), 2, 3},
      {"a press on a short line anchors at its end", "ab\nlonger line\n",
       {Press(10, 1, L), Move(5, 2, L)}, Block(BTYPE_STREAM, 0, 2, 3, 2), 1, 5},
      {"wheel and two-button presses neither start nor end a drag", SchemeText,
       {Press(1, 1, L), Ev{Emulator::MouseEvent(1, 1, 0x00780000, 0, MOUSE_WHEELED), 0},
        Press(2, 1, L | R, 0, 0), Move(4, 1, L | R)},
       Block(BTYPE_STREAM, 0, 1, 3, 1), 0, 4},
      {"a move without buttons ends the drag", SchemeText,
       {Press(1, 1, L), Move(4, 1, L), Move(5, 1, 0, 0, 0), Move(6, 1, L, 0, 0)},
       Block(BTYPE_STREAM, 0, 1, 3, 1), 0, 4},
      {"a press outside the text is the host's", SchemeText,
       {Press(3, 0, L, 0, 0), Press(3, 24, L, 0, 0), Move(6, 2, L, 0, 0)},
       Block(0, 0, 0, 0, 0), 1, 1},
      {"key events are the host's", SchemeText, {Ev{INPUT_RECORD{KEY_EVENT, {}}, 0}},
       Block(0, 0, 0, 0, 0), 1, 1},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Reset();
    Plugin *P = LoadWithMethod(1);
    ASSERT_TRUE(P);
    H.Editor.SetText(C.Text);
    H.Editor.SetCursor(1, 1);
    Send(P, C.Events);
    ExpectBlock(C.Block);
    ExpectCursor(C.CurLine, C.CurPos);
  }
}

TEST_F(MarqueeMouse, PressOutsideTheTextStillCopiesOnRelease) {
  Plugin *P = LoadWithMethod(2);
  ASSERT_TRUE(P);
  H.Editor.SetText(SchemeText);
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 0, 5, 1));
  FillClipboard({{CF_OEMTEXT, Z("clip")}});
  Send(P, {Press(3, 0, L, 0, 0), Release(3, 0)});
  ExpectBlock(Block(BTYPE_STREAM, 0, 0, 5, 1));
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "alpha");
}

TEST_F(MarqueeMouse, DraggingAtTheEdgesScrollsOneStepPerEvent) {
  Plugin *P = LoadWithMethod(1);
  ASSERT_TRUE(P);
  std::string Text;
  for (int I = 0; I < 100; I++) Text += "line " + std::to_string(I) + std::string(100, '.') + "\n";
  H.Editor.SetText(Text);
  Send(P, {Press(2, 5, L)});
  // Below the text: the cursor goes to the line under the last visible one;
  // the host gets the event too.
  Send(P, {Move(2, 24, L, 0, 0)});
  EXPECT_EQ(H.Editor.TopScreenLine(), 1);
  ExpectCursor(23, 2);
  Send(P, {Move(2, 30, L, 0, 0)});
  EXPECT_EQ(H.Editor.TopScreenLine(), 2);
  ExpectCursor(24, 2);
  ExpectBlock(Block(BTYPE_STREAM, 4, 2, 0, 21));
  // Above: one line up, until line 0 is at the top; then only the column moves.
  Send(P, {Move(3, 0, L, 0, 0)});
  EXPECT_EQ(H.Editor.TopScreenLine(), 1);
  ExpectCursor(1, 3);
  Send(P, {Move(3, 0, L, 0, 0), Move(4, 0, L, 0, 0)});
  EXPECT_EQ(H.Editor.TopScreenLine(), 0);
  ExpectCursor(0, 4);
  ExpectBlock(Block(BTYPE_STREAM, 0, 4, -2, 5));
  // The right edge column scrolls right, the left one back.
  Send(P, {Move(79, 3, L), Move(79, 3, L)});
  EXPECT_EQ(H.Editor.LeftPos(), 2);
  ExpectCursor(2, 80);
  Send(P, {Move(0, 3, L)});
  EXPECT_EQ(H.Editor.LeftPos(), 1);
  ExpectCursor(2, 2);
  Send(P, {Move(0, 3, L), Move(0, 3, L)});
  EXPECT_EQ(H.Editor.LeftPos(), 0);
  ExpectCursor(2, 0);
}

static int SystemDoubleClickSpeed() {
  char Text[64] = "500";
  DWORD Size = sizeof Text - 1;
  RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Mouse", "DoubleClickSpeed", RRF_RT_REG_SZ,
               nullptr, Text, &Size);
  return atoi(Text);
}

TEST_F(MarqueeMouse, ThirdClickSelectsTheLineOnlyWithinTheDoubleClickTime) {
  Plugin *P = LoadWithMethod(1);
  ASSERT_TRUE(P);
  H.Editor.SetText(SchemeText);
  const std::vector<Ev> Word = {Press(1, 2, L), Release(1, 2), Double(1, 2, L), Release(1, 2)};
  // A fourth click is an ordinary press again.
  Send(P, Word);
  Send(P, {Press(1, 2, L), Release(1, 2)});
  ExpectBlock(Block(BTYPE_STREAM, 1, 0, 0, 2));
  Send(P, {Press(7, 3, L)});
  ExpectBlock(Block(0, 0, 0, 0, 0));
  ExpectCursor(2, 7);
  // A double click within the time counts as the third click too.
  Send(P, {Release(7, 3)});
  Send(P, Word);
  Send(P, {Double(4, 1, L)});
  ExpectBlock(Block(BTYPE_STREAM, 1, 0, 0, 2));
  // After the time has passed the press is ordinary.
  int Speed = SystemDoubleClickSpeed();
  if (Speed <= 0 || Speed > 2000) GTEST_SKIP() << "system double-click time " << Speed;
  Send(P, {Release(4, 1)});
  Send(P, Word);
  Sleep(Speed + 100);
  Send(P, {Press(3, 1, L)});
  ExpectBlock(Block(0, 0, 0, 0, 0));
  ExpectCursor(0, 3);
}

TEST_F(MarqueeMouse, DoubleClickSelectsTheWordAroundTheCursor) {
  struct Case {
    const char *Why;
    const char *Line;
    int X;
    DWORD Buttons;
    int Result;
    EditorBlock Block;
    int CurPos;
  } Cases[] = {
      {"on a letter", "foo_bar baz", 4, L, -1, Block(BTYPE_STREAM, 0, 0, 7, 1), 7},
      {"on the blank between words: the word to the left", "foo_bar baz", 7, L, -1,
       Block(BTYPE_STREAM, 0, 0, 7, 1), 7},
      {"on blanks in front of the first word", "   first word", 1, L, -1,
       Block(BTYPE_STREAM, 0, 3, 5, 1), 8},
      {"no word character: the whole line", "+-*/ ()", 2, L, -1,
       Block(BTYPE_STREAM, 0, 0, 7, 1), 7},
      {"empty line: an empty block", "", 0, L, -1, Block(BTYPE_STREAM, 0, 0, 0, 1), 0},
      {"right of the line's end: the host's", "short", 20, L, 0, Block(0, 0, 0, 0, 0), 5},
      {"right button after a tab: a column block at the word's screen column", "\tword more", 10,
       R, -1, Block(BTYPE_COLUMN, 0, 8, 4, 1), 5},
      {"an OEM letter whose ANSI form is above 0xBF is a word character", "caf\x82 x", 1, L, -1,
       Block(BTYPE_STREAM, 0, 0, 4, 1), 4},
      {"an OEM sign whose ANSI form is not is no word character", "ab\x9C" "cd", 0, L, -1,
       Block(BTYPE_STREAM, 0, 0, 2, 1), 2},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Reset();
    Plugin *P = LoadWithMethod(1);
    ASSERT_TRUE(P);
    H.Editor.SetText(std::string(C.Line) + "\nnext\n");
    Send(P, {Press(C.X, 1, C.Buttons), Release(C.X, 1), Double(C.X, 1, C.Buttons, 0, C.Result)});
    ExpectBlock(C.Block);
    ExpectCursor(0, C.CurPos);
  }
}

TEST_F(MarqueeMouse, WordCharactersFollowTheFileType) {
  const std::string LongName = std::string(300, 'a') + ".txt";
  struct Case {
    const char *Why;
    std::vector<std::pair<std::string, std::string>> Types;  // mask, charset
    std::string FileName;
    const char *Line;
    int X;
    int Start, Width;
  } Cases[] = {
      {"no types: the built-in set", {}, "x.txt", "a-b_c", 2, 2, 3},
      {"the first type matches the second piece",
       {{"*.pas,*.dpr", "a-z"}, {"*.*", "0-9"}}, "unit1.dpr", "ab12cd", 0, 0, 2},
      {"a later type catches the rest", {{"*.pas,*.dpr", "a-z"}, {"*.*", "0-9"}}, "readme.txt",
       "ab12cd", 2, 2, 2},
      {"a piece keeps its leading blank", {{"*.c, *.h", "a-z"}}, "x.h", "ab12cd", 0, 0, 6},
      {"so a name with that blank matches", {{"*.c, *.h", "a-z"}}, " x.h", "ab12cd", 0, 0, 2},
      {"a trailing comma is no piece", {{"*.txt,", "0-9"}}, "a.txt", "ab12cd", 2, 2, 2},
      {"an empty mask ends the list", {{"", "a-z"}, {"*", "0-9"}}, "a.txt", "ab12cd", 0, 0, 6},
      {"a matched type without notation has no word characters", {{"*", ""}}, "a.txt",
       "ab12cd", 3, 0, 6},
      {"notation characters are ANSI", {{"*", "\xE9"}}, "a.txt", "ab\x82", 2, 2, 1},
      {"a piece longer than 259 characters is compared whole",
       {{"*" + std::string(290, 'a') + ".txt", "0-9"}}, LongName, "ab12cd", 2, 2, 2},
      {"a long piece that does not match, then one that does",
       {{std::string(300, 'x') + ",*.txt", "0-9"}}, "a.txt", "ab12cd", 2, 2, 2},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Reset();
    DeleteRegistryTree(RootKey);
    for (size_t I = 0; I < C.Types.size(); I++)
      SetFileType((int)I, C.Types[I].first, C.Types[I].second);
    Plugin *P = LoadWithMethod(1);
    ASSERT_TRUE(P);
    H.Editor.SetFileName("C:\\work\\" + C.FileName);
    H.Editor.SetText(std::string(C.Line) + "\n");
    Send(P, {Press(C.X, 1, L), Release(C.X, 1), Double(C.X, 1, L)});
    ExpectBlock(Block(BTYPE_STREAM, 0, C.Start, C.Width, 1));
  }
}

// The overview's trace: with Method 2, a double click on a word, its
// release, then a third click and its release.
TEST_F(MarqueeMouse, DoubleClickTraceEndToEnd) {
  SetFileType(0, "*.txt", "a-z\\-");
  Plugin *P = LoadWithMethod(2);
  ASSERT_TRUE(P);
  H.Editor.SetFileName("C:\\docs\\notes.txt");
  H.Editor.SetText("say well-known words\nsecond line\n");
  H.Editor.SetBlock(Block(BTYPE_STREAM, 1, 0, 6, 1));
  FillClipboard({{CF_OEMTEXT, Z("before")}});
  auto Commands = [&] {
    std::vector<int> R;
    for (const EditorCall &C : H.Editor.Calls()) R.push_back(C.Command);
    H.Editor.ClearCalls();
    return R;
  };
  H.Editor.ClearCalls();

  // The first press puts the cursor under the pointer and removes the block.
  Send(P, {Press(6, 1, L)});
  ExpectCursor(0, 6);
  ExpectBlock(Block(0, 0, 0, 0, 0));
  EXPECT_EQ(Commands(), (std::vector<int>{ECTL_GETINFO, ECTL_SETPOSITION, ECTL_GETINFO,
                                          ECTL_SELECT, ECTL_REDRAW}));
  // Its release is consumed and copies nothing.
  Send(P, {Release(6, 1)});
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "before");
  Commands();
  // The double click selects the word by the file type's characters.
  Send(P, {Double(6, 1, L)});
  ExpectBlock(Block(BTYPE_STREAM, 0, 4, 10, 1));
  ExpectCursor(0, 14);
  EXPECT_EQ(Commands(), (std::vector<int>{ECTL_GETINFO, ECTL_GETSTRING, ECTL_EDITORTOOEM,
                                          ECTL_SELECT, ECTL_SETPOSITION, ECTL_REDRAW}));
  // The release copies it in the three text formats, in order.
  Send(P, {Release(6, 1)});
  std::vector<UINT> Formats = ClipboardFormats();
  ASSERT_GE(Formats.size(), 3u);
  EXPECT_EQ(std::vector<UINT>(Formats.begin(), Formats.begin() + 3),
            (std::vector<UINT>{CF_OEMTEXT, CF_TEXT, CF_UNICODETEXT}));
  EXPECT_EQ(ClipboardBytes(CF_OEMTEXT), Z("well-known"));
  EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), Wide(L"well-known"));
  ExpectBlock(Block(BTYPE_STREAM, 0, 4, 10, 1));
  // A third press selects the whole line, and its release copies it.
  Send(P, {Press(6, 1, L)});
  ExpectBlock(Block(BTYPE_STREAM, 0, 0, 0, 2));
  ExpectCursor(1, 0);
  Send(P, {Release(6, 1)});
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "say well-known words\r\n");
  EXPECT_EQ(H.Editor.GetText(), "say well-known words\nsecond line\n");
}

TEST_F(MarqueeMouse, SchemeChosenInTheDialogTakesEffectOnTheNextEvent) {
  Plugin *P = LoadWithMethod(1);
  ASSERT_TRUE(P);
  H.Editor.SetText(SchemeText);
  const std::vector<Ev> LeftDrag = {Press(2, 1, L), Move(3, 2, L), Release(3, 2)};
  FillClipboard({{CF_OEMTEXT, Z("clip")}});
  Send(P, LeftDrag);
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "clip") << "scheme 1 copies only with Ctrl";

  DialogAnswer Scheme2;
  Scheme2.Selected = {{3, 1}};
  Scheme2.Close = 8;
  H.AnswerDialog(Scheme2);
  EXPECT_EQ(P->Configure(0), -1);
  Send(P, LeftDrag);
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "pha beta\r\ngam") << "scheme 2 copies on release";
}
