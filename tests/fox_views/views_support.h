// Helpers of the views' tests: texts held as lines, statements scanned from them,
// options set in the option table.
#pragma once

#include <string>
#include <vector>

#include "fox/insight/formatter.h"
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

// The formatter's options as the option table's defaults give them.
inline TxxFmtOptions FmtDefaults() {
  TxxFmtOptions o;
  o.Base = ParseIndentOption("   t   s");
  o.Proc = ParseIndentOption("   t   s");
  o.Step = ParseIndentOption("  1t   s");
  o.Case = ParseIndentOption("   t   s");
  o.Wrap = ParseIndentOption("   t  8s");
  return o;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

}  // namespace vemlo::test
