// Directory search by DOS mask, through the system's own search (which knows
// the DOS wildcard rules and short names).
#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

std::vector<FindEntry> FindFiles(const std::string& mask, uint32_t attr) {
  std::vector<FindEntry> found;
  if (mask.empty()) return found;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(mask.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return found;
  // Hidden, system and volume entries and directories only when asked for, as on DOS.
  const uint32_t excluded = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const uint32_t a = data.dwFileAttributes & faAnyFile;
    if (a & excluded) continue;
    FindEntry entry;
    entry.Name = name;
    entry.Attr = a;
    entry.Size = (a & faDirectory) ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.Time = win32::ToDosStamp(data.ftLastWriteTime);
    found.push_back(std::move(entry));
  } while (FindNextFileA(h, &data));
  FindClose(h);
  return found;
}

}  // namespace vemlo::platform
