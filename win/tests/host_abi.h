// The host's side of the plug-in interface 1.70, written for the loader test
// on its own (not shared with the module), so that a layout fault in the
// module's adapter shows as a failed check rather than being mirrored here.
#pragma once

#include <windows.h>

#include <cstddef>

namespace loader {

using HostProc = long(WINAPI*)(HANDLE hDlg, int Msg, int Param1, long Param2);

#pragma pack(push, 2)

struct MenuItem {
  char Text[128];
  int Selected, Checked, Separator;
};

struct DialogItem {
  int Type, X1, Y1, X2, Y2, Focus;
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

struct PanelItem {
  PanelFindData FindData;
  unsigned char Rest[48];  // the test host leaves the other item fields zero
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

// The two tables, as byte images filled at the offsets of the interface.
struct StandardFunctions {
  unsigned char Bytes[228];
};

struct StartupInfo {
  unsigned char Bytes[372];
};

#pragma pack(pop)

static_assert(sizeof(MenuItem) == 140);
static_assert(sizeof(DialogItem) == 548 && offsetof(DialogItem, Data) == 36);
static_assert(sizeof(EdInfo) == 100);
static_assert(sizeof(EdGetString) == 24 && sizeof(EdSetPosition) == 24 && sizeof(EdConvertPos) == 12);
static_assert(sizeof(EdBookMarks) == 32);
static_assert(sizeof(PanelFindData) == 318 && offsetof(PanelFindData, cFileName) == 44);
static_assert(sizeof(PanelItem) == 366);
static_assert(sizeof(Panel) == 496 && offsetof(Panel, CurrentItem) == 40 && offsetof(Panel, CurDir) == 220);
static_assert(sizeof(Info) == 44);
static_assert(sizeof(INPUT_RECORD) == 20);

// Offsets of the services in the startup record and the standard functions.
enum : size_t {
  kModuleName = 4, kModuleNumber = 264, kRootKey = 268, kMenu = 272, kMessage = 280, kGetMsg = 284,
  kControl = 288, kSaveScreen = 292, kRestoreScreen = 296, kViewer = 312, kEditor = 316, kText = 328,
  kEditorControl = 332, kFSF = 336, kShowHelp = 340, kAdvControl = 344, kInputBox = 348, kDialogEx = 352,
  kSendDlgMessage = 356, kDefDlgProc = 360,
  kMkTemp = 204,
};

}  // namespace loader
