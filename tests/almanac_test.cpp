// Almanac loaded in the emulator with its Dialog.gen: entry points, main
// menu, quick insert, the formats menu and the settings it stores.
#include "almanac_fixture.h"

using namespace emu;

class AlmanacMenus : public AlmanacTest {};

TEST_F(AlmanacMenus, PluginInfoAndNoUseMenu) {
  struct Case {
    bool Stored;
    DWORD NoUseMenu;
    int ConfigStrings;
  } Cases[] = {{false, 0, 1}, {true, 0, 1}, {true, 1, 0}, {true, 7, 0}};
  for (auto &C : Cases) {
    SCOPED_TRACE(testing::Message() << "NoUseMenu " << C.NoUseMenu << " stored " << C.Stored);
    H.Reset();
    if (C.Stored) SetDWord(Key("Config"), "NoUseMenu", C.NoUseMenu);
    ASSERT_TRUE(LoadAlmanac());
    EXPECT_EQ(P->Info.StructSize, (int)sizeof(PluginInfo));
    EXPECT_EQ(P->Info.Flags, (FARDWORD)(PF_EDITOR | PF_VIEWER));
    ASSERT_EQ(P->MenuStrings().size(), 1u);
    EXPECT_EQ(P->MenuStrings()[0], P->Msg(0));
    EXPECT_EQ((int)P->ConfigStrings().size(), C.ConfigStrings);
    EXPECT_TRUE(KeyExists(Key("Config"))) << "opened with creation";
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(AlmanacMenus, MainMenuFromOpenPlugin) {
  ASSERT_TRUE(LoadAlmanac());
  Menu(-1, MenuAnswer::Esc);
  EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
  ASSERT_EQ(H.Calls.size(), 1u);
  const MenuCall &M = H.Calls[0].MenuData;
  EXPECT_EQ(M.Title, P->Msg(5));
  EXPECT_EQ(M.Bottom, P->Msg(12));
  EXPECT_EQ(M.HelpTopic, "Contents");
  EXPECT_EQ(M.Flags, (DWORD)FMENU_WRAPMODE);
  EXPECT_EQ(M.X, -1);
  EXPECT_EQ(M.Y, -1);
  EXPECT_EQ(M.BreakKeys, std::vector<int>{VK_F4});
  ASSERT_EQ(M.Items.size(), 4u);
  for (int I = 0; I < 4; I++) EXPECT_EQ(std::string(M.Items[I].Text), P->Msg(1 + I));
  EXPECT_TRUE(H.CommandLine.empty());

  // F4 on the calendar item: its format dialog, then the menu again on that item.
  H.Calls.clear();
  Menu(3, MenuAnswer::BreakKey, VK_F4);
  Dialog(-1);
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  ASSERT_EQ(H.Calls.size(), 3u);
  EXPECT_EQ(H.Calls[1].Title(), P->Msg(22)) << "\"Main2\"";
  EXPECT_EQ(H.Calls[2].MenuData.Items[3].Selected, 1);
  EXPECT_EQ(H.Calls[2].MenuData.Items[0].Selected, 0);
}

TEST_F(AlmanacMenus, ConfigureOpensSettingsOnEnterAndF4) {
  ASSERT_TRUE(LoadAlmanac());
  Menu(-1, MenuAnswer::Esc);
  EXPECT_EQ(P->Configure(0), 0);

  // Enter on quick insert: "Auto" is shown and stored, then the menu ends.
  Menu(0);
  Dialog(MainItem("Auto", 10), {{MainItem("Auto", 4), "%Y"}}, {{MainItem("Auto", 3), 1}});
  EXPECT_EQ(P->Configure(0), 1);
  EXPECT_EQ(ReadDWord(Key("Auto"), "Custom"), 1u);
  EXPECT_EQ(ReadString(Key("Auto"), "Format"), "%Y");

  // F4 on the formats item opens "Menu" and shows the menu again.
  Menu(1, MenuAnswer::BreakKey, VK_F4);
  Dialog(MainItem("Menu", 10), {{MainItem("Menu", 4), "x"}});
  Menu(-1, MenuAnswer::Esc);
  EXPECT_EQ(P->Configure(0), 0);
  EXPECT_EQ(ReadDWord(Key("Menu"), "Custom"), 0u);
  EXPECT_EQ(ReadString(Key("Menu"), "Format"), "x");

  // The stored format is shown again, so that OK keeps it; cancel stores nothing.
  H.Calls.clear();
  Menu(0);
  Dialog(MainItem("Auto", 11), {{MainItem("Auto", 4), "changed"}});
  P->Configure(0);
  EXPECT_STREQ(H.Calls[1].DialogData.Items[MainItem("Auto", 4)].Data, "%Y");
  EXPECT_EQ(H.Calls[1].DialogData.Items[MainItem("Auto", 3)].Selected, 1);
  EXPECT_EQ(ReadString(Key("Auto"), "Format"), "%Y");
}

TEST_F(AlmanacMenus, QuickInsertByOriginWithCustomOnAndOff) {
  ASSERT_TRUE(LoadAlmanac());
  H.Editor.SetText("ab\n");
  H.Editor.SetCursor(0, 1);
  Menu(0);
  P->OpenPlugin(OPEN_EDITOR, 0);
  std::string Expected = "a" + Formatted(P->Msg(7).c_str()) + "b\n";
  EXPECT_EQ(H.Editor.GetText(), Expected);

  SetDWord(Key("Auto"), "Custom", 1);
  SetString(Key("Auto"), "Format", "[%Y]");
  Menu(0);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_EQ(H.CommandLine, Formatted("[%Y]"));
}

TEST_F(AlmanacMenus, WithoutDialogGenNothingIsShown) {
  // A copy of the plug-in alone in a folder of its own.
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  std::string Dir = std::string(Temp) + "almanac-alone-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(Dir.c_str(), nullptr);
  std::string Dll = Dir + "\\Almanac.dll", Lng = Dir + "\\AlmanacEng.lng";
  ASSERT_TRUE(CopyFileA(DistPath("Almanac/Almanac.dll").c_str(), Dll.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(DistPath("Almanac/AlmanacEng.lng").c_str(), Lng.c_str(), FALSE));
  ASSERT_TRUE(LoadAlmanac(Dll));
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(H.Calls.empty());
  // Configure still shows the menu; the settings dialogs do nothing.
  Menu(0);
  EXPECT_EQ(P->Configure(0), 1);
  EXPECT_EQ(H.Calls.size(), 1u);
  H.Reset();
  DeleteFileA(Dll.c_str());
  DeleteFileA(Lng.c_str());
  RemoveDirectoryA(Dir.c_str());
}

TEST_F(AlmanacMenus, LongRootKeysNeverOverrun) {
  // Paths that do not fit their 88-byte buffer are not used at all.
  for (size_t Len : {60u, 75u, 76u, 200u, 255u, 256u, 400u}) {
    SCOPED_TRACE(Len);
    H.Reset();
    std::string Root = RootKey + "\\" + std::string(Len - RootKey.size() - 1, 'r');
    P = H.Load(DistPath("Almanac/Almanac.dll"), Root, {"OpenPlugin", "Configure", "PutAlmanac"});
    ASSERT_TRUE(P);
    std::string Auto = Root + "\\Almanac\\Auto";
    bool Fits = Auto.size() <= 87;
    Menu(0);
    Dialog(MainItem("Auto", 10), {{MainItem("Auto", 4), "%Y"}}, {{MainItem("Auto", 3), 1}});
    EXPECT_EQ(P->Configure(0), 1);
    EXPECT_EQ(ValueExists(Auto, "Format"), Fits);
    H.Editor.SetText("");
    Menu(0);
    P->OpenPlugin(OPEN_EDITOR, 0);
    EXPECT_EQ(H.Editor.GetText(), Formatted(Fits ? "%Y" : P->Msg(7).c_str()));
  }
}

class AlmanacFormats : public AlmanacTest {
protected:
  void SetSlot(int Slot, const std::string &Name, const std::string &Format, DWORD Mode = 0) {
    std::string K = Key(("Format" + std::to_string(Slot)).c_str());
    SetString(K, "Name", Name);
    SetString(K, "Format", Format);
    SetDWord(K, "Mode", Mode);
  }
  std::string Line(int Slot, int Width, const char *Name, const std::string &Sample) {
    char Buf[256];
    if (Name) snprintf(Buf, sizeof Buf, "&%-2d \xB3 %-*s \xB3 %s", Slot, Width, Name, Sample.c_str());
    else snprintf(Buf, sizeof Buf, "&%-2d \xB3 %-*s \xB3 ", Slot, Width, "<None>");
    return Buf;
  }
};

TEST_F(AlmanacFormats, MenuShowsTenLinesWithSamples) {
  SetSlot(1, "Year", "%Y");
  SetSlot(3, "A rather long name", "no conversions");
  SetSlot(4, std::string(80, 'n'), "%Y");          // too long for the list
  SetSlot(5, "Long format", std::string(69, 'f'));  // 70 bytes: too long for a sample
  SetSlot(6, std::string(69, 'n'), "%Y");          // 70 bytes with its terminator
  SetSlot(7, "Fits", std::string(68, 'f'));
  ASSERT_TRUE(LoadAlmanac());
  Menu(1);
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  ASSERT_EQ(H.Calls.size(), 2u);
  const MenuCall &M = H.Calls[1].MenuData;
  EXPECT_EQ(M.Title, P->Msg(5));
  EXPECT_EQ(M.Bottom, P->Msg(11));
  EXPECT_EQ(M.BreakKeys, (std::vector<int>{VK_INSERT, VK_F4, VK_DELETE}));
  ASSERT_EQ(M.Items.size(), 10u);
  int W = 18;
  EXPECT_EQ(M.Items[0].Text, Line(0, W, P->Msg(6).c_str(), ""));
  EXPECT_EQ(M.Items[1].Text, Line(1, W, "Year", Formatted("%Y")));
  EXPECT_EQ(M.Items[2].Text, Line(2, W, nullptr, ""));
  EXPECT_EQ(M.Items[3].Text, Line(3, W, "A rather long name", "no conversions"));
  EXPECT_EQ(M.Items[4].Text, Line(4, W, nullptr, ""));
  EXPECT_EQ(M.Items[5].Text, Line(5, W, "Long format", ""));
  EXPECT_EQ(M.Items[6].Text, Line(6, W, nullptr, ""));
  EXPECT_EQ(M.Items[7].Text, Line(7, W, "Fits", std::string(50, 'f')));
  EXPECT_EQ(M.Items[0].Selected, 1);

  // The whole record is still there: F4 loads the long name, Enter delivers the long format.
  SetDWord(Key("Format5"), "Mode", 0x10001);
  H.Calls.clear();
  Menu(1);
  Menu(6, MenuAnswer::BreakKey, VK_F4);
  Dialog(-1);
  Menu(5);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  auto D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 1u);
  EXPECT_EQ(D[0]->DialogData.Items[MainItem("Main", 4)].Data, std::string(69, 'n'));
  EXPECT_EQ(H.CommandLine, std::string(69, 'f'));
}

TEST_F(AlmanacFormats, NamesShorterThanTenGetAColumnTenWide) {
  SetSlot(9, "Short", "%%");
  ASSERT_TRUE(LoadAlmanac());
  Menu(1);
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  const MenuCall &M = H.Calls[1].MenuData;
  EXPECT_EQ(M.Items[9].Text, Line(9, 10, "Short", "%"));
  EXPECT_EQ(M.Items[7].Text, Line(7, 10, nullptr, ""));
}

TEST_F(AlmanacFormats, InsF4AndDelEditTheRegistry) {
  ASSERT_TRUE(LoadAlmanac());
  int Name = MainItem("Main", 4), Format = MainItem("Main", 6), Save = MainItem("Main", 8);
  Menu(1);
  // Ins on slot 4: a new record; insert by origin, deliver at once.
  Menu(4, MenuAnswer::BreakKey, VK_INSERT);
  Dialog(Save, {{Name, "Day"}, {Format, "%d"}},
         {{MainItem("Main", 1), 1}, {MainItem("Main", 3), 1}});
  // F4 on slot 4 shows what was stored; clipboard chosen now.
  Menu(4, MenuAnswer::BreakKey, VK_F4);
  Dialog(Save, {}, {{MainItem("Main", 2), 1}});
  // Ins, F4 and Del on slot 0 do nothing.
  Menu(0, MenuAnswer::BreakKey, VK_INSERT);
  Menu(0, MenuAnswer::BreakKey, VK_DELETE);
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);

  std::string K = Key("Format4");
  DWORD Type;
  EXPECT_EQ(ReadString(K, "Name", &Type), "Day");
  EXPECT_EQ(Type, (DWORD)REG_SZ);
  EXPECT_EQ(ReadString(K, "Format", &Type), "%d");
  EXPECT_EQ(Type, (DWORD)REG_SZ);
  EXPECT_EQ(ReadDWord(K, "Mode", &Type), 1u) << "deliver at once, clipboard";
  EXPECT_EQ(Type, (DWORD)REG_DWORD);
  auto Dialogs = CallsOf(UiCall::Dialog);
  ASSERT_EQ(Dialogs.size(), 2u);
  EXPECT_STREQ(Dialogs[1]->DialogData.Items[Name].Data, "Day");
  EXPECT_EQ(Dialogs[1]->DialogData.Items[MainItem("Main", 1)].Selected, 1);
  EXPECT_EQ(Dialogs[1]->DialogData.Items[MainItem("Main", 3)].Selected, 1);
  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 6u);
  EXPECT_EQ(Menus[2]->MenuData.Items[4].Text, Line(4, 10, "Day", Formatted("%d")));
  EXPECT_EQ(Menus[2]->MenuData.Items[4].Selected, 1) << "stands on the slot";
  EXPECT_FALSE(KeyExists(Key("Format0")));

  // Del removes the slot without a question.
  H.Calls.clear();
  Menu(1);
  Menu(4, MenuAnswer::BreakKey, VK_DELETE);
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_FALSE(KeyExists(K));
  EXPECT_EQ(H.Calls.size(), 3u);
}

