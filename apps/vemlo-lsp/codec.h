// The text codec of a code page: the documents' bytes as the client's UTF-8.
#pragma once

#include <optional>
#include <string>

#include "documents.h"
#include "lib/codepage.h"

namespace vemlo::lsp {

TextCodec CodecOf(codepage::CodePage cp);
// A code page as initializationOptions name it: "866", "1251", "1252", "utf-8".
std::optional<codepage::CodePage> CodePageOption(const std::string& name);

}  // namespace vemlo::lsp
