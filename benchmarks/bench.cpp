// Times the plug-ins' work on large input through the emulator, beside a
// baseline: the same host calls and clipboard transfer made directly, without
// the plug-in. Each operation is run once with the editor's call log on, and
// that log is what the baseline replays.
#include "emulator/emulator.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace emu;

namespace {

Emulator &H = Host();
std::string RootKey;
Plugin *Marquee, *Almanac;
UINT VerticalBlock;
double TicksPerSecond;

const int Sizes[] = {1000, 10000, 100000};

double Seconds() {
  LARGE_INTEGER T;
  QueryPerformanceCounter(&T);
  return (double)T.QuadPart / TicksPerSecond;
}

PluginStartupInfo &Info(Plugin *P) { return *(PluginStartupInfo *)P->StartupInfo; }

// Median of Runs timings of Op, each after an untimed Prepare.
double Median(int Runs, const std::function<void()> &Prepare, const std::function<void()> &Op) {
  std::vector<double> T;
  for (int I = 0; I < Runs; I++) {
    Prepare();
    double Start = Seconds();
    Op();
    T.push_back(Seconds() - Start);
  }
  std::sort(T.begin(), T.end());
  return T[T.size() / 2];
}

// The operation, its baseline and the baseline's editor calls alone, taken
// in turn, so that a load on the machine weighs on all three alike.
void MeasureInTurn(int Runs, const std::function<void()> &Prepare,
                   const std::vector<std::function<void()>> &Ops, double *Out[]) {
  std::vector<std::vector<double>> T(Ops.size());
  for (int I = 0; I < Runs; I++) {
    for (size_t K = 0; K < Ops.size(); K++) {
      Prepare();
      double Start = Seconds();
      Ops[K]();
      T[K].push_back(Seconds() - Start);
    }
  }
  for (size_t K = 0; K < Ops.size(); K++) {
    std::sort(T[K].begin(), T[K].end());
    *Out[K] = T[K][T[K].size() / 2];
  }
}

int RunsFor(int Size) { return Size >= 100000 ? 7 : Size >= 10000 ? 11 : 21; }

// Replays logged EditorControl calls through the host's service, texts and
// buffers in place of the plug-in's pointers.
void ReplayCalls(Plugin *P, const std::vector<EditorCall> &Calls, std::vector<char> &Scratch) {
  auto Control = Info(P).EditorControl;
  alignas(16) unsigned char Record[512];
  for (const EditorCall &C : Calls) {
    switch (C.Command) {
      case ECTL_INSERTTEXT:
        Control(C.Command, (void *)C.Text.c_str());
        break;
      case ECTL_SETSTRING: {
        EditorSetString S;
        memcpy(&S, C.Record.data(), sizeof S);
        S.StringText = (char *)C.Text.data();
        S.StringEOL = nullptr;
        S.StringLength = (int)C.Text.size();
        Control(C.Command, &S);
        break;
      }
      case ECTL_EDITORTOOEM:
      case ECTL_OEMTOEDITOR: {
        EditorConvertText T;
        memcpy(&T, C.Record.data(), sizeof T);
        if (Scratch.size() < (size_t)T.TextLength + 1) Scratch.resize((size_t)T.TextLength + 1);
        T.Text = Scratch.data();
        Control(C.Command, &T);
        break;
      }
      default:
        if (C.Record.empty()) {
          Control(C.Command, nullptr);
        } else {
          memcpy(Record, C.Record.data(), std::min(C.Record.size(), sizeof Record));
          Control(C.Command, Record);
        }
    }
  }
}

std::vector<EditorCall> RecordCalls(const std::function<void()> &Op) {
  H.Editor.ClearCalls();
  H.Editor.SetRecording(true);
  Op();
  H.Editor.SetRecording(false);
  std::vector<EditorCall> Calls = H.Editor.Calls();
  H.Editor.ClearCalls();
  return Calls;
}

// The clipboard ---------------------------------------------------------------

void PutBlock(UINT Format, const void *Data, size_t Size) {
  HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
  if (!Block) return;
  void *P = GlobalLock(Block);
  memcpy(P, Data, Size);
  GlobalUnlock(Block);
  if (!SetClipboardData(Format, Block)) GlobalFree(Block);
}

// OEM text in the three text formats (and the named one), converted by the
// same Windows calls a copy makes.
void PutTextFormats(const std::string &Oem, UINT Named) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  size_t N = Oem.size() + 1;
  PutBlock(CF_OEMTEXT, Oem.c_str(), N);
  std::string Ansi = Oem;
  OemToCharA(&Ansi[0], &Ansi[0]);
  PutBlock(CF_TEXT, Ansi.c_str(), N);
  std::vector<WCHAR> Wide(N);
  MultiByteToWideChar(CP_OEMCP, 0, Oem.c_str(), -1, Wide.data(), (int)N);
  PutBlock(CF_UNICODETEXT, Wide.data(), N * sizeof(WCHAR));
  if (Named) PutBlock(Named, Oem.c_str(), N);
  CloseClipboard();
}

