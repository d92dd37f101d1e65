// The host's menu: a framed list with a check column, separators, '&' hot keys,
// break keys and wrap mode.
#include <algorithm>
#include <cstring>
#include <vector>

#include "ui.h"
#include "ui_draw.h"

namespace vemlo::sim {
namespace {

struct MenuRow {
  HotText Text;
  unsigned char Check = ' ';
  bool Separator = false;
};

struct MenuLayout {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int Rows = 1;       // visible item rows inside the frame
  int TextWidth = 0;  // columns for the item text
};

std::vector<MenuRow> BuildRows(const FarMenuItem* items, int count, bool showAmpersand) {
  std::vector<MenuRow> rows;
  for (int i = 0; i < count; ++i) {
    MenuRow row;
    row.Separator = items[i].Separator != 0;
    std::string text(items[i].Text, strnlen(items[i].Text, sizeof items[i].Text));
    row.Text = ParseHotText(text, showAmpersand);
    if (items[i].Checked == 1)
      row.Check = box::kCheck;
    else if (items[i].Checked > 1)
      row.Check = static_cast<unsigned char>(items[i].Checked);
    rows.push_back(row);
  }
  return rows;
}

MenuLayout Layout(const Console& con, int x, int y, int maxHeight, const std::string& title,
                  const std::string& bottom, const std::vector<MenuRow>& rows) {
  MenuLayout l;
  int text = 0;
  for (const MenuRow& r : rows)
    if (!r.Separator) text = std::max(text, static_cast<int>(r.Text.Shown.size()));
  // Frame, blank, check column, text, blank, frame.
  int width = std::max({text + 5, static_cast<int>(title.size()) + 4,
                        static_cast<int>(bottom.size()) + 4, 8});
  width = std::min(width, std::max(con.Width() - 2, 6));
  l.TextWidth = width - 5;
  int rowsMax = std::max(con.Height() - 4, 1);
  if (maxHeight > 0) rowsMax = std::min(rowsMax, maxHeight);
  l.Rows = std::clamp(static_cast<int>(rows.size()), 1, rowsMax);
  int height = l.Rows + 2;
  l.X1 = x < 0 ? (con.Width() - width) / 2 : std::min(x, std::max(con.Width() - width, 0));
  l.Y1 = y < 0 ? (con.Height() - height) / 2 : std::min(y, std::max(con.Height() - height, 0));
  l.X2 = l.X1 + width - 1;
  l.Y2 = l.Y1 + height - 1;
  return l;
}

int Step(const std::vector<MenuRow>& rows, int from, int dir) {
  for (int i = from + dir; i >= 0 && i < static_cast<int>(rows.size()); i += dir)
    if (!rows[i].Separator) return i;
  return -1;
}

int FirstSelectable(const std::vector<MenuRow>& rows) { return Step(rows, -1, 1); }
int LastSelectable(const std::vector<MenuRow>& rows) {
  return Step(rows, static_cast<int>(rows.size()), -1);
}

void Draw(UiEnv& env, const MenuLayout& l, const std::string& title, const std::string& bottom,
          const std::vector<MenuRow>& rows, int top, int current) {
  Console& con = *env.Screen;
  const unsigned char text = UiColor(env, COL_MENUTEXT), sel = UiColor(env, COL_MENUSELECTEDTEXT),
                      frame = UiColor(env, COL_MENUBOX), head = UiColor(env, COL_MENUTITLE);
  const unsigned char hot = static_cast<unsigned char>((text & 0xF0) | 0x0E),
                      selHot = static_cast<unsigned char>((sel & 0xF0) | 0x0E);
  con.Fill(l.X1, l.Y1, l.X2, l.Y2, ' ', text);
  DrawBox(con, l.X1, l.Y1, l.X2, l.Y2, frame, true);
  DrawBorderText(con, l.X1, l.X2, l.Y1, title, head);
  DrawBorderText(con, l.X1, l.X2, l.Y2, bottom, head);
  for (int r = 0; r < l.Rows; ++r) {
    int i = top + r, y = l.Y1 + 1 + r;
    if (i >= static_cast<int>(rows.size())) break;
    if (rows[i].Separator) {
      DrawSeparator(con, l.X1, l.X2, y, frame, true);
      continue;
    }
    bool on = i == current;
    unsigned char a = on ? sel : text;
    con.Fill(l.X1 + 1, y, l.X2 - 1, y, ' ', a);
    con.PutChar(l.X1 + 2, y, a, rows[i].Check);
    PutHotText(con, l.X1 + 3, y, rows[i].Text, l.TextWidth, a, on ? selHot : hot);
  }
  // Marks that more items lie above or below the visible rows.
  if (top > 0) con.PutChar(l.X2, l.Y1 + 1, frame, 0x1E);
  if (top + l.Rows < static_cast<int>(rows.size())) con.PutChar(l.X2, l.Y2 - 1, frame, 0x1F);
  DrawShadow(con, l.X1, l.Y1, l.X2, l.Y2);
}

int MatchBreakKey(const int* breakKeys, const KEY_EVENT_RECORD& key) {
  if (!breakKeys) return -1;
  const int mods = ModifierBits(key.dwControlKeyState);
  for (int i = 0; breakKeys[i] != 0; ++i) {
    const int vk = breakKeys[i] & 0xFFFF, want = (breakKeys[i] >> 16) & 0xFF;
    if (vk != key.wVirtualKeyCode) continue;
    // A modifier pressed alone carries its own bit in the state.
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || want == mods) return i;
  }
  return -1;
}

int MatchHotKey(const std::vector<MenuRow>& rows, const KEY_EVENT_RECORD& key) {
  if (ModifierBits(key.dwControlKeyState) & PKF_CONTROL) return -1;
  const unsigned char c = UpperOem(KeyChar(key));
  if (c <= ' ') return -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (!rows[i].Separator && rows[i].Text.HotPos >= 0 && UpperOem(rows[i].Text.Hot) == c)
      return static_cast<int>(i);
  return -1;
}

}  // namespace

