// Windows' headers for the Win32 platform, without the macros that would rename
// the platform's own functions (DeleteFile, SetConsoleTitle).
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef DeleteFile
#undef SetConsoleTitle

#include <cstdint>
#include <optional>
#include <string>

namespace vemlo::platform::win32 {

// A file time as the DOS packed local date-time the tables store.
uint32_t ToDosStamp(const FILETIME& utc);
std::optional<FILETIME> FromDosStamp(uint32_t stamp);

// A handle closed when it goes out of scope.
struct Handle {
  HANDLE H = INVALID_HANDLE_VALUE;
  explicit Handle(HANDLE h) : H(h) {}
  ~Handle() {
    if (Valid()) CloseHandle(H);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return H != INVALID_HANDLE_VALUE && H != nullptr; }
};

// The text of a system error code, in the OEM code page, without the line break.
std::string SystemErrorText(DWORD code);

}  // namespace vemlo::platform::win32
