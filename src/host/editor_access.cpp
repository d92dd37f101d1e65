// Editor access: lines, the word at the cursor, jumps, bookmarks, the key bar
// and the editor's keys.
#include "host/editor.h"

#include "host/xxfar.h"

#include <cstring>

namespace vemlo {

EditorInfo FarEditorInfo() {
  EditorInfo ei;
  FarApi().EditorControl(ECTL_GETINFO, &ei);
  return ei;
}

std::string FarEditorFileName() {
  EditorInfo ei = FarEditorInfo();
  return UpperCase(ei.FileName ? ei.FileName : "");
}

bool FarGetLine(int n, EditorGetString& line) {
  line = EditorGetString{};
  line.StringNumber = n;
  return FarApi().EditorControl(ECTL_GETSTRING, &line) != 0 && line.StringText != nullptr;
}

bool FarGetLine(int n, std::string& text) {
  EditorGetString line;
  if (!FarGetLine(n, line)) return false;
  int len = line.StringLength > 0 ? line.StringLength : 0;
  const void* nul = std::memchr(line.StringText, 0, static_cast<size_t>(len));
  if (nul) len = static_cast<int>(static_cast<const char*>(nul) - line.StringText);
  text.assign(line.StringText, static_cast<size_t>(len));
  return true;
}

TxxLineReader EditorLineReader() {
  // The line is made current, then read.
  return [](int line, std::string& text) {
    return FarGotoLine(line, -1, -1, -1, false) && FarGetLine(-1, text);
  };
}

TxxEditedText EditorText() {
  const EditorInfo info = FarEditorInfo();
  TxxEditedText text;
  text.FileName = UpperCase(info.FileName ? info.FileName : "");
  text.EditorID = info.EditorID;
  text.LineCount = info.TotalLines;
  text.CursorLine = info.CurLine;
  text.CursorCol = info.CurPos;
  text.Read = EditorLineReader();
  return text;
}

std::string FarWordAtCursor(const CharSet& charSet) {
  EditorInfo ei = FarEditorInfo();
  EditorGetString line;
  if (!FarGetLine(-1, line)) return "";
  std::string text;
  FarGetLine(-1, text);
  if (line.SelStart == -1) {
    int right = 0, left = 0;
    return WordAt(text, charSet, ei.CurPos + 1, right, left);
  }
  int start = line.SelStart;
  if (start < 0 || start >= static_cast<int>(text.size())) return "";
  if (line.SelEnd == -1) return text.substr(static_cast<size_t>(start));
  int end = Min(line.SelEnd, static_cast<int>(text.size()));
  return end > start ? text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)) : "";
}

std::string FarQualifierAtCursor(const CharSet& charSet) {
  const EditorInfo ei = FarEditorInfo();
  EditorGetString line;
  std::string text;
  if (!FarGetLine(-1, line) || line.SelStart != -1 || !FarGetLine(-1, text)) return "";
  return QualifierOfWordAt(text, charSet, ei.CurPos + 1);
}

std::string FarPanelFile(bool active) {
  PanelInfo pi;
  if (!FarApi().Control(VEMLO_INVALID_HANDLE_VALUE,
                        active ? FCTL_GETPANELINFO : FCTL_GETANOTHERPANELINFO, &pi))
    return "";
  std::string dir = TrimRight(pi.CurDir);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  if (pi.PanelItems && pi.CurrentItem >= 0 && pi.CurrentItem < pi.ItemsNumber)
    dir += pi.PanelItems[pi.CurrentItem].FileName;
  return dir;
}

void FarJumpTo(const TxxEditorJump& jump, bool redraw) {
  EditorSetPosition pos;
  pos.CurLine = jump.Line;
  pos.CurPos = jump.Col;
  pos.TopScreenLine = jump.Top;
  pos.LeftPos = jump.Left;
  FarApi().EditorControl(ECTL_SETPOSITION, &pos);
  if (redraw) FarRedraw();
}

bool FarGotoLine(int line, int rowsAbove, int leftPos, int column, bool redraw) {
  EditorInfo ei = FarEditorInfo();
  if (line < 0 || line > ei.TotalLines - 1) return false;
  int top = -1;
  if (rowsAbove != -1) {
    top = Max(0, line - rowsAbove);
    if (rowsAbove > 0) top = Max(top, line - ei.WindowSizeY + 2);
  }
  FarJumpTo(TxxEditorJump{line, column, top, leftPos}, redraw);
  return true;
}

void FarRestorePos(const EditorInfo& info, bool redraw) {
  FarJumpTo(TxxEditorJump{info.CurLine, info.CurPos, info.TopScreenLine, info.LeftPos}, redraw);
}

