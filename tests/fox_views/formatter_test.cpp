// The indentation formatter: options, comment columns, the indentation stack.
#include "fox/insight/formatter.h"

#include <gtest/gtest.h>

#include <random>

#include "lib/xxlib.h"
#include "views_support.h"

namespace vemlo {
namespace {

int ScreenColOf(const std::string& s, int pos, int tab = 8) {
  int col = 0;
  for (int i = 0; i < pos && i < static_cast<int>(s.size()); ++i)
    col = s[i] == '\t' ? (col / tab + 1) * tab : col + 1;
  if (pos > static_cast<int>(s.size())) col += pos - static_cast<int>(s.size());
  return col;
}

TxxFmtOptions Defaults() { return test::FmtDefaults(); }

// Formats lines in memory the way the command formats the editor.
std::vector<std::string> Format(std::vector<std::string> lines, const TxxFmtOptions& o) {
  const TxxFoxStringArr statements = test::StatementsOf(lines);
  TxxFmtLines io;
  io.Read = test::LinesOf(lines);
  io.Write = [&](int line, const std::string& text) {
    lines[line] = text;
    return true;
  };
  io.ScreenCol = [&](int line, int pos) { return ScreenColOf(lines[line], pos); };
  EXPECT_TRUE(FormatStatements(statements, o, io));
  return lines;
}

TEST(FormatterOptions, IndentFieldsAndCommentColumns) {
  EXPECT_EQ(ParseIndentOption("  1t   s").Tabs, 1);
  EXPECT_EQ(ParseIndentOption("  1t   s").Spaces, 0);
  EXPECT_EQ(ParseIndentOption("   t  8s").Spaces, 8);
  EXPECT_EQ(ParseIndentOption("  2t 12s").Tabs, 2);
  EXPECT_EQ(ParseIndentOption("  2t 12s").Spaces, 12);
  // Not a number, negative, or a short text: 0.
  EXPECT_EQ(ParseIndentOption(" x1t -3s").Tabs, 0);
  EXPECT_EQ(ParseIndentOption(" x1t -3s").Spaces, 0);
  EXPECT_EQ(ParseIndentOption("  3").Tabs, 3);
  EXPECT_EQ(ParseIndentOption("").Spaces, 0);
  EXPECT_EQ(IndentText({{1, 2}, {0, 3}, {2, 0}}), "\t  " "   " "\t\t");

  EXPECT_EQ(ParseCommentColumns(" 41 , 61 "), (std::vector<int>{41, 61}));
  EXPECT_EQ(ParseCommentColumns("61,41"), (std::vector<int>{61, 41}));
  EXPECT_EQ(ParseCommentColumns("4 1,0,-3,x,,12a,7"), (std::vector<int>{41, 7}));
  EXPECT_TRUE(ParseCommentColumns("").empty());
}

TEST(FormatterComments, FoundOutsideStringsOnly) {
  EXPECT_EQ(FindInlineComment("x = 1 && one"), 6);
  EXPECT_EQ(FindInlineComment("x = \"&&\" && two"), 9);
  EXPECT_EQ(FindInlineComment("x = '&&' + [&&] && three"), 16);
  EXPECT_EQ(FindInlineComment("x = \"open && hidden"), -1);  // unterminated literal
  EXPECT_EQ(FindInlineComment("x = [a' && b"), -1);
  EXPECT_EQ(FindInlineComment("x = 1 & 2"), -1);
}

TEST(FormatterComments, MovedToTheFirstColumnRightOfTheCode) {
  const auto col = [](const std::string& s) { return [s](int pos) { return ScreenColOf(s, pos); }; };
  const std::string code30 = std::string(30, 'a') + " && c";
  const std::string code50 = std::string(50, 'b') + "   && c";
  const std::string code65 = std::string(65, 'c') + " && c";
  std::string out;
  ASSERT_TRUE(PlaceInlineComment(code30, {41, 61}, col(code30), out));
  EXPECT_EQ(out.find("&&"), 40u);
  EXPECT_EQ(out, std::string(30, 'a') + std::string(10, ' ') + "&& c");
  ASSERT_TRUE(PlaceInlineComment(code50, {41, 61}, col(code50), out));
  EXPECT_EQ(out.find("&&"), 60u);
  EXPECT_FALSE(PlaceInlineComment(code65, {41, 61}, col(code65), out));
  // The order given decides.
  ASSERT_TRUE(PlaceInlineComment(code30, {61, 41}, col(code30), out));
  EXPECT_EQ(out.find("&&"), 60u);
  // Code ending in column 40 needs a column beyond 41: one blank at least.
  const std::string code40 = std::string(40, 'd') + "&& c";
  ASSERT_TRUE(PlaceInlineComment(code40, {41, 61}, col(code40), out));
  EXPECT_EQ(out.find("&&"), 60u);
  // Blanks are dropped from a gap that is too wide; a tab counts by its width.
  const std::string wide = "x = 1" + std::string(40, ' ') + "&& c";
  ASSERT_TRUE(PlaceInlineComment(wide, {20}, col(wide), out));
  EXPECT_EQ(out, "x = 1" + std::string(14, ' ') + "&& c");
  const std::string tabbed = "\tx = 1\t\t&& c";  // code ends in screen column 13
  ASSERT_TRUE(PlaceInlineComment(tabbed, {41}, col(tabbed), out));
  EXPECT_EQ(ScreenColOf(out, static_cast<int>(out.find("&&"))) + 1, 41);
  EXPECT_EQ(out.substr(0, 8), "\tx = 1\t\t");
  // "&&" in column 41, wanted in 17: the tabs that reach past 17 go, one stays.
  const std::string tabGap = "\tx = 1\t\t\t\t&& c";
  ASSERT_TRUE(PlaceInlineComment(tabGap, {17}, col(tabGap), out));
  EXPECT_EQ(out, "\tx = 1\t&& c");
  ASSERT_TRUE(PlaceInlineComment(tabGap, {20}, col(tabGap), out));
  EXPECT_EQ(out, "\tx = 1\t   && c");
  // "&&" only inside a string: nothing to move.
  EXPECT_FALSE(PlaceInlineComment("x = \"a && b\"", {41}, col("x = \"a && b\""), out));
}

TEST(FormatterStack, IfElseWithTheDefaults) {
  const auto out = Format({"  * head comment", "   PROCEDURE P", "      PARAMETERS a", "x = 1",
                           "      IF a", "y = 2", "  ELSE   ", "        z = 3", "    ENDIF",
                           "   w = 4"},
                          Defaults());
  EXPECT_EQ(test::JoinLines(out), "  * head comment\nPROCEDURE P\nPARAMETERS a\nx = 1\nIF a\n"
                                  "\ty = 2\nELSE\n\tz = 3\nENDIF\nw = 4\n");
}

TEST(FormatterStack, ContinuationAndCaseIndentation) {
  TxxFmtOptions o = Defaults();
  o.Case = ParseIndentOption("   t  2s");
  const auto out = Format({"PROCEDURE P", "DO CASE", "* between", "x = 1", "CASE a = 1",
                           "y = 1 + ;", "    2 + ;", "3", "OTHERWISE", "z = 0", "ENDCASE",
                           "v = 1"},
                          o);
  // The star comment is not re-indented; "x = 1" stands before the first CASE.
  EXPECT_EQ(test::JoinLines(out), "PROCEDURE P\nDO CASE\n* between\n\t  x = 1\n\tCASE a = 1\n"
                                  "\t\ty = 1 + ;\n\t\t        2 + ;\n\t\t        3\n\tOTHERWISE\n"
                                  "\t\tz = 0\nENDCASE\nv = 1\n");
}

TEST(FormatterStack, SurplusClosersAndFinalReturn) {
  TxxFmtOptions o = Defaults();
  o.Base = ParseIndentOption("   t  1s");
  o.Proc = ParseIndentOption("   t  2s");
  const auto out = Format({"PROCEDURE P", "a = 1", "ENDIF", "b = 2", "ENDIF", "c = 3", "ENDFOR",
                           "d = 4", "RETURN x", "* after", "&& amp after", ""},
                          o);
  // The first surplus ENDIF drops to the base alone, the second to nothing.
  EXPECT_EQ(test::JoinLines(out), " PROCEDURE P\n   a = 1\n ENDIF\n b = 2\nENDIF\nc = 3\nENDFOR\n"
                                  "d = 4\n RETURN x\n* after\n && amp after\n\n");
  // A RETURN followed by more code is an ordinary body statement.
  const auto mid = Format({"PROCEDURE P", "IF a", "RETURN", "ENDIF", "RETURN 1", "x = 2"}, o);
  EXPECT_EQ(test::JoinLines(mid), " PROCEDURE P\n   IF a\n   \tRETURN\n   ENDIF\n   RETURN 1\n   x = 2\n");
}

TEST(FormatterStack, CommentsAndTextBodies) {
  TxxFmtOptions o = Defaults();
  const std::vector<std::string> in = {"PROCEDURE P", "IF a", "   * star", "      && amp",
                                       "NOTE note", "TEXT", "   keep   me  ", "ENDTEXT", "ENDIF"};
  EXPECT_EQ(test::JoinLines(Format(in, o)), "PROCEDURE P\nIF a\n   * star\n\t&& amp\nNOTE note\n"
                                            "\tTEXT\n   keep   me  \n\tENDTEXT\nENDIF\n");
  o.IndentCommented = true;
  EXPECT_EQ(test::JoinLines(Format(in, o)), "PROCEDURE P\nIF a\n\t* star\n\t&& amp\n\tNOTE note\n"
                                            "\tTEXT\n   keep   me  \n\tENDTEXT\nENDIF\n");
  // Trailing comments: moved on a statement's last line; an "&&" line keeps its own.
  o.CommentColumns = {21};
  const auto moved = Format({"PROCEDURE P", "x = \"&&\" && real", "&& alone", "y = 1 + ; ",
                             "2 && there", "z = 1 && one ;"},
                            o);
  EXPECT_EQ(moved[1], "x = \"&&\"" + std::string(12, ' ') + "&& real");
  EXPECT_EQ(moved[2], "&& alone");
  EXPECT_EQ(moved[3], "y = 1 + ;");  // not the statement's last line
  EXPECT_EQ(moved[4], std::string(8, ' ') + "2" + std::string(11, ' ') + "&& there");
  EXPECT_EQ(moved[5], "z = 1" + std::string(15, ' ') + "&& one ;");
}

TEST(FormatterStack, StopsWhenAWriteIsRefused) {
  std::vector<std::string> lines = {"PROCEDURE P", " a = 1", " b = 2", " c = 3"};
  const TxxFoxStringArr statements = test::StatementsOf(lines);
  TxxFmtLines io;
  io.Read = test::LinesOf(lines);
  int writes = 0;
  io.Write = [&](int line, const std::string& text) {
    lines[line] = text;
    return ++writes < 3;
  };
  io.ScreenCol = [](int, int pos) { return pos; };
  EXPECT_FALSE(FormatStatements(statements, Defaults(), io));
  EXPECT_EQ(test::JoinLines(lines), "PROCEDURE P\na = 1\nb = 2\n c = 3\n");
}

// ---- Property: only blanks change, the line count stays, a second run changes nothing ----

std::string CollapseBeforeComment(const std::string& s) {
  const int amp = FindInlineComment(s);
  if (amp < 0) return s;
  std::string code = s.substr(0, static_cast<size_t>(amp));
  while (!code.empty() && (code.back() == ' ' || code.back() == '\t')) code.pop_back();
  return code + " " + s.substr(static_cast<size_t>(amp));
}

std::vector<std::string> GenerateProcedure(std::mt19937& rng) {
  static const char* const kOpeners[] = {"IF x > 1", "DO CASE", "FOR i = 1 TO 9", "SCAN",
                                         "DO WHILE .T."};
  static const char* const kSimple[] = {"x = 1", "? 'a && b'", "y = [&&]   && c", "LOOP",
                                        "EXIT", "RETURN", "* star", "&& amp", "NOTE n", "",
                                        "z = \"open && rest", "DO P WITH 1", "ELSE", "ENDIF",
                                        "CASE x = 2", "OTHERWISE", "ENDCASE", "ENDFOR", "NEXT",
                                        "ENDSCAN", "ENDDO", "w = 1 ;", "#DEFINE K 1",
                                        "q = 2\t\t&& tabbed"};
  std::uniform_int_distribution<int> count(1, 40), pick(0, 99), blanks(0, 6);
  const auto pad = [&](const std::string& s) {
    std::string lead, trail;
    for (int i = blanks(rng); i > 0; --i) lead += pick(rng) < 30 ? '\t' : ' ';
    for (int i = blanks(rng) / 3; i > 0; --i) trail += ' ';
    return lead + s + trail;
  };
  std::vector<std::string> lines;
  if (pick(rng) < 50) lines.push_back(pad("* heading comment"));
  lines.push_back(pad(pick(rng) < 50 ? "PROCEDURE Gen" : "FUNCTION Gen"));
  if (pick(rng) < 60) lines.push_back(pad("PARAMETERS a, ;"));
  if (lines.back().find(';') != std::string::npos) lines.push_back(pad("b"));
  for (int n = count(rng); n > 0; --n) {
    const int p = pick(rng);
    if (p < 20) {
      lines.push_back(pad(kOpeners[p % 5]));
    } else if (p < 25) {
      lines.push_back(pad("TEXT"));
      lines.push_back("  body " + std::to_string(n) + "  ");
      lines.push_back(pad("ENDTEXT"));
    } else {
      lines.push_back(pad(kSimple[p % (sizeof kSimple / sizeof kSimple[0])]));
    }
  }
  if (pick(rng) < 50) lines.push_back(pad("RETURN x"));
  if (pick(rng) < 30) lines.push_back(pad("* trailing"));
  return lines;
}

TEST(FormatterProperty, OnlyBlanksChangeAndASecondRunChangesNothing) {
  std::mt19937 rng(20261208);
  std::vector<std::vector<std::string>> cases;
  for (int i = 0; i < 400; ++i) cases.push_back(GenerateProcedure(rng));
  // Hand-written ones next to the generated.
  cases.push_back({"PROCEDURE A", "IF a", "IF b", "x = 1 && one", "ENDIF", "ENDIF", "RETURN"});
  cases.push_back({"  FUNCTION B", "  LPARAMETERS q", "DO CASE", "CASE q", "DO WHILE q",
                   "q = q - 1 ; ", "  && inside", "ENDDO", "ENDCASE", "ENDCASE", "ENDCASE"});
  cases.push_back({"PROCEDURE C", "TEXT", "  a && b", "ENDTEXT", "RETURN 1", "", "* end"});
  cases.push_back({"PROCEDURE D", "x = \"unterminated && c", "y = '&&' && z", ";", "; && c"});

  TxxFmtOptions variants[3] = {Defaults(), Defaults(), Defaults()};
  variants[1].CommentColumns = {41, 61};
  variants[1].IndentCommented = true;
  variants[2].Base = ParseIndentOption("  1t  2s");
  variants[2].Case = ParseIndentOption("   t  3s");
  variants[2].CommentColumns = {61, 30, 45};
  for (const auto& original : cases) {
    for (const TxxFmtOptions& o : variants) {
      const auto once = Format(original, o);
      ASSERT_EQ(once.size(), original.size());
      for (size_t i = 0; i < once.size(); ++i)
        ASSERT_EQ(CollapseBeforeComment(Trim(once[i])), CollapseBeforeComment(Trim(original[i])))
            << "line " << i << " of\n" << test::JoinLines(original);
      const auto twice = Format(once, o);
      ASSERT_EQ(test::JoinLines(twice), test::JoinLines(once)) << test::JoinLines(original);
    }
  }
}

}  // namespace
}  // namespace vemlo
