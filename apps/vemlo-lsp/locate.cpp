// Where a request points: its document, position and project.
#include "features.h"
#include "fox/insight/completion.h"
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

}  // namespace vemlo::lsp
