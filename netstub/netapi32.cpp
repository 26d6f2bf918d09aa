// The stand-in netapi32.dll: the scripted network (see netstub.h), the LAN
// Manager functions Courier calls, and the control functions tests use.
// mpr.dll reads the network's resources through the NetStubResource exports.
#include <windows.h>
#include <lm.h>

#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Resource {
  std::string Name, Parent;  // ANSI
  DWORD DisplayType, Usage;
  std::wstring WideName;
};
struct Account {
  std::wstring Server, Name;
  DWORD Kind;  // a FILTER_* bit
};
struct Pair {
  std::wstring Name, Value;
  DWORD Code;
};
struct Delivered {
  std::wstring Recipient, Text;
  DWORD Bytes;
};

struct Network {
  std::vector<Resource> Resources;
  std::vector<Account> Accounts;
  std::vector<Pair> DeniedServers, Controllers, Refused, Crashing;
  DWORD UserBatch = 0, EnumBatch = 0;
  std::vector<Delivered> Messages;
  std::string Calls;
  std::set<void *> Buffers;
  int OpenEnums = 0;
};
Network Net;

std::wstring Widen(const std::string &Utf8) {
  int N = MultiByteToWideChar(CP_UTF8, 0, Utf8.c_str(), -1, nullptr, 0);
  std::wstring W(N > 0 ? N - 1 : 0, L'\0');
  if (N > 1) MultiByteToWideChar(CP_UTF8, 0, Utf8.c_str(), -1, &W[0], N);
  return W;
}

std::string Narrow(const std::wstring &W, UINT CodePage) {
  int N = WideCharToMultiByte(CodePage, 0, W.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string S(N > 0 ? N - 1 : 0, '\0');
  if (N > 1) WideCharToMultiByte(CodePage, 0, W.c_str(), -1, &S[0], N, nullptr, nullptr);
  return S;
}

std::string Utf8(const WCHAR *W) { return W ? Narrow(W, CP_UTF8) : std::string("(null)"); }

std::wstring Upper(std::wstring S) {
  if (!S.empty()) CharUpperBuffW(&S[0], (DWORD)S.size());
  return S;
}

// Server names match with or without their leading backslashes.
std::wstring ServerKey(const WCHAR *Name) {
  std::wstring S = Name ? Name : L"";
  while (!S.empty() && S[0] == L'\\') S.erase(0, 1);
  return Upper(S);
}

const Pair *Find(const std::vector<Pair> &List, const std::wstring &Key) {
  for (auto &P : List)
    if (P.Name == Key) return &P;
  return nullptr;
}

void Record(const std::string &Line) { Net.Calls += Line + "\n"; }

std::string Trim(const std::string &S) {
  size_t B = S.find_first_not_of(" \t\r"), E = S.find_last_not_of(" \t\r");
  return B == std::string::npos ? std::string() : S.substr(B, E - B + 1);
}

std::vector<std::string> Fields(const std::string &Line) {
  std::vector<std::string> Out;
  size_t Start = 0;
  for (;;) {
    size_t Bar = Line.find('|', Start);
    Out.push_back(Trim(Line.substr(Start, Bar == std::string::npos ? std::string::npos : Bar - Start)));
    if (Bar == std::string::npos) return Out;
    Start = Bar + 1;
  }
}

bool ParseLine(const std::vector<std::string> &F) {
  const std::string &K = F[0];
  auto Container = [&](DWORD Display, DWORD Usage, bool Root) {
    if (F.size() != (Root ? 2u : 3u) || F[1].empty()) return false;
    Net.Resources.push_back({Narrow(Widen(F[1]), CP_ACP), Root ? "" : Narrow(Widen(F[2]), CP_ACP),
                             Display, Usage, Widen(F[1])});
    return true;
  };
  if (K == "network") return Container(RESOURCEDISPLAYTYPE_NETWORK, RESOURCEUSAGE_CONTAINER, true);
  if (K == "domain") return Container(RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER, false);
  if (K == "generic") return Container(RESOURCEDISPLAYTYPE_GENERIC, RESOURCEUSAGE_CONTAINER, false);
  if (K == "server") return Container(RESOURCEDISPLAYTYPE_SERVER, RESOURCEUSAGE_CONTAINER, false);
  if (K == "share") return Container(RESOURCEDISPLAYTYPE_SHARE, RESOURCEUSAGE_CONNECTABLE, false);
  if (K == "user") {
    if (F.size() < 3 || F.size() > 4 || F[2].empty()) return false;
    DWORD Kind = FILTER_NORMAL_ACCOUNT;
    if (F.size() == 4) {
      if (F[3] == "trust") Kind = FILTER_WORKSTATION_TRUST_ACCOUNT;
      else if (F[3] == "temp") Kind = FILTER_TEMP_DUPLICATE_ACCOUNT;
      else if (F[3] != "normal") return false;
    }
    Net.Accounts.push_back({ServerKey(Widen(F[1]).c_str()), Widen(F[2]), Kind});
    return true;
  }
  auto Named = [&](std::vector<Pair> &List, size_t Count, bool Server) {
    if (F.size() != Count) return false;
    std::wstring Name = Server ? ServerKey(Widen(F[1]).c_str()) : Upper(Widen(F[1]));
    Pair P{Name, L"", 0};
    if (Count == 3) {
      P.Value = Widen(F[2]);
      P.Code = strtoul(F[2].c_str(), nullptr, 0);
    }
    List.push_back(P);
    return true;
  };
  if (K == "denyusers") return Named(Net.DeniedServers, 3, true);
  if (K == "dc") return Named(Net.Controllers, 3, false);
  if (K == "refuse") return Named(Net.Refused, 3, false);
  if (K == "crash") return Named(Net.Crashing, 2, false);
  if ((K == "userbatch" || K == "enumbatch") && F.size() == 2) {
    (K == "userbatch" ? Net.UserBatch : Net.EnumBatch) = strtoul(F[1].c_str(), nullptr, 0);
    return true;
  }
  return false;
}

BYTE *NewBuffer(size_t Size) {
  BYTE *B = (BYTE *)calloc(1, Size ? Size : 1);
  if (B) Net.Buffers.insert(B);
  return B;
}

}  // namespace

