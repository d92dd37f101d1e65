// vemlo-loader-test: loads vemlo.dll as the real host does and plays the host
// through a service table of the interface's own layout. Every call the module
// makes of the table is logged; the checks print a closing count.
//
//   vemlo-loader-test PATH\vemlo.dll
//
// The language file is read from the module's folder, as the host reads it.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host_abi.h"

using namespace loader;

namespace {

// ---- Checks and the log ----
int g_passed = 0, g_failed = 0;
std::vector<std::string> g_calls;  // service names, in the order the module called them

void Check(bool ok, const char* what) {
  if (ok) {
    ++g_passed;
    std::printf("  ok    %s\n", what);
  } else {
    ++g_failed;
    std::printf("  FAIL  %s\n", what);
  }
  std::fflush(stdout);
}

void Log(const char* name, const char* format, ...) {
  g_calls.push_back(name);
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::printf("    module -> %s(%s)\n", name, text);
  std::fflush(stdout);
}

int CallsOf(const char* name) {
  int n = 0;
  for (const std::string& c : g_calls) n += c == name;
  return n;
}

const char* Str(const char* s) { return s ? s : "(null)"; }

// ---- The language file ----
std::vector<std::string> g_messages;

bool LoadLanguage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  bool header = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(".Language=", 0) == 0) header = true;
    if (!header || line.size() < 2 || line[0] != '"') continue;
    size_t end = line.rfind('"');
    g_messages.push_back(line.substr(1, end > 0 ? end - 1 : 0));
  }
  return header;
}

// ---- The editor the test host serves ----
struct TestEditor {
  std::string FileName;
  std::vector<std::string> Lines;
  int CurLine = 0, CurPos = 0, TopLine = 0, LeftPos = 0;
  std::string LineBuffer;         // the current line's bytes, deliberately not NUL-terminated
  std::deque<INPUT_RECORD> Input; // what ECTL_READINPUT hands out
  std::vector<INPUT_RECORD> Processed;
  std::string Inserted;
} g_editor;

// ---- Scripted answers of the modal services ----
using MenuAnswer = std::function<int(const char* title, const char* help, DWORD flags, const MenuItem* items, int n)>;
using DialogAnswer = std::function<int(HANDLE hDlg, DialogItem* items, int n, HostProc proc, const char* help)>;
std::deque<MenuAnswer> g_menuAnswers;
std::deque<DialogAnswer> g_dialogAnswers;
std::function<int(const char* file)> g_editorAnswer;
RECT g_editorRect{};  // the window of the last Editor call

DialogItem* g_dialogItems = nullptr;  // the items of the open dialog, for DM_GETDLGITEM
HANDLE g_dialogHandle = nullptr;
std::vector<HANDLE> g_defDlgHandles;  // handles the module passed to DefDlgProc
const SMALL_RECT kDialogRect{4, 2, 75, 22};
std::string g_lastTemp;

// ---- The service table ----
const char* WINAPI HostGetMsg(int, int id) {
  return id >= 0 && id < static_cast<int>(g_messages.size()) ? g_messages[static_cast<size_t>(id)].c_str() : "";
}

int WINAPI HostMessage(int, DWORD flags, const char* help, const char* const* items, int n, int buttons) {
  Log("Message", "flags=0x%lx, help=\"%s\", lines=%d, buttons=%d, first=\"%s\"", static_cast<unsigned long>(flags),
      Str(help), n, buttons, n > 0 ? Str(items[0]) : "");
  return buttons > 0 || (flags & 0xF0000) ? 0 : -1;
}

int WINAPI HostMenu(int, int x, int y, int, DWORD flags, const char* title, const char*, const char* help,
                    const int* breakKeys, int* breakCode, const MenuItem* items, int n) {
  Log("Menu", "x=%d, y=%d, flags=0x%lx, title=\"%s\", help=\"%s\", items=%d, breakKeys=%s", x, y,
      static_cast<unsigned long>(flags), Str(title), Str(help), n, breakKeys ? "yes" : "none");
  if (breakCode) *breakCode = -1;
  if (g_menuAnswers.empty()) return -1;
  MenuAnswer answer = g_menuAnswers.front();
  g_menuAnswers.pop_front();
  return answer(title, help, flags, items, n);
}

