// What Marquee's frame offers the rest of the plug-in: the kept startup
// information, the two settings, message texts and the error box.
#ifndef MARQUEE_FRAME_H
#define MARQUEE_FRAME_H

#include "host/far.h"

extern PluginStartupInfo StartupInfo;
extern int DoubleClickSpeed;  // milliseconds
extern int Method;            // mouse scheme: 1, 2 or 4

// Message numbers of the language file.
enum {
  MOk = 0,
  MCancel = 1,
  MDelete = 2,
  MTitle = 3,
  MSchemeLabel = 4,
  MScheme1 = 5,
  MScheme2 = 6,
  MScheme4 = 7,
  MFileTypesButton = 8,
  MFileTypesTitle = 9,
  MFileTypesBottom = 10,
  MEditTitle = 11,
  MEditMask = 12,
  MEditDescription = 13,
  MEditCharset = 14,
  MDeleteQuestion = 15,
  MErrorTitle = 16,
  MErrorEditorInput = 17,
  MErrorOpen = 18,
};

const char *GetMsgText(int MsgNumber);
void ShowErrorBox(const char *Text);

// Filled in by the configuration dialog; true when it was closed with OK.
bool ShowConfigDialog();

#endif
