// Every entry point of Marquee and Courier with each host service made to
// fail in turn, at every call it makes; and every registry value the two read
// replaced by hand-made data. Nothing may crash or leave the plug-in unusable.
#include "network_fixture.h"

#include <functional>
#include <string>
#include <vector>

using namespace emu;

namespace {

const Service AllServices[] = {Service::Menu,          Service::Dialog,     Service::Message,
                               Service::GetMsg,        Service::Control,    Service::SaveScreen,
                               Service::RestoreScreen, Service::CmpName,    Service::EditorControl};
const Fault AllFaults[] = {Fault::ErrorResult, Fault::NullText, Fault::RaiseException,
                           Fault::AccessViolation};
const char *const ServiceNames[] = {"Menu",       "Dialog",        "Message", "GetMsg",
                                    "Control",    "SaveScreen",    "RestoreScreen",
                                    "CmpName",    "EditorControl"};
const char *const FaultNames[] = {"error result", "null text", "RaiseException",
                                  "access violation"};

bool IsException(Fault F) { return F == Fault::RaiseException || F == Fault::AccessViolation; }

// One user action through an entry point.
struct Scenario {
  const char *Name;
  std::function<void()> Prepare;  // registry and network as the action needs them
  std::function<void()> Script;   // the answers of an undisturbed run
  std::function<INT_PTR()> Enter;
  INT_PTR Done, Failed;  // results of an undisturbed run and of a caught failure
  // A caught failure may also return the undisturbed result: the entry point
  // returns what it held when the failure came, and it may have decided already.
  bool FailedMayBeDone = false;
  // The box a caught failure shows (its lines), or empty for no box.
  std::function<std::vector<std::string>()> ErrorBox;
  std::function<void()> CheckDone;  // what an undisturbed run leaves behind
  bool Guarded = true;  // false: no guard, so structured exceptions are not tried
  int BaseFault = -1;   // a service the script itself makes fail: not swept
};

class Hardening : public NetworkTest {
protected:
  void ClearRun() {
    H.Queue.clear();
    H.Faults.clear();
    H.Calls.clear();
    H.Screens.clear();
  }

  // The failures an undisturbed script brings when a fault turns the run
  // another way (boxes nobody answers, answers nobody asks for) are expected;
  // any other is reported.
  void ReportFailuresOfDisturbedRun() {
    for (auto &F : H.TakeFailures())
      if (F.find("no answer") == std::string::npos && F.find("the answer") == std::string::npos &&
          F.find("never used") == std::string::npos && F.find("no edit field") == std::string::npos)
        ADD_FAILURE() << "emulator: " << F;
  }

  void RunUndisturbed(const Scenario &S) {
    ClearRun();
    S.Prepare();
    S.Script();
    EXPECT_EQ(S.Enter(), S.Done);
    EXPECT_EQ(H.PendingAnswers(), 0u);
    EXPECT_EQ(H.OpenScreens(), 0);
    S.CheckDone();
    ExpectNoEmulatorFailures();
  }

  // Fails call N of the service for N = 1, 2, ... until the action finishes
  // without reaching call N.
  void SweepFaults(const Scenario &S) {
    SCOPED_TRACE(S.Name);
    RunUndisturbed(S);
    for (int Si = 0; Si < (int)(sizeof AllServices / sizeof *AllServices); Si++) {
      if (Si == S.BaseFault) continue;
      for (int Fi = 0; Fi < (int)(sizeof AllFaults / sizeof *AllFaults); Fi++) {
        Fault F = AllFaults[Fi];
        if (!S.Guarded && IsException(F)) continue;
        int N = 1;
        for (;; N++) {
          SCOPED_TRACE(std::string(ServiceNames[Si]) + ", " + FaultNames[Fi] + ", call " +
                       std::to_string(N));
          ClearRun();
          S.Prepare();
          S.Script();
          H.FailCall(AllServices[Si], F, N);
          INT_PTR Result = S.Enter();
          bool Reached = true;
          for (auto &Pending : H.Faults) Reached &= Pending.S != AllServices[Si];
          ReportFailuresOfDisturbedRun();
          if (!Reached) {
            EXPECT_EQ(Result, S.Done);
            break;
          }
          if (IsException(F)) {
            if (!(S.FailedMayBeDone && Result == S.Done)) EXPECT_EQ(Result, S.Failed);
            std::vector<std::string> Box = S.ErrorBox();
            if (!Box.empty()) {
              ASSERT_FALSE(H.Calls.empty());
              ASSERT_EQ(H.Calls.back().Type, UiCall::Message);
              EXPECT_EQ(H.Calls.back().MessageData.Lines, Box);
              if (AllServices[Si] != Service::RestoreScreen)
                EXPECT_EQ(H.Calls.back().MessageData.OpenScreens, 0);
            }
          }
          if (AllServices[Si] != Service::RestoreScreen) EXPECT_EQ(H.OpenScreens(), 0);
          if (N == 400) {
            ADD_FAILURE() << "still reaching the fault";
            break;
          }
        }
      }
      // Still working after every kind of failure of this service.
      RunUndisturbed(S);
    }
  }

