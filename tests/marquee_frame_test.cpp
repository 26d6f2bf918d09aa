// Marquee loaded in the emulator: exports, menu entries, the failure guard
// and the error box; its registry routines against the real registry.
#include "fixture.h"
#include "frame/registry.h"

using namespace emu;

class MarqueeFrame : public HostTest {};

TEST_F(MarqueeFrame, GetPluginInfoFillsItsFieldsOnly) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  const PluginInfo &I = P->Info, &Pattern = P->InfoPattern;
  EXPECT_EQ(I.StructSize, (int)sizeof(PluginInfo));
  if (sizeof(void *) == 4) EXPECT_EQ(I.StructSize, 40);
  EXPECT_EQ(I.Flags, (FARDWORD)(PF_DISABLEPANELS | PF_EDITOR));
  EXPECT_EQ(I.DiskMenuStringsNumber, 0);
  EXPECT_EQ(I.DiskMenuStrings, Pattern.DiskMenuStrings) << "left as the host passed it";
  EXPECT_EQ(I.DiskMenuNumbers, Pattern.DiskMenuNumbers) << "left as the host passed it";
  EXPECT_EQ(I.CommandPrefix, nullptr);
  ASSERT_EQ(I.PluginMenuStringsNumber, 1);
  ASSERT_EQ(I.PluginConfigStringsNumber, 1);
  EXPECT_EQ(P->MenuStrings()[0], P->Msg(3));
  EXPECT_EQ(P->ConfigStrings()[0], P->Msg(3));
  EXPECT_EQ(I.PluginMenuStrings[0], P->Messages[3].c_str()) << "the host's own text";

  PluginInfo Again;
  memset(&Again, 0, sizeof Again);
  P->GetPluginInfo(&Again);
  EXPECT_EQ(Again.PluginMenuStrings, I.PluginMenuStrings);
  EXPECT_EQ(Again.PluginConfigStrings, I.PluginConfigStrings);
}

TEST_F(MarqueeFrame, StartupInfoReadsNoFurtherThanTheShortRecord) {
  // A host that passes the short record: the plug-in must not read past it.
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  auto *Short = (unsigned char *)VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  unsigned char *Rec = Short + 4096 - sizeof(PluginStartupInfo);
  memcpy(Rec, P->StartupInfo, sizeof(PluginStartupInfo));
  DWORD Old;
  VirtualProtect(Short + 4096, 4096, PAGE_NOACCESS, &Old);
  P->SetStartupInfo((const PluginStartupInfo *)Rec);
  H.AnswerDialog({});
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  VirtualFree(Short, 0, MEM_RELEASE);
}

TEST_F(MarqueeFrame, EventsItDoesNotHandleGoToTheHost) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  INPUT_RECORD Key;
  memset(&Key, 0, sizeof Key);
  Key.EventType = KEY_EVENT;
  EXPECT_EQ(H.SendInput(*P, Key), 0);
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(5, 5, 0, 0, MOUSE_MOVED)), 0);
  EXPECT_TRUE(H.Calls.empty());
}

TEST_F(MarqueeFrame, OpenPluginAndConfigureResults) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  H.AnswerDialog({});
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  H.AnswerDialog({});
  EXPECT_EQ(P->Configure(0), 0);
}

// The error box of a failed event: title, the text cut at ". ", one button.
static void ExpectEventErrorBox(const Plugin &P, const UiCall &Call) {
  ASSERT_EQ(Call.Type, UiCall::Message);
  const MessageCall &M = Call.MessageData;
  EXPECT_EQ(M.Flags, (FARDWORD)FMSG_WARNING);
  EXPECT_EQ(M.HelpTopic, "Exception");
  EXPECT_EQ(M.ButtonsNumber, 1);
  ASSERT_GE(M.Lines.size(), 3u);
  EXPECT_EQ(M.Lines.front(), P.Msg(16));
  EXPECT_EQ(M.Lines.back(), P.Msg(0));
  std::string Body;
  for (size_t I = 1; I + 1 < M.Lines.size(); I++) Body += M.Lines[I] + "|";
  std::string Expected = P.Msg(17);
  size_t Cut;
  while ((Cut = Expected.find(". ")) != std::string::npos) Expected.replace(Cut, 2, "|");
  EXPECT_EQ(Body, Expected + "|");
}

