#include "emulator.h"

#include <algorithm>
#include <string.h>

namespace emu {

namespace {

std::string ToWindowsPath(const std::string &Path) {
  std::string P = Path;
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  std::replace(P.begin(), P.end(), '/', '\\');
  return P;
}

std::string Folder(const std::string &Path) {
  size_t Slash = Path.find_last_of('\\');
  return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

std::string Text(const char *S) { return S ? std::string(S) : std::string(); }

// A text field of fixed size: what the host would show, and whether it ends.
std::string FieldText(const char *Field, size_t Size, bool *Terminated) {
  size_t Len = strnlen(Field, Size);
  *Terminated = Len < Size;
  return std::string(Field, Len);
}

// Names in the DLL's export directory, to tell a missing export from a
// decorated one.
std::vector<std::string> ExportNames(HMODULE Module) {
  std::vector<std::string> Names;
  auto Base = (const unsigned char *)Module;
  auto Dos = (const IMAGE_DOS_HEADER *)Base;
  auto Nt = (const IMAGE_NT_HEADERS *)(Base + Dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY &Dir = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!Dir.VirtualAddress) return Names;
  auto Exports = (const IMAGE_EXPORT_DIRECTORY *)(Base + Dir.VirtualAddress);
  auto NameRvas = (const DWORD *)(Base + Exports->AddressOfNames);
  for (DWORD I = 0; I < Exports->NumberOfNames; I++)
    Names.push_back((const char *)(Base + NameRvas[I]));
  return Names;
}

std::vector<std::string> FilesIn(const std::string &Dir, const char *Pattern) {
  std::vector<std::string> Files;
  WIN32_FIND_DATAA Data;
  HANDLE Find = FindFirstFileA((Dir + Pattern).c_str(), &Data);
  if (Find == INVALID_HANDLE_VALUE) return Files;
  do Files.push_back(Dir + Data.cFileName);
  while (FindNextFileA(Find, &Data));
  FindClose(Find);
  std::sort(Files.begin(), Files.end());
  return Files;
}

std::vector<std::string> ReadHelpTopics(const std::string &Path, std::string *Language) {
  std::vector<std::string> Topics;
  FILE *F = fopen(Path.c_str(), "rb");
  if (!F) return Topics;
  char Line[4096];
  while (fgets(Line, sizeof Line, F)) {
    std::string L(Line);
    while (!L.empty() && (L.back() == '\n' || L.back() == '\r')) L.pop_back();
    if (L.compare(0, 10, ".Language=") == 0) *Language = L.substr(10, L.find(',') - 10);
    else if (L.size() > 1 && L[0] == '@' && L[1] != '-' && L[1] != '+') Topics.push_back(L.substr(1));
  }
  fclose(F);
  return Topics;
}

// --- Services -------------------------------------------------------------

int WINAPI MenuService(intptr_t ModuleNumber, int X, int Y, int MaxHeight, FARDWORD Flags,
                       const char *Title, const char *Bottom, const char *HelpTopic,
                       const int *BreakKeys, int *BreakCode, const FarMenuItem *Item,
                       int ItemsNumber);
int WINAPI DialogService(intptr_t ModuleNumber, int X1, int Y1, int X2, int Y2,
                         const char *HelpTopic, FarDialogItem *Item, int ItemsNumber);
int WINAPI MessageService(intptr_t ModuleNumber, FARDWORD Flags, const char *HelpTopic,
                          const char *const *Items, int ItemsNumber, int ButtonsNumber);

const char *WINAPI GetMsgService(intptr_t ModuleNumber, int MsgId) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::GetMsg, &F)) {
    if (F == Fault::NullText) return nullptr;
    if (F == Fault::ErrorResult) return "";
    E.RaiseFault(F);
  }
  Plugin *P = E.FindPlugin(ModuleNumber, "GetMsg");
  if (!P) return "";
  if (MsgId < 0 || (size_t)MsgId >= P->Messages.size()) {
    E.AddFailure("GetMsg: message " + std::to_string(MsgId) + " is not in the language file of " +
                 P->Path);
    return "";
  }
  return P->Messages[MsgId].c_str();
}

