// The host's side of the plug-in interface 1.70, written for the loader test
// on its own (not shared with the module), so that a layout fault in the
// module's adapter shows as a failed check rather than being mirrored here.
// x86: 2-byte packing, 4-byte pointers; x64: natural alignment, 8-byte
// pointers and pointer-sized integers.
#pragma once

#include <windows.h>

#include <cstddef>

namespace loader {

using HostProc = INT_PTR(WINAPI*)(HANDLE hDlg, int Msg, int Param1, INT_PTR Param2);

#ifndef _WIN64
#pragma pack(push, 2)
#endif

struct MenuItem {
  char Text[128];
  int Selected, Checked, Separator;
};

struct DialogItem {
  int Type, X1, Y1, X2, Y2, Focus;
  union {
    INT_PTR Reserved;
    int Selected;
    const char* History;
    const char* Mask;
    void* ListItems;
  } Param;
  DWORD Flags;
  int DefaultButton;
  char Data[512];
};

struct EdInfo {
  int EditorID;
  const char* FileName;
  int WindowSizeX, WindowSizeY, TotalLines, CurLine, CurPos, CurTabPos, TopScreenLine, LeftPos, Overtype,
      BlockType, BlockStartLine, AnsiMode, TableNum;
  DWORD Options;
  int TabSize, BookMarkCount;
  DWORD CurState;
  DWORD Reserved[6];
};

struct EdGetString {
  int StringNumber;
  const char* StringText;
  const char* StringEOL;
  int StringLength, SelStart, SelEnd;
};

struct EdSetString {
  int StringNumber;
  const char* StringText;
  const char* StringEOL;
  int StringLength;
};

struct EdSetPosition {
  int CurLine, CurPos, CurTabPos, TopScreenLine, LeftPos, Overtype;
};

struct EdConvertPos {
  int StringNumber, SrcPos, DestPos;
};

struct EdBookMarks {
  long *Line, *Cursor, *ScreenLine, *LeftPos;
  DWORD Reserved[4];
};

struct PanelFindData {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime, ftLastAccessTime, ftLastWriteTime;
  DWORD nFileSizeHigh, nFileSizeLow, dwReserved0, dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};

#ifdef _WIN64
constexpr size_t kPanelItemRest = 80;
#else
constexpr size_t kPanelItemRest = 48;
#endif

struct PanelItem {
  PanelFindData FindData;
  unsigned char Rest[kPanelItemRest];  // the test host leaves the other item fields zero
};

struct Panel {
  int PanelType, Plugin;
  RECT PanelRect;
  PanelItem* PanelItems;
  int ItemsNumber;
  PanelItem* SelectedItems;
  int SelectedItemsNumber, CurrentItem, TopPanelItem, Visible, Focus, ViewMode;
  char ColumnTypes[80], ColumnWidths[80], CurDir[MAX_PATH];
  int ShortNames, SortMode;
  DWORD Flags, Reserved;
};

struct Info {
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

#ifdef _WIN64
constexpr size_t kStartupInfoSize = 480, kStandardFunctionsSize = 456;
#else
constexpr size_t kStartupInfoSize = 372, kStandardFunctionsSize = 228;
#endif

// The two tables, as byte images filled at the offsets of the interface.
struct StandardFunctions {
  alignas(sizeof(void*)) unsigned char Bytes[kStandardFunctionsSize];
};

struct StartupInfo {
  alignas(sizeof(void*)) unsigned char Bytes[kStartupInfoSize];
};

#ifndef _WIN64
#pragma pack(pop)
#endif

#ifdef _WIN64
static_assert(sizeof(MenuItem) == 140);
static_assert(sizeof(DialogItem) == 552 && offsetof(DialogItem, Flags) == 32 && offsetof(DialogItem, Data) == 40);
static_assert(sizeof(EdInfo) == 112 && offsetof(EdInfo, WindowSizeX) == 16 && offsetof(EdInfo, CurLine) == 28);
static_assert(sizeof(EdGetString) == 40 && offsetof(EdGetString, StringLength) == 24);
static_assert(sizeof(EdSetString) == 32 && sizeof(EdSetPosition) == 24 && sizeof(EdConvertPos) == 12);
static_assert(sizeof(EdBookMarks) == 48);
static_assert(sizeof(PanelFindData) == 320 && offsetof(PanelFindData, cFileName) == 44);
static_assert(sizeof(PanelItem) == 400);
static_assert(sizeof(Panel) == 512 && offsetof(Panel, CurrentItem) == 52 && offsetof(Panel, CurDir) == 232);
static_assert(sizeof(Info) == 80 && offsetof(Info, PluginMenuStrings) == 32 && offsetof(Info, CommandPrefix) == 64);
#else
static_assert(sizeof(MenuItem) == 140);
static_assert(sizeof(DialogItem) == 548 && offsetof(DialogItem, Flags) == 28 && offsetof(DialogItem, Data) == 36);
static_assert(sizeof(EdInfo) == 100 && offsetof(EdInfo, WindowSizeX) == 8 && offsetof(EdInfo, CurLine) == 20);
static_assert(sizeof(EdGetString) == 24 && offsetof(EdGetString, StringLength) == 12);
static_assert(sizeof(EdSetString) == 16 && sizeof(EdSetPosition) == 24 && sizeof(EdConvertPos) == 12);
static_assert(sizeof(EdBookMarks) == 32);
static_assert(sizeof(PanelFindData) == 318 && offsetof(PanelFindData, cFileName) == 44);
static_assert(sizeof(PanelItem) == 366);
static_assert(sizeof(Panel) == 496 && offsetof(Panel, CurrentItem) == 40 && offsetof(Panel, CurDir) == 220);
static_assert(sizeof(Info) == 44 && offsetof(Info, PluginMenuStrings) == 20 && offsetof(Info, CommandPrefix) == 36);
#endif
static_assert(sizeof(INPUT_RECORD) == 20);

// Offsets of the services in the startup record and the standard functions.
#ifdef _WIN64
enum : size_t {
  kModuleName = 4, kModuleNumber = 264, kRootKey = 272, kMenu = 280, kMessage = 296, kGetMsg = 304,
  kControl = 312, kSaveScreen = 320, kRestoreScreen = 328, kViewer = 360, kEditor = 368, kText = 392,
  kEditorControl = 400, kFSF = 408, kShowHelp = 416, kAdvControl = 424, kInputBox = 432, kDialogEx = 440,
  kSendDlgMessage = 448, kDefDlgProc = 456,
  kMkTemp = 408,
};
#else
enum : size_t {
  kModuleName = 4, kModuleNumber = 264, kRootKey = 268, kMenu = 272, kMessage = 280, kGetMsg = 284,
  kControl = 288, kSaveScreen = 292, kRestoreScreen = 296, kViewer = 312, kEditor = 316, kText = 328,
  kEditorControl = 332, kFSF = 336, kShowHelp = 340, kAdvControl = 344, kInputBox = 348, kDialogEx = 352,
  kSendDlgMessage = 356, kDefDlgProc = 360,
  kMkTemp = 204,
};
#endif

}  // namespace loader