TEST_F(MarqueeFrame, GuardCatchesFaultsInsideHostServices) {
  const struct {
    Fault F;
    const char *Name;
  } Faults[] = {{Fault::RaiseException, "RaiseException"},
                {Fault::AccessViolation, "access violation"},
                {Fault::CppException, "the host's C++ exception"}};
  for (auto Case : Faults) {
    Fault F = Case.F;
    SCOPED_TRACE(Case.Name);
    Plugin *P = LoadMarquee();
    ASSERT_TRUE(P);
    H.Editor.SetText("some text\n");
    H.AnswerMessage(0);
    H.FailCall(Service::EditorControl, F);
    EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), 0);
    ASSERT_EQ(H.Calls.size(), 1u);
    ExpectEventErrorBox(*P, H.Calls[0]);

    // The plug-in keeps working (the press is consumed), and a second failure
    // shows the same box.
    EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), -1);
    EXPECT_EQ(H.Calls.size(), 1u);
    H.AnswerMessage(0);
    H.FailCall(Service::EditorControl, F);
    H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED));
    ASSERT_EQ(H.Calls.size(), 2u);
    EXPECT_EQ(H.Calls[1].MessageData.Lines, H.Calls[0].MessageData.Lines);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(MarqueeFrame, FailureInsideTheErrorBoxIsSwallowed) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  H.FailCall(Service::EditorControl, Fault::RaiseException);
  H.FailCall(Service::Message, Fault::AccessViolation);
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), 0);
  // A null message text from the host must not bring the plug-in down either.
  H.FailCall(Service::EditorControl, Fault::RaiseException);
  H.FailCall(Service::GetMsg, Fault::NullText);
  H.AnswerMessage(0);
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), 0);
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), -1);
}

TEST_F(MarqueeFrame, FailureAfterTheEventWasConsumedStillConsumesIt) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  H.Editor.SetText("some text\nmore text\n");
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(1, 1, FROM_LEFT_1ST_BUTTON_PRESSED)), -1);
  // A drag inside the text decides to consume the move before it places the
  // cursor; the failure there keeps that result.
  H.AnswerMessage(0);
  H.FailCall(Service::EditorControl, Fault::RaiseException, 2);
  EXPECT_EQ(H.SendInput(*P, Emulator::MouseEvent(4, 2, FROM_LEFT_1ST_BUTTON_PRESSED, 0,
                                                 MOUSE_MOVED)), -1);
  ASSERT_EQ(H.Calls.size(), 1u);
  ExpectEventErrorBox(*P, H.Calls[0]);
}

TEST_F(MarqueeFrame, OverlongRootKeyReadsDefaultsAndWritesNothing) {
  std::string Long = RootKey + "\\" + std::string(300, 'k');
  Plugin *P = H.Load(DistPath("Marquee/Marquee.dll"), Long, {"ProcessEditorInput"});
  ASSERT_TRUE(P);
  DialogAnswer Ok;
  Ok.Selected = {{4, 1}};
  Ok.Close = 8;
  H.AnswerDialog(Ok);
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(KeyExists(RootKey));
}

// The registry routines themselves, against the real registry.
class MarqueeRegistry : public HostTest {
protected:
  void SetUp() override {
    HostTest::SetUp();
    SetRegistryBasePath(RootKey.c_str(), "\\Marquee");
    Key = RootKey + "\\Marquee";
  }
  std::string Key;
  std::string ReadString(const char *Name, const char *Default = "def") {
    char *S = ReadStringValue(HKEY_CURRENT_USER, "", Name, Default);
    std::string Out = S ? S : "(null)";
    free(S);
    return Out;
  }
};

