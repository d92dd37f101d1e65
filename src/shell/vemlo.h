// vemlo: the plug-in's entry points and the command dispatcher.
#pragma once

#include "host/far_api.h"

namespace vemlo {

void SetStartupInfo(const PluginStartupInfo& info);
void GetPluginInfo(PluginInfo& info);
HANDLE OpenPlugin(int openFrom, intptr_t item);
int ProcessEditorInput(const INPUT_RECORD& rec);
int Configure(int itemNumber);

int DispatchCommand(int code);
bool PluginBusy();

// Builds a new plug-in context: nothing of the old one survives, not even the
// host (tests call it between cases).
void ResetPluginState();

}  // namespace vemlo
