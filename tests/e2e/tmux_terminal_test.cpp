// vemlo-edit in a real terminal: tmux runs it on a copy of the demo project,
// the test types keys and reads the screen as a person sees it.
#include <gtest/gtest.h>

#include <signal.h>

#include "tmux_driver.h"

namespace {

using namespace vemlo::test::tmux;

class TmuxTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed: the terminal tests need it";
    ASSERT_TRUE(fs::exists(fs::path(VEMLO_BINARY_DIR) / "apps" / "vemlo-edit"));
    ASSERT_TRUE(fs::exists(fs::path(VEMLO_BINARY_DIR) / "demo" / "MAIN.PRG"))
        << "the demo project is built by the target vemlo_demo";
  }
};

TEST_F(TmuxTerminal, MainMenuOverTheDemoProgramAndBack) {
  DemoCopy demo;
  std::string original = ReadFile(demo.Main());
  Tmux tmux;
  // The shell around the program writes its exit status: tmux itself may fail
  // to reap the pane's process while its machine is busy.
  const fs::path status = demo.Dir() / "status";
  tmux.Start("sh -c " + Quote(demo.Command() + "; echo $? > " + Quote(status.string())));
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  std::string screen = tmux.Screen();
  EXPECT_NE(screen.find("MAIN.PRG"), std::string::npos) << screen;
  EXPECT_NE(screen.find("#DEFINE APP_TITLE"), std::string::npos) << screen;
  // The comment banner of the file: code page 866 box characters as UTF-8.
  EXPECT_NE(screen.find("*╔════"), std::string::npos) << screen;

  tmux.Keys("F11");
  ASSERT_TRUE(tmux.WaitForText("VEM-LO")) << tmux.Screen();
  screen = tmux.Screen();
  // The framed main menu: its title in the top border, its items, its bottom border.
  EXPECT_NE(screen.find("╔═════════════════════ VEM-LO ═════════════════════╗"), std::string::npos)
      << screen;
  for (const char* item : {"║  Insert", "║  Comment block", "║  Code insight", "║  Procedure list",
                           "Ctrl+Space", "Ctrl+Shift+Up"})
    EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
  EXPECT_NE(screen.find("╟────"), std::string::npos) << screen;
  EXPECT_NE(screen.find("╚════"), std::string::npos) << screen;

  // A menu choice: Enter on "Insert" opens its submenu.
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("FoxPro key name")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("║  FoxPro key code with a comment"), std::string::npos);
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitGone("VEM-LO")) << tmux.Screen();
  ASSERT_TRUE(tmux.WaitForText("#DEFINE APP_TITLE")) << tmux.Screen();

  // Ctrl+Space reaches the plug-in; whatever it opens, the program lives on and
  // Esc brings the editor back.
  std::string editor = tmux.Stable();
  tmux.Keys("C-Space");
  std::string after = tmux.Stable();
  EXPECT_FALSE(tmux.Dead()) << after;
  if (after != editor) {
    tmux.Keys("Escape");
    ASSERT_TRUE(tmux.WaitFor([&](const std::string& s) { return s == editor; })) << tmux.Screen();
  }
  tmux.Keys("F11");
  ASSERT_TRUE(tmux.WaitForText("VEM-LO")) << tmux.Screen();
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitGone("VEM-LO")) << tmux.Screen();

  // The terminal grows: the editor fills it (the key bar gets room for whole labels).
  Shell(tmux.Cmd("resize-window -x 100 -y 30"));
  ASSERT_TRUE(tmux.WaitForText("11Plugin")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("Line 1/315"), std::string::npos) << tmux.Screen();

  // A change, then F10: the editor asks; "No" leaves the file as it was.
  tmux.Keys("x");
  ASSERT_TRUE(tmux.WaitForText("x*╔")) << tmux.Screen();
  tmux.Keys("F10");
  ASSERT_TRUE(tmux.WaitForText("Save changes?")) << tmux.Screen();
  tmux.Keys("Right");
  tmux.Keys("Enter");
  // The program ends normally.
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (ReadFile(status).find('\n') == std::string::npos && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(ReadFile(status), "0\n") << tmux.Screen();
  EXPECT_EQ(ReadFile(demo.Main()), original) << "the file is written only when the user saves";
}

TEST_F(TmuxTerminal, SigtermLeavesTheTerminalUsable) {
  DemoCopy demo;
  std::string original = ReadFile(demo.Main());
  fs::path log = demo.Dir() / "output.bin";
  Tmux tmux;
  // The pane waits for a line before it starts the program, so that every byte
  // the program writes goes through the pipe.
  tmux.Start("sh -c " + Quote("read go; exec " + demo.Command()));
  ASSERT_TRUE(tmux.WaitFor([](const std::string&) { return true; }));
  Shell(tmux.Cmd("pipe-pane -o " + Quote("cat >> " + Quote(log.string()))));
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  tmux.Keys("x");  // a change that must not be saved
  ASSERT_TRUE(tmux.WaitForText("x*╔")) << tmux.Screen();

  pid_t pid = static_cast<pid_t>(std::stol(tmux.Show("#{pane_pid}")));
  ASSERT_GT(pid, 1);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  ASSERT_TRUE(tmux.WaitDead()) << tmux.Screen();

  // What the program wrote: the modes it switched on, then off again.
  std::string out;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (std::chrono::steady_clock::now() < end) {
    out = ReadFile(log);
    if (out.find("\x1b[?1049l") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  size_t on = out.find("\x1b[?1049h");
  ASSERT_NE(on, std::string::npos) << "the alternate screen was never entered";
  EXPECT_NE(out.find("\x1b[>4;2m", on), std::string::npos);
  EXPECT_NE(out.find("\x1b[>1u", on), std::string::npos);
  size_t off = out.find("\x1b[?1049l", on);
  ASSERT_NE(off, std::string::npos) << "the alternate screen was not left";
  size_t tail = out.rfind("\x1b[>4;0m");
  ASSERT_NE(tail, std::string::npos) << "modifyOtherKeys was not switched off";
  EXPECT_LT(tail, off);
  EXPECT_NE(out.find("\x1b[<u", tail), std::string::npos) << "the CSI u mode was not popped";
  EXPECT_NE(out.find("\x1b[?25h", tail), std::string::npos) << "the cursor was left hidden";
  EXPECT_EQ(ReadFile(demo.Main()), original) << "SIGTERM must not save the file";
}

}  // namespace
