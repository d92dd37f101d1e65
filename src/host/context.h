// The plug-in context: all the state the plug-in keeps between the host's
// calls, in one record. Resetting the plug-in builds a new one.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/options.h"
#include "fox/model/insight.h"
#include "fox/model/project.h"
#include "help/vemlohlp.h"
#include "host/far_api.h"
#include "lib/xxini.h"

namespace vemlo {

// The progress box: one for the whole module.
struct TxxProgressState {
  HANDLE Saved = VEMLO_INVALID_HANDLE_VALUE;
  std::string Lines[3];
  int Total = 0;
  bool Active = false;
};

// The configuration dialogs: the group the menu opens on, and while a group's
// dialog is open, the dialog item of each option row (-1 for none) and the
// values its list buttons edit.
struct TxxOptionDialogState {
  int LastGroup = 0;
  int Group = -1;
  std::vector<int> ItemOf;
  std::vector<std::string> WorkValue;
};

// The structure review's visible categories, chosen by the user for as long
// as the plug-in stays loaded (the first use takes each caption's sign).
inline constexpr size_t kReviewCategories = 10;
struct TxxReviewFilter {
  std::array<bool, kReviewCategories> Visible{};
  std::array<bool, kReviewCategories> Initialized{};
};

struct TxxPluginContext {
  PluginStartupInfo Startup;  // the host and the module's names, from SetStartupInfo
  TxxOptions Options = DefaultOptions();
  TxxIniFile Ini;             // the project's settings file
  TxxFoxProj Project;
  TxxInsight Insight;
  TxxHelpState Help;
  TxxProgressState Progress;
  bool Busy = false;          // a command runs
  bool Reentry = false;       // a typed "." goes back to the editor
  TxxOptionDialogState OptionDialog;
  TxxReviewFilter Review;
  const char* MenuStrings[1] = {nullptr};  // handed to the host by GetPluginInfo
};

TxxPluginContext& Ctx();
// Drops the context: the next use builds a fresh one, without a host.
void ResetContext();

}  // namespace vemlo