  // ---- Marquee

  Plugin *M = nullptr;
  std::string MarqueeKey() const { return PluginKey("Marquee"); }

  static DialogAnswer Close(int Item, std::vector<std::pair<int, std::string>> Texts = {}) {
    DialogAnswer A;
    A.Texts = std::move(Texts);
    A.Close = Item;
    return A;
  }
  static MenuAnswer Key(int Highlight, int Code) {
    return MenuAnswer{Highlight, MenuAnswer::BreakKey, Code};
  }
  static MenuAnswer Esc() {
    MenuAnswer A;
    A.Press = MenuAnswer::Esc;
    return A;
  }

  // The configuration dialog (and with FileTypes the whole file-type menu:
  // insert, edit, delete) through OpenPlugin or Configure.
  Scenario MarqueeDialogs(bool FromConfigure, bool FileTypes) {
    Scenario S;
    S.Name = FromConfigure ? (FileTypes ? "Marquee Configure, file types" : "Marquee Configure")
                           : (FileTypes ? "Marquee OpenPlugin, file types" : "Marquee OpenPlugin");
    S.Prepare = [this] { DeleteRegistryTree(MarqueeKey()); };
    S.Script = [this, FileTypes] {
      if (FileTypes) {
        H.AnswerDialog(Close(6));
        H.AnswerMenu(Key(0, VK_INSERT));
        H.AnswerDialog(Close(9, {{2, "*.txt"}, {4, "Text"}, {7, "A-Za-z"}}));
        H.AnswerMenu(Key(0, VK_RETURN));
        H.AnswerDialog(Close(10));
        H.AnswerMenu(Key(0, VK_DELETE));
        H.AnswerMessage(0);
        H.AnswerMenu(Esc());
      }
      DialogAnswer Ok = Close(8);
      Ok.Selected.push_back({4, 1});
      H.AnswerDialog(Ok);
    };
    S.Enter = [this, FromConfigure]() -> INT_PTR {
      return FromConfigure ? M->Configure(0) : (INT_PTR)M->OpenPlugin(OPEN_EDITOR, 0);
    };
    S.Done = FromConfigure ? -1 : (INT_PTR)INVALID_HANDLE_VALUE;
    S.Failed = FromConfigure ? 0 : (INT_PTR)INVALID_HANDLE_VALUE;
    S.ErrorBox = [this] { return MarqueeErrorBox(18); };
    S.CheckDone = [this] {
      HKEY K;
      DWORD Method = 0, Size = sizeof Method;
      ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, MarqueeKey().c_str(), 0, KEY_QUERY_VALUE, &K),
                ERROR_SUCCESS);
      RegQueryValueExA(K, "Method", nullptr, nullptr, (BYTE *)&Method, &Size);
      RegCloseKey(K);
      EXPECT_EQ(Method, 4u);
      EXPECT_FALSE(KeyExists(MarqueeKey() + "\\Type0"));
    };
    return S;
  }

  std::vector<std::string> MarqueeErrorBox(int Msg) {
    std::vector<std::string> Lines{M->Msg(16)};
    std::string Text = M->Msg(Msg);
    for (size_t Cut; (Cut = Text.find(". ")) != std::string::npos;) {
      Lines.push_back(Text.substr(0, Cut));
      Text.erase(0, Cut + 2);
    }
    Lines.push_back(Text);
    Lines.push_back(M->Msg(0));
    return Lines;
  }

  Scenario MarqueeMousePress() {
    Scenario S;
    S.Name = "Marquee ProcessEditorInput";
    S.Prepare = [this] { H.Editor.SetText("one two\r\nthree\r\n"); };
    S.Script = [] {};
    S.Enter = [this]() -> INT_PTR {
      return H.SendInput(*M, Emulator::MouseEvent(3, 1, FROM_LEFT_1ST_BUTTON_PRESSED));
    };
    // A press in the text is consumed; a failure before it was decided gives 0.
    S.Done = -1;
    S.Failed = 0;
    S.FailedMayBeDone = true;
    S.ErrorBox = [this] { return MarqueeErrorBox(17); };
    S.CheckDone = [this] { EXPECT_EQ(H.Editor.GetText(), "one two\r\nthree\r\n"); };
    return S;
  }

  Scenario MarqueePluginInfo() {
    Scenario S;
    S.Name = "Marquee GetPluginInfo";
    S.Prepare = S.Script = [] {};
    S.Enter = [this]() -> INT_PTR {
      PluginInfo Info;
      memset(&Info, 0, sizeof Info);
      M->GetPluginInfo(&Info);
      return Info.PluginMenuStringsNumber;
    };
    S.Done = S.Failed = 1;
    S.ErrorBox = [] { return std::vector<std::string>(); };
    S.CheckDone = [] {};
    S.Guarded = false;
    return S;
  }

  // The action fails at its first call of Fail, so that the sweep disturbs
  // the error box itself.
  Scenario FailingAt(Scenario S, const char *Name, Service Fail, std::vector<std::string> Box) {
    S.Name = Name;
    S.Script = [this, Fail] {
      H.FailCall(Fail, Fault::RaiseException);
      H.AnswerMessage(0);
    };
    S.Done = S.Failed;
    S.BaseFault = (int)Fail;
    S.ErrorBox = [] { return std::vector<std::string>(); };
    S.CheckDone = [this, Box] {
      ASSERT_EQ(H.Calls.size(), 1u);
      EXPECT_EQ(H.Calls[0].MessageData.Lines, Box);
    };
    return S;
  }

  // ---- Courier

  Plugin *C = nullptr;
  std::string CourierKey() const { return PluginKey("Courier"); }

  void SetCourierString(const char *Name, const std::string &Value) {
    SetString(CourierKey(), Name, Value);
  }

  std::vector<std::string> CourierErrorBox() { return {C->Msg(0), C->Msg(12), C->Msg(1)}; }

  // Browse (mark a name, Enter), recall the history, send to two names, one
  // of which refuses: the send-failed box.
  Scenario CourierMessage() {
    Scenario S;
    S.Name = "Courier OpenPlugin";
    S.Prepare = [this] {
      DeleteRegistryTree(CourierKey());
      SetCourierString("Domains", "WORKGROUP;*DC:ALPHA");
      SetCourierString("COURIER_message0", "earlier\r\ntext");
      ASSERT_EQ(Net.Load("network | Net\n"
                         "domain | WORKGROUP | Net\n"
                         "server | \\\\ALPHA | WORKGROUP\n"
                         "user | \\\\ALPHA | alice\n"
                         "user | \\\\ALPHA | bob\n"
                         "refuse | bob | 2273\n"),
                0);
    };
    S.Script = [this] {
      DialogAnswer Browse;
      Browse.Close = 2;
      H.AnswerDialog(Browse);
      H.AnswerMenu({2, MenuAnswer::BreakKey, VK_SPACE});
      H.AnswerMenu({3, MenuAnswer::BreakKey, VK_SPACE});
      H.AnswerMenu({3, MenuAnswer::Enter, 0});
      DialogAnswer History;
      History.Close = 12;
      H.AnswerDialog(History);
      DialogAnswer Send;
      Send.Texts.push_back({6, "third"});
      Send.Close = 11;
      H.AnswerDialog(Send);
      H.AnswerMessage(0);  // bob refuses
    };
    S.Enter = [this]() -> INT_PTR { return (INT_PTR)C->OpenPlugin(OPEN_PLUGINSMENU, 0); };
    S.Done = S.Failed = (INT_PTR)INVALID_HANDLE_VALUE;
    S.ErrorBox = [this] { return CourierErrorBox(); };
    S.CheckDone = [this] {
      ASSERT_EQ(Net.MessageCount(), 1);
      const WCHAR *To, *Text;
      DWORD Bytes;
      Net.Message(0, &To, &Text, &Bytes);
      EXPECT_EQ(std::wstring(To), L"alice");
      EXPECT_EQ(std::wstring(Text), L"earlier\r\ntext\r\nthird");
      ASSERT_FALSE(H.Calls.empty());
      EXPECT_EQ(H.Calls.back().MessageData.Lines,
                std::vector<std::string>({C->Msg(0), C->Msg(11), C->Msg(1)}));
    };
    return S;
  }

  Scenario CourierConfigure() {
    Scenario S;
    S.Name = "Courier Configure";
    S.Prepare = [this] {
      DeleteRegistryTree(CourierKey());
      SetCourierString("Domains", "OLD");
    };
    S.Script = [this] {
      DialogAnswer Ok;
      Ok.Texts.push_back({0, "WORKGROUP"});
      Ok.Close = 1;
      H.AnswerDialog(Ok);
    };
    S.Enter = [this]() -> INT_PTR { return C->Configure(0); };
    S.Done = 1;
    S.Failed = 0;
    S.ErrorBox = [] { return std::vector<std::string>(); };
    S.CheckDone = [this] {
      HKEY K;
      char Text[64] = "";
      DWORD Size = sizeof Text;
      ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, CourierKey().c_str(), 0, KEY_QUERY_VALUE, &K),
                ERROR_SUCCESS);
      RegQueryValueExA(K, "Domains", nullptr, nullptr, (BYTE *)Text, &Size);
      RegCloseKey(K);
      EXPECT_STREQ(Text, "WORKGROUP");
    };
    return S;
  }

  Scenario CourierPluginInfo() {
    Scenario S;
    S.Name = "Courier GetPluginInfo";
    S.Prepare = S.Script = [] {};
    S.Enter = [this]() -> INT_PTR {
      PluginInfo Info;
      memset(&Info, 0, sizeof Info);
      C->GetPluginInfo(&Info);
      return Info.PluginMenuStrings && Info.PluginMenuStrings[0] && Info.PluginConfigStrings &&
             Info.PluginConfigStrings[0];
    };
    S.Done = S.Failed = 1;
    S.ErrorBox = [] { return std::vector<std::string>(); };
    S.CheckDone = [] {};
    S.Guarded = false;
    return S;
  }
};

