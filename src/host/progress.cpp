// The progress box: a message box without buttons, drawn again at every step.
#include "host/xxfar.h"

#include "host/context.h"

namespace vemlo {

namespace {

constexpr int kBarWidth = 50;

std::string Centered(const std::string& text) {
  int lead = static_cast<int>(text.size()) >= kBarWidth ? 0 : (kBarWidth - static_cast<int>(text.size())) / 2;
  return PadRightTo(std::string(static_cast<size_t>(lead), ' ') + text, kBarWidth);
}

void Show() {
  const TxxProgressState& progress = Ctx().Progress;
  const char* items[3] = {progress.Lines[0].c_str(), progress.Lines[1].c_str(),
                          progress.Lines[2].c_str()};
  FarApi().Message(FarInfo().ModuleNumber, 0, "", items, 3, 0);
}

}  // namespace

void FarProgressOpen(const std::string& title, const std::string& text, int total) {
  TxxProgressState& progress = Ctx().Progress;
  if (progress.Active) FarProgressClose();
  progress.Saved = FarApi().SaveScreen(0, 0, -1, -1);
  progress.Total = total;
  progress.Lines[0] = title;
  progress.Lines[1] = Centered(text);
  progress.Lines[2] = std::string(kBarWidth, ' ');
  progress.Active = true;
  Show();
}

void FarProgressStep(int current) {
  TxxProgressState& progress = Ctx().Progress;
  if (!progress.Active || progress.Total <= 0) return;
  long long c = static_cast<long long>(current) * kBarWidth / progress.Total;
  if (c > kBarWidth) c = kBarWidth;
  if (c < 0) c = 0;
  progress.Lines[2] = std::string(static_cast<size_t>(c), '\xDB') +
                      std::string(static_cast<size_t>(kBarWidth - c), '\xB0');
  Show();
}

void FarProgressText(const std::string& text) {
  TxxProgressState& progress = Ctx().Progress;
  if (!progress.Active) return;
  progress.Lines[2] = Centered(text);
  Show();
}

void FarProgressClose() {
  TxxProgressState& progress = Ctx().Progress;
  for (std::string& l : progress.Lines) l.clear();
  if (progress.Saved != VEMLO_INVALID_HANDLE_VALUE) {
    FarApi().RestoreScreen(nullptr);
    FarApi().RestoreScreen(progress.Saved);
  }
  progress.Saved = VEMLO_INVALID_HANDLE_VALUE;
  progress.Total = 0;
  progress.Active = false;
}

bool FarProgressActive() { return Ctx().Progress.Active; }

FarProgressGuard::FarProgressGuard(const std::string& title, const std::string& text, int total) {
  FarProgressOpen(title, text, total);
}

FarProgressGuard::~FarProgressGuard() { FarProgressClose(); }

}  // namespace vemlo
