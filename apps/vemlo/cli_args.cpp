#include "cli_args.h"

namespace vemlo::cli {
namespace {

struct CommandInfo {
  Command What;
  const char* Name;
  const char* Usage;
  const char* Help;
  int MinPaths, MaxPaths;  // -1: no limit
};

const CommandInfo kCommands[] = {
    {Command::Procs, "procs", "vemlo procs [OPTIONS] FILE",
     "Lists the procedures and functions of a FoxPro program file in the order they\n"
     "stand, each with its line number and parameter list, as the plug-in's\n"
     "procedure list shows them.\n",
     1, 1},
    {Command::Struct, "struct", "vemlo struct [OPTIONS] FILE",
     "Prints the structure review of every procedure of a program file: each\n"
     "statement with its line number and the nesting of IF, CASE and loop blocks\n"
     "drawn with box characters, as the plug-in's listing writes it with every\n"
     "category shown; an empty line between procedures.\n",
     1, 1},
    {Command::Format, "format", "vemlo format [--check] [OPTIONS] FILE...",
     "Re-indents every procedure of each file with the indentation formatter and\n"
     "its options, and writes the files that change in place (through a new file\n"
     "that replaces the old one, so a failed write leaves the file as it was).\n"
     "  --check   write nothing: list the files that would change, and exit with 1\n"
     "            when there is one\n",
     1, -1},
    {Command::Check, "check", "vemlo check [OPTIONS] PATH...",
     "Looks for unbalanced blocks (an ELSE, CASE or ENDIF without its IF or DO CASE,\n"
     "a loop or block left open) in the program files given, and in the files of\n"
     "the folders given whose extensions are in the option FileExtensions. Prints\n"
     "each as FILE:LINE:COLUMN: message and exits with 1 when there is one.\n",
     1, -1},
    {Command::Report, "report", "vemlo report [OPTIONS] procs|dict [PATH]",
     "Prints a project report for the project of PATH (a file or folder; the\n"
     "current folder by default), found by its vemlo.ini:\n"
     "  procs   every program of the project with its procedures and parameters\n"
     "  dict    every table of the data dictionary with its fields and indexes\n",
     1, 2},
    {Command::Dbf, "dbf", "vemlo dbf [OPTIONS] FILE",
     "Prints the structure of a DBF table (each field as a line of a CREATE TABLE\n"
     "statement) and then its records, one field a line.\n",
     1, 1},
};

const char* const kCommonOptions =
    "Options:\n"
    "  --registry FILE       the plug-in's options file (default $VEMLO_REGISTRY, else\n"
    "                        $XDG_CONFIG_HOME/vemlo/registry.ini)\n"
    "  --option NAME=VALUE   an option of the plug-in over the options file\n"
    "  --help                this text\n";

const CommandInfo* Find(const std::string& name) {
  for (const CommandInfo& c : kCommands)
    if (name == c.Name) return &c;
  return nullptr;
}

const CommandInfo* Find(Command what) {
  for (const CommandInfo& c : kCommands)
    if (what == c.What) return &c;
  return nullptr;
}

}  // namespace

std::string HelpText(Command c) {
  if (const CommandInfo* info = Find(c))
    return std::string("usage: ") + info->Usage + "\n\n" + info->Help + "\n" + kCommonOptions;
  std::string text =
      "usage: vemlo COMMAND [OPTIONS] ARGS...\n\n"
      "The FoxPro workbench of vemlo on the command line. Commands:\n";
  for (const CommandInfo& info : kCommands) text += std::string("  ") + info.Usage + "\n";
  text += "\n'vemlo COMMAND --help' tells more of each. Only 'format' without --check\n"
          "writes files. Exit status: 0 done, 1 findings (check, format --check),\n"
          "2 wrong arguments, 3 a file that could not be read or written.\n"
          "Texts are read and written as bytes in the project's code page (866).\n";
  return text;
}

std::optional<CliArgs> ParseArgs(const std::vector<std::string>& args, std::string& error) {
  CliArgs out;
  if (args.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out.Help = true;
    if (args.size() > 1) {
      if (const CommandInfo* c = Find(args[1])) out.What = c->What;
    }
    return out;
  }
  const CommandInfo* info = Find(args[0]);
  if (!info) {
    error = "unknown command '" + args[0] + "'";
    return std::nullopt;
  }
  out.What = info->What;
  bool onlyPaths = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    if (onlyPaths || a.empty() || a[0] != '-' || a == "-") {
      out.Paths.push_back(a);
    } else if (a == "--") {
      onlyPaths = true;
    } else if (a == "--help" || a == "-h") {
      out.Help = true;
    } else if (a == "--check" && out.What == Command::Format) {
      out.CheckOnly = true;
    } else if (a == "--registry") {
      if (!value(out.Registry)) return std::nullopt;
    } else if (a == "--option") {
      std::string v;
      if (!value(v)) return std::nullopt;
      const size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--option wants NAME=VALUE, not '" + v + "'";
        return std::nullopt;
      }
      out.Options.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    } else {
      error = "unknown option '" + a + "' for " + info->Name;
      return std::nullopt;
    }
  }
  if (out.Help) return out;
  if (out.What == Command::Report) {
    if (out.Paths.empty() || (out.Paths[0] != "procs" && out.Paths[0] != "dict")) {
      error = "report needs procs or dict";
      return std::nullopt;
    }
    out.Report = out.Paths[0];
    out.Paths.erase(out.Paths.begin());
    if (out.Paths.size() > 1) {
      error = "report takes one path";
      return std::nullopt;
    }
    return out;
  }
  const int n = static_cast<int>(out.Paths.size());
  if (n < info->MinPaths) {
    error = std::string(info->Name) + " needs " + (info->MaxPaths == 1 ? "a file" : "at least one file");
    return std::nullopt;
  }
  if (info->MaxPaths >= 0 && n > info->MaxPaths) {
    error = std::string(info->Name) + " takes one file";
    return std::nullopt;
  }
  return out;
}

}  // namespace vemlo::cli
