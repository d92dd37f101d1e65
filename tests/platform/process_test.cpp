#include <gtest/gtest.h>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

TEST(PlatformProcess, RunProgramWaitsAndReportsStartFailures) {
  test::TempTree tree;
  RunResult ok = RunProgram("echo done > '" + tree.Native("out.txt") + "'");
  EXPECT_TRUE(ok.Started);
  EXPECT_EQ(ok.Error, "");
  EXPECT_EQ(tree.Read("out.txt"), "done\n");  // it has finished when RunProgram returns

  EXPECT_TRUE(RunProgram("exit 3").Started);  // a failing program did start

  RunResult missing = RunProgram("vemlo-no-such-program-xyz 2>/dev/null");
  EXPECT_FALSE(missing.Started);
  EXPECT_NE(missing.Error.find("not found"), std::string::npos);

  tree.Write("noexec.sh", "#!/bin/sh\n");
  RunResult noexec = RunProgram("'" + tree.Native("noexec.sh") + "' 2>/dev/null");
  EXPECT_FALSE(noexec.Started);
  EXPECT_FALSE(noexec.Error.empty());
}

TEST(PlatformProcess, TempDirectoryIsPrivateAndStable) {
  const std::string dir = TempDirectory();
  ASSERT_GE(dir.size(), 4u);
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_EQ(dir, TempDirectory());
  EXPECT_TRUE(DirectoryExists(dir));
  OutFile out;
  ASSERT_TRUE(out.Create(dir + "VL~1.tmp"));
  EXPECT_TRUE(out.Close());
  EXPECT_TRUE(FileExists(dir + "vl~1.TMP"));
  EXPECT_TRUE(DeleteFile(dir + "VL~1.tmp"));
}

TEST(PlatformConsole, ForwardsToTheBackendOrFallsBack) {
  SetConsoleBackend(nullptr);
  int w = 0, h = 0;
  ConsoleSize(w, h);
  EXPECT_EQ(w, 80);
  EXPECT_EQ(h, 25);
  EXPECT_EQ(ConsoleTitle(), "");
  int x = 5, y = 5;
  ConsoleGetCursor(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  auto backend = std::make_shared<ConsoleBackend>();
  std::string log;
  backend->GetSize = [](int& width, int& height) { width = 132, height = 50; };
  backend->WriteRow = [&](int row, const std::string& text, int attr) {
    log += "row" + std::to_string(row) + ":" + text + ":" + std::to_string(attr) + ";";
  };
  backend->GetCursor = [](int& cx, int& cy) { cx = 3, cy = 4; };
  backend->SetCursor = [&](int cx, int cy) { log += "cur" + std::to_string(cx) + "," + std::to_string(cy) + ";"; };
  backend->GetTitle = [] { return std::string("Title"); };
  backend->SetTitle = [&](const std::string& t) { log += "title:" + t + ";"; };
  backend->WriteOutput = [&](const std::string& t) { log += "out:" + t + ";"; };
  backend->Beep = [&](unsigned type) { log += "beep" + std::to_string(type) + ";"; };
  SetConsoleBackend(backend);
  ConsoleSize(w, h);
  EXPECT_EQ(w, 132);
  EXPECT_EQ(h, 50);
  ConsoleGetCursor(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(ConsoleTitle(), "Title");
  ConsoleWriteRow(2, "abc", 0x1F);
  ConsoleSetCursor(7, 8);
  SetConsoleTitle("T2");
  ConsoleWrite("text");
  MessageBeep(0x30);
  EXPECT_EQ(log, "row2:abc:31;cur7,8;title:T2;out:text;beep48;");

  // A backend without some operations falls back for those.
  auto partial = std::make_shared<ConsoleBackend>();
  SetConsoleBackend(partial);
  ConsoleSize(w, h);
  EXPECT_EQ(w, 80);
  SetConsoleBackend(nullptr);
}

}  // namespace
}  // namespace vemlo::platform
