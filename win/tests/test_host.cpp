// The test host's services: each call the module makes of the table is logged
// as a "module ->" line, the editor acts on its served text as the real one
// does, and the modal services answer from the scripted queues.
#include "test_host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace loader {

namespace {

int g_passed = 0, g_failed = 0, g_wrongModule = 0;
std::vector<std::string> g_calls;  // service names, in the order the module called them
std::vector<std::string> g_texts;
std::vector<std::string> g_events;  // editor redraws, processed keys and drawn texts, in order
std::vector<std::string> g_messages;
TestEditor g_editor;
Answers g_host;
std::string g_lineBuffer;  // the line handed out last, deliberately not NUL-terminated

DialogItem* g_dialogItems = nullptr;  // the items of the open dialog, for DM_GETDLGITEM
HANDLE g_dialogHandle = nullptr;

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

void Module(INT_PTR number) {
  if (number != kHostModuleNumber) ++g_wrongModule;
}

int HelpFilesBeside(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((path.substr(0, path.find_last_of('\\') + 1) + "*.hlf").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(h, &found));
  FindClose(h);
  return n;
}

std::string ReadFileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : std::string();
}

// ---- The service table ----
const char* WINAPI HostGetMsg(INT_PTR module, int id) {
  Module(module);
  return id >= 0 && id < static_cast<int>(g_messages.size()) ? g_messages[static_cast<size_t>(id)].c_str() : "";
}

int WINAPI HostMessage(INT_PTR module, DWORD flags, const char* help, const char* const* items, int n, int buttons) {
  Module(module);
  Log("Message", "flags=0x%lx, help=\"%s\", lines=%d, buttons=%d, first=\"%s\"", static_cast<unsigned long>(flags),
      Str(help), n, buttons, n > 0 ? Str(items[0]) : "");
  return buttons > 0 || (flags & 0xF0000) ? 0 : -1;
}

int WINAPI HostMenu(INT_PTR module, int x, int y, int, DWORD flags, const char* title, const char*, const char* help,
                    const int* breakKeys, int* breakCode, const MenuItem* items, int n) {
  Module(module);
  Log("Menu", "x=%d, y=%d, flags=0x%lx, title=\"%s\", help=\"%s\", items=%d, breakKeys=%s", x, y,
      static_cast<unsigned long>(flags), Str(title), Str(help), n, breakKeys ? "yes" : "none");
  if (breakCode) *breakCode = -1;
  if (g_host.Menus.empty()) return -1;
  MenuAnswer answer = g_host.Menus.front();
  g_host.Menus.pop_front();
  return answer(title, help, flags, items, n);
}

int WINAPI HostDialogEx(INT_PTR module, int x1, int y1, int x2, int y2, const char* help, DialogItem* items, int n,
                        DWORD, DWORD, HostProc proc, INT_PTR) {
  Module(module);
  Log("DialogEx", "x1=%d, y1=%d, x2=%d, y2=%d, help=\"%s\", items=%d, proc=%s", x1, y1, x2, y2, Str(help), n,
      proc ? "yes" : "none");
  if (g_host.Dialogs.empty()) return -1;
  DialogAnswer answer = g_host.Dialogs.front();
  g_host.Dialogs.pop_front();
  g_dialogItems = items;
  g_dialogHandle = reinterpret_cast<HANDLE>(0x4711);
  int result = answer(g_dialogHandle, items, n, proc, help);
  g_dialogItems = nullptr;
  return result;
}

