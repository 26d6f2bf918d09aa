#include "courier.h"

#include "text.h"

#include <lm.h>
#include <stdlib.h>
#include <string.h>
#include <winnetwk.h>

enum {
  ENUM_BUFFER_SIZE = 32768,
  LIST_STEP = 100,
  ACCOUNT_NAME_SIZE = 256,
  WIDE_NAME_SIZE = 512,
  // Real networks nest a few levels (provider, domain, server); a provider
  // that lists containers without end must not exhaust the host's stack.
  MAX_CONTAINER_DEPTH = 16,
};

struct AddressList {
  FarMenuItem *Items;
  int Count, Capacity;
  bool Failed;  // a resize failed: the list stays without entries
};

// Name is ANSI, null for a separator.
static void AddMenuEntry(const char *Name, AddressList *List) {
  if (List->Failed) return;
  if (Name) {
    if (Name[0] == '\\' && Name[1] == '\\') Name += 2;
    // A cut name would be sent to someone else: such names are left out.
    if (strlen(Name) > MENU_TEXT_MAX) return;
  }
  if (List->Count + 1 > List->Capacity) {
    FarMenuItem *Grown = (FarMenuItem *)realloc(
        List->Items, (size_t)(List->Capacity + LIST_STEP) * sizeof(FarMenuItem));
    if (!Grown) {
      free(List->Items);
      List->Items = NULL;
      List->Count = List->Capacity = 0;
      List->Failed = true;
      return;
    }
    List->Items = Grown;
    List->Capacity += LIST_STEP;
  }
  FarMenuItem &Entry = List->Items[List->Count++];
  memset(&Entry, 0, sizeof Entry);
  if (Name) {
    CopyText(Entry.Text, Name, sizeof Entry.Text);
    CharToOemA(Entry.Text, Entry.Text);
  } else {
    Entry.Separator = 1;
  }
  // The menu opens on the first name: a separator can't take the cursor.
  bool HasSelected = false;
  for (int I = 0; I < List->Count - 1 && !HasSelected; I++) HasSelected = List->Items[I].Selected;
  Entry.Selected = !HasSelected && !Entry.Separator;
}

// The containers being walked, innermost first.
struct ContainerPath {
  const char *Name;  // may be null
  const ContainerPath *Outer;
  int Depth;
};

static bool IsOnPath(const char *Name, const ContainerPath *Path) {
  if (!Name) return false;
  for (; Path; Path = Path->Outer)
    if (Path->Name && lstrcmpiA(Path->Name, Name) == 0) return true;
  return false;
}

static int EnumServers(NETRESOURCEA *Start, AddressList *List, const ContainerPath *Outer = NULL) {
  ContainerPath Here = {Start ? Start->lpRemoteName : NULL, Outer, Outer ? Outer->Depth + 1 : 0};
  HANDLE Enum;
  if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_DISK, 0, Start, &Enum) != NO_ERROR) return 0;
  NETRESOURCEA *Buffer = (NETRESOURCEA *)calloc(1, ENUM_BUFFER_SIZE);
  if (!Buffer) {
    WNetCloseEnum(Enum);
    return -1;
  }
  DWORD Status;
  do {
    DWORD Count = (DWORD)-1, Size = ENUM_BUFFER_SIZE;
    Status = WNetEnumResourceA(Enum, &Count, Buffer, &Size);
    if (Status != NO_ERROR) break;
    for (DWORD I = 0; I < Count && Status == NO_ERROR; I++) {
      NETRESOURCEA &R = Buffer[I];
      if ((R.dwUsage & RESOURCEUSAGE_CONTAINER) && R.dwDisplayType != RESOURCEDISPLAYTYPE_SERVER &&
          R.dwDisplayType != RESOURCEDISPLAYTYPE_SHARE) {
        // A container inside itself, or nested deeper than any real network, is not walked.
        if (Here.Depth + 1 < MAX_CONTAINER_DEPTH && !IsOnPath(R.lpRemoteName, &Here))
          Status = (DWORD)EnumServers(&R, List, &Here);
      }
      else if (R.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER && R.lpRemoteName)
        AddMenuEntry(R.lpRemoteName, List);
    }
  } while (Status == NO_ERROR);
  WNetCloseEnum(Enum);
  free(Buffer);
  return 0;
}

