// Hover: a project procedure's head and the comment block above it, or the
// help topic of the word from the help bases, as Markdown.
#include "features.h"
#include "codec.h"
#include "fox/insight/help_param_text.h"
#include "fox/model/program.h"
#include "lib/xxlib.h"

namespace vemlo::lsp {
namespace {

constexpr unsigned char kBoxTop = 0xD6;  // a topic's framed title box, in 866
constexpr unsigned char kBoxSide = 0xBA;
constexpr unsigned char kBoxBottom = 0xD3;

unsigned char First(const std::string& s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

// The paths of the help bases option: entries "title > path" split by form feeds.
std::vector<std::string> HelpBasePaths(const TxxOptions& options) {
  std::vector<std::string> paths;
  const std::string list = OptionValue(options, OptionId::FoxHelpBases) + "\f";
  size_t from = 0, ff;
  while ((ff = list.find('\f', from)) != std::string::npos) {
    const std::string entry = Trim(list.substr(from, ff - from));
    from = ff + 1;
    const size_t gt = entry.find('>');
    const std::string path = gt == std::string::npos ? entry : Trim(entry.substr(gt + 1));
    if (!IsBlank(path)) paths.push_back(path);
  }
  return paths;
}

// A comment line's text without its comment mark; false for any other line.
bool CommentText(const std::string& line, std::string& text) {
  const std::string t = TrimLeft(line);
  if (t.rfind("&&", 0) == 0) text = t.substr(2);
  else if (!t.empty() && t[0] == '*') text = t.substr(t.find_first_not_of('*'));
  else if (UpperCase(t.substr(0, 5)) == "NOTE " || UpperCase(t) == "NOTE") text = t.size() > 5 ? t.substr(5) : "";
  else return false;
  text = Trim(text);
  return true;
}

std::string ProcedureMarkdown(const TxxFoxProg& prog, const TxxFoxProc& proc, const std::vector<std::string>& lines,
                              const TextCodec& codec) {
  const auto client = [&codec](const std::string& b) { return ToClientText(codec, b); };
  std::string md = "```foxpro\n";
  for (int l = proc.DeclLine; l >= 0 && l < static_cast<int>(lines.size()); ++l) {
    md += client(lines[static_cast<size_t>(l)]) + "\n";
    if (TrimRight(lines[static_cast<size_t>(l)]).empty() || TrimRight(lines[static_cast<size_t>(l)]).back() != ';')
      break;
  }
  md += "```\n";
  std::string comments;
  for (int l = proc.FirstLine; l < proc.DeclLine && l < static_cast<int>(lines.size()); ++l) {
    std::string text;
    if (CommentText(lines[static_cast<size_t>(l)], text)) comments += client(text) + "  \n";
  }
  if (!comments.empty()) md += "\n" + comments;
  md += "\n*" + std::string(proc.IsFunction ? "function" : "procedure") + " in " +
        client(ExtractFileName(prog.FileName)) + "*\n";
  return md;
}

}  // namespace

std::string TopicMarkdown(const std::vector<std::string>& lines, const TextCodec& codec) {
  const auto client = [&codec](const std::string& b) { return ToClientText(codec, b); };
  std::string heading, body, seeAlso;
  size_t i = 0;
  while (i < lines.size() && IsBlank(lines[i])) ++i;
  if (i < lines.size() && First(lines[i]) == kBoxTop) {
    for (++i; i < lines.size() && First(lines[i]) == kBoxSide; ++i) {
      // The title and its class, the blanks between them squeezed to one.
      std::string inner = Trim(ReplaceAll(lines[i], "\xBA", " "));
      std::string squeezed;
      for (char c : inner)
        if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' ')) squeezed += c;
      heading += (heading.empty() ? "" : " ") + client(squeezed);
    }
    if (i < lines.size() && First(lines[i]) == kBoxBottom) ++i;
  }
  for (; i < lines.size(); ++i) {
    if (PadRightTo(lines[i], 10) == "See Also: ") {
      seeAlso = client(Trim(lines[i].substr(std::min<size_t>(lines[i].size(), 10))));
      continue;
    }
    body += client(ReplaceAll(lines[i], "\t", "    ")) + "\n";
  }
  while (body.size() >= 2 && body.compare(body.size() - 2, 2, "\n\n") == 0) body.pop_back();
  while (!body.empty() && body.front() == '\n') body.erase(0, 1);
  std::string md;
  if (!heading.empty()) md += "### " + heading + "\n\n";
  // Topics are laid out in columns and name their arguments in angle brackets:
  // preformatted text keeps both.
  if (!body.empty()) md += "```text\n" + body + "```\n";
  if (!seeAlso.empty()) md += "\n**See Also:** " + seeAlso + "\n";
  return md;
}

json Hover(Session& s, const json& params) {
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return nullptr;
  ProjectState& p = *r.State;
  const std::string word = WordAt(p, *r.Doc, r.At);
  if (IsBlank(word)) return nullptr;
  std::string md;
  int file = -1, proc = -1;
  if (FindWordProc(p, word, file, proc)) {
    const TxxFoxProg& prog = p.Project.Progs[static_cast<size_t>(file)];
    md = ProcedureMarkdown(prog, prog.Procs[static_cast<size_t>(proc)], ProgramLines(s.Documents, prog.FileName),
                           r.Doc->Codec);
  } else {
    const TextCodec oem = CodecOf(codepage::CodePage::Oem866);  // help bases are DOS tables
    for (const std::string& base : HelpBasePaths(s.Work.Options)) {
      std::vector<std::string> lines;
      HelpBaseTopicLines(base, word, {}, lines);
      if (lines.empty()) continue;
      md = TopicMarkdown(lines, oem);
      break;
    }
  }
  if (md.empty()) return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", md}}}};
}

}  // namespace vemlo::lsp
