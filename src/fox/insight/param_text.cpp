// Parameter hints without the screen: the calls left open before the cursor,
// the lines of a parameter text in a box, and the pieces of one parameter.
#include "fox/insight/param_text.h"

#include "lib/xxlib.h"

namespace vemlo {

namespace {

bool IsLineBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

bool IsContinued(const std::string& line) {
  size_t n = line.size();
  while (n > 0 && IsLineBlank(line[n - 1])) --n;
  return n > 0 && line[n - 1] == ';';
}

}  // namespace

std::string TextBeforeCursor(const TxxLineReader& read, int cursorLine, int cursorCol) {
  std::string line;
  if (!read(cursorLine, line)) line.clear();
  std::string text = PadRightTo(line, cursorCol);
  for (int n = cursorLine - 1; n >= 0; --n) {
    if (!read(n, line) || !IsContinued(line)) break;
    text = line + text;
  }
  return text;
}

TxxParamArr OpenCallsIn(const std::string& t) {
  TxxParamArr stack;
  const size_t len = t.size();
  size_t i = 0;
  while (i < len) {
    const char c = t[i];
    if (c == '&' && i + 1 < len && t[i + 1] == '&') {
      stack.clear();
      break;
    }
    if (c == '\'' || c == '"' || c == '[') {
      const char close = c == '[' ? ']' : c;
      const size_t end = t.find(close, i + 1);
      i = end == std::string::npos ? len : end + 1;
      continue;
    }
    // THIS.Method( is a call of a method of the class at the cursor.
    const bool thisDot = i >= 5 && UpperCase(t.substr(i - 5, 5)) == "THIS." &&
                         (i == 5 || (!InSet(IdentChars, t[i - 6]) && t[i - 6] != '.'));
    if (InSet(IdentStartChars, c) &&
        (i == 0 || thisDot || (!InSet(IdentChars, t[i - 1]) && t[i - 1] != '.'))) {
      size_t j = i;
      while (j < len && InSet(IdentChars, t[j])) ++j;
      const std::string name = (thisDot ? t.substr(i - 5, 5) : std::string()) + t.substr(i, j - i);
      while (j < len && IsLineBlank(t[j])) ++j;
      if (j >= len) break;
      if (t[j] == '(' || UpperCase(Trim(t.substr(j, 5))) == "WITH") stack.push_back(TxxParam{name, 1});
      i = j;
      continue;
    }
    if (c == ',' && !stack.empty()) ++stack.back().ParamNo;
    if (c == ')' && !stack.empty()) stack.pop_back();
    ++i;
  }
  return stack;
}

std::vector<std::string> WrapParamText(const std::string& text, int windowWidth) {
  // A window too narrow for any text still gets one character a line.
  const int limit = Max(1, windowWidth - 3);
  static const CharSet kBreaks = MakeCharSet(" ,;");
  std::vector<std::string> lines;
  std::string s = text + " ";
  while (static_cast<int>(s.size()) > limit) {
    const std::string part = s.substr(0, static_cast<size_t>(limit));
    int cut = LastCharIn(part, kBreaks);
    if (cut == 0) cut = limit;
    lines.push_back(" " + Trim(part.substr(0, static_cast<size_t>(cut))) + " ");
    s = s.substr(static_cast<size_t>(cut));
  }
  lines.push_back(" " + Trim(s) + " ");
  return lines;
}

std::vector<TxxHintPiece> HighlightPieces(const std::vector<std::string>& lines, int paramNo) {
  static const CharSet kStrip = MakeCharSet("\t ()[],");
  std::vector<TxxHintPiece> pieces;
  int counter = 1;
  for (size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    const int len = static_cast<int>(line.size());
    int start = 0;  // 0-based index of the segment's first character
    for (int pos = 0; pos <= len; ++pos) {
      const bool real = pos < len && (line[pos] == ')' || line[pos] == ',');
      if (pos < len && !real) continue;
      if (counter == paramNo) {
        int a = start;
        int b = Min(pos, len - 1);  // inclusive end; the ending character is stripped anyway
        while (a <= b && InSet(kStrip, line[a])) ++a;
        while (b >= a && InSet(kStrip, line[b])) --b;
        if (a <= b) pieces.push_back(TxxHintPiece{static_cast<int>(l), a, line.substr(a, b - a + 1)});
        if (real) return pieces;
      }
      if (real) ++counter;
      start = pos;
    }
  }
  return pieces;
}

}  // namespace vemlo
