// Almanac's platform-free routines and Dialog.gen's dialog-file reader.
#include "almanac/text.h"
#include "dialoggen/dlgfile.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

TEST(AlmanacDates, EveryDayOfTheCalendarsRange) {
  // Walks day by day from Thursday 1 January 1970 to the end of 2037,
  // counting weekdays and month lengths independently of the routines.
  int Weekday = 4, DayOfYear = 0;
  for (int Y = 1970; Y <= 2037; Y++, DayOfYear = 0) {
    bool Leap = (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0;
    const int Lengths[] = {31, Leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int M = 1; M <= 12; M++) {
      ASSERT_EQ(DaysInMonth(Y, M), Lengths[M - 1]) << Y << "-" << M;
      int PrevLength = M == 1 ? 31 : Lengths[M - 2];
      ASSERT_EQ(NormalDay(Y, M, 0), PrevLength) << Y << "-" << M << ": day 0";
      ASSERT_EQ(NormalMonth(Y, M, 0), M == 1 ? 12 : M - 1);
      ASSERT_EQ(NormalYear(Y, M, 0), M == 1 ? Y - 1 : Y);
      ASSERT_EQ(NormalDay(Y, M, Lengths[M - 1] + 1), 1);
      ASSERT_EQ(NormalMonth(Y, M, Lengths[M - 1] + 1), M == 12 ? 1 : M + 1);
      ASSERT_EQ(NormalMonth(Y, M, -6), M == 1 ? 12 : M - 1) << "a calendar's first row";
      for (int D = 1; D <= Lengths[M - 1]; D++, DayOfYear++) {
        ASSERT_EQ(IsoWeekday(Y, M, D), Weekday) << Y << "-" << M << "-" << D;
        ASSERT_EQ(NormalDay(Y, M, D), D);
        struct tm T;
        memset(&T, 0, sizeof T);
        T.tm_hour = 13;
        SetDate(&T, Y, M, D);
        ASSERT_EQ(T.tm_year, Y - 1900);
        ASSERT_EQ(T.tm_mon, M - 1);
        ASSERT_EQ(T.tm_mday, D);
        ASSERT_EQ(T.tm_wday, Weekday % 7);
        ASSERT_EQ(T.tm_yday, DayOfYear);
        ASSERT_EQ(T.tm_hour, 13) << "the time of day is kept";
        Weekday = Weekday % 7 + 1;
      }
    }
  }
}

TEST(AlmanacDates, MonthsAndYearsOutsideTheirRangeCarry) {
  struct Case {
    int Y, M, D, NY, NM, ND;
  } Cases[] = {
      {2024, 13, 1, 2025, 1, 1}, {2024, 0, 1, 2023, 12, 1},   {2024, -11, 1, 2023, 1, 1},
      {2024, -12, 1, 2022, 12, 1}, {2024, 3, -365, 2023, 3, 1}, {1, 1, 0, 0, 12, 31},
      {100000, 2, 29, 100000, 2, 29}, {-4, 3, 0, -4, 2, 29},   {2100, 3, 0, 2100, 2, 28},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Y << "-" << C.M << "-" << C.D);
    EXPECT_EQ(NormalYear(C.Y, C.M, C.D), C.NY);
    EXPECT_EQ(NormalMonth(C.Y, C.M, C.D), C.NM);
    EXPECT_EQ(NormalDay(C.Y, C.M, C.D), C.ND);
  }
  EXPECT_EQ(IsoWeekday(2000, 1, 1), 6);
  EXPECT_EQ(IsoWeekday(1969, 12, 31), 3);
}

TEST(AlmanacText, FormatDateTimeAlwaysDefined) {
  struct tm T;
  memset(&T, 0, sizeof T);
  T.tm_year = 126, T.tm_mon = 11, T.tm_mday = 9, T.tm_wday = 3;
  struct Case {
    const char *Format;
    size_t Size;
    std::string Expected;
  } Cases[] = {
      {"%d.%m.", 80, "09.12."},
      {"%%", 80, "%"},
      {"", 80, ""},
      {nullptr, 80, ""},
      {"%B %B %B %B %B %B %B %B", 80, "December December December December December December "
                                      "December December"},
      {"%B %B %B %B %B %B %B %B %B", 80, "December December December December December December "
                                         "December December Decembe"},
      {"%Y", 4, "202"},
      {"%Y", 1, ""},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Format ? C.Format : "(null)");
    std::unique_ptr<char[]> Buf(new char[C.Size]);  // exact size: ASan sees any overrun
    memset(Buf.get(), 'X', C.Size);
    FormatDateTime(Buf.get(), C.Size, C.Format, &T);
    EXPECT_EQ(std::string(Buf.get()), C.Expected);
  }
  // A long format of many conversions is cut, not dropped.
  std::string Long;
  for (int I = 0; I < 200; I++) Long += "%Y";
  char Buf[80];
  FormatDateTime(Buf, sizeof Buf, Long.c_str(), &T);
  EXPECT_EQ(strlen(Buf), 79u);
  char Now[80] = "stale";
  FormatDateTime(Now, sizeof Now, "%Y", nullptr);
  EXPECT_EQ(strlen(Now), 4u);
}

