// Copy, cut and paste through the real Windows clipboard (under Wine), as
// the release of a mouse button runs them.
#include "marquee_mouse.h"

#include <algorithm>
#include <chrono>
#include <thread>

using namespace emu;
using namespace mouse;

namespace {

std::string Lines(int First, int Count) {
  std::string R;
  for (int I = First; I < First + Count; I++) R += "line" + std::to_string(I) + "\n";
  return R;
}

std::string OemToAnsi(std::string S) {
  OemToCharBuffA(S.data(), S.data(), (DWORD)S.size());
  return S;
}

// Every line break as CR LF, as a copy joins lines.
std::string CrLf(const std::string &S) {
  std::string R;
  for (size_t I = 0; I < S.size(); I++) {
    if (S[I] == '\r' || S[I] == '\n') {
      R += "\r\n";
      if (S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n') I++;
    } else {
      R += S[I];
    }
  }
  return R;
}

std::string OemToWide(const std::string &S) {
  std::wstring W(S.size(), L'\0');
  W.resize(MultiByteToWideChar(CP_OEMCP, 0, S.data(), (int)S.size(), &W[0], (int)W.size()));
  return Wide(W);
}

}  // namespace

class MarqueeBlocks : public MarqueeMouse {
protected:
  Plugin *P = nullptr;
  void SetUp() override {
    MarqueeMouse::SetUp();
    P = LoadWithMethod(2);
    ASSERT_TRUE(P);
  }
  // Method 2: a release with a block copies it, a right click pastes.
  void Copy() { Send(P, {Release(0, 1)}); }
  void Cut() { Send(P, {Release(0, 1, Shift)}); }
  void PasteAt(int X, int Y) { Send(P, {Press(X, Y, R), Release(X, Y)}); }
};

TEST_F(MarqueeBlocks, StreamCopyIsOnTheClipboardInThreeFormats) {
  H.Editor.SetText(Lines(0, 10));
  H.Editor.SetBlock(Block(BTYPE_STREAM, 5, 2, 1, 3));
  Copy();
  const std::string Text = "ne5\r\nline6\r\nlin";
  std::vector<UINT> Formats = ClipboardFormats();
  ASSERT_GE(Formats.size(), 3u);
  EXPECT_EQ(std::vector<UINT>(Formats.begin(), Formats.begin() + 3),
            (std::vector<UINT>{CF_OEMTEXT, CF_TEXT, CF_UNICODETEXT}));
  EXPECT_EQ(ClipboardBytes(CF_OEMTEXT), Z(Text));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), Z(Text));
  EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), Wide(L"ne5\r\nline6\r\nlin"));
  // The block and the cursor stay.
  ExpectBlock(Block(BTYPE_STREAM, 5, 2, 1, 3));
  EXPECT_EQ(H.Editor.GetText(), Lines(0, 10));
}

TEST_F(MarqueeBlocks, CharactersAbove127RoundTrip) {
  std::string High;
  for (int C = 128; C < 256; C++) High += (char)C;
  H.Editor.SetText(High + "\n\n");
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 0, 128, 1));
  Copy();
  EXPECT_TRUE(ClipboardBytes(CF_OEMTEXT) == Z(High));
  EXPECT_TRUE(ClipboardBytes(CF_TEXT) == Z(OemToAnsi(High)));
  EXPECT_TRUE(ClipboardBytes(CF_UNICODETEXT) == OemToWide(High));
  PasteAt(0, 2);
  EXPECT_TRUE(H.Editor.Line(1).Text == High) << "pasted back byte for byte";
}

TEST_F(MarqueeBlocks, ColumnCopyReplacesTheTextAndAddsTheVerticalBlock) {
  H.Editor.SetText("abcdefgh\nabcd\nabcdefgh\n");
  H.Editor.SetBlock(Block(BTYPE_COLUMN, 0, 2, 4, 3));
  FillClipboard({{CF_OEMTEXT, Z("stale text of an older copy")}});
  Copy();
  const std::string Rows = "cdef\r\ncd  \r\ncdef\r\n";
  EXPECT_EQ(ClipboardBytes(VerticalBlockFormat()), Z(Rows)) << "rows, each with CR LF, then NUL";
  std::vector<UINT> Formats = ClipboardFormats();
  ASSERT_GE(Formats.size(), 4u);
  EXPECT_EQ(std::vector<UINT>(Formats.begin(), Formats.begin() + 4),
            (std::vector<UINT>{CF_OEMTEXT, CF_TEXT, CF_UNICODETEXT, VerticalBlockFormat()}));
  EXPECT_EQ(ClipboardBytes(CF_OEMTEXT), Z(Rows));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), Z(Rows));
  // Marquee's own paste still takes the column.
  PasteAt(0, 1);
  EXPECT_EQ(H.Editor.GetText(), "cdefabcdefgh\ncd  abcd\ncdefabcdefgh\n");
}

