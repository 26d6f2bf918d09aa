// A file type's "Charset" notation and "Mask" value, as edited by hand in the
// registry: the set written back as codes reads the same, and the mask's
// pieces put together again give the mask.
#include "filetypes/wordchars.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

static void CheckNotation(const std::string &Notation) {
  unsigned char Set[WORD_CHAR_SET_SIZE + 1];
  Set[WORD_CHAR_SET_SIZE] = 0x5A;
  ParseWordChars(Notation.c_str(), Set);
  if (Set[WORD_CHAR_SET_SIZE] != 0x5A) abort();
  std::string Codes;
  for (int C = 0; C < WORD_CHAR_SET_SIZE; C++) {
    if (Set[C] > 1) abort();
    if (!Set[C]) continue;
    char Item[8];
    snprintf(Item, sizeof Item, "#%d", C);
    Codes += Item;
  }
  unsigned char Again[WORD_CHAR_SET_SIZE];
  ParseWordChars(Codes.c_str(), Again);
  if (memcmp(Set, Again, WORD_CHAR_SET_SIZE)) abort();
  // Without the three special characters every character stands for itself.
  if (Notation.find_first_of("#\\-") == std::string::npos) {
    unsigned char Plain[WORD_CHAR_SET_SIZE] = {0};
    for (unsigned char C : Notation) Plain[C] = 1;
    if (memcmp(Set, Plain, WORD_CHAR_SET_SIZE)) abort();
  }
}

static void CheckMask(const std::string &Mask) {
  std::vector<char> Buffer(Mask.begin(), Mask.end());
  Buffer.push_back(0);
  char *Cursor = Buffer.data();
  std::vector<std::string> Pieces;
  while (char *Piece = NextMaskPiece(&Cursor)) {
    if (Piece < Buffer.data() || Piece >= Buffer.data() + Buffer.size()) abort();
    if (strchr(Piece, ',')) abort();
    Pieces.push_back(Piece);
    if (Pieces.size() > Mask.size() + 1) abort();
  }
  std::vector<std::string> Want;
  if (!Mask.empty()) {
    std::string M = Mask;
    if (M.back() == ',') M.pop_back();
    size_t From = 0;
    for (;;) {
      size_t Comma = M.find(',', From);
      Want.push_back(M.substr(From, Comma == std::string::npos ? std::string::npos : Comma - From));
      if (Comma == std::string::npos) break;
      From = Comma + 1;
    }
  }
  if (Pieces != Want) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  std::string All((const char *)Data, Size);
  size_t Cut = All.find('\0');
  CheckNotation(All.substr(0, Cut));
  if (Cut != std::string::npos) CheckMask(std::string(All.c_str() + Cut + 1));
  return 0;
}
