// The comment block and the key table menu.
#include <gtest/gtest.h>

#include "editor.h"
#include "plugin_host.h"
#include "shell/vemlolib.h"

namespace vemlo {
namespace {

TEST(CommentBlock, StreamBlockStartsAtItsColumnThenColumnZero) {
  test::PluginHost ph("  a = 1\r\n  b = 2\r\n  c = 3\r\nd = 4\r\n");
  // From line 0, column 2 up to the start of line 2: line 2 is not touched.
  ph.Host().CurrentEditor()->Block = sim::EditorBlock{BTYPE_STREAM, 0, 2, 2, 0};
  ph.Keys({"Enter"});  // the input box's default symbol "*** "
  CommentBlock();
  EXPECT_EQ(ph.Text(), "  *** a = 1\n***   b = 2\n  c = 3\nd = 4\n");
}

TEST(CommentBlock, ColumnBlockGetsTheSymbolAtItsLeftColumn) {
  test::PluginHost ph("abcdef\r\nghijkl\r\nmnopqr\r\n");
  ph.Host().CurrentEditor()->Block = sim::EditorBlock{BTYPE_COLUMN, 0, 2, 1, 4};
  ph.Keys({"Home", "Del", "Del", "Del", "Del", "type &&", "Enter"});
  CommentBlock();
  EXPECT_EQ(ph.Text(), "ab&&cdef\ngh&&ijkl\nmnopqr\n");
}

TEST(CommentBlock, NoBlockWarnsCancelDoesNothing) {
  test::PluginHost ph("x = 1\r\n");
  ph.Keys({"Enter"});
  CommentBlock();
  auto shown = ph.WindowsOf("message");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Lines[0], "Select a block first");
  ph.Host().CurrentEditor()->Block = sim::EditorBlock{BTYPE_STREAM, 0, 0, 0, 3};
  ph.Keys({"Esc"});
  CommentBlock();
  EXPECT_EQ(ph.Text(), "x = 1\n");
}

TEST(FoxKeys, CodeWithCommentOrNameByTheClosingKey) {
  test::PluginHost ph;
  std::string result;
  ph.Keys({"Enter"});  // the first record: F1 alone
  PickFoxKey(false, result);
  EXPECT_EQ(result, "28 &&--- F1");
  ph.Keys({"Ctrl"});
  PickFoxKey(false, result);
  EXPECT_EQ(result, "94 &&--- Ctrl+F1");
  ph.Keys({"Space"});
  PickFoxKey(true, result);
  EXPECT_EQ(result, "Shift+F1");
  ph.Keys({"Alt"});
  PickFoxKey(true, result);
  EXPECT_EQ(result, "Alt+F1");
  ph.Keys({"Esc"});
  PickFoxKey(false, result);
  EXPECT_EQ(result, "");
  auto menus = ph.WindowsOf("menu");
  ASSERT_FALSE(menus.empty());
  EXPECT_EQ(menus[0].Title, "                 ALONE  SHIFT   CTRL    ALT ");
}

TEST(FoxKeys, CtrlSpaceAndAltSpacePickTheColumnsOfCtrlAndAlt) {
  // What a terminal sends for them: no modifier is ever pressed alone there.
  test::PluginHost ph;
  std::string result;
  ph.Keys({"Ctrl+Space"});
  PickFoxKey(false, result);
  EXPECT_EQ(result, "94 &&--- Ctrl+F1");
  ph.Keys({"Alt+Space"});
  PickFoxKey(true, result);
  EXPECT_EQ(result, "Alt+F1");
  // Shift+Space is no break key: the menu stays until Enter picks the key alone.
  ph.Keys({"Shift+Space", "Enter"});
  PickFoxKey(true, result);
  EXPECT_EQ(result, "F1");
}

}  // namespace
}  // namespace vemlo
