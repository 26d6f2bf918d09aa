// Where the file types live: subkeys "\Type0", "\Type1", ... below the
// plug-in's key, contiguous from 0, each with three string values.
#ifndef MARQUEE_TYPEKEYS_H
#define MARQUEE_TYPEKEYS_H

static const char TypeKeyPrefix[] = "\\Type";
// The prefix, a number of up to ten digits and the terminator.
enum { TYPE_KEY_SIZE = sizeof TypeKeyPrefix + 10 };

static const char TypeMaskValue[] = "Mask";                // OEM
static const char TypeDescriptionValue[] = "Description";  // OEM
static const char TypeCharsetValue[] = "Charset";          // ANSI

#endif
