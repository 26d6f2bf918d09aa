// Dialog.gen: shows dialogs described in dialog files through the host's
// Dialog service. Every export is __cdecl, so that a caller's stand-in for a
// missing one (a function taking nothing and returning 0) is safe to call.
#include "dlgfile.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define DGAPI extern "C" __cdecl

enum { MAX_FILE_SIZE = 1 << 20, VERSION = 0x0100 };

struct GenDialog {
  intptr_t ModuleNumber;
  int Width, Height;
  char Help[DLG_NAME_SIZE];
  int Count;
  FarDialogItem *Items;  // the records the plug-in reads and changes in place
  int *Ids, *Values, *GroupOf;
  unsigned char *Hidden, *Cancel, *ChoiceCloses;
  int FocusIndex;
  int LastResult;        // identifier of the last closing item, -1 cancelled
  int ClosedByChoice;    // index of the radio whose choice closed it, or -1
};

static PluginStartupInfo Info;
static int InfoReceived;
static FarDialogItem NullItem;
static HMODULE ThisModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) ThisModule = Instance;
  return TRUE;
}

static int IndexOf(const GenDialog *D, int Id) {
  if (!D) return -1;
  for (int I = 0; I < D->Count; I++)
    if (D->Ids[I] == Id && Id != 0) return I;
  return -1;
}

