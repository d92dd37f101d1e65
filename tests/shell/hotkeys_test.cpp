// Hot keys, the "." trigger and the extension test of the dispatcher.
#include <gtest/gtest.h>

#include "plugin_host.h"
#include "shell/commands.h"
#include "shell/vemlo.h"
#include "shell/vemlocfg.h"

namespace vemlo {
namespace {

KEY_EVENT_RECORD Key(int vk, unsigned state, char ch = 0) {
  KEY_EVENT_RECORD k;
  k.bKeyDown = 1;
  k.wVirtualKeyCode = vk;
  k.dwControlKeyState = state;
  k.AsciiChar = ch;
  return k;
}

TEST(HotKeys, OnlyTheExactModifierStatesMatch) {
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_CTRL_PRESSED)), 0);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, RIGHT_CTRL_PRESSED)), 0);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED)), 1);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, RIGHT_CTRL_PRESSED | RIGHT_ALT_PRESSED)), 1);
  // Right Ctrl with left Alt is no command at all.
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, RIGHT_CTRL_PRESSED | LEFT_ALT_PRESSED)), kHotKeyNone);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)), kHotKeyRuler);
  // Alt+Space, of either side, is the ruler where the two Ctrl keys cannot be
  // told apart; with Shift or Ctrl held as well it is something else.
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_ALT_PRESSED)), kHotKeyRuler);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, RIGHT_ALT_PRESSED)), kHotKeyRuler);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_ALT_PRESSED | SHIFT_PRESSED)), kHotKeyNone);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)), kHotKeyNone);
  // Shift held with Ctrl+Space gives the parameter hint, not completion.
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, LEFT_CTRL_PRESSED | SHIFT_PRESSED)), 2);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, RIGHT_CTRL_PRESSED | SHIFT_PRESSED)), 2);
  EXPECT_EQ(HotKeyAction(Key(VK_SPACE, 0)), kHotKeyNone);
  EXPECT_EQ(HotKeyAction(Key(VK_UP, LEFT_CTRL_PRESSED | SHIFT_PRESSED)), 5);
  EXPECT_EQ(HotKeyAction(Key(VK_DOWN, RIGHT_CTRL_PRESSED | SHIFT_PRESSED)), 6);
  EXPECT_EQ(HotKeyAction(Key(VK_UP, LEFT_CTRL_PRESSED)), kHotKeyNone);
  EXPECT_EQ(HotKeyAction(Key(VK_F1, 0)), 3);
  EXPECT_EQ(HotKeyAction(Key(VK_F1, SHIFT_PRESSED)), 4);
  EXPECT_EQ(HotKeyAction(Key(VK_F1, LEFT_ALT_PRESSED)), 4);
  // Lock keys and the enhanced-key bit are outside the mask.
  EXPECT_EQ(HotKeyAction(Key(VK_F1, NUMLOCK_ON | ENHANCED_KEY)), 3);
  EXPECT_EQ(HotKeyAction(Key('A', LEFT_CTRL_PRESSED)), kHotKeyNone);
}

TEST(ExtensionTest, ListedExtensionsAndTheirTails) {
  ResetOptions();
  EXPECT_TRUE(FileExtensionListed("C:\\P\\MAIN.PRG"));
  EXPECT_TRUE(FileExtensionListed("C:\\P\\MENU.MPR"));
  EXPECT_TRUE(FileExtensionListed("C:\\P\\X"));     // no extension: the bare ";" is in the list
  // The dot belongs to the key: neither ".PR;" nor ".RG;" is a substring of ".PRG;.SPR;.MPR;".
  EXPECT_FALSE(FileExtensionListed("C:\\P\\X.PR"));
  EXPECT_FALSE(FileExtensionListed("C:\\P\\X.RG"));
  EXPECT_FALSE(FileExtensionListed("C:\\P\\X.TXT"));
  EXPECT_FALSE(FileExtensionListed("C:\\P.PRG\\X.TXT"));  // a dot in a folder is no extension
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == "FileExtensions") o.Value = ".txt;.Prg";
  EXPECT_TRUE(FileExtensionListed("C:\\P\\X.TXT"));
  EXPECT_TRUE(FileExtensionListed("c:\\p\\x.prg"));
  ResetOptions();
}

