// The completion list window: a two-column list drawn over the editor under (or
// above) the cursor, filtered by the prefix the user goes on typing; and the
// completion command that shows it.
#pragma once

#include <string>
#include <vector>

#include "fox/model/insight.h"

namespace vemlo {

// A size given as a number of cells or as a percentage ("40%") of total.
int SizeOption(const std::string& value, const std::string& fallback, int total);

// The state of an open list.
struct TxxInsightList {
  const TxxSymbToCompleteArr* Rows = nullptr;
  std::vector<int> V;  // indexes into *Rows that pass the filter
  int Sel = -1;
  int Top = 0;
  int HScroll = 0;
  int Height = 0;
  int Width = 0;
  int NameWidth = 0;
  int ListTop = 0;
  int ListLeft = 0;
};

// Size and place for an editor window of x by y text cells with the cursor at
// text row r and screen column col; the three option values as stored.
void PlaceInsightList(TxxInsightList& list, int x, int y, int r, int col, const std::string& height,
                      const std::string& width, const std::string& width1);

// Rebuilds V for the prefix and selects the first item.
void FilterInsightList(TxxInsightList& list, const std::string& prefix);

// The moves of the selection; none of them does anything while Sel is -1.
void ListNextItem(TxxInsightList& list);
void ListPrevItem(TxxInsightList& list);
void ListFirstItem(TxxInsightList& list);
void ListLastItem(TxxInsightList& list);
void ListPageUp(TxxInsightList& list);
void ListPageDown(TxxInsightList& list);
void ListGroupUp(TxxInsightList& list);
void ListGroupDown(TxxInsightList& list);
void ListScrollRight(TxxInsightList& list);
void ListScrollLeft(TxxInsightList& list);

// The text of row i of V (an index past V gives the blank row), Width characters.
std::string InsightRowText(const TxxInsightList& list, int i, int hscroll);

// Runs the window until it closes; the chosen name, empty when none.
std::string ShowInsightList(const TxxSymbToCompleteArr& candidates);

// The command: collects the candidates for the word at the cursor, shows the
// list and puts the chosen name in place of the word.
void CompleteSymbol();

}  // namespace vemlo
