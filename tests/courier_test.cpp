// Courier loaded in the emulator, sending through the stand-in LAN Manager:
// entry points and settings, the message dialog, sending, the history,
// network browsing and the failure handler.
#include "network_fixture.h"

#include <string>
#include <vector>

using namespace emu;

namespace {

enum { RECIPIENTS = 1, BROWSE = 2, FIRST_LINE = 4, SEND = 11, HISTORY = 12 };

struct Sent {
  std::wstring To, Text;
  DWORD Bytes;
};

class Courier : public NetworkTest {
protected:
  Plugin *LoadCourier(const std::string &Root = std::string()) {
    Plugin *P = H.Load(DistPath("Courier/Courier.dll"), Root.empty() ? RootKey : Root,
                       {"OpenPlugin", "Configure"});
    EXPECT_NE(P, nullptr);
    return P;
  }

  void SetNetwork(const char *Script) { ASSERT_EQ(Net.Load(Script), 0) << "script line"; }
  std::string Key() const { return PluginKey("Courier"); }

  std::string ReadValue(const char *Name) {
    HKEY K;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS)
      return "(missing)";
    std::vector<char> Data(8192, 0);
    DWORD Size = (DWORD)Data.size() - 1;
    LONG Status = RegQueryValueExA(K, Name, nullptr, nullptr, (BYTE *)Data.data(), &Size);
    RegCloseKey(K);
    return Status == ERROR_SUCCESS ? std::string(Data.data()) : "(missing)";
  }

  std::vector<std::string> History() {
    std::vector<std::string> Out;
    for (int N = 0; N < 10; N++) Out.push_back(ReadValue(("COURIER_message" + std::to_string(N)).c_str()));
    return Out;
  }

  void SetHistory(const std::vector<std::string> &Entries) {
    for (size_t N = 0; N < Entries.size(); N++)
      SetString(Key(), ("COURIER_message" + std::to_string(N)).c_str(), Entries[N]);
  }

  std::vector<Sent> Delivered() {
    std::vector<Sent> Out;
    for (int I = 0; I < Net.MessageCount(); I++) {
      const WCHAR *To, *Text;
      DWORD Bytes;
      Net.Message(I, &To, &Text, &Bytes);
      Out.push_back({To, Text, Bytes});
    }
    return Out;
  }

  // The message dialog's answer: recipients, lines by number (1 to 7), close.
  static DialogAnswer Compose(const std::string &To, std::vector<std::pair<int, std::string>> Lines,
                              int Close = SEND) {
    DialogAnswer A;
    A.Texts.push_back({RECIPIENTS, To});
    for (auto &L : Lines) A.Texts.push_back({FIRST_LINE + L.first - 1, L.second});
    A.Close = Close;
    return A;
  }
  static DialogAnswer Press(int Item) {
    DialogAnswer A;
    A.Close = Item;
    return A;
  }

  std::vector<const UiCall *> CallsOf(UiCall::Kind Kind) {
    std::vector<const UiCall *> Out;
    for (auto &C : H.Calls)
      if (C.Type == Kind) Out.push_back(&C);
    return Out;
  }

  static std::string Line(const UiCall *Dialog, int N) {
    return Dialog->DialogData.Items[FIRST_LINE + N - 1].Data;
  }

  static std::vector<std::string> MenuTexts(const UiCall *Menu) {
    std::vector<std::string> Out;
    for (auto &I : Menu->MenuData.Items) Out.push_back(I.Separator ? "-" : I.Text);
    return Out;
  }
};

std::wstring Oem(const std::string &Text) {
  std::wstring W(Text.size() + 1, L'\0');
  int N = MultiByteToWideChar(CP_OEMCP, 0, Text.c_str(), -1, &W[0], (int)W.size());
  W.resize(N > 0 ? N - 1 : 0);
  return W;
}

// --- Entry points and settings -------------------------------------------------

