// Where the replacement host's input events come from: a script, the terminal,
// or anything else that yields console input records.
#pragma once

#include <functional>
#include <string>
#include <stdexcept>

#include "host/far_api.h"

namespace vemlo::sim {

// The event of a paste (a terminal's bracketed paste, the script's "paste"):
// its text comes from the source's PastedText().
inline constexpr int PASTE_EVENT = 0x4000;

class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next event; false when the input has ended.
  virtual bool Read(INPUT_RECORD& rec) = 0;
  // True when an event has arrived already, so that Read will not wait. A source
  // whose events only come when they are read (a script) says false.
  virtual bool Ready() { return false; }
  // The text of the PASTE_EVENT read last.
  virtual std::u32string PastedText() const { return {}; }
};

// An input source over a function (the terminal front end, tests).
class FunctionInput : public InputSource {
 public:
  explicit FunctionInput(std::function<bool(INPUT_RECORD&)> read) : read_(std::move(read)) {}
  bool Read(INPUT_RECORD& rec) override { return read_ && read_(rec); }

 private:
  std::function<bool(INPUT_RECORD&)> read_;
};

// Thrown when windows keep reading after the input ended and Esc did not close them.
struct InputExhausted : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A key-down event.
INPUT_RECORD KeyEvent(int vk, char ch = 0, unsigned state = 0);

}  // namespace vemlo::sim