TEST(AlmanacText, KeyPathsFitTheirBuffer) {
  struct Case {
    size_t RootLen;
    const char *Sub;
    int Slot;
    bool Fits;
  } Cases[] = {
      {10, "Indicator", -1, true},
      {87 - 18, "Indicator", -1, true},   // "\Almanac\Indicator" is 18
      {88 - 18, "Indicator", -1, false},
      {87 - 17, nullptr, 11, true},       // "\Almanac\Format11" is 17
      {88 - 17, nullptr, 11, false},
      {87 - 8, nullptr, -2, true},        // "\Almanac" alone
      {300, "Auto", -1, false},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(testing::Message() << C.RootLen << " " << (C.Sub ? C.Sub : "slot"));
    std::string Root(C.RootLen, 'r');
    std::unique_ptr<char[]> Path(new char[KEY_PATH_SIZE]);
    int Fits = C.Slot >= 0    ? ComposeSlotPath(Path.get(), Root.c_str(), C.Slot)
               : C.Slot == -2 ? ComposeKeyPath(Path.get(), Root.c_str(), nullptr)
                              : ComposeKeyPath(Path.get(), Root.c_str(), C.Sub);
    EXPECT_EQ(Fits != 0, C.Fits);
    if (Fits) EXPECT_EQ(std::string(Path.get()).substr(C.RootLen, 8), "\\Almanac");
    else EXPECT_STREQ(Path.get(), "");
  }
}

TEST(AlmanacText, MenuLinesAndSmallTexts) {
  char Line[MENU_TEXT_SIZE];
  BuildFormatMenuText(Line, 3, 10, "Day", "09");
  EXPECT_STREQ(Line, "&3  \xB3 Day        \xB3 09");
  BuildFormatMenuText(Line, 0, 12, nullptr, nullptr);
  EXPECT_STREQ(Line, "&0  \xB3 <None>       \xB3 ");
  std::string Sample(79, 's'), Name(69, 'n');
  BuildFormatMenuText(Line, 9, 69, Name.c_str(), Sample.c_str());
  EXPECT_EQ(strlen(Line), 127u) << "cut at 127";
  BuildFormatMenuText(Line, 9, 1000000, "x", "y");
  EXPECT_EQ(strlen(Line), 127u);

  struct {
    const char *Text;
    long Value;
    int Found;
  } Numbers[] = {{"1500", 1500, 1}, {"  42ms", 42, 1}, {"-3", -3, 1}, {"abc", 0, 0},
                 {"", 0, 0},        {nullptr, 0, 0},   {"99999999999", 0x7FFFFFFF, 1}};
  for (auto &N : Numbers) {
    int Found;
    EXPECT_EQ(ParseLeadingNumber(N.Text, &Found), N.Value) << (N.Text ? N.Text : "(null)");
    EXPECT_EQ(Found, N.Found);
  }

  struct {
    const char *Name, *Title;
  } Months[] = {{"May", "    May"}, {"September", " September"}, {"December", " December"},
                {"Sehr langer Monat", "Sehr langer Monat"}, {"", "     "}};
  for (auto &M : Months) {
    char Title[64];
    BuildMonthTitle(Title, sizeof Title, M.Name);
    EXPECT_STREQ(Title, M.Title);
  }
}

TEST(DialogFile, ItemsAndOptions) {
  const char *File =
      "# comment\n"
      "dialog \"Other\" 10 5\n"
      "end\n"
      "dialog \"Test\" 40 8\r\n"
      "help \"Topic\"\n"
      "  doublebox 0 3 1 36 6 text \"A \\\"quoted\\\" title\"\n"
      "  radio 1 5 2 0 0 group closes value 0x10 msg 7 focus\n"
      "  radio 2 5 3 0 0 value -1 selected # trailing comment\n"
      "  checkbox 3 5 4 0 0 color 0x78 hidden\n"
      "  button 4 0 5 0 0 centergroup default cancel\n"
      "end\n";
  DialogLayout S;
  char Error[64];
  ASSERT_TRUE(ParseDialogFile(File, "Test", &S, Error, sizeof Error)) << Error;
  EXPECT_STREQ(S.Name, "Test");
  EXPECT_EQ(S.Width, 40);
  EXPECT_EQ(S.Height, 8);
  EXPECT_STREQ(S.Help, "Topic");
  ASSERT_EQ(S.Count, 5);
  EXPECT_STREQ(S.Items[0].Text, "A \"quoted\" title");
  EXPECT_EQ(S.Items[1].Type, DI_RADIOBUTTON);
  EXPECT_EQ(S.Items[1].Flags, DIF_GROUP);
  EXPECT_EQ(S.Items[1].ChoiceCloses, 1);
  EXPECT_EQ(S.Items[1].Value, 16);
  EXPECT_EQ(S.Items[1].MsgNumber, 7);
  EXPECT_EQ(S.Items[1].Focus, 1);
  EXPECT_EQ(S.Items[2].Value, -1);
  EXPECT_EQ(S.Items[2].Selected, 1);
  EXPECT_EQ(S.Items[3].Flags, DIF_SETCOLOR | 0x78);
  EXPECT_EQ(S.Items[3].Hidden, 1);
  EXPECT_EQ(S.Items[4].Flags, DIF_CENTERGROUP);
  EXPECT_EQ(S.Items[4].Cancel, 1);
  EXPECT_EQ(S.Items[4].Default, 1);
  char Name[16];
  EXPECT_TRUE(DialogNameAt(File, 1, Name, sizeof Name));
  EXPECT_STREQ(Name, "Test");
  EXPECT_FALSE(DialogNameAt(File, 2, Name, sizeof Name));
}

