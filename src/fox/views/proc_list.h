// The procedure list of the edited file (editor command 5).
#pragma once

#include "fox/insight/proc_entries.h"

namespace vemlo {

void ShowProcList();

}  // namespace vemlo