int WINAPI HostDialogEx(int, int x1, int y1, int x2, int y2, const char* help, DialogItem* items, int n, DWORD, DWORD,
                        HostProc proc, long) {
  Log("DialogEx", "x1=%d, y1=%d, x2=%d, y2=%d, help=\"%s\", items=%d, proc=%s", x1, y1, x2, y2, Str(help), n,
      proc ? "yes" : "none");
  if (g_dialogAnswers.empty()) return -1;
  DialogAnswer answer = g_dialogAnswers.front();
  g_dialogAnswers.pop_front();
  g_dialogItems = items;
  g_dialogHandle = reinterpret_cast<HANDLE>(0x4711);
  int result = answer(g_dialogHandle, items, n, proc, help);
  g_dialogItems = nullptr;
  return result;
}

long WINAPI HostSendDlgMessage(HANDLE hDlg, int msg, int param1, long param2) {
  Log("SendDlgMessage", "hDlg=%p, msg=%d, param1=%d", hDlg, msg, param1);
  if (hDlg != g_dialogHandle || !g_dialogItems) return 0;
  if (msg == 6 && param2) {
    *reinterpret_cast<SMALL_RECT*>(param2) = kDialogRect;
    return 1;
  }
  if (msg == 5 && param2) {
    *reinterpret_cast<DialogItem*>(param2) = g_dialogItems[param1];
    return 1;
  }
  return 0;
}

long WINAPI HostDefDlgProc(HANDLE hDlg, int msg, int param1, long param2) {
  Log("DefDlgProc", "hDlg=%p, msg=0x%x, param1=%d", hDlg, msg, param1);
  g_defDlgHandles.push_back(hDlg);
  return msg == 0x100A ? param2 : 0;  // help: the dialog's own topic
}

int WINAPI HostEditorControl(int command, void* param) {
  TestEditor& ed = g_editor;
  switch (command) {
    case 0: {  // get line
      EdGetString& s = *static_cast<EdGetString*>(param);
      int n = s.StringNumber < 0 ? ed.CurLine : s.StringNumber;
      Log("EditorControl", "ECTL_GETSTRING, line %d", s.StringNumber);
      if (n >= static_cast<int>(ed.Lines.size())) return 0;
      // The host's text has no NUL: junk follows it in the buffer.
      ed.LineBuffer = ed.Lines[static_cast<size_t>(n)] + "#JUNK#";
      s.StringText = ed.LineBuffer.data();
      s.StringEOL = "\r\n";
      s.StringLength = static_cast<int>(ed.Lines[static_cast<size_t>(n)].size());
      s.SelStart = s.SelEnd = -1;
      return 1;
    }
    case 5:
      Log("EditorControl", "ECTL_INSERTTEXT, \"%s\"", Str(static_cast<const char*>(param)));
      ed.Inserted += Str(static_cast<const char*>(param));
      return 1;
    case 6: {
      Log("EditorControl", "ECTL_GETINFO");
      EdInfo& ei = *static_cast<EdInfo*>(param);
      std::memset(&ei, 0, sizeof ei);
      ei.EditorID = 1;
      ei.FileName = ed.FileName.c_str();
      ei.WindowSizeX = 80;
      ei.WindowSizeY = 23;
      ei.TotalLines = static_cast<int>(ed.Lines.size());
      ei.CurLine = ed.CurLine;
      ei.CurPos = ei.CurTabPos = ed.CurPos;
      ei.TopScreenLine = ed.TopLine;
      ei.LeftPos = ed.LeftPos;
      ei.TabSize = 8;
      ei.BookMarkCount = 10;
      return 1;
    }
    case 7: {
      EdSetPosition& p = *static_cast<EdSetPosition*>(param);
      Log("EditorControl", "ECTL_SETPOSITION, line %d, pos %d", p.CurLine, p.CurPos);
      if (p.CurLine >= 0) ed.CurLine = p.CurLine;
      if (p.CurPos >= 0) ed.CurPos = p.CurPos;
      if (p.TopScreenLine >= 0) ed.TopLine = p.TopScreenLine;
      if (p.LeftPos >= 0) ed.LeftPos = p.LeftPos;
      return 1;
    }
    case 9: Log("EditorControl", "ECTL_REDRAW"); return 1;
    case 12:
    case 13: {
      EdConvertPos& c = *static_cast<EdConvertPos*>(param);
      Log("EditorControl", "%s, line %d, pos %d", command == 13 ? "ECTL_REALTOTAB" : "ECTL_TABTOREAL",
          c.StringNumber, c.SrcPos);
      c.DestPos = c.SrcPos;  // the test text has no tabs
      return 1;
    }
    case 16: {
      Log("EditorControl", "ECTL_READINPUT");
      INPUT_RECORD& rec = *static_cast<INPUT_RECORD*>(param);
      if (ed.Input.empty()) {
        std::memset(&rec, 0, sizeof rec);  // Escape ends whatever waits for a key
        rec.EventType = KEY_EVENT;
        rec.Event.KeyEvent.bKeyDown = TRUE;
        rec.Event.KeyEvent.wVirtualKeyCode = VK_ESCAPE;
        rec.Event.KeyEvent.uChar.AsciiChar = 27;
      } else {
        rec = ed.Input.front();
        ed.Input.pop_front();
      }
      return 1;
    }
    case 17: {
      const INPUT_RECORD& rec = *static_cast<const INPUT_RECORD*>(param);
      Log("EditorControl", "ECTL_PROCESSINPUT, key 0x%x, char '%c', state 0x%lx", rec.Event.KeyEvent.wVirtualKeyCode,
          rec.Event.KeyEvent.uChar.AsciiChar, static_cast<unsigned long>(rec.Event.KeyEvent.dwControlKeyState));
      ed.Processed.push_back(rec);
      return 1;
    }
    case 22: Log("EditorControl", "ECTL_SETKEYBAR"); return 1;
    case 25: {
      Log("EditorControl", "ECTL_GETBOOKMARKS");
      EdBookMarks& b = *static_cast<EdBookMarks*>(param);
      for (int i = 0; i < 10; ++i) {
        if (b.Line) b.Line[i] = -1;
        if (b.Cursor) b.Cursor[i] = -1;
        if (b.ScreenLine) b.ScreenLine[i] = -1;
        if (b.LeftPos) b.LeftPos[i] = -1;
      }
      return 1;
    }
    default: Log("EditorControl", "command %d", command); return 0;
  }
}

