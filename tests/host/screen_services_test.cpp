// Message boxes, menus, the progress box, framed views and the column ruler.
#include <gtest/gtest.h>

#include "host/xxfar.h"
#include "plugin_host.h"

namespace vemlo {
namespace {

TEST(Progress, TextIsCentredAndCutToFiftyBarIsClamped) {
  test::PluginHost ph;
  FarProgressOpen("Title", std::string(50, 'a'), 4);
  auto boxes = ph.WindowsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  ASSERT_EQ(boxes[0].Lines.size(), 2u);
  EXPECT_EQ(boxes[0].Lines[0], std::string(50, 'a'));  // no leading blanks
  FarProgressText("b" + std::string(59, 'c'));
  boxes = ph.WindowsOf("message");
  EXPECT_EQ(boxes.back().Lines[1], "b" + std::string(49, 'c'));
  FarProgressText("abcd");
  EXPECT_EQ(ph.WindowsOf("message").back().Lines[1], std::string(23, ' ') + "abcd" + std::string(23, ' '));
  FarProgressStep(9);  // beyond the total: a full bar
  EXPECT_EQ(ph.WindowsOf("message").back().Lines[1], std::string(50, '\xDB'));
  FarProgressStep(1);
  EXPECT_EQ(ph.WindowsOf("message").back().Lines[1], std::string(12, '\xDB') + std::string(38, '\xB0'));
  FarProgressClose();
  const size_t shown = ph.WindowsOf("message").size();
  FarProgressStep(2);  // closed: nothing is shown
  EXPECT_EQ(ph.WindowsOf("message").size(), shown);
  FarProgressOpen("T", "x", 0);
  FarProgressStep(1);  // total 0: nothing new
  EXPECT_EQ(ph.WindowsOf("message").size(), shown + 1);
  FarProgressClose();
  EXPECT_FALSE(FarProgressActive());
}

TEST(Progress, CloseRestoresTheScreen) {
  test::PluginHost ph("text on the first line\r\n");
  ph.Host().RedrawCurrentEditor();
  const std::string before = ph.Screen();
  {
    FarProgressGuard progress("Title", "working", 10);
    EXPECT_NE(ph.Screen(), before);
  }
  EXPECT_EQ(ph.Screen(), before);
}

TEST(FramedView, FrameGeometry) {
  test::PluginHost ph;
  ph.Tree().Write("view.txt", "hello\r\n");
  // The viewer closes on the first key; the frame around it stays on screen.
  ph.Keys({"Esc"});
  EditorInfo ei = FarEditorInfo();
  ASSERT_EQ(ei.WindowSizeX, 80);
  const int h = Min(3, ei.WindowSizeY - 2);
  const int top = (ei.WindowSizeY - h) / 2;
  FarFramedView(ph.Tree().Dos("view.txt"), "view", 200, 3, false);
  // The frame as the viewer inside it waited for its key.
  std::string topRow = ph.RowAtLastKey(top - 1);
  std::string line;
  for (int i = 0; i < 78; ++i) line += "─";
  // Asked for 200 columns in an 80-column window: the frame spans columns 0 to 79.
  EXPECT_EQ(topRow, "┌" + line + "┐");
  std::string bottomRow = ph.RowAtLastKey(top + h + 1);
  EXPECT_EQ(bottomRow.substr(0, 3), "└");
  // Closed, the viewer takes its frame with it: the editor is drawn again.
  EXPECT_EQ(ph.Screen().find("┌─"), std::string::npos) << ph.Screen();
  EXPECT_EQ(ph.Screen().find("└─"), std::string::npos) << ph.Screen();
}

TEST(CheckMenu, EnterWithNothingMarkedMarksTheHighlightedItem) {
  test::PluginHost ph;
  std::vector<FarMenuItem> items(3);
  SetMenuItemText(items[0], "one");
  SetMenuItemText(items[1], "two");
  SetMenuItemText(items[2], "three");
  ph.Keys({"Down", "Enter"});
  EXPECT_TRUE(FarCheckMenu("title", "Topic", items));
  EXPECT_EQ(items[0].Checked, 0);
  EXPECT_EQ(items[1].Checked, 1);
  EXPECT_EQ(items[2].Checked, 0);
}

TEST(CheckMenu, BreakKeysToggleMarkAllClearAndInvert) {
  test::PluginHost ph;
  std::vector<FarMenuItem> items(3);
  for (auto& it : items) SetMenuItemText(it, "item");
  // Space toggles the first and moves down; Ins toggles the second; Gray* inverts.
  ph.Keys({"Space", "Ins", "Gray*", "Enter"});
  EXPECT_TRUE(FarCheckMenu("t", "", items));
  EXPECT_EQ(items[0].Checked, 0);
  EXPECT_EQ(items[1].Checked, 0);
  EXPECT_EQ(items[2].Checked, 1);
  ph.Keys({"Gray+", "Enter"});
  EXPECT_TRUE(FarCheckMenu("t", "", items));
  EXPECT_EQ(items[0].Checked + items[1].Checked + items[2].Checked, 3);
  ph.Keys({"Gray-", "Esc"});
  EXPECT_FALSE(FarCheckMenu("t", "", items));
  EXPECT_EQ(items[0].Checked + items[1].Checked + items[2].Checked, 0);
}

TEST(Menu, SeparatorsAndHighlight) {
  test::PluginHost ph;
  ph.Keys({"Down", "Enter"});
  // The "-" item is a separator, so Down goes from "a" to "b".
  EXPECT_EQ(FarMenu("Topic", {"a", "-", "b", ""}, 0, "T", 0), 2);
  ph.Keys({"Esc"});
  EXPECT_EQ(FarMenu("Topic", {"a"}, 0, "T", 0), -1);
}

TEST(EditText, SavedChangeGivesOneEntryPerLineWithSeparator) {
  test::PluginHost ph;
  std::string value = "first\x0Csecond";
  // The editor opens on the file; type a new line at its end and save.
  ph.Keys({"Down", "End", "Enter", "type third", "F2", "Esc"});
  EXPECT_TRUE(FarEditText(value, "\x0C", "List", 5, 2, 60, 10, 0, 0));
  EXPECT_EQ(value, "first\x0Csecond\x0Cthird\x0C");
  EXPECT_EQ(ph.TempFiles(), 0);
  // Leaving without saving keeps the value.
  std::string kept = "a\x0C";
  ph.Keys({"type zzz", "Esc", "Esc"});
  EXPECT_FALSE(FarEditText(kept, "\x0C", "List", 5, 2, 60, 10, 0, 0));
  EXPECT_EQ(kept, "a\x0C");
  EXPECT_EQ(ph.TempFiles(), 0);
}

}  // namespace
}  // namespace vemlo
