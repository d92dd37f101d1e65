// The platform interface: everything the plug-in needs of the operating system,
// in DOS path terms (drive letters, "\" separators, OEM bytes).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemlo::platform {

// File attributes as the directory search reports them.
enum : uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

struct FindEntry {
  std::string Name;   // name only, as stored on disk
  uint64_t Size = 0;
  uint32_t Time = 0;  // DOS packed local date-time
  uint32_t Attr = 0;
};

// Directory search by a DOS mask ("C:\DIR\*.PRG"): entries whose attributes fit
// `attr` (directories only when faDirectory is in `attr`), in directory order.
std::vector<FindEntry> FindFiles(const std::string& mask, uint32_t attr = faAnyFile);

bool FileExists(const std::string& path);       // an existing file, not a directory
bool DirectoryExists(const std::string& path);
std::optional<uint32_t> FileStamp(const std::string& path);  // DOS packed local date-time
std::optional<uint64_t> FileSize(const std::string& path);
// The current stamps of many files, as FileStamp gives them one by one. Where the
// system reports changes to folders, a file that reported nothing since the last
// call costs no system call.
std::vector<std::optional<uint32_t>> FileStamps(const std::vector<std::string_view>& paths);
bool SetFileStamp(const std::string& path, uint32_t dosStamp);
bool DeleteFile(const std::string& path);
bool MakeDirectory(const std::string& path);         // a new directory; false when it exists
bool RemoveEmptyDirectory(const std::string& path);  // only when nothing is left in it

// Full-path expansion: an absolute DOS path with "." and ".." resolved.
// A relative path is taken against the current directory.
std::string ExpandFileName(const std::string& path);

// Mapping between DOS paths and the host system's own paths.
std::string ToNativePath(const std::string& dosPath);
std::string ToDosPath(const std::string& nativePath);

// A file opened for reading by byte offset, others allowed to read and write.
class InFile {
 public:
  InFile();
  ~InFile();
  InFile(const InFile&) = delete;
  InFile& operator=(const InFile&) = delete;
  bool Open(const std::string& path);
  bool IsOpen() const;
  void Close();
  int64_t Size() const;  // -1 when unknown
  // Reads up to n bytes at offset; returns the count read (0 at the end, -1 on error).
  int64_t ReadAt(int64_t offset, void* buffer, int64_t n);

 private:
  int fd_ = -1;
};

// Sequential text reading. Lines end at CR LF, LF or CR; a last line without a
// break counts as a line.
class TextReader {
 public:
  TextReader();
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;
  bool Open(const std::string& path);
  bool IsOpen() const;
  void Close();
  bool ReadLine(std::string& line);  // false at the end of the file or on an error
  // The same without a copy: the view stays valid until the next read, and the
  // reader's buffer is kept from one file to the next.
  bool ReadLineView(std::string_view& line);
  // The file's modification stamp when it was opened (DOS packed local date-time).
  std::optional<uint32_t> Stamp() const;
  bool Rewind();
  bool Failed() const;  // an input/output error happened

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Memory for one large read (a table's records): Size() bytes, not initialised,
// given back with the object. A large block is backed by large pages where the
// system offers them, which makes its first use far cheaper than page by page.
class MemoryBlock {
 public:
  MemoryBlock() = default;
  explicit MemoryBlock(size_t size);  // throws std::bad_alloc
  ~MemoryBlock();
  MemoryBlock(MemoryBlock&& other) noexcept { Take(other); }
  MemoryBlock& operator=(MemoryBlock&& other) noexcept {
    if (this != &other) {
      Release();
      Take(other);
    }
    return *this;
  }
  MemoryBlock(const MemoryBlock&) = delete;
  MemoryBlock& operator=(const MemoryBlock&) = delete;
  char* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  void Release();
  void Take(MemoryBlock& other) {
    data_ = other.data_;
    size_ = other.size_;
    mapped_ = other.mapped_;
    other.data_ = nullptr;
    other.size_ = 0;
    other.mapped_ = false;
  }
  char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

// A file created (or truncated) for writing: temporary files only.
class OutFile {
 public:
  OutFile();
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  bool Create(const std::string& path);
  bool IsOpen() const;
  bool Write(const std::string& bytes);
  bool Close();  // false when a write or the close failed

 private:
  int fd_ = -1;
  bool failed_ = false;
};

// Registry string values under a key path below HKEY_CURRENT_USER.
bool RegKeyExists(const std::string& key);
std::optional<std::string> RegQueryString(const std::string& key, const std::string& name);
bool RegSetString(const std::string& key, const std::string& name, const std::string& value);
// Where the registry stand-in keeps its values (a native path; tests set it).
void SetRegistryFile(const std::string& nativePath);

// Starts a program by its command line and waits for it to end.
struct RunResult {
  bool Started = false;
  std::string Error;  // the system's text when it could not be started (OEM)
};
RunResult RunProgram(const std::string& commandLine);

// The short (8.3) form of a path; the path itself where there are no short names.
std::string ShortPathName(const std::string& path);

// The system's default sound.
void MessageBeep(unsigned type);

// The private temporary folder (DOS path, ending with "\").
std::string TempDirectory();

// The console the plug-in may write to while an external program runs.
// The host that owns the screen installs the backend; without one the
// operations go to standard output or do nothing.
struct ConsoleBackend {
  std::function<void(int& width, int& height)> GetSize;
  std::function<void(int row, const std::string& text, int attr)> WriteRow;
  std::function<void(int& x, int& y)> GetCursor;
  std::function<void(int x, int y)> SetCursor;
  std::function<std::string()> GetTitle;
  std::function<void(const std::string&)> SetTitle;
  std::function<void(const std::string&)> WriteOutput;
  std::function<void(unsigned)> Beep;
};
void SetConsoleBackend(std::shared_ptr<ConsoleBackend> backend);
void ConsoleSize(int& width, int& height);
void ConsoleWriteRow(int row, const std::string& text, int attr);
void ConsoleGetCursor(int& x, int& y);
void ConsoleSetCursor(int x, int y);
std::string ConsoleTitle();
void SetConsoleTitle(const std::string& title);
void ConsoleWrite(const std::string& text);

}  // namespace vemlo::platform