INT_PTR WINAPI HostSendDlgMessage(HANDLE hDlg, int msg, int param1, INT_PTR param2) {
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

INT_PTR WINAPI HostDefDlgProc(HANDLE hDlg, int msg, int param1, INT_PTR param2) {
  Log("DefDlgProc", "hDlg=%p, msg=0x%x, param1=%d", hDlg, msg, param1);
  g_host.DefDlgHandles.push_back(hDlg);
  return msg == 0x100A ? param2 : 0;  // help: the dialog's own topic
}

std::string& CurrentLine() {
  TestEditor& ed = g_editor;
  if (ed.CurLine >= static_cast<int>(ed.Lines.size())) ed.Lines.resize(static_cast<size_t>(ed.CurLine) + 1);
  return ed.Lines[static_cast<size_t>(ed.CurLine)];
}

// Typing at the cursor, as the editor does with a key given back to it.
void TypeKey(const INPUT_RECORD& rec) {
  TestEditor& ed = g_editor;
  const KEY_EVENT_RECORD& k = rec.Event.KeyEvent;
  if (rec.EventType != KEY_EVENT || !k.bKeyDown) return;
  std::string& line = CurrentLine();
  const bool ctrlAlt = k.dwControlKeyState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED | LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  if (k.wVirtualKeyCode == VK_LEFT && ed.CurPos > 0) {
    --ed.CurPos;
  } else if (k.wVirtualKeyCode == VK_RIGHT) {
    ++ed.CurPos;
  } else if (k.wVirtualKeyCode == VK_BACK && ed.CurPos > 0) {
    if (ed.CurPos <= static_cast<int>(line.size())) line.erase(static_cast<size_t>(ed.CurPos) - 1, 1);
    --ed.CurPos;
  } else if (!ctrlAlt && static_cast<unsigned char>(k.uChar.AsciiChar) >= 32) {
    if (ed.CurPos > static_cast<int>(line.size())) line.resize(static_cast<size_t>(ed.CurPos), ' ');
    line.insert(static_cast<size_t>(ed.CurPos), 1, k.uChar.AsciiChar);
    ++ed.CurPos;
  }
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
      g_lineBuffer = ed.Lines[static_cast<size_t>(n)] + "#JUNK#";
      s.StringText = g_lineBuffer.data();
      s.StringEOL = "\r\n";
      s.StringLength = static_cast<int>(ed.Lines[static_cast<size_t>(n)].size());
      s.SelStart = s.SelEnd = -1;
      return 1;
    }
    case 1: {
      const EdSetString& s = *static_cast<const EdSetString*>(param);
      Log("EditorControl", "ECTL_SETSTRING, line %d, \"%.*s\"", s.StringNumber, s.StringLength, Str(s.StringText));
      const int n = s.StringNumber < 0 ? ed.CurLine : s.StringNumber;
      if (n >= static_cast<int>(ed.Lines.size()) || !s.StringText || s.StringLength < 0) return 0;
      ed.Lines[static_cast<size_t>(n)].assign(s.StringText, static_cast<size_t>(s.StringLength));
      return 1;
    }
    case 4: {
      Log("EditorControl", "ECTL_DELETECHAR, line %d, pos %d", ed.CurLine, ed.CurPos);
      std::string& line = CurrentLine();
      if (ed.CurPos < static_cast<int>(line.size())) line.erase(static_cast<size_t>(ed.CurPos), 1);
      return 1;
    }
    case 5: {
      const char* text = Str(static_cast<const char*>(param));
      Log("EditorControl", "ECTL_INSERTTEXT, \"%s\"", text);
      std::string& line = CurrentLine();
      if (ed.CurPos > static_cast<int>(line.size())) line.resize(static_cast<size_t>(ed.CurPos), ' ');
      line.insert(static_cast<size_t>(ed.CurPos), text);
      ed.CurPos += static_cast<int>(std::strlen(text));
      return 1;
    }
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
    case 9:
      Log("EditorControl", "ECTL_REDRAW");
      g_events.push_back("redraw");
      return 1;
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
        rec = Key(VK_ESCAPE, 27, 0);  // Escape ends whatever waits for a key
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
      g_events.push_back("key");
      TypeKey(rec);
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
  g_host.EditorRect = RECT{x1, y1, x2, y2};
  return g_host.EditFile ? g_host.EditFile(file) : 2;
}

int WINAPI HostViewer(const char* file, const char* title, int, int, int, int, DWORD) {
  Log("Viewer", "\"%s\", title=\"%s\"", Str(file), Str(title));
  return 1;
}