TEST_F(Courier, PluginInfoAndMenuTexts) {
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  const PluginInfo &I = P->Info;
  EXPECT_EQ(I.StructSize, (int)sizeof(PluginInfo));
  EXPECT_EQ(I.Flags, (FARDWORD)(PF_EDITOR | PF_VIEWER));
  EXPECT_EQ(I.DiskMenuStrings, nullptr);
  EXPECT_EQ(I.DiskMenuStringsNumber, 0);
  EXPECT_EQ(I.CommandPrefix, nullptr);
  EXPECT_EQ(P->MenuStrings(), std::vector<std::string>{P->Msg(2)});
  EXPECT_EQ(P->ConfigStrings(), std::vector<std::string>{P->Msg(9)});
  EXPECT_EQ(P->Configure(1), 0);
  EXPECT_EQ(P->Configure(-1), 0);
  EXPECT_TRUE(H.Calls.empty()) << "other configuration items show nothing";
  H.FailCall(Service::Dialog, Fault::AccessViolation);
  EXPECT_EQ(P->Configure(0), 0) << "a failure inside stays inside";
}

TEST_F(Courier, ConfigurationStoresDomainsOnlyOnOk) {
  struct {
    const char *Why;
    int Close;
    int Result;
    const char *Stored;
  } Cases[] = {
      {"OK stores the text", 1, 1, "WG;*DC:alpha"},
      {"Cancel stores nothing", 2, 0, "old"},
      {"Esc stores nothing", -1, 0, "old"},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetString(Key(), "Domains", "old");
    DialogAnswer A;
    A.Texts.push_back({0, "WG;*DC:alpha"});
    A.Close = C.Close;
    H.AnswerDialog(A);
    EXPECT_EQ(P->Configure(0), C.Result);
    EXPECT_EQ(ReadValue("Domains"), C.Stored);
    const DialogCall &D = LastCall().DialogData;
    EXPECT_EQ(std::vector<int>({D.X1, D.Y1, D.X2, D.Y2}), std::vector<int>({-1, -1, 55, 8}));
    ASSERT_EQ(D.Items.size(), 5u);
    EXPECT_STREQ(D.Items[0].Data, "old") << "the stored value is shown";
    EXPECT_EQ(D.Items[0].Type, DI_EDIT);
    EXPECT_TRUE(D.Items[0].Focus);
    EXPECT_EQ(D.Items[1].Data, P->Msg(1));
    EXPECT_TRUE(D.Items[1].DefaultButton);
    EXPECT_EQ(D.Items[3].Data, P->Msg(9));
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(Courier, UnreadableDomainsShowAsEmpty) {
  struct {
    const char *Why;
    DWORD Type;
    std::string Bytes;
    const char *Shown;
  } Cases[] = {
      {"longer than 511", REG_SZ, std::string(600, 'w') + '\0', ""},
      {"512 bytes with no terminator", REG_BINARY, std::string(512, 'w'), ""},
      {"no terminator, room for one", REG_BINARY, "abc", "abc"},
      {"exactly 511 characters", REG_SZ, std::string(511, 'w') + '\0', nullptr},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetRaw(Key(), "Domains", C.Type, C.Bytes);
    H.AnswerDialog(DialogAnswer());
    EXPECT_EQ(P->Configure(0), 0);
    std::string Expected = C.Shown ? C.Shown : C.Bytes.substr(0, 511);
    EXPECT_EQ(std::string(LastCall().DialogData.Items[0].Data), Expected);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(Courier, OverlongRootKeyWorksWithoutSettings) {
  std::string Long = RootKey + "\\" + std::string(80, 'k');
  Plugin *P = LoadCourier(Long);
  ASSERT_TRUE(P);
  H.AnswerDialog(Compose("alice", {{1, "hi"}}));
  EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
  ASSERT_EQ(Delivered().size(), 1u);
  DialogAnswer A;
  A.Texts.push_back({0, "WG"});
  A.Close = 1;
  H.AnswerDialog(A);
  EXPECT_EQ(P->Configure(0), 1);
  EXPECT_FALSE(KeyExists(Long)) << "nothing written under a cut or over-long path";
  EXPECT_FALSE(KeyExists(Long.substr(0, 79)));
}

// --- Sending ---------------------------------------------------------------------

TEST_F(Courier, SendsTheLinesToEachRecipientInOrder) {
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  std::string High;
  for (int C = 128; C < 256; C++) High += (char)C;
  // Line 2 empty stays; lines 5 to 7 empty are dropped.
  H.AnswerDialog(Compose("alice;bob", {{1, "Gr\x81\xE1" "e"}, {3, High}, {4, "end"}}));
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);

  std::wstring Text = L"Gr\u00FC\u00DFe\r\n\r\n" + Oem(High) + L"\r\nend";
  ASSERT_EQ(Oem(High).size(), 128u);
  std::vector<Sent> S = Delivered();
  ASSERT_EQ(S.size(), 2u);
  EXPECT_EQ(S[0].To, L"alice");
  EXPECT_EQ(S[1].To, L"bob");
  for (auto &M : S) {
    EXPECT_TRUE(M.Text == Text);
    EXPECT_EQ(M.Bytes, Text.size() * 2) << "without the terminator";
  }
  EXPECT_NE(std::string(Net.CallLog()).find("NetMessageBufferSend - alice -> 0\n"), std::string::npos)
      << "sent from the local computer with no sender name";

  // The busy notice came and went; nothing else was shown.
  auto Messages = CallsOf(UiCall::Message);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0]->MessageData.ButtonsNumber, 0);
  EXPECT_EQ(Messages[0]->MessageData.Lines, std::vector<std::string>({"", P->Msg(14)}));
  EXPECT_EQ(Messages[0]->MessageData.OpenScreens, 1) << "the screen is saved first";
  EXPECT_EQ(H.OpenScreens(), 0);
  EXPECT_EQ(H.Screens.size(), 1u);

  EXPECT_EQ(History()[0], "Gr\x81\xE1" "e\r\n\r\n" + High + "\r\nend");
  EXPECT_EQ(History()[1], "(missing)");
  ASSERT_EQ(H.Histories.size(), 1u);
  EXPECT_EQ(H.Histories[0].Name, "COURIER_Recipient");

  // The recipients come back on the next opening, the lines don't.
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_EDITOR, 0);
  const UiCall &D = LastCall();
  EXPECT_STREQ(D.DialogData.Items[RECIPIENTS].Data, "alice;bob");
  EXPECT_EQ(Line(&D, 1), "");
}

