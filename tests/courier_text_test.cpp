// Courier's platform-free text routines: message lines, recipient lists,
// address sources and key paths.
#include "courier/text.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

std::string Build(const std::vector<std::string> &Lines, size_t Size = MESSAGE_TEXT_SIZE) {
  std::vector<const char *> Ptrs;
  for (auto &L : Lines) Ptrs.push_back(L.c_str());
  std::vector<char> Dest(Size + 1, '#');
  size_t Len = BuildMessageText(Dest.data(), Size, Ptrs.data(), (int)Ptrs.size());
  EXPECT_EQ(Dest[Size], '#') << "wrote past the buffer";
  EXPECT_EQ(strlen(Dest.data()), Len);
  return Dest.data();
}

TEST(CourierText, MessageTextKeepsMiddleEmptyLinesAndDropsTrailingOnes) {
  struct {
    std::vector<std::string> Lines;
    std::string Expected;
  } Cases[] = {
      {{"one", "", "three", "", "", "", ""}, "one\r\n\r\nthree"},
      {{"", "", "", "", "", "", "seven"}, "\r\n\r\n\r\n\r\n\r\n\r\nseven"},
      {{"only", "", "", "", "", "", ""}, "only"},
      {{"", "", "", "", "", "", ""}, ""},
      {{" ", "", "", "", "", "", ""}, " "},  // a blank is text
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Expected);
    EXPECT_EQ(Build(C.Lines), C.Expected);
  }
}

TEST(CourierText, SevenFullLinesFitTheMessageBufferAndSmallBuffersCut) {
  std::vector<std::string> Full(MESSAGE_LINES, std::string(LINE_SIZE - 1, 'x'));
  EXPECT_EQ(Build(Full).size(), (size_t)MESSAGE_TEXT_SIZE - 1);
  EXPECT_EQ(Build({"abc", "def"}, 6), "abc\r\n");
  EXPECT_EQ(Build({"abc", "def"}, 1), "");
}

std::vector<std::string> Split(const std::string &Text) {
  static char Storage[MESSAGE_LINES][LINE_SIZE];
  char *Lines[MESSAGE_LINES];
  for (int I = 0; I < MESSAGE_LINES; I++) {
    memset(Storage[I], 'z', LINE_SIZE - 1);
    Storage[I][LINE_SIZE - 1] = 0;
    Lines[I] = Storage[I];
  }
  SplitMessageText(Text.c_str(), Lines, MESSAGE_LINES);
  return std::vector<std::string>(Lines, Lines + MESSAGE_LINES);
}

TEST(CourierText, HistoryEntryFillsSevenLinesCutTo510) {
  std::string Long(600, 'L');
  struct {
    const char *Why;
    std::string Text;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"one line, the others emptied", "hello", {"hello", "", "", "", "", "", ""}},
      {"empty middle line", "a\r\n\r\nc", {"a", "", "c", "", "", "", ""}},
      {"lone LF is no break", "a\nb", {"a\nb", "", "", "", "", "", ""}},
      {"beyond seven dropped", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9",
       {"1", "2", "3", "4", "5", "6", "7"}},
      {"long line cut", Long + "\r\n" + Long, {std::string(510, 'L'), std::string(510, 'L'), "", "", "", "", ""}},
      {"trailing break", "a\r\n", {"a", "", "", "", "", "", ""}},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(Split(C.Text), C.Expected);
  }
}

