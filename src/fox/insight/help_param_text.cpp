// The syntax of a FoxPro function from a help base: the parameter list of the
// first syntax line of its topic.
#include "fox/insight/help_param_text.h"

#include "dbf/xxdbf.h"
#include "fox/model/scanner.h"
#include "help/memo_reader.h"
#include "lib/xxlib.h"

namespace vemlo {

TxxReadProblem HelpBaseParamText(const std::string& path, const std::string& name, const TxxTableLoader& loadTable,
                                 std::string& text) {
  text.clear();
  if (IsBlank(path)) return {};
  TxxDBF base;
  LoadTableWith(loadTable, base, false, path);
  if (base.State != dsLoaded) return {};
  std::string w = UpperCase(Trim(name));

  int record = -1;
  for (int i = 0; i < base.RecCount && record < 0; ++i) {
    std::string t = " " + UpperCase(DBFValueRef(base, 0, i));
    const size_t at = t.find(" " + w);
    if (at != std::string::npos) t = t.substr(at);
    const size_t paren = t.find("()");
    if (paren != std::string::npos) t = Trim(t.substr(0, paren));
    if (IsKeyword(w, t)) {
      w = t;
      record = i;
    }
  }
  if (record < 0) return {};
  platform::InFile memo;
  if (!memo.Open(HelpMemoPath(path))) return {};
  int block = -1;
  if (!TryStrToInt(Trim(DBFValueRef(base, 1, record)), block) || block < 0) return {};

  std::string result;
  bool found = false;
  const TxxReadStatus read = ReadMemoText(memo, block, [&](const std::string& memoLine) {
    std::string line = memoLine;
    if (!found) {
      const size_t open = line.find('(');
      if (open != std::string::npos && UpperCase(Trim(line.substr(0, open))) == w) {
        line = line.substr(open);
        found = true;
      }
    }
    if ((found && IsBlank(line)) || (!line.empty() && static_cast<unsigned char>(line[0]) == 0xC4)) return false;
    if (!found) return true;
    const size_t close = line.find(')');
    if (close != std::string::npos) {
      result += " " + Trim(line.substr(0, close + 1));
      return false;
    }
    result += " " + Trim(line);
    return true;
  });
  if (read != TxxReadStatus::Read) return TxxReadProblem{read, HelpMemoPath(path)};
  text = Trim(result);
  return {};
}

}  // namespace vemlo
