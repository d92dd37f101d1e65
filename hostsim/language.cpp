#include "language.h"

#include <fstream>
#include <iterator>

namespace vemlo::sim {

namespace {

// The text between the opening quote at `start` and its closing quote (or the
// end of the line when the quote is never closed).
std::string QuotedText(const std::string& line, size_t start) {
  std::string text;
  for (size_t i = start + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') break;
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
      text += line[++i];
      continue;
    }
    text += c;
  }
  return text;
}

}  // namespace

std::vector<std::string> ParseLanguage(const std::string& bytes) {
  std::vector<std::string> messages;
  size_t pos = 0;
  // A UTF-8 byte order mark is not part of the first line.
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line.compare(first, 2, "//") == 0) continue;
    if (line[first] == '.') continue;  // the .Language= header
    if (line[first] == '"') messages.push_back(QuotedText(line, first));
  }
  return messages;
}

std::optional<std::vector<std::string>> LoadLanguageFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ParseLanguage(bytes);
}

}  // namespace vemlo::sim
