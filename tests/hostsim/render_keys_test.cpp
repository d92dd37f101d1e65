#include <gtest/gtest.h>

#include "editor_view.h"
#include "host_fixture.h"
#include "input.h"
#include "palette.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

KEY_EVENT_RECORD Key(int vk, char ch = 0, unsigned state = 0) { return KeyEvent(vk, ch, state).KeyEvent; }

TEST(EditorRender, TabsLeftPositionBlockAndCursor) {
  HostFixture f;
  EditorWindow& ed = f.Open("a\tb\r\n0123456789ABCDEF\r\n", 40, 10);
  Console& con = f.S->Host().Screen();
  RenderEditor(ed, con);
  EXPECT_EQ(f.Row(1), "a       b");
  EXPECT_EQ(f.Row(2), "0123456789ABCDEF");
  EXPECT_EQ(f.Row(3), "");
  EXPECT_NE(f.Row(0).find("Line 1/3  Col 1"), std::string::npos);
  EXPECT_EQ(f.Row(9).substr(0, 5), "1He2S");  // 40 columns leave three a label
  EXPECT_EQ(con.At(0, 1).Attr, PaletteColor(COL_EDITORTEXT));

  ed.LeftPos = 4;
  ed.CurLine = 1;
  ed.CurPos = 6;
  ed.Block = EditorBlock{BTYPE_STREAM, 1, 5, 1, 8};
  RenderEditor(ed, con);
  EXPECT_EQ(f.Row(1), "    b");  // the tab's last columns, then b at column 8
  EXPECT_EQ(f.Row(2), "456789ABCDEF");
  EXPECT_EQ(con.At(0, 2).Attr, PaletteColor(COL_EDITORTEXT));   // '4'
  EXPECT_EQ(con.At(1, 2).Attr, PaletteColor(COL_EDITORSELECTEDTEXT));  // '5'
  EXPECT_EQ(con.At(3, 2).Attr, PaletteColor(COL_EDITORSELECTEDTEXT));  // '7'
  EXPECT_EQ(con.At(4, 2).Attr, PaletteColor(COL_EDITORTEXT));   // '8' is past the end
  EXPECT_EQ(con.CursorX, 2);
  EXPECT_EQ(con.CursorY, 2);
  EXPECT_NE(f.Row(0).find("Line 2/3  Col 7"), std::string::npos);

  // A column block is drawn over its screen columns, also beyond a short line.
  ed.LeftPos = 0;
  ed.Block = EditorBlock{BTYPE_COLUMN, 0, 6, 1, 10};
  RenderEditor(ed, con);
  EXPECT_EQ(con.At(5, 1).Attr, PaletteColor(COL_EDITORTEXT));
  EXPECT_EQ(con.At(6, 1).Attr, PaletteColor(COL_EDITORSELECTEDTEXT));
  EXPECT_EQ(con.At(9, 1).Attr, PaletteColor(COL_EDITORSELECTEDTEXT));
  EXPECT_EQ(con.At(10, 1).Attr, PaletteColor(COL_EDITORTEXT));
}

TEST(EditorKeys, TypingEnterBackspaceDeleteOvertype) {
  HostFixture f;
  EditorWindow& ed = f.Open("ab\ncd");
  ed.CurPos = 1;
  EXPECT_TRUE(EditorHandleKey(ed, Key('X', 'x')));
  EXPECT_TRUE(EditorHandleKey(ed, Key(VK_RETURN, '\r')));
  EXPECT_EQ(EditorText(ed), "ax\nb\ncd");
  EXPECT_TRUE(EditorHandleKey(ed, Key(VK_BACK, 8)));  // joins with the line above
  EXPECT_EQ(EditorText(ed), "axb\ncd");
  EXPECT_EQ(ed.CurPos, 2);
  EXPECT_TRUE(EditorHandleKey(ed, Key(VK_TAB, '\t')));
  EXPECT_TRUE(EditorHandleKey(ed, Key(VK_DELETE)));
  EXPECT_EQ(EditorText(ed), "ax\t\ncd");
  EXPECT_TRUE(EditorHandleKey(ed, Key(VK_INSERT)));
  ed.CurLine = 1;
  ed.CurPos = 0;
  EditorHandleKey(ed, Key('Q', 'Q', SHIFT_PRESSED));
  EXPECT_EQ(EditorText(ed), "ax\t\nQd");
  // Keys with Ctrl or Alt do not type.
  EXPECT_FALSE(EditorHandleKey(ed, Key('A', 1, LEFT_CTRL_PRESSED)));
  EXPECT_FALSE(EditorHandleKey(ed, Key(VK_F5)));
  EXPECT_EQ(EditorText(ed), "ax\t\nQd");
}

