// The editor's commands through the host's key loop: search and replace, go to,
// save as, several files, code pages, the read-only warning, the question on
// closing, pastes, keys held while a message box waits, and resizes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <deque>

#include "host_fixture.h"
#include "script.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

std::string Demoish() {
  std::string text;
  for (int i = 1; i <= 150; ++i) text += "line " + std::to_string(i) + (i % 10 == 0 ? " m.total" : "") + "\r\n";
  return text;
}

TEST(HostSearch, F7FindsShiftF7GoesOnAltF7GoesBack) {
  HostFixture f;
  f.Open("alpha\r\nbeta total\r\ngamma TOTAL\r\ntotals\r\n");
  ASSERT_EQ(f.S->Run("F7\ntype total\nEnter\ndump screen\nShift+F7\nShift+F7\nAlt+F7\nF10\n"), kScriptDone)
      << f.S->Error();
  auto dialogs = f.S->WindowsOf("dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Title, "Search");
  // Found in line 2 at column 6, the match selected; on to line 3 and 4, back to 3.
  EXPECT_NE(f.S->Output().find("Line 2/5  Col 6"), std::string::npos) << f.S->Output();
  EditorWindow* ed = const_cast<EditorWindow*>(f.S->Host().LatestEditor());
  EXPECT_EQ(ed->CurLine, 2);
  EXPECT_EQ(ed->CurPos, 6);
  EXPECT_EQ(ed->Block.Type, BTYPE_STREAM);
  EXPECT_EQ(ed->Block.EndPos - ed->Block.StartPos, 5);
}

TEST(HostSearch, OptionsAndNotFound) {
  HostFixture f;
  f.Open("Total\r\nsubtotal\r\ntotal\r\n");
  // Case sensitive (Tab to the first box, Space), whole words: only line 3.
  ASSERT_EQ(f.S->Run("F7\ntype total\nTab\nSpace\nTab\nSpace\nEnter\nShift+F7\nEnter\nF10\n"), kScriptDone);
  const EditorWindow* ed = f.S->Host().LatestEditor();
  EXPECT_EQ(ed->CurLine, 2);
  auto boxes = f.S->WindowsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Lines, (std::vector<std::string>{"Could not find the string", "\"total\"", "OK"}));
}

TEST(HostSearch, ReplaceAskingThenAllIsOneUndoStep) {
  HostFixture f;
  f.Open("a x\r\nx x\r\nb\r\nx\r\n");
  // Replace the first, skip the second, then all the rest.
  ASSERT_EQ(f.S->Run("Ctrl+F7\ntype x\nTab\ntype yy\nEnter\nEnter\nRight\nRight\nEnter\nRight\nEnter\n"
                     "dump text\nCtrl+Z\ndump text\nF10\n"),
            kScriptDone)
      << f.S->Error();
  const std::string& out = f.S->Output();
  EXPECT_EQ(out, "--- text\na yy\nx yy\nb\nyy\n--- end\n--- text\na x\nx x\nb\nx\n--- end\n");
  auto boxes = f.S->WindowsOf("message");
  ASSERT_GE(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Title, "Replace");
  EXPECT_EQ(f.Tree.Read("A.PRG"), "a x\r\nx x\r\nb\r\nx\r\n");
}

TEST(HostSearch, TheDialogRemembersItsEntries) {
  HostFixture f;
  f.Open("one two\r\n");
  // The field starts with the last entry, which typing replaces; Ctrl+Down
  // lists the entries, newest first, and Down, Enter takes "two".
  ASSERT_EQ(f.S->Run("F7\ntype two\nEnter\nHome\nF7\ntype one\nEnter\nHome\n"
                     "F7\nCtrl+Down\nDown\nEnter\nEnter\nF10\n"),
            kScriptDone)
      << f.S->Error();
  const EditorWindow* ed = f.S->Host().LatestEditor();
  EXPECT_EQ(ed->CurPos, 4);
}

