// The editor's own handling of typed keys: editing, cursor moves, blocks, bookmarks.
#include <algorithm>

#include "editor.h"

namespace vemlo::sim {

namespace {

constexpr unsigned kAlt = RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED;
constexpr unsigned kCtrl = RIGHT_CTRL_PRESSED | LEFT_CTRL_PRESSED;

int LineCount(const EditorWindow& ed) { return static_cast<int>(ed.Lines.size()); }

// A vertical move keeps the screen column, as the host's editor does.
void MoveVertically(EditorWindow& ed, int delta) {
  int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  int line = std::clamp(ed.CurLine + delta, 0, LineCount(ed) - 1);
  ed.CurLine = line;
  ed.CurPos = TabToReal(ed.Lines[line].Text, col, ed.TabSize);
}

// The cursor move of a navigation key; false when vk is none.
bool Navigate(EditorWindow& ed, int vk, bool ctrl) {
  int rows = TextRows(ed);
  switch (vk) {
    case VK_LEFT: ed.CurPos = std::max(0, ed.CurPos - 1); return true;
    case VK_RIGHT: ++ed.CurPos; return true;
    case VK_UP: MoveVertically(ed, -1); return true;
    case VK_DOWN: MoveVertically(ed, 1); return true;
    case VK_PRIOR:
      ed.TopLine = std::max(0, ed.TopLine - (rows - 1));
      MoveVertically(ed, -(rows - 1));
      return true;
    case VK_NEXT:
      ed.TopLine = std::min(std::max(0, LineCount(ed) - 1), ed.TopLine + (rows - 1));
      MoveVertically(ed, rows - 1);
      return true;
    case VK_HOME:
      if (ctrl) ed.CurLine = 0;
      ed.CurPos = 0;
      return true;
    case VK_END:
      if (ctrl) ed.CurLine = LineCount(ed) - 1;
      ed.CurPos = static_cast<int>(ed.Lines[ed.CurLine].Text.size());
      return true;
    default: return false;
  }
}

bool IsNavigation(int vk) {
  return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR ||
         vk == VK_NEXT || vk == VK_HOME || vk == VK_END;
}

// Extends (or starts) the block from the anchor to the cursor after a move.
void ExtendBlock(EditorWindow& ed, bool column, int vk) {
  bool continuing = ed.Block.Type == (column ? BTYPE_COLUMN : BTYPE_STREAM);
  int fromCol = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  if (!continuing) {
    ed.AnchorLine = ed.CurLine;
    ed.AnchorPos = column ? fromCol : ed.CurPos;
  }
  Navigate(ed, vk, false);
  if (column) {
    int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
    ed.Block = EditorBlock{BTYPE_COLUMN, std::min(ed.AnchorLine, ed.CurLine),
                           std::min(ed.AnchorPos, col), std::max(ed.AnchorLine, ed.CurLine),
                           std::max(ed.AnchorPos, col)};
  } else {
    std::pair<int, int> a{ed.AnchorLine, ed.AnchorPos}, c{ed.CurLine, ed.CurPos};
    if (c < a) std::swap(a, c);
    ed.Block = EditorBlock{BTYPE_STREAM, a.first, a.second, c.first, c.second};
  }
  if (ed.Block.StartLine == ed.Block.EndLine && ed.Block.StartPos == ed.Block.EndPos)
    ed.Block = {};
  FollowCursor(ed);
}

}  // namespace

bool EditorHandleKey(EditorWindow& ed, const KEY_EVENT_RECORD& key) {
  if (!key.bKeyDown) return false;
  unsigned state = key.dwControlKeyState & 0x1F;
  int vk = key.wVirtualKeyCode;
  bool shift = state & SHIFT_PRESSED;
  bool ctrl = state & kCtrl;
  bool alt = state & kAlt;

  if (vk >= '0' && vk <= '9') {
    if (ctrl && shift && !alt) {
      SetBookmark(ed, vk - '0');
      return true;
    }
    if (state == RIGHT_CTRL_PRESSED) {
      GotoBookmark(ed, vk - '0');
      return true;
    }
  }
  if (IsNavigation(vk)) {
    if (alt && shift && !ctrl) {
      ExtendBlock(ed, true, vk);
    } else if (shift && !alt) {
      ExtendBlock(ed, false, vk);
    } else if (!alt) {
      ed.Block = {};
      Navigate(ed, vk, ctrl);
      FollowCursor(ed);
    } else {
      return false;
    }
    return true;
  }
  if (ctrl || alt) return false;
  switch (vk) {
    case VK_RETURN: ed.Block = {}; SplitLineAtCursor(ed, false); return true;
    case VK_BACK: ed.Block = {}; BackspaceAtCursor(ed); return true;
    case VK_DELETE: ed.Block = {}; DeleteCharAtCursor(ed); return true;
    case VK_TAB: ed.Block = {}; InsertTextAtCursor(ed, "\t"); return true;
    case VK_INSERT: ed.Overtype = !ed.Overtype; return true;
    default: break;
  }
  unsigned char ch = static_cast<unsigned char>(key.AsciiChar);
  if (ch >= 0x20 && ch != 0x7F) {
    ed.Block = {};
    InsertTextAtCursor(ed, std::string(1, static_cast<char>(ch)));
    return true;
  }
  return false;
}

}  // namespace vemlo::sim
