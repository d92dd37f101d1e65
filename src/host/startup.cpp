// The startup record the host handed over, kept for the module's lifetime.
#include "host/xxfar.h"

#include <stdexcept>

namespace vemlo {

namespace {
PluginStartupInfo g_info;
}

const PluginStartupInfo& FarInfo() { return g_info; }

void FarSetInfo(const PluginStartupInfo& info) { g_info = info; }

FarHost& FarApi() {
  if (!g_info.Api) throw std::logic_error("the host has not started the plug-in");
  return *g_info.Api;
}

std::string ModuleDir() { return ExtractFilePath(g_info.ModuleName); }

}  // namespace vemlo