TEST_F(AlmanacFormats, ModeBitsAreReadAsBytes) {
  struct Case {
    DWORD Mode;
    int Insert, AtOnce;
  } Cases[] = {{0, 0, 0}, {0x10000, 1, 0}, {0x1, 0, 1}, {0x00FF00FF, 1, 1}, {0xFF000000, 0, 0},
               {0x100, 0, 0}};
  for (auto &C : Cases) {
    SCOPED_TRACE(testing::Message() << std::hex << C.Mode);
    H.Reset();
    ASSERT_TRUE(LoadAlmanac());
    SetSlot(2, "N", "F", C.Mode);
    H.Calls.clear();
    Menu(1);
    Menu(2, MenuAnswer::BreakKey, VK_F4);
    Dialog(-1);
    Menu(-1, MenuAnswer::Esc);
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
    ExpectNoEmulatorFailures();
    auto D = CallsOf(UiCall::Dialog);
    ASSERT_EQ(D.size(), 1u);
    auto &Items = D[0]->DialogData.Items;
    EXPECT_EQ(Items[MainItem("Main", 1)].Selected, C.Insert);
    EXPECT_EQ(Items[MainItem("Main", 2)].Selected, !C.Insert);
    EXPECT_EQ(Items[MainItem("Main", 3)].Selected, C.AtOnce);
  }
}

