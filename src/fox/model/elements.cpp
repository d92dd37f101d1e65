// The names a statement declares: variables, arrays, cursor fields and aliases.
#include "fox/model/program.h"
#include "fox/model/scanner.h"
#include <vector>

#include "lib/xxlib.h"

namespace vemlo {

namespace {

const CharSet& DottedIdentChars() {
  static const CharSet set = WithChars(IdentChars, ".");
  return set;
}

void AddElement(TxxFoxString& st, std::string name, unsigned char kind, std::string source) {
  st.Elements.push_back(TxxFoxElement{std::move(name), kind, std::move(source)});
}

// Position (0-based) of `word` in s compared in upper case, npos when absent.
size_t FindUpper(const std::string& s, const std::string& word) {
  return UpperCase(s).find(word);
}

// The next run of `set` characters from pos (characters before it skipped); pos
// moves past the run and the blanks after it. The lists below walk their text by
// position, so a long list costs its length, not its length squared.
std::string NextToken(const std::string& s, size_t& pos, const CharSet& set) {
  size_t i = pos;
  while (i < s.size() && !InSet(set, s[i])) ++i;
  if (i >= s.size()) return std::string();
  size_t j = i;
  while (j < s.size() && InSet(set, s[j])) ++j;
  pos = j;
  while (pos < s.size() && static_cast<unsigned char>(s[pos]) <= 32) ++pos;
  return s.substr(i, j - i);
}

// Comma-separated names: "a, m.b, c".
void AddVariableList(TxxFoxString& st, const std::string& list, unsigned char kind,
                     const std::string& source) {
  const std::string text = "," + list;
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ',') {
    std::string token = NextToken(text, pos, DottedIdentChars());
    if (token.empty()) break;
    if (IsVarName(token)) AddElement(st, token, kind, source);
  }
}

// The first occurrence of c at or after pos, remembered while it stays ahead.
class NextOf {
 public:
  NextOf(const std::string& s, char c) : s_(s), c_(c) {}
  size_t From(size_t pos) {
    if (!known_ || (at_ != std::string::npos && at_ < pos)) {
      at_ = s_.find(c_, pos);
      known_ = true;
    }
    return at_;
  }

