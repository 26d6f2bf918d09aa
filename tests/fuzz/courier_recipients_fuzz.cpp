// Names from the network (a server's accounts, a workgroup's servers) marked
// in the address menu and joined into the recipient field.
#include "courier/text.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  // Entries are separated by NUL bytes; each entry's first byte says whether
  // it is marked (bit 0), a separator (bit 1); the rest is its text.
  std::vector<FarMenuItem> Items;
  size_t Pos = 0;
  while (Pos < Size && Items.size() < 300) {
    const uint8_t *End = (const uint8_t *)memchr(Data + Pos, 0, Size - Pos);
    size_t Len = End ? (size_t)(End - (Data + Pos)) : Size - Pos;
    FarMenuItem Item;
    memset(&Item, 0, sizeof Item);
    if (Len > 0) {
      Item.Checked = Data[Pos] & 1;
      Item.Separator = (Data[Pos] >> 1) & 1;
      // Menu texts fill the whole field, sometimes without a terminator.
      size_t TextLen = Len - 1 < sizeof Item.Text ? Len - 1 : sizeof Item.Text;
      memcpy(Item.Text, Data + Pos + 1, TextLen);
    }
    Items.push_back(Item);
    Pos += Len + 1;
  }
  int Count = (int)Items.size();
  int Chosen = Count ? (int)(Size % (size_t)(Count + 1)) - 1 : -1;

  // Exactly the dialog's field, so that ASan sees a write past it.
  char *Field = (char *)malloc(RECIPIENTS_MAX + 1);
  JoinMarkedNames(Field, Items.data(), Count, Chosen);
  size_t Len = strlen(Field);
  if (Len > RECIPIENTS_MAX) abort();

  std::string Expected;
  bool AnyMarked = false;
  for (const FarMenuItem &Item : Items) {
    if (!Item.Checked || Item.Separator) continue;
    AnyMarked = true;
    std::string Name(Item.Text, strnlen(Item.Text, sizeof Item.Text - 1));
    if (Expected.empty()) Expected = Name;
    else if (Expected.size() + Name.size() < RECIPIENTS_MAX) Expected += ";" + Name;
  }
  if (!AnyMarked && Chosen >= 0)
    Expected.assign(Items[Chosen].Text, strnlen(Items[Chosen].Text, sizeof Items[Chosen].Text - 1));
  if (Expected != Field) abort();

  for (int R = -1; R < Count; R++) {
    int Next = FindNextSelectable(Items.data(), Count, R);
    if (Next != R && (Next <= R || Next >= Count || Items[Next].Separator)) abort();
  }
  free(Field);
  return 0;
}
