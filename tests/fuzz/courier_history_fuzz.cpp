// A history entry from the registry split into the message dialog's lines,
// and the lines joined back into a message.
#include "courier/text.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  std::string Text((const char *)Data, Size);
  Text = Text.c_str();  // registry text ends at its first NUL

  // Each line exactly as large as the dialog's field, so ASan sees overruns.
  char *Lines[MESSAGE_LINES];
  for (int I = 0; I < MESSAGE_LINES; I++) {
    Lines[I] = (char *)malloc(LINE_SIZE);
    memset(Lines[I], 'z', LINE_SIZE);
  }
  SplitMessageText(Text.c_str(), Lines, MESSAGE_LINES);

  std::vector<std::string> Parts;  // the entry's lines, whole
  for (size_t Start = 0;;) {
    size_t Break = Text.find("\r\n", Start);
    Parts.push_back(Text.substr(Start, Break == std::string::npos ? Break : Break - Start));
    if (Break == std::string::npos) break;
    Start = Break + 2;
  }
  bool Fits = Parts.size() <= MESSAGE_LINES;  // nothing cut or dropped
  for (int I = 0; I < MESSAGE_LINES; I++) {
    std::string Whole = I < (int)Parts.size() ? Parts[I] : "";
    if (Whole.size() > LOADED_LINE_MAX) Fits = false;
    if (Whole.substr(0, LOADED_LINE_MAX) != Lines[I]) abort();
  }

  char *Joined = (char *)malloc(MESSAGE_TEXT_SIZE);
  size_t Len = BuildMessageText(Joined, MESSAGE_TEXT_SIZE, Lines, MESSAGE_LINES);
  if (Len >= MESSAGE_TEXT_SIZE || strlen(Joined) != Len) abort();
  if (Fits) {
    // Round trip: the entry comes back less the line breaks it ended with.
    std::string Expected = Text;
    while (Expected.size() >= 2 && Expected.compare(Expected.size() - 2, 2, "\r\n") == 0)
      Expected.resize(Expected.size() - 2);
    if (Expected != Joined) abort();
  }
  free(Joined);
  for (int I = 0; I < MESSAGE_LINES; I++) free(Lines[I]);
  return 0;
}
