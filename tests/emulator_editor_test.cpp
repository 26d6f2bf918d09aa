#include "emulator/editor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

using emu::EditorBlock;
using emu::EditorLine;
using emu::EditorModel;

namespace {

std::string Dump(const EditorModel &E) {
  std::string R;
  for (const EditorLine &L : E.GetLines()) {
    R += "[" + L.Text + "|";
    for (char C : L.Eol)
      R += C == '\r' ? "CR" : "LF";
    R += "]";
  }
  return R;
}

EditorGetString GetString(EditorModel &E, int N) {
  EditorGetString G = {};
  G.StringNumber = N;
  EXPECT_NE(E.Control(ECTL_GETSTRING, &G), 0) << "line " << N;
  return G;
}

std::pair<int, int> Sel(EditorModel &E, int N) {
  EditorGetString G = GetString(E, N);
  return {G.SelStart, G.SelEnd};
}

int Select(EditorModel &E, int Type, int Line, int Pos, int Width, int Height) {
  EditorSelect S = {Type, Line, Pos, Width, Height};
  return E.Control(ECTL_SELECT, &S);
}

int SetPosition(EditorModel &E, int Line, int Pos, int TabPos = -1, int Top = -1,
                int Left = -1) {
  EditorSetPosition P = {Line, Pos, TabPos, Top, Left, -1};
  return E.Control(ECTL_SETPOSITION, &P);
}

EditorInfo Info(EditorModel &E) {
  EditorInfo I;
  std::memset(&I, 0xCC, sizeof I);
  EXPECT_NE(E.Control(ECTL_GETINFO, &I), 0);
  return I;
}

}  // namespace

TEST(EditorText, SplitsAtEveryKindOfBreakAndKeepsIt) {
  struct Case {
    const char *Text;
    const char *Lines;
  } Cases[] = {
      {"", "[|]"},
      {"one", "[one|]"},
      {"a\r\nb\nc\rd", "[a|CRLF][b|LF][c|CR][d|]"},
      {"a\r\n", "[a|CRLF][|]"},
      {"\n\n", "[|LF][|LF][|]"},
      {"a\r\rb", "[a|CR][|CR][b|]"},
      {"a\n\rb", "[a|LF][|CR][b|]"},
      {"a\r\r\nb", "[a|CR][|CRLF][b|]"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(C.Text)));
    EditorModel E;
    E.SetText(C.Text);
    EXPECT_EQ(Dump(E), C.Lines);
    EXPECT_EQ(E.GetText(), C.Text);
  }
}

TEST(EditorText, TabColumnsBothWays) {
  EditorModel E;
  E.SetText("a\tbc\t\tx");
  E.SetTabSize(4);
  // real: a=0 \t=1 b=2 c=3 \t=4 \t=5 x=6, end 7
  const int Cols[] = {0, 1, 4, 5, 6, 8, 12, 13, 14};
  for (int Pos = 0; Pos < 9; ++Pos) {
    SCOPED_TRACE(Pos);
    EXPECT_EQ(E.RealToTab(0, Pos), Cols[Pos]);
    EXPECT_EQ(E.TabToReal(0, Cols[Pos]), Pos);
  }
  // Columns inside a tab belong to that tab.
  EXPECT_EQ(E.TabToReal(0, 2), 1);
  EXPECT_EQ(E.TabToReal(0, 3), 1);
  EXPECT_EQ(E.TabToReal(0, 7), 4);
  EXPECT_EQ(E.TabToReal(0, 11), 5);
}

TEST(EditorGetString, ReturnsLineStorageAndBreak) {
  EditorModel E;
  E.SetText("first\r\nsecond\nlast");
  E.SetCursor(1, 2);
  EditorGetString G = GetString(E, -1);
  const char *Text = G.StringText;  // records are packed; compare a copy
  EXPECT_EQ(Text, E.Line(1).Text.data());
  EXPECT_EQ(std::string(G.StringText, G.StringLength), "second");
  EXPECT_STREQ(G.StringEOL, "\n");
  EXPECT_EQ(G.SelStart, -1);
  EXPECT_EQ(G.SelEnd, 0);
  EXPECT_STREQ(GetString(E, 0).StringEOL, "\r\n");
  EXPECT_STREQ(GetString(E, 2).StringEOL, "");

  for (int Bad : {3, -2}) {
    EditorGetString B = {};
    B.StringNumber = Bad;
    EXPECT_EQ(E.Control(ECTL_GETSTRING, &B), 0) << Bad;
  }
}

