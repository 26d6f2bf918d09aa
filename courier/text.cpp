#include "text.h"

#include <string.h>

void CopyText(char *Dest, const char *Source, size_t Size) {
  if (!Size) return;
  size_t Len = Source ? strnlen(Source, Size - 1) : 0;
  memcpy(Dest, Source ? Source : "", Len);
  Dest[Len] = 0;
}

bool TextIsEmpty(const char *Text) { return !Text || !*Text; }

int FindLastLine(const char *const *Lines, int Count) {
  for (int I = Count - 1; I >= 0; I--)
    if (!TextIsEmpty(Lines[I])) return I;
  return -1;
}

static size_t AppendCut(char *Dest, size_t Size, size_t Len, const char *Piece) {
  for (; Piece && *Piece && Len + 1 < Size; Piece++) Dest[Len++] = *Piece;
  return Len;
}

size_t BuildMessageText(char *Dest, size_t Size, const char *const *Lines, int Count) {
  if (!Size) return 0;
  size_t Len = 0;
  int Last = FindLastLine(Lines, Count);
  for (int I = 0; I <= Last; I++) {
    if (I) Len = AppendCut(Dest, Size, Len, "\r\n");
    Len = AppendCut(Dest, Size, Len, Lines[I]);
  }
  Dest[Len] = 0;
  return Len;
}

void SplitMessageText(const char *Text, char *const *Lines, int Count) {
  for (int I = 0; I < Count; I++) Lines[I][0] = 0;
  if (!Text) return;
  for (int I = 0; I < Count; I++) {
    const char *Break = strstr(Text, "\r\n");
    size_t Len = Break ? (size_t)(Break - Text) : strlen(Text);
    size_t Kept = Len < (size_t)LOADED_LINE_MAX ? Len : (size_t)LOADED_LINE_MAX;
    memcpy(Lines[I], Text, Kept);
    Lines[I][Kept] = 0;
    if (!Break) return;
    Text = Break + 2;
  }
}

bool AppendRecipient(char *Field, const char *Name) {
  size_t FieldLen = strlen(Field), NameLen = strlen(Name);
  if (!FieldLen) {
    CopyText(Field, Name, RECIPIENTS_MAX + 1);
    return true;
  }
  // Together with the ';' the field stays within RECIPIENTS_MAX.
  if (FieldLen + NameLen >= RECIPIENTS_MAX) return false;
  Field[FieldLen] = ';';
  memcpy(Field + FieldLen + 1, Name, NameLen + 1);
  return true;
}

void JoinMarkedNames(char *Field, const FarMenuItem *Items, int Count, int Chosen) {
  Field[0] = 0;
  bool AnyMarked = false;
  for (int I = 0; I < Count; I++) {
    if (!Items[I].Checked || Items[I].Separator) continue;
    AnyMarked = true;
    char Name[sizeof Items[I].Text];
    CopyText(Name, Items[I].Text, sizeof Name);
    AppendRecipient(Field, Name);
  }
  if (!AnyMarked && Chosen >= 0 && Chosen < Count)
    CopyText(Field, Items[Chosen].Text, sizeof Items[Chosen].Text);
}

int FindNextSelectable(const FarMenuItem *Items, int Count, int R) {
  for (int I = R + 1; I < Count; I++)
    if (!Items[I].Separator) return I;
  return R;
}

static bool StartsWithNoCase(const char *Text, size_t Len, const char *Prefix) {
  size_t N = strlen(Prefix);
  if (Len < N) return false;
  for (size_t I = 0; I < N; I++) {
    char C = Text[I];
    if (C >= 'a' && C <= 'z') C = (char)(C - 'a' + 'A');
    if (C != Prefix[I]) return false;
  }
  return true;
}

static void CopyPiece(char *Dest, size_t Size, const char *Piece, size_t Len) {
  if (!Size) return;
  if (Len > Size - 1) Len = Size - 1;
  memcpy(Dest, Piece, Len);
  Dest[Len] = 0;
}

SourceKind TakeSource(const char **Cursor, char *Name, size_t NameSize, bool *Followed) {
  const char *Start = *Cursor;
  const char *End = strchr(Start, ';');
  size_t Len = End ? (size_t)(End - Start) : strlen(Start);
  *Followed = End != NULL;
  *Cursor = End ? End + 1 : Start + Len;
  if (Len == 0) {
    // An empty source (";;", a trailing ';') names nothing; it is no request
    // for the whole network.
    CopyPiece(Name, NameSize, "", 0);
    return SOURCE_NONE;
  }
  if (Start[0] != '*') {
    CopyPiece(Name, NameSize, Start, Len);
    return SOURCE_CONTAINER;
  }
  if (StartsWithNoCase(Start + 1, Len - 1, "DC:")) {
    CopyPiece(Name, NameSize, Start + 4, Len - 4);
    return SOURCE_SERVER_USERS;
  }
  if (StartsWithNoCase(Start + 1, Len - 1, "D:")) {
    CopyPiece(Name, NameSize, Start + 3, Len - 3);
    return SOURCE_DOMAIN_USERS;
  }
  CopyPiece(Name, NameSize, "", 0);
  return SOURCE_NONE;
}

bool ComposeKeyPath(char *Dest, size_t Size, const char *RootKey, const char *Suffix) {
  size_t RootLen = RootKey ? strlen(RootKey) : 0, SuffixLen = strlen(Suffix);
  if (!Size) return false;
  Dest[0] = 0;
  if (RootLen + SuffixLen + 1 > Size) return false;
  memcpy(Dest, RootKey ? RootKey : "", RootLen);
  memcpy(Dest + RootLen, Suffix, SuffixLen + 1);
  return true;
}
