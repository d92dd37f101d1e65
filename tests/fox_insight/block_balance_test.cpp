// Unbalanced blocks over the scanner's statements of a whole file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fox/insight/block_balance.h"
#include "fox/model/scanner.h"

namespace vemlo {
namespace {

// "line:col message" per problem, both from 1.
std::vector<std::string> Problems(const std::vector<std::string>& lines) {
  const TxxLineReader read = [&lines](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    line = lines[static_cast<size_t>(n)];
    return true;
  };
  TxxFoxStringArr statements;
  ScanStatements(read, 0, kToEndOfText, -1, statements);
  std::vector<std::string> out;
  for (const TxxBlockProblem& p : FindUnbalancedBlocks(statements, read))
    out.push_back(std::to_string(p.Line + 1) + ":" + std::to_string(p.Col + 1) + " " + p.Message);
  return out;
}

using Lines = std::vector<std::string>;

TEST(BlockBalance, BalancedBlocksOfEveryKindGiveNothing) {
  EXPECT_TRUE(Problems({"FOR i = 1 TO 3", "  DO CASE", "  CASE i = 1", "    EXIT", "  OTHERWISE", "    LOOP",
                        "  ENDCASE", "NEXT", "SCAN", "  IF a", "  ELSE", "  ENDIF", "ENDSCAN", "do while .t.",
                        "enddo", "TEXT", "ENDIF inside a text", "ENDTEXT"})
                  .empty());
  // A statement continued over lines, a commented closer, a trailing comment.
  EXPECT_TRUE(Problems({"IF a ;", "   AND b", "* ENDIF", "x = 1 && ENDDO", "ENDIF"}).empty());
  EXPECT_TRUE(Problems({}).empty());
}

TEST(BlockBalance, BranchesNeedTheirOwnOpenerOnTop) {
  EXPECT_EQ(Problems({"IF a", "OTHERWISE", "ENDIF"}), (Lines{"2:1 OTHERWISE without DO CASE"}));
  EXPECT_EQ(Problems({"DO CASE", "ELSE", "ENDCASE"}), (Lines{"2:1 ELSE without IF"}));
  // An IF under the DO CASE that is still open hides the DO CASE from a CASE.
  EXPECT_EQ(Problems({"DO CASE", "CASE a", "  IF b", "  CASE c", "  ENDIF", "ENDCASE"}),
            (Lines{"4:3 CASE without DO CASE"}));
  EXPECT_EQ(Problems({"ELSE"}), (Lines{"1:1 ELSE without IF"}));
}

TEST(BlockBalance, ClosersEndTheirBlockAndTellWhatStayedOpenInside) {
  EXPECT_EQ(Problems({"IF a", "  FOR i = 1 TO 2", "ENDIF"}), (Lines{"2:3 FOR without ENDFOR"}));
  // A closer of no open block changes nothing: the IF is still closed by its ENDIF.
  EXPECT_EQ(Problems({"IF a", "  ENDDO", "ENDIF"}), (Lines{"2:3 ENDDO without DO WHILE"}));
  EXPECT_EQ(Problems({"next i"}), (Lines{"1:1 NEXT without FOR"}));
  EXPECT_EQ(Problems({"\t  ENDSCAN"}), (Lines{"1:4 ENDSCAN without SCAN"}));
}

TEST(BlockBalance, LoopJumpsOutsideLoopsAndBlocksLeftOpenAtTheProcedure) {
  EXPECT_EQ(Problems({"IF a", "  EXIT", "ENDIF", "LOOP"}),
            (Lines{"2:3 EXIT outside a loop", "4:1 LOOP outside a loop"}));
  // The next PROCEDURE ends the blocks of the one before; it starts afresh.
  EXPECT_EQ(Problems({"PROCEDURE A", "DO WHILE .T.", "  IF b", "PROCEDURE B", "ENDIF", "SCAN", "  LOOP"}),
            (Lines{"2:1 DO WHILE without ENDDO", "3:3 IF without ENDIF", "5:1 ENDIF without IF",
                   "6:1 SCAN without ENDSCAN"}));
  // TEXT without ENDTEXT takes the rest of the file as its body.
  EXPECT_EQ(Problems({"TEXT", "ENDIF", "PROCEDURE X"}), (Lines{"1:1 TEXT without ENDTEXT"}));
}

}  // namespace
}  // namespace vemlo
