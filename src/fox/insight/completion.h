// Symbol completion: the word at the cursor, the candidate groups that fit its
// context, and the insertion of the chosen name.
#pragma once

#include <string>

#include "fox/model/insight.h"
#include "fox/model/project.h"

namespace vemlo {

// Sets Word, Prefix, Context, CursorPos, WordLeft, WordRight and CursorLine of
// the insight record from the editor's cursor line.
void FindInsightWord();
// The same over a given line and 0-based cursor column.
void FindInsightWordIn(TxxInsight& in, const std::string& line, int cursorLine, int cursorCol);

// Fills in.Candidates for in.Context from the model; false when the context
// cannot be completed (a lone "." or a name with more than one full stop).
bool CollectCandidates(TxxInsight& in, const TxxFoxProj& proj);
// The fields of alias A appended to in.Candidates.
void AppendAliasFields(TxxInsight& in, const TxxFoxProj& proj, const std::string& alias);

// The command: collects, shows the list and inserts the chosen name. Asked for
// by the typed "." (`typed`), it shows no list when nothing fits: an empty list
// would take the keys typed after the full stop.
void CompleteSymbol(bool typed = false);

}  // namespace vemlo
