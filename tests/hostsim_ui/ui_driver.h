// A modal-window driver for the tests: an 80x25 console, a prepared list of input
// events, and a record of the help topics asked for.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "console.h"
#include "ui.h"

namespace vemlo::sim::test {

inline INPUT_RECORD Key(int vk, unsigned state = 0, char ch = 0) {
  INPUT_RECORD r;
  r.EventType = KEY_EVENT;
  r.KeyEvent.bKeyDown = 1;
  r.KeyEvent.wVirtualKeyCode = vk;
  r.KeyEvent.AsciiChar = ch;
  r.KeyEvent.dwControlKeyState = state;
  return r;
}
inline INPUT_RECORD Char(char c) {
  int vk = (c >= 'a' && c <= 'z') ? c - 32 : static_cast<unsigned char>(c);
  return Key(vk, 0, c);
}
inline INPUT_RECORD KeyUp(int vk) {
  INPUT_RECORD r = Key(vk);
  r.KeyEvent.bKeyDown = 0;
  return r;
}

struct UiDriver {
  Console Screen{80, 25};
  std::deque<INPUT_RECORD> Input;
  std::vector<std::string> HelpShown;
  int ReadCount = 0;
  std::vector<Console> Frames;  // the screen as it was at each read of input
  UiEnv Env;

  UiDriver() {
    Screen.Clear(0x07);
    Env.Screen = &Screen;
    Env.ReadInput = [this](INPUT_RECORD& r) {
      ++ReadCount;
      Frames.push_back(Screen);
      if (Input.empty()) return false;
      r = Input.front();
      Input.pop_front();
      return true;
    };
    Env.Color = [](int index) { return 0x10 + index; };  // distinct, recognisable attributes
    Env.Help = [this](const std::string& topic) { HelpShown.push_back(topic); };
  }
  void Keys(std::initializer_list<INPUT_RECORD> keys) { Input.insert(Input.end(), keys); }
  void Type(const std::string& text) {
    for (char c : text) Input.push_back(Char(c));
  }
  // Row of frame `f` (the screen when the f-th input event was asked for).
  std::string Row(size_t f, int y) const { return Frames.at(f).RowText(y); }
  // Row index of the first screen row that contains `text`, -1 when none does.
  static int FindRow(const Console& con, const std::string& text) {
    for (int y = 0; y < con.Height(); ++y)
      if (con.RowText(y).find(text) != std::string::npos) return y;
    return -1;
  }
  int FindRow(const std::string& text) const { return FindRow(Screen, text); }
};

}  // namespace vemlo::sim::test
