// Building the structure review: one entry per statement with a strip of
// line-drawing characters that shows the nesting, and the bookmarks as entries.
#include "fox/insight/structure_entries.h"

#include "fox/insight/block_kinds.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

// One nesting column of the drawing.
struct TxxGraphElement {
  char Char = ' ';
  unsigned char Kind = 0;
};
using TxxGraphElementArr = std::vector<TxxGraphElement>;

char CharAt(const std::string& set, size_t i) { return i < set.size() ? set[i] : ' '; }

// The drawing rules over the column table of one run.
struct Drawer {
  const TxxReviewOptions& O;
  TxxGraphElementArr Columns;

  void Record(const TxxLangStructItem& e) {
    if (static_cast<int>(Columns.size()) < e.Level + 1) Columns.resize(static_cast<size_t>(e.Level) + 1);
  }
  void Claim(const TxxLangStructItem& e, char bar) {
    Record(e);
    Columns[e.Level].Char = bar;
    Columns[e.Level].Kind = e.StmtKind;
  }
  void RecordKind(const TxxLangStructItem& e) {
    Record(e);
    Columns[e.Level].Kind = e.StmtKind;
  }
  std::string Bars(int upTo) const {
    std::string g;
    for (int c = 0; c < upTo; ++c) {
      g += Columns[c].Char;
      g.append(static_cast<size_t>(O.Step - 1), ' ');
    }
    return g;
  }
  void Ordinary(TxxLangStructItem& e) {
    Record(e);
    e.Graph = Bars(e.Level) + Columns[e.Level].Char +
              std::string(static_cast<size_t>(O.Bracket - 1 + O.Indent), ' ');
    e.Anchor = e.Level;
  }
  void Opener(TxxLangStructItem& e, char corner, char line) {
    Record(e);
    e.Graph = Bars(e.Level) + corner + std::string(static_cast<size_t>(O.Bracket - 1), line) +
              std::string(static_cast<size_t>(O.Indent), ' ');
    e.Anchor = e.Level;
  }
  void Connector(TxxLangStructItem& e, int from, char corner, char line) {
    Record(e);
    const int f = Min(from, e.Level);
    e.Anchor = f;
    std::string g = Bars(f) + corner;
    if (f == e.Level) {
      g.append(static_cast<size_t>(O.Bracket - 1), line);
    } else {
      g.append(static_cast<size_t>(O.Step - 1), line);
      for (int c = f + 1; c < e.Level; ++c) g.append(static_cast<size_t>(O.Step), line);
      g.append(static_cast<size_t>(O.Bracket), line);
    }
    g.append(static_cast<size_t>(O.Indent), ' ');
    e.Graph = std::move(g);
  }
  // The column from Level down that a branch or jump hangs off: the first whose
  // kind is wanted (found), or the first of a wrong opener, or 0 (not found).
  int FindOpener(int level, const std::vector<unsigned char>& wanted,
                 const std::vector<unsigned char>& wrong, bool& found) const {
    found = false;
    for (int c = Min(level, static_cast<int>(Columns.size()) - 1); c >= 0; --c) {
      const unsigned char k = Columns[c].Kind;
      for (unsigned char w : wanted)
        if (k == w) {
          found = true;
          return c;
        }
      for (unsigned char w : wrong)
        if (k == w) return c;
    }
    return 0;
  }
};

std::vector<std::string> SplitLines(const std::string& value) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t ff = value.find('\x0C', start);
    const std::string line =
        UpperCase(Trim(value.substr(start, ff == std::string::npos ? std::string::npos : ff - start)));
    if (!line.empty()) out.push_back(line);
    if (ff == std::string::npos) break;
    start = ff + 1;
  }
  return out;
}

// The identifier that ends just before position end (blanks between allowed).
std::string IdentBefore(const std::string& s, size_t end) {
  size_t i = end;
  while (i > 0 && (s[i - 1] == ' ' || s[i - 1] == '\t')) --i;
  const size_t stop = i;
  while (i > 0 && InSet(IdentChars, s[i - 1])) --i;
  return s.substr(i, stop - i);
}

// The name after DO and its blanks; a file name keeps its extension.
std::string NameAfter(const std::string& s, size_t from) {
  size_t i = from;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  const size_t start = i;
  while (i < s.size() && (InSet(IdentChars, s[i]) || s[i] == '.')) ++i;
  return s.substr(start, i - start);
}

}  // namespace

int ReadBoundedNumber(const std::string& text, int def, int lowerBound) {
  int value = 0;
  if (!TryStrToInt(Trim(text), value)) value = def;
  return Max(value, lowerBound);
}

std::vector<std::string> ReadKeywordList(const std::string& value) { return SplitLines(value); }

std::vector<TxxStructPair> ReadPairList(const std::string& value) {
  std::vector<TxxStructPair> pairs;
  for (const std::string& line : SplitLines(value)) {
    const size_t slash = line.find('/');
    if (slash == std::string::npos) continue;
    pairs.push_back(TxxStructPair{Trim(line.substr(0, slash)), Trim(line.substr(slash + 1))});
  }
  return pairs;
}