TEST_F(Hardening, MarqueeSurvivesEveryServiceFailingAtEveryCall) {
  M = H.Load(DistPath("Marquee/Marquee.dll"), RootKey, {"OpenPlugin", "Configure"});
  ASSERT_TRUE(M);
  SweepFaults(MarqueePluginInfo());
  SweepFaults(MarqueeMousePress());
  for (bool FromConfigure : {true, false})
    for (bool FileTypes : {false, true}) SweepFaults(MarqueeDialogs(FromConfigure, FileTypes));
  SweepFaults(FailingAt(MarqueeDialogs(true, false), "Marquee Configure, error box",
                        Service::Dialog, MarqueeErrorBox(18)));
  SweepFaults(FailingAt(MarqueeMousePress(), "Marquee ProcessEditorInput, error box",
                        Service::EditorControl, MarqueeErrorBox(17)));
}

TEST_F(Hardening, CourierSurvivesEveryServiceFailingAtEveryCall) {
  C = H.Load(DistPath("Courier/Courier.dll"), RootKey, {"OpenPlugin", "Configure"});
  ASSERT_TRUE(C);
  SweepFaults(CourierPluginInfo());
  SweepFaults(CourierConfigure());
  SweepFaults(CourierMessage());
  SweepFaults(FailingAt(CourierMessage(), "Courier OpenPlugin, error box", Service::Dialog,
                        CourierErrorBox()));
}

