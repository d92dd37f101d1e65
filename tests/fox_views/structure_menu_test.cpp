// The structure review's menu: category keys, shown items, break keys.
#include "fox/views/structure_menu.h"

#include <gtest/gtest.h>

#include "editor.h"
#include "plugin_host.h"
#include "shell/vemlo.h"
#include "views_support.h"

namespace vemlo {
namespace {

TEST(StructMenuKeys, KeySignCaption) {
  TxxCategoryKey k = ParseCategoryKey("F5+Conditions");
  EXPECT_EQ(k.KeyCode, VK_F5);
  EXPECT_EQ(k.SignPos, 3);
  k = ParseCategoryKey("1-Loops");
  EXPECT_EQ(k.KeyCode, '1');
  EXPECT_EQ(k.SignPos, 2);
  EXPECT_EQ(ParseCategoryKey("F12-x").KeyCode, VK_F12);
  EXPECT_EQ(ParseCategoryKey("Fx+y").KeyCode, 111 + 13);  // not a number: 13
  EXPECT_EQ(ParseCategoryKey("F+y").KeyCode, 'F');         // the sign too early
  EXPECT_EQ(ParseCategoryKey("A+b-c").SignPos, 4);          // the later of the two signs
  EXPECT_EQ(ParseCategoryKey("").KeyCode, 0);
}

TxxLangStructItem Entry(int line, unsigned flags, const std::string& text, int anchor = 1) {
  TxxLangStructItem e;
  e.Line = line;
  e.Flags = flags;
  e.Graph = "   ";
  e.Text = text;
  e.Anchor = anchor;
  return e;
}

TEST(StructMenuItems, ShownEntriesSelectionAndOffset) {
  TxxLangStructItemArr entries = {Entry(0, efHeading | efStatement, "PROCEDURE P"),
                                  Entry(1, efStatement, "x = 1"), Entry(2, efCondOpen | efStatement, "IF a"),
                                  Entry(3, efBookmark, "y")};
  entries[3].BookmarkNo = 4;
  entries[1].Selected = true;
  entries[1].Mark = '\x10';
  std::vector<bool> none(10, false);
  auto items = BuildStructMenuItems(entries, none, false, 0);
  ASSERT_EQ(items.size(), 1u);  // the heading stays
  EXPECT_EQ(items[0].Text, "    1    PROCEDURE P");
  EXPECT_FALSE(items[0].Selected);  // the hidden selection has no later item to pass to

  std::vector<bool> cond(10, false);
  cond[0] = true;
  cond[9] = true;
  items = BuildStructMenuItems(entries, cond, true, 0);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(items[1].Selected);  // passed on from the hidden "x = 1"
  EXPECT_EQ(items[1].Entry, 2);
  EXPECT_EQ(items[1].Text, "    3  &      IF a");
  EXPECT_EQ(items[2].Text, "    4 (&4)    y");
  EXPECT_EQ(items[0].Check, ' ');

  std::vector<bool> all(10, true);
  items = BuildStructMenuItems(entries, all, false, 5);
  EXPECT_EQ(items[1].Text, "    2 = 1");
  EXPECT_EQ(items[1].Check, '\x10');
  items = BuildStructMenuItems(entries, all, false, 1000);
  EXPECT_EQ(items[1].Text, "    2 ");
  TxxLangStructItemArr wide = {Entry(0, efHeading, std::string(300, 'w'))};
  EXPECT_EQ(BuildStructMenuItems(wide, all, false, 0)[0].Text.size(), 127u);
}

// The menu over a real editor: the transcript holds every menu shown.
struct ReviewRun {
  test::PluginHost Ph;
  explicit ReviewRun(const std::string& text) : Ph(text) { Ph.Tree().Write("vemlo.ini", "[PROJ]\n"); }
  std::vector<sim::ShownWindow> Menus() { return Ph.WindowsOf("menu"); }
};

TEST(StructMenuRun, TogglesPersistAndScrollingStops) {
  ResetStructCategories();
  const std::string longLine = "x = \"" + std::string(1100, 'L') + "\"";
  ReviewRun run("PROCEDURE P\r\n" + longLine + "\r\nIF a\r\nELSE\r\nENDIF\r\n");
  std::vector<std::string> keys = {"7"};  // other statements become visible
  for (int i = 0; i < 300; ++i) keys.push_back("Right");
  keys.push_back("Esc");
  run.Ph.Keys(keys);
  EXPECT_EQ(DispatchCommand(6), 1);
  auto menus = run.Menus();
  ASSERT_EQ(menus.size(), 302u);
  EXPECT_NE(menus[0].Title.find("7-Stmt"), std::string::npos);
  EXPECT_NE(menus[1].Title.find("7+Stmt"), std::string::npos);
  // Offset 1000: the long statement shows its characters from 1001 on.
  const std::string& last = menus.back().Lines[1];
  EXPECT_EQ(last, "    2 " + std::string(111, 'L') + "\"");
  EXPECT_EQ(menus[251].Lines[1], last);
  EXPECT_NE(menus[250].Lines[1], last);

  // The next command shows the row as it was left; Left at offset 0 stays.
  run.Ph.Keys({"Left", "Left", "Esc"});
  EXPECT_EQ(DispatchCommand(6), 1);
  menus = run.Menus();
  ASSERT_EQ(menus.size(), 305u);
  EXPECT_NE(menus[302].Title.find("7+Stmt"), std::string::npos);
  EXPECT_EQ(menus[304].Lines[0], menus[302].Lines[0]);
  ResetStructCategories();
}

TEST(StructMenuRun, PlusAndMinusOfTheMainKeyboardShowAndHideAll) {
  ResetStructCategories();
  ReviewRun run("PROCEDURE P\r\nx = 1\r\n* note\r\nIF a\r\nENDIF\r\n");
  // "+" (Shift and the key right of 0) shows every category, "-" hides them,
  // as Gray+ and Gray- do; "=" (the same key without Shift) does neither.
  run.Ph.Keys({"type +=-", "Gray+", "Esc"});
  EXPECT_EQ(DispatchCommand(6), 1);
  // "=" closes no menu: four menus, the first as the categories start.
  auto menus = run.Menus();
  ASSERT_EQ(menus.size(), 4u);
  auto count = [](const sim::ShownWindow& m, char sign) { return std::count(m.Title.begin(), m.Title.end(), sign); };
  EXPECT_GT(count(menus[0], '-'), 0);
  EXPECT_EQ(count(menus[1], '-'), 0) << menus[1].Title;
  EXPECT_EQ(count(menus[2], '+'), 0) << menus[2].Title;
  EXPECT_EQ(menus[3].Title, menus[1].Title);
  EXPECT_GT(menus[1].Lines.size(), menus[2].Lines.size());
  ResetStructCategories();
}

TEST(StructMenuRun, CtrlUpFindsTheSameColumnAndEscapeKeepsTheCursor) {
  ResetStructCategories();
  ReviewRun run("PROCEDURE P\r\nIF a\r\nx = 1\r\nELSE\r\nENDIF\r\n");
  run.Ph.Host().CurrentEditor()->CurLine = 3;  // on the ELSE
  run.Ph.Keys({"Ctrl+Up", "Ctrl+Up", "Enter"});
  EXPECT_EQ(DispatchCommand(6), 1);
  // From the ELSE to its IF; a second Ctrl+Up finds none above and only beeps.
  EXPECT_EQ(run.Ph.Host().CurrentEditor()->CurLine, 1);
  run.Ph.Host().CurrentEditor()->CurLine = 4;
  run.Ph.Keys({"Up", "Esc"});
  EXPECT_EQ(DispatchCommand(6), 1);
  EXPECT_EQ(run.Ph.Host().CurrentEditor()->CurLine, 4);
  // Ctrl+Up on the first item does nothing.
  run.Ph.Keys({"Up", "Up", "Up", "Ctrl+Up", "Enter"});
  EXPECT_EQ(DispatchCommand(6), 1);
  EXPECT_EQ(run.Ph.Host().CurrentEditor()->CurLine, 0);
  ResetStructCategories();
}

}  // namespace
}  // namespace vemlo
