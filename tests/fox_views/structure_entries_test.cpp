// Building the structure review: flags, levels and the drawn strips.
#include "fox/insight/structure_entries.h"

#include <gtest/gtest.h>

#include "lib/xxlib.h"
#include "views_support.h"

namespace vemlo {
namespace {

const std::string kBar = "\xB3", kOpen = "\xDA", kBranch = "\xC3", kClose = "\xC0", kLine = "\xC4";
const std::string kLoopBar = "\xBA", kLoopOpen = "\xD6", kLoopClose = "\xD3", kLoopJump = "\xC7";
const std::string kDouble = "\xCD";

std::string Rep(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TxxReviewOptions Defaults() {
  TxxReviewOptions o;
  o.Keywords = ReadKeywordList("set\x0Cprivate\x0Cselect");
  o.Pairs = ReadPairList("push key / pop key\x0C" "define wind / release wind");
  return o;
}

struct Built {
  std::vector<std::string> Lines;
  TxxLangStructItemArr Entries;
};

Built Build(std::vector<std::string> lines, const TxxReviewOptions& o = Defaults(), int cursor = 0,
            TxxBookmarkArr bookmarks = {}) {
  Built b;
  b.Lines = std::move(lines);
  const TxxFoxStringArr statements = test::StatementsOf(b.Lines);
  TxxStructInput in;
  in.Statements = &statements;
  in.Read = test::LinesOf(b.Lines);
  in.IsProc = [](const std::string& name) {
    const std::string n = UpperCase(name);
    return n == "HELPER" || n == "MAIN.PRG";
  };
  in.Bookmarks = std::move(bookmarks);
  in.CursorLine = cursor;
  b.Entries = BuildStructEntries(in, o);
  return b;
}

const TxxLangStructItem& EntryAt(const Built& b, int line) {
  for (const TxxLangStructItem& e : b.Entries)
    if (e.Line == line) return e;
  static TxxLangStructItem none;
  ADD_FAILURE() << "no entry for line " << line;
  return none;
}

TEST(StructureDrawing, TheExamplesWithTheDefaults) {
  const Built b = Build({"PROCEDURE P", "IF a", "x = 1", "IF b", "RETURN", "ENDIF", "ELSE",
                         "ENDIF", "RETURN"});
  EXPECT_EQ(EntryAt(b, 0).Graph, "   ");
  EXPECT_EQ(EntryAt(b, 1).Graph, "   " + kOpen + kLine + " ");
  EXPECT_EQ(EntryAt(b, 1).Level, 1);
  EXPECT_EQ(EntryAt(b, 2).Graph, "   " + kBar + "     ");
  EXPECT_EQ(EntryAt(b, 3).Graph, "   " + kBar + "  " + kOpen + kLine + " ");
  EXPECT_EQ(EntryAt(b, 4).Graph, "<" + Rep(kDouble, 10) + " ");  // level 3
  EXPECT_EQ(EntryAt(b, 5).Graph, "   " + kBar + "  " + kClose + kLine + " ");
  EXPECT_EQ(EntryAt(b, 6).Graph, "   " + kBranch + kLine + " ");
  EXPECT_EQ(EntryAt(b, 7).Graph, "   " + kClose + kLine + " ");
  EXPECT_EQ(EntryAt(b, 8).Graph, "<" + Rep(kDouble, 4) + " ");  // level 1

  const Built r = Build({"PROCEDURE P", "IF a", "RETURN", "ENDIF"});
  EXPECT_EQ(EntryAt(r, 2).Level, 2);
  EXPECT_EQ(EntryAt(r, 2).Graph, "<" + Rep(kDouble, 7) + " ");
  EXPECT_EQ(EntryAt(r, 2).Anchor, 0);
}

TEST(StructureDrawing, NestedLoopBarsAndBranches) {
  const Built b = Build({"PROCEDURE P", "FOR i = 1 TO 2", "IF a", "x = 1", "ELSE", "LOOP", "ENDIF",
                         "EXIT", "ENDFOR", "LOOP"});
  EXPECT_EQ(EntryAt(b, 1).Graph, "   " + kLoopOpen + kLine + " ");
  EXPECT_EQ(EntryAt(b, 2).Graph, "   " + kLoopBar + "  " + kOpen + kLine + " ");
  EXPECT_EQ(EntryAt(b, 3).Graph, "   " + kLoopBar + "  " + kBar + "     ");
  EXPECT_EQ(EntryAt(b, 4).Graph, "   " + kLoopBar + "  " + kBranch + kLine + " ");
  EXPECT_EQ(EntryAt(b, 4).Anchor, 2);
  // LOOP at level 3 hangs off the FOR's column 1 and crosses the IF's bar.
  EXPECT_EQ(EntryAt(b, 5).Graph, "   " + kLoopJump + Rep(kLine, 2) + Rep(kLine, 3) + Rep(kLine, 2) + " ");
  EXPECT_EQ(EntryAt(b, 5).Anchor, 1);
  // EXIT at level 2 hangs off column 1 as well.
  EXPECT_EQ(EntryAt(b, 7).Graph, "   " + kLoopJump + Rep(kLine, 4) + " ");
  EXPECT_EQ(EntryAt(b, 8).Graph, "   " + kLoopClose + kLine + " ");
  // A LOOP outside every loop is drawn as an ordinary statement.
  EXPECT_EQ(EntryAt(b, 9).Graph, std::string(6, ' '));
  EXPECT_TRUE(EntryAt(b, 9).Flags & efLoopJump);
}

TEST(StructureDrawing, WrongBranchesAndSurplusClosers) {
  const Built b = Build({"PROCEDURE P", "IF a", "CASE x", "ENDIF", "DO CASE", "ELSE", "ENDCASE",
                         "ENDIF", "ENDIF", "ENDIF", "y = 1", "OTHERWISE"});
  EXPECT_EQ(EntryAt(b, 2).Graph, "   ?" + kLine + " ");  // CASE under IF
  EXPECT_EQ(EntryAt(b, 5).Graph, "   ?" + kLine + " ");  // ELSE under DO CASE
  EXPECT_EQ(EntryAt(b, 7).Level, 0);
  EXPECT_EQ(EntryAt(b, 7).Graph, kClose + kLine + " ");
  EXPECT_EQ(EntryAt(b, 8).Level, 0);
  EXPECT_EQ(EntryAt(b, 9).Level, 0);
  EXPECT_EQ(EntryAt(b, 10).Level, 0);
  EXPECT_EQ(EntryAt(b, 10).Graph, "   ");
  // A branch with no opener at all: "?" from column 0.
  EXPECT_EQ(EntryAt(b, 11).Graph, "?" + kLine + " ");
  EXPECT_EQ(EntryAt(b, 11).Anchor, 0);
}

TEST(StructureDrawing, WidthsAndCharacterSetsFromTheOptions) {
  EXPECT_EQ(ReadBoundedNumber("0", 3, 1), 1);
  EXPECT_EQ(ReadBoundedNumber("text", 3, 1), 3);
  EXPECT_EQ(ReadBoundedNumber("-5", 1, 0), 0);
  EXPECT_EQ(ReadBoundedNumber(" 4", 3, 1), 4);
  TxxReviewOptions o = Defaults();
  o.Step = 1;
  o.Bracket = 3;
  o.Indent = 0;
  o.Cond = "ABCDE";
  o.Exit = "<=";
  const Built b = Build({"PROCEDURE P", "IF a", "IF b", "x = 1", "ELSE", "RETURN", "ENDIF"}, o);
  EXPECT_EQ(EntryAt(b, 1).Graph, " AEE");
  EXPECT_EQ(EntryAt(b, 2).Graph, " BAEE");
  EXPECT_EQ(EntryAt(b, 3).Graph, " BB   ");
  EXPECT_EQ(EntryAt(b, 4).Graph, " BCEE");
  EXPECT_EQ(EntryAt(b, 5).Graph, "<=====");
  EXPECT_EQ(EntryAt(b, 6).Graph, " BDEE");
}

TEST(StructureFlags, CallsPairsKeywordsAndComments) {
  const Built b = Build({"* above", "PROCEDURE P", "DO Helper WITH 1, 2", "x = helper (3)",
                         "? \"Helper(\" + y", "DO main.prg", "y = other(1) && Helper(1)",
                         "PUSH KEY CLEAR", "push keys", "Pop Key", "DEFINE WINDOW w",
                         "SET TALK OFF", "sele 1", "seleX", "#DEFINE K 1", "&& amp", ""});
  EXPECT_TRUE(EntryAt(b, 2).Flags & efCall);
  EXPECT_TRUE(EntryAt(b, 3).Flags & efCall);
  EXPECT_FALSE(EntryAt(b, 4).Flags & efCall);
  EXPECT_TRUE(EntryAt(b, 5).Flags & efCall);
  EXPECT_FALSE(EntryAt(b, 6).Flags & efCall);
  EXPECT_TRUE(EntryAt(b, 7).Flags & efPairOpen);
  EXPECT_EQ(EntryAt(b, 7).Graph, "/--" "--" " ");
  EXPECT_TRUE(EntryAt(b, 8).Flags & efPairOpen);
  EXPECT_TRUE(EntryAt(b, 9).Flags & efPairClose);
  EXPECT_EQ(EntryAt(b, 9).Graph, "\\----" " ");
  EXPECT_TRUE(EntryAt(b, 10).Flags & efPairOpen);
  EXPECT_TRUE(EntryAt(b, 11).Flags & efKeyword);
  EXPECT_TRUE(EntryAt(b, 12).Flags & efKeyword);  // four letters of SELECT
  EXPECT_FALSE(EntryAt(b, 13).Flags & efKeyword);
  EXPECT_TRUE(EntryAt(b, 14).Flags & efDirective);
  EXPECT_EQ(EntryAt(b, 14).Level, 0);
  EXPECT_TRUE(EntryAt(b, 15).Flags & efComment);
  EXPECT_FALSE(EntryAt(b, 15).Flags & efStatement);
  EXPECT_EQ(EntryAt(b, 0).Flags, static_cast<unsigned>(efComment));
  EXPECT_EQ(EntryAt(b, 1).Flags, static_cast<unsigned>(efHeading | efStatement));
  EXPECT_EQ(b.Entries.size(), 16u);  // the empty line gives no entry
  EXPECT_EQ(EntryAt(b, 6).Text, "y = other(1) && Helper(1)");
}

TEST(StructureFlags, StatementTextIsOneNormalizedLine) {
  const Built b = Build({"PROCEDURE P", "x   =  1 + ;", "    'a  b'   && c  d"});
  EXPECT_EQ(EntryAt(b, 1).Text, "x = 1 + 'a  b' && c  d");
}

TEST(StructureBookmarks, EntriesOfTheirOwnAndTheCursorEntry) {
  TxxBookmarkArr marks = {{3, 2, 1, 5, 0}, {7, 3, 0, 4, 2}, {8, 3, 4, 6, 2}};
  const Built b = Build({"* above", "PROCEDURE P", "", "x = 1", "y = 2"}, Defaults(), 0, marks);
  ASSERT_EQ(b.Entries.size(), 6u);
  EXPECT_EQ(b.Entries[2].Flags, static_cast<unsigned>(efBookmark));  // the blank line
  EXPECT_EQ(b.Entries[2].BookmarkNo, 3);
  EXPECT_EQ(b.Entries[2].Line, 2);
  EXPECT_EQ(b.Entries[2].Col, 1);
  EXPECT_EQ(b.Entries[2].ScreenLine, 5);
  EXPECT_EQ(b.Entries[3].Flags, static_cast<unsigned>(efStatement | efBookmark));
  EXPECT_EQ(b.Entries[3].BookmarkNo, 7);
  EXPECT_EQ(b.Entries[3].LeftPos, 2);
  EXPECT_EQ(b.Entries[4].Flags, static_cast<unsigned>(efBookmark));
  EXPECT_EQ(b.Entries[4].BookmarkNo, 8);
  EXPECT_EQ(b.Entries[4].Col, 4);
  EXPECT_EQ(b.Entries[5].Col, -1);
  EXPECT_EQ(b.Entries[5].ScreenLine, -1);
  // The cursor on the comment above the heading marks the comment's entry.
  EXPECT_EQ(b.Entries[0].Mark, '\x10');
  EXPECT_TRUE(b.Entries[0].Selected);
  for (size_t i = 1; i < b.Entries.size(); ++i) EXPECT_FALSE(b.Entries[i].Selected);
  // The last entry starting at or before the cursor line wins.
  const Built c = Build({"* above", "PROCEDURE P", "", "x = 1", "y = 2"}, Defaults(), 3, marks);
  EXPECT_EQ(c.Entries[4].Mark, '\x10');
  EXPECT_EQ(c.Entries[3].Mark, ' ');
}

TEST(StructureOptions, ListsAreTrimmedAndUpperCased) {
  EXPECT_EQ(ReadKeywordList(" set \x0C\x0C  Private\x0C"), (std::vector<std::string>{"SET", "PRIVATE"}));
  const auto pairs = ReadPairList(" push key / pop key \x0Cno slash\x0C a/b/c \x0C");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].Open, "PUSH KEY");
  EXPECT_EQ(pairs[0].Close, "POP KEY");
  EXPECT_EQ(pairs[1].Open, "A");
  EXPECT_EQ(pairs[1].Close, "B/C");
}

}  // namespace
}  // namespace vemlo
