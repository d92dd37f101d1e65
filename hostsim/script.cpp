#include "script.h"

#include <cctype>
#include <chrono>
#include <sstream>

#include "codepage.h"
#include "console.h"

namespace vemlo::sim {

INPUT_RECORD KeyEvent(int vk, char ch, unsigned state) {
  INPUT_RECORD rec;
  rec.EventType = KEY_EVENT;
  rec.KeyEvent.bKeyDown = 1;
  rec.KeyEvent.wRepeatCount = 1;
  rec.KeyEvent.wVirtualKeyCode = vk;
  rec.KeyEvent.AsciiChar = ch;
  rec.KeyEvent.dwControlKeyState = state;
  return rec;
}

namespace {

struct NamedKey {
  const char* Name;
  int Vk;
  char Ch;
};

const NamedKey kNamedKeys[] = {
    {"Enter", VK_RETURN, '\r'}, {"Esc", VK_ESCAPE, 0x1B}, {"Up", VK_UP, 0},
    {"Down", VK_DOWN, 0},       {"Left", VK_LEFT, 0},     {"Right", VK_RIGHT, 0},
    {"Home", VK_HOME, 0},       {"End", VK_END, 0},       {"PgUp", VK_PRIOR, 0},
    {"PgDn", VK_NEXT, 0},       {"Ins", VK_INSERT, 0},    {"Del", VK_DELETE, 0},
    {"BS", VK_BACK, 0x08},      {"Tab", VK_TAB, '\t'},    {"Space", VK_SPACE, ' '},
    {"Gray+", VK_ADD, '+'},     {"Gray-", VK_SUBTRACT, '-'}, {"Gray*", VK_MULTIPLY, '*'},
};

struct Modifier {
  const char* Prefix;
  unsigned State;
};

const Modifier kModifiers[] = {
    {"Shift+", SHIFT_PRESSED},     {"Ctrl+", LEFT_CTRL_PRESSED}, {"Alt+", LEFT_ALT_PRESSED},
    {"LCtrl+", LEFT_CTRL_PRESSED}, {"RCtrl+", RIGHT_CTRL_PRESSED}, {"LAlt+", LEFT_ALT_PRESSED},
    {"RAlt+", RIGHT_ALT_PRESSED},
};

bool SameText(const std::string& a, const char* b) {
  size_t n = 0;
  for (; b[n]; ++n)
    if (n >= a.size() || std::tolower(static_cast<unsigned char>(a[n])) !=
                             std::tolower(static_cast<unsigned char>(b[n])))
      return false;
  return n == a.size();
}

bool StartsWithText(const std::string& a, const char* prefix) {
  std::string p(prefix);
  return a.size() >= p.size() && SameText(a.substr(0, p.size()), prefix);
}

// The US keyboard: the key of a printable ASCII character and whether Shift makes it.
struct CharKey {
  int Vk = 0;
  bool Shift = false;
};

CharKey KeyOfChar(unsigned char c) {
  if (c >= 'a' && c <= 'z') return {std::toupper(c), false};
  if (c >= 'A' && c <= 'Z') return {c, true};
  if (c >= '0' && c <= '9') return {c, false};
  static const char* shiftedDigits = ")!@#$%^&*(";
  for (int d = 0; d < 10; ++d)
    if (shiftedDigits[d] == c) return {'0' + d, true};
  struct P { char Plain, Shifted; int Vk; };
  static const P punct[] = {{';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC},
                            {'-', '_', 0xBD}, {'.', '>', 0xBE}, {'/', '?', 0xBF},
                            {'`', '~', 0xC0}, {'[', '{', 0xDB}, {'\\', '|', 0xDC},
                            {']', '}', 0xDD}, {'\'', '"', 0xDE}};
  for (const P& p : punct) {
    if (c == static_cast<unsigned char>(p.Plain)) return {p.Vk, false};
    if (c == static_cast<unsigned char>(p.Shifted)) return {p.Vk, true};
  }
  if (c == ' ') return {VK_SPACE, false};
  if (c == '\t') return {VK_TAB, false};
  return {0, false};
}

// The character a key gives with the modifiers held, 0 for none.
char CharWithModifiers(int vk, char plain, unsigned state) {
  bool ctrl = state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  bool alt = state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  bool shift = state & SHIFT_PRESSED;
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<char>(vk & 0x1F);
    return static_cast<char>(shift ? vk : std::tolower(vk));
  }
  if (ctrl) {
    if (vk == VK_RETURN) return '\n';
    if (vk == VK_SPACE) return ' ';
    return 0;
  }
  if (shift && vk >= '0' && vk <= '9') return ")!@#$%^&*("[vk - '0'];
  if (shift && vk == VK_OEM_PERIOD) return '>';
  return plain;
}

bool ParseInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    v = v * 10 + (s[i] - '0');
    if (v > 1000000000) return false;
  }
  out = static_cast<int>(s[0] == '-' ? -v : v);
  return true;
}

}  // namespace

