// xxdbf inside: the fields of Visual FoxPro tables, whose values are binary
// numbers, dates with times, memo block numbers and nulls rather than text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "platform/platform.h"

namespace vemlo {

// The versions whose records hold binary values, a _NullFlags field and a
// database backlink after the field descriptors.
bool IsVfpVersion(unsigned char version);

// The length of the backlink area that follows the descriptor terminator.
constexpr int64_t kVfpBacklinkLen = 263;

// Where a record keeps its null and length bits: the hidden _NullFlags field
// (absent when Len is 0), and for each listed field its bit numbers (-1: none).
struct TxxVfpBits {
  int Null = -1;    // set: the value is null
  int Length = -1;  // V and Q: set when the value is shorter than the field
};
struct TxxVfpLayout {
  uint32_t FlagsOffset = 0;
  uint32_t FlagsLen = 0;
  std::vector<TxxVfpBits> Bits;  // one per listed field
};

// Takes the hidden system fields out of the list and numbers the bits of the
// others: in field order, a V or Q field's length bit before its null bit.
TxxVfpLayout TakeSystemFields(TxxDBFFieldArr& fields);

// The value of field `index` in one record of recordLen bytes, as text: C, N,
// F, D, L as stored (right-trimmed), I and B and Y as numbers, T as
// "YYYYMMDD hh:mm:ss", a null as ".NULL.", Q in hex digits, a memo, general
// or blob field as its kind and size read from the open memo file (a "?" for
// a size it does not hold). Bytes beyond the record and values out of range
// read as empty.
std::string VfpValueText(const TxxDBFFieldArr& fields, const TxxVfpLayout& layout, size_t index,
                         const unsigned char* record, size_t recordLen, platform::InFile& memo);

// The parts of a value, for the formats above.
std::string VfpCurrencyText(int64_t tenThousandths);
std::string VfpDateTimeText(uint32_t julianDay, uint32_t milliseconds);  // empty when out of range
std::string VfpDoubleText(double value, int decimals);                  // empty for NaN and infinity

// The live records of a Visual FoxPro table whose descriptors are read: their
// values decoded into the fields (see VfpValueText), their physical numbers
// into recNos. Only records the file holds whole are read. False when a read
// fails.
bool ReadVfpRecords(platform::InFile& file, const std::string& tablePath, int64_t firstRecord,
                    int64_t recordCount, uint32_t recordLen, TxxDBFFieldArr& fields,
                    const TxxVfpLayout& layout, std::vector<int32_t>& recNos);

}  // namespace vemlo
