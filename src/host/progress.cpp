// The progress box: a message box without buttons, drawn again at every step.
#include "host/xxfar.h"

namespace vemlo {

namespace {

constexpr int kBarWidth = 50;

struct ProgressState {
  HANDLE Saved = VEMLO_INVALID_HANDLE_VALUE;
  std::string Lines[3];
  int Total = 0;
  bool Active = false;
};

ProgressState g_progress;

std::string Centered(const std::string& text) {
  int lead = static_cast<int>(text.size()) >= kBarWidth ? 0 : (kBarWidth - static_cast<int>(text.size())) / 2;
  return PadRightTo(std::string(static_cast<size_t>(lead), ' ') + text, kBarWidth);
}

void Show() {
  const char* items[3] = {g_progress.Lines[0].c_str(), g_progress.Lines[1].c_str(),
                          g_progress.Lines[2].c_str()};
  FarApi().Message(FarInfo().ModuleNumber, 0, "", items, 3, 0);
}

}  // namespace

void FarProgressOpen(const std::string& title, const std::string& text, int total) {
  if (g_progress.Active) FarProgressClose();
  g_progress.Saved = FarApi().SaveScreen(0, 0, -1, -1);
  g_progress.Total = total;
  g_progress.Lines[0] = title;
  g_progress.Lines[1] = Centered(text);
  g_progress.Lines[2] = std::string(kBarWidth, ' ');
  g_progress.Active = true;
  Show();
}

void FarProgressStep(int current) {
  if (!g_progress.Active || g_progress.Total <= 0) return;
  long long c = static_cast<long long>(current) * kBarWidth / g_progress.Total;
  if (c > kBarWidth) c = kBarWidth;
  if (c < 0) c = 0;
  g_progress.Lines[2] = std::string(static_cast<size_t>(c), '\xDB') +
                        std::string(static_cast<size_t>(kBarWidth - c), '\xB0');
  Show();
}

void FarProgressText(const std::string& text) {
  if (!g_progress.Active) return;
  g_progress.Lines[2] = Centered(text);
  Show();
}

void FarProgressClose() {
  for (std::string& l : g_progress.Lines) l.clear();
  if (g_progress.Saved != VEMLO_INVALID_HANDLE_VALUE) {
    FarApi().RestoreScreen(nullptr);
    FarApi().RestoreScreen(g_progress.Saved);
  }
  g_progress.Saved = VEMLO_INVALID_HANDLE_VALUE;
  g_progress.Total = 0;
  g_progress.Active = false;
}

bool FarProgressActive() { return g_progress.Active; }

FarProgressGuard::FarProgressGuard(const std::string& title, const std::string& text, int total) {
  FarProgressOpen(title, text, total);
}

FarProgressGuard::~FarProgressGuard() { FarProgressClose(); }

}  // namespace vemlo