TEST(HostGoTo, LineColumnRelativeAndPercent) {
  HostFixture f;
  f.Open(Demoish());
  f.S->Host().CurrentEditor()->CurPos = 4;
  ASSERT_EQ(f.S->Run("Alt+F8\ntype 120\nEnter\ndump screen\nAlt+F8\ntype +5,3\nEnter\n"
                     "Alt+F8\ntype 50%\nEnter\nAlt+F8\ntype x\nEnter\nEnter\nF10\n"),
            kScriptDone);
  const std::string& out = f.S->Output();
  EXPECT_NE(out.find("Line 120/151  Col 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("line 120 m.total"), std::string::npos) << "the line is in sight";
  const EditorWindow* ed = f.S->Host().LatestEditor();
  EXPECT_EQ(ed->CurLine, 75);  // 50% of 150 steps
  EXPECT_EQ(ed->CurPos, 0) << "a line alone goes to its start";
  auto boxes = f.S->WindowsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Lines[0], "\"x\" is no line or column");
}

TEST(HostBookmarks, CtrlShiftDigitSetsCtrlDigitAndRightCtrlDigitGoBack) {
  HostFixture f;
  f.Open(Demoish());
  // Set at line 40, column 3; back to it from the end with Ctrl+3 and from the
  // start with RightCtrl+3; a bookmark never set (5) leaves the cursor.
  ASSERT_EQ(f.S->Run("Alt+F8\ntype 40,3\nEnter\nCtrl+Shift+3\nCtrl+End\nCtrl+3\ndump screen\n"
                     "Ctrl+Home\nRCtrl+3\ndump screen\nCtrl+Home\nCtrl+5\nCtrl+Shift+7\ndump screen\n"),
            kScriptDone);
  const std::string& out = f.S->Output();
  const size_t first = out.find("Line 40/151  Col 3\n");
  ASSERT_NE(first, std::string::npos) << out;
  const size_t second = out.find("Line 40/151  Col 3\n", first + 1);
  ASSERT_NE(second, std::string::npos) << "the older key goes there as well\n" << out;
  EXPECT_NE(out.find("Line 1/151  Col 1\n", second), std::string::npos) << out;
  const EditorWindow* ed = f.S->Host().LatestEditor();
  EXPECT_FALSE(ed->Modified) << "no digit reached the text";
}

TEST(HostSaveAs, NewNameExistingNameAndFailure) {
  HostFixture f;
  f.Open("text\r\n");
  f.Tree.Write("OTHER.PRG", "keep");
  const std::string copy = f.Tree.Native("COPY.PRG"), other = f.Tree.Native("OTHER.PRG");
  const std::string bad = f.Tree.Native("A.PRG") + "/sub/X.PRG";
  std::string script = "type 1\nShift+F2\n";
  for (size_t i = 0; i < 200; ++i) script += "BS\n";
  script += "type " + copy + "\nEnter\ntype 2\nShift+F2\n";
  for (size_t i = 0; i < 200; ++i) script += "BS\n";
  script += "type " + other + "\nEnter\nRight\nEnter\nShift+F2\n";
  for (size_t i = 0; i < 200; ++i) script += "BS\n";
  script += "type " + bad + "\nEnter\nEnter\nF10\nRight\nEnter\n";
  ASSERT_EQ(f.S->Run(script), kScriptDone) << f.S->Error();
  EXPECT_EQ(f.Tree.Read("COPY.PRG"), "1text\r\n");
  EXPECT_EQ(f.Tree.Read("A.PRG"), "text\r\n") << "the old file is left as it was";
  EXPECT_EQ(f.Tree.Read("OTHER.PRG"), "keep") << "No to overwriting";
  auto boxes = f.S->WindowsOf("message");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Lines[1], "exists already.");
  EXPECT_EQ(boxes[1].Title, "Error");
  EXPECT_EQ(boxes[1].Lines[2], "Not a directory");
  EXPECT_EQ(f.S->Host().LatestEditor()->FileName, f.Tree.Dos("COPY.PRG"));
}

TEST(HostFiles, SeveralFilesF12SwitchesShiftF4OpensEscClosesOne) {
  HostFixture f;
  f.Open("first\r\n");
  f.Tree.Write("B.PRG", "second\r\n");
  ASSERT_TRUE(f.S->Open(f.Tree.Native("B.PRG")));
  f.S->Host().SwitchTo(0);
  const std::string third = f.Tree.Native("C.PRG");
  // F12, Down, Enter: the second file; Shift+F4 opens a third, new one; Esc
  // closes each, the one before it coming back; Esc's question starts on "No".
  ASSERT_EQ(f.S->Run("type 1\nF12\nDown\nEnter\ntype 2\nShift+F4\ntype " + third +
                     "\nEnter\ntype 3\nF2\nEsc\ndump text\nEsc\nEnter\ndump text\nEsc\nEnter\n"),
            kScriptDone)
      << f.S->Error();
  EXPECT_EQ(f.Tree.Read("C.PRG"), "3");
  EXPECT_EQ(f.S->Output(), "--- text\n2second\n--- end\n--- text\n1first\n--- end\n");
  EXPECT_EQ(f.Tree.Read("A.PRG"), "first\r\n");
  EXPECT_EQ(f.Tree.Read("B.PRG"), "second\r\n");
  EXPECT_EQ(f.S->Host().FileCount(), 0);
}

