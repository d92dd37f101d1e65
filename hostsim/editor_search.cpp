#include "editor_search.h"

#include <algorithm>

namespace vemlo::sim {

char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;  // Latin-1
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return c + 32;  // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 32;  // Cyrillic А..Я
  if (c >= 0x0400 && c <= 0x040F) return c + 80;  // Ѐ..Џ
  if (c >= 0x0490 && c <= 0x04BF && !(c & 1)) return c + 1;  // Ґ and the like
  if (c == 0x0178) return 0xFF;
  if ((c == 0x0152 || c == 0x0160 || c == 0x017D)) return c + 1;
  return c;
}

bool IsWordChar(char32_t c) {
  if (c == '_' || (c >= '0' && c <= '9')) return true;
  const char32_t f = FoldCase(c);
  return (f >= 'a' && f <= 'z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||
         (c >= 0x0370 && c <= 0x03FF) || (c >= 0x0400 && c <= 0x052F);
}

namespace {

bool MatchAt(const std::u32string& text, size_t at, const std::u32string& what, const SearchOptions& o) {
  if (at + what.size() > text.size()) return false;
  for (size_t i = 0; i < what.size(); ++i) {
    char32_t a = text[at + i], b = what[i];
    if (a != b && (o.CaseSensitive || FoldCase(a) != FoldCase(b))) return false;
  }
  if (o.WholeWords) {
    if (at > 0 && IsWordChar(text[at - 1]) && IsWordChar(what.front())) return false;
    const size_t end = at + what.size();
    if (end < text.size() && IsWordChar(text[end]) && IsWordChar(what.back())) return false;
  }
  return true;
}

}  // namespace

SearchHit FindText(const EditorWindow& ed, const std::u32string& what, const SearchOptions& o, int line,
                   int pos) {
  if (what.empty() || ed.Lines.empty()) return {};
  const int count = static_cast<int>(ed.Lines.size());
  line = std::clamp(line, 0, count - 1);
  if (!o.Reverse) {
    for (int n = line; n < count; ++n) {
      const std::u32string& t = ed.Lines[n].Text;
      for (size_t at = n == line ? static_cast<size_t>(std::max(0, pos)) : 0; at + what.size() <= t.size(); ++at)
        if (MatchAt(t, at, what, o)) return {n, static_cast<int>(at)};
    }
    return {};
  }
  for (int n = line; n >= 0; --n) {
    const std::u32string& t = ed.Lines[n].Text;
    if (t.size() < what.size()) continue;
    long start = static_cast<long>(t.size() - what.size());
    if (n == line) start = std::min<long>(start, static_cast<long>(pos) - 1);
    for (long at = start; at >= 0; --at)
      if (MatchAt(t, static_cast<size_t>(at), what, o)) return {n, static_cast<int>(at)};
  }
  return {};
}

}  // namespace vemlo::sim
