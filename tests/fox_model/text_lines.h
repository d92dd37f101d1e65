// A text held as lines, read the way the model reads the editor.
#pragma once

#include <string>
#include <vector>

#include "fox/model/program.h"

namespace vemlo::test {

inline TxxLineReader LinesReader(const std::vector<std::string>& lines) {
  return [&lines](int n, std::string& text) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    text = lines[n];
    return true;
  };
}

}  // namespace vemlo::test
