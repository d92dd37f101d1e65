// The formatter command (editor command 8): the question, and the run over the
// editor text, automatic or with each new line to confirm.
#include "fox/views/formatter_run.h"

#include <optional>

#include "fox/insight/formatter.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/xxfar.h"

namespace vemlo {

namespace {

const char* const kHelpTopic = "IndentArrange";

// Shows the new line and waits for the user's verdict; false on Escape.
bool ConfirmLine(int line, const std::string& oldText, const std::string& prompt, int color) {
  const EditorInfo info = FarEditorInfo();
  FarJumpTo(TxxEditorJump{line, 0, Max(0, line - info.WindowSizeY / 2), 0}, true);
  FarApi().Text(0, info.WindowSizeY + 1, color, PadRightTo(prompt, info.WindowSizeX).c_str());
  FarFlushText();
  bool keep = false;  // the input ending stops the run like Escape
  FarKeyLoop([&](const INPUT_RECORD& rec) {
    switch (rec.KeyEvent.wVirtualKeyCode) {
      case VK_BACK:
        FarSetString(line, oldText);
        keep = true;
        return false;
      case VK_RETURN:
        keep = true;
        return false;
      case VK_F1:
        FarShowHelp(kHelpTopic);
        return true;
      case VK_ESCAPE:
        return false;
      default:
        return true;
    }
  });
  FarRedraw();
  return keep;
}

}  // namespace

void RunFormatter(bool lineByLine) {
  const TxxInsight& insight = Insight();
  const TxxFoxProc* proc = CursorProc(FoxProj(), insight);
  if (!proc) return;
  const std::string procName = proc->Name;
  const bool classMember = proc->Kind == pkMethod;

  std::string prompt;
  int color = 0;
  if (lineByLine) {
    prompt = Msg(MsgId::IndentPrompt);
    color = FarColour(COL_DIALOGTEXT);
  }
  const TxxFmtOptions options = ReadFmtOptions(PluginOptions());
  std::optional<FarProgressGuard> progress;
  if (!lineByLine)
    progress.emplace(Msg(MsgId::Title), procName, static_cast<int>(insight.Statements.size()));

  TxxFmtLines lines;
  lines.Read = [](int line, std::string& text) {
    return FarGotoLine(line, -1, -1, -1, false) && FarGetLine(-1, text);
  };
  lines.Write = [&](int line, const std::string& text) {
    if (!lineByLine) {
      FarSetString(line, text);
      return true;
    }
    std::string old;
    FarGetLine(line, old);
    FarSetString(line, text);
    return ConfirmLine(line, old, prompt, color);
  };
  lines.ScreenCol = FarScreenCol;
  lines.Step = [&](int k) {
    if (progress) FarProgressStep(k + 1);
  };
  bool finished = false;
  {
    FarSavedPos saved;  // the run moves the cursor from line to line
    finished = FormatStatements(insight.Statements, options, lines, classMember);
  }
  if (finished) SignalBeep();
  progress.reset();
  FarRedraw();
}

void FormatProcedure() {
  const TxxFoxProc* proc = CursorProc(FoxProj(), Insight());
  if (!proc) return;
  const int answer = FarMessage(kHelpTopic,
                                {Msg(MsgId::Title), Msg(MsgId::IndentQuestion), proc->Name,
                                 Msg(MsgId::IndentAutomatic), Msg(MsgId::IndentLineByLine), Msg(MsgId::IndentCancel)},
                                3, 0);
  if (answer != 0 && answer != 1) return;
  RunFormatter(answer == 1);
}

}  // namespace vemlo
