// Reader problems told to the user, and the table reads that tell them.
#include "host/reader_reports.h"

#include "fox/model/project.h"
#include "host/settings_file.h"
#include "host/xxfar.h"

namespace vemlo {

namespace {

constexpr const char* kTableTopic = "ProblemReadDBF";

// The size question: true when the user chose Ignore; Retry asks again.
bool UserIgnoresBadSize(const std::string& fileName, const char* helpTopic) {
  for (;;) {
    const int answer = FarMessage(helpTopic, {Msg(MsgId::Title), Msg(MsgId::DbfBadSize), fileName}, 0,
                                  FMSG_WARNING | FMSG_MB_ABORTRETRYIGNORE);
    if (answer != 1) return answer == 2;
  }
}

// Calls fn with the table loaded: the caller's own handle when it is loaded,
// else a temporary handle read for this call only.
template <typename Fn>
auto WithLoadedTable(const TxxDBF& table, Fn fn) {
  if (table.State == dsLoaded) return fn(table);
  TxxDBF copy;
  copy.FileName = table.FileName;
  copy.State = table.State;
  copy.FileDate = table.FileDate;
  LoadDBF(copy, false, DBFReloadName);
  return fn(copy);
}

}  // namespace

void TellReadProblem(const TxxReadProblem& problem, const char* helpTopic) {
  if (problem.Status == TxxReadStatus::Read) return;
  if (problem.Status == TxxReadStatus::BadSize && problem.Table) {
    TxxDBF& table = *problem.Table;
    if (!UserIgnoresBadSize(problem.File, helpTopic)) {
      FailDBF(table);
      return;
    }
    const TxxReadStatus next = ReadDBF(table, problem.HeaderOnly, DBFReloadName, TxxSizeCheck::Accept);
    TellReadProblem(TxxReadProblem{next, table.FileName}, helpTopic);
    return;
  }
  FarMessage(helpTopic, {Msg(MsgId::Title), Msg(ReadStatusMessage(problem.Status)), problem.File}, 0,
             FMSG_WARNING | FMSG_MB_OK);
}

void TellReadProblems(const TxxReadProblems& problems, const char* helpTopic) {
  for (const TxxReadProblem& p : problems) TellReadProblem(p, helpTopic);
}

void LoadDBF(TxxDBF& table, bool headerOnly, const std::string& name) {
  const TxxReadStatus status = ReadDBF(table, headerOnly, name);
  TellReadProblem(TxxReadProblem{status, table.FileName, &table, headerOnly}, kTableTopic);
}

int DBFFieldIndex(const TxxDBF& table, const std::string& name) {
  if (Trim(name).empty()) return -1;
  return WithLoadedTable(table, [&](const TxxDBF& t) { return FindDBFField(t, name); });
}

int Column(const TxxDBF& table, const char* section, const char* key) {
  std::string name;
  IniValueDef(section, key, "", name);
  return DBFFieldIndex(table, name);
}

std::string DBFValue(const TxxDBF& table, int field, int record, bool pad) {
  return WithLoadedTable(table, [&](const TxxDBF& t) -> std::string {
    if (t.State != dsLoaded || field < 0 || size_t(field) >= t.Fields.size()) return {};
    const std::string& value = DBFValueRef(t, field, record);
    return pad ? PadRightTo(value, DBFFieldWidth(t, field)) : value;
  });
}

}  // namespace vemlo
