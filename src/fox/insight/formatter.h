// The indentation formatter as a text transformation: the statements of a
// procedure re-indented by their nesting, trailing comments moved to columns.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/options.h"
#include "fox/model/program.h"

namespace vemlo {

// An indentation: Tabs tab characters, then Spaces blanks.
struct TxxTabSpace {
  int Tabs = 0;
  int Spaces = 0;
};
using TxxTabSpaceArr = std::vector<TxxTabSpace>;

struct TxxFmtOptions {
  TxxTabSpace Base, Proc, Step, Case, Wrap;
  bool IndentCommented = false;
  std::vector<int> CommentColumns;  // screen columns from 1, in the order given
};

// "###t###s": three characters of tabs, "t", three of spaces, "s"; a field that
// is not a number, or is negative, counts as 0.
TxxTabSpace ParseIndentOption(const std::string& text);
std::string IndentText(const TxxTabSpaceArr& stack);
std::vector<int> ParseCommentColumns(const std::string& text);
TxxFmtOptions ReadFmtOptions(const TxxOptions& options);

// Index (from 0) of the first "&&" outside string literals, -1 when none.
int FindInlineComment(const std::string& line);
// The line with its trailing comment moved to the first configured column right
// of the code; screenCol gives the screen column (from 0) of a position (from 0).
// Returns false when the comment stays where it is.
bool PlaceInlineComment(const std::string& line, const std::vector<int>& columns,
                        const std::function<int(int pos)>& screenCol, std::string& result);

// How the formatter reaches the lines. Write returns false to stop the run.
struct TxxFmtLines {
  std::function<bool(int line, std::string& text)> Read;
  std::function<bool(int line, const std::string& text)> Write;
  std::function<int(int line, int pos)> ScreenCol;
  std::function<void(int statement)> Step;
};

// Re-indents the statements; false when Write stopped the run. The statements of
// a method (classMember) stand one step in, inside their class.
bool FormatStatements(const TxxFoxStringArr& statements, const TxxFmtOptions& options,
                      const TxxFmtLines& lines, bool classMember = false);

}  // namespace vemlo
