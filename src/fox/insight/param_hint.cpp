// Parameter hints: the open calls before the cursor, the hint box and its key loop.
#include "fox/insight/param_hint.h"

#include "fox/insight/proc_param_text.h"
#include "fox/model/project.h"
#include "help/vemlohlp.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr const char* kHelpTopic = "ParamsHint";

bool IsLineBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

bool IsContinued(const std::string& line) {
  size_t n = line.size();
  while (n > 0 && IsLineBlank(line[n - 1])) --n;
  return n > 0 && line[n - 1] == ';';
}

}  // namespace

std::string TextBeforeCursor(const TxxLineReader& read, int cursorLine, int cursorCol) {
  std::string line;
  if (!read(cursorLine, line)) line.clear();
  std::string text = PadRightTo(line, cursorCol);
  for (int n = cursorLine - 1; n >= 0; --n) {
    if (!read(n, line) || !IsContinued(line)) break;
    text = line + text;
  }
  return text;
}

TxxParamArr OpenCallsIn(const std::string& t) {
  TxxParamArr stack;
  const size_t len = t.size();
  size_t i = 0;
  while (i < len) {
    const char c = t[i];
    if (c == '&' && i + 1 < len && t[i + 1] == '&') {
      stack.clear();
      break;
    }
    if (c == '\'' || c == '"' || c == '[') {
      const char close = c == '[' ? ']' : c;
      const size_t end = t.find(close, i + 1);
      i = end == std::string::npos ? len : end + 1;
      continue;
    }
    if (InSet(IdentStartChars, c) && (i == 0 || (!InSet(IdentChars, t[i - 1]) && t[i - 1] != '.'))) {
      size_t j = i;
      while (j < len && InSet(IdentChars, t[j])) ++j;
      const std::string name = t.substr(i, j - i);
      while (j < len && IsLineBlank(t[j])) ++j;
      if (j >= len) break;
      if (t[j] == '(' || UpperCase(Trim(t.substr(j, 5))) == "WITH") stack.push_back(TxxParam{name, 1});
      i = j;
      continue;
    }
    if (c == ',' && !stack.empty()) ++stack.back().ParamNo;
    if (c == ')' && !stack.empty()) stack.pop_back();
    ++i;
  }
  return stack;
}

TxxParamArr ScanOpenCalls() {
  const EditorInfo info = FarEditorInfo();
  const TxxLineReader read = [](int n, std::string& text) { return FarGetLine(n, text); };
  return OpenCallsIn(TextBeforeCursor(read, info.CurLine, info.CurPos));
}

std::vector<std::string> WrapParamText(const std::string& text, int windowWidth) {
  // A window too narrow for any text still gets one character a line.
  const int limit = Max(1, windowWidth - 3);
  static const CharSet kBreaks = MakeCharSet(" ,;");
  std::vector<std::string> lines;
  std::string s = text + " ";
  while (static_cast<int>(s.size()) > limit) {
    const std::string part = s.substr(0, static_cast<size_t>(limit));
    int cut = LastCharIn(part, kBreaks);
    if (cut == 0) cut = limit;
    lines.push_back(" " + Trim(part.substr(0, static_cast<size_t>(cut))) + " ");
    s = s.substr(static_cast<size_t>(cut));
  }
  lines.push_back(" " + Trim(s) + " ");
  return lines;
}

std::vector<TxxHintPiece> HighlightPieces(const std::vector<std::string>& lines, int paramNo) {
  static const CharSet kStrip = MakeCharSet("\t ()[],");
  std::vector<TxxHintPiece> pieces;
  int counter = 1;
  for (size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    const int len = static_cast<int>(line.size());
    int start = 0;  // 0-based index of the segment's first character
    for (int pos = 0; pos <= len; ++pos) {
      const bool real = pos < len && (line[pos] == ')' || line[pos] == ',');
      if (pos < len && !real) continue;
      if (counter == paramNo) {
        int a = start;
        int b = Min(pos, len - 1);  // inclusive end; the ending character is stripped anyway
        while (a <= b && InSet(kStrip, line[a])) ++a;
        while (b >= a && InSet(kStrip, line[b])) --b;
        if (a <= b) pieces.push_back(TxxHintPiece{static_cast<int>(l), a, line.substr(a, b - a + 1)});
        if (real) return pieces;
      }
      if (real) ++counter;
      start = pos;
    }
  }
  return pieces;
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
  if (FindFoxProc(hint.Name, proj, file, proc))
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
