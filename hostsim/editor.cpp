#include "editor.h"

#include <algorithm>

namespace vemlo::sim {

int TextRows(const EditorWindow& ed) {
  return std::max(1, ed.Y2 - ed.Y1 + 1 - 1 - (ed.ShowKeyBar ? 1 : 0));
}

int TextCols(const EditorWindow& ed) { return std::max(1, ed.X2 - ed.X1 + 1); }

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Splits bytes into lines with their line ends (no text conversion yet).
struct RawLine {
  std::string Bytes, Eol;
};

std::vector<RawLine> SplitLines(std::string_view bytes) {
  std::vector<RawLine> lines;
  size_t pos = 0;
  while (true) {
    size_t nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) {
      lines.push_back({std::string(bytes.substr(pos)), ""});
      return lines;
    }
    if (nl > pos && bytes[nl - 1] == '\r')
      lines.push_back({std::string(bytes.substr(pos, nl - 1 - pos)), "\r\n"});
    else
      lines.push_back({std::string(bytes.substr(pos, nl - pos)), "\n"});
    pos = nl + 1;
  }
}

}  // namespace

void SetEditorText(EditorWindow& ed, const std::string& bytes) {
  std::string_view body = bytes;
  ed.Bom = ed.Cp == CodePage::Utf8 && body.substr(0, kBom.size()) == kBom;
  if (ed.Bom) body.remove_prefix(kBom.size());
  ed.Lines.clear();
  bool eolSeen = false;
  for (RawLine& raw : SplitLines(body)) {
    if (!eolSeen && !raw.Eol.empty()) {
      ed.DefaultEol = raw.Eol;
      eolSeen = true;
    }
    ed.Lines.push_back({DecodeBytes(raw.Bytes, ed.Cp), std::move(raw.Eol)});
  }
  ed.CurLine = ed.CurPos = ed.TopLine = ed.LeftPos = 0;
  ed.Block = {};
  ed.Modified = false;
  ForgetUndo(ed);
}

std::string EditorText(const EditorWindow& ed) {
  std::string out = ed.Bom ? std::string(kBom) : std::string();
  std::string bytes;
  for (const auto& l : ed.Lines) {
    // The text holds only what its code page holds; a character that slipped
    // through would be a fault, and is written as '?' rather than dropped.
    if (!EncodeText(l.Text, ed.Cp, bytes)) {
      bytes.clear();
      for (char32_t c : l.Text) {
        std::string one;
        bytes += EncodeText(std::u32string(1, c), ed.Cp, one) ? one : "?";
      }
    }
    out += bytes + l.Eol;
  }
  return out;
}

void ReinterpretCodePage(EditorWindow& ed, CodePage cp) {
  if (cp == ed.Cp) return;
  UndoStepGuard step(ed);
  std::string bytes;
  std::vector<std::u32string> fresh;
  for (size_t i = 0; i < ed.Lines.size(); ++i) {
    EncodeText(ed.Lines[i].Text, ed.Cp, bytes);
    if (i == 0 && ed.Bom) bytes.insert(0, kBom);
    fresh.push_back(DecodeBytes(bytes, cp));
  }
  bool bom = cp == CodePage::Utf8 && !fresh.empty() && !fresh[0].empty() && fresh[0][0] == 0xFEFF;
  if (bom) fresh[0].erase(0, 1);
  ed.Cp = cp;
  ed.Bom = bom;
  for (size_t i = 0; i < fresh.size(); ++i)
    if (fresh[i] != ed.Lines[i].Text) SetLine(ed, static_cast<int>(i), {fresh[i], ed.Lines[i].Eol});
  ed.Block = {};
  ed.CurPos = std::min<int>(ed.CurPos, static_cast<int>(ed.Lines[ed.CurLine].Text.size()));
  FollowCursor(ed);
}

template <class Str>
static int RealToTabT(const Str& line, int pos, int tabSize) {
  int col = 0;
  int n = std::min<int>(pos, static_cast<int>(line.size()));
  for (int i = 0; i < n; ++i) col = line[i] == '\t' ? (col / tabSize + 1) * tabSize : col + 1;
  return col + std::max(0, pos - n);
}