void PutOnlyOem(const std::string &Oem, UINT Named) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  PutBlock(Named ? Named : CF_OEMTEXT, Oem.c_str(), Oem.size() + 1);
  CloseClipboard();
}

std::string ClipboardOem() {
  std::string R;
  if (!OpenClipboard(nullptr)) return R;
  if (HANDLE Handle = GetClipboardData(CF_OEMTEXT)) {
    const char *P = (const char *)GlobalLock(Handle);
    if (P) R.assign(P, strnlen(P, GlobalSize(Handle)));
    GlobalUnlock(Handle);
  }
  CloseClipboard();
  return R;
}

// The text a paste reads: the first text format, as the plug-in chooses it,
// or the named one; converted to OEM the same way.
std::string ReadClipboard(UINT Named) {
  std::string R;
  if (!OpenClipboard(nullptr)) return R;
  UINT Format = Named;
  if (!Format) {
    Format = CF_OEMTEXT;
    for (UINT F = 0; (F = EnumClipboardFormats(F)) != 0;)
      if (F == CF_UNICODETEXT || F == CF_TEXT || F == CF_OEMTEXT) {
        Format = F;
        break;
      }
  }
  if (HANDLE Handle = GetClipboardData(Format)) {
    const void *P = GlobalLock(Handle);
    size_t Size = GlobalSize(Handle);
    if (P && Format == CF_UNICODETEXT) {
      const WCHAR *W = (const WCHAR *)P;
      int Len = (int)wcsnlen(W, Size / 2);
      int Need = WideCharToMultiByte(CP_OEMCP, 0, W, Len, nullptr, 0, nullptr, nullptr);
      R.resize((size_t)Need);
      WideCharToMultiByte(CP_OEMCP, 0, W, Len, &R[0], Need, nullptr, nullptr);
    } else if (P) {
      R.assign((const char *)P, strnlen((const char *)P, Size));
      if (Format == CF_TEXT) CharToOemBuffA(&R[0], &R[0], (DWORD)R.size());
    }
    GlobalUnlock(Handle);
  }
  CloseClipboard();
  return R;
}

// Texts -----------------------------------------------------------------------

std::vector<EditorLine> Document(int Lines, const char *Eol) {
  std::vector<EditorLine> R((size_t)Lines);
  for (int I = 0; I < Lines; I++) {
    std::string T(80, ' ');
    for (int C = 0; C < 80; C++) T[(size_t)C] = (char)('a' + (I * 7 + C) % 26);
    for (int C = 9; C < 80; C += 10) T[(size_t)C] = ' ';
    R[(size_t)I] = EditorLine{T, Eol};
  }
  R.push_back(EditorLine{"", ""});
  return R;
}

std::string ClipText(int Lines, const char *Eol) {
  std::string R;
  for (const EditorLine &L : Document(Lines, Eol))
    if (!L.Eol.empty()) R += L.Text + Eol;
  return R;
}

// The results --------------------------------------------------------------------

