#include "uri.h"

#include <cctype>

namespace vemlo::lsp {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

}  // namespace

std::optional<std::string> PathOfUri(const std::string& uri) {
  if (!StartsWithNoCase(uri, "file://")) return std::nullopt;
  std::string rest = uri.substr(7);
  const size_t slash = rest.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  rest = rest.substr(slash);
  const size_t cut = rest.find_first_of("?#");
  if (cut != std::string::npos) rest.resize(cut);
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      path += rest[i];
      continue;
    }
    if (i + 2 >= rest.size()) return std::nullopt;
    const int hi = HexValue(rest[i + 1]);
    const int lo = HexValue(rest[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    const char byte = static_cast<char>(hi * 16 + lo);
    if (byte == '\0') return std::nullopt;
    path += byte;
    i += 2;
  }
  return path;
}

std::string UriOfPath(const std::string& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string uri = "file://";
  if (path.empty() || path[0] != '/') uri += '/';
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

}  // namespace vemlo::lsp
