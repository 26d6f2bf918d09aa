// The emulator's own services, answered like the host answers them. They are
// reached through the startup information handed to a loaded plug-in.
#include "fixture.h"

using namespace emu;

class EmulatorServices : public HostTest {
protected:
  Plugin *P = nullptr;
  PluginStartupInfo S;
  void SetUp() override {
    HostTest::SetUp();
    P = LoadMarquee();
    ASSERT_TRUE(P);
    memcpy(&S, P->StartupInfo, sizeof S);
  }
  int Menu(const std::vector<const char *> &Texts, const int *BreakKeys, int *BreakCode,
           int Selected = -1, int Separator = -1) {
    std::vector<FarMenuItem> Items(Texts.size());
    memset(Items.data(), 0, Items.size() * sizeof Items[0]);
    for (size_t I = 0; I < Texts.size(); I++) strcpy(Items[I].Text, Texts[I]);
    if (Selected >= 0) Items[Selected].Selected = 1;
    if (Separator >= 0) Items[Separator].Separator = 1;
    return S.Menu(S.ModuleNumber, -1, -1, 0, FMENU_WRAPMODE, "Title", "Bottom", "Contents",
                  BreakKeys, BreakCode, Items.data(), (int)Items.size());
  }
};

TEST_F(EmulatorServices, StartupInfoAsAModernHostPassesIt) {
  const PluginStartupInfo *I = (const PluginStartupInfo *)P->StartupInfo;
  EXPECT_EQ(I->StructSize, (int)sizeof P->StartupInfo);
  if (sizeof(void *) == 4) EXPECT_EQ(I->StructSize, FULL_STARTUP_INFO_SIZE);
  EXPECT_EQ(std::string(I->ModuleName), P->Path);
  EXPECT_STREQ(I->RootKey, RootKey.c_str());
  EXPECT_NE(I->ModuleNumber, 0);
  EXPECT_EQ(P->Path.substr(P->Path.size() - 11), "Marquee.dll");
}

TEST_F(EmulatorServices, LoaderNamesMissingAndDecoratedExports) {
  EXPECT_EQ(H.Load(DistPath("Marquee/Marquee.dll"), RootKey, {"PutAlmanac"}), nullptr);
  auto F = H.TakeFailures();
  ASSERT_EQ(F.size(), 1u);
  EXPECT_NE(F[0].find("PutAlmanac is missing"), std::string::npos) << F[0];
  if (sizeof(void *) != 4) GTEST_SKIP() << "64-bit exports carry no decoration";
  EXPECT_EQ(H.Load(DECORATED_DLL, RootKey, {}), nullptr);
  F = H.TakeFailures();
  ASSERT_EQ(F.size(), 2u);
  EXPECT_NE(F[0].find("SetStartupInfo is decorated"), std::string::npos) << F[0];
}

TEST_F(EmulatorServices, GetMsgUnknownNumberIsAFailure) {
  EXPECT_STREQ(S.GetMsg(S.ModuleNumber, 3), P->Msg(3).c_str());
  EXPECT_STREQ(S.GetMsg(S.ModuleNumber, 5000), "");
  EXPECT_EQ(H.TakeFailures().size(), 1u);
  S.GetMsg(S.ModuleNumber + 1, 0);
  EXPECT_EQ(H.TakeFailures().size(), 1u) << "a wrong ModuleNumber is caught";
}

