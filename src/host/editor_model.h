// The model over the host's editor: the project and insight record of the
// context, and the model's routines on the text being edited.
#pragma once

#include <string>

#include "fox/model/insight.h"
#include "fox/model/progress.h"
#include "fox/model/project.h"

namespace vemlo {

TxxFoxProj& FoxProj();
TxxInsight& Insight();
// Drops the project and the insight record.
void ResetFoxModel();

// The refresh before a command over the edited text (see TxxRefreshRequest):
// loads the project when needed, parses, builds the insight record; what could
// not be read is told, and long steps show the progress box.
void RefreshModel(bool onlyCurrent, bool force, bool wholeFile);
// The procedure table of one program, the edited one from the editor text.
void ScanProcedures(TxxFoxProg& prog);
// The settings file for a folder, else the one beside the module.
std::string FindSettingsFile(const std::string& dir);
// The box the model asks for, as the host's progress box.
TxxProgressSink ProgressBox();

// Sets the word, prefix and context of the insight record from the editor's cursor.
void FindInsightWord();
// The parameter list of a procedure; the edited file's from the editor text.
std::string ProcParamText(const TxxFoxProg& prog, int procIndex);

}  // namespace vemlo
