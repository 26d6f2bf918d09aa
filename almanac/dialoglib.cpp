#include "almanac.h"

#include <stdio.h>
#include <string.h>

DialogLibrary Dlg;

static int __cdecl MissingFunction() { return 0; }

// Names bound but never called by Almanac; looked up so that a library
// lacking them is reported the same way.
static const char *const OtherNames[] = {"EnumDialog", "GetNumById", "GetItemNULL",
                                         "DialogGeneratorVersion", "parseNum", "parseGetStr",
                                         "parseGet", "sparse"};

static HMODULE LoadBeside(HMODULE Module) {
  char Path[MAX_PATH + 16];
  DWORD Len = GetModuleFileNameA(Module, Path, 256);
  if (!Len || Len >= 256) return NULL;
  Path[Len] = 0;
  char *Slash = strrchr(Path, '\\');
  if (!Slash) return NULL;
  strcpy(Slash + 1, "Dialog.gen");
  return LoadLibraryA(Path);
}

static void *Bind(HMODULE Library, const char *Name) {
  void *F = Library ? (void *)GetProcAddress(Library, Name) : NULL;
  if (!F) {
    char Line[96];
    snprintf(Line, sizeof Line, "Missed function \"%s\"\n", Name);
    OutputDebugStringA(Line);
    F = (void *)MissingFunction;
  }
  return F;
}

int BindDialogLibrary(HMODULE Module, const PluginStartupInfo *Info) {
  HMODULE Library = LoadBeside(Module);
  if (!Library) Library = LoadBeside(NULL);
  if (!Library) Library = LoadLibraryA("Dialog.gen");
#define BIND(Name) Dlg.Name = (decltype(Dlg.Name))Bind(Library, #Name)
  BIND(DG_Init);
  BIND(LoadDialogEx);
  BIND(ShowDialog);
  BIND(FreeDialog);
  BIND(GetItemStatus);
  BIND(SetItemStatus);
  BIND(GetItemData);
  BIND(GetItemAddr);
  BIND(SetRadioStatus);
  BIND(GetRadioStatus);
  BIND(SetItemColor);
  BIND(HideItem);
  BIND(RestoreItem);
  BIND(SetItemFocus);
#undef BIND
  for (const char *Name : OtherNames) Bind(Library, Name);
  if (!Library) return 0;
  PluginStartupInfo Copy;
  memcpy(&Copy, Info, sizeof Copy);
  Copy.RootKey = RootKeyCopy;
  Dlg.DG_Init(Copy);
  return 1;
}

DialogHandle LoadAlmanacDialog(const char *File, const char *Name) {
  if (!File) return NULL;
  return Dlg.LoadDialogEx(ModuleHandle, StartupInfo.ModuleNumber, File, Name);
}

void SetItemText(DialogHandle D, int Id, const char *Text) {
  char *Data = Dlg.GetItemData(D, Id);
  if (!Data) return;
  snprintf(Data, 512, "%s", Text ? Text : "");
}
