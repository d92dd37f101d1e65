// Replays every folder of tests/scenarios through the script runner and compares
// what it prints with the folder's `expected` file. A folder holds `keys` (the
// script), the files to edit, optional `args` (extra options, one line) and
// `files` (the files to open, default: the first file that is not one of these).
// VEMLO_UPDATE_SCENARIOS=1 writes the output as the new `expected` instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "script_process.h"
#include "temp_tree.h"

namespace fs = std::filesystem;

namespace {

const char* const kSpecial[] = {"keys", "expected", "args", "files", "registry"};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

bool IsSpecial(const std::string& name) {
  for (const char* s : kSpecial)
    if (name == s) return true;
  return false;
}

std::vector<std::string> Cases() {
  std::vector<std::string> names;
  fs::path root = fs::path(VEMLO_SOURCE_DIR) / "tests" / "scenarios";
  if (fs::exists(root))
    for (const auto& e : fs::directory_iterator(root))
      if (e.is_directory() && fs::exists(e.path() / "keys")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using vemlo::test::RunCommand;
using vemlo::test::ProcessResult;

std::string Quote(const std::string& s) { return vemlo::test::ShellQuote(s); }

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, PrintsWhatIsExpected) {
  const fs::path source = fs::path(VEMLO_SOURCE_DIR) / "tests" / "scenarios" / GetParam();
  vemlo::test::TempTree tree;
  // A fixed folder, so that the paths the screens show are the same on every run.
  const fs::path work = fs::path("/tmp/vemlo-scenarios") / GetParam();
  fs::remove_all(work);
  fs::create_directories(work.parent_path());
  fs::copy(source, work, fs::copy_options::recursive);
  struct Cleanup {
    fs::path Dir;
    ~Cleanup() {
      std::error_code ec;
      fs::remove_all(Dir, ec);
    }
  } cleanup{work};
  const fs::path temp = fs::path("/tmp/vemlo-scenarios-tmp") / GetParam();
  fs::remove_all(temp);
  fs::create_directories(temp);
  struct TempCleanup {
    fs::path Dir;
    ~TempCleanup() {
      std::error_code ec;
      fs::remove_all(Dir, ec);
    }
  } tempCleanup{temp};

  std::vector<std::string> files;
  if (fs::exists(work / "files")) {
    std::istringstream in(ReadAll(work / "files"));
    for (std::string f; in >> f;) files.push_back((work / f).string());
  } else {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work))
      if (e.is_regular_file() && !IsSpecial(e.path().filename().string())) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    if (!names.empty()) files.push_back(names.front());
  }
  ASSERT_FALSE(files.empty()) << "no file to edit in " << source;

  std::string registry = (work / "registry").string();
  if (!fs::exists(registry)) registry = (tree.Native("registry.ini"));
  std::string command = "cd " + Quote(work.string()) + " && VEMLO_TEMP_DIR=" + Quote(temp.string()) + " " +
                        Quote(std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit") + " --script keys --registry " +
                        Quote(registry);
  if (fs::exists(work / "args")) command += " " + Trimmed(ReadAll(work / "args"));
  for (const std::string& f : files) command += " " + Quote(f);
  ProcessResult run = RunCommand(command);

  if (std::getenv("VEMLO_UPDATE_SCENARIOS")) {
    std::ofstream(source / "expected", std::ios::binary) << run.Output;
    GTEST_SKIP() << "expected output written";
  }
  EXPECT_EQ(run.Status, 0) << run.Output;
  const std::string expected = ReadAll(source / "expected");
  if (run.Output != expected) {
    std::ofstream(tree.Native("actual"), std::ios::binary) << run.Output;
    ProcessResult diff = RunCommand("diff -u " + Quote((source / "expected").string()) + " " +
                                Quote(tree.Native("actual")));
    ADD_FAILURE() << "output differs from " << (source / "expected") << ":\n" << diff.Output;
  }
  // Every temporary file a command made is gone when it ends.
  EXPECT_EQ(vemlo::test::CountFiles(temp.string()), 0) << "temporary files left in " << temp;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Scenario, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           for (char& c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
