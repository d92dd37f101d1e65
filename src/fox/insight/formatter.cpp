// The indentation formatter: a stack of indentations built from the nesting of
// the block statements, continuation lines indented further, and trailing
// comments moved to fixed columns.
#include "fox/insight/formatter.h"

#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

int ReadCount(const std::string& field) {
  int value = 0;
  if (!TryStrToInt(Trim(field), value) || value < 0) return 0;
  return value;
}

bool IsGapChar(char c) { return c == ' ' || c == '\t'; }

void Pop(TxxTabSpaceArr& stack) {
  if (!stack.empty()) stack.pop_back();
}

}  // namespace

TxxTabSpace ParseIndentOption(const std::string& text) {
  const std::string t = PadRightTo(text, 8);
  return TxxTabSpace{ReadCount(t.substr(0, 3)), ReadCount(t.substr(4, 3))};
}

std::string IndentText(const TxxTabSpaceArr& stack) {
  std::string out;
  for (const TxxTabSpace& e : stack) {
    out.append(static_cast<size_t>(e.Tabs), '\t');
    out.append(static_cast<size_t>(e.Spaces), ' ');
  }
  return out;
}

std::vector<int> ParseCommentColumns(const std::string& text) {
  std::string packed;
  for (char c : Trim(text))
    if (c != ' ') packed += c;
  std::vector<int> columns;
  size_t start = 0;
  for (;;) {
    const size_t comma = packed.find(',', start);
    const std::string piece = packed.substr(start, comma == std::string::npos ? std::string::npos
                                                                              : comma - start);
    int value = 0;
    if (!piece.empty() && AllCharsIn(piece, MakeCharSet("0123456789")) &&
        TryStrToInt(piece, value) && value >= 1)
      columns.push_back(value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return columns;
}

TxxFmtOptions ReadFmtOptions(const TxxOptions& options) {
  TxxFmtOptions o;
  o.Base = ParseIndentOption(OptionValue(options, OptionId::FmtTextBaseIndent));
  o.Proc = ParseIndentOption(OptionValue(options, OptionId::FmtTextAddIndentProc));
  o.Step = ParseIndentOption(OptionValue(options, OptionId::FmtTextStructIndentStep));
  o.Case = ParseIndentOption(OptionValue(options, OptionId::FmtTextAddIndentCase));
  o.Wrap = ParseIndentOption(OptionValue(options, OptionId::FmtTextWrapedStrIndent));
  o.IndentCommented = OptionOn(options, OptionId::FmtTextIndentCommented);
  o.CommentColumns = ParseCommentColumns(OptionValue(options, OptionId::FmtTextInlineCommentPos));
  return o;
}

int FindInlineComment(const std::string& line) {
  const size_t n = line.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = line[i];
    char closer = 0;
    if (c == '\'' || c == '"') closer = c;
    if (c == '[') closer = ']';
    if (closer) {
      const size_t end = line.find(closer, i + 1);
      if (end == std::string::npos) return -1;
      i = end;
      continue;
    }
    if (c == '&' && i + 1 < n && line[i + 1] == '&') return static_cast<int>(i);
  }
  return -1;
}

bool PlaceInlineComment(const std::string& line, const std::vector<int>& columns,
                        const std::function<int(int pos)>& screenCol, std::string& result) {
  const int amp = FindInlineComment(line);
  if (amp < 0) return false;
  int codeEnd = amp;  // from 0: the position just after the code
  while (codeEnd > 0 && IsGapChar(line[codeEnd - 1])) --codeEnd;
  const int gap = screenCol(codeEnd) + 1;
  int target = 0;
  for (int c : columns) {
    if (c > gap) {
      target = c;
      break;
    }
  }
  if (target == 0) return false;
  int keep = amp;
  while (keep > codeEnd && screenCol(keep) + 1 > target) --keep;
  std::string out = line.substr(0, static_cast<size_t>(keep));
  const int col = screenCol(keep) + 1;
  if (col < target) out.append(static_cast<size_t>(target - col), ' ');
  out += line.substr(static_cast<size_t>(amp));
  result = std::move(out);
  return true;
}

bool FormatStatements(const TxxFoxStringArr& statements, const TxxFmtOptions& options,
                      const TxxFmtLines& lines, bool classMember) {
  const int count = static_cast<int>(statements.size());
  int head = -1;
  int finalReturn = -1;
  for (int k = count - 1; k >= 0; --k) {
    const unsigned char kind = statements[k].Kind;
    if (head < 0 && (kind == stProcedure || kind == stParameters || kind == stDefineClass ||
                     kind == stEndDefine))
      head = k;
  }
  for (int k = count - 1; k >= 0; --k) {
    const unsigned char kind = statements[k].Kind;
    if (kind == stEmpty || kind == stComment || kind == stAmpComment) continue;
    if (kind == stReturn) finalReturn = k;
    break;
  }

  // The heading level, and the stack the body starts from.
  TxxTabSpaceArr headStack{options.Base};
  if (classMember) headStack.push_back(options.Step);
  TxxTabSpaceArr bodyStack = headStack;
  bodyStack.push_back(options.Proc);
  if (classMember) bodyStack.push_back(options.Step);
  TxxTabSpaceArr stack;
  bool inBody = false;
  std::string text;
  const auto format = [&](const TxxFoxString& st) {
    const std::string indent = IndentText(stack);
    const std::string wrap = IndentText({options.Wrap});
    for (int line = st.FirstLine; line <= st.LastLine; ++line) {
      if (!lines.Read(line, text)) return true;
      std::string fresh = indent + (line != st.FirstLine ? wrap : std::string()) + Trim(text);
      if (!lines.Write(line, fresh)) return false;
      if (line != st.LastLine || options.CommentColumns.empty()) continue;
      if (TrimLeft(fresh).compare(0, 2, "&&") == 0) continue;
      if (!lines.Read(line, text)) continue;
      std::string placed;
      const auto col = [&](int pos) { return lines.ScreenCol(line, pos); };
      if (PlaceInlineComment(text, options.CommentColumns, col, placed) && placed != text &&
          !lines.Write(line, placed))
        return false;
    }
    return true;
  };

  for (int k = 0; k < count; ++k) {
    if (lines.Step) lines.Step(k);
    const TxxFoxString& st = statements[k];
    const unsigned char kind = st.Kind;
    if (kind == stEmpty || kind == stTextBody) continue;
    if (kind == stComment && !options.IndentCommented) continue;
    if (k <= head || (finalReturn >= 0 && k >= finalReturn) || kind == stEndProc) {
      stack = headStack;
      if (!format(st)) return false;
      // The property lines of a class body stand one step in.
      if (kind == stDefineClass) bodyStack.back() = options.Step;
      continue;
    }
    if (!inBody) {
      inBody = true;
      stack = bodyStack;
    }
    bool ok = true;
    switch (kind) {
      case stIf:
      case stDoCase:
      case stFor:
      case stScan:
      case stDoWhile:
      case stTry:
      case stWith:
      case stForEach:
      case stDirIf:
        ok = format(st);
        stack.push_back(options.Step);
        if (kind == stDoCase) stack.push_back(options.Case);
        break;
      case stElse:
      case stCase:
      case stOtherwise:
      case stCatch:
      case stFinally:
      case stDirElse:
        Pop(stack);
        ok = format(st);
        stack.push_back(options.Step);
        break;
      case stEndIf:
      case stEndFor:
      case stEndScan:
      case stEndDo:
      case stEndTry:
      case stEndWith:
      case stDirEndIf:
        Pop(stack);
        ok = format(st);
        break;
      case stEndCase:
        Pop(stack);
        Pop(stack);
        ok = format(st);
        break;
      default:
        ok = format(st);
        break;
    }
    if (!ok) return false;
  }
  return true;
}

}  // namespace vemlo