struct Row {
  std::string Name;
  double Time[3] = {-1, -1, -1};  // the three sizes (or one time in [2])
  double Base[3] = {-1, -1, -1};
  double Editor[3] = {-1, -1, -1};  // the replayed editor calls alone
  bool Sized = true;
  std::string SizeNote;
};
std::vector<Row> Rows;
std::vector<std::string> Misses;

std::string Ms(double S) {
  char B[32];
  if (S < 0) return "-";
  snprintf(B, sizeof B, S < 0.01 ? "%.3f" : S < 1 ? "%.1f" : "%.0f", S * 1000);
  return B;
}

std::string GrowthOf(const double *T, bool Sized) {
  char B[16] = "-";
  if (Sized && T[1] > 0 && T[2] > 0) snprintf(B, sizeof B, "%.1f", T[2] / T[1]);
  return B;
}

void PrintRow(const Row &R) {
  char Ratio[16];
  double T = R.Time[2], B = R.Base[2];
  std::string Growth = GrowthOf(R.Time, R.Sized);
  snprintf(Ratio, sizeof Ratio, "%.2f", B > 0 ? T / B : 0);
  printf("%-34s %8s %8s %8s %6s %8s %6s %6s %8s %6s\n", R.Name.c_str(), Ms(R.Time[0]).c_str(),
         Ms(R.Time[1]).c_str(), Ms(T).c_str(), Growth.c_str(), Ms(B).c_str(),
         GrowthOf(R.Base, R.Sized).c_str(), Ratio, Ms(R.Editor[2]).c_str(),
         GrowthOf(R.Editor, R.Sized).c_str());
  fflush(stdout);
  if (R.Sized && R.Time[1] > 0 && R.Time[2] / R.Time[1] > 12)
    Misses.push_back(R.Name + ": growth " + Growth);
  if (B > 0 && T / B > 1.5) Misses.push_back(R.Name + ": ratio to the baseline " + Ratio);
  if (T > 1.0) Misses.push_back(R.Name + ": " + Ms(T) + " ms at the largest size");
}

// Marquee ------------------------------------------------------------------------

INPUT_RECORD Release(DWORD Keys = 0) { return Emulator::MouseEvent(0, 1, 0, Keys, 0); }

void SetBlock(int Type, int Lines) {
  EditorBlock B;
  B.Type = Type;
  B.StartLine = 1;
  B.Height = Lines;
  B.StartPos = Type == BTYPE_STREAM ? 5 : 10;
  B.Width = Type == BTYPE_STREAM ? 70 : 40;
  H.Editor.SetBlock(B);
}

// Copy or cut of a block of Lines lines out of a file of Lines + 2.
void MeasureCopyCut(Row &R, int Index, int Lines, int Type, bool Cut) {
  std::vector<EditorLine> Doc = Document(Lines + 1, "\r\n");
  auto Prepare = [&] {
    H.Editor.SetLines(Doc);
    H.Editor.SetCursor(0, 0);
    SetBlock(Type, Lines);
  };
  INPUT_RECORD Event = Release(Cut ? SHIFT_PRESSED : 0);
  auto Op = [&] { H.SendInput(*Marquee, Event); };
  Prepare();
  std::vector<EditorCall> Calls = RecordCalls(Op);
  std::string Copied = ClipboardOem();
  UINT Named = Type == BTYPE_COLUMN ? VerticalBlock : 0;
  std::vector<char> Scratch;
  double *Out[] = {&R.Time[Index], &R.Base[Index], &R.Editor[Index]};
  MeasureInTurn(RunsFor(Lines), Prepare,
                {Op,
                 [&] {
                   ReplayCalls(Marquee, Calls, Scratch);
                   PutTextFormats(Copied, Named);
                 },
                 [&] { ReplayCalls(Marquee, Calls, Scratch); }},
                Out);
}