int WINAPI ControlService(void *hPlugin, int Command, void *Param) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::Control, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return 0;
    E.RaiseFault(F);
  }
  if (hPlugin != INVALID_HANDLE_VALUE) {
    E.AddFailure("Control: only the command line (INVALID_HANDLE_VALUE) is served");
    return 0;
  }
  switch (Command) {
    case FCTL_INSERTCMDLINE: {
      if (!Param) return 0;
      std::string T((const char *)Param);
      E.CommandLineCursor = std::min(E.CommandLineCursor, E.CommandLine.size());
      E.CommandLine.insert(E.CommandLineCursor, T);
      E.CommandLineCursor += T.size();
      return 1;
    }
    case FCTL_SETCMDLINE:
      if (!Param) return 0;
      E.CommandLine = (const char *)Param;
      E.CommandLineCursor = E.CommandLine.size();
      return 1;
    case FCTL_GETCMDLINE:
      if (!Param) return 0;
      strncpy((char *)Param, E.CommandLine.c_str(), 1023);
      ((char *)Param)[1023] = 0;
      return 1;
  }
  E.AddFailure("Control: command " + std::to_string(Command) + " is not served");
  return 0;
}

void *WINAPI SaveScreenService(int, int, int, int) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::SaveScreen, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return nullptr;
    E.RaiseFault(F);
  }
  static uintptr_t Next = 0x5C00;
  HANDLE H = (HANDLE)(Next += 4);
  E.Screens.push_back({H, false});
  return H;
}

void WINAPI RestoreScreenService(void *Handle) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::RestoreScreen, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return;
    E.RaiseFault(F);
  }
  if (!Handle) return;  // the host repaints the whole screen
  for (auto &S : E.Screens)
    if (S.first == Handle) {
      if (S.second) E.AddFailure("RestoreScreen: a screen was restored twice");
      S.second = true;
      return;
    }
  E.AddFailure("RestoreScreen: a handle that SaveScreen never gave");
}

int WINAPI CmpNameService(const char *Pattern, const char *String, int SkipPath) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::CmpName, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return 0;
    E.RaiseFault(F);
  }
  if (!Pattern || !String) {
    E.AddFailure("CmpName: null text");
    return 0;
  }
  return MatchMask(Pattern, String, SkipPath != 0);
}

int WINAPI EditorControlService(int Command, void *Param) {
  Emulator &E = Host();
  Fault F;
  bool NullText = false;
  if (E.TakeFault(Service::EditorControl, &F)) {
    if (F == Fault::ErrorResult) return 0;
    if (F == Fault::NullText) NullText = true;
    else E.RaiseFault(F);
  }
  int Result = E.Editor.Control(Command, Param);
  if (NullText && Param) {
    if (Command == ECTL_GETSTRING) ((EditorGetString *)Param)->StringText = nullptr;
    if (Command == ECTL_GETINFO) ((EditorInfo *)Param)->FileName = nullptr;
  }
  return Result;
}

void WINAPI UnusedService() { Host().AddFailure("a service the plug-ins never use was called"); }

void CheckHelpTopic(Emulator &E, const Plugin *P, const char *Topic, const std::string &Call) {
  if (!Topic || !*Topic || P->HelpTopics.empty()) return;
  std::string T = Topic;
  if (std::find(P->HelpTopics.begin(), P->HelpTopics.end(), T) == P->HelpTopics.end())
    E.AddFailure(Call + ": help topic \"" + T + "\" is not in the help file");
}

bool TakeAnswer(Emulator &E, UiCall::Kind Kind, const std::string &What, Emulator::Answer *A) {
  if (E.Queue.empty() || E.Queue.front().Kind != Kind) {
    E.AddFailure(What + " was shown with no answer for it queued");
    return false;
  }
  *A = std::move(E.Queue.front());
  E.Queue.pop_front();
  return true;
}

