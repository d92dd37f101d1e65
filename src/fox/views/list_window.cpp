// The completion list window: geometry, rows, filtering, moves and its key loop.
#include "fox/views/list_window.h"

#include "dbf/views.h"
#include "fox/insight/completion.h"
#include "fox/views/preview.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/reader_reports.h"
#include "host/settings_file.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr const char* kHelpTopic = "FoxCodeInsight";
constexpr char kHLine = '\xC4';
constexpr char kCross = '\xC5';
constexpr char kVLine = '\xB3';

const TxxSymbToComplete& RowAt(const TxxInsightList& list, int i) {
  return (*list.Rows)[static_cast<size_t>(list.V[static_cast<size_t>(i)])];
}

int RowCount(const TxxInsightList& list) { return static_cast<int>(list.V.size()); }

bool IsItem(const TxxInsightList& list, int i) { return RowAt(list, i).Kind != skHeader; }


struct Colours {
  int Item = 0, Selected = 0, Title = 0, Later = 0;
};

// The window's labels on the editor's key bar: F1 help, F3 view, F4 go to, F10 close.
std::array<std::string, 12> KeyBarLabels() {
  std::array<std::string, 12> labels;
  labels[0] = Msg(MsgId::KeyHelp);
  labels[2] = Msg(MsgId::KeyView);
  labels[3] = Msg(MsgId::KeyGoto);
  labels[9] = Msg(MsgId::KeyClose);
  return labels;
}

void DrawSelected(const TxxInsightList& list, const Colours& colours) {
  if (list.Sel < 0 || list.Sel >= RowCount(list)) return;
  if (list.Sel < list.Top || list.Sel >= list.Top + list.Height) return;
  FarApi().Text(list.ListLeft, list.ListTop + list.Sel - list.Top, colours.Selected,
                InsightRowText(list, list.Sel, list.HScroll).c_str());
  FarFlushText();
}

void DrawList(TxxInsightList& list, const Colours& colours) {
  for (int i = list.Top; i < list.Top + list.Height; ++i) {
    const int y = list.ListTop + i - list.Top;
    const std::string text = InsightRowText(list, i, 0);
    if (i < RowCount(list) && RowAt(list, i).Kind == skHeader) {
      FarApi().Text(list.ListLeft, y, colours.Item, text.c_str());
      const std::string title = ShortenPath(RowAt(list, i).Name, list.Width - 2);
      FarApi().Text(list.ListLeft + list.Width - static_cast<int>(title.size()) - 1, y, colours.Title,
                    title.c_str());
    } else {
      const bool later = i < RowCount(list) && RowAt(list, i).Later;
      FarApi().Text(list.ListLeft, y, later ? colours.Later : colours.Item, text.c_str());
    }
  }
  list.HScroll = 0;
  DrawSelected(list, colours);
  FarFlushText();
}

// F3: the source of a procedure or statement, or the table record of a row.
void PreviewRow(const TxxSymbToComplete& row) {
  const TxxFoxProj& proj = FoxProj();
  switch (row.Kind) {
    case skProc: PreviewProc(row.Name); break;
    case skMethod: PreviewWord("THIS", row.Name); break;
    case skElement: PreviewStatement(row.Ref); break;
    case skBase: ShowDBFRecord(proj.KdfBases, row.Ref); break;
    case skBaseField: ShowDBFRecord(proj.KdfFields, row.Ref); break;
    case skGlobalOption: ShowDBFRecord(proj.GlobalOptions, row.Ref); break;
    case skLocalOption: ShowDBFRecord(proj.LocalOptions, row.Ref); break;
    default: break;
  }
}

