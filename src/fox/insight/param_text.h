// Parameter hints without the screen: the calls left open before the cursor,
// the lines of a parameter text in a box, and the pieces of one parameter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fox/model/program.h"

namespace vemlo {

// One call left open before the cursor.
struct TxxParam {
  std::string Name;
  int32_t ParamNo = 1;  // 1 + the commas seen at this call's level
};
using TxxParamArr = std::vector<TxxParam>;  // innermost call last

// The statement text left of the cursor: the cursor line cut or padded to the
// cursor column, preceded by the continued lines above it.
std::string TextBeforeCursor(const TxxLineReader& read, int cursorLine, int cursorCol);
// The open calls of a statement text.
TxxParamArr OpenCallsIn(const std::string& text);

// The box lines of a parameter text for an editor window width.
std::vector<std::string> WrapParamText(const std::string& text, int windowWidth);
// Column (0-based, in its line) and text of each highlighted piece for paramNo.
struct TxxHintPiece {
  int Line = 0;
  int Col = 0;
  std::string Text;
};
std::vector<TxxHintPiece> HighlightPieces(const std::vector<std::string>& lines, int paramNo);

}  // namespace vemlo