int WINAPI MenuService(intptr_t ModuleNumber, int X, int Y, int MaxHeight, FARDWORD Flags,
                       const char *Title, const char *Bottom, const char *HelpTopic,
                       const int *BreakKeys, int *BreakCode, const FarMenuItem *Item,
                       int ItemsNumber) {
  Emulator &E = Host();
  if (BreakCode) *BreakCode = -1;
  Fault F;
  if (E.TakeFault(Service::Menu, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return -1;
    E.RaiseFault(F);
  }
  Plugin *P = E.FindPlugin(ModuleNumber, "Menu");
  UiCall C;
  C.Type = UiCall::Menu;
  C.From = P;
  MenuCall &M = C.MenuData;
  M.X = X, M.Y = Y, M.MaxHeight = MaxHeight, M.Flags = Flags;
  M.Title = Text(Title), M.Bottom = Text(Bottom), M.HelpTopic = Text(HelpTopic);
  for (const int *K = BreakKeys; K && *K; K++) M.BreakKeys.push_back(*K);
  if (ItemsNumber > 0 && Item) M.Items.assign(Item, Item + ItemsNumber);
  M.Result = -1, M.BreakCode = -1;
  std::string What = "Menu \"" + OemToUtf8(M.Title) + "\"";
  for (auto &I : M.Items) {
    bool Terminated;
    FieldText(I.Text, sizeof I.Text, &Terminated);
    if (!Terminated) E.AddFailure(What + ": an item's text is not terminated");
  }
  if (P) CheckHelpTopic(E, P, HelpTopic, What);
  Emulator::Answer A;
  if (TakeAnswer(E, UiCall::Menu, What, &A)) {
    int Highlight = A.MenuData.Highlight;
    if (Highlight < 0) {
      Highlight = 0;
      for (int I = 0; I < (int)M.Items.size(); I++)
        if (M.Items[I].Selected) {
          Highlight = I;
          break;
        }
    }
    if (Highlight >= (int)M.Items.size() && !M.Items.empty()) {
      E.AddFailure(What + ": the answer highlights an item the menu lacks");
      Highlight = (int)M.Items.size() - 1;
    }
    if (!M.Items.empty() && M.Items[Highlight].Separator)
      E.AddFailure(What + ": the answer highlights a separator");
    switch (A.MenuData.Press) {
      case MenuAnswer::Enter:
        M.Result = M.Items.empty() ? -1 : Highlight;
        break;
      case MenuAnswer::Esc:
        break;
      case MenuAnswer::BreakKey: {
        auto K = std::find(M.BreakKeys.begin(), M.BreakKeys.end(), A.MenuData.BreakKeyCode);
        if (K == M.BreakKeys.end()) {
          E.AddFailure(What + ": the answer presses a key that is no break key");
        } else {
          M.Result = Highlight;
          M.BreakCode = (int)(K - M.BreakKeys.begin());
        }
        break;
      }
    }
  }
  if (BreakCode) *BreakCode = M.BreakCode;
  E.Calls.push_back(C);
  return M.Result;
}

bool IsRadio(const FarDialogItem &I) { return I.Type == DI_RADIOBUTTON; }
bool IsEdit(const FarDialogItem &I) {
  return I.Type == DI_EDIT || I.Type == DI_PSWEDIT || I.Type == DI_FIXEDIT || I.Type == DI_COMBOBOX;
}

void ChooseRadio(std::vector<FarDialogItem> &Items, int K) {
  int Start = K;
  while (Start > 0 && !(Items[Start].Flags & DIF_GROUP) && IsRadio(Items[Start - 1])) Start--;
  for (int I = Start; I < (int)Items.size() && IsRadio(Items[I]); I++) {
    if (I > Start && (Items[I].Flags & DIF_GROUP)) break;
    Items[I].Selected = 0;
  }
  Items[K].Selected = 1;
}

int WINAPI DialogService(intptr_t ModuleNumber, int X1, int Y1, int X2, int Y2,
                         const char *HelpTopic, FarDialogItem *Item, int ItemsNumber) {
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::Dialog, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return -1;
    E.RaiseFault(F);
  }
  Plugin *P = E.FindPlugin(ModuleNumber, "Dialog");
  UiCall C;
  C.Type = UiCall::Dialog;
  C.From = P;
  DialogCall &D = C.DialogData;
  D.X1 = X1, D.Y1 = Y1, D.X2 = X2, D.Y2 = Y2, D.HelpTopic = Text(HelpTopic);
  if (ItemsNumber > 0 && Item) D.Items.assign(Item, Item + ItemsNumber);
  D.Result = -1;
  std::string What = "Dialog \"" + OemToUtf8(C.Title()) + "\"";
  for (auto &I : D.Items) {
    bool Terminated;
    FieldText(I.Data, sizeof I.Data, &Terminated);
    if (!Terminated) E.AddFailure(What + ": an item's Data is not terminated");
  }
  if (P) CheckHelpTopic(E, P, HelpTopic, What);
  std::vector<FarDialogItem> Items = D.Items;
  Emulator::Answer A;
  if (TakeAnswer(E, UiCall::Dialog, What, &A)) {
    int N = (int)Items.size();
    auto Touchable = [&](int K) {
      if (K < 0 || K >= N) {
        E.AddFailure(What + ": the answer names item " + std::to_string(K) + " it lacks");
        return false;
      }
      if (Items[K].Flags & DIF_HIDDEN) {
        E.AddFailure(What + ": the answer touches hidden item " + std::to_string(K));
        return false;
      }
      return true;
    };
    for (auto &T : A.DialogData.Texts)
      if (Touchable(T.first)) {
        if (!IsEdit(Items[T.first])) E.AddFailure(What + ": item " + std::to_string(T.first) + " is no edit field");
        memset(Items[T.first].Data, 0, sizeof Items[T.first].Data);
        strncpy(Items[T.first].Data, T.second.c_str(), 511);
      }
    for (auto &S : A.DialogData.Selected)
      if (Touchable(S.first)) {
        if (IsRadio(Items[S.first]) && S.second) ChooseRadio(Items, S.first);
        else Items[S.first].Selected = S.second;
      }
    if (A.DialogData.During) A.DialogData.During(Items.data(), N);
    D.Result = A.DialogData.Close;
    if (D.Result != -1 && !Touchable(D.Result)) D.Result = -1;
  }
  D.Final = Items;
  if (D.Result != -1) {
    for (int I = 0; I < (int)Items.size(); I++) {
      memcpy(Item[I].Data, Items[I].Data, sizeof Item[I].Data);
      if (!(Items[I].Flags & DIF_HISTORY) || !IsEdit(Items[I])) Item[I].Selected = Items[I].Selected;
      if ((Items[I].Flags & DIF_HISTORY) && IsEdit(Items[I]) && Items[I].Data[0])
        E.Histories.push_back({Text(Items[I].History), Items[I].Data});
    }
  }
  E.Calls.push_back(C);
  return D.Result;
}

