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
