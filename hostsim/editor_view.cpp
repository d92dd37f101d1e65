#include "editor_view.h"

#include <algorithm>

#include "palette.h"

namespace vemlo::sim {

const std::vector<std::string>& DefaultEditorKeyBar() {
  static const std::vector<std::string> labels = {"Help", "Save", "", "", "", "", "",
                                                  "", "", "Quit", "Plugin", ""};
  return labels;
}

namespace {

void RenderTitle(const EditorWindow& ed, Console& screen) {
  int width = ed.X2 - ed.X1 + 1;
  const std::string& name = ed.Title.empty() ? ed.FileName : ed.Title;
  int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  // The code page is named when it is not the DOS one the editor assumes.
  const bool namePage = ed.Cp != CodePage::Oem866 || ed.ShowCodePage;
  std::string right = (namePage ? "  " + CodePageName(ed.Cp) : std::string()) + "  Line " +
                      std::to_string(ed.CurLine + 1) + "/" + std::to_string(ed.Lines.size()) +
                      "  Col " + std::to_string(col + 1) + " ";
  std::string left = (ed.Modified ? "*" : " ") + name;
  int room = std::max(0, width - static_cast<int>(right.size()));
  if (static_cast<int>(left.size()) > room)  // keep the end of a long path
    left = room > 3 ? "..." + left.substr(left.size() - (room - 3)) : left.substr(0, room);
  std::string row = left + std::string(std::max(0, room - static_cast<int>(left.size())), ' ') + right;
  screen.Put(ed.X1, ed.Y1, static_cast<unsigned char>(PaletteColor(COL_EDITORSTATUS)),
             row.substr(0, width));
}

}  // namespace

void RenderEditorKeyBar(const EditorWindow& ed, Console& screen) {
  if (!ed.ShowKeyBar) return;
  const std::vector<std::string>& labels = ed.KeyBar ? *ed.KeyBar : DefaultEditorKeyBar();
  int width = ed.X2 - ed.X1 + 1;
  auto num = static_cast<unsigned char>(PaletteColor(COL_KEYBARNUM));
  auto text = static_cast<unsigned char>(PaletteColor(COL_KEYBARTEXT));
  for (int i = 0; i < 12; ++i) {
    int from = ed.X1 + i * width / 12, to = ed.X1 + (i + 1) * width / 12;
    std::string digits = std::to_string(i + 1);
    screen.Put(from, ed.Y2, num, digits);
    int room = to - from - static_cast<int>(digits.size());
    std::string label = i < static_cast<int>(labels.size()) ? labels[i] : "";
    label.resize(std::max(0, room), ' ');
    screen.Put(from + static_cast<int>(digits.size()), ed.Y2, text, label);
  }
}

namespace {

// Screen columns [from, to) of line n that show the block; to -1 for none.
void BlockColumns(const EditorWindow& ed, int n, int& from, int& to) {
  from = to = -1;
  int selStart, selEnd;
  SelectionInLine(ed, n, selStart, selEnd);
  if (selStart < 0) return;
  if (ed.Block.Type == BTYPE_COLUMN) {
    from = ed.Block.StartPos;
    to = ed.Block.EndPos;
    return;
  }
  const std::u32string& t = ed.Lines[n].Text;
  from = RealToTab(t, selStart, ed.TabSize);
  // A block that runs past the line end also marks the cell of the line break.
  to = selEnd < 0 ? RealToTab(t, static_cast<int>(t.size()), ed.TabSize) + 1
                  : RealToTab(t, selEnd, ed.TabSize);
}

}  // namespace

void RenderEditor(const EditorWindow& ed, Console& screen) {
  RenderTitle(ed, screen);
  auto textAttr = static_cast<unsigned char>(PaletteColor(COL_EDITORTEXT));
  auto selAttr = static_cast<unsigned char>(PaletteColor(COL_EDITORSELECTEDTEXT));
  int rows = TextRows(ed), cols = TextCols(ed);
  for (int r = 0; r < rows; ++r) {
    int n = ed.TopLine + r, y = ed.Y1 + 1 + r;
    std::u32string shown;
    int from = -1, to = -1;
    if (n < static_cast<int>(ed.Lines.size())) {
      std::u32string expanded = ExpandTabs(ed.Lines[n].Text, ed.TabSize);
      if (ed.LeftPos < static_cast<int>(expanded.size())) shown = expanded.substr(ed.LeftPos);
      BlockColumns(ed, n, from, to);
    }
    shown.resize(cols, ' ');
    for (int c = 0; c < cols; ++c) {
      int col = ed.LeftPos + c;
      bool selected = from >= 0 && col >= from && col < to;
      screen.PutUnicode(ed.X1 + c, y, selected ? selAttr : textAttr, shown[c]);
    }
  }
  RenderEditorKeyBar(ed, screen);
  int col = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
  screen.CursorX = ed.X1 + col - ed.LeftPos;
  screen.CursorY = ed.Y1 + 1 + ed.CurLine - ed.TopLine;
  screen.CursorVisible = true;
}

}  // namespace vemlo::sim
