// The entries of the structure review of a procedure: one per statement, with
// the strip of line-drawing characters that shows the nesting.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/options.h"
#include "fox/model/edited_text.h"
#include "fox/model/program.h"

namespace vemlo {

// Entry flags; the categories of the review's menu group them.
enum : unsigned {
  efHeading = 1u << 0, efCondOpen = 1u << 1, efCondBranch = 1u << 2, efCondClose = 1u << 3,
  efLoopOpen = 1u << 4, efLoopJump = 1u << 5, efLoopClose = 1u << 6, efExit = 1u << 7,
  efCall = 1u << 8, efPairOpen = 1u << 9, efPairClose = 1u << 10, efKeyword = 1u << 11,
  efBookmark = 1u << 12, efComment = 1u << 13, efDirective = 1u << 14, efStatement = 1u << 15,
};

struct TxxLangStructItem {
  char Mark = ' ';
  std::string Graph;
  std::string Text;
  int Level = 0;
  int Anchor = 0;
  unsigned Flags = 0;
  unsigned char StmtKind = 0;
  int BookmarkNo = -1;
  int Line = 0;
  int Col = -1;
  int ScreenLine = -1;
  int LeftPos = -1;
  bool Selected = false;
};
using TxxLangStructItemArr = std::vector<TxxLangStructItem>;

struct TxxStructPair {
  std::string Open, Close;
};

struct TxxReviewOptions {
  int Step = 3;        // S: width of one nesting column
  int Bracket = 2;     // B: width of the bracket at the statement's own level
  int Indent = 1;      // J: blanks between the bracket and the text
  std::string Cond = "\xDA\xB3\xC3\xC0\xC4";
  std::string Loop = "\xD6\xBA\xC7\xC7\xD3\xC4";
  std::string Exit = "<\xCD";
  std::string Pair = "/-\\-";
  std::vector<std::string> Keywords;  // upper case
  std::vector<TxxStructPair> Pairs;   // upper case
  bool ShowBookmarks = true;
};

// A number option: trimmed; not a number gives the default; below the bound, the bound.
int ReadBoundedNumber(const std::string& text, int def, int lowerBound);
std::vector<std::string> ReadKeywordList(const std::string& value);
std::vector<TxxStructPair> ReadPairList(const std::string& value);
TxxReviewOptions ReadReviewOptions(const TxxOptions& options);

// Does the statement text call a procedure the predicate knows?
bool HasProcCall(const std::string& text, const std::function<bool(const std::string&)>& isProc);

struct TxxStructInput {
  const TxxFoxStringArr* Statements = nullptr;
  TxxLineReader Read;
  std::function<bool(const std::string& name)> IsProc;
  TxxBookmarkArr Bookmarks;  // sorted by line, then column; empty when not shown
  int CursorLine = 0;
};
TxxLangStructItemArr BuildStructEntries(const TxxStructInput& in, const TxxReviewOptions& options);

}  // namespace vemlo
