// Presenting the virtual console on a terminal: code page 866 to UTF-8, the
// 16 console colours as ANSI colours, and only the cells that changed since
// the last frame.
#pragma once

#include <string>
#include <vector>

#include "console.h"

namespace vemlo::sim {

// The SGR sequence for a console attribute (low nibble foreground, high
// nibble background; the intensity bit gives the bright colours 90-97, 100-107).
std::string AttrSgr(unsigned char attr);

// The OSC 52 sequence that offers `utf8` to the terminal's clipboard.
std::string ClipboardSequence(const std::string& utf8);

class ScreenRenderer {
 public:
  // The bytes that bring a terminal of `cols` x `rows` from the last frame to
  // `con` (cells outside the terminal are left out), the cursor placed last.
  // Empty when nothing changed.
  std::string Frame(const Console& con, int cols, int rows);
  // What the terminal shows is unknown (at start, after a resize): the next
  // frame clears it and draws every cell.
  void Invalidate() { valid_ = false; }

 private:
  std::vector<Cell> last_;
  int width_ = 0, height_ = 0, cols_ = 0, rows_ = 0;
  bool valid_ = false;
  int attr_ = -1;  // the terminal's current colours, -1 unknown
  int cursorX_ = -1, cursorY_ = -1;
  bool cursorShown_ = false;
};

}  // namespace vemlo::sim
