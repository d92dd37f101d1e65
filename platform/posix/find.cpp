// Directory search by DOS mask.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"
#include "posix_internal.h"

namespace vemlo::platform {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "*" and "?" without regard to letter case; backtracks over the last star only.
bool MatchNoCase(const std::string& name, const std::string& mask) {
  size_t t = 0, p = 0, starP = std::string::npos, starT = 0;
  while (t < name.size()) {
    if (p < mask.size() && mask[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < mask.size() && (mask[p] == '?' || UpperAscii(mask[p]) == UpperAscii(name[t]))) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < mask.size() && mask[p] == '*') ++p;
  return p == mask.size();
}

// DOS mask rules: a trailing ".*" also matches names without an extension
// ("*.*" is every name), a trailing "." matches only names without one.
bool DosMaskMatch(const std::string& name, const std::string& mask) {
  if (MatchNoCase(name, mask)) return true;
  const bool hasDot = name.find('.') != std::string::npos;
  if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0)
    return !hasDot && MatchNoCase(name, mask.substr(0, mask.size() - 2));
  if (!mask.empty() && mask.back() == '.') return !hasDot && MatchNoCase(name, mask.substr(0, mask.size() - 1));
  return false;
}

uint32_t AttributesOf(int dirFd, const std::string& name, const struct stat& st) {
  uint32_t attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else
    attr |= faArchive;
  if ((st.st_mode & 0222) == 0 || faccessat(dirFd, name.c_str(), W_OK, 0) != 0) attr |= faReadOnly;
  if (!name.empty() && name[0] == '.') attr |= faHidden;
  return attr;
}

}  // namespace

std::vector<FindEntry> FindFiles(const std::string& mask, uint32_t attr) {
  std::vector<FindEntry> found;
  size_t sep = mask.find_last_of("\\/:");
  std::string namePart = sep == std::string::npos ? mask : mask.substr(sep + 1);
  std::string dirPart = sep == std::string::npos ? std::string(".") : mask.substr(0, sep + 1);
  if (namePart.empty()) return found;
  DIR* d = nullptr;
  if (!posix::WithNative(dirPart, [&d](const std::string& native) {
        d = opendir(native.c_str());
        return d != nullptr;
      }))
    return found;
  const int dirFd = dirfd(d);
  // Hidden entries and directories are returned only when asked for, as on DOS.
  const uint32_t excluded = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || !DosMaskMatch(name, namePart)) continue;
    struct stat st;
    if (fstatat(dirFd, name.c_str(), &st, 0) != 0) continue;
    // Devices, sockets and fifos are no files to a DOS program.
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) continue;
    FindEntry entry;
    entry.Name = name;
    entry.Attr = AttributesOf(dirFd, name, st);
    if (entry.Attr & excluded) continue;
    entry.Size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    entry.Time = posix::ToDosStamp(st.st_mtime);
    found.push_back(std::move(entry));
  }
  closedir(d);
  return found;
}

}  // namespace vemlo::platform
