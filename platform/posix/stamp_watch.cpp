// The stamps of many files at once, with the kernel's change notices on their
// folders: a file stamped before, in a folder that reported nothing about its
// name since, keeps its stamp without a system call. Folders on file systems
// that may change behind the kernel's back (network and user-space file
// systems) are not watched, and their files are always asked afresh.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "platform/platform.h"
#include "posix_internal.h"

namespace vemlo::platform {

namespace {

constexpr uint32_t kWatchMask = IN_ATTRIB | IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                                IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                IN_ONLYDIR;
constexpr size_t kMaxStamps = 1 << 16;
constexpr size_t kMaxNameEvents = 4096;
constexpr size_t kMaxFolders = 4096;

// File systems whose every change passes through this kernel.
bool LocalFileSystem(const std::string& dir) {
  struct statfs fs;
  if (statfs(dir.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // xfs
    case 0x9123683E:  // btrfs
    case 0x01021994:  // tmpfs
    case 0x858458F6:  // ramfs
    case 0x794C7630:  // overlayfs
    case 0xF2F52010:  // f2fs
    case 0x2FC12FC1:  // zfs
    case 0xCA451A4E:  // bcachefs
    case 0x3153464A:  // jfs
    case 0x52654973:  // reiserfs
      return true;
    default:
      return false;
  }
}

std::string UpperName(std::string_view name) {
  std::string up(name);
  for (char& c : up)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return up;
}

// Paths looked up as views, without a string made for each.
struct KeyHash {
  using is_transparent = void;
  size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};

// One folder looked at. Events are numbered by one counter; a stamp taken
// after event n is good while no later event names its file or the whole folder.
struct Folder {
  std::string Native;
  int Wd = -1;               // -1: not watched (any more)
  bool Unwatchable = false;  // changes here may go unnoticed: never trusted
  dev_t Dev = 0;
  ino_t Ino = 0;
  uint64_t AllEvent = 0;  // the last event that concerns every file of the folder
  std::unordered_map<std::string, uint64_t> NameEvent;  // upper-case name -> last event
  uint64_t CheckedIn = 0;  // the batch that last made sure the path still leads here
};

struct Stamped {
  std::string Root;  // the drive's directory then
  std::string UpperName;
  std::shared_ptr<Folder> In;
  std::optional<uint32_t> Stamp;
  uint64_t After = 0;  // events before this one were seen before the stamp was taken
};

struct Watch {
  std::mutex Lock;
  int Fd = -2;  // -2: not tried yet, -1: no change notices here
  uint64_t Events = 0;
  uint64_t Batches = 0;
  std::map<std::string, std::shared_ptr<Folder>> Folders;  // by native path
  std::unordered_map<int, std::shared_ptr<Folder>> ByWd;
  std::unordered_map<std::string, Stamped, KeyHash, std::equal_to<>> Stamps;  // by path key

  // The folder's files are to be asked afresh; its watch ends when it has it.
  void Drop(Folder& f, bool removeWatch) {
    auto it = ByWd.find(f.Wd);
    if (it != ByWd.end() && it->second.get() == &f) {
      if (removeWatch) inotify_rm_watch(Fd, f.Wd);
      ByWd.erase(it);
    }
    f.Wd = -1;
    f.AllEvent = ++Events;
  }

  void Reset() {
    for (auto& [wd, f] : ByWd) {
      inotify_rm_watch(Fd, wd);
      f->Wd = -1;
    }
    ByWd.clear();
    Folders.clear();
    Stamps.clear();
  }

  // Reads the notices that came in since the last batch.
  void Drain() {
    alignas(struct inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = read(Fd, buffer, sizeof buffer);
      if (got <= 0) return;  // EAGAIN: nothing more
      for (ssize_t at = 0; at + ssize_t(sizeof(struct inotify_event)) <= got;) {
        const auto* e = reinterpret_cast<const struct inotify_event*>(buffer + at);
        at += ssize_t(sizeof(struct inotify_event) + e->len);
        if (e->mask & IN_Q_OVERFLOW) {
          // Notices were lost: nothing known stays known.
          for (auto& [wd, f] : ByWd) f->AllEvent = ++Events;
          continue;
        }
        auto it = ByWd.find(e->wd);
        if (it == ByWd.end()) continue;
        Folder& f = *it->second;
        if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT)) {
          Drop(f, !(e->mask & IN_IGNORED));
        } else if (e->len > 0) {
          if (f.NameEvent.size() >= kMaxNameEvents) {
            f.NameEvent.clear();
            f.AllEvent = ++Events;
          }
          f.NameEvent[UpperName(std::string_view(e->name))] = ++Events;
        }
      }
    }
  }

