// The file-type menu's texts (no Windows calls).
#include "filetypes/typelines.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

static std::string MenuLine(const char *Description, size_t Width, const char *Mask) {
  char Line[MENU_LINE_MAX + 1];
  memset(Line, 'x', sizeof Line);
  BuildTypeMenuLine(Line, Description, Width, Mask);
  EXPECT_NE(memchr(Line, 0, sizeof Line), nullptr) << "terminated inside the field";
  return Line;
}

TEST(TypeMenuLine, Cases) {
  std::string Long(5000, 'L');
  std::string Mask79(79, 'm');
  struct Case {
    std::string Description;
    size_t Width;
    std::string Mask, Expected;
    const char *Why;
  } Cases[] = {
      {"Docs", 7, "*.txt", "Docs    \xB3 *.txt", "padded to the longest description"},
      {"Sources", 7, "*.c,*.h", "Sources \xB3 *.c,*.h", "the longest itself"},
      {"", 7, "*.*", "        \xB3 *.*", "an empty description among others"},
      {"", 0, "*.pas,*.dpr", "*.pas,*.dpr", "no type has a description"},
      {"Docs", 4, Long, "Docs \xB3 " + Long.substr(0, 79), "the mask is cut to 79"},
      {Long, 5000, "*.c", std::string(45, 'L') + " \xB3 *.c", "a long description is cut"},
      {"Docs", 5000, Mask79, "Docs" + std::string(41, ' ') + " \xB3 " + Mask79,
       "the line is full at 127"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    std::string Line = MenuLine(C.Description.c_str(), C.Width, C.Mask.c_str());
    EXPECT_LE(Line.size(), (size_t)MENU_LINE_MAX);
    EXPECT_TRUE(Line == C.Expected) << Line.substr(0, 60);
  }
  EXPECT_EQ(MenuLine(nullptr, 0, nullptr), "");
}

TEST(QuotedMask, CutToTheLine) {
  char Line[QUOTED_MASK_MAX + 1];
  BuildQuotedMask(Line, "*.txt");
  EXPECT_STREQ(Line, "\"*.txt\"");
  std::string Long(5000, 'q');
  BuildQuotedMask(Line, Long.c_str());
  EXPECT_EQ(strlen(Line), 79u);
  EXPECT_EQ(std::string(Line), "\"" + std::string(77, 'q') + "\"");
  BuildQuotedMask(Line, "");
  EXPECT_STREQ(Line, "\"\"");
}
