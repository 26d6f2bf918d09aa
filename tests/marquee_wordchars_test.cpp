// Word characters: the built-in set, the "Charset" notation and the cutting
// of a "Mask" into pieces (no Windows calls).
#include "filetypes/wordchars.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// The members of a set as a text, in code order.
std::string Members(const unsigned char *Set) {
  std::string R;
  for (int C = 0; C < WORD_CHAR_SET_SIZE; C++)
    if (Set[C]) R += (char)C;
  return R;
}

std::string Range(int First, int Last) {
  std::string R;
  for (int C = First; C <= Last; C++) R += (char)C;
  return R;
}

}  // namespace

TEST(WordChars, DefaultSet) {
  unsigned char Set[WORD_CHAR_SET_SIZE];
  memset(Set, 0xEE, sizeof Set);
  SetDefaultWordChars(Set);
  EXPECT_EQ(Members(Set), Range('0', '9') + Range('A', 'Z') + "_" + Range('a', 'z') + "\xA8\xB8" +
                              Range(0xC0, 0xFF));
  EXPECT_EQ(Members(Set).size(), 129u);
  EXPECT_EQ(Set['-'], 0);
}

TEST(WordChars, Notation) {
  struct Case {
    std::string Notation, Members;
    const char *Why;
  } Cases[] = {
      {"", "", "empty notation, empty set"},
      {"a-z", Range('a', 'z'), "a range"},
      {"z-a", "z", "a range that runs backwards adds nothing"},
      {"#65#66", "AB", "numbered characters"},
      {"#321", "A", "numbers are taken modulo 256"},
      {"#2147483647", "\xFF", "largest number"},
      {"#2147483648x", std::string("\0x", 2), "a number past 2147483647 counts as 0"},
      {"#99999999999999999999999", std::string(1, '\0'), "far past the range"},
      {"#", std::string(1, '\0'), "# without digits adds code 0"},
      {"#x", std::string("\0x", 2), "scanning goes on after a bare #"},
      {"\\#", "#", "a backslash makes # plain"},
      {"\\-\\\\", "-\\", "escaped hyphen and backslash"},
      {"a\\", std::string("\0a", 2), "a backslash at the very end adds code 0"},
      {"A-", "A", "a hyphen at the end adds nothing"},
      {"#255-#255", "\xFF", "no range after 255"},
      {"#192-#255", Range(192, 255), "numbered range"},
      {"-9", Range(1, '9'), "a leading range starts after code 0"},
      {"a-#b", "ab", "a range ending in a bare # adds nothing; b follows"},
      {"a-\\c", "abc", "escaped range end"},
      {"a--", "a", "a hyphen as range end lies below a"},
      {"\xC0-\xC3", Range(0xC0, 0xC3), "characters above 127"},
      {"0-9_", Range('0', '9') + "_", "range then a plain character"},
      {"b-d#65-C", "ABCbcd", "the previous character of a range is the last item"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    unsigned char Set[WORD_CHAR_SET_SIZE];
    memset(Set, 1, sizeof Set);
    ParseWordChars(C.Notation.c_str(), Set);
    std::string Expected = C.Members;
    EXPECT_EQ(Members(Set), Expected) << "notation " << C.Notation;
  }
}

TEST(WordChars, MaskPieces) {
  struct Case {
    std::string Mask;
    std::vector<std::string> Pieces;
  } Cases[] = {
      {"*.pas,*.dpr", {"*.pas", "*.dpr"}},
      {"*.txt,", {"*.txt"}},
      {"*.c, *.h", {"*.c", " *.h"}},
      {"a,,b", {"a", "", "b"}},
      {"a,,", {"a", ""}},
      {",", {""}},
      {"", {}},
      {std::string(300, 'p') + ",x", {std::string(300, 'p'), "x"}},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Mask.substr(0, 20));
    std::vector<char> Mask(C.Mask.begin(), C.Mask.end());
    Mask.push_back(0);
    char *Cursor = Mask.data();
    std::vector<std::string> Pieces;
    while (char *Piece = NextMaskPiece(&Cursor)) Pieces.push_back(Piece);
    EXPECT_EQ(Pieces, C.Pieces);
  }
}
