// Shows the plug-ins in the host emulator as a user would meet them.
#include "emulator.h"
#include "netstub/netstub.h"

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

static void ShowCalls(size_t From) {
  for (size_t I = From; I < Host().Calls.size(); I++)
    printf("%s\n", Host().Render(Host().Calls[I]).c_str());
}

static MenuAnswer PressKey(int Highlight, int Key) {
  MenuAnswer A;
  A.Highlight = Highlight;
  A.Press = MenuAnswer::BreakKey;
  A.BreakKeyCode = Key;
  return A;
}

// The configuration dialog and the file-type menu, driven like a user would:
// add two file types, move the second up, pick the third scheme and accept.
static void DemoMarqueeConfig(Plugin *P, const std::string &Key) {
  Emulator &H = Host();
  for (int N = 0; N < 8; N++)
    RegDeleteKeyA(HKEY_CURRENT_USER, (Key + "\\Type" + std::to_string(N)).c_str());
  DialogAnswer ToFileTypes;
  ToFileTypes.Selected = {{4, 1}};
  ToFileTypes.Close = 6;
  H.AnswerDialog(ToFileTypes);
  H.AnswerMenu(PressKey(0, VK_INSERT));
  DialogAnswer First;
  First.Texts = {{2, "*.pas,*.dpr,*.inc"}, {4, "Pascal sources"}, {7, "a-zA-Z0-9_"}};
  First.Close = 9;
  H.AnswerDialog(First);
  H.AnswerMenu(PressKey(1, VK_INSERT));
  DialogAnswer Second;
  Second.Texts = {{2, "*.txt,*.doc"}, {4, "Texts"}, {7, "#192-#255a-zA-Z"}};
  Second.Close = 9;
  H.AnswerDialog(Second);
  H.AnswerMenu(PressKey(1, (PKF_CONTROL << 16) | VK_UP));
  MenuAnswer Esc;
  Esc.Press = MenuAnswer::Esc;
  H.AnswerMenu(Esc);
  DialogAnswer Ok;
  Ok.Close = 8;
  H.AnswerDialog(Ok);
  size_t From = H.Calls.size();
  printf("\nConfigure (the user picks scheme 3, adds two file types, moves the second up, OK):\n");
  int Result = P->Configure(0);
  ShowCalls(From);
  printf("Configure returned %d\n", Result);
  printf("Stored: Method %s\n", ReadSetting(Key.c_str(), "Method").c_str());
  for (int N = 0; N < 2; N++) {
    std::string T = Key + "\\Type" + std::to_string(N);
    printf("  Type%d: Mask \"%s\", Description \"%s\", Charset \"%s\"\n", N,
           ReadSetting(T.c_str(), "Mask").c_str(), ReadSetting(T.c_str(), "Description").c_str(),
           ReadSetting(T.c_str(), "Charset").c_str());
  }
  // Leaves the demo's settings as they were, so the next run shows the same.
  for (int N = 0; N < 2; N++)
    RegDeleteKeyA(HKEY_CURRENT_USER, (Key + "\\Type" + std::to_string(N)).c_str());
  HKEY Plugin;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_SET_VALUE, &Plugin) == ERROR_SUCCESS) {
    RegDeleteValueA(Plugin, "Method");
    RegCloseKey(Plugin);
  }
  ShowFailures();
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
  DemoMarqueeConfig(P, Key);
}

static std::string WideToUtf8(const WCHAR *W) {
  int N = WideCharToMultiByte(CP_UTF8, 0, W, -1, nullptr, 0, nullptr, nullptr);
  std::string Out(N > 0 ? N - 1 : 0, '\0');
  if (N > 1) WideCharToMultiByte(CP_UTF8, 0, W, -1, &Out[0], N, nullptr, nullptr);
  return Out;
}

static void PrintCall(const char *Heading, const UiCall &Call) {
  printf("%s\n%s", Heading, Host().Render(Call).c_str());
}

// A small office network that the stand-in LAN Manager answers from.
static const char *DemoNetwork = R"(
network | Microsoft Windows Network
domain  | WORKGROUP | Microsoft Windows Network
server  | \\ALPHA | WORKGROUP
server  | \\BETA | WORKGROUP
user    | \\ALPHA | alice
user    | \\ALPHA | bob
user    | \\ALPHA | ALPHA$ | trust
)";

