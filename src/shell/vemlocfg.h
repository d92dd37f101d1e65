// vemlocfg: the configuration menu and the dialogs of the option groups.
#pragma once

#include "host/far_api.h"
#include "host/plugin_options.h"

namespace vemlo {

void ConfigureOptions();
void EditOptionGroup(int group);
intptr_t OptionDlgProc(HANDLE dlg, int msg, int param1, intptr_t param2);

}  // namespace vemlo
