// The host's plug-in interface: the records, services and constants that the
// plug-ins, the host emulator and the dialog generator agree on. 32-bit host,
// ANSI texts. Every record layout is checked below for the 32-bit target.
#ifndef HOST_FAR_H
#define HOST_FAR_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define FARAPI __stdcall
#else
#define FARAPI
#endif

typedef uint32_t FARDWORD;

#pragma pack(push, 2)

// Open origins of OpenPlugin.
enum {
  OPEN_DISKMENU = 0, OPEN_PLUGINSMENU = 1, OPEN_FINDLIST = 2, OPEN_SHORTCUT = 3,
  OPEN_COMMANDLINE = 4, OPEN_EDITOR = 5, OPEN_VIEWER = 6
};

enum { PF_PRELOAD = 1, PF_DISABLEPANELS = 2, PF_EDITOR = 4, PF_VIEWER = 8 };

enum {
  FMSG_WARNING = 1, FMSG_ERRORTYPE = 2, FMSG_KEEPBACKGROUND = 4, FMSG_DOWN = 8,
  FMSG_LEFTALIGN = 16
};

enum {
  FMENU_SHOWAMPERSAND = 1, FMENU_WRAPMODE = 2, FMENU_AUTOHIGHLIGHT = 4,
  FMENU_REVERSEAUTOHIGHLIGHT = 8
};

enum {
  DI_TEXT = 0, DI_VTEXT = 1, DI_SINGLEBOX = 2, DI_DOUBLEBOX = 3, DI_EDIT = 4,
  DI_PSWEDIT = 5, DI_FIXEDIT = 6, DI_BUTTON = 7, DI_CHECKBOX = 8,
  DI_RADIOBUTTON = 9, DI_COMBOBOX = 10, DI_LISTBOX = 11
};

#define DIF_COLORMASK 0xFFul
#define DIF_SETCOLOR 0x100ul
#define DIF_BOXCOLOR 0x200ul
#define DIF_GROUP 0x400ul
#define DIF_LEFTTEXT 0x800ul
#define DIF_MOVESELECT 0x1000ul
#define DIF_SHOWAMPERSAND 0x2000ul
#define DIF_CENTERGROUP 0x4000ul
#define DIF_NOBRACKETS 0x8000ul
#define DIF_SEPARATOR 0x10000ul
#define DIF_EDITOR 0x20000ul
#define DIF_HISTORY 0x40000ul
#define DIF_EDITEXPAND 0x80000ul
#define DIF_DROPDOWNLIST 0x100000ul
#define DIF_USELASTHISTORY 0x200000ul
#define DIF_HIDDEN 0x10000000ul
#define DIF_READONLY 0x20000000ul
#define DIF_NOFOCUS 0x40000000ul
#define DIF_DISABLE 0x80000000ul

enum { FCTL_GETCMDLINE = 8, FCTL_SETCMDLINE = 9, FCTL_INSERTCMDLINE = 14 };

enum {
  ECTL_GETSTRING = 0, ECTL_SETSTRING = 1, ECTL_INSERTSTRING = 2,
  ECTL_DELETESTRING = 3, ECTL_DELETECHAR = 4, ECTL_INSERTTEXT = 5,
  ECTL_GETINFO = 6, ECTL_SETPOSITION = 7, ECTL_SELECT = 8, ECTL_REDRAW = 9,
  ECTL_EDITORTOOEM = 10, ECTL_OEMTOEDITOR = 11, ECTL_TABTOREAL = 12,
  ECTL_REALTOTAB = 13
};

enum {
  EOPT_EXPANDALLTABS = 1, EOPT_PERSISTENTBLOCKS = 2, EOPT_DELREMOVESBLOCKS = 4,
  EOPT_AUTOINDENT = 8, EOPT_CURSORBEYONDEOL = 0x40
};

enum { BTYPE_NONE = 0, BTYPE_STREAM = 1, BTYPE_COLUMN = 2 };