// Paste of Lines lines (80 characters and a break) into a short file.
void MeasurePaste(Row &R, int Index, int Lines, bool Column, const char *Eol) {
  std::vector<EditorLine> Doc = Document(3, "\r\n");
  std::string Text = ClipText(Lines, Eol);
  UINT Named = Column ? VerticalBlock : 0;
  PutOnlyOem(Text, Named);
  auto Prepare = [&] {
    H.Editor.SetLines(Doc);
    H.Editor.SetCursor(0, 0);
    H.Editor.SetBlock(EditorBlock());
  };
  INPUT_RECORD Press = Emulator::MouseEvent(4, 2, RIGHTMOST_BUTTON_PRESSED, 0, 0);
  INPUT_RECORD Up = Emulator::MouseEvent(4, 2, 0, 0, 0);
  auto Op = [&] {
    H.SendInput(*Marquee, Press);
    H.SendInput(*Marquee, Up);
  };
  Prepare();
  std::vector<EditorCall> Calls = RecordCalls(Op);
  std::vector<char> Scratch;
  double *Out[] = {&R.Time[Index], &R.Base[Index], &R.Editor[Index]};
  MeasureInTurn(RunsFor(Lines), Prepare,
                {Op,
                 [&] {
                   std::string Read = ReadClipboard(Named);
                   ReplayCalls(Marquee, Calls, Scratch);
                 },
                 [&] { ReplayCalls(Marquee, Calls, Scratch); }},
                Out);
  if (H.Editor.LineCount() < Lines) Misses.push_back(R.Name + ": the paste lost lines");
}

std::string TypeKey(int N) { return RootKey + "\\Marquee\\Type" + std::to_string(N); }

void SetString(const std::string &Key, const char *Name, const std::string &Value) {
  HKEY K;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &K,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(K, Name, 0, REG_SZ, (const BYTE *)Value.c_str(), (DWORD)Value.size() + 1);
  RegCloseKey(K);
}

void SetDWord(const std::string &Key, const char *Name, DWORD Value) {
  HKEY K;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &K,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(K, Name, 0, REG_DWORD, (const BYTE *)&Value, sizeof Value);
  RegCloseKey(K);
}

// Types 0 .. Count-1, each with two masks; the file matches only the last.
void SetFileTypes(int Count) {
  for (int I = 0; I < 200; I++) RegDeleteKeyA(HKEY_CURRENT_USER, TypeKey(I).c_str());
  for (int I = 0; I < Count; I++) {
    std::string Ext = I == Count - 1 ? "cpp" : "x" + std::to_string(I);
    SetString(TypeKey(I), "Mask", "*." + Ext + ",*." + Ext + "~");
    SetString(TypeKey(I), "Description", "Type " + std::to_string(I));
    SetString(TypeKey(I), "Charset", "0-9A-Za-z_");
  }
}

// The file types as the word selection goes through them: each type's mask
// read and matched by the host until one matches, then its characters.
void MatchTypesDirectly(const char *FileName) {
  auto CmpName = Info(Marquee).CmpName;
  for (int I = 0;; I++) {
    HKEY K;
    std::string Key = TypeKey(I);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS)
      return;
    char Mask[256] = "";
    DWORD Size = sizeof Mask - 1;
    RegQueryValueExA(K, "Mask", nullptr, nullptr, nullptr, &Size);
    Size = sizeof Mask - 1;
    RegQueryValueExA(K, "Mask", nullptr, nullptr, (BYTE *)Mask, &Size);
    RegCloseKey(K);
    bool Matched = false;
    for (char *P = Mask; *P && !Matched;) {
      char *Comma = strchr(P, ',');
      if (Comma) *Comma = 0;
      Matched = CmpName(P, FileName, TRUE) != 0;
      P = Comma ? Comma + 1 : P + strlen(P);
    }
    if (Matched) {
      RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_QUERY_VALUE, &K);
      char Charset[256];
      Size = sizeof Charset;
      RegQueryValueExA(K, "Charset", nullptr, nullptr, nullptr, &Size);
      Size = sizeof Charset;
      RegQueryValueExA(K, "Charset", nullptr, nullptr, (BYTE *)Charset, &Size);
      RegCloseKey(K);
      return;
    }
  }
}