int RealToTab(const std::u32string& line, int pos, int tabSize) { return RealToTabT(line, pos, tabSize); }

int TabToReal(const std::u32string& line, int col, int tabSize) {
  int c = 0;
  for (int i = 0; i < static_cast<int>(line.size()); ++i) {
    int next = line[i] == '\t' ? (c / tabSize + 1) * tabSize : c + 1;
    if (col < next) return i;
    c = next;
  }
  return static_cast<int>(line.size()) + std::max(0, col - c);
}

std::u32string ExpandTabs(const std::u32string& line, int tabSize) {
  std::u32string out;
  for (char32_t c : line) {
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
    const std::u32string& t = ed.Lines[n].Text;
    selStart = TabToReal(t, b.StartPos, ed.TabSize);
    selEnd = TabToReal(t, b.EndPos, ed.TabSize);
    return;
  }
  selStart = n == b.StartLine ? b.StartPos : 0;
  selEnd = n == b.EndLine ? b.EndPos : -1;
}

namespace {

// Bookmarks follow the lines they are on when lines come and go.
void ShiftBookmarks(EditorWindow& ed, int fromLine, int delta) {
  for (auto& b : ed.Bookmarks) {
    if (b.Line < 0 || b.Line < fromLine) continue;
    b.Line = std::max(fromLine, b.Line + delta);
    if (delta < 0 && b.Line >= static_cast<int>(ed.Lines.size()))
      b.Line = static_cast<int>(ed.Lines.size()) - 1;
  }
}

const EditorLine& CursorLine(const EditorWindow& ed) { return ed.Lines[ed.CurLine]; }

// Changes the text of line n through `edit`.
template <class Edit>
void EditText(EditorWindow& ed, int n, Edit edit) {
  EditorLine line = ed.Lines[n];
  edit(line.Text);
  SetLine(ed, n, std::move(line));
}

// Pads the cursor line with blanks up to the cursor when the cursor lies past its end.
void PadToCursor(EditorWindow& ed) {
  if (static_cast<int>(CursorLine(ed).Text.size()) < ed.CurPos)
    EditText(ed, ed.CurLine, [&](std::u32string& t) { t.append(ed.CurPos - t.size(), ' '); });
}

}  // namespace

void SetLine(EditorWindow& ed, int n, EditorLine line) {
  if (ed.Lines[n] == line) return;
  RecordOp(ed, UndoOp{UndoOp::Kind::Set, n, {ed.Lines[n]}, {line}});
  ed.Lines[n] = std::move(line);
  ed.Modified = true;
}

void InsertLines(EditorWindow& ed, int at, std::vector<EditorLine> lines) {
  if (lines.empty()) return;
  RecordOp(ed, UndoOp{UndoOp::Kind::Insert, at, {}, lines});
  const int count = static_cast<int>(lines.size());
  ed.Lines.insert(ed.Lines.begin() + at, std::make_move_iterator(lines.begin()),
                  std::make_move_iterator(lines.end()));
  ShiftBookmarks(ed, at, count);
  ed.Modified = true;
}

void EraseLines(EditorWindow& ed, int at, int count) {
  if (count <= 0) return;
  RecordOp(ed, UndoOp{UndoOp::Kind::Erase, at,
                      std::vector<EditorLine>(ed.Lines.begin() + at, ed.Lines.begin() + at + count), {}});
  ed.Lines.erase(ed.Lines.begin() + at, ed.Lines.begin() + at + count);
  ShiftBookmarks(ed, at, -count);
  ed.Modified = true;
}

bool InsertTextAtCursor(EditorWindow& ed, const std::u32string& text) {
  for (char32_t c : text)
    if (c != '\r' && c != '\n' && !CanHold(ed.Cp, c)) {
      ed.Refused = c;
      return false;
    }
  UndoStepGuard step(ed);
  std::u32string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    PadToCursor(ed);
    EditText(ed, ed.CurLine, [&](std::u32string& t) {
      if (ed.Overtype)
        t.replace(ed.CurPos, std::min(pending.size(), t.size() - ed.CurPos), pending);
      else
        t.insert(ed.CurPos, pending);
    });
    ed.CurPos += static_cast<int>(pending.size());
    pending.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
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
  return true;
}

