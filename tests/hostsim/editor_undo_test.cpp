// The editor's undo history: steps, typing runs, redo, the saved state, and
// the code page as part of a step.
#include <gtest/gtest.h>

#include "editor.h"
#include "host_fixture.h"
#include "input.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

KEY_EVENT_RECORD Key(int vk, char ch = 0, unsigned state = 0) { return KeyEvent(vk, ch, state).KeyEvent; }
KEY_EVENT_RECORD Undo() { return Key('Z', 0x1A, LEFT_CTRL_PRESSED); }
KEY_EVENT_RECORD Redo() { return Key('Z', 0x1A, LEFT_CTRL_PRESSED | SHIFT_PRESSED); }

void Type(EditorWindow& ed, const std::string& text) {
  for (char c : text) EditorHandleKey(ed, KeyEvent(0, c).KeyEvent);
}

TEST(EditorUndo, TypingInOneLineIsOneStepAndMovingStartsAnother) {
  HostFixture f;
  EditorWindow& ed = f.Open("one\r\ntwo\r\n");
  ed.CurPos = 3;
  Type(ed, " more");
  EditorHandleKey(ed, Key(VK_DOWN));
  EditorHandleKey(ed, Key(VK_HOME));
  Type(ed, ">");
  EXPECT_EQ(EditorText(ed), "one more\r\n>two\r\n");
  ASSERT_TRUE(EditorHandleKey(ed, Undo()));
  EXPECT_EQ(EditorText(ed), "one more\r\ntwo\r\n");
  EXPECT_EQ(ed.CurLine, 1);
  EXPECT_EQ(ed.CurPos, 0);
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(EditorText(ed), "one\r\ntwo\r\n");
  EXPECT_EQ(ed.CurLine, 0);
  EXPECT_EQ(ed.CurPos, 3);  // where the typing began
  EXPECT_FALSE(ed.Modified) << "back at the text as it was opened";
  EditorHandleKey(ed, Undo());  // nothing more to undo
  EXPECT_EQ(EditorText(ed), "one\r\ntwo\r\n");
  EditorHandleKey(ed, Redo());
  EditorHandleKey(ed, Redo());
  EXPECT_EQ(EditorText(ed), "one more\r\n>two\r\n");
  EXPECT_TRUE(ed.Modified);
  EditorHandleKey(ed, Redo());  // nothing more to redo
  EXPECT_EQ(EditorText(ed), "one more\r\n>two\r\n");
}

TEST(EditorUndo, LineBreaksJoinsAndDeletedLinesComeBackWithTheirEnds) {
  HostFixture f;
  EditorWindow& ed = f.Open("ab\ncd\nlast");
  ed.CurPos = 1;
  EditorHandleKey(ed, Key(VK_RETURN, '\r'));          // a|b -> a / b
  EditorHandleKey(ed, Key('Y', 0x19, LEFT_CTRL_PRESSED));  // deletes "b"
  ed.CurLine = 2;
  EditorHandleKey(ed, Key('Y', 0x19, LEFT_CTRL_PRESSED));  // the last line: "cd" loses its end
  EXPECT_EQ(EditorText(ed), "a\ncd");
  for (int i = 0; i < 3; ++i) EditorHandleKey(ed, Undo());
  EXPECT_EQ(EditorText(ed), "ab\ncd\nlast");
  for (int i = 0; i < 3; ++i) EditorHandleKey(ed, Redo());
  EXPECT_EQ(EditorText(ed), "a\ncd");
}

TEST(EditorUndo, ANewChangeDropsWhatCouldBeRedone) {
  HostFixture f;
  EditorWindow& ed = f.Open("x");
  Type(ed, "a");
  EditorHandleKey(ed, Key(VK_RIGHT));
  Type(ed, "b");
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(EditorText(ed), "ax");
  Type(ed, "c");  // where "b" was typed: the undo put the cursor back there
  EditorHandleKey(ed, Redo());
  EXPECT_EQ(EditorText(ed), "axc");
  EditorHandleKey(ed, Undo());
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(EditorText(ed), "x");
}

TEST(EditorUndo, StepGuardsMakeOneStepOfManyChanges) {
  HostFixture f;
  EditorWindow& ed = f.Open("1\n2\n3\n");
  {
    UndoStepGuard outer(ed);
    for (int n = 0; n < 3; ++n) {
      UndoStepGuard inner(ed);
      ReplaceLine(ed, n, U"line " + std::u32string(1, U'a' + n), nullptr);
    }
    MoveCursor(ed, 2, 0);
    SplitLineAtCursor(ed, false);
  }
  EXPECT_EQ(EditorText(ed), "line a\nline b\n\nline c\n");
  ASSERT_EQ(ed.Undo.Done.size(), 1u);
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(EditorText(ed), "1\n2\n3\n");
  // A step of no change is no step.
  { UndoStepGuard nothing(ed); }
  EXPECT_TRUE(ed.Undo.Done.empty());
  EXPECT_EQ(ed.Undo.Undone.size(), 1u);
}

TEST(EditorUndo, SavingMovesThePointWhereTheFileIsUnchanged) {
  HostFixture f;
  EditorWindow& ed = f.Open("abc");
  Type(ed, "1");
  ASSERT_TRUE(SaveEditorFile(ed));
  EXPECT_FALSE(ed.Modified);
  EditorHandleKey(ed, Key(VK_RIGHT));
  Type(ed, "2");
  EditorHandleKey(ed, Undo());
  EXPECT_FALSE(ed.Modified) << "the text is the saved one again";
  EditorHandleKey(ed, Undo());
  EXPECT_TRUE(ed.Modified);
  EXPECT_EQ(EditorText(ed), "abc");
  EXPECT_EQ(f.Tree.Read("A.PRG"), "1abc");
}

TEST(EditorUndo, ACodePageChangeIsUndoneWithTheTextItGave) {
  HostFixture f;
  EditorWindow& ed = f.Open("\xC0\xE1\r\n");  // 866: "└с"
  ASSERT_EQ(ed.Cp, CodePage::Oem866);
  EXPECT_EQ(ed.Lines[0].Text, U"└с");
  ReinterpretCodePage(ed, CodePage::Win1251);
  EXPECT_EQ(ed.Lines[0].Text, U"Аб");
  EXPECT_EQ(EditorText(ed), "\xC0\xE1\r\n") << "the bytes stay the same";
  Type(ed, "x");
  EditorHandleKey(ed, Undo());
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(ed.Cp, CodePage::Oem866);
  EXPECT_EQ(ed.Lines[0].Text, U"└с");
  EditorHandleKey(ed, Redo());
  EXPECT_EQ(ed.Cp, CodePage::Win1251);
  EXPECT_EQ(ed.Lines[0].Text, U"Аб");
}

TEST(EditorUndo, BookmarksFollowLinesThroughUndo) {
  HostFixture f;
  EditorWindow& ed = f.Open("a\nb\nc\n");
  MoveCursor(ed, 2, 0);
  SetBookmark(ed, 1);
  MoveCursor(ed, 0, 0);
  EditorHandleKey(ed, Key('Y', 0x19, LEFT_CTRL_PRESSED));
  EXPECT_EQ(ed.Bookmarks[1].Line, 1);
  EditorHandleKey(ed, Undo());
  EXPECT_EQ(ed.Bookmarks[1].Line, 2);
}

}  // namespace
}  // namespace vemlo::sim
