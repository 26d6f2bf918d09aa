// Almanac's on-screen indicator, drawing into the real console screen
// buffer. Needs a terminal: ctest runs this program under a pseudo-terminal
// (see CMakeLists.txt); without one every test is skipped with a message.
#include "almanac_fixture.h"

#include <tlhelp32.h>

#include <algorithm>

using namespace emu;

class AlmanacIndicator : public AlmanacTest {
protected:
  HANDLE Out = GetStdHandle(STD_OUTPUT_HANDLE);
  SHORT Width = 0;

  void SetUp() override {
    AlmanacTest::SetUp();
    CONSOLE_SCREEN_BUFFER_INFO Info;
    if (!GetConsoleScreenBufferInfo(Out, &Info))
      GTEST_SKIP() << "no console: the indicator's tests need a terminal (run under script -qec)";
    Width = Info.dwSize.X;
    SetConsoleTitleA("before");
  }
  void Settings(const char *Format, DWORD Pause, DWORD Color, DWORD X, DWORD Y, DWORD Title = 0,
                DWORD Switch = 0) {
    std::string K = Key("Indicator");
    SetDWord(K, "Custom", 1);
    SetString(K, "Format", Format);
    SetDWord(K, "Pause", Pause);
    SetDWord(K, "Color", Color);
    SetDWord(K, "Xcoord", X);
    SetDWord(K, "Ycoord", Y);
    SetDWord(K, "Title", Title);
    SetDWord(K, "SwitchMode", Switch);
  }
  // Characters and colours in one call, as the host paints.
  void Paint(COORD At, const std::string &Text, WORD Attr) {
    std::vector<CHAR_INFO> Cells(Text.size());
    for (size_t I = 0; I < Text.size(); I++) {
      Cells[I].Char.AsciiChar = Text[I];
      Cells[I].Attributes = Attr;
    }
    COORD Size = {(SHORT)Text.size(), 1}, Origin = {0, 0};
    SMALL_RECT Rect = {At.X, At.Y, (SHORT)(At.X + Text.size() - 1), At.Y};
    WriteConsoleOutputA(Out, Cells.data(), Size, Origin, &Rect);
  }
  std::string Cells(COORD At, size_t Len, std::vector<WORD> *Attrs = nullptr) {
    std::string T(Len, '\0');
    std::vector<WORD> A(Len);
    DWORD N;
    ReadConsoleOutputCharacterA(Out, &T[0], (DWORD)Len, At, &N);
    ReadConsoleOutputAttribute(Out, A.data(), (DWORD)Len, At, &N);
    if (Attrs) *Attrs = A;
    return T;
  }
  // Waits until the cells hold Text in Attr; the milliseconds it took, or -1.
  int WaitFor(COORD At, const std::string &Text, WORD Attr, int Limit = 4000) {
    DWORD Start = GetTickCount();
    while ((int)(GetTickCount() - Start) < Limit) {
      std::vector<WORD> A;
      if (Cells(At, Text.size(), &A) == Text &&
          std::all_of(A.begin(), A.end(), [&](WORD W) { return W == Attr; }))
        return (int)(GetTickCount() - Start);
      Sleep(1);
    }
    return -1;
  }
  void Choose() {
    Menu(2);
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  }
};

TEST_F(AlmanacIndicator, DrawnRepairedAndRestored) {
  ASSERT_TRUE(LoadAlmanac());
  Settings("IND", 700, 0x1E, 2, 1, 1);
  COORD At = {(SHORT)(Width - 3 - 2), 1};
  Paint(At, "old", 0x07);
  Choose();
  ASSERT_GE(WaitFor(At, "IND", 0x1E, 500), 0) << "right end 2 columns from the edge, row 1";
  char Title[80] = "";
  GetConsoleTitleA(Title, sizeof Title);
  EXPECT_STREQ(Title, "IND");
  // The host paints over it: drawn again at once, the new content kept.
  Paint(At, "new", 0x2F);
  EXPECT_GE(WaitFor(At, "IND", 0x1E, 300), 0);
  DWORD Start = GetTickCount();
  if (WaitFor(At, "new", 0x2F) < 0) {
    std::vector<WORD> A;
    std::string C = Cells(At, 3, &A);
    FAIL() << "left: " << C << " " << std::hex << A[0] << " " << A[1] << " " << A[2];
  }
  EXPECT_GE(GetTickCount() - Start, 300u) << "shown for its time";
  GetConsoleTitleA(Title, sizeof Title);
  EXPECT_STREQ(Title, "before");
}

