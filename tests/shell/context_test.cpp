// The plug-in context: a reset builds a new one, so nothing of a session
// survives it, not the host either.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fox/views/structure_menu.h"
#include "help/vemlohlp.h"
#include "host/context.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/settings_file.h"
#include "host/xxfar.h"
#include "plugin_host.h"
#include "shell/vemlo.h"

namespace vemlo {
namespace {

TEST(Context, ResetLeavesNothingOfTheSession) {
  {
    test::PluginHost ph("PROCEDURE p\r\nRETURN\r\n");
    ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
    RefreshModel(false, false, false);
    ASSERT_EQ(FoxProj().State, 1);
    ASSERT_EQ(IniFile().State, isLoaded);
    ASSERT_FALSE(Insight().Statements.empty());
    for (TxxPluginOption& o : PluginOptions())
      if (o.Name == "KeyPreview") o.Value = "";
    TxxPluginContext& ctx = Ctx();
    ctx.Busy = true;
    ctx.Reentry = true;
    ctx.Review.Visible.fill(true);
    ctx.Review.Initialized.fill(true);
    ctx.OptionDialog.LastGroup = 2;
    HelpState().HelpTopics = {"a topic"};
    ASSERT_TRUE(PluginBusy());

    ResetPluginState();
    EXPECT_FALSE(PluginBusy());
    EXPECT_THROW(FarApi(), std::logic_error);  // the host is gone with the rest
    TxxPluginContext& fresh = Ctx();
    EXPECT_FALSE(fresh.Reentry);
    EXPECT_EQ(fresh.Startup.Api, nullptr);
    EXPECT_EQ(fresh.Project.State, 0);
    EXPECT_TRUE(fresh.Project.Progs.empty());
    EXPECT_EQ(fresh.Ini.State, isNone);
    EXPECT_TRUE(fresh.Insight.Statements.empty());
    EXPECT_EQ(fresh.Insight.ProgIndex, -1);
    EXPECT_EQ(Option(OptionId::KeyPreview), "+");
    EXPECT_FALSE(fresh.Review.Initialized[0]);
    EXPECT_EQ(fresh.OptionDialog.LastGroup, 0);
    EXPECT_TRUE(fresh.Help.HelpTopics.empty());
    EXPECT_FALSE(fresh.Progress.Active);
  }
  // A context is built on first use without a host, and a host started on it
  // is the one the plug-in calls.
  test::PluginHost ph;
  EXPECT_EQ(&FarApi(), static_cast<FarHost*>(&ph.Host()));
}

}  // namespace
}  // namespace vemlo
