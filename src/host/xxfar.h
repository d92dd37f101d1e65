// xxfar: the plug-in's access to the host: the startup record, and the typed
// editor, menu, progress and screen layers every feature goes through.
#pragma once

#include <string>

#include "host/editor.h"
#include "host/far_api.h"
#include "host/menus.h"
#include "host/progress.h"
#include "host/screen.h"
#include "lib/xxlib.h"

namespace vemlo {

// ---- Startup record (kept by SetStartupInfo) ----
const PluginStartupInfo& FarInfo();
void FarSetInfo(const PluginStartupInfo& info);
FarHost& FarApi();
std::string ModuleDir();  // directory of ModuleName, ending with "\"

}  // namespace vemlo
