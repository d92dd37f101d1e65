// The real host's records and service table (plug-in interface 1.70), byte for
// byte as the host lays them out, for both builds of the host:
// - x86: 2-byte packing, 4-byte pointers, stdcall functions;
// - x64: natural alignment, 8-byte pointers and pointer-sized integers, the
//   one x64 calling convention.
// Only the Windows module's adapter and exports use these; the plug-in itself
// works with the native records of host/far_api.h.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN64)
#define VEMLO_ABI_X64 1
static_assert(sizeof(void*) == 8, "the x64 host's interface has 8-byte pointers");
#else
#define VEMLO_ABI_X64 0
static_assert(sizeof(void*) == 4, "the x86 host's interface has 4-byte pointers");
#endif

#ifndef __stdcall
#define __stdcall __attribute__((stdcall))
#endif

namespace vemlo::abi {

using HANDLE = void*;
using DWORD = uint32_t;
using WORD = uint16_t;
using BOOL = int32_t;
using LONG = int32_t;
using INT_PTR = intptr_t;  // the host's pointer-sized integers (module number, dialog parameters)
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

#if !VEMLO_ABI_X64
#pragma pack(push, 2)
#endif

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
    INT_PTR Reserved;  // gives the union the width of a pointer in both builds
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

// The host's bookmark arrays are of Windows' long: 4 bytes in both builds.
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

// The x86 host's find data is packed too: 318 bytes, not Windows' 320.
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
  DWORD PackSizeHigh, PackSize, Flags, NumberOfLinks;
  char* Description;
  char* Owner;
  char** CustomColumnData;
  int CustomColumnNumber;
  INT_PTR UserData;
  DWORD CRC32;
  INT_PTR Reserved[2];
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
using FARWINDOWPROC = INT_PTR(__stdcall*)(HANDLE hDlg, int Msg, int Param1, INT_PTR Param2);

using FARAPIMENU = int(__stdcall*)(INT_PTR PluginNumber, int X, int Y, int MaxHeight, DWORD Flags,
                                   const char* Title, const char* Bottom, const char* HelpTopic,
                                   const int* BreakKeys, int* BreakCode, const FarMenuItem* Item,
                                   int ItemsNumber);
using FARAPIMESSAGE = int(__stdcall*)(INT_PTR PluginNumber, DWORD Flags, const char* HelpTopic,
                                      const char* const* Items, int ItemsNumber, int ButtonsNumber);
using FARAPIGETMSG = const char*(__stdcall*)(INT_PTR PluginNumber, int MsgId);
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
using FARAPIADVCONTROL = INT_PTR(__stdcall*)(INT_PTR ModuleNumber, int Command, void* Param);
using FARAPIINPUTBOX = int(__stdcall*)(const char* Title, const char* SubTitle, const char* HistoryName,
                                       const char* SrcText, char* DestText, int DestLength,
                                       const char* HelpTopic, DWORD Flags);
using FARAPIDIALOGEX = int(__stdcall*)(INT_PTR PluginNumber, int X1, int Y1, int X2, int Y2,
                                       const char* HelpTopic, FarDialogItem* Item, int ItemsNumber,
                                       DWORD Reserved, DWORD Flags, FARWINDOWPROC DlgProc, INT_PTR Param);
using FARAPISENDDLGMESSAGE = INT_PTR(__stdcall*)(HANDLE hDlg, int Msg, int Param1, INT_PTR Param2);
using FARAPIDEFDLGPROC = INT_PTR(__stdcall*)(HANDLE hDlg, int Msg, int Param1, INT_PTR Param2);
using FARSTDMKTEMP = char*(__stdcall*)(char* Dest, const char* Prefix);
using FARAPIANY = void*;  // services the module does not call

struct FarStandardFunctions {
  int StructSize;
  FARAPIANY atoi, atoi64, itoa, itoa64, sprintf, sscanf, qsort, bsearch, qsortex;
  FARAPIANY snprintf;  // 1.75; reserved in 1.70
  FARAPIANY Reserved[8];
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
  INT_PTR ModuleNumber;
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
  INT_PTR Reserved;
  FARAPIANY ViewerControl;
};

#if !VEMLO_ABI_X64
#pragma pack(pop)
#endif

// ---- Sizes and offsets the host relies on ----
#define VEMLO_AT(type, field, x86, x64) static_assert(offsetof(type, field) == (VEMLO_ABI_X64 ? (x64) : (x86)))
#define VEMLO_SIZE(type, x86, x64) static_assert(sizeof(type) == (VEMLO_ABI_X64 ? (x64) : (x86)))

VEMLO_SIZE(PluginStartupInfo, 372, 480);
VEMLO_AT(PluginStartupInfo, ModuleName, 4, 4);
VEMLO_AT(PluginStartupInfo, ModuleNumber, 264, 264);
VEMLO_AT(PluginStartupInfo, RootKey, 268, 272);
VEMLO_AT(PluginStartupInfo, Menu, 272, 280);
VEMLO_AT(PluginStartupInfo, Dialog, 276, 288);
VEMLO_AT(PluginStartupInfo, Message, 280, 296);
VEMLO_AT(PluginStartupInfo, GetMsg, 284, 304);
VEMLO_AT(PluginStartupInfo, Control, 288, 312);
VEMLO_AT(PluginStartupInfo, SaveScreen, 292, 320);
VEMLO_AT(PluginStartupInfo, RestoreScreen, 296, 328);
VEMLO_AT(PluginStartupInfo, GetDirList, 300, 336);
VEMLO_AT(PluginStartupInfo, Viewer, 312, 360);
VEMLO_AT(PluginStartupInfo, Editor, 316, 368);
VEMLO_AT(PluginStartupInfo, Text, 328, 392);
VEMLO_AT(PluginStartupInfo, EditorControl, 332, 400);
VEMLO_AT(PluginStartupInfo, FSF, 336, 408);
VEMLO_AT(PluginStartupInfo, ShowHelp, 340, 416);
VEMLO_AT(PluginStartupInfo, AdvControl, 344, 424);
VEMLO_AT(PluginStartupInfo, InputBox, 348, 432);
VEMLO_AT(PluginStartupInfo, DialogEx, 352, 440);
VEMLO_AT(PluginStartupInfo, SendDlgMessage, 356, 448);
VEMLO_AT(PluginStartupInfo, DefDlgProc, 360, 456);
VEMLO_AT(PluginStartupInfo, Reserved, 364, 464);
VEMLO_AT(PluginStartupInfo, ViewerControl, 368, 472);

VEMLO_SIZE(FarStandardFunctions, 228, 456);
VEMLO_AT(FarStandardFunctions, atoi, 4, 8);
VEMLO_AT(FarStandardFunctions, qsortex, 36, 72);
VEMLO_AT(FarStandardFunctions, snprintf, 40, 80);
VEMLO_AT(FarStandardFunctions, Reserved, 44, 88);
VEMLO_AT(FarStandardFunctions, LocaleFunctions, 76, 152);
VEMLO_AT(FarStandardFunctions, Unquote, 124, 248);
VEMLO_AT(FarStandardFunctions, FarRecursiveSearch, 200, 400);
VEMLO_AT(FarStandardFunctions, MkTemp, 204, 408);
VEMLO_AT(FarStandardFunctions, ConvertNameToReal, 220, 440);
VEMLO_AT(FarStandardFunctions, GetReparsePointInfo, 224, 448);

VEMLO_SIZE(PluginInfo, 44, 80);
VEMLO_AT(PluginInfo, Flags, 4, 4);
VEMLO_AT(PluginInfo, DiskMenuStrings, 8, 8);
VEMLO_AT(PluginInfo, DiskMenuNumbers, 12, 16);
VEMLO_AT(PluginInfo, DiskMenuStringsNumber, 16, 24);
VEMLO_AT(PluginInfo, PluginMenuStrings, 20, 32);
VEMLO_AT(PluginInfo, PluginMenuStringsNumber, 24, 40);
VEMLO_AT(PluginInfo, PluginConfigStrings, 28, 48);
VEMLO_AT(PluginInfo, PluginConfigStringsNumber, 32, 56);
VEMLO_AT(PluginInfo, CommandPrefix, 36, 64);
VEMLO_AT(PluginInfo, Reserved, 40, 72);

VEMLO_SIZE(FarMenuItem, 140, 140);
VEMLO_AT(FarMenuItem, Selected, 128, 128);
VEMLO_AT(FarMenuItem, Checked, 132, 132);
VEMLO_AT(FarMenuItem, Separator, 136, 136);

VEMLO_SIZE(FarDialogItem, 548, 552);
VEMLO_AT(FarDialogItem, Focus, 20, 20);
VEMLO_AT(FarDialogItem, Param, 24, 24);
VEMLO_AT(FarDialogItem, Flags, 28, 32);
VEMLO_AT(FarDialogItem, DefaultButton, 32, 36);
VEMLO_AT(FarDialogItem, Data, 36, 40);

VEMLO_SIZE(EditorInfo, 100, 112);
VEMLO_AT(EditorInfo, FileName, 4, 8);
VEMLO_AT(EditorInfo, WindowSizeX, 8, 16);
VEMLO_AT(EditorInfo, TotalLines, 16, 24);
VEMLO_AT(EditorInfo, CurLine, 20, 28);
VEMLO_AT(EditorInfo, TopScreenLine, 32, 40);
VEMLO_AT(EditorInfo, BlockType, 44, 52);
VEMLO_AT(EditorInfo, TabSize, 64, 72);
VEMLO_AT(EditorInfo, BookMarkCount, 68, 76);
VEMLO_AT(EditorInfo, CurState, 72, 80);
VEMLO_AT(EditorInfo, Reserved, 76, 84);

VEMLO_SIZE(EditorGetString, 24, 40);
VEMLO_AT(EditorGetString, StringText, 4, 8);
VEMLO_AT(EditorGetString, StringEOL, 8, 16);
VEMLO_AT(EditorGetString, StringLength, 12, 24);
VEMLO_AT(EditorGetString, SelStart, 16, 28);
VEMLO_AT(EditorGetString, SelEnd, 20, 32);
VEMLO_SIZE(EditorSetString, 16, 32);
VEMLO_AT(EditorSetString, StringText, 4, 8);
VEMLO_AT(EditorSetString, StringEOL, 8, 16);
VEMLO_AT(EditorSetString, StringLength, 12, 24);
VEMLO_SIZE(EditorSetPosition, 24, 24);
VEMLO_AT(EditorSetPosition, Overtype, 20, 20);
VEMLO_SIZE(EditorConvertPos, 12, 12);
VEMLO_AT(EditorConvertPos, DestPos, 8, 8);
VEMLO_SIZE(EditorBookMarks, 32, 48);
VEMLO_AT(EditorBookMarks, Cursor, 4, 8);
VEMLO_AT(EditorBookMarks, ScreenLine, 8, 16);
VEMLO_AT(EditorBookMarks, LeftPos, 12, 24);
VEMLO_AT(EditorBookMarks, Reserved, 16, 32);
VEMLO_SIZE(KeyBarTitles, 336, 672);
VEMLO_AT(KeyBarTitles, CtrlTitles, 48, 96);
VEMLO_AT(KeyBarTitles, CtrlAltTitles, 288, 576);
VEMLO_SIZE(SMALL_RECT, 8, 8);

VEMLO_SIZE(FindData, 318, 320);
VEMLO_AT(FindData, ftCreationTime, 4, 4);
VEMLO_AT(FindData, nFileSizeHigh, 28, 28);
VEMLO_AT(FindData, nFileSizeLow, 32, 32);
VEMLO_AT(FindData, cFileName, 44, 44);
VEMLO_AT(FindData, cAlternateFileName, 304, 304);
VEMLO_SIZE(PluginPanelItem, 366, 400);
VEMLO_AT(PluginPanelItem, PackSizeHigh, 318, 320);
VEMLO_AT(PluginPanelItem, Description, 334, 336);
VEMLO_AT(PluginPanelItem, CustomColumnNumber, 346, 360);
VEMLO_AT(PluginPanelItem, UserData, 350, 368);
VEMLO_AT(PluginPanelItem, CRC32, 354, 376);
VEMLO_AT(PluginPanelItem, Reserved, 358, 384);
VEMLO_SIZE(PanelInfo, 496, 512);
VEMLO_AT(PanelInfo, PanelRect, 8, 8);
VEMLO_AT(PanelInfo, PanelItems, 24, 24);
VEMLO_AT(PanelInfo, ItemsNumber, 28, 32);
VEMLO_AT(PanelInfo, SelectedItems, 32, 40);
VEMLO_AT(PanelInfo, CurrentItem, 40, 52);
VEMLO_AT(PanelInfo, TopPanelItem, 44, 56);
VEMLO_AT(PanelInfo, Visible, 48, 60);
VEMLO_AT(PanelInfo, Focus, 52, 64);
VEMLO_AT(PanelInfo, ColumnTypes, 60, 72);
VEMLO_AT(PanelInfo, CurDir, 220, 232);
VEMLO_AT(PanelInfo, Flags, 488, 500);

#undef VEMLO_AT
#undef VEMLO_SIZE

}  // namespace vemlo::abi
