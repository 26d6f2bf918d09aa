#include "emulator.h"

#include <stdio.h>
#include <string.h>

namespace emu {

bool ReadLanguageFile(const std::string &Path, std::string *Language,
                      std::vector<std::string> *Messages) {
  FILE *F = fopen(Path.c_str(), "rb");
  if (!F) return false;
  Messages->clear();
  bool Header = false;
  std::string Line;
  int C;
  auto Take = [&]() {
    while (!Line.empty() && (Line.back() == '\r' || Line.back() == ' ' || Line.back() == '\t'))
      Line.pop_back();
    size_t Start = Line.find_first_not_of(" \t");
    std::string L = Start == std::string::npos ? std::string() : Line.substr(Start);
    Line.clear();
    if (L.empty() || L.compare(0, 2, "//") == 0) return;
    if (!Header) {
      if (L.compare(0, 10, ".Language=") != 0) return;
      *Language = L.substr(10, L.find(',') - 10);
      Header = true;
      return;
    }
    if (L[0] != '"') return;
    size_t End = L.find_last_of('"');
    Messages->push_back(End > 0 ? L.substr(1, End - 1) : std::string());
  };
  while ((C = fgetc(F)) != EOF) {
    if (C == '\n') Take();
    else Line += (char)C;
  }
  Take();
  fclose(F);
  return Header;
}

static int Fold(unsigned char C) { return C >= 'a' && C <= 'z' ? C - 32 : C; }

// Matches a character class "[a-z,_]" at P against C; advances P past it.
static bool MatchClass(const char *&P, unsigned char C) {
  bool Hit = false;
  P++;  // '['
  while (*P && *P != ']') {
    if (*P == ',') {
      P++;
      continue;
    }
    unsigned char Lo = *P, Hi = *P;
    if (P[1] == '-' && P[2] && P[2] != ']') {
      Hi = P[2];
      P += 3;
    } else {
      P++;
    }
    if (Fold(C) >= Fold(Lo) && Fold(C) <= Fold(Hi)) Hit = true;
  }
  if (*P == ']') P++;
  return Hit;
}

static bool Match(const char *P, const char *N) {
  for (;;) {
    if (!*P) return !*N;
    if (!*N) {
      // "*.*" and "name.*" also take a name without an extension.
      if (P[0] == '.' && P[1] == '*' && !P[2]) return true;
      while (*P == '*') P++;
      return !*P;
    }
    switch (*P) {
      case '*':
        while (*P == '*') P++;
        if (!*P) return true;
        for (const char *T = N; *T; T++)
          if (Match(P, T)) return true;
        return Match(P, N + strlen(N));
      case '?':
        P++, N++;
        break;
      case '[':
        if (!MatchClass(P, (unsigned char)*N)) return false;
        N++;
        break;
      default:
        if (Fold((unsigned char)*P) != Fold((unsigned char)*N)) return false;
        P++, N++;
    }
  }
}

bool MatchMask(const char *Pattern, const char *Name, bool SkipPath) {
  if (SkipPath)
    for (const char *S = Name; *S; S++)
      if (*S == '\\' || *S == '/' || *S == ':') Name = S + 1;
  return Match(Pattern, Name);
}

}  // namespace emu
