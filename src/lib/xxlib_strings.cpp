// xxlib: character sets, trimming, padding, substrings and replacement.
#include "lib/xxlib.h"

#include <climits>

namespace vemlo {

namespace {

CharSet RangeSet(const char* ranges) {
  CharSet set;
  for (const char* p = ranges; p[0] && p[1]; p += 2)
    for (int c = static_cast<unsigned char>(p[0]); c <= static_cast<unsigned char>(p[1]); ++c) set.set(c);
  return set;
}

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

}  // namespace

const CharSet IdentChars = RangeSet("09AZ__az");
const CharSet IdentStartChars = RangeSet("AZ__az");

CharSet MakeCharSet(const std::string& chars) { return WithChars(CharSet(), chars); }

CharSet WithChars(const CharSet& set, const std::string& chars) {
  CharSet result = set;
  for (char c : chars) result.set(static_cast<unsigned char>(c));
  return result;
}

std::string TrimLeft(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && IsTrimmed(s[i])) ++i;
  return s.substr(i);
}

std::string TrimRight(const std::string& s) {
  size_t n = s.size();
  while (n > 0 && IsTrimmed(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string UpperCase(const std::string& s) {
  std::string result = s;
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

std::string IntToStr(long long value) { return std::to_string(value); }

bool TryStrToInt(const std::string& s, int& value) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

bool IsBlank(const std::string& s) {
  for (char c : s)
    if (!IsTrimmed(c)) return false;
  return true;
}

bool AllCharsIn(const std::string& s, const CharSet& set) {
  for (char c : s)
    if (!InSet(set, c)) return false;
  return true;
}

int LastCharIn(const std::string& s, const CharSet& set) {
  for (size_t i = s.size(); i > 0; --i)
    if (InSet(set, s[i - 1])) return static_cast<int>(i);
  return 0;
}

std::string RepeatStr(const std::string& s, int count) {
  std::string result;
  if (count <= 0) return result;
  result.reserve(s.size() * static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) result += s;
  return result;
}

std::string PadRightTo(const std::string& s, int width) {
  if (width <= 0) return std::string();
  size_t w = static_cast<size_t>(width);
  if (s.size() >= w) return s.substr(0, w);
  return s + std::string(w - s.size(), ' ');
}

std::string PadLeftTo(const std::string& s, int width) {
  if (width <= 0) return std::string();
  size_t w = static_cast<size_t>(width);
  if (s.size() >= w) return s.substr(s.size() - w);
  return std::string(w - s.size(), ' ') + s;
}

std::string SubstrFrom(const std::string& s, int from, int count) {
  if (from < 1 || static_cast<size_t>(from) > s.size()) return std::string();
  if (count < 0) return s.substr(static_cast<size_t>(from - 1));
  return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count));
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
  if (s.empty() || from.empty()) return s;
  std::string result;
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == std::string::npos) break;
    result.append(s, pos, hit - pos);
    result += to;
    pos = hit + from.size();
  }
  result.append(s, pos, std::string::npos);
  return result;
}

std::string TrimBlanks(const std::string& s, bool left, bool right) {
  size_t begin = 0, end = s.size();
  if (left)
    while (begin < end && IsSpaceOrTab(s[begin])) ++begin;
  if (right)
    while (end > begin && IsSpaceOrTab(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Backtracking over the last "*" only: the leftmost-first search of the rule,
// without the exponential cost of retrying every earlier star.
bool WildMatch(const std::string& text, const std::string& pattern) {
  size_t t = 0, p = 0;
  size_t starP = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      if (p + 1 == pattern.size()) return true;
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace vemlo
