// What Courier's parts share: the kept startup information, the key of its
// settings, message numbers, the error box, the busy notice, dialog tables
// and the registry routines.
#ifndef COURIER_COURIER_H
#define COURIER_COURIER_H

#include "host/far.h"

#include <windows.h>

enum { PLUGIN_KEY_PATH_SIZE = 80, RECIPIENTS_SIZE = 513, DOMAINS_SIZE = 512 };

extern PluginStartupInfo StartupInfo;
extern char PluginKeyPath[PLUGIN_KEY_PATH_SIZE];  // empty when RootKey did not fit
extern char LastRecipients[RECIPIENTS_SIZE];

// Message numbers of the language file.
enum {
  MErrorTitle = 0,
  MOk = 1,
  MPluginMenu = 2,
  MMessageTitle = 3,
  MRecipientLabel = 4,
  MLinesLabel = 5,
  MSend = 6,
  MBrowse = 7,
  MCancel = 8,
  MConfigTitle = 9,
  MSourcesLabel = 10,
  MSendFailed = 11,
  MDialogFailed = 12,
  MReadingNetwork = 13,
  MSending = 14,
  MHistory = 15,
  MAddressBottom = 16,
};

const char *GetMessageText(int MsgNumber);
void ShowError(int MsgNumber);

// The busy notice: shown while it lives. Notices that a structured exception
// skipped are restored by RestoreBusyNotices.
class Warning {
public:
  explicit Warning(int MsgNumber);
  ~Warning();

private:
  Warning(const Warning &);
  Warning &operator=(const Warning &);
  void *SavedScreen;
  const char *Lines[2];
};
void RestoreBusyNotices();

// A dialog item as a table entry. Data below 2000 is a message number, any
// other value the address of a literal text.
struct PackedDialogItem {
  unsigned char Type, X1, Y1, X2, Y2, Focus;
  INT_PTR Selected;
  DWORD Flags;
  unsigned char DefaultButton;
  INT_PTR Data;
};
enum { MESSAGE_NUMBER_LIMIT = 2000 };
void ExpandDialogItems(const PackedDialogItem *Packed, FarDialogItem *Items, int Count);

// malloc that raises the dialog's failure instead of returning null.
void *AllocateOrFail(size_t Size);

int ReadStringSetting(HKEY Root, const char *SubKey, const char *ValueName, char *Buffer,
                      const char *Default, DWORD Size);
void WriteStringSetting(HKEY Root, const char *SubKey, const char *ValueName, const char *Text);
HKEY CreatePluginKey(HKEY Root, const char *SubKey);
HKEY OpenPluginKey(HKEY Root, const char *SubKey);

// The message dialog; 1 when a send was attempted.
int RunMessageDialog(const char *Sources);
// The browse button: may rewrite Recipients (LINE_SIZE bytes).
void ChooseRecipients(char *Recipients, const char *Sources);

#endif
