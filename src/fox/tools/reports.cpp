// Project reports, written to a temporary file and shown in the host editor.
#include "fox/tools/reports.h"

#include <cstdio>

#include "dbf/xxdbf.h"
#include "fox/insight/proc_param_text.h"
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
    for (size_t i = 0; i < progs.size(); ++i) {
      FarProgressStep(static_cast<int>(i) + 1);
      const TxxFoxProg& prog = progs[i];
      report.Line(std::string(21, '-') + prog.FileName);
      for (size_t k = 0; k < prog.Procs.size(); ++k) {
        if (IsBlank(prog.Procs[k].Name)) continue;
        char head[32];
        std::snprintf(head, sizeof head, "%-20.20s ", prog.Procs[k].Name.c_str());
        report.Line(head + ProcParamText(prog, static_cast<int>(k)));
      }
    }
  }
  report.Show();
}

std::string Value(const TxxDBF& table, int column, int record) {
  return column < 0 ? std::string() : DBFValue(table, column, record, true);
}

bool SameBase(const std::string& a, const std::string& b) { return UpperCase(Trim(a)) == UpperCase(Trim(b)); }

void DictionaryReport() {
  const TxxFoxProj& proj = FoxProj();
  const TxxDBF& bases = proj.KdfBases;
  const TxxDBF& fields = proj.KdfFields;
  const TxxDBF& indexes = proj.KdfIndex;
  const int bName = Column(bases, "KDF_BASES", "FieldName_BASE");
  if (bName < 0) {
    FarMessage("ProjReports", {Msg(MsgId::Title), Msg(MsgId::MissingColumnSetting), "[KDF_BASES] FieldName_BASE"}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  const int bRem = Column(bases, "KDF_BASES", "FieldName_REM");
  const int bCross = Column(bases, "KDF_BASES", "FieldName_CROSS");
  const int fBase = Column(fields, "KDF_FIELDS", "FieldName_BASE");
  const int fName = Column(fields, "KDF_FIELDS", "FieldName_FNAME");
  const int fType = Column(fields, "KDF_FIELDS", "FieldName_FTYPE");
  const int fLen = Column(fields, "KDF_FIELDS", "FieldName_FLEN");
  const int fDec = Column(fields, "KDF_FIELDS", "FieldName_FDEC");
  const int fRem = Column(fields, "KDF_FIELDS", "FieldName_REM");
  const int iBase = Column(indexes, "KDF_INDEX", "FieldName_BASE");
  const int iTag = Column(indexes, "KDF_INDEX", "FieldName_TAG");
  const int iKey = Column(indexes, "KDF_INDEX", "FieldName_KEY");
  const int iRem = Column(indexes, "KDF_INDEX", "FieldName_REM");

  ReportFile report;
  if (!report.Open()) return;
  {
    FarProgressGuard progress(Msg(MsgId::Title), Msg(MsgId::WritingDictReport), bases.RecCount);
    for (int i = 0; i < bases.RecCount; ++i) {
      FarProgressStep(i + 1);
      const std::string name = Value(bases, bName, i);
      report.Line("");
      report.Line("------ " + name + " " + Value(bases, bRem, i));
      if (fBase >= 0 && fName >= 0) {
        report.Line("fields");
        const std::string cross = Value(bases, bCross, i);
        if (!IsBlank(cross)) {
          report.Line("  = " + cross);
        } else {
          for (int j = 0; j < fields.RecCount; ++j)
            if (SameBase(Value(fields, fBase, j), name))
              report.Line("  " + Value(fields, fName, j) + " " + Value(fields, fType, j) + " (" +
                          Value(fields, fLen, j) + "," + Value(fields, fDec, j) + ") " + Value(fields, fRem, j));
        }
      }
      if (iBase >= 0 && iTag >= 0) {
        report.Line("indexes");
        for (int j = 0; j < indexes.RecCount; ++j)
          if (SameBase(Value(indexes, iBase, j), name))
            report.Line("  " + Value(indexes, iTag, j) + " " + Value(indexes, iKey, j) + " " + Value(indexes, iRem, j));
      }
    }
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
