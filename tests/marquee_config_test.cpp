// Marquee's configuration dialog and file-type menu, driven through the
// real DLL's Configure and OpenPlugin with scripted answers.
#include "fixture.h"

#include <string.h>

#include <algorithm>

using namespace emu;

namespace {

struct FileTypeValues {
  std::string Mask, Description, Charset;
  bool operator==(const FileTypeValues &O) const {
    return Mask == O.Mask && Description == O.Description && Charset == O.Charset;
  }
};

// Short enough to print when a comparison fails.
std::string Describe(const std::vector<FileTypeValues> &Types) {
  std::string Out;
  for (auto &T : Types)
    for (const std::string *V : {&T.Mask, &T.Description, &T.Charset})
      Out += (V == &T.Mask ? "[" : "|") + V->substr(0, 20) +
             (V->size() > 20 ? "...(" + std::to_string(V->size()) + ")" : "") +
             (V == &T.Charset ? "]" : "");
  return Out;
}

struct Expected {
  int Type, X1, Y1, X2, Y2, Focus, Selected;
  FARDWORD Flags;
  int DefaultButton, Msg;  // Msg -1: empty Data
};

MenuAnswer Press(int Highlight, int Key) {
  MenuAnswer A;
  A.Highlight = Highlight;
  A.Press = MenuAnswer::BreakKey;
  A.BreakKeyCode = Key;
  return A;
}

const int CtrlUp = (PKF_CONTROL << 16) | VK_UP, CtrlDown = (PKF_CONTROL << 16) | VK_DOWN;

DialogAnswer Close(int Item, std::vector<std::pair<int, std::string>> Texts = {}) {
  DialogAnswer A;
  A.Close = Item;
  A.Texts = std::move(Texts);
  return A;
}

DialogAnswer ChooseAndClose(int Radio, int Item) {
  DialogAnswer A;
  A.Selected = {{Radio, 1}};
  A.Close = Item;
  return A;
}

}  // namespace

class MarqueeConfig : public HostTest {
protected:
  Plugin *P = nullptr;
  std::string Key;

  void SetUp() override {
    HostTest::SetUp();
    Key = PluginKey("Marquee");
  }
  void Load() {
    P = LoadMarquee();
    ASSERT_TRUE(P);
  }

  std::string TypeKey(int N) const { return Key + "\\Type" + std::to_string(N); }

  void StoreTypes(const std::vector<FileTypeValues> &Types) {
    for (size_t N = 0; N < Types.size(); N++) {
      SetString(TypeKey((int)N), "Mask", Types[N].Mask);
      SetString(TypeKey((int)N), "Description", Types[N].Description);
      SetString(TypeKey((int)N), "Charset", Types[N].Charset);
    }
  }