TEST(HostFiles, EscAsksWithNoFirstF10WithYesFirst) {
  HostFixture f;
  f.Open("text");
  ASSERT_EQ(f.S->Run("type a\nEsc\nEnter\n"), kScriptDone);
  EXPECT_EQ(f.Tree.Read("A.PRG"), "text") << "Esc, Enter: not saved";
  HostFixture g;
  g.Open("text");
  ASSERT_EQ(g.S->Run("type a\nF10\nEnter\n"), kScriptDone);
  EXPECT_EQ(g.Tree.Read("A.PRG"), "atext") << "F10, Enter: saved";
}

TEST(HostFiles, AReadOnlyFileIsNamedOnOpeningAndAskedAboutOnSaving) {
  HostFixture f;
  f.Tree.Write("RO.PRG", "locked\r\n");
  ASSERT_EQ(chmod(f.Tree.Native("RO.PRG").c_str(), 0444), 0);
  f.Open("x");
  ASSERT_TRUE(f.S->Open(f.Tree.Native("RO.PRG")));
  ASSERT_EQ(f.S->Run("Enter\ntype z\nF2\nRight\nEnter\nF10\nRight\nEnter\nEsc\n"), kScriptDone) << f.S->Error();
  auto boxes = f.S->WindowsOf("message");
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Lines[1], "is a read-only file.");
  EXPECT_EQ(boxes[1].Lines[2], "Do you wish to overwrite it?");
  EXPECT_EQ(f.Tree.Read("RO.PRG"), "locked\r\n");
  chmod(f.Tree.Native("RO.PRG").c_str(), 0644);
}

TEST(HostCodePages, F8CyclesShiftF8ChoosesTheStatusLineNamesIt) {
  HostFixture f;
  f.Open("\xC0\xE9\r\n");
  ASSERT_EQ(f.S->Run("dump screen\nF8\ndump screen\nF8\ndump text\nShift+F8\nEnd\nEnter\nF8\ndump screen\n"
                     "F10\nRight\nEnter\n"),
            kScriptDone);
  const std::string& out = f.S->Output();
  EXPECT_EQ(out.substr(0, out.find("--- end")).find("866  Line"), std::string::npos)
      << "a DOS file names no code page at first";
  EXPECT_NE(out.find("1251  Line 1/2"), std::string::npos);
  EXPECT_NE(out.find("\nАй\n"), std::string::npos) << "1251";
  EXPECT_NE(out.find("--- text\nÀé\n"), std::string::npos) << "1252";
  EXPECT_NE(out.find(" 866  Line 1/2"), std::string::npos) << "UTF-8, then F8 back to 866, named";
  EXPECT_EQ(f.Tree.Read("A.PRG"), "\xC0\xE9\r\n");
}

TEST(HostCodePages, ThePluginSees866AndCannotBreakWhatItDoesNotSee) {
  HostFixture f;
  f.Tree.Write("U.PRG", "  x = \"\xE2\x82\xAC \xD0\x96\"\r\n");
  SimHostOptions options;
  options.ModuleDir = f.Tree.Native("module");
  f.S = std::make_unique<Session>(options);
  ASSERT_TRUE(f.S->Open(f.Tree.Native("U.PRG")));
  EXPECT_EQ(f.Line(0), "  x = \"? \x86\"");
  EditorSetString ss;
  ss.StringNumber = 0;
  std::string text = "x = \"? \x86\"";
  ss.StringText = text.c_str();
  ss.StringLength = static_cast<int>(text.size());
  EXPECT_EQ(f.Ctl(ECTL_SETSTRING, &ss), 1);
  EXPECT_EQ(f.S->Text(), "x = \"\xE2\x82\xAC \xD0\x96\"\r\n");
  // 866 text the file's code page lacks is refused.
  ReinterpretCodePage(*f.S->Host().CurrentEditor(), CodePage::Win1252);
  char box[] = "\xC9\xCD";
  EXPECT_EQ(f.Ctl(ECTL_INSERTTEXT, box), 0);
  EXPECT_EQ(f.S->Host().CurrentEditor()->Refused, U'╔');
}

TEST(HostPaste, APasteIsOneStepAndNeverReachesThePlugin) {
  HostFixture f;
  f.Open("end\r\n");
  int seen = 0;
  PluginEntries plugin;
  plugin.ProcessEditorInput = [&](const INPUT_RECORD&) { return ++seen, 0; };
  f.S->Host().SetPlugin(plugin);
  ASSERT_EQ(f.S->Run("paste m.a = b.c\\nx.\\tz\\n\ndump text\nCtrl+Z\ndump text\nF10\n"), kScriptDone);
  EXPECT_EQ(f.S->Output(), "--- text\nm.a = b.c\nx.\tz\nend\n--- end\n--- text\nend\n--- end\n");
  EXPECT_EQ(seen, 2) << "only Ctrl+Z and F10 were keys";
}

