// The blocks of a document from the structure review: procedures and the
// blocks inside them as folding ranges, and the unbalanced ones (a branch or
// an end without its opening statement, an opening never closed) as
// diagnostics.
#include "features.h"
#include "fox/insight/structure_entries.h"
#include "fox/model/scanner.h"
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

// The statement kind that closes a block's opening statement.
unsigned char CloserOf(unsigned char open) {
  switch (open) {
    case stIf: return stEndIf;
    case stDoCase: return stEndCase;
    case stFor: return stEndFor;
    case stScan: return stEndScan;
    case stDoWhile: return stEndDo;
    default: return 0;
  }
}

std::string Keyword(const std::string& text) {
  const std::string t = TrimLeft(text);
  size_t end = 0;
  while (end < t.size() && t[end] != ' ' && t[end] != '\t' && t[end] != '(') ++end;
  return UpperCase(t.substr(0, end));
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
  TxxStructInput in;
  in.Statements = &r.State->Insight.Statements;
  in.Read = EditedText(*r.Doc, {}).Read;
  const TxxLangStructItemArr entries = BuildStructEntries(in, ReadReviewOptions(s.Work.Options));
  struct Open {
    int Line;
    unsigned char Kind;
    std::string Word;
  };
  std::vector<Open> open;
  const auto unclosed = [&] {
    for (const Open& o : open) b.Faults.push_back({o.Line, o.Word + " is not closed"});
    open.clear();
  };
  for (const TxxLangStructItem& e : entries) {
    if (e.Flags & efHeading) unclosed();  // a procedure ends every block
    if (e.Graph.find('?') != std::string::npos)
      b.Faults.push_back({e.Line, Keyword(e.Text) + " stands outside the block it belongs to"});
    if (e.Flags & (efCondOpen | efLoopOpen)) open.push_back({e.Line, e.StmtKind, Keyword(e.Text)});
    if (e.Flags & (efCondClose | efLoopClose)) {
      if (open.empty() || CloserOf(open.back().Kind) != e.StmtKind) {
        b.Faults.push_back({e.Line, Keyword(e.Text) + " closes no block opened before it"});
        continue;
      }
      if (e.Line - 1 > open.back().Line) b.Folds.push_back({open.back().Line, e.Line - 1});
      open.pop_back();
    }
  }
  unclosed();
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
