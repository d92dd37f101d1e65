// Parameter hints: the call the cursor stands in, its parameter list in a small
// box beside the cursor, the parameter under the cursor highlighted.
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

// The open calls before the editor's cursor.
TxxParamArr ScanOpenCalls();
// The statement text left of the cursor: the cursor line cut or padded to the
// cursor column, preceded by the continued lines above it.
std::string TextBeforeCursor(const TxxLineReader& read, int cursorLine, int cursorCol);
// The open calls of a statement text.
TxxParamArr OpenCallsIn(const std::string& text);

// An open hint.
struct TxxParamHint {
  std::string Name;
  std::string Text;  // "(" names ")"
  int32_t ParamNo = 1;
  std::vector<std::string> Lines;
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int BoxColour = 0;
  int HighColour = 0;
};

// The box lines of a parameter text for an editor window width.
std::vector<std::string> WrapParamText(const std::string& text, int windowWidth);
// Column (0-based, in its line) and text of each highlighted piece for paramNo.
struct TxxHintPiece {
  int Line = 0;
  int Col = 0;
  std::string Text;
};
std::vector<TxxHintPiece> HighlightPieces(const std::vector<std::string>& lines, int paramNo);

void DrawParamHint(TxxParamHint& hint);
void ShowParamHint();

}  // namespace vemlo