 private:
  const std::string& s_;
  char c_;
  size_t at_ = std::string::npos;
  bool known_ = false;
};

// Names with their declarators: "a(10), b(2,3)", "a[2,3]" or "f1 C(10), f2 N(5,2)".
// A comma inside the first parenthesis or bracket pair belongs to the declarator.
void AddDeclaratorList(TxxFoxString& st, const std::string& list, unsigned char kind,
                       const std::string& keyword) {
  NextOf open(list, '(');
  NextOf close(list, ')');
  NextOf openBracket(list, '[');
  NextOf closeBracket(list, ']');
  size_t pos = 0;
  for (;;) {
    while (pos < list.size() && static_cast<unsigned char>(list[pos]) <= 32) ++pos;
    if (pos >= list.size()) break;
    std::string token = NextToken(list, pos, IdentChars);
    if (token.empty()) break;
    size_t end = list.find(',', pos);  // one past the declarator's last character
    if (end == std::string::npos) {
      end = list.size();
    } else {
      const size_t ob = openBracket.From(pos);
      const bool bracket = ob < end && ob < open.From(pos);
      const size_t o = bracket ? ob : open.From(pos);
      const size_t c = bracket ? closeBracket.From(pos) : close.From(pos);
      if (o < end && c != std::string::npos && c > end) {
        const size_t comma = list.find(',', c);
        end = comma == std::string::npos ? c : comma;
      }
      ++end;
    }
    std::string decl = TrimRight(list.substr(pos, end - pos));
    AddElement(st, token, kind, keyword.empty() ? decl : keyword + " " + decl);
    pos = end;
  }
}

// The pieces of a list split at the commas outside parentheses and brackets.
std::vector<std::string> SplitTopLevel(const std::string& list) {
  std::vector<std::string> pieces(1);
  int depth = 0;
  for (char c : list) {
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  return pieces;
}

// LOCAL and LPARAMETERS lists: "a AS String, b[3], m.c". A name followed by a
// bracket or parenthesis is an array.
void AddTypedList(TxxFoxString& st, const std::string& list, const std::string& source) {
  for (const std::string& piece : SplitTopLevel(list)) {
    std::string rest = TrimLeft(piece);
    std::string token = PopToken(rest, DottedIdentChars());
    if (token.empty() || !IsVarName(token)) continue;
    rest = TrimLeft(rest);
    const bool array = !rest.empty() && (rest[0] == '(' || rest[0] == '[');
    AddElement(st, token, array ? ekArray : ekVariable, source);
  }
}

// The name after the first " TO " (TEXT TO x, CATCH TO x).
void AddVariableAfterTo(TxxFoxString& st, const std::string& s) {
  const std::string padded = s + " ";
  const size_t to = FindUpper(padded, " TO ");
  // The upper-cased text may differ in length from the text (bytes the case
  // table maps oddly): a position past its end names no variable.
  if (to == std::string::npos || to + 4 > padded.size()) return;
  std::string rest = padded.substr(to + 4);
  std::string token = PopToken(rest, DottedIdentChars());
  if (IsVarName(token)) AddElement(st, token, ekVariable, Trim(s));
}

// The first ADIR( call of the text: ADIR, any case, not preceded by a name
// character and followed by "(" after optional blanks.
void AddAdirArray(TxxFoxString& st, const std::string& s) {
  const std::string upper = UpperCase(s);
  for (size_t at = upper.find("ADIR"); at != std::string::npos; at = upper.find("ADIR", at + 1)) {
    if (at > 0 && InSet(IdentChars, s[at - 1])) continue;
    size_t p = at + 4;
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t')) ++p;
    if (p >= s.size() || s[p] != '(') continue;
    std::string rest = s.substr(p + 1);
    std::string token = PopToken(rest, DottedIdentChars());
    if (IsVarName(token)) AddElement(st, token, ekArray, Trim(s));
    return;
  }
}

// The text after the first word.
std::string AfterKeyword(const std::string& s) {
  std::string rest = s;
  PopWord(rest);
  return TrimLeft(rest);
}

bool IsAdirClass(unsigned char kind) {
  switch (kind) {
    case stMAssign: case stEvaluate: case stStore: case stIf: case stCase: case stFor:
    case stScan: case stDoWhile:
      return true;
    default:
      return false;
  }
}

// The name part of a path: after the last "\", before the first ".".
std::string BareName(const std::string& path) {
  std::string name = path.substr(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

void ExtractSelect(TxxFoxString& st, const std::string& s) {
  std::string rest = s;
  const std::string keyword = PopWord(rest);
  std::string first = PopWord(rest);
  if (IsBlank(rest)) {
    if (IsAliasName(first)) AddElement(st, first, ekAlias, s);
    return;
  }
  const size_t into = FindUpper(rest, " INTO ");
  if (into == std::string::npos) return;
  std::string after = rest.substr(into + 6);
  const std::string target = PopWord(after);
  if (!IsKeyword(target, "TABLE") && !IsKeyword(target, "DBF") && !IsKeyword(target, "CURSOR")) {
    return;
  }
  std::string alias = BareName(PopWord(after));
  if (IsAliasName(alias)) AddElement(st, alias, ekAlias, keyword + " ..." + rest.substr(into));
}

void ExtractCreateCursor(TxxFoxString& st, const std::string& s) {
  std::string rest = s;
  const std::string w1 = PopWord(rest);
  const std::string w2 = PopWord(rest);
  std::string alias = PopWord(rest);
  if (!IsAliasName(alias)) return;
  AddElement(st, alias, ekAlias, w1 + " " + w2);
  if (UpperCase(rest.substr(0, 11)) == "FROM ARRAY ") return;
  AddDeclaratorList(st, rest, ekField, "");
}

}  // namespace

bool IsVarName(std::string& name) {
  name = Trim(name);
  if (name.size() >= 2 && (name[0] == 'M' || name[0] == 'm') && name[1] == '.') name.erase(0, 2);
  return !name.empty() && !(name[0] >= '0' && name[0] <= '9') &&
         name.find('.') == std::string::npos;
}

bool IsAliasName(std::string& name) {
  name = Trim(name);
  return !name.empty() && name.size() <= 10 && InSet(IdentStartChars, name[0]) &&
         AllCharsIn(name, IdentChars);
}

void ExtractElements(TxxFoxString& st) {
  const std::string s = NormalizeStatement(st.Text, true, false);
  std::string rest = s;
  switch (st.Kind) {
    case stAtCommand: {
      const size_t get = FindUpper(s, " GET ");
      if (get == std::string::npos) break;
      rest = s.substr(get + 5);
      std::string token = PopToken(rest, DottedIdentChars());
      if (IsVarName(token)) AddElement(st, token, ekVariable, Trim(s));
      break;
    }
    case stMAssign: {
      std::string token = PopToken(rest, DottedIdentChars());
      if (IsVarName(token)) AddElement(st, token, ekVariable, Trim(rest));
      break;
    }
    case stParameters:
      if (IsKeyword(s, "LPARAMETERS")) {
        AddTypedList(st, AfterKeyword(s), "parameter");
      } else {
        PopWord(rest);
        AddVariableList(st, rest, ekVariable, "parameter");
      }
      break;
    case stLocal: {
      rest = AfterKeyword(s);
      if (IsKeyword(rest, "ARRAY")) {
        AddDeclaratorList(st, AfterKeyword(rest), ekArray, FirstWord(s) + " " + FirstWord(rest));
      } else {
        AddTypedList(st, rest, "local");
      }
      break;
    }
    case stForEach: {
      rest = AfterKeyword(AfterKeyword(s));
      std::string token = PopToken(rest, DottedIdentChars());
      if (IsVarName(token)) AddElement(st, token, ekVariable, Trim(s));
      break;
    }
    case stText:
    case stCatch:
      AddVariableAfterTo(st, s);
      break;
    case stPrivate:
    case stPublic: {
      PopWord(rest);
      const std::string head = UpperCase(rest.substr(0, 4));
      const bool all = head.compare(0, 3, "ALL") == 0 &&
                       (head.size() == 3 || static_cast<unsigned char>(head[3]) <= 32);
      if (!all) AddVariableList(st, rest, ekVariable, st.Kind == stPrivate ? "private" : "public");
      break;
    }
    case stStore:
    case stCount:
    case stSum:
    case stCalculate: {
      const size_t to = FindUpper(s, " TO ");
      if (to != std::string::npos) {
        AddVariableList(st, s.substr(to + 4), ekVariable, Trim(s.substr(0, to + 3)));
      }
      break;
    }
    case stDimension: {
      const std::string keyword = PopWord(rest);
      AddDeclaratorList(st, rest, ekArray, keyword);
      break;
    }
    case stFor: {
      rest = s.size() > 3 ? s.substr(3) : std::string();
      std::string token = PopToken(rest, DottedIdentChars());
      if (IsVarName(token)) AddElement(st, token, ekVariable, Trim(s));
      break;
    }
    case stCreateCursor:
      ExtractCreateCursor(st, s);
      break;
    case stCreateFrom: {
      const std::string keyword = PopWord(rest);
      std::string alias = PopWord(rest);
      if (IsAliasName(alias)) AddElement(st, alias, ekAlias, keyword);
      break;
    }
    case stUse: {
      const size_t at = FindUpper(s, " ALIAS ");
      if (at == std::string::npos) break;
      std::string alias = FirstWord(s.substr(at + 7));
      if (IsAliasName(alias)) AddElement(st, alias, ekAlias, s);
      break;
    }
    case stSelect:
      ExtractSelect(st, s);
      break;
    case stCopyTo: {
      PopWord(rest);
      PopWord(rest);
      if (UpperCase(PopWord(rest)) == "ARRAY") {
        std::string name = PopWord(rest);
        if (!name.empty()) AddElement(st, name, ekArray, Trim(s));
      }
      break;
    }
    default:
      break;
  }
  if (IsAdirClass(st.Kind)) AddAdirArray(st, s);
}

}  // namespace vemlo