  std::string ReadString(const std::string &K, const char *Name) {
    HKEY Handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, K.c_str(), 0, KEY_QUERY_VALUE, &Handle) != ERROR_SUCCESS)
      return "(no key)";
    std::vector<char> Buf(65536, 0);
    DWORD Size = (DWORD)Buf.size() - 1;
    std::string Out = "(missing)";
    if (RegQueryValueExA(Handle, Name, nullptr, nullptr, (BYTE *)Buf.data(), &Size) == ERROR_SUCCESS)
      Out = Buf.data();
    RegCloseKey(Handle);
    return Out;
  }

  // The stored types; also checks that the Type keys run from 0 without gaps.
  std::vector<FileTypeValues> StoredTypes() {
    std::vector<FileTypeValues> Types;
    while (KeyExists(TypeKey((int)Types.size()))) {
      std::string K = TypeKey((int)Types.size());
      Types.push_back({ReadString(K, "Mask"), ReadString(K, "Description"), ReadString(K, "Charset")});
    }
    HKEY Handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, &Handle) == ERROR_SUCCESS) {
      char Name[256];
      for (DWORD I = 0;; I++) {
        DWORD Len = sizeof Name;
        if (RegEnumKeyExA(Handle, I, Name, &Len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
          break;
        bool Known = false;
        for (size_t N = 0; N < Types.size(); N++) Known |= ("Type" + std::to_string(N)) == Name;
        EXPECT_TRUE(Known) << "a key outside the contiguous list: " << Name;
      }
      RegCloseKey(Handle);
    }
    return Types;
  }

  bool MethodStored(DWORD *Value = nullptr) {
    HKEY Handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_QUERY_VALUE, &Handle) != ERROR_SUCCESS)
      return false;
    DWORD V = 0, Size = sizeof V, Type = 0;
    bool Found = RegQueryValueExA(Handle, "Method", nullptr, &Type, (BYTE *)&V, &Size) == ERROR_SUCCESS;
    RegCloseKey(Handle);
    if (Found) EXPECT_EQ(Type, (DWORD)REG_DWORD);
    if (Value) *Value = V;
    return Found;
  }

  // Radio states of a configuration dialog call, as the plug-in passed them.
  static std::vector<int> Radios(const UiCall &C) {
    std::vector<int> Out;
    for (int K = 2; K <= 4 && K < (int)C.DialogData.Items.size(); K++)
      Out.push_back(C.DialogData.Items[K].Selected);
    return Out;
  }

  std::vector<const UiCall *> CallsOf(UiCall::Kind Kind) {
    std::vector<const UiCall *> Out;
    for (auto &C : H.Calls)
      if (C.Type == Kind) Out.push_back(&C);
    return Out;
  }

  // Queues: the configuration dialog's file-type button, then what the
  // caller queues, then leaving the menu and the dialog with Esc.
  void QueueEnterFileTypes() { H.AnswerDialog(Close(6)); }
  void QueueLeaveFileTypes() {
    MenuAnswer Esc;
    Esc.Press = MenuAnswer::Esc;
    H.AnswerMenu(Esc);
    H.AnswerDialog(Close(-1));
  }
  void RunFileTypes() {
    QueueLeaveFileTypes();
    EXPECT_EQ(P->Configure(0), 0);
    EXPECT_EQ(H.PendingAnswers(), 0u);
  }

  static void ExpectItems(const std::vector<FarDialogItem> &Items, const Expected *E, size_t Count,
                          const Plugin &P) {
    ASSERT_EQ(Items.size(), Count);
    for (size_t K = 0; K < Count; K++) {
      SCOPED_TRACE("item " + std::to_string(K));
      const FarDialogItem &I = Items[K];
      EXPECT_EQ(I.Type, E[K].Type);
      EXPECT_EQ(I.X1, E[K].X1);
      EXPECT_EQ(I.Y1, E[K].Y1);
      EXPECT_EQ(I.X2, E[K].X2);
      EXPECT_EQ(I.Y2, E[K].Y2);
      EXPECT_EQ(I.Focus, E[K].Focus);
      if (!(I.Flags & DIF_HISTORY)) EXPECT_EQ(I.Selected, E[K].Selected);
      EXPECT_EQ(I.Flags, E[K].Flags);
      EXPECT_EQ(I.DefaultButton, E[K].DefaultButton);
      if (E[K].Msg >= 0) EXPECT_EQ(I.Data, P.Msg(E[K].Msg));
    }
  }
};

TEST_F(MarqueeConfig, LanguageFileHasEveryMessage) {
  Load();
  EXPECT_EQ(P->Messages.size(), 19u) << "messages 0 to 18, nothing more";
  for (int N = 0; N <= 18; N++) EXPECT_FALSE(P->Msg(N).empty()) << N;
}

// ---- The configuration dialog

