// The blocks of a document: procedures and the blocks inside them as folding
// ranges, and the unbalanced ones (a branch or an end without its opening
// statement, an opening never closed, LOOP or EXIT outside a loop) as
// diagnostics, from the core's block-balance check.
#include "features.h"
#include "fox/insight/block_balance.h"
#include "lib/xxlib.h"
#include "params.h"

namespace vemlo::lsp {
namespace {

struct Block {
  int First = 0, Last = 0;
};
struct Unbalanced {
  int Line = 0;
  std::string Message;
};
struct Blocks {
  std::vector<Block> Folds;
  std::vector<Unbalanced> Faults;
};

std::string Keyword(const std::string& text) {
  const std::string t = TrimLeft(text);
  size_t end = 0;
  while (end < t.size() && t[end] != ' ' && t[end] != '\t' && t[end] != '(') ++end;
  return UpperCase(t.substr(0, end));
}

// The core's problem in the words of the diagnostics.
std::string FaultMessage(const TxxBlockProblem& p, const std::string& line) {
  switch (p.Fault) {
    case TxxBlockFault::LeftOpen: return Keyword(line) + " is not closed";
    case TxxBlockFault::StrayBranch: return Keyword(line) + " stands outside the block it belongs to";
    case TxxBlockFault::StrayCloser: return Keyword(line) + " closes no block opened before it";
    case TxxBlockFault::JumpOutsideLoop: break;
  }
  return p.Message;
}

Blocks FindBlocks(Session& s, const json& params, const TextDocument*& doc) {
  Blocks b;
  json at = params;
  at.erase("position");
  const RequestPlace r = LocateRequest(s, at, true);
  doc = r.Doc;
  if (!r.State) return b;
  const TxxFoxProg* prog = CursorProg(r.State->Project, r.State->Insight);
  if (prog)
    for (const TxxFoxProc& proc : prog->Procs)
      if (proc.DeclLine >= 0 && proc.LastLine > proc.DeclLine) b.Folds.push_back({proc.DeclLine, proc.LastLine});
  const TxxLineReader read = EditedText(*r.Doc, {}).Read;
  const TxxBlockBalance balance = CheckBlockBalance(r.State->Insight.Statements, read);
  for (const TxxBlockSpan& block : balance.Blocks)
    if (block.Last - 1 > block.First) b.Folds.push_back({block.First, block.Last - 1});
  std::string line;
  for (const TxxBlockProblem& p : balance.Problems) {
    if (!read(p.Line, line)) line.clear();
    b.Faults.push_back({p.Line, FaultMessage(p, line)});
  }
  return b;
}

}  // namespace

json FoldingRanges(Session& s, const json& params) {
  json ranges = json::array();
  const TextDocument* doc = nullptr;
  for (const Block& f : FindBlocks(s, params, doc).Folds)
    ranges.push_back({{"startLine", f.First}, {"endLine", f.Last}, {"kind", "region"}});
  return ranges;
}

void PublishDiagnostics(Session& s, const TextDocument& document) {
  const json params = {{"textDocument", {{"uri", document.Uri}}}};
  const TextDocument* doc = nullptr;
  json list = json::array();
  for (const Unbalanced& u : FindBlocks(s, params, doc).Faults) {
    const std::string& line = doc->Lines[static_cast<size_t>(std::clamp<int>(u.Line, 0, doc->Lines.size() - 1))];
    const size_t first = line.find_first_not_of(" \t");
    list.push_back({{"range", RangeJson(PositionOf(*doc, u.Line, first == std::string::npos ? 0 : first),
                                        PositionOf(*doc, u.Line, line.size()))},
                    {"severity", 2},  // a warning: the code may still run
                    {"source", "vemlo"},
                    {"message", u.Message}});
  }
  if (s.Send)
    s.Send(NotificationMessage("textDocument/publishDiagnostics",
                               {{"uri", document.Uri}, {"version", document.Version}, {"diagnostics", list}}));
}

}  // namespace vemlo::lsp
