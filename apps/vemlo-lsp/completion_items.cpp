// Completion: the plug-in's candidate groups as completion items, in the
// plug-in's order; the group header is the detail, the description the
// documentation.
#include <cstdio>

#include "features.h"
#include "fox/insight/completion.h"

namespace vemlo::lsp {
namespace {

// More rows than a list can usefully show: the rest come with a longer prefix.
constexpr int kMaxItems = 5000;

// CompletionItemKind of a candidate; elements by their group.
int ItemKind(unsigned char kind, const std::string& header) {
  enum { Method = 2, Function = 3, Field = 5, Variable = 6, Class = 7, Module = 9, Property = 10, File = 17, Constant = 21 };
  switch (kind) {
    case skProc: return Function;
    case skMethod: return Method;
    case skDefine: return Constant;
    case skBase: return Class;
    case skTable: return File;
    case skBaseField:
    case skTableField: return Field;
    case skGlobalOption:
    case skLocalOption: return Property;
    case skElement:
      if (header == "var" || header == "arrays") return Variable;
      if (header == "aliases") return Module;
      return Field;  // the fields of a cursor
    default: return Variable;
  }
}

}  // namespace

json Completion(Session& s, const json& params) {
  json items = json::array();
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return {{"isIncomplete", false}, {"items", items}};
  ProjectState& p = *r.State;
  WordAt(p, *r.Doc, r.At);
  if (!CollectCandidates(p.Insight, p.Project, p.Ini)) return {{"isIncomplete", false}, {"items", items}};
  const TextCodec& codec = r.Doc->Codec;
  const auto client = [&codec](const std::string& bytes) { return ToClientText(codec, bytes); };
  // The rows the plug-in's list shows for the prefix typed; the client asks
  // again as the prefix changes.
  const std::string& prefix = p.Insight.Prefix;
  std::string header;
  int order = 0;
  bool cut = false;
  for (const TxxSymbToComplete& c : p.Insight.Candidates) {
    if (c.Kind == skHeader) {
      header = c.Name;
      continue;
    }
    if (c.Name.empty() || !MatchesPrefix(c.Name, prefix)) continue;
    if (order == kMaxItems) {
      cut = true;
      break;
    }
    char sort[16];
    std::snprintf(sort, sizeof sort, "%08d", order++);
    json item = {{"label", client(c.Name)}, {"kind", ItemKind(c.Kind, header)}, {"detail", client(header)},
                 {"sortText", sort}};
    if (!c.Descr.empty()) item["documentation"] = client(c.Descr);
    items.push_back(std::move(item));
  }
  p.Insight.Candidates.clear();  // they live for this request only
  return {{"isIncomplete", cut || !prefix.empty()}, {"items", items}};
}

}  // namespace vemlo::lsp
