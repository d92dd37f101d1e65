// The host interface: the operations of the host's service table (plug-in
// interface 1.70) with the records, numbers and flags they exchange. This is the
// one abstract seam of the plug-in; the replacement host and the adapter to the
// real host implement it.
#pragma once

#include <cstdint>
#include <string>

namespace vemlo {

using HANDLE = void*;
#define VEMLO_INVALID_HANDLE_VALUE (reinterpret_cast<vemlo::HANDLE>(-1))

// ---- Input events (the console's key event record) ----
enum : int { KEY_EVENT = 1, MOUSE_EVENT = 2, WINDOW_BUFFER_SIZE_EVENT = 4 };
enum : unsigned {
  RIGHT_ALT_PRESSED = 0x01,
  LEFT_ALT_PRESSED = 0x02,
  RIGHT_CTRL_PRESSED = 0x04,
  LEFT_CTRL_PRESSED = 0x08,
  SHIFT_PRESSED = 0x10,
  NUMLOCK_ON = 0x20,
  SCROLLLOCK_ON = 0x40,
  CAPSLOCK_ON = 0x80,
  ENHANCED_KEY = 0x100,
};

struct KEY_EVENT_RECORD {
  int bKeyDown = 0;
  int wRepeatCount = 1;
  int wVirtualKeyCode = 0;
  int wVirtualScanCode = 0;
  char AsciiChar = 0;  // OEM byte of the typed character, 0 for none
  unsigned dwControlKeyState = 0;
  // The typed character as Unicode, beside its OEM byte, as the real host's record
  // carries it: the host's editor types it into files whose code page is not OEM
  // (0 for none; the plug-in reads AsciiChar only and passes the record on whole).
  char32_t UnicodeChar = 0;
};

struct INPUT_RECORD {
  int EventType = 0;
  KEY_EVENT_RECORD KeyEvent;
};

// Virtual key codes used by the plug-in and the replacement host.
enum : int {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
  VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
  VK_SUBTRACT = 0x6D, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73,
  VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79,
  VK_F11 = 0x7A, VK_F12 = 0x7B, VK_OEM_PERIOD = 0xBE,
};

// Modifier bits of a menu break key: (PKF_* << 16) | virtual key.
enum : int { PKF_CONTROL = 1, PKF_ALT = 2, PKF_SHIFT = 4 };

// ---- Messages ----
enum : unsigned {
  FMSG_WARNING = 0x00000001,
  FMSG_ERRORTYPE = 0x00000002,
  FMSG_KEEPBACKGROUND = 0x00000004,
  FMSG_DOWN = 0x00000008,
  FMSG_LEFTALIGN = 0x00000010,
  FMSG_MB_OK = 0x00010000,
  FMSG_MB_OKCANCEL = 0x00020000,
  FMSG_MB_ABORTRETRYIGNORE = 0x00030000,
  FMSG_MB_YESNO = 0x00040000,
  FMSG_MB_YESNOCANCEL = 0x00050000,
  FMSG_MB_RETRYCANCEL = 0x00060000,
};

// ---- Menus ----
enum : unsigned { FMENU_SHOWAMPERSAND = 1, FMENU_WRAPMODE = 2 };

struct FarMenuItem {
  char Text[128] = {};
  int Selected = 0;
  int Checked = 0;  // 0 none, 1 the check mark, above 1 the character shown
  int Separator = 0;
};

// ---- Dialogs ----
enum : int { DI_TEXT = 0, DI_VTEXT = 1, DI_SINGLEBOX = 2, DI_DOUBLEBOX = 3, DI_EDIT = 4,
             DI_PSWEDIT = 5, DI_FIXEDIT = 6, DI_BUTTON = 7, DI_CHECKBOX = 8 };
enum : unsigned {
  DIF_BOXCOLOR = 0x00000200,
  DIF_CENTERGROUP = 0x00004000,
  DIF_BTNNOCLOSE = 0x00040000,
  DIF_MASKEDIT = 0x00400000,
};
enum : int { DM_GETDLGITEM = 5, DM_GETDLGRECT = 6, DN_BTNCLICK = 0x1001, DN_HELP = 0x100A };

struct FarDialogItem {
  int Type = 0;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int Focus = 0;
  union {
    int Selected;
    const char* History;
    const char* Mask;
    void* ListItems;
  } Param = {0};
  unsigned Flags = 0;
  int DefaultButton = 0;
  char Data[512] = {};
};

struct SMALL_RECT {
  short Left = 0, Top = 0, Right = 0, Bottom = 0;
};

using FarDialogProc = intptr_t (*)(HANDLE hDlg, int msg, int param1, intptr_t param2);

// ---- Editor ----
enum : int {
  ECTL_GETSTRING = 0, ECTL_SETSTRING = 1, ECTL_INSERTSTRING = 2, ECTL_DELETESTRING = 3,
  ECTL_DELETECHAR = 4, ECTL_INSERTTEXT = 5, ECTL_GETINFO = 6, ECTL_SETPOSITION = 7,
  ECTL_SELECT = 8, ECTL_REDRAW = 9, ECTL_TABTOREAL = 12, ECTL_REALTOTAB = 13,
  ECTL_EXPANDTABS = 14, ECTL_SETTITLE = 15, ECTL_READINPUT = 16, ECTL_PROCESSINPUT = 17,
  ECTL_SETKEYBAR = 22, ECTL_PROCESSKEY = 23, ECTL_SETPARAM = 24, ECTL_GETBOOKMARKS = 25,
};
enum : int { BTYPE_NONE = 0, BTYPE_STREAM = 1, BTYPE_COLUMN = 2 };
enum : unsigned { EF_DISABLEHISTORY = 8, VF_DISABLEHISTORY = 8 };
enum : int { EEC_OPEN_ERROR = 0, EEC_MODIFIED = 1, EEC_NOT_MODIFIED = 2 };

struct EditorInfo {
  int EditorID = 0;
  const char* FileName = nullptr;
  int WindowSizeX = 0, WindowSizeY = 0;
  int TotalLines = 0;
  int CurLine = 0, CurPos = 0, CurTabPos = 0;
  int TopScreenLine = 0, LeftPos = 0;
  int Overtype = 0;
  int BlockType = 0, BlockStartLine = 0;
  int AnsiMode = 0, TableNum = 0;
  unsigned Options = 0;
  int TabSize = 8;
  int BookMarkCount = 0;
  unsigned CurState = 0;
};

struct EditorGetString {
  int StringNumber = -1;
  const char* StringText = nullptr;  // not NUL-terminated in the real host
  const char* StringEOL = nullptr;
  int StringLength = 0;
  int SelStart = -1, SelEnd = -1;
};

struct EditorSetString {
  int StringNumber = -1;
  const char* StringText = nullptr;
  const char* StringEOL = nullptr;
  int StringLength = 0;
};

struct EditorSetPosition {
  int CurLine = -1, CurPos = -1, CurTabPos = -1, TopScreenLine = -1, LeftPos = -1, Overtype = -1;
};

struct EditorConvertPos {
  int StringNumber = -1;
  int SrcPos = 0;
  int DestPos = 0;
};

struct EditorBookMarks {
  long* Line = nullptr;
  long* Cursor = nullptr;
  long* ScreenLine = nullptr;
  long* LeftPos = nullptr;
};

struct KeyBarTitles {
  char* Titles[12] = {};
  char* CtrlTitles[12] = {};
  char* AltTitles[12] = {};
  char* ShiftTitles[12] = {};
  char* CtrlShiftTitles[12] = {};
  char* AltShiftTitles[12] = {};
  char* CtrlAltTitles[12] = {};
};

// ---- Panels ----
enum : int { FCTL_GETPANELINFO = 1, FCTL_GETANOTHERPANELINFO = 2, FCTL_SETUSERSCREEN = 15 };

struct PluginPanelItem {
  char FileName[260] = {};
  uint64_t FileSize = 0;
  uint32_t FileAttributes = 0;
};

struct PanelInfo {
  int PanelType = 0;
  int Plugin = 0;
  int ItemsNumber = 0;
  const PluginPanelItem* PanelItems = nullptr;
  int CurrentItem = 0;
  int TopPanelItem = 0;
  int Visible = 1, Focus = 1;
  char CurDir[260] = {};
};

// ---- Other services ----
enum : int { ACTL_GETCOLOR = 4 };
enum : unsigned { FHELP_SELFHELP = 0, FHELP_FARHELP = 1, FHELP_CUSTOMFILE = 2 };
enum : int { PF_DISABLEPANELS = 2, PF_EDITOR = 4 };
enum : int { OPEN_EDITOR = 5 };

// Palette indexes used with ACTL_GETCOLOR.
enum : int {
  COL_MENUTEXT = 0, COL_MENUSELECTEDTEXT = 1, COL_MENUBOX = 4, COL_MENUTITLE = 5,
  COL_DIALOGTEXT = 21, COL_DIALOGHIGHLIGHTTEXT = 22, COL_MENUDISABLEDTEXT = 82,
};

class FarHost {
 public:
  virtual ~FarHost() = default;

