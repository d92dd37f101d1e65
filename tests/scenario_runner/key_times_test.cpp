// vemlo-edit --key-times: one line per key of the script (its script line and
// milliseconds), and a clear failure when the file cannot be written.
#include <gtest/gtest.h>

#include <sstream>

#include "script_process.h"
#include "temp_tree.h"

namespace {

using vemlo::test::ShellQuote;

std::string Editor() { return ShellQuote(std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit"); }

std::string Command(const vemlo::test::TempTree& tree, const std::string& keyTimes) {
  return Editor() + " --script " + ShellQuote(tree.Native("keys")) + " --registry " +
         ShellQuote(tree.Native("registry.ini")) + " --key-times " + ShellQuote(keyTimes) + " " +
         ShellQuote(tree.Native("a.txt"));
}

TEST(KeyTimes, OneLinePerKeyWithItsScriptLine) {
  vemlo::test::TempTree tree;
  tree.Write("a.txt", "one\r\ntwo\r\n");
  tree.Write("registry.ini", "");
  tree.Write("keys", "Down\n# a comment\ngoto 0 1\nRight\ndump text\nEsc\n");
  const vemlo::test::ProcessResult run = vemlo::test::RunCommand(Command(tree, tree.Native("times.txt")));
  ASSERT_EQ(run.Status, 0) << run.Output;
  EXPECT_NE(run.Output.find("--- text"), std::string::npos);  // the dumps still go to the output
  std::istringstream in(tree.Read("times.txt"));
  std::vector<int> lines;
  int line = 0;
  double ms = -1;
  while (in >> line >> ms) {
    lines.push_back(line);
    EXPECT_GE(ms, 0);
  }
  EXPECT_EQ(lines, (std::vector<int>{1, 4, 6}));
}

TEST(KeyTimes, AFileThatCannotBeWrittenFailsTheRun) {
  vemlo::test::TempTree tree;
  tree.Write("a.txt", "one\r\n");
  tree.Write("registry.ini", "");
  tree.Write("keys", "Esc\n");
  tree.Write("dir/x", "");
  const vemlo::test::ProcessResult run = vemlo::test::RunCommand(Command(tree, tree.Native("dir")));
  EXPECT_NE(run.Status, 0);
  EXPECT_NE(run.Output.find("cannot write"), std::string::npos) << run.Output;

  const vemlo::test::ProcessResult bare =
      vemlo::test::RunCommand(Editor() + " --script " + ShellQuote(tree.Native("keys")) + " --key-times");
  EXPECT_EQ(bare.Status, 2);
  EXPECT_NE(bare.Output.find("--key-times needs a file"), std::string::npos) << bare.Output;
}

}  // namespace
