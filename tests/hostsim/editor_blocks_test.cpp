// Blocks and the clipboard, typing in other code pages, and searching.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor.h"
#include "editor_blocks.h"
#include "editor_search.h"
#include "host_fixture.h"
#include "input.h"
#include "script.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

KEY_EVENT_RECORD Key(int vk, char ch = 0, unsigned state = 0) { return KeyEvent(vk, ch, state).KeyEvent; }
KEY_EVENT_RECORD CtrlKey(char letter) { return Key(letter, static_cast<char>(letter & 0x1F), LEFT_CTRL_PRESSED); }

TEST(EditorBlocks, StreamBlockCopyCutPasteAndDelete) {
  HostFixture f;
  EditorWindow& ed = f.Open("alpha\r\nbeta\r\ngamma\r\n");
  Clipboard clip;
  std::string offered;
  clip.Offer = [&](const std::string& utf8) { offered = utf8; };
  ed.Block = EditorBlock{BTYPE_STREAM, 0, 2, 1, 2};  // "pha" .. "be"
  ASSERT_TRUE(EditorHandleKey(ed, CtrlKey('C'), &clip));
  EXPECT_EQ(offered, "pha\nbe");
  EXPECT_EQ(EditorText(ed), "alpha\r\nbeta\r\ngamma\r\n");
  ASSERT_TRUE(EditorHandleKey(ed, Key(VK_DELETE, 0, SHIFT_PRESSED), &clip));  // cut
  EXPECT_EQ(EditorText(ed), "alta\r\ngamma\r\n");
  EXPECT_EQ(ed.Block.Type, BTYPE_NONE);
  EXPECT_EQ(ed.CurLine, 0);
  EXPECT_EQ(ed.CurPos, 2);
  MoveCursor(ed, 1, 5);
  ASSERT_TRUE(EditorHandleKey(ed, Key(VK_INSERT, 0, SHIFT_PRESSED), &clip));  // paste
  EXPECT_EQ(EditorText(ed), "alta\r\ngammapha\r\nbe\r\n");
  // Del on a block deletes it; Ctrl+D too; without a block Ctrl+D does nothing.
  ed.Block = EditorBlock{BTYPE_STREAM, 1, 5, 2, 0};
  EditorHandleKey(ed, Key(VK_DELETE), &clip);
  EXPECT_EQ(EditorText(ed), "alta\r\ngammabe\r\n");
  EditorHandleKey(ed, CtrlKey('D'), &clip);
  EXPECT_EQ(EditorText(ed), "alta\r\ngammabe\r\n");
  // Each of these was one step.
  for (int i = 0; i < 3; ++i) EditorHandleKey(ed, Key('Z', 0x1A, LEFT_CTRL_PRESSED), &clip);
  EXPECT_EQ(EditorText(ed), "alpha\r\nbeta\r\ngamma\r\n");
}

TEST(EditorBlocks, CopyWithoutABlockTakesTheLineAndCutDeletesIt) {
  HostFixture f;
  EditorWindow& ed = f.Open("one\ntwo\n");
  Clipboard clip;
  ASSERT_TRUE(EditorHandleKey(ed, CtrlKey('X'), &clip));
  EXPECT_EQ(EditorText(ed), "two\n");
  EditorHandleKey(ed, CtrlKey('V'), &clip);  // the line comes back above the cursor line
  EXPECT_EQ(EditorText(ed), "one\ntwo\n");
  EXPECT_EQ(ed.CurLine, 1);
  EXPECT_EQ(ed.CurPos, 0);
}

