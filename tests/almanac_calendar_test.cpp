// Almanac's calendar through Dialog.gen, as the host is shown it.
#include "almanac_fixture.h"
#include "almanac/text.h"

using namespace emu;

class AlmanacCalendar : public AlmanacTest {
protected:
  int Cell(int Id) { return CalItem("Calendar", Id); }
  // The calendar opens from the main menu: load, then queue the dialogs' answers.
  void LoadAndChoose() {
    ASSERT_TRUE(LoadAlmanac());
    Menu(3);
  }
  void Open(int OpenFrom = OPEN_PLUGINSMENU) { P->OpenPlugin(OpenFrom, 0); }
  void GoTo(int Year, int Month) {
    Dialog(Cell(51));
    Dialog(CalItem("Set Year", 60), {{CalItem("Set Year", 51), std::to_string(Year)}});
    Dialog(Cell(54));
    Dialog(CalItem("Set Month", 60), {}, {{CalItem("Set Month", Month), 1}});
  }
  std::vector<const DialogCall *> Calendars() {
    std::vector<const DialogCall *> Out;
    for (auto &C : H.Calls)
      if (C.Type == UiCall::Dialog && C.DialogData.Items.size() == (size_t)LayoutOf("Calendar.dlg", "Calendar").Count)
        Out.push_back(&C.DialogData);
    return Out;
  }
  // Year, month title, and each cell as "12" or "(12)" when grey.
  std::string Grid(const DialogCall &D) {
    std::string Out = std::string(D.Items[Cell(51)].Data) + "|" + D.Items[Cell(54)].Data + "|";
    for (int I = 1; I <= 42; I++) {
      const FarDialogItem &It = D.Items[Cell(I)];
      bool Grey = It.Type == DI_TEXT;
      if (Grey) EXPECT_EQ(It.Flags & (DIF_SETCOLOR | DIF_COLORMASK), DIF_SETCOLOR | 0x78) << I;
      else {
        EXPECT_EQ(It.Type, DI_RADIOBUTTON) << I;
        EXPECT_EQ(It.Flags & DIF_SETCOLOR, 0u) << I << ": the colour goes with the marking";
      }
      Out += Grey ? "(" + std::string(It.Data) + ")" : std::string(It.Data);
      Out += I % 7 ? " " : "/";
    }
    return Out;
  }
  int Highlighted(const DialogCall &D) {
    for (int I = 1; I <= 42; I++)
      if (D.Items[Cell(I)].Selected) return I;
    return 0;
  }
};

TEST_F(AlmanacCalendar, MonthsLeapYearsAndGreyCells) {
  LoadAndChoose();
  GoTo(2024, 2);  // begins on a Thursday, 29 days
  Dialog(Cell(55));  // March 2024
  Dialog(Cell(51));
  Dialog(CalItem("Set Year", 60), {{CalItem("Set Year", 51), "2021"}});  // March 2021: Monday 1st
  Dialog(Cell(53));  // February 2021: Monday 1st, 28 days
  Dialog(-1);
  Open();
  auto C = Calendars();
  ASSERT_EQ(C.size(), 6u);
  EXPECT_EQ(Grid(*C[2]),
            " 2024 | February|(29) (30) (31)  1  2  3  4/ 5  6  7  8  9 10 11/12 13 14 15 16 17 18/"
            "19 20 21 22 23 24 25/26 27 28 29 ( 1) ( 2) ( 3)/( 4) ( 5) ( 6) ( 7) ( 8) ( 9) (10)/");
  EXPECT_EQ(Grid(*C[3]),
            " 2024 |   March|(26) (27) (28) (29)  1  2  3/ 4  5  6  7  8  9 10/11 12 13 14 15 16 17/"
            "18 19 20 21 22 23 24/25 26 27 28 29 30 31/( 1) ( 2) ( 3) ( 4) ( 5) ( 6) ( 7)/");
  EXPECT_EQ(Grid(*C[5]),
            " 2021 | February| 1  2  3  4  5  6  7/ 8  9 10 11 12 13 14/15 16 17 18 19 20 21/"
            "22 23 24 25 26 27 28/( 1) ( 2) ( 3) ( 4) ( 5) ( 6) ( 7)/( 8) ( 9) (10) (11) (12) (13) (14)/");
}

TEST_F(AlmanacCalendar, NavigationWrapsAtTheEndsOfTheRange) {
  LoadAndChoose();
  GoTo(1970, 1);
  Dialog(Cell(53));  // previous month from January 1970
  Dialog(Cell(55));  // next month from December 2037
  Dialog(Cell(50));  // previous year from 1970
  Dialog(Cell(52));  // next year from 2037
  Dialog(Cell(51));
  Dialog(CalItem("Set Year", 60), {{CalItem("Set Year", 51), "1969"}});
  Dialog(Cell(51));
  Dialog(CalItem("Set Year", 60), {{CalItem("Set Year", 51), "  2038"}});
  Dialog(Cell(51));
  Dialog(CalItem("Set Year", 60), {{CalItem("Set Year", 51), "abc"}});
  Dialog(Cell(51));
  Dialog(CalItem("Set Year", 50));  // previous year from 1970 in the question
  Dialog(CalItem("Set Year", 60));
  Dialog(-1);
  Open();
  auto C = Calendars();
  ASSERT_EQ(C.size(), 11u);
  const char *Expected[][2] = {
      {" 1970 ", "  January"}, {" 2037 ", " December"}, {" 1970 ", "  January"},
      {" 2037 ", "  January"}, {" 1970 ", "  January"}, {" 2037 ", "  January"},
      {" 1970 ", "  January"}, {" 1970 ", "  January"}, {" 2037 ", "  January"}};
  for (int I = 0; I < 9; I++) {
    SCOPED_TRACE(I);
    EXPECT_STREQ(C[I + 2]->Items[Cell(51)].Data, Expected[I][0]);
    EXPECT_STREQ(C[I + 2]->Items[Cell(54)].Data, Expected[I][1]);
  }
  for (auto &Row : {std::make_pair(2, " 1970 |  January|(29) (30) (31)  1  2  3  4/"),
                    std::make_pair(3, " 2037 | December|(30)  1  2  3  4  5  6/")})
    EXPECT_EQ(Grid(*C[Row.first]).substr(0, strlen(Row.second)), Row.second);
}

