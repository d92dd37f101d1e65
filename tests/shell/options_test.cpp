// The option table, its registry storage and the group dialogs.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "plugin_host.h"
#include "shell/vemlocfg.h"

namespace vemlo {
namespace {

std::string Stored(const std::string& name) {
  return platform::RegQueryString(OptionsKey(), name).value_or("<missing>");
}

TEST(Options, FirstStartGivesTheDefaults) {
  test::PluginHost ph;  // a fresh registry file: no key yet
  EXPECT_EQ(PluginOptions().size(), 34u);
  EXPECT_EQ(CfgParam("KeyPreview"), "+");
  EXPECT_EQ(CfgParam("SoundSignals"), "+");
  EXPECT_EQ(CfgParam("ShowBookmarks"), "+");
  EXPECT_EQ(CfgParam("InsightAutoDropDown"), "");
  EXPECT_EQ(CfgParam("FileExtensions"), ".prg;.spr;.mpr");
  EXPECT_EQ(CfgParam("FmtTextStructIndentStep"), "  1t   s");
  EXPECT_EQ(CfgParam("ReviewCharSetCond"), "\xDA\xB3\xC3\xC0\xC4");
  EXPECT_EQ(CfgParam("ReviewCharSetLoop"), "\xD6\xBA\xC7\xC7\xD3\xC4");
  EXPECT_EQ(CfgParam("ReviewCharSetExit"), "\x3C\xCD");
  EXPECT_EQ(CfgParam("ReviewAddKeyWords"), "set\x0Cprivate\x0Cselect");
  EXPECT_TRUE(ph.WindowsOf("message").empty());
}

TEST(Options, UnknownNameWarnsAndReadsEmpty) {
  test::PluginHost ph;
  ph.Keys({"Enter"});
  EXPECT_EQ(CfgParam("keypreview"), "");  // names compare case-sensitively
  auto shown = ph.WindowsOf("message");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Title, "VEM-LO");
  ASSERT_GE(shown[0].Lines.size(), 3u);
  EXPECT_EQ(shown[0].Lines[0], "internal error in function CfgParam");
  EXPECT_EQ(shown[0].Lines[1], "unknown ParamName:");
  EXPECT_EQ(shown[0].Lines[2], "keypreview");
}

TEST(Options, LoadTakesStringValuesUpToTheirFirstNul) {
  test::PluginHost ph;
  platform::RegSetString(OptionsKey(), "SoundSignals", "");
  platform::RegSetString(OptionsKey(), "InsightHeight", std::string("12\0junk", 7));
  platform::RegSetString(OptionsKey(), "ShowBookmarks", " ");
  platform::RegSetString(OptionsKey(), "NoSuchOption", "x");
  LoadOptions();
  EXPECT_EQ(CfgParam("SoundSignals"), "");
  EXPECT_EQ(CfgParam("InsightHeight"), "12");
  EXPECT_EQ(CfgParam("ShowBookmarks"), " ");  // shows ticked, reads as off
  EXPECT_EQ(CfgParam("KeyPreview"), "+");
}

// Focus order of the first group: 3 check boxes, 3 edits, the list button, a check
// box and 3 edits, then the buttons Save, Apply and Cancel.
constexpr int kTabsToApply = 12;

TEST(Options, ApplyChangesMemoryOnlySaveStoresTheGroup) {
  test::PluginHost ph;
  std::vector<std::string> keys = {"Space"};  // untick KeyPreview
  for (int i = 0; i < kTabsToApply; ++i) keys.push_back("Tab");
  keys.push_back("Enter");
  ph.Keys(keys);
  EditOptionGroup(0);
  EXPECT_EQ(CfgParam("KeyPreview"), "");
  EXPECT_EQ(Stored("KeyPreview"), "<missing>");
  ResetOptions();
  LoadOptions();
  EXPECT_EQ(CfgParam("KeyPreview"), "+");

  // Enter on the check box closes with the default button, which stores the group.
  ph.Keys({"Space", "Enter"});
  EditOptionGroup(0);
  EXPECT_EQ(Stored("KeyPreview"), "");
  EXPECT_EQ(Stored("FileExtensions"), ".prg;.spr;.mpr");
  EXPECT_EQ(Stored("ReviewFoxStructStep"), "<missing>");  // other groups are not written
  ResetOptions();
  LoadOptions();
  EXPECT_EQ(CfgParam("KeyPreview"), "");
}

TEST(Options, CancelAndEscapeChangeNothing) {
  test::PluginHost ph;
  ph.Keys({"Space", "Esc"});
  EditOptionGroup(0);
  EXPECT_EQ(CfgParam("KeyPreview"), "+");
  EXPECT_EQ(Stored("KeyPreview"), "<missing>");
}

TEST(Options, ThirdGroupDialogHoldsItsButtons) {
  test::PluginHost ph;
  ph.Keys({"Esc"});
  EditOptionGroup(2);
  auto dialogs = ph.WindowsOf("dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_NE(dialogs[0].Title.find("VEM-LO - Structure review"), std::string::npos);
}

}  // namespace
}  // namespace vemlo
