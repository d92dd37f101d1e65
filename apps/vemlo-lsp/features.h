// The language features over the core's model: each takes the request's
// params and gives the result; a document the client has not opened, or one
// outside any project, gets the empty result.
#pragma once

#include "session.h"

namespace vemlo::lsp {

// The document, the place of params.position in it and its project refreshed
// there; State is null when there is nothing to answer from.
struct RequestPlace {
  const TextDocument* Doc = nullptr;
  Place At;
  ProjectState* State = nullptr;
};
RequestPlace LocateRequest(Session& s, const json& params, bool wholeFile = false);
// The identifier at a place (without the "M." or alias before it); sets the
// insight record's word and context.
std::string WordAt(ProjectState& p, const TextDocument& doc, const Place& at);
// The procedure the word WordAt found names: without a context as the plug-in's
// F1 finds it (a method of the cursor's class first); after "THIS.", "Class."
// or "obj." only a method.
bool FindWordProc(const ProjectState& p, const std::string& word, int& file, int& proc);

json Completion(Session& s, const json& params);
json SignatureHelp(Session& s, const json& params);
json Hover(Session& s, const json& params);
json DocumentSymbols(Session& s, const json& params);
json WorkspaceSymbols(Session& s, const json& params);
json Definition(Session& s, const json& params);
json Formatting(Session& s, const json& params);
json RangeFormatting(Session& s, const json& params);
json FoldingRanges(Session& s, const json& params);
// textDocument/publishDiagnostics for the unbalanced blocks of a document.
void PublishDiagnostics(Session& s, const TextDocument& doc);

// The Markdown of a help topic's memo lines: the framed title as a heading,
// the body as preformatted text, the See Also names as a list line.
std::string TopicMarkdown(const std::vector<std::string>& lines, const TextCodec& codec);

}  // namespace vemlo::lsp
