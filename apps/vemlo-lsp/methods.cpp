#include "methods.h"

#include "codec.h"
#include "features.h"
#include "params.h"
#include "session.h"

namespace vemlo::lsp {

std::vector<MethodEntry> Methods() {
  return {
      {"textDocument/didOpen", nullptr, DidOpen},
      {"textDocument/didChange", nullptr, DidChange},
      {"textDocument/didClose", nullptr, DidClose},
      {"textDocument/completion", Completion},
      {"textDocument/signatureHelp", SignatureHelp},
      {"textDocument/hover", Hover},
      {"textDocument/documentSymbol", DocumentSymbols},
      {"workspace/symbol", WorkspaceSymbols},
      {"textDocument/definition", Definition},
      {"textDocument/formatting", Formatting},
      {"textDocument/rangeFormatting", RangeFormatting},
      {"textDocument/foldingRange", FoldingRanges},
  };
}

json Initialize(Session& s, const json& params) {
  const json* init = OptionalMember(params, "initializationOptions");
  const json options = init && init->is_object() ? *init : json::object();
  codepage::CodePage cp = codepage::CodePage::Oem866;
  if (const json* name = OptionalMember(options, "codePage")) {
    const std::optional<codepage::CodePage> named =
        CodePageOption(name->is_string() ? name->get<std::string>() : name->dump());
    if (!named) throw ParamsError{"codePage must be 866, 1251, 1252 or utf-8"};
    cp = *named;
  }
  s.Codec = CodecOf(cp);
  ReadOptions(s.Work, options);
  json sync = {{"openClose", true}, {"change", 2}};  // 2: incremental
  json capabilities = {
      {"positionEncoding", "utf-16"},
      {"textDocumentSync", sync},
      {"completionProvider", {{"triggerCharacters", {"."}}}},
      {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}}},
      {"hoverProvider", true},
      {"documentSymbolProvider", true},
      {"workspaceSymbolProvider", true},
      {"definitionProvider", true},
      {"documentFormattingProvider", true},
      {"documentRangeFormattingProvider", true},
      {"foldingRangeProvider", true},
  };
  return {{"capabilities", capabilities}, {"serverInfo", {{"name", "vemlo-lsp"}}}};
}

}  // namespace vemlo::lsp
