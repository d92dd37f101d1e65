// Unbalanced blocks of a program: a branch or a closer without its opener, an
// opener left open at the end of its procedure (or, for a class or a #IF, of
// the file), LOOP or EXIT outside a loop. The blocks are those of the table
// the structure review draws from (block_kinds.h), classes and methods included.
#pragma once

#include <string>
#include <vector>

#include "fox/model/edited_text.h"
#include "fox/model/program.h"

namespace vemlo {

enum class TxxBlockFault : unsigned char { LeftOpen, StrayBranch, StrayCloser, JumpOutsideLoop };

struct TxxBlockProblem {
  int Line = 0;  // from 0
  int Col = 0;   // from 0: the statement's first character that is not blank
  std::string Message;
  TxxBlockFault Fault = TxxBlockFault::LeftOpen;
};
using TxxBlockProblems = std::vector<TxxBlockProblem>;

// A block closed by its own closer: the lines of both statements' first lines.
struct TxxBlockSpan {
  int First = 0;
  int Last = 0;
};

struct TxxBlockBalance {
  TxxBlockProblems Problems;  // sorted by line and column
  std::vector<TxxBlockSpan> Blocks;
};

TxxBlockBalance CheckBlockBalance(const TxxFoxStringArr& statements, const TxxLineReader& read);

// The problems of the statements of a whole file, sorted by line and column.
TxxBlockProblems FindUnbalancedBlocks(const TxxFoxStringArr& statements, const TxxLineReader& read);

}  // namespace vemlo