bool FarGetBookmarks(TxxFarBookmarkArr& list) {
  EditorInfo ei = FarEditorInfo();
  int count = Max(0, ei.BookMarkCount);
  std::vector<long> lines(count), cols(count), screens(count), lefts(count);
  EditorBookMarks bm;
  bm.Line = lines.data();
  bm.Cursor = cols.data();
  bm.ScreenLine = screens.data();
  bm.LeftPos = lefts.data();
  if (!FarApi().EditorControl(ECTL_GETBOOKMARKS, &bm)) return false;
  // Sorted by text position (line, then column, then slot); unset slots left out.
  std::vector<bool> taken(count, false);
  TxxFarBookmarkArr result;
  for (int n = 0; n < count; ++n) {
    int best = -1;
    for (int i = 0; i < count; ++i) {
      if (taken[i] || lines[i] < 0) continue;
      if (best < 0 || lines[i] < lines[best] || (lines[i] == lines[best] && cols[i] < cols[best]))
        best = i;
    }
    if (best < 0) break;
    taken[best] = true;
    result.push_back(TxxFarBookmark{best, static_cast<int>(lines[best]), static_cast<int>(cols[best]),
                                    static_cast<int>(screens[best]), static_cast<int>(lefts[best])});
  }
  list = std::move(result);
  return true;
}

int FarScreenCol(int line, int pos) {
  EditorConvertPos cp;
  cp.StringNumber = line;
  cp.SrcPos = pos;
  cp.DestPos = pos;
  FarApi().EditorControl(ECTL_REALTOTAB, &cp);
  return cp.DestPos;
}

int FarCursorScreenX(const EditorInfo& info) { return FarScreenCol(-1, info.CurPos) - info.LeftPos; }

int FarCursorScreenY(const EditorInfo& info) { return info.CurLine - info.TopScreenLine; }

void FarRedraw() { FarApi().EditorControl(ECTL_REDRAW, nullptr); }

void FarInsertText(const std::string& text) {
  FarApi().EditorControl(ECTL_INSERTTEXT, const_cast<char*>(text.c_str()));
}

void FarProcessInput(const INPUT_RECORD& rec) {
  INPUT_RECORD copy = rec;
  FarApi().EditorControl(ECTL_PROCESSINPUT, &copy);
}

void FarDeleteChars(int count) {
  for (int n = count; n > 0; --n) FarApi().EditorControl(ECTL_DELETECHAR, nullptr);
}

void FarInsertLine() {
  int indent = 0;
  FarApi().EditorControl(ECTL_INSERTSTRING, &indent);
}

void FarSetString(int line, const std::string& text) {
  EditorGetString old;
  std::string eol;
  if (FarGetLine(line, old) && old.StringEOL) eol = old.StringEOL;
  EditorSetString es;
  es.StringNumber = line;
  es.StringText = text.c_str();
  es.StringEOL = eol.c_str();
  es.StringLength = static_cast<int>(text.size());
  FarApi().EditorControl(ECTL_SETSTRING, &es);
}

std::optional<INPUT_RECORD> FarReadKey(bool skipModifiers) {
  for (;;) {
    INPUT_RECORD rec;
    if (!FarApi().EditorControl(ECTL_READINPUT, &rec)) return std::nullopt;
    if (rec.EventType != KEY_EVENT || !rec.KeyEvent.bKeyDown) continue;
    const int vk = rec.KeyEvent.wVirtualKeyCode;
    if (skipModifiers && vk >= VK_SHIFT && vk <= VK_MENU) continue;
    return rec;
  }
}

bool FarKeyLoop(const std::function<bool(const INPUT_RECORD&)>& onKey) {
  while (std::optional<INPUT_RECORD> rec = FarReadKey())
    if (!onKey(*rec)) return true;
  return false;
}

FarSavedPos::FarSavedPos(bool redraw) : info_(FarEditorInfo()), redraw_(redraw) {}

FarSavedPos::~FarSavedPos() { FarRestorePos(info_, redraw_); }

FarKeyBarGuard::FarKeyBarGuard(const std::array<std::string, 12>& labels) : labels_(labels) {
  for (size_t k = 0; k < labels_.size(); ++k) {
    char* label = labels_[k].empty() ? empty_ : labels_[k].data();
    titles_.Titles[k] = label;
    titles_.CtrlTitles[k] = label;
    titles_.CtrlAltTitles[k] = label;
    titles_.AltTitles[k] = empty_;
    titles_.ShiftTitles[k] = empty_;
    titles_.CtrlShiftTitles[k] = empty_;
    titles_.AltShiftTitles[k] = empty_;
  }
  FarApi().EditorControl(ECTL_SETKEYBAR, &titles_);
}

FarKeyBarGuard::~FarKeyBarGuard() { FarApi().EditorControl(ECTL_SETKEYBAR, nullptr); }

}  // namespace vemlo