TEST_F(MarqueeBlocks, Cut) {
  struct Case {
    const char *Why;
    std::string Text;
    EditorBlock Block;
    std::string After;
    int CurLine, CurPos;
    std::string Clip;
  } Cases[] = {
      {"stream over three lines", Lines(0, 10), Block(BTYPE_STREAM, 5, 2, 1, 3),
       Lines(0, 5) + "lie7\n" + Lines(8, 2), 5, 2, "ne5\r\nline6\r\nlin"},
      {"stream ending after a line break", Lines(0, 10), Block(BTYPE_STREAM, 5, 2, -2, 3),
       Lines(0, 5) + "liline7\n" + Lines(8, 2), 5, 2, "ne5\r\nline6\r\n"},
      {"stream within a line", "abcdef\n", Block(BTYPE_STREAM, 0, 1, 3, 1), "aef\n", 0, 1, "bcd"},
      {"stream to the end of the last line", "one\ntwo", Block(BTYPE_STREAM, 0, 1, 2, 2), "o",
       0, 1, "ne\r\ntwo"},
      {"column: short lines stay, no line goes", "abcdefgh\nab\nabcdefgh\nabcd\n",
       Block(BTYPE_COLUMN, 0, 2, 4, 4), "abgh\nab\nabgh\nab\n", 0, 2,
       "cdef\r\n    \r\ncdef\r\ncd  \r\n"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Editor.SetText(C.Text);
    H.Editor.SetBlock(C.Block);
    Cut();
    EXPECT_EQ(H.Editor.GetText(), C.After);
    ExpectCursor(C.CurLine, C.CurPos);
    ExpectBlock(Block(0, 0, 0, 0, 0));
    EXPECT_EQ(ClipboardText(CF_OEMTEXT), C.Clip);
  }
}

TEST_F(MarqueeBlocks, StreamPasteKeepsEveryLine) {
  struct Case {
    std::string Clip, After;
    int CurLine, CurPos;
  } Cases[] = {
      {"a\r\nb", "Xa\nbY\n", 1, 1},
      {"a\r\n\r\nb", "Xa\n\nbY\n", 2, 1},
      {"a\n\nb", "Xa\n\nbY\n", 2, 1},
      {"a\r\rb", "Xa\n\nbY\n", 2, 1},
      {"a\r\n", "Xa\nY\n", 1, 0},
      {"\r\n\r\n", "X\n\nY\n", 2, 0},
      {"plain", "XplainY\n", 0, 6},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.After);
    H.Editor.SetText("XY\n");
    H.Editor.SetOptions(EOPT_PERSISTENTBLOCKS);
    FillClipboard({{CF_OEMTEXT, Z(C.Clip)}});
    PasteAt(1, 1);
    EXPECT_EQ(H.Editor.GetText(), C.After);
    ExpectCursor(C.CurLine, C.CurPos);
    // Exactly the pasted text is selected: copying it gives the lines back.
    Copy();
    EXPECT_EQ(ClipboardText(CF_OEMTEXT), CrLf(C.Clip));
  }
}

TEST_F(MarqueeBlocks, CopiedLinesPasteBackUnchanged) {
  H.Editor.SetText("one\n\n\nfour\n");
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 0, 0, 5));
  Copy();
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "one\r\n\r\n\r\nfour\r\n");
  PasteAt(0, 5);
  EXPECT_EQ(H.Editor.GetText(), "one\n\n\nfour\none\n\n\nfour\n");
}