int WINAPI HostEditor(const char* file, const char* title, int x1, int y1, int x2, int y2, DWORD flags, int line,
                      int col) {
  Log("Editor", "\"%s\", title=\"%s\", %d,%d-%d,%d, flags=0x%lx, start %d:%d", Str(file), Str(title), x1, y1, x2, y2,
      static_cast<unsigned long>(flags), line, col);
  g_editorRect = RECT{x1, y1, x2, y2};
  return g_editorAnswer ? g_editorAnswer(file) : 2;
}

int WINAPI HostViewer(const char* file, const char* title, int, int, int, int, DWORD) {
  Log("Viewer", "\"%s\", title=\"%s\"", Str(file), Str(title));
  return 1;
}

void WINAPI HostText(int x, int y, int color, const char* text) {
  Log("Text", "%d, %d, color 0x%x, \"%s\"", x, y, color, Str(text));
}

HANDLE WINAPI HostSaveScreen(int x1, int y1, int x2, int y2) {
  Log("SaveScreen", "%d, %d, %d, %d", x1, y1, x2, y2);
  return reinterpret_cast<HANDLE>(0x5C);
}

void WINAPI HostRestoreScreen(HANDLE h) { Log("RestoreScreen", "%p", h); }

PanelItem g_panelItems[2];

int WINAPI HostControl(HANDLE, int command, void* param) {
  Log("Control", "command %d", command);
  if ((command == 1 || command == 2) && param) {
    Panel& p = *static_cast<Panel*>(param);
    std::memset(&p, 0, sizeof p);
    std::memset(g_panelItems, 0, sizeof g_panelItems);
    std::strcpy(g_panelItems[0].FindData.cFileName, "..");
    std::strcpy(g_panelItems[1].FindData.cFileName, "CUSTOMER.DBF");
    g_panelItems[1].FindData.nFileSizeLow = 1234;
    p.PanelItems = g_panelItems;
    p.ItemsNumber = 2;
    p.CurrentItem = 1;
    p.Visible = p.Focus = 1;
    std::strcpy(p.CurDir, "C:\\DATA\\");
    return 1;
  }
  return 1;
}

int WINAPI HostAdvControl(int, int command, void* param) {
  Log("AdvControl", "command %d, param %ld", command, static_cast<long>(reinterpret_cast<intptr_t>(param)));
  return command == 4 ? 0x1F : 0;
}