TEST_F(MarqueeConfig, DialogAsTheHostIsAskedToShowIt) {
  Load();
  H.AnswerDialog(Close(-1));
  EXPECT_EQ(P->Configure(0), 0);
  const DialogCall &D = LastCall().DialogData;
  EXPECT_EQ(D.X1, -1);
  EXPECT_EQ(D.Y1, -1);
  EXPECT_EQ(D.X2, 41);
  EXPECT_EQ(D.Y2, 12);
  EXPECT_EQ(D.HelpTopic, "Configure");
  const FARDWORD Sep = DIF_BOXCOLOR | DIF_SEPARATOR;
  const Expected Items[] = {
      {DI_DOUBLEBOX, 3, 1, 37, 10, 0, 0, 0, 0, 3},
      {DI_TEXT, 5, 2, 0, 0, 0, 0, 0, 0, 4},
      {DI_RADIOBUTTON, 5, 3, 0, 0, -1, 1, DIF_GROUP, 0, 5},
      {DI_RADIOBUTTON, 5, 4, 0, 0, 0, 0, 0, 0, 6},
      {DI_RADIOBUTTON, 5, 5, 0, 0, 0, 0, 0, 0, 7},
      {DI_TEXT, 2, 6, 37, 0, 0, 0, Sep, 0, -1},
      {DI_BUTTON, 0, 7, 0, 0, 0, 0, DIF_CENTERGROUP, 0, 8},
      {DI_TEXT, 2, 8, 37, 0, 0, 0, Sep, 0, -1},
      {DI_BUTTON, 0, 9, 0, 0, 0, 0, DIF_CENTERGROUP, -1, 0},
      {DI_BUTTON, 0, 9, 0, 0, 0, 0, DIF_CENTERGROUP, 0, 1},
  };
  ExpectItems(D.Items, Items, 10, *P);
  EXPECT_STREQ(D.Items[5].Data, "");
  EXPECT_STREQ(D.Items[7].Data, "");
  // Every label fits inside the frame (its right edge is column 37).
  for (int K = 1; K <= 4; K++) {
    std::string T = D.Items[K].Data;
    size_t Shown = T.size() - std::count(T.begin(), T.end(), '&') + (K >= 2 ? 4 : 0);
    EXPECT_LT(5 + Shown, 37u) << T;
  }
  EXPECT_FALSE(MethodStored()) << "Esc writes nothing";
}

TEST_F(MarqueeConfig, RadioButtonsComeFromMethodBitByBit) {
  struct Case {
    DWORD Stored;
    std::vector<int> Radios;
  } Cases[] = {
      {1, {1, 0, 0}}, {2, {0, 1, 0}}, {4, {0, 0, 1}},
      {3, {1, 1, 0}},  // hand-edited: two buttons start selected
      {6, {0, 1, 1}}, {0, {0, 0, 0}}, {8, {0, 0, 0}},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Stored);
    SetDWord(Key, "Method", C.Stored);
    Load();
    // OK without touching a button puts the flags together again.
    H.AnswerDialog(Close(8));
    EXPECT_EQ(P->Configure(0), -1);
    EXPECT_EQ(Radios(LastCall()), C.Radios);
    DWORD Value;
    ASSERT_TRUE(MethodStored(&Value));
    EXPECT_EQ(Value, C.Stored & 7);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(MarqueeConfig, OkStoresTheChosenScheme) {
  struct Case {
    int Radio;
    DWORD Method;
    std::vector<int> Shown;
  } Cases[] = {{2, 1, {1, 0, 0}}, {3, 2, {0, 1, 0}}, {4, 4, {0, 0, 1}}};
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Radio);
    SetDWord(Key, "Method", 2);
    Load();
    H.AnswerDialog(ChooseAndClose(C.Radio, 8));
    EXPECT_EQ(P->Configure(0), -1);
    DWORD Value;
    ASSERT_TRUE(MethodStored(&Value));
    EXPECT_EQ(Value, C.Method);
    // The new scheme is the plug-in's own from now on.
    H.AnswerDialog(Close(-1));
    EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Radios(LastCall()), C.Shown);
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(MarqueeConfig, CancelAndEscChangeNothing) {
  for (int CloseWith : {9, -1}) {
    SCOPED_TRACE(CloseWith);
    Load();
    H.AnswerDialog(ChooseAndClose(4, CloseWith));
    EXPECT_EQ(P->Configure(0), 0);
    EXPECT_FALSE(MethodStored());
    H.AnswerDialog(Close(-1));
    P->Configure(0);
    EXPECT_EQ(Radios(LastCall()), (std::vector<int>{1, 0, 0}));
    ExpectNoEmulatorFailures();
    H.Reset();
  }
}

TEST_F(MarqueeConfig, OpenPluginNeverOpensAPanel) {
  Load();
  H.AnswerDialog(ChooseAndClose(3, 8));
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  DWORD Value;
  ASSERT_TRUE(MethodStored(&Value));
  EXPECT_EQ(Value, 2u) << "accepted from the editor's menu too";
  H.AnswerDialog(Close(9));
  EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
}