// A double click in the middle of a word on a line of Length characters.
void MeasureWord(Row &R, int Index, int Length, int Types) {
  SetFileTypes(Types);
  const char *FileName = "C:\\Work\\Source\\main.cpp";
  std::string Line((size_t)Length, 'w');
  for (int I = 99; I < Length; I += 100) Line[(size_t)I] = ' ';
  std::vector<EditorLine> Doc = {{"", "\r\n"}, {Line, "\r\n"}, {"", ""}};
  H.Editor.SetFileName(FileName);
  H.Editor.SetLines(Doc);
  int X = 0, Y = 0;
  auto Prepare = [&] {
    H.Editor.SetCursor(1, Length / 2 + 20);
    H.Editor.SetBlock(EditorBlock());
    X = H.Editor.RealToTab(1, H.Editor.CurPos()) - H.Editor.LeftPos();
    Y = 1 - H.Editor.TopScreenLine() + 1;
  };
  // A press right after a word selection selects the line and ends the
  // double-click period, so that the next double click selects a word again.
  auto Op = [&] {
    H.SendInput(*Marquee, Emulator::MouseEvent(X, Y, FROM_LEFT_1ST_BUTTON_PRESSED, 0, DOUBLE_CLICK));
  };
  auto End = [&] {
    H.SendInput(*Marquee, Emulator::MouseEvent(X, Y, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0));
  };
  Prepare();
  std::vector<EditorCall> Calls = RecordCalls(Op);
  if (H.Editor.Block().Type != BTYPE_STREAM || H.Editor.Block().Width <= 0)
    Misses.push_back(R.Name + ": no word was selected");
  End();
  std::vector<char> Scratch;
  int Runs = 21;
  std::vector<double> T, B, E;
  for (int I = 0; I < Runs; I++) {
    Prepare();
    double S0 = Seconds();
    ReplayCalls(Marquee, Calls, Scratch);
    E.push_back(Seconds() - S0);
    Prepare();
    double S = Seconds();
    Op();
    T.push_back(Seconds() - S);
    End();
    Prepare();
    S = Seconds();
    MatchTypesDirectly(FileName);
    ReplayCalls(Marquee, Calls, Scratch);
    std::vector<char> Copy(Line.begin(), Line.end());
    OemToCharBuffA(Copy.data(), Copy.data(), (DWORD)Copy.size());
    B.push_back(Seconds() - S);
  }
  std::sort(T.begin(), T.end());
  std::sort(B.begin(), B.end());
  std::sort(E.begin(), E.end());
  R.Editor[Index] = E[E.size() / 2];
  R.Time[Index] = T[T.size() / 2];
  R.Base[Index] = B[B.size() / 2];
}

void RunMarquee() {
  SetDWord(RootKey + "\\Marquee", "Method", 2);
  Marquee = H.Load(DIST_DIR "/Marquee/Marquee.dll", RootKey, {"ProcessEditorInput"});
  if (!Marquee) return;
  VerticalBlock = RegisterClipboardFormatA("FAR_VerticalBlock");
  struct {
    const char *Name;
    int Type;
    bool Cut;
  } Blocks[] = {{"stream copy", BTYPE_STREAM, false},
                {"column copy", BTYPE_COLUMN, false},
                {"stream cut", BTYPE_STREAM, true},
                {"column cut", BTYPE_COLUMN, true}};
  // Wine's first large clipboard transfers cost more than later ones: one
  // untimed round first, so that the first row is not charged for it.
  Row WarmUp;
  MeasureCopyCut(WarmUp, 1, Sizes[1], BTYPE_STREAM, false);
  for (auto &B : Blocks) {
    Row R;
    R.Name = B.Name;
    for (int I = 0; I < 3; I++) MeasureCopyCut(R, I, Sizes[I], B.Type, B.Cut);
    PrintRow(R);
  }
  struct {
    const char *Name;
    bool Column;
    const char *Eol;
  } Pastes[] = {{"stream paste, CR LF", false, "\r\n"},
                {"stream paste, LF", false, "\n"},
                {"column paste, CR LF", true, "\r\n"}};
  for (auto &P : Pastes) {
    Row R;
    R.Name = P.Name;
    for (int I = 0; I < 3; I++) MeasurePaste(R, I, Sizes[I], P.Column, P.Eol);
    PrintRow(R);
  }
  Row Word;
  Word.Name = "word on a long line (chars)";
  for (int I = 0; I < 3; I++) MeasureWord(Word, I, Sizes[I], 0);
  PrintRow(Word);
  Row Types;
  Types.Name = "file types 2/20/200 (double click)";
  int TypeCounts[] = {2, 20, 200};
  for (int I = 0; I < 3; I++) MeasureWord(Types, I, 80, TypeCounts[I]);
  PrintRow(Types);
}

