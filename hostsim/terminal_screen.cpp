#include "terminal_screen.h"

#include <algorithm>

namespace vemlo::sim {

namespace {

// Console colour bits are blue 1, green 2, red 4; ANSI numbers them red 1, green 2, blue 4.
int Ansi(int colour) { return ((colour & 1) << 2) | (colour & 2) | ((colour & 4) >> 2); }

std::string MoveTo(int x, int y) {
  return "\x1b[" + std::to_string(y + 1) + ";" + std::to_string(x + 1) + "H";
}

// Unchanged cells shorter than this between two changes are drawn again rather
// than skipped with a cursor move, which costs about as many bytes.
constexpr int kJoinGap = 6;

}  // namespace

std::string AttrSgr(unsigned char attr) {
  int fg = attr & 0x0F, bg = attr >> 4;
  int fgCode = (fg & 8 ? 90 : 30) + Ansi(fg & 7);
  int bgCode = (bg & 8 ? 100 : 40) + Ansi(bg & 7);
  return "\x1b[" + std::to_string(fgCode) + ";" + std::to_string(bgCode) + "m";
}

std::string ClipboardSequence(const std::string& utf8) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string b64;
  for (size_t i = 0; i < utf8.size(); i += 3) {
    unsigned v = static_cast<unsigned char>(utf8[i]) << 16;
    if (i + 1 < utf8.size()) v |= static_cast<unsigned char>(utf8[i + 1]) << 8;
    if (i + 2 < utf8.size()) v |= static_cast<unsigned char>(utf8[i + 2]);
    b64 += digits[(v >> 18) & 63];
    b64 += digits[(v >> 12) & 63];
    b64 += i + 1 < utf8.size() ? digits[(v >> 6) & 63] : '=';
    b64 += i + 2 < utf8.size() ? digits[v & 63] : '=';
  }
  return "\x1b]52;c;" + b64 + "\x07";
}

std::string ScreenRenderer::Frame(const Console& con, int cols, int rows) {
  std::string out;
  int w = con.Width(), h = con.Height();
  if (!valid_ || w != width_ || h != height_ || cols != cols_ || rows != rows_) {
    out += "\x1b[0m\x1b[2J";
    attr_ = -1;
    cursorX_ = cursorY_ = -1;
    width_ = w;
    height_ = h;
    cols_ = cols;
    rows_ = rows;
    last_.assign(static_cast<size_t>(w) * h, Cell{});
    valid_ = false;  // every cell below is drawn
  }
  bool drew = false;
  int shownW = std::min(w, cols), shownH = std::min(h, rows);
  for (int y = 0; y < shownH; ++y) {
    Cell* row = &last_[static_cast<size_t>(y) * w];
    auto changed = [&](int x) { return !valid_ || !(row[x] == con.At(x, y)); };
    for (int x = 0; x < shownW;) {
      if (!changed(x)) {
        ++x;
        continue;
      }
      // A run: from this change to the last change not followed by a long gap.
      int end = x + 1;
      for (int probe = end; probe < shownW && probe < end + kJoinGap; ++probe)
        if (changed(probe)) end = probe + 1;
      if (!drew) out += "\x1b[?25l";  // no cursor flicker while drawing
      drew = true;
      out += MoveTo(x, y);
      for (; x < end; ++x) {
        Cell c = con.At(x, y);
        if (c.Attr != attr_) {
          out += AttrSgr(c.Attr);
          attr_ = c.Attr;
        }
        out += CellUtf8(c);
        row[x] = c;
      }
    }
  }
  valid_ = true;
  bool show = con.CursorVisible && con.CursorX >= 0 && con.CursorX < cols && con.CursorY >= 0 &&
              con.CursorY < rows;
  if (drew || con.CursorX != cursorX_ || con.CursorY != cursorY_) {
    out += MoveTo(std::clamp(con.CursorX, 0, std::max(0, cols - 1)),
                  std::clamp(con.CursorY, 0, std::max(0, rows - 1)));
    cursorX_ = con.CursorX;
    cursorY_ = con.CursorY;
  }
  if (drew || show != cursorShown_) {
    out += show ? "\x1b[?25h" : "\x1b[?25l";
    cursorShown_ = show;
  }
  return out;
}

}  // namespace vemlo::sim
