#include "courier.h"

#include "text.h"

#include <lm.h>
#include <stdlib.h>
#include <string.h>

enum {
  HISTORY_ENTRIES = 10,
  HISTORY_ENTRY_SIZE = 3584,
  UNICODE_MESSAGE_SIZE = 3598,
  NAME_SIZE = 512,
};

enum {
  ITEM_RECIPIENTS = 1,
  ITEM_BROWSE = 2,
  ITEM_FIRST_LINE = 4,
  ITEM_SEND = 11,
  ITEM_HISTORY = 12,
  MESSAGE_ITEMS = 14,
};

static const char RecipientHistoryName[] = "COURIER_Recipient";

#define MESSAGE_LINE(Row) {DI_EDIT, 19, Row, 65, 0, 0, 0, DIF_EDITOR, 0, (INT_PTR)""}

static const PackedDialogItem MessageItems[MESSAGE_ITEMS] = {
  {DI_TEXT, 6, 3, 0, 0, 0, 0, 0, 0, MRecipientLabel},
  {DI_EDIT, 19, 3, 53, 0, 1, (INT_PTR)RecipientHistoryName, DIF_HISTORY, 0, (INT_PTR)""},
  {DI_BUTTON, 56, 3, 0, 0, 0, 0, 0, 0, MBrowse},
  {DI_TEXT, 6, 5, 0, 0, 0, 0, 0, 0, MLinesLabel},
  MESSAGE_LINE(5), MESSAGE_LINE(6), MESSAGE_LINE(7), MESSAGE_LINE(8),
  MESSAGE_LINE(9), MESSAGE_LINE(10), MESSAGE_LINE(11),
  {DI_BUTTON, 6, 13, 0, 0, 0, 0, 0, 1, MSend},
  {DI_BUTTON, 58, 13, 0, 0, 0, 0, 0, 0, MHistory},
  {DI_DOUBLEBOX, 3, 1, 68, 15, 0, 0, 0, 0, MMessageTitle},
};

static char HistoryName[sizeof "COURIER_message0"];

const char *HistoryValueName(int Entry) {
  memcpy(HistoryName, "COURIER_message", sizeof "COURIER_message" - 1);
  HistoryName[sizeof HistoryName - 2] = (char)('0' + Entry % 10);
  HistoryName[sizeof HistoryName - 1] = 0;
  return HistoryName;
}

static void ReadHistoryEntry(int Entry, char *Buffer, DWORD Size) {
  ReadStringSetting(HKEY_CURRENT_USER, "", HistoryValueName(Entry), Buffer, "", Size);
}

int LoadHistoryEntry(int *Cursor, char *Buffer, DWORD Size) {
  if (*Cursor >= 0) {
    ReadHistoryEntry(*Cursor, Buffer, Size);
    --*Cursor;
    return 0;
  }
  for (int Entry = HISTORY_ENTRIES - 1; Entry >= 0; Entry--) {
    ReadHistoryEntry(Entry, Buffer, Size);
    if (Buffer[0]) {
      *Cursor = Entry - 1;
      return 0;
    }
  }
  return 1;
}

bool IsInHistory(const char *Text, char *Buffer) {
  for (int Entry = 0; Entry < HISTORY_ENTRIES; Entry++) {
    ReadHistoryEntry(Entry, Buffer, HISTORY_ENTRY_SIZE);
    if (strcmp(Buffer, Text) == 0) return true;
  }
  return false;
}

void AddToHistory(const char *Text) {
  char *Buffer = (char *)AllocateOrFail(HISTORY_ENTRY_SIZE);
  if (!IsInHistory(Text, Buffer)) {
    int Newest = HISTORY_ENTRIES - 1;
    for (; Newest >= 0; Newest--) {
      ReadHistoryEntry(Newest, Buffer, HISTORY_ENTRY_SIZE);
      if (Buffer[0]) break;
    }
    if (Newest == HISTORY_ENTRIES - 1) {
      for (int Entry = 0; Entry < HISTORY_ENTRIES - 1; Entry++) {
        ReadHistoryEntry(Entry + 1, Buffer, HISTORY_ENTRY_SIZE);
        WriteStringSetting(HKEY_CURRENT_USER, "", HistoryValueName(Entry), Buffer);
      }
    } else {
      Newest++;
    }
    WriteStringSetting(HKEY_CURRENT_USER, "", HistoryValueName(Newest), Text);
  }
  free(Buffer);
}

