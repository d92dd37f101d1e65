// The startup record the host handed over, kept in the context.
#include "host/xxfar.h"

#include <stdexcept>

#include "host/context.h"

namespace vemlo {

const PluginStartupInfo& FarInfo() { return Ctx().Startup; }

void FarSetInfo(const PluginStartupInfo& info) { Ctx().Startup = info; }

FarHost& FarApi() {
  FarHost* api = Ctx().Startup.Api;
  if (!api) throw std::logic_error("the host has not started the plug-in");
  return *api;
}

std::string ModuleDir() { return ExtractFilePath(Ctx().Startup.ModuleName); }

}  // namespace vemlo