void SplitLineAtCursor(EditorWindow& ed, bool indent) {
  UndoStepGuard step(ed);
  EditorLine cur = CursorLine(ed);
  int at = std::min<int>(ed.CurPos, static_cast<int>(cur.Text.size()));
  EditorLine next{cur.Text.substr(at), cur.Eol};
  cur.Text.erase(at);
  cur.Eol = ed.DefaultEol;
  std::u32string lead;
  if (indent) {
    size_t n = cur.Text.find_first_not_of(U" \t");
    lead = cur.Text.substr(0, n == std::u32string::npos ? cur.Text.size() : n);
    next.Text = lead + next.Text;
  }
  SetLine(ed, ed.CurLine, std::move(cur));
  InsertLines(ed, ed.CurLine + 1, {std::move(next)});
  ++ed.CurLine;
  ed.CurPos = static_cast<int>(lead.size());
  ed.Modified = true;
  FollowCursor(ed);
}

void DeleteCharAtCursor(EditorWindow& ed) {
  UndoStepGuard step(ed);
  if (ed.CurPos < static_cast<int>(CursorLine(ed).Text.size())) {
    EditText(ed, ed.CurLine, [&](std::u32string& t) { t.erase(ed.CurPos, 1); });
    return;
  }
  if (ed.CurLine + 1 >= static_cast<int>(ed.Lines.size())) return;
  PadToCursor(ed);
  EditorLine joined = CursorLine(ed);
  joined.Text += ed.Lines[ed.CurLine + 1].Text;
  joined.Eol = ed.Lines[ed.CurLine + 1].Eol;
  SetLine(ed, ed.CurLine, std::move(joined));
  EraseLines(ed, ed.CurLine + 1, 1);
}

void BackspaceAtCursor(EditorWindow& ed) {
  UndoStepGuard step(ed);
  if (ed.CurPos > 0) {
    --ed.CurPos;
    if (ed.CurPos < static_cast<int>(CursorLine(ed).Text.size()))
      EditText(ed, ed.CurLine, [&](std::u32string& t) { t.erase(ed.CurPos, 1); });
  } else if (ed.CurLine > 0) {
    --ed.CurLine;
    ed.CurPos = static_cast<int>(CursorLine(ed).Text.size());
    DeleteCharAtCursor(ed);
  }
  FollowCursor(ed);
}

void DeleteCursorLine(EditorWindow& ed) {
  UndoStepGuard step(ed);
  if (ed.Lines.size() == 1) {
    SetLine(ed, 0, EditorLine{});
  } else {
    bool last = ed.CurLine + 1 == static_cast<int>(ed.Lines.size());
    EraseLines(ed, ed.CurLine, 1);
    if (last) {
      --ed.CurLine;
      EditorLine l = ed.Lines.back();
      l.Eol = "";
      SetLine(ed, static_cast<int>(ed.Lines.size()) - 1, std::move(l));
    }
  }
  ed.CurPos = std::min<int>(ed.CurPos, static_cast<int>(CursorLine(ed).Text.size()));
  ed.Modified = true;
  FollowCursor(ed);
}

void ReplaceLine(EditorWindow& ed, int n, const std::u32string& text, const char* eol) {
  UndoStepGuard step(ed);
  EditorLine line = ed.Lines[n];
  line.Text = text;
  if (eol) line.Eol = eol;
  // Only the last line goes without a line end.
  if (line.Eol.empty() && n + 1 < static_cast<int>(ed.Lines.size())) line.Eol = ed.DefaultEol;
  SetLine(ed, n, std::move(line));
  ed.Modified = true;
}

void FollowCursor(EditorWindow& ed) {
  int rows = TextRows(ed), cols = TextCols(ed);
  int last = static_cast<int>(ed.Lines.size()) - 1;
  ed.CurLine = std::clamp(ed.CurLine, 0, std::max(0, last));
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
