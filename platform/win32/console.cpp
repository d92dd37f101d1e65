// The console the host shares with external programs: buffer, cursor, title,
// output and the beep. A backend installed by the screen's owner takes precedence.
#include <vector>

#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

namespace {

std::shared_ptr<ConsoleBackend>& Backend() {
  static std::shared_ptr<ConsoleBackend> backend;
  return backend;
}

HANDLE Output() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool BufferInfo(CONSOLE_SCREEN_BUFFER_INFO& info) { return GetConsoleScreenBufferInfo(Output(), &info) != 0; }

}  // namespace

void SetConsoleBackend(std::shared_ptr<ConsoleBackend> backend) { Backend() = std::move(backend); }

void ConsoleSize(int& width, int& height) {
  width = 80;
  height = 25;
  if (auto b = Backend(); b && b->GetSize) {
    b->GetSize(width, height);
    return;
  }
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (BufferInfo(info)) {
    width = info.dwSize.X;
    height = info.dwSize.Y;
  }
}

void ConsoleWriteRow(int row, const std::string& text, int attr) {
  if (auto b = Backend(); b && b->WriteRow) {
    b->WriteRow(row, text, attr);
    return;
  }
  if (row < 0 || row > 0x7FFF || text.empty()) return;
  const COORD at{0, static_cast<SHORT>(row)};
  DWORD done = 0;
  WriteConsoleOutputCharacterA(Output(), text.data(), static_cast<DWORD>(text.size()), at, &done);
  FillConsoleOutputAttribute(Output(), static_cast<WORD>(attr), static_cast<DWORD>(text.size()), at, &done);
}

void ConsoleGetCursor(int& x, int& y) {
  x = 0;
  y = 0;
  if (auto b = Backend(); b && b->GetCursor) {
    b->GetCursor(x, y);
    return;
  }
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (BufferInfo(info)) {
    x = info.dwCursorPosition.X;
    y = info.dwCursorPosition.Y;
  }
}

void ConsoleSetCursor(int x, int y) {
  if (auto b = Backend(); b && b->SetCursor) {
    b->SetCursor(x, y);
    return;
  }
  if (x < 0 || y < 0 || x > 0x7FFF || y > 0x7FFF) return;
  SetConsoleCursorPosition(Output(), COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)});
}

std::string ConsoleTitle() {
  if (auto b = Backend(); b && b->GetTitle) return b->GetTitle();
  std::vector<char> buffer(1024, '\0');
  DWORD n = GetConsoleTitleA(buffer.data(), static_cast<DWORD>(buffer.size()));
  return n ? std::string(buffer.data(), n < buffer.size() ? n : buffer.size() - 1) : std::string();
}

void SetConsoleTitle(const std::string& title) {
  if (auto b = Backend(); b && b->SetTitle) {
    b->SetTitle(title);
    return;
  }
  SetConsoleTitleA(title.c_str());
}

void ConsoleWrite(const std::string& text) {
  if (auto b = Backend(); b && b->WriteOutput) {
    b->WriteOutput(text);
    return;
  }
  DWORD done = 0;
  if (!text.empty()) WriteFile(Output(), text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
}

void MessageBeep(unsigned type) {
  if (auto b = Backend(); b && b->Beep) {
    b->Beep(type);
    return;
  }
  ::MessageBeep(type);
}

}  // namespace vemlo::platform