TEST_F(MarqueeConfig, FileTypesButtonKeepsTheRadioChoice) {
  Load();
  H.AnswerDialog(ChooseAndClose(3, 6));
  H.AnswerMenu(Press(0, VK_INSERT));
  H.AnswerDialog(Close(9, {{2, "*.txt"}}));
  MenuAnswer Esc;
  Esc.Press = MenuAnswer::Esc;
  H.AnswerMenu(Esc);
  H.AnswerDialog(Close(9));  // Cancel in the configuration dialog
  EXPECT_EQ(P->Configure(0), 0);
  auto Dialogs = CallsOf(UiCall::Dialog);
  ASSERT_EQ(Dialogs.size(), 3u);
  EXPECT_EQ(Radios(*Dialogs[2]), (std::vector<int>{0, 1, 0})) << "the choice made before";
  EXPECT_FALSE(MethodStored());
  EXPECT_EQ(StoredTypes(), (std::vector<FileTypeValues>{{"*.txt", "", ""}}))
      << "Cancel does not undo the file types";
}

TEST_F(MarqueeConfig, FailuresEndInTheErrorBox) {
  struct Case {
    Service S;
    Fault F;
    bool ThroughMenu;
  } Cases[] = {
      {Service::Dialog, Fault::RaiseException, false},
      {Service::Dialog, Fault::AccessViolation, false},
      {Service::Menu, Fault::RaiseException, true},
  };
  for (const Case &C : Cases) {
    for (bool FromConfigure : {true, false}) {
      SCOPED_TRACE(std::to_string((int)C.S) + "/" + std::to_string((int)C.F) +
                   (FromConfigure ? " Configure" : " OpenPlugin"));
      Load();
      if (C.ThroughMenu) H.AnswerDialog(ChooseAndClose(4, 6));
      H.FailCall(C.S, C.F);
      H.AnswerMessage(0);
      if (FromConfigure) EXPECT_EQ(P->Configure(0), 0);
      else EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
      ASSERT_EQ(LastCall().Type, UiCall::Message);
      const MessageCall &M = LastCall().MessageData;
      EXPECT_EQ(M.Lines.front(), P->Msg(16));
      std::string Body, Want = P->Msg(18);
      for (size_t I = 1; I + 1 < M.Lines.size(); I++) Body += M.Lines[I] + "|";
      for (size_t Cut; (Cut = Want.find(". ")) != std::string::npos;) Want.replace(Cut, 2, "|");
      EXPECT_EQ(Body, Want + "|");
      EXPECT_FALSE(MethodStored());
      // Still usable afterwards.
      H.AnswerDialog(Close(8));
      EXPECT_EQ(P->Configure(0), -1);
      ExpectNoEmulatorFailures();
      H.Reset();
      DeleteRegistryTree(RootKey);
    }
  }
}

// ---- The file-type menu

TEST_F(MarqueeConfig, MenuListsTheTypes) {
  StoreTypes({{"*.txt,*.doc", "Docs", "a-z"}, {"*.c,*.h", "Sources", ""}, {"*.*", "", ""}});
  Load();
  QueueEnterFileTypes();
  RunFileTypes();
  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 1u);
  const MenuCall &M = Menus[0]->MenuData;
  EXPECT_EQ(M.X, -1);
  EXPECT_EQ(M.Y, -1);
  EXPECT_EQ(M.MaxHeight, 0);
  EXPECT_EQ(M.Flags, (FARDWORD)FMENU_WRAPMODE);
  EXPECT_EQ(M.Title, P->Msg(9));
  EXPECT_EQ(M.Bottom, P->Msg(10));
  EXPECT_EQ(M.HelpTopic, "Charset");
  EXPECT_EQ(M.BreakKeys, (std::vector<int>{VK_RETURN, VK_INSERT, VK_DELETE, VK_F4, CtrlUp, CtrlDown}));
  const char *Lines[] = {"Docs    \xB3 *.txt,*.doc", "Sources \xB3 *.c,*.h", "        \xB3 *.*", ""};
  ASSERT_EQ(M.Items.size(), 4u);
  for (int K = 0; K < 4; K++) {
    SCOPED_TRACE(K);
    EXPECT_STREQ(M.Items[K].Text, Lines[K]);
    EXPECT_EQ(M.Items[K].Selected, K == 0 ? -1 : 0);
    EXPECT_EQ(M.Items[K].Checked, K == 3 ? -1 : 0);
    EXPECT_EQ(M.Items[K].Separator, 0);
  }

  // With no description at all, the lines are the masks alone.
  H.Reset();
  DeleteRegistryTree(RootKey);
  StoreTypes({{"*.txt", "", ""}, {"*.c", "", ""}});
  Load();
  QueueEnterFileTypes();
  RunFileTypes();
  const MenuCall &Bare = CallsOf(UiCall::Menu)[0]->MenuData;
  ASSERT_EQ(Bare.Items.size(), 3u);
  EXPECT_STREQ(Bare.Items[0].Text, "*.txt");
  EXPECT_STREQ(Bare.Items[1].Text, "*.c");
}

