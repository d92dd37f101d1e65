// The terminal front end of the replacement host: the host's editor loop with
// the terminal as its input source and the screen presented on the terminal.
#pragma once

#include <string>
#include <vector>

#include "sim_host.h"

namespace vemlo::sim {

// Opens the files (native paths), the first one current, and runs the editor
// over them on the terminal of standard input and output. Returns 0 when every editor
// closed, 1 with `error` set when something failed (the terminal is restored
// before this returns, whatever happened).
int RunTerminal(SimHost& host, const std::vector<std::string>& files, std::string& error);

}  // namespace vemlo::sim
