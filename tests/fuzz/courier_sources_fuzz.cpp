// The "Domains" text (edited by hand or in the configuration dialog) taken
// apart into address sources, and the key path made from the host's RootKey.
#include "courier/text.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static std::string Upper(std::string S) {
  for (char &C : S)
    if (C >= 'a' && C <= 'z') C = (char)(C - 'a' + 'A');
  return S;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 1) return 0;
  // The first byte picks the name buffer's size, as small as 1 byte.
  size_t NameSize = 1 + Data[0] % 64;
  if (Data[0] & 0x80) NameSize = 512;
  std::string Text((const char *)Data + 1, Size - 1);
  Text = Text.c_str();

  char *Name = (char *)malloc(NameSize);
  const char *Cursor = Text.c_str();
  size_t Pieces = 0, Start = 0;
  bool Followed;
  do {
    size_t End = Text.find(';', Start);
    std::string Piece = Text.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
    SourceKind Kind = TakeSource(&Cursor, Name, NameSize, &Followed);
    Pieces++;
    if (Followed != (End != std::string::npos)) abort();
    if (Cursor != Text.c_str() + (End == std::string::npos ? Text.size() : End + 1)) abort();
    size_t Len = strlen(Name);
    if (Len > NameSize - 1) abort();
    std::string Want;
    SourceKind WantKind = SOURCE_NONE;
    if (!Piece.empty() && Piece[0] != '*') WantKind = SOURCE_CONTAINER, Want = Piece;
    else if (Upper(Piece.substr(0, 4)) == "*DC:") WantKind = SOURCE_SERVER_USERS, Want = Piece.substr(4);
    else if (Upper(Piece.substr(0, 3)) == "*D:") WantKind = SOURCE_DOMAIN_USERS, Want = Piece.substr(3);
    if (Kind != WantKind) abort();
    if (Want.substr(0, NameSize - 1) != Name) abort();
    Start = End + 1;
  } while (Followed);
  if (*Cursor) abort();
  free(Name);

  // The same bytes as a RootKey: the path fits or is refused, never cut.
  char *Path = (char *)malloc(80);
  bool Made = ComposeKeyPath(Path, 80, Text.c_str(), "\\Courier");
  if (Made != (Text.size() + 8 <= 79)) abort();
  if (Made ? Text + "\\Courier" != Path : Path[0] != 0) abort();
  free(Path);
  return 0;
}
