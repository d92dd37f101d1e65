// The lines of the project reports.
#include "fox/insight/report_lines.h"

#include <cstdio>

#include "lib/xxlib.h"

namespace vemlo {

namespace {

// Class and method names are filled to the procedures' column but never cut:
// Visual FoxPro names run far longer than 20 characters.
std::string NameColumn(const std::string& name, size_t width) {
  return name + std::string(name.size() < width ? width - name.size() : 0, ' ') + " ";
}

// The class as declared: its name, then AS parent [OF library].
std::string ClassLine(const TxxFoxProc& cls) { return NameColumn(cls.Name, 20) + Trim(cls.Params); }

// A method under its class: its bare name, marked as the procedure list marks it.
std::string MethodLine(const TxxFoxProc& method, const std::string& params) {
  std::string name = method.Name.substr(method.Name.find('.') + 1);
  if (method.Visibility == vsProtected) name = "protected " + name;
  if (method.Visibility == vsHidden) name = "hidden " + name;
  return "  " + NameColumn(name, 18) + params;
}

}  // namespace

std::vector<std::string> ProcedureReportLines(const TxxFoxProgArr& progs,
                                              const std::function<std::string(const TxxFoxProg&, int)>& params,
                                              const TxxReportStep& step) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < progs.size(); ++i) {
    if (step) step(static_cast<int>(i) + 1);
    const TxxFoxProg& prog = progs[i];
    lines.push_back(std::string(21, '-') + prog.FileName);
    for (size_t k = 0; k < prog.Procs.size(); ++k) {
      const TxxFoxProc& proc = prog.Procs[k];
      if (IsBlank(proc.Name)) continue;
      if (proc.Kind == pkClass) {
        lines.push_back(ClassLine(proc));
        continue;
      }
      if (proc.Kind == pkMethod) {
        lines.push_back(MethodLine(proc, params(prog, static_cast<int>(k))));
        continue;
      }
      char head[32];
      std::snprintf(head, sizeof head, "%-20.20s ", proc.Name.c_str());
      lines.push_back(head + params(prog, static_cast<int>(k)));
    }
  }
  return lines;
}

TxxDictColumns ResolveDictColumns(const TxxFoxProj& proj, const TxxColumnLookup& column) {
  TxxDictColumns c;
  c.BName = column(proj.KdfBases, "KDF_BASES", "FieldName_BASE");
  c.BRem = column(proj.KdfBases, "KDF_BASES", "FieldName_REM");
  c.BCross = column(proj.KdfBases, "KDF_BASES", "FieldName_CROSS");
  c.FBase = column(proj.KdfFields, "KDF_FIELDS", "FieldName_BASE");
  c.FName = column(proj.KdfFields, "KDF_FIELDS", "FieldName_FNAME");
  c.FType = column(proj.KdfFields, "KDF_FIELDS", "FieldName_FTYPE");
  c.FLen = column(proj.KdfFields, "KDF_FIELDS", "FieldName_FLEN");
  c.FDec = column(proj.KdfFields, "KDF_FIELDS", "FieldName_FDEC");
  c.FRem = column(proj.KdfFields, "KDF_FIELDS", "FieldName_REM");
  c.IBase = column(proj.KdfIndex, "KDF_INDEX", "FieldName_BASE");
  c.ITag = column(proj.KdfIndex, "KDF_INDEX", "FieldName_TAG");
  c.IKey = column(proj.KdfIndex, "KDF_INDEX", "FieldName_KEY");
  c.IRem = column(proj.KdfIndex, "KDF_INDEX", "FieldName_REM");
  return c;
}

int DictColumn(const TxxIniFile& ini, const TxxDBF& table, const char* section, const char* key) {
  if (table.State != dsLoaded) return -1;
  std::string name;
  LookupIni(ini, section, key, name);
  return Trim(name).empty() ? -1 : FindDBFField(table, name);
}

std::string PaddedValue(const TxxDBF& table, int column, int record) {
  if (table.State != dsLoaded || column < 0 || static_cast<size_t>(column) >= table.Fields.size()) return {};
  return PadRightTo(DBFValueRef(table, column, record), table.Fields[static_cast<size_t>(column)].Len);
}

namespace {

bool SameBase(const std::string& a, const std::string& b) { return UpperCase(Trim(a)) == UpperCase(Trim(b)); }

}  // namespace

bool DictionaryReportLines(const TxxFoxProj& proj, const TxxDictColumns& c, const TxxDictValue& value,
                           const TxxReportStep& step, std::vector<std::string>& lines) {
  if (c.BName < 0) return false;
  const TxxDBF& bases = proj.KdfBases;
  const TxxDBF& fields = proj.KdfFields;
  const TxxDBF& indexes = proj.KdfIndex;
  const auto v = [&](const TxxDBF& t, int column, int record) {
    return column < 0 ? std::string() : value(t, column, record);
  };
  for (int i = 0; i < bases.RecCount; ++i) {
    if (step) step(i + 1);
    const std::string name = v(bases, c.BName, i);
    lines.push_back("");
    lines.push_back("------ " + name + " " + v(bases, c.BRem, i));
    if (c.FBase >= 0 && c.FName >= 0) {
      lines.push_back("fields");
      const std::string cross = v(bases, c.BCross, i);
      if (!IsBlank(cross)) {
        lines.push_back("  = " + cross);
      } else {
        for (int j = 0; j < fields.RecCount; ++j)
          if (SameBase(v(fields, c.FBase, j), name))
            lines.push_back("  " + v(fields, c.FName, j) + " " + v(fields, c.FType, j) + " (" + v(fields, c.FLen, j) +
                            "," + v(fields, c.FDec, j) + ") " + v(fields, c.FRem, j));
      }
    }
    if (c.IBase >= 0 && c.ITag >= 0) {
      lines.push_back("indexes");
      for (int j = 0; j < indexes.RecCount; ++j)
        if (SameBase(v(indexes, c.IBase, j), name))
          lines.push_back("  " + v(indexes, c.ITag, j) + " " + v(indexes, c.IKey, j) + " " + v(indexes, c.IRem, j));
    }
  }
  return true;
}

}  // namespace vemlo
