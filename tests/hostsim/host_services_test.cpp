#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "host_fixture.h"
#include "palette.h"
#include "platform/platform.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

TEST(HostScreen, TextSaveRestoreAndFlush) {
  HostFixture f;
  f.Open("under\n", 40, 10);
  SimHost& h = f.S->Host();
  int flushes = 0;
  h.SetPresenter([&](const Console&) { ++flushes; });
  h.RedrawCurrentEditor();
  EXPECT_EQ(f.Row(1), "under");
  HANDLE whole = h.SaveScreen(0, 0, -1, -1);
  HANDLE part = h.SaveScreen(2, 1, 3, 1);
  h.Text(0, 1, 0x4F, "OVERDRAWN");
  EXPECT_EQ(f.Row(1), "OVERDRAWN");
  EXPECT_EQ(h.Screen().At(0, 1).Attr, 0x4F);
  h.RestoreScreen(part);
  EXPECT_EQ(f.Row(1), "OVdeDRAWN");  // columns 2 and 3 of "under"
  h.RestoreScreen(part);  // freed already: ignored
  EXPECT_EQ(f.Row(1), "OVdeDRAWN");
  h.RestoreScreen(whole);
  EXPECT_EQ(f.Row(1), "under");
  h.Text(0, 1, 0x07, "xx");
  int before = flushes;
  h.Text(0, 0, 0, nullptr);
  EXPECT_EQ(flushes, before + 1);
  EXPECT_EQ(f.Row(1), "xxder");
  h.RestoreScreen(nullptr);  // no handle: the editor is drawn again
  EXPECT_EQ(f.Row(1), "under");
  // Off-screen text is clipped.
  h.Text(38, 9, 0x07, "abcdef");
  EXPECT_EQ(h.Screen().At(39, 9).Ch, 'b');
}

TEST(HostServices, MkTempNamesAreFreshAndInTheTempFolder) {
  HostFixture f;
  f.Open("");
  SimHost& h = f.S->Host();
  std::string dir = platform::TempDirectory();
  std::set<std::string> names;
  // VL~ + five upper-case hex digits + .TMP
  auto wellFormed = [](const std::string& n) {
    if (n.size() != 12 || n.compare(0, 3, "VL~") != 0 || n.compare(8, 4, ".TMP") != 0) return false;
    for (int i = 3; i < 8; ++i)
      if (!std::isdigit(static_cast<unsigned char>(n[i])) && (n[i] < 'A' || n[i] > 'F')) return false;
    return true;
  };
  for (int i = 0; i < 50; ++i) {
    char buf[260];
    ASSERT_EQ(h.MkTemp(buf, "VL~"), buf);
    std::string name = buf;
    ASSERT_EQ(name.compare(0, dir.size(), dir), 0) << name;
    EXPECT_TRUE(wellFormed(name.substr(dir.size()))) << name;
    EXPECT_FALSE(platform::FileExists(name));
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 50u);
  // A name taken on disk is passed over by a fresh host.
  SimHost other;
  char first[260];
  other.MkTemp(first, "VLX");
  platform::OutFile out;
  ASSERT_TRUE(out.Create(first));
  out.Close();
  SimHost third;
  char next[260];
  third.MkTemp(next, "VLX");
  EXPECT_STRNE(first, next);
  platform::DeleteFile(first);
  EXPECT_EQ(h.MkTemp(nullptr, "VL~"), nullptr);
}