extern "C" {

// --- Control functions ------------------------------------------------------

int WINAPI NetStubLoad(const char *Script) {
  Net = Network();
  std::string S = Script ? Script : "";
  int LineNumber = 0;
  size_t Start = 0;
  while (Start <= S.size()) {
    size_t End = S.find('\n', Start);
    if (End == std::string::npos) End = S.size();
    std::string Line = Trim(S.substr(Start, End - Start));
    LineNumber++;
    Start = End + 1;
    if (Line.empty() || Line[0] == '#') continue;
    if (!ParseLine(Fields(Line))) return LineNumber;
  }
  return 0;
}

int WINAPI NetStubMessageCount() { return (int)Net.Messages.size(); }

BOOL WINAPI NetStubGetMessage(int Index, const WCHAR **Recipient, const WCHAR **Text,
                              DWORD *Bytes) {
  if (Index < 0 || Index >= (int)Net.Messages.size()) return FALSE;
  const Delivered &M = Net.Messages[Index];
  if (Recipient) *Recipient = M.Recipient.c_str();
  if (Text) *Text = M.Text.c_str();
  if (Bytes) *Bytes = M.Bytes;
  return TRUE;
}

const char *WINAPI NetStubCallLog() { return Net.Calls.c_str(); }

int WINAPI NetStubOutstanding() { return (int)Net.Buffers.size() + Net.OpenEnums; }

// For mpr.dll (plain C calls, so that the 32-bit import names need no
// decoration): the resources inside Parent ("" is the root); -1 when there is
// no such container.
int NetStubResourceCount(const char *Parent) {
  std::string P = Parent ? Parent : "";
  bool Known = P.empty();
  int Count = 0;
  for (auto &R : Net.Resources) {
    if (!Known && lstrcmpiA(R.Name.c_str(), P.c_str()) == 0 && (R.Usage & RESOURCEUSAGE_CONTAINER))
      Known = true;
    if (lstrcmpiA(R.Parent.c_str(), P.c_str()) == 0) Count++;
  }
  return Known ? Count : -1;
}

const char *NetStubResource(const char *Parent, int Index, DWORD *DisplayType,
                                   DWORD *Usage) {
  std::string P = Parent ? Parent : "";
  for (auto &R : Net.Resources)
    if (lstrcmpiA(R.Parent.c_str(), P.c_str()) == 0 && Index-- == 0) {
      *DisplayType = R.DisplayType;
      *Usage = R.Usage;
      return R.Name.c_str();
    }
  return nullptr;
}

DWORD NetStubEnumBatch() { return Net.EnumBatch; }
void NetStubRecordCall(const char *Line) { Record(Line); }
void NetStubCountEnum(int Delta) { Net.OpenEnums += Delta; }

// --- LAN Manager ------------------------------------------------------------------

NET_API_STATUS WINAPI NetApiBufferFree(LPVOID Buffer) {
  if (!Buffer) return NERR_Success;
  if (!Net.Buffers.erase(Buffer)) {
    Record("NetApiBufferFree of a buffer it never gave");
    return ERROR_INVALID_PARAMETER;
  }
  free(Buffer);
  return NERR_Success;
}

NET_API_STATUS WINAPI NetMessageBufferSend(LPCWSTR ServerName, LPCWSTR MsgName,
                                           LPCWSTR FromName, LPBYTE Buf, DWORD BufLen) {
  NET_API_STATUS Status = NERR_Success;
  std::wstring Key = Upper(MsgName ? MsgName : L"");
  const Pair *Refused = Find(Net.Refused, Key);
  if (!MsgName || !*MsgName || (!Buf && BufLen)) Status = ERROR_INVALID_PARAMETER;
  else if (Refused) Status = Refused->Code;
  Record("NetMessageBufferSend " + (ServerName ? Utf8(ServerName) : std::string("-")) + " " +
         Utf8(MsgName) + (FromName ? " from " + Utf8(FromName) : std::string()) + " -> " +
         std::to_string(Status));
  if (Find(Net.Crashing, Key)) *(volatile int *)nullptr = 0;
  if (Status == NERR_Success)
    Net.Messages.push_back({MsgName, std::wstring((const WCHAR *)Buf, BufLen / 2), BufLen});
  return Status;
}

NET_API_STATUS WINAPI NetUserEnum(LPCWSTR ServerName, DWORD Level, DWORD Filter,
                                  LPBYTE *BufPtr, DWORD PrefMaxLen, LPDWORD EntriesRead,
                                  LPDWORD TotalEntries, LPDWORD ResumeHandle) {
  DWORD Resume = ResumeHandle ? *ResumeHandle : 0;
  std::string Line = "NetUserEnum " + (ServerName ? Utf8(ServerName) : std::string("-")) +
                     " level " + std::to_string(Level) + " filter " + std::to_string(Filter) +
                     " resume " + std::to_string(Resume);
  (void)PrefMaxLen;
  if (!BufPtr || !EntriesRead || !TotalEntries) return ERROR_INVALID_PARAMETER;
  *BufPtr = nullptr;
  *EntriesRead = *TotalEntries = 0;
  std::wstring Server = ServerKey(ServerName);
  NET_API_STATUS Status = NERR_Success;
  std::vector<const Account *> Matching;
  bool Known = false;
  for (auto &R : Net.Resources)
    if (R.DisplayType == RESOURCEDISPLAYTYPE_SERVER &&
        ServerKey(R.WideName.c_str()) == Server)
      Known = true;
  for (auto &A : Net.Accounts)
    if (A.Server == Server) {
      Known = true;
      if (!Filter || (A.Kind & Filter)) Matching.push_back(&A);
    }
  if (const Pair *Denied = Find(Net.DeniedServers, Server)) Status = Denied->Code;
  else if (!Known) Status = ERROR_BAD_NETPATH;
  else if (Level != 0) Status = ERROR_INVALID_LEVEL;
  if (Status != NERR_Success) {
    Record(Line + " -> " + std::to_string(Status));
    return Status;
  }
  DWORD Total = (DWORD)Matching.size();
  DWORD First = Resume < Total ? Resume : Total;
  DWORD Count = Total - First;
  if (Net.UserBatch && Count > Net.UserBatch) Count = Net.UserBatch;
  size_t Size = Count * sizeof(USER_INFO_0);
  for (DWORD I = 0; I < Count; I++) Size += (Matching[First + I]->Name.size() + 1) * sizeof(WCHAR);
  BYTE *Buffer = NewBuffer(Size);
  if (!Buffer) return ERROR_NOT_ENOUGH_MEMORY;
  USER_INFO_0 *Users = (USER_INFO_0 *)Buffer;
  WCHAR *Names = (WCHAR *)(Buffer + Count * sizeof(USER_INFO_0));
  for (DWORD I = 0; I < Count; I++) {
    const std::wstring &N = Matching[First + I]->Name;
    memcpy(Names, N.c_str(), (N.size() + 1) * sizeof(WCHAR));
    Users[I].usri0_name = Names;
    Names += N.size() + 1;
  }
  *BufPtr = Buffer;
  *EntriesRead = Count;
  *TotalEntries = Total - First;
  if (First + Count < Total) Status = ERROR_MORE_DATA;
  if (ResumeHandle) *ResumeHandle = Status == ERROR_MORE_DATA ? First + Count : 0;
  Record(Line + " -> " + std::to_string(Status) + " read " + std::to_string(Count));
  return Status;
}

NET_API_STATUS WINAPI NetGetDCName(LPCWSTR ServerName, LPCWSTR DomainName, LPBYTE *BufPtr) {
  NET_API_STATUS Status = NERR_Success;
  const Pair *Controller = Find(Net.Controllers, Upper(DomainName ? DomainName : L""));
  if (!BufPtr) Status = ERROR_INVALID_PARAMETER;
  else if (!Controller) Status = NERR_DCNotFound;
  Record("NetGetDCName " + (ServerName ? Utf8(ServerName) : std::string("-")) + " " +
         Utf8(DomainName) + " -> " + std::to_string(Status));
  if (Status != NERR_Success) return Status;
  BYTE *Buffer = NewBuffer((Controller->Value.size() + 1) * sizeof(WCHAR));
  if (!Buffer) return ERROR_NOT_ENOUGH_MEMORY;
  memcpy(Buffer, Controller->Value.c_str(), (Controller->Value.size() + 1) * sizeof(WCHAR));
  *BufPtr = Buffer;
  return NERR_Success;
}

}  // extern "C"
