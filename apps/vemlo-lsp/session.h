// What the server's handlers share: the open documents, the settings the
// client gave at initialize, and the way to send notifications.
#pragma once

#include <functional>

#include "documents.h"
#include "rpc.h"
#include "workspace.h"

namespace vemlo::lsp {

struct Session {
  DocumentMap Documents;
  TextCodec Codec;  // of the documents the client opens
  Workspace Work;
  std::function<void(const json&)> Send;
};

// The document of params.textDocument.uri; null when the client has not opened it.
const TextDocument* FindDocument(const Session& s, const json& params);

// textDocument/didOpen, didChange, didClose.
void DidOpen(Session& s, const json& params);
void DidChange(Session& s, const json& params);
void DidClose(Session& s, const json& params);

}  // namespace vemlo::lsp
