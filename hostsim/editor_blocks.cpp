#include "editor_blocks.h"

#include <algorithm>

namespace vemlo::sim {

namespace {

int LineCount(const EditorWindow& ed) { return static_cast<int>(ed.Lines.size()); }

// The real range [from, to) of a column block's screen columns in line n.
void ColumnRange(const EditorWindow& ed, int n, int& from, int& to) {
  const std::u32string& t = ed.Lines[n].Text;
  const int len = static_cast<int>(t.size());
  from = std::min(TabToReal(t, ed.Block.StartPos, ed.TabSize), len);
  to = std::min(TabToReal(t, ed.Block.EndPos, ed.TabSize), len);
}

// A stream block's bounds clamped to the text.
void StreamBounds(const EditorWindow& ed, int& l1, int& p1, int& l2, int& p2) {
  const EditorBlock& b = ed.Block;
  l1 = std::clamp(b.StartLine, 0, LineCount(ed) - 1);
  l2 = std::clamp(b.EndLine, 0, LineCount(ed) - 1);
  p1 = std::clamp(b.StartPos, 0, static_cast<int>(ed.Lines[l1].Text.size()));
  p2 = std::clamp(b.EndPos, 0, static_cast<int>(ed.Lines[l2].Text.size()));
}

void Offer(const Clipboard& clip) {
  if (clip.Offer) clip.Offer(ToUtf8(clip.Joined()));
}

}  // namespace

std::u32string Clipboard::Joined() const {
  std::u32string out;
  for (size_t i = 0; i < Lines.size(); ++i) {
    if (i) out += U'\n';
    out += Lines[i];
  }
  return out;
}

bool BlockText(const EditorWindow& ed, Clipboard& out) {
  const EditorBlock& b = ed.Block;
  if (b.Type == BTYPE_NONE) return false;
  out.Lines.clear();
  if (b.Type == BTYPE_COLUMN) {
    out.Column = true;
    out.Width = b.EndPos - b.StartPos;
    for (int n = std::max(0, b.StartLine); n <= std::min(b.EndLine, LineCount(ed) - 1); ++n) {
      int from, to;
      ColumnRange(ed, n, from, to);
      out.Lines.push_back(ed.Lines[n].Text.substr(from, to - from));
    }
    return true;
  }
  out.Column = false;
  out.Width = 0;
  int l1, p1, l2, p2;
  StreamBounds(ed, l1, p1, l2, p2);
  if (l1 == l2) {
    out.Lines.push_back(ed.Lines[l1].Text.substr(p1, p2 - p1));
    return true;
  }
  out.Lines.push_back(ed.Lines[l1].Text.substr(p1));
  for (int n = l1 + 1; n < l2; ++n) out.Lines.push_back(ed.Lines[n].Text);
  out.Lines.push_back(ed.Lines[l2].Text.substr(0, p2));
  return true;
}

void CopyToClipboard(const EditorWindow& ed, Clipboard& clip) {
  if (!BlockText(ed, clip)) {
    clip.Column = false;
    clip.Width = 0;
    clip.Lines = {ed.Lines[ed.CurLine].Text, U""};
  }
  Offer(clip);
}

bool DeleteBlock(EditorWindow& ed) {
  const EditorBlock b = ed.Block;
  if (b.Type == BTYPE_NONE) return false;
  UndoStepGuard step(ed);
  if (b.Type == BTYPE_COLUMN) {
    for (int n = std::max(0, b.StartLine); n <= std::min(b.EndLine, LineCount(ed) - 1); ++n) {
      int from, to;
      ColumnRange(ed, n, from, to);
      if (to > from) {
        EditorLine line = ed.Lines[n];
        line.Text.erase(from, to - from);
        SetLine(ed, n, std::move(line));
      }
    }
    ed.Block = {};
    ed.CurLine = std::clamp(b.StartLine, 0, LineCount(ed) - 1);
    ed.CurPos = TabToReal(ed.Lines[ed.CurLine].Text, b.StartPos, ed.TabSize);
  } else {
    int l1, p1, l2, p2;
    StreamBounds(ed, l1, p1, l2, p2);
    EditorLine joined = ed.Lines[l1];
    joined.Text = joined.Text.substr(0, p1) + ed.Lines[l2].Text.substr(p2);
    joined.Eol = ed.Lines[l2].Eol;
    ed.Block = {};
    SetLine(ed, l1, std::move(joined));
    EraseLines(ed, l1 + 1, l2 - l1);
    ed.CurLine = l1;
    ed.CurPos = p1;
  }
  ed.Modified = true;
  FollowCursor(ed);
  return true;
}

bool PasteClipboard(EditorWindow& ed, const Clipboard& clip) {
  if (clip.Empty()) return false;
  if (!clip.Column) return InsertTextAtCursor(ed, clip.Joined());
  for (const std::u32string& row : clip.Lines)
    if (size_t bad = FirstUnheld(row, ed.Cp); bad != std::u32string::npos) {
      ed.Refused = row[bad];
      return false;
    }
  UndoStepGuard step(ed);
  const int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  const int startLine = ed.CurLine;
  for (size_t i = 0; i < clip.Lines.size(); ++i) {
    const int n = startLine + static_cast<int>(i);
    if (n >= LineCount(ed)) {
      EditorLine last = ed.Lines.back();
      if (last.Eol.empty()) {
        last.Eol = ed.DefaultEol;
        SetLine(ed, LineCount(ed) - 1, std::move(last));
      }
      InsertLines(ed, LineCount(ed), {EditorLine{}});
    }
    EditorLine line = ed.Lines[n];
    int pos = TabToReal(line.Text, col, ed.TabSize);
    if (pos > static_cast<int>(line.Text.size())) line.Text.append(pos - line.Text.size(), ' ');
    std::u32string piece = clip.Lines[i];
    // Rows shorter than the block keep the text to their right in its column,
    // unless nothing follows them.
    if (pos < static_cast<int>(line.Text.size()) && static_cast<int>(piece.size()) < clip.Width)
      piece.append(clip.Width - piece.size(), ' ');
    line.Text.insert(pos, piece);
    SetLine(ed, n, std::move(line));
  }
  ed.CurLine = startLine;
  ed.CurPos = TabToReal(ed.Lines[startLine].Text, col, ed.TabSize);
  ed.Modified = true;
  FollowCursor(ed);
  return true;
}

}  // namespace vemlo::sim
