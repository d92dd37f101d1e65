// The progress box: one for the whole module, drawn again at every step.
#pragma once

#include <string>

namespace vemlo {

void FarProgressOpen(const std::string& title, const std::string& text, int total);
void FarProgressStep(int current);
void FarProgressText(const std::string& text);
void FarProgressClose();
bool FarProgressActive();

// Closes the progress box on every path out of a scope that opened it.
class FarProgressGuard {
 public:
  FarProgressGuard(const std::string& title, const std::string& text, int total);
  ~FarProgressGuard();
  FarProgressGuard(const FarProgressGuard&) = delete;
  FarProgressGuard& operator=(const FarProgressGuard&) = delete;
};

}  // namespace vemlo
