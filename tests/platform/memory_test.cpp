// Memory blocks: every byte asked for is there, whatever the size (heap blocks,
// mapped ones, sizes on and beside the large pages' boundaries), and a moved
// block hands its bytes over.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "platform/platform.h"

namespace vemlo::platform {
namespace {

constexpr size_t kMiB = 1024 * 1024;

TEST(MemoryBlock, EveryByteOfEverySizeCanBeWrittenAndRead) {
  for (size_t size : {size_t(0), size_t(1), 2 * kMiB - 1, 2 * kMiB, 2 * kMiB + 1, 4 * kMiB - 3, 4 * kMiB,
                      9 * kMiB + 4095}) {
    MemoryBlock block(size);
    ASSERT_EQ(block.Size(), size);
    ASSERT_NE(block.Data(), nullptr) << size;
    if (size == 0) continue;
    memset(block.Data(), 0x5A, size);
    block.Data()[size - 1] = 2;
    EXPECT_EQ(block.Data()[size - 1], 2) << size;
    if (size > 2) {
      block.Data()[0] = 1;
      EXPECT_EQ(block.Data()[0], 1) << size;
      EXPECT_EQ(block.Data()[size / 2], 0x5A) << size;
    }
  }
}

TEST(MemoryBlock, MovesHandTheBytesOver) {
  MemoryBlock a(3 * kMiB);
  a.Data()[3 * kMiB - 1] = 'z';
  char* const bytes = a.Data();
  MemoryBlock b(std::move(a));
  EXPECT_EQ(b.Data(), bytes);
  EXPECT_EQ(b.Size(), 3 * kMiB);
  EXPECT_EQ(a.Data(), nullptr);
  EXPECT_EQ(a.Size(), 0u);
  MemoryBlock c(10);
  c = std::move(b);  // c's own block is given back
  EXPECT_EQ(c.Data()[3 * kMiB - 1], 'z');
  EXPECT_EQ(b.Data(), nullptr);
}

}  // namespace
}  // namespace vemlo::platform
