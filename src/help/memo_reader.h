// Reading memo texts of a FoxPro memo file (FPT) by block number.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dbf/read_status.h"
#include "platform/platform.h"

namespace vemlo {

// The memo file of a table: its path with the extension ".fpt".
std::string HelpMemoPath(const std::string& tablePath);

// Receives one memo line; returns false to end the reading.
using TxxMemoLineHandler = std::function<bool(const std::string& line)>;

// Where the text of a memo block lies in the memo file, and how long it is as
// far as the file holds it; Found is false for a block the file does not hold.
struct TxxMemoBlock {
  bool Found = false;
  int64_t Start = 0;
  int64_t Length = 0;
};
TxxReadStatus FindMemoBlock(platform::InFile& memo, int64_t block, TxxMemoBlock& found);

// Hands the lines of memo block `block` of the open memo file to `handler`,
// read in 512-byte chunks. A corrupt header, block number or length ends the
// text at what the file holds; a failed read ends it with ReadError.
TxxReadStatus ReadMemoText(platform::InFile& memo, int64_t block, const TxxMemoLineHandler& handler);

}  // namespace vemlo
