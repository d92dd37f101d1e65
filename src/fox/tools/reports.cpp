// Project reports, written to a temporary file and shown in the host editor.
#include "fox/tools/reports.h"

#include "dbf/xxdbf.h"
#include "fox/insight/report_lines.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

// Collects the report's lines in a temporary file and shows it when done.
class ReportFile {
 public:
  bool Open() { return temp_.Valid() && out_.Create(temp_.Name()); }
  void Line(const std::string& text) { out_.Write(text + "\r\n"); }
  void Show() {
    if (!out_.Close()) return;
    FarApi().Editor(temp_.Name().c_str(), "", 0, 0, -1, -1, 0, 0, 0);
  }

 private:
  FarTempFile temp_;
  platform::OutFile out_;
};

void ProcedureReport() {
  const TxxFoxProgArr& progs = FoxProj().Progs;
  ReportFile report;
  if (!report.Open()) return;
  {
    FarProgressGuard progress(Msg(MsgId::Title), Msg(MsgId::ReadingPrograms), static_cast<int>(progs.size()));
    const auto params = [](const TxxFoxProg& prog, int k) { return ProcParamText(prog, k); };
    for (const std::string& line : ProcedureReportLines(progs, params, FarProgressStep)) report.Line(line);
  }
  report.Show();
}

void DictionaryReport() {
  const TxxFoxProj& proj = FoxProj();
  const TxxDictColumns columns = ResolveDictColumns(proj, Column);
  if (columns.BName < 0) {
    FarMessage("ProjReports", {Msg(MsgId::Title), Msg(MsgId::MissingColumnSetting), "[KDF_BASES] FieldName_BASE"}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  ReportFile report;
  if (!report.Open()) return;
  {
    FarProgressGuard progress(Msg(MsgId::Title), Msg(MsgId::WritingDictReport), proj.KdfBases.RecCount);
    std::vector<std::string> lines;
    const auto value = [](const TxxDBF& table, int column, int record) { return DBFValue(table, column, record, true); };
    DictionaryReportLines(proj, columns, value, FarProgressStep, lines);
    for (const std::string& line : lines) report.Line(line);
  }
  report.Show();
}

}  // namespace

void ShowProjectReports() {
  const int chosen = FarMenu("ProjReports", {Msg(MsgId::ReportProcedures), Msg(MsgId::ReportDictionary)}, 0, "", FMENU_WRAPMODE);
  if (chosen == 0) ProcedureReport();
  if (chosen == 1) DictionaryReport();
}

}  // namespace vemlo
