// Neovim's built-in LSP client (headless, driven by nvim/demo_e2e.lua) on a
// copy of the demo project: each check of the script is one expectation
// here, and the project folder must be byte for byte as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "demo_copy.h"

namespace vemlo::lsp {
namespace {

using vemlo::test::RunCommand;
using vemlo::test::ShellQuote;

bool HaveNeovim() { return RunCommand("command -v nvim").Status == 0; }

TEST(NeovimE2E, TheBuiltInClientOnTheDemo) {
  if (!HaveNeovim()) GTEST_SKIP() << "nvim is not installed (Debian package neovim); this test did not run";
  test::DemoCopy demo;
  vemlo::test::TempTree scratch;
  const auto before = demo.Snapshot();
  const std::string out = scratch.Native("report.txt");
  const std::string command =
      "cd " + ShellQuote(scratch.Root) + " && HOME=" + ShellQuote(scratch.Root) +
      " XDG_CONFIG_HOME=" + ShellQuote(scratch.Native("config")) +
      " XDG_DATA_HOME=" + ShellQuote(scratch.Native("data")) +
      " XDG_STATE_HOME=" + ShellQuote(scratch.Native("state")) +
      " VEMLO_LSP=" + ShellQuote(VEMLO_LSP_PATH) + " VEMLO_DEMO=" + ShellQuote(demo.Dir()) +
      " VEMLO_REGISTRY=" + ShellQuote(demo.Registry()) +
      " VEMLO_FORMATTED=" + ShellQuote(std::string(VEMLO_SOURCE_DIR) + "/tests/realhost/CloseDay.formatted") +
      " VEMLO_E2E_OUT=" + ShellQuote(out) +
      " timeout 120 nvim --headless --clean -n -i NONE -c " +
      ShellQuote("luafile " + std::string(VEMLO_SOURCE_DIR) + "/tests/lsp/nvim/demo_e2e.lua");
  const auto run = RunCommand(command);
  const std::string report = test::ReadFile(out);
  ASSERT_NE(report.find("DONE "), std::string::npos) << "the script did not finish\n" << run.Output << report;
  std::istringstream lines(report);
  int passed = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("PASS ", 0) == 0) ++passed;
    EXPECT_NE(line.rfind("FAIL ", 0), 0u) << line;
  }
  EXPECT_GE(passed, 15) << report;
  EXPECT_TRUE(vemlo::test::TreeDifferences(before, demo.Snapshot()).empty()) << "the project folder changed";
  EXPECT_FALSE(vemlo::test::HasSanitizerReport(run.Output)) << run.Output;
}

}  // namespace
}  // namespace vemlo::lsp
