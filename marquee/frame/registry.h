// Settings in the registry: every key path is RegistryBasePath followed by
// the caller's SubKey. Each call opens and closes its own key.
#ifndef MARQUEE_REGISTRY_H
#define MARQUEE_REGISTRY_H

#include <windows.h>

// Set from the host's RootKey by the settings loader; empty before it runs.
extern char RegistryBasePath[];
enum { REGISTRY_BASE_PATH_SIZE = 80, REGISTRY_VALUE_NAME_SIZE = 81 };

void SetRegistryBasePath(const char *RootKey, const char *Suffix);

HKEY CreateSettingsKey(HKEY Root, const char *SubKey);
HKEY OpenSettingsKey(HKEY Root, const char *SubKey);
// Deletes the key RegistryBasePath + SubKey (which must not be empty).
void DeleteSettingsKey(HKEY Root, const char *SubKey);
void WriteDWordValue(HKEY Root, const char *SubKey, const char *ValueName, const void *Data,
                     DWORD Size);
void WriteStringValue(HKEY Root, const char *SubKey, const char *ValueName, const char *Value);
bool ReadValueData(HKEY Root, const char *SubKey, const char *ValueName, void *Data, DWORD Size);
int ReadDWordValue(HKEY Root, const char *SubKey, const char *ValueName, int Default);
// Returns a new text (release with free): the stored string, or a copy of
// Default. Never null unless memory runs out.
char *ReadStringValue(HKEY Root, const char *SubKey, const char *ValueName, const char *Default);

#endif
