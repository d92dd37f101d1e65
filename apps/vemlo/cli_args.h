// The vemlo command line: its commands, their options and help texts.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vemlo::cli {

enum class Command { None, Procs, Struct, Format, Check, Report, Dbf };

struct CliArgs {
  Command What = Command::None;
  bool Help = false;
  bool CheckOnly = false;               // format --check
  std::vector<std::string> Paths;       // the files (or folders, for check)
  std::string Report;                   // "procs" or "dict"
  std::string Registry;                 // --registry: the options file (the plug-in's registry stand-in)
  std::vector<std::pair<std::string, std::string>> Options;  // --option NAME=VALUE
};

// Exit statuses.
enum : int { kExitOk = 0, kExitFindings = 1, kExitUsage = 2, kExitFailure = 3 };

// The arguments after the program name; none with `error` set when they are wrong.
std::optional<CliArgs> ParseArgs(const std::vector<std::string>& args, std::string& error);
// The help of one command, or of the program for Command::None.
std::string HelpText(Command c);

}  // namespace vemlo::cli
