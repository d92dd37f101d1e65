// Unbalanced blocks of a program: a branch or a closer without its opener, an
// opener left open at the end of its procedure, LOOP or EXIT outside a loop.
// The same statements that the structure review draws with a "?" corner or
// leaves undrawn.
#pragma once

#include <string>
#include <vector>

#include "fox/model/edited_text.h"
#include "fox/model/program.h"

namespace vemlo {

struct TxxBlockProblem {
  int Line = 0;  // from 0
  int Col = 0;   // from 0: the statement's first character that is not blank
  std::string Message;
};
using TxxBlockProblems = std::vector<TxxBlockProblem>;

// The problems of the statements of a whole file, sorted by line and column.
TxxBlockProblems FindUnbalancedBlocks(const TxxFoxStringArr& statements, const TxxLineReader& read);

}  // namespace vemlo
