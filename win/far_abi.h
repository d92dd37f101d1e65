// The real host's records and service table (plug-in interface 1.70, 32-bit x86),
// byte for byte as the host lays them out: 2-byte packing, 4-byte pointers and
// stdcall functions. Only the Windows module's adapter and exports use these;
// the plug-in itself works with the native records of host/far_api.h.
#pragma once

#include <cstddef>
#include <cstdint>

static_assert(sizeof(void*) == 4, "the host's interface is 32-bit");

#ifndef __stdcall
#define __stdcall __attribute__((stdcall))
#endif

namespace vemlo::abi {

using HANDLE = void*;
using DWORD = uint32_t;
using WORD = uint16_t;
using BOOL = int32_t;
using LONG = int32_t;
constexpr int NM = 260;

// ---- The console's input record: Windows' own layout (natural alignment) ----
struct KEY_EVENT_RECORD {
  BOOL bKeyDown;
  WORD wRepeatCount;
  WORD wVirtualKeyCode;
  WORD wVirtualScanCode;
  union {
    uint16_t UnicodeChar;
    char AsciiChar;
  } uChar;
  DWORD dwControlKeyState;
};

struct INPUT_RECORD {
  WORD EventType;
  union {
    KEY_EVENT_RECORD KeyEvent;
    unsigned char Raw[16];  // mouse, window-size, menu and focus events
  } Event;
};

static_assert(sizeof(KEY_EVENT_RECORD) == 16);
static_assert(sizeof(INPUT_RECORD) == 20);
static_assert(offsetof(INPUT_RECORD, Event) == 4);
static_assert(offsetof(KEY_EVENT_RECORD, uChar) == 10);
static_assert(offsetof(KEY_EVENT_RECORD, dwControlKeyState) == 12);

#pragma pack(push, 2)

struct SMALL_RECT {
  int16_t Left, Top, Right, Bottom;
};

struct RECT {
  LONG left, top, right, bottom;
};

struct FILETIME {
  DWORD dwLowDateTime, dwHighDateTime;
};

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
    const char* History;
    const char* Mask;
    void* ListItems;
  } Param;
  DWORD Flags;
  int DefaultButton;
  char Data[512];
};

struct EditorInfo {
  int EditorID;
  const char* FileName;
  int WindowSizeX, WindowSizeY;
  int TotalLines;
  int CurLine, CurPos, CurTabPos;
  int TopScreenLine, LeftPos;
  int Overtype;
  int BlockType, BlockStartLine;
  int AnsiMode, TableNum;
  DWORD Options;
  int TabSize;
  int BookMarkCount;
  DWORD CurState;
  DWORD Reserved[6];
};

struct EditorGetString {
  int StringNumber;
  const char* StringText;
  const char* StringEOL;
  int StringLength;
  int SelStart, SelEnd;
};

struct EditorSetString {
  int StringNumber;
  const char* StringText;
  const char* StringEOL;
  int StringLength;
};

struct EditorSetPosition {
  int CurLine, CurPos, CurTabPos, TopScreenLine, LeftPos, Overtype;
};

struct EditorConvertPos {
  int StringNumber;
  int SrcPos;
  int DestPos;
};

struct EditorBookMarks {
  LONG* Line;
  LONG* Cursor;
  LONG* ScreenLine;
  LONG* LeftPos;
  DWORD Reserved[4];
};

struct KeyBarTitles {
  char* Titles[12];
  char* CtrlTitles[12];
  char* AltTitles[12];
  char* ShiftTitles[12];
  char* CtrlShiftTitles[12];
  char* AltShiftTitles[12];
  char* CtrlAltTitles[12];
};

// The host's find data is packed too: 318 bytes, not Windows' 320.
struct FindData {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[NM];
  char cAlternateFileName[14];
};

struct PluginPanelItem {
  FindData FindData;
  unsigned char Rest[48];  // pack sizes, flags, description, owner, user data: not read here
};

struct PanelInfo {
  int PanelType;
  int Plugin;
  RECT PanelRect;
  PluginPanelItem* PanelItems;
  int ItemsNumber;
  PluginPanelItem* SelectedItems;
  int SelectedItemsNumber;
  int CurrentItem;
  int TopPanelItem;
  int Visible;
  int Focus;
  int ViewMode;
  char ColumnTypes[80];
  char ColumnWidths[80];
  char CurDir[NM];
  int ShortNames;
  int SortMode;
  DWORD Flags;
  DWORD Reserved;
};

struct PluginInfo {
  int StructSize;
  DWORD Flags;
  const char* const* DiskMenuStrings;
  int* DiskMenuNumbers;
  int DiskMenuStringsNumber;
  const char* const* PluginMenuStrings;
  int PluginMenuStringsNumber;
  const char* const* PluginConfigStrings;
  int PluginConfigStringsNumber;
  const char* CommandPrefix;
  DWORD Reserved;
};

