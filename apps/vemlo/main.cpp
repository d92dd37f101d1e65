// vemlo: the plug-in's model of FoxPro programs, projects and tables on the
// command line, for other editors' users and for CI.
#include <iostream>
#include <string>
#include <vector>

#include "cli_args.h"
#include "commands.h"

namespace {

int Usage(const std::string& error) {
  std::cerr << "vemlo: " << error << "\n"
            << "Try 'vemlo --help'.\n";
  return vemlo::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vemlo::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<CliArgs> parsed = ParseArgs(args, error);
  if (!parsed) return Usage(error);
  if (parsed->Help) {
    std::cout << HelpText(parsed->What);
    return kExitOk;
  }
  Session s;
  if (!LoadSessionOptions(s, *parsed, error)) return Usage(error);
  switch (parsed->What) {
    case Command::Procs: return ProcsCommand(s, *parsed);
    case Command::Struct: return StructCommand(s, *parsed);
    case Command::Format: return FormatCommand(s, *parsed);
    case Command::Check: return CheckCommand(s, *parsed);
    case Command::Report: return ReportCommand(s, *parsed);
    case Command::Dbf: return DbfCommand(s, *parsed);
    case Command::None: break;
  }
  return Usage("no command given");
}
