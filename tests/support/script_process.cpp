#include "script_process.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vemlo::test {

ProcessResult RunCommand(const std::string& command) {
  ProcessResult r;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.Output.append(buf, n);
  int status = pclose(p);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool HasSanitizerReport(const std::string& output) {
  for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                           "Segmentation fault", "terminate called"})
    if (output.find(mark) != std::string::npos) return true;
  return false;
}

TreeSnapshot SnapshotTree(const std::string& nativeDir) {
  TreeSnapshot snap;
  std::error_code ec;
  if (!fs::exists(nativeDir, ec)) return snap;
  for (auto it = fs::recursive_directory_iterator(nativeDir, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string rel = fs::relative(it->path(), nativeDir).string();
    struct stat st;
    if (lstat(it->path().c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      snap[rel] = "link:" + fs::read_symlink(it->path(), ec).string();
    } else if (S_ISDIR(st.st_mode)) {
      snap[rel] = "dir:" + std::to_string(st.st_mode & 07777);
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      snap[rel] = "file:" + std::to_string(st.st_mode & 07777) + ":" + s.str();
    }
  }
  return snap;
}

std::vector<std::string> TreeDifferences(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::vector<std::string> diffs;
  for (const auto& [path, content] : before) {
    auto it = after.find(path);
    if (it == after.end()) diffs.push_back("removed " + path);
    else if (it->second != content) diffs.push_back("changed " + path);
  }
  for (const auto& [path, content] : after)
    if (!before.count(path)) diffs.push_back("added " + path);
  return diffs;
}

void CopyTree(const std::string& from, const std::string& to) {
  fs::create_directories(to);
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                         fs::copy_options::overwrite_existing);
}

}  // namespace vemlo::test
