#include "almanac.h"

#include <string.h>

char TextBuffer[TEXT_BUFFER_SIZE];

void DeliverText(const char *Format, int Place, const struct tm *Time) {
  FormatDateTime(TextBuffer, sizeof TextBuffer, Format, Time);
  if (Place == OPEN_EDITOR) StartupInfo.EditorControl(ECTL_INSERTTEXT, TextBuffer);
  else StartupInfo.Control(INVALID_HANDLE_VALUE, FCTL_INSERTCMDLINE, TextBuffer);
}

void DeliverByOrigin(const char *Format, int OpenFrom) {
  if (OpenFrom == OPEN_VIEWER) PutAlmanac(Format, NULL);
  else DeliverText(Format, OpenFrom == OPEN_EDITOR ? OPEN_EDITOR : OPEN_PLUGINSMENU, NULL);
}

int ShowErrorMessage(const char *Text) {
  DWORD Error = GetLastError();
  if (!StartupReceived) return -1;
  char Title[32];
  wsprintfA(Title, "Error (%d)", (int)Error);
  const char *Lines[] = {Title, Text ? Text : "", "\x01", "Ok", "Cancel"};
  SetLastError(Error);
  return StartupInfo.Message(StartupInfo.ModuleNumber, FMSG_WARNING | FMSG_ERRORTYPE, NULL, Lines,
                             5, 2);
}

extern "C" void __cdecl PutAlmanac(const char *Format, struct tm *Time) {
  // Some systems let SetClipboardData succeed without an open clipboard,
  // which would fill a clipboard another program holds: test the opening.
  if (!OpenClipboard(NULL)) {
    ShowErrorMessage("ClipboardError");
    return;
  }
  EmptyClipboard();
  FormatDateTime(TextBuffer, sizeof TextBuffer, Format, Time);
  OemToCharA(TextBuffer, TextBuffer);
  size_t Size = strlen(TextBuffer) + 1;
  HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, Size);
  void *Data = Block ? GlobalLock(Block) : NULL;
  if (Data) {
    memcpy(Data, TextBuffer, Size);
    GlobalUnlock(Block);
  }
  if (!Data || !SetClipboardData(CF_TEXT, Block)) {
    ShowErrorMessage("ClipboardError");
    if (Block) GlobalFree(Block);
  }
  CloseClipboard();
}
