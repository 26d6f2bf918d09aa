// The stand-in mpr.dll: network resource enumeration over the scripted
// network that the stand-in netapi32.dll keeps (see netstub.h).
#include <windows.h>
#include <winnetwk.h>

#include <string.h>

#include <string>

extern "C" {
int NetStubResourceCount(const char *Parent);
const char *NetStubResource(const char *Parent, int Index, DWORD *DisplayType,
                                   DWORD *Usage);
DWORD NetStubEnumBatch();
void NetStubRecordCall(const char *Line);
void NetStubCountEnum(int Delta);
}

namespace {

const DWORD EnumMagic = 0x4E554D45;

struct Enumeration {
  DWORD Magic;
  std::string Parent;
  int Next;
};

Enumeration *FromHandle(HANDLE H) {
  Enumeration *E = (Enumeration *)H;
  return E && E->Magic == EnumMagic ? E : nullptr;
}

void Record(const std::string &Line) { NetStubRecordCall(Line.c_str()); }

}  // namespace

extern "C" {

DWORD WINAPI WNetOpenEnumA(DWORD Scope, DWORD Type, DWORD Usage, LPNETRESOURCEA Resource,
                           LPHANDLE Enum) {
  std::string Parent = Resource && Resource->lpRemoteName ? Resource->lpRemoteName : "";
  std::string Line = "WNetOpenEnumA scope " + std::to_string(Scope) + " type " +
                     std::to_string(Type) + " usage " + std::to_string(Usage) + " " +
                     (Resource ? "\"" + Parent + "\"" : std::string("(root)"));
  DWORD Status = NO_ERROR;
  if (!Enum) Status = ERROR_INVALID_PARAMETER;
  else if (Scope != RESOURCE_GLOBALNET) Status = ERROR_NOT_SUPPORTED;
  else if (Resource && !(Resource->dwUsage & RESOURCEUSAGE_CONTAINER)) Status = ERROR_NOT_CONTAINER;
  else if ((Resource && Resource->lpRemoteName && Parent.empty()) ||
           NetStubResourceCount(Parent.c_str()) < 0)
    Status = ERROR_BAD_NET_NAME;
  Record(Line + " -> " + std::to_string(Status));
  if (Status != NO_ERROR) return Status;
  *Enum = (HANDLE) new Enumeration{EnumMagic, Parent, 0};
  NetStubCountEnum(1);
  return NO_ERROR;
}

DWORD WINAPI WNetEnumResourceA(HANDLE Enum, LPDWORD Count, LPVOID Buffer, LPDWORD BufferSize) {
  Enumeration *E = FromHandle(Enum);
  if (!E) return ERROR_INVALID_HANDLE;
  if (!Count || !Buffer || !BufferSize) return ERROR_INVALID_PARAMETER;
  DWORD Limit = *Count, Batch = NetStubEnumBatch();
  if (Batch && Limit > Batch) Limit = Batch;
  int Total = NetStubResourceCount(E->Parent.c_str());
  if (E->Next >= Total) {
    Record("WNetEnumResourceA -> no more items");
    return ERROR_NO_MORE_ITEMS;
  }
  // Records from the front of the buffer, their texts from its end.
  BYTE *Front = (BYTE *)Buffer, *Back = Front + *BufferSize;
  DWORD Written = 0;
  while (Written < Limit && E->Next < Total) {
    DWORD Display, Usage;
    const char *Name = NetStubResource(E->Parent.c_str(), E->Next, &Display, &Usage);
    size_t Len = strlen(Name) + 1;
    if ((size_t)(Back - Front) < sizeof(NETRESOURCEA) + Len) break;
    Back -= Len;
    memcpy(Back, Name, Len);
    NETRESOURCEA *R = (NETRESOURCEA *)Front;
    memset(R, 0, sizeof *R);
    R->dwScope = RESOURCE_GLOBALNET;
    R->dwType = Display == RESOURCEDISPLAYTYPE_SHARE ? RESOURCETYPE_DISK : RESOURCETYPE_ANY;
    R->dwDisplayType = Display;
    R->dwUsage = Usage;
    R->lpRemoteName = (char *)Back;
    Front += sizeof *R;
    Written++;
    E->Next++;
  }
  if (!Written) {
    DWORD Display, Usage;
    *BufferSize = (DWORD)(sizeof(NETRESOURCEA) +
                          strlen(NetStubResource(E->Parent.c_str(), E->Next, &Display, &Usage)) + 1);
    Record("WNetEnumResourceA -> more data");
    return ERROR_MORE_DATA;
  }
  *Count = Written;
  Record("WNetEnumResourceA -> " + std::to_string(Written));
  return NO_ERROR;
}

DWORD WINAPI WNetCloseEnum(HANDLE Enum) {
  Enumeration *E = FromHandle(Enum);
  if (!E) return ERROR_INVALID_HANDLE;
  E->Magic = 0;
  delete E;
  NetStubCountEnum(-1);
  Record("WNetCloseEnum");
  return NO_ERROR;
}

}  // extern "C"