TEST(CourierText, SourcesSplitIntoKinds) {
  struct Taken {
    SourceKind Kind;
    std::string Name;
    bool Followed;
  };
  struct {
    const char *Sources;
    std::vector<Taken> Expected;
  } Cases[] = {
      {"WORKGROUP", {{SOURCE_CONTAINER, "WORKGROUP", false}}},
      {"WG;*DC:alpha", {{SOURCE_CONTAINER, "WG", true}, {SOURCE_SERVER_USERS, "alpha", false}}},
      {"*dc:Beta;*d:OFFICE;", {{SOURCE_SERVER_USERS, "Beta", true},
                               {SOURCE_DOMAIN_USERS, "OFFICE", true},
                               {SOURCE_NONE, "", false}}},
      {"*Dc:x;*X:y;*;*D", {{SOURCE_SERVER_USERS, "x", true}, {SOURCE_NONE, "", true},
                           {SOURCE_NONE, "", true}, {SOURCE_NONE, "", false}}},
      {"*DC:", {{SOURCE_SERVER_USERS, "", false}}},
      {"*D:DC:", {{SOURCE_DOMAIN_USERS, "DC:", false}}},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Sources);
    const char *Cursor = C.Sources;
    for (auto &E : C.Expected) {
      char Name[512];
      bool Followed;
      SourceKind Kind = TakeSource(&Cursor, Name, sizeof Name, &Followed);
      EXPECT_EQ(Kind, E.Kind);
      EXPECT_EQ(Name, E.Name);
      EXPECT_EQ(Followed, E.Followed);
    }
    EXPECT_EQ(*Cursor, 0);
  }
  // A name longer than the buffer is cut, never overrun.
  std::string Long = "*DC:" + std::string(100, 'n');
  const char *Cursor = Long.c_str();
  char Small[9];
  bool Followed;
  EXPECT_EQ(TakeSource(&Cursor, Small, sizeof Small, &Followed), SOURCE_SERVER_USERS);
  EXPECT_EQ(std::string(Small), std::string(8, 'n'));
}

FarMenuItem Entry(const std::string &Text, int Checked, int Separator = 0) {
  FarMenuItem I;
  memset(&I, 0, sizeof I);
  strncpy(I.Text, Text.c_str(), sizeof I.Text - 1);
  I.Checked = Checked;
  I.Separator = Separator;
  return I;
}

TEST(CourierText, MarkedNamesJoinWithin510) {
  std::vector<FarMenuItem> Items = {Entry("alice", 1), Entry("", 0, 1), Entry("bob", 0),
                                    Entry("carol", 1)};
  char Field[RECIPIENTS_MAX + 2];
  strcpy(Field, "old");
  JoinMarkedNames(Field, Items.data(), (int)Items.size(), 2);
  EXPECT_STREQ(Field, "alice;carol");

  for (auto &I : Items) I.Checked = 0;
  JoinMarkedNames(Field, Items.data(), (int)Items.size(), 2);
  EXPECT_STREQ(Field, "bob") << "none marked: the entry under the cursor";

  std::vector<FarMenuItem> Long;
  for (char C = 'a'; C < 'g'; C++) Long.push_back(Entry(std::string(127, C), 1));
  Long.push_back(Entry("z", 1));
  memset(Field, '#', sizeof Field);
  JoinMarkedNames(Field, Long.data(), (int)Long.size(), 0);
  // "d" would bring the field to 510: it and the longer ones after it are left out.
  std::string Expected =
      std::string(127, 'a') + ";" + std::string(127, 'b') + ";" + std::string(127, 'c') + ";z";
  EXPECT_TRUE(std::string(Field) == Expected) << strlen(Field);
}

TEST(CourierText, AppendRecipientStopsBelow510) {
  char Field[RECIPIENTS_MAX + 1];
  std::string A(300, 'a'), B(209, 'b');
  strcpy(Field, A.c_str());
  EXPECT_TRUE(AppendRecipient(Field, B.c_str()));  // 300 + 209 < 510: 510 with the ';'
  EXPECT_EQ(strlen(Field), 510u);
  strcpy(Field, A.c_str());
  EXPECT_FALSE(AppendRecipient(Field, std::string(210, 'b').c_str()));
  EXPECT_EQ(strlen(Field), 300u);
}

TEST(CourierText, SpaceMovesToTheNextNameOrStays) {
  std::vector<FarMenuItem> Items = {Entry("a", 0), Entry("", 0, 1), Entry("b", 0),
                                    Entry("", 0, 1)};
  EXPECT_EQ(FindNextSelectable(Items.data(), 4, 0), 2) << "skips the separator";
  EXPECT_EQ(FindNextSelectable(Items.data(), 4, 2), 2) << "last name: stays";
}

TEST(CourierText, KeyPathFitsOrIsRefused) {
  char Path[80];
  EXPECT_TRUE(ComposeKeyPath(Path, sizeof Path, std::string(71, 'r').c_str(), "\\Courier"));
  EXPECT_EQ(strlen(Path), 79u);
  memset(Path, '#', sizeof Path);
  EXPECT_FALSE(ComposeKeyPath(Path, sizeof Path, std::string(72, 'r').c_str(), "\\Courier"));
  EXPECT_STREQ(Path, "");
}

}  // namespace