// Almanac ---------------------------------------------------------------------------

void QueueMenu(int Item, MenuAnswer::Key Press = MenuAnswer::Enter) {
  MenuAnswer A;
  A.Highlight = Item;
  A.Press = Press;
  H.AnswerMenu(A);
}

void QueueDialogEsc() {
  DialogAnswer A;
  A.Close = -1;
  H.AnswerDialog(A);
}

std::string SlotKey(int Slot) { return RootKey + "\\Almanac\\Format" + std::to_string(Slot); }

void ReadSlotDirectly(int Slot, bool Create) {
  HKEY K;
  LONG S = Create ? RegCreateKeyExA(HKEY_CURRENT_USER, SlotKey(Slot).c_str(), 0, nullptr, 0,
                                    KEY_READ | KEY_WRITE, nullptr, &K, nullptr)
                  : RegOpenKeyExA(HKEY_CURRENT_USER, SlotKey(Slot).c_str(), 0, KEY_READ, &K);
  if (S != ERROR_SUCCESS) return;
  char Text[512];
  DWORD Size = sizeof Text, Mode, ModeSize = sizeof Mode;
  RegQueryValueExA(K, "Name", nullptr, nullptr, (BYTE *)Text, &Size);
  Size = sizeof Text;
  RegQueryValueExA(K, "Format", nullptr, nullptr, (BYTE *)Text, &Size);
  RegQueryValueExA(K, "Mode", nullptr, nullptr, (BYTE *)&Mode, &ModeSize);
  RegCloseKey(K);
}

// Shows the host the menus and dialogs the plug-in showed, with their items.
void ShowCallsDirectly(const std::vector<UiCall> &Calls) {
  for (const UiCall &C : Calls) {
    if (C.Type == UiCall::Menu) {
      const MenuCall &M = C.MenuData;
      int Code;
      std::vector<int> Keys = M.BreakKeys;
      Keys.push_back(0);
      QueueMenu(-1, MenuAnswer::Esc);
      Info(Almanac).Menu(Almanac->ModuleNumber, M.X, M.Y, M.MaxHeight, M.Flags, M.Title.c_str(),
                         M.Bottom.c_str(), M.HelpTopic.c_str(), Keys.data(), &Code,
                         M.Items.data(), (int)M.Items.size());
    } else if (C.Type == UiCall::Dialog) {
      const DialogCall &D = C.DialogData;
      std::vector<FarDialogItem> Items = D.Items;
      QueueDialogEsc();
      Info(Almanac).Dialog(Almanac->ModuleNumber, D.X1, D.Y1, D.X2, D.Y2, D.HelpTopic.c_str(),
                           Items.data(), (int)Items.size());
    }
  }
}

void MeasureAlmanac(const char *Name, const std::function<void()> &Answers,
                    const std::function<void()> &Reads) {
  Row R;
  R.Name = Name;
  R.Sized = false;
  auto Prepare = [] { H.Calls.clear(); };
  auto Op = [&] {
    Answers();
    Almanac->OpenPlugin(OPEN_PLUGINSMENU, 0);
  };
  Prepare();
  Op();
  std::vector<UiCall> Shown = H.Calls;
  double *Out[] = {&R.Time[2], &R.Base[2]};
  MeasureInTurn(21, Prepare,
                {Op,
                 [&] {
                   Reads();
                   ShowCallsDirectly(Shown);
                 }},
                Out);
  PrintRow(R);
}

