// A program file as lines, with each line's own ending kept, and its
// replacement by a new file beside it that is renamed over it.
#pragma once

#include <string>
#include <vector>

#include "fox/model/edited_text.h"

namespace vemlo::cli {

struct SourceFile {
  std::string Native;  // the path as given
  std::string Dos;     // the model's name: full DOS path, upper case
  std::vector<std::string> Lines;
  std::vector<std::string> Ends;  // "\r\n", "\n" or "" (the last line without one)
};

// The model's name of a file: its full DOS path in upper case.
std::string ModelPath(const std::string& native);
// False with `error` set when the file cannot be read.
bool ReadSourceFile(const std::string& path, SourceFile& file, std::string& error);
std::string JoinLines(const SourceFile& file);
// The text over the file's lines for the model, the cursor on line 0.
TxxEditedText EditedText(const SourceFile& file);
// Writes `bytes` to a new file in the same folder and renames it over `path`,
// keeping its permissions; on failure the file is as it was and no new file stays.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace vemlo::cli