TEST_F(AlmanacIndicator, SwitchModeOneRemovesItZeroLeavesIt) {
  ASSERT_TRUE(LoadAlmanac());
  COORD At = {(SHORT)(Width - 2), 0};
  for (DWORD Switch : {1u, 0u}) {
    SCOPED_TRACE(Switch);
    Settings("SW", 2500, 0x4F, 0, 0, 0, Switch);
    Paint(At, "..", 0x07);
    Choose();
    ASSERT_GE(WaitFor(At, "SW", 0x4F, 500), 0);
    DWORD Second = GetTickCount();
    Choose();
    ASSERT_GE(WaitFor(At, "..", 0x07, 5000), 0);
    DWORD Took = GetTickCount() - Second;
    if (Switch) EXPECT_LT(Took, 1200u) << "removed at once";
    else EXPECT_GE(Took, 1500u) << "left alone";
  }
}

TEST_F(AlmanacIndicator, DisplayTimeFromMessage9AndColourUnderTheText) {
  ASSERT_TRUE(LoadAlmanac());
  Settings("T9", 0, 0, 0, 2);
  COORD At = {(SHORT)(Width - 2), 2};
  Paint(At, "xy", 0x5A);
  Choose();
  ASSERT_GE(WaitFor(At, "T9", 0x5A, 500), 0) << "the colour found under the text";
  DWORD Start = GetTickCount();
  ASSERT_GE(WaitFor(At, "xy", 0x5A, 3000), 0);
  int Ms = atoi(P->Msg(9).c_str());
  EXPECT_GE(GetTickCount() - Start + 150, (DWORD)Ms);
  EXPECT_LT(GetTickCount() - Start, (DWORD)Ms + 1500);
}

TEST_F(AlmanacIndicator, EmptyTextShowsNothingAndEndsCleanly) {
  ASSERT_TRUE(LoadAlmanac());
  Settings("", 300, 0x1E, 0, 0);
  COORD At = {(SHORT)(Width - 4), 0};
  Paint(At, "keep", 0x07);
  Choose();
  Sleep(100);
  EXPECT_EQ(Cells(At, 4), "keep");
  // A place outside the buffer: nothing is shown, the time still runs out.
  Settings("far", 200, 0x1E, 0xFFFF, 0);
  Choose();
  Sleep(100);
  EXPECT_EQ(Cells(At, 4), "keep");
  Sleep(300);
  // Ended: the next choice starts a new indicator.
  Settings("next", 300, 0x1E, 0, 0);
  Choose();
  EXPECT_GE(WaitFor(At, "next", 0x1E, 500), 0);
  EXPECT_GE(WaitFor(At, "keep", 0x07), 0);
}

TEST_F(AlmanacIndicator, CtrlOffEndsItWhenTheHeldKeysChange) {
  ASSERT_TRUE(LoadAlmanac());
  keybd_event(VK_CONTROL, 0, 0, 0);
  bool Held = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  if (!Held) {
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    GTEST_SKIP() << "this system does not let a test hold a key down";
  }
  Settings("CT", 3000, 0x3F, 0, 3);
  SetDWord(Key("Indicator"), "CtrlOff", 1);
  COORD At = {(SHORT)(Width - 2), 3};
  Paint(At, "--", 0x07);
  Choose();
  ASSERT_GE(WaitFor(At, "CT", 0x3F, 500), 0);
  DWORD Released = GetTickCount();
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
  ASSERT_GE(WaitFor(At, "--", 0x07, 5000), 0);
  EXPECT_LT(GetTickCount() - Released, 1500u) << "ended by the release, not the time";
}

