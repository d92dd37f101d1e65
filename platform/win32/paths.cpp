// Full paths and short names: Windows paths already are DOS paths.
#include <vector>

#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

std::string ExpandFileName(const std::string& path) {
  if (path.empty()) return std::string();
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return path;
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);  // n is the size needed, the NUL included
  }
  return path;
}

std::string ToNativePath(const std::string& dosPath) { return dosPath; }

std::string ToDosPath(const std::string& nativePath) {
  std::string dos = nativePath;
  for (char& c : dos)
    if (c == '/') c = '\\';
  return dos;
}

std::string ShortPathName(const std::string& path) {
  if (path.empty()) return path;
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return path;  // no such file, or no short names on this volume
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
  return path;
}

}  // namespace vemlo::platform