// Sends to each name of the ';'-separated list in turn until one fails;
// returns the status of the last send.
static NET_API_STATUS SendToRecipients(const char *Recipients, const WCHAR *Message,
                                       DWORD Bytes) {
  NET_API_STATUS Status = NERR_Success;
  const char *Cursor = Recipients;
  for (;;) {
    const char *End = strchr(Cursor, ';');
    size_t Len = End ? (size_t)(End - Cursor) : strlen(Cursor);
    char Name[NAME_SIZE];
    if (Len > NAME_SIZE - 1) Len = NAME_SIZE - 1;
    memcpy(Name, Cursor, Len);
    Name[Len] = 0;
    WCHAR WideName[NAME_SIZE];
    if (!MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, Name, -1, WideName, NAME_SIZE))
      WideName[0] = 0;
    Status = NetMessageBufferSend(NULL, WideName, NULL, (BYTE *)Message, Bytes);
    if (Status != NERR_Success || !End) return Status;
    Cursor = End + 1;
  }
}

// Send pressed: 1 when a send was attempted.
static int SendFromDialog(FarDialogItem *Items) {
  const char *Lines[MESSAGE_LINES];
  for (int I = 0; I < MESSAGE_LINES; I++) Lines[I] = Items[ITEM_FIRST_LINE + I].Data;
  const char *Recipients = Items[ITEM_RECIPIENTS].Data;
  if (FindLastLine(Lines, MESSAGE_LINES) < 0 || !Recipients[0]) return 0;

  char *Text = (char *)AllocateOrFail(MESSAGE_TEXT_SIZE);
  WCHAR *Wide;
  try {
    Wide = (WCHAR *)AllocateOrFail(UNICODE_MESSAGE_SIZE * sizeof(WCHAR));
  } catch (...) {
    free(Text);
    throw;
  }
  BuildMessageText(Text, MESSAGE_TEXT_SIZE, Lines, MESSAGE_LINES);
  int Chars = MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, Text, -1, Wide, UNICODE_MESSAGE_SIZE);
  if (Chars <= 0) Wide[0] = 0, Chars = 1;

  NET_API_STATUS Status;
  {
    Warning Busy(MSending);
    Status = SendToRecipients(Recipients, Wide, (DWORD)(Chars - 1) * sizeof(WCHAR));
  }
  free(Wide);
  try {
    if (Status != NERR_Success) ShowError(MSendFailed);
    AddToHistory(Text);
  } catch (...) {
    free(Text);
    throw;
  }
  free(Text);
  CopyText(LastRecipients, Recipients, sizeof LastRecipients);
  return 1;
}

static void LoadFromHistory(FarDialogItem *Items, int *Cursor) {
  char *Entry = (char *)AllocateOrFail(HISTORY_ENTRY_SIZE);
  if (LoadHistoryEntry(Cursor, Entry, HISTORY_ENTRY_SIZE) == 0) {
    char *Lines[MESSAGE_LINES];
    for (int I = 0; I < MESSAGE_LINES; I++) Lines[I] = Items[ITEM_FIRST_LINE + I].Data;
    SplitMessageText(Entry, Lines, MESSAGE_LINES);
  }
  free(Entry);
}

static int RunDialogLoop(FarDialogItem *Items, const char *Sources) {
  int Cursor = -1;
  for (;;) {
    int Result = StartupInfo.Dialog(StartupInfo.ModuleNumber, -1, -1, 72, 17, NULL, Items,
                                    MESSAGE_ITEMS);
    if (Result == ITEM_BROWSE) ChooseRecipients(Items[ITEM_RECIPIENTS].Data, Sources);
    else if (Result == ITEM_HISTORY) LoadFromHistory(Items, &Cursor);
    else if (Result == ITEM_SEND) return SendFromDialog(Items);
    else return 0;
  }
}

int RunMessageDialog(const char *Sources) {
  FarDialogItem *Items = (FarDialogItem *)AllocateOrFail(MESSAGE_ITEMS * sizeof(FarDialogItem));
  int Result;
  try {
    ExpandDialogItems(MessageItems, Items, MESSAGE_ITEMS);
    CopyText(Items[ITEM_RECIPIENTS].Data, LastRecipients, sizeof Items[ITEM_RECIPIENTS].Data);
    Result = RunDialogLoop(Items, Sources);
  } catch (...) {
    free(Items);
    throw;
  }
  free(Items);
  return Result;
}
