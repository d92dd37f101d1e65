// The lines of the project reports: the procedure report and the data
// dictionary report, for the plug-in's editor window and the command line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "fox/model/project.h"
#include "lib/xxini.h"

namespace vemlo {

// Called with 1, 2, ... as the programs or tables are written.
using TxxReportStep = std::function<void(int done)>;

// A row of 21 hyphens and the file name per program, then one line per named
// procedure entry: the name cut or filled to 20, a blank, its parameter text.
// A class is a line of its name and "AS parent", its methods indented under it
// by their bare names (protected and hidden ones marked so).
std::vector<std::string> ProcedureReportLines(const TxxFoxProgArr& progs,
                                              const std::function<std::string(const TxxFoxProg&, int)>& params,
                                              const TxxReportStep& step);

// The columns of the three dictionary tables the settings file names; -1 for
// a column it does not name or the table lacks.
struct TxxDictColumns {
  int BName = -1, BRem = -1, BCross = -1;
  int FBase = -1, FName = -1, FType = -1, FLen = -1, FDec = -1, FRem = -1;
  int IBase = -1, ITag = -1, IKey = -1, IRem = -1;
};
using TxxColumnLookup = std::function<int(const TxxDBF& table, const char* section, const char* key)>;
TxxDictColumns ResolveDictColumns(const TxxFoxProj& proj, const TxxColumnLookup& column);
// The column lookup over a loaded table and the project's settings.
int DictColumn(const TxxIniFile& ini, const TxxDBF& table, const char* section, const char* key);
// A value filled to its field's width; empty for a column of -1 or an unloaded table.
std::string PaddedValue(const TxxDBF& table, int column, int record);

// Per KDF_BASES record: an empty line and "------ name description", then its
// fields (or "  = " and the table it shares them with) and its indexes.
// Without the table-name column of KDF_BASES there is no report: false.
using TxxDictValue = std::function<std::string(const TxxDBF& table, int column, int record)>;
bool DictionaryReportLines(const TxxFoxProj& proj, const TxxDictColumns& c, const TxxDictValue& value,
                           const TxxReportStep& step, std::vector<std::string>& lines);

}  // namespace vemlo
