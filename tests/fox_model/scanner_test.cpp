#include <gtest/gtest.h>

#include "fox/model/scanner.h"
#include "text_lines.h"

namespace vemlo {
namespace {

TEST(IsKeyword, AbbreviationsAndWordEnds) {
  EXPECT_TRUE(IsKeyword("Proc Main", "PROCEDURE"));
  EXPECT_TRUE(IsKeyword("PROCE Main", "PROCEDURE"));
  EXPECT_TRUE(IsKeyword("procedure Main", "PROCEDURE"));
  EXPECT_FALSE(IsKeyword("PRO Main", "PROCEDURE"));
  EXPECT_TRUE(IsKeyword("ENDI", "ENDIF"));
  EXPECT_FALSE(IsKeyword("ENDIF", "ENDI"));
  EXPECT_TRUE(IsKeyword("DO", "DO"));
  EXPECT_FALSE(IsKeyword("D", "DO"));
  EXPECT_TRUE(IsKeyword("IF x", "IF"));
  EXPECT_FALSE(IsKeyword("I x", "IF"));
  EXPECT_FALSE(IsKeyword("ENDIF", "ELSE"));
  EXPECT_FALSE(IsKeyword("ELSEIF x", "ELSE"));
  EXPECT_FALSE(IsKeyword("*PROC", "PROCEDURE"));
  EXPECT_FALSE(IsKeyword("", "IF"));
  EXPECT_FALSE(IsKeyword("   ", "IF"));
  // Blanks around both sides do not count; the word may end at any non-name character.
  EXPECT_TRUE(IsKeyword("  \tif(x)", " IF "));
  EXPECT_TRUE(IsKeyword("USE;", "USE"));
  EXPECT_FALSE(IsKeyword("USED()", "USE"));
  EXPECT_TRUE(IsKeyword("DO CASE", "DO CASE"));  // a blank in the keyword ends a word too
}

TEST(IsCommentLine, StarsAmpersandsAndNote) {
  EXPECT_TRUE(IsCommentLine("note that"));
  EXPECT_TRUE(IsCommentLine("NOTE"));
  EXPECT_TRUE(IsCommentLine("NoTe\tx"));
  EXPECT_TRUE(IsCommentLine("  * some text"));
  EXPECT_TRUE(IsCommentLine("\t&& comment"));
  EXPECT_FALSE(IsCommentLine("NOTES"));
  EXPECT_FALSE(IsCommentLine("NOTEX = 1"));
  EXPECT_FALSE(IsCommentLine("& macro"));
  EXPECT_FALSE(IsCommentLine("x = 1 && trailing"));
  EXPECT_FALSE(IsCommentLine(""));
  EXPECT_FALSE(IsCommentLine("   "));
}

TEST(NormalizeStatement, JoinsLinesAndCollapsesBlanks) {
  EXPECT_EQ(NormalizeStatement("x = a + ;\r\nb", false, false), "x = a + b");
  // An indented continuation line joins with one space.
  EXPECT_EQ(NormalizeStatement("x = a + ;\r\n    b", false, false), "x = a + b");
  EXPECT_EQ(NormalizeStatement("? x ;\r\n\t, y ;\r\n", false, false), "? x , y");
  // A continued line keeps its first character.
  EXPECT_EQ(NormalizeStatement("STORE 1 TO;\r\nabc", false, false), "STORE 1 TO abc");
  EXPECT_EQ(NormalizeStatement("  a \t  =\t\tb  ", false, false), "a = b");
  // Blanks inside a literal are copied as they are.
  EXPECT_EQ(NormalizeStatement("? \"a  \tb\"", false, false), "? \"a  \tb\"");
  // A lone CR or LF is an ordinary character, not a line join.
  EXPECT_EQ(NormalizeStatement("a\nb", false, false), "a\nb");
}

TEST(NormalizeStatement, StringsAndComments) {
  EXPECT_EQ(NormalizeStatement("? 'a && b' && c", false, true), "? '' && c");
  EXPECT_EQ(NormalizeStatement("? 'a && b' && c", true, true), "? '' ");
  EXPECT_EQ(NormalizeStatement("? 'a && b' && c", true, false), "? 'a && b' ");
  EXPECT_EQ(NormalizeStatement("x = [it's] + \"[q]\"", false, true), "x = [] + \"\"");
  EXPECT_EQ(NormalizeStatement("x = 1 &&\tnote\there ", false, false), "x = 1 && note here");
  // An unclosed literal runs to the end of the text.
  EXPECT_EQ(NormalizeStatement("? \"open && x", false, true), "? \"");
  EXPECT_EQ(NormalizeStatement("", true, true), "");
}

TEST(ClassifyStatement, FirstCharacterClasses) {
  EXPECT_EQ(ClassifyStatement(""), stEmpty);
  EXPECT_EQ(ClassifyStatement(" \t "), stEmpty);
  EXPECT_EQ(ClassifyStatement("!dir"), stRun);
  EXPECT_EQ(ClassifyStatement("#DEFINE X 1"), stDirective);
  EXPECT_EQ(ClassifyStatement("=f()"), stEvaluate);
  EXPECT_EQ(ClassifyStatement("? x"), stOutput);
  EXPECT_EQ(ClassifyStatement("\\text"), stOutput);
  EXPECT_EQ(ClassifyStatement("  @ 1,1 SAY x"), stAtCommand);
  EXPECT_EQ(ClassifyStatement("* c"), stComment);
  EXPECT_EQ(ClassifyStatement("&& c"), stAmpComment);
  EXPECT_EQ(ClassifyStatement("&lcMacro"), stOther);
  EXPECT_EQ(ClassifyStatement("m.x = 1"), stMAssign);
  EXPECT_EQ(ClassifyStatement("M.x"), stMAssign);
  EXPECT_EQ(ClassifyStatement("mx = 1"), stOther);
  EXPECT_EQ(ClassifyStatement("M."), stOther);
  EXPECT_EQ(ClassifyStatement("x = 1"), stOther);
}

TEST(ClassifyStatement, KeywordClasses) {
  const struct {
    const char* Text;
    unsigned char Class;
  } cases[] = {
      {"IF x", stIf}, {"ELSE", stElse}, {"ENDIF", stEndIf}, {"endi", stEndIf},
      {"FOR i = 1 TO 3", stFor}, {"ENDFOR", stEndFor}, {"NEXT", stEndFor},
      {"SCAN", stScan}, {"ENDSCAN", stEndScan}, {"REPL a WITH b", stReplace},
      {"PROC x", stProcedure}, {"FUNC y", stProcedure}, {"RETURN", stReturn},
      {"RETR", stReturn}, {"QUIT", stQuit}, {"CANCEL", stQuit}, {"RUN x", stRun},
      {"NOTE x", stComment}, {"PARA a", stParameters}, {"PRIV a", stPrivate},
      {"PUBL a", stPublic}, {"STORE 1 TO a", stStore}, {"COUNT TO n", stCount},
      {"SUM x TO y", stSum}, {"CALC MAX(x) TO y", stCalculate}, {"DIME a(1)", stDimension},
      {"CASE x", stCase}, {"OTHE", stOtherwise}, {"ENDCASE", stEndCase}, {"ENDDO", stEndDo},
      {"LOOP", stLoop}, {"EXIT", stExit}, {"USE t", stUse}, {"SELECT 0", stSelect},
      {"TEXT", stText}, {"ENDTEXT", stEndText}, {"ENDT", stEndText},
      {"DO CASE", stDoCase}, {"DO WHILE .T.", stDoWhile}, {"do whil x", stDoWhile},
      {"DO FORM x", stDo}, {"DO", stDo}, {"DO\tCASE", stDoCase},
      {"COPY TO x", stCopyTo}, {"COPY FILE a TO b", stOther}, {"COPY", stOther},
      {"CREATE CURSOR c (f C(1))", stCreateCursor}, {"CREA TABLE t (f N(2))", stCreateCursor},
      {"CREATE DBF t (f L)", stCreateCursor}, {"CREATE x FROM y", stCreateFrom},
      {"create x from y", stOther}, {"CREATE REPORT r", stOther},
      {"CREATE x ' FROM ' y", stOther}, {"CREATE VIEW v AS SELECT * FROM t", stCreateFrom},
      {"ENDIFX", stOther}, {"DOCASE", stOther}, {"NOTES", stOther},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyStatement(c.Text), c.Class) << c.Text;
  }
}

using test::LinesReader;

TEST(ScanStatements, ContinuationsAndComments) {
  const std::vector<std::string> lines = {
      "x = a + ;",         // 0
      "  b + ;",           // 1
      "  c",               // 2
      "y = 1 && note ;",   // 3: ends with ";" inside the comment, so it continues
      "z = 2",             // 4
      "w = 3 ; && c",      // 5: its last character is not ";"
      "v = ;",             // 6
      "* comment ;",       // 7: a comment line ends the statement
      "u = 4",             // 8
      "t = ;",             // 9
      "",                  // 10: a blank line does not end a continuation
      "5",                 // 11
  };
  TxxFoxStringArr sts;
  const int current = ScanStatements(LinesReader(lines), 0, kToEndOfText, 100, sts);
  EXPECT_EQ(current, -1);
  const std::vector<std::pair<int, int>> ranges = {{0, 2}, {3, 4}, {5, 5}, {6, 7}, {8, 8}, {9, 11}};
  ASSERT_EQ(sts.size(), ranges.size());
  for (size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_EQ(sts[i].FirstLine, ranges[i].first) << i;
    EXPECT_EQ(sts[i].LastLine, ranges[i].second) << i;
    EXPECT_TRUE(sts[i].Text.empty()) << i;
  }
}

TEST(ScanStatements, TextBlocks) {
  const std::vector<std::string> lines = {
      "TEXT", "ENDTEXT",                         // 0-1: no body
      "TEXT", "PROCEDURE x", "m.y = 1", "endt",  // 2-5: body 3-4
      "TEXT", "a", "b",                          // 6-8: no ENDTEXT
  };
  TxxFoxStringArr sts;
  ScanStatements(LinesReader(lines), 0, kToEndOfText, 100, sts);
  ASSERT_EQ(sts.size(), 7u);
  const unsigned char kinds[] = {stText, stEndText, stText, stTextBody, stEndText, stText,
                                 stTextBody};
  for (size_t i = 0; i < sts.size(); ++i) EXPECT_EQ(sts[i].Kind, kinds[i]) << i;
  EXPECT_EQ(sts[3].FirstLine, 3);
  EXPECT_EQ(sts[3].LastLine, 4);
  EXPECT_TRUE(sts[3].Elements.empty());  // the M. line inside the body declares nothing
  EXPECT_EQ(sts[6].FirstLine, 7);
  EXPECT_EQ(sts[6].LastLine, 8);

  // In a range, a TEXT without ENDTEXT ends the body at the range's end.
  sts.clear();
  ScanStatements(LinesReader(lines), 6, 7, 100, sts);
  ASSERT_EQ(sts.size(), 2u);
  EXPECT_EQ(sts[1].Kind, stTextBody);
  EXPECT_EQ(sts[1].LastLine, 7);
}

TEST(ScanStatements, CurrentStatementIsNotExtracted) {
  const std::vector<std::string> lines = {
      "m.a = 1",      // 0
      "STORE 0 TO ;", // 1
      "  b, ;",       // 2  <- cursor
      "  c",          // 3
      "m.d = 2",      // 4
  };
  TxxFoxStringArr sts;
  const int current = ScanStatements(LinesReader(lines), 0, kToEndOfText, 2, sts);
  ASSERT_EQ(sts.size(), 3u);
  EXPECT_EQ(current, 1);
  EXPECT_EQ(sts[1].FirstLine, 1);
  EXPECT_EQ(sts[1].LastLine, 3);
  EXPECT_EQ(sts[1].Kind, stStore);
  EXPECT_TRUE(sts[1].Elements.empty());
  ASSERT_EQ(sts[0].Elements.size(), 1u);
  EXPECT_EQ(sts[0].Elements[0].Name, "a");
  ASSERT_EQ(sts[2].Elements.size(), 1u);
  EXPECT_EQ(sts[2].Elements[0].Name, "d");

  // The same statement with the cursor elsewhere gives its two names.
  sts.clear();
  EXPECT_EQ(ScanStatements(LinesReader(lines), 0, kToEndOfText, 4, sts), 2);
  ASSERT_EQ(sts[1].Elements.size(), 2u);
  EXPECT_EQ(sts[1].Elements[0].Name, "b");
  EXPECT_EQ(sts[1].Elements[1].Name, "c");
  EXPECT_EQ(sts[1].Elements[1].Source, "STORE 0 TO");
}

TEST(ScanStatements, RangeLimitsAndEndOfText) {
  const std::vector<std::string> lines = {"a = 1", "b = 2", "c = 3", "d = 4"};
  TxxFoxStringArr sts;
  ScanStatements(LinesReader(lines), 1, 2, 0, sts);
  ASSERT_EQ(sts.size(), 2u);
  EXPECT_EQ(sts[0].FirstLine, 1);
  EXPECT_EQ(sts[1].FirstLine, 2);
  sts.clear();
  ScanStatements(LinesReader(lines), 0, -1, 0, sts);  // the empty range of a main entry
  EXPECT_TRUE(sts.empty());
  sts.clear();
  ScanStatements(LinesReader(lines), 3, 10, 0, sts);  // stops at the end of the text
  ASSERT_EQ(sts.size(), 1u);
  // A continuation on the last line ends with the text.
  const std::vector<std::string> open = {"x = ;"};
  sts.clear();
  EXPECT_EQ(ScanStatements(LinesReader(open), 0, kToEndOfText, 0, sts), 0);
  ASSERT_EQ(sts.size(), 1u);
  EXPECT_EQ(sts[0].LastLine, 0);
}

}  // namespace
}  // namespace vemlo