TEST_F(MarqueeBlocks, ColumnPaste) {
  const std::string Ten = "0123456789";
  struct Case {
    const char *Why;
    std::string Text, Payload;
    int X, Y;
    std::string After;
    EditorBlock Block;
  } Cases[] = {
      {"two rows into two lines", Lines(0, 8), "abc\r\ndef\r\n", 3, 5,
       Lines(0, 4) + "linabce4\nlindefe5\n" + Lines(6, 2), Block(BTYPE_COLUMN, 4, 3, 3, 2)},
      {"the last row without its CR LF", Lines(0, 8), "abc\r\ndef", 3, 5,
       Lines(0, 4) + "linabce4\nlindefe5\n" + Lines(6, 2), Block(BTYPE_COLUMN, 4, 3, 3, 2)},
      {"a CR as the last character ends the paste", Lines(0, 2), "abc\r", 0, 1,
       "abcline0\nline1\n", Block(BTYPE_COLUMN, 0, 0, 3, 1)},
      {"rows past the last line get lines of their own", Ten + "\n" + Ten,
       "abc\r\ndef\r\nghi\r\n", 4, 2, Ten + "\n0123abc456789\n    def\n    ghi",
       Block(BTYPE_COLUMN, 1, 4, 3, 3)},
      {"short lines are padded to the column", Ten + "\nab\n" + Ten + "\n",
       "abc\r\ndef\r\nghi\r\n", 5, 1, "01234abc56789\nab   def\n01234ghi56789\n",
       Block(BTYPE_COLUMN, 0, 5, 3, 3)},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Editor.SetText(C.Text);
    H.Editor.SetOptions(EOPT_PERSISTENTBLOCKS);
    FillClipboard({{CF_OEMTEXT, Z("text")}, {VerticalBlockFormat(), Z(C.Payload)}});
    PasteAt(C.X, C.Y);
    EXPECT_EQ(H.Editor.GetText(), C.After);
    ExpectCursor(C.Y - 1, C.X);
    ExpectBlock(C.Block);
  }
}

TEST_F(MarqueeBlocks, PasteTakesTextFromOtherPrograms) {
  const UINT Other = RegisterClipboardFormatA("Some Other Format");
  struct Case {
    const char *Why;
    std::vector<std::pair<UINT, std::string>> Clip;
    std::string After;  // "" for no change and no redraw
  } Cases[] = {
      {"Unicode text only, converted to OEM", {{CF_UNICODETEXT, Wide(L"caf\u00e9 \u00bd\r\nx")}},
       "caf\x82 \xAB\nx\n"},
      {"ANSI text only", {{CF_TEXT, Z("caf\xE9")}}, "caf\x82\n"},
      {"another format first, then text", {{Other, Z("other")}, {CF_TEXT, Z("plain")}},
       "plain\n"},
      // (Wine terminates text formats itself; a registered format shows the bound.)
      {"vertical block without a terminator", {{VerticalBlockFormat(), "ab\r\ncd"}}, "ab\ncd"},
      {"an empty vertical block does not fall back to the text",
       {{CF_OEMTEXT, Z("text")}, {VerticalBlockFormat(), Z("")}}, ""},
      {"no text at all", {{Other, Z("other")}}, ""},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.Editor.SetText("\n");
    FillClipboard(C.Clip);
    Send(P, {Press(0, 1, R)});
    int Redraws = H.Editor.RedrawCount();
    Send(P, {Release(0, 1)});
    EXPECT_EQ(H.Editor.GetText(), C.After.empty() ? "\n" : C.After);
    if (C.After.empty()) EXPECT_EQ(H.Editor.RedrawCount(), Redraws) << "no redraw";
  }
}

TEST_F(MarqueeBlocks, ClipboardHeldByAnotherThreadIsLeftAlone) {
  FillClipboard({{CF_OEMTEXT, Z("held")}});
  HANDLE Opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  bool Held = false;
  // Another program's window holds the clipboard open.
  std::thread Holder([&] {
    HWND Window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    Held = Window && OpenClipboard(Window);
    SetEvent(Opened);
    if (Held) {
      WaitForSingleObject(Done, 30000);
      CloseClipboard();
    }
    if (Window) DestroyWindow(Window);
  });
  WaitForSingleObject(Opened, 5000);
  if (!Held) {
    Holder.join();
    FAIL() << "the other thread could not open the clipboard";
  }
  H.Editor.SetText("alpha beta\n\n");
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 0, 5, 1));
  auto Start = std::chrono::steady_clock::now();
  Copy();
  PasteAt(0, 2);
  double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  SetEvent(Done);
  Holder.join();
  CloseHandle(Opened);
  CloseHandle(Done);
  EXPECT_LT(Seconds, 2.0);
  EXPECT_EQ(H.Editor.GetText(), "alpha beta\n\n") << "nothing pasted";
  EXPECT_EQ(ClipboardText(CF_OEMTEXT), "held") << "nothing copied";
}

