// The terminal as the host's input source: key events decoded from the bytes
// the terminal sends, and a WINDOW_BUFFER_SIZE_EVENT after the terminal was
// resized (SIGWINCH), once the resize callback has run. Before it waits for the
// user it calls the idle callback: whatever window reads the input, the
// terminal then shows what it drew.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "input.h"
#include "terminal_keys.h"

namespace vemlo::sim {

class TerminalInput : public InputSource {
 public:
  struct Callbacks {
    std::function<void()> Idle;     // before waiting for input
    std::function<void()> Resized;  // after SIGWINCH
  };
  TerminalInput(int fd, const std::string& term, Callbacks callbacks);
  ~TerminalInput() override;
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  bool Read(INPUT_RECORD& rec) override;
  // True when keys have arrived that nobody read yet (reads what waits, never blocks).
  bool Ready() override;
  std::u32string PastedText() const override { return pasted_; }

  // How long an ESC waits for the rest of a sequence before it is the Esc key.
  static constexpr int kEscWaitMs = 40;

 private:
  int fd_;
  KeyDecoder decoder_;
  Callbacks callbacks_;
  struct Pending {
    INPUT_RECORD Rec;
    std::u32string Paste;
  };
  // Reads what the terminal sent (once) and decodes it into `pending_`.
  void ReadBytes();
  void Take(std::vector<INPUT_RECORD> records);
  std::deque<Pending> pending_;
  std::u32string pasted_;
  bool ended_ = false;
};

// The terminal's size in cells; false when `fd` cannot tell.
bool TerminalSize(int fd, int& cols, int& rows);

}  // namespace vemlo::sim