// ---- The service table ----
using FARWINDOWPROC = long(__stdcall*)(HANDLE hDlg, int Msg, int Param1, long Param2);

using FARAPIMENU = int(__stdcall*)(int PluginNumber, int X, int Y, int MaxHeight, DWORD Flags,
                                   const char* Title, const char* Bottom, const char* HelpTopic,
                                   const int* BreakKeys, int* BreakCode, const FarMenuItem* Item,
                                   int ItemsNumber);
using FARAPIMESSAGE = int(__stdcall*)(int PluginNumber, DWORD Flags, const char* HelpTopic,
                                      const char* const* Items, int ItemsNumber, int ButtonsNumber);
using FARAPIGETMSG = const char*(__stdcall*)(int PluginNumber, int MsgId);
using FARAPICONTROL = int(__stdcall*)(HANDLE hPlugin, int Command, void* Param);
using FARAPISAVESCREEN = HANDLE(__stdcall*)(int X1, int Y1, int X2, int Y2);
using FARAPIRESTORESCREEN = void(__stdcall*)(HANDLE hScreen);
using FARAPIVIEWER = int(__stdcall*)(const char* FileName, const char* Title, int X1, int Y1, int X2,
                                     int Y2, DWORD Flags);
using FARAPIEDITOR = int(__stdcall*)(const char* FileName, const char* Title, int X1, int Y1, int X2,
                                     int Y2, DWORD Flags, int StartLine, int StartChar);
using FARAPITEXT = void(__stdcall*)(int X, int Y, int Color, const char* Str);
using FARAPIEDITORCONTROL = int(__stdcall*)(int Command, void* Param);
using FARAPISHOWHELP = BOOL(__stdcall*)(const char* ModuleName, const char* Topic, DWORD Flags);
using FARAPIADVCONTROL = int(__stdcall*)(int ModuleNumber, int Command, void* Param);
using FARAPIINPUTBOX = int(__stdcall*)(const char* Title, const char* SubTitle, const char* HistoryName,
                                       const char* SrcText, char* DestText, int DestLength,
                                       const char* HelpTopic, DWORD Flags);
using FARAPIDIALOGEX = int(__stdcall*)(int PluginNumber, int X1, int Y1, int X2, int Y2,
                                       const char* HelpTopic, FarDialogItem* Item, int ItemsNumber,
                                       DWORD Reserved, DWORD Flags, FARWINDOWPROC DlgProc, long Param);
using FARAPISENDDLGMESSAGE = long(__stdcall*)(HANDLE hDlg, int Msg, int Param1, long Param2);
using FARAPIDEFDLGPROC = long(__stdcall*)(HANDLE hDlg, int Msg, int Param1, long Param2);
using FARSTDMKTEMP = char*(__stdcall*)(char* Dest, const char* Prefix);
using FARAPIANY = void*;  // services the module does not call

struct FarStandardFunctions {
  int StructSize;
  FARAPIANY atoi, atoi64, itoa, itoa64, sprintf, sscanf, qsort, bsearch, qsortex;
  FARAPIANY Reserved[9];
  FARAPIANY LocaleFunctions[12];  // LIsLower .. LStrnicmp
  FARAPIANY Unquote, ExpandEnvironmentStr, LTrim, RTrim, Trim, TruncStr, TruncPathStr,
      QuoteSpaceOnly, PointToName, GetPathRoot, AddEndSlash, CopyToClipboard, PasteFromClipboard,
      FarKeyToName, FarNameToKey, FarInputRecordToKey, XLat, GetFileOwner, GetNumberOfLinks,
      FarRecursiveSearch;
  FARSTDMKTEMP MkTemp;
  FARAPIANY DeleteBuffer, ProcessName, MkLink, ConvertNameToReal, GetReparsePointInfo;
};

struct PluginStartupInfo {
  int StructSize;
  char ModuleName[NM];
  int ModuleNumber;
  const char* RootKey;
  FARAPIMENU Menu;
  FARAPIANY Dialog;
  FARAPIMESSAGE Message;
  FARAPIGETMSG GetMsg;
  FARAPICONTROL Control;
  FARAPISAVESCREEN SaveScreen;
  FARAPIRESTORESCREEN RestoreScreen;
  FARAPIANY GetDirList;
  FARAPIANY GetPluginDirList;
  FARAPIANY FreeDirList;
  FARAPIVIEWER Viewer;
  FARAPIEDITOR Editor;
  FARAPIANY CmpName;
  FARAPIANY CharTable;
  FARAPITEXT Text;
  FARAPIEDITORCONTROL EditorControl;
  FarStandardFunctions* FSF;
  FARAPISHOWHELP ShowHelp;
  FARAPIADVCONTROL AdvControl;
  FARAPIINPUTBOX InputBox;
  FARAPIDIALOGEX DialogEx;
  FARAPISENDDLGMESSAGE SendDlgMessage;
  FARAPIDEFDLGPROC DefDlgProc;
  DWORD Reserved;
  FARAPIANY ViewerControl;
};

