// The file types as the registry keeps them, below the plug-in's key:
// "\Type0", "\Type1", ... each with the string values "Mask" (file masks,
// comma-separated, OEM), "Description" (OEM) and "Charset" (word-character
// notation, ANSI). Indices run contiguously from 0.
#ifndef MARQUEE_FILETYPES_H
#define MARQUEE_FILETYPES_H

#define FILE_TYPE_MASK "Mask"
#define FILE_TYPE_DESCRIPTION "Description"
#define FILE_TYPE_CHARSET "Charset"

// Room for "\Type" and the decimal index with its terminator.
enum { FILE_TYPE_KEY_SIZE = 16 };

// The SubKey of type Index for the registry routines ("\Type" + Index).
char *FileTypeKey(char *SubKey, unsigned Index);

// One value of type Index as a new text (release with free); a missing value
// reads as the empty text. Null only when memory runs out.
char *ReadFileTypeValue(unsigned Index, const char *ValueName);

struct FileType {
  char *Mask, *Description, *Charset;  // each released by FreeFileType
};
// Reads all three values; missing ones read as empty texts.
void ReadFileType(unsigned Index, FileType *Type);
// Writes "Mask", "Description" and "Charset", in this order, creating the key.
void WriteFileType(unsigned Index, const FileType *Type);
void FreeFileType(FileType *Type);

// The word characters of the edited file, by the first type whose masks
// match its name, else the built-in set. Rewritten on every call.
extern unsigned char WordChars[256];
void SelectWordChars(const char *FileName);

#endif