BOOL WINAPI HostShowHelp(const char* module, const char* topic, DWORD flags) {
  Log("ShowHelp", "\"%s\", topic \"%s\", flags %lu", Str(module), Str(topic), static_cast<unsigned long>(flags));
  return TRUE;
}

int WINAPI HostInputBox(const char* title, const char*, const char*, const char*, char*, int, const char*, DWORD) {
  Log("InputBox", "\"%s\"", Str(title));
  return 0;
}

char* WINAPI HostMkTemp(char* dest, const char* prefix) {
  static int serial = 0;
  char dir[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, dir);
  std::snprintf(dest, MAX_PATH, "%s%s%04lX%02d.TMP", dir, Str(prefix), GetCurrentProcessId() & 0xFFFF, ++serial);
  g_lastTemp = dest;
  Log("FSF.MkTemp", "prefix \"%s\" -> \"%s\"", Str(prefix), dest);
  return dest;
}

template <typename T>
void Put(unsigned char* table, size_t offset, T value) {
  static_assert(sizeof(T) == 4);
  std::memcpy(table + offset, &value, 4);
}

// ---- The module's entry points ----
using SetStartupInfoFn = void(WINAPI*)(const StartupInfo*);
using GetPluginInfoFn = void(WINAPI*)(Info*);
using OpenPluginFn = HANDLE(WINAPI*)(int, int);
using ProcessEditorInputFn = int(WINAPI*)(const INPUT_RECORD*);
using ConfigureFn = int(WINAPI*)(int);

// GetProcAddress gives a generic function pointer; void(*)() is the neutral step between.
template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

INPUT_RECORD Key(WORD vk, char ch, DWORD state, bool down = true) {
  INPUT_RECORD rec;
  std::memset(&rec, 0, sizeof rec);
  rec.EventType = KEY_EVENT;
  rec.Event.KeyEvent.bKeyDown = down;
  rec.Event.KeyEvent.wRepeatCount = 1;
  rec.Event.KeyEvent.wVirtualKeyCode = vk;
  rec.Event.KeyEvent.uChar.AsciiChar = ch;
  rec.Event.KeyEvent.dwControlKeyState = state;
  return rec;
}

std::string RegString(const std::string& key, const char* name, bool& found) {
  found = false;
  HKEY h;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "";
  char buffer[1024] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  found = rc == ERROR_SUCCESS && type == REG_SZ;
  return buffer;
}

void DeleteTestKeys(const std::string& root) {
  RegDeleteKeyA(HKEY_CURRENT_USER, (root + "\\VEM-LO").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root.c_str());
  std::string parent = root.substr(0, root.rfind('\\'));
  RegDeleteKeyA(HKEY_CURRENT_USER, parent.c_str());
}

