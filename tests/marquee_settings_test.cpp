// Settings that live in the user's system mouse key, shared by the whole
// Wine prefix: these tests hold a lock and put the value back.
#include "fixture.h"
#include "frame/registry.h"
#include "frame/zstr.h"

class MarqueeSystemSettings : public HostTest {};

TEST_F(MarqueeSystemSettings, DoubleClickSpeedIsReadFromTheSystemKey) {
  SavedValue Saved("Control Panel\\Mouse", "DoubleClickSpeed");
  SetString("Control Panel\\Mouse", "DoubleClickSpeed", " 300");
  SetRegistryBasePath("", "");
  char *S = ReadStringValue(HKEY_CURRENT_USER, "Control Panel\\Mouse", "DoubleClickSpeed", "500");
  EXPECT_EQ(ParseDecimal(S), 300);
  free(S);
  // Loading the plug-in reads it without writing anything there.
  ASSERT_TRUE(LoadMarquee());
  EXPECT_FALSE(KeyExists(RootKey + "\\Marquee")) << "reading settings creates no key";
}

// A double-click time edited by hand into a negative or huge number must not
// turn every later press into a line selection.
TEST_F(MarqueeSystemSettings, OddDoubleClickTimesLeaveOrdinaryPressesAlone) {
  SavedValue Saved("Control Panel\\Mouse", "DoubleClickSpeed");
  const DWORD L = FROM_LEFT_1ST_BUTTON_PRESSED;
  struct Case {
    const char *Speed;
    bool ThirdClickSelectsLine;
  } Cases[] = {{"-1", false}, {"2000000000", true}};
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Speed);
    H.Reset();
    SetString("Control Panel\\Mouse", "DoubleClickSpeed", C.Speed);
    emu::Plugin *P = LoadMarquee();  // Method 1: releases copy nothing
    ASSERT_TRUE(P);
    H.Editor.SetText("one two\nthree four\n");
    auto Send = [&](int X, int Y, DWORD B, DWORD Flags) {
      H.SendInput(*P, emu::Emulator::MouseEvent(X, Y, B, 0, Flags));
    };
    Send(5, 1, L, 0);  // before any word: an ordinary press
    EXPECT_EQ(H.Editor.Block().Type, BTYPE_NONE);
    EXPECT_EQ(H.Editor.CurPos(), 5);
    Send(5, 1, 0, 0);
    Send(5, 1, L, DOUBLE_CLICK);
    Send(5, 1, 0, 0);
    EXPECT_EQ(H.Editor.Block().Width, 3) << "the word two";
    Send(2, 2, L, 0);  // third click
    EXPECT_EQ(H.Editor.Block().Type, C.ThirdClickSelectsLine ? BTYPE_STREAM : BTYPE_NONE);
    Send(2, 2, 0, 0);
    Send(3, 2, L, 0);  // fourth click: ordinary
    EXPECT_EQ(H.Editor.Block().Type, BTYPE_NONE);
    EXPECT_EQ(H.Editor.CurLine(), 1);
    EXPECT_EQ(H.Editor.CurPos(), 3);
  }
}
