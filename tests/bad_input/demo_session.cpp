#include "demo_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "console.h"
#include "language.h"

namespace fs = std::filesystem;

namespace vemlo::test {

namespace {

std::string DosPath(const std::string& native) {
  std::string dos = "Z:" + native;
  std::replace(dos.begin(), dos.end(), '/', '\\');
  return dos;
}

// Backslashes are doubled in the registry stand-in's values.
std::string RegistryValue(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void Parse(DemoRun& run) {
  const std::string& out = run.Process.Output;
  size_t w = out.rfind("--- windows\n");
  if (w == std::string::npos) return;
  size_t b = out.find("--- beeps ", w);
  size_t t = out.find("--- text\n", w);
  size_t e = out.rfind("--- end\n");
  if (b == std::string::npos || t == std::string::npos || e == std::string::npos || e < t) return;
  run.Windows = SplitLines(out.substr(w + 12, b - w - 12));
  run.Beeps = std::atoi(out.c_str() + b + 10);
  run.FinalText = out.substr(t + 9, e - t - 9);
  run.Parsed = true;
}

const std::vector<std::string>& EnglishMessages() {
  static const std::vector<std::string> messages = [] {
    std::ifstream in(std::string(VEMLO_SOURCE_DIR) + "/data/module/vemlo_en.lng", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::vector<std::string> utf8;
    for (const std::string& m : sim::ParseLanguage(s.str())) utf8.push_back(sim::Cp866ToUtf8(m));
    return utf8;
  }();
  return messages;
}

}  // namespace

DemoProject::DemoProject() {
  CopyTree(std::string(VEMLO_BINARY_DIR) + "/demo", Dir());
  CopyTree(std::string(VEMLO_BINARY_DIR) + "/plugin", ModuleDir());
  fs::remove(Path("registry.ini"));
  const std::string help = RegistryValue(DosPath(Path("help/FOXHELP.DBF")));
  tree.Write("registry.ini",
             "[Software\\Far\\Plugins\\VEM-LO]\n"
             "FoxHelpBases=FoxPro 2.x commands and functions (demo) > " + help + "\n"
             "FoxHelpBaseParams=" + help + "\n"
             "InsightAutoDropDown=+\n"
             "FmtTextInlineCommentPos=41, 61\n");
}

DemoRun DemoProject::Run(const std::string& keys, const std::string& edited, const std::string& panel) const {
  TempTree scratch;  // the script and the plug-in's temporary folder, outside the project
  scratch.Write("keys", keys);
  fs::create_directories(scratch.Native("tmp"));
  const TreeSnapshot before = SnapshotTree(tree.Root);
  const std::string command =
      "VEMLO_TEMP_DIR=" + ShellQuote(scratch.Native("tmp")) + " " +
      ShellQuote(std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit") + " --script " +
      ShellQuote(scratch.Native("keys")) + " --transcript --registry " + ShellQuote(tree.Native("registry.ini")) +
      " --module-dir " + ShellQuote(ModuleDir()) + " --panel " + ShellQuote(Path(panel)) + " " +
      ShellQuote(Path(edited));
  DemoRun run;
  run.Process = RunCommand(command);
  Parse(run);
  run.Changed = TreeDifferences(before, SnapshotTree(tree.Root));
  run.TempFilesLeft = CountFiles(scratch.Native("tmp"));
  return run;
}

int MessageNumber(const std::string& utf8Line) {
  const auto& messages = EnglishMessages();
  for (size_t i = 0; i < messages.size(); ++i)
    if (messages[i] == utf8Line) return static_cast<int>(i);
  return -1;
}

std::vector<int> ProblemMessages(const DemoRun& run) {
  static const int kProblems[] = {27, 28, 30, 31, 32, 34, 35, 36};
  std::vector<int> found;
  for (const std::string& w : run.Windows) {
    if (w.rfind("message: ", 0) != 0) continue;
    size_t from = 0;
    for (size_t bar; (bar = w.find(" | ", from)) != std::string::npos;) {
      size_t next = w.find(" | ", bar + 3);
      const int n = MessageNumber(w.substr(bar + 3, next == std::string::npos ? std::string::npos : next - bar - 3));
      if (std::find(std::begin(kProblems), std::end(kProblems), n) != std::end(kProblems)) found.push_back(n);
      from = bar + 3;
    }
  }
  return found;
}

void TruncateFile(const std::string& path, double keep) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (!ec) fs::resize_file(path, static_cast<uintmax_t>(static_cast<double>(size) * keep), ec);
}

void PatchByte(const std::string& path, long offset, unsigned char value) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(offset);
  f.put(static_cast<char>(value));
}

void MakeUnreadable(const std::string& path) {
  if (geteuid() != 0) {
    chmod(path.c_str(), 0);
    return;
  }
  std::error_code ec;
  fs::remove(path, ec);
  fs::create_symlink(path + ".gone", path, ec);
}

}  // namespace vemlo::test
