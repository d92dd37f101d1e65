// The refresh before every command: project reload on a directory change, parsing
// of changed program files and of the edited text, and the statement model at
// the cursor.
#include <optional>
#include <string_view>
#include <vector>

#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr int kMsgTitle = 0;
constexpr int kMsgParsingProject = 40;

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

void ParseProject(TxxFoxProj& proj, bool force, bool showProgress) {
  std::optional<FarProgressGuard> progress;
  if (showProgress) {
    progress.emplace(Msg(kMsgTitle), Msg(kMsgParsingProject),
                     static_cast<int>(proj.Progs.size()));
  }
  const std::vector<bool> current =
      force ? std::vector<bool>(proj.Progs.size(), false) : CurrentEntries(proj.Progs);
  for (size_t i = 0; i < proj.Progs.size(); ++i) {
    if (progress) FarProgressStep(static_cast<int>(i) + 1);
    if (current[i]) continue;
    ScanProcedures(proj.Progs[i]);
  }
}

int ProcAtLine(const TxxFoxProcArr& procs, int line) {
  for (size_t i = 0; i < procs.size(); ++i) {
    if (procs[i].LastLine >= line) return static_cast<int>(i);
  }
  return static_cast<int>(procs.size()) - 1;
}

}  // namespace

void RefreshModel(bool onlyCurrent, bool force, bool wholeFile) {
  TxxFoxProj& proj = FoxProj();
  TxxInsight& in = Insight();
  const EditorInfo info = FarEditorInfo();
  in.EditorID = info.EditorID;
  in.FileName = UpperCase(FarEditorFileName());
  in.ProjDir = ExtractFilePath(in.FileName);
  const int cursorLine = info.CurLine;

  bool reloaded = false;
  if (!onlyCurrent && (force || proj.State != 1 || proj.Dir != in.ProjDir)) {
    LoadProject(proj, in.ProjDir, FindSettingsFile(in.ProjDir));
    reloaded = true;
  }

  in.ProgIndex = EditedProgIndex(proj, in.FileName);
  if (onlyCurrent) {
    ScanProcedures(proj.Progs[in.ProgIndex]);
  } else {
    ParseProject(proj, force, reloaded);
  }
  const TxxFoxProcArr& procs = proj.Progs[in.ProgIndex].Procs;
  in.ProcIndex = ProcAtLine(procs, cursorLine);

  in.Statements.clear();
  in.Defines.clear();
  in.Candidates.clear();
  in.CursorStatement = -1;
  in.CursorElement = -1;
  {
    FarSavedPos saved;
    const TxxLineReader editor = EditorLineReader();
    if (in.ProgIndex >= 0 && in.ProcIndex >= 0) in.Defines = CollectDefines(editor, cursorLine);
    int first = 0;
    int last = kToEndOfText;
    if (!wholeFile && in.ProcIndex >= 0) {
      first = procs[in.ProcIndex].FirstLine;
      last = procs[in.ProcIndex].LastLine;
    }
    in.CursorStatement = ScanStatements(editor, first, last, cursorLine, in.Statements);
  }
  in.Status = 1;
}

}  // namespace vemlo
