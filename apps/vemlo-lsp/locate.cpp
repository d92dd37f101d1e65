// Where a request points: its document, position and project.
#include "features.h"
#include "fox/insight/completion.h"
#include "lib/xxlib.h"
#include "params.h"

namespace vemlo::lsp {

RequestPlace LocateRequest(Session& s, const json& params, bool wholeFile) {
  RequestPlace r;
  r.Doc = FindDocument(s, params);
  if (!r.Doc) return r;
  if (OptionalMember(params, "position")) r.At = PlaceOf(*r.Doc, PositionMember(params, "position"));
  r.State = RefreshAt(s.Work, *r.Doc, r.At, wholeFile);
  return r;
}

std::string WordAt(ProjectState& p, const TextDocument& doc, const Place& at) {
  FindInsightWordIn(p.Insight, doc.Lines[static_cast<size_t>(at.Line)], at.Line, static_cast<int>(at.Byte));
  return p.Insight.Word;
}

bool FindWordProc(const ProjectState& p, const std::string& word, int& file, int& proc) {
  const std::string& context = p.Insight.Context;
  const bool dotted = context.size() > 1 && context.back() == '.' && UpperCase(context) != "M.";
  if (!context.empty() && !dotted) return false;
  const std::string qualifier = dotted ? context.substr(0, context.size() - 1) : std::string();
  if (!FindProcForWord(qualifier, word, p.Project, p.Insight.ProgIndex, p.Insight.ProcIndex, file, proc))
    return false;
  return !dotted || p.Project.Progs[static_cast<size_t>(file)].Procs[static_cast<size_t>(proc)].Kind == pkMethod;
}

}  // namespace vemlo::lsp
