#include "ui_draw.h"

#include <algorithm>

namespace vemlo::sim {

unsigned char UiColor(const UiEnv& env, int index) {
  if (env.Color) return static_cast<unsigned char>(env.Color(index));
  switch (index) {
    case COL_MENUTEXT: return 0x3F;
    case COL_MENUSELECTEDTEXT: return 0x0F;
    case COL_MENUBOX: return 0x3F;
    case COL_MENUTITLE: return 0x3F;
    case COL_DIALOGTEXT: return 0x70;
    case COL_DIALOGHIGHLIGHTTEXT: return 0x7E;
    case COL_MENUDISABLEDTEXT: return 0x38;
    default: return 0x07;
  }
}

void DrawBox(Console& con, int x1, int y1, int x2, int y2, unsigned char attr, bool dbl) {
  if (x2 <= x1 || y2 <= y1) return;
  const unsigned char h = dbl ? box::kDblH : box::kSglH, v = dbl ? box::kDblV : box::kSglV;
  for (int x = x1 + 1; x < x2; ++x) {
    con.PutChar(x, y1, attr, h);
    con.PutChar(x, y2, attr, h);
  }
  for (int y = y1 + 1; y < y2; ++y) {
    con.PutChar(x1, y, attr, v);
    con.PutChar(x2, y, attr, v);
  }
  con.PutChar(x1, y1, attr, dbl ? box::kDblTL : box::kSglTL);
  con.PutChar(x2, y1, attr, dbl ? box::kDblTR : box::kSglTR);
  con.PutChar(x1, y2, attr, dbl ? box::kDblBL : box::kSglBL);
  con.PutChar(x2, y2, attr, dbl ? box::kDblBR : box::kSglBR);
}

void DrawBorderText(Console& con, int x1, int x2, int y, const std::string& text,
                    unsigned char attr) {
  if (text.empty()) return;
  int room = x2 - x1 - 1;
  if (room < 1) return;
  std::string shown = " " + text + " ";
  if (static_cast<int>(shown.size()) > room) shown = CutTo(text, room);
  int x = x1 + 1 + (room - static_cast<int>(shown.size())) / 2;
  con.Put(x, y, attr, shown);
}

void DrawSeparator(Console& con, int x1, int x2, int y, unsigned char attr, bool dbl) {
  for (int x = x1 + 1; x < x2; ++x) con.PutChar(x, y, attr, box::kSglH);
  con.PutChar(x1, y, attr, dbl ? box::kDblSepL : box::kSglSepL);
  con.PutChar(x2, y, attr, dbl ? box::kDblSepR : box::kSglSepR);
}

void DrawShadow(Console& con, int x1, int y1, int x2, int y2) {
  auto darken = [&con](int x, int y) {
    if (x < 0 || y < 0 || x >= con.Width() || y >= con.Height()) return;
    con.PutChar(x, y, 0x08, con.At(x, y).Ch);
  };
  for (int y = y1 + 1; y <= y2 + 1; ++y) {
    darken(x2 + 1, y);
    darken(x2 + 2, y);
  }
  for (int x = x1 + 2; x <= x2; ++x) darken(x, y2 + 1);
}

ScreenGuard::ScreenGuard(Console& con, int x1, int y1, int x2, int y2)
    : con_(con),
      saved_(con.Save(std::max(0, x1), std::max(0, y1), std::min(x2 + 2, con.Width() - 1),
                      std::min(y2 + 1, con.Height() - 1))),
      cursorX_(con.CursorX),
      cursorY_(con.CursorY),
      cursorVisible_(con.CursorVisible) {}

ScreenGuard::ScreenGuard(UiEnv& env, int x1, int y1, int x2, int y2)
    : ScreenGuard(*env.Screen, x1, y1, x2, y2) {
  env_ = &env;
  resizes_ = env.Resizes;
}

ScreenGuard::~ScreenGuard() {
  if (env_ && env_->Resizes != resizes_ && env_->RedrawBackdrop)
    env_->RedrawBackdrop();
  else
    con_.Restore(saved_);
  con_.CursorX = cursorX_;
  con_.CursorY = cursorY_;
  con_.CursorVisible = cursorVisible_;
}

bool NextKey(UiEnv& env, KEY_EVENT_RECORD& key) {
  if (!env.ReadInput) return false;
  INPUT_RECORD rec;
  while (env.ReadInput(rec)) {
    if (rec.EventType == KEY_EVENT && rec.KeyEvent.bKeyDown) {
      key = rec.KeyEvent;
      return true;
    }
  }
  return false;
}

bool NextKeyOrResize(UiEnv& env, KEY_EVENT_RECORD& key, bool& resized) {
  resized = false;
  if (!env.ReadInput) return false;
  INPUT_RECORD rec;
  while (env.ReadInput(rec)) {
    if (rec.EventType == WINDOW_BUFFER_SIZE_EVENT) {
      if (env.RedrawBackdrop) env.RedrawBackdrop();
      resized = true;
      return true;
    }
    if (rec.EventType == KEY_EVENT && rec.KeyEvent.bKeyDown) {
      key = rec.KeyEvent;
      return true;
    }
  }
  return false;
}

void RememberHistory(std::vector<std::string>& list, const std::string& text) {
  constexpr size_t kDepth = 64;
  list.erase(std::remove(list.begin(), list.end(), text), list.end());
  list.insert(list.begin(), text);
  if (list.size() > kDepth) list.resize(kDepth);
}

int ModifierBits(unsigned state) {
  int bits = 0;
  if (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) bits |= PKF_CONTROL;
  if (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) bits |= PKF_ALT;
  if (state & SHIFT_PRESSED) bits |= PKF_SHIFT;
  return bits;
}

unsigned char KeyChar(const KEY_EVENT_RECORD& key) {
  unsigned char c = static_cast<unsigned char>(key.AsciiChar);
  if (c != 0) return c;
  if (ModifierBits(key.dwControlKeyState) & PKF_ALT) {
    int vk = key.wVirtualKeyCode;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<unsigned char>(vk);
  }
  return 0;
}

unsigned char UpperOem(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xA0 && c <= 0xAF) return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xEF) return static_cast<unsigned char>(c - 0x50);
  if (c == 0xF1) return 0xF0;
  return c;
}

HotText ParseHotText(const std::string& text, bool showAmpersand) {
  HotText out;
  if (showAmpersand) {
    out.Shown = text;
    return out;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out.Shown += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      out.Shown += '&';
      ++i;
    } else if (i + 1 < text.size() && out.HotPos < 0) {
      out.HotPos = static_cast<int>(out.Shown.size());
      out.Hot = static_cast<unsigned char>(text[i + 1]);
    }
  }
  return out;
}

void PutHotText(Console& con, int x, int y, const HotText& text, int width, unsigned char attr,
                unsigned char hotAttr) {
  std::string shown = CutTo(text.Shown, width);
  con.Put(x, y, attr, shown);
  if (text.HotPos >= 0 && text.HotPos < static_cast<int>(shown.size()))
    con.PutChar(x + text.HotPos, y, hotAttr, static_cast<unsigned char>(shown[text.HotPos]));
}

std::string CutTo(const std::string& text, int width) {
  if (width < 1) return {};
  return text.size() > static_cast<size_t>(width) ? text.substr(0, width) : text;
}

}  // namespace vemlo::sim
