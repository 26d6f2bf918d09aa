// Random mouse events on random documents in each scheme: no failure gets
// out, the text changes only through the block commands, and the heap ends
// where it began. The seed is fixed and printed; STRESS_SEED replaces it.
#include "marquee_mouse.h"

#include <random>

using namespace emu;
using namespace mouse;

namespace {

const int EventCount = 10000;

bool ChangesText(int Command) {
  return Command == ECTL_SETSTRING || Command == ECTL_INSERTSTRING ||
         Command == ECTL_DELETESTRING || Command == ECTL_DELETECHAR ||
         Command == ECTL_INSERTTEXT;
}

// Lines of words, tabs and high characters; some far wider than the window.
std::string RandomDocument(std::mt19937 &Rnd) {
  static const char Pieces[][8] = {"word", " ", "\t", "\t\t", "x", "_a1", "\xE0\xAE", ".,;", "  "};
  std::string Text;
  int Lines = (int)(Rnd() % 40);
  for (int L = 0; L < Lines; L++) {
    int Parts = Rnd() % 8 == 0 ? 60 + (int)(Rnd() % 80) : (int)(Rnd() % 12);
    for (int P = 0; P < Parts; P++) Text += Pieces[Rnd() % (sizeof Pieces / sizeof Pieces[0])];
    Text += Rnd() % 5 ? "\r\n" : "\n";
  }
  if (Rnd() % 2) Text += "last";
  return Text;
}

INPUT_RECORD RandomEvent(std::mt19937 &Rnd) {
  static const DWORD Flags[] = {0, 0, MOUSE_MOVED, MOUSE_MOVED, DOUBLE_CLICK, MOUSE_WHEELED};
  static const DWORD Keys[] = {SHIFT_PRESSED, LEFT_CTRL_PRESSED, RIGHT_CTRL_PRESSED,
                               LEFT_ALT_PRESSED, RIGHT_ALT_PRESSED, CAPSLOCK_ON, NUMLOCK_ON};
  DWORD Flag = Flags[Rnd() % 6];
  DWORD Buttons = 0;
  if (Rnd() % 3) {
    if (Rnd() % 2) Buttons |= mouse::L;
    if (Rnd() % 3 == 0) Buttons |= mouse::R;
    if (Rnd() % 6 == 0) Buttons |= mouse::M;
    if (Rnd() % 20 == 0) Buttons |= FROM_LEFT_3RD_BUTTON_PRESSED | FROM_LEFT_4TH_BUTTON_PRESSED;
  }
  if (Flag == MOUSE_WHEELED) Buttons |= (DWORD)(Rnd() % 2 ? 0x00780000u : 0xFF880000u) ^ (Rnd() & 0x00070000);
  DWORD ControlKeys = 0;
  for (DWORD K : Keys)
    if (Rnd() % 5 == 0) ControlKeys |= K;
  // Mostly on the screen, some just off it, a few anywhere.
  int X = (int)(Rnd() % 96) - 8, Y = (int)(Rnd() % 34) - 5;
  if (Rnd() % 50 == 0) X = (SHORT)Rnd();
  if (Rnd() % 50 == 0) Y = (SHORT)Rnd();
  return Emulator::MouseEvent(X, Y, Buttons, ControlKeys, Flag);
}

}  // namespace

class MarqueeStress : public MarqueeMouse, public ::testing::WithParamInterface<DWORD> {
protected:
  // The same document, editor and clipboard before each heap measure.
  void Settle() {
    H.Editor = EditorModel();
    H.Editor.SetText("settled\r\n");
    FillClipboard({{CF_TEXT, Z("settled")}});
  }
};

TEST_P(MarqueeStress, RandomEventsKeepTextAndHeap) {
  DWORD Method = GetParam();
  unsigned Seed = 20261211u + Method;
  if (const char *S = getenv("STRESS_SEED")) Seed = (unsigned)strtoul(S, nullptr, 10);
  printf("Method %lu: seed %u (STRESS_SEED=%u replays it)\n", (unsigned long)Method, Seed, Seed);
  RecordProperty("Seed", (int)Seed);
  Plugin *P = LoadWithMethod(Method);
  ASSERT_TRUE(P);
  std::mt19937 Rand(Seed);
  int Edits = 0;
  size_t Before = 0;
  DWORD HandlesBefore = 0, HandlesAfter = 0;
  DWORD Started = GetTickCount();
  // The first events warm up the heap's caches; the measure starts after them.
  const int Warm = 500;
  for (int I = 0; I < Warm + EventCount; I++) {
    if (I == Warm) {
      Settle();
      Before = HeapBytesInUse();
      GetProcessHandleCount(GetCurrentProcess(), &HandlesBefore);
    }
    if (I % 200 == 0) {
      std::string Doc = RandomDocument(Rand);
      H.Editor.SetText(Doc);
      H.Editor.SetCursor((int)(Rand() % 40), (int)(Rand() % 100));
      H.Editor.SetView((int)(Rand() % 40), (int)(Rand() % 60));
    }
    std::string Old = H.Editor.GetText();
    H.Editor.ClearCalls();
    INPUT_RECORD Rec = RandomEvent(Rand);
    int Result = H.SendInput(*P, Rec);
    const MOUSE_EVENT_RECORD &M = Rec.Event.MouseEvent;
    auto Where = [&] {
      char Buf[120];
      snprintf(Buf, sizeof Buf, "event %d: x %d y %d buttons %lx keys %lx flags %lx", I,
               M.dwMousePosition.X, M.dwMousePosition.Y, (unsigned long)M.dwButtonState,
               (unsigned long)M.dwControlKeyState, (unsigned long)M.dwEventFlags);
      return std::string(Buf);
    };
    ASSERT_TRUE(Result == 0 || Result == -1) << Where() << ": result " << Result;
    ASSERT_TRUE(H.Calls.empty()) << Where() << ": a box was shown: " << H.Render(H.Calls[0]);
    if (H.Editor.GetText() != Old) {
      Edits++;
      bool ByBlock = false;
      for (const EditorCall &C : H.Editor.Calls()) ByBlock |= ChangesText(C.Command);
      ASSERT_TRUE(ByBlock) << Where() << ": the text changed without a block command";
    }
    auto Failures = H.TakeFailures();
    ASSERT_TRUE(Failures.empty()) << Where() << ": " << Failures[0];
  }
  Settle();
  size_t After = HeapBytesInUse();
  GetProcessHandleCount(GetCurrentProcess(), &HandlesAfter);
  printf("Method %lu: %d events in %lu ms, %d changed the text; heap in use %zu before, %zu "
         "after; handles %lu, %lu\n",
         (unsigned long)Method, EventCount, (unsigned long)(GetTickCount() - Started), Edits,
         Before, After, (unsigned long)HandlesBefore, (unsigned long)HandlesAfter);
  RecordProperty("Edits", Edits);
  EXPECT_GT(Edits, 0) << "the events should reach copy, cut and paste";
  EXPECT_LT(After, Before + 1024) << "heap grew by " << (long long)(After - Before);
  EXPECT_LE(HandlesAfter, HandlesBefore + 2) << "registry keys or clipboard blocks kept";
}

INSTANTIATE_TEST_SUITE_P(Schemes, MarqueeStress, ::testing::Values(1u, 2u, 4u),
                         [](const ::testing::TestParamInfo<DWORD> &I) {
                           return "Method" + std::to_string(I.param);
                         });
