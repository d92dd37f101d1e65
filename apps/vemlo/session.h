// What the commands share: the options as the plug-in reads them, the project
// of a file's folder (loaded again only when the folder changes), and the
// messages on standard error.
#pragma once

#include <string>

#include "cli_args.h"
#include "config/options.h"
#include "fox/model/insight.h"
#include "fox/model/project.h"
#include "lib/xxini.h"
#include "source_file.h"

namespace vemlo::cli {

struct Session {
  TxxOptions Options;
  TxxFoxProj Proj;
  TxxIniFile Ini;
  TxxInsight In;
  bool Failed = false;  // a file could not be read or written: exit status 3
};

// The options of the registry stand-in (the plug-in's key) with --option over
// them; false with `error` for an option name the plug-in does not know.
bool LoadSessionOptions(Session& s, const CliArgs& args, std::string& error);
// The English text of a message of the language files.
const char* MessageText(MsgId id);
// A message on standard error, "vemlo: " before it.
void Warn(const std::string& message);
// The project of the file's folder loaded (its problems told), the file parsed
// from its lines and the model built at `cursorLine`.
void RefreshAt(Session& s, const SourceFile& file, int cursorLine);
// The project of a folder loaded and every program of it parsed from disk.
void LoadProjectOf(Session& s, const std::string& dosDir);
// Reads a table of the project (problems told); a size that disagrees with the
// header fails the table.
void TellReadProblem(const TxxReadProblem& problem);

}  // namespace vemlo::cli
