// Reading and writing the edited file. Reading goes through the platform layer
// (DOS paths, looked up without regard to case); writing goes to a fresh file
// beside the old one that then takes its place, so that a failed save leaves the
// old file whole, and the system's reason is reported.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "editor.h"
#include "platform/platform.h"

namespace vemlo::sim {

namespace {

bool WriteAllTo(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string Reason() { return std::strerror(errno); }

// Writes in place: for a file whose folder takes no new file, or with other names.
bool WriteInPlace(const std::string& path, const std::string& bytes, std::string& why) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    why = Reason();
    return false;
  }
  bool ok = WriteAllTo(fd, bytes);
  if (!ok) why = Reason();
  if (close(fd) != 0 && ok) {
    why = Reason();
    ok = false;
  }
  return ok;
}

// The file a path names, through symbolic links; the path itself for a new file.
std::string RealTarget(const std::string& path) {
  char buf[PATH_MAX];
  return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

bool WriteFile(const std::string& native, const std::string& bytes, std::string& why) {
  const std::string path = RealTarget(native);
  struct stat st {};
  const bool exists = stat(path.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return false;
  }
  // A new file has nothing to keep; other names of the same file, and its owner
  // when that is someone else, stay only when it is written in place.
  if (!exists || st.st_nlink > 1 || st.st_uid != geteuid()) return WriteInPlace(path, bytes, why);
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = dir + "/." + name + ".vemlo-XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EROFS || errno == EPERM) return WriteInPlace(path, bytes, why);
    why = Reason();
    return false;
  }
  bool ok = WriteAllTo(fd, bytes) && fsync(fd) == 0 && fchmod(fd, st.st_mode & 07777) == 0;
  if (!ok) why = Reason();
  if (close(fd) != 0 && ok) {
    why = Reason();
    ok = false;
  }
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    why = Reason();
    ok = false;
  }
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace

bool LoadEditorFile(EditorWindow& ed, const std::string& dosPath, std::optional<CodePage> cp) {
  platform::InFile in;
  if (!in.Open(dosPath)) return false;
  std::string bytes;
  char buf[65536];
  for (int64_t off = 0;;) {
    int64_t n = in.ReadAt(off, buf, sizeof buf);
    if (n < 0) return false;
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
    off += n;
  }
  ed.FileName = dosPath;
  bool bom = false;
  ed.Cp = cp ? *cp : DetectCodePage(bytes, CodePage::Oem866, bom);
  SetEditorText(ed, bytes);
  struct stat st {};
  ed.ReadOnly = stat(platform::ToNativePath(dosPath).c_str(), &st) == 0 &&
                (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  return true;
}

bool SaveEditorFile(EditorWindow& ed, std::string* why, const std::string& dosPath) {
  std::string reason;
  const std::string target = dosPath.empty() ? ed.FileName : dosPath;
  if (!WriteFile(platform::ToNativePath(target), EditorText(ed), reason)) {
    if (why) *why = reason;
    return false;
  }
  if (target != ed.FileName) {
    ed.FileName = target;
    ed.ReadOnly = false;
  }
  if (ed.Modified) ed.SavedChange = true;
  ed.Modified = false;
  MarkSaved(ed);
  return true;
}

}  // namespace vemlo::sim