TEST_F(AlmanacFormats, EnterDeliversOrSavesByTheDialog) {
  SetSlot(1, "Year", "<%Y>", 0x10001);  // at once, by origin
  SetSlot(2, "Two", "%%2", 0x10000);    // by origin, with the dialog
  ASSERT_TRUE(LoadAlmanac());
  H.Editor.SetText("");
  Menu(1);
  Menu(1);
  P->OpenPlugin(OPEN_EDITOR, 0);
  EXPECT_EQ(H.Editor.GetText(), Formatted("<%Y>"));
  EXPECT_EQ(CallsOf(UiCall::Dialog).size(), 0u) << "no dialog";

  // Save keeps the dialog open; deliver then inserts the edited format.
  H.Calls.clear();
  Menu(1);
  Menu(2);
  Dialog(MainItem("Main", 8), {{MainItem("Main", 6), "%%3"}});
  Dialog(MainItem("Main", 7), {{MainItem("Main", 6), "%%4"}});
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_EQ(H.CommandLine, "%4");
  EXPECT_EQ(ReadString(Key("Format2"), "Format"), "%%3");

  // Slot 0: no save item, never stored; an empty slot's key is created empty.
  H.Calls.clear();
  Menu(1);
  Menu(0);
  Dialog(MainItem("Main", 9, {8}), {{MainItem("Main", 4, {8}), "zero"}});
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  auto D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 1u);
  EXPECT_EQ(D[0]->DialogData.Items.size(), LayoutOf("Almanac.dlg", "Main").Count - 1u);
  EXPECT_FALSE(ValueExists(Key("Format0"), "Name"));
  H.Calls.clear();
  Menu(1);
  Menu(6);
  Dialog(-1);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 1u);
  auto &Items = D[0]->DialogData.Items;
  EXPECT_STREQ(Items[MainItem("Main", 4)].Data, "");
  EXPECT_STREQ(Items[MainItem("Main", 6)].Data, "");
  EXPECT_EQ(Items[MainItem("Main", 2)].Selected, 1) << "clipboard";
  EXPECT_EQ(Items[MainItem("Main", 3)].Selected, 0);
  EXPECT_TRUE(KeyExists(Key("Format6")));
  EXPECT_FALSE(ValueExists(Key("Format6"), "Name"));
}