// Reads the whole file into a NUL-terminated buffer; null when it can't.
static char *ReadWholeFile(const char *Path) {
  HANDLE F = CreateFileA(Path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (F == INVALID_HANDLE_VALUE) return NULL;
  DWORD Size = GetFileSize(F, NULL), Read = 0;
  char *Text = NULL;
  if (Size != INVALID_FILE_SIZE && Size <= MAX_FILE_SIZE) {
    Text = (char *)malloc(Size + 1);
    if (Text && ReadFile(F, Text, Size, &Read, NULL) && Read == Size) {
      Text[Size] = 0;
    } else {
      free(Text);
      Text = NULL;
    }
  }
  CloseHandle(F);
  return Text;
}

// Dialog files lie beside the module that asks for them, else beside Dialog.gen.
static char *ReadDialogFile(HMODULE Module, const char *File) {
  HMODULE Places[2] = {Module, ThisModule};
  for (HMODULE M : Places) {
    char Path[MAX_PATH + 1];
    DWORD Len = GetModuleFileNameA(M, Path, MAX_PATH);
    if (!Len || Len >= MAX_PATH) continue;
    Path[Len] = 0;
    char *Slash = strrchr(Path, '\\');
    if (!Slash) continue;
    Slash[1] = 0;
    if (strlen(Path) + strlen(File) >= sizeof Path) continue;
    strcat(Path, File);
    char *Text = ReadWholeFile(Path);
    if (Text) return Text;
  }
  return NULL;
}

static void FreeGen(GenDialog *D) {
  if (!D) return;
  free(D->Items);
  free(D->Ids);
  free(D->Values);
  free(D->GroupOf);
  free(D->Hidden);
  free(D->Cancel);
  free(D->ChoiceCloses);
  free(D);
}

static GenDialog *BuildDialog(const DialogLayout *S, intptr_t ModuleNumber) {
  GenDialog *D = (GenDialog *)calloc(1, sizeof *D);
  if (!D) return NULL;
  int N = S->Count > 0 ? S->Count : 1;
  D->Items = (FarDialogItem *)calloc(N, sizeof *D->Items);
  D->Ids = (int *)calloc(N, sizeof(int));
  D->Values = (int *)calloc(N, sizeof(int));
  D->GroupOf = (int *)calloc(N, sizeof(int));
  D->Hidden = (unsigned char *)calloc(N, 1);
  D->Cancel = (unsigned char *)calloc(N, 1);
  D->ChoiceCloses = (unsigned char *)calloc(N, 1);
  if (!D->Items || !D->Ids || !D->Values || !D->GroupOf || !D->Hidden || !D->Cancel ||
      !D->ChoiceCloses) {
    FreeGen(D);
    return NULL;
  }
  D->ModuleNumber = ModuleNumber;
  D->Width = S->Width;
  D->Height = S->Height;
  memcpy(D->Help, S->Help, sizeof D->Help);
  D->Count = S->Count;
  D->FocusIndex = -1;
  D->LastResult = -1;
  D->ClosedByChoice = -1;
  int Group = -1;
  for (int I = 0; I < S->Count; I++) {
    const DialogItemLayout &Layout = S->Items[I];
    FarDialogItem &Item = D->Items[I];
    Item.Type = Layout.Type;
    Item.X1 = Layout.X1, Item.Y1 = Layout.Y1, Item.X2 = Layout.X2, Item.Y2 = Layout.Y2;
    Item.Flags = Layout.Flags;
    Item.DefaultButton = Layout.Default;
    if (Layout.Type != DI_COMBOBOX && Layout.Type != DI_LISTBOX) Item.Selected = Layout.Selected;
    const char *Text = Layout.Text;
    if (Layout.MsgNumber >= 0)
      Text = InfoReceived && Info.GetMsg ? Info.GetMsg(ModuleNumber, Layout.MsgNumber) : "";
    if (Text) strncpy(Item.Data, Text, sizeof Item.Data - 1);
    D->Ids[I] = Layout.Id;
    D->Values[I] = Layout.Value;
    D->Hidden[I] = (unsigned char)Layout.Hidden;
    D->Cancel[I] = (unsigned char)Layout.Cancel;
    if (Layout.Focus && D->FocusIndex < 0) D->FocusIndex = I;
    // A radio group: a run of radio buttons from one marked "group".
    if (Layout.Type == DI_RADIOBUTTON) {
      if ((Layout.Flags & DIF_GROUP) || Group < 0) Group = I;
      D->ChoiceCloses[I] = S->Items[Group].ChoiceCloses;
    } else {
      Group = -1;
    }
    D->GroupOf[I] = Layout.Type == DI_RADIOBUTTON ? Group : -1;
  }
  return D;
}

DGAPI int DG_Init(PluginStartupInfo StartupInfo) {
  memcpy(&Info, &StartupInfo, sizeof Info);
  InfoReceived = 1;
  return 1;
}

DGAPI void *LoadDialogEx(HMODULE Module, intptr_t ModuleNumber, const char *File,
                         const char *Name) {
  if (!File || !Name) return NULL;
  char *Text = ReadDialogFile(Module, File);
  if (!Text) return NULL;
  DialogLayout *Layout = (DialogLayout *)malloc(sizeof *Layout);
  GenDialog *D = NULL;
  if (Layout && ParseDialogFile(Text, Name, Layout, NULL, 0)) D = BuildDialog(Layout, ModuleNumber);
  free(Layout);
  free(Text);
  return D;
}

DGAPI void FreeDialog(void *Handle) { FreeGen((GenDialog *)Handle); }

DGAPI int ShowDialog(void *Handle) {
  GenDialog *D = (GenDialog *)Handle;
  if (!D || !InfoReceived || !Info.Dialog) return -1;
  // The host is shown the visible items only; Map leads back to ours.
  FarDialogItem *Shown = (FarDialogItem *)calloc(D->Count ? D->Count : 1, sizeof *Shown);
  int *Map = (int *)calloc(D->Count ? D->Count : 1, sizeof(int));
  if (!Shown || !Map) {
    free(Shown);
    free(Map);
    return -1;
  }
  int N = 0;
  for (int I = 0; I < D->Count; I++) {
    if (D->Hidden[I]) continue;
    Shown[N] = D->Items[I];
    Shown[N].Focus = I == D->FocusIndex;
    Map[N++] = I;
  }
  int R = Info.Dialog(D->ModuleNumber, -1, -1, D->Width, D->Height, D->Help[0] ? D->Help : NULL,
                      Shown, N);
  int Closing = R >= 0 && R < N ? Map[R] : -1;
  // A cancel button leaves the records as they were, like Esc.
  if (Closing >= 0 && D->Cancel[Closing]) Closing = -1;
  if (Closing >= 0) {
    for (int K = 0; K < N; K++) {
      FarDialogItem &Item = D->Items[Map[K]];
      memcpy(Item.Data, Shown[K].Data, sizeof Item.Data);
      Item.Data[sizeof Item.Data - 1] = 0;
      if (!(Item.Flags & DIF_HISTORY)) Item.Selected = Shown[K].Selected;
    }
  }
  free(Shown);
  free(Map);
  // A button's state tells whether it closed the dialog.
  for (int I = 0; I < D->Count; I++)
    if (D->Items[I].Type == DI_BUTTON) D->Items[I].Selected = I == Closing;
  D->ClosedByChoice = -1;
  if (Closing >= 0 && D->GroupOf[Closing] >= 0 && D->ChoiceCloses[Closing] &&
      D->Items[Closing].Type == DI_RADIOBUTTON)
    D->ClosedByChoice = Closing;
  D->LastResult = Closing >= 0 ? D->Ids[Closing] : -1;
  return D->LastResult;
}

DGAPI int GetItemStatus(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  return I >= 0 && D->Items[I].Selected ? 1 : 0;
}

DGAPI int SetItemStatus(void *Handle, int Id, int State) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0) return 0;
  D->Items[I].Selected = State ? 1 : 0;
  return 1;
}