void ShowDefinition(const TxxSymbToComplete& row, bool& close) {
  const TxxInsight& in = Insight();
  switch (row.Kind) {
    case skProc:
    case skMethod: {
      int file = -1;
      int proc = -1;
      const TxxFoxProj& proj = FoxProj();
      const bool found = row.Kind == skProc
                             ? FindFoxProc(row.Name, proj, file, proc)
                             : FindProcForWord("THIS", row.Name, proj, in.ProgIndex, in.ProcIndex, file, proc);
      if (!found) return;
      if (proj.Progs[file].FileName != FarEditorFileName()) return;
      FarGotoLine(proj.Progs[file].Procs[proc].FirstLine, 1, 0, 0, false);
      close = true;
      return;
    }
    case skDefine:
      if (row.Ref < 0 || row.Ref >= static_cast<int>(in.Defines.size())) return;
      FarGotoLine(in.Defines[row.Ref].Line, 2, 0, 0, false);
      close = true;
      return;
    case skElement:
      if (row.Ref < 0 || row.Ref >= static_cast<int>(in.Statements.size())) return;
      FarGotoLine(in.Statements[row.Ref].FirstLine, 4, 0, 0, false);
      close = true;
      return;
    default:
      return;
  }
}

// The keys that move the selection: alone, and with any shift key.
struct MoveKey {
  int Vk;
  void (*Plain)(TxxInsightList&);
  void (*Modified)(TxxInsightList&);
};
constexpr MoveKey kMoveKeys[] = {
    {VK_UP, ListPrevItem, ListGroupUp},
    {VK_DOWN, ListNextItem, ListGroupDown},
    {VK_PRIOR, ListPageUp, ListFirstItem},
    {VK_NEXT, ListPageDown, ListLastItem},
};

bool SameEditorState(const EditorInfo& a, const EditorInfo& b) {
  return a.EditorID == b.EditorID && a.CurLine == b.CurLine && a.TotalLines == b.TotalLines &&
         a.TopScreenLine == b.TopScreenLine;
}

}  // namespace

int SizeOption(const std::string& value, const std::string& fallback, int total) {
  std::string v = Trim(value);
  auto useFallback = [&]() { return IsBlank(fallback) ? 0 : SizeOption(fallback, "", total); };
  if (v.empty()) return useFallback();
  const bool percent = v.back() == '%';
  if (percent) v.pop_back();
  int n = 0;
  if (!TryStrToInt(Trim(v), n)) return useFallback();
  long long result = percent ? static_cast<long long>(total) * n / 100 : n;
  if (result > total) result = total;
  return static_cast<int>(result);
}

void PlaceInsightList(TxxInsightList& list, int x, int y, int r, int col, const std::string& height,
                      const std::string& width, const std::string& width1) {
  int h = Max(3, SizeOption(height, "40%", y));
  list.Width = Max(6, SizeOption(width, "45", x));
  list.NameWidth = Max(0, SizeOption(width1, "15", list.Width));
  if (y - r > h || r < (2 * y) / 3) {
    h = Min(h, y - r - 1);
    list.ListTop = r + 2;
  } else if (h < r) {
    list.ListTop = r - h;
  } else {
    h = r - 1;
    list.ListTop = 1;
  }
  list.Height = h;
  list.ListLeft = Max(0, Min(x - list.Width - 1, col - 1));
}

void FilterInsightList(TxxInsightList& list, const std::string& prefix) {
  list.V.clear();
  const TxxSymbToCompleteArr& rows = *list.Rows;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Kind == skHeader || prefix.empty() || MatchesPrefix(rows[i].Name, prefix))
      list.V.push_back(static_cast<int>(i));
  list.Top = 0;
  list.Sel = 0;
  list.HScroll = 0;
  ListFirstItem(list);
}

void ListFirstItem(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = 0; i < RowCount(list); ++i) {
    if (!IsItem(list, i)) continue;
    list.Sel = i;
    list.Top = Max(0, i - list.Height + 1);
    return;
  }
  list.Sel = -1;
  list.Top = 0;
}

void ListLastItem(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = RowCount(list) - 1; i >= 0; --i) {
    if (!IsItem(list, i)) continue;
    list.Sel = i;
    list.Top = Max(list.Top, Min(i, RowCount(list) - list.Height + 1));
    return;
  }
}