TEST(EditorBlocks, ColumnBlockCopyPasteAndDelete) {
  HostFixture f;
  EditorWindow& ed = f.Open("abcdef\nab\nABCDEF\n");
  Clipboard clip;
  ed.Block = EditorBlock{BTYPE_COLUMN, 0, 1, 2, 4};  // screen columns 1..3
  EditorHandleKey(ed, Key(VK_INSERT, 0, LEFT_CTRL_PRESSED), &clip);
  ASSERT_TRUE(clip.Column);
  EXPECT_EQ(clip.Lines, (std::vector<std::u32string>{U"bcd", U"b", U"BCD"}));
  EXPECT_EQ(clip.Width, 3);
  EditorHandleKey(ed, CtrlKey('D'), &clip);
  EXPECT_EQ(EditorText(ed), "aef\na\nAEF\n");
  // Pasted at column 1 of the second line: a short row is padded to the
  // block's width where text follows it; a line shorter than the column is
  // padded up to it.
  MoveCursor(ed, 1, 1);
  EditorHandleKey(ed, CtrlKey('V'), &clip);
  EXPECT_EQ(EditorText(ed), "aef\nabcd\nAb  EF\n BCD");
  // Rows past the last line make new lines.
  MoveCursor(ed, 3, 0);
  EditorHandleKey(ed, CtrlKey('V'), &clip);
  EXPECT_EQ(EditorText(ed), "aef\nabcd\nAb  EF\nbcd BCD\nb\nBCD");
  EXPECT_EQ(ed.CurLine, 3);
  EXPECT_EQ(ed.CurPos, 0);
}

TEST(EditorTyping, CharactersTheCodePageLacksAreRefusedNotWrittenAsQuestionMarks) {
  HostFixture f;
  EditorWindow& ed = f.Open("x\r\n");
  EXPECT_TRUE(EditorHandleKey(ed, TypedUnicodeEvent(U'€')));
  EXPECT_EQ(ed.Refused, U'€');
  EXPECT_EQ(EditorText(ed), "x\r\n");
  EXPECT_FALSE(ed.Modified);
  ed.Refused = 0;
  EditorHandleKey(ed, TypedUnicodeEvent(U'Ж'));
  EXPECT_EQ(EditorText(ed), "\x86x\r\n");
  // In UTF-8 the same key types the character.
  ReinterpretCodePage(ed, CodePage::Utf8);
  ed.CurPos = 0;
  EditorHandleKey(ed, TypedUnicodeEvent(U'€'));
  EXPECT_EQ(ed.Refused, 0u);
  EXPECT_EQ(ed.Lines[0].Text.substr(0, 1), U"€");
  // A record whose OEM byte was changed by someone types that byte.
  KEY_EVENT_RECORD changed = TypedUnicodeEvent(U'Ж');
  changed.AsciiChar = 'q';
  EXPECT_EQ(TypedChar(changed), U'q');
  // A paste of text the code page lacks is refused whole.
  ReinterpretCodePage(ed, CodePage::Win1252);
  const std::string before = EditorText(ed);
  Clipboard clip;
  clip.Lines = {U"fine", U"Жук"};
  EXPECT_FALSE(PasteClipboard(ed, clip));
  EXPECT_EQ(ed.Refused, U'Ж');
  EXPECT_EQ(EditorText(ed), before);
}

