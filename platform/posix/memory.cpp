// Memory blocks for large reads: mapped with large pages asked for, so that
// filling one takes a page fault per 2 MiB rather than per 4 KiB.
#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/platform.h"

namespace vemlo::platform {

namespace {
constexpr size_t kMapFrom = 2 * 1024 * 1024;
constexpr size_t kLargePage = 2 * 1024 * 1024;

// A mapped block spans whole large pages: a page only partly inside the mapping,
// or one the mapping does not start on, would be filled 4 KiB at a time, at a
// page fault each. At most one large page more than asked for is used.
size_t MappedLength(size_t size) { return (size + kLargePage - 1) / kLargePage * kLargePage; }
}  // namespace

MemoryBlock::MemoryBlock(size_t size) : size_(size) {
  if (size < kMapFrom) {
    data_ = new char[size > 0 ? size : 1];
    return;
  }
  const size_t length = MappedLength(size);
  if (length < size || length > SIZE_MAX - kLargePage) throw std::bad_alloc();
  // Mapped one large page longer, then cut to start on a large page's boundary.
  void* p = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  char* const mapped = static_cast<char*>(p);
  char* const start = mapped + (kLargePage - reinterpret_cast<uintptr_t>(mapped) % kLargePage) % kLargePage;
  if (start > mapped) munmap(mapped, size_t(start - mapped));
  if (mapped + length + kLargePage > start + length)
    munmap(start + length, size_t(mapped + length + kLargePage - (start + length)));
#ifdef MADV_HUGEPAGE
  (void)madvise(start, length, MADV_HUGEPAGE);  // a hint: without large pages the block still works
#endif
  data_ = start;
  mapped_ = true;
}

MemoryBlock::~MemoryBlock() { Release(); }

void MemoryBlock::Release() {
  if (mapped_)
    munmap(data_, MappedLength(size_));
  else
    delete[] data_;
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace vemlo::platform