void ListNextItem(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = list.Sel + 1; i < RowCount(list); ++i) {
    if (!IsItem(list, i)) continue;
    list.Sel = i;
    list.Top = Max(list.Top, i - list.Height + 1);
    return;
  }
  ListLastItem(list);
}

void ListPrevItem(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = list.Sel - 1; i >= 0; --i) {
    if (!IsItem(list, i)) continue;
    list.Sel = i;
    list.Top = Min(list.Top, i);
    return;
  }
  ListFirstItem(list);
}

void ListPageUp(TxxInsightList& list) {
  if (list.Sel < 0) return;
  if (list.Sel > list.Top + 1) {
    list.Sel = list.Top + 1;
  } else {
    list.Sel = Max(1, list.Sel - list.Height + 2);
    list.Top = list.Sel - 1;
  }
  ListPrevItem(list);
}

void ListPageDown(TxxInsightList& list) {
  if (list.Sel < 0) return;
  const int n = RowCount(list);
  if (list.Sel < list.Top + list.Height - 2) {
    list.Sel = Min(n - 1, list.Top + list.Height - 2);
  } else {
    list.Sel = Min(n - 1, list.Sel + list.Height - 2);
    list.Top = Max(0, list.Sel - list.Height + 2);
  }
  ListNextItem(list);
}

void ListGroupUp(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = list.Sel - 2; i >= 2; --i) {
    if (IsItem(list, i) || i + 1 >= RowCount(list) || !IsItem(list, i + 1)) continue;
    list.Sel = i - 1;
    list.Top = Min(list.Top, i - 1);
    ListNextItem(list);
    return;
  }
  ListFirstItem(list);
}

void ListGroupDown(TxxInsightList& list) {
  if (list.Sel < 0) return;
  for (int i = list.Sel + 1;; ++i) {
    if (i >= RowCount(list)) {
      ListLastItem(list);
      return;
    }
    if (IsItem(list, i)) continue;
    list.Sel = i - 1;
    list.Top = i - 1;
    ListNextItem(list);
    return;
  }
}

void ListScrollRight(TxxInsightList& list) {
  if (list.Sel < 0 || list.Sel >= RowCount(list)) return;
  const int length = static_cast<int>(RowAt(list, list.Sel).Descr.size());
  list.HScroll = Min(list.HScroll + 2, Max(0, length + list.NameWidth - list.Width + 4));
}

void ListScrollLeft(TxxInsightList& list) {
  if (list.Sel < 0) return;
  list.HScroll = Max(0, list.HScroll - 2);
}

std::string InsightRowText(const TxxInsightList& list, int i, int hscroll) {
  const int w = list.Width;
  const int n = list.NameWidth;
  if (i >= 0 && i < RowCount(list)) {
    const TxxSymbToComplete& row = RowAt(list, i);
    if (row.Kind == skHeader) return PadRightTo(RepeatStr(std::string(1, kHLine), n + 1) + kCross +
                                                    RepeatStr(std::string(1, kHLine), w - n),
                                                w);
    if (!row.Name.empty()) {
      std::string text = " " + PadRightTo(row.Name, n) + kVLine;
      if (hscroll < static_cast<int>(row.Descr.size())) text.append(row.Descr, static_cast<size_t>(Max(0, hscroll)));
      return PadRightTo(text, w);
    }
  }
  return PadRightTo(std::string(static_cast<size_t>(n + 1), ' ') + kVLine, w);
}

