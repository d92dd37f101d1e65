#include "editor.h"

#include <algorithm>

#include "platform/platform.h"

namespace vemlo::sim {

int TextRows(const EditorWindow& ed) {
  return std::max(1, ed.Y2 - ed.Y1 + 1 - 1 - (ed.ShowKeyBar ? 1 : 0));
}

int TextCols(const EditorWindow& ed) { return std::max(1, ed.X2 - ed.X1 + 1); }

void SetEditorText(EditorWindow& ed, const std::string& bytes) {
  ed.Lines.clear();
  size_t pos = 0;
  bool eolSeen = false;
  while (true) {
    size_t nl = bytes.find('\n', pos);
    if (nl == std::string::npos) {
      ed.Lines.push_back({bytes.substr(pos), ""});
      break;
    }
    EditorLine line;
    if (nl > pos && bytes[nl - 1] == '\r') {
      line.Text = bytes.substr(pos, nl - 1 - pos);
      line.Eol = "\r\n";
    } else {
      line.Text = bytes.substr(pos, nl - pos);
      line.Eol = "\n";
    }
    if (!eolSeen) ed.DefaultEol = line.Eol;
    eolSeen = true;
    ed.Lines.push_back(std::move(line));
    pos = nl + 1;
  }
  ed.CurLine = ed.CurPos = ed.TopLine = ed.LeftPos = 0;
  ed.Block = {};
  ed.Modified = false;
}

std::string EditorText(const EditorWindow& ed) {
  std::string out;
  for (const auto& l : ed.Lines) out += l.Text + l.Eol;
  return out;
}

bool LoadEditorFile(EditorWindow& ed, const std::string& dosPath) {
  platform::InFile in;
  if (!in.Open(dosPath)) return false;
  std::string bytes;
  char buf[65536];
  for (int64_t off = 0;;) {
    int64_t n = in.ReadAt(off, buf, sizeof buf);
    if (n < 0) return false;
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
    off += n;
  }
  ed.FileName = dosPath;
  SetEditorText(ed, bytes);
  return true;
}

bool SaveEditorFile(EditorWindow& ed) {
  platform::OutFile out;
  if (!out.Create(ed.FileName)) return false;
  out.Write(EditorText(ed));
  if (!out.Close()) return false;
  if (ed.Modified) ed.SavedChange = true;
  ed.Modified = false;
  return true;
}

int RealToTab(const std::string& line, int pos, int tabSize) {
  int col = 0;
  int n = std::min<int>(pos, static_cast<int>(line.size()));
  for (int i = 0; i < n; ++i) col = line[i] == '\t' ? (col / tabSize + 1) * tabSize : col + 1;
  return col + std::max(0, pos - n);
}

int TabToReal(const std::string& line, int col, int tabSize) {
  int c = 0;
  for (int i = 0; i < static_cast<int>(line.size()); ++i) {
    int next = line[i] == '\t' ? (c / tabSize + 1) * tabSize : c + 1;
    if (col < next) return i;
    c = next;
  }
  return static_cast<int>(line.size()) + std::max(0, col - c);
}

std::string ExpandTabs(const std::string& line, int tabSize) {
  std::string out;
  for (char c : line) {
    if (c == '\t')
      out.append(tabSize - out.size() % tabSize, ' ');
    else
      out += c;
  }
  return out;
}

void SelectionInLine(const EditorWindow& ed, int n, int& selStart, int& selEnd) {
  selStart = selEnd = -1;
  const EditorBlock& b = ed.Block;
  if (b.Type == BTYPE_NONE || n < b.StartLine || n > b.EndLine) return;
  if (n < 0 || n >= static_cast<int>(ed.Lines.size())) return;
  if (b.Type == BTYPE_COLUMN) {
    const std::string& t = ed.Lines[n].Text;
    selStart = TabToReal(t, b.StartPos, ed.TabSize);
    selEnd = TabToReal(t, b.EndPos, ed.TabSize);
    return;
  }
  selStart = n == b.StartLine ? b.StartPos : 0;
  selEnd = n == b.EndLine ? b.EndPos : -1;
}

namespace {

void Touch(EditorWindow& ed) { ed.Modified = true; }

EditorLine& CursorLine(EditorWindow& ed) { return ed.Lines[ed.CurLine]; }

// Bookmarks follow the lines they are on when lines come and go.
void ShiftBookmarks(EditorWindow& ed, int fromLine, int delta) {
  for (auto& b : ed.Bookmarks) {
    if (b.Line < 0 || b.Line < fromLine) continue;
    b.Line = std::max(fromLine, b.Line + delta);
    if (delta < 0 && b.Line >= static_cast<int>(ed.Lines.size()))
      b.Line = static_cast<int>(ed.Lines.size()) - 1;
  }
}

// Pads the cursor line with blanks up to the cursor when the cursor lies past its end.
void PadToCursor(EditorWindow& ed) {
  std::string& t = CursorLine(ed).Text;
  if (static_cast<int>(t.size()) < ed.CurPos) t.append(ed.CurPos - t.size(), ' ');
}

}  // namespace

void InsertTextAtCursor(EditorWindow& ed, const std::string& text) {
  std::string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    PadToCursor(ed);
    std::string& t = CursorLine(ed).Text;
    if (ed.Overtype)
      t.replace(ed.CurPos, std::min(pending.size(), t.size() - ed.CurPos), pending);
    else
      t.insert(ed.CurPos, pending);
    ed.CurPos += static_cast<int>(pending.size());
    pending.clear();
    Touch(ed);
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      flush();
      SplitLineAtCursor(ed, false);
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      pending += c;
    }
  }
  flush();
  FollowCursor(ed);
}