TEST(EditorKeys, MovesKeepTheScreenColumn) {
  HostFixture f;
  EditorWindow& ed = f.Open("\tx\n0123456789\nab", 80, 6);  // 4 text rows
  ed.CurLine = 1;
  ed.CurPos = 8;
  EditorHandleKey(ed, Key(VK_UP));
  EXPECT_EQ(ed.CurLine, 0);
  EXPECT_EQ(ed.CurPos, 1);  // column 8 is the 'x' after the tab
  EditorHandleKey(ed, Key(VK_END));
  EXPECT_EQ(ed.CurPos, 2);
  EditorHandleKey(ed, Key(VK_END, 0, LEFT_CTRL_PRESSED));
  EXPECT_EQ(ed.CurLine, 2);
  EXPECT_EQ(ed.CurPos, 2);
  EditorHandleKey(ed, Key(VK_HOME, 0, LEFT_CTRL_PRESSED));
  EXPECT_EQ(ed.CurLine, 0);
  EXPECT_EQ(ed.CurPos, 0);
  EditorHandleKey(ed, Key(VK_LEFT));
  EXPECT_EQ(ed.CurPos, 0);
  for (int i = 0; i < 12; ++i) EditorHandleKey(ed, Key(VK_RIGHT));
  EXPECT_EQ(ed.CurPos, 12);  // past the end of the line
  EditorHandleKey(ed, Key(VK_NEXT));
  EXPECT_EQ(ed.CurLine, 2);
  EditorHandleKey(ed, Key(VK_PRIOR));
  EXPECT_EQ(ed.CurLine, 0);
}

TEST(EditorKeys, ShiftAndAltShiftMakeBlocks) {
  HostFixture f;
  EditorWindow& ed = f.Open("hello\nworld\nagain");
  ed.CurPos = 1;
  EditorHandleKey(ed, Key(VK_RIGHT, 0, SHIFT_PRESSED));
  EditorHandleKey(ed, Key(VK_RIGHT, 0, SHIFT_PRESSED));
  int s, e;
  f.Sel(0, s, e);
  EXPECT_EQ(s, 1); EXPECT_EQ(e, 3);
  EditorHandleKey(ed, Key(VK_DOWN, 0, SHIFT_PRESSED));
  f.Sel(0, s, e);
  EXPECT_EQ(s, 1); EXPECT_EQ(e, -1);
  f.Sel(1, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, 3);
  // Back over the anchor: the block turns round.
  EditorHandleKey(ed, Key(VK_UP, 0, SHIFT_PRESSED));
  EditorHandleKey(ed, Key(VK_HOME, 0, SHIFT_PRESSED));
  f.Sel(0, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, 1);
  // A plain move drops it.
  EditorHandleKey(ed, Key(VK_DOWN));
  EXPECT_EQ(f.Info().BlockType, BTYPE_NONE);

  ed.CurLine = 0;
  ed.CurPos = 1;
  EditorHandleKey(ed, Key(VK_DOWN, 0, SHIFT_PRESSED | LEFT_ALT_PRESSED));
  EditorHandleKey(ed, Key(VK_RIGHT, 0, SHIFT_PRESSED | LEFT_ALT_PRESSED));
  EditorHandleKey(ed, Key(VK_RIGHT, 0, SHIFT_PRESSED | LEFT_ALT_PRESSED));
  EXPECT_EQ(f.Info().BlockType, BTYPE_COLUMN);
  for (int line = 0; line < 2; ++line) {
    f.Sel(line, s, e);
    EXPECT_EQ(s, 1); EXPECT_EQ(e, 3);
  }
  f.Sel(2, s, e);
  EXPECT_EQ(s, -1);
}

TEST(EditorKeys, BookmarkKeys) {
  HostFixture f;
  std::string text;
  for (int i = 0; i < 60; ++i) text += "l" + std::to_string(i) + "\n";
  EditorWindow& ed = f.Open(text);
  MoveCursor(ed, 40, 1);
  EXPECT_TRUE(EditorHandleKey(ed, Key('7', 0, LEFT_CTRL_PRESSED | SHIFT_PRESSED)));
  EXPECT_EQ(ed.Bookmarks[7].Line, 40);
  EXPECT_EQ(ed.Bookmarks[7].ScreenLine, 40 - ed.TopLine);
  MoveCursor(ed, 0, 0);
  EXPECT_TRUE(EditorHandleKey(ed, Key('7', 0, RIGHT_CTRL_PRESSED)));
  EXPECT_EQ(ed.CurLine, 40);
  EXPECT_EQ(ed.CurPos, 1);
  EXPECT_EQ(ed.CurLine - ed.TopLine, ed.Bookmarks[7].ScreenLine);
  // An unset bookmark moves nothing.
  EditorHandleKey(ed, Key('2', 0, RIGHT_CTRL_PRESSED));
  EXPECT_EQ(ed.CurLine, 40);
}

}  // namespace
}  // namespace vemlo::sim