std::optional<KEY_EVENT_RECORD> ParseKeyName(const std::string& keyName) {
  std::string name = keyName;
  unsigned state = 0;
  for (bool stripped = true; stripped;) {
    stripped = false;
    for (const Modifier& m : kModifiers) {
      std::string p(m.Prefix);
      if (name.size() > p.size() && StartsWithText(name, m.Prefix)) {
        state |= m.State;
        name = name.substr(p.size());
        stripped = true;
        break;
      }
    }
  }
  int vk = 0;
  char plain = 0;
  if (name.size() == 1) {
    unsigned char c = static_cast<unsigned char>(name[0]);
    if (std::isalpha(c)) vk = std::toupper(c);
    else if (std::isdigit(c)) vk = c;
    else if (c == '.') vk = VK_OEM_PERIOD;
    else return std::nullopt;
    plain = static_cast<char>(c == '.' ? '.' : std::tolower(c));
  } else if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    if (!ParseInt(name.substr(1), n) || n < 1 || n > 12) return std::nullopt;
    vk = VK_F1 + n - 1;
  } else if (SameText(name, "Ctrl")) {
    vk = VK_CONTROL;
    state |= LEFT_CTRL_PRESSED;
  } else if (SameText(name, "Alt")) {
    vk = VK_MENU;
    state |= LEFT_ALT_PRESSED;
  } else if (SameText(name, "Shift")) {
    vk = VK_SHIFT;
    state |= SHIFT_PRESSED;
  } else {
    for (const NamedKey& k : kNamedKeys)
      if (SameText(name, k.Name)) {
        vk = k.Vk;
        plain = k.Ch;
      }
    if (vk == 0) return std::nullopt;
  }
  KEY_EVENT_RECORD key = KeyEvent(vk, 0, state).KeyEvent;
  key.AsciiChar = CharWithModifiers(vk, plain, state);
  return key;
}

KEY_EVENT_RECORD TypedCharEvent(unsigned char ch) {
  CharKey k;
  if (ch < 0x80) k = KeyOfChar(ch);
  KEY_EVENT_RECORD key = KeyEvent(k.Vk, static_cast<char>(ch), k.Shift ? unsigned{SHIFT_PRESSED} : 0u).KeyEvent;
  key.UnicodeChar = ch >= 0x20 ? UnicodeOfOem(ch) : ch;
  return key;
}

KEY_EVENT_RECORD TypedUnicodeEvent(char32_t ch) {
  // The OEM byte is the character's conversion: '?' where 866 has none.
  unsigned char oem;
  KEY_EVENT_RECORD key = TypedCharEvent(OemByte(ch, oem) ? oem : '?');
  key.UnicodeChar = ch;
  return key;
}

namespace {

std::u32string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char e = text[++i];
      out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      continue;
    }
    out += text[i];
  }
  return FromUtf8(out);
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error) {
  steps.clear();
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto fail = [&](const std::string& why) {
      error = "script line " + std::to_string(number) + ": " + why + ": " + line;
      return false;
    };
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    ScriptStep step;
    step.SourceLine = number;
    if (line.compare(first, 5, "type ") == 0) {
      for (char32_t c : FromUtf8(line.substr(first + 5))) {
        step.Key = TypedUnicodeEvent(c);
        steps.push_back(step);
      }
      continue;
    }
    if (line.compare(first, 6, "paste ") == 0) {
      step.Kind = StepKind::Paste;
      step.Text = Unescape(line.substr(first + 6));
      steps.push_back(step);
      continue;
    }
    std::istringstream words(line.substr(first));
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    auto ints = [&](size_t count) {
      for (size_t i = 0; i < count; ++i)
        if (!ParseInt(w[i + 1], step.Args[i])) return false;
      return true;
    };
    if (w[0] == "dump") {
      if (w.size() == 2 && w[1] == "screen") step.Kind = StepKind::DumpScreen;
      else if (w.size() == 2 && w[1] == "text") step.Kind = StepKind::DumpText;
      else return fail("dump takes \"screen\" or \"text\"");
    } else if (w[0] == "goto") {
      step.Kind = StepKind::Goto;
      if (w.size() != 3 || !ints(2)) return fail("goto takes LINE COL");
    } else if (w[0] == "select") {
      step.Kind = StepKind::Select;
      bool column = w.size() == 6 && w[5] == "column";
      if ((w.size() != 5 && !column) || !ints(4)) return fail("select takes L1 C1 L2 C2 [column]");
      step.Column = column;
    } else if (w[0] == "bookmark") {
      step.Kind = StepKind::Bookmark;
      if (w.size() != 4 || !ints(3) || step.Args[0] < 0 || step.Args[0] > 9)
        return fail("bookmark takes N (0-9) LINE COL");
    } else {
      if (w.size() != 1) return fail("one key a line");
      auto key = ParseKeyName(w[0]);
      if (!key) return fail("unknown key");
      step.Key = *key;
    }
    steps.push_back(step);
  }
  return true;
}

namespace {
double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

void ScriptInput::StopKeyClock() {
  if (clockRunning_) times_.back().Ms = NowMs() - keyStart_;
  clockRunning_ = false;
}

std::vector<KeyTime> ScriptInput::KeyTimes() {
  StopKeyClock();
  return times_;
}

bool ScriptInput::Read(INPUT_RECORD& rec) {
  StopKeyClock();
  RunPendingDirectives();
  if (Finished()) return false;
  rec = INPUT_RECORD{};
  const ScriptStep& step = steps_[next_++];
  if (timing_) {
    times_.push_back(KeyTime{step.SourceLine, 0});
    clockRunning_ = true;
    keyStart_ = NowMs();
  }
  if (step.Kind == StepKind::Paste) {
    rec.EventType = PASTE_EVENT;
    pasted_ = step.Text;
    return true;
  }
  rec.EventType = KEY_EVENT;
  rec.KeyEvent = step.Key;
  return true;
}

void ScriptInput::RunPendingDirectives() {
  while (!Finished() && steps_[next_].Kind != StepKind::Key && steps_[next_].Kind != StepKind::Paste) {
    const ScriptStep& step = steps_[next_++];
    if (directive_) directive_(step);
  }
}

}  // namespace vemlo::sim