void SplitLineAtCursor(EditorWindow& ed, bool indent) {
  EditorLine& cur = CursorLine(ed);
  int at = std::min<int>(ed.CurPos, static_cast<int>(cur.Text.size()));
  EditorLine next{cur.Text.substr(at), cur.Eol};
  cur.Text.erase(at);
  cur.Eol = ed.DefaultEol;
  std::string lead;
  if (indent) {
    size_t n = cur.Text.find_first_not_of(" \t");
    lead = cur.Text.substr(0, n == std::string::npos ? cur.Text.size() : n);
    next.Text = lead + next.Text;
  }
  ed.Lines.insert(ed.Lines.begin() + ed.CurLine + 1, std::move(next));
  ShiftBookmarks(ed, ed.CurLine + 1, 1);
  ++ed.CurLine;
  ed.CurPos = static_cast<int>(lead.size());
  Touch(ed);
  FollowCursor(ed);
}

void DeleteCharAtCursor(EditorWindow& ed) {
  EditorLine& cur = CursorLine(ed);
  if (ed.CurPos < static_cast<int>(cur.Text.size())) {
    cur.Text.erase(ed.CurPos, 1);
    Touch(ed);
    return;
  }
  if (ed.CurLine + 1 >= static_cast<int>(ed.Lines.size())) return;
  PadToCursor(ed);
  EditorLine& line = CursorLine(ed);
  line.Text += ed.Lines[ed.CurLine + 1].Text;
  line.Eol = ed.Lines[ed.CurLine + 1].Eol;
  ed.Lines.erase(ed.Lines.begin() + ed.CurLine + 1);
  ShiftBookmarks(ed, ed.CurLine + 1, -1);
  Touch(ed);
}

void BackspaceAtCursor(EditorWindow& ed) {
  if (ed.CurPos > 0) {
    --ed.CurPos;
    if (ed.CurPos < static_cast<int>(CursorLine(ed).Text.size())) {
      CursorLine(ed).Text.erase(ed.CurPos, 1);
      Touch(ed);
    }
  } else if (ed.CurLine > 0) {
    --ed.CurLine;
    ed.CurPos = static_cast<int>(CursorLine(ed).Text.size());
    DeleteCharAtCursor(ed);
  }
  FollowCursor(ed);
}

void DeleteCursorLine(EditorWindow& ed) {
  if (ed.Lines.size() == 1) {
    ed.Lines[0] = EditorLine{};
  } else {
    bool last = ed.CurLine + 1 == static_cast<int>(ed.Lines.size());
    ed.Lines.erase(ed.Lines.begin() + ed.CurLine);
    ShiftBookmarks(ed, ed.CurLine, -1);
    if (last) {
      --ed.CurLine;
      ed.Lines.back().Eol = "";
    }
  }
  ed.CurPos = std::min<int>(ed.CurPos, static_cast<int>(CursorLine(ed).Text.size()));
  Touch(ed);
  FollowCursor(ed);
}

void ReplaceLine(EditorWindow& ed, int n, const std::string& text, const char* eol) {
  EditorLine& line = ed.Lines[n];
  line.Text = text;
  if (eol) line.Eol = eol;
  // Only the last line goes without a line end.
  if (line.Eol.empty() && n + 1 < static_cast<int>(ed.Lines.size())) line.Eol = ed.DefaultEol;
  Touch(ed);
}

void FollowCursor(EditorWindow& ed) {
  int rows = TextRows(ed), cols = TextCols(ed);
  int last = static_cast<int>(ed.Lines.size()) - 1;
  ed.TopLine = std::clamp(ed.TopLine, 0, std::max(0, last));
  if (ed.CurLine < ed.TopLine) ed.TopLine = ed.CurLine;
  if (ed.CurLine >= ed.TopLine + rows) ed.TopLine = ed.CurLine - rows + 1;
  int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  ed.LeftPos = std::max(0, ed.LeftPos);
  if (col < ed.LeftPos) ed.LeftPos = col;
  if (col >= ed.LeftPos + cols) ed.LeftPos = col - cols + 1;
}

void MoveCursor(EditorWindow& ed, int line, int pos) {
  ed.CurLine = std::clamp(line, 0, static_cast<int>(ed.Lines.size()) - 1);
  ed.CurPos = std::max(0, pos);
  FollowCursor(ed);
}

void SetBookmark(EditorWindow& ed, int n) {
  if (n < 0 || n >= static_cast<int>(ed.Bookmarks.size())) return;
  ed.Bookmarks[n] = Bookmark{ed.CurLine, ed.CurPos, ed.CurLine - ed.TopLine, ed.LeftPos};
}

bool GotoBookmark(EditorWindow& ed, int n) {
  if (n < 0 || n >= static_cast<int>(ed.Bookmarks.size())) return false;
  const Bookmark& b = ed.Bookmarks[n];
  if (b.Line < 0) return false;
  ed.CurLine = std::clamp(b.Line, 0, static_cast<int>(ed.Lines.size()) - 1);
  ed.CurPos = b.Pos;
  ed.TopLine = std::max(0, ed.CurLine - b.ScreenLine);
  ed.LeftPos = b.LeftPos;
  FollowCursor(ed);
  return true;
}

}  // namespace vemlo::sim
