// The editor's own handling of typed keys: editing, cursor moves, blocks, the
// clipboard, bookmarks and undo, with the keys of the real host's editor.
#include <algorithm>

#include "editor.h"
#include "editor_blocks.h"
#include "editor_search.h"

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

// Ctrl+Left/Right: to the start of the word before or after the cursor.
void MoveByWord(EditorWindow& ed, int dir) {
  const std::u32string& t = ed.Lines[ed.CurLine].Text;
  int pos = std::min<int>(ed.CurPos, static_cast<int>(t.size()));
  if (dir > 0) {
    if (pos >= static_cast<int>(t.size())) {
      if (ed.CurLine + 1 < LineCount(ed)) {
        ++ed.CurLine;
        ed.CurPos = 0;
      }
      return;
    }
    while (pos < static_cast<int>(t.size()) && IsWordChar(t[pos])) ++pos;
    while (pos < static_cast<int>(t.size()) && !IsWordChar(t[pos])) ++pos;
  } else {
    if (pos == 0) {
      if (ed.CurLine > 0) {
        --ed.CurLine;
        ed.CurPos = static_cast<int>(ed.Lines[ed.CurLine].Text.size());
      }
      return;
    }
    while (pos > 0 && !IsWordChar(t[pos - 1])) --pos;
    while (pos > 0 && IsWordChar(t[pos - 1])) --pos;
  }
  ed.CurPos = pos;
}

// The cursor move of a navigation key; false when vk is none.
bool Navigate(EditorWindow& ed, int vk, bool ctrl) {
  int rows = TextRows(ed);
  switch (vk) {
    case VK_LEFT:
      if (ctrl) MoveByWord(ed, -1);
      else ed.CurPos = std::max(0, ed.CurPos - 1);
      return true;
    case VK_RIGHT:
      if (ctrl) MoveByWord(ed, 1);
      else ++ed.CurPos;
      return true;
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
void ExtendBlock(EditorWindow& ed, bool column, int vk, bool ctrl) {
  bool continuing = ed.Block.Type == (column ? BTYPE_COLUMN : BTYPE_STREAM);
  int fromCol = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  if (!continuing) {
    ed.AnchorLine = ed.CurLine;
    ed.AnchorPos = column ? fromCol : ed.CurPos;
  }
  Navigate(ed, vk, ctrl);
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

// The clipboard keys: Ctrl+Ins/Ctrl+C copy, Shift+Del/Ctrl+X cut, Shift+Ins/Ctrl+V
// paste, Ctrl+D delete the block; true when `key` is one of them.
bool ClipboardKey(EditorWindow& ed, int vk, unsigned state, Clipboard* clip) {
  const bool ctrl = state & kCtrl, shift = state & SHIFT_PRESSED, alt = state & kAlt;
  if (alt) return false;
  const bool copy = ctrl && !shift && (vk == VK_INSERT || vk == 'C');
  const bool cut = (shift && !ctrl && vk == VK_DELETE) || (ctrl && !shift && vk == 'X');
  const bool paste = (shift && !ctrl && vk == VK_INSERT) || (ctrl && !shift && vk == 'V');
  const bool erase = ctrl && !shift && vk == 'D';
  if (!copy && !cut && !paste && !erase) return false;
  if ((copy || cut || paste) && !clip) return false;
  if (copy || cut) CopyToClipboard(ed, *clip);
  if (cut && ed.Block.Type == BTYPE_NONE) {
    DeleteCursorLine(ed);
  } else if (cut || erase) {
    DeleteBlock(ed);
  } else if (paste) {
    ed.Block = {};
    const bool overtype = ed.Overtype;
    ed.Overtype = false;  // a paste inserts, as in the real host
    PasteClipboard(ed, *clip);
    ed.Overtype = overtype;
  }
  return true;
}

}  // namespace

char32_t TypedChar(const KEY_EVENT_RECORD& key) {
  const unsigned char oem = static_cast<unsigned char>(key.AsciiChar);
  if (key.UnicodeChar) {
    // The OEM byte of the record is the conversion of its Unicode: the 866 byte,
    // or '?' for a character 866 lacks. Another byte was set by someone else.
    unsigned char b;
    const unsigned char converted = OemByte(key.UnicodeChar, b) ? b : '?';
    if (oem == 0 || oem == converted) return key.UnicodeChar;
  }
  return oem ? UnicodeOfOem(oem) : 0;
}

bool EditorHandleKey(EditorWindow& ed, const KEY_EVENT_RECORD& key, Clipboard* clipboard) {
  if (!key.bKeyDown) return false;
  unsigned state = key.dwControlKeyState & 0x1F;
  int vk = key.wVirtualKeyCode;
  bool shift = state & SHIFT_PRESSED;
  bool ctrl = state & kCtrl;
  bool alt = state & kAlt;

  // Undo and redo work on the history, outside any step.
  if ((ctrl && !alt && vk == 'Z') || (alt && !ctrl && !shift && vk == VK_BACK) ||
      (ctrl && alt && !shift && vk == 'Z')) {
    if (ctrl && (shift || alt))
      RedoStepForward(ed);
    else
      UndoStepBack(ed);
    return true;
  }
  UndoStepGuard step(ed);
  if (vk >= '0' && vk <= '9' && ctrl && !alt) {
    if (shift)
      SetBookmark(ed, vk - '0');
    else
      GotoBookmark(ed, vk - '0');  // Ctrl+digit, and RightCtrl+digit of the older keys
    return true;
  }
  if (IsNavigation(vk)) {
    if (alt && shift && !ctrl) {
      ExtendBlock(ed, true, vk, false);
    } else if (shift && !alt) {
      ExtendBlock(ed, false, vk, ctrl);
    } else if (!alt) {
      ed.Block = {};
      Navigate(ed, vk, ctrl);
      FollowCursor(ed);
    } else {
      return false;
    }
    return true;
  }
  if (ClipboardKey(ed, vk, state, clipboard)) return true;
  if (ctrl && !alt && !shift) {
    switch (vk) {
      case 'Y': ed.Block = {}; DeleteCursorLine(ed); return true;
      case 'U': ed.Block = {}; return true;
      default: break;
    }
  }
  if (ctrl || alt) return false;
  switch (vk) {
    case VK_RETURN: ed.Block = {}; SplitLineAtCursor(ed, false); return true;
    case VK_BACK: ed.Block = {}; BackspaceAtCursor(ed); MarkTyping(ed); return true;
    case VK_DELETE:
      if (DeleteBlock(ed)) return true;
      DeleteCharAtCursor(ed);
      MarkTyping(ed);
      return true;
    case VK_TAB: ed.Block = {}; InsertTextAtCursor(ed, U"\t"); MarkTyping(ed); return true;
    case VK_INSERT:
      if (!shift) ed.Overtype = !ed.Overtype;
      return true;
    default: break;
  }
  const char32_t ch = TypedChar(key);
  if (ch >= 0x20 && ch != 0x7F) {
    ed.Block = {};
    if (InsertTextAtCursor(ed, std::u32string(1, ch))) MarkTyping(ed);
    return true;
  }
  return false;
}

}  // namespace vemlo::sim
