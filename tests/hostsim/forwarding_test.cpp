#include <gtest/gtest.h>

#include "host_fixture.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

TEST(HostForwarding, HelpFilesViewerAndInputBox) {
  HostFixture f;
  f.Tree.Write("module/vemlo_en.hlf", ".Language=English,English\n@Contents\n$ Contents\nHello help\n");
  f.Tree.Write("other.hlf", ".Language=English,English\n@Topic\n$ Other\nOther text\n");
  f.Tree.Write("view.txt", "viewed text\n");
  f.Open("x");
  SimHost& h = f.S->Host();
  std::vector<int> results;
  char typed[8] = {};
  PluginEntries plugin;
  plugin.OpenPluginMenu = [&] {
    results.push_back(h.ShowHelp(h.StartupInfo().ModuleName.c_str(), nullptr, 0));
    results.push_back(h.ShowHelp(f.Tree.Dos("other.hlf").c_str(), "Topic", FHELP_CUSTOMFILE));
    results.push_back(h.ShowHelp(f.Tree.Dos("other.hlf").c_str(), "Nowhere", FHELP_CUSTOMFILE));
    results.push_back(h.Viewer(f.Tree.Dos("view.txt").c_str(), "View", 0, 0, -1, -1, 8));
    results.push_back(h.Viewer(f.Tree.Dos("none.txt").c_str(), "View", 0, 0, -1, -1, 8));
    results.push_back(h.InputBox("Title", "Prompt", "hist", "abcdefghijk", typed, sizeof typed,
                                 "", 0));
  };
  h.SetPlugin(plugin);
  EXPECT_EQ(f.S->Run("F11\ndump screen\nEsc\ndump screen\nEsc\ndump screen\nEsc\n"
                     "dump screen\nEnter\nF10\n"),
            kScriptDone)
      << f.S->Error();
  ASSERT_EQ(results.size(), 6u);
  EXPECT_EQ(results[0], 1);
  EXPECT_EQ(results[1], 1);
  EXPECT_EQ(results[2], 0);  // no such topic
  EXPECT_EQ(results[3], 1);
  EXPECT_EQ(results[4], 0);  // no such file
  EXPECT_EQ(results[5], 1);
  EXPECT_STREQ(typed, "abcdefg");  // cut to the buffer
  const std::string& out = f.S->Output();
  EXPECT_NE(out.find("Hello help"), std::string::npos) << out;
  EXPECT_NE(out.find("Other text"), std::string::npos) << out;
  EXPECT_NE(out.find("viewed text"), std::string::npos) << out;
  EXPECT_NE(out.find("Prompt"), std::string::npos) << out;
  auto help = f.S->WindowsOf("help");
  ASSERT_EQ(help.size(), 3u);
  EXPECT_EQ(help[0].Title, "Contents");
  EXPECT_EQ(help[0].Lines[0], f.Tree.Native("module") + "/vemlo_en.hlf");
  EXPECT_EQ(help[1].Lines[0], f.Tree.Native("other.hlf"));
  EXPECT_EQ(f.S->WindowsOf("viewer").size(), 1u);
  EXPECT_EQ(f.S->WindowsOf("input").size(), 1u);
}

}  // namespace
}  // namespace vemlo::sim

namespace vemlo::sim {
namespace {

TEST(HostResize, FullScreenEditorsFollowTheConsole) {
  test::HostFixture f;
  EditorWindow& ed = f.Open("one\n", 80, 25);
  SimHost& h = f.S->Host();
  h.Resize(100, 30);
  EditorInfo info;
  h.EditorControl(ECTL_GETINFO, &info);
  EXPECT_EQ(info.WindowSizeX, 100);
  EXPECT_EQ(info.WindowSizeY, 28);
  h.RedrawCurrentEditor();
  EXPECT_EQ(h.Screen().RowText(29).substr(0, 5), "1Help");
  h.Resize(40, 5);
  EXPECT_EQ(ed.Y2, 4);
  h.EditorControl(ECTL_GETINFO, &info);
  EXPECT_EQ(info.WindowSizeY, 3);
}

}  // namespace
}  // namespace vemlo::sim
