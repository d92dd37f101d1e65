// Shared pieces of the POSIX platform: DOS path resolution and DOS time stamps.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace vemlo::platform::posix {

// The native path of a DOS path, every existing component matched without
// regard to letter case; "" when the drive is not mapped.
std::string ResolveNative(const std::string& dosPath);

// ASCII case-insensitive equality of file names.
bool SameNameNoCase(const std::string& a, const std::string& b);

uint32_t ToDosStamp(time_t t);
std::optional<time_t> FromDosStamp(uint32_t stamp);

}  // namespace vemlo::platform::posix
