// Memo reading: the input is a block number (4 bytes, little-endian, signed)
// followed by the bytes of a memo file.
#include "fuzz_env.h"
#include "help/vemlohlp.h"

using namespace vemlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Env();
  fuzz::InputBytes in{data, size};
  const uint32_t lo = in.Word();
  const uint32_t hi = in.Word();
  const int64_t block = static_cast<int32_t>(lo | (hi << 16));
  fuzz::ScratchFile file("M.FPT", in.Rest());
  if (!OpenHelpMemo(file.Dos())) return 0;
  size_t bytes = 0;
  ReadMemoText(block, [&bytes](const std::string& line) {
    bytes += line.size();
    return true;
  });
  // The text cannot hold more than the file does, blank padding included.
  if (bytes > in.Size) __builtin_trap();
  // A handler that stops at once.
  ReadMemoText(block, [](const std::string&) { return false; });
  CloseHelpMemo();
  return 0;
}