TEST_F(MarqueeRegistry, WriteThenReadBack) {
  int Method = 4;
  WriteDWordValue(HKEY_CURRENT_USER, "", "Method", &Method, sizeof Method);
  EXPECT_EQ(ReadDWordValue(HKEY_CURRENT_USER, "", "Method", 1), 4);
  WriteStringValue(HKEY_CURRENT_USER, "\\Type0", "Mask", "*.c,*.h");
  char *S = ReadStringValue(HKEY_CURRENT_USER, "\\Type0", "Mask", "");
  EXPECT_STREQ(S, "*.c,*.h");
  free(S);
  EXPECT_TRUE(KeyExists(Key + "\\Type0")) << "SubKey follows the base path without a separator";
  EXPECT_EQ(ReadDWordValue(HKEY_CURRENT_USER, "", "Missing", 77), 77);
  EXPECT_EQ(ReadString("Missing"), "def");
}

TEST_F(MarqueeRegistry, BadValuesYieldDefaultsOrTerminatedText) {
  const int NotChecked = -999;
  struct Case {
    DWORD Type;
    std::string Bytes;
    int DWordResult;
    std::string StringResult;
    const char *Why;
  } Cases[] = {
      {REG_SZ, std::string(8191, 'a') + '\0', 1, std::string(8191, 'a'), "longest string read"},
      {REG_SZ, std::string(8192, 'a') + '\0', 1, "def", "one byte too long for the buffer"},
      {REG_SZ, std::string(8191, 'b'), NotChecked, std::string(8191, 'b'), "long, no terminator"},
      {REG_SZ, "abc", NotChecked, "abc", "no terminator"},
      {REG_SZ, std::string("", 0), 1, "", "empty value"},
      {REG_BINARY, std::string("\x05\x00\x00", 3), 1, std::string("\x05", 1), "three bytes are no number"},
      {REG_BINARY, std::string("\x05\x00\x00\x00", 4), 5, std::string("\x05", 1), "four bytes of another type"},
      {REG_SZ, "12345\0", 1, "12345", "a string longer than four bytes is no number"},
      {REG_DWORD, std::string("\x03\x00\x00\x00", 4), 3, std::string("\x03", 1), "a number read as text"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    SetRaw(Key, "V", C.Type, C.Bytes);
    if (C.DWordResult != NotChecked)
      EXPECT_EQ(ReadDWordValue(HKEY_CURRENT_USER, "", "V", 1), C.DWordResult);
    EXPECT_EQ(ReadString("V"), C.StringResult);
  }
}

TEST_F(MarqueeRegistry, OverlongPathsAndNamesFailSafely) {
  std::string SubKey = "\\" + std::string(100, 's');
  WriteStringValue(HKEY_CURRENT_USER, SubKey.c_str(), "Mask", "x");
  EXPECT_FALSE(KeyExists(Key + SubKey)) << "a path over 79 characters is not written";
  std::string LongName(81, 'n');
  WriteStringValue(HKEY_CURRENT_USER, "", LongName.c_str(), "x");
  EXPECT_FALSE(ValueExists(Key, LongName.c_str()));
  std::string Name80(80, 'n');
  WriteStringValue(HKEY_CURRENT_USER, "", Name80.c_str(), "kept");
  EXPECT_EQ(ReadString(Name80.c_str()), "kept") << "80 characters fit the name buffer";
  SetString(Key + SubKey, "Mask", "stored by another tool");
  EXPECT_EQ(ReadString("Mask"), "def");
  char *S = ReadStringValue(HKEY_CURRENT_USER, SubKey.c_str(), "Mask", "def");
  EXPECT_STREQ(S, "def");
  free(S);

  // A base path that leaves no room fails every access.
  SetRegistryBasePath((RootKey + std::string(90, 'r')).c_str(), "\\Marquee");
  int V = 2;
  WriteDWordValue(HKEY_CURRENT_USER, "", "Method", &V, sizeof V);
  EXPECT_EQ(ReadDWordValue(HKEY_CURRENT_USER, "", "Method", 9), 9);
}
