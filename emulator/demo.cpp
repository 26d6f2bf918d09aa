// Shows the plug-ins in the host emulator as a user would meet them.
#include "emulator.h"

#include <stdio.h>

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

int main() {
  DemoMarquee();
  Host().Reset();
  return 0;
}
