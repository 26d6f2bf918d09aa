// Shows the plug-ins in the host emulator as a user would meet them.
#include "emulator.h"

#include <stdio.h>
#include <string.h>

using namespace emu;

static const char *DemoRoot = "Software\\HostDemo\\Plugins";

static void PrintList(const char *Heading, const std::vector<std::string> &Items) {
  printf("%s\n", Heading);
  for (auto &I : Items) printf("  %s\n", OemToUtf8(I).c_str());
}

static std::string ReadSetting(const char *Key, const char *Name) {
  HKEY H;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Key, 0, KEY_QUERY_VALUE, &H) != ERROR_SUCCESS)
    return "(not stored)";
  BYTE Data[512] = {0};
  DWORD Type, Size = sizeof Data - 1;
  std::string Out = "(not stored)";
  if (RegQueryValueExA(H, Name, nullptr, &Type, Data, &Size) == ERROR_SUCCESS)
    Out = Type == REG_DWORD ? std::to_string(*(DWORD *)Data) : std::string((char *)Data);
  RegCloseKey(H);
  return Out;
}

static void ShowFailures() {
  for (auto &F : Host().TakeFailures()) printf("!! %s\n", F.c_str());
}

// The clipboard's OEM text, as the host would show it.
static std::string ClipboardOemText() {
  std::string Text = "(none)";
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  if (HANDLE H = GetClipboardData(CF_OEMTEXT)) {
    if (const char *P = (const char *)GlobalLock(H)) Text.assign(P, strnlen(P, GlobalSize(H)));
    GlobalUnlock(H);
  }
  CloseClipboard();
  return Text;
}

// A double click, its release with Ctrl (a copy in every scheme) and a third
// click, in an editor showing two lines.
static void DemoMarqueeMouse(Plugin &P) {
  EditorModel &E = Host().Editor;
  E.SetFileName("C:\\demo\\notes.txt");
  E.SetText("Press and drag to select, double-click_a_word.\nSecond line\n");
  auto Show = [&](const char *What) {
    EditorBlock B = E.Block();
    std::string Clip = ClipboardOemText();
    for (size_t I; (I = Clip.find("\r\n")) != std::string::npos;) Clip.replace(I, 2, "<CR LF>");
    printf("  %-34s block type %d, line %d, from %d, width %d, height %d; clipboard \"%s\"\n",
           What, B.Type, B.StartLine, B.StartPos, B.Width, B.Height, OemToUtf8(Clip).c_str());
  };
  printf("Mouse in the editor (line 0 on screen row 1):\n");
  // Also the process's first use of the clipboard, which can take longer than
  // the double-click time under Wine.
  Show("before:");
  const DWORD Left = FROM_LEFT_1ST_BUTTON_PRESSED;
  Host().SendInput(P, Emulator::MouseEvent(36, 1, Left));
  Host().SendInput(P, Emulator::MouseEvent(36, 1, 0));
  Host().SendInput(P, Emulator::MouseEvent(36, 1, Left, 0, DOUBLE_CLICK));
  Host().SendInput(P, Emulator::MouseEvent(36, 1, 0, LEFT_CTRL_PRESSED));
  Show("double click, release with Ctrl:");
  Host().SendInput(P, Emulator::MouseEvent(36, 1, Left));
  Host().SendInput(P, Emulator::MouseEvent(36, 1, 0, LEFT_CTRL_PRESSED));
  Show("third click, release with Ctrl:");
}

static void DemoMarquee() {
  printf("=== Marquee ===\n");
  Plugin *P = Host().Load(DIST_DIR "/Marquee/Marquee.dll", DemoRoot,
                          {"OpenPlugin", "Configure", "ProcessEditorInput"});
  if (!P) return ShowFailures();
  PrintList("Editor's plug-in menu:", P->MenuStrings());
  PrintList("Plug-in configuration menu:", P->ConfigStrings());
  std::string Key = std::string(DemoRoot) + "\\Marquee";
  printf("Settings read at start-up:\n");
  printf("  Method (%s\\Method): %s (1 when not stored)\n", Key.c_str(),
         ReadSetting(Key.c_str(), "Method").c_str());
  printf("  DoubleClickSpeed (Control Panel\\Mouse): %s ms (500 when not stored)\n",
         ReadSetting("Control Panel\\Mouse", "DoubleClickSpeed").c_str());
  DemoMarqueeMouse(*P);
  ShowFailures();
}

int main() {
  DemoMarquee();
  Host().Reset();
  return 0;
}