int RunMenu(UiEnv& env, int x, int y, int maxHeight, unsigned flags, const std::string& title,
            const std::string& bottom, const std::string& helpTopic, const int* breakKeys,
            int* breakCode, const FarMenuItem* items, int count) {
  if (breakCode) *breakCode = -1;
  if (!env.Screen) return -1;
  if (!items) count = 0;
  const std::vector<MenuRow> rows = BuildRows(items, std::max(count, 0), flags & FMENU_SHOWAMPERSAND);
  MenuLayout l = Layout(*env.Screen, x, y, maxHeight, title, bottom, rows);
  const bool wrap = flags & FMENU_WRAPMODE;
  ScreenGuard guard(env, l.X1, l.Y1, l.X2, l.Y2);
  env.Screen->CursorVisible = false;

  int current = -1;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    if (!rows[i].Separator && items[i].Selected) {
      current = i;
      break;
    }
  if (current < 0) current = FirstSelectable(rows);
  int top = 0;
  const int n = static_cast<int>(rows.size());

  for (;;) {
    if (current >= 0) {
      if (current < top) top = current;
      if (current >= top + l.Rows) top = current - l.Rows + 1;
    }
    top = std::clamp(top, 0, std::max(n - l.Rows, 0));
    Draw(env, l, title, bottom, rows, top, current);

    KEY_EVENT_RECORD key;
    bool resized;
    if (!NextKeyOrResize(env, key, resized)) return -1;
    if (resized) {
      // The editors are drawn anew; the menu takes its place on the new screen.
      l = Layout(*env.Screen, x, y, maxHeight, title, bottom, rows);
      env.Screen->CursorVisible = false;
      continue;
    }
    int b = MatchBreakKey(breakKeys, key);
    if (b >= 0) {
      if (breakCode) *breakCode = b;
      return current;
    }
    switch (key.wVirtualKeyCode) {
      case VK_ESCAPE: return -1;
      case VK_RETURN: return current;
      case VK_F1:
        if (!helpTopic.empty() && env.Help) env.Help(helpTopic);
        continue;
      case VK_UP: {
        int next = Step(rows, current, -1);
        if (next < 0 && wrap) next = LastSelectable(rows);
        if (next >= 0) current = next;
        continue;
      }
      case VK_DOWN: {
        int next = current < 0 ? FirstSelectable(rows) : Step(rows, current, 1);
        if (next < 0 && wrap) next = FirstSelectable(rows);
        if (next >= 0) current = next;
        continue;
      }
      case VK_HOME: current = FirstSelectable(rows); continue;
      case VK_END: current = LastSelectable(rows); continue;
      case VK_PRIOR:
      case VK_NEXT: {
        if (current < 0) continue;
        const int dir = key.wVirtualKeyCode == VK_NEXT ? 1 : -1;
        int target = std::clamp(current + dir * (l.Rows - 1), 0, n - 1);
        // Nearest selectable item at the target, looking back towards the current one.
        while (target != current && rows[target].Separator) target -= dir;
        current = target;
        continue;
      }
      default: break;
    }
    if (!(flags & FMENU_SHOWAMPERSAND)) {
      int h = MatchHotKey(rows, key);
      if (h >= 0) return h;
    }
  }
}

}  // namespace vemlo::sim