static NET_API_STATUS EnumUsers(const WCHAR *Server, AddressList *List) {
  DWORD Resume = 0;
  NET_API_STATUS Status;
  do {
    BYTE *Buffer = NULL;
    DWORD Read = 0, Total = 0;
    Status = NetUserEnum(Server, 0, FILTER_NORMAL_ACCOUNT, &Buffer, ENUM_BUFFER_SIZE, &Read,
                         &Total, &Resume);
    if ((Status == NERR_Success || Status == ERROR_MORE_DATA) && Buffer) {
      const USER_INFO_0 *Users = (const USER_INFO_0 *)Buffer;
      for (DWORD I = 0; I < Read; I++) {
        char Name[ACCOUNT_NAME_SIZE];
        if (Users[I].usri0_name &&
            WideCharToMultiByte(CP_ACP, 0, Users[I].usri0_name, -1, Name, sizeof Name, NULL,
                                NULL) > 0)
          AddMenuEntry(Name, List);
      }
    }
    if (Buffer) NetApiBufferFree(Buffer);
    // A server that asks for more but hands over nothing would keep us here.
    if (Status == ERROR_MORE_DATA && Read == 0) break;
  } while (Status == ERROR_MORE_DATA);
  return Status;
}

static NET_API_STATUS EnumDomainUsers(const WCHAR *Domain, AddressList *List) {
  BYTE *Controller = NULL;
  if (NetGetDCName(NULL, Domain, &Controller) != NERR_Success || !Controller) return 1;
  NET_API_STATUS Status = EnumUsers((const WCHAR *)Controller, List);
  NetApiBufferFree(Controller);
  return Status;
}

// The sources text stays as it is: every press of the browse button lists
// the same sources.
static void BuildAddressList(const char *Sources, AddressList *List) {
  Warning Busy(MReadingNetwork);
  if (!Sources[0]) {
    EnumServers(NULL, List);
    return;
  }
  const char *Cursor = Sources;
  bool Followed;
  do {
    char Name[DOMAINS_SIZE];
    WCHAR Wide[WIDE_NAME_SIZE];
    switch (TakeSource(&Cursor, Name, sizeof Name, &Followed)) {
      case SOURCE_CONTAINER: {
        NETRESOURCEA Container;
        memset(&Container, 0, sizeof Container);
        Container.dwUsage = RESOURCEUSAGE_CONTAINER;
        Container.lpRemoteName = Name;
        EnumServers(&Container, List);
        break;
      }
      case SOURCE_SERVER_USERS:
        Wide[0] = Wide[1] = L'\\';
        if (MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, Name, -1, Wide + 2, WIDE_NAME_SIZE - 2))
          EnumUsers(Wide, List);
        break;
      case SOURCE_DOMAIN_USERS:
        if (MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, Name, -1, Wide, WIDE_NAME_SIZE))
          EnumDomainUsers(Wide, List);
        break;
      case SOURCE_NONE:
        break;
    }
    if (Followed) AddMenuEntry(NULL, List);
  } while (Followed);
}

static bool HasNames(const AddressList &List) {
  for (int I = 0; I < List.Count; I++)
    if (!List.Items[I].Separator) return true;
  return false;
}

static void ShowAddressMenu(char *Recipients, AddressList &List) {
  static const int BreakKeys[] = {VK_SPACE, 0};
  for (;;) {
    int BreakCode = -1;
    int Chosen = StartupInfo.Menu(StartupInfo.ModuleNumber, -1, -1, 0, FMENU_AUTOHIGHLIGHT, "",
                                  GetMessageText(MAddressBottom), NULL, BreakKeys, &BreakCode,
                                  List.Items, List.Count);
    if (Chosen < 0 || Chosen >= List.Count) return;
    if (BreakCode < 0) {
      JoinMarkedNames(Recipients, List.Items, List.Count, Chosen);
      return;
    }
    List.Items[Chosen].Checked = !List.Items[Chosen].Checked;
    int Next = FindNextSelectable(List.Items, List.Count, Chosen);
    for (int I = 0; I < List.Count; I++) List.Items[I].Selected = I == Next;
  }
}

void ChooseRecipients(char *Recipients, const char *Sources) {
  AddressList List;
  memset(&List, 0, sizeof List);
  try {
    BuildAddressList(Sources, &List);
    if (HasNames(List)) ShowAddressMenu(Recipients, List);
  } catch (...) {
    free(List.Items);
    throw;
  }
  free(List.Items);
}
