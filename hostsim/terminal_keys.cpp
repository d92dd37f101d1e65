#include "terminal_keys.h"

#include <termkey.h>

#include <optional>
#include <stdexcept>

#include "codepage.h"
#include "console.h"
#include "input.h"
#include "script.h"

namespace vemlo::sim {

namespace {

// Builds the event through the script runner's key names, so that a key typed
// in the terminal and the same key named in a script are one event.
std::optional<INPUT_RECORD> Named(const std::string& name, int mods) {
  std::string full;
  if (mods & TERMKEY_KEYMOD_SHIFT) full += "Shift+";
  if (mods & TERMKEY_KEYMOD_CTRL) full += "Ctrl+";
  if (mods & TERMKEY_KEYMOD_ALT) full += "Alt+";
  auto key = ParseKeyName(full + name);
  if (!key) return std::nullopt;
  INPUT_RECORD rec;
  rec.EventType = KEY_EVENT;
  rec.KeyEvent = *key;
  return rec;
}

unsigned StateOf(int mods) {
  unsigned state = 0;
  if (mods & TERMKEY_KEYMOD_SHIFT) state |= SHIFT_PRESSED;
  if (mods & TERMKEY_KEYMOD_CTRL) state |= LEFT_CTRL_PRESSED;
  if (mods & TERMKEY_KEYMOD_ALT) state |= LEFT_ALT_PRESSED;
  return state;
}

// A typed character with the modifiers the terminal reported.
INPUT_RECORD Typed(char32_t ch, int mods) {
  INPUT_RECORD rec;
  rec.EventType = KEY_EVENT;
  rec.KeyEvent = TypedUnicodeEvent(ch);
  rec.KeyEvent.dwControlKeyState |= StateOf(mods);
  if (mods & TERMKEY_KEYMOD_CTRL) {
    rec.KeyEvent.AsciiChar = 0;
    rec.KeyEvent.UnicodeChar = 0;
  }
  return rec;
}

std::optional<INPUT_RECORD> FromCodepoint(const TermKeyKey& key) {
  long cp = key.code.codepoint;
  int mods = key.modifiers;
  // Ctrl+@ is the NUL byte of Ctrl+Space, and tmux reports Ctrl+Shift+Space as Ctrl+Shift+@.
  if (cp == ' ' || (cp == '@' && (mods & TERMKEY_KEYMOD_CTRL))) return Named("Space", mods);
  bool letter = (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
  if (mods & (TERMKEY_KEYMOD_CTRL | TERMKEY_KEYMOD_ALT)) {
    if (letter) {
      if (cp <= 'Z') mods |= TERMKEY_KEYMOD_SHIFT;
      return Named(std::string(1, static_cast<char>(cp <= 'Z' ? cp : cp - 32)), mods);
    }
    if ((cp >= '0' && cp <= '9') || cp == '.') return Named(std::string(1, static_cast<char>(cp)), mods);
  }
  if (cp < 0x20 || cp > 0x10FFFF) return std::nullopt;
  // An upper-case letter already carries Shift in the typed event.
  if (letter && cp <= 'Z') mods &= ~TERMKEY_KEYMOD_SHIFT;
  return Typed(static_cast<char32_t>(cp), mods);
}

struct SymName {
  TermKeySym Sym;
  const char* Name;  // a key name of the script runner, or one typed character
};

const SymName kSymNames[] = {
    {TERMKEY_SYM_BACKSPACE, "BS"},  {TERMKEY_SYM_DEL, "BS"},       {TERMKEY_SYM_TAB, "Tab"},
    {TERMKEY_SYM_ENTER, "Enter"},   {TERMKEY_SYM_KPENTER, "Enter"}, {TERMKEY_SYM_ESCAPE, "Esc"},
    {TERMKEY_SYM_SPACE, "Space"},   {TERMKEY_SYM_UP, "Up"},         {TERMKEY_SYM_DOWN, "Down"},
    {TERMKEY_SYM_LEFT, "Left"},     {TERMKEY_SYM_RIGHT, "Right"},   {TERMKEY_SYM_HOME, "Home"},
    {TERMKEY_SYM_END, "End"},
    // CSI 1~ and CSI 4~ are Home and End on the Linux console, tmux and screen.
    {TERMKEY_SYM_FIND, "Home"},     {TERMKEY_SYM_SELECT, "End"},    {TERMKEY_SYM_INSERT, "Ins"},
    {TERMKEY_SYM_DELETE, "Del"},    {TERMKEY_SYM_PAGEUP, "PgUp"},   {TERMKEY_SYM_PAGEDOWN, "PgDn"},
    {TERMKEY_SYM_KPPLUS, "Gray+"},  {TERMKEY_SYM_KPMINUS, "Gray-"}, {TERMKEY_SYM_KPMULT, "Gray*"},
    {TERMKEY_SYM_KPPERIOD, "."},    {TERMKEY_SYM_KP0, "0"},         {TERMKEY_SYM_KP1, "1"},
    {TERMKEY_SYM_KP2, "2"},         {TERMKEY_SYM_KP3, "3"},         {TERMKEY_SYM_KP4, "4"},
    {TERMKEY_SYM_KP5, "5"},         {TERMKEY_SYM_KP6, "6"},         {TERMKEY_SYM_KP7, "7"},
    {TERMKEY_SYM_KP8, "8"},         {TERMKEY_SYM_KP9, "9"},
};

const SymName kSymChars[] = {
    {TERMKEY_SYM_KPDIV, "/"}, {TERMKEY_SYM_KPCOMMA, ","}, {TERMKEY_SYM_KPEQUALS, "="}};

std::optional<INPUT_RECORD> FromKeysym(const TermKeyKey& key) {
  for (const SymName& s : kSymNames)
    if (s.Sym == key.code.sym) return Named(s.Name, key.modifiers);
  for (const SymName& s : kSymChars)
    if (s.Sym == key.code.sym) return Typed(static_cast<char32_t>(s.Name[0]), key.modifiers);
  return std::nullopt;
}

// Function keys past F12 are the modified F1..F12 of xterm's terminfo entries
// (kf13 = Shift+F1, kf25 = Ctrl+F1, kf37 = Ctrl+Shift+F1, kf49 = Alt+F1, kf61 = Alt+Shift+F1).
std::optional<INPUT_RECORD> FromFunction(const TermKeyKey& key) {
  int n = key.code.number;
  if (n < 1 || n > 72) return std::nullopt;
  static const int kGroupMods[] = {
      0, TERMKEY_KEYMOD_SHIFT, TERMKEY_KEYMOD_CTRL, TERMKEY_KEYMOD_CTRL | TERMKEY_KEYMOD_SHIFT,
      TERMKEY_KEYMOD_ALT, TERMKEY_KEYMOD_ALT | TERMKEY_KEYMOD_SHIFT};
  int mods = key.modifiers | kGroupMods[(n - 1) / 12];
  return Named("F" + std::to_string((n - 1) % 12 + 1), mods);
}

std::optional<INPUT_RECORD> Record(const TermKeyKey& key) {
  switch (key.type) {
    case TERMKEY_TYPE_UNICODE: return FromCodepoint(key);
    case TERMKEY_TYPE_KEYSYM: return FromKeysym(key);
    case TERMKEY_TYPE_FUNCTION: return FromFunction(key);
    default: return std::nullopt;  // mouse, reports and sequences nobody asked for
  }
}

}  // namespace

KeyDecoder::KeyDecoder(const std::string& term) {
  tk_ = termkey_new_abstract(term.empty() ? "xterm" : term.c_str(), TERMKEY_FLAG_UTF8);
  if (!tk_) tk_ = termkey_new_abstract("xterm", TERMKEY_FLAG_UTF8);
  if (!tk_) throw std::runtime_error("cannot set up the terminal key decoder");
  termkey_set_canonflags(tk_, termkey_get_canonflags(tk_) | TERMKEY_CANON_DELBS);
}

KeyDecoder::~KeyDecoder() { termkey_destroy(tk_); }

void KeyDecoder::Drain(std::vector<INPUT_RECORD>& out, bool force) {
  TermKeyKey key;
  for (;;) {
    TermKeyResult r = termkey_getkey(tk_, &key);
    if (r == TERMKEY_RES_AGAIN && force) r = termkey_getkey_force(tk_, &key);
    if (r != TERMKEY_RES_KEY) return;
    if (auto rec = Record(key)) out.push_back(*rec);
  }
}

// No terminal sends a key's CSI sequence longer than this.
constexpr size_t kMaxCsi = 48;

// The markers of a bracketed paste.
constexpr std::string_view kPasteStart = "\x1b[200~", kPasteEnd = "\x1b[201~";

void KeyDecoder::Guard(std::string_view bytes, std::vector<INPUT_RECORD>& out) {
  std::string clean;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (pasting_) {
      paste_ += static_cast<char>(b);
      if (paste_.size() >= kPasteEnd.size() &&
          paste_.compare(paste_.size() - kPasteEnd.size(), kPasteEnd.size(), kPasteEnd) == 0) {
        paste_.resize(paste_.size() - kPasteEnd.size());
        EndPaste(out);
      }
      continue;
    }
    switch (csi_) {
      case Csi::None:
        if (b == 0x1B) {
          held_ = "\x1b";
          csi_ = Csi::Esc;
        } else {
          clean += static_cast<char>(b);
        }
        break;
      case Csi::Esc:
        if (b == '[') {
          held_ += '[';
          csi_ = Csi::Params;
        } else {
          clean += held_;
          held_.clear();
          csi_ = Csi::None;
          --i;  // this byte again, outside a sequence
        }
        break;
      case Csi::Params:
        if (b < 0x20 || b > 0x7E) {
          // Not a CSI sequence after all: libtermkey sorts out what it was.
          clean += held_;
          held_.clear();
          csi_ = Csi::None;
          --i;
        } else if (b >= 0x40) {
          held_ += static_cast<char>(b);
          if (held_ == kPasteStart) {
            // Keys before the paste go first; the pasted bytes are no keys.
            Push(clean, out);
            clean.clear();
            pasting_ = true;
            paste_.clear();
          } else {
            clean += held_;
          }
          held_.clear();
          csi_ = Csi::None;
        } else {
          held_ += static_cast<char>(b);
          if (held_.size() > kMaxCsi) {
            held_.clear();
            csi_ = Csi::Skip;
          }
        }
        break;
      case Csi::Skip:
        if (b >= 0x40 && b <= 0x7E) csi_ = Csi::None;
        else if (b < 0x20 || b > 0x7E) {
          csi_ = Csi::None;
          --i;
        }
        break;
    }
  }
  Push(clean, out);
}

void KeyDecoder::EndPaste(std::vector<INPUT_RECORD>& out) {
  pasting_ = false;
  pastes_.push_back(FromUtf8(paste_));
  paste_.clear();
  INPUT_RECORD rec;
  rec.EventType = PASTE_EVENT;
  out.push_back(rec);
}

std::u32string KeyDecoder::TakePaste() {
  if (pastes_.empty()) return {};
  std::u32string text = std::move(pastes_.front());
  pastes_.pop_front();
  return text;
}

std::vector<INPUT_RECORD> KeyDecoder::Feed(std::string_view raw) {
  std::vector<INPUT_RECORD> out;
  Guard(raw, out);
  return out;
}

void KeyDecoder::Push(std::string_view bytes, std::vector<INPUT_RECORD>& out) {
  while (!bytes.empty()) {
    size_t taken = termkey_push_bytes(tk_, bytes.data(), bytes.size());
    bytes.remove_prefix(taken);
    Drain(out, false);
    if (taken == 0) {
      // The buffer is full of one unfinished sequence: it cannot be one.
      Drain(out, true);
      if (termkey_get_buffer_remaining(tk_) == 0) return;
    }
  }
}

bool KeyDecoder::Waiting() const {
  // A paste waits for its end marker however long it takes.
  if (pasting_) return false;
  return !held_.empty() || termkey_get_buffer_remaining(tk_) < termkey_get_buffer_size(tk_);
}

std::vector<INPUT_RECORD> KeyDecoder::Flush() {
  std::vector<INPUT_RECORD> out;
  if (pasting_) EndPaste(out);  // the input ended inside a paste: what came of it
  if (!held_.empty()) {
    // An unfinished sequence: ESC alone or ESC [ with parameters, as the bytes come.
    std::string held = std::move(held_);
    held_.clear();
    csi_ = Csi::None;
    Push(held, out);
  }
  Drain(out, true);
  return out;
}

std::vector<INPUT_RECORD> DecodeKeys(std::string_view bytes, const std::string& term) {
  KeyDecoder decoder(term);
  std::vector<INPUT_RECORD> out = decoder.Feed(bytes);
  for (const INPUT_RECORD& rec : decoder.Flush()) out.push_back(rec);
  return out;
}

}  // namespace vemlo::sim
