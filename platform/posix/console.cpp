// Console operations, forwarded to the backend the screen's owner installs.
#include <cstdio>

#include "platform/platform.h"

namespace vemlo::platform {

namespace {

std::shared_ptr<ConsoleBackend>& Backend() {
  static std::shared_ptr<ConsoleBackend> backend;
  return backend;
}

}  // namespace

void SetConsoleBackend(std::shared_ptr<ConsoleBackend> backend) { Backend() = std::move(backend); }

void ConsoleSize(int& width, int& height) {
  width = 80;
  height = 25;
  if (auto b = Backend(); b && b->GetSize) b->GetSize(width, height);
}

void ConsoleWriteRow(int row, const std::string& text, int attr) {
  if (auto b = Backend(); b && b->WriteRow) b->WriteRow(row, text, attr);
}

void ConsoleGetCursor(int& x, int& y) {
  x = 0;
  y = 0;
  if (auto b = Backend(); b && b->GetCursor) b->GetCursor(x, y);
}

void ConsoleSetCursor(int x, int y) {
  if (auto b = Backend(); b && b->SetCursor) b->SetCursor(x, y);
}

std::string ConsoleTitle() {
  if (auto b = Backend(); b && b->GetTitle) return b->GetTitle();
  return std::string();
}

void SetConsoleTitle(const std::string& title) {
  if (auto b = Backend(); b && b->SetTitle) b->SetTitle(title);
}

void ConsoleWrite(const std::string& text) {
  if (auto b = Backend(); b && b->WriteOutput) {
    b->WriteOutput(text);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void MessageBeep(unsigned type) {
  if (auto b = Backend(); b && b->Beep) {
    b->Beep(type);
    return;
  }
  std::fputs("\a", stderr);
}

}  // namespace vemlo::platform
