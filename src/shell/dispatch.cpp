// The command dispatcher: the extension test, the busy flag and the command table.
#include <iterator>

#include "host/xxfar.h"
#include "shell/commands.h"
#include "shell/vemlo.h"
#include "shell/vemlocfg.h"

namespace vemlo {

namespace {

bool g_busy = false;

// The commands that are built; a code without an entry does nothing.
const TxxCommand kCommands[] = {
    {-1, nullptr},
};

const TxxCommand* FindCommand(int code) {
  for (const TxxCommand& c : kCommands)
    if (c.Code == code && c.Run) return &c;
  return nullptr;
}

// Keeps the busy flag set while a command runs, however it ends.
struct BusyGuard {
  BusyGuard() { g_busy = true; }
  ~BusyGuard() { g_busy = false; }
};

}  // namespace

bool PluginBusy() { return g_busy; }

void ClearBusy() { g_busy = false; }

bool FileExtensionListed(const std::string& fileName) {
  const std::string listed = UpperCase(CfgParam("FileExtensions")) + ";";
  const std::string key = UpperCase(ExtractFileExt(fileName)) + ";";
  return listed.find(key) != std::string::npos;
}

int DispatchCommand(int code) {
  if (!FileExtensionListed(FarEditorFileName())) return 0;
  const TxxCommand* command = FindCommand(code);
  if (!command) return 0;
  BusyGuard busy;
  command->Run();
  return 1;
}

}  // namespace vemlo
