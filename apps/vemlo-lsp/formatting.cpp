// Document and range formatting: the formatter run over each procedure the
// range touches, as the plug-in runs it over the procedure at the cursor, with
// the options; the changed lines inside the range become the edits.
#include <algorithm>

#include "features.h"
#include "fox/insight/formatter.h"
#include "fox/model/scanner.h"
#include "params.h"

namespace vemlo::lsp {
namespace {

json FormatLines(Session& s, const json& params, int firstLine, int lastLine) {
  json edits = json::array();
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return edits;
  const TxxFoxProg* prog = CursorProg(r.State->Project, r.State->Insight);
  if (!prog) return edits;
  const TextDocument& doc = *r.Doc;
  int tabSize = 8;
  if (const json* options = OptionalMember(params, "options"))
    if (const json* t = OptionalMember(*options, "tabSize"); t && t->is_number_integer())
      tabSize = std::clamp(t->get<int>(), 1, 64);
  std::vector<std::string> lines = doc.Lines;
  const TxxLineReader read = [&lines](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    line = lines[static_cast<size_t>(n)];
    return true;
  };
  TxxFmtLines io;
  io.Read = read;
  io.Write = [&lines](int n, const std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    lines[static_cast<size_t>(n)] = line;
    return true;
  };
  io.ScreenCol = [&lines, tabSize](int n, int pos) {
    int col = 0;
    const std::string& l = lines[static_cast<size_t>(n)];
    for (int i = 0; i < pos && i < static_cast<int>(l.size()); ++i)
      col = l[static_cast<size_t>(i)] == '\t' ? (col / tabSize + 1) * tabSize : col + 1;
    return col;
  };
  const TxxFmtOptions options = ReadFmtOptions(s.Work.Options);
  for (const TxxFoxProc& proc : prog->Procs) {
    if (proc.LastLine < firstLine || proc.FirstLine > lastLine) continue;
    TxxFoxStringArr statements;
    ScanStatements(read, proc.FirstLine, proc.LastLine, proc.FirstLine, statements);
    FormatStatements(statements, options, io);
  }
  const int end = std::min(lastLine, static_cast<int>(lines.size()) - 1);
  for (int n = std::max(0, firstLine); n <= end; ++n) {
    const std::string& now = lines[static_cast<size_t>(n)];
    const std::string& was = doc.Lines[static_cast<size_t>(n)];
    if (now == was) continue;
    edits.push_back({{"range", RangeJson(PositionOf(doc, n, 0), PositionOf(doc, n, was.size()))},
                     {"newText", ToClientText(doc.Codec, now)}});
  }
  return edits;
}

}  // namespace

json Formatting(Session& s, const json& params) { return FormatLines(s, params, 0, kToEndOfText - 1); }

json RangeFormatting(Session& s, const json& params) {
  const json& range = Member(params, "range");
  Position a = PositionMember(range, "start"), b = PositionMember(range, "end");
  if (b.Line < a.Line) std::swap(a, b);
  // A range that ends at the start of a line leaves that line alone.
  if (b.Character == 0 && b.Line > a.Line) --b.Line;
  const int64_t cap = kToEndOfText - 1;
  return FormatLines(s, params, static_cast<int>(std::min(a.Line, cap)), static_cast<int>(std::min(b.Line, cap)));
}

}  // namespace vemlo::lsp
