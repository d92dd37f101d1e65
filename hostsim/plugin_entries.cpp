// The binding of the replacement host to the plug-in linked into the program.
#include "session.h"
#include "sim_host.h"
#include "shell/vemlo.h"

namespace vemlo::sim {

PluginEntries LinkedPlugin() {
  PluginEntries entries;
  entries.ProcessEditorInput = [](const INPUT_RECORD& rec) { return vemlo::ProcessEditorInput(rec); };
  entries.OpenPluginMenu = [] { vemlo::OpenPlugin(OPEN_EDITOR, 0); };
  entries.Configure = [] { vemlo::Configure(0); };
  return entries;
}

void StartLinkedPlugin(SimHost& host) {
  vemlo::SetStartupInfo(host.StartupInfo());
  host.SetPlugin(LinkedPlugin());
}

void Session::StartPlugin() { StartLinkedPlugin(*host_); }

}  // namespace vemlo::sim
