// Searching the editor's text: a string found from a position forwards or
// backwards, with or without regard to letter case, anywhere or as a whole word.
#pragma once

#include <string>

#include "editor.h"

namespace vemlo::sim {

struct SearchOptions {
  bool CaseSensitive = false;
  bool WholeWords = false;
  bool Reverse = false;
};

struct SearchHit {
  int Line = -1, Pos = -1;
  bool Found() const { return Line >= 0; }
};

// The first match at or after (line, pos), or, in reverse, the last one that
// starts before (line, pos). Matches lie within one line.
SearchHit FindText(const EditorWindow& ed, const std::u32string& what, const SearchOptions& options,
                   int line, int pos);

// Lower case for Latin, Latin-1, Greek and Cyrillic letters.
char32_t FoldCase(char32_t c);
// Letters, digits and "_": the characters of a word.
bool IsWordChar(char32_t c);

}  // namespace vemlo::sim
