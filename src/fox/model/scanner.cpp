// Statement scanning: keyword matching, normalising, classes and the assembly of
// physical lines into statements.
#include "fox/model/scanner.h"

#include "lib/xxlib.h"

namespace vemlo {

namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

// Keyword tried in this order by ClassifyStatement; the first match decides.
struct KeywordClass {
  const char* Keyword;
  unsigned char Class;
};
constexpr KeywordClass kKeywordClasses[] = {
    {"IF", stIf},           {"ELSE", stElse},         {"ENDIF", stEndIf},
    {"FOR", stFor},         {"ENDFOR", stEndFor},     {"NEXT", stEndFor},
    {"SCAN", stScan},       {"ENDSCAN", stEndScan},   {"REPLACE", stReplace},
    {"PROCEDURE", stProcedure}, {"FUNCTION", stProcedure}, {"RETURN", stReturn},
    {"RETRY", stReturn},    {"QUIT", stQuit},         {"CANCEL", stQuit},
    {"RUN", stRun},         {"NOTE", stComment},      {"PARAMETERS", stParameters},
    {"PRIVATE", stPrivate}, {"PUBLIC", stPublic},     {"STORE", stStore},
    {"COUNT", stCount},     {"SUM", stSum},           {"CALCULATE", stCalculate},
    {"DIMENSION", stDimension}, {"CASE", stCase},     {"OTHERWISE", stOtherwise},
    {"ENDCASE", stEndCase}, {"ENDDO", stEndDo},       {"LOOP", stLoop},
    {"EXIT", stExit},       {"USE", stUse},           {"SELECT", stSelect},
    {"TEXT", stText},       {"ENDTEXT", stEndText},
};

// The last character above code 32, or 0 when there is none.
char LastNonBlank(const std::string& s) {
  for (size_t i = s.size(); i > 0; --i) {
    if (static_cast<unsigned char>(s[i - 1]) > 32) return s[i - 1];
  }
  return 0;
}

}  // namespace

bool IsKeyword(std::string_view text, std::string_view keyword) {
  // Works on the trimmed text followed by one blank, without copying it: this runs
  // for every line and every keyword.
  size_t tb = 0, te = text.size();
  while (tb < te && static_cast<unsigned char>(text[tb]) <= 32) ++tb;
  while (te > tb && static_cast<unsigned char>(text[te - 1]) <= 32) --te;
  size_t kb = 0, ke = keyword.size();
  while (kb < ke && static_cast<unsigned char>(keyword[kb]) <= 32) ++kb;
  while (ke > kb && static_cast<unsigned char>(keyword[ke - 1]) <= 32) --ke;
  const size_t klen = ke - kb;
  for (size_t i = 0;; ++i) {
    const char c = tb + i < te ? text[tb + i] : ' ';
    if (!InSet(IdentChars, c)) {
      if (i == 0) return false;
      if (i == klen) return true;
      return !InSet(IdentChars, keyword[kb + i]) || i >= 4;
    }
    if (i >= klen || UpperChar(c) != UpperChar(keyword[kb + i])) return false;
  }
}

bool IsCommentLine(const std::string& line) {
  const std::string t = TrimLeft(line);
  if (t.empty()) return false;
  if (t[0] == '*') return true;
  if (t.compare(0, 2, "&&") == 0) return true;
  return UpperCase(Trim(t.substr(0, 5))) == "NOTE";
}

std::string NormalizeStatement(const std::string& text, bool dropComment, bool blankStrings) {
  std::string out;
  out.reserve(text.size());
  char closer = 0;  // closing delimiter of the open string literal, 0 outside one
  // The space that joins two lines counts as a blank, so an indented continuation
  // line joins with one space.
  bool afterJoin = false;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') {
      while (!out.empty() && (IsBlankChar(out.back()) || out.back() == ';')) out.pop_back();
      if (!out.empty()) out += ' ';
      afterJoin = true;
      ++i;
      continue;
    }
    const bool joined = afterJoin;
    afterJoin = false;
    if (closer != 0) {
      if (c != closer) {
        if (!blankStrings) out += c;
        continue;
      }
      closer = 0;
      out += c;
      continue;
    }
    if (c == '"' || c == '\'') {
      closer = c;
    } else if (c == '[') {
      closer = ']';
    } else if (c == '&' && i + 1 < n && text[i + 1] == '&') {
      if (dropComment) return out;
      std::string comment = text.substr(i);
      for (char& ch : comment) {
        if (ch == '\t') ch = ' ';
      }
      return Trim(out + comment);
    }
    if (IsBlankChar(c)) {
      if (joined) {
        afterJoin = true;
      } else if (i > 0 && !IsBlankChar(text[i - 1])) {
        out += ' ';
      }
      continue;
    }
    out += c;
  }
  return Trim(out);
}