TEST(EditorGetString, StreamBlockSelection) {
  EditorModel E;
  E.SetText("zero\none\ntwo\nthree\nfour");

  // Lines 1..3, starting at 2 of line 1, ending at 0 of line 3.
  ASSERT_NE(Select(E, BTYPE_STREAM, 1, 2, -2, 3), 0);
  const std::pair<int, int> Multi[] = {{-1, 0}, {2, -1}, {0, -1}, {0, 0}, {-1, 0}};
  for (int N = 0; N < 5; ++N) {
    SCOPED_TRACE(N);
    EXPECT_EQ(Sel(E, N), Multi[N]);
  }
  EditorInfo I = Info(E);
  EXPECT_EQ(I.BlockType, BTYPE_STREAM);
  EXPECT_EQ(I.BlockStartLine, 1);

  ASSERT_NE(Select(E, BTYPE_STREAM, 3, 1, 3, 1), 0);
  EXPECT_EQ(Sel(E, 3), std::make_pair(1, 4));
  EXPECT_EQ(Sel(E, 2), std::make_pair(-1, 0));
  EXPECT_EQ(Sel(E, 4), std::make_pair(-1, 0));
}

TEST(EditorGetString, ColumnBlockConvertsScreenColumnsPerLine) {
  EditorModel E;
  E.SetText("abcdefghij\n\tx\nab\nabcdefghij");
  // Screen columns 3..9 on lines 0..2.
  ASSERT_NE(Select(E, BTYPE_COLUMN, 0, 3, 6, 3), 0);
  const std::pair<int, int> Want[] = {
      {3, 9},    // plain text
      {0, 2},    // column 3 lies in the tab, column 9 just past "x"
      {3, 9},    // both past the end of "ab"
      {-1, 0}};  // below the block
  for (int N = 0; N < 4; ++N) {
    SCOPED_TRACE(N);
    EXPECT_EQ(Sel(E, N), Want[N]);
  }
  EXPECT_EQ(Info(E).BlockType, BTYPE_COLUMN);
}

TEST(EditorSelect, RemovesRefusesAndClips) {
  EditorModel E;
  E.SetText("aaaa\nbbbbbb\ncc");
  ASSERT_NE(Select(E, BTYPE_STREAM, 0, 1, 2, 1), 0);
  const EditorBlock Before = E.Block();

  struct Refused {
    const char *Name;
    int Type, Line, Pos, Width, Height;
  } Refusals[] = {
      {"height 0", BTYPE_STREAM, 0, 0, 1, 0},
      {"negative height", BTYPE_COLUMN, 0, 0, 1, -3},
      {"line past end", BTYPE_STREAM, 3, 0, 1, 1},
      {"negative line", BTYPE_STREAM, -1, 0, 1, 1},
      {"unknown type", 7, 0, 0, 1, 1},
      {"one-line stream ending before its start", BTYPE_STREAM, 0, 3, -1, 1},
  };
  for (const Refused &R : Refusals) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(Select(E, R.Type, R.Line, R.Pos, R.Width, R.Height), 0);
    EXPECT_EQ(E.Block().Type, Before.Type);
    EXPECT_EQ(E.Block().StartPos, Before.StartPos);
    EXPECT_EQ(E.Block().Width, Before.Width);
  }
  EXPECT_EQ(E.Control(ECTL_SELECT, nullptr), 0);

  // Past the last line the block ends with the text.
  ASSERT_NE(Select(E, BTYPE_STREAM, 1, 3, 0, 5), 0);
  EXPECT_EQ(E.Block().Height, 2);
  EXPECT_EQ(Sel(E, 1), std::make_pair(3, -1));
  EXPECT_EQ(Sel(E, 2), std::make_pair(0, 2));

  EXPECT_NE(Select(E, BTYPE_COLUMN, 0, -1, 4, 2), 0);
  EXPECT_EQ(E.Block().Type, BTYPE_NONE);
  ASSERT_NE(Select(E, BTYPE_COLUMN, 0, 1, 2, 2), 0);
  EXPECT_NE(Select(E, BTYPE_NONE, 0, 0, 0, 0), 0);
  EXPECT_EQ(E.Block().Type, BTYPE_NONE);
  EXPECT_EQ(Sel(E, 0), std::make_pair(-1, 0));
}

