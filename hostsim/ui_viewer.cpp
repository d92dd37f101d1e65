// The host's read-only viewer: a file's lines in a rectangle under a title row.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "ui.h"
#include "ui_draw.h"

namespace vemlo::sim {
namespace {

std::vector<std::string> ViewLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\n') {
      if (!cur.empty() && cur.back() == '\r') cur.pop_back();
      if (i < bytes.size() || !cur.empty()) lines.push_back(cur);
      cur.clear();
    } else if (bytes[i] == '\t') {
      cur.append(8 - cur.size() % 8, ' ');
    } else {
      cur += bytes[i];
    }
  }
  return lines;
}

}  // namespace

void RunViewer(UiEnv& env, const std::string& nativePath, const std::string& title, int x1, int y1,
               int x2, int y2) {
  if (!env.Screen) return;
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) return;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return;
  const std::vector<std::string> lines = ViewLines(bytes);

  Console& con = *env.Screen;
  x1 = std::clamp(x1, 0, con.Width() - 1);
  y1 = std::clamp(y1, 0, con.Height() - 1);
  x2 = x2 < 0 ? con.Width() - 1 : std::clamp(x2, x1, con.Width() - 1);
  y2 = y2 < 0 ? con.Height() - 1 : std::clamp(y2, y1, con.Height() - 1);
  const int width = x2 - x1 + 1, rows = std::max(y2 - y1, 1);
  const int n = static_cast<int>(lines.size());
  size_t longest = 0;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  const int maxLeft = std::max(static_cast<int>(longest) - width, 0);
  const int maxTop = std::max(n - rows, 0);
  const std::string heading = title.empty() ? nativePath : title;

  // The saved area stops at the rectangle: a viewer draws no shadow.
  const Console::Saved saved = con.Save(x1, y1, x2, y2);
  const bool cursor = con.CursorVisible;
  con.CursorVisible = false;
  int top = 0, left = 0;
  for (;;) {
    con.Fill(x1, y1, x2, y1, ' ', 0x30);
    con.Put(x1, y1, 0x30, CutTo(heading, width));
    for (int r = 0; r < rows && y1 + 1 + r <= y2; ++r) {
      con.Fill(x1, y1 + 1 + r, x2, y1 + 1 + r, ' ', 0x1B);
      const int i = top + r;
      if (i < n && left < static_cast<int>(lines[i].size()))
        con.Put(x1, y1 + 1 + r, 0x1B, CutTo(lines[i].substr(left), width));
    }
    KEY_EVENT_RECORD key;
    if (!NextKey(env, key)) break;
    const int vk = key.wVirtualKeyCode;
    if (vk == VK_ESCAPE || vk == VK_F10 || vk == VK_F3) break;
    switch (vk) {
      case VK_UP: top = std::max(top - 1, 0); break;
      case VK_DOWN: top = std::min(top + 1, maxTop); break;
      case VK_PRIOR: top = std::max(top - rows, 0); break;
      case VK_NEXT: top = std::min(top + rows, maxTop); break;
      case VK_HOME: top = 0; left = 0; break;
      case VK_END: top = maxTop; break;
      case VK_LEFT: left = std::max(left - 1, 0); break;
      case VK_RIGHT: left = std::min(left + 1, maxLeft); break;
      default: break;
    }
  }
  con.Restore(saved);
  con.CursorVisible = cursor;
}

}  // namespace vemlo::sim