TEST_F(MarqueeConfig, EmptyListOnlyInsertActs) {
  Load();
  QueueEnterFileTypes();
  for (int K : {VK_RETURN, VK_F4, VK_DELETE, CtrlUp, CtrlDown}) H.AnswerMenu(Press(0, K));
  H.AnswerMenu(Press(0, VK_INSERT));
  H.AnswerDialog(Close(9, {{2, "*.txt"}, {4, "Text"}, {7, "a-z"}}));
  RunFileTypes();
  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 7u);
  for (int K = 0; K < 6; K++) {
    SCOPED_TRACE(K);
    ASSERT_EQ(Menus[K]->MenuData.Items.size(), 1u);
    EXPECT_STREQ(Menus[K]->MenuData.Items[0].Text, "");
    EXPECT_EQ(Menus[K]->MenuData.Items[0].Checked, -1);
    EXPECT_EQ(Menus[K]->MenuData.Items[0].Selected, -1);
  }
  EXPECT_EQ(CallsOf(UiCall::Dialog).size(), 3u) << "only Ins opened the type dialog";
  EXPECT_EQ(StoredTypes(), (std::vector<FileTypeValues>{{"*.txt", "Text", "a-z"}}));
  EXPECT_EQ(Menus[6]->MenuData.Items[0].Selected, -1) << "the new type is highlighted";
}