TEST(EditorSetPosition, ClampsAndPrefersTabPosition) {
  struct Case {
    const char *Name;
    FARDWORD Options;
    int Line, Pos, TabPos;
    int WantLine, WantPos;
  } Cases[] = {
      {"plain", 0, 1, 2, -1, 1, 2},
      {"line past end", 0, 9, 1, -1, 2, 1},
      {"pos past end", 0, 0, 20, -1, 0, 3},
      {"pos past end allowed", EOPT_CURSORBEYONDEOL, 0, 20, -1, 0, 20},
      {"tab pos wins", 0, 1, 0, 8, 1, 2},
      {"tab pos inside tab", 0, 1, 0, 5, 1, 1},
      {"tab pos past end", EOPT_CURSORBEYONDEOL, 1, 0, 20, 1, 14},
      {"line unchanged", 0, -1, 1, -1, 2, 1},
      {"pos unchanged", 0, 0, -1, -1, 0, 2},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Name);
    EditorModel E;
    E.SetText("abc\nx\tyz\n\tq");
    E.SetOptions(C.Options);
    E.SetCursor(2, 2);
    EXPECT_NE(SetPosition(E, C.Line, C.Pos, C.TabPos), 0);
    EXPECT_EQ(E.CurLine(), C.WantLine);
    EXPECT_EQ(E.CurPos(), C.WantPos);
    EditorInfo I = Info(E);
    EXPECT_EQ(I.CurTabPos, E.RealToTab(C.WantLine, C.WantPos));
  }
}

TEST(EditorSetPosition, ViewMovesAsLittleAsNeeded) {
  EditorModel E;
  std::string Text;
  for (int I = 0; I < 100; ++I)
    Text += std::string(200, 'x') + "\n";
  E.SetText(Text);
  E.SetWindow(40, 10);

  SetPosition(E, 15, 0);  // below the window: it becomes the bottom row
  EXPECT_EQ(E.TopScreenLine(), 6);
  SetPosition(E, 8, 0);  // still visible: nothing moves
  EXPECT_EQ(E.TopScreenLine(), 6);
  SetPosition(E, 2, 0);
  EXPECT_EQ(E.TopScreenLine(), 2);

  SetPosition(E, -1, 45);
  EXPECT_EQ(E.LeftPos(), 6);
  SetPosition(E, -1, 10);
  EXPECT_EQ(E.LeftPos(), 6);
  SetPosition(E, -1, 3);
  EXPECT_EQ(E.LeftPos(), 3);

  // A requested view is taken, then corrected only as far as the cursor needs.
  SetPosition(E, 50, 100, -1, 45, 90);
  EXPECT_EQ(E.TopScreenLine(), 45);
  EXPECT_EQ(E.LeftPos(), 90);
  SetPosition(E, 50, 100, -1, 60, 150);
  EXPECT_EQ(E.TopScreenLine(), 50);
  EXPECT_EQ(E.LeftPos(), 100);
  SetPosition(E, 0, 0, -1, -7, -7);
  EXPECT_EQ(E.TopScreenLine(), 0);
  EXPECT_EQ(E.LeftPos(), 0);

  // Tabs count in screen columns.
  E.SetText("\t\t\t\t\t\t");
  SetPosition(E, 0, 6);
  EXPECT_EQ(E.LeftPos(), 48 - 39);
}

TEST(EditorInsertText, BreaksLinesAndLeavesCursorAfterText) {
  struct Case {
    const char *Name;
    const char *Insert;
    const char *Want;
    int Line, Pos;
  } Cases[] = {
      {"no break", "XY", "[abXYcd|CRLF][last|]", 0, 4},
      {"mixed breaks", "1\r\n2\n3\r4", "[ab1|CRLF][2|CRLF][3|CRLF][4cd|CRLF][last|]", 3, 1},
      {"ends in break", "X\n", "[abX|CRLF][cd|CRLF][last|]", 1, 0},
      {"empty", "", "[abcd|CRLF][last|]", 0, 2},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Name);
    EditorModel E;
    E.SetText("abcd\r\nlast");
    E.SetCursor(0, 2);
    EXPECT_NE(E.Control(ECTL_INSERTTEXT, const_cast<char *>(C.Insert)), 0);
    EXPECT_EQ(Dump(E), C.Want);
    EXPECT_EQ(E.CurLine(), C.Line);
    EXPECT_EQ(E.CurPos(), C.Pos);
  }
}

TEST(EditorInsertText, OnLastLineAndPastTheEnd) {
  EditorModel E;
  E.SetText("a\nbb");
  E.SetOptions(EOPT_CURSORBEYONDEOL);
  E.SetCursor(1, 5);
  E.Control(ECTL_INSERTTEXT, const_cast<char *>("x\ny"));
  // The new break follows the file's; the last line keeps having none.
  EXPECT_EQ(Dump(E), "[a|LF][bb   x|LF][y|]");
  EXPECT_EQ(E.CurLine(), 2);
  EXPECT_EQ(E.CurPos(), 1);
}