TEST_F(AlmanacCalendar, SetMonthAndTodayAndTheHighlightedDay) {
  LoadAndChoose();
  SYSTEMTIME Now;
  GetLocalTime(&Now);
  GoTo(2023, 1);
  // The month question: previous wraps to December, this month, then accept.
  Dialog(Cell(54));
  Dialog(CalItem("Set Month", 50), {}, {{CalItem("Set Month", 1), 1}});
  Dialog(CalItem("Set Month", 60));
  Dialog(Cell(54));
  Dialog(CalItem("Set Month", 53));
  Dialog(-1);  // cancel keeps the month
  Dialog(Cell(56));
  Dialog(-1);
  Open();
  auto C = Calendars();
  ASSERT_EQ(C.size(), 6u);
  EXPECT_STREQ(C[3]->Items[Cell(54)].Data, " December");
  EXPECT_STREQ(C[4]->Items[Cell(54)].Data, " December");
  auto Dialogs = CallsOf(UiCall::Dialog);
  // The "Set Month" shown after "this month" stands on the current month.
  int Found = 0;
  for (auto *D : Dialogs)
    if (D->Title() == P->Msg(66) && D->DialogData.Result == -1)
      Found = D->DialogData.Items[CalItem("Set Month", Now.wMonth)].Selected;
  EXPECT_EQ(Found, 1);
  // Today brings back the current month with today highlighted.
  int F = IsoWeekday(Now.wYear, Now.wMonth, 1) - 1;
  EXPECT_EQ(Highlighted(*C[5]), Now.wDay + F);
  EXPECT_EQ(std::string(C[5]->Items[Cell(51)].Data), " " + std::to_string(Now.wYear) + " ");
  EXPECT_EQ(Highlighted(*C[0]), Now.wDay + F);
  for (auto *D : C) {
    int Focused = 0;
    for (auto &It : D->Items) Focused += It.Focus;
    EXPECT_EQ(Focused, 1);
  }
}

TEST_F(AlmanacCalendar, ChosenDayIsDeliveredBySlot11) {
  ASSERT_TRUE(LoadAlmanac());
  std::string K = Key("Format11");
  struct Case {
    DWORD Mode;
    int From;
    const char *Editor, *CommandLine;
  } Cases[] = {
      {0x10000, OPEN_EDITOR, "2024-02-15 Thu 046", ""},
      {0x10000, OPEN_VIEWER, "", "2024-02-15 Thu 046"},
      {0x10000, OPEN_PLUGINSMENU, "", "2024-02-15 Thu 046"},
      {0x10100, OPEN_EDITOR, "", ""},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(testing::Message() << std::hex << C.Mode << " from " << C.From);
    H.Editor.SetText("");
    H.CommandLine.clear();
    Menu(3);
    SetString(K, "Format", "%Y-%m-%d %a %j");
    SetDWord(K, "Mode", C.Mode);
    GoTo(2024, 2);
    Dialog(Cell(15 + 3));
    Open(C.From);
    EXPECT_EQ(H.Editor.GetText(), C.Editor);
    EXPECT_EQ(H.CommandLine, C.CommandLine);
    ExpectNoEmulatorFailures();
  }
}

TEST_F(AlmanacCalendar, DeliveredDateKeepsTheTimeOfOpening) {
  LoadAndChoose();
  SetString(Key("Format11"), "Format", "%H:%M:%S");
  SetDWord(Key("Format11"), "Mode", 0x10000);
  time_t Before = time(nullptr);
  emu::DialogAnswer Slow;
  Slow.Close = Cell(54);
  Slow.During = [](FarDialogItem *, int) { Sleep(2100); };
  H.AnswerDialog(Slow);
  Dialog(CalItem("Set Month", 60));
  Dialog(Cell(10));
  Open(OPEN_PLUGINSMENU);
  int Hh, Mm, Ss;
  ASSERT_EQ(sscanf(H.CommandLine.c_str(), "%d:%d:%d", &Hh, &Mm, &Ss), 3) << H.CommandLine;
  struct tm B = *localtime(&Before);
  int Delivered = Hh * 3600 + Mm * 60 + Ss, Opened = B.tm_hour * 3600 + B.tm_min * 60 + B.tm_sec;
  EXPECT_LE((Delivered - Opened + 86400) % 86400, 1) << "not the time of the choice";
}

TEST_F(AlmanacCalendar, MissingSlot11PutsAnEmptyTextOnTheClipboardRoute) {
  // Without slot 11 the day goes to the clipboard (Mode 0): nothing reaches
  // the editor or the command line, and its key is created empty.
  LoadAndChoose();
  Dialog(-1);
  Open(OPEN_EDITOR);
  EXPECT_EQ(H.Editor.GetText(), "");
  EXPECT_TRUE(KeyExists(Key("Format11")));
}
