// Signature help: the parameter text of the innermost call left open before
// the cursor (a project procedure's PARAMETERS, else the syntax of its help
// topic), its parameters as the pieces the parameter hint highlights.
#include <algorithm>

#include "features.h"
#include "fox/insight/help_param_text.h"
#include "fox/insight/param_text.h"
#include "fox/insight/proc_param_text.h"
#include "fox/model/program.h"

namespace vemlo::lsp {

json SignatureHelp(Session& s, const json& params) {
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return nullptr;
  ProjectState& p = *r.State;
  const TxxEditedText text = EditedText(*r.Doc, r.At);
  const TxxParamArr calls = OpenCallsIn(TextBeforeCursor(text.Read, r.At.Line, static_cast<int>(r.At.Byte)));
  if (calls.empty()) return nullptr;
  const TxxParam& call = calls.back();
  std::string paramText;
  int file = -1, proc = -1;
  if (FindFoxProc(call.Name, p.Project, file, proc)) {
    paramText = ProcParamText(p.Project.Progs[static_cast<size_t>(file)], proc, text);
  } else {
    HelpBaseParamText(OptionValue(s.Work.Options, OptionId::FoxHelpBaseParams), call.Name, {}, paramText);
  }
  if (paramText.empty()) return nullptr;
  const std::string label = call.Name + paramText;
  const std::vector<std::string> lines{paramText};  // the hint's own text, without the name
  const TextCodec& codec = r.Doc->Codec;
  const auto columns = [&](size_t bytes) { return ColumnOfByte(label, codec.Utf8, bytes); };
  json parameters = json::array();
  for (int n = 1; n <= 64; ++n) {
    const std::vector<TxxHintPiece> pieces = HighlightPieces(lines, n);
    if (pieces.empty()) break;
    const size_t at = call.Name.size() + static_cast<size_t>(pieces.front().Col);
    parameters.push_back({{"label", {columns(at), columns(at + pieces.front().Text.size())}}});
  }
  const int active = parameters.empty() ? 0 : std::min(call.ParamNo, static_cast<int>(parameters.size())) - 1;
  json signature = {{"label", ToClientText(codec, label)},
                    {"parameters", parameters},
                    {"activeParameter", active}};
  return {{"signatures", json::array({signature})}, {"activeSignature", 0}, {"activeParameter", active}};
}

}  // namespace vemlo::lsp
