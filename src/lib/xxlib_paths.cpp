// xxlib: DOS path routines (resolution against a base, lists, display, search).
#include <set>

#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

bool IsAbsoluteDosPath(const std::string& path) {
  return (!path.empty() && path[0] == '\\') || (path.size() >= 2 && path[1] == ':');
}

size_t NameStart(const std::string& path) {
  size_t sep = path.find_last_of("\\:");
  return sep == std::string::npos ? 0 : sep + 1;
}

}  // namespace

std::string ExtractFilePath(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string ExtractFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtractFileExt(const std::string& path) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < NameStart(path)) return std::string();
  return path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < NameStart(path)) return path + ext;
  return path.substr(0, dot) + ext;
}

std::string IncludeTrailingBackslash(const std::string& dir) {
  if (!dir.empty() && dir.back() == '\\') return dir;
  return dir + '\\';
}

std::string ResolvePath(const std::string& baseDir, const std::string& path) {
  std::string result = Trim(path);
  if (result.empty() || IsBlank(baseDir)) return result;
  if (IsAbsoluteDosPath(result)) return result;
  const bool trailing = result.back() == '\\';
  if (result.compare(0, 2, ".\\") == 0) result.erase(0, 2);
  result = platform::ExpandFileName(IncludeTrailingBackslash(baseDir) + result);
  if (trailing && (result.empty() || result.back() != '\\')) result += '\\';
  return result;
}

std::string ResolvePathList(const std::string& baseDir, const std::string& list, bool dropDuplicates) {
  std::string items = Trim(list);
  if (items.empty() || IsBlank(baseDir)) return items;
  items += ';';
  std::string result;
  std::set<std::string> taken;
  size_t begin = 0;
  for (size_t end; (end = items.find(';', begin)) != std::string::npos; begin = end + 1) {
    std::string item = Trim(items.substr(begin, end - begin));
    if (item.empty()) continue;
    item = ResolvePath(baseDir, item);
    if (dropDuplicates && !taken.insert(UpperCase(item)).second) continue;
    result += item;
    result += ';';
  }
  return result;
}

std::string ShortenPath(const std::string& path, int width) {
  std::string p = Trim(path);
  if (static_cast<long long>(p.size()) <= width) return p;
  if (width <= 0) return std::string();
  const size_t w = static_cast<size_t>(width);
  if (p.size() >= 2 && p[1] == ':' && width > 7) return p.substr(0, 3) + "..." + p.substr(p.size() - (w - 6));
  if (width <= 3) return std::string("...").substr(3 - w);
  return "..." + p.substr(p.size() - (w - 3));
}

std::string FirstExistingFile(const std::string& masks) {
  std::string items = Trim(masks);
  if (items.empty() || items.back() != ';') items += ';';
  size_t begin = 0;
  for (size_t end; (end = items.find(';', begin)) != std::string::npos; begin = end + 1) {
    std::string mask = Trim(items.substr(begin, end - begin));
    if (mask.empty()) continue;
    std::vector<platform::FindEntry> found = platform::FindFiles(mask, platform::faAnyFile);
    if (!found.empty()) return platform::ExpandFileName(ExtractFilePath(mask) + found.front().Name);
  }
  return std::string();
}

}  // namespace vemlo
