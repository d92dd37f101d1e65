// Memory blocks for large reads, from the process heap.
#include <new>

#include "platform/platform.h"

namespace vemlo::platform {

MemoryBlock::MemoryBlock(size_t size) : data_(new char[size > 0 ? size : 1]), size_(size) {}

MemoryBlock::~MemoryBlock() { Release(); }

void MemoryBlock::Release() {
  delete[] data_;
  data_ = nullptr;
  size_ = 0;
}

}  // namespace vemlo::platform