TEST_F(Courier, MessageDialogLayout) {
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  const DialogCall &D = LastCall().DialogData;
  EXPECT_EQ(std::vector<int>({D.X1, D.Y1, D.X2, D.Y2}), std::vector<int>({-1, -1, 72, 17}));
  ASSERT_EQ(D.Items.size(), 14u);
  const FarDialogItem &R = D.Items[RECIPIENTS];
  EXPECT_EQ(R.Flags, (FARDWORD)DIF_HISTORY);
  EXPECT_STREQ(R.History, "COURIER_Recipient");
  EXPECT_TRUE(R.Focus);
  for (int L = 0; L < 7; L++) {
    EXPECT_EQ(D.Items[FIRST_LINE + L].Flags, (FARDWORD)DIF_EDITOR);
    EXPECT_EQ(D.Items[FIRST_LINE + L].Y1, 5 + L);
  }
  EXPECT_EQ(D.Items[SEND].Data, P->Msg(6));
  EXPECT_TRUE(D.Items[SEND].DefaultButton);
  EXPECT_EQ(D.Items[BROWSE].Data, P->Msg(7));
  EXPECT_EQ(D.Items[HISTORY].Data, P->Msg(15));
  EXPECT_EQ(D.Items[13].Type, DI_DOUBLEBOX);
  EXPECT_EQ(D.Items[13].Data, P->Msg(3));
}