TEST(HostServices, PanelsColoursAndBeeps) {
  HostFixture f;
  f.Open("x", 80, 25, "proj/MAIN.PRG");
  SimHost& h = f.S->Host();
  PanelInfo pi;
  ASSERT_EQ(h.Control(nullptr, FCTL_GETPANELINFO, &pi), 1);
  EXPECT_EQ(std::string(pi.CurDir), f.Tree.Dos("proj"));
  ASSERT_EQ(pi.ItemsNumber, 1);
  EXPECT_STREQ(pi.PanelItems[pi.CurrentItem].FileName, "MAIN.PRG");
  PanelInfo other;
  EXPECT_EQ(h.Control(nullptr, FCTL_GETANOTHERPANELINFO, &other), 1);
  EXPECT_STREQ(other.CurDir, pi.CurDir);
  EXPECT_EQ(h.Control(nullptr, FCTL_SETUSERSCREEN, nullptr), 1);
  EXPECT_EQ(h.Control(nullptr, 77, nullptr), 0);

  f.Tree.Write("data/TABLE.DBF", "0123456789");
  SimHostOptions options;
  options.PanelPath = f.Tree.Native("data/TABLE.DBF");
  SimHost panel(options);
  panel.Control(nullptr, FCTL_GETPANELINFO, &pi);
  EXPECT_EQ(std::string(pi.CurDir), f.Tree.Dos("data"));
  EXPECT_STREQ(pi.PanelItems[0].FileName, "TABLE.DBF");
  EXPECT_EQ(pi.PanelItems[0].FileSize, 10u);

  auto color = [&](int i) {
    return h.AdvControl(h.kModuleNumber, ACTL_GETCOLOR, reinterpret_cast<void*>(intptr_t{i}));
  };
  EXPECT_EQ(color(COL_MENUTEXT), 0x30);
  EXPECT_NE(color(COL_MENUSELECTEDTEXT), color(COL_MENUTEXT));
  EXPECT_NE(color(COL_MENUDISABLEDTEXT), color(COL_MENUTEXT));
  EXPECT_NE(color(COL_MENUDISABLEDTEXT), color(COL_MENUSELECTEDTEXT));
  EXPECT_NE(color(COL_DIALOGHIGHLIGHTTEXT), color(COL_DIALOGTEXT));
  EXPECT_EQ(h.AdvControl(1, 99, nullptr), 0);

  // The newest host owns the console; its beeps are counted. When it goes, the
  // host before it has the console again.
  {
    SimHost beeper;
    platform::MessageBeep(0);
    platform::MessageBeep(0x30);
    EXPECT_EQ(beeper.BeepCount(), 2);
    EXPECT_EQ(panel.BeepCount(), 0);
  }
  platform::MessageBeep(0);
  EXPECT_EQ(panel.BeepCount(), 1);
  int w = 0, ht = 0;
  platform::ConsoleSize(w, ht);
  EXPECT_EQ(w, 80);
  platform::ConsoleWrite("out\n");
  EXPECT_EQ(panel.Screen().RowText(0).substr(0, 3), "out");
}

TEST(HostLoop, ScriptTypesSavesAndDumps) {
  HostFixture f;
  f.Open("one\r\ntwo\r\n", 30, 6);
  int status = f.S->Run("goto 1 3\ntype !\ndump text\nF2\ndump screen\nEsc\n");
  EXPECT_EQ(status, kScriptDone) << f.S->Error();
  EXPECT_EQ(f.Tree.Read("A.PRG"), "one\r\ntwo!\r\n");
  const std::string& out = f.S->Output();
  EXPECT_EQ(out.find("--- text\none\ntwo!\n--- end\n--- screen\n"), 0u) << out;
  // Rows lose their trailing blanks; the empty rows of the text area stay as lines.
  EXPECT_NE(out.find("\none\ntwo!\n\n\n1"), std::string::npos) << out;
  EXPECT_EQ(out.substr(out.size() - 9), "\n--- end\n");
  EXPECT_EQ(f.S->Text(), "one\r\ntwo!\r\n");
  EXPECT_EQ(f.S->Host().EditorDepth(), 0);
}

