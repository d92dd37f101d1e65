// The model's routines over the editor text.
#include "host/editor_model.h"

#include "fox/insight/completion.h"
#include "fox/insight/proc_param_text.h"
#include "host/context.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"

namespace vemlo {

TxxFoxProj& FoxProj() { return Ctx().Project; }

TxxInsight& Insight() { return Ctx().Insight; }

void ResetFoxModel() {
  Ctx().Project = TxxFoxProj{};
  Ctx().Insight = TxxInsight{};
}

namespace {

constexpr const char* kProjectTopic = "ProblemResetProj";

void TellProjectProblems(const TxxProjectProblems& problems) {
  for (const TxxProjectProblem& p : problems) {
    switch (p.What) {
      case TxxProjectProblem::Kind::NoSettingsFile:
        FarMessage(kProjectTopic, {Msg(MsgId::Title), Msg(MsgId::NoSettingsFile), p.File}, 0,
                   FMSG_WARNING | FMSG_MB_OK);
        break;
      case TxxProjectProblem::Kind::NoDictTable:
        FarMessage(kProjectTopic, {Msg(MsgId::Title), Msg(MsgId::FileNotFound), Msg(p.TableName), p.File}, 0,
                   FMSG_WARNING | FMSG_MB_OK);
        break;
      case TxxProjectProblem::Kind::Read:
        TellReadProblem(p.Read, "ProblemReadDBF");
        break;
    }
  }
}

}  // namespace

TxxProgressSink ProgressBox() {
  TxxProgressSink sink;
  sink.Begin = [](MsgId what, int total) { FarProgressOpen(Msg(MsgId::Title), Msg(what), total); };
  sink.Step = FarProgressStep;
  sink.End = FarProgressClose;
  return sink;
}

void RefreshModel(bool onlyCurrent, bool force, bool wholeFile) {
  TxxPluginContext& ctx = Ctx();
  const TxxRefreshRequest request{onlyCurrent, force, wholeFile};
  FarSavedPos saved;  // reading the editor text moves the cursor
  const TxxEditedText text = EditorText();
  bool loaded = false;
  if (NeedsProjectLoad(ctx.Project, text, request)) {
    const std::string dir = ExtractFilePath(text.FileName);
    TellProjectProblems(LoadProject(ctx.Project, ctx.Ini, dir, FindSettingsFile(dir)));
    loaded = true;
  }
  TellReadProblems(RefreshInsight(ctx.Project, ctx.Insight, text, request, loaded, ProgressBox()), kProjectTopic);
}

void ScanProcedures(TxxFoxProg& prog) {
  FarSavedPos saved;
  const TxxReadStatus status = ScanProcedures(prog, EditorText(), ProgressBox());
  if (status == TxxReadStatus::ReadError) TellReadProblem(TxxReadProblem{status, prog.FileName}, kProjectTopic);
}

std::string FindSettingsFile(const std::string& dir) { return FindSettingsFile(dir, ModuleDir()); }

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
