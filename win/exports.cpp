// The five entry points the host calls, under their plain names (see vemlo-x86.def, vemlo-x64.def).
// No exception may leave them: the host's frames cannot unwind.
#include <cstring>
#include <exception>

#include "far_abi.h"
#include "real_host.h"
#include "records.h"
#include "shell/vemlo.h"

namespace vemlo::win {

RealHost& TheHost() {
  static RealHost host;
  return host;
}

namespace {

bool g_started = false;  // SetStartupInfo accepted the host's table

}  // namespace

}  // namespace vemlo::win

using vemlo::win::TheHost;

extern "C" {

void __stdcall SetStartupInfo(const vemlo::abi::PluginStartupInfo* info) {
  try {
    vemlo::win::g_started = false;
    if (!info || !TheHost().Start(*info)) return;
    const vemlo::abi::PluginStartupInfo& real = TheHost().Info();
    vemlo::PluginStartupInfo startup;
    startup.ModuleName.assign(real.ModuleName, strnlen(real.ModuleName, sizeof real.ModuleName));
    startup.ModuleNumber = static_cast<int>(real.ModuleNumber);  // a token: the adapter passes the host its own value
    startup.RootKey = real.RootKey ? real.RootKey : "";
    startup.Api = &TheHost();
    vemlo::SetStartupInfo(startup);
    vemlo::win::g_started = true;
  } catch (...) {
  }
}

void __stdcall GetPluginInfo(vemlo::abi::PluginInfo* info) {
  if (!info) return;
  try {
    vemlo::PluginInfo native;
    if (vemlo::win::g_started) vemlo::GetPluginInfo(native);
    vemlo::win::ToReal(native, *info);
  } catch (...) {
    std::memset(info, 0, sizeof *info);
    info->StructSize = sizeof *info;
  }
}

vemlo::abi::HANDLE __stdcall OpenPlugin(int openFrom, int item) {
  try {
    if (vemlo::win::g_started) vemlo::OpenPlugin(openFrom, item);
  } catch (...) {
  }
  return reinterpret_cast<vemlo::abi::HANDLE>(-1);
}

int __stdcall ProcessEditorInput(const vemlo::abi::INPUT_RECORD* rec) {
  if (!rec || !vemlo::win::g_started) return 0;
  try {
    vemlo::INPUT_RECORD native;
    vemlo::win::FromReal(*rec, native);
    return vemlo::ProcessEditorInput(native);
  } catch (...) {
    return 0;
  }
}

int __stdcall Configure(int itemNumber) {
  try {
    if (vemlo::win::g_started) vemlo::Configure(itemNumber);
  } catch (...) {
  }
  return 0;
}

}  // extern "C"
