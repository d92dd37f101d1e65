// xxdbf inside: the record buffer of a loaded table.
#pragma once

#include <cstddef>

#include "dbf/xxdbf.h"
#include "platform/platform.h"

namespace vemlo {

// The live records in load order, RecordLen bytes each; every byte from a
// record's first zero byte on is zero, so that a value ends there.
struct TxxDBFRecordArea {
  platform::MemoryBlock Bytes;
  size_t RecordLen = 0;
};

}  // namespace vemlo