int IndexOf(const DialogItem* items, int n, int type, DWORD flag, int nth = 0) {
  for (int i = 0; i < n; ++i)
    if (items[i].Type == type && (flag == 0 || (items[i].Flags & flag)) && nth-- == 0) return i;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf("usage: vemlo-loader-test PATH\\vemlo.dll\n");
    return 2;
  }
  char full[MAX_PATH] = {};
  GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
  const std::string dll = full;
  const std::string dir = dll.substr(0, dll.find_last_of("\\/") + 1);
  std::printf("loading %s\n", dll.c_str());

  // ---- Loading and the exports ----
  std::printf("exports\n");
  HMODULE module = LoadLibraryA(dll.c_str());
  Check(module != nullptr, "LoadLibrary loads the module");
  if (!module) {
    std::printf("loader: %d passed, %d failed\n", g_passed, g_failed + 1);
    return 1;
  }
  auto setStartupInfo = Export<SetStartupInfoFn>(module, "SetStartupInfo");
  auto getPluginInfo = Export<GetPluginInfoFn>(module, "GetPluginInfo");
  auto openPlugin = Export<OpenPluginFn>(module, "OpenPlugin");
  auto processEditorInput = Export<ProcessEditorInputFn>(module, "ProcessEditorInput");
  auto configure = Export<ConfigureFn>(module, "Configure");
  Check(setStartupInfo && getPluginInfo && openPlugin && processEditorInput && configure,
        "the five entry points are found by their plain names");
  Check(!GetProcAddress(module, "SetStartupInfo@4") && !GetProcAddress(module, "_SetStartupInfo@4"),
        "no decorated stdcall names are exported");
  if (!(setStartupInfo && getPluginInfo && openPlugin && processEditorInput && configure)) {
    std::printf("loader: %d passed, %d failed\n", g_passed, g_failed);
    return 1;
  }
  Check(LoadLanguage(dir + "vemlo_en.lng") && g_messages.size() >= 122,
        "the English language file beside the module holds every message");

  // ---- The service table ----
  const std::string root = "Software\\VemloLoaderTest" + std::to_string(GetCurrentProcessId()) + "\\Plugins";
  DeleteTestKeys(root);
  static StandardFunctions fsf;
  std::memset(&fsf, 0, sizeof fsf);
  Put(fsf.Bytes, 0, static_cast<int>(sizeof fsf));
  Put(fsf.Bytes, kMkTemp, &HostMkTemp);
  static StartupInfo psi;
  std::memset(&psi, 0, sizeof psi);
  Put(psi.Bytes, 0, static_cast<int>(sizeof psi));
  std::strncpy(reinterpret_cast<char*>(psi.Bytes + kModuleName), dll.c_str(), MAX_PATH - 1);
  Put(psi.Bytes, kModuleNumber, 7);
  static std::string rootKey = root;
  Put(psi.Bytes, kRootKey, rootKey.c_str());
  Put(psi.Bytes, kMenu, &HostMenu);
  Put(psi.Bytes, kMessage, &HostMessage);
  Put(psi.Bytes, kGetMsg, &HostGetMsg);
  Put(psi.Bytes, kControl, &HostControl);
  Put(psi.Bytes, kSaveScreen, &HostSaveScreen);
  Put(psi.Bytes, kRestoreScreen, &HostRestoreScreen);
  Put(psi.Bytes, kViewer, &HostViewer);
  Put(psi.Bytes, kEditor, &HostEditor);
  Put(psi.Bytes, kText, &HostText);
  Put(psi.Bytes, kEditorControl, &HostEditorControl);
  Put(psi.Bytes, kFSF, &fsf);
  Put(psi.Bytes, kShowHelp, &HostShowHelp);
  Put(psi.Bytes, kAdvControl, &HostAdvControl);
  Put(psi.Bytes, kInputBox, &HostInputBox);
  Put(psi.Bytes, kDialogEx, &HostDialogEx);
  Put(psi.Bytes, kSendDlgMessage, &HostSendDlgMessage);
  Put(psi.Bytes, kDefDlgProc, &HostDefDlgProc);

  std::printf("SetStartupInfo\n");
  {
    // The module must keep copies: the host's records are gone after the call.
    StartupInfo transient = psi;
    StandardFunctions transientFsf = fsf;
    Put(transient.Bytes, kFSF, &transientFsf);
    setStartupInfo(&transient);
    std::memset(&transient, 0, sizeof transient);
    std::memset(&transientFsf, 0, sizeof transientFsf);
  }
  Check(g_calls.empty() || CallsOf("Message") == 0, "the start shows no message");

  // ---- GetPluginInfo ----
  std::printf("GetPluginInfo\n");
  Info info;
  std::memset(&info, 0xCC, sizeof info);
  getPluginInfo(&info);
  Check(info.StructSize == 44, "the record's size field is 44");
  Check(info.Flags == 6, "flags 6: the editor's plug-in menu, not the panels'");
  Check(info.DiskMenuStrings == nullptr && info.DiskMenuNumbers == nullptr && info.DiskMenuStringsNumber == 0 &&
            info.CommandPrefix == nullptr && info.Reserved == 0,
        "the fields not used are zero-filled");
  Check(info.PluginMenuStringsNumber == 1 && info.PluginMenuStrings &&
            std::strcmp(info.PluginMenuStrings[0], "VEM-LO") == 0,
        "one plug-in menu string, message 0");
  Check(info.PluginConfigStringsNumber == 1 && info.PluginConfigStrings &&
            std::strcmp(info.PluginConfigStrings[0], "VEM-LO") == 0,
        "one configuration menu string, message 0");

  // ---- The main menu ----
  std::printf("OpenPlugin: the main menu, left with Escape\n");
  g_editor.FileName = "C:\\PROJ\\MAIN.PRG";
  g_editor.Lines = {"* main program", "PROCEDURE Start", "  DO Helper WITH 1", "ENDPROC"};
  g_editor.CurLine = 2;
  g_editor.CurPos = 6;
  bool menuSeen = false;
  g_menuAnswers.push_back([&](const char* title, const char* help, DWORD flags, const MenuItem* items, int n) {
    menuSeen = true;
    Check(n == 15, "the main menu has fifteen items");
    bool textsMatch = n == 15;
    for (int i = 0; i < n && textsMatch; ++i)
      textsMatch = g_messages.size() > 15 && g_messages[static_cast<size_t>(i + 1)] == items[i].Text &&
                   items[i].Separator == (items[i].Text[0] == '-');
    Check(textsMatch, "its items are messages 1 to 15, a leading \"-\" a separator");
    Check(n > 0 && items[0].Selected && !items[1].Selected, "the first item is selected");
    Check(std::strcmp(title, "VEM-LO") == 0 && std::strcmp(help, "Contents") == 0 && flags == 2,
          "title message 0, help topic \"Contents\", wrap mode");
    return -1;
  });
  HANDLE opened = openPlugin(5, 0);
  Check(menuSeen, "OpenPlugin shows the menu through the table's Menu");
  Check(opened == INVALID_HANDLE_VALUE, "OpenPlugin returns -1");

  std::printf("OpenPlugin: the column ruler, then a typed letter\n");
  g_calls.clear();
  g_editor.Processed.clear();
  g_editor.Input.push_back(Key('Q', 'q', 0));
  g_menuAnswers.push_back([](const char*, const char*, DWORD, const MenuItem*, int) { return 12; });
  openPlugin(5, 0);
  Check(CallsOf("AdvControl") == 2 && CallsOf("Text") >= 3, "the ruler asks two colours and draws text");
  Check(g_editor.Processed.size() == 1 && g_editor.Processed[0].Event.KeyEvent.wVirtualKeyCode == 'Q' &&
            g_editor.Processed[0].Event.KeyEvent.uChar.AsciiChar == 'q' &&
            g_editor.Processed[0].Event.KeyEvent.bKeyDown,
        "the key that closed the ruler goes back to the editor unchanged");

  // ---- Editor input ----
  std::printf("ProcessEditorInput\n");
  g_calls.clear();
  INPUT_RECORD ctrlSpaceUp = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED, false);
  Check(processEditorInput(&ctrlSpaceUp) == 0 && g_calls.empty(), "a key release is left to the host untouched");

  g_editor.FileName = "C:\\PROJ\\NOTES.TXT";
  g_calls.clear();
  INPUT_RECORD ctrlSpace = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED);
  Check(processEditorInput(&ctrlSpace) == 0 && CallsOf("EditorControl") >= 1,
        "Ctrl+Space in a .TXT file reads the editor's file name and returns 0");

  g_editor.FileName = "C:\\PROJ\\MAIN.PRG";
  g_calls.clear();
  int result = processEditorInput(&ctrlSpace);
  Check((result == 0 || result == 1) && CallsOf("EditorControl") >= 1, "Ctrl+Space in a .PRG file runs through");

  g_calls.clear();
  INPUT_RECORD f1 = Key(VK_F1, 0, 0);
  result = processEditorInput(&f1);
  Check((result == 0 || result == 1) && CallsOf("EditorControl") >= 1, "F1 in a .PRG file runs through");

  g_calls.clear();
  g_editor.Processed.clear();
  INPUT_RECORD bothCtrl = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED | NUMLOCK_ON);
  Check(processEditorInput(&bothCtrl) == 0 && CallsOf("Text") >= 3 && g_editor.Processed.empty(),
        "both Ctrl keys with Space (Num Lock on) show the ruler; Escape closes it unprocessed");

  // ---- Configuration ----
  std::printf("Configure: group 1, confirmed with the first button\n");
  g_calls.clear();
  bool groupMenu = false;
  g_menuAnswers.push_back([&](const char* title, const char* help, DWORD, const MenuItem* items, int n) {
    groupMenu = n == 3 && std::strcmp(title, "VEM-LO") == 0 && std::strcmp(help, "Configure") == 0 &&
                items[0].Selected;
    return 0;
  });
  g_menuAnswers.push_back([](const char*, const char*, DWORD, const MenuItem*, int) { return -1; });
  bool editorRect = false;
  g_editorAnswer = [&](const char* file) {
    // The user adds a line to the list and saves.
    std::FILE* f = std::fopen(file, "ab");
    if (!f) return 0;
    std::fputs("C:\\HELP\\EXTRA.DBF\r\n", f);
    std::fclose(f);
    return 1;
  };
  std::string helpAnswer;
  HANDLE dialogHandle = nullptr;
  g_dialogAnswers.push_back([&](HANDLE hDlg, DialogItem* items, int n, HostProc proc, const char* help) {
    dialogHandle = hDlg;
    Check(proc != nullptr && std::strcmp(help, "Configure") == 0, "the option dialog has a procedure and topic");
    Check(n > 5 && items[0].Type == 3 && std::strncmp(items[0].Data, "VEM-LO - ", 9) == 0,
          "item 0 is the double frame titled with message 0 and the group");
    const int keyPreview = IndexOf(items, n, 8, 0);
    const int listButton = IndexOf(items, n, 7, 0x40000);
    const int confirm = n - 3;
    Check(keyPreview > 0 && items[keyPreview].Param.Selected == 1, "the first check box is ticked");
    Check(listButton > 0, "the list option is a button that does not close the dialog");
    Check(items[confirm].Type == 7 && (items[confirm].Flags & 0x4000) && items[confirm].DefaultButton == 1,
          "the first of the three centred buttons is the default");
    if (keyPreview <= 0 || listButton <= 0) return -1;
    helpAnswer = reinterpret_cast<const char*>(proc(hDlg, 0x100A, keyPreview, reinterpret_cast<long>("Configure")));
    items[keyPreview].Param.Selected = 0;
    size_t editorsBefore = static_cast<size_t>(CallsOf("Editor"));
    proc(hDlg, 0x1001, listButton, 0);
    // The list editor's window covers the inside of the frame.
    editorRect = static_cast<size_t>(CallsOf("Editor")) == editorsBefore + 1 &&
                 g_editorRect.left == kDialogRect.Left + items[0].X1 + 1 &&
                 g_editorRect.top == kDialogRect.Top + items[0].Y1 + 1 &&
                 g_editorRect.right == kDialogRect.Left + items[0].X2 - 1 &&
                 g_editorRect.bottom == kDialogRect.Top + items[0].Y2 - 1;
    proc(hDlg, 0x1001, confirm, 0);
    return confirm;
  });
  Check(configure(0) == 0, "Configure returns 0");
  Check(groupMenu, "the group menu lists three groups under message 0");
  Check(helpAnswer == "KeyPreview", "help on an option's item names the option's topic");
  Check(dialogHandle != nullptr && !g_defDlgHandles.empty() &&
            std::all_of(g_defDlgHandles.begin(), g_defDlgHandles.end(), [&](HANDLE h) { return h == dialogHandle; }),
        "the dialog procedure passes the host's dialog handle to DefDlgProc");
  Check(editorRect && CallsOf("SendDlgMessage") == 2 && CallsOf("FSF.MkTemp") == 1,
        "the list button edits the list in the host's editor over a temporary file");
  Check(!g_lastTemp.empty() && GetFileAttributesA(g_lastTemp.c_str()) == INVALID_FILE_ATTRIBUTES,
        "the temporary file is gone afterwards");

  bool found = false;
  const std::string key = root + "\\VEM-LO";
  std::string value = RegString(key, "KeyPreview", found);
  Check(found && value.empty(), "the registry holds \"KeyPreview\" switched off");
  value = RegString(key, "SoundSignals", found);
  Check(found && value == "+", "the registry holds \"SoundSignals\" on");
  value = RegString(key, "FileExtensions", found);
  Check(found && value == ".prg;.spr;.mpr", "the registry holds the default \"FileExtensions\"");
  value = RegString(key, "FoxHelpBases", found);
  Check(found && value.find("C:\\HELP\\EXTRA.DBF\x0C") != std::string::npos,
        "the edited list is stored with its entries ended by 0x0C");
  RegString(key, "FmtTextBaseIndent", found);
  Check(!found, "options of the other groups are not written");

  std::printf("ProcessEditorInput with \"KeyPreview\" off, before and after a restart\n");
  g_calls.clear();
  Check(processEditorInput(&ctrlSpace) == 0 && g_calls.empty(), "Ctrl+Space is left to the host");
  setStartupInfo(&psi);
  g_calls.clear();
  Check(processEditorInput(&ctrlSpace) == 0 && g_calls.empty(), "the stored option is read back at start");

  DeleteTestKeys(root);
  FreeLibrary(module);
  std::printf("service calls logged: see the \"module ->\" lines above\n");
  std::printf("loader: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