// ---- Registry values edited by hand or by other tools

// What a value is replaced by, and what the plug-in must make of it.
struct BadValue {
  const char *What;
  DWORD Type;
  std::string Bytes;
  std::string Seen;  // the text (or setting) the plug-in shows for it
};

std::string Bytes(const char *Text, size_t Size) { return std::string(Text, Size); }
std::string Sz(const std::string &Text) { return std::string(Text.c_str(), Text.size() + 1); }
std::string Long(size_t Size, char C = 'x') { return std::string(Size, C); }

// Text values: another type, empty, without terminator, 8 KB; Long8K is what
// the plug-in shows for the 8 KB text.
std::vector<BadValue> TextCases(const std::string &Long8K) {
  return {
      {"a DWORD", REG_DWORD, Bytes("abc\0", 4), "abc"},
      {"binary without terminator", REG_BINARY, Bytes("ab", 2), "ab"},
      {"empty", REG_SZ, "", ""},
      {"no terminator", REG_SZ, "abc", "abc"},
      {"8 KB", REG_SZ, Sz(Long(8192)), Long8K},
  };
}

std::vector<int> Radios(const UiCall &Dialog) {
  std::vector<int> Out;
  for (int I = 2; I <= 4; I++) Out.push_back(Dialog.DialogData.Items[I].Selected);
  return Out;
}

