#include "source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo::cli {

namespace {

std::string SystemError() { return std::strerror(errno); }

// A new file beside the target; removed unless it was renamed over the target.
class ReplacementFile {
 public:
  explicit ReplacementFile(const std::string& target) : name_(target + ".vemlo-XXXXXX") {
    fd_ = mkstemp(name_.data());
    created_ = fd_ >= 0;
  }
  ~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !renamed_) std::remove(name_.c_str());
  }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Valid() const { return fd_ >= 0; }
  bool Write(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }
  bool SetMode(mode_t mode) { return ::fchmod(fd_, mode) == 0; }
  bool CommitAs(const std::string& target) {
    if (::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (std::rename(name_.c_str(), target.c_str()) != 0) return false;
    renamed_ = true;
    return true;
  }

 private:
  std::string name_;
  int fd_ = -1;
  bool created_ = false;
  bool renamed_ = false;
};

}  // namespace

std::string ModelPath(const std::string& native) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(native, ec);
  return UpperCase(platform::ToDosPath(ec ? native : absolute.lexically_normal().string()));
}

bool ReadSourceFile(const std::string& path, SourceFile& file, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = path + ": is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read: " + SystemError();
    return false;
  }
  std::stringstream s;
  s << in.rdbuf();
  if (in.bad()) {
    error = path + ": a read failed";
    return false;
  }
  const std::string bytes = s.str();
  file = SourceFile{};
  file.Native = path;
  file.Dos = ModelPath(path);
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t nl = bytes.find('\n', start);
    if (nl == std::string::npos) {
      file.Lines.push_back(bytes.substr(start));
      file.Ends.emplace_back();
      break;
    }
    const bool cr = nl > start && bytes[nl - 1] == '\r';
    file.Lines.push_back(bytes.substr(start, nl - start - (cr ? 1 : 0)));
    file.Ends.emplace_back(cr ? "\r\n" : "\n");
    start = nl + 1;
  }
  return true;
}

std::string JoinLines(const SourceFile& file) {
  std::string out;
  for (size_t i = 0; i < file.Lines.size(); ++i) out += file.Lines[i] + file.Ends[i];
  return out;
}

TxxEditedText EditedText(const SourceFile& file) {
  TxxEditedText text;
  text.FileName = file.Dos;
  text.LineCount = static_cast<int>(file.Lines.size());
  text.Read = [&file](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(file.Lines.size())) return false;
    line = file.Lines[static_cast<size_t>(n)];
    return true;
  };
  return text;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    error = path + ": " + SystemError();
    return false;
  }
  ReplacementFile out(path);
  if (!out.Valid()) {
    error = path + ": no new file can be made beside it: " + SystemError();
    return false;
  }
  if (!out.Write(bytes) || !out.SetMode(st.st_mode & 07777) || !out.CommitAs(path)) {
    error = path + ": cannot be written: " + SystemError();
    return false;
  }
  return true;
}

}  // namespace vemlo::cli