INPUT_RECORD Typed(char ch, unsigned state) {
  INPUT_RECORD rec;
  rec.EventType = KEY_EVENT;
  rec.KeyEvent = Key(VK_OEM_PERIOD, state, ch);
  return rec;
}

TEST(ProcessEditorInput, DotTriggerNeedsTheOptionAndNoModifier) {
  test::PluginHost ph("M\r\n");
  EditorSetPosition pos;
  pos.CurLine = 0;
  pos.CurPos = 1;
  ph.Host().EditorControl(ECTL_SETPOSITION, &pos);
  // Off by default: the editor types the "." itself.
  EXPECT_EQ(ProcessEditorInput(Typed('.', 0)), 0);
  EXPECT_EQ(ph.Text(), "M\n");
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == "InsightAutoDropDown") o.Value = "+";
  // With Shift held nothing is taken.
  EXPECT_EQ(ProcessEditorInput(Typed('.', SHIFT_PRESSED)), 0);
  EXPECT_EQ(ph.Text(), "M\n");
  // Plain ".": handed to the editor once, and the event is used.
  EXPECT_EQ(ProcessEditorInput(Typed('.', 0)), 1);
  EXPECT_EQ(ph.Text(), "M.\n");
  // Key releases and modifier keys alone are never used.
  INPUT_RECORD up = Typed('.', 0);
  up.KeyEvent.bKeyDown = 0;
  EXPECT_EQ(ProcessEditorInput(up), 0);
  INPUT_RECORD ctrl;
  ctrl.EventType = KEY_EVENT;
  ctrl.KeyEvent = Key(VK_CONTROL, LEFT_CTRL_PRESSED);
  EXPECT_EQ(ProcessEditorInput(ctrl), 0);
  EXPECT_EQ(ph.Text(), "M.\n");
}

TEST(ProcessEditorInput, ATypedFullStopWithNothingToOfferShowsNoListThatTakesTheNextKeys) {
  // Outside a project: the settings warning (answered), then nothing fits "q.":
  // no empty list opens, so the Enter typed after it breaks the line. Ctrl+Space
  // still shows the empty list, and its Enter inserts nothing.
  test::PluginHost ph("x\r\n", "FREE.PRG");
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == "InsightAutoDropDown") o.Value = "+";
  ph.Keys({"type q.", "Enter", "Enter", "type y", "Ctrl+Space", "Enter", "Enter", "Enter", "F10", "Right",
           "Enter"});
  ph.Host().RunEditor();
  EXPECT_EQ(ph.Text(), "q.\ny\nx\n");
  auto boxes = ph.WindowsOf("message");
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Lines[0], "Cannot read the project settings file");
}

TEST(ProcessEditorInput, KeyPreviewOffLeavesEveryHotKeyToTheHost) {
  test::PluginHost ph("x = 1\r\n");
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == "KeyPreview") o.Value = "";
  INPUT_RECORD rec;
  rec.EventType = KEY_EVENT;
  rec.KeyEvent = Key(VK_SPACE, LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  ph.Keys({"Esc"});
  EXPECT_EQ(ProcessEditorInput(rec), 0);
  EXPECT_EQ(ph.PendingKeys(), 1u);  // the ruler did not open and wait for a key
}

TEST(Entry, PluginInfoRecord) {
  test::PluginHost ph;
  PluginInfo info;
  info.Reserved = 77;
  GetPluginInfo(info);
  EXPECT_EQ(info.StructSize, 44);
  EXPECT_EQ(info.Flags, 6u);
  ASSERT_EQ(info.PluginMenuStringsNumber, 1);
  ASSERT_EQ(info.PluginConfigStringsNumber, 1);
  EXPECT_STREQ(info.PluginMenuStrings[0], "VEM-LO");
  EXPECT_STREQ(info.PluginConfigStrings[0], "VEM-LO");
  EXPECT_EQ(info.DiskMenuStringsNumber, 0);
  EXPECT_EQ(info.Reserved, 0u);
}

}  // namespace
}  // namespace vemlo
