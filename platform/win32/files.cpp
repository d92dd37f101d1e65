// Files by OEM path (the host switches the file functions to OEM names):
// existence, stamps and sizes, reading by offset, text lines, output.
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <vector>

#include "platform/line_splitter.h"
#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

namespace win32 {

uint32_t ToDosStamp(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  // Outside the DOS range (before 1980 or after 2107) the stamp is the first second.
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return (1u << 21) | (1u << 16);
  return (static_cast<uint32_t>(date) << 16) | time;
}

std::optional<FILETIME> FromDosStamp(uint32_t stamp) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(static_cast<WORD>(stamp >> 16), static_cast<WORD>(stamp & 0xFFFF), &local))
    return std::nullopt;
  if (!LocalFileTimeToFileTime(&local, &utc)) return std::nullopt;
  return utc;
}

}  // namespace win32

namespace {

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
}

bool IsDir(const WIN32_FILE_ATTRIBUTE_DATA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Opens a disk file for reading, others allowed to read, write and delete it;
// devices and pipes are refused so that a read cannot block.
HANDLE OpenForReading(const std::string& path) {
  if (path.empty()) return INVALID_HANDLE_VALUE;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

// The C runtime's descriptor owning the handle (the records keep an int);
// -1, with the handle closed, when it cannot be had.
int Descriptor(HANDLE h, int flags) {
  if (h == INVALID_HANDLE_VALUE) return -1;
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
  if (fd < 0) CloseHandle(h);
  return fd;
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// Reads at most n bytes at offset; the count read, -1 on an error.
int64_t ReadAtHandle(HANDLE h, int64_t offset, char* out, int64_t n) {
  int64_t done = 0;
  while (done < n) {
    const int64_t want = n - done < (1 << 30) ? n - done : (1 << 30);
    OVERLAPPED at{};
    const uint64_t pos = static_cast<uint64_t>(offset + done);
    at.Offset = static_cast<DWORD>(pos & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(pos >> 32);
    DWORD got = 0;
    if (!ReadFile(h, out + done, static_cast<DWORD>(want), &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace

bool FileExists(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(path, data) && !IsDir(data);
}

bool DirectoryExists(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(path, data) && IsDir(data);
}

std::optional<uint32_t> FileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(path, data)) return std::nullopt;
  return win32::ToDosStamp(data.ftLastWriteTime);
}

std::optional<uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(path, data) || IsDir(data)) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::optional<uint32_t>> FileStamps(const std::vector<std::string_view>& paths) {
  std::vector<std::optional<uint32_t>> stamps;
  stamps.reserve(paths.size());
  for (std::string_view path : paths) stamps.push_back(FileStamp(std::string(path)));
  return stamps;
}

bool SetFileStamp(const std::string& path, uint32_t dosStamp) {
  std::optional<FILETIME> t = win32::FromDosStamp(dosStamp);
  if (!t || path.empty()) return false;
  win32::Handle h(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return h.Valid() && SetFileTime(h.H, nullptr, nullptr, &*t);
}

bool DeleteFile(const std::string& path) { return !path.empty() && DeleteFileA(path.c_str()); }

bool MakeDirectory(const std::string& path) { return !path.empty() && CreateDirectoryA(path.c_str(), nullptr); }

bool RemoveEmptyDirectory(const std::string& path) { return !path.empty() && RemoveDirectoryA(path.c_str()); }

// --- InFile ---

InFile::InFile() = default;
InFile::~InFile() { Close(); }

bool InFile::Open(const std::string& path) {
  Close();
  fd_ = Descriptor(OpenForReading(path), _O_RDONLY | _O_BINARY);
  return fd_ >= 0;
}

bool InFile::IsOpen() const { return fd_ >= 0; }

void InFile::Close() {
  if (fd_ >= 0) _close(fd_);
  fd_ = -1;
}

int64_t InFile::Size() const {
  LARGE_INTEGER size;
  if (fd_ < 0 || !GetFileSizeEx(HandleOf(fd_), &size)) return -1;
  return size.QuadPart;
}

int64_t InFile::ReadAt(int64_t offset, void* buffer, int64_t n) {
  if (fd_ < 0 || offset < 0 || n < 0) return -1;
  if (n > INT64_MAX - offset) n = INT64_MAX - offset;  // keeps offset + n representable
  return ReadAtHandle(HandleOf(fd_), offset, static_cast<char*>(buffer), n);
}

// --- TextReader ---

struct TextReader::Impl {
  HANDLE h = INVALID_HANDLE_VALUE;
  int64_t filePos = 0;
  LineSplitter lines;

  int64_t Read(char* buffer, size_t size) {
    int64_t got = ReadAtHandle(h, filePos, buffer, static_cast<int64_t>(size));
    if (got > 0) filePos += got;
    return got;
  }
};

TextReader::TextReader() : impl_(std::make_unique<Impl>()) {}
TextReader::~TextReader() { Close(); }

bool TextReader::Open(const std::string& path) {
  Close();
  impl_->h = OpenForReading(path);
  return impl_->h != INVALID_HANDLE_VALUE;
}

bool TextReader::IsOpen() const { return impl_->h != INVALID_HANDLE_VALUE; }

void TextReader::Close() {
  Impl& r = *impl_;
  if (r.h != INVALID_HANDLE_VALUE) CloseHandle(r.h);
  r.h = INVALID_HANDLE_VALUE;
  r.filePos = 0;
  r.lines.Reset();
}

bool TextReader::ReadLine(std::string& line) {
  Impl& r = *impl_;
  if (r.h == INVALID_HANDLE_VALUE) {
    line.clear();
    return false;
  }
  return r.lines.ReadLine(line, [&r](char* b, size_t n) { return r.Read(b, n); });
}

bool TextReader::ReadLineView(std::string_view& line) {
  Impl& r = *impl_;
  if (r.h == INVALID_HANDLE_VALUE) {
    line = std::string_view();
    return false;
  }
  return r.lines.NextLine(line, [&r](char* b, size_t n) { return r.Read(b, n); });
}

std::optional<uint32_t> TextReader::Stamp() const {
  FILETIME written;
  if (impl_->h == INVALID_HANDLE_VALUE || !GetFileTime(impl_->h, nullptr, nullptr, &written)) return std::nullopt;
  return win32::ToDosStamp(written);
}

bool TextReader::Rewind() {
  Impl& r = *impl_;
  if (r.h == INVALID_HANDLE_VALUE) return false;
  r.filePos = 0;
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
  if (path.empty()) return false;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  fd_ = Descriptor(h, _O_WRONLY | _O_BINARY);
  return fd_ >= 0;
}

bool OutFile::IsOpen() const { return fd_ >= 0; }

bool OutFile::Write(const std::string& bytes) {
  if (fd_ < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t want = bytes.size() - done < (1u << 30) ? bytes.size() - done : (1u << 30);
    DWORD put = 0;
    if (!WriteFile(HandleOf(fd_), bytes.data() + done, static_cast<DWORD>(want), &put, nullptr) || put == 0) {
      failed_ = true;
      return false;
    }
    done += put;
  }
  return true;
}

bool OutFile::Close() {
  if (fd_ < 0) return !failed_;
  bool ok = _close(fd_) == 0 && !failed_;
  fd_ = -1;
  failed_ = false;
  return ok;
}

}  // namespace vemlo::platform