TEST_F(AlmanacFormats, CalendarFormatDialogStoresSlot11) {
  ASSERT_TRUE(LoadAlmanac());
  Menu(3, MenuAnswer::BreakKey, VK_F4);
  Dialog(MainItem("Main2", 8), {{MainItem("Main2", 4), "Cal"}, {MainItem("Main2", 6), "%j"}},
         {{MainItem("Main2", 1), 1}, {MainItem("Main2", 11), 1}});
  Menu(-1, MenuAnswer::Esc);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_EQ(ReadString(Key("Format11"), "Name"), "Cal");
  EXPECT_EQ(ReadString(Key("Format11"), "Format"), "%j");
  EXPECT_EQ(ReadDWord(Key("Format11"), "Mode"), 0x10100u);
  EXPECT_FALSE(KeyExists(Key("Format10")));
}

TEST_F(AlmanacMenus, IndicatorSettingsWithTheColourDialog) {
  std::string K = Key("Indicator");
  SetDWord(K, "Custom", 1);
  SetString(K, "Format", "abc");
  SetDWord(K, "Title", 1);
  SetDWord(K, "Color", 0x1E);
  SetDWord(K, "SwitchMode", 1);
  SetDWord(K, "Pause", 500);
  SetDWord(K, "Xcoord", 3);
  SetDWord(K, "Ycoord", 4);
  ASSERT_TRUE(LoadAlmanac());
  auto Ind = [](int Id) { return MainItem("Indicator", Id); };
  auto Col = [](int Id) { return ItemOf("color.dlg", "Color Select", Id); };
  Menu(2);
  Dialog(Ind(20), {}, {{Ind(12), 1}});                     // asks for the colour dialog
  Dialog(Col(243), {}, {{Col(16 + 4), 1}, {Col(31 + 2), 1}});  // foreground 4, background 0x20
  Dialog(Col(242));
  Dialog(Ind(20), {{Ind(7), "750"}, {Ind(8), ""}, {Ind(9), "abc"}}, {{Ind(14), 1}});
  EXPECT_EQ(P->Configure(0), 1);

  auto D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 4u);
  auto &First = D[0]->DialogData.Items;
  EXPECT_EQ(First[Ind(3)].Selected, 1);
  EXPECT_STREQ(First[Ind(4)].Data, "abc");
  EXPECT_EQ(First[Ind(6)].Selected, 1);
  EXPECT_EQ(First[Ind(10)].Selected, 1);
  EXPECT_EQ(First[Ind(14)].Selected, 0);
  EXPECT_STREQ(First[Ind(7)].Data, "500");
  auto &Colour = D[1]->DialogData.Items;
  EXPECT_EQ(Colour[Col(16 + 0xE)].Selected, 1) << "foreground E";
  EXPECT_EQ(Colour[Col(31 + 1)].Selected, 1) << "background 0x10";
  EXPECT_EQ(Colour[Col(243)].Flags & (DIF_SETCOLOR | DIF_COLORMASK), DIF_SETCOLOR | 0x1E);
  EXPECT_EQ(D[2]->DialogData.Items[Col(243)].Flags & DIF_COLORMASK, 0x24u) << "sample in the new colours";
  EXPECT_EQ(D[3]->DialogData.Items[Ind(12)].Selected, 0);
  EXPECT_EQ(D[3]->DialogData.Items[Ind(5)].Selected, 1);

  struct {
    const char *Name;
    DWORD Value;
  } Stored[] = {{"Custom", 1}, {"Title", 1}, {"Color", 0x24}, {"Pause", 750}, {"Xcoord", 3},
                {"Ycoord", 4}, {"SwitchMode", 1}, {"CtrlOff", 1}};
  for (auto &S : Stored) {
    DWORD Type;
    EXPECT_EQ(ReadDWord(K, S.Name, &Type), S.Value) << S.Name;
    EXPECT_EQ(Type, (DWORD)REG_DWORD) << S.Name;
  }
  EXPECT_EQ(ReadString(K, "Format"), "abc");

  // Cancel in the colour dialog keeps the colour; cancel of the settings stores nothing.
  H.Calls.clear();
  Menu(2);
  Dialog(Ind(20), {}, {{Ind(12), 1}});
  Dialog(-1, {}, {{Col(16 + 1), 1}});
  Dialog(Ind(20), {}, {{Ind(12), 1}});
  Dialog(Col(242), {}, {{Col(16 + 7), 1}});
  Dialog(-1, {{Ind(4), "gone"}});
  P->Configure(0);
  EXPECT_EQ(ReadDWord(K, "Color"), 0x24u);
  EXPECT_EQ(ReadString(K, "Format"), "abc");
  D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 5u);
  EXPECT_EQ(D[3]->DialogData.Items[Col(243)].Flags & DIF_COLORMASK, 0x24u) << "from the colour kept";
  // A colour of 0 opens the dialog on foreground 0, background 0x30.
  SetDWord(K, "Color", 0);
  H.Calls.clear();
  Menu(2);
  Dialog(Ind(20), {}, {{Ind(12), 1}});
  Dialog(-1);
  Dialog(-1);
  P->Configure(0);
  D = CallsOf(UiCall::Dialog);
  ASSERT_EQ(D.size(), 3u);
  EXPECT_EQ(D[1]->DialogData.Items[Col(1)].Selected, 1);
  EXPECT_EQ(D[1]->DialogData.Items[Col(31 + 3)].Selected, 1);
}