int WINAPI MessageService(intptr_t ModuleNumber, FARDWORD Flags, const char *HelpTopic,
                          const char *const *Items, int ItemsNumber, int ButtonsNumber) {
  DWORD LastError = GetLastError();
  Emulator &E = Host();
  Fault F;
  if (E.TakeFault(Service::Message, &F)) {
    if (F == Fault::ErrorResult || F == Fault::NullText) return -1;
    E.RaiseFault(F);
  }
  Plugin *P = E.FindPlugin(ModuleNumber, "Message");
  UiCall C;
  C.Type = UiCall::Message;
  C.From = P;
  MessageCall &M = C.MessageData;
  M.Flags = Flags, M.HelpTopic = Text(HelpTopic), M.ButtonsNumber = ButtonsNumber, M.Result = -1;
  M.OpenScreens = E.OpenScreens();
  for (int I = 0; I < ItemsNumber && Items; I++) {
    if (!Items[I]) E.AddFailure("Message: line " + std::to_string(I) + " is null");
    M.Lines.push_back(Text(Items[I]));
  }
  if (Flags & FMSG_ERRORTYPE) {
    char Buffer[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, LastError,
                   0, Buffer, sizeof Buffer, nullptr);
    M.ErrorText = Buffer;
    while (!M.ErrorText.empty() && strchr("\r\n ", M.ErrorText.back())) M.ErrorText.pop_back();
    if (M.ErrorText.empty()) M.ErrorText = "error " + std::to_string(LastError);
  }
  std::string What = "Message \"" + OemToUtf8(C.Title()) + "\"";
  if (P) CheckHelpTopic(E, P, HelpTopic, What);
  if (ButtonsNumber > 0) {
    Emulator::Answer A;
    if (TakeAnswer(E, UiCall::Message, What, &A)) {
      if (A.Button >= ButtonsNumber) E.AddFailure(What + ": the answer chooses a button it lacks");
      else M.Result = A.Button;
    }
  }
  E.Calls.push_back(C);
  return M.Result;
}

}  // namespace

