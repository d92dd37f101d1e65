// Reading memo texts of a FoxPro memo file by block number.
#include <algorithm>
#include <array>
#include <cstring>

#include "help/vemlohlp.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr int64_t kChunk = 512;

uint32_t BigEndian(const unsigned char* b, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b[i];
  return v;
}

}  // namespace

void ReadMemoText(int64_t block, const TxxMemoLineHandler& handler) {
  TxxHelpState& s = HelpState();
  if (!s.Memo.IsOpen() || block < 0) return;
  const int64_t size = s.Memo.Size();
  if (size < 0) return;
  unsigned char head[4];
  if (s.Memo.ReadAt(6, head, 2) != 2) return;
  s.MemoBlockSize = static_cast<int>(BigEndian(head, 2));
  // A block size of 0 would put every block at the file's header.
  if (s.MemoBlockSize == 0) return;
  const int64_t start = block * s.MemoBlockSize;
  if (start > size - 8) return;
  if (s.Memo.ReadAt(start + 4, head, 4) != 4) return;
  // The length is capped at what the file holds after the block header, so a
  // forged length neither reads past the end nor makes the loop run long.
  int64_t length = BigEndian(head, 4);
  length = std::min(length, size - (start + 8));

  const int64_t chunks = length / kChunk + 1;
  std::array<char, kChunk + 1> buffer{};
  std::string pending;
  for (int64_t i = 0; i < chunks; ++i) {
    const bool last = i == chunks - 1;
    const int64_t want = last ? length - (chunks - 1) * kChunk : kChunk;
    int64_t got = want > 0 ? s.Memo.ReadAt(start + 8 + i * kChunk, buffer.data(), want) : 0;
    if (got < 0) return;  // an input error ends the text
    buffer[static_cast<size_t>(got)] = 0;
    std::string text(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(got)));
    if (last) text = PadRightTo(text, static_cast<int>(want)) + "\r\r";
    pending += text;
    size_t cr;
    while ((cr = pending.find('\r')) != std::string::npos) {
      std::string line = pending.substr(0, cr);
      pending.erase(0, cr + 1);
      std::erase(line, '\n');
      if (!handler(line)) return;
    }
  }
}

}  // namespace vemlo
