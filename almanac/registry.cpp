#include "almanac.h"

#include <string.h>

static HKEY OpenKey;  // the one key the host's thread holds open

static HKEY OpenPath(const char *Path, int Create) {
  HKEY Key = NULL;
  LONG Status = Create ? RegCreateKeyExA(HKEY_CURRENT_USER, Path, 0, NULL, 0, KEY_ALL_ACCESS,
                                         NULL, &Key, NULL)
                       : RegOpenKeyExA(HKEY_CURRENT_USER, Path, 0, KEY_ALL_ACCESS, &Key);
  return Status == ERROR_SUCCESS ? Key : NULL;
}

static HKEY KeepOpen(HKEY Key) {
  if (OpenKey) RegCloseKey(OpenKey);
  OpenKey = Key;
  return Key;
}

HKEY OpenAlmanacKey(const char *SubKey, int Create) {
  char Path[KEY_PATH_SIZE];
  if (!RootKeyUsable || !ComposeKeyPath(Path, RootKeyCopy, SubKey)) return KeepOpen(NULL);
  return KeepOpen(OpenPath(Path, Create));
}

HKEY OpenSlotKey(int Slot, int Create) {
  char Path[KEY_PATH_SIZE];
  if (!RootKeyUsable || !ComposeSlotPath(Path, RootKeyCopy, Slot)) return KeepOpen(NULL);
  return KeepOpen(OpenPath(Path, Create));
}

HKEY OpenOwnKey(const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  if (!RootKeyUsable || !ComposeKeyPath(Path, RootKeyCopy, SubKey)) return NULL;
  return OpenPath(Path, 1);
}

void DeleteSlotKey(int Slot) {
  char Path[KEY_PATH_SIZE];
  if (RootKeyUsable && ComposeSlotPath(Path, RootKeyCopy, Slot))
    RegDeleteKeyA(HKEY_CURRENT_USER, Path);
}

DWORD ReadNumber(HKEY Key, const char *Name) {
  DWORD Value = 0, Type = 0, Size = sizeof Value;
  if (!Key || RegQueryValueExA(Key, Name, NULL, &Type, (BYTE *)&Value, &Size) != ERROR_SUCCESS ||
      Size != sizeof Value)
    return 0;
  return Value;
}

// A text that does not fit, or is missing, reads as empty. Texts stored
// without their terminator get one.
int ReadTextChecked(HKEY Key, const char *Name, char *Buffer, DWORD Size) {
  if (!Size) return 0;
  Buffer[0] = 0;
  DWORD Type = 0, Count = Size;
  if (!Key || RegQueryValueExA(Key, Name, NULL, &Type, (BYTE *)Buffer, &Count) != ERROR_SUCCESS ||
      Count > Size) {
    Buffer[0] = 0;
    return 0;
  }
  if (Count == Size && Buffer[Size - 1] != 0) {
    Buffer[0] = 0;
    return 0;
  }
  Buffer[Count < Size ? Count : Size - 1] = 0;
  return 1;
}

void ReadText(HKEY Key, const char *Name, char *Buffer, DWORD Size) {
  ReadTextChecked(Key, Name, Buffer, Size);
}

void WriteNumber(HKEY Key, const char *Name, DWORD Value) {
  if (Key) RegSetValueExA(Key, Name, 0, REG_DWORD, (const BYTE *)&Value, sizeof Value);
}

void WriteText(HKEY Key, const char *Name, const char *Text) {
  if (Key && Text)
    RegSetValueExA(Key, Name, 0, REG_SZ, (const BYTE *)Text, (DWORD)strlen(Text) + 1);
}
