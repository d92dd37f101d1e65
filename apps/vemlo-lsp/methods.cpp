#include "methods.h"

#include "session.h"

namespace vemlo::lsp {

std::vector<MethodEntry> Methods() {
  return {
      {"textDocument/didOpen", nullptr, DidOpen},
      {"textDocument/didChange", nullptr, DidChange},
      {"textDocument/didClose", nullptr, DidClose},
  };
}

json Initialize(Session&, const json&) {
  json sync = {{"openClose", true}, {"change", 2}};  // 2: incremental
  return {{"capabilities", {{"positionEncoding", "utf-16"}, {"textDocumentSync", sync}}},
          {"serverInfo", {{"name", "vemlo-lsp"}}}};
}

}  // namespace vemlo::lsp
