// The parameter hint (editor command 2): the parameter list of the call the
// cursor stands in, in a small box beside the cursor, the parameter under the
// cursor highlighted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fox/insight/param_text.h"

namespace vemlo {

// The open calls before the editor's cursor.
TxxParamArr ScanOpenCalls();

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

void DrawParamHint(TxxParamHint& hint);
void ShowParamHint();

}  // namespace vemlo
