#include "temp_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/platform.h"

namespace vemlo::test {

namespace fs = std::filesystem;

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "vemlo-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  Root = pattern;
}

TempTree::~TempTree() {
  std::error_code ec;
  fs::remove_all(Root, ec);
}

std::string TempTree::Native(const std::string& rel) const { return rel.empty() ? Root : Root + "/" + rel; }

std::string TempTree::Dos(const std::string& rel) const { return platform::ToDosPath(Native(rel)); }

void TempTree::Write(const std::string& rel, const std::string& bytes) const {
  fs::path path = Native(rel);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string TempTree::Read(const std::string& rel) const {
  std::ifstream in(Native(rel), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TempTree::Exists(const std::string& rel) const {
  std::error_code ec;
  return fs::exists(Native(rel), ec);
}

int CountFiles(const std::string& nativeDir) {
  std::error_code ec;
  int count = 0;
  for (fs::recursive_directory_iterator it(nativeDir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) ++count;
  return count;
}

}  // namespace vemlo::test
