#include <gtest/gtest.h>

#include "fox/model/project.h"
#include "text_lines.h"

namespace vemlo {
namespace {

using test::LinesReader;

TxxFoxProg TableOf(const std::vector<std::string>& lines, const std::string& fileName = "C:\\P\\MAIN.PRG",
                   bool editor = false, bool library = false) {
  TxxFoxProg prog;
  prog.FileName = fileName;
  prog.IsLibrary = library ? 1 : 0;
  BuildProcTable(prog, static_cast<int>(lines.size()), LinesReader(lines), editor);
  return prog;
}

struct Row {
  int First, Last, Decl;
  std::string Name, Params;
  int IsFunction;
};

void ExpectTable(const TxxFoxProg& prog, const std::vector<Row>& rows) {
  ASSERT_EQ(prog.Procs.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const TxxFoxProc& p = prog.Procs[i];
    EXPECT_EQ(p.FirstLine, rows[i].First);
    EXPECT_EQ(p.LastLine, rows[i].Last);
    EXPECT_EQ(p.DeclLine, rows[i].Decl);
    EXPECT_EQ(p.Name, rows[i].Name);
    EXPECT_EQ(p.Params, rows[i].Params);
    EXPECT_EQ(p.IsFunction, rows[i].IsFunction);
  }
}

TEST(ProcTable, CommentsAboveADeclarationJoinIt) {
  const TxxFoxProg prog = TableOf({"* header", "&& more", "NOTE x", "PROCEDURE A", "RETURN"});
  EXPECT_EQ(prog.State, psRead);
  ExpectTable(prog, {{0, -1, -1, "MAIN", "", 0}, {0, 4, 3, "A", "", 0}});
}

TEST(ProcTable, BlankLineSeparatesCommentBlock) {
  const TxxFoxProg prog = TableOf({
      "x = 1",        // 0
      "* about B",    // 1
      "",             // 2
      "#DEFINE K 1",  // 3: a directive directly above stays with the declaration
      "PROCEDURE B",  // 4
      "RETURN",       // 5
      "* about C",    // 6
      "FUNC C(a, b)", // 7
      "RETURN a",     // 8
  });
  ExpectTable(prog, {{0, 2, -1, "MAIN", "", 0},
                     {3, 5, 4, "B", "", 0},
                     {6, 8, 7, "C", "(a, b)", 1}});  // the name ends at the parenthesis
}

TEST(ProcTable, ContinuationsAndTextBlocksHideDeclarations) {
  const TxxFoxProg prog = TableOf({
      "x = 1 + ;",          // 0
      "PROCEDURE NotOne",   // 1: continues line 0
      "TEXT",               // 2
      "PROCEDURE NotTwo",   // 3
      "ENDTEXT",            // 4
      "PROC X\tp1, p2",     // 5
      "FUNCTION Y",         // 6
      "NOTEPROC",           // 7: not a NOTE line
      "procedure  z  a",    // 8
  });
  ExpectTable(prog, {{0, 4, -1, "MAIN", "", 0},
                     {5, 5, 5, "X", "p1, p2", 0},
                     {6, 7, 6, "Y", "", 1},
                     {8, 8, 8, "z", "a", 0}});
}

TEST(ProcTable, MainEntryNames) {
  // From disk the main entry is named without .PRG and keeps its name.
  ExpectTable(TableOf({"PROCEDURE main"}), {{0, -1, -1, "MAIN", "", 0}, {0, 0, 0, "main", "", 0}});
  // In the editor it is named with the extension, and a procedure of that name hides it.
  ExpectTable(TableOf({"PROCEDURE main"}, "C:\\P\\MAIN.PRG", true),
              {{0, -1, -1, "", "", 0}, {0, 0, 0, "main", "", 0}});
  ExpectTable(TableOf({"PROCEDURE other"}, "C:\\P\\MAIN.PRG", true),
              {{0, -1, -1, "MAIN.PRG", "", 0}, {0, 0, 0, "other", "", 0}});
  // Other extensions stay; a library's main entry has no name.
  ExpectTable(TableOf({"x"}, "C:\\P\\MENU.MPR"), {{0, 0, -1, "MENU.MPR", "", 0}});
  ExpectTable(TableOf({"x"}, "C:\\P\\LIB.PRG", false, true), {{0, 0, -1, "", "", 0}});
  // An empty text.
  ExpectTable(TableOf({}), {{0, -1, -1, "MAIN", "", 0}});
}

TEST(ProcTable, PreviousTableIsReplaced) {
  TxxFoxProg prog = TableOf({"PROC A", "PROC B"});
  ASSERT_EQ(prog.Procs.size(), 3u);
  const std::vector<std::string> lines = {"x = 1"};
  BuildProcTable(prog, 1, LinesReader(lines), false);
  ExpectTable(prog, {{0, 0, -1, "MAIN", "", 0}});
}

TEST(FindFoxProc, ByNameAndByFile) {
  TxxFoxProj proj;
  proj.Progs.push_back(TableOf({"PROC helper", "PROC main"}, "C:\\P\\LIB.PRG", false, true));
  proj.Progs.push_back(TableOf({"PROC x"}, "C:\\P\\MAIN.PRG"));
  proj.Progs.push_back(TableOf({"x"}, "C:\\P\\MENU.MPR"));
  int f = 7, p = 7;
  // With an extension only main entries are compared (.PRG dropped first).
  EXPECT_TRUE(FindFoxProc("main.prg", proj, f, p));
  EXPECT_EQ(f, 1);
  EXPECT_EQ(p, 0);
  EXPECT_TRUE(FindFoxProc("Menu.Mpr", proj, f, p));
  EXPECT_EQ(f, 2);
  EXPECT_EQ(p, 0);
  EXPECT_FALSE(FindFoxProc("helper.prg", proj, f, p));
  EXPECT_EQ(f, -1);
  EXPECT_EQ(p, -1);
  // Without one every entry is compared, in project order.
  EXPECT_TRUE(FindFoxProc("MAIN", proj, f, p));
  EXPECT_EQ(f, 0);
  EXPECT_EQ(p, 2);
  EXPECT_TRUE(FindFoxProc("  Helper ", proj, f, p));
  EXPECT_EQ(f, 0);
  EXPECT_EQ(p, 1);
  EXPECT_FALSE(FindFoxProc("   ", proj, f, p));
  EXPECT_FALSE(FindFoxProc("nothing", proj, f, p));
  EXPECT_EQ(f, -1);
}

TEST(CollectDefines, UpToTheCursorLine) {
  const std::vector<std::string> lines = {
      "#DEFINE K_ONE 1",
      "  #define  k_two\t'two'  && second ",
      "#DEFINE K_LONG 1 + ;",
      "   2",
      "#DEFINEX 3",
      "# DEFINE K_NOT 4",
      "#DEFINE K_BELOW 5",
  };
  const TxxFoxDefineArr defs = CollectDefines(LinesReader(lines), 5);
  ASSERT_EQ(defs.size(), 3u);
  EXPECT_EQ(defs[0].Line, 0);
  EXPECT_EQ(defs[0].Name, "K_ONE");
  EXPECT_EQ(defs[0].Value, "1");
  EXPECT_EQ(defs[0].Rest, "");
  EXPECT_EQ(defs[1].Name, "k_two");
  EXPECT_EQ(defs[1].Value, "'two'");
  EXPECT_EQ(defs[1].Rest, "&& second");
  EXPECT_EQ(defs[2].Line, 2);
  EXPECT_EQ(defs[2].Rest, "+ ;");
  EXPECT_EQ(CollectDefines(LinesReader(lines), 6).size(), 4u);
  EXPECT_TRUE(CollectDefines(LinesReader(lines), -1).empty());
}

}  // namespace
}  // namespace vemlo
