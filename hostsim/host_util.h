// Small helpers shared by the parts of the replacement host (sim_host*.cpp, host_*.cpp).
#pragma once

#include <string>

#include "console.h"

namespace vemlo::sim::detail {

std::string AbsoluteNative(const std::string& path);
inline std::string Str(const char* s) { return s ? s : ""; }

// Keeps a window's rectangle on the screen; -1 for x2/y2 means the screen edge.
void ResolveRect(const Console& screen, int& x1, int& y1, int& x2, int& y2);

// Saves the whole screen and puts it back when the window above it closes.
class ScreenKeeper {
 public:
  explicit ScreenKeeper(Console& screen) : screen_(screen), saved_(screen.Save(0, 0, -1, -1)) {
    cx_ = screen.CursorX;
    cy_ = screen.CursorY;
  }
  ~ScreenKeeper() {
    screen_.Restore(saved_);
    screen_.CursorX = cx_;
    screen_.CursorY = cy_;
  }
  ScreenKeeper(const ScreenKeeper&) = delete;
  ScreenKeeper& operator=(const ScreenKeeper&) = delete;

 private:
  Console& screen_;
  Console::Saved saved_;
  int cx_, cy_;
};

// Clears a flag for the time of a call and sets it back afterwards.
class FlagOff {
 public:
  explicit FlagOff(bool& flag) : flag_(flag), old_(flag) { flag_ = false; }
  ~FlagOff() { flag_ = old_; }
  FlagOff(const FlagOff&) = delete;
  FlagOff& operator=(const FlagOff&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace vemlo::sim::detail
