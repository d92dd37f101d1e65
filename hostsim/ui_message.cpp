// The host's message box: a framed block of lines with an optional button row.
#include <algorithm>
#include <vector>

#include "ui.h"
#include "ui_draw.h"

namespace vemlo::sim {
namespace {

std::vector<std::string> HostButtons(unsigned flags) {
  switch (flags & 0x000F0000u) {
    case FMSG_MB_OK: return {"Ok"};
    case FMSG_MB_OKCANCEL: return {"Ok", "Cancel"};
    case FMSG_MB_ABORTRETRYIGNORE: return {"Abort", "Retry", "Ignore"};
    case FMSG_MB_YESNO: return {"Yes", "No"};
    case FMSG_MB_YESNOCANCEL: return {"Yes", "No", "Cancel"};
    case FMSG_MB_RETRYCANCEL: return {"Retry", "Cancel"};
    default: return {};
  }
}

const std::string kSeparatorLine = "\x01";

struct Button {
  HotText Caption;
  int X = 0;
};

}  // namespace

int RunMessage(UiEnv& env, unsigned flags, const std::string& helpTopic,
               const std::vector<std::string>& lines, int buttons, int focusFirst) {
  if (!env.Screen) return -1;
  Console& con = *env.Screen;
  std::vector<std::string> captions = HostButtons(flags);
  const std::string title = lines.empty() ? std::string() : lines[0];
  size_t textEnd = lines.size();
  if (captions.empty() && !lines.empty()) {
    buttons = std::clamp(buttons, 0, static_cast<int>(lines.size()) - 1);
    textEnd = lines.size() - buttons;
    captions.assign(lines.begin() + textEnd, lines.end());
  }
  std::vector<std::string> text;
  if (lines.size() > 1) text.assign(lines.begin() + 1, lines.begin() + std::max<size_t>(textEnd, 1));

  std::vector<Button> row;
  int rowWidth = 0;
  for (const std::string& c : captions) {
    Button b;
    b.Caption = ParseHotText("[ " + c + " ]", false);
    rowWidth += static_cast<int>(b.Caption.Shown.size()) + (row.empty() ? 0 : 1);
    row.push_back(b);
  }

  int widest = std::max(static_cast<int>(title.size()) + 2, rowWidth);
  for (const std::string& t : text)
    if (t != kSeparatorLine) widest = std::max(widest, static_cast<int>(t.size()));
  int content = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0, fx1 = 0, fx2 = 0;
  // Centred on the screen as it is now (again after a resize).
  auto layout = [&] {
    // Frame and one blank each side, then a margin of three columns that gives way
    // first when a line is long.
    content = std::min(widest, std::max(con.Width() - 4, 1));
    const int margin = std::clamp((con.Width() - content - 4) / 2, 0, 3);
    const int width = content + 4 + 2 * margin;
    const int height = static_cast<int>(text.size()) + (row.empty() ? 0 : 1) + 4;
    x1 = std::max((con.Width() - width) / 2, 0);
    y1 = std::max((con.Height() - height) / 2, 0);
    x2 = x1 + width - 1;
    y2 = y1 + height - 1;
    fx1 = x1 + margin;
    fx2 = x2 - margin;
    int bx = x1 + (width - rowWidth) / 2;
    for (Button& b : row) {
      b.X = bx;
      bx += static_cast<int>(b.Caption.Shown.size()) + 1;
    }
  };
  layout();

  const bool warning = flags & FMSG_WARNING;
  const unsigned char attr = warning ? 0x4F : UiColor(env, COL_DIALOGTEXT);
  const unsigned char focusAttr = warning ? 0x70 : 0x30;
  const unsigned char hotAttr =
      warning ? 0x4E : UiColor(env, COL_DIALOGHIGHLIGHTTEXT);

  int focus = std::clamp(focusFirst, 0, std::max(static_cast<int>(row.size()) - 1, 0));
  auto draw = [&] {
    con.Fill(x1, y1, x2, y2, ' ', attr);
    DrawBox(con, fx1, y1 + 1, fx2, y2 - 1, attr, true);
    DrawBorderText(con, fx1, fx2, y1 + 1, title, attr);
    for (size_t i = 0; i < text.size(); ++i) {
      const int y = y1 + 2 + static_cast<int>(i);
      if (text[i] == kSeparatorLine) {
        DrawSeparator(con, fx1, fx2, y, attr, true);
        continue;
      }
      std::string t = CutTo(text[i], content);
      int x = fx1 + 2;
      if (!(flags & FMSG_LEFTALIGN)) x += (content - static_cast<int>(t.size())) / 2;
      con.Put(x, y, attr, t);
    }
    for (size_t i = 0; i < row.size(); ++i) {
      const bool on = static_cast<int>(i) == focus;
      PutHotText(con, row[i].X, y2 - 2, row[i].Caption, content, on ? focusAttr : attr,
                 on ? focusAttr : hotAttr);
    }
    DrawShadow(con, x1, y1, x2, y2);
  };

  if (row.empty()) {
    // A box without buttons stays on screen; its caller restores what lay below.
    draw();
    return -1;
  }

  ScreenGuard guard(env, x1, y1, x2, y2);
  con.CursorVisible = false;
  const int n = static_cast<int>(row.size());
  for (;;) {
    draw();
    KEY_EVENT_RECORD key;
    bool resized;
    if (!NextKeyOrResize(env, key, resized)) return -1;
    if (resized) {
      layout();
      con.CursorVisible = false;
      continue;
    }
    const int vk = key.wVirtualKeyCode;
    const bool shift = ModifierBits(key.dwControlKeyState) & PKF_SHIFT;
    if (vk == VK_ESCAPE) return -1;
    if (vk == VK_RETURN) return focus;
    if (vk == VK_F1) {
      if (!helpTopic.empty() && env.Help) env.Help(helpTopic);
      continue;
    }
    if (vk == VK_RIGHT || (vk == VK_TAB && !shift)) {
      focus = (focus + 1) % n;
      continue;
    }
    if (vk == VK_LEFT || (vk == VK_TAB && shift)) {
      focus = (focus + n - 1) % n;
      continue;
    }
    const unsigned char c = UpperOem(KeyChar(key));
    if (c <= ' ') continue;
    for (int i = 0; i < n; ++i) {
      const HotText& h = row[i].Caption;
      // The marked hot key, else the caption's first letter (after "[ ").
      unsigned char first = h.HotPos >= 0 ? h.Hot
                                          : (h.Shown.size() > 2 ? static_cast<unsigned char>(h.Shown[2]) : 0);
      if (UpperOem(first) == c) return i;
    }
  }
}

}  // namespace vemlo::sim
