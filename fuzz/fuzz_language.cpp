// Language files of the replacement host.
#include <cstddef>
#include <cstdint>

#include "language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> messages = vemlo::sim::ParseLanguage(bytes);
  size_t total = 0;
  for (const std::string& m : messages) total += m.size();
  if (total > size) __builtin_trap();  // a message is never longer than its line
  return 0;
}