TxxReviewOptions ReadReviewOptions(const TxxOptions& options) {
  TxxReviewOptions o;
  o.Step = ReadBoundedNumber(OptionValue(options, OptionId::ReviewFoxStructStep), 3, 1);
  o.Bracket = ReadBoundedNumber(OptionValue(options, OptionId::ReviewBracketWidth), 2, 1);
  o.Indent = ReadBoundedNumber(OptionValue(options, OptionId::ReviewBracketIndent), 1, 0);
  o.Cond = OptionValue(options, OptionId::ReviewCharSetCond);
  o.Loop = OptionValue(options, OptionId::ReviewCharSetLoop);
  o.Exit = OptionValue(options, OptionId::ReviewCharSetExit);
  o.Pair = OptionValue(options, OptionId::ReviewCharSetPair);
  o.Keywords = ReadKeywordList(OptionValue(options, OptionId::ReviewAddKeyWords));
  o.Pairs = ReadPairList(OptionValue(options, OptionId::ReviewAddPairList));
  o.ShowBookmarks = OptionOn(options, OptionId::ShowBookmarks);
  return o;
}

bool HasProcCall(const std::string& text, const std::function<bool(const std::string&)>& isProc) {
  const size_t n = text.size();
  const auto known = [&](const std::string& name) {
    const std::string t = Trim(name);
    return !t.empty() && isProc(t);
  };
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '&' && i + 1 < n && text[i + 1] == '&') return false;
    if (c == '\'' || c == '"' || c == '[') {
      const size_t end = text.find(c == '[' ? ']' : c, i + 1);
      if (end == std::string::npos) return false;
      i = end;
      continue;
    }
    if (c == '(' && known(IdentBefore(text, i))) return true;
    if ((c == 'D' || c == 'd') && i + 2 < n && (text[i + 1] == 'O' || text[i + 1] == 'o') &&
        text[i + 2] == ' ' && known(NameAfter(text, i + 2)))
      return true;
  }
  return false;
}

