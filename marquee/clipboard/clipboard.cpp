#include "clipboard.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

static bool DeterminePlatform() {
  OSVERSIONINFOA Version;
  memset(&Version, 0, sizeof Version);
  Version.dwOSVersionInfoSize = sizeof Version;
  if (!GetVersionExA(&Version)) return false;
  return Version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool PlatformIsNT = DeterminePlatform();

// A global block of Size bytes filled by Fill, handed to the clipboard under
// Format; left out when it can't be allocated or locked.
static void SetClipboardBlock(UINT Format, size_t Size, void (*Fill)(void *, const char *, size_t),
                              const char *Text, size_t Length) {
  HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
  if (!Block) return;
  void *Data = GlobalLock(Block);
  if (!Data) {
    GlobalFree(Block);
    return;
  }
  Fill(Data, Text, Length);
  GlobalUnlock(Block);
  if (!SetClipboardData(Format, Block)) GlobalFree(Block);
}

static void FillOem(void *Data, const char *Text, size_t Length) {
  memcpy(Data, Text, Length + 1);
}

static void FillAnsi(void *Data, const char *Text, size_t Length) {
  memcpy(Data, Text, Length + 1);
  OemToCharA((char *)Data, (char *)Data);
}

static void FillUnicode(void *Data, const char *Text, size_t Length) {
  WCHAR *Wide = (WCHAR *)Data;
  int Count = MultiByteToWideChar(CP_OEMCP, 0, Text, -1, Wide, (int)(Length + 1));
  if (Count <= 0) Wide[0] = 0;
}

static bool PutTextFormats(UINT NamedFormat, const char *Text) {
  size_t Length = Text ? strlen(Text) : 0;
  if (!Length) return true;
  if (!OpenClipboard(NULL)) return false;
  EmptyClipboard();
  SetClipboardBlock(CF_OEMTEXT, Length + 1, FillOem, Text, Length);
  SetClipboardBlock(CF_TEXT, Length + 1, FillAnsi, Text, Length);
  // One UTF-16 unit per OEM byte is enough: a double-byte character makes one.
  if (PlatformIsNT)
    SetClipboardBlock(CF_UNICODETEXT, 2 * (Length + 1), FillUnicode, Text, Length);
  if (NamedFormat) SetClipboardBlock(NamedFormat, Length + 1, FillOem, Text, Length);
  CloseClipboard();
  return true;
}

bool PutClipboardText(const char *Text) { return PutTextFormats(0, Text); }

bool PutClipboardTextWithFormat(const char *FormatName, const char *Text) {
  UINT Format = RegisterClipboardFormatA(FormatName);
  if (!Format) return false;
  return PutTextFormats(Format, Text);
}

// The data of another program is read only within its block: a text without
// a terminator ends at the block's end.
static size_t BoundedLength(const char *Data, size_t Size) {
  const char *End = (const char *)memchr(Data, 0, Size);
  return End ? (size_t)(End - Data) : Size;
}

static size_t BoundedLengthW(const WCHAR *Data, size_t Count) {
  size_t N = 0;
  while (N < Count && Data[N]) N++;
  return N;
}

static char *CopyBoundedText(const char *Data, size_t Size) {
  size_t Length = BoundedLength(Data, Size);
  char *Result = (char *)malloc(Length + 1);
  if (!Result) return NULL;
  memcpy(Result, Data, Length);
  Result[Length] = 0;
  return Result;
}

static char *ConvertUnicodeText(const WCHAR *Data, size_t Count) {
  int Length = (int)BoundedLengthW(Data, Count);
  // Asked first, so that double-byte OEM code pages get all the room they need.
  int Size = Length ? WideCharToMultiByte(CP_OEMCP, 0, Data, Length, NULL, 0, NULL, NULL) : 0;
  if (Size < 0) Size = 0;
  char *Result = (char *)malloc((size_t)Size + 1);
  if (!Result) return NULL;
  int Written = Size ? WideCharToMultiByte(CP_OEMCP, 0, Data, Length, Result, Size, NULL, NULL) : 0;
  Result[Written > 0 ? Written : 0] = 0;
  return Result;
}

static char *ConvertAnsiText(const char *Data, size_t Size) {
  char *Result = CopyBoundedText(Data, Size);
  if (Result) CharToOemBuffA(Result, Result, (DWORD)strlen(Result));
  return Result;
}

// The first text format in the clipboard's order; CF_OEMTEXT when there is none.
static UINT ChooseTextFormat() {
  UINT Format = 0;
  while ((Format = EnumClipboardFormats(Format)) != 0) {
    if ((Format == CF_UNICODETEXT && PlatformIsNT) || Format == CF_TEXT || Format == CF_OEMTEXT)
      return Format;
  }
  return CF_OEMTEXT;
}

char *GetClipboardText() {
  if (!OpenClipboard(NULL)) return NULL;
  UINT Format = ChooseTextFormat();
  char *Result = NULL;
  HANDLE Handle = GetClipboardData(Format);
  const void *Data = Handle ? GlobalLock(Handle) : NULL;
  if (Data) {
    size_t Size = GlobalSize(Handle);
    if (Format == CF_UNICODETEXT)
      Result = ConvertUnicodeText((const WCHAR *)Data, Size / sizeof(WCHAR));
    else if (Format == CF_TEXT) Result = ConvertAnsiText((const char *)Data, Size);
    else Result = CopyBoundedText((const char *)Data, Size);
    GlobalUnlock(Handle);
  }
  CloseClipboard();
  return Result;
}

char *GetNamedClipboardText(const char *FormatName) {
  UINT Format = RegisterClipboardFormatA(FormatName);
  if (!Format) return NULL;
  if (!OpenClipboard(NULL)) return NULL;
  char *Result = NULL;
  HANDLE Handle = GetClipboardData(Format);
  const void *Data = Handle ? GlobalLock(Handle) : NULL;
  if (Data) {
    Result = CopyBoundedText((const char *)Data, GlobalSize(Handle));
    GlobalUnlock(Handle);
  }
  CloseClipboard();
  return Result;
}
