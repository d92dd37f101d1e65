// Showing a procedure or a statement in the viewer without moving the editor.
#include "fox/views/preview.h"

#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr const char* kHelpTopic = "FOXHelp";

void ShowPreview(const std::string& file, const std::string& title, int firstLine, int lastLine) {
  const EditorInfo ei = FarEditorInfo();
  const int top = PreviewTop(FarCursorScreenY(ei), firstLine, lastLine, ei.WindowSizeY);
  FarApi().Viewer(file.c_str(), title.c_str(), 0, top, -1, -1, 0);
}

}  // namespace

int PreviewTop(int cursorRow, int firstLine, int lastLine, int windowHeight) {
  const int k = lastLine - firstLine + 2;
  const int top = cursorRow + k + 2 <= windowHeight ? cursorRow + 2 : windowHeight - k;
  return Max(4, top);
}

bool PreviewProc(const std::string& name) {
  int fileIndex = -1, procIndex = -1;
  return FindFoxProc(name, FoxProj(), fileIndex, procIndex) && PreviewProcAt(fileIndex, procIndex);
}

bool PreviewWord(const std::string& qualifier, const std::string& word) {
  const TxxInsight& in = Insight();
  int fileIndex = -1, procIndex = -1;
  return FindProcForWord(qualifier, word, FoxProj(), in.ProgIndex, in.ProcIndex, fileIndex, procIndex) &&
         PreviewProcAt(fileIndex, procIndex);
}

bool PreviewProcAt(int fileIndex, int procIndex) {
  const TxxFoxProj& proj = FoxProj();
  if (fileIndex < 0 || procIndex < 0 || fileIndex >= static_cast<int>(proj.Progs.size()) ||
      procIndex >= static_cast<int>(proj.Progs[static_cast<size_t>(fileIndex)].Procs.size()))
    return false;
  const TxxFoxProg& prog = proj.Progs[static_cast<size_t>(fileIndex)];
  const TxxFoxProc& proc = prog.Procs[static_cast<size_t>(procIndex)];
  FarTempFile temp;
  if (!temp.Valid()) return true;
  {
    platform::OutFile out;
    if (!out.Create(temp.Name())) return true;
    if (prog.FileName == FarEditorFileName()) {
      FarSavedPos saved;
      std::string text;
      for (int line = proc.FirstLine; line <= proc.LastLine; ++line) {
        if (!FarGotoLine(line, -1, -1, -1, false) || !FarGetLine(-1, text)) break;
        out.Write(text + "\r\n");
      }
    } else {
      TextFile file;
      if (!OpenTextFile(file, prog.FileName)) return true;
      // A program that fails part way shows nothing; the failure is told.
      const TxxReadProblem failed{TxxReadStatus::ReadError, prog.FileName};
      try {
        if (SeekTextLine(file, proc.FirstLine)) {
          std::string text;
          for (int line = proc.FirstLine; line <= proc.LastLine && ReadTextLine(file, text); ++line)
            out.Write(text + "\r\n");
        }
      } catch (const TextFileError&) {
        TellReadProblem(failed, kHelpTopic);
        return true;
      }
      if (TextFileFailed(file)) {
        TellReadProblem(failed, kHelpTopic);
        return true;
      }
      CloseTextFile(file);
    }
    if (!out.Close()) return true;
  }
  ShowPreview(temp.Name(), ShortenPath(prog.FileName, 35), proc.FirstLine, proc.LastLine);
  return true;
}

void PreviewStatement(int statement) {
  const TxxInsight& insight = Insight();
  if (statement < 0 || statement >= static_cast<int>(insight.Statements.size())) return;
  const TxxFoxString& st = insight.Statements[static_cast<size_t>(statement)];
  FarTempFile temp;
  if (!temp.Valid()) return;
  {
    platform::OutFile out;
    if (!out.Create(temp.Name())) return;
    std::string text;
    for (int line = st.FirstLine; line <= st.LastLine && FarGetLine(line, text); ++line) out.Write(text + "\r\n");
    if (!out.Close()) return;
  }
  ShowPreview(temp.Name(), "line " + IntToStr(st.FirstLine + 1) + ".." + IntToStr(st.LastLine + 1), st.FirstLine,
              st.LastLine);
}

}  // namespace vemlo
