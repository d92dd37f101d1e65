// vemlo-sendkey: puts key events into the console input of a running program,
// for the keys a terminal cannot send (Ctrl+Space arrives as NUL, Ctrl+Shift+Space
// not at all). It attaches to the program's console and writes a key-down and
// a key-up record per key, as the console itself would.
//
//   vemlo-sendkey [--process NAME.EXE|FULL\PATH\NAME.EXE] KEY...
//
// KEY is a key name with modifiers joined by "+": Ctrl+Space, Ctrl+Shift+Space,
// LCtrl+RCtrl+Space, Alt+Shift+F9, Enter, Esc, Up, F1 .. F12, a letter or digit.
// The process is found by its file name, or by its full path when the name
// holds a backslash (so that a test finds its own host among others); the
// default is the first Far.exe. Exit status 0 when every record was written.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct NamedKey {
  const char* Name;
  WORD Vk;
  wchar_t Char;
};

constexpr NamedKey kKeys[] = {
    {"space", VK_SPACE, L' '}, {"enter", VK_RETURN, L'\r'}, {"esc", VK_ESCAPE, 27},
    {"tab", VK_TAB, L'\t'},    {"up", VK_UP, 0},            {"down", VK_DOWN, 0},
    {"left", VK_LEFT, 0},      {"right", VK_RIGHT, 0},      {"home", VK_HOME, 0},
    {"end", VK_END, 0},        {"pgup", VK_PRIOR, 0},       {"pgdn", VK_NEXT, 0},
    {"backspace", VK_BACK, 8}, {"del", VK_DELETE, 0},
};

struct Key {
  WORD Vk = 0;
  wchar_t Char = 0;
  DWORD State = 0;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

bool ParseKey(const std::string& text, Key& key) {
  std::string rest = Lower(text);
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    const std::string mod = rest.substr(0, plus);
    if (mod == "ctrl" || mod == "lctrl") key.State |= LEFT_CTRL_PRESSED;
    else if (mod == "rctrl") key.State |= RIGHT_CTRL_PRESSED;
    else if (mod == "alt" || mod == "lalt") key.State |= LEFT_ALT_PRESSED;
    else if (mod == "ralt") key.State |= RIGHT_ALT_PRESSED;
    else if (mod == "shift") key.State |= SHIFT_PRESSED;
    else return false;
    rest = rest.substr(plus + 1);
  }
  for (const NamedKey& k : kKeys)
    if (rest == k.Name) {
      key.Vk = k.Vk;
      key.Char = k.Char;
      return true;
    }
  if (rest.size() >= 2 && rest[0] == 'f') {
    const int n = std::atoi(rest.c_str() + 1);
    if (n >= 1 && n <= 12 && rest.size() <= 3) {
      key.Vk = static_cast<WORD>(VK_F1 + n - 1);
      return true;
    }
  }
  if (rest.size() == 1 && ((rest[0] >= 'a' && rest[0] <= 'z') || (rest[0] >= '0' && rest[0] <= '9'))) {
    const char c = rest[0];
    key.Vk = static_cast<WORD>(c >= 'a' ? c - 'a' + 'A' : c);
    // Ctrl and Alt letters carry no character, as the console reports them.
    const bool plain = (key.State & ~SHIFT_PRESSED) == 0;
    key.Char = plain ? static_cast<wchar_t>((key.State & SHIFT_PRESSED) && c >= 'a' ? c - 'a' + 'A' : c) : 0;
    return true;
  }
  return false;
}

bool IsProcess(const PROCESSENTRY32& entry, const char* name) {
  if (!std::strchr(name, '\\')) return lstrcmpiA(entry.szExeFile, name) == 0;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
  if (!process) return false;
  char path[MAX_PATH * 2] = {};
  DWORD size = sizeof path;
  const bool same = QueryFullProcessImageNameA(process, 0, path, &size) && lstrcmpiA(path, name) == 0;
  CloseHandle(process);
  return same;
}

DWORD FindProcess(const char* name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  DWORD pid = 0;
  for (BOOL ok = Process32First(snap, &entry); ok && !pid; ok = Process32Next(snap, &entry))
    if (IsProcess(entry, name)) pid = entry.th32ProcessID;
  CloseHandle(snap);
  return pid;
}

INPUT_RECORD Record(const Key& key, bool down) {
  INPUT_RECORD rec;
  std::memset(&rec, 0, sizeof rec);
  rec.EventType = KEY_EVENT;
  rec.Event.KeyEvent.bKeyDown = down;
  rec.Event.KeyEvent.wRepeatCount = 1;
  rec.Event.KeyEvent.wVirtualKeyCode = key.Vk;
  rec.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(key.Vk, MAPVK_VK_TO_VSC));
  rec.Event.KeyEvent.uChar.UnicodeChar = key.Char;
  DWORD state = key.State;
  if (key.Vk >= VK_PRIOR && key.Vk <= VK_DOWN) state |= ENHANCED_KEY;
  rec.Event.KeyEvent.dwControlKeyState = state;
  return rec;
}

}  // namespace

int main(int argc, char** argv) {
  const char* process = "Far.exe";
  int first = 1;
  if (argc > 2 && std::strcmp(argv[1], "--process") == 0) {
    process = argv[2];
    first = 3;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: vemlo-sendkey [--process NAME.EXE] KEY...\n");
    return 2;
  }
  std::vector<INPUT_RECORD> records;
  for (int i = first; i < argc; ++i) {
    Key key;
    if (!ParseKey(argv[i], key)) {
      std::fprintf(stderr, "vemlo-sendkey: unknown key \"%s\"\n", argv[i]);
      return 2;
    }
    records.push_back(Record(key, true));
    records.push_back(Record(key, false));
  }
  const DWORD pid = FindProcess(process);
  if (!pid) {
    std::fprintf(stderr, "vemlo-sendkey: no process %s\n", process);
    return 1;
  }
  FreeConsole();
  if (!AttachConsole(pid)) {
    std::fprintf(stderr, "vemlo-sendkey: cannot attach to the console of %s (process %lu), error %lu\n", process,
                 static_cast<unsigned long>(pid), static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  HANDLE input = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  DWORD written = 0;
  const bool ok = input != INVALID_HANDLE_VALUE &&
                  WriteConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &written) &&
                  written == records.size();
  const DWORD error = GetLastError();
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  FreeConsole();
  if (!ok) {
    std::fprintf(stderr, "vemlo-sendkey: writing the console input failed, error %lu\n",
                 static_cast<unsigned long>(error));
    return 1;
  }
  return 0;
}
