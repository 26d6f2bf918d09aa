#include "registry.h"

#include "zstr.h"

#include <stdlib.h>

enum { KEY_PATH_SIZE = 80, STRING_VALUE_SIZE = 8192 };

// One byte more than a key path may hold, so an over-long base is caught too.
char RegistryBasePath[REGISTRY_BASE_PATH_SIZE + 1];

void SetRegistryBasePath(const char *RootKey, const char *Suffix) {
  RegistryBasePath[0] = 0;
  if (!RootKey) return;
  size_t Len = ZStrLength(RootKey), SuffixLen = ZStrLength(Suffix);
  if (Len + SuffixLen > REGISTRY_BASE_PATH_SIZE) {
    // Longer than any key path can be: make every later access fail.
    ZStrCopyMax(RegistryBasePath, RootKey, REGISTRY_BASE_PATH_SIZE);
    return;
  }
  ZStrCopy(RegistryBasePath, RootKey);
  ZStrAppend(RegistryBasePath, Suffix);
}

// Composes the key path; false when it would not fit the 80-byte buffer.
static bool ComposeKeyPath(char *Path, const char *SubKey) {
  if (!SubKey) SubKey = "";
  size_t BaseLen = ZStrLength(RegistryBasePath);
  if (BaseLen + ZStrLength(SubKey) > KEY_PATH_SIZE - 1) return false;
  ZStrCopy(Path, RegistryBasePath);
  ZStrAppend(Path, SubKey);
  return true;
}

static bool CopyValueName(char *Name, const char *ValueName) {
  if (!ValueName || ZStrLength(ValueName) > REGISTRY_VALUE_NAME_SIZE - 1) return false;
  ZStrCopy(Name, ValueName);
  return true;
}

HKEY CreateSettingsKey(HKEY Root, const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  if (!ComposeKeyPath(Path, SubKey)) return 0;
  HKEY Key;
  DWORD Disposition;
  if (RegCreateKeyExA(Root, Path, 0, NULL, 0, KEY_WRITE, NULL, &Key, &Disposition) !=
      ERROR_SUCCESS)
    return 0;
  return Key;
}

HKEY OpenSettingsKey(HKEY Root, const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  if (!ComposeKeyPath(Path, SubKey)) return 0;
  HKEY Key;
  if (RegOpenKeyExA(Root, Path, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS) return 0;
  return Key;
}

void DeleteSettingsKey(HKEY Root, const char *SubKey) {
  char Path[KEY_PATH_SIZE];
  // Never the plug-in's own key, nor, with no base path, a key of the system.
  if (!SubKey || !*SubKey || !*RegistryBasePath || !ComposeKeyPath(Path, SubKey)) return;
  RegDeleteKeyA(Root, Path);
}

static void WriteValue(HKEY Root, const char *SubKey, const char *ValueName, DWORD Type,
                       const BYTE *Data, DWORD Size) {
  char Name[REGISTRY_VALUE_NAME_SIZE];
  if (!CopyValueName(Name, ValueName)) return;
  HKEY Key = CreateSettingsKey(Root, SubKey);
  if (!Key) return;
  RegSetValueExA(Key, Name, 0, Type, Data, Size);
  RegCloseKey(Key);
}

void WriteDWordValue(HKEY Root, const char *SubKey, const char *ValueName, const void *Data,
                     DWORD Size) {
  WriteValue(Root, SubKey, ValueName, REG_DWORD, (const BYTE *)Data, Size);
}

void WriteStringValue(HKEY Root, const char *SubKey, const char *ValueName, const char *Value) {
  if (!Value) Value = "";
  WriteValue(Root, SubKey, ValueName, REG_SZ, (const BYTE *)Value,
             (DWORD)ZStrLength(Value) + 1);
}

// Reads a value's bytes; *Read receives how many bytes the value held.
static bool QueryValue(HKEY Root, const char *SubKey, const char *ValueName, void *Data,
                       DWORD Size, DWORD *Read) {
  char Name[REGISTRY_VALUE_NAME_SIZE];
  if (!CopyValueName(Name, ValueName)) return false;
  HKEY Key = OpenSettingsKey(Root, SubKey);
  if (!Key) return false;
  DWORD Count = Size;
  LONG Status = RegQueryValueExA(Key, Name, NULL, NULL, (BYTE *)Data, &Count);
  RegCloseKey(Key);
  if (Status != ERROR_SUCCESS || Count > Size) return false;
  *Read = Count;
  return true;
}

bool ReadValueData(HKEY Root, const char *SubKey, const char *ValueName, void *Data,
                   DWORD Size) {
  DWORD Read;
  return QueryValue(Root, SubKey, ValueName, Data, Size, &Read);
}

int ReadDWordValue(HKEY Root, const char *SubKey, const char *ValueName, int Default) {
  DWORD Value, Read;
  // A shorter value would leave undefined bytes in the number.
  if (!QueryValue(Root, SubKey, ValueName, &Value, sizeof Value, &Read) || Read != sizeof Value)
    return Default;
  return (int)Value;
}

static char *CopyText(const char *Text) {
  char *Copy = (char *)malloc(ZStrLength(Text) + 1);
  return Copy ? ZStrCopy(Copy, Text) : NULL;
}

char *ReadStringValue(HKEY Root, const char *SubKey, const char *ValueName, const char *Default) {
  // One spare byte terminates a value stored without its terminator.
  char *Buffer = (char *)malloc(STRING_VALUE_SIZE + 1);
  if (!Buffer) return NULL;
  DWORD Read;
  char *Result;
  if (QueryValue(Root, SubKey, ValueName, Buffer, STRING_VALUE_SIZE, &Read)) {
    Buffer[Read] = 0;
    Result = CopyText(Buffer);
  } else {
    Result = CopyText(Default ? Default : "");
  }
  free(Buffer);
  return Result;
}