Emulator &Host() {
  static Emulator Instance;
  return Instance;
}

void Emulator::Reset() {
  UnloadAll();
  Calls.clear();
  Histories.clear();
  Queue.clear();
  Screens.clear();
  Faults.clear();
  Failures.clear();
  Editor = EditorModel();
  CommandLine.clear();
  CommandLineCursor = 0;
  Language = "English";
}

std::string UiCall::Title() const {
  switch (Type) {
    case Menu:
      return MenuData.Title;
    case Dialog:
      for (auto &I : DialogData.Items)
        if (I.Type == DI_DOUBLEBOX || I.Type == DI_SINGLEBOX) return I.Data;
      return std::string();
    case Message:
      return MessageData.Lines.empty() ? std::string() : MessageData.Lines[0];
  }
  return std::string();
}

FARPROC Plugin::Export(const char *Name) const { return GetProcAddress(Module, Name); }

std::string Plugin::Msg(int N) const {
  return N >= 0 && (size_t)N < Messages.size() ? Messages[N] : std::string();
}

static std::vector<std::string> StringList(const char *const *List, int Count) {
  std::vector<std::string> Out;
  for (int I = 0; List && I < Count; I++) Out.push_back(Text(List[I]));
  return Out;
}

std::vector<std::string> Plugin::MenuStrings() const {
  return StringList(Info.PluginMenuStrings, Info.PluginMenuStringsNumber);
}
std::vector<std::string> Plugin::ConfigStrings() const {
  return StringList(Info.PluginConfigStrings, Info.PluginConfigStringsNumber);
}

Emulator::Emulator() {}
Emulator::~Emulator() { UnloadAll(); }

void Emulator::SetLanguage(const std::string &Name) { Language = Name; }

