#include "dialogs.h"

#include "frame.h"
#include "zstr.h"

#include <stdlib.h>
#include <string.h>

static const char *TextOrEmpty(const char *Text) { return Text ? Text : ""; }

int ShowMessageBox(FARDWORD Flags, const char *HelpTopic, const TaggedValue *Lines, int LineCount,
                   int ButtonCount) {
  if (LineCount < 0) LineCount = 0;
  const char **Items = (const char **)malloc((LineCount + 1) * sizeof *Items);
  if (!Items) return -1;
  for (int I = 0; I < LineCount; I++) {
    const TaggedValue &V = Lines[I];
    if (V.Type == TaggedValue::Integer) Items[I] = TextOrEmpty(GetMsgText(V.Int));
    else if (V.Type == TaggedValue::Text) Items[I] = TextOrEmpty(V.Str);
    else Items[I] = " ";
  }
  int Result = StartupInfo.Message(StartupInfo.ModuleNumber, Flags, HelpTopic, Items, LineCount,
                                   ButtonCount);
  free(Items);
  return Result;
}

static int IntegerOf(const TaggedValue &V) { return V.Type == TaggedValue::Integer ? V.Int : 0; }

static bool TruthOf(const TaggedValue &V) {
  if (V.Type == TaggedValue::Boolean) return V.Bool;
  return V.Type == TaggedValue::Integer && V.Int != 0;
}

static void FillSelected(FarDialogItem *Item, const TaggedValue &V) {
  switch (V.Type) {
    case TaggedValue::Boolean:
      Item->Selected = V.Bool ? 1 : 0;
      break;
    case TaggedValue::Integer:
      Item->Selected = V.Int;
      break;
    case TaggedValue::FlagAddress:
      Item->Selected = V.Flag ? *V.Flag : 0;
      break;
    case TaggedValue::Text:
      Item->History = V.Str;
      break;
    default:
      Item->Selected = 0;
  }
}

// The text a Data value shows, before it is cut to the field.
static const char *DataTextOf(const TaggedValue &V) {
  if (V.Type == TaggedValue::Integer) return TextOrEmpty(GetMsgText(V.Int));
  if (V.Type == TaggedValue::StringAddress && V.Var) return TextOrEmpty(*V.Var);
  return "";
}

static void WriteBackString(char **Var, const char *Data) {
  size_t Len = strnlen(Data, sizeof(((FarDialogItem *)0)->Data));
  const char *Old = TextOrEmpty(*Var);
  // A text longer than the field was shown cut; left as shown, it keeps
  // its whole length rather than losing its tail.
  if (ZStrLength(Old) > Len && Len == DIALOG_DATA_MAX && memcmp(Old, Data, Len) == 0) return;
  char *New = (char *)malloc(Len + 1);
  if (!New) return;
  memcpy(New, Data, Len);
  New[Len] = 0;
  free(*Var);
  *Var = New;
}

int RunDialog(const char *HelpTopic, const TaggedValue *Values, int ValueCount, int DefaultIndex) {
  int Count = ValueCount > 0 ? ValueCount / DIALOG_ITEM_VALUES : 0;
  if (Count == 0) return -1;  // no frame to size the dialog by
  FarDialogItem *Items = (FarDialogItem *)calloc(Count, sizeof *Items);
  if (!Items) return -1;
  bool NoDefaultYet = true;
  const TaggedValue *V = Values;
  for (int I = 0; I < Count; I++, V += DIALOG_ITEM_VALUES) {
    FarDialogItem *Item = &Items[I];
    Item->Type = IntegerOf(V[0]);
    Item->X1 = IntegerOf(V[1]);
    Item->Y1 = IntegerOf(V[2]);
    Item->X2 = IntegerOf(V[3]);
    Item->Focus = TruthOf(V[4]) ? -1 : 0;
    FillSelected(Item, V[5]);
    Item->Flags = (FARDWORD)IntegerOf(V[6]);
    if (DefaultIndex == -1 && NoDefaultYet && Item->Type == DI_BUTTON) {
      Item->DefaultButton = -1;
      NoDefaultYet = false;
    }
    ZStrCopyMax(Item->Data, DataTextOf(V[7]), DIALOG_DATA_MAX);
  }
  if (DefaultIndex >= 0 && DefaultIndex < Count) Items[DefaultIndex].DefaultButton = -1;
  int LastY = Items[Count - 1].Y1;
  Items[0].Y1 = 1;
  Items[0].Y2 = LastY + 1;
  int Result = StartupInfo.Dialog(StartupInfo.ModuleNumber, -1, -1, Items[0].X2 + 4, LastY + 3,
                                  HelpTopic, Items, Count);
  if (Result != -1) {
    V = Values;
    for (int I = 0; I < Count; I++, V += DIALOG_ITEM_VALUES) {
      if (V[5].Type == TaggedValue::FlagAddress && V[5].Flag)
        *V[5].Flag = (unsigned char)(Items[I].Selected & 0xFF);
      if (V[7].Type == TaggedValue::StringAddress && V[7].Var)
        WriteBackString(V[7].Var, Items[I].Data);
    }
  }
  free(Items);
  return Result;
}
