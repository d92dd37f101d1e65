// Test-only FoxPro memo file writer: memo texts in blocks of a chosen size,
// with knobs that forge the header and block lengths to make corrupt files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemlo::test {

struct FptMemo {
  std::string Text;
  std::optional<uint32_t> ForgedLength;  // written instead of the text's length
};

struct FptFile {
  std::string Bytes;
  std::vector<int> Blocks;  // the block number of each memo
};

// Memos follow the 512-byte header, each starting on a block boundary.
FptFile BuildFpt(const std::vector<FptMemo>& memos, int blockSize = 64);

// A help base: TOPIC C(20) and DETAILS M (the block number), plus its memo
// file beside it (".FPT"). Topics are pairs of name and memo text.
struct HelpTopicSpec {
  std::string Name;
  std::string Text;
};
bool WriteHelpBase(const std::string& nativeDbfPath, const std::vector<HelpTopicSpec>& topics,
                   int blockSize = 64);

}  // namespace vemlo::test
