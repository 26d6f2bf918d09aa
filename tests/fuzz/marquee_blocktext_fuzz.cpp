// Copy and paste texts: stream and column text built from line records as
// the host reports them (positions of any value), pasted text of any breaks
// split into lines, and a column block's payload read back row by row.
#include "selection/blocktext.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

static int Clamp(int Pos, int Length) { return Pos < 0 ? 0 : Pos > Length ? Length : Pos; }

// Splits Text as the stream paste does: every character lands in exactly one
// line or break, and lines hold no break characters.
static void CheckSplit(const std::string &Text) {
  std::string Joined;
  for (const char *P = Text.c_str();;) {
    size_t Break;
    size_t Length = NextTextLine(P, &Break);
    if (memchr(P, '\r', Length) || memchr(P, '\n', Length)) abort();
    if (Break == 0) {
      if (P[Length]) abort();
      Joined.append(P, Length);
      break;
    }
    if (Break == 2 ? (P[Length] != '\r' || P[Length + 1] != '\n') : Break != 1) abort();
    Joined.append(P, Length + Break);
    P += Length + Break;
  }
  if (Joined != Text) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 5) return 0;
  int SelStart = (int16_t)(Data[0] | Data[1] << 8) % 300;
  int SelEnd = (int16_t)(Data[2] | Data[3] << 8) % 300;
  if (Data[4] & 1) SelEnd = -1;
  std::string Raw((const char *)Data + 5, Size - 5);

  // One record per line of the input (its own characters may be anything).
  std::vector<std::string> Lines;
  for (size_t From = 0;;) {
    size_t Cut = Raw.find('\n', From);
    Lines.push_back(Raw.substr(From, Cut == std::string::npos ? std::string::npos : Cut - From));
    if (Cut == std::string::npos) break;
    From = Cut + 1;
  }

  TextBuilder Stream;
  StartText(&Stream);
  std::string Want;
  for (auto &L : Lines) {
    int Length = (int)L.size();
    int S = Clamp(SelStart, Length), E = SelEnd == -1 ? Length : Clamp(SelEnd, Length);
    if (E > S) Want.append(L, S, E - S);
    if (SelEnd == -1) Want += "\r\n";
    AppendStreamLine(&Stream, L.data(), Length, SelStart, SelEnd);
  }
  if (Stream.Failed || !Stream.Text || Stream.Length != Want.size() ||
      memcmp(Stream.Text, Want.data(), Want.size()) || Stream.Text[Stream.Length] ||
      Stream.Length >= Stream.Capacity)
    abort();
  ReleaseText(&Stream);

  // Column rows of break-free lines, then read back as the column paste does.
  int Left = SelStart < 0 ? 0 : SelStart;
  int Width = SelEnd > Left ? SelEnd - Left : 0;
  TextBuilder Column;
  StartText(&Column);
  std::vector<std::string> Rows;
  for (auto L : Lines) {
    for (char &C : L)
      if (C == '\r' || C == '\n' || !C) C = '.';
    AppendColumnRow(&Column, L.data(), (int)L.size(), SelStart, SelEnd);
    std::string Row;
    for (int I = 0; I < Width; I++) {
      size_t At = (size_t)Left + I;
      Row += At < L.size() ? L[At] : ' ';
    }
    Rows.push_back(Row);
  }
  if (Column.Failed || !Column.Text || strlen(Column.Text) != Column.Length) abort();
  std::vector<std::string> Pasted;
  for (const char *P = Column.Text;;) {
    size_t Break;
    size_t N = NextTextLine(P, &Break);
    Pasted.push_back(std::string(P, N));
    P += N + Break;
    if (!Break || !*P) break;
  }
  if (Pasted != Rows) abort();
  ReleaseText(&Column);

  std::string Text = Raw.c_str();
  CheckSplit(Text);

  unsigned char Chars[256];
  for (int C = 0; C < 256; C++) Chars[C] = C > ' ' && ((C ^ Data[4]) & 2);
  // The cursor as the host reports it: any position, the extremes included.
  int Cursor = SelStart;
  if (Data[4] & 4) Cursor = Data[4] & 8 ? INT32_MAX : INT32_MIN + (Data[0] & 1);
  int Start = -1, End = -1;
  FindWord((const unsigned char *)Text.data(), (int)Text.size(), Cursor, Chars, &Start, &End);
  if (Start < 0 || Start > End || End > (int)Text.size()) abort();
  // Past the line's end the cursor stands as at its end.
  if (Cursor >= (int)Text.size()) {
    int AtEndStart, AtEndEnd;
    FindWord((const unsigned char *)Text.data(), (int)Text.size(), (int)Text.size(), Chars,
             &AtEndStart, &AtEndEnd);
    if (AtEndStart != Start || AtEndEnd != End) abort();
  }
  return 0;
}