TEST_F(MarqueeConfig, InsertBeforeTheHighlightedLine) {
  const std::vector<FileTypeValues> Three = {{"a", "A", "1"}, {"b", "B", "2"}, {"c", "C", "3"}};
  const FileTypeValues New = {"n", "N", "9"};
  for (int Position : {0, 1, 3}) {
    SCOPED_TRACE(Position);
    StoreTypes(Three);
    Load();
    QueueEnterFileTypes();
    H.AnswerMenu(Press(Position, VK_INSERT));
    H.AnswerDialog(Close(9, {{2, "n"}, {4, "N"}, {7, "9"}}));
    RunFileTypes();
    std::vector<FileTypeValues> Want = Three;
    Want.insert(Want.begin() + Position, New);
    auto Got = StoredTypes();
    EXPECT_EQ(Got, Want) << Describe(Got);
    auto Menus = CallsOf(UiCall::Menu);
    ASSERT_EQ(Menus.size(), 2u);
    EXPECT_EQ(Menus[1]->MenuData.Items[Position].Selected, -1);
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(MarqueeConfig, TypeDialogAndEditing) {
  const std::vector<FileTypeValues> Two = {{"*.pas,*.dpr", "Pascal", "a-z"}, {"*.*", "All", ""}};
  struct Case {
    int Key;
    DialogAnswer Answer;
    std::vector<FileTypeValues> After;
    const char *Why;
  } Cases[] = {
      {VK_RETURN, Close(9, {{4, "Delphi"}}), {{"*.pas,*.dpr", "Delphi", "a-z"}, Two[1]}, "Enter edits"},
      {VK_F4, Close(9, {{2, "*.pp"}, {7, "#65-#90"}}), {{"*.pp", "Pascal", "#65-#90"}, Two[1]}, "F4 edits"},
      {VK_RETURN, Close(10, {{4, "Delphi"}}), Two, "Cancel"},
      {VK_RETURN, Close(-1, {{4, "Delphi"}}), Two, "Esc"},
      {VK_RETURN, Close(9, {{2, ""}, {4, "Delphi"}}), Two, "OK with an empty mask stores nothing"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    StoreTypes(Two);
    Load();
    QueueEnterFileTypes();
    H.AnswerMenu(Press(0, C.Key));
    H.AnswerDialog(C.Answer);
    H.AnswerMenu(Press(2, VK_RETURN));  // the empty last line: nothing to edit
    RunFileTypes();
    auto Got = StoredTypes();
    EXPECT_EQ(Got, C.After) << Describe(Got);
    auto Dialogs = CallsOf(UiCall::Dialog);
    ASSERT_EQ(Dialogs.size(), 3u);
    const DialogCall &D = Dialogs[1]->DialogData;
    EXPECT_EQ(D.X1, -1);
    EXPECT_EQ(D.Y1, -1);
    EXPECT_EQ(D.X2, 74);
    EXPECT_EQ(D.Y2, 13);
    EXPECT_EQ(D.HelpTopic, "Edit");
    const FARDWORD Sep = DIF_BOXCOLOR | DIF_SEPARATOR;
    const Expected Items[] = {
        {DI_DOUBLEBOX, 3, 1, 70, 11, 0, 0, 0, 0, 11},
        {DI_TEXT, 5, 2, 0, 0, 0, 0, 0, 0, 12},
        {DI_EDIT, 5, 3, 68, 0, -1, 0, 0, 0, -1},
        {DI_TEXT, 5, 4, 0, 0, 0, 0, 0, 0, 13},
        {DI_EDIT, 5, 5, 68, 0, 0, 0, 0, 0, -1},
        {DI_TEXT, 2, 6, 70, 0, 0, 0, Sep, 0, -1},
        {DI_TEXT, 5, 7, 0, 0, 0, 0, 0, 0, 14},
        {DI_EDIT, 5, 8, 68, 0, 0, 0, DIF_HISTORY, 0, -1},
        {DI_TEXT, 2, 9, 70, 0, 0, 0, Sep, 0, -1},
        {DI_BUTTON, 0, 10, 0, 0, 0, 0, DIF_CENTERGROUP, -1, 0},
        {DI_BUTTON, 0, 10, 0, 0, 0, 0, DIF_CENTERGROUP, 0, 1},
    };
    ExpectItems(D.Items, Items, 11, *P);
    ASSERT_EQ(D.Items.size(), 11u);
    EXPECT_STREQ(D.Items[2].Data, "*.pas,*.dpr");
    EXPECT_STREQ(D.Items[4].Data, "Pascal");
    EXPECT_STREQ(D.Items[7].Data, "a-z");
    EXPECT_STREQ(D.Items[7].History, "Marquee-Charset");
    EXPECT_STREQ(D.Items[5].Data, "");
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(MarqueeConfig, InsertNeedsOkAndAMask) {
  const std::vector<FileTypeValues> One = {{"*.c", "C", ""}};
  for (DialogAnswer A : {Close(10, {{2, "*.h"}}), Close(-1, {{2, "*.h"}}), Close(9, {{4, "No mask"}})}) {
    SCOPED_TRACE(A.Close);
    StoreTypes(One);
    Load();
    QueueEnterFileTypes();
    H.AnswerMenu(Press(0, VK_INSERT));
    H.AnswerDialog(A);
    RunFileTypes();
    EXPECT_EQ(StoredTypes(), One);
    const DialogCall &D = CallsOf(UiCall::Dialog)[1]->DialogData;
    for (int K : {2, 4, 7}) EXPECT_STREQ(D.Items[K].Data, "") << "a new type starts empty";
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(MarqueeConfig, DeleteAsksFirst) {
  const std::vector<FileTypeValues> Three = {{"a", "A", "1"}, {"b", "B", "2"}, {"c", "C", "3"}};
  struct Case {
    int Position, Answer;
    std::vector<FileTypeValues> After;
  } Cases[] = {
      {0, 0, {Three[1], Three[2]}},
      {1, 0, {Three[0], Three[2]}},
      {2, 0, {Three[0], Three[1]}},
      {0, 1, Three},   // Cancel
      {0, -1, Three},  // Esc
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(std::to_string(C.Position) + " answer " + std::to_string(C.Answer));
    StoreTypes(Three);
    Load();
    QueueEnterFileTypes();
    H.AnswerMenu(Press(C.Position, VK_DELETE));
    H.AnswerMessage(C.Answer);
    RunFileTypes();
    auto Got = StoredTypes();
    EXPECT_EQ(Got, C.After) << Describe(Got);
    auto Boxes = CallsOf(UiCall::Message);
    ASSERT_EQ(Boxes.size(), 1u);
    const MessageCall &M = Boxes[0]->MessageData;
    EXPECT_EQ(M.Flags, (FARDWORD)FMSG_WARNING);
    EXPECT_EQ(M.HelpTopic, "");
    EXPECT_EQ(M.ButtonsNumber, 2);
    EXPECT_EQ(M.Lines, (std::vector<std::string>{P->Msg(9), P->Msg(15),
                                                 "\"" + Three[C.Position].Mask + "\"", P->Msg(2),
                                                 P->Msg(1)}));
    auto Menus = CallsOf(UiCall::Menu);
    ASSERT_GE(Menus.size(), 2u);
    const MenuCall &Next = Menus[1]->MenuData;
    EXPECT_EQ(Next.Items[std::min(C.Position, (int)Next.Items.size() - 1)].Selected, -1)
        << "the highlight stays on the line";
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(MarqueeConfig, CtrlUpAndDownReorder) {
  const std::vector<FileTypeValues> Three = {{"a", "A", "1"}, {"b", "B", "2"}, {"c", "C", "3"}};
  struct Case {
    int Position, Key;
    std::vector<FileTypeValues> After;
    int Highlight;
  } Cases[] = {
      {0, CtrlDown, {Three[1], Three[0], Three[2]}, 1},
      {2, CtrlUp, {Three[0], Three[2], Three[1]}, 1},
      {1, CtrlUp, {Three[1], Three[0], Three[2]}, 0},
      {0, CtrlUp, Three, 0},
      {2, CtrlDown, Three, 2},
      {3, CtrlUp, Three, 3},
      {3, CtrlDown, Three, 3},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(std::to_string(C.Position) + (C.Key == CtrlUp ? " up" : " down"));
    StoreTypes(Three);
    Load();
    QueueEnterFileTypes();
    H.AnswerMenu(Press(C.Position, C.Key));
    RunFileTypes();
    auto Got = StoredTypes();
    EXPECT_EQ(Got, C.After) << Describe(Got);
    auto Menus = CallsOf(UiCall::Menu);
    ASSERT_EQ(Menus.size(), 2u);
    for (int K = 0; K < 4; K++)
      EXPECT_EQ(Menus[1]->MenuData.Items[K].Selected, K == C.Highlight ? -1 : 0) << K;
    ExpectNoEmulatorFailures();
    H.Reset();
    DeleteRegistryTree(RootKey);
  }
}

TEST_F(MarqueeConfig, MissingValuesMoveAsEmptyTexts) {
  SetString(TypeKey(0), "Mask", "*.a");
  SetString(TypeKey(1), "Mask", "*.b");
  SetString(TypeKey(1), "Charset", "x");
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(0, CtrlDown));
  RunFileTypes();
  EXPECT_EQ(StoredTypes(), (std::vector<FileTypeValues>{{"*.b", "", "x"}, {"*.a", "", ""}}));
  EXPECT_TRUE(ValueExists(TypeKey(1), "Description"));
  EXPECT_TRUE(ValueExists(TypeKey(1), "Charset"));
}

TEST_F(MarqueeConfig, WordCharactersAreEditedInOemAndStoredInAnsi) {
  // ANSI letters with accents, and their OEM forms as the console shows them.
  std::string Ansi = "a-z\xE0\xE9\xFC";
  std::string Oem(Ansi.size(), 0);
  CharToOemA(Ansi.c_str(), &Oem[0]);
  ASSERT_NE(Oem, Ansi);
  std::string TypedOem = Oem + "\x87";  // one more OEM letter typed in the dialog
  std::string TypedAnsi(TypedOem.size(), 0);
  OemToCharA(TypedOem.c_str(), &TypedAnsi[0]);

  StoreTypes({{"*.txt", "Text", Ansi}});
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(0, VK_F4));
  H.AnswerDialog(Close(9, {{7, TypedOem}}));
  H.AnswerMenu(Press(0, VK_F4));
  H.AnswerDialog(Close(-1));
  RunFileTypes();
  auto Dialogs = CallsOf(UiCall::Dialog);
  ASSERT_EQ(Dialogs.size(), 4u);
  EXPECT_EQ(std::string(Dialogs[1]->DialogData.Items[7].Data), Oem);
  EXPECT_EQ(std::string(Dialogs[2]->DialogData.Items[7].Data), TypedOem) << "shown again in OEM";
  EXPECT_EQ(ReadString(TypeKey(0), "Charset"), TypedAnsi);
  ASSERT_EQ(H.Histories.size(), 1u);
  EXPECT_EQ(H.Histories[0].Name, "Marquee-Charset");
}

TEST_F(MarqueeConfig, UnchangedWordCharactersKeepTheirStoredBytes) {
  // An ANSI character the OEM code page lacks would come back as another.
  std::string Lossy;
  for (int C = 0x80; C <= 0xFF && Lossy.empty(); C++) {
    char In[2] = {(char)C, 0}, Oem[2] = {0, 0}, Back[2] = {0, 0};
    CharToOemA(In, Oem);
    OemToCharA(Oem, Back);
    if (Back[0] != In[0]) Lossy = In;
  }
  if (Lossy.empty()) GTEST_SKIP() << "every ANSI character survives the OEM code page here";
  std::string Stored = "a-z" + Lossy;
  StoreTypes({{"*.txt", "Text", Stored}});
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(0, VK_F4));
  H.AnswerDialog(Close(9, {{4, "Plain text"}}));
  RunFileTypes();
  EXPECT_EQ(StoredTypes(), (std::vector<FileTypeValues>{{"*.txt", "Plain text", Stored}}));
}

TEST_F(MarqueeConfig, OverlongValuesShowEditAndDeleteSafely) {
  std::string Mask(5000, 'm'), Description(5000, 'd'), Charset(5000, 'c');
  Mask[0] = '*', Mask[4999] = 'M', Description[4999] = 'D', Charset[4999] = 'C';
  const FileTypeValues Huge = {Mask, Description, Charset}, Small = {"*.c", "C", "a-z"};
  StoreTypes({Huge, Small});
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(0, VK_RETURN));
  H.AnswerDialog(Close(9));  // accepted unchanged
  H.AnswerMenu(Press(0, VK_RETURN));
  H.AnswerDialog(Close(9, {{4, "Short"}}));
  H.AnswerMenu(Press(0, VK_DELETE));
  H.AnswerMessage(1);
  RunFileTypes();
  auto Got = StoredTypes();
  EXPECT_EQ(Got, (std::vector<FileTypeValues>{{Mask, "Short", Charset}, Small})) << Describe(Got);

  auto Menus = CallsOf(UiCall::Menu);
  ASSERT_EQ(Menus.size(), 4u);
  const MenuCall &M = Menus[0]->MenuData;
  EXPECT_EQ(std::string(M.Items[0].Text), std::string(45, 'd') + " \xB3 " + Mask.substr(0, 79));
  EXPECT_EQ(std::string(M.Items[1].Text), "C" + std::string(44, ' ') + " \xB3 *.c");
  for (int K : {2, 4, 7}) {
    const FarDialogItem &Field = CallsOf(UiCall::Dialog)[1]->DialogData.Items[K];
    EXPECT_EQ(strnlen(Field.Data, sizeof Field.Data), 511u) << K;
  }
  const MessageCall &Q = CallsOf(UiCall::Message)[0]->MessageData;
  ASSERT_EQ(Q.Lines.size(), 5u);
  EXPECT_EQ(Q.Lines[2], "\"" + Mask.substr(0, 77) + "\"");

  // Deleting it leaves the other type whole.
  H.Reset();
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(0, VK_DELETE));
  H.AnswerMessage(0);
  RunFileTypes();
  EXPECT_EQ(StoredTypes(), (std::vector<FileTypeValues>{Small}));

  // Longer than the settings routines read: moved and edited, it stays whole.
  H.Reset();
  std::string Longer(12000, 'x');
  StoreTypes({Small, {"*.x", "X", Longer}});
  Load();
  QueueEnterFileTypes();
  H.AnswerMenu(Press(1, CtrlUp));
  H.AnswerMenu(Press(0, VK_F4));
  H.AnswerDialog(Close(9, {{4, "Xs"}}));
  RunFileTypes();
  Got = StoredTypes();
  EXPECT_EQ(Got, (std::vector<FileTypeValues>{{"*.x", "Xs", Longer}, Small})) << Describe(Got);
}