TEST_F(Courier, FirstFailedSendStopsAndShowsOneError) {
  SetNetwork("refuse | bob | 2273");
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  H.AnswerDialog(Compose("alice;BOB;carol", {{1, "hello"}}));
  H.AnswerMessage(0);
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);

  std::vector<Sent> S = Delivered();
  ASSERT_EQ(S.size(), 1u);
  EXPECT_EQ(S[0].To, L"alice");
  EXPECT_EQ(std::string(Net.CallLog()).find("carol"), std::string::npos) << "carol not tried";
  auto Messages = CallsOf(UiCall::Message);
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[0]->MessageData.ButtonsNumber, 0) << "the busy notice first";
  const MessageCall &E = Messages[1]->MessageData;
  EXPECT_EQ(E.Lines, std::vector<std::string>({P->Msg(0), P->Msg(11), P->Msg(1)}));
  EXPECT_EQ(E.Flags, (FARDWORD)FMSG_WARNING);
  EXPECT_EQ(E.ButtonsNumber, 1);
  EXPECT_EQ(E.OpenScreens, 0) << "the busy notice is gone before the error box";
  EXPECT_EQ(History()[0], "hello") << "stored all the same";

  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_STREQ(LastCall().DialogData.Items[RECIPIENTS].Data, "alice;BOB;carol");
}

TEST_F(Courier, NothingIsSentOrStoredWithoutTextRecipientsOrSend) {
  struct {
    const char *Why;
    DialogAnswer Answer;
  } Cases[] = {
      {"no text", Compose("alice", {}, SEND)},
      {"blank lines only", Compose("alice", {{1, ""}, {7, ""}}, SEND)},
      {"no recipient", Compose("", {{1, "hi"}}, SEND)},
      {"Esc", Compose("alice", {{1, "hi"}}, -1)},
      {"closed through another item", Compose("alice", {{1, "hi"}}, 13)},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    ASSERT_EQ(Net.Load(""), 0);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    H.AnswerDialog(C.Answer);
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
    EXPECT_TRUE(Delivered().empty());
    EXPECT_EQ(History()[0], "(missing)");
    EXPECT_EQ(H.Calls.size(), 1u) << "no box";
    H.AnswerDialog(Press(-1));
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
    EXPECT_STREQ(LastCall().DialogData.Items[RECIPIENTS].Data, "") << "recipients not kept";
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

// --- History -----------------------------------------------------------------------

TEST_F(Courier, HistoryAddsNewestLastSkipsDuplicatesDropsOldest) {
  std::vector<std::string> Ten;
  for (int N = 0; N < 10; N++) Ten.push_back("m" + std::to_string(N));
  struct {
    const char *Why;
    std::vector<std::string> Before;
    std::string Sent;
    std::vector<std::string> After;
  } Cases[] = {
      {"first", {}, "a", {"a"}},
      {"after three", {"a", "b", "c"}, "d", {"a", "b", "c", "d"}},
      {"duplicate keeps its place", {"a", "b", "c"}, "a", {"a", "b", "c"}},
      {"case counts", {"a"}, "A", {"a", "A"}},
      {"eleventh drops the oldest", Ten, "new",
       {"m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8", "m9", "new"}},
      {"duplicate of a full history", Ten, "m5", Ten},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetHistory(C.Before);
    H.AnswerDialog(Compose("alice", {{1, C.Sent}}));
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
    std::vector<std::string> Expected = C.After;
    Expected.resize(10, "(missing)");
    EXPECT_EQ(History(), Expected);
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(Key());
  }
}

TEST_F(Courier, HistoryButtonCyclesNewestToOldestAndWraps) {
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  SetHistory({"zero", "one\r\n\r\nthree", "two"});
  DialogAnswer Typed = Compose("alice", {{1, "typed"}, {2, "more"}}, HISTORY);
  H.AnswerDialog(Typed);
  for (int I = 0; I < 4; I++) H.AnswerDialog(Press(HISTORY));
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  auto Dialogs = CallsOf(UiCall::Dialog);
  ASSERT_EQ(Dialogs.size(), 6u);
  const char *Expected[][2] = {{"two", ""}, {"one", ""}, {"zero", ""}, {"two", ""}, {"one", ""}};
  for (int I = 0; I < 5; I++) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Line(Dialogs[I + 1], 1), Expected[I][0]);
    EXPECT_EQ(Line(Dialogs[I + 1], 2), Expected[I][1]) << "typed lines are replaced";
    EXPECT_STREQ(Dialogs[I + 1]->DialogData.Items[RECIPIENTS].Data, "alice");
  }
  EXPECT_EQ(Line(Dialogs[2], 3), "three");
  EXPECT_TRUE(Delivered().empty());
}

