// The editor commands of the host interface (EditorControl) on the current
// editor. The plug-in sees and writes the text in code page 866; the lines
// convert at this edge.
#include <algorithm>

#include "editor_view.h"
#include "host_util.h"
#include "sim_host.h"

namespace vemlo::sim {

using namespace detail;

namespace {

// Line ends as stable pointers for GETSTRING.
const char* EolPointer(const std::string& eol) {
  if (eol == "\r\n") return "\r\n";
  if (eol == "\n") return "\n";
  return "";
}

}  // namespace

int SimHost::EditorControl(int command, void* param) {
  EditorWindow* ed = CurrentEditor();
  if (!ed) return 0;
  return EditorCommand(*ed, command, param);
}

void SimHost::ProcessEditorKey(EditorWindow& ed, const INPUT_RECORD& rec) {
  // The plug-in sees the event first, as with a typed key; the depth guard keeps a
  // plug-in that hands every event back from recursing without end.
  if (plugin_.ProcessEditorInput && processInputDepth_ < 8) {
    ++processInputDepth_;
    int used = 0;
    try {
      used = plugin_.ProcessEditorInput(rec);
    } catch (...) {
      --processInputDepth_;
      throw;
    }
    --processInputDepth_;
    if (used) return;
  }
  if (rec.EventType == KEY_EVENT) EditorHandleKey(ed, rec.KeyEvent, &clipboard_);
}

int SimHost::EditorCommand(EditorWindow& ed, int command, void* param) {
  const int total = static_cast<int>(ed.Lines.size());
  auto lineOf = [&](int n) { return n == -1 ? ed.CurLine : n; };
  auto valid = [&](int n) { return n >= 0 && n < total; };
  switch (command) {
    case ECTL_GETSTRING: {
      auto* gs = static_cast<EditorGetString*>(param);
      if (!gs) return 0;
      int n = lineOf(gs->StringNumber);
      if (!valid(n)) return 0;
      ed.LineBuffer = ToOem(ed.Lines[n].Text);
      gs->StringText = ed.LineBuffer.c_str();
      gs->StringEOL = EolPointer(ed.Lines[n].Eol);
      gs->StringLength = static_cast<int>(ed.LineBuffer.size());
      SelectionInLine(ed, n, gs->SelStart, gs->SelEnd);
      return 1;
    }
    case ECTL_SETSTRING: {
      auto* ss = static_cast<EditorSetString*>(param);
      if (!ss || ss->StringLength < 0) return 0;
      int n = lineOf(ss->StringNumber);
      if (!valid(n)) return 0;
      std::string text = ss->StringText ? std::string(ss->StringText, ss->StringLength) : "";
      std::u32string line = MergeOemEdit(ed.Lines[n].Text, text);
      if (size_t bad = FirstUnheld(line, ed.Cp); bad != std::u32string::npos) {
        ed.Refused = line[bad];
        return 0;
      }
      ReplaceLine(ed, n, line, ss->StringEOL);
      return 1;
    }
    case ECTL_INSERTSTRING:
      SplitLineAtCursor(ed, param && *static_cast<int*>(param) != 0);
      return 1;
    case ECTL_DELETESTRING: DeleteCursorLine(ed); return 1;
    case ECTL_DELETECHAR: DeleteCharAtCursor(ed); return 1;
    case ECTL_INSERTTEXT:
      if (!param) return 0;
      return InsertTextAtCursor(ed, FromOem(static_cast<const char*>(param))) ? 1 : 0;
    case ECTL_GETINFO: {
      auto* info = static_cast<EditorInfo*>(param);
      if (!info) return 0;
      ed.FileNameBuffer = ed.FileName;
      *info = EditorInfo{};
      info->EditorID = ed.Id;
      info->FileName = ed.FileNameBuffer.c_str();
      info->WindowSizeX = TextCols(ed);
      info->WindowSizeY = TextRows(ed);
      info->TotalLines = total;
      info->CurLine = ed.CurLine;
      info->CurPos = ed.CurPos;
      info->CurTabPos = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
      info->TopScreenLine = ed.TopLine;
      info->LeftPos = ed.LeftPos;
      info->Overtype = ed.Overtype ? 1 : 0;
      info->BlockType = ed.Block.Type;
      info->BlockStartLine = ed.Block.Type == BTYPE_NONE ? 0 : ed.Block.StartLine;
      info->TableNum = -1;
      info->TabSize = ed.TabSize;
      info->BookMarkCount = static_cast<int>(ed.Bookmarks.size());
      info->CurState = (ed.Modified ? 1u : 0u) | (ed.SavedChange ? 2u : 0u);
      return 1;
    }
    case ECTL_SETPOSITION: {
      auto* sp = static_cast<EditorSetPosition*>(param);
      if (!sp) return 0;
      if (sp->CurLine != -1) ed.CurLine = std::clamp(sp->CurLine, 0, total - 1);
      if (sp->CurPos != -1)
        ed.CurPos = std::max(0, sp->CurPos);
      else if (sp->CurTabPos != -1)
        ed.CurPos = TabToReal(ed.Lines[ed.CurLine].Text, std::max(0, sp->CurTabPos), ed.TabSize);
      if (sp->TopScreenLine != -1) ed.TopLine = std::clamp(sp->TopScreenLine, 0, total - 1);
      if (sp->LeftPos != -1) ed.LeftPos = std::max(0, sp->LeftPos);
      if (sp->Overtype != -1) ed.Overtype = sp->Overtype != 0;
      FollowCursor(ed);
      return 1;
    }
    case ECTL_REDRAW:
      RenderEditor(ed, screen_);
      Flush();
      return 1;
    case ECTL_TABTOREAL:
    case ECTL_REALTOTAB: {
      auto* cp = static_cast<EditorConvertPos*>(param);
      if (!cp) return 0;
      int n = lineOf(cp->StringNumber);
      if (!valid(n)) return 0;
      const std::u32string& t = ed.Lines[n].Text;
      int src = std::max(0, cp->SrcPos);
      cp->DestPos = command == ECTL_REALTOTAB ? RealToTab(t, src, ed.TabSize)
                                              : TabToReal(t, src, ed.TabSize);
      return 1;
    }
    case ECTL_EXPANDTABS: {
      int n = lineOf(param ? *static_cast<int*>(param) : -1);
      if (!valid(n)) return 0;
      std::u32string expanded = ExpandTabs(ed.Lines[n].Text, ed.TabSize);
      if (expanded != ed.Lines[n].Text) {
        if (n == ed.CurLine) ed.CurPos = RealToTab(ed.Lines[n].Text, ed.CurPos, ed.TabSize);
        ReplaceLine(ed, n, expanded, nullptr);
      }
      return 1;
    }
    case ECTL_SETTITLE: ed.Title = Str(static_cast<const char*>(param)); return 1;
    case ECTL_READINPUT: {
      auto* rec = static_cast<INPUT_RECORD*>(param);
      if (!rec) return 0;
      return ReadInput(*rec) ? 1 : 0;
    }
    case ECTL_PROCESSINPUT: {
      auto* rec = static_cast<const INPUT_RECORD*>(param);
      if (!rec) return 0;
      ProcessEditorKey(ed, *rec);
      if (CurrentEditor() == &ed) {
        RenderEditor(ed, screen_);
        Flush();
      }
      return 1;
    }
    case ECTL_PROCESSKEY: {
      // Host key codes below 256 are the characters and the keys that give them.
      auto code = reinterpret_cast<intptr_t>(param);
      if (code <= 0 || code > 255) return 0;
      int vk = code == '\r' ? VK_RETURN : code == 8 ? VK_BACK : code == 9 ? VK_TAB : 0;
      if (code == 27) return 0;
      INPUT_RECORD rec = KeyEvent(vk, static_cast<char>(code));
      return EditorHandleKey(ed, rec.KeyEvent, &clipboard_) ? 1 : 0;
    }
    case ECTL_SETKEYBAR: {
      auto* titles = static_cast<const KeyBarTitles*>(param);
      if (!titles || param == reinterpret_cast<void*>(-1)) {
        ed.KeyBar.reset();
      } else {
        std::vector<std::string> labels;
        for (const char* t : titles->Titles) labels.push_back(Str(t));
        ed.KeyBar = labels;
      }
      RenderEditorKeyBar(ed, screen_);
      return 1;
    }
    case ECTL_GETBOOKMARKS: {
      auto* bm = static_cast<EditorBookMarks*>(param);
      if (!bm) return 0;
      for (size_t i = 0; i < ed.Bookmarks.size(); ++i) {
        const Bookmark& b = ed.Bookmarks[i];
        bool set = b.Line >= 0;
        if (bm->Line) bm->Line[i] = set ? b.Line : -1;
        if (bm->Cursor) bm->Cursor[i] = set ? b.Pos : -1;
        if (bm->ScreenLine) bm->ScreenLine[i] = set ? b.ScreenLine : -1;
        if (bm->LeftPos) bm->LeftPos[i] = set ? b.LeftPos : -1;
      }
      return 1;
    }
    default:
      return 0;  // ECTL_SELECT, ECTL_SETPARAM and unknown commands are not offered
  }
}


}  // namespace vemlo::sim
