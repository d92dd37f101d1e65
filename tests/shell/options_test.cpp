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
  EXPECT_EQ(Option(OptionId::KeyPreview), "+");
  EXPECT_EQ(Option(OptionId::SoundSignals), "+");
  EXPECT_EQ(Option(OptionId::ShowBookmarks), "+");
  EXPECT_EQ(Option(OptionId::InsightAutoDropDown), "");
  EXPECT_EQ(Option(OptionId::FileExtensions), ".prg;.spr;.mpr");
  EXPECT_EQ(Option(OptionId::FmtTextStructIndentStep), "  1t   s");
  EXPECT_EQ(Option(OptionId::ReviewCharSetCond), "\xDA\xB3\xC3\xC0\xC4");
  EXPECT_EQ(Option(OptionId::ReviewCharSetLoop), "\xD6\xBA\xC7\xC7\xD3\xC4");
  EXPECT_EQ(Option(OptionId::ReviewCharSetExit), "\x3C\xCD");
  EXPECT_EQ(Option(OptionId::ReviewAddKeyWords), "set\x0Cprivate\x0Cselect");
  EXPECT_TRUE(ph.WindowsOf("message").empty());
}

// A misspelt option id does not compile (tests/layer_probes); a name from
// outside the code is looked up case-sensitively, and each id is its own name.
TEST(Options, NamesMatchTheirIdsExactly) {
  test::PluginHost ph;
  EXPECT_FALSE(FindOption("keypreview").has_value());
  EXPECT_FALSE(FindOption("").has_value());
  ASSERT_TRUE(FindOption("KeyPreview").has_value());
  EXPECT_EQ(*FindOption("KeyPreview"), OptionId::KeyPreview);
  EXPECT_EQ(*FindOption("ReviewAddPairList"), OptionId::ReviewAddPairList);
  int named = 0;
  for (const TxxPluginOption& o : PluginOptions()) {
    if (o.Name.empty()) continue;
    ++named;
    const std::optional<OptionId> id = FindOption(o.Name);
    ASSERT_TRUE(id.has_value()) << o.Name;
    EXPECT_EQ(&Option(*id), &o.Value) << o.Name;
  }
  EXPECT_EQ(named, 27);
  EXPECT_TRUE(ph.WindowsOf("message").empty());
}

TEST(Options, LoadTakesStringValuesUpToTheirFirstNul) {
  test::PluginHost ph;
  platform::RegSetString(OptionsKey(), "SoundSignals", "");
  platform::RegSetString(OptionsKey(), "InsightHeight", std::string("12\0junk", 7));
  platform::RegSetString(OptionsKey(), "ShowBookmarks", " ");
  platform::RegSetString(OptionsKey(), "NoSuchOption", "x");
  LoadOptions();
  EXPECT_EQ(Option(OptionId::SoundSignals), "");
  EXPECT_EQ(Option(OptionId::InsightHeight), "12");
  EXPECT_EQ(Option(OptionId::ShowBookmarks), " ");  // shows ticked, reads as off
  EXPECT_EQ(Option(OptionId::KeyPreview), "+");
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
  EXPECT_EQ(Option(OptionId::KeyPreview), "");
  EXPECT_EQ(Stored("KeyPreview"), "<missing>");
  ResetOptions();
  LoadOptions();
  EXPECT_EQ(Option(OptionId::KeyPreview), "+");

  // Enter on the check box closes with the default button, which stores the group.
  ph.Keys({"Space", "Enter"});
  EditOptionGroup(0);
  EXPECT_EQ(Stored("KeyPreview"), "");
  EXPECT_EQ(Stored("FileExtensions"), ".prg;.spr;.mpr");
  EXPECT_EQ(Stored("ReviewFoxStructStep"), "<missing>");  // other groups are not written
  ResetOptions();
  LoadOptions();
  EXPECT_EQ(Option(OptionId::KeyPreview), "");
}

TEST(Options, CancelAndEscapeChangeNothing) {
  test::PluginHost ph;
  ph.Keys({"Space", "Esc"});
  EditOptionGroup(0);
  EXPECT_EQ(Option(OptionId::KeyPreview), "+");
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
