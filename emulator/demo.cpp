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
  DemoAlmanac();
  Host().Reset();
  return 0;
}
