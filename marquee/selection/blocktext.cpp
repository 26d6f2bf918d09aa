#include "blocktext.h"

#include <stdlib.h>
#include <string.h>

void StartText(TextBuilder *B) {
  B->Text = NULL;
  B->Length = B->Capacity = 0;
  B->Failed = false;
}

static bool ReserveText(TextBuilder *B, size_t Count) {
  if (B->Failed) return false;
  if (Count > (size_t)-1 / 2 - B->Length) {
    B->Failed = true;
    return false;
  }
  size_t Needed = B->Length + Count + 1;
  if (Needed <= B->Capacity) return true;
  size_t Capacity = B->Capacity ? B->Capacity : 256;
  while (Capacity < Needed) Capacity *= 2;
  char *Text = (char *)realloc(B->Text, Capacity);
  if (!Text) {
    B->Failed = true;
    return false;
  }
  B->Text = Text;
  B->Capacity = Capacity;
  return true;
}

void AppendChars(TextBuilder *B, const char *Chars, size_t Count) {
  if (!ReserveText(B, Count)) return;
  if (Count) memcpy(B->Text + B->Length, Chars, Count);
  B->Length += Count;
  B->Text[B->Length] = 0;
}

void AppendBlanks(TextBuilder *B, size_t Count) {
  if (!ReserveText(B, Count)) return;
  memset(B->Text + B->Length, ' ', Count);
  B->Length += Count;
  B->Text[B->Length] = 0;
}

void ReleaseText(TextBuilder *B) {
  free(B->Text);
  StartText(B);
}

static int ClampPosition(int Pos, int Length) {
  return Pos < 0 ? 0 : Pos > Length ? Length : Pos;
}

void AppendStreamLine(TextBuilder *B, const char *Text, int Length, int SelStart, int SelEnd) {
  if (!Text || Length < 0) Length = 0;
  int Start = ClampPosition(SelStart, Length);
  int End = SelEnd == -1 ? Length : ClampPosition(SelEnd, Length);
  if (End > Start) AppendChars(B, Text + Start, (size_t)(End - Start));
  else AppendChars(B, "", 0);
  if (SelEnd == -1) AppendChars(B, "\r\n", 2);
}

void AppendColumnRow(TextBuilder *B, const char *Text, int Length, int SelStart, int SelEnd) {
  if (!Text || Length < 0) Length = 0;
  if (SelStart < 0) SelStart = 0;
  int Width = SelEnd > SelStart ? SelEnd - SelStart : 0;
  int Own = SelStart < Length ? Length - SelStart : 0;
  if (Own > Width) Own = Width;
  AppendChars(B, Own ? Text + SelStart : "", (size_t)Own);
  AppendBlanks(B, (size_t)(Width - Own));
  AppendChars(B, "\r\n", 2);
}

size_t NextTextLine(const char *Text, size_t *BreakLength) {
  size_t N = strcspn(Text, "\r\n");
  if (!Text[N]) *BreakLength = 0;
  else if (Text[N] == '\r' && Text[N + 1] == '\n') *BreakLength = 2;
  else *BreakLength = 1;
  return N;
}

void FindWord(const unsigned char *Text, int Length, int Cursor, const unsigned char *WordChars,
              int *Start, int *End) {
  int N = Length > 0 ? Length : 0;
  if (Cursor < 0) Cursor = 0;
  if (Cursor > N) Cursor = N;  // the host may report any position; Cursor + 1 must not overflow
  int I = Cursor < N - 1 ? Cursor : N - 1;
  while (I >= 0 && !WordChars[Text[I]]) I--;
  if (I < 0) {
    // Nothing at or left of the cursor: the next word to the right.
    int J = Cursor + 1 < N ? Cursor + 1 : N;
    while (J < N && !WordChars[Text[J]]) J++;
    if (J == N) {
      *Start = 0;
      *End = N;
      return;
    }
    int E = J + 1;
    while (E < N && WordChars[Text[E]]) E++;
    *Start = J;
    *End = E;
    return;
  }
  int S = I - 1;
  while (S >= 0 && WordChars[Text[S]]) S--;
  *Start = S + 1;
  int E = I + 1;
  if (I == Cursor)
    while (E < N && WordChars[Text[E]]) E++;
  *End = E;
}
