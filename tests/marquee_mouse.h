// Marquee's mouse handling driven through the emulator: event builders, the
// editor's state as one comparable record, and the real clipboard.
#ifndef TESTS_MARQUEE_MOUSE_H
#define TESTS_MARQUEE_MOUSE_H

#include "fixture.h"

#include <string>
#include <vector>

namespace mouse {

constexpr DWORD L = FROM_LEFT_1ST_BUTTON_PRESSED, R = RIGHTMOST_BUTTON_PRESSED,
                M = FROM_LEFT_2ND_BUTTON_PRESSED;
constexpr DWORD Shift = SHIFT_PRESSED, Ctrl = LEFT_CTRL_PRESSED, Alt = LEFT_ALT_PRESSED;

// One event and the result ProcessEditorInput must give for it.
struct Ev {
  INPUT_RECORD Rec;
  int Result;
};
inline Ev Press(int X, int Y, DWORD B, DWORD K = 0, int Res = -1) {
  return {emu::Emulator::MouseEvent(X, Y, B, K, 0), Res};
}
inline Ev Move(int X, int Y, DWORD B, DWORD K = 0, int Res = -1) {
  return {emu::Emulator::MouseEvent(X, Y, B, K, MOUSE_MOVED), Res};
}
inline Ev Release(int X, int Y, DWORD K = 0, int Res = -1) {
  return {emu::Emulator::MouseEvent(X, Y, 0, K, 0), Res};
}
inline Ev Double(int X, int Y, DWORD B, DWORD K = 0, int Res = -1) {
  return {emu::Emulator::MouseEvent(X, Y, B, K, DOUBLE_CLICK), Res};
}

inline std::string BlockText(const emu::EditorBlock &B) {
  char Buf[80];
  snprintf(Buf, sizeof Buf, "type %d line %d pos %d width %d height %d", B.Type, B.StartLine,
           B.StartPos, B.Width, B.Height);
  return Buf;
}
inline emu::EditorBlock Block(int Type, int Line, int Pos, int Width, int Height) {
  emu::EditorBlock B;
  B.Type = Type;
  B.StartLine = Line;
  B.StartPos = Pos;
  B.Width = Width;
  B.Height = Height;
  return B;
}

// The clipboard as other programs see it.
inline std::vector<UINT> ClipboardFormats() {
  std::vector<UINT> R;
  if (!OpenClipboard(nullptr)) return {0xFFFFFFFF};
  for (UINT F = 0; (F = EnumClipboardFormats(F)) != 0;) R.push_back(F);
  CloseClipboard();
  return R;
}
// The whole block of a format, GlobalSize bytes ("(none)" when absent).
inline std::string ClipboardBytes(UINT Format) {
  std::string R = "(none)";
  if (!OpenClipboard(nullptr)) return "(not opened)";
  if (HANDLE H = GetClipboardData(Format)) {
    const char *P = (const char *)GlobalLock(H);
    if (P) R.assign(P, GlobalSize(H));
    GlobalUnlock(H);
  }
  CloseClipboard();
  return R;
}
// The text of a format up to its terminator.
inline std::string ClipboardText(UINT Format) {
  std::string B = ClipboardBytes(Format);
  size_t End = B.find('\0');
  return End == std::string::npos ? B : B.substr(0, End);
}
// Bytes in use in every heap of the process.
inline size_t HeapBytesInUse() {
  HANDLE Heaps[64];
  DWORD Count = GetProcessHeaps(64, Heaps);
  size_t Total = 0;
  for (DWORD I = 0; I < Count && I < 64; I++) {
    PROCESS_HEAP_ENTRY E;
    E.lpData = nullptr;
    if (!HeapLock(Heaps[I])) continue;
    while (HeapWalk(Heaps[I], &E))
      if (E.wFlags & PROCESS_HEAP_ENTRY_BUSY) Total += E.cbData;
    HeapUnlock(Heaps[I]);
  }
  return Total;
}

inline UINT VerticalBlockFormat() { return RegisterClipboardFormatA("FAR_VerticalBlock"); }
// Empties the clipboard and places each (format, bytes) in order, exactly
// sized (no terminator is added).
inline void FillClipboard(const std::vector<std::pair<UINT, std::string>> &Items) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  for (auto &I : Items) {
    HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, I.second.size() ? I.second.size() : 1);
    char *P = (char *)GlobalLock(H);
    memcpy(P, I.second.data(), I.second.size());
    GlobalUnlock(H);
    SetClipboardData(I.first, H);
  }
  CloseClipboard();
}
inline std::string Z(const std::string &S) { return S + std::string(1, '\0'); }
inline std::string Wide(const std::wstring &S) {
  return std::string((const char *)S.c_str(), (S.size() + 1) * 2);
}

}  // namespace mouse

class MarqueeMouse : public HostTest {
protected:
  emu::Plugin *LoadWithMethod(DWORD Method) {
    SetDWord(PluginKey("Marquee"), "Method", Method);
    return LoadMarquee();
  }
  void SetFileType(int N, const std::string &Mask, const std::string &Charset) {
    std::string Key = PluginKey("Marquee") + "\\Type" + std::to_string(N);
    SetString(Key, "Mask", Mask);
    SetString(Key, "Description", "");
    SetString(Key, "Charset", Charset);
  }
  // Sends the events in order, checking each result.
  void Send(emu::Plugin *P, const std::vector<mouse::Ev> &Events) {
    for (size_t I = 0; I < Events.size(); I++)
      EXPECT_EQ(H.SendInput(*P, Events[I].Rec), Events[I].Result) << "event " << I;
  }
  void ExpectBlock(const emu::EditorBlock &B) {
    EXPECT_EQ(mouse::BlockText(H.Editor.Block()), mouse::BlockText(B));
  }
  void ExpectCursor(int Line, int Pos) {
    EXPECT_EQ(H.Editor.CurLine(), Line);
    EXPECT_EQ(H.Editor.CurPos(), Pos);
  }
};

#endif
