// xxlib: words and tokens of a text, and the word around a position.
#include "lib/xxlib.h"

namespace vemlo {

namespace {

size_t FindSpaceOrTab(const std::string& s) { return s.find_first_of(" \t"); }

}  // namespace

std::string FirstWord(const std::string& s) {
  std::string rest = TrimLeft(s);
  return rest.substr(0, FindSpaceOrTab(rest));
}

std::string PopWord(std::string& s) {
  std::string rest = TrimLeft(s);
  size_t end = FindSpaceOrTab(rest);
  if (end == std::string::npos) {
    s.clear();
    return rest;
  }
  s = TrimLeft(rest.substr(end + 1));
  rest.resize(end);
  return rest;
}

std::string PopToken(std::string& s, const CharSet& set) {
  if (s.empty()) return std::string();
  std::string text = s + ' ';
  size_t begin = 0;
  while (begin < text.size() && !InSet(set, text[begin])) ++begin;
  size_t end = begin;
  while (end < text.size() && InSet(set, text[end])) ++end;
  std::string token = text.substr(begin, end - begin);
  // The appended space only ends a run at the end; it is not part of what is left.
  s = end < s.size() ? TrimLeft(s.substr(end)) : std::string();
  return token;
}

std::string WordAt(const std::string& s, const CharSet& set, int anchor, int& right, int& left) {
  const int length = static_cast<int>(s.size());
  if (anchor < 1 || length < anchor) {
    left = right = anchor;
    return std::string();
  }
  const int limit = right;
  int l = anchor;
  while (l >= 1 && InSet(set, s[l - 1])) --l;
  int r = anchor;
  while (r <= length && (limit <= 0 || r <= limit) && InSet(set, s[r - 1])) ++r;
  left = l;
  right = r;
  if (r - l - 1 <= 0) return std::string();
  return s.substr(static_cast<size_t>(l), static_cast<size_t>(r - l - 1));
}

std::string QualifierOfWordAt(const std::string& s, const CharSet& set, int anchor) {
  int right = 0, left = 0;
  if (WordAt(s, set, anchor, right, left).empty()) return std::string();
  // left is the 1-based position just before the word.
  if (left < 2 || s[static_cast<size_t>(left - 1)] != '.') return std::string();
  int l = left - 1;
  while (l >= 1 && InSet(set, s[static_cast<size_t>(l - 1)])) --l;
  return s.substr(static_cast<size_t>(l), static_cast<size_t>(left - 1 - l));
}

}  // namespace vemlo