TxxLangStructItemArr BuildStructEntries(const TxxStructInput& in, const TxxReviewOptions& o) {
  TxxLangStructItemArr entries;
  Drawer draw{o, {}};
  int next = 1;
  int cursorEntry = -1;
  const TxxFoxStringArr& statements = *in.Statements;
  const auto append = [&](TxxLangStructItem& e, const TxxFoxString& st) {
    entries.push_back(e);
    if (st.FirstLine <= in.CursorLine) cursorEntry = static_cast<int>(entries.size()) - 1;
  };
  // A block's opening statement claims its column with the set's bar (its
  // character 1) under its corner (character 0); the closing one frees it.
  const auto openBlock = [&](TxxLangStructItem& e, unsigned flag, const std::string& set, size_t lineChar) {
    e.Flags |= flag;
    next = e.Level + 1;
    draw.Claim(e, CharAt(set, 1));
    draw.Opener(e, CharAt(set, 0), CharAt(set, lineChar));
  };
  const auto closeBlock = [&](TxxLangStructItem& e, unsigned flag, const std::string& set, size_t corner,
                              size_t lineChar) {
    if (e.Level > 0) --e.Level;
    next = e.Level;
    e.Flags |= flag;
    draw.Claim(e, ' ');
    draw.Opener(e, CharAt(set, corner), CharAt(set, lineChar));
  };
  // The closers of Visual FoxPro blocks check their column: one opened by
  // another block is drawn with the "?" corner.
  const auto closeChecked = [&](TxxLangStructItem& e, unsigned flag, const std::string& set,
                                size_t corner, size_t lineChar) {
    const unsigned char opener = BlockClosedBy(e.StmtKind)->Open;
    const int col = e.Level > 0 ? e.Level - 1 : 0;
    const bool matched = col < static_cast<int>(draw.Columns.size()) && draw.Columns[col].Kind == opener;
    closeBlock(e, flag, set, corner, lineChar);
    if (!matched) draw.Opener(e, '?', CharAt(set, lineChar));
  };
  // A branch hangs off the nearest open column of its block; another block
  // with branches open nearer hides it ("?").
  const auto branch = [&](TxxLangStructItem& e, unsigned flag, const std::string& set, unsigned char kind) {
    const TxxBlockKind& block = *BlockBranchedBy(kind);
    if (e.Level > 0) --e.Level;
    e.Flags |= flag;
    draw.Record(e);
    bool found = false;
    const int col = draw.FindOpener(e.Level, {block.Open}, OtherBranchedOpeners(block), found);
    draw.Connector(e, col, found ? CharAt(set, 2) : '?', CharAt(set, 4));
  };
  std::string line;
  for (const TxxFoxString& st : statements) {
    TxxLangStructItem e;
    e.Level = next;
    e.StmtKind = st.Kind;
    e.Line = st.FirstLine;
    std::string raw;
    for (int l = st.FirstLine; l <= st.LastLine; ++l) {
      if (!in.Read(l, line)) break;
      raw += line + "\r\n";
    }
    e.Text = NormalizeStatement(raw, false, false);
    const unsigned char kind = st.Kind;

    if (kind != stEmpty && kind != stComment && kind != stAmpComment && kind != stTextBody) {
      e.Flags |= efStatement;
      draw.Ordinary(e);
      if (in.IsProc && HasProcCall(e.Text, in.IsProc)) e.Flags |= efCall;
    }
    const std::string upper = UpperCase(TrimLeft(e.Text));
    for (const TxxStructPair& p : o.Pairs) {
      if (upper.compare(0, p.Open.size(), p.Open) == 0) {
        e.Flags |= efPairOpen;
        draw.Connector(e, 0, CharAt(o.Pair, 0), CharAt(o.Pair, 1));
        break;
      }
      if (upper.compare(0, p.Close.size(), p.Close) == 0) {
        e.Flags |= efPairClose;
        draw.Connector(e, 0, CharAt(o.Pair, 2), CharAt(o.Pair, 3));
        break;
      }
    }
    for (const std::string& k : o.Keywords) {
      if (IsKeyword(e.Text, k)) {
        e.Flags |= efKeyword;
        draw.Ordinary(e);
        break;
      }
    }

    bool found = false;
    switch (kind) {
      case stComment:
      case stAmpComment:
        e.Flags |= efComment;
        draw.RecordKind(e);
        draw.Ordinary(e);
        break;
      case stDirective:
        e.Flags |= efDirective;
        e.Level = 0;
        draw.Claim(e, ' ');
        draw.Opener(e, ' ', ' ');
        break;
      case stProcedure:
      case stDefineClass:
      case stEndDefine:
      case stEndProc:
        e.Flags |= efHeading;
        e.Level = 0;
        next = 1;
        draw.Claim(e, ' ');
        draw.Opener(e, ' ', ' ');
        break;
      case stReturn:
      case stQuit:
        e.Flags |= efExit;
        draw.RecordKind(e);
        draw.Connector(e, 0, CharAt(o.Exit, 0), CharAt(o.Exit, 1));
        break;
      case stIf:
      case stDoCase:
        openBlock(e, efCondOpen, o.Cond, 4);
        break;
      case stElse:
      case stCase:
      case stOtherwise:
      case stCatch:
      case stFinally:
        branch(e, efCondBranch, o.Cond, kind);
        break;
      case stEndIf:
      case stEndCase:
        closeBlock(e, efCondClose, o.Cond, 3, 4);
        break;
      case stFor:
      case stScan:
      case stDoWhile:
        openBlock(e, efLoopOpen, o.Loop, 5);
        break;
      case stEndFor:
      case stEndScan:
      case stEndDo:
        closeBlock(e, efLoopClose, o.Loop, 4, 5);
        break;
      case stLoop:
      case stExit: {
        e.Flags |= efLoopJump;
        draw.Record(e);
        const int col = draw.FindOpener(e.Level, LoopOpeners(), {}, found);
        if (found)
          draw.Connector(e, col, CharAt(o.Loop, kind == stLoop ? 2 : 3), CharAt(o.Loop, 5));
        break;
      }
      case stTry:
        openBlock(e, efCondOpen, o.Cond, 4);
        break;
      case stEndTry:
        closeChecked(e, efCondClose, o.Cond, 3, 4);
        break;
      case stWith:
      case stForEach:
        openBlock(e, efLoopOpen, o.Loop, 5);
        break;
      case stEndWith:
        closeChecked(e, efLoopClose, o.Loop, 4, 5);
        break;
      case stDirIf:
        e.Flags |= efDirective;
        openBlock(e, 0, o.Cond, 4);
        break;
      case stDirElse:
        branch(e, efDirective, o.Cond, kind);
        break;
      case stDirEndIf:
        closeChecked(e, efDirective, o.Cond, 3, 4);
        break;
      default:
        break;
    }

    bool appended = false;
    for (const TxxBookmark& bm : in.Bookmarks) {
      if (bm.Line > st.LastLine) break;
      if (bm.Line < st.FirstLine) continue;
      TxxLangStructItem b = e;
      if (appended || e.Flags == 0) {
        b.Flags = efBookmark;
        draw.Ordinary(b);
      } else {
        b.Flags |= efBookmark;
        appended = true;
      }
      b.BookmarkNo = bm.Number;
      b.Line = bm.Line;
      b.Col = bm.Col;
      b.ScreenLine = bm.ScreenLine;
      b.LeftPos = bm.LeftPos;
      append(b, st);
    }
    if (!appended && e.Flags != 0) append(e, st);
  }
  if (cursorEntry >= 0) {
    entries[cursorEntry].Mark = '\x10';
    entries[cursorEntry].Selected = true;
  }
  return entries;
}

std::string StructListingLine(const TxxLangStructItem& e) {
  std::string number = IntToStr(e.Line + 1LL);
  if (number.size() < 6) number.append(6 - number.size(), ' ');
  return number + e.Graph + e.Text;
}

}  // namespace vemlo