static void DemoCourier() {
  printf("\n=== Courier ===\n");
  NetStub Net;
  if (!Net.Bind()) {
    printf("The stand-in LAN Manager is not in use (netapi32.dll and mpr.dll beside the demo,\n"
           "WINEDLLOVERRIDES=\"netapi32,mpr=n\"): Courier is not shown.\n");
    return;
  }
  Net.Load(DemoNetwork);
  std::string Key = std::string(DemoRoot) + "\\Courier";
  RegDeleteTreeA(HKEY_CURRENT_USER, Key.c_str());
  Emulator &H = Host();
  Plugin *P = H.Load(DIST_DIR "/Courier/Courier.dll", DemoRoot, {"OpenPlugin", "Configure"});
  if (!P) return ShowFailures();
  PrintList("Plug-ins menu:", P->MenuStrings());
  PrintList("Plug-in configuration menu:", P->ConfigStrings());

  DialogAnswer Config;
  Config.Texts.push_back({0, "WORKGROUP;*DC:ALPHA"});
  Config.Close = 1;
  H.AnswerDialog(Config);
  P->Configure(0);
  PrintCall("The address sources, as configured:", H.Calls.back());

  // Two lines typed, the browse button, alice and bob marked with Space,
  // Enter, then Send.
  DialogAnswer Typed;
  Typed.Texts = {{4, "Lunch at noon in the small meeting room."}, {5, "Bring the figures."}};
  Typed.Close = 2;
  H.AnswerDialog(Typed);
  H.AnswerMenu({3, MenuAnswer::BreakKey, VK_SPACE});
  H.AnswerMenu({4, MenuAnswer::BreakKey, VK_SPACE});
  H.AnswerMenu({-1, MenuAnswer::Enter});
  DialogAnswer Send;
  Send.Close = 11;
  H.AnswerDialog(Send);
  size_t First = H.Calls.size();
  P->OpenPlugin(OPEN_PLUGINSMENU, 0);
  const UiCall *Menu = nullptr, *Dialog = nullptr;
  for (size_t I = First; I < H.Calls.size(); I++) {
    if (H.Calls[I].Type == UiCall::Menu) Menu = &H.Calls[I];
    if (H.Calls[I].Type == UiCall::Dialog) Dialog = &H.Calls[I];
  }
  if (Menu) PrintCall("The browse menu, alice and bob marked with Space:", *Menu);
  if (Dialog) PrintCall("The message dialog as sent:", *Dialog);
  printf("Delivered by the messenger service:\n");
  for (int I = 0; I < Net.MessageCount(); I++) {
    const WCHAR *To, *Text;
    DWORD Bytes;
    Net.Message(I, &To, &Text, &Bytes);
    std::string Body = WideToUtf8(Text);
    for (size_t Cut; (Cut = Body.find("\r\n")) != std::string::npos;) Body.replace(Cut, 2, " / ");
    printf("  to %s: \"%s\"\n", WideToUtf8(To).c_str(), Body.c_str());
  }
  printf("History entry 0 (%s\\COURIER_message0) holds the message; the recipient field\n"
         "keeps \"%s\" for the next opening.\n",
         Key.c_str(), Dialog ? Dialog->DialogData.Final[1].Data : "");
  ShowFailures();
}

static void WriteDemoValue(const std::string &Key, const char *Name, const char *Text, DWORD Number,
                           bool IsText) {
  HKEY H;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &H,
                      nullptr) != ERROR_SUCCESS)
    return;
  if (IsText) RegSetValueExA(H, Name, 0, REG_SZ, (const BYTE *)Text, (DWORD)strlen(Text) + 1);
  else RegSetValueExA(H, Name, 0, REG_DWORD, (const BYTE *)&Number, sizeof Number);
  RegCloseKey(H);
}

static void ShowCallsFrom(size_t First) {
  for (size_t I = First; I < Host().Calls.size(); I++) printf("%s\n", Host().Render(Host().Calls[I]).c_str());
}

static void DemoAlmanac() {
  printf("=== Almanac ===\n");
  std::string Key = std::string(DemoRoot) + "\\Almanac\\";
  WriteDemoValue(Key + "Format1", "Name", "ISO date", 0, true);
  WriteDemoValue(Key + "Format1", "Format", "%Y-%m-%d", 0, true);
  WriteDemoValue(Key + "Format1", "Mode", nullptr, 0x10000, false);
  WriteDemoValue(Key + "Format2", "Name", "Long date", 0, true);
  WriteDemoValue(Key + "Format2", "Format", "%A, %d %B %Y", 0, true);
  WriteDemoValue(Key + "Format3", "Name", "Time", 0, true);
  WriteDemoValue(Key + "Format3", "Format", "%H:%M:%S", 0, true);
  Plugin *P = Host().Load(DIST_DIR "/Almanac/Almanac.dll", DemoRoot,
                          {"OpenPlugin", "Configure", "PutAlmanac"});
  if (!P) return ShowFailures();
  PrintList("Plug-in menu:", P->MenuStrings());

  printf("The main menu, Enter on the quick insert, from the editor:\n");
  Host().Editor.SetText("Written on \n");
  Host().Editor.SetCursor(0, 11);
  MenuAnswer Quick;
  Quick.Highlight = 0;
  Host().AnswerMenu(Quick);
  P->OpenPlugin(OPEN_EDITOR, 0);
  ShowCallsFrom(0);
  printf("The editor's text now: %s\n", Host().Editor.GetText().c_str());

  printf("The formats menu with its samples:\n");
  size_t First = Host().Calls.size();
  MenuAnswer Formats;
  Formats.Highlight = 1;
  Host().AnswerMenu(Formats);
  MenuAnswer Esc;
  Esc.Press = MenuAnswer::Esc;
  Host().AnswerMenu(Esc);
  P->OpenPlugin(OPEN_EDITOR, 0);
  ShowCallsFrom(First + 1);

  printf("This month's calendar (grey days of other months in brackets here):\n");
  First = Host().Calls.size();
  MenuAnswer Calendar;
  Calendar.Highlight = 3;
  Host().AnswerMenu(Calendar);
  DialogAnswer Cancel;
  Cancel.During = [](FarDialogItem *Items, int Count) {
    // The emulator draws a grey cell as plain text; mark it for the reader.
    for (int I = 0; I < Count; I++)
      if (Items[I].Type == DI_TEXT && (Items[I].Flags & DIF_SETCOLOR) &&
          (Items[I].Flags & DIF_COLORMASK) == 0x78) {
        char Cell[8];
        snprintf(Cell, sizeof Cell, "[%s]", Items[I].Data);
        memcpy(Items[I].Data, Cell, strlen(Cell) + 1);
      }
  };
  Host().AnswerDialog(Cancel);
  P->OpenPlugin(OPEN_EDITOR, 0);
  ShowCallsFrom(First + 1);
  ShowFailures();
}

int main() {
  DemoMarquee();
  Host().Reset();
  DemoCourier();
  Host().Reset();
  DemoAlmanac();
  Host().Reset();
  return 0;
}
