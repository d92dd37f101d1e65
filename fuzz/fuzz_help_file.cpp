// Help files of the replacement host: parsed into topics, each topic found by name.
#include <cstddef>
#include <cstdint>

#include "ui_help.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<vemlo::sim::HelpTopic> topics = vemlo::sim::ParseHelpFile(bytes);
  for (const vemlo::sim::HelpTopic& t : topics)
    if (vemlo::sim::FindHelpTopic(topics, t.Name) < 0) __builtin_trap();
  (void)vemlo::sim::FindHelpTopic(topics, "Contents");
  (void)vemlo::sim::ParseHelpLine(bytes);
  return 0;
}
