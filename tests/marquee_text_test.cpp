// Marquee's text and number routines (no Windows calls).
#include "frame/zstr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ParseDecimal, Cases) {
  struct Case {
    const char *Text;
    int Value;
    const char *Why;
  } Cases[] = {
      {" 500", 500, "leading blanks are skipped"},
      {"500ms", 0, "trailing garbage makes the whole text invalid"},
      {"$1F", 31, "hex after $"},
      {"0x1f", 31, "hex after 0x, lower case"},
      {"X7fffffff", 2147483647, "largest hex"},
      {"x80000000", 0, "hex beyond the signed range"},
      {"-12", -12, "sign"},
      {"+7", 7, "plus sign"},
      {"-2147483648", -2147483647 - 1, "smallest value"},
      {"2147483648", 0, "one past the largest"},
      {"99999999999999999999", 0, "far past the range"},
      {"", 0, "empty"},
      {"   ", 0, "blanks only"},
      {"-", 0, "sign without digits"},
      {"0x", 0, "prefix without digits"},
      {"1 2", 0, "inner blank"},
      {"\t5", 0, "only blanks (32) are skipped"},
      {"0", 0, "zero"},
      {"007", 7, "leading zeros"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(std::string("\"") + C.Text + "\": " + C.Why);
    EXPECT_EQ(ParseDecimal(C.Text), C.Value);
  }
}

TEST(IntToDecimal, Cases) {
  char Buf[16];
  EXPECT_STREQ(IntToDecimal(Buf, 0), "0");
  EXPECT_STREQ(IntToDecimal(Buf, 10), "10");
  EXPECT_STREQ(IntToDecimal(Buf, 4294967295u), "4294967295");
}

TEST(ZStr, CopyMaxAlwaysTerminates) {
  char Buf[8];
  memset(Buf, 'x', sizeof Buf);
  EXPECT_STREQ(ZStrCopyMax(Buf, "abc", 0), "");
  EXPECT_EQ(Buf[1], 'x') << "MaxLen 0 writes only the terminator";
  EXPECT_STREQ(ZStrCopyMax(Buf, "ab", 5), "ab");
  EXPECT_EQ(Buf[3], 'x') << "a short source stops at its own terminator";
  EXPECT_STREQ(ZStrCopyMax(Buf, "abcdefghij", 7), "abcdefg");
  char Two[16] = "ab";
  EXPECT_STREQ(ZStrAppend(Two, "cd"), "abcd");
  EXPECT_EQ(ZStrEnd(Two), Two + 4);
  EXPECT_EQ(ZStrLength(""), 0u);
}

TEST(SplitErrorText, Cases) {
  struct Case {
    const char *Text;
    std::vector<std::string> Lines;
  } Cases[] = {
      {"One. Two", {"One", "Two"}},
      {"Ends with a stop. ", {"Ends with a stop", ""}},
      {"a  b", {"a", "b"}},
      {"line\r\nbreak", {"line", "break"}},   // CR LF become two blanks
      {"x\ny", {"x y"}},
      {"no cut.", {"no cut."}},
      {"", {""}},
      {".  x", {"", " x"}},  // ". " is tested before "  "
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Text);
    std::string Copy = C.Text;
    const char *Pieces[16];
    int N = SplitErrorText(&Copy[0], Pieces, 16);
    std::vector<std::string> Got(Pieces, Pieces + N);
    EXPECT_EQ(Got, C.Lines);
  }
}

TEST(SplitErrorText, StopsAtMaxPieces) {
  std::string Text = "a. b. c. d";
  const char *Pieces[2];
  EXPECT_EQ(SplitErrorText(&Text[0], Pieces, 2), 2);
}
