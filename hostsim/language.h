// The host's language file (.lng): an optional header, then one quoted message
// per number, counted from 0. The texts are OEM bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vemlo::sim {

// Parses the bytes of a language file: lines starting with "//" are comments,
// a line starting with ".Language=" is the header, every other line that starts
// with a double quote (after blanks) is the next message; inside the quotes \"
// stands for a quote and \\ for a backslash. Anything after the closing quote and
// lines of other forms are ignored.
std::vector<std::string> ParseLanguage(const std::string& bytes);

// Reads and parses a language file by native path; nothing when it cannot be read.
std::optional<std::vector<std::string>> LoadLanguageFile(const std::string& nativePath);

}  // namespace vemlo::sim