TEST_F(Courier, HistoryEntriesAreCutToTheDialog) {
  std::string Long(600, 'x');
  std::string Nine;
  for (int L = 1; L <= 9; L++) Nine += (L > 1 ? "\r\n" : "") + std::to_string(L);
  struct {
    const char *Why;
    std::vector<std::string> Entries;
    std::vector<std::string> Lines;
  } Cases[] = {
      {"nine lines show seven", {Nine}, {"1", "2", "3", "4", "5", "6", "7"}},
      {"long line cut to 510", {Long + "\r\nb"}, {std::string(510, 'x'), "b", "", "", "", "", ""}},
      // An entry that does not fit the 3584-byte buffer reads as empty.
      {"over-long entry is passed over", {"old", std::string(4000, 'y')}, {"old", "", "", "", "", "", ""}},
      {"empty history changes nothing", {}, {"typed", "", "", "", "", "", ""}},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetHistory(C.Entries);
    H.AnswerDialog(Compose("", {{1, "typed"}}, HISTORY));
    H.AnswerDialog(Press(-1));
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);
    const UiCall &D = LastCall();
    for (int L = 0; L < 7; L++) EXPECT_EQ(Line(&D, L + 1), C.Lines[L]) << "line " << L + 1;
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(Key());
  }
}

// --- Browsing ------------------------------------------------------------------------

const char *Office = R"(
network | Microsoft Windows Network
domain  | WORKGROUP | Microsoft Windows Network
generic | Nested | WORKGROUP
server  | \\BETA | Nested
server  | \\ALPHA | WORKGROUP
share   | \\ALPHA\Public | \\ALPHA
domain  | OFFICE | Microsoft Windows Network
server  | \\PDC | OFFICE
user    | \\ALPHA | alice
user    | \\ALPHA | ALPHA$ | trust
user    | \\ALPHA | bob
user    | \\ALPHA | guest | temp
dc      | OFFICE | \\PDC
user    | \\PDC | dave
user    | \\PDC | erin
user    | \\PDC | frank
denyusers | \\SECRET | 5
server  | \\SECRET | OFFICE
user    | \\Zürich | ursula
userbatch | 2
enumbatch | 1
)";