  virtual const char* GetMsg(int pluginNumber, int msgId) = 0;
  virtual int Message(int pluginNumber, unsigned flags, const char* helpTopic,
                      const char* const* items, int itemsNumber, int buttonsNumber) = 0;
  virtual int Menu(int pluginNumber, int x, int y, int maxHeight, unsigned flags,
                   const char* title, const char* bottom, const char* helpTopic,
                   const int* breakKeys, int* breakCode, const FarMenuItem* item,
                   int itemsNumber) = 0;
  virtual int DialogEx(int pluginNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                       FarDialogItem* item, int itemsNumber, unsigned reserved, unsigned flags,
                       FarDialogProc dlgProc, intptr_t param) = 0;
  virtual intptr_t SendDlgMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) = 0;
  virtual intptr_t DefDlgProc(HANDLE hDlg, int msg, int param1, intptr_t param2) = 0;
  virtual int EditorControl(int command, void* param) = 0;
  virtual int Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                     unsigned flags, int startLine, int startChar) = 0;
  virtual int Viewer(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                     unsigned flags) = 0;
  virtual void Text(int x, int y, int color, const char* str) = 0;
  virtual HANDLE SaveScreen(int x1, int y1, int x2, int y2) = 0;
  virtual void RestoreScreen(HANDLE hScreen) = 0;
  virtual int Control(HANDLE hPlugin, int command, void* param) = 0;
  virtual intptr_t AdvControl(int moduleNumber, int command, void* param) = 0;
  virtual int ShowHelp(const char* moduleName, const char* topic, unsigned flags) = 0;
  virtual int InputBox(const char* title, const char* subTitle, const char* historyName,
                       const char* srcText, char* destText, int destLength,
                       const char* helpTopic, unsigned flags) = 0;
  virtual char* MkTemp(char* dest, const char* prefix) = 0;
};

// What the host hands over once at start.
struct PluginStartupInfo {
  std::string ModuleName;  // full path of the module file
  int ModuleNumber = 0;
  std::string RootKey;     // registry path of the plug-in settings
  FarHost* Api = nullptr;
};

struct PluginInfo {
  int StructSize = 0;
  unsigned Flags = 0;
  const char* const* DiskMenuStrings = nullptr;
  int* DiskMenuNumbers = nullptr;
  int DiskMenuStringsNumber = 0;
  const char* const* PluginMenuStrings = nullptr;
  int PluginMenuStringsNumber = 0;
  const char* const* PluginConfigStrings = nullptr;
  int PluginConfigStringsNumber = 0;
  const char* CommandPrefix = nullptr;
  unsigned Reserved = 0;
};

}  // namespace vemlo
