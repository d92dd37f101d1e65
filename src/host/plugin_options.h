// The plug-in's option values, kept in the context and stored under the
// host's settings key.
#pragma once

#include <string>

#include "config/options.h"

namespace vemlo {

TxxOptions& PluginOptions();
const std::string& Option(OptionId id);
bool OptionOn(OptionId id);  // a check box option: its value is not blank
void ResetOptions();         // back to the defaults
std::string OptionsKey();    // RootKey + "\VEM-LO"
void LoadOptions();
void SaveOptions(int group);

}  // namespace vemlo
