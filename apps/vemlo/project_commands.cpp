// The commands over a project and over a table: the project reports and a
// table's structure and records.
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "dbf/dbf_text.h"
#include "fox/insight/proc_param_text.h"
#include "fox/insight/report_lines.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo::cli {

namespace {

std::string TrimmedRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

int ReportCommand(Session& s, const CliArgs& args) {
  const std::string given = args.Paths.empty() ? std::string(".") : args.Paths[0];
  std::error_code ec;
  if (!std::filesystem::exists(given, ec)) {
    Warn(given + ": no such file or folder");
    return kExitFailure;
  }
  const std::string dos = ModelPath(given);
  const std::string dir = std::filesystem::is_directory(given, ec) ? IncludeTrailingBackslash(dos) : ExtractFilePath(dos);
  LoadProjectOf(s, dir);
  if (s.Proj.State != 1) {
    Warn(given + ": no project settings file (vemlo.ini) in this folder or above");
    return kExitFailure;
  }
  std::vector<std::string> lines;
  if (args.Report == "procs") {
    const TxxEditedText none;
    lines = ProcedureReportLines(
        s.Proj.Progs, [&](const TxxFoxProg& prog, int k) { return ProcParamText(prog, k, none); }, {});
  } else {
    const TxxDictColumns columns = ResolveDictColumns(
        s.Proj, [&s](const TxxDBF& t, const char* section, const char* key) { return DictColumn(s.Ini, t, section, key); });
    if (!DictionaryReportLines(s.Proj, columns, PaddedValue, {}, lines)) {
      Warn(std::string(MessageText(MsgId::MissingColumnSetting)) + " [KDF_BASES] FieldName_BASE");
      return kExitFailure;
    }
  }
  for (const std::string& line : lines) std::cout << line << "\n";
  return s.Failed ? kExitFailure : kExitOk;
}

int DbfCommand(Session& s, const CliArgs& args) {
  const std::string& path = args.Paths[0];
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    Warn(path + ": is a folder");
    return kExitFailure;
  }
  TxxDBF table;
  const TxxReadStatus status = ReadDBF(table, false, ModelPath(path));
  if (status != TxxReadStatus::Read || table.State != dsLoaded) {
    TellReadProblem(TxxReadProblem{status == TxxReadStatus::Read ? TxxReadStatus::CannotOpen : status, path, &table});
    CloseDBF(table);
    return kExitFailure;
  }
  std::cout << path << ": " << table.Fields.size() << " fields, " << table.RecCount << " records\n";
  for (const TxxDBFField& field : table.Fields) std::cout << TrimmedRight(DBFStructureLine(field)) << "\n";
  for (int r = 0; r < table.RecCount; ++r) {
    std::cout << "\nrecord " << r + 1 << "/" << table.RecCount << "\n";
    for (size_t f = 0; f < table.Fields.size(); ++f)
      std::cout << TrimmedRight(DBFRecordLine(table, static_cast<int>(f), r)) << "\n";
  }
  CloseDBF(table);
  return s.Failed ? kExitFailure : kExitOk;
}

}  // namespace vemlo::cli
