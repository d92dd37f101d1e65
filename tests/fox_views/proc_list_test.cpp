// The procedure list: item texts, targets, the selected and the marked item.
#include "fox/views/proc_list.h"

#include <gtest/gtest.h>

#include "editor.h"
#include "plugin_host.h"
#include "host/xxfar.h"
#include "shell/vemlo.h"
#include "views_support.h"

namespace vemlo {
namespace {

TxxFoxProc Proc(int first, int decl, int last, const std::string& name, bool function = false) {
  TxxFoxProc p;
  p.FirstLine = first;
  p.DeclLine = decl;
  p.LastLine = last;
  p.Name = name;
  p.IsFunction = function ? 1 : 0;
  return p;
}

TxxProcList Build(const TxxFoxProcArr& procs, int cursorLine, int cursorCol, TxxBookmarkArr marks = {},
                  int width = 80, int height = 20) {
  TxxProcListInput in;
  in.Procs = &procs;
  in.ParamText = [](int entry) { return entry == 1 ? std::string("(a, b)") : std::string("()"); };
  in.Bookmarks = std::move(marks);
  in.Width = width;
  in.Height = height;
  in.CursorLine = cursorLine;
  in.CursorCol = cursorCol;
  return BuildProcList(in, [](int line) { return "   text of " + std::to_string(line); }, nullptr);
}

TEST(ProcListItems, TextsAndTargets) {
  const TxxFoxProcArr procs = {Proc(0, -1, 3, "MAIN.PRG"), Proc(4, 6, 10, " First "),
                               Proc(11, 11, 20, "Second", true)};
  const TxxProcList list = Build(procs, 0, 0);
  ASSERT_EQ(list.Items.size(), 3u);
  EXPECT_EQ(list.Items[0].Text, "\x10    1 \xC3\xC4MAIN.PRG ()");
  EXPECT_EQ(list.Items[1].Text, "     5 \xC3\xC4proc First (a, b)");
  EXPECT_EQ(list.Items[2].Text, "    12 \xC3\xC4" "func Second ()");
  // Two comment lines above: the first of them at the window's top.
  EXPECT_EQ(list.Items[1].Target.Line, 6);
  EXPECT_EQ(list.Items[1].Target.ScreenOffset, 2);
  EXPECT_EQ(list.Items[0].Target.Line, 0);
  EXPECT_EQ(list.Items[0].Target.ScreenOffset, -1);
  // A window too low for all the comments.
  const TxxFoxProcArr tall = {Proc(0, -1, 1, ""), Proc(2, 30, 40, "P")};
  EXPECT_EQ(Build(tall, 0, 0, {}, 80, 10).Items[0].Target.ScreenOffset, 8);
  // Too narrow: empty texts, the items stay; a wide one is cut to W - 9.
  const TxxProcList narrow = Build(procs, 12, 0, {}, 9);
  ASSERT_EQ(narrow.Items.size(), 3u);
  for (const auto& item : narrow.Items) EXPECT_EQ(item.Text, "");
  EXPECT_EQ(narrow.Selected, 2);
  EXPECT_EQ(Build(procs, 0, 0, {}, 23).Items[1].Text, "     5 \xC3\xC4proc");  // cut, then trimmed
}

TEST(ProcListItems, SelectedAndMarkedWithBookmarks) {
  const TxxFoxProcArr procs = {Proc(0, -1, 3, ""), Proc(4, 4, 10, "First"), Proc(11, 11, 20, "Second")};
  // The unnamed main entry is not listed; its bookmark goes with the next entry.
  TxxBookmarkArr marks = {{2, 1, 0, 0, 0}, {5, 13, 3, 4, 1}, {0, 15, 0, 2, 0}, {9, 15, 6, 2, 0},
                             {1, 30, 0, 0, 0}};
  const TxxProcList list = Build(procs, 15, 4, marks);
  ASSERT_EQ(list.Items.size(), 6u);  // the bookmark after the last entry is left out
  EXPECT_EQ(list.Items[1].Text, "     2 \xB3 (&2) text of 1" + std::string(80 - 9 - 23, ' '));
  EXPECT_EQ(list.Items[1].Text.size(), 71u);
  EXPECT_EQ(list.Selected, 2);
  // The first bookmark on the cursor line is marked whatever its column; the
  // second only when its column is not after the cursor's.
  EXPECT_EQ(list.Marked, 4);
  EXPECT_EQ(list.Items[4].Text[0], '\x10');
  EXPECT_EQ(list.Items[2].Text[0], ' ');
  EXPECT_EQ(Build(procs, 15, 6, marks).Marked, 5);
  EXPECT_EQ(Build(procs, 14, 9, marks).Marked, 3);
  EXPECT_EQ(list.Items[3].Target.Line, 13);
  EXPECT_EQ(list.Items[3].Target.Col, 3);
  EXPECT_EQ(list.Items[3].Target.ScreenOffset, 4);
  EXPECT_EQ(list.Items[3].Target.LeftPos, 1);
  // Nothing at or before the cursor: neither selected nor marked.
  const TxxFoxProcArr late = {Proc(0, -1, 3, ""), Proc(4, 4, 10, "First")};
  const TxxProcList none = Build(late, 2, 0);
  EXPECT_EQ(none.Selected, -1);
  EXPECT_EQ(none.Marked, -1);
}

TEST(ProcListRun, TitleCountsEveryEntryAndBookmarksFollowTheOption) {
  test::PluginHost ph("x = 1\r\nPROCEDURE One\r\nPARAMETERS m.a\r\ny = 2\r\nFUNCTION Two\r\nRETURN\r\n");
  ph.Tree().Write("vemlo.ini", "[PROJ]\n");
  sim::EditorWindow* ed = ph.Host().CurrentEditor();
  ed->CurLine = 3;
  ph.Keys({"Esc"});
  EXPECT_EQ(DispatchCommand(5), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].Title, "Procedures (3 entries)");
  ASSERT_EQ(menus[0].Lines.size(), 3u);
  EXPECT_EQ(menus[0].Lines[1], "\x10    2 \xC3\xC4proc One (a)");
  EXPECT_EQ(ed->CurLine, 3);  // Escape leaves the cursor