// Work linear in the block's size: a 100,000-line block copied and pasted.
TEST_F(MarqueeBlocks, HundredThousandLines) {
  const int Count = 100000;
  std::string Text;
  for (int I = 0; I < Count; I++) Text += "line " + std::to_string(I) + " of the block\n";
  H.Editor.SetRecording(false);
  H.Editor.SetText(Text);
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 0, 0, Count + 1));
  auto Start = std::chrono::steady_clock::now();
  Copy();
  double CopySeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::string Clip = ClipboardText(CF_OEMTEXT);
  EXPECT_EQ(Clip.size(), Text.size() + Count);
  H.Editor.SetText("");
  Start = std::chrono::steady_clock::now();
  PasteAt(0, 1);
  double PasteSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::string Got = H.Editor.GetText();
  Got.erase(std::remove(Got.begin(), Got.end(), '\r'), Got.end());  // new lines get CR LF
  size_t Diff = std::mismatch(Got.begin(), Got.end(), Text.begin(), Text.end()).first -
                Got.begin();
  EXPECT_TRUE(Got == Text) << "pasted lines differ from byte " << Diff << " of " << Got.size()
                           << ": " << Got.substr(Diff > 20 ? Diff - 20 : 0, 60);
  // Cut all but the first and the last character.
  int LastLength = (int)H.Editor.Line(Count - 1).Text.size();
  H.Editor.SetBlock(Block(BTYPE_STREAM, 0, 1, LastLength - 2, Count));
  Start = std::chrono::steady_clock::now();
  Cut();
  double CutSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  EXPECT_EQ(H.Editor.LineCount(), 2);
  EXPECT_EQ(H.Editor.Line(0).Text, "lk");
  printf("100,000 lines: copy %.3f s, paste %.3f s, cut %.3f s\n", CopySeconds, PasteSeconds,
         CutSeconds);
  RecordProperty("CopyMilliseconds", (int)(CopySeconds * 1000));
  RecordProperty("PasteMilliseconds", (int)(PasteSeconds * 1000));
  RecordProperty("CutMilliseconds", (int)(CutSeconds * 1000));
  EXPECT_LT(CopySeconds, 5.0);
  EXPECT_LT(PasteSeconds, 5.0);
  EXPECT_LT(CutSeconds, 5.0);
}

TEST_F(MarqueeBlocks, NothingLeaksOverTenThousandEvents) {
  // The cycle's third click must come within the double-click time however
  // slowly a loaded machine runs it.
  SavedValue Speed("Control Panel\\Mouse", "DoubleClickSpeed");
  SetString("Control Panel\\Mouse", "DoubleClickSpeed", "600000");
  P->SetStartupInfo((const PluginStartupInfo *)P->StartupInfo);
  H.Editor.SetRecording(false);
  H.Editor.SetText("alpha beta\ngamma delta\n");
  // Cut a word, paste it back, select a word and a line: the text ends as it began.
  const std::vector<Ev> Cycle = {
      Press(1, 1, L), Move(6, 1, L), Release(6, 1, Shift), Press(1, 1, R), Release(1, 1),
      Press(2, 2, L), Release(2, 2), Double(2, 2, L), Release(2, 2), Press(2, 2, L),
      Release(2, 2), Move(3, 3, 0, 0, 0),
      Ev{Emulator::MouseEvent(1, 1, 0x00780000, 0, MOUSE_WHEELED), 0}};
  auto Run = [&](int Events) {
    for (int I = 0; I < Events; I++) {
      const Ev &E = Cycle[I % Cycle.size()];
      ASSERT_EQ(H.SendInput(*P, E.Rec), E.Result) << "event " << I;
    }
  };
  Run((int)Cycle.size() * 50);
  size_t Before = HeapBytesInUse();
  DWORD HandlesBefore = 0, HandlesAfter = 0;
  bool CountsHandles = GetProcessHandleCount(GetCurrentProcess(), &HandlesBefore) && HandlesBefore;
  Run((int)Cycle.size() * 770);  // 10,010 events
  size_t After = HeapBytesInUse();
  GetProcessHandleCount(GetCurrentProcess(), &HandlesAfter);
  EXPECT_EQ(H.Editor.GetText(), "alpha beta\ngamma delta\n");
  printf("heap in use before %zu, after %zu; handles %lu, %lu\n", Before, After,
         (unsigned long)HandlesBefore, (unsigned long)HandlesAfter);
  EXPECT_LT(After, Before + 4096) << "heap grew by " << (long long)(After - Before);
  if (CountsHandles)
    EXPECT_LE(HandlesAfter, HandlesBefore + 2) << "registry keys or clipboard blocks kept";
}
