// Parameter lists of project procedures, from the editor and from disk.
#include "fox/insight/proc_param_text.h"

#include <gtest/gtest.h>

#include <climits>

#include "editor.h"
#include "host/editor_model.h"
#include "plugin_host.h"
#include "views_support.h"

namespace vemlo {
namespace {

std::string FromLines(const std::vector<std::string>& lines, int first = 1, int last = -1, int limit = -1) {
  const int n = static_cast<int>(lines.size()) - 1;
  return ParamTextFromLines(test::LinesOf(lines), first, last < 0 ? n : last, limit < 0 ? n : limit);
}

TEST(ProcParamText, ListsFromTheParametersStatement) {
  EXPECT_EQ(FromLines({"PROCEDURE P", "PARAMETERS m.cName, nCount"}), "(cName, nCount)");
  EXPECT_EQ(FromLines({"PROCEDURE P", "x = 1"}), "()");
  EXPECT_EQ(FromLines({"PROCEDURE P"}), "()");
  // Comments, directives and empty lines before it are passed over; PARA counts.
  EXPECT_EQ(FromLines({"PROCEDURE P", "", "* note", "&& c", "NOTE n", "#DEFINE X 1",
                       "  para  M.a ,b,m.c   && the list"}),
            "(a, b, c)");
  EXPECT_EQ(FromLines({"PROCEDURE P", "PAR a"}), "()");  // three letters are not enough
  // Continued over lines with ";".
  EXPECT_EQ(FromLines({"PROCEDURE P", "PARAMETERS a, ;", "   m.b, ;  ", "  c", "d = 1"}), "(a, b, c)");
  // The continuation stops at the limit (the procedure's last line in the editor).
  EXPECT_EQ(FromLines({"PROCEDURE P", "PARAMETERS a, ;", "b"}, 1, 1, 1), "(a, ;)");
  // "M." inside a name is kept.
  EXPECT_EQ(FromLines({"PROCEDURE P", "PARAMETERS aM.b, xm.c"}), "(aM.b, xm.c)");
  EXPECT_EQ(FromLines({"PROCEDURE P", "PARAMETERS"}), "()");
}

TEST(ProcParamText, EditorOrDisk) {
  test::PluginHost ph("PROCEDURE Ed\r\nPARAMETERS m.x, ;\r\n  y\r\n", "MAIN.PRG");
  ph.Tree().Write("LIB.PRG", "* lib\r\nPROCEDURE One\r\n* c\r\nPARA a,;\r\nb && c\r\nRETURN\r\n");
  TxxFoxProg edited;
  edited.FileName = ph.EditedPath();
  for (char& c : edited.FileName) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  edited.Procs = {TxxFoxProc{0, 2, 0, "MAIN.PRG", "", 0}, TxxFoxProc{0, 2, 0, "Ed", "", 0}};
  sim::EditorWindow* ed = ph.Host().CurrentEditor();
  ed->CurLine = 2;
  ed->CurPos = 1;
  EXPECT_EQ(ProcParamText(edited, 1), "(x, y)");
  EXPECT_EQ(ed->CurLine, 2);  // the editor position is kept
  EXPECT_EQ(ed->CurPos, 1);
  EXPECT_EQ(ProcParamText(edited, 5), "");

  TxxFoxProg lib;
  lib.FileName = ph.Tree().Dos("LIB.PRG");
  lib.Procs = {TxxFoxProc{0, 0, -1, "LIB.PRG", "", 0}, TxxFoxProc{0, 5, 1, "One", "", 0}};
  EXPECT_EQ(ProcParamText(lib, 1), "(a, b)");
  // The main entry of the file: from its first line.
  EXPECT_EQ(ProcParamText(lib, 0), "()");
  lib.FileName = ph.Tree().Dos("MISSING.PRG");
  EXPECT_EQ(ProcParamText(lib, 1), "");
}

}  // namespace
}  // namespace vemlo
