// Shared pieces of the POSIX platform: DOS path resolution and DOS time stamps.
#pragma once

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace vemlo::platform::posix {

// The native path of a DOS path, every existing component matched without
// regard to letter case; "" when the drive is not mapped.
std::string ResolveNative(const std::string& dosPath);

// The real name of `name` in the native directory `dir`: that spelling when it
// exists, else the first name in directory order that equals it without regard
// to letter case; nullopt when there is none. Directory names are kept between
// calls and read again when the directory's modification time changes.
std::optional<std::string> FindInDirectory(const std::string& dir, const std::string& name);

// The native places of DOS paths found before, by a key that names the path
// independently of the current directory, and the drive's directory then.
bool PathKey(const std::string& dosPath, std::string& key, std::string& root);
// A path that is its own key (with its drive and root, or rooted on Z:).
bool IsOwnKey(std::string_view dosPath);
// The native directory a drive stands for; nullopt when it is not mapped.
std::optional<std::string> DriveDirectory(char drive);
std::optional<std::string> KnownNative(const std::string& key, const std::string& root);
// Remembers the path and its folder.
void RememberNative(const std::string& key, const std::string& root, const std::string& native);
void ForgetNative(const std::string& key);
// The place of a path whose folder is known: the name looked up in that folder
// only; "" when the folder is not known.
std::string ResolveInKnownFolder(const std::string& key, const std::string& root);

// Runs op(nativePath) on the place the DOS path was found at before; when the
// path is new, or op fails there because nothing is there any more (ENOENT,
// ENOTDIR), on the place resolved afresh (in its folder's known place first,
// then component by component), which is then remembered when op succeeds. op
// returns true on success and leaves errno set on failure. A known file costs
// op's own system call and nothing more; a new file in a known folder one more.
template <typename Op>
bool WithNative(const std::string& dosPath, Op&& op) {
  std::string key, root;
  if (!PathKey(dosPath, key, root)) {
    errno = ENOENT;
    return false;
  }
  if (std::optional<std::string> known = KnownNative(key, root)) {
    if (op(*known)) return true;
    if (errno != ENOENT && errno != ENOTDIR) return false;
    ForgetNative(key);
  }
  const std::string near = ResolveInKnownFolder(key, root);
  if (!near.empty()) {
    if (op(near)) {
      RememberNative(key, root, near);
      return true;
    }
    if (errno != ENOENT && errno != ENOTDIR) return false;
  }
  const std::string native = ResolveNative(key);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  if (!op(native)) return false;
  RememberNative(key, root, native);
  return true;
}

// ASCII case-insensitive equality of file names.
bool SameNameNoCase(const std::string& a, const std::string& b);

uint32_t ToDosStamp(time_t t);
std::optional<time_t> FromDosStamp(uint32_t stamp);

}  // namespace vemlo::platform::posix