// Live threads of this process (Wine lists an ended thread for a while).
static int ThreadCount() {
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (Snap == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 E;
  E.dwSize = sizeof E;
  int N = 0;
  for (BOOL More = Thread32First(Snap, &E); More; More = Thread32Next(Snap, &E))
    if (E.th32OwnerProcessID == GetCurrentProcessId()) {
      HANDLE T = OpenThread(THREAD_QUERY_INFORMATION, FALSE, E.th32ThreadID);
      DWORD Code = STILL_ACTIVE;
      if (T) {
        GetExitCodeThread(T, &Code);
        CloseHandle(T);
      }
      if (Code == STILL_ACTIVE) N++;
    }
  CloseHandle(Snap);
  return N;
}

TEST_F(AlmanacIndicator, StartedAndStoppedRepeatedly) {
  ASSERT_TRUE(LoadAlmanac());
  // Long enough that only the second choice ends it.
  Settings("ST", 20000, 0x5E, 1, 4, 1, 1);
  COORD At = {(SHORT)(Width - 2 - 1), 4};
  Paint(At, "ab", 0x07);
  // The count at rest, after some rounds.
  for (int I = 0; I < 10; I++) {
    Choose();
    ASSERT_GE(WaitFor(At, "ST", 0x5E, 2000), 0);
    ThreadCount();
    Choose();
    ASSERT_GE(WaitFor(At, "ab", 0x07, 2000), 0);
    Sleep(20);
  }
  Sleep(300);
  int Base = ThreadCount();
  ASSERT_GT(Base, 0);
  int MostThreads = Base, Slowest = 0;
  DWORD Started = GetTickCount();
  // 250, not 1,000: a round takes some 70 ms under Wine, and the whole
  // terminal run must stay within its time.
  const int Rounds = 250;
  for (int I = 0; I < Rounds; I++) {
    SCOPED_TRACE("round " + std::to_string(I));
    Choose();
    int Shown = WaitFor(At, "ST", 0x5E, 2000);
    ASSERT_GE(Shown, 0) << "not shown: the last indicator still counts as running";
    MostThreads = std::max(MostThreads, ThreadCount());
    Choose();
    int Gone = WaitFor(At, "ab", 0x07, 2000);
    ASSERT_GE(Gone, 0) << "the cells were not put back";
    // The worker still restores the title and lets go of the running flag
    // after the cells: a choice in that moment counts as a stop.
    Sleep(20);
    Slowest = std::max(Slowest, std::max(Shown, Gone));
  }
  DWORD Took = GetTickCount() - Started;
  printf("%d starts and stops in %lu ms; threads %d at rest, %d at most; slowest step %d ms\n",
         Rounds, (unsigned long)Took, Base, MostThreads, Slowest);
  Sleep(300);
  int Rest = ThreadCount();
  RecordProperty("Milliseconds", (int)Took);
  RecordProperty("MostThreads", MostThreads);
  RecordProperty("BaseThreads", Base);
  RecordProperty("RestThreads", Rest);
  // Under Wine one thread more than at rest stays from some round on (not yet
  // known whose); it does not grow with the rounds, and one worker per round
  // at most runs beside it.
  EXPECT_LE(MostThreads, Base + 2) << "two workers at once";
  EXPECT_LE(Rest, Base + 1) << "workers are left alive";
  char Title[80] = "";
  GetConsoleTitleA(Title, sizeof Title);
  EXPECT_STREQ(Title, "before");
  // Left at rest: the next choice shows it again, by itself it ends.
  Settings("ST", 200, 0x5E, 1, 4, 1, 1);
  Choose();
  EXPECT_GE(WaitFor(At, "ST", 0x5E, 1000), 0);
  EXPECT_GE(WaitFor(At, "ab", 0x07, 3000), 0);
}
