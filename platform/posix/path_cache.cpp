// What DOS path resolution remembers between calls: the names of each directory
// looked into (to match letter case without reading the directory again), and
// the native place each DOS path was found at (so that using a known file again
// is one system call).
#include <dirent.h>
#include <sys/stat.h>

#include <ctime>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "posix_internal.h"

namespace vemlo::platform::posix {

namespace {

// Directory times come from a clock that ticks in steps (a few milliseconds, or
// whole seconds on some file systems): a change made in the same step as our
// reading would leave the time as it was. A directory read within this much of
// its last change is therefore not trusted to be complete.
constexpr int64_t kFineStepNs = 100'000'000;
constexpr int64_t kCoarseStepNs = 2'500'000'000;
constexpr size_t kMaxDirectories = 4096;
constexpr size_t kMaxKnownPaths = 1 << 16;

int64_t Ns(const struct timespec& t) { return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

std::string UpperName(const std::string& name) {
  std::string up = name;
  for (char& c : up)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return up;
}

struct DirNames {
  dev_t Dev = 0;
  ino_t Ino = 0;
  struct timespec MTime {};
  bool Settled = false;  // read long enough after its last change
  std::unordered_set<std::string> Names;
  std::unordered_map<std::string, std::string> FirstByUpper;  // upper case -> first in directory order

  bool SameAs(const struct stat& st) const {
    return st.st_dev == Dev && st.st_ino == Ino && st.st_mtim.tv_sec == MTime.tv_sec &&
           st.st_mtim.tv_nsec == MTime.tv_nsec;
  }
};

struct KnownPath {
  std::string Root;  // the drive's directory when the path was found
  std::string Native;
};

struct Cache {
  std::mutex Lock;
  std::unordered_map<std::string, DirNames> Dirs;
  std::unordered_map<std::string, KnownPath> Known;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

// Reads the directory whose stat is `st`; false when it cannot be listed.
bool ReadNames(const std::string& dir, const struct stat& st, DirNames& names) {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  DIR* d = opendir(dir.c_str());
  if (!d) return false;
  names = DirNames{};
  names.Dev = st.st_dev;
  names.Ino = st.st_ino;
  names.MTime = st.st_mtim;
  const int64_t step = st.st_mtim.tv_nsec == 0 ? kCoarseStepNs : kFineStepNs;
  names.Settled = Ns(now) - Ns(st.st_mtim) > step;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    names.FirstByUpper.try_emplace(UpperName(name), name);
    names.Names.insert(std::move(name));
  }
  closedir(d);
  return true;
}

enum class Match { None, Exact, OtherCase };

Match Find(const DirNames& names, const std::string& name, std::string& real) {
  if (names.Names.count(name)) {
    real = name;
    return Match::Exact;
  }
  auto it = names.FirstByUpper.find(UpperName(name));
  if (it == names.FirstByUpper.end()) return Match::None;
  real = it->second;
  return Match::OtherCase;
}

}  // namespace

std::optional<std::string> FindInDirectory(const std::string& dir, const std::string& name) {
  struct stat st;
  if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> hold(cache.Lock);
  if (cache.Dirs.size() >= kMaxDirectories && !cache.Dirs.count(dir)) cache.Dirs.clear();
  DirNames& names = cache.Dirs[dir];
  bool fresh = false;
  if (!names.SameAs(st)) {
    if (!ReadNames(dir, st, names)) {
      // A directory that may be passed through but not listed: exact names only.
      cache.Dirs.erase(dir);
      struct stat entry;
      if (lstat((dir + (dir.back() == '/' ? "" : "/") + name).c_str(), &entry) == 0) return name;
      return std::nullopt;
    }
    fresh = true;
  }
  std::string real;
  Match m = Find(names, name, real);
  // A directory read too soon after a change may lack a name made since, also
  // one spelled exactly as asked: read it again rather than miss it.
  if (m != Match::Exact && !names.Settled && !fresh && ReadNames(dir, st, names)) m = Find(names, name, real);
  if (m == Match::None) return std::nullopt;
  return real;
}

std::optional<std::string> KnownNative(const std::string& key, const std::string& root) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> hold(cache.Lock);
  auto it = cache.Known.find(key);
  if (it == cache.Known.end() || it->second.Root != root) return std::nullopt;
  return it->second.Native;
}

void RememberNative(const std::string& key, const std::string& root, const std::string& native) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> hold(cache.Lock);
  if (cache.Known.size() + 2 > kMaxKnownPaths) cache.Known.clear();
  cache.Known[key] = KnownPath{root, native};
  // The folder, by the key a path inside it has up to its last "\".
  const size_t cut = key.rfind('\\');
  const size_t slash = native.rfind('/');
  if (cut == std::string::npos || cut + 1 == key.size() || slash == std::string::npos) return;
  const std::string name = key.substr(cut + 1);
  if (name == "." || name == "..") return;
  cache.Known[key.substr(0, cut + 1)] = KnownPath{root, slash == 0 ? std::string("/") : native.substr(0, slash)};
}

std::string ResolveInKnownFolder(const std::string& key, const std::string& root) {
  const size_t cut = key.rfind('\\');
  if (cut == std::string::npos || cut + 1 == key.size()) return std::string();
  const std::string name = key.substr(cut + 1);
  if (name == "." || name == "..") return std::string();
  const std::optional<std::string> folder = KnownNative(key.substr(0, cut + 1), root);
  if (!folder) return std::string();
  const std::optional<std::string> real = FindInDirectory(*folder, name);
  return *folder + (folder->back() == '/' ? "" : "/") + (real ? *real : name);
}

void ForgetNative(const std::string& key) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> hold(cache.Lock);
  cache.Known.erase(key);
}

}  // namespace vemlo::platform::posix
