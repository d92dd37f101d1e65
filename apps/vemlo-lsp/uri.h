// file: URIs and the native paths they name.
#pragma once

#include <optional>
#include <string>

namespace vemlo::lsp {

// The native path of a file: URI ("file:///home/a%20b/X.PRG" is
// "/home/a b/X.PRG"); none for other schemes, other hosts or broken escapes.
std::optional<std::string> PathOfUri(const std::string& uri);
// The file: URI of an absolute native path, every byte outside the unreserved
// set and "/" escaped.
std::string UriOfPath(const std::string& path);

}  // namespace vemlo::lsp
