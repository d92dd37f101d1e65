// Programs, system error texts and the temporary folder.
#include <vector>

#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

namespace win32 {

std::string SystemErrorText(DWORD code) {
  char buffer[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                           sizeof buffer - 1, nullptr);
  if (n == 0) return "Error " + std::to_string(code);
  // The system's texts are in the ANSI code page; the host shows OEM bytes.
  CharToOemA(buffer, buffer);
  std::string text(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  return text;
}

}  // namespace win32

RunResult RunProgram(const std::string& commandLine) {
  RunResult result;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    result.Error = win32::SystemErrorText(GetLastError());
    return result;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  result.Started = true;
  return result;
}

std::string TempDirectory() {
  char buffer[MAX_PATH + 2] = {};
  DWORD n = GetTempPathA(MAX_PATH + 1, buffer);
  std::string dir = n > 0 && n <= MAX_PATH + 1 ? std::string(buffer, n) : std::string("C:\\");
  if (dir.back() != '\\') dir += '\\';
  return dir;
}

}  // namespace vemlo::platform
