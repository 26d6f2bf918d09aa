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

char *ReadFileTypeValue(unsigned Index, const char *ValueName) {
  char SubKey[FILE_TYPE_KEY_SIZE];
  return ReadStringValue(HKEY_CURRENT_USER, FileTypeKey(SubKey, Index), ValueName, "");
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
