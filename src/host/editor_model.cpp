// The model's routines over the editor text.
#include "host/editor_model.h"

#include "fox/insight/completion.h"
#include "fox/insight/proc_param_text.h"
#include "host/context.h"
#include "host/xxfar.h"

namespace vemlo {

TxxFoxProj& FoxProj() { return Ctx().Project; }

TxxInsight& Insight() { return Ctx().Insight; }

void ResetFoxModel() {
  Ctx().Project = TxxFoxProj{};
  Ctx().Insight = TxxInsight{};
}

void FindInsightWord() {
  const EditorInfo info = FarEditorInfo();
  std::string line;
  FarGetLine(-1, line);
  FindInsightWordIn(Insight(), line, info.CurLine, info.CurPos);
}

std::string ProcParamText(const TxxFoxProg& prog, int procIndex) {
  FarSavedPos saved;  // reading the editor text moves the cursor
  return ProcParamText(prog, procIndex, EditorText());
}

}  // namespace vemlo
