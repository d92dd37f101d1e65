// The commands over program files: the procedure list, the structure review,
// the formatter and the block check.
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "fox/insight/block_balance.h"
#include "fox/insight/formatter.h"
#include "fox/insight/proc_entries.h"
#include "fox/insight/proc_param_text.h"
#include "fox/insight/structure_entries.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo::cli {

namespace {

// Wide enough that no item of the procedure list is cut.
constexpr int kListWidth = 4096;
// The editor's tab stops, for the columns of trailing comments.
constexpr int kTabSize = 8;

const TxxFoxProg& Prog(const Session& s) { return s.Proj.Progs[static_cast<size_t>(s.In.ProgIndex)]; }

bool Read(Session& s, const std::string& path, SourceFile& file) {
  std::string error;
  if (ReadSourceFile(path, file, error)) return true;
  Warn(error);
  s.Failed = true;
  return false;
}

// Calls f for each procedure entry k of the file with the model built at its
// first line (an entry that holds no line of its own is left out).
template <typename F>
void ForEachProcedure(Session& s, const SourceFile& file, F f) {
  RefreshAt(s, file, 0);
  const size_t n = Prog(s).Procs.size();
  for (size_t k = 0; k < n; ++k) {
    const TxxFoxProc proc = Prog(s).Procs[k];
    RefreshAt(s, file, proc.FirstLine);
    if (s.In.ProcIndex != static_cast<int>(k) || s.In.Statements.empty()) continue;
    f(static_cast<int>(k));
  }
}

int Status(const Session& s, bool findings) { return s.Failed ? kExitFailure : findings ? kExitFindings : kExitOk; }

}  // namespace

int ProcsCommand(Session& s, const CliArgs& args) {
  SourceFile file;
  if (!Read(s, args.Paths[0], file)) return Status(s, false);
  RefreshAt(s, file, 0);
  const TxxFoxProg& prog = Prog(s);
  const TxxEditedText text = EditedText(file);
  TxxProcListInput in;
  in.Procs = &prog.Procs;
  in.ParamText = [&](int entry) { return ProcParamText(prog, entry, text); };
  in.Width = kListWidth;
  in.CursorLine = -1;  // no cursor: nothing selected, nothing marked
  const TxxProcList list = BuildProcList(in, [](int) { return std::string(); }, {});
  for (const TxxProcListItem& item : list.Items) std::cout << item.Text << "\n";
  return Status(s, false);
}

int StructCommand(Session& s, const CliArgs& args) {
  SourceFile file;
  if (!Read(s, args.Paths[0], file)) return Status(s, false);
  const TxxReviewOptions options = ReadReviewOptions(s.Options);
  bool first = true;
  ForEachProcedure(s, file, [&](int) {
    TxxStructInput in;
    in.Statements = &s.In.Statements;
    in.Read = EditedText(file).Read;
    in.IsProc = [&s](const std::string& name) {
      int f = -1, p = -1;
      return FindFoxProc(name, s.Proj, f, p);
    };
    in.CursorLine = -1;
    if (!first) std::cout << "\n";
    first = false;
    for (const TxxLangStructItem& e : BuildStructEntries(in, options)) std::cout << StructListingLine(e) << "\n";
  });
  return Status(s, false);
}

int FormatCommand(Session& s, const CliArgs& args) {
  const TxxFmtOptions options = ReadFmtOptions(s.Options);
  bool changed = false;
  for (const std::string& path : args.Paths) {
    SourceFile file;
    if (!Read(s, path, file)) continue;
    const std::string before = JoinLines(file);
    TxxFmtLines io;
    io.Read = EditedText(file).Read;
    io.Write = [&file](int n, const std::string& line) {
      if (n < 0 || n >= static_cast<int>(file.Lines.size())) return false;
      file.Lines[static_cast<size_t>(n)] = line;
      return true;
    };
    io.ScreenCol = [&file](int n, int pos) {
      if (n < 0 || n >= static_cast<int>(file.Lines.size())) return pos;
      const std::string& l = file.Lines[static_cast<size_t>(n)];
      int col = 0;
      for (int i = 0; i < pos; ++i)
        col = i < static_cast<int>(l.size()) && l[static_cast<size_t>(i)] == '\t' ? (col / kTabSize + 1) * kTabSize
                                                                                 : col + 1;
      return col;
    };
    ForEachProcedure(s, file, [&](int) { FormatStatements(s.In.Statements, options, io); });
    const std::string after = JoinLines(file);
    if (after == before) continue;
    changed = true;
    if (args.CheckOnly) {
      std::cout << path << "\n";
      continue;
    }
    std::string error;
    if (!ReplaceFile(path, after, error)) {
      Warn(error);
      s.Failed = true;
    }
  }
  return Status(s, args.CheckOnly && changed);
}

namespace {

// The program files of a folder and its subfolders, by the extensions of the
// option FileExtensions, sorted; a file given by name is taken as it is.
std::vector<std::string> ProgramFiles(Session& s, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return {path};
  std::vector<std::string> exts;
  const std::string list = OptionValue(s.Options, OptionId::FileExtensions) + ";";
  for (size_t at = 0, semi; (semi = list.find(';', at)) != std::string::npos; at = semi + 1) {
    const std::string e = UpperCase(Trim(list.substr(at, semi - at)));
    if (!e.empty()) exts.push_back(e);
  }
  std::vector<std::string> files;
  std::filesystem::recursive_directory_iterator it(path, std::filesystem::directory_options::skip_permission_denied,
                                                   ec);
  if (ec) {
    Warn(path + ": " + ec.message());
    s.Failed = true;
    return {};
  }
  for (; it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    if (!it->is_regular_file(ec)) continue;
    const std::string ext = UpperCase(it->path().extension().string());
    if (std::find(exts.begin(), exts.end(), ext) != exts.end()) files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int CheckCommand(Session& s, const CliArgs& args) {
  bool found = false;
  for (const std::string& given : args.Paths) {
    for (const std::string& path : ProgramFiles(s, given)) {
      SourceFile file;
      if (!Read(s, path, file)) continue;
      const TxxEditedText text = EditedText(file);
      TxxFoxStringArr statements;
      ScanStatements(text.Read, 0, kToEndOfText, -1, statements);
      for (const TxxBlockProblem& p : FindUnbalancedBlocks(statements, text.Read)) {
        std::cout << path << ":" << p.Line + 1 << ":" << p.Col + 1 << ": " << p.Message << "\n";
        found = true;
      }
    }
  }
  return Status(s, found);
}

}  // namespace vemlo::cli
