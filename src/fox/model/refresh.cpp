// The refresh before every command: project reload on a directory change, parsing
// of changed program files and of the edited text, and the statement model at
// the cursor.
#include <optional>
#include <string_view>
#include <vector>

#include "fox/model/progress.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

// An entry parsed from disk is current while the file keeps the stamp it had
// when it was parsed (or, before any parse from disk, the stamp of the load).
// The stamps of all such entries are asked for at once.
std::vector<bool> CurrentEntries(const TxxFoxProgArr& progs) {
  std::vector<std::string_view> names;
  for (const TxxFoxProg& prog : progs)
    if (prog.State == psRead) names.push_back(prog.FileName);
  const std::vector<std::optional<uint32_t>> stamps = platform::FileStamps(names);
  std::vector<bool> current(progs.size(), false);
  for (size_t i = 0, k = 0; i < progs.size(); ++i) {
    if (progs[i].State != psRead) continue;
    const std::optional<uint32_t>& stamp = stamps[k++];
    current[i] = stamp && *stamp == progs[i].ParsedTime.value_or(progs[i].FileTime);
  }
  return current;
}

int EditedProgIndex(TxxFoxProj& proj, const std::string& fileName) {
  int index = -1;
  for (size_t i = 0; i < proj.Progs.size(); ++i) {
    if (proj.Progs[i].FileName == fileName) {
      index = static_cast<int>(i);
      break;
    }
  }
  if (index < 0) {
    TxxFoxProg prog;
    prog.FileName = fileName;
    proj.Progs.push_back(std::move(prog));
    index = static_cast<int>(proj.Progs.size()) - 1;
  }
  TxxFoxProg& prog = proj.Progs[index];
  prog.IsLibrary = 1;
  prog.State = psEditor;
  return index;
}

// A file that failed part way is a problem to tell; one that cannot be opened
// is left out silently and tried again at the next refresh.
void Scan(TxxFoxProg& prog, const TxxEditedText& text, const TxxProgressSink& progress,
          TxxReadProblems& problems) {
  const TxxReadStatus status = ScanProcedures(prog, text, progress);
  if (status == TxxReadStatus::ReadError) problems.push_back(TxxReadProblem{status, prog.FileName});
}

void ParseProject(TxxFoxProj& proj, const TxxEditedText& text, bool force, bool showProgress,
                  const TxxProgressSink& progress, TxxReadProblems& problems) {
  const TxxProgressScope box(progress, showProgress, MsgId::ReadingPrograms, static_cast<int>(proj.Progs.size()));
  // Inside the project's box the edited text is parsed without a box of its own.
  const TxxProgressSink none;
  const std::vector<bool> current =
      force ? std::vector<bool>(proj.Progs.size(), false) : CurrentEntries(proj.Progs);
  for (size_t i = 0; i < proj.Progs.size(); ++i) {
    box.Step(static_cast<int>(i) + 1);
    TxxFoxProg& prog = proj.Progs[i];
    if (current[i]) continue;
    Scan(prog, text, box.Shown() ? none : progress, problems);
  }
}

int ProcAtLine(const TxxFoxProcArr& procs, int line) {
  for (size_t i = 0; i < procs.size(); ++i) {
    if (procs[i].LastLine >= line) return static_cast<int>(i);
  }
  return static_cast<int>(procs.size()) - 1;
}

}  // namespace

bool NeedsProjectLoad(const TxxFoxProj& proj, const TxxEditedText& text, const TxxRefreshRequest& request) {
  if (request.OnlyCurrent) return false;
  return request.Force || proj.State != 1 || proj.Dir != ExtractFilePath(text.FileName);
}

TxxReadProblems RefreshInsight(TxxFoxProj& proj, TxxInsight& in, const TxxEditedText& text,
                               const TxxRefreshRequest& request, bool loaded, const TxxProgressSink& progress) {
  TxxReadProblems problems;
  in.EditorID = text.EditorID;
  in.FileName = text.FileName;
  in.ProjDir = ExtractFilePath(in.FileName);
  const int cursorLine = text.CursorLine;

  in.ProgIndex = EditedProgIndex(proj, in.FileName);
  if (request.OnlyCurrent) {
    Scan(proj.Progs[in.ProgIndex], text, progress, problems);
  } else {
    ParseProject(proj, text, request.Force, loaded, progress, problems);
  }
  const TxxFoxProcArr& procs = proj.Progs[in.ProgIndex].Procs;
  in.ProcIndex = ProcAtLine(procs, cursorLine);

  in.Statements.clear();
  in.Defines.clear();
  in.Candidates.clear();
  in.CursorStatement = -1;
  in.CursorElement = -1;
  if (in.ProgIndex >= 0 && in.ProcIndex >= 0) in.Defines = CollectDefines(text.Read, cursorLine);
  int first = 0;
  int last = kToEndOfText;
  if (!request.WholeFile && in.ProcIndex >= 0) {
    first = procs[in.ProcIndex].FirstLine;
    last = procs[in.ProcIndex].LastLine;
  }
  in.CursorStatement = ScanStatements(text.Read, first, last, cursorLine, in.Statements);
  in.Status = 1;
  return problems;
}

}  // namespace vemlo
