// Helpers of the views' tests: texts held as lines, statements scanned from them,
// options set in the option table.
#pragma once

#include <string>
#include <vector>

#include "fox/model/scanner.h"
#include "shell/vemlocfg.h"

namespace vemlo::test {

inline TxxLineReader LinesOf(const std::vector<std::string>& lines) {
  return [&lines](int n, std::string& text) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    text = lines[n];
    return true;
  };
}

inline TxxFoxStringArr StatementsOf(const std::vector<std::string>& lines) {
  TxxFoxStringArr statements;
  ScanStatements(LinesOf(lines), 0, static_cast<int>(lines.size()) - 1, 0, statements);
  return statements;
}

inline void SetOption(const std::string& name, const std::string& value) {
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == name) o.Value = value;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

}  // namespace vemlo::test
