// vemlofox insight record: the model of the edited file at the cursor, rebuilt by
// every refresh, and the candidate list of a completion request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fox/model/program.h"

namespace vemlo {

// Kinds of completion rows.
enum : unsigned char {
  skNone = 0, skHeader = 1, skProc = 2, skDefine = 3, skElement = 4, skTable = 5, skBase = 6,
  skBaseField = 7, skGlobalOption = 8, skLocalOption = 9, skTableField = 10,
  skMethod = 11,  // a method of the cursor's class chain, by its bare name
};

// One row of the completion list: a candidate or a group header.
struct TxxSymbToComplete {
  std::string Name;
  std::string Descr;
  unsigned char Later = 0;  // from a statement after the cursor's
  unsigned char Kind = skNone;
  int32_t Ref = 0;  // index of the source record in its own list; -1 for project tables
};
using TxxSymbToCompleteArr = std::vector<TxxSymbToComplete>;

struct TxxInsight {
  unsigned char Status = 0;  // 1 once a refresh has filled the record
  std::string ProjDir;
  int32_t EditorID = 0;
  std::string FileName;  // upper case
  std::string Word;
  std::string Prefix;
  std::string Context;
  std::string Spare1;  // two texts no command reads
  std::string Spare2;
  int32_t CursorPos = 0;
  int32_t WordLeft = 0;
  int32_t WordRight = 0;
  int32_t CursorLine = 0;
  int32_t ProgIndex = -1;
  int32_t ProcIndex = -1;
  TxxFoxDefineArr Defines;
  TxxFoxStringArr Statements;
  int32_t CursorStatement = -1;
  int32_t CursorElement = -1;
  TxxSymbToCompleteArr Candidates;
};

// After a refresh: the edited file's entry in the project and the procedure
// at the cursor; null when the record names none.
const TxxFoxProg* CursorProg(const TxxFoxProj& proj, const TxxInsight& in);
const TxxFoxProc* CursorProc(const TxxFoxProj& proj, const TxxInsight& in);

}  // namespace vemlo
