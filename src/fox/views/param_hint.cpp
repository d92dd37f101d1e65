// The parameter hint (editor command 2): the box beside the cursor and its key loop.
#include "fox/views/param_hint.h"

#include "help/vemlohlp.h"
#include "fox/insight/proc_param_text.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr const char* kHelpTopic = "ParamsHint";

}  // namespace

TxxParamArr ScanOpenCalls() {
  const EditorInfo info = FarEditorInfo();
  const TxxLineReader read = [](int n, std::string& text) { return FarGetLine(n, text); };
  return OpenCallsIn(TextBeforeCursor(read, info.CurLine, info.CurPos));
}

void DrawParamHint(TxxParamHint& hint) {
  FarRedraw();
  const EditorInfo info = FarEditorInfo();
  const int x = info.WindowSizeX;
  const int y = info.WindowSizeY;
  hint.Lines = WrapParamText(hint.Text, x);
  const int rows = static_cast<int>(hint.Lines.size());
  int w = 5;
  for (const std::string& line : hint.Lines) w = Max(w, static_cast<int>(line.size()));
  hint.Width = w;
  const int r = FarCursorScreenY(info);
  int top = r + 2;
  if (y < r + rows + 1) top = r - rows;
  hint.Top = Max(0, top);
  const int c = FarCursorScreenX(info);
  int left = c - 1;
  if (x < c + w) left = x - w - 1;
  hint.Left = Max(0, left);
  for (int k = 0; k < rows; ++k)
    FarApi().Text(hint.Left, hint.Top + k, hint.BoxColour, PadRightTo(hint.Lines[k], w).c_str());
  for (const TxxHintPiece& piece : HighlightPieces(hint.Lines, hint.ParamNo))
    FarApi().Text(hint.Left + piece.Col, hint.Top + piece.Line, hint.HighColour, piece.Text.c_str());
  FarFlushText();
}

void ShowParamHint() {
  const TxxParamArr calls = ScanOpenCalls();
  if (calls.empty()) return;
  TxxParamHint hint;
  hint.Name = calls.back().Name;
  hint.ParamNo = calls.back().ParamNo;
  const TxxFoxProj& proj = FoxProj();
  int file = -1;
  int proc = -1;
  const TxxInsight& in = Insight();
  const bool thisDot = UpperCase(hint.Name).compare(0, 5, "THIS.") == 0;
  if (!thisDot && FindFoxProc(hint.Name, proj, file, proc))
    hint.Text = ProcParamText(proj.Progs[file], proc);
  else if (FindMethod(hint.Name, proj, in.ProgIndex, in.ProcIndex, file, proc))
    hint.Text = ProcParamText(proj.Progs[file], proc);
  else
    hint.Text = HelpParamText(hint.Name);  // a FoxPro function: its syntax from the help base
  if (IsBlank(hint.Text)) {
    SignalBeep();
    return;
  }
  hint.BoxColour = FarColour(COL_DIALOGTEXT);
  hint.HighColour = FarColour(COL_DIALOGHIGHLIGHTTEXT);
  DrawParamHint(hint);
  // Keys go on to the editor; the hint follows the call until the cursor leaves it.
  FarKeyLoop([&hint](const INPUT_RECORD& rec) {
    const int vk = rec.KeyEvent.wVirtualKeyCode;
    if (vk == VK_ESCAPE || vk == VK_F10) return false;
    if (vk == VK_F1) {
      FarShowHelp(kHelpTopic);
      return true;
    }
    if ((vk >= VK_F2 && vk <= VK_F9) || vk == VK_F11 || vk == VK_F12) return true;
    FarProcessInput(rec);
    const TxxParamArr now = ScanOpenCalls();
    for (auto it = now.rbegin(); it != now.rend(); ++it) {
      if (it->Name != hint.Name) continue;
      hint.ParamNo = it->ParamNo;
      DrawParamHint(hint);
      return true;
    }
    return false;
  });
  FarRedraw();
}

}  // namespace vemlo
