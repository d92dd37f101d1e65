// Unbalanced blocks over the scanner's statements of a whole file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fox/insight/block_balance.h"
#include "fox/model/scanner.h"

namespace vemlo {
namespace {

TxxBlockBalance Balance(const std::vector<std::string>& lines) {
  const TxxLineReader read = [&lines](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    line = lines[static_cast<size_t>(n)];
    return true;
  };
  TxxFoxStringArr statements;
  ScanStatements(read, 0, kToEndOfText, -1, statements);
  return CheckBlockBalance(statements, read);
}

// "line:col message" per problem, both from 1.
std::vector<std::string> Problems(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const TxxBlockProblem& p : Balance(lines).Problems)
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

TEST(BlockBalance, ABalancedClassFileGivesNothing) {
  EXPECT_TRUE(Problems({"#IFDEF DEBUG", "#DEFINE TRACE .T.", "#ELSE", "#DEFINE TRACE .F.", "#ENDIF",
                        "DEFINE CLASS frmBase AS Form", "  Text = .NULL.", "  PROTECTED nOpened",
                        "  PROCEDURE Init(tcTitle)", "    TRY", "      WITH THIS", "        FOR EACH o IN .Controls",
                        "          IF o.Visible", "            LOOP", "          ENDIF", "        ENDFOR",
                        "      ENDWITH", "    CATCH TO loErr", "      EXIT_CODE = 1", "    FINALLY",
                        "      #IF TRACE", "        ? 'done'", "      #ELIF .F.", "      #ENDIF", "    ENDTRY",
                        "  ENDPROC", "  HIDDEN FUNCTION Render", "    TEXT TO lcHtml TEXTMERGE NOSHOW",
                        "      ENDTRY inside a text", "    ENDTEXT", "    FOR EACH x IN y", "    NEXT",
                        "  ENDFUNC", "  PROCEDURE NoEnd", "    RETURN", "ENDDEFINE", "FUNCTION After",
                        "RETURN 1"})
                  .empty());
}

TEST(BlockBalance, VisualFoxProBlocksAreReportedAtTheirLines) {
  // TRY left open inside a method: told when the method ends at ENDPROC.
  EXPECT_EQ(Problems({"DEFINE CLASS c AS Custom", "PROCEDURE Go", "  TRY", "    x = 1", "  CATCH", "ENDPROC",
                      "ENDDEFINE"}),
            (Lines{"3:3 TRY without ENDTRY"}));
  // An ENDWITH without WITH changes nothing; a CATCH outside a TRY.
  EXPECT_EQ(Problems({"PROCEDURE Go", "IF a", "  ENDWITH", "ENDIF", "CATCH TO e"}),
            (Lines{"3:3 ENDWITH without WITH", "5:1 CATCH without TRY"}));
  // A #IF is open to the end of the file, across procedures and classes.
  EXPECT_EQ(Problems({"#IF DEBUG", "PROCEDURE A", "#IF .T.", "#ELSE", "#ENDIF", "DEFINE CLASS c AS Custom",
                      "ENDDEFINE"}),
            (Lines{"1:1 #IF without #ENDIF"}));
  EXPECT_EQ(Problems({"x = 1", " #ENDIF", "#ELSE"}), (Lines{"2:2 #ENDIF without #IF", "3:1 #ELSE without #IF"}));
  // Directives nest apart from the code: an IF opened in both #IF branches
  // and closed once after them leaves the first open.
  EXPECT_EQ(Problems({"#IF A", "IF x", "#ELSE", "IF y", "#ENDIF", "ENDIF"}), (Lines{"2:1 IF without ENDIF"}));
  // ENDFOR closes a FOR EACH; a FOR EACH closed by the wrong closer is told.
  EXPECT_EQ(Problems({"FOR EACH o IN a", "ENDSCAN", "ENDFOR", "FOR EACH o IN a", "ENDTRY"}),
            (Lines{"2:1 ENDSCAN without SCAN", "4:1 FOR EACH without ENDFOR", "5:1 ENDTRY without TRY"}));
}

TEST(BlockBalance, ClassesAndMethodsEndTheirBlocks) {
  // ENDDEFINE ends the method's blocks and the class; a class never closed is told at its line.
  EXPECT_EQ(Problems({"DEFINE CLASS a AS Custom", "PROCEDURE Go", "WITH THIS", "ENDDEFINE",
                      "DEFINE CLASS b AS Custom", "PROCEDURE Go"}),
            (Lines{"3:1 WITH without ENDWITH", "5:1 DEFINE CLASS without ENDDEFINE"}));
  // A second DEFINE CLASS before ENDDEFINE: the first one was left open.
  EXPECT_EQ(Problems({"DEFINE CLASS a AS Custom", "DEFINE CLASS b AS Custom", "ENDDEFINE", "ENDDEFINE"}),
            (Lines{"1:1 DEFINE CLASS without ENDDEFINE", "4:1 ENDDEFINE without DEFINE CLASS"}));
  // ENDPROC and ENDFUNC outside a procedure; a method may end without ENDPROC.
  EXPECT_EQ(Problems({"DEFINE CLASS a AS Custom", "  ENDFUNC", "PROCEDURE A", "ENDPROC", "ENDPROC",
                      "PROCEDURE B", "ENDDEFINE"}),
            (Lines{"2:3 ENDFUNC without FUNCTION", "5:1 ENDPROC without PROCEDURE"}));
}

TEST(BlockBalance, ClosedBlocksAreGivenAsSpans) {
  const TxxBlockBalance b = Balance({"DEFINE CLASS a AS Custom", "PROCEDURE Go", "TRY", "  WITH x", "  ENDWITH",
                                     "ENDTRY", "ENDWITH", "ENDDEFINE"});
  std::vector<std::pair<int, int>> spans;
  for (const TxxBlockSpan& s : b.Blocks) spans.emplace_back(s.First, s.Last);
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 7}, {2, 5}, {3, 4}}));
  ASSERT_EQ(b.Problems.size(), 1u);
  EXPECT_EQ(b.Problems[0].Line, 6);
  EXPECT_EQ(b.Problems[0].Fault, TxxBlockFault::StrayCloser);
}

}  // namespace
}  // namespace vemlo
