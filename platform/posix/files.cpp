// Files by DOS path: existence, stamps and sizes, reading by offset, text lines, output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/line_splitter.h"
#include "platform/platform.h"
#include "posix_internal.h"

namespace vemlo::platform {

namespace posix {

uint32_t ToDosStamp(time_t t) {
  struct tm tm {};
  if (!localtime_r(&t, &tm)) return (1u << 21) | (1u << 16);
  int year = tm.tm_year + 1900;
  // Outside the DOS range the stamp is clamped to its first or last second.
  if (year < 1980) return (1u << 21) | (1u << 16);
  if (year > 2107) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(tm.tm_mon + 1) << 21) |
         (static_cast<uint32_t>(tm.tm_mday) << 16) | (static_cast<uint32_t>(tm.tm_hour) << 11) |
         (static_cast<uint32_t>(tm.tm_min) << 5) | static_cast<uint32_t>(tm.tm_sec / 2);
}

std::optional<time_t> FromDosStamp(uint32_t stamp) {
  struct tm tm {};
  tm.tm_year = static_cast<int>(stamp >> 25) + 80;
  tm.tm_mon = static_cast<int>((stamp >> 21) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>((stamp >> 16) & 0x1F);
  tm.tm_hour = static_cast<int>((stamp >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((stamp >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>(stamp & 0x1F) * 2;
  if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 59)
    return std::nullopt;
  tm.tm_isdst = -1;
  time_t t = mktime(&tm);
  if (t == static_cast<time_t>(-1)) return std::nullopt;
  return t;
}

}  // namespace posix

namespace {

bool StatDos(const std::string& path, struct stat& st) {
  return posix::WithNative(path, [&](const std::string& native) { return stat(native.c_str(), &st) == 0; });
}

// Opens a regular file for reading; devices and fifos are refused so a read cannot block.
int OpenRegular(const std::string& path, time_t* modified = nullptr) {
  int fd = -1;
  if (!posix::WithNative(path, [&](const std::string& native) {
        fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        return fd >= 0;
      }))
    return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  if (modified) *modified = st.st_mtime;
  // O_NONBLOCK stays: it changes nothing for a regular file.
  return fd;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return StatDos(path, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return StatDos(path, st) && S_ISDIR(st.st_mode);
}

std::optional<uint32_t> FileStamp(const std::string& path) {
  struct stat st;
  if (!StatDos(path, st)) return std::nullopt;
  return posix::ToDosStamp(st.st_mtime);
}

std::optional<uint64_t> FileSize(const std::string& path) {
  struct stat st;
  if (!StatDos(path, st) || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool SetFileStamp(const std::string& path, uint32_t dosStamp) {
  std::optional<time_t> t = posix::FromDosStamp(dosStamp);
  if (!t) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = *t;
  times[1].tv_nsec = 0;
  return posix::WithNative(path, [&](const std::string& native) {
    return utimensat(AT_FDCWD, native.c_str(), times, 0) == 0;
  });
}

bool DeleteFile(const std::string& path) {
  return posix::WithNative(path, [](const std::string& native) {
    struct stat st;
    if (lstat(native.c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    return unlink(native.c_str()) == 0;
  });
}

bool MakeDirectory(const std::string& path) {
  std::string native = posix::ResolveNative(path);
  return !native.empty() && mkdir(native.c_str(), 0777) == 0;
}

bool RemoveEmptyDirectory(const std::string& path) {
  std::string native = posix::ResolveNative(path);
  return !native.empty() && rmdir(native.c_str()) == 0;
}

// --- InFile ---

InFile::InFile() = default;
InFile::~InFile() { Close(); }

bool InFile::Open(const std::string& path) {
  Close();
  fd_ = OpenRegular(path);
  return fd_ >= 0;
}

bool InFile::IsOpen() const { return fd_ >= 0; }

void InFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

int64_t InFile::Size() const {
  struct stat st;
  if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int64_t InFile::ReadAt(int64_t offset, void* buffer, int64_t n) {
  if (fd_ < 0 || offset < 0 || n < 0) return -1;
  if (n > INT64_MAX - offset) n = INT64_MAX - offset;  // keeps offset + n representable
  char* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < n) {
    ssize_t got = pread(fd_, out + done, static_cast<size_t>(n - done), static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

// --- TextReader ---

struct TextReader::Impl {
  int fd = -1;
  time_t modified = 0;  // as the file was opened
  LineSplitter lines;

  int64_t Read(char* buffer, size_t size) const {
    for (;;) {
      ssize_t got = read(fd, buffer, size);
      if (got < 0 && errno == EINTR) continue;
      return got;
    }
  }
};

TextReader::TextReader() : impl_(std::make_unique<Impl>()) {}
TextReader::~TextReader() { Close(); }

bool TextReader::Open(const std::string& path) {
  Close();
  impl_->fd = OpenRegular(path, &impl_->modified);
  return impl_->fd >= 0;
}

bool TextReader::IsOpen() const { return impl_->fd >= 0; }

void TextReader::Close() {
  Impl& r = *impl_;
  if (r.fd >= 0) close(r.fd);
  r.fd = -1;
  r.lines.Reset();
}

bool TextReader::ReadLine(std::string& line) {
  Impl& r = *impl_;
  if (r.fd < 0) {
    line.clear();
    return false;
  }
  return r.lines.ReadLine(line, [&r](char* b, size_t n) { return r.Read(b, n); });
}

bool TextReader::ReadLineView(std::string_view& line) {
  Impl& r = *impl_;
  if (r.fd < 0) {
    line = std::string_view();
    return false;
  }
  return r.lines.NextLine(line, [&r](char* b, size_t n) { return r.Read(b, n); });
}

std::optional<uint32_t> TextReader::Stamp() const {
  if (impl_->fd < 0) return std::nullopt;
  return posix::ToDosStamp(impl_->modified);
}

bool TextReader::Rewind() {
  Impl& r = *impl_;
  if (r.fd < 0 || lseek(r.fd, 0, SEEK_SET) != 0) return false;
  r.lines.Rewind();
  return !r.lines.Failed;
}

bool TextReader::Failed() const { return impl_->lines.Failed; }

// --- OutFile ---

OutFile::OutFile() = default;
OutFile::~OutFile() { Close(); }

bool OutFile::Create(const std::string& path) {
  Close();
  failed_ = false;
  return posix::WithNative(path, [this](const std::string& native) {
    fd_ = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd_ >= 0;
  });
}

bool OutFile::IsOpen() const { return fd_ >= 0; }

bool OutFile::Write(const std::string& bytes) {
  if (fd_ < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd_, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failed_ = true;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

bool OutFile::Close() {
  if (fd_ < 0) return !failed_;
  bool ok = close(fd_) == 0 && !failed_;
  fd_ = -1;
  failed_ = false;
  return ok;
}

}  // namespace vemlo::platform
