// The option values of the context.
#include "host/plugin_options.h"

#include "config/file_names.h"
#include "host/context.h"

namespace vemlo {

TxxOptions& PluginOptions() { return Ctx().Options; }

const std::string& Option(OptionId id) { return OptionValue(Ctx().Options, id); }

bool OptionOn(OptionId id) { return vemlo::OptionOn(Ctx().Options, id); }

void ResetOptions() { Ctx().Options = DefaultOptions(); }

std::string OptionsKey() { return Ctx().Startup.RootKey + "\\" + SettingsKeyName; }

void LoadOptions() { LoadOptionValues(Ctx().Options, OptionsKey()); }

void SaveOptions(int group) { SaveOptionGroup(Ctx().Options, OptionsKey(), group); }

}  // namespace vemlo