Plugin *Emulator::Load(const std::string &Path, const std::string &RootKey,
                       const std::vector<std::string> &Required) {
  std::string WinPath = ToWindowsPath(Path);
  HMODULE Module = LoadLibraryA(WinPath.c_str());
  if (!Module) {
    AddFailure("cannot load " + WinPath + " (error " + std::to_string(GetLastError()) + ")");
    return nullptr;
  }
  auto P = std::make_unique<Plugin>();
  P->Module = Module;
  char Full[MAX_PATH];
  GetModuleFileNameA(Module, Full, sizeof Full);
  P->Path = Full;
  P->RootKey = RootKey;
  std::vector<std::string> Names = {"SetStartupInfo", "GetPluginInfo"};
  Names.insert(Names.end(), Required.begin(), Required.end());
  std::vector<std::string> Exported = ExportNames(Module);
  bool Complete = true;
  for (auto &N : Names) {
    if (GetProcAddress(Module, N.c_str())) continue;
    Complete = false;
    bool Decorated = false;
    for (auto &X : Exported)
      if (X.compare(0, N.size() + 2, "_" + N + "@") == 0 || X.compare(0, N.size() + 1, N + "@") == 0)
        Decorated = true;
    AddFailure(P->Path + ": export " + N + (Decorated ? " is decorated" : " is missing"));
  }
  if (!Complete) {
    FreeLibrary(Module);
    return nullptr;
  }
  P->SetStartupInfo = (decltype(P->SetStartupInfo))P->Export("SetStartupInfo");
  P->GetPluginInfo = (decltype(P->GetPluginInfo))P->Export("GetPluginInfo");
  P->OpenPlugin = (decltype(P->OpenPlugin))P->Export("OpenPlugin");
  P->Configure = (decltype(P->Configure))P->Export("Configure");
  P->ProcessEditorInput = (decltype(P->ProcessEditorInput))P->Export("ProcessEditorInput");

  // The language file of the host's language, English when there is none.
  std::string Dir = Folder(P->Path);
  std::vector<std::string> English;
  bool Found = false;
  for (auto &F : FilesIn(Dir, "*.lng")) {
    std::string Lang;
    std::vector<std::string> Msgs;
    if (!ReadLanguageFile(F, &Lang, &Msgs)) {
      AddFailure("unreadable language file " + F);
      continue;
    }
    if (Lang == Language) {
      P->Messages = Msgs;
      Found = true;
    } else if (Lang == "English") {
      English = Msgs;
    }
  }
  if (!Found) P->Messages = English;
  std::vector<std::string> EnglishTopics;
  Found = false;
  for (auto &F : FilesIn(Dir, "*.hlf")) {
    std::string Lang;
    std::vector<std::string> Topics = ReadHelpTopics(F, &Lang);
    if (Lang == Language) P->HelpTopics = Topics, Found = true;
    else if (Lang == "English") EnglishTopics = Topics;
  }
  if (!Found) P->HelpTopics = EnglishTopics;

  P->ModuleNumber = 0x4D500 + (intptr_t)Plugins.size() * 0x10;
  unsigned char *S = P->StartupInfo;
  memset(S, 0, sizeof P->StartupInfo);
  PluginStartupInfo Kept;
  memset(&Kept, 0, sizeof Kept);
  Kept.StructSize = sizeof P->StartupInfo;
  strncpy(Kept.ModuleName, P->Path.c_str(), sizeof Kept.ModuleName - 1);
  Kept.ModuleNumber = P->ModuleNumber;
  Kept.RootKey = P->RootKey.c_str();
  Kept.Menu = MenuService;
  Kept.Dialog = DialogService;
  Kept.Message = MessageService;
  Kept.GetMsg = GetMsgService;
  Kept.Control = ControlService;
  Kept.SaveScreen = SaveScreenService;
  Kept.RestoreScreen = RestoreScreenService;
  Kept.GetDirList = Kept.GetPluginDirList = Kept.FreeDirList = UnusedService;
  Kept.Viewer = Kept.Editor = Kept.CharTable = Kept.Text = UnusedService;
  Kept.CmpName = CmpNameService;
  Kept.EditorControl = EditorControlService;
  memcpy(S, &Kept, sizeof Kept);
  PluginStartupInfoTail Tail;
  for (auto &Service : Tail.Services) Service = UnusedService;
  Tail.ViewerControl = UnusedService;
  Tail.Reserved = 0;
  memcpy(S + sizeof Kept, &Tail, sizeof Tail);

  Plugin *Loaded = P.get();
  Plugins.push_back(std::move(P));
  Loaded->SetStartupInfo((const PluginStartupInfo *)Loaded->StartupInfo);
  memset(&Loaded->InfoPattern, 0xA5, sizeof Loaded->InfoPattern);
  Loaded->Info = Loaded->InfoPattern;
  Loaded->GetPluginInfo(&Loaded->Info);
  return Loaded;
}