#pragma pack(pop)

// ---- Sizes and offsets the host relies on ----
static_assert(sizeof(PluginStartupInfo) == 372);
static_assert(offsetof(PluginStartupInfo, ModuleName) == 4);
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 264);
static_assert(offsetof(PluginStartupInfo, RootKey) == 268);
static_assert(offsetof(PluginStartupInfo, Menu) == 272);
static_assert(offsetof(PluginStartupInfo, Message) == 280);
static_assert(offsetof(PluginStartupInfo, GetMsg) == 284);
static_assert(offsetof(PluginStartupInfo, Control) == 288);
static_assert(offsetof(PluginStartupInfo, SaveScreen) == 292);
static_assert(offsetof(PluginStartupInfo, RestoreScreen) == 296);
static_assert(offsetof(PluginStartupInfo, Viewer) == 312);
static_assert(offsetof(PluginStartupInfo, Editor) == 316);
static_assert(offsetof(PluginStartupInfo, Text) == 328);
static_assert(offsetof(PluginStartupInfo, EditorControl) == 332);
static_assert(offsetof(PluginStartupInfo, FSF) == 336);
static_assert(offsetof(PluginStartupInfo, ShowHelp) == 340);
static_assert(offsetof(PluginStartupInfo, AdvControl) == 344);
static_assert(offsetof(PluginStartupInfo, InputBox) == 348);
static_assert(offsetof(PluginStartupInfo, DialogEx) == 352);
static_assert(offsetof(PluginStartupInfo, SendDlgMessage) == 356);
static_assert(offsetof(PluginStartupInfo, DefDlgProc) == 360);
static_assert(offsetof(PluginStartupInfo, ViewerControl) == 368);

static_assert(sizeof(FarStandardFunctions) == 228);
static_assert(offsetof(FarStandardFunctions, atoi) == 4);
static_assert(offsetof(FarStandardFunctions, qsortex) == 36);
static_assert(offsetof(FarStandardFunctions, Reserved) == 40);
static_assert(offsetof(FarStandardFunctions, LocaleFunctions) == 76);
static_assert(offsetof(FarStandardFunctions, Unquote) == 124);
static_assert(offsetof(FarStandardFunctions, MkTemp) == 204);
static_assert(offsetof(FarStandardFunctions, ConvertNameToReal) == 220);
static_assert(offsetof(FarStandardFunctions, GetReparsePointInfo) == 224);

static_assert(sizeof(PluginInfo) == 44);
static_assert(offsetof(PluginInfo, PluginMenuStrings) == 20);
static_assert(offsetof(PluginInfo, PluginConfigStrings) == 28);
static_assert(offsetof(PluginInfo, CommandPrefix) == 36);

static_assert(sizeof(FarMenuItem) == 140);
static_assert(offsetof(FarMenuItem, Selected) == 128);
static_assert(offsetof(FarMenuItem, Separator) == 136);

static_assert(sizeof(FarDialogItem) == 548);
static_assert(offsetof(FarDialogItem, Param) == 24);
static_assert(offsetof(FarDialogItem, Flags) == 28);
static_assert(offsetof(FarDialogItem, DefaultButton) == 32);
static_assert(offsetof(FarDialogItem, Data) == 36);

static_assert(sizeof(EditorInfo) == 100);
static_assert(offsetof(EditorInfo, FileName) == 4);
static_assert(offsetof(EditorInfo, CurLine) == 20);
static_assert(offsetof(EditorInfo, BookMarkCount) == 68);
static_assert(offsetof(EditorInfo, CurState) == 72);

static_assert(sizeof(EditorGetString) == 24);
static_assert(offsetof(EditorGetString, StringLength) == 12);
static_assert(sizeof(EditorSetString) == 16);
static_assert(sizeof(EditorSetPosition) == 24);
static_assert(sizeof(EditorConvertPos) == 12);
static_assert(sizeof(EditorBookMarks) == 32);
static_assert(sizeof(KeyBarTitles) == 336);
static_assert(sizeof(SMALL_RECT) == 8);

static_assert(sizeof(FindData) == 318);
static_assert(offsetof(FindData, cFileName) == 44);
static_assert(sizeof(PluginPanelItem) == 366);
static_assert(sizeof(PanelInfo) == 496);
static_assert(offsetof(PanelInfo, PanelItems) == 24);
static_assert(offsetof(PanelInfo, CurrentItem) == 40);
static_assert(offsetof(PanelInfo, CurDir) == 220);

}  // namespace vemlo::abi