TEST(DialogFile, MistakesAreReportedWithTheirLine) {
  struct {
    const char *File, *Error;
  } Cases[] = {
      {"dialog \"D\" 10 5\n  box 0 1 1 1 1\nend\n", "line 2: unknown item type"},
      {"dialog \"D\" 10 5\n  text 0 1 1\nend\n", "line 2: an item needs: type id x1 y1 x2 y2"},
      {"dialog \"D\" 10 5\n  text 0 1 1 1 1 bold\nend\n", "line 2: unknown word"},
      {"dialog \"D\" 10 5\n  text 0 1 1 1 1 msg\nend\n", "line 2: msg needs a message number"},
      {"dialog \"D\" 10 5\n  text 0 1 1 1 1\n", "line 2: no end line"},
      {"dialog \"D\" 10\nend\n", "line 1: dialog not found or without width and height"},
      {"dialog \"E\" 10 5\nend\n", "line 2: dialog not found or without width and height"},
      {"", "line 1: dialog not found or without width and height"},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.File);
    std::unique_ptr<DialogLayout> S(new DialogLayout);
    char Error[80];
    EXPECT_FALSE(ParseDialogFile(C.File, "D", S.get(), Error, sizeof Error));
    EXPECT_STREQ(Error, C.Error);
  }
  // More items than a dialog holds, and an overlong line, stay within bounds.
  std::string Many = "dialog \"D\" 10 5\n";
  for (int I = 0; I <= DLG_MAX_ITEMS; I++) Many += "text 0 1 1 1 1\n";
  Many += "end\n";
  std::unique_ptr<DialogLayout> S(new DialogLayout);
  EXPECT_FALSE(ParseDialogFile(Many.c_str(), "D", S.get(), nullptr, 0));
  std::string Long = "dialog \"D\" 10 5\ntext 0 1 1 1 1 text \"" + std::string(5000, 'x') + "\"\nend\n";
  ASSERT_TRUE(ParseDialogFile(Long.c_str(), "D", S.get(), nullptr, 0));
  EXPECT_EQ(strlen(S->Items[0].Text), (size_t)DLG_TEXT_SIZE - 1);
}

// Every dialog Almanac loads has the identifiers it addresses.
TEST(DialogFile, AlmanacFilesDefineEveryItem) {
  struct {
    const char *File, *Dialog;
    std::vector<int> Ids;
  } Cases[] = {
      {"Almanac.dlg", "Main", {1, 2, 3, 4, 6, 7, 8}},
      {"Almanac.dlg", "Main2", {1, 2, 4, 6, 8, 11}},
      {"Almanac.dlg", "Auto", {2, 3, 4}},
      {"Almanac.dlg", "Menu", {2, 3, 4}},
      {"Almanac.dlg", "Indicator", {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14}},
      {"color.dlg", "Color Select", {1, 16, 242, 243}},
      {"Calendar.dlg", "Set Year", {50, 51, 52, 53, 60}},
      {"Calendar.dlg", "Set Month", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 50, 52, 53, 60}},
      {"Calendar.dlg", "Calendar", {50, 51, 52, 53, 54, 55, 56}},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(std::string(C.File) + " " + C.Dialog);
    std::string Text;
    if (FILE *F = fopen((std::string(ALMANAC_SOURCE_DIR "/") + C.File).c_str(), "rb")) {
      char Buf[4096];
      size_t N;
      while ((N = fread(Buf, 1, sizeof Buf, F)) > 0) Text.append(Buf, N);
      fclose(F);
    }
    std::unique_ptr<DialogLayout> S(new DialogLayout);
    char Error[80];
    ASSERT_TRUE(ParseDialogFile(Text.c_str(), C.Dialog, S.get(), Error, sizeof Error)) << Error;
    std::vector<int> Ids = C.Ids;
    if (!strcmp(C.Dialog, "Calendar"))
      for (int I = 1; I <= 42; I++) Ids.push_back(I);
    for (int Id : Ids) {
      int Count = 0;
      for (int I = 0; I < S->Count; I++) Count += S->Items[I].Id == Id;
      EXPECT_EQ(Count, 1) << "item " << Id;
    }
  }
}
