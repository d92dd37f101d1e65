// A text held as lines, read the way the model reads the editor.
#pragma once

#include <string>
#include <vector>

#include "fox/model/program.h"
#include "fox/model/scanner.h"

namespace vemlo::test {

inline TxxLineReader LinesReader(const std::vector<std::string>& lines) {
  return [&lines](int n, std::string& text) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    text = lines[n];
    return true;
  };
}

// The elements of one statement, classified as the scanner would.
inline TxxFoxElementArr ElementsOf(const std::string& text) {
  TxxFoxString st;
  st.Text = text;
  st.Kind = ClassifyStatement(text);
  ExtractElements(st);
  return st.Elements;
}

}  // namespace vemlo::test
