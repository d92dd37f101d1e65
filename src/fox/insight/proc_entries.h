// The entries of the procedure list of the edited file: named procedure
// entries with their parameter texts, and the editor's bookmarks between them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fox/model/edited_text.h"
#include "fox/model/program.h"

namespace vemlo {

// Where choosing an item of the list puts the editor.
struct TxxJumpTarget {
  int Line = 0;
  int Col = 0;
  int ScreenOffset = 0;  // rows between the window's top and the target line
  int LeftPos = 0;
};

struct TxxProcListItem {
  std::string Text;
  TxxJumpTarget Target;
};

struct TxxProcList {
  std::vector<TxxProcListItem> Items;
  int Selected = -1;  // the last entry starting at or before the cursor
  int Marked = -1;    // the entry or bookmark nearest above the cursor; gets the triangle
};

// The item of a named procedure entry for a window W columns wide.
std::string ProcItemText(const TxxFoxProc& proc, bool isMain, const std::string& params,
                         int width);
// The item of a bookmark on a line with the given text.
std::string BookmarkItemText(const TxxBookmark& bm, const std::string& lineText, int width);

// The list for procedures, their parameter texts, the bookmarks (sorted) and the
// cursor; lineText reads a bookmarked line, step is called before each entry.
// The entries the list's title counts: all but the class ends, which hold the
// ENDDEFINE lines.
int ProcEntryCount(const TxxFoxProcArr& procs);

struct TxxProcListInput {
  const TxxFoxProcArr* Procs = nullptr;
  std::function<std::string(int entry)> ParamText;
  TxxBookmarkArr Bookmarks;
  int Width = 80, Height = 25;
  int CursorLine = 0, CursorCol = 0;
};
TxxProcList BuildProcList(const TxxProcListInput& in,
                          const std::function<std::string(int line)>& lineText,
                          const std::function<void(int entry)>& step);

}  // namespace vemlo
