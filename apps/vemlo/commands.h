// The commands of the vemlo command line; each returns the exit status.
#pragma once

#include "cli_args.h"
#include "session.h"

namespace vemlo::cli {

int ProcsCommand(Session& s, const CliArgs& args);
int StructCommand(Session& s, const CliArgs& args);
int FormatCommand(Session& s, const CliArgs& args);
int CheckCommand(Session& s, const CliArgs& args);
int ReportCommand(Session& s, const CliArgs& args);
int DbfCommand(Session& s, const CliArgs& args);

}  // namespace vemlo::cli