void WINAPI HostText(int x, int y, int color, const char* text) {
  Log("Text", "%d, %d, color 0x%x, \"%s\"", x, y, color, Str(text));
  if (text) g_texts.push_back(text);
  g_events.push_back("text");
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

INT_PTR WINAPI HostAdvControl(INT_PTR module, int command, void* param) {
  Module(module);
  Log("AdvControl", "command %d, param %ld", command, static_cast<long>(reinterpret_cast<INT_PTR>(param)));
  return command == 4 ? 0x1F : 0;
}

BOOL WINAPI HostShowHelp(const char* module, const char* topic, DWORD flags) {
  Log("ShowHelp", "\"%s\", topic \"%s\", flags %lu", Str(module), Str(topic), static_cast<unsigned long>(flags));
  // A help file lives only while the viewer shows it: its bytes are read now.
  g_host.Help.push_back(ShownHelp{Str(module), Str(topic), (flags & 2) ? ReadFileBytes(Str(module)) : "", flags,
                                  HelpFilesBeside(Str(module))});
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
  // A name nothing has yet, as the host's MkTemp gives.
  do std::snprintf(dest, MAX_PATH, "%s%s%04lX%02d.TMP", dir, Str(prefix), GetCurrentProcessId() & 0xFFFF, ++serial);
  while (GetFileAttributesA(dest) != INVALID_FILE_ATTRIBUTES);
  g_host.LastTemp = dest;
  Log("FSF.MkTemp", "prefix \"%s\" -> \"%s\"", Str(prefix), dest);
  return dest;
}

template <typename T>
void Put(unsigned char* table, size_t offset, T value) {
  std::memcpy(table + offset, &value, sizeof value);
}

}  // namespace

const SMALL_RECT kDialogRect{4, 2, 75, 22};

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

int Passed() { return g_passed; }
int Failed() { return g_failed; }

void ClearCalls() {
  g_calls.clear();
  g_texts.clear();
  g_events.clear();
}

int CallsOf(const char* name) {
  int n = 0;
  for (const std::string& c : g_calls) n += c == name;
  return n;
}

const char* Str(const char* s) { return s ? s : "(null)"; }

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

const std::vector<std::string>& Messages() { return g_messages; }

void TestEditor::Serve(const std::string& file, std::vector<std::string> lines, int line, int pos) {
  FileName = file;
  Lines = std::move(lines);
  CurLine = line;
  CurPos = pos;
  TopLine = LeftPos = 0;
  Input.clear();
  Processed.clear();
}

TestEditor& Editor() { return g_editor; }

const std::vector<std::string>& DrawnTexts() { return g_texts; }

bool Drawn(const char* part) {
  for (const std::string& t : g_texts)
    if (t.find(part) != std::string::npos) return true;
  return false;
}

bool RedrawnBeforeDrawing() {
  bool pending = false;  // a key was processed, the editor not yet redrawn
  for (const std::string& e : g_events) {
    if (e == "key") pending = true;
    if (e == "redraw") pending = false;
    if (e == "text" && pending) return false;
  }
  return true;
}

Answers& Host() { return g_host; }

int WrongModuleNumbers() { return g_wrongModule; }

void BuildTables(StartupInfo& psi, StandardFunctions& fsf, const std::string& moduleName, const char* rootKey) {
  std::memset(&fsf, 0, sizeof fsf);
  Put(fsf.Bytes, 0, static_cast<int>(sizeof fsf));
  Put(fsf.Bytes, kMkTemp, &HostMkTemp);
  std::memset(&psi, 0, sizeof psi);
  Put(psi.Bytes, 0, static_cast<int>(sizeof psi));
  std::strncpy(reinterpret_cast<char*>(psi.Bytes + kModuleName), moduleName.c_str(), MAX_PATH - 1);
  Put(psi.Bytes, kModuleNumber, kHostModuleNumber);
  Put(psi.Bytes, kRootKey, rootKey);
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
  PutFsf(psi, &fsf);
  Put(psi.Bytes, kShowHelp, &HostShowHelp);
  Put(psi.Bytes, kAdvControl, &HostAdvControl);
  Put(psi.Bytes, kInputBox, &HostInputBox);
  Put(psi.Bytes, kDialogEx, &HostDialogEx);
  Put(psi.Bytes, kSendDlgMessage, &HostSendDlgMessage);
  Put(psi.Bytes, kDefDlgProc, &HostDefDlgProc);
}

void PutFsf(StartupInfo& psi, StandardFunctions* fsf) { Put(psi.Bytes, kFSF, fsf); }

INPUT_RECORD Key(WORD vk, char ch, DWORD state, bool down) {
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

}  // namespace loader
