// Shared pieces of the fuzz targets: one replacement host with the plug-in
// started on it for the whole process, a private folder for the input files,
// and readers over the input bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fox/model/program.h"
#include "sim_host.h"

namespace vemlo::fuzz {

// The host answers every message box with the answer set here (the button
// index, -1 for Esc), so that corrupt-file questions take a chosen branch
// without a modal loop per input.
class FuzzHost : public sim::SimHost {
 public:
  using sim::SimHost::SimHost;
  int Answer = 0;
  int Message(int, unsigned, const char*, const char* const*, int, int) override { return Answer; }
};

struct FuzzEnv {
  std::string Root;  // native path of the private folder, no trailing "/"
  FuzzHost* Host = nullptr;
  std::string EditedNative;  // the file open in the editor
  std::string Native(const std::string& name) const { return Root + "/" + name; }
  std::string Dos(const std::string& name) const;
};

// Set up on first use: the folder, the registry stand-in, the host and an
// editor over an empty EDIT.PRG. The folder is removed at exit.
FuzzEnv& Env();

// A file in the private folder holding given bytes, removed when it goes.
class ScratchFile {
 public:
  ScratchFile(const std::string& name, const std::string& bytes);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Native() const { return native_; }
  const std::string& Dos() const { return dos_; }

 private:
  std::string native_;
  std::string dos_;
};

// The lines of a text as the platform's text reader splits them: CR LF, LF or
// CR end a line, a last line without a break counts.
std::vector<std::string> SplitLines(const std::string& bytes);
TxxLineReader VectorLineReader(const std::vector<std::string>& lines);

// Takes leading bytes of the input as small numbers, leaving the rest as the payload.
struct InputBytes {
  const uint8_t* Data;
  size_t Size;
  uint8_t Byte() {
    if (Size == 0) return 0;
    --Size;
    return *Data++;
  }
  uint32_t Word() {
    uint32_t lo = Byte();
    return lo | (uint32_t(Byte()) << 8);
  }
  std::string Rest() const { return std::string(reinterpret_cast<const char*>(Data), Size); }
};

}  // namespace vemlo::fuzz
