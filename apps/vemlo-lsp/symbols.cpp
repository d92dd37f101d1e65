// Symbols and definitions: the procedures of a document and of the projects,
// and where a procedure, a #DEFINE or a variable of the procedure is declared.
#include <algorithm>

#include "features.h"
#include "fox/model/program.h"
#include "lib/xxlib.h"
#include "params.h"
#include "platform/platform.h"
#include "uri.h"

namespace vemlo::lsp {
namespace {

enum { kFunction = 12, kFile = 1 };  // SymbolKind

// Bytes [from, to) of the name in a declaration line; the whole line when the
// name is not in it.
void NameSpan(const std::string& line, const std::string& name, size_t& from, size_t& to) {
  const std::string upper = UpperCase(line), key = UpperCase(name);
  // After the first word (the keyword), so that a procedure named like its keyword still lands on the name.
  size_t start = upper.find_first_not_of(" \t");
  start = start == std::string::npos ? 0 : upper.find_first_of(" \t", start);
  const size_t at = key.empty() || start == std::string::npos ? std::string::npos : upper.find(key, start);
  if (at == std::string::npos) {
    from = 0;
    to = line.size();
  } else {
    from = at;
    to = at + key.size();
  }
}

// A place of a file that may not be open: columns of its own lines, as bytes
// count in a single-byte code page and as the document counts when it is open.
Position FilePosition(const std::vector<std::string>& lines, const TextCodec& codec, int line, size_t byte) {
  if (line < 0) line = 0;
  if (line >= static_cast<int>(lines.size())) return {line, 0};
  return {line, ColumnOfByte(lines[static_cast<size_t>(line)], codec.Utf8, byte)};
}

json LineRange(const std::vector<std::string>& lines, const TextCodec& codec, int line, size_t from, size_t to) {
  return RangeJson(FilePosition(lines, codec, line, from), FilePosition(lines, codec, line, to));
}

std::string UriOfProgram(const Session& s, const std::string& dosName) {
  for (const auto& [uri, doc] : s.Documents)
    if (!doc.Path.empty() && UpperCase(platform::ToDosPath(doc.Path)) == dosName) return uri;
  return UriOfPath(NativeOf(dosName));
}

json ProcedureLocation(const Session& s, const TxxFoxProg& prog, const TxxFoxProc& proc, const TextCodec& codec) {
  const std::vector<std::string> lines = ProgramLines(s.Documents, prog.FileName);
  const int decl = std::max(0, proc.DeclLine);
  size_t from = 0, to = 0;
  if (decl < static_cast<int>(lines.size())) NameSpan(lines[static_cast<size_t>(decl)], proc.Name, from, to);
  return {{"uri", UriOfProgram(s, prog.FileName)}, {"range", LineRange(lines, codec, decl, from, to)}};
}

// The name without a leading "M.", upper case.
std::string VarKey(std::string name) {
  name = Trim(name);
  if (name.size() > 2 && (name[0] == 'M' || name[0] == 'm') && name[1] == '.') name.erase(0, 2);
  return UpperCase(name);
}

}  // namespace

json DocumentSymbols(Session& s, const json& params) {
  json symbols = json::array();
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return symbols;
  const TxxFoxProg* prog = CursorProg(r.State->Project, r.State->Insight);
  if (!prog) return symbols;
  const TextDocument& doc = *r.Doc;
  for (const TxxFoxProc& proc : prog->Procs) {
    if (proc.DeclLine < 0 || proc.DeclLine >= static_cast<int>(doc.Lines.size())) continue;
    size_t from = 0, to = 0;
    NameSpan(doc.Lines[static_cast<size_t>(proc.DeclLine)], proc.Name, from, to);
    const int last = std::clamp(proc.LastLine, proc.DeclLine, static_cast<int>(doc.Lines.size()) - 1);
    const int first = std::min(proc.FirstLine, proc.DeclLine);
    symbols.push_back({{"name", ToClientText(doc.Codec, proc.Name)},
                       {"detail", proc.IsFunction ? "FUNCTION" : "PROCEDURE"},
                       {"kind", kFunction},
                       {"range", RangeJson(PositionOf(doc, first, 0),
                                           PositionOf(doc, last, doc.Lines[static_cast<size_t>(last)].size()))},
                       {"selectionRange", RangeJson(PositionOf(doc, proc.DeclLine, from),
                                                    PositionOf(doc, proc.DeclLine, to))}});
  }
  return symbols;
}

json WorkspaceSymbols(Session& s, const json& params) {
  json symbols = json::array();
  const std::string query = UpperCase(StringMember(params, "query"));
  for (const auto& [dir, state] : s.Work.Projects) {
    for (const TxxFoxProg& prog : state.Project.Progs) {
      for (const TxxFoxProc& proc : prog.Procs) {
        if (proc.DeclLine < 0 || UpperCase(proc.Name).find(query) == std::string::npos) continue;
        symbols.push_back({{"name", ToClientText(s.Codec, proc.Name)},
                           {"kind", kFunction},
                           {"containerName", ToClientText(s.Codec, ExtractFileName(prog.FileName))},
                           {"location", ProcedureLocation(s, prog, proc, s.Codec)}});
        if (symbols.size() >= 1000) return symbols;  // enough for any picker
      }
    }
  }
  return symbols;
}

json Definition(Session& s, const json& params) {
  const RequestPlace r = LocateRequest(s, params);
  if (!r.State) return nullptr;
  ProjectState& p = *r.State;
  const std::string word = WordAt(p, *r.Doc, r.At);
  if (IsBlank(word)) return nullptr;
  const TextDocument& doc = *r.Doc;
  const std::string context = UpperCase(p.Insight.Context);
  int file = -1, proc = -1;
  if (FindWordProc(p, word, file, proc)) {
    const TxxFoxProg& prog = p.Project.Progs[static_cast<size_t>(file)];
    return json::array({ProcedureLocation(s, prog, prog.Procs[static_cast<size_t>(proc)], doc.Codec)});
  }
  const std::string key = VarKey(word);
  const auto here = [&](int line) {
    size_t from = 0, to = 0;
    if (line >= 0 && line < static_cast<int>(doc.Lines.size())) {
      const std::string upper = UpperCase(doc.Lines[static_cast<size_t>(line)]);
      const size_t at = upper.find(key);
      from = at == std::string::npos ? 0 : at;
      to = at == std::string::npos ? 0 : at + key.size();
    }
    return json::array({{{"uri", doc.Uri}, {"range", RangeJson(PositionOf(doc, line, from), PositionOf(doc, line, to))}}});
  };
  if (context.empty())
    for (const TxxFoxDefine& d : p.Insight.Defines)
      if (UpperCase(Trim(d.Name)) == key) return here(d.Line);
  if (context.empty() || context == "M.")
    for (const TxxFoxString& st : p.Insight.Statements)
      for (const TxxFoxElement& e : st.Elements)
        if ((e.Kind == ekVariable || e.Kind == ekArray) && VarKey(e.Name) == key) return here(st.FirstLine);
  return nullptr;
}

}  // namespace vemlo::lsp