TEST(EditorInsertString, SplitsAtCursor) {
  EditorModel E;
  E.SetText("abcd");
  E.SetCursor(0, 1);
  EXPECT_NE(E.Control(ECTL_INSERTSTRING, nullptr), 0);
  EXPECT_EQ(Dump(E), "[a|CRLF][bcd|]");
  EXPECT_EQ(E.CurLine(), 1);
  EXPECT_EQ(E.CurPos(), 0);
}

TEST(EditorDeleteString, DeletesCursorLine) {
  EditorModel E;
  E.SetText("only");
  E.SetCursor(0, 3);
  EXPECT_NE(E.Control(ECTL_DELETESTRING, nullptr), 0);
  EXPECT_EQ(Dump(E), "[|]");
  EXPECT_EQ(E.CurPos(), 0);

  E.SetText("a\r\nbbbb\r\ncc\r\nd");
  E.SetCursor(1, 4);
  E.Control(ECTL_DELETESTRING, nullptr);
  EXPECT_EQ(Dump(E), "[a|CRLF][cc|CRLF][d|]");
  EXPECT_EQ(E.CurLine(), 1);
  EXPECT_EQ(E.CurPos(), 2);

  E.SetCursor(2, 0);
  E.Control(ECTL_DELETESTRING, nullptr);
  EXPECT_EQ(Dump(E), "[a|CRLF][cc|CRLF]");
  EXPECT_EQ(E.CurLine(), 1);
}

TEST(EditorDeleteChar, DeletesOrJoins) {
  struct Case {
    const char *Name;
    int Line, Pos;
    const char *Want;
  } Cases[] = {
      {"inside", 0, 1, "[ac|LF][de|CRLF][f|]"},
      {"at end joins", 0, 3, "[abcde|CRLF][f|]"},
      {"past end joins", 0, 6, "[abcde|CRLF][f|]"},
      {"end of last line", 2, 1, "[abc|LF][de|CRLF][f|]"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Name);
    EditorModel E;
    E.SetText("abc\nde\r\nf");
    E.SetOptions(EOPT_CURSORBEYONDEOL);
    E.SetCursor(C.Line, C.Pos);
    EXPECT_NE(E.Control(ECTL_DELETECHAR, nullptr), 0);
    EXPECT_EQ(Dump(E), C.Want);
    EXPECT_EQ(E.CurPos(), C.Pos);
  }
}

TEST(EditorSetString, ReplacesTextAndOptionallyBreak) {
  EditorModel E;
  E.SetText("one\r\ntwo\nthree");
  E.SetCursor(1, 0);
  char Text[] = "NEWxyz";
  EditorSetString S = {-1, Text, nullptr, 3};
  EXPECT_NE(E.Control(ECTL_SETSTRING, &S), 0);
  EXPECT_EQ(Dump(E), "[one|CRLF][NEW|LF][three|]");

  char Eol[] = "\r";
  S = {0, Text, Eol, 6};
  EXPECT_NE(E.Control(ECTL_SETSTRING, &S), 0);
  EXPECT_EQ(Dump(E), "[NEWxyz|CR][NEW|LF][three|]");

  S = {3, Text, nullptr, 1};
  EXPECT_EQ(E.Control(ECTL_SETSTRING, &S), 0);
  EXPECT_EQ(Dump(E), "[NEWxyz|CR][NEW|LF][three|]");
}

TEST(EditorGetInfo, FillsEveryField) {
  EditorModel E;
  E.SetText("a\tb\nsecond\nthird");
  E.SetFileName("C:\\dir\\file.txt");
  E.SetWindow(60, 20);
  E.SetTabSize(4);
  E.SetOptions(EOPT_PERSISTENTBLOCKS);
  E.SetAnsiMode(true);
  E.SetCursor(0, 2);
  EditorSetPosition P = {-1, -1, -1, -1, -1, 1};
  E.Control(ECTL_SETPOSITION, &P);

  EditorInfo I = Info(E);
  EXPECT_STREQ(I.FileName, "C:\\dir\\file.txt");
  EXPECT_EQ(I.WindowSizeX, 60);
  EXPECT_EQ(I.WindowSizeY, 20);
  EXPECT_EQ(I.TotalLines, 3);
  EXPECT_EQ(I.CurLine, 0);
  EXPECT_EQ(I.CurPos, 2);
  EXPECT_EQ(I.CurTabPos, 4);
  EXPECT_EQ(I.TopScreenLine, 0);
  EXPECT_EQ(I.LeftPos, 0);
  EXPECT_EQ(I.Overtype, 1);
  EXPECT_EQ(I.BlockType, BTYPE_NONE);
  EXPECT_EQ(I.AnsiMode, 1);
  EXPECT_EQ(I.TableNum, -1);
  EXPECT_EQ(I.Options, static_cast<FARDWORD>(EOPT_PERSISTENTBLOCKS));
  EXPECT_EQ(I.TabSize, 4);
  EXPECT_EQ(I.CurState, 0u);
  for (FARDWORD R : I.Reserved)
    EXPECT_EQ(R, 0u);

  E.SetAnsiMode(false);
  EXPECT_EQ(Info(E).AnsiMode, 0);
}