DGAPI char *GetItemData(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  return I >= 0 ? D->Items[I].Data : NULL;
}

DGAPI FarDialogItem *GetItemAddr(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  return I >= 0 ? &D->Items[I] : NULL;
}

DGAPI int SetRadioStatus(void *Handle, int Id, int Value) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0 || D->GroupOf[I] < 0) return 0;
  for (int K = 0; K < D->Count; K++)
    if (D->GroupOf[K] == D->GroupOf[I]) D->Items[K].Selected = D->Values[K] == Value;
  return 1;
}

// A group whose choice closes the dialog yields a value only when a choice
// closed it: -1 after a cancel, 0 after any other closing item.
DGAPI int GetRadioStatus(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0 || D->GroupOf[I] < 0) return 0;
  int Group = D->GroupOf[I];
  if (D->ChoiceCloses[I]) {
    if (D->LastResult == -1) return -1;
    return D->ClosedByChoice >= 0 && D->GroupOf[D->ClosedByChoice] == Group
               ? D->Values[D->ClosedByChoice]
               : 0;
  }
  for (int K = 0; K < D->Count; K++)
    if (D->GroupOf[K] == Group && D->Items[K].Selected) return D->Values[K];
  return 0;
}

DGAPI int SetItemColor(void *Handle, int Id, int Attribute) {
  FarDialogItem *Item = GetItemAddr(Handle, Id);
  if (!Item) return 0;
  Item->Flags = (Item->Flags & ~DIF_COLORMASK) | DIF_SETCOLOR | (FARDWORD)(Attribute & 0xFF);
  return 1;
}

DGAPI int HideItem(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0) return 0;
  D->Hidden[I] = 1;
  return 1;
}

DGAPI int RestoreItem(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0) return 0;
  D->Hidden[I] = 0;
  return 1;
}

DGAPI int SetItemFocus(void *Handle, int Id) {
  GenDialog *D = (GenDialog *)Handle;
  int I = IndexOf(D, Id);
  if (I < 0) return 0;
  D->FocusIndex = I;
  return 1;
}

// Names of the dialogs of a file beside Module: the Index-th into Name.
DGAPI int EnumDialog(HMODULE Module, const char *File, int Index, char *Name, int NameSize) {
  if (!File) return 0;
  char *Text = ReadDialogFile(Module, File);
  int Found = Text ? DialogNameAt(Text, Index, Name, NameSize) : 0;
  free(Text);
  return Found;
}

// Index of an identifier among the dialog's records, -1 when it has none.
DGAPI int GetNumById(void *Handle, int Id) { return IndexOf((GenDialog *)Handle, Id); }

// A blank record, for callers that want an address even for a missing item.
DGAPI FarDialogItem *GetItemNULL(void) {
  memset(&NullItem, 0, sizeof NullItem);
  return &NullItem;
}

DGAPI int DialogGeneratorVersion(void) { return VERSION; }

// The dialog-file reader's own helpers.
DGAPI int parseNum(const char *Text) { return Text ? (int)ParseNumber(Text, NULL) : 0; }

DGAPI int parseGetStr(const char *Line, int Index, char *Out, int OutSize) {
  return GetWord(Line, Index, Out, OutSize);
}

DGAPI int parseGet(const char *Line, int Index) {
  char Word[64];
  return GetWord(Line, Index, Word, sizeof Word) ? (int)ParseNumber(Word, NULL) : 0;
}

DGAPI int sparse(const char *Text, char *Out, int OutSize) {
  return GetWord(Text, 0, Out, OutSize);
}