TEST(HostLoop, CloseAsksToSaveAChangedFile) {
  HostFixture f;
  f.Open("text");
  EXPECT_EQ(f.S->Run("type A\nF10\nEnter\n"), kScriptDone) << f.S->Error();
  auto boxes = f.S->WindowsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Editor");
  EXPECT_NE(std::find(boxes[0].Lines.begin(), boxes[0].Lines.end(), "Save changes?"),
            boxes[0].Lines.end());
  EXPECT_EQ(f.Tree.Read("A.PRG"), "Atext");  // Yes saved it

  HostFixture g;
  g.Open("text");
  // Cancel (Esc) keeps the editor open; the script then closes it with No.
  EXPECT_EQ(g.S->Run("type B\nEsc\nEsc\nEsc\nRight\nEnter\ndump text\n"), kScriptDone)
      << g.S->Error();
  EXPECT_EQ(g.S->WindowsOf("message").size(), 2u);
  EXPECT_EQ(g.Tree.Read("A.PRG"), "text");
  EXPECT_EQ(g.S->Output(), "--- text\nBtext\n--- end\n");

  // When the script ends, the Esc that follows closes without asking.
  HostFixture e;
  e.Open("text");
  EXPECT_EQ(e.S->Run("type C\n"), kScriptDone);
  EXPECT_TRUE(e.S->WindowsOf("message").empty());
  EXPECT_EQ(e.Tree.Read("A.PRG"), "text");
}

TEST(HostLoop, PluginSeesKeysFirstAndDirectivesSeeItsWindows) {
  HostFixture f;
  f.Open("abc\n");
  SimHost& h = f.S->Host();
  int seen = 0;
  PluginEntries plugin;
  plugin.ProcessEditorInput = [&](const INPUT_RECORD& rec) {
    ++seen;
    return rec.KeyEvent.wVirtualKeyCode == 'Q' ? 1 : 0;  // the plug-in takes Q
  };
  plugin.OpenPluginMenu = [&] {
    FarMenuItem items[2];
    snprintf(items[0].Text, sizeof items[0].Text, "First item");
    snprintf(items[1].Text, sizeof items[1].Text, "Second item");
    int code = 0;
    h.Menu(1, -1, -1, 0, 0, "Plugin menu", "", "", nullptr, &code, items, 2);
  };
  int configured = 0;
  plugin.Configure = [&] { ++configured; };
  h.SetPlugin(plugin);
  EXPECT_EQ(f.S->Run("type xQy\nF11\ndump screen\nEsc\nAlt+Shift+F9\nF10\n"), kScriptDone)
      << f.S->Error();
  EXPECT_EQ(f.S->Text(), "xyabc\n");
  EXPECT_NE(f.S->Output().find("Second item"), std::string::npos) << f.S->Output();
  EXPECT_EQ(configured, 1);
  EXPECT_GE(seen, 6);
  auto menus = f.S->WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].Title, "Plugin menu");
  EXPECT_EQ(menus[0].Lines, (std::vector<std::string>{"First item", "Second item"}));
}

TEST(HostLoop, ReadInputAndProcessInputFromThePlugin) {
  HostFixture f;
  f.Open("");
  SimHost& h = f.S->Host();
  int calls = 0, reentered = 0;
  bool inside = false;
  PluginEntries plugin;
  plugin.ProcessEditorInput = [&](const INPUT_RECORD& rec) {
    ++calls;
    if (inside) {
      ++reentered;  // the host calls the plug-in again for the handed-back event
      return 0;
    }
    if (rec.KeyEvent.wVirtualKeyCode != VK_F5) return 0;
    inside = true;
    INPUT_RECORD next;
    h.EditorControl(ECTL_READINPUT, &next);  // takes the key after F5
    h.EditorControl(ECTL_PROCESSINPUT, &next);
    inside = false;
    return 1;
  };
  h.SetPlugin(plugin);
  EXPECT_EQ(f.S->Run("F5\nz\ndump screen\nF10\nRight\nEnter\n"), kScriptDone);
  EXPECT_EQ(f.S->Text(), "z");
  EXPECT_EQ(reentered, 1);
  EXPECT_EQ(calls, 3);
  // PROCESSINPUT redraws: the typed letter is on the screen at once.
  EXPECT_NE(f.S->Output().find("\nz\n"), std::string::npos);
}

