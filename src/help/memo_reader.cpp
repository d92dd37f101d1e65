// Reading memo texts of a FoxPro memo file by block number.
#include <algorithm>
#include <array>
#include <cstring>

#include "help/memo_reader.h"

#include "config/file_names.h"
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

std::string HelpMemoPath(const std::string& tablePath) { return ChangeFileExt(tablePath, MemoFileExt); }

TxxReadStatus FindMemoBlock(platform::InFile& memo, int64_t block, TxxMemoBlock& found) {
  found = {};
  if (!memo.IsOpen() || block < 0) return TxxReadStatus::Read;
  const int64_t size = memo.Size();
  if (size < 0) return TxxReadStatus::ReadError;
  unsigned char head[4];
  int64_t got = memo.ReadAt(6, head, 2);
  if (got < 0) return TxxReadStatus::ReadError;
  if (got != 2) return TxxReadStatus::Read;
  const int blockSize = static_cast<int>(BigEndian(head, 2));
  // A block size of 0 would put every block at the file's header.
  if (blockSize == 0) return TxxReadStatus::Read;
  const int64_t start = block * blockSize;
  if (start > size - 8) return TxxReadStatus::Read;
  got = memo.ReadAt(start + 4, head, 4);
  if (got < 0) return TxxReadStatus::ReadError;
  if (got != 4) return TxxReadStatus::Read;
  // The length is capped at what the file holds after the block header, so a
  // forged length neither reads past the end nor makes a reader run long.
  found.Start = start + 8;
  found.Length = std::min<int64_t>(BigEndian(head, 4), size - found.Start);
  found.Found = true;
  return TxxReadStatus::Read;
}

TxxReadStatus ReadMemoText(platform::InFile& memo, int64_t block, const TxxMemoLineHandler& handler) {
  constexpr TxxReadStatus kEnd = TxxReadStatus::Read;
  TxxMemoBlock found;
  if (TxxReadStatus status = FindMemoBlock(memo, block, found); status != kEnd) return status;
  if (!found.Found) return kEnd;
  const int64_t start = found.Start - 8;
  const int64_t length = found.Length;
  int64_t got = 0;

  const int64_t chunks = length / kChunk + 1;
  std::array<char, kChunk + 1> buffer{};
  std::string pending;
  for (int64_t i = 0; i < chunks; ++i) {
    const bool last = i == chunks - 1;
    const int64_t want = last ? length - (chunks - 1) * kChunk : kChunk;
    got = want > 0 ? memo.ReadAt(start + 8 + i * kChunk, buffer.data(), want) : 0;
    if (got < 0) return TxxReadStatus::ReadError;
    buffer[static_cast<size_t>(got)] = 0;
    std::string text(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(got)));
    if (last) text = PadRightTo(text, static_cast<int>(want)) + "\r\r";
    pending += text;
    size_t cr;
    while ((cr = pending.find('\r')) != std::string::npos) {
      std::string line = pending.substr(0, cr);
      pending.erase(0, cr + 1);
      std::erase(line, '\n');
      if (!handler(line)) return kEnd;
    }
  }
  return kEnd;
}

}  // namespace vemlo