  // Bookmarks shown, then hidden by a blank "ShowBookmarks".
  ed->Bookmarks[3].Line = 3;
  ph.Keys({"Esc"});
  EXPECT_EQ(DispatchCommand(5), 1);
  ASSERT_EQ(ph.WindowsOf("menu").back().Lines.size(), 4u);
  EXPECT_EQ(ph.WindowsOf("menu").back().Lines[2].substr(0, 19), "\x10    4 \xB3 (&3) y = 2");
  ph.Keys({"Esc"});
  test::SetOption("ShowBookmarks", " ");
  EXPECT_EQ(DispatchCommand(5), 1);
  EXPECT_EQ(ph.WindowsOf("menu").back().Lines.size(), 3u);
  test::SetOption("ShowBookmarks", "+");
  ed->Bookmarks[3].Line = -1;
  // Choosing an item jumps to its declaration line.
  ph.Keys({"Down", "Enter"});
  EXPECT_EQ(DispatchCommand(5), 1);
  EXPECT_EQ(ed->CurLine, 4);
  EXPECT_EQ(ed->CurPos, 0);
}

}  // namespace
}  // namespace vemlo

namespace vemlo {
namespace {

TEST(ProcListRun, AnUnnamedMainEntryCountsButIsNotListed) {
  // A procedure named like the file leaves the main entry without a name.
  test::PluginHost ph("x = 1\r\nPROCEDURE Main\r\ny = 2\r\nFUNCTION Two\r\nRETURN\r\n");
  ph.Tree().Write("vemlo.ini", "[PROJ]\n");
  ph.Keys({"Esc"});
  EXPECT_EQ(DispatchCommand(5), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].Title, "Procedures (3 entries)");
  ASSERT_EQ(menus[0].Lines.size(), 2u);
  EXPECT_EQ(menus[0].Lines[0], "     2 \xC3\xC4proc Main ()");
}

}  // namespace
}  // namespace vemlo

namespace vemlo {
namespace {

// Program text with the main entry and `procs` procedures.
std::string Procedures(int procs) {
  std::string text = "x = 1\r\n";
  for (int i = 0; i < procs; ++i) text += "PROCEDURE P" + std::to_string(i) + "\r\nRETURN\r\n";
  return text;
}

int ProgressBoxes(const test::PluginHost& ph) {
  const std::string building = Trim(Msg(MsgId::BuildingProcList));
  int n = 0;
  for (const sim::ShownWindow& w : ph.WindowsOf("message"))
    if (!w.Lines.empty() && Trim(w.Lines[0]) == building) ++n;
  return n;
}

TEST(ProcListRun, AProgressBoxOnlyAboveTwentyEntries) {
  for (int entries : {20, 21}) {
    SCOPED_TRACE(entries);
    test::PluginHost ph(Procedures(entries - 1));
    ph.Tree().Write("vemlo.ini", "[PROJ]\n");
    ph.Keys({"Esc"});
    EXPECT_EQ(DispatchCommand(5), 1);
    ASSERT_EQ(ph.WindowsOf("menu").size(), 1u);
    EXPECT_EQ(ph.WindowsOf("menu")[0].Title, "Procedures (" + std::to_string(entries) + " entries)");
    // The box is shown when opened and again at every entry.
    EXPECT_EQ(ProgressBoxes(ph), entries > 20 ? entries + 1 : 0);
  }
}

}  // namespace
}  // namespace vemlo
