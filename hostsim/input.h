// Where the replacement host's input events come from: a script, the terminal,
// or anything else that yields console input records.
#pragma once

#include <functional>
#include <stdexcept>

#include "host/far_api.h"

namespace vemlo::sim {

class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next event; false when the input has ended.
  virtual bool Read(INPUT_RECORD& rec) = 0;
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
