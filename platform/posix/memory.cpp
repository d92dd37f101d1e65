// Memory blocks for large reads: mapped with large pages asked for, so that
// filling one takes a page fault per 2 MiB rather than per 4 KiB.
#include <sys/mman.h>

#include <new>

#include "platform/platform.h"

namespace vemlo::platform {

namespace {
constexpr size_t kMapFrom = 2 * 1024 * 1024;
}

MemoryBlock::MemoryBlock(size_t size) : size_(size) {
  if (size < kMapFrom) {
    data_ = new char[size > 0 ? size : 1];
    return;
  }
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  (void)madvise(p, size, MADV_HUGEPAGE);  // a hint: without large pages the block still works
#endif
  data_ = static_cast<char*>(p);
  mapped_ = true;
}

MemoryBlock::~MemoryBlock() { Release(); }

void MemoryBlock::Release() {
  if (mapped_)
    munmap(data_, size_);
  else
    delete[] data_;
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace vemlo::platform