TEST_F(Hardening, MarqueeTakesAnyMethodValue) {
  const BadValue Cases[] = {
      {"text", REG_SZ, Sz("4"), "1"},
      {"text of four bytes", REG_SZ, Sz("abc"), "other"},
      {"empty", REG_DWORD, "", "1"},
      {"three bytes", REG_BINARY, Bytes("\4\0\0", 3), "1"},
      {"8 KB", REG_BINARY, Long(8192, '\4'), "1"},
      {"a QWORD", REG_QWORD, Bytes("\4\0\0\0\0\0\0\0", 8), "1"},
  };
  for (const BadValue &V : Cases) {
    SCOPED_TRACE(V.What);
    SetRaw(PluginKey("Marquee"), "Method", V.Type, V.Bytes);
    M = H.Load(DistPath("Marquee/Marquee.dll"), RootKey, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(M);
    H.AnswerDialog(Close(-1));
    EXPECT_EQ(M->Configure(0), 0);
    ASSERT_FALSE(H.Calls.empty());
    if (V.Seen == "1") EXPECT_EQ(Radios(H.Calls.back()), (std::vector<int>{1, 0, 0}));
    // Still working: OK stores a good value.
    DialogAnswer Ok = Close(8);
    Ok.Selected.push_back({3, 1});
    H.AnswerDialog(Ok);
    EXPECT_EQ(M->Configure(0), -1);
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(PluginKey("Marquee"));
  }
}

TEST_F(Hardening, MarqueeTakesAnyDoubleClickSpeedValue) {
  SavedValue Saved("Control Panel\\Mouse", "DoubleClickSpeed");
  std::vector<BadValue> Cases = TextCases("");
  Cases.push_back({"too long", REG_SZ, Sz(Long(8192, '5')), ""});
  for (const BadValue &V : Cases) {
    SCOPED_TRACE(V.What);
    SetRaw("Control Panel\\Mouse", "DoubleClickSpeed", V.Type, V.Bytes);
    M = H.Load(DistPath("Marquee/Marquee.dll"), RootKey, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(M);
    H.AnswerDialog(Close(8));
    EXPECT_EQ(M->Configure(0), -1);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(Hardening, MarqueeShowsAnyFileTypeValue) {
  const char *Names[] = {"Mask", "Description", "Charset"};
  for (const char *Name : Names) {
    for (const BadValue &V : TextCases(Long(8192))) {
      SCOPED_TRACE(std::string(Name) + ": " + V.What);
      std::string Type0 = PluginKey("Marquee") + "\\Type0";
      SetString(Type0, "Mask", "*.c");
      SetString(Type0, "Description", "C");
      SetString(Type0, "Charset", "A-Z");
      SetRaw(Type0, Name, V.Type, V.Bytes);
      M = H.Load(DistPath("Marquee/Marquee.dll"), RootKey, {"OpenPlugin", "Configure"});
      ASSERT_TRUE(M);
      H.AnswerDialog(Close(6));
      H.AnswerMenu(Key(0, VK_F4));
      H.AnswerDialog(Close(10));  // the type's dialog, cancelled
      H.AnswerMenu(Esc());
      H.AnswerDialog(Close(-1));
      EXPECT_EQ(M->Configure(0), 0);
      ASSERT_EQ(H.Calls.size(), 5u);
      const MenuCall &Menu = H.Calls[1].MenuData;
      ASSERT_EQ(Menu.Items.size(), 2u);
      std::string Line = Menu.Items[0].Text;
      EXPECT_LE(Line.size(), 127u);
      const DialogCall &Edit = H.Calls[2].DialogData;
      int Item = std::string(Name) == "Mask" ? 2 : std::string(Name) == "Description" ? 4 : 7;
      std::string Field = Edit.Items[Item].Data;
      std::string Shown = V.Seen;
      // The charset is shown in the console's character set; these are ASCII.
      EXPECT_EQ(Field, Shown.substr(0, 511));
      if (std::string(Name) == "Mask") EXPECT_EQ(Line.substr(Line.size() - std::min<size_t>(Shown.size(), 79)), Shown.substr(0, 79));
      // Still working: the type can be edited and is stored whole.
      H.AnswerDialog(Close(6));
      H.AnswerMenu(Key(0, VK_F4));
      H.AnswerDialog(Close(9, {{2, "*.h"}}));
      H.AnswerMenu(Esc());
      H.AnswerDialog(Close(-1));
      EXPECT_EQ(M->Configure(0), 0);
      ExpectNoEmulatorFailures();
      H.Reset();
      DeleteRegistryTree(PluginKey("Marquee"));
    }
  }
}

TEST_F(Hardening, CourierTakesAnyDomainsValue) {
  std::vector<BadValue> Cases = TextCases("");  // too long for the 512-byte buffer: empty
  Cases.push_back({"511 characters", REG_SZ, Sz(Long(511)), Long(511)});
  Cases.push_back({"511 without terminator", REG_SZ, Long(511), Long(511)});
  Cases.push_back({"512 characters", REG_SZ, Sz(Long(512)), ""});
  Cases.push_back({"512 without terminator", REG_SZ, Long(512), ""});
  for (const BadValue &V : Cases) {
    SCOPED_TRACE(V.What);
    SetRaw(CourierKey(), "Domains", V.Type, V.Bytes);
    C = H.Load(DistPath("Courier/Courier.dll"), RootKey, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(C);
    H.AnswerDialog(Close(-1));
    EXPECT_EQ(C->Configure(0), 0);
    ASSERT_EQ(H.Calls.size(), 1u);
    EXPECT_EQ(std::string(H.Calls[0].DialogData.Items[0].Data), V.Seen);
    // Browsing with it, then sending, still works.
    DialogAnswer Browse = Close(2);
    H.AnswerDialog(Browse);
    DialogAnswer Send = Close(11, {{1, "alice"}, {4, "hi"}});
    H.AnswerDialog(Send);
    EXPECT_EQ((INT_PTR)C->OpenPlugin(OPEN_PLUGINSMENU, 0), (INT_PTR)INVALID_HANDLE_VALUE);
    EXPECT_EQ(Net.MessageCount(), 1);
    EXPECT_EQ(H.OpenScreens(), 0);
    ExpectNoEmulatorFailures();
    H.Reset();
    ASSERT_EQ(Net.Load(""), 0);
    DeleteRegistryTree(CourierKey());
  }
}

TEST_F(Hardening, CourierTakesAnyHistoryValue) {
  std::vector<BadValue> Cases = TextCases("");  // too long for the 3584-byte buffer: empty
  Cases.push_back({"3583 characters", REG_SZ, Sz(Long(3583)), Long(510)});
  Cases.push_back({"3584 without terminator", REG_SZ, Long(3584), ""});
  Cases.push_back({"eight long lines", REG_SZ,
                   Sz(Long(600, '1') + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8"),
                   Long(510, '1')});
  for (int Entry : {0, 9}) {
    for (const BadValue &V : Cases) {
      SCOPED_TRACE(std::to_string(Entry) + ": " + V.What);
      SetRaw(CourierKey(), ("COURIER_message" + std::to_string(Entry)).c_str(), V.Type, V.Bytes);
      C = H.Load(DistPath("Courier/Courier.dll"), RootKey, {"OpenPlugin", "Configure"});
      ASSERT_TRUE(C);
      H.AnswerDialog(Close(12));
      H.AnswerDialog(Close(12));
      H.AnswerDialog(Close(11, {{1, "bob"}, {5, "new"}}));
      EXPECT_EQ((INT_PTR)C->OpenPlugin(OPEN_PLUGINSMENU, 0), (INT_PTR)INVALID_HANDLE_VALUE);
      ASSERT_EQ(H.Calls.size(), 4u);  // three dialogs and the busy notice
      EXPECT_EQ(std::string(H.Calls[1].DialogData.Items[4].Data), V.Seen);
      EXPECT_EQ(Net.MessageCount(), 1);
      ExpectNoEmulatorFailures();
      H.Reset();
      ASSERT_EQ(Net.Load(""), 0);
      DeleteRegistryTree(CourierKey());
    }
  }
}

// A network provider that lists a container inside itself, or nests without
// end (a broken or hostile one), must not make browsing recurse without end.
TEST_F(Hardening, CourierBrowsesNetworksThatNestWithoutEnd) {
  std::string Deep = "network | Net\ngeneric | L0 | Net\nserver | \\\\SHALLOW | L1\n";
  for (int I = 1; I < 40; I++)
    Deep += "generic | L" + std::to_string(I) + " | L" + std::to_string(I - 1) + "\n";
  Deep += "server | \\\\DEEP | L39\n";
  struct {
    const char *Why;
    std::string Script;
  } Cases[] = {
      {"a container inside itself",
       "network | Net\ngeneric | L0 | Net\ngeneric | L0 | L0\nserver | \\\\SHALLOW | L0\n"},
      {"two containers inside each other",
       "network | Net\ngeneric | L0 | Net\ngeneric | L1 | L0\ngeneric | L0 | L1\n"
       "server | \\\\SHALLOW | L1\n"},
      {"forty levels", Deep},
  };
  for (auto &Case : Cases) {
    SCOPED_TRACE(Case.Why);
    ASSERT_EQ(Net.Load(Case.Script.c_str()), 0);
    SetString(CourierKey(), "Domains", "L0");
    C = H.Load(DistPath("Courier/Courier.dll"), RootKey, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(C);
    H.AnswerDialog(Close(2));
    H.AnswerMenu({0, MenuAnswer::Enter, 0});
    H.AnswerDialog(Close(11, {{4, "hi"}}));
    EXPECT_EQ((INT_PTR)C->OpenPlugin(OPEN_PLUGINSMENU, 0), (INT_PTR)INVALID_HANDLE_VALUE);
    ASSERT_EQ(H.Calls.size(), 5u);  // dialog, notice, menu, dialog, notice
    const MenuCall &Menu = H.Calls[2].MenuData;
    ASSERT_EQ(Menu.Items.size(), 1u);
    EXPECT_STREQ(Menu.Items[0].Text, "SHALLOW");
    EXPECT_EQ(Net.Outstanding(), 0);
    EXPECT_EQ(Net.MessageCount(), 1);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

// The README's key-path limits: a RootKey of 71 characters still takes
// "\Marquee" or "\Courier", of 65 also "\Marquee\Type0"; beyond, the
// settings are neither read nor written and the plug-ins keep working.
TEST_F(Hardening, LongRootKeysStoreWhatFits) {
  for (size_t Length : {65u, 66u, 71u, 72u, 200u}) {
    SCOPED_TRACE(Length);
    std::string Root = RootKey + "\\" + std::string(Length - RootKey.size() - 1, 'r');
    ASSERT_EQ(Root.size(), Length);
    M = H.Load(DistPath("Marquee/Marquee.dll"), Root, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(M);
    DialogAnswer Ok = Close(8);
    Ok.Selected.push_back({3, 1});
    H.AnswerDialog(Close(6));
    H.AnswerMenu(Key(0, VK_INSERT));
    H.AnswerDialog(Close(9, {{2, "*.txt"}}));
    H.AnswerMenu(Esc());
    H.AnswerDialog(Ok);
    EXPECT_EQ(M->Configure(0), -1);
    EXPECT_EQ(ValueExists(Root + "\\Marquee", "Method"), Length <= 71);
    EXPECT_EQ(KeyExists(Root + "\\Marquee\\Type0"), Length <= 65);

    C = H.Load(DistPath("Courier/Courier.dll"), Root, {"OpenPlugin", "Configure"});
    ASSERT_TRUE(C);
    H.AnswerDialog(Close(1, {{0, "WORKGROUP"}}));
    EXPECT_EQ(C->Configure(0), 1);
    EXPECT_EQ(ValueExists(Root + "\\Courier", "Domains"), Length <= 71);
    H.AnswerDialog(Close(11, {{1, "alice"}, {4, "hi"}}));
    EXPECT_EQ((INT_PTR)C->OpenPlugin(OPEN_PLUGINSMENU, 0), (INT_PTR)INVALID_HANDLE_VALUE);
    EXPECT_EQ(Net.MessageCount(), 1);
    EXPECT_EQ(ValueExists(Root + "\\Courier", "COURIER_message0"), Length <= 71);
    ExpectNoEmulatorFailures();
    H.Reset();
    ASSERT_EQ(Net.Load(""), 0);
    DeleteRegistryTree(Root);
  }
}

}  // namespace