TEST(EditorControl, RecordsCallsAndRejectsMissingRecords) {
  EditorModel E;
  E.SetText("abc");
  EditorSetPosition P = {0, 2, -1, -1, -1, -1};
  E.Control(ECTL_SETPOSITION, &P);
  E.Control(ECTL_INSERTTEXT, const_cast<char *>("ins"));
  char Text[] = "line";
  EditorSetString S = {0, Text, nullptr, 4};
  E.Control(ECTL_SETSTRING, &S);
  E.Control(ECTL_REDRAW, nullptr);
  E.Control(ECTL_REDRAW, nullptr);
  EXPECT_EQ(E.Control(999, nullptr), 0);

  const auto &C = E.Calls();
  ASSERT_EQ(C.size(), 6u);
  EXPECT_EQ(C[0].Command, ECTL_SETPOSITION);
  ASSERT_EQ(C[0].Record.size(), sizeof P);
  EXPECT_EQ(std::memcmp(C[0].Record.data(), &P, sizeof P), 0);
  EXPECT_EQ(C[1].Command, ECTL_INSERTTEXT);
  EXPECT_EQ(C[1].Text, "ins");
  EXPECT_EQ(C[2].Text, "line");
  EXPECT_EQ(C[2].Record.size(), sizeof S);
  EXPECT_TRUE(C[3].Record.empty());
  EXPECT_EQ(C[5].Command, 999);
  EXPECT_EQ(E.RedrawCount(), 2);

  for (int Cmd : {ECTL_GETSTRING, ECTL_SETSTRING, ECTL_INSERTTEXT, ECTL_GETINFO,
                  ECTL_SETPOSITION, ECTL_SELECT, ECTL_EDITORTOOEM, ECTL_OEMTOEDITOR}) {
    SCOPED_TRACE(Cmd);
    EXPECT_EQ(E.Control(Cmd, nullptr), 0);
    EXPECT_TRUE(E.Calls().back().Record.empty());
  }
  EXPECT_EQ(E.GetText(), "line");

  E.ClearCalls();
  E.SetRecording(false);
  E.Control(ECTL_REDRAW, nullptr);
  EXPECT_TRUE(E.Calls().empty());
}

TEST(EditorControl, OemConversionKeepsOemText) {
  EditorModel E;
  char Text[] = "abc\x80";
  EditorConvertText C = {Text, 4};
  EXPECT_NE(E.Control(ECTL_EDITORTOOEM, &C), 0);
  EXPECT_NE(E.Control(ECTL_OEMTOEDITOR, &C), 0);
  EXPECT_STREQ(Text, "abc\x80");
}

TEST(EditorScaling, LineByLineCutAndBigPasteAreLinear) {
  const int N = 100000;
  std::string Text;
  for (int I = 0; I < N; ++I)
    Text += "line " + std::to_string(I) + "\r\n";
  EditorModel E;
  E.SetRecording(false);
  E.SetText("head\r\ntail");
  E.SetCursor(1, 0);

  auto Start = std::chrono::steady_clock::now();
  ASSERT_NE(E.Control(ECTL_INSERTTEXT, &Text[0]), 0);
  ASSERT_EQ(E.LineCount(), N + 2);
  EXPECT_EQ(E.CurLine(), N + 1);
  EXPECT_EQ(E.Line(12345 + 1).Text, "line 12345");
  E.SetCursor(1, 0);
  for (int I = 0; I < N; ++I)
    E.Control(ECTL_DELETESTRING, nullptr);
  double Seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  EXPECT_EQ(E.GetText(), "head\r\ntail");
  EXPECT_LT(Seconds, 1.0);
}