TEST_F(Courier, BrowseListsEverySourceKind) {
  struct {
    const char *Sources;
    std::vector<std::string> Menu;  // "-" a separator; empty: no menu
    const char *Queried;            // a call the stand-in must have seen
  } Cases[] = {
      {"", {"BETA", "ALPHA", "PDC", "SECRET"}, "WNetOpenEnumA scope 2 type 1 usage 0 (root)"},
      {"WORKGROUP", {"BETA", "ALPHA"}, "WNetOpenEnumA scope 2 type 1 usage 0 \"WORKGROUP\""},
      {"WORKGROUP;*DC:ALPHA", {"BETA", "ALPHA", "-", "alice", "bob"},
       "NetUserEnum \\\\ALPHA level 0 filter 2 resume 0"},
      {"*dC:alpha", {"alice", "bob"}, "NetUserEnum \\\\alpha level 0"},
      {"*d:office", {"dave", "erin", "frank"}, "NetUserEnum \\\\PDC level 0 filter 2 resume 2"},
      // The server's name goes from the OEM code page (0x81 is ü) to UTF-16.
      {"*DC:Z\x81rich", {"ursula"}, "NetUserEnum \\\\Zürich level 0"},
      {"*X:foo;OFFICE;", {"-", "PDC", "SECRET", "-"}, nullptr},
      {"*DC:SECRET;*D:NOWHERE;NOSUCH;*", {}, "NetGetDCName - NOWHERE -> 2453"},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Sources);
    SetNetwork(Office);
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetString(Key(), "Domains", C.Sources);
    H.AnswerDialog(Compose("before", {}, BROWSE));
    if (!C.Menu.empty()) H.AnswerMenu({-1, MenuAnswer::Esc});
    H.AnswerDialog(Press(-1));
    P->OpenPlugin(OPEN_PLUGINSMENU, 0);

    auto Menus = CallsOf(UiCall::Menu);
    ASSERT_EQ(Menus.size(), C.Menu.empty() ? 0u : 1u);
    if (!C.Menu.empty()) {
      const MenuCall &M = Menus[0]->MenuData;
      EXPECT_EQ(MenuTexts(Menus[0]), C.Menu);
      EXPECT_EQ(M.Flags, (DWORD)FMENU_AUTOHIGHLIGHT);
      EXPECT_EQ(std::vector<int>({M.X, M.Y, M.MaxHeight}), std::vector<int>({-1, -1, 0}));
      EXPECT_EQ(M.Title, "");
      EXPECT_EQ(M.Bottom, P->Msg(16));
      EXPECT_EQ(M.BreakKeys, std::vector<int>({VK_SPACE}));
      int Selected = 0;
      for (auto &I : M.Items) Selected += I.Selected;
      EXPECT_EQ(Selected, 1);
      for (auto &I : M.Items)
        if (!I.Separator) {
          EXPECT_TRUE(I.Selected) << "the first name takes the cursor";
          break;
        }
    }
    auto Messages = CallsOf(UiCall::Message);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0]->MessageData.Lines, std::vector<std::string>({"", P->Msg(13)}));
    EXPECT_EQ(H.OpenScreens(), 0);
    EXPECT_EQ(Net.Outstanding(), 0) << "every buffer released, every enumeration closed";
    if (C.Queried) EXPECT_NE(std::string(Net.CallLog()).find(C.Queried), std::string::npos) << Net.CallLog();
    EXPECT_STREQ(LastCall().DialogData.Items[RECIPIENTS].Data, "before") << "Esc leaves the field";
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(Courier, EveryBrowsePressListsTheSameSources) {
  SetNetwork(Office);
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  SetString(Key(), "Domains", "*DC:ALPHA;*D:OFFICE");
  for (int I = 0; I < 3; I++) {
    H.AnswerDialog(Press(BROWSE));
    H.AnswerMenu({-1, MenuAnswer::Esc});
  }
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 3u);
  for (auto *M : Menus)
    EXPECT_EQ(MenuTexts(M), std::vector<std::string>({"alice", "bob", "-", "dave", "erin", "frank"}));
}

