// Procedure tables of program files, read from disk or from the editor text.
#include "fox/model/program.h"

#include <optional>

#include "fox/model/progress.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr int kProgressMinLines = 5000;  // longer editor texts show a progress box
constexpr int kProgressEvery = 100;

bool EndsWithSemicolon(const std::string& line) {
  for (size_t i = line.size(); i > 0; --i) {
    if (static_cast<unsigned char>(line[i - 1]) > 32) return line[i - 1] == ';';
  }
  return false;
}

bool IsNoteLine(const std::string& trimmed) {
  if (trimmed.size() < 4 || UpperCase(trimmed.substr(0, 4)) != "NOTE") return false;
  return trimmed.size() == 4 || trimmed[4] == ' ' || trimmed[4] == '\t';
}

// Walks the lines of one text and appends a table entry at every declaration.
class ProcTableBuilder {
 public:
  ProcTableBuilder(TxxFoxProg& prog, int lastLine) : prog_(prog), lastLine_(lastLine) {}

  void Step(int index, const std::string& raw) {
    const std::string trimmed = Trim(raw);
    const bool continued = EndsWithSemicolon(prev_);
    prev_ = raw;
    if (textBlock_) {
      if (IsKeyword(trimmed, "ENDTEXT")) textBlock_ = false;
      nextStart_ = index + 1;
      return;
    }
    if (trimmed.empty()) {
      nextStart_ = index + 1;
      return;
    }
    // Comment and directive lines directly above a declaration join its range.
    if (trimmed[0] == '*' || trimmed.compare(0, 2, "&&") == 0 || trimmed[0] == '#' ||
        IsNoteLine(trimmed)) {
      return;
    }
    if (!continued) {
      if (IsKeyword(trimmed, "TEXT")) {
        textBlock_ = true;
      } else if (IsKeyword(trimmed, "PROCEDURE")) {
        Add(index, trimmed, false);
      } else if (IsKeyword(trimmed, "FUNCTION")) {
        Add(index, trimmed, true);
      }
    }
    nextStart_ = index + 1;
  }

 private:
  void Add(int index, const std::string& trimmed, bool isFunction) {
    prog_.Procs.back().LastLine = nextStart_ - 1;
    TxxFoxProc proc;
    proc.DeclLine = index;
    proc.FirstLine = nextStart_;
    proc.LastLine = lastLine_;
    std::string rest = trimmed;
    PopWord(rest);
    proc.Name = PopWord(rest);
    proc.Params = TrimLeft(rest);
    proc.IsFunction = isFunction ? 1 : 0;
    TxxFoxProc& main = prog_.Procs.front();
    if (!main.Name.empty() && main.Name == UpperCase(proc.Name) + ".PRG") main.Name.clear();
    prog_.Procs.push_back(std::move(proc));
  }

  TxxFoxProg& prog_;
  int lastLine_;
  bool textBlock_ = false;
  int nextStart_ = 0;
  std::string prev_;
};

void ResetProcTable(TxxFoxProg& prog, bool editorNames, int lineCount) {
  prog.Procs.assign(1, TxxFoxProc{});
  TxxFoxProc& main = prog.Procs.front();
  main.LastLine = lineCount - 1;
  const std::string name = ExtractFileName(prog.FileName);
  if (editorNames) {
    main.Name = name;
  } else if (!prog.IsLibrary) {
    main.Name = UpperCase(ExtractFileExt(name)) == ".PRG"
                    ? name.substr(0, name.size() - 4)
                    : name;
  }
}

}  // namespace

void BuildProcTable(TxxFoxProg& prog, int lineCount, const TxxLineReader& read,
                    bool editorNames) {
  if (lineCount < 0) lineCount = 0;
  ResetProcTable(prog, editorNames, lineCount);
  ProcTableBuilder builder(prog, lineCount - 1);
  std::string line;
  for (int i = 0; i < lineCount && read(i, line); ++i) builder.Step(i, line);
  prog.State = psRead;
}

TxxReadStatus ScanProceduresFromFile(TxxFoxProg& prog) {
  ResetProcTable(prog, false, 1);
  TextFile file;
  if (!OpenTextFile(file, prog.FileName)) return TxxReadStatus::CannotOpen;
  try {
    const int count = CountTextLines(file);
    BuildProcTable(prog, count, [&file](int, std::string& text) {
      return ReadTextLine(file, text);
    }, false);
  } catch (const TextFileError&) {
    ResetProcTable(prog, false, 1);
    return TxxReadStatus::ReadError;
  }
  if (TextFileFailed(file)) {
    ResetProcTable(prog, false, 1);
    return TxxReadStatus::ReadError;
  }
  return TxxReadStatus::Read;
}

TxxReadStatus ScanProcedures(TxxFoxProg& prog, const TxxEditedText& text, const TxxProgressSink& progress) {
  if (!IsEditedFile(text, prog.FileName)) {
    const std::optional<uint32_t> stamp = platform::FileStamp(prog.FileName);
    const TxxReadStatus status = ScanProceduresFromFile(prog);
    if (status == TxxReadStatus::Read) prog.ParsedTime = stamp;
    return status;
  }
  const int count = text.LineCount;
  const TxxProgressScope box(progress, count > kProgressMinLines, MsgId::ReadingEditorText, count);
  BuildProcTable(prog, count, [&](int line, std::string& lineText) {
    if (line % kProgressEvery == 0) box.Step(line + 1);
    return text.Read(line, lineText);
  }, true);
  prog.ParsedTime.reset();
  return TxxReadStatus::Read;
}

TxxFoxDefineArr CollectDefines(const TxxLineReader& read, int lastLine) {
  TxxFoxDefineArr defines;
  std::string line;
  for (int i = 0; i <= lastLine && read(i, line); ++i) {
    std::string rest = line;
    if (UpperCase(PopWord(rest)) != "#DEFINE") continue;
    TxxFoxDefine def;
    def.Line = i;
    def.Name = PopWord(rest);
    def.Value = PopWord(rest);
    def.Rest = Trim(rest);
    defines.push_back(std::move(def));
  }
  return defines;
}

bool FindFoxProc(const std::string& name, const TxxFoxProj& proj, int& fileIndex,
                 int& procIndex) {
  fileIndex = -1;
  procIndex = -1;
  std::string wanted = UpperCase(Trim(name));
  if (wanted.empty()) return false;
  const std::string ext = ExtractFileExt(wanted);
  const bool mainOnly = !ext.empty();
  if (ext == ".PRG") wanted.erase(wanted.size() - 4);
  for (size_t f = 0; f < proj.Progs.size(); ++f) {
    const TxxFoxProcArr& procs = proj.Progs[f].Procs;
    const size_t n = mainOnly ? (procs.empty() ? 0 : 1) : procs.size();
    for (size_t p = 0; p < n; ++p) {
      if (UpperCase(procs[p].Name) == wanted) {
        fileIndex = static_cast<int>(f);
        procIndex = static_cast<int>(p);
        return true;
      }
    }
  }
  return false;
}

}  // namespace vemlo
