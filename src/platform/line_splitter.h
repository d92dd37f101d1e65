// The line splitting of the platforms' text readers: a buffer that a
// platform-specific read function fills, cut into lines at CR LF, LF or CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vemlo::platform {

struct LineSplitter {
  static constexpr size_t kBufferSize = 64 * 1024;
  // Holds at least one whole line: it grows for a longer one and goes back to
  // its usual size when the reader is reset.
  std::vector<char> Buffer = std::vector<char>(kBufferSize);
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
    if (Buffer.size() > kBufferSize) {
      Buffer.resize(kBufferSize);
      Buffer.shrink_to_fit();
    }
  }

  // Reads more bytes after the buffered ones, moving a started line to the
  // front first; false at the end or on an error. `read(buffer, size)` returns
  // the bytes read, 0 at the end, a negative number on an error.
  template <typename Read>
  bool More(Read&& read) {
    if (AtEnd || Failed) return false;
    if (Pos > 0) {
      std::memmove(Buffer.data(), Buffer.data() + Pos, End - Pos);
      End -= Pos;
      Pos = 0;
    }
    if (End == Buffer.size()) Buffer.resize(Buffer.size() * 2);
    const int64_t got = read(Buffer.data() + End, Buffer.size() - End);
    if (got < 0) {
      Failed = true;
      return false;
    }
    if (got == 0) {
      AtEnd = true;
      return false;
    }
    End += static_cast<size_t>(got);
    return true;
  }

  // The next line without its line break, as a view into Buffer that stays
  // valid until the next call; false at the end or on an error.
  template <typename Read>
  bool NextLine(std::string_view& line, Read&& read) {
    line = std::string_view();
    if (SkipLF) {
      if (Pos < End || More(read)) {
        SkipLF = false;
        if (Buffer[Pos] == '\n') ++Pos;
      }
    }
    size_t searched = 0;  // bytes of this line after Pos known to hold no break
    for (;;) {
      const char* begin = Buffer.data() + Pos;
      const char* from = begin + searched;
      const size_t left = End - Pos - searched;
      const char* lf = static_cast<const char*>(std::memchr(from, '\n', left));
      const char* cr = static_cast<const char*>(std::memchr(from, '\r', lf ? size_t(lf - from) : left));
      if (const char* stop = cr ? cr : lf) {
        line = std::string_view(begin, size_t(stop - begin));
        Pos += size_t(stop - begin) + 1;
        if (*stop == '\r') {
          if (Pos < End) {
            if (Buffer[Pos] == '\n') ++Pos;
          } else {
            SkipLF = true;
          }
        }
        return true;
      }
      searched = End - Pos;
      if (!More(read)) break;
    }
    // The end of the stream: what is left is the last line.
    if (Failed || Pos == End) return false;
    line = std::string_view(Buffer.data() + Pos, End - Pos);
    Pos = End;
    return true;
  }

  // The next line copied into `line`; false at the end or on an error.
  template <typename Read>
  bool ReadLine(std::string& line, Read&& read) {
    std::string_view view;
    const bool got = NextLine(view, read);
    line.assign(view.data(), view.size());
    return got;
  }
};

}  // namespace vemlo::platform