TEST_F(Courier, SpaceMarksAndEnterJoinsTheMarkedNames) {
  SetNetwork(Office);
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  SetString(Key(), "Domains", "*DC:ALPHA;*D:OFFICE");
  // alice, bob, -, dave, erin, frank
  H.AnswerDialog(Compose("before", {{1, "hi"}}, BROWSE));
  H.AnswerMenu({3, MenuAnswer::BreakKey, VK_SPACE});   // dave
  H.AnswerMenu({1, MenuAnswer::BreakKey, VK_SPACE});   // bob; the cursor skips the separator
  H.AnswerMenu({5, MenuAnswer::BreakKey, VK_SPACE});   // frank, the last: the cursor stays
  H.AnswerMenu({5, MenuAnswer::BreakKey, VK_SPACE});   // frank unmarked again
  H.AnswerMenu({0, MenuAnswer::Enter});                 // Enter on alice, who is not marked
  H.AnswerDialog(Press(SEND));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);

  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 5u);
  auto Marks = [](const UiCall *M) {
    std::string S;
    for (auto &I : M->MenuData.Items) S += I.Separator ? '-' : I.Checked ? 'x' : '.';
    return S;
  };
  auto Cursor = [](const UiCall *M) {
    int At = -1, N = 0;
    for (size_t I = 0; I < M->MenuData.Items.size(); I++)
      if (M->MenuData.Items[I].Selected) At = (int)I, N++;
    return N == 1 ? At : -1;
  };
  EXPECT_EQ(Marks(Menus[1]), "..-x..");
  EXPECT_EQ(Cursor(Menus[1]), 4);
  EXPECT_EQ(Marks(Menus[2]), ".x-x..");
  EXPECT_EQ(Cursor(Menus[2]), 3);
  EXPECT_EQ(Marks(Menus[3]), ".x-x.x");
  EXPECT_EQ(Cursor(Menus[3]), 5);
  EXPECT_EQ(Marks(Menus[4]), ".x-x..");
  auto Dialogs = CallsOf(UiCall::Dialog);
  ASSERT_EQ(Dialogs.size(), 2u);
  EXPECT_STREQ(Dialogs[1]->DialogData.Items[RECIPIENTS].Data, "bob;dave") << "list order";
  EXPECT_EQ(Line(Dialogs[1], 1), "hi") << "the typed text survives browsing";
  std::vector<Sent> S = Delivered();
  ASSERT_EQ(S.size(), 2u);
  EXPECT_EQ(S[0].To, L"bob");
  EXPECT_EQ(S[1].To, L"dave");
}

TEST_F(Courier, EnterWithNothingMarkedTakesTheNameUnderTheCursor) {
  SetNetwork(Office);
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  SetString(Key(), "Domains", "*D:OFFICE");
  H.AnswerDialog(Compose("before", {}, BROWSE));
  H.AnswerMenu({2, MenuAnswer::Enter});
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  EXPECT_STREQ(LastCall().DialogData.Items[RECIPIENTS].Data, "frank");
}

TEST_F(Courier, NetworkNamesAreConvertedAndOverlongOnesLeftOut) {
  std::string Script = "user | \\\\ALPHA | " + std::string(128, 'n') + "\n" +
                       "user | \\\\ALPHA | " + std::string(127, 'm') + "\n" +
                       "user | \\\\ALPHA | J\u00FCrgen\n";
  SetNetwork(Script.c_str());
  Plugin *P = LoadCourier();
  ASSERT_TRUE(P);
  SetString(Key(), "Domains", "*DC:ALPHA");
  H.AnswerDialog(Press(BROWSE));
  H.AnswerMenu({-1, MenuAnswer::Esc});
  H.AnswerDialog(Press(-1));
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 1u);
  // ü is 0xFC in the ANSI code page and 0x81 in the OEM one.
  EXPECT_EQ(MenuTexts(Menus[0]), std::vector<std::string>({std::string(127, 'm'), "J\x81rgen"}));
}

// --- Failures -----------------------------------------------------------------------

// Makes the Nth next of Courier's large allocations (the dialog's items and
// its message buffers; the run-time library's own small ones go through)
// fail, by way of Courier's import table.
class FailingMalloc {
public:
  FailingMalloc(HMODULE Module, int Nth) {
    Countdown = Nth;
    Real = (void *(*)(size_t))GetProcAddress(GetModuleHandleA("msvcrt.dll"), "malloc");
    Slot = Nth > 0 ? FindImport(Module, "malloc") : nullptr;
    if (Slot) Swap((void *)Fail);
  }
  ~FailingMalloc() { Remove(); }
  // Before the module goes away.
  void Remove() {
    if (Slot) Swap((void *)Real);
    Slot = nullptr;
  }
  bool Installed() const { return Slot != nullptr; }

private:
  static void *Fail(size_t Size) { return Size >= 3000 && --Countdown == 0 ? nullptr : Real(Size); }
  void Swap(void *Target) {
    DWORD Old;
    VirtualProtect(Slot, sizeof *Slot, PAGE_READWRITE, &Old);
    *Slot = Target;
    VirtualProtect(Slot, sizeof *Slot, Old, &Old);
  }
  static void **FindImport(HMODULE Module, const char *Name) {
    auto Base = (BYTE *)Module;
    auto Nt = (IMAGE_NT_HEADERS *)(Base + ((IMAGE_DOS_HEADER *)Base)->e_lfanew);
    auto &Dir = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto D = (IMAGE_IMPORT_DESCRIPTOR *)(Base + Dir.VirtualAddress); D->Name; D++) {
      auto Names = (IMAGE_THUNK_DATA *)(Base + D->OriginalFirstThunk);
      auto Slots = (void **)(Base + D->FirstThunk);
      for (int I = 0; Names[I].u1.AddressOfData; I++) {
        if (IMAGE_SNAP_BY_ORDINAL(Names[I].u1.Ordinal)) continue;
        auto ByName = (IMAGE_IMPORT_BY_NAME *)(Base + Names[I].u1.AddressOfData);
        if (strcmp((const char *)ByName->Name, Name) == 0) return &Slots[I];
      }
    }
    return nullptr;
  }
  static int Countdown;
  static void *(*Real)(size_t);
  void **Slot;
};
int FailingMalloc::Countdown;
void *(*FailingMalloc::Real)(size_t);