TEST(EditorFile, Utf8And1251FilesAreSavedByteForByteOutsideTheEdit) {
  HostFixture f;
  const std::string utf8 = "* \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\nx = \"\xE2\x82\xAC\"\r\n";
  EditorWindow& ed = f.Open(utf8);
  ASSERT_EQ(ed.Cp, CodePage::Utf8);
  EXPECT_EQ(ed.Lines[0].Text, U"* Привет");
  MoveCursor(ed, 1, 0);
  EditorHandleKey(ed, TypedUnicodeEvent(U'Ё'));
  ASSERT_TRUE(SaveEditorFile(ed));
  EXPECT_EQ(f.Tree.Read("A.PRG"), "* \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n\xD0\x81x = \"\xE2\x82\xAC\"\r\n");

  // The byte-order mark stays, and is no character of the text.
  HostFixture g;
  EditorWindow& marked = g.Open("\xEF\xBB\xBFmark\n");
  EXPECT_TRUE(marked.Bom);
  EXPECT_EQ(marked.Lines[0].Text, U"mark");
  EditorHandleKey(marked, TypedUnicodeEvent(U'я'));
  ASSERT_TRUE(SaveEditorFile(marked));
  EXPECT_EQ(g.Tree.Read("A.PRG"), "\xEF\xBB\xBF\xD1\x8Fmark\n");

  // A 1251 file: its Cyrillic is typed as 1251 bytes, the rest stays.
  HostFixture h;
  EditorWindow& win = h.Open("\xCF\xF0\xE8\xE2\xE5\xF2 \x93q\x94 \x98\r\n");
  ReinterpretCodePage(win, CodePage::Win1251);
  EXPECT_EQ(win.Lines[0].Text, U"Привет “q” ");
  MoveCursor(win, 0, 6);
  EditorHandleKey(win, TypedUnicodeEvent(U'Ы'));
  ASSERT_TRUE(SaveEditorFile(win));
  EXPECT_EQ(h.Tree.Read("A.PRG"), "\xCF\xF0\xE8\xE2\xE5\xF2\xDB \x93q\x94 \x98\r\n");
}

TEST(EditorFile, AFailedSaveNamesTheReasonAndLeavesTheFile) {
  HostFixture f;
  EditorWindow& ed = f.Open("text");
  std::string why;
  EXPECT_FALSE(SaveEditorFile(ed, &why, f.Tree.Dos("A.PRG") + "\\inside\\X.PRG"));
  EXPECT_EQ(why, "Not a directory");
  EXPECT_EQ(ed.FileName, f.Tree.Dos("A.PRG"));
  EXPECT_FALSE(SaveEditorFile(ed, &why, f.Tree.Dos("NOSUCH") + "\\X.PRG"));
  EXPECT_EQ(why, "No such file or directory");
  // No stray file is left beside the target of a save that worked either.
  EditorHandleKey(ed, KeyEvent(0, 'y').KeyEvent);
  ASSERT_TRUE(SaveEditorFile(ed, &why));
  EXPECT_EQ(f.Tree.Read("A.PRG"), "ytext");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(f.Tree.Native(""))) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(EditorSearch, CaseWholeWordsAndDirection) {
  HostFixture f;
  EditorWindow& ed = f.Open("Name name\nrename NAME\nимя ИМЯ\n");
  SearchOptions o;
  SearchHit h = FindText(ed, U"name", o, 0, 0);
  EXPECT_EQ(h.Line, 0);
  EXPECT_EQ(h.Pos, 0);
  h = FindText(ed, U"name", o, 0, 1);
  EXPECT_EQ(h.Pos, 5);
  o.CaseSensitive = true;
  h = FindText(ed, U"NAME", o, 0, 0);
  EXPECT_EQ(h.Line, 1);
  EXPECT_EQ(h.Pos, 7);
  o.CaseSensitive = false;
  o.WholeWords = true;
  h = FindText(ed, U"name", o, 1, 0);
  EXPECT_EQ(h.Pos, 7) << "rename holds name, but not as a word";
  h = FindText(ed, U"имя", o, 0, 0);
  EXPECT_EQ(h.Line, 2);
  EXPECT_EQ(h.Pos, 0);
  o.Reverse = true;
  h = FindText(ed, U"ИМЯ", o, 2, 4);
  EXPECT_EQ(h.Pos, 0) << "backwards from column 4 the match that starts before it";
  h = FindText(ed, U"name", o, 1, 7);
  EXPECT_EQ(h.Line, 0);
  EXPECT_EQ(h.Pos, 5);
  EXPECT_FALSE(FindText(ed, U"absent", o, 2, 0).Found());
  EXPECT_FALSE(FindText(ed, U"", o, 0, 0).Found());
}

}  // namespace
}  // namespace vemlo::sim
