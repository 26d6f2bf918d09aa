// The texts of the block commands: copied text, pasted text cut into lines,
// the word around the cursor (no Windows calls).
#include "selection/blocktext.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

struct Line {
  std::string Text;
  int SelStart, SelEnd;
};

std::string Build(const std::vector<Line> &Lines, bool Column) {
  TextBuilder B;
  StartText(&B);
  for (const Line &L : Lines) {
    if (Column) AppendColumnRow(&B, L.Text.data(), (int)L.Text.size(), L.SelStart, L.SelEnd);
    else AppendStreamLine(&B, L.Text.data(), (int)L.Text.size(), L.SelStart, L.SelEnd);
  }
  EXPECT_FALSE(B.Failed);
  std::string R = B.Text ? std::string(B.Text, B.Length) : "(null)";
  if (B.Text) EXPECT_EQ(strlen(B.Text), B.Length) << "terminated";
  ReleaseText(&B);
  return R;
}

// Pasted text as the stream paste cuts it: each line with its break's length.
std::vector<std::pair<std::string, size_t>> Split(const std::string &Text) {
  std::vector<std::pair<std::string, size_t>> R;
  for (const char *P = Text.c_str(); *P;) {
    size_t Break, N = NextTextLine(P, &Break);
    R.push_back({std::string(P, N), Break});
    P += N + Break;
  }
  return R;
}

}  // namespace

TEST(BlockText, StreamText) {
  struct Case {
    std::vector<Line> Lines;
    std::string Text;
    const char *Why;
  } Cases[] = {
      {{{"line five", 2, -1}, {"line six", 0, -1}, {"line seven", 0, 3}},
       "ne five\r\nline six\r\nlin", "ends inside a line: no break at the end"},
      {{{"whole", 0, -1}, {"next", 0, 0}}, "whole\r\n", "ends after a break"},
      {{{"", 0, -1}, {"", 0, -1}, {"x", 0, 1}}, "\r\n\r\nx", "empty lines"},
      {{{"abc", 1, 2}}, "b", "inside one line"},
      {{{"abc", 1, 10}}, "bc", "an end past the line is the line's end"},
      {{{"abc", 7, -1}}, "\r\n", "a start past the line takes only the break"},
      {{{"abc", 2, 1}}, "", "an end before the start takes nothing"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(Build(C.Lines, false), C.Text);
  }
}

TEST(BlockText, ColumnRows) {
  struct Case {
    std::vector<Line> Lines;
    std::string Text;
    const char *Why;
  } Cases[] = {
      {{{"abcdefgh", 2, 6}, {"abcd", 2, 6}, {"abcdefgh", 2, 6}},
       "cdef\r\ncd  \r\ncdef\r\n", "a short middle line is padded"},
      {{{"a", 3, 5}}, "  \r\n", "a line that ends before the block gives blanks"},
      {{{"abc", 1, 1}}, "\r\n", "an empty width still ends the row"},
      {{{"abc", 2, 1}}, "\r\n", "an end before the start is an empty row"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(Build(C.Lines, true), C.Text);
  }
}

TEST(BlockText, GrowsToLargeTexts) {
  TextBuilder B;
  StartText(&B);
  std::string Expected;
  for (int I = 0; I < 100000; I++) {
    std::string Row = "row " + std::to_string(I);
    AppendStreamLine(&B, Row.data(), (int)Row.size(), 0, -1);
    Expected += Row + "\r\n";
  }
  ASSERT_FALSE(B.Failed);
  EXPECT_EQ(B.Length, Expected.size());
  EXPECT_TRUE(std::string(B.Text, B.Length) == Expected);
  EXPECT_LT(B.Capacity, 2 * Expected.size() + 256) << "growth stays proportional";
  ReleaseText(&B);
  EXPECT_EQ(B.Text, nullptr);
}

TEST(BlockText, PastedTextSplitsAtEveryBreak) {
  using Pieces = std::vector<std::pair<std::string, size_t>>;
  struct Case {
    std::string Text;
    Pieces Lines;
    const char *Why;
  } Cases[] = {
      {"a\r\nb", {{"a", 2}, {"b", 0}}, "CR LF, no break at the end"},
      {"a\r\n\r\nb", {{"a", 2}, {"", 2}, {"b", 0}}, "an empty line is kept"},
      {"a\n\nb\r\rc", {{"a", 1}, {"", 1}, {"b", 1}, {"", 1}, {"c", 0}}, "lone LF and CR"},
      {"a\n\r", {{"a", 1}, {"", 1}}, "LF CR is two breaks"},
      {"abc\r\ndef\r\n", {{"abc", 2}, {"def", 2}}, "vertical block rows"},
      {"abc\r\ndef", {{"abc", 2}, {"def", 0}}, "last row without its break"},
      {"abc\r", {{"abc", 1}}, "a CR as the last character"},
      {"\r\n", {{"", 2}}, "one empty line"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(Split(C.Text), C.Lines);
  }
}

TEST(BlockText, CopiedLinesSplitBackUnchanged) {
  std::vector<Line> Lines = {{"first", 0, -1}, {"", 0, -1}, {"", 0, -1}, {"fourth", 0, -1},
                             {"", 0, 0}};
  auto Pieces = Split(Build(Lines, false));
  ASSERT_EQ(Pieces.size(), 4u);
  for (size_t I = 0; I < Pieces.size(); I++) {
    EXPECT_EQ(Pieces[I].first, Lines[I].Text);
    EXPECT_EQ(Pieces[I].second, 2u);
  }
}

TEST(BlockText, WordAroundTheCursor) {
  unsigned char W[256] = {};
  for (int C = 'a'; C <= 'z'; C++) W[C] = 1;
  W['_'] = 1;
  W[0xE9] = 1;
  struct Case {
    const char *Text;
    int Cursor, Start, End;
    const char *Why;
  } Cases[] = {
      {"foo_bar baz", 4, 0, 7, "on a word"},
      {"foo_bar baz", 0, 0, 7, "on the first character"},
      {"foo_bar baz", 7, 0, 7, "on the blank after a word: the word to the left"},
      {"foo_bar baz", 10, 8, 11, "on the last character"},
      {"foo_bar baz", 30, 8, 11, "past the end: the last word"},
      {"   foo bar", 1, 3, 6, "blanks in front of the first word"},
      {"+-+ -", 2, 0, 5, "no word character: the whole line"},
      {"", 0, 0, 0, "empty line"},
      {"ab  ", 3, 0, 2, "blanks after the last word"},
      {"caf\xE9!", 1, 0, 4, "characters above 127 count by the set"},
      {"+-+ -", 2147483647, 0, 5, "the largest position on a line without a word"},
      {"ab  ", 2147483647, 0, 2, "the largest position after a word"},
      {"ab  ", -2147483647 - 1, 0, 2, "the smallest position"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    int S = -1, E = -1;
    FindWord((const unsigned char *)C.Text, (int)strlen(C.Text), C.Cursor, W, &S, &E);
    EXPECT_EQ(S, C.Start);
    EXPECT_EQ(E, C.End);
  }
}