TEST_F(EmulatorServices, MenuAnswers) {
  const int Keys[] = {VK_INSERT, 0x10026, 0};
  struct Case {
    MenuAnswer Answer;
    int Selected, Result, BreakCode;
    const char *Why;
  } Cases[] = {
      {{-1, MenuAnswer::Enter, 0}, -1, 0, -1, "Enter on the first item"},
      {{-1, MenuAnswer::Enter, 0}, 2, 2, -1, "Enter keeps the item that came selected"},
      {{1, MenuAnswer::Enter, 0}, 2, 1, -1, "highlight moved"},
      {{1, MenuAnswer::Esc, 0}, -1, -1, -1, "Esc"},
      {{2, MenuAnswer::BreakKey, 0x10026}, -1, 2, 1, "Ctrl+Up: index of the break key"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    H.AnswerMenu(C.Answer);
    int Code = 99;
    EXPECT_EQ(Menu({"a", "b", "c"}, Keys, &Code, C.Selected), C.Result);
    EXPECT_EQ(Code, C.BreakCode);
  }
  const MenuCall &M = LastCall().MenuData;
  EXPECT_EQ(M.Title, "Title");
  EXPECT_EQ(M.Bottom, "Bottom");
  EXPECT_EQ(M.BreakKeys, (std::vector<int>{VK_INSERT, 0x10026}));
  ASSERT_EQ(M.Items.size(), 3u);
  EXPECT_STREQ(M.Items[2].Text, "c");

  H.AnswerMenu({1, MenuAnswer::Enter, 0});
  Menu({"a", "", "c"}, nullptr, nullptr, -1, 1);
  EXPECT_EQ(H.TakeFailures().size(), 1u) << "a separator can't be highlighted";
  EXPECT_EQ(Menu({"a"}, nullptr, nullptr), -1) << "no answer queued: Esc";
  EXPECT_EQ(H.TakeFailures().size(), 1u);
}

TEST_F(EmulatorServices, DialogWritesBackOnlyWhenNotCancelled) {
  FarDialogItem Items[6];
  memset(Items, 0, sizeof Items);
  Items[0].Type = DI_DOUBLEBOX, strcpy(Items[0].Data, "Box");
  Items[1].Type = DI_EDIT, strcpy(Items[1].Data, "old");
  Items[2].Type = DI_RADIOBUTTON, Items[2].Flags = DIF_GROUP, Items[2].Selected = 1;
  Items[3].Type = DI_RADIOBUTTON;
  Items[4].Type = DI_EDIT, Items[4].Flags = DIF_HIDDEN;
  Items[5].Type = DI_BUTTON;
  DialogAnswer A;
  A.Texts = {{1, std::string(600, 'x')}};
  A.Selected = {{3, 1}};
  A.Close = -1;
  H.AnswerDialog(A);
  EXPECT_EQ(S.Dialog(S.ModuleNumber, -1, -1, 40, 10, "Contents", Items, 6), -1);
  EXPECT_STREQ(Items[1].Data, "old");
  EXPECT_EQ(Items[2].Selected, 1);

  A.Close = 5;
  H.AnswerDialog(A);
  EXPECT_EQ(S.Dialog(S.ModuleNumber, -1, -1, 40, 10, "Contents", Items, 6), 5);
  EXPECT_EQ(strlen(Items[1].Data), 511u) << "edit fields keep 511 characters";
  EXPECT_EQ(Items[2].Selected, 0) << "choosing a radio button clears its group";
  EXPECT_EQ(Items[3].Selected, 1);

  DialogAnswer Hidden;
  Hidden.Texts = {{4, "x"}};
  Hidden.Close = 5;
  H.AnswerDialog(Hidden);
  S.Dialog(S.ModuleNumber, -1, -1, 40, 10, "Contents", Items, 6);
  EXPECT_EQ(H.TakeFailures().size(), 1u) << "hidden items can't be touched";
  EXPECT_EQ(Items[4].Data[0], 0);
}

TEST_F(EmulatorServices, MessageBoxes) {
  const char *Lines[] = {"Title", "Body", "OK", "Cancel"};
  H.AnswerMessage(1);
  EXPECT_EQ(S.Message(S.ModuleNumber, FMSG_WARNING, nullptr, Lines, 4, 2), 1);
  EXPECT_EQ(S.Message(S.ModuleNumber, 0, nullptr, Lines, 2, 0), -1) << "no buttons: returns at once";
  SetLastError(ERROR_FILE_NOT_FOUND);
  H.AnswerMessage(-1);
  EXPECT_EQ(S.Message(S.ModuleNumber, FMSG_ERRORTYPE, nullptr, Lines, 3, 1), -1);
  EXPECT_FALSE(LastCall().MessageData.ErrorText.empty());
  std::string Shown = H.Render(LastCall());
  EXPECT_NE(Shown.find(" Title "), std::string::npos) << Shown;
  EXPECT_NE(Shown.find("[ OK ]"), std::string::npos) << Shown;
}

TEST_F(EmulatorServices, ScreensMustBeRestoredOnce) {
  void *A = S.SaveScreen(0, 0, -1, -1);
  void *B = S.SaveScreen(0, 0, -1, -1);
  EXPECT_NE(A, B);
  EXPECT_EQ(H.OpenScreens(), 2);
  S.RestoreScreen(A);
  S.RestoreScreen(B);
  EXPECT_EQ(H.OpenScreens(), 0);
  S.RestoreScreen(A);
  EXPECT_EQ(H.TakeFailures().size(), 1u);
}

TEST_F(EmulatorServices, CommandLineInsertsAtItsCursor) {
  H.CommandLine = "ab";
  H.CommandLineCursor = 1;
  S.Control(INVALID_HANDLE_VALUE, FCTL_INSERTCMDLINE, (void *)"XY");
  EXPECT_EQ(H.CommandLine, "aXYb");
  EXPECT_EQ(H.CommandLineCursor, 3u);
}

TEST_F(EmulatorServices, CmpNameMasks) {
  struct Case {
    const char *Mask, *Name;
    int SkipPath;
    bool Match;
  } Cases[] = {
      {"*.*", "README", 0, true},        {"*.*", "a.b.c", 0, true},
      {"*.c", "MAIN.C", 0, true},        {"*.c", "main.cpp", 0, false},
      {"?.h", "a.h", 0, true},           {"?.h", "ab.h", 0, false},
      {"[a-c,_]*", "_x", 0, true},       {"[a-c,_]*", "dx", 0, false},
      {"*.txt", "C:\\dir\\a.txt", 1, true}, {"a*", "C:\\dir\\b\\a1", 1, true},
      {"a*", "C:\\a\\b", 1, false},      {"*", "", 0, true},
      {"abc", "abc", 0, true},           {"abc", "abcd", 0, false},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(std::string(C.Mask) + " ~ " + C.Name);
    EXPECT_EQ(S.CmpName(C.Mask, C.Name, C.SkipPath) != 0, C.Match);
  }
}

TEST_F(EmulatorServices, FaultsOnRequest) {
  H.FailCall(Service::CmpName, Fault::ErrorResult);
  EXPECT_EQ(S.CmpName("*", "a", 0), 0);
  EXPECT_EQ(S.CmpName("*", "a", 0), 1) << "only the next call fails";
  H.FailCall(Service::GetMsg, Fault::NullText, 2);
  EXPECT_NE(S.GetMsg(S.ModuleNumber, 0), nullptr);
  EXPECT_EQ(S.GetMsg(S.ModuleNumber, 0), nullptr) << "the second call fails";
  H.FailCall(Service::EditorControl, Fault::NullText);
  EditorInfo Info;
  S.EditorControl(ECTL_GETINFO, &Info);
  EXPECT_EQ(Info.FileName, nullptr);
}

TEST(EmulatorLanguage, FileFormat) {
  char Path[MAX_PATH];
  GetTempPathA(MAX_PATH, Path);
  std::string File = std::string(Path) + "emulator_lang_test.lng";
  FILE *F = fopen(File.c_str(), "wb");
  fputs("// comment\r\n\r\n.Language=Russian,Russian\r\n\"first\"\r\n// skipped\r\n\"with \"quotes\"\"\n\"\"\n", F);
  fclose(F);
  std::string Lang;
  std::vector<std::string> Msgs;
  ASSERT_TRUE(ReadLanguageFile(File, &Lang, &Msgs));
  EXPECT_EQ(Lang, "Russian");
  EXPECT_EQ(Msgs, (std::vector<std::string>{"first", "with \"quotes\"", ""}));
  DeleteFileA(File.c_str());
}
