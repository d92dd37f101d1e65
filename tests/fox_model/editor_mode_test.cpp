// The model read from the replacement host's editor: the buffer, not the disk.
#include <gtest/gtest.h>

#include "editor.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "lib/xxlib.h"
#include "sim_host.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

struct HostedEditor {
  explicit HostedEditor(const std::string& nativePath) {
    ResetFoxModel();
    ReleaseIni();
    opened = host.OpenEditor(nativePath);
    FarSetInfo(host.StartupInfo());
  }
  ~HostedEditor() {
    ResetFoxModel();
    ReleaseIni();
    FarSetInfo(PluginStartupInfo{});
  }
  sim::SimHost host;
  bool opened = false;
};

TEST(EditorMode, UnsavedBufferIsParsedAndThePositionKept) {
  test::TempTree tree;
  tree.Write("A/vemlo.ini", "[PROJ]\nPrgSearchMask=.\\*.prg\n");
  tree.Write("A/main.prg", "PROCEDURE main\r\nRETURN\r\n");
  HostedEditor he(tree.Native("A/main.prg"));
  ASSERT_TRUE(he.opened);
  sim::EditorWindow& ed = *he.host.CurrentEditor();
  sim::SetEditorText(ed, "PROCEDURE main\r\nRETURN\r\nPROCEDURE extra\r\nm.x = 1\r\n"
                         "m.y = 2\r\nRETURN\r\n");
  ed.CurLine = 4;
  ed.CurPos = 3;
  ed.TopLine = 1;
  RefreshModel(false, false, false);

  const TxxInsight& in = Insight();
  const TxxFoxProg& prog = FoxProj().Progs.at(in.ProgIndex);
  ASSERT_EQ(prog.Procs.size(), 3u);
  EXPECT_EQ(prog.Procs[0].Name, "");  // PROCEDURE main hides the editor file's main entry
  EXPECT_EQ(prog.Procs[2].Name, "extra");
  EXPECT_EQ(in.ProcIndex, 2);
  ASSERT_EQ(in.Statements.size(), 5u);  // the empty line after the last line end included
  EXPECT_EQ(in.CursorStatement, 2);
  ASSERT_EQ(in.Statements[1].Elements.size(), 1u);
  EXPECT_EQ(in.Statements[1].Elements[0].Name, "x");
  EXPECT_TRUE(in.Statements[2].Elements.empty());
  EXPECT_EQ(ed.CurLine, 4);
  EXPECT_EQ(ed.CurPos, 3);
  EXPECT_EQ(ed.TopLine, 1);

  // Read from disk, the same file keeps its main entry's name.
  TxxFoxProg disk;
  disk.FileName = prog.FileName;
  ASSERT_EQ(ScanProceduresFromFile(disk), TxxReadStatus::Read);
  ASSERT_EQ(disk.Procs.size(), 2u);
  EXPECT_EQ(disk.Procs[0].Name, "MAIN");
}

TEST(EditorMode, LongTextShowsTheParsingProgress) {
  test::TempTree tree;
  tree.Write("A/vemlo.ini", "[PROJ]\n");
  std::string text;
  for (int i = 0; i < 5001; ++i) text += (i == 4000 ? "PROC late" : "x = 1") + std::string("\r\n");
  tree.Write("A/big.prg", text);
  HostedEditor he(tree.Native("A/big.prg"));
  ASSERT_TRUE(he.opened);
  he.host.CurrentEditor()->CurLine = 4500;
  RefreshModel(true, false, false);
  const std::string parsing = Trim(Msg(MsgId::ReadingEditorText));
  ASSERT_FALSE(parsing.empty());
  int boxes = 0;
  for (const sim::ShownWindow& w : he.host.Transcript()) {
    if (w.Kind == "message" && !w.Lines.empty() && Trim(w.Lines[0]) == parsing) ++boxes;
  }
  EXPECT_GT(boxes, 1);  // opened and stepped
  EXPECT_FALSE(FarProgressActive());
  EXPECT_EQ(Insight().ProcIndex, 1);
  EXPECT_EQ(he.host.CurrentEditor()->CurLine, 4500);
}

}  // namespace
}  // namespace vemlo