void CompleteSymbol(bool typed) {
  TxxInsight& in = Insight();
  // The candidates live for this request only, however it ends.
  struct Cleared {
    TxxSymbToCompleteArr& List;
    ~Cleared() { List.clear(); }
  } cleared{in.Candidates};
  if (!CollectCandidates(in, FoxProj(), IniFile(), LoadDBF)) {
    in.Candidates.clear();
    SignalBeep();
    return;
  }
  const bool empty = in.Candidates.empty();
  if (empty && typed) return;
  if (empty) in.Candidates.push_back(TxxSymbToComplete{"", "", 0, skNone, 0});
  const std::string chosen = ShowInsightList(in.Candidates);
  if (empty || chosen.empty()) return;
  FarJumpTo(TxxEditorJump{in.CursorLine, in.WordLeft}, false);
  FarDeleteChars(in.WordRight - in.WordLeft - 1);
  FarInsertText(chosen);
  FarRedraw();
}

std::string ShowInsightList(const TxxSymbToCompleteArr& candidates) {
  std::string result;
  EditorInfo saved = FarEditorInfo();
  const EditorInfo geometry = FarEditorInfo();
  const Colours colours{FarColour(COL_MENUTEXT), FarColour(COL_MENUSELECTEDTEXT), FarColour(COL_MENUTITLE),
                        FarColour(COL_MENUDISABLEDTEXT)};
  TxxInsightList list;
  list.Rows = &candidates;
  PlaceInsightList(list, geometry.WindowSizeX, geometry.WindowSizeY, FarCursorScreenY(geometry),
                   FarCursorScreenX(geometry), Option(OptionId::InsightHeight), Option(OptionId::InsightWidth),
                   Option(OptionId::InsightWidth1));
  {
    FarKeyBarGuard keyBar(KeyBarLabels());
    TxxInsight& in = Insight();
    FilterInsightList(list, in.Prefix);
    DrawList(list, colours);
    // The keys the window takes; the others go to the editor, and a change the
    // editor makes beyond the word being typed closes the window.
    FarKeyLoop([&](const INPUT_RECORD& rec) {
      const int vk = rec.KeyEvent.wVirtualKeyCode;
      const unsigned state = rec.KeyEvent.dwControlKeyState & 0x1F;
      const bool modified = state != 0;
      const bool ctrlAlone = state == LEFT_CTRL_PRESSED || state == RIGHT_CTRL_PRESSED;
      const bool hasSel = list.Sel >= 0 && list.Sel < RowCount(list);
      for (const MoveKey& m : kMoveKeys) {
        if (m.Vk != vk) continue;
        (modified ? m.Modified : m.Plain)(list);
        DrawList(list, colours);
        return true;
      }
      switch (vk) {
        case VK_RETURN:
          if (hasSel) result = RowAt(list, list.Sel).Name;
          return false;
        case VK_ESCAPE:
        case VK_F10:
          return false;
        case VK_F1:
          FarShowHelp(kHelpTopic);
          return true;
        case VK_F2: case VK_F5: case VK_F6: case VK_F7: case VK_F8: case VK_F9: case VK_F11: case VK_F12:
          return true;
        case VK_F3:
          if (hasSel) PreviewRow(RowAt(list, list.Sel));
          DrawList(list, colours);
          return true;
        case VK_F4:
          if (hasSel) {
            bool close = false;
            ShowDefinition(RowAt(list, list.Sel), close);
            if (close) return false;
          }
          return true;
        case VK_LEFT:
        case VK_RIGHT:
          if (ctrlAlone) {
            vk == VK_LEFT ? ListScrollLeft(list) : ListScrollRight(list);
            DrawSelected(list, colours);
            return true;
          }
          break;
        default:
          break;
      }
      FarProcessInput(rec);
      const EditorInfo now = FarEditorInfo();
      if (!SameEditorState(now, saved)) return false;
      const std::string prefix = in.Prefix;
      const int wordLeft = in.WordLeft;
      FindInsightWord();
      if (in.WordLeft != wordLeft) return false;
      if (in.Prefix != prefix) FilterInsightList(list, in.Prefix);
      DrawList(list, colours);
      saved = now;
      return true;
    });
  }
  FarRedraw();
  return result;
}

}  // namespace vemlo
