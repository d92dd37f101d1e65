// DOS paths over POSIX: drive mapping, full-path expansion and case-insensitive lookup.
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "posix_internal.h"

namespace vemlo::platform {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The directory a drive stands for, read from the environment at each use.
std::optional<std::string> DriveRoot(char drive) {
  drive = UpperAscii(drive);
  if (drive == 'Z') return std::string("/");
  std::string var = std::string("VEMLO_DRIVE_") + drive;
  const char* value = std::getenv(var.c_str());
  if (!value || !*value) return std::nullopt;
  return StripTrailingSlashes(value);
}

std::string CurrentNativeDir() {
  std::vector<char> buf(4096);
  for (;;) {
    if (getcwd(buf.data(), buf.size())) return buf.data();
    if (errno != ERANGE || buf.size() > (1u << 20)) return "/";
    buf.resize(buf.size() * 2);
  }
}

// Splits the part after "X:\" into components, resolving "." and ".." textually.
std::vector<std::string> NormalComponents(const std::string& rest) {
  std::vector<std::string> parts;
  size_t begin = 0;
  while (begin <= rest.size()) {
    size_t end = rest.find('\\', begin);
    if (end == std::string::npos) end = rest.size();
    std::string part = rest.substr(begin, end - begin);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    begin = end + 1;
  }
  return parts;
}

}  // namespace

namespace posix {

bool SameNameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

std::string ResolveNative(const std::string& dosPath) {
  std::string full = ExpandFileName(dosPath);
  if (full.size() < 3) return std::string();
  std::optional<std::string> root = DriveRoot(full[0]);
  if (!root) return std::string();
  std::string native = *root;
  bool exists = true;
  for (const std::string& part : NormalComponents(full.substr(3))) {
    std::optional<std::string> real;
    if (exists) real = FindInDirectory(native, part);
    exists = real.has_value();
    if (native.back() != '/') native += '/';
    native += exists ? *real : part;
  }
  return native;
}

bool IsOwnKey(std::string_view dosPath) {
  const bool absolute = (dosPath.size() >= 3 && IsDriveLetter(dosPath[0]) && dosPath[1] == ':' &&
                         dosPath[2] == '\\') ||
                        (!dosPath.empty() && dosPath[0] == '\\');
  return absolute && dosPath.find('/') == std::string_view::npos;
}

std::optional<std::string> DriveDirectory(char drive) { return DriveRoot(drive); }

bool PathKey(const std::string& dosPath, std::string& key, std::string& root) {
  // A path with its drive and root, or rooted on Z:, means the same place from
  // every current directory; others are expanded against it first.
  key = IsOwnKey(dosPath) ? dosPath : ExpandFileName(dosPath);
  if (key.size() < 3) return false;
  std::optional<std::string> drive = DriveRoot(key[0] == '\\' ? 'Z' : key[0]);
  if (!drive) return false;
  root = std::move(*drive);
  return true;
}

}  // namespace posix

std::string ExpandFileName(const std::string& path) {
  if (path.empty()) return std::string();
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  std::string drive;
  std::string rest;
  if (p.size() >= 2 && p[1] == ':' && IsDriveLetter(p[0])) {
    drive = p.substr(0, 2);
    rest = p.substr(2);
    if (rest.empty() || rest[0] != '\\') {
      // Drive-relative: against the current directory when it is on that drive.
      std::string cwd = ToDosPath(CurrentNativeDir());
      if (UpperAscii(cwd[0]) == UpperAscii(drive[0]))
        rest = cwd.substr(2) + '\\' + rest;
      else
        rest = '\\' + rest;
    }
  } else if (p[0] == '\\') {
    drive = "Z:";
    rest = p;
  } else {
    std::string cwd = ToDosPath(CurrentNativeDir());
    drive = cwd.substr(0, 2);
    rest = cwd.substr(2) + '\\' + p;
  }
  const bool trailing = rest.back() == '\\';
  std::string result = drive;
  for (const std::string& part : NormalComponents(rest)) result += '\\' + part;
  if (result.size() == 2 || trailing) result += '\\';
  return result;
}

std::string ToNativePath(const std::string& dosPath) { return posix::ResolveNative(dosPath); }

std::string ToDosPath(const std::string& nativePath) {
  std::string native = nativePath.empty() || nativePath[0] != '/' ? CurrentNativeDir() + '/' + nativePath
                                                                   : nativePath;
  // Normalise textually, then express on the longest mapped drive.
  std::vector<std::string> parts;
  size_t begin = 0;
  while (begin <= native.size()) {
    size_t end = native.find('/', begin);
    if (end == std::string::npos) end = native.size();
    std::string part = native.substr(begin, end - begin);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    begin = end + 1;
  }
  std::string clean;
  for (const std::string& part : parts) clean += '/' + part;
  if (clean.empty()) clean.push_back('/');

  char bestDrive = 'Z';
  size_t bestLength = 0;
  for (char d = 'A'; d < 'Z'; ++d) {
    std::optional<std::string> root = DriveRoot(d);
    if (!root || root->empty() || (*root)[0] != '/' || *root == "/") continue;
    const std::string& r = *root;
    bool under = clean == r || (clean.size() > r.size() && clean.compare(0, r.size(), r) == 0 && clean[r.size()] == '/');
    if (under && r.size() > bestLength) {
      bestDrive = d;
      bestLength = r.size();
    }
  }
  std::string rest = bestDrive == 'Z' ? clean : clean.substr(bestLength);
  std::string dos = std::string(1, bestDrive) + ':';
  for (char c : rest) dos += c == '/' ? '\\' : c;
  if (dos.size() == 2) dos += '\\';
  return dos;
}

std::string ShortPathName(const std::string& path) { return path; }

}  // namespace vemlo::platform
