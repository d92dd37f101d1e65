#include "session.h"

#include <iostream>

#include "config/file_names.h"
#include "config/messages.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo::cli {

namespace {

// The plug-in's settings key as the replacement host gives it, so that the
// command line reads the options the workbench stores.
const char* const kHostRootKey = "Software\\Far\\Plugins";

void TellProjectProblems(const TxxProjectProblems& problems) {
  for (const TxxProjectProblem& p : problems) {
    switch (p.What) {
      case TxxProjectProblem::Kind::NoSettingsFile:
        // A file outside any project is worked on alone, without a word.
        if (!p.File.empty()) Warn(std::string(MessageText(MsgId::NoSettingsFile)) + ": " + p.File);
        break;
      case TxxProjectProblem::Kind::NoDictTable:
        Warn(std::string(MessageText(MsgId::FileNotFound)) + ": " + MessageText(p.TableName) + " " + p.File);
        break;
      case TxxProjectProblem::Kind::Read: TellReadProblem(p.Read); break;
    }
  }
}

}  // namespace

const char* MessageText(MsgId id) {
  switch (id) {
#define VEMLO_MESSAGE(name, number, english) \
  case MsgId::name: return english;
#include "config/message_list.inc"
#undef VEMLO_MESSAGE
  }
  return "";
}

void Warn(const std::string& message) { std::cerr << "vemlo: " << message << "\n"; }

void TellReadProblem(const TxxReadProblem& problem) {
  if (problem.Status == TxxReadStatus::Read) return;
  if (problem.Status == TxxReadStatus::BadSize && problem.Table) FailDBF(*problem.Table);
  Warn(problem.File + ": " + MessageText(ReadStatusMessage(problem.Status)));
}

bool LoadSessionOptions(Session& s, const CliArgs& args, std::string& error) {
  if (!args.Registry.empty()) platform::SetRegistryFile(args.Registry);
  s.Options = DefaultOptions();
  LoadOptionValues(s.Options, std::string(kHostRootKey) + "\\" + SettingsKeyName);
  for (const auto& [name, value] : args.Options) {
    if (!FindOption(name)) {
      error = "no option '" + name + "'";
      return false;
    }
    for (TxxPluginOption& o : s.Options)
      if (o.Name == name) o.Value = value;
  }
  return true;
}

void RefreshAt(Session& s, const SourceFile& file, int cursorLine) {
  TxxEditedText text = EditedText(file);
  text.CursorLine = cursorLine;
  const TxxRefreshRequest request;
  bool loaded = false;
  if (NeedsProjectLoad(s.Proj, text, request)) {
    const std::string dir = ExtractFilePath(text.FileName);
    TellProjectProblems(LoadProject(s.Proj, s.Ini, dir, FindSettingsFile(dir, "")));
    loaded = true;
  }
  for (const TxxReadProblem& p : RefreshInsight(s.Proj, s.In, text, request, loaded, {})) TellReadProblem(p);
}

void LoadProjectOf(Session& s, const std::string& dosDir) {
  TellProjectProblems(LoadProject(s.Proj, s.Ini, dosDir, FindSettingsFile(dosDir, "")));
  const TxxEditedText none;
  for (TxxFoxProg& prog : s.Proj.Progs) {
    const TxxReadStatus status = ScanProcedures(prog, none, {});
    if (status == TxxReadStatus::ReadError) TellReadProblem(TxxReadProblem{status, prog.FileName});
  }
}

}  // namespace vemlo::cli
