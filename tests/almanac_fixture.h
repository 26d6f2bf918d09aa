// Almanac in the emulator: loading, its keys, and where the items of its
// dialog files stand in what the host is shown.
#ifndef TESTS_ALMANAC_FIXTURE_H
#define TESTS_ALMANAC_FIXTURE_H

#include "dialoggen/dlgfile.h"
#include "fixture.h"

#include <map>
#include <memory>

// The dialog as the dialog file describes it, read from dist.
inline const DialogLayout &LayoutOf(const std::string &File, const std::string &Name) {
  static std::map<std::string, std::unique_ptr<DialogLayout>> Cache;
  auto &Slot = Cache[File + "|" + Name];
  if (!Slot) {
    Slot.reset(new DialogLayout());
    std::string Text;
    if (FILE *F = fopen(DistPath("Almanac/" + File).c_str(), "rb")) {
      char Buf[4096];
      size_t N;
      while ((N = fread(Buf, 1, sizeof Buf, F)) > 0) Text.append(Buf, N);
      fclose(F);
    }
    char Error[128];
    if (!ParseDialogFile(Text.c_str(), Name.c_str(), Slot.get(), Error, sizeof Error))
      ADD_FAILURE() << File << " \"" << Name << "\": " << Error;
  }
  return *Slot;
}

// Index of an identifier among the items the host is shown (hidden ones left out).
inline int ItemOf(const std::string &File, const std::string &Name, int Id,
                  std::vector<int> Hidden = {}) {
  const DialogLayout &S = LayoutOf(File, Name);
  int Shown = 0;
  for (int I = 0; I < S.Count; I++) {
    bool IsHidden = false;
    for (int H : Hidden) IsHidden |= S.Items[I].Id == H;
    if (IsHidden) continue;
    if (S.Items[I].Id == Id) return Shown;
    Shown++;
  }
  ADD_FAILURE() << File << " \"" << Name << "\" has no item " << Id;
  return -1;
}

inline int MainItem(const char *Name, int Id, std::vector<int> Hidden = {}) {
  return ItemOf("Almanac.dlg", Name, Id, Hidden);
}
inline int CalItem(const char *Name, int Id) { return ItemOf("Calendar.dlg", Name, Id); }

class AlmanacTest : public HostTest {
protected:
  emu::Plugin *P = nullptr;

  emu::Plugin *LoadAlmanac(const std::string &Path = DistPath("Almanac/Almanac.dll")) {
    P = H.Load(Path, RootKey, {"OpenPlugin", "Configure", "PutAlmanac"});
    EXPECT_NE(P, nullptr);
    return P;
  }
  std::string Key(const char *Sub) const { return RootKey + "\\Almanac\\" + Sub; }

  DWORD ReadDWord(const std::string &K, const char *Name, DWORD *Type = nullptr) {
    HKEY Hk;
    DWORD V = 0xDEADBEEF, T = 0, S = sizeof V;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, K.c_str(), 0, KEY_QUERY_VALUE, &Hk) == ERROR_SUCCESS) {
      RegQueryValueExA(Hk, Name, nullptr, &T, (BYTE *)&V, &S);
      RegCloseKey(Hk);
    }
    if (Type) *Type = T;
    return V;
  }
  std::string ReadString(const std::string &K, const char *Name, DWORD *Type = nullptr) {
    HKEY Hk;
    char V[1024] = "<missing>";
    DWORD T = 0, S = sizeof V - 1;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, K.c_str(), 0, KEY_QUERY_VALUE, &Hk) == ERROR_SUCCESS) {
      RegQueryValueExA(Hk, Name, nullptr, &T, (BYTE *)V, &S);
      RegCloseKey(Hk);
    }
    if (Type) *Type = T;
    return V;
  }

  void Menu(int Item, emu::MenuAnswer::Key Press = emu::MenuAnswer::Enter, int BreakKey = 0) {
    emu::MenuAnswer A;
    A.Highlight = Item;
    A.Press = Press;
    A.BreakKeyCode = BreakKey;
    H.AnswerMenu(A);
  }
  void Dialog(int Close, std::vector<std::pair<int, std::string>> Texts = {},
              std::vector<std::pair<int, int>> Selected = {}) {
    emu::DialogAnswer A;
    A.Close = Close;
    A.Texts = Texts;
    A.Selected = Selected;
    H.AnswerDialog(A);
  }
  std::vector<const emu::UiCall *> CallsOf(emu::UiCall::Kind Kind) {
    std::vector<const emu::UiCall *> Out;
    for (auto &C : H.Calls)
      if (C.Type == Kind) Out.push_back(&C);
    return Out;
  }
};

inline std::string Formatted(const char *Format, const struct tm *T = nullptr) {
  char Buf[256];
  struct tm Now;
  if (!T) {
    time_t S = time(nullptr);
    Now = *localtime(&S);
    T = &Now;
  }
  if (!strftime(Buf, sizeof Buf, Format, T)) Buf[0] = 0;
  return Buf;
}

#endif
