// The Windows clipboard in the standard text formats and in one registered
// format. Texts cross in the OEM code page, NUL-terminated. Each call opens
// and closes the clipboard itself and never waits for it.
#ifndef MARQUEE_CLIPBOARD_H
#define MARQUEE_CLIPBOARD_H

// Set while the module loads: the Windows NT family, where CF_UNICODETEXT
// takes part.
extern bool PlatformIsNT;

// Empties the clipboard and places Text as CF_OEMTEXT, CF_TEXT and (NT)
// CF_UNICODETEXT, in that order. An empty or null Text leaves the clipboard
// alone. False only when the clipboard can't be opened.
bool PutClipboardText(const char *Text);
// As PutClipboardText, and in the same opening adds Text under the
// registered format FormatName after the text formats. False also when the
// name can't be registered.
bool PutClipboardTextWithFormat(const char *FormatName, const char *Text);

// The clipboard's text as a new OEM text (release with free), or null. The
// first text format in the clipboard's own order is taken.
char *GetClipboardText();
// A new copy of the data under FormatName (release with free), or null.
char *GetNamedClipboardText(const char *FormatName);

#endif
