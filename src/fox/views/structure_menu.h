// The structure review's menu: category filters, sideways scrolling, jumps
// between entries of one column, and the listing.
#pragma once

#include <string>
#include <vector>

#include "fox/insight/structure_entries.h"

namespace vemlo {

// A category text "key sign caption": the key it binds and the sign's place.
struct TxxCategoryKey {
  int KeyCode = 0;
  int SignPos = 0;  // 1-based, 0 when the text has no sign
};
TxxCategoryKey ParseCategoryKey(const std::string& text);

// One menu item built from the entries.
struct TxxStructMenuItem {
  std::string Text;
  char Check = ' ';
  bool Selected = false;
  int Entry = 0;
};
// visible: one flag per category row, in table order.
std::vector<TxxStructMenuItem> BuildStructMenuItems(const TxxLangStructItemArr& entries,
                                                    const std::vector<bool>& visible,
                                                    bool bookmarksShown, int offset);
bool StructEntryShown(const TxxLangStructItem& e, const std::vector<bool>& visible);

// Shows the menu until Enter or Escape; the chosen entry, or -1.
int RunStructMenu(TxxLangStructItemArr& entries, bool bookmarksShown, int windowWidth);
void JumpToStructEntry(const TxxLangStructItem& e);

// The command: the entries of the procedure at the cursor in the menu.
void ShowStructureReview();

// Forgets the users' choices of visible categories (the plug-in's reset).
void ResetStructCategories();

}  // namespace vemlo