  // The folder of a native directory, watched from now on; null where its
  // changes cannot be relied on to be noticed.
  std::shared_ptr<Folder> FolderOf(const std::string& dir) {
    if (Fd == -2) Fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (Fd < 0) return nullptr;
    std::shared_ptr<Folder>& slot = Folders[dir];
    if (!slot) slot = std::make_shared<Folder>();
    Folder& f = *slot;
    if (f.Unwatchable) return nullptr;
    if (f.Wd >= 0) return slot;
    if (!LocalFileSystem(dir)) {
      f.Unwatchable = true;
      return nullptr;
    }
    const int wd = inotify_add_watch(Fd, dir.c_str(), kWatchMask);
    if (wd < 0) {
      f.Unwatchable = true;  // out of watches, or not a folder to watch
      return nullptr;
    }
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) return nullptr;
    // The same folder was watched under another path, which no longer leads here.
    auto other = ByWd.find(wd);
    if (other != ByWd.end() && other->second != slot) Drop(*other->second, false);
    f.Native = dir;
    f.Wd = wd;
    f.Dev = st.st_dev;
    f.Ino = st.st_ino;
    f.AllEvent = Events;
    f.NameEvent.clear();
    f.CheckedIn = Batches;
    ByWd[wd] = slot;
    return slot;
  }

  // Still the folder that was watched at its path (checked once per batch): a
  // folder above it renamed or replaced takes the watch away from the path.
  bool StillThere(Folder& f) {
    if (f.Wd < 0) return false;
    if (f.CheckedIn == Batches) return true;
    struct stat st;
    if (stat(f.Native.c_str(), &st) != 0 || st.st_dev != f.Dev || st.st_ino != f.Ino) {
      Drop(f, true);
      return false;
    }
    f.CheckedIn = Batches;
    return true;
  }

  bool StillGood(const Stamped& s, const std::string& root) {
    if (!s.In || s.Root != root || !StillThere(*s.In)) return false;
    const Folder& f = *s.In;
    if (f.AllEvent >= s.After) return false;
    if (f.NameEvent.empty()) return true;
    auto it = f.NameEvent.find(s.UpperName);
    return it == f.NameEvent.end() || it->second < s.After;
  }
};

Watch& TheWatch() {
  static Watch watch;
  return watch;
}

std::optional<uint32_t> StampOf(const std::string& native) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return std::nullopt;
  return posix::ToDosStamp(st.st_mtime);
}

}  // namespace

std::vector<std::optional<uint32_t>> FileStamps(const std::vector<std::string_view>& paths) {
  std::vector<std::optional<uint32_t>> stamps(paths.size());
  Watch& w = TheWatch();
  std::lock_guard<std::mutex> hold(w.Lock);
  ++w.Batches;
  if (w.Fd >= 0) w.Drain();
  if (w.Stamps.size() + paths.size() > kMaxStamps || w.Folders.size() > kMaxFolders) w.Reset();
  // The drives' directories, read once for the batch.
  std::optional<std::string> roots[26];
  bool rootRead[26] = {};
  std::string expanded, root;
  for (size_t i = 0; i < paths.size(); ++i) {
    std::string_view key = paths[i];
    if (!posix::IsOwnKey(key)) {
      if (!posix::PathKey(std::string(key), expanded, root)) continue;
      key = expanded;
    }
    const int drive = key[0] == '\\' ? 'Z' - 'A' : (key[0] | 0x20) - 'a';
    if (!rootRead[drive]) {
      roots[drive] = posix::DriveDirectory(char('A' + drive));
      rootRead[drive] = true;
    }
    if (!roots[drive]) continue;
    auto known = w.Stamps.find(key);
    if (known != w.Stamps.end() && w.StillGood(known->second, *roots[drive])) {
      stamps[i] = known->second.Stamp;
      continue;
    }
    // Found afresh; its folder is watched before the stamp is taken, so that
    // a change made after that is noticed.
    const std::string owned(key);
    std::string native;
    if (!posix::WithNative(owned, [&](const std::string& n) {
          struct stat st;
          if (stat(n.c_str(), &st) != 0) return false;
          native = n;
          return true;
        })) {
      if (known != w.Stamps.end()) w.Stamps.erase(known);
      continue;
    }
    const size_t slash = native.rfind('/');
    Stamped s;
    s.Root = *roots[drive];
    s.UpperName = UpperName(std::string_view(native).substr(slash + 1));
    s.In = w.FolderOf(slash == 0 ? std::string("/") : native.substr(0, slash));
    s.After = w.Events + 1;
    s.Stamp = StampOf(native);
    stamps[i] = s.Stamp;
    if (s.In && s.Stamp) {
      w.Stamps[owned] = std::move(s);
    } else {
      w.Stamps.erase(owned);
    }
  }
  return stamps;
}

}  // namespace vemlo::platform
