// The text open in the editor as the model and code insight read it: a line
// reader over it, its file name, size and cursor, and the editor's bookmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fox/model/program.h"

namespace vemlo {

// A bookmark of the editor: slot number, place in the text, and the window's
// row of the line and left column when it was set.
struct TxxBookmark {
  int Number = 0;
  int Line = 0;
  int Col = 0;
  int ScreenLine = 0;
  int LeftPos = 0;
};
using TxxBookmarkArr = std::vector<TxxBookmark>;  // sorted by line, then column

struct TxxEditedText {
  std::string FileName;  // full path, upper case
  int32_t EditorID = 0;
  int LineCount = 0;
  int CursorLine = 0;    // from 0
  int CursorCol = 0;     // from 0
  TxxLineReader Read;    // line n from 0; false past the end
};

// The same file as the edited one (file names of the model are upper case).
inline bool IsEditedFile(const TxxEditedText& text, const std::string& fileName) {
  return !fileName.empty() && fileName == text.FileName;
}

}  // namespace vemlo