// Modifier bits of menu break keys (high word; the virtual key is the low word).
enum { PKF_CONTROL = 1, PKF_ALT = 2, PKF_SHIFT = 4 };

struct FarMenuItem {
  char Text[128];
  int Selected;
  int Checked;
  int Separator;
};

struct FarDialogItem {
  int Type;
  int X1, Y1, X2, Y2;
  int Focus;
  union {
    int Selected;
    const char *History;
    const char *Mask;
    void *ListItems;
  };
  FARDWORD Flags;
  int DefaultButton;
  char Data[512];
};

struct PluginInfo {
  int StructSize;
  FARDWORD Flags;
  const char *const *DiskMenuStrings;
  int *DiskMenuNumbers;
  int DiskMenuStringsNumber;
  const char *const *PluginMenuStrings;
  int PluginMenuStringsNumber;
  const char *const *PluginConfigStrings;
  int PluginConfigStringsNumber;
  const char *CommandPrefix;
};

struct EditorInfo {
  int EditorID;
  const char *FileName;
  int WindowSizeX, WindowSizeY;
  int TotalLines;
  int CurLine, CurPos, CurTabPos;
  int TopScreenLine, LeftPos;
  int Overtype;
  int BlockType, BlockStartLine;
  int AnsiMode;
  int TableNum;
  FARDWORD Options;
  int TabSize;
  int BookMarkCount;
  FARDWORD CurState;
  FARDWORD Reserved[6];
};

struct EditorGetString {
  int StringNumber;
  const char *StringText;
  const char *StringEOL;
  int StringLength;
  int SelStart;
  int SelEnd;
};

struct EditorSetString {
  int StringNumber;
  char *StringText;
  char *StringEOL;
  int StringLength;
};

struct EditorSetPosition {
  int CurLine, CurPos, CurTabPos, TopScreenLine, LeftPos, Overtype;
};

struct EditorSelect {
  int BlockType, BlockStartLine, BlockStartPos, BlockWidth, BlockHeight;
};

struct EditorConvertText {
  char *Text;
  int TextLength;
};

typedef int(FARAPI *FARAPIMENU)(intptr_t ModuleNumber, int X, int Y, int MaxHeight,
                                FARDWORD Flags, const char *Title, const char *Bottom,
                                const char *HelpTopic, const int *BreakKeys,
                                int *BreakCode, const FarMenuItem *Item, int ItemsNumber);
typedef int(FARAPI *FARAPIDIALOG)(intptr_t ModuleNumber, int X1, int Y1, int X2, int Y2,
                                  const char *HelpTopic, FarDialogItem *Item,
                                  int ItemsNumber);
typedef int(FARAPI *FARAPIMESSAGE)(intptr_t ModuleNumber, FARDWORD Flags,
                                   const char *HelpTopic, const char *const *Items,
                                   int ItemsNumber, int ButtonsNumber);
typedef const char *(FARAPI *FARAPIGETMSG)(intptr_t ModuleNumber, int MsgId);
typedef int(FARAPI *FARAPICONTROL)(void *hPlugin, int Command, void *Param);
typedef void *(FARAPI *FARAPISAVESCREEN)(int X1, int Y1, int X2, int Y2);
typedef void(FARAPI *FARAPIRESTORESCREEN)(void *hScreen);
typedef int(FARAPI *FARAPICMPNAME)(const char *Pattern, const char *String, int SkipPath);
typedef int(FARAPI *FARAPIEDITORCONTROL)(int Command, void *Param);
typedef void(FARAPI *FARAPIUNUSED)(void);

