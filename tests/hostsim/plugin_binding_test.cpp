#include <gtest/gtest.h>

#include "platform/platform.h"
#include "session.h"
#include "shell/vemlo.h"
#include "temp_tree.h"

namespace vemlo::sim {
namespace {

// The host handed to the linked plug-in: F11 opens the plug-in's menu, whose
// texts come from the language file of the module folder of the build.
TEST(PluginBinding, F11OpensThePluginMenuFromTheModuleFolder) {
  vemlo::test::TempTree tree;
  platform::SetRegistryFile(tree.Native("registry.ini"));
  tree.Write("A.PRG", "x = 1\n");
  SimHostOptions options;
  options.ModuleDir = VEMLO_BINARY_DIR "/plugin";
  Session s(options);
  s.StartPlugin();
  ASSERT_TRUE(s.Open(tree.Native("A.PRG")));
  EXPECT_EQ(s.Run("F11\ndump screen\nEsc\nF10\n"), kScriptDone) << s.Error();
  auto menus = s.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].Title, s.Host().GetMsg(SimHost::kModuleNumber, 0));
  EXPECT_FALSE(menus[0].Title.empty());
  EXPECT_NE(s.Output().find(menus[0].Title), std::string::npos);
  vemlo::ResetPluginState();
}

}  // namespace
}  // namespace vemlo::sim