void RunAlmanac() {
  for (int Slot = 1; Slot < 10; Slot++) {
    SetString(SlotKey(Slot), "Name", "Format " + std::to_string(Slot));
    SetString(SlotKey(Slot), "Format", "%d.%m.%Y %H:%M:%S");
    SetDWord(SlotKey(Slot), "Mode", 0x10000);
  }
  Almanac = H.Load(DIST_DIR "/Almanac/Almanac.dll", RootKey, {"OpenPlugin", "Configure"});
  if (!Almanac) return;
  MeasureAlmanac("Almanac formats menu", [] {
    QueueMenu(1);
    QueueMenu(-1, MenuAnswer::Esc);
  }, [] {
    for (int Slot = 1; Slot < 10; Slot++) ReadSlotDirectly(Slot, false);
  });
  MeasureAlmanac("Almanac calendar", [] {
    QueueMenu(3);
    QueueDialogEsc();
  }, [] { ReadSlotDirectly(11, true); });

  // The calendar's fixed cost: Dialog.gen reads, parses and builds the dialog
  // from its file on every opening.
  typedef void *(__cdecl * LoadDialogEx)(HMODULE, intptr_t, const char *, const char *);
  typedef void(__cdecl * FreeDialog)(void *);
  HMODULE Gen = LoadLibraryA(DIST_DIR "/Almanac/Dialog.gen");
  auto Load = Gen ? (LoadDialogEx)(void *)GetProcAddress(Gen, "LoadDialogEx") : nullptr;
  auto Free = Gen ? (FreeDialog)(void *)GetProcAddress(Gen, "FreeDialog") : nullptr;
  if (Load && Free) {
    double T = Median(21, [] {}, [&] {
      Free(Load(Almanac->Module, Almanac->ModuleNumber, "Calendar.dlg", "Calendar"));
    });
    printf("%-34s %26s %8s\n", "  of which Calendar.dlg loaded", "", Ms(T).c_str());
  }
  if (Gen) FreeLibrary(Gen);
}

}  // namespace

int main() {
  LARGE_INTEGER F;
  QueryPerformanceFrequency(&F);
  TicksPerSecond = (double)F.QuadPart;
  char Buf[64];
  snprintf(Buf, sizeof Buf, "Software\\HostBench\\%lu", GetCurrentProcessId());
  RootKey = Buf;
  H.Editor.SetRecording(false);

  printf("%s build under Wine; milliseconds, median of 7 to 21 runs.\n",
         sizeof(void *) == 8 ? "64-bit" : "32-bit");
  if (sizeof(void *) == 8)
    printf("(This machine runs only 64-bit programs under Wine: the 64-bit build of the same "
           "sources is measured.)\n");
  printf("Sizes are lines of 80 characters (or as named); growth = 100,000 / 10,000;\n"
         "baseline = the same host calls and clipboard transfer made without the plug-in;\n"
         "editor = the emulator's part of the baseline (its EditorControl calls alone);\n"
         "ratio = operation / baseline, both at 100,000.\n\n");
  printf("%-34s %8s %8s %8s %6s %8s %6s %6s %8s %6s\n", "operation", "1,000", "10,000",
         "100,000", "growth", "baseline", "growth", "ratio", "editor", "growth");
  RunMarquee();
  RunAlmanac();
  for (auto &F : H.TakeFailures()) Misses.push_back("emulator: " + F);
  H.Reset();
  RegDeleteTreeA(HKEY_CURRENT_USER, RootKey.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, RootKey.c_str());

  printf("\nGoals: growth at most 12, ratio at most 1.5, at most 1,000 ms at 100,000.\n");
  if (Misses.empty()) printf("All goals met.\n");
  for (auto &M : Misses) printf("MISSED %s\n", M.c_str());
  return 0;
}
