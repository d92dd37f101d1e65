// Symbol completion: the word at a cursor position and the candidate groups
// that fit its context.
#pragma once

#include <string>

#include "fox/model/insight.h"
#include "fox/model/project.h"
#include "lib/xxini.h"

namespace vemlo {

// Sets Word, Prefix, Context, CursorPos, WordLeft, WordRight and CursorLine of
// the insight record from the cursor's line and 0-based column.
void FindInsightWordIn(TxxInsight& in, const std::string& line, int cursorLine, int cursorCol);

// Fills in.Candidates for in.Context from the model and the project's settings
// file (the columns of its tables); false when the context cannot be completed
// (a lone "." or a name with more than one full stop). A project table whose
// header gives an alias's fields is read with loadTable.
bool CollectCandidates(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini,
                       const TxxTableLoader& loadTable = {});
// The fields of alias A appended to in.Candidates.
void AppendAliasFields(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini, const std::string& alias,
                       const TxxTableLoader& loadTable = {});

}  // namespace vemlo