// The first 336 bytes (through EditorControl) are what the plug-ins keep.
struct PluginStartupInfo {
  int StructSize;
  char ModuleName[260];
  intptr_t ModuleNumber;
  const char *RootKey;
  FARAPIMENU Menu;
  FARAPIDIALOG Dialog;
  FARAPIMESSAGE Message;
  FARAPIGETMSG GetMsg;
  FARAPICONTROL Control;
  FARAPISAVESCREEN SaveScreen;
  FARAPIRESTORESCREEN RestoreScreen;
  FARAPIUNUSED GetDirList;
  FARAPIUNUSED GetPluginDirList;
  FARAPIUNUSED FreeDirList;
  FARAPIUNUSED Viewer;
  FARAPIUNUSED Editor;
  FARAPICMPNAME CmpName;
  FARAPIUNUSED CharTable;
  FARAPIUNUSED Text;
  FARAPIEDITORCONTROL EditorControl;
};

// What a 1.7x host appends after EditorControl; plug-ins never look at it.
// In order: FSF, ShowHelp, AdvControl, InputBox, DialogEx, SendDlgMessage,
// DefDlgProc, then a reserved word and ViewerControl.
struct PluginStartupInfoTail {
  FARAPIUNUSED Services[7];
  FARDWORD Reserved;
  FARAPIUNUSED ViewerControl;
};

enum { KEPT_STARTUP_INFO_SIZE = 336, FULL_STARTUP_INFO_SIZE = 372 };

#pragma pack(pop)

#define FAR_INVALID_HANDLE ((void *)(intptr_t)-1)

#if defined(__cplusplus) && defined(_WIN32) && !defined(_WIN64)
#define FAR_CHECK(rec, field, off) static_assert(offsetof(rec, field) == off, #rec "." #field)
static_assert(sizeof(FarMenuItem) == 140, "FarMenuItem");
FAR_CHECK(FarMenuItem, Selected, 128);
FAR_CHECK(FarMenuItem, Checked, 132);
FAR_CHECK(FarMenuItem, Separator, 136);

static_assert(sizeof(FarDialogItem) == 548, "FarDialogItem");
FAR_CHECK(FarDialogItem, X1, 4);
FAR_CHECK(FarDialogItem, Y1, 8);
FAR_CHECK(FarDialogItem, X2, 12);
FAR_CHECK(FarDialogItem, Y2, 16);
FAR_CHECK(FarDialogItem, Focus, 20);
FAR_CHECK(FarDialogItem, Selected, 24);
FAR_CHECK(FarDialogItem, History, 24);
FAR_CHECK(FarDialogItem, Flags, 28);
FAR_CHECK(FarDialogItem, DefaultButton, 32);
FAR_CHECK(FarDialogItem, Data, 36);

static_assert(sizeof(PluginInfo) == 40, "PluginInfo");
FAR_CHECK(PluginInfo, Flags, 4);
FAR_CHECK(PluginInfo, DiskMenuStrings, 8);
FAR_CHECK(PluginInfo, DiskMenuNumbers, 12);
FAR_CHECK(PluginInfo, DiskMenuStringsNumber, 16);
FAR_CHECK(PluginInfo, PluginMenuStrings, 20);
FAR_CHECK(PluginInfo, PluginMenuStringsNumber, 24);
FAR_CHECK(PluginInfo, PluginConfigStrings, 28);
FAR_CHECK(PluginInfo, PluginConfigStringsNumber, 32);
FAR_CHECK(PluginInfo, CommandPrefix, 36);

static_assert(sizeof(EditorInfo) == 100, "EditorInfo");
FAR_CHECK(EditorInfo, FileName, 4);
FAR_CHECK(EditorInfo, WindowSizeX, 8);
FAR_CHECK(EditorInfo, WindowSizeY, 12);
FAR_CHECK(EditorInfo, TotalLines, 16);
FAR_CHECK(EditorInfo, CurLine, 20);
FAR_CHECK(EditorInfo, CurPos, 24);
FAR_CHECK(EditorInfo, CurTabPos, 28);
FAR_CHECK(EditorInfo, TopScreenLine, 32);
FAR_CHECK(EditorInfo, LeftPos, 36);
FAR_CHECK(EditorInfo, Overtype, 40);
FAR_CHECK(EditorInfo, BlockType, 44);
FAR_CHECK(EditorInfo, BlockStartLine, 48);
FAR_CHECK(EditorInfo, AnsiMode, 52);
FAR_CHECK(EditorInfo, TableNum, 56);
FAR_CHECK(EditorInfo, Options, 60);
FAR_CHECK(EditorInfo, TabSize, 64);
FAR_CHECK(EditorInfo, BookMarkCount, 68);
FAR_CHECK(EditorInfo, CurState, 72);
FAR_CHECK(EditorInfo, Reserved, 76);

