// File-type values from the registry (of any length and content) made into
// menu lines and the delete question's quoted mask.
#include "filetypes/typelines.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 1) return 0;
  size_t Width = Data[0];  // the widest description, up to 255
  std::string Rest((const char *)Data + 1, Size - 1);
  size_t Cut = Rest.find('\0');
  std::string Description = Rest.substr(0, Cut);
  std::string Mask = Cut == std::string::npos ? "" : std::string(Rest.c_str() + Cut + 1);

  char *Line = (char *)malloc(MENU_LINE_MAX + 1);  // the host's menu text
  BuildTypeMenuLine(Line, Description.c_str(), Width, Mask.c_str());
  std::string Got = Line;
  std::string Want;
  size_t W = Width < MENU_DESCRIPTION_MAX ? Width : MENU_DESCRIPTION_MAX;
  if (W > 0) {
    Want = Description.substr(0, W);
    Want.resize(W, ' ');
    Want += " \xB3 ";
  }
  Want += Mask.substr(0, MENU_MASK_MAX);
  if (Got.size() > MENU_LINE_MAX || Got != Want) abort();

  char *Quoted = (char *)malloc(QUOTED_MASK_MAX + 1);
  BuildQuotedMask(Quoted, Mask.c_str());
  if (std::string(Quoted) != "\"" + Mask.substr(0, QUOTED_MASK_MAX - 2) + "\"") abort();
  free(Quoted);
  free(Line);
  return 0;
}
