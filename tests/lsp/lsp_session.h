// The server's handlers driven in-process: a session initialized as a client
// would, and documents opened from files.
#pragma once

#include <string>

#include "vemlo-lsp/methods.h"
#include "vemlo-lsp/session.h"

namespace vemlo::lsp::test {

// A session after initialize with these initializationOptions, its
// notifications (diagnostics) collected.
struct LspSession {
  explicit LspSession(const json& initializationOptions = {{"codePage", "866"}});
  // Opens a file with its text as the client sends it (UTF-8); the file: URI.
  std::string Open(const std::string& nativePath);
  std::string OpenText(const std::string& nativePath, const std::string& utf8);
  json Call(const char* method, const json& params);
  // params with textDocument and position.
  static json At(const std::string& uri, int line, int character);

  Session S;
  std::vector<json> Sent;
};

// The document's lines with the edits applied (ranges within single lines or
// across them, as a client applies them), in the client's UTF-8.
std::string ApplyEdits(const std::string& utf8, const json& edits);

}  // namespace vemlo::lsp::test
