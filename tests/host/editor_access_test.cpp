// Editor access: words, cursor moves, bookmarks, the panel file, screen positions.
#include <gtest/gtest.h>

#include "editor.h"
#include "host/xxfar.h"
#include "plugin_host.h"

namespace vemlo {
namespace {

void MoveTo(sim::SimHost& host, int line, int pos) {
  EditorSetPosition p;
  p.CurLine = line;
  p.CurPos = pos;
  host.EditorControl(ECTL_SETPOSITION, &p);
}

TEST(EditorAccess, WordAtCursorFollowsTheCharacterUnderTheCursor) {
  test::PluginHost ph("foo.bar\r\nx = abc\r\n");
  MoveTo(ph.Host(), 0, 1);
  EXPECT_EQ(FarWordAtCursor(IdentChars), "foo");
  MoveTo(ph.Host(), 0, 2);
  EXPECT_EQ(FarWordAtCursor(IdentChars), "foo");
  MoveTo(ph.Host(), 0, 3);  // on the dot
  EXPECT_EQ(FarWordAtCursor(IdentChars), "");
  MoveTo(ph.Host(), 0, 4);
  EXPECT_EQ(FarWordAtCursor(IdentChars), "bar");
  MoveTo(ph.Host(), 1, 7);  // just right of the last word
  EXPECT_EQ(FarWordAtCursor(IdentChars), "");
  EXPECT_EQ(FarWordAtCursor(WithChars(IdentChars, ".")), "");
  MoveTo(ph.Host(), 0, 5);
  EXPECT_EQ(FarWordAtCursor(WithChars(IdentChars, ".")), "foo.bar");
}

TEST(EditorAccess, SelectionWinsOverTheWord) {
  test::PluginHost ph("a = b. c\r\nnext\r\n");
  sim::EditorWindow* ed = ph.Host().CurrentEditor();
  ASSERT_NE(ed, nullptr);
  ed->Block = sim::EditorBlock{BTYPE_STREAM, 0, 2, 0, 7};
  MoveTo(ph.Host(), 0, 0);
  EXPECT_EQ(FarWordAtCursor(IdentChars), "= b. ");
  ed->Block = sim::EditorBlock{BTYPE_STREAM, 0, 4, 1, 2};  // runs past the end of the line
  EXPECT_EQ(FarWordAtCursor(IdentChars), "b. c");
}

TEST(EditorAccess, GotoLineRefusesLinesOutsideTheText) {
  test::PluginHost ph("one\r\ntwo\r\nthree");
  MoveTo(ph.Host(), 1, 2);
  EXPECT_FALSE(FarGotoLine(3, -1, -1, -1, false));
  EXPECT_FALSE(FarGotoLine(-1, -1, -1, -1, false));
  EditorInfo ei = FarEditorInfo();
  EXPECT_EQ(ei.CurLine, 1);
  EXPECT_EQ(ei.CurPos, 2);
  EXPECT_TRUE(FarGotoLine(2, 0, 0, 0, false));
  ei = FarEditorInfo();
  EXPECT_EQ(ei.CurLine, 2);
  EXPECT_EQ(ei.CurPos, 0);
}

TEST(EditorAccess, GotoLineKeepsTheLineAboveTheLastRow) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  test::PluginHost ph(text);
  ASSERT_TRUE(FarGotoLine(100, 4, 0, 0, false));
  EXPECT_EQ(FarEditorInfo().TopScreenLine, 96);
  // Asking for more rows above than the window has puts the line on the second-last row.
  ASSERT_TRUE(FarGotoLine(150, 40, 0, 0, false));
  EditorInfo ei = FarEditorInfo();
  EXPECT_EQ(ei.TopScreenLine, 150 - ei.WindowSizeY + 2);
}

TEST(EditorAccess, BookmarksComeBackInTextOrder) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "some text here\r\n";
  test::PluginHost ph(text);
  sim::EditorWindow* ed = ph.Host().CurrentEditor();
  ed->Bookmarks[0] = sim::Bookmark{40, 1, 0, 0};
  ed->Bookmarks[4] = sim::Bookmark{3, 7, 0, 0};
  ed->Bookmarks[7] = sim::Bookmark{3, 2, 1, 0};
  TxxFarBookmarkArr list;
  ASSERT_TRUE(FarGetBookmarks(list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Number, 7);
  EXPECT_EQ(list[0].Line, 3);
  EXPECT_EQ(list[0].Col, 2);
  EXPECT_EQ(list[1].Number, 4);
  EXPECT_EQ(list[1].Col, 7);
  EXPECT_EQ(list[2].Number, 0);
  EXPECT_EQ(list[2].Line, 40);
}

TEST(EditorAccess, RestorePosPutsCursorAndViewBack) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "\tline\r\n";
  test::PluginHost ph(text);
  ASSERT_TRUE(FarGotoLine(60, 5, 0, 3, false));
  EditorInfo saved = FarEditorInfo();
  {
    FarSavedPos keep;
    FarGotoLine(2, -1, -1, -1, false);
    EXPECT_EQ(FarEditorInfo().CurLine, 2);
  }
  EditorInfo now = FarEditorInfo();
  EXPECT_EQ(now.CurLine, saved.CurLine);
  EXPECT_EQ(now.CurPos, saved.CurPos);
  EXPECT_EQ(now.TopScreenLine, saved.TopScreenLine);
  EXPECT_EQ(FarCursorScreenY(now), 5);
  EXPECT_EQ(FarCursorScreenX(now), 8 + 2);  // the tab expands to column 8
}

TEST(EditorAccess, PanelFileOnADriveRootHasOneBackslash) {
  sim::SimHostOptions options;
  options.PanelPath = "/vemlo-no-such-file.dbf";
  test::PluginHost ph("", "MAIN.PRG", options);
  EXPECT_EQ(FarPanelFile(true), "Z:\\vemlo-no-such-file.dbf");
}

}  // namespace
}  // namespace vemlo