TEST(HostPaste, APasteIntoAWindowArrivesAsTypedKeys) {
  HostFixture f;
  f.Open("text\r\n");
  f.S->Host().CurrentEditor()->CurLine = 0;
  ASSERT_EQ(f.S->Run("Alt+F8\npaste 2\nEnter\nF10\n"), kScriptDone);
  EXPECT_EQ(f.S->WindowsOf("message").size(), 0u);
  EXPECT_EQ(f.S->Host().LatestEditor()->CurLine, 1);
}

// An input that has some keys waiting already, as a terminal has after a fast paste.
class WaitingInput : public InputSource {
 public:
  std::deque<INPUT_RECORD> Arrived, Later;
  bool Read(INPUT_RECORD& rec) override {
    std::deque<INPUT_RECORD>& from = Arrived.empty() ? Later : Arrived;
    if (from.empty()) return false;
    rec = from.front();
    from.pop_front();
    return true;
  }
  bool Ready() override { return !Arrived.empty(); }
};

TEST(HostTypeahead, AMessageBoxTakesOnlyKeysThatCameAfterItShowed) {
  HostFixture f;
  f.Open("x\r\n");
  // The plug-in warns on "."; the keys typed after it were waiting already.
  PluginEntries plugin;
  SimHost& host = f.S->Host();
  plugin.ProcessEditorInput = [&](const INPUT_RECORD& rec) {
    if (rec.KeyEvent.AsciiChar != '.') return 0;
    const char* lines[] = {"VEM-LO", "No settings file", "OK"};
    host.Message(1, FMSG_WARNING, "", lines, 3, 1);
    return 0;
  };
  host.SetPlugin(plugin);
  auto input = std::make_unique<WaitingInput>();
  for (char c : std::string("m.abc\r")) input->Arrived.push_back(KeyEvent(0, c));
  input->Arrived.back().KeyEvent.wVirtualKeyCode = VK_RETURN;
  input->Later = {KeyEvent(VK_RETURN, '\r'), KeyEvent(VK_F10)};
  WaitingInput* source = input.get();
  host.SetInput(std::move(input));
  // What the terminal showed when the box read its first key: the box itself.
  std::string shownAtKey;
  host.SetPresenter([&](const Console& con) {
    if (source->Arrived.empty() && source->Later.size() == 2) shownAtKey = con.DumpUtf8();
  });
  host.RunEditor();
  EXPECT_NE(shownAtKey.find("No settings file"), std::string::npos) << shownAtKey;
  // Enter closed the box; "abc" and the Enter typed before it went to the editor, in order.
  EXPECT_EQ(f.S->Text(), "m.abc\r\nx\r\n");
  auto boxes = f.S->WindowsOf("message");
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].Title, "VEM-LO");
}

TEST(HostResize, AMenuOpenDuringAResizeIsCentredAgainOverTheRedrawnEditor) {
  HostFixture f;
  f.Open("some text\r\n", 40, 12);
  SimHost& host = f.S->Host();
  std::deque<INPUT_RECORD> events;
  INPUT_RECORD resize;
  resize.EventType = WINDOW_BUFFER_SIZE_EVENT;
  bool resized = false;
  std::string during;
  host.SetInput(std::make_unique<FunctionInput>([&](INPUT_RECORD& rec) {
    if (!resized) {
      resized = true;
      host.Resize(60, 16);  // what the terminal's resize callback does
      rec = resize;
      return true;
    }
    if (during.empty()) {
      during = host.Screen().DumpUtf8();
      rec = KeyEvent(VK_ESCAPE, 0x1B);
      return true;
    }
    return false;
  }));
  FarMenuItem items[2];
  snprintf(items[0].Text, sizeof items[0].Text, "First");
  snprintf(items[1].Text, sizeof items[1].Text, "Second");
  host.Menu(1, -1, -1, 0, 0, "Menu", "", "", nullptr, nullptr, items, 2);
  // 60 x 16: the menu, 11 wide and 4 high, starts at column 24 of row 6; the
  // editor behind it fills the new size (its key bar on row 15).
  std::vector<std::string> rows;
  for (size_t at = 0; at < during.size();) {
    size_t nl = during.find('\n', at);
    rows.push_back(during.substr(at, nl - at));
    at = nl + 1;
  }
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[1], "some text");
  EXPECT_EQ(rows[6].find("╔"), 24u) << rows[6];
  EXPECT_EQ(rows[15].substr(0, 5), "1Help");
  // Closed after the resize, it leaves the editor drawn anew, not the old cells.
  EXPECT_EQ(f.Row(6), "");
  EXPECT_EQ(f.Row(1), "some text");
}

}  // namespace
}  // namespace vemlo::sim
