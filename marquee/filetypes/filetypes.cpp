#include "filetypes.h"

#include "frame/frame.h"
#include "frame/registry.h"
#include "frame/zstr.h"
#include "wordchars.h"

#include <stdlib.h>
#include <windows.h>

unsigned char WordChars[256];

char *FileTypeKey(char *SubKey, unsigned Index) {
  ZStrCopy(SubKey, "\\Type");
  IntToDecimal(ZStrEnd(SubKey), Index);
  return SubKey;
}

// Values of any length are read whole: the file-type menu rewrites whole
// types when it moves or edits them, and a long value must not come back
// empty and be stored so.
char *ReadFileTypeValue(unsigned Index, const char *ValueName) {
  char SubKey[FILE_TYPE_KEY_SIZE];
  char *Text = NULL;
  HKEY Handle = OpenSettingsKey(HKEY_CURRENT_USER, FileTypeKey(SubKey, Index));
  if (Handle) {
    DWORD Size = 0;
    if (RegQueryValueExA(Handle, ValueName, NULL, NULL, NULL, &Size) == ERROR_SUCCESS) {
      Text = (char *)malloc(Size + 1);
      if (Text && RegQueryValueExA(Handle, ValueName, NULL, NULL, (BYTE *)Text, &Size) ==
                      ERROR_SUCCESS) {
        Text[Size] = 0;
      } else {
        free(Text);
        Text = NULL;
      }
    }
    RegCloseKey(Handle);
  }
  return Text ? Text : (char *)calloc(1, 1);
}

void ReadFileType(unsigned Index, FileType *Type) {
  Type->Mask = ReadFileTypeValue(Index, FILE_TYPE_MASK);
  Type->Description = ReadFileTypeValue(Index, FILE_TYPE_DESCRIPTION);
  Type->Charset = ReadFileTypeValue(Index, FILE_TYPE_CHARSET);
}

void WriteFileType(unsigned Index, const FileType *Type) {
  char SubKey[FILE_TYPE_KEY_SIZE];
  FileTypeKey(SubKey, Index);
  WriteStringValue(HKEY_CURRENT_USER, SubKey, FILE_TYPE_MASK, Type->Mask);
  WriteStringValue(HKEY_CURRENT_USER, SubKey, FILE_TYPE_DESCRIPTION, Type->Description);
  WriteStringValue(HKEY_CURRENT_USER, SubKey, FILE_TYPE_CHARSET, Type->Charset);
}

void FreeFileType(FileType *Type) {
  free(Type->Mask);
  free(Type->Description);
  free(Type->Charset);
  Type->Mask = Type->Description = Type->Charset = NULL;
}

// True when one of the mask's pieces matches the name. The pieces are cut
// from the mask in place, so a piece of any length reaches the host whole.
static bool MatchFileMask(char *Mask, const char *FileName) {
  char *Cursor = Mask;
  char *Piece;
  while ((Piece = NextMaskPiece(&Cursor)) != NULL)
    if (StartupInfo.CmpName(Piece, FileName, TRUE)) return true;
  return false;
}

void SelectWordChars(const char *FileName) {
  if (!FileName) FileName = "";
  for (unsigned Index = 0;; Index++) {
    char *Mask = ReadFileTypeValue(Index, FILE_TYPE_MASK);
    if (!Mask || !*Mask) {
      free(Mask);
      break;
    }
    bool Matched = MatchFileMask(Mask, FileName);
    free(Mask);
    if (Matched) {
      char *Charset = ReadFileTypeValue(Index, FILE_TYPE_CHARSET);
      ParseWordChars(Charset, WordChars);
      free(Charset);
      return;
    }
  }
  SetDefaultWordChars(WordChars);
}