static_assert(sizeof(EditorGetString) == 24, "EditorGetString");
FAR_CHECK(EditorGetString, StringText, 4);
FAR_CHECK(EditorGetString, StringEOL, 8);
FAR_CHECK(EditorGetString, StringLength, 12);
FAR_CHECK(EditorGetString, SelStart, 16);
FAR_CHECK(EditorGetString, SelEnd, 20);

static_assert(sizeof(EditorSetString) == 16, "EditorSetString");
FAR_CHECK(EditorSetString, StringText, 4);
FAR_CHECK(EditorSetString, StringEOL, 8);
FAR_CHECK(EditorSetString, StringLength, 12);

static_assert(sizeof(EditorSetPosition) == 24, "EditorSetPosition");
FAR_CHECK(EditorSetPosition, CurPos, 4);
FAR_CHECK(EditorSetPosition, CurTabPos, 8);
FAR_CHECK(EditorSetPosition, TopScreenLine, 12);
FAR_CHECK(EditorSetPosition, LeftPos, 16);
FAR_CHECK(EditorSetPosition, Overtype, 20);

static_assert(sizeof(EditorSelect) == 20, "EditorSelect");
FAR_CHECK(EditorSelect, BlockStartLine, 4);
FAR_CHECK(EditorSelect, BlockStartPos, 8);
FAR_CHECK(EditorSelect, BlockWidth, 12);
FAR_CHECK(EditorSelect, BlockHeight, 16);

static_assert(sizeof(EditorConvertText) == 8, "EditorConvertText");
FAR_CHECK(EditorConvertText, TextLength, 4);

static_assert(sizeof(PluginStartupInfo) == KEPT_STARTUP_INFO_SIZE, "PluginStartupInfo");
FAR_CHECK(PluginStartupInfo, ModuleName, 4);
FAR_CHECK(PluginStartupInfo, ModuleNumber, 264);
FAR_CHECK(PluginStartupInfo, RootKey, 268);
FAR_CHECK(PluginStartupInfo, Menu, 272);
FAR_CHECK(PluginStartupInfo, Dialog, 276);
FAR_CHECK(PluginStartupInfo, Message, 280);
FAR_CHECK(PluginStartupInfo, GetMsg, 284);
FAR_CHECK(PluginStartupInfo, Control, 288);
FAR_CHECK(PluginStartupInfo, SaveScreen, 292);
FAR_CHECK(PluginStartupInfo, RestoreScreen, 296);
FAR_CHECK(PluginStartupInfo, GetDirList, 300);
FAR_CHECK(PluginStartupInfo, GetPluginDirList, 304);
FAR_CHECK(PluginStartupInfo, FreeDirList, 308);
FAR_CHECK(PluginStartupInfo, Viewer, 312);
FAR_CHECK(PluginStartupInfo, Editor, 316);
FAR_CHECK(PluginStartupInfo, CmpName, 320);
FAR_CHECK(PluginStartupInfo, CharTable, 324);
FAR_CHECK(PluginStartupInfo, Text, 328);
FAR_CHECK(PluginStartupInfo, EditorControl, 332);
static_assert(KEPT_STARTUP_INFO_SIZE + sizeof(PluginStartupInfoTail) == FULL_STARTUP_INFO_SIZE,
              "PluginStartupInfo tail");
#undef FAR_CHECK
#endif

#endif
