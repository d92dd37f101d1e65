// The editor's code pages are the core's (lib/codepage.h); the host names them
// as its own.
#pragma once

#include "lib/codepage.h"

namespace vemlo::sim {
using namespace vemlo::codepage;
}  // namespace vemlo::sim
