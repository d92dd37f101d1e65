// Visual FoxPro source in the layout views: the formatter's indentation of
// classes, methods and the new blocks, the structure review's drawing of them,
// the procedure list's class and method items; properties on generated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fox/insight/block_balance.h"
#include "fox/insight/formatter.h"
#include "fox/insight/proc_entries.h"
#include "fox/insight/structure_entries.h"
#include "lib/xxlib.h"
#include "views_support.h"

namespace vemlo {
namespace {

TxxFoxProg TableOf(const std::vector<std::string>& lines) {
  TxxFoxProg prog;
  prog.FileName = "C:\\P\\FORMS.PRG";
  prog.IsLibrary = 1;
  BuildProcTable(prog, static_cast<int>(lines.size()), test::LinesOf(lines), false);
  return prog;
}

TxxFmtOptions Defaults() { return test::FmtDefaults(); }

// Formats every entry of the text in turn, as the command does with the cursor
// in each one.
std::vector<std::string> FormatAll(std::vector<std::string> lines, const TxxFmtOptions& o) {
  const TxxFoxProg prog = TableOf(lines);
  for (const TxxFoxProc& proc : prog.Procs) {
    TxxFoxStringArr statements;
    ScanStatements(test::LinesOf(lines), proc.FirstLine, proc.LastLine, -1, statements);
    TxxFmtLines io;
    io.Read = test::LinesOf(lines);
    io.Write = [&](int line, const std::string& text) {
      lines[line] = text;
      return true;
    };
    io.ScreenCol = [&](int line, int pos) {
      return static_cast<int>(Min(static_cast<size_t>(pos), lines[line].size()));
    };
    EXPECT_TRUE(FormatStatements(statements, o, io, proc.Kind == pkMethod));
  }
  return lines;
}

const std::vector<std::string> kForm = {
    "* Form class",
    "DEFINE CLASS frmMain AS Form",
    "Caption = \"Main\"",
    "  Text = .NULL.",
    "PROTECTED nCount",
    "PROCEDURE Init",
    "LPARAMETERS tcTitle",
    "TRY",
    "x = 1",
    "   CATCH TO loErr",
    "WITH THIS",
    ".Caption = tcTitle",
    "ENDWITH",
    "FINALLY",
    "FOR EACH o IN THIS.Controls",
    "o.Visible = .T.",
    "ENDFOR",
    "ENDTRY",
    "TEXT TO lcX TEXTMERGE NOSHOW",
    "  <<x>>",
    "ENDTEXT",
    "ENDPROC",
    "HIDDEN PROCEDURE Secret",
    "#IF DEBUG",
    "? 1",
    "#ELSE",
    "? 2",
    "#ENDIF",
    "RETURN",
    "ENDPROC",
    "ENDDEFINE",
    "    y = 1",
};

TEST(VfpFormatter, ClassBodyMethodsAndBlocks) {
  const std::vector<std::string> expected = {
      "* Form class",
      "DEFINE CLASS frmMain AS Form",
      "\tCaption = \"Main\"",
      "\tText = .NULL.",
      "\tPROTECTED nCount",
      "\tPROCEDURE Init",
      "\tLPARAMETERS tcTitle",
      "\t\tTRY",
      "\t\t\tx = 1",
      "\t\tCATCH TO loErr",
      "\t\t\tWITH THIS",
      "\t\t\t\t.Caption = tcTitle",
      "\t\t\tENDWITH",
      "\t\tFINALLY",
      "\t\t\tFOR EACH o IN THIS.Controls",
      "\t\t\t\to.Visible = .T.",
      "\t\t\tENDFOR",
      "\t\tENDTRY",
      "\t\tTEXT TO lcX TEXTMERGE NOSHOW",
      "  <<x>>",
      "\t\tENDTEXT",
      "\tENDPROC",
      "\tHIDDEN PROCEDURE Secret",
      "\t\t#IF DEBUG",
      "\t\t\t? 1",
      "\t\t#ELSE",
      "\t\t\t? 2",
      "\t\t#ENDIF",
      "\t\tRETURN",
      "\tENDPROC",
      "ENDDEFINE",
      "y = 1",
  };
  EXPECT_EQ(test::JoinLines(FormatAll(kForm, Defaults())), test::JoinLines(expected));
}

TEST(VfpFormatter, AMethodWithoutEndprocEndsWithItsReturnAtTheHeading) {
  TxxFmtOptions o = Defaults();
  o.Step = ParseIndentOption("   t  2s");
  o.Proc = ParseIndentOption("   t  1s");
  const std::vector<std::string> got =
      FormatAll({"DEFINE CLASS c AS Custom", "PROC A", "x = 1", "RETURN", "PROC B", "ENDD"}, o);
  EXPECT_EQ(test::JoinLines(got),
            test::JoinLines({"DEFINE CLASS c AS Custom", "  PROC A", "     x = 1", "  RETURN",
                             "  PROC B", "   ENDD"}));  // ENDD is ENDDO, not ENDDEFINE
}

const std::string kBar = "\xB3", kOpen = "\xDA", kBranch = "\xC3", kClose = "\xC0", kLine = "\xC4";
const std::string kLoopBar = "\xBA", kLoopOpen = "\xD6", kLoopClose = "\xD3", kLoopJump = "\xC7";

TxxLangStructItemArr Review(const std::vector<std::string>& lines) {
  const TxxFoxStringArr statements = test::StatementsOf(lines);
  TxxStructInput in;
  in.Statements = &statements;
  in.Read = test::LinesOf(lines);
  in.CursorLine = 0;
  return BuildStructEntries(in, TxxReviewOptions{});
}

TEST(VfpReview, TryWithForEachAndDirectivesNest) {
  const std::vector<std::string> lines = {
      "PROCEDURE Init", "TRY", "x = 1", "CATCH TO oErr", "y = 2", "FINALLY", "ENDTRY",
      "WITH THIS", "FOR EACH o IN .Controls", "LOOP", "NEXT", "ENDWITH", "#IF DEBUG", "? 1",
      "#ELSE", "#ENDIF", "ENDWITH", "ENDPROC"};
  const TxxLangStructItemArr e = Review(lines);
  ASSERT_EQ(e.size(), lines.size());
  const std::string in1 = "   ", body = "   " + kBar + "     ";
  const std::vector<std::string> graphs = {
      "   ",
      in1 + kOpen + kLine + " ",
      body,
      in1 + kBranch + kLine + " ",
      body,
      in1 + kBranch + kLine + " ",
      in1 + kClose + kLine + " ",
      in1 + kLoopOpen + kLine + " ",
      in1 + kLoopBar + "  " + kLoopOpen + kLine + " ",
      in1 + kLoopBar + "  " + kLoopJump + kLine + kLine + kLine + kLine + " ",
      in1 + kLoopBar + "  " + kLoopClose + kLine + " ",
      in1 + kLoopClose + kLine + " ",
      in1 + kOpen + kLine + " ",
      body,
      in1 + kBranch + kLine + " ",
      in1 + kClose + kLine + " ",
      "?" + kLine + " ",  // one ENDWITH too many
      "   ",
  };
  for (size_t i = 0; i < graphs.size(); ++i) EXPECT_EQ(e[i].Graph, graphs[i]) << lines[i];
  EXPECT_TRUE(e[1].Flags & efCondOpen);
  EXPECT_TRUE(e[3].Flags & efCondBranch);
  EXPECT_TRUE(e[6].Flags & efCondClose);
  EXPECT_TRUE(e[7].Flags & efLoopOpen);
  EXPECT_TRUE(e[9].Flags & efLoopJump);
  EXPECT_TRUE(e[12].Flags & efDirective);
  EXPECT_TRUE(e[17].Flags & efHeading);
}

TEST(VfpReview, BranchesAndEndsOfTheWrongBlockGetTheQuestionMark) {
  const TxxLangStructItemArr e =
      Review({"PROCEDURE P", "IF a", "CATCH", "ENDTRY", "TRY", "ELSE", "ENDWITH", "ENDIF"});
  ASSERT_EQ(e.size(), 8u);
  EXPECT_EQ(e[2].Graph, "   ?" + kLine + " ");   // CATCH under IF
  EXPECT_EQ(e[3].Graph, "   ?" + kLine + " ");   // ENDTRY closing the IF
  EXPECT_EQ(e[4].Graph, "   " + kOpen + kLine + " ");
  EXPECT_EQ(e[5].Graph, "   ?" + kLine + " ");   // ELSE under TRY
  EXPECT_EQ(e[6].Graph, "   ?" + kLine + " ");   // ENDWITH closing the TRY
  EXPECT_EQ(e[7].Graph, kClose + kLine + " ");     // a surplus ENDIF, as in FoxPro 2.x code
}

TEST(VfpProcList, ClassesAndMethods) {
  const TxxFoxProg prog = TableOf({"DEFINE CLASS frmMain AS Form", "PROCEDURE Init(tcTitle)",
                                   "PROTECTED FUNCTION Helper", "HIDDEN PROCEDURE Secret",
                                   "ENDDEFINE", "PROCEDURE Free"});
  ASSERT_EQ(prog.Procs.size(), 7u);
  EXPECT_EQ(ProcEntryCount(prog.Procs), 6);  // the ENDDEFINE entry is not counted
  EXPECT_EQ(ProcItemText(prog.Procs[1], false, "()", 80), "     1 \xC3\xC4" "class frmMain AS Form");
  EXPECT_EQ(ProcItemText(prog.Procs[2], false, "(tcTitle)", 80),
            "     2 \xB3 \xC3\xC4proc frmMain.Init (tcTitle)");
  EXPECT_EQ(ProcItemText(prog.Procs[3], false, "()", 80),
            "     3 \xB3 \xC3\xC4protected func frmMain.Helper ()");
  EXPECT_EQ(ProcItemText(prog.Procs[4], false, "()", 80),
            "     4 \xB3 \xC3\xC4hidden proc frmMain.Secret ()");
  EXPECT_EQ(ProcItemText(prog.Procs[6], false, "()", 80), "     6 \xC3\xC4proc Free ()");

  TxxProcListInput in;
  in.Procs = &prog.Procs;
  in.Width = 80;
  in.Height = 20;
  in.CursorLine = 3;
  const TxxProcList list = BuildProcList(in, [](int) { return std::string(); }, nullptr);
  ASSERT_EQ(list.Items.size(), 5u);  // no item for the unnamed main entry and the ENDDEFINE
  EXPECT_EQ(list.Selected, 3);
  EXPECT_EQ(list.Items[3].Target.Line, 3);
}

// Generated class files: random blocks in methods, properties named like commands.
std::vector<std::string> GenerateClassFile(std::mt19937& rng, bool balanced) {
  static const char* const kOpen[] = {"TRY", "WITH THIS", "FOR EACH o IN THIS.Controls", "#IF DEBUG",
                                      "IF x", "DO CASE", "FOR i = 1 TO 2", "SCAN", "DO WHILE .T."};
  static const char* const kClose[] = {"ENDTRY", "ENDWITH", "ENDFOR", "#ENDIF", "ENDIF",
                                       "ENDCASE", "NEXT", "ENDSCAN", "ENDDO"};
  static const char* const kMiddle[] = {"CATCH TO e", "", "", "#ELSE", "ELSE", "CASE y", "", "", ""};
  static const char* const kSimple[] = {"x = 1", ".Value = 2", "LOCAL a, b AS String", "* note",
                                        "y = 'a && b'  && c", "", "LOOP", "THIS.Helper(1)",
                                        "RETURN .T.", "z = 1 ;", "&& amp"};
  static const char* const kProps[] = {"Text = .NULL.", "Caption = 'x'", "Value = 0", "Name = \"n\"",
                                       "PROTECTED nA, nB", "DIMENSION aX[2,3]", "* prop comment"};
  std::uniform_int_distribution<int> pick(0, 99), blanks(0, 5);
  const auto pad = [&](const std::string& s) {
    std::string lead;
    for (int i = blanks(rng); i > 0; --i) lead += pick(rng) < 30 ? '\t' : ' ';
    return lead + s + (pick(rng) < 20 ? "  " : "");
  };
  std::vector<std::string> lines;
  for (int c = 1 + pick(rng) % 3; c > 0; --c) {
    lines.push_back(pad("DEFINE CLASS c" + std::to_string(c) + " AS Custom"));
    for (int p = pick(rng) % 5; p > 0; --p) lines.push_back(pad(kProps[pick(rng) % 7]));
    for (int m = 1 + pick(rng) % 3; m > 0; --m) {
      static const char* const kVis[] = {"", "PROTECTED ", "HIDDEN "};
      lines.push_back(pad(std::string(kVis[pick(rng) % 3]) + "PROCEDURE m" + std::to_string(m)));
      std::vector<int> open;
      for (int n = pick(rng) % 25; n > 0; --n) {
        const int p = pick(rng);
        if (p < 25) {
          open.push_back(p % 9);
          lines.push_back(pad(kOpen[p % 9]));
        } else if (p < 40 && !open.empty()) {
          if (*kMiddle[open.back()]) lines.push_back(pad(kMiddle[open.back()]));
          lines.push_back(pad(kClose[open.back()]));
          open.pop_back();
        } else if (p < 45) {
          lines.push_back(pad("TEXT TO lcX TEXTMERGE NOSHOW"));
          lines.push_back("   <<x>>  ");
          lines.push_back(pad("ENDTEXT"));
        } else if (!balanced && p < 50) {
          lines.push_back(pad(kClose[p % 9]));
        } else {
          const std::string s = kSimple[p % 11];
          if (balanced && s == "LOOP") continue;
          lines.push_back(pad(s));
          if (s.back() == ';') lines.push_back(pad("2"));
        }
      }
      while (balanced && !open.empty()) {
        lines.push_back(pad(kClose[open.back()]));
        open.pop_back();
      }
      // A directive line directly above a declaration joins that declaration.
      if (balanced) lines.push_back(pad("x = 0"));
      if (pick(rng) < 70) lines.push_back(pad("ENDPROC"));
    }
    lines.push_back(pad("ENDDEFINE"));
  }
  return lines;
}

TEST(VfpProperty, TheFormatterChangesOnlyBlanksAndIsIdempotent) {
  std::mt19937 rng(20261209);
  TxxFmtOptions variants[2] = {Defaults(), Defaults()};
  variants[1].Base = ParseIndentOption("   t  2s");
  variants[1].Proc = ParseIndentOption("   t  1s");
  variants[1].Step = ParseIndentOption("   t  3s");
  for (int i = 0; i < 300; ++i) {
    const std::vector<std::string> original = GenerateClassFile(rng, i % 2 == 0);
    for (const TxxFmtOptions& o : variants) {
      const std::vector<std::string> once = FormatAll(original, o);
      ASSERT_EQ(once.size(), original.size());
      for (size_t k = 0; k < once.size(); ++k)
        ASSERT_EQ(Trim(once[k]), Trim(original[k])) << k << "\n" << test::JoinLines(original);
      ASSERT_EQ(test::JoinLines(FormatAll(once, o)), test::JoinLines(once))
          << test::JoinLines(original);
    }
  }
}

TEST(VfpProperty, BarsBalanceOnBalancedCode) {
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    const std::vector<std::string> lines = GenerateClassFile(rng, true);
    const TxxFoxProg prog = TableOf(lines);
    for (const TxxFoxProc& proc : prog.Procs) {
      TxxFoxStringArr statements;
      ScanStatements(test::LinesOf(lines), proc.FirstLine, proc.LastLine, -1, statements);
      TxxStructInput in;
      in.Statements = &statements;
      in.Read = test::LinesOf(lines);
      const TxxLangStructItemArr entries = BuildStructEntries(in, TxxReviewOptions{});
      int depth = 0;
      for (const TxxLangStructItem& e : entries) {
        ASSERT_EQ(e.Graph.find('?'), std::string::npos) << e.Text << "\n" << test::JoinLines(lines);
        if (e.Flags & (efCondOpen | efLoopOpen)) ++depth;
        if (e.Flags & (efCondClose | efLoopClose)) --depth;
        if (e.StmtKind == stDirIf) ++depth;
        if (e.StmtKind == stDirEndIf) --depth;
        ASSERT_GE(depth, 0);
        if (e.StmtKind == stProcedure || e.StmtKind == stEndProc || e.StmtKind == stEndDefine) {
          ASSERT_EQ(depth, 0) << e.Text;
          ASSERT_EQ(e.Level, 0);
        }
      }
      ASSERT_EQ(depth, 0) << test::JoinLines(lines);
    }
  }
}

// The block-balance check agrees with the generator: nothing on balanced
// files, every block closed; one closer taken away leaves its block open.
TEST(VfpProperty, BlockBalanceFindsNothingOnBalancedCodeAndTheLostCloser) {
  std::mt19937 rng(11);
  const auto check = [](const std::vector<std::string>& lines) {
    TxxFoxStringArr statements;
    ScanStatements(test::LinesOf(lines), 0, kToEndOfText, -1, statements);
    return CheckBlockBalance(statements, test::LinesOf(lines));
  };
  const auto isCloser = [](const std::string& line) {
    const std::string t = UpperCase(Trim(line));
    for (const char* c : {"ENDTRY", "ENDWITH", "ENDFOR", "#ENDIF", "ENDIF", "ENDCASE", "NEXT", "ENDSCAN", "ENDDO",
                          "ENDTEXT", "ENDDEFINE"})
      if (t == c) return true;
    return false;
  };
  int mutated = 0;
  for (int i = 0; i < 200; ++i) {
    const std::vector<std::string> lines = GenerateClassFile(rng, true);
    const TxxBlockBalance balance = check(lines);
    ASSERT_TRUE(balance.Problems.empty()) << balance.Problems[0].Line + 1 << " " << balance.Problems[0].Message
                                          << "\n" << test::JoinLines(lines);
    const size_t closers = static_cast<size_t>(std::count_if(lines.begin(), lines.end(), isCloser));
    ASSERT_EQ(balance.Blocks.size(), closers) << test::JoinLines(lines);
    std::vector<size_t> at;
    // Not ENDTEXT: without it a text runs on to the next text's ENDTEXT, balanced again.
    for (size_t k = 0; k < lines.size(); ++k)
      if (isCloser(lines[k]) && UpperCase(Trim(lines[k])) != "ENDTEXT") at.push_back(k);
    if (at.empty()) continue;
    std::vector<std::string> cut = lines;
    const size_t gone = at[static_cast<size_t>(rng() % at.size())];
    cut.erase(cut.begin() + static_cast<std::ptrdiff_t>(gone));
    ++mutated;
    ASSERT_FALSE(check(cut).Problems.empty()) << "without line " << gone + 1 << "\n" << test::JoinLines(lines);
  }
  EXPECT_GT(mutated, 150);
}

}  // namespace
}  // namespace vemlo