void Emulator::UnloadAll() {
  for (auto &P : Plugins) FreeLibrary(P->Module);
  Plugins.clear();
}

void Emulator::AnswerMenu(MenuAnswer A) {
  Answer X;
  X.Kind = UiCall::Menu;
  X.MenuData = A;
  Queue.push_back(std::move(X));
}

void Emulator::AnswerDialog(DialogAnswer A) {
  Answer X;
  X.Kind = UiCall::Dialog;
  X.DialogData = std::move(A);
  Queue.push_back(std::move(X));
}

void Emulator::AnswerMessage(int Button) {
  Answer X;
  X.Kind = UiCall::Message;
  X.Button = Button;
  Queue.push_back(std::move(X));
}

size_t Emulator::PendingAnswers() const { return Queue.size(); }

int Emulator::OpenScreens() const {
  int N = 0;
  for (auto &S : Screens) N += !S.second;
  return N;
}

void Emulator::FailCall(Service S, Fault F, int Nth) {
  std::lock_guard<std::mutex> G(Lock);
  Faults.push_back({S, F, Nth});
}

bool Emulator::TakeFault(Service S, Fault *F) {
  std::lock_guard<std::mutex> G(Lock);
  bool Hit = false;
  for (size_t I = 0; I < Faults.size(); I++) {
    if (Faults[I].S != S) continue;
    if (--Faults[I].Countdown == 0 && !Hit) {
      *F = Faults[I].F;
      Faults.erase(Faults.begin() + I);
      I--;
      Hit = true;
    }
  }
  return Hit;
}

void Emulator::RaiseFault(Fault F) {
  if (F == Fault::RaiseException) RaiseException(FaultExceptionCode, 0, 0, nullptr);
  if (F == Fault::AccessViolation) *(volatile int *)nullptr = 0;
  if (F == Fault::CppException) {
    ULONG_PTR Params[3] = {0x19930520, 0, 0};
    RaiseException(CppExceptionCode, EXCEPTION_NONCONTINUABLE, 3, Params);
  }
}

std::vector<std::string> Emulator::TakeFailures() {
  std::lock_guard<std::mutex> G(Lock);
  std::vector<std::string> Out;
  Out.swap(Failures);
  if (!Queue.empty()) {
    Out.push_back(std::to_string(Queue.size()) + " queued answer(s) were never used");
    Queue.clear();
  }
  return Out;
}

void Emulator::AddFailure(const std::string &Text) {
  std::lock_guard<std::mutex> G(Lock);
  Failures.push_back(Text);
}

Plugin *Emulator::FindPlugin(intptr_t ModuleNumber, const char *ServiceName) {
  for (auto &P : Plugins)
    if (P->ModuleNumber == ModuleNumber) return P.get();
  AddFailure(std::string(ServiceName) + ": unknown ModuleNumber " + std::to_string(ModuleNumber));
  return nullptr;
}

INPUT_RECORD Emulator::MouseEvent(int X, int Y, DWORD Buttons, DWORD ControlKeys,
                                  DWORD EventFlags) {
  INPUT_RECORD R;
  memset(&R, 0, sizeof R);
  R.EventType = MOUSE_EVENT;
  R.Event.MouseEvent.dwMousePosition.X = (SHORT)X;
  R.Event.MouseEvent.dwMousePosition.Y = (SHORT)Y;
  R.Event.MouseEvent.dwButtonState = Buttons;
  R.Event.MouseEvent.dwControlKeyState = ControlKeys;
  R.Event.MouseEvent.dwEventFlags = EventFlags;
  return R;
}

int Emulator::SendInput(Plugin &P, const INPUT_RECORD &Rec) {
  if (!P.ProcessEditorInput) {
    AddFailure(P.Path + " has no ProcessEditorInput");
    return 0;
  }
  return P.ProcessEditorInput(&Rec);
}

}  // namespace emu
