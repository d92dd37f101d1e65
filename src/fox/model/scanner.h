// vemlofox scanner: logical statements of FoxPro text and their classes.
#pragma once

#include <climits>
#include <string>
#include <string_view>

#include "fox/model/program.h"

namespace vemlo {

// Statement classes; the numbers are stored and compared by the views.
enum : unsigned char {
  stEmpty = 0, stComment = 1, stAmpComment = 2, stDirective = 3, stProcedure = 4,
  stReturn = 5, stQuit = 6, stAtCommand = 7, stRun = 8, stOutput = 9, stMAssign = 10,
  stEvaluate = 11, stText = 12, stTextBody = 13, stEndText = 14, stDo = 15,
  stParameters = 16, stPrivate = 17, stPublic = 18, stStore = 19, stCount = 20, stSum = 21,
  stCalculate = 22, stDimension = 23, stIf = 24, stElse = 25, stEndIf = 26, stDoCase = 27,
  stCase = 28, stOtherwise = 29, stEndCase = 30, stFor = 31, stEndFor = 32, stScan = 33,
  stEndScan = 34, stDoWhile = 35, stEndDo = 36, stLoop = 37, stExit = 38, stReplace = 39,
  stCreateCursor = 40, stCreateFrom = 41, stUse = 42, stSelect = 43, stCopyTo = 44,
  stOther = 45,
};

// Does the text's first word name the keyword (4-letter abbreviations allowed)?
bool IsKeyword(std::string_view text, std::string_view keyword);
// A line starting with "*", "&&" or the word NOTE.
bool IsCommentLine(const std::string& line);
// One line of text from a statement of CR LF-joined lines: continuations joined,
// blanks collapsed, optionally without the "&&" comment and with string literals
// emptied.
std::string NormalizeStatement(const std::string& text, bool dropComment, bool blankStrings);
unsigned char ClassifyStatement(const std::string& text);

// Last line for a scan to the end of the text.
inline constexpr int kToEndOfText = INT_MAX;

// Appends the statements of lines firstLine..lastLine to `statements` (TEXT bodies
// included), extracts the elements of all but the one reaching cursorLine, and
// returns that one's index (-1 when none). Text is empty afterwards.
int ScanStatements(const TxxLineReader& read, int firstLine, int lastLine, int cursorLine,
                   TxxFoxStringArr& statements);

}  // namespace vemlo
