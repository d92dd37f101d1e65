// Parameter lists of project procedures, from the editor or from the file on disk.
#include "fox/insight/proc_param_text.h"

#include <climits>

#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

bool EndsWithSemicolon(const std::string& s) { return !s.empty() && s.back() == ';'; }

std::string CleanList(const std::string& raw) {
  const std::string normalized = NormalizeStatement(raw, true, false);
  std::string r(1, ',');
  r += normalized;
  r = ReplaceAll(r, ", ", ",");
  r = ReplaceAll(r, " ,", ",");
  r = ReplaceAll(r, ",m.", ",");
  r = ReplaceAll(r, ",M.", ",");
  r = ReplaceAll(r, ",", ", ");
  std::string out(1, '(');
  out += Trim(r.substr(1));
  out += ')';
  return out;
}

}  // namespace

std::string ParamTextFromLines(const TxxLineReader& read, int firstLine, int lastLine,
                               int contLimit) {
  std::string line;
  int n = firstLine < 0 ? 0 : firstLine;
  for (; n <= lastLine; ++n) {
    if (!read(n, line)) return "()";
    line = Trim(line);
    if (line.empty() || line[0] == '#' || IsCommentLine(line)) continue;
    break;
  }
  if (n > lastLine || (!IsKeyword(line, "PARAMETERS") && !IsKeyword(line, "LPARAMETERS")))
    return "()";
  std::string rest = line;
  PopWord(rest);
  std::string raw = rest + " ";
  std::string last = line;  // the raw list's last line, trimmed
  while (EndsWithSemicolon(last) && n < contLimit) {
    if (!read(n + 1, line)) break;
    ++n;
    last = Trim(line);
    raw += "\r\n" + last + " ";
  }
  return CleanList(raw);
}

std::string ProcParamText(const TxxFoxProg& prog, int procIndex, const TxxEditedText& edited) {
  if (procIndex < 0 || procIndex >= static_cast<int>(prog.Procs.size())) return "";
  const TxxFoxProc& proc = prog.Procs[procIndex];
  // PROCEDURE Foo(a, b): the list stands in the declaration.
  if (!proc.Params.empty() && proc.Params[0] == '(') {
    const size_t close = proc.Params.find(')');
    return CleanList(proc.Params.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  }
  const int first = proc.DeclLine + 1;
  if (IsEditedFile(edited, prog.FileName))
    return ParamTextFromLines(edited.Read, first, proc.LastLine, proc.LastLine);
  TextFile file;
  if (!OpenTextFile(file, prog.FileName)) return "";
  int next = 0;  // the reader is sequential; lines are asked for in increasing order
  const TxxLineReader fromDisk = [&](int wanted, std::string& text) {
    while (next <= wanted) {
      if (!ReadTextLine(file, text)) return false;
      ++next;
    }
    return true;
  };
  std::string result = ParamTextFromLines(fromDisk, first, proc.LastLine, INT_MAX);
  // A file that fails part way is one that could not be read: no list from half of it.
  if (TextFileFailed(file)) return "";
  return result;
}

}  // namespace vemlo
