#include "ui_edit.h"

#include <algorithm>

#include "codepage.h"
#include "ui_draw.h"

namespace vemlo::sim {
namespace {

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0x80 && c <= 0xAF) ||
         (c >= 0xE0 && c <= 0xF1);
}

int NextSlot(const LineEdit& e, int from, int dir) {
  for (int i = from; i >= 0 && i < static_cast<int>(e.Mask.size()); i += dir)
    if (IsMaskSlot(e.Mask[i])) return i;
  return -1;
}

bool MaskedKey(LineEdit& e, const KEY_EVENT_RECORD& key) {
  const int n = static_cast<int>(e.Mask.size());
  const int first = NextSlot(e, 0, 1), last = NextSlot(e, n - 1, -1);
  if (first < 0) return false;
  auto move = [&](int dir) {
    int p = NextSlot(e, e.Pos + dir, dir);
    if (p >= 0) e.Pos = p;
  };
  switch (key.wVirtualKeyCode) {
    case VK_LEFT: move(-1); return true;
    case VK_RIGHT: move(1); return true;
    case VK_HOME: e.Pos = first; return true;
    case VK_END: e.Pos = last; return true;
    case VK_DELETE: e.Text[e.Pos] = ' '; return true;
    case VK_BACK: {
      int p = NextSlot(e, e.Pos - 1, -1);
      if (p >= 0) {
        e.Pos = p;
        e.Text[p] = ' ';
      }
      return true;
    }
    default: break;
  }
  if (ModifierBits(key.dwControlKeyState) & (PKF_CONTROL | PKF_ALT)) return false;
  const unsigned char c = static_cast<unsigned char>(key.AsciiChar);
  if (c < ' ') return false;
  if (FitsMask(e.Mask[e.Pos], c)) {
    e.Text[e.Pos] = static_cast<char>(c);
    move(1);
  }
  return true;
}

bool FreeKey(LineEdit& e, const KEY_EVENT_RECORD& key) {
  const bool fresh = e.Fresh;
  e.Fresh = false;
  // Ctrl+Y empties the field, as in the host's edit fields.
  if (key.wVirtualKeyCode == 'Y' && ModifierBits(key.dwControlKeyState) == PKF_CONTROL) {
    e.Text.clear();
    e.Pos = e.Left = 0;
    return true;
  }
  const int len = static_cast<int>(e.Text.size());
  switch (key.wVirtualKeyCode) {
    case VK_LEFT: e.Pos = std::max(e.Pos - 1, 0); return true;
    case VK_RIGHT: e.Pos = std::min(e.Pos + 1, len); return true;
    case VK_HOME: e.Pos = 0; return true;
    case VK_END: e.Pos = len; return true;
    case VK_DELETE:
      if (e.Pos < len) e.Text.erase(e.Pos, 1);
      return true;
    case VK_BACK:
      if (e.Pos > 0) e.Text.erase(--e.Pos, 1);
      return true;
    default: break;
  }
  if (ModifierBits(key.dwControlKeyState) & (PKF_CONTROL | PKF_ALT)) return false;
  const unsigned char c = static_cast<unsigned char>(key.AsciiChar);
  if (c < ' ') return false;
  // The field holds 866 text: a character 866 lacks is not typed as '?'.
  if (unsigned char b; key.UnicodeChar && !OemByte(key.UnicodeChar, b)) return true;
  if (fresh) {
    e.Text.clear();
    e.Pos = e.Left = 0;
  }
  if (e.Text.size() < e.MaxLength) e.Text.insert(e.Text.begin() + e.Pos++, static_cast<char>(c));
  return true;
}

}  // namespace

bool IsMaskSlot(char m) { return m == '9' || m == '#' || m == 'N' || m == 'A' || m == 'X'; }

bool FitsMask(char m, unsigned char c) {
  const bool digit = c >= '0' && c <= '9';
  switch (m) {
    case '9': return digit;
    case '#': return digit || c == ' ' || c == '+' || c == '-';
    case 'N': return digit || c == ' ';
    case 'A': return IsLetter(c);
    case 'X': return c >= ' ';
    default: return false;
  }
}

LineEdit MakeLineEdit(const std::string& text, size_t maxLength) {
  LineEdit e;
  e.MaxLength = maxLength;
  e.Text = text.substr(0, std::min(text.size(), maxLength));
  e.Pos = static_cast<int>(e.Text.size());
  return e;
}

LineEdit MakeMaskedEdit(const std::string& text, const std::string& mask) {
  LineEdit e;
  e.Mask = mask;
  e.MaxLength = mask.size();
  e.Text = text.substr(0, std::min(text.size(), mask.size()));
  e.Text.resize(mask.size(), ' ');
  // Literal positions always show the mask's own byte.
  for (size_t i = 0; i < mask.size(); ++i)
    if (!IsMaskSlot(mask[i])) e.Text[i] = mask[i];
  e.Pos = std::max(NextSlot(e, 0, 1), 0);
  return e;
}

bool EditKey(LineEdit& edit, const KEY_EVENT_RECORD& key) {
  return edit.Mask.empty() ? FreeKey(edit, key) : MaskedKey(edit, key);
}

void DrawLineEdit(Console& con, LineEdit& e, int x, int y, int width, unsigned char attr,
                  bool focused) {
  if (width < 1) return;
  if (e.Pos < e.Left) e.Left = e.Pos;
  if (e.Pos >= e.Left + width) e.Left = e.Pos - width + 1;
  e.Left = std::max(e.Left, 0);
  std::string shown = e.Left < static_cast<int>(e.Text.size()) ? e.Text.substr(e.Left) : std::string();
  if (e.Password) shown.assign(shown.size(), '*');
  shown = CutTo(shown, width);
  shown.resize(width, ' ');
  con.Put(x, y, attr, shown);
  if (focused) {
    con.CursorX = x + e.Pos - e.Left;
    con.CursorY = y;
    con.CursorVisible = true;
  }
}

}  // namespace vemlo::sim
