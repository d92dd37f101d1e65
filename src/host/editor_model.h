// The model over the host's editor: the project and insight record of the
// context, and the model's routines on the text being edited.
#pragma once

#include <string>

#include "fox/model/insight.h"
#include "fox/model/project.h"

namespace vemlo {

TxxFoxProj& FoxProj();
TxxInsight& Insight();
// Drops the project and the insight record.
void ResetFoxModel();

// Sets the word, prefix and context of the insight record from the editor's cursor.
void FindInsightWord();
// The parameter list of a procedure; the edited file's from the editor text.
std::string ProcParamText(const TxxFoxProg& prog, int procIndex);

}  // namespace vemlo
