// Almanac's clipboard deliveries: PutAlmanac called as other code in the
// host's process calls it, the viewer's quick insert, and the error box.
#include "almanac_fixture.h"

#include <thread>

using namespace emu;

static std::string ClipboardText(UINT Format = CF_TEXT) {
  std::string Out = "<none>";
  if (!OpenClipboard(nullptr)) return "<not opened>";
  if (HANDLE H = GetClipboardData(Format)) {
    if (const char *T = (const char *)GlobalLock(H)) {
      Out = T;
      GlobalUnlock(H);
    }
  }
  CloseClipboard();
  return Out;
}

typedef void(__cdecl *PutAlmanacFn)(const char *, struct tm *);

class AlmanacClipboard : public AlmanacTest {
protected:
  PutAlmanacFn Put() { return (PutAlmanacFn)(void *)P->Export("PutAlmanac"); }
};

TEST_F(AlmanacClipboard, PutAlmanacWithAndWithoutATime) {
  ASSERT_TRUE(LoadAlmanac());
  struct tm Ninth = {};
  Ninth.tm_year = 126, Ninth.tm_mon = 11, Ninth.tm_mday = 9, Ninth.tm_hour = 7, Ninth.tm_min = 5;
  Ninth.tm_sec = 3, Ninth.tm_wday = 3, Ninth.tm_yday = 342;
  struct Case {
    const char *Format;
    bool Given;
    std::string Expected;
  } Cases[] = {
      {"%d.%m.", true, "09.12."},
      {"100%%", true, "100%"},
      {"plain text", true, "plain text"},
      {"", true, ""},
      {"%Y-%m-%d %H:%M:%S %j %w %y %I %p %a %A %b %B", true,
       "2026-12-09 07:05:03 343 3 26 07 AM Wed Wednesday Dec December"},
      {"%U %W", true, "49 49"},
      {"%Y-%m-%d", false, Formatted("%Y-%m-%d")},
      {"%c|%x|%X", true, Formatted("%c|%x|%X", &Ninth)},
      {"%A", false, Formatted("%A")},
      // Longer than 79 characters: cut there, never past the buffer.
      {"%A %A %A %A %A %A %A %A %A %A", true, std::string("Wednesday Wednesday Wednesday Wednesday "
                                                          "Wednesday Wednesday Wednesday Wednesday")},
      {"%Q", true, ""},  // the runtime rejects it
      {"\x84\x94", true, "\xE4\xF6"},  // OEM letters reach the clipboard as ANSI
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Format);
    Put()(C.Format, C.Given ? &Ninth : nullptr);
    std::string Got = ClipboardText();
    if (C.Format[0] == '%' && C.Format[1] == 'Y' && !C.Given && Got != C.Expected)
      Got = ClipboardText();  // midnight passed
    EXPECT_EQ(Got, C.Expected);
    EXPECT_LE(Got.size(), 79u);
  }
  EXPECT_TRUE(H.Calls.empty());
}

TEST_F(AlmanacClipboard, ViewerQuickInsertAndFormatsMenuUseTheClipboard) {
  ASSERT_TRUE(LoadAlmanac());
  SetDWord(Key("Auto"), "Custom", 1);
  SetString(Key("Auto"), "Format", "v%Y");
  Menu(0);
  P->OpenPlugin(OPEN_VIEWER, 0);
  EXPECT_EQ(ClipboardText(), Formatted("v%Y"));
  EXPECT_EQ(H.CommandLine, "");

  // A slot whose place is the clipboard goes there from the editor too.
  SetString(Key("Format3"), "Name", "Three");
  SetString(Key("Format3"), "Format", "c%m");
  SetDWord(Key("Format3"), "Mode", 1);
  H.Editor.SetText("");
  Menu(1);
  Menu(3);
  P->OpenPlugin(OPEN_EDITOR, 0);
  EXPECT_EQ(ClipboardText(), Formatted("c%m"));
  EXPECT_EQ(H.Editor.GetText(), "");
}

TEST_F(AlmanacClipboard, ErrorBoxWhenAnotherThreadHoldsTheClipboard) {
  ASSERT_TRUE(LoadAlmanac());
  HANDLE Held = CreateEventA(nullptr, TRUE, FALSE, nullptr), Release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  BOOL Opened = FALSE;
  std::thread Holder([&] {
    // A window of another thread owns the clipboard while it is open.
    HWND Window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Opened = OpenClipboard(Window);
    SetEvent(Held);
    WaitForSingleObject(Release, 10000);
    CloseClipboard();
    DestroyWindow(Window);
  });
  WaitForSingleObject(Held, 10000);
  ASSERT_TRUE(Opened) << GetLastError();
  H.AnswerMessage(0);
  Put()("%Y", nullptr);
  SetEvent(Release);
  Holder.join();
  ASSERT_EQ(H.Calls.size(), 1u);
  const MessageCall &M = H.Calls[0].MessageData;
  EXPECT_EQ(M.Flags, (DWORD)(FMSG_WARNING | FMSG_ERRORTYPE));
  ASSERT_EQ(M.Lines.size(), 5u);
  EXPECT_EQ(M.Lines[0].compare(0, 7, "Error ("), 0) << M.Lines[0];
  EXPECT_EQ(M.Lines[0].back(), ')');
  EXPECT_NE(M.Lines[0], "Error (0)");
  EXPECT_EQ(M.Lines[1], "ClipboardError");
  EXPECT_EQ(M.Lines[2], "\x01");
  EXPECT_EQ(M.Lines[3], "Ok");
  EXPECT_EQ(M.Lines[4], "Cancel");
  EXPECT_EQ(M.ButtonsNumber, 2);
  EXPECT_FALSE(M.ErrorText.empty());
  // The clipboard was closed: it can be used again at once.
  Put()("again", nullptr);
  EXPECT_EQ(ClipboardText(), "again");
  CloseHandle(Held);
  CloseHandle(Release);
}
