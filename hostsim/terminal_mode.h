// The terminal held in the editor's modes for the life of one object: raw
// input, the alternate screen, and the keyboard modes that report modifiers
// (xterm modifyOtherKeys level 2 and the CSI u protocol). Every way out
// restores the terminal: the destructor, and handlers for the signals that end
// the program, which restore and then let the signal take its usual course.
#pragma once

#include <string_view>

namespace vemlo::sim {

// Entering: alternate screen, then the keyboard modes (a CSI u terminal keeps
// its modes per screen), bracketed paste (a paste arrives marked, as one piece)
// and the keypad's application mode (Gray+ and Gray- send their own keys).
// Leaving undoes them in the opposite order.
inline constexpr std::string_view kTerminalEnter = "\x1b[?1049h\x1b[>1u\x1b[>4;2m\x1b[?2004h\x1b=";
inline constexpr std::string_view kTerminalLeave =
    "\x1b>\x1b[?2004l\x1b[>4;0m\x1b[<u\x1b[0m\x1b[?25h\x1b[?1049l";

class TerminalMode {
 public:
  // Throws std::runtime_error when `inFd` is not a terminal.
  TerminalMode(int inFd, int outFd);
  ~TerminalMode();
  TerminalMode(const TerminalMode&) = delete;
  TerminalMode& operator=(const TerminalMode&) = delete;

  // Gives the terminal back now (the destructor then does nothing).
  void Restore();
};

// Writes all of `bytes` to `fd`, through interrupted and partial writes.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vemlo::sim