TEST_F(Courier, FailuresInsideTheDialogShowMessage12AndCourierGoesOn) {
  enum How { DialogRaises, DialogAccessViolation, BusyNoticeRaises, SendCrashes, MenuRaises,
             OutOfMemoryAtOpening, OutOfMemoryAtSending };
  struct {
    const char *Why;
    How Fault;
    int Dialogs;  // how many message dialogs are shown before the failure
  } Cases[] = {
      {"the host's Dialog raises", DialogRaises, 0},
      {"the host's Dialog faults", DialogAccessViolation, 0},
      {"the busy notice's box raises", BusyNoticeRaises, 1},
      {"a network function faults while the notice is up", SendCrashes, 1},
      {"the host's Menu raises", MenuRaises, 1},
      {"no memory for the dialog", OutOfMemoryAtOpening, 0},
      {"no memory for the message", OutOfMemoryAtSending, 1},
  };
  for (auto &C : Cases) {
    SCOPED_TRACE(C.Why);
    SetNetwork((std::string(Office) + "crash | bob\n").c_str());
    Plugin *P = LoadCourier();
    ASSERT_TRUE(P);
    SetString(Key(), "Domains", "*DC:ALPHA");
    switch (C.Fault) {
      case DialogRaises: H.FailCall(Service::Dialog, Fault::RaiseException); break;
      case DialogAccessViolation: H.FailCall(Service::Dialog, Fault::AccessViolation); break;
      case BusyNoticeRaises: H.FailCall(Service::Message, Fault::RaiseException); break;
      case MenuRaises: H.FailCall(Service::Menu, Fault::RaiseException); break;
      default: break;
    }
    int FailAt = C.Fault == OutOfMemoryAtOpening ? 1 : C.Fault == OutOfMemoryAtSending ? 2 : 0;
    FailingMalloc NoMemory(P->Module, FailAt);
    if (FailAt) ASSERT_TRUE(NoMemory.Installed()) << "Courier imports no malloc";
    if (C.Dialogs) H.AnswerDialog(Compose("alice;bob;carol", {{1, "hi"}}, C.Fault == MenuRaises ? BROWSE : SEND));
    H.AnswerMessage(0);
    EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
    const UiCall &Box = LastCall();
    EXPECT_EQ(Box.MessageData.Lines, std::vector<std::string>({P->Msg(0), P->Msg(12), P->Msg(1)}));
    EXPECT_EQ(Box.MessageData.OpenScreens, 0) << "the busy notice's screen is restored first";
    EXPECT_EQ(History()[0], "(missing)") << "the dialog ended";

    // Courier keeps working.
    ASSERT_EQ(Net.Load(""), 0);
    H.AnswerDialog(Compose("dave", {{1, "again"}}));
    EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Delivered().size(), 1u);
    EXPECT_EQ(H.OpenScreens(), 0);
    NoMemory.Remove();
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(Key());
  }
}

}  // namespace
