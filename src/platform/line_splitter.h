// The line splitting of the platforms' text readers: a buffer that a
// platform-specific read function fills, cut into lines at CR LF, LF or CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vemlo::platform {

struct LineSplitter {
  std::vector<char> Buffer = std::vector<char>(64 * 1024);
  size_t Pos = 0, End = 0;
  bool AtEnd = false;
  bool Failed = false;
  bool SkipLF = false;  // the last line ended with CR: a following LF belongs to it

  // Back to the start of the stream; a read error stays recorded.
  void Rewind() {
    Pos = End = 0;
    AtEnd = SkipLF = false;
  }
  void Reset() {
    Rewind();
    Failed = false;
  }

  // Makes a byte available; false at the end or on an error. `read(buffer,
  // size)` returns the bytes read, 0 at the end, a negative number on an error.
  template <typename Read>
  bool Fill(Read&& read) {
    if (Pos < End) return true;
    if (AtEnd || Failed) return false;
    const int64_t got = read(Buffer.data(), Buffer.size());
    if (got < 0) {
      Failed = true;
      return false;
    }
    if (got == 0) {
      AtEnd = true;
      return false;
    }
    Pos = 0;
    End = static_cast<size_t>(got);
    return true;
  }

  // The next line without its line break; false at the end or on an error.
  template <typename Read>
  bool ReadLine(std::string& line, Read&& read) {
    line.clear();
    if (SkipLF) {
      SkipLF = false;
      if (Fill(read) && Buffer[Pos] == '\n') ++Pos;
    }
    bool any = false;
    while (Fill(read)) {
      any = true;
      const char* begin = Buffer.data() + Pos;
      const char* stop = begin;
      const char* limit = Buffer.data() + End;
      while (stop < limit && *stop != '\n' && *stop != '\r') ++stop;
      line.append(begin, stop);
      Pos += static_cast<size_t>(stop - begin);
      if (stop < limit) {
        SkipLF = *stop == '\r';
        ++Pos;
        return true;
      }
    }
    return any && !Failed;
  }
};

}  // namespace vemlo::platform