unsigned char ClassifyStatement(const std::string& text) {
  const std::string t = TrimLeft(text);
  if (t.empty()) return stEmpty;
  switch (t[0]) {
    case '!': return stRun;
    case '#': return stDirective;
    case '=': return stEvaluate;
    case '?':
    case '\\': return stOutput;
    case '@': return stAtCommand;
    case '*': return stComment;
    case '&': return (t.size() > 1 && t[1] == '&') ? stAmpComment : stOther;
    default: break;
  }
  if ((t[0] == 'M' || t[0] == 'm') && t.size() > 2 && t[1] == '.') return stMAssign;
  for (const KeywordClass& kc : kKeywordClasses) {
    if (IsKeyword(t, kc.Keyword)) return kc.Class;
  }
  std::string rest = t;
  if (IsKeyword(t, "COPY")) {
    PopWord(rest);
    return IsKeyword(rest, "TO") ? stCopyTo : stOther;
  }
  if (IsKeyword(t, "CREATE")) {
    PopWord(rest);
    if (IsKeyword(rest, "CURSOR") || IsKeyword(rest, "TABLE") || IsKeyword(rest, "DBF")) {
      return stCreateCursor;
    }
    const std::string s = NormalizeStatement(t, true, true);
    return s.find(" FROM ") != std::string::npos ? stCreateFrom : stOther;
  }
  if (IsKeyword(t, "DO")) {
    PopWord(rest);
    if (IsKeyword(rest, "CASE")) return stDoCase;
    if (IsKeyword(rest, "WHILE")) return stDoWhile;
    return stDo;
  }
  return stOther;
}

int ScanStatements(const TxxLineReader& read, int firstLine, int lastLine, int cursorLine,
                   TxxFoxStringArr& statements) {
  int current = -1;
  bool textBlock = false;
  std::string line;
  int next = firstLine < 0 ? 0 : firstLine;
  while (next <= lastLine) {
    if (textBlock) {
      textBlock = false;
      int end = next;  // first line that is not part of the body
      while (end <= lastLine && read(end, line) && !IsKeyword(line, "ENDTEXT")) ++end;
      if (end > next) {
        TxxFoxString body;
        body.FirstLine = next;
        body.LastLine = end - 1;
        body.Kind = stTextBody;
        statements.push_back(std::move(body));
        next = end;
        continue;
      }
    }
    if (!read(next, line)) break;
    TxxFoxString st;
    st.FirstLine = next;
    st.Text = line;
    // Trailing blanks never end a continuation: a blank line after a continued
    // line continues it as well.
    char last = LastNonBlank(line);
    int lineNo = next;
    while (last == ';' && !IsCommentLine(line) && lineNo < INT_MAX) {
      if (!read(lineNo + 1, line)) break;
      ++lineNo;
      st.Text += "\r\n";
      st.Text += line;
      if (const char c = LastNonBlank(line)) last = c;
    }
    st.LastLine = lineNo;
    st.Kind = ClassifyStatement(st.Text);
    if (st.Kind == stText) textBlock = true;
    if (current < 0 && st.LastLine >= cursorLine) {
      current = static_cast<int>(statements.size());
    } else {
      ExtractElements(st);
    }
    st.Text.clear();
    st.Text.shrink_to_fit();
    statements.push_back(std::move(st));
    if (lineNo == INT_MAX) break;
    next = lineNo + 1;
  }
  return current;
}

}  // namespace vemlo
