#include "lsp_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "demo_copy.h"
#include "vemlo-lsp/documents.h"
#include "lib/codepage.h"
#include "vemlo-lsp/uri.h"

namespace vemlo::lsp::test {

LspSession::LspSession(const json& init) {
  S.Send = [this](const json& m) { Sent.push_back(m); };
  Initialize(S, {{"initializationOptions", init}});
}

std::string LspSession::OpenText(const std::string& nativePath, const std::string& utf8) {
  const std::string uri = UriOfPath(nativePath);
  DidOpen(S, {{"textDocument", {{"uri", uri}, {"languageId", "foxpro"}, {"version", 1}, {"text", utf8}}}});
  return uri;
}

std::string LspSession::Open(const std::string& nativePath) {
  return OpenText(nativePath, codepage::ToUtf8(codepage::DecodeBytes(ReadFile(nativePath), codepage::CodePage::Oem866)));
}

json LspSession::Call(const char* method, const json& params) {
  for (const MethodEntry& e : Methods())
    if (std::string(e.Name) == method && e.Request) return e.Request(S, params);
  ADD_FAILURE() << "no request " << method;
  return nullptr;
}

json LspSession::At(const std::string& uri, int line, int character) {
  return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

std::string ApplyEdits(const std::string& utf8, const json& edits) {
  std::vector<std::string> lines = SplitLines(utf8);
  // From the last edit to the first, so that earlier positions stay right.
  std::vector<json> list(edits.begin(), edits.end());
  std::sort(list.begin(), list.end(), [](const json& a, const json& b) {
    const json &x = a["range"]["start"], &y = b["range"]["start"];
    return std::make_pair(x["line"].get<int>(), x["character"].get<int>()) >
           std::make_pair(y["line"].get<int>(), y["character"].get<int>());
  });
  TextDocument doc;
  doc.Lines = lines;
  for (const json& e : list) {
    const Position a{e["range"]["start"]["line"], e["range"]["start"]["character"]};
    const Position b{e["range"]["end"]["line"], e["range"]["end"]["character"]};
    ApplyEdit(doc, a, b, e["newText"].get<std::string>());
  }
  return ClientText(doc);
}

}  // namespace vemlo::lsp::test
