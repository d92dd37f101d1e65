// Runs the script runner (vemlo-edit --script) as a child process, and takes
// byte-exact snapshots of file trees, for tests that replay whole sessions.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vemlo::test {

struct ProcessResult {
  int Status = -1;     // exit status; -1 when the process died of a signal
  std::string Output;  // standard output and standard error together
};

// Runs a shell command line and collects what it prints.
ProcessResult RunCommand(const std::string& command);
// The text quoted for the shell.
std::string ShellQuote(const std::string& s);
// Whether a run's output holds a sanitizer or crash report.
bool HasSanitizerReport(const std::string& output);

// The files of a native folder and its subfolders: relative path -> contents
// (a symbolic link -> "link:" + its target, a folder -> "dir:" + its mode).
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot SnapshotTree(const std::string& nativeDir);
// The paths whose entries differ between two snapshots (added, removed, changed).
std::vector<std::string> TreeDifferences(const TreeSnapshot& before, const TreeSnapshot& after);

// Copies a native folder into another, recursively, keeping symbolic links.
void CopyTree(const std::string& from, const std::string& to);

}  // namespace vemlo::test