TEST(HostLoop, ModalEditorSavesRestoresAndReports) {
  HostFixture f;
  f.Open("outer\n");
  f.Tree.Write("inner.txt", "inner\n");
  SimHost& h = f.S->Host();
  std::vector<int> results;
  std::string innerName;
  PluginEntries plugin;
  plugin.OpenPluginMenu = [&] {
    results.push_back(h.Editor(f.Tree.Dos("inner.txt").c_str(), "Inner", 10, 5, 40, 12, 8, 1, 1));
    results.push_back(h.Editor(f.Tree.Dos("missing.txt").c_str(), "", 0, 0, -1, -1, 8, 0, 0));
  };
  plugin.ProcessEditorInput = [&](const INPUT_RECORD& rec) {
    if (rec.KeyEvent.wVirtualKeyCode == VK_F6) {
      EditorInfo info;
      h.EditorControl(ECTL_GETINFO, &info);
      innerName = info.FileName;
      EXPECT_EQ(info.WindowSizeX, 31);
      EXPECT_EQ(info.WindowSizeY, 7);  // no key bar inside the rectangle
      return 1;
    }
    return 0;
  };
  h.SetPlugin(plugin);
  EXPECT_EQ(f.S->Run("F11\nF6\ntype X\ndump screen\nF2\nEsc\ndump screen\nF11\nEsc\nF10\n"),
            kScriptDone)
      << f.S->Error();
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0], EEC_MODIFIED);
  EXPECT_EQ(results[1], EEC_OPEN_ERROR);
  EXPECT_EQ(results[2], EEC_NOT_MODIFIED);  // opened again and closed unchanged
  EXPECT_EQ(innerName, f.Tree.Dos("inner.txt"));
  EXPECT_EQ(f.Tree.Read("inner.txt"), "Xinner\n");
  const std::string& out = f.S->Output();
  size_t second = out.find("--- screen", 1);
  ASSERT_NE(second, std::string::npos);
  // While open, the inner editor shows over the outer one; afterwards the outer is back.
  EXPECT_NE(out.substr(0, second).find("          Xinner"), std::string::npos) << out;
  EXPECT_EQ(out.substr(second).find("Xinner"), std::string::npos) << out;
  EXPECT_EQ(f.S->Text(), "outer\n");
  auto editors = f.S->WindowsOf("editor");
  ASSERT_EQ(editors.size(), 2u);
  EXPECT_EQ(editors[0].Title, "Inner");
}

TEST(HostLoop, EndOfInputAndWindowsThatDoNotClose) {
  HostFixture f;
  f.Open("x");
  PluginEntries stubborn;
  stubborn.ProcessEditorInput = [](const INPUT_RECORD&) { return 1; };  // eats even Esc
  f.S->Host().SetPlugin(stubborn);
  EXPECT_EQ(f.S->Run("A\n"), kScriptInputExhausted);
  EXPECT_NE(f.S->Error().find("1000"), std::string::npos);

  HostFixture g;
  g.Open("x");
  EXPECT_EQ(g.S->Run("F10\nA\ndump text\n"), kScriptNotFinished);
  EXPECT_NE(g.S->Error().find("line 2"), std::string::npos) << g.S->Error();

  HostFixture d;
  d.Open("x");
  EXPECT_EQ(d.S->Run("F10\ndump text\n"), kScriptDone);  // dumps after the close still run
  EXPECT_EQ(d.S->Output(), "--- text\nx\n--- end\n");
}

TEST(HostLoop, HelpAndFailuresOfOneKey) {
  HostFixture f;
  f.Open("x");
  PluginEntries throwing;
  throwing.ProcessEditorInput = [](const INPUT_RECORD& rec) -> int {
    if (rec.KeyEvent.wVirtualKeyCode == VK_F7) throw std::runtime_error("broken command");
    return 0;
  };
  f.S->Host().SetPlugin(throwing);
  EXPECT_EQ(f.S->Run("F1\nEnter\nF7\nEnter\ntype y\nF10\nRight\nEnter\n"), kScriptDone) << f.S->Error();
  auto boxes = f.S->WindowsOf("message");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Title, "Editor");
  EXPECT_EQ(boxes[1].Title, "Error");
  EXPECT_EQ(boxes[2].Title, "Editor");  // the question at the close
  EXPECT_EQ(boxes[1].Lines[0], "broken command");
  EXPECT_EQ(f.S->Text(), "yx");  // the editor went on after the failure
}

}  // namespace
}  // namespace vemlo::sim
