// Procedure tables of program files, read from disk or from the editor text.
#include "fox/model/program.h"

#include <climits>
#include <optional>
#include <string_view>

#include "fox/model/progress.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr int kProgressMinLines = 5000;  // longer editor texts show a progress box
constexpr int kProgressEvery = 100;

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

bool EndsWithSemicolon(std::string_view line) {
  for (size_t i = line.size(); i > 0; --i) {
    if (static_cast<unsigned char>(line[i - 1]) > 32) return line[i - 1] == ';';
  }
  return false;
}

bool IsNoteLine(std::string_view trimmed) {
  if (trimmed.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    char c = trimmed[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != "NOTE"[i]) return false;
  }
  return trimmed.size() == 4 || trimmed[4] == ' ' || trimmed[4] == '\t';
}

// Walks the lines of one text and appends a table entry at every declaration.
// Lines are looked at in place; only a declaration makes strings.
class ProcTableBuilder {
 public:
  explicit ProcTableBuilder(TxxFoxProg& prog) : prog_(prog) {}

  void Step(int index, std::string_view raw) {
    const std::string_view trimmed = TrimView(raw);
    const bool continued = prevContinues_;
    prevContinues_ = EndsWithSemicolon(raw);
    // A keyword's first letter must open the line: most lines are passed over by it.
    const char first = trimmed.empty() ? ' ' : static_cast<char>(trimmed[0] & ~0x20);
    if (textBlock_) {
      if (first == 'E' && IsKeyword(trimmed, "ENDTEXT")) textBlock_ = false;
      nextStart_ = index + 1;
      return;
    }
    if (trimmed.empty()) {
      nextStart_ = index + 1;
      return;
    }
    // Comment and directive lines directly above a declaration join its range.
    if (trimmed[0] == '*' || trimmed.substr(0, 2) == "&&" || trimmed[0] == '#' ||
        IsNoteLine(trimmed)) {
      return;
    }
    if (!continued) {
      if (first == 'T' && IsKeyword(trimmed, "TEXT")) {
        textBlock_ = true;
      } else if (first == 'P' && IsKeyword(trimmed, "PROCEDURE")) {
        Add(index, trimmed, false);
      } else if (first == 'F' && IsKeyword(trimmed, "FUNCTION")) {
        Add(index, trimmed, true);
      }
    }
    nextStart_ = index + 1;
  }

  // The last entry reaches to the end of a text of lineCount lines.
  void Finish(int lineCount) { prog_.Procs.back().LastLine = lineCount - 1; }

 private:
  void Add(int index, std::string_view trimmed, bool isFunction) {
    prog_.Procs.back().LastLine = nextStart_ - 1;
    TxxFoxProc proc;
    proc.DeclLine = index;
    proc.FirstLine = nextStart_;
    std::string rest(trimmed);
    PopWord(rest);
    proc.Name = PopWord(rest);
    proc.Params = TrimLeft(rest);
    proc.IsFunction = isFunction ? 1 : 0;
    TxxFoxProc& main = prog_.Procs.front();
    if (!main.Name.empty() && main.Name == UpperCase(proc.Name) + ".PRG") main.Name.clear();
    prog_.Procs.push_back(std::move(proc));
  }

  TxxFoxProg& prog_;
  bool textBlock_ = false;
  bool prevContinues_ = false;
  int nextStart_ = 0;
};

// The reader of program files, kept so that its buffer serves every file.
platform::TextReader& ProgramFileReader() {
  static platform::TextReader reader;
  return reader;
}

struct ClosesReader {
  platform::TextReader& Reader;
  ~ClosesReader() { Reader.Close(); }
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
  ProcTableBuilder builder(prog);
  std::string line;
  for (int i = 0; i < lineCount && read(i, line); ++i) builder.Step(i, line);
  builder.Finish(lineCount);
  prog.State = psRead;
}

namespace {

// The file-mode scan; `stamp` is the file's stamp as it was opened, taken before
// its lines are read.
TxxReadStatus ScanFile(TxxFoxProg& prog, std::optional<uint32_t>& stamp) {
  ResetProcTable(prog, false, 1);
  platform::TextReader& reader = ProgramFileReader();
  if (IsBlank(prog.FileName) || !reader.Open(prog.FileName)) return TxxReadStatus::CannotOpen;
  ClosesReader closes{reader};
  stamp = reader.Stamp();
  // One pass: the end of the last entry is known when the lines are.
  ProcTableBuilder builder(prog);
  std::string_view line;
  int count = 0;
  while (count < INT_MAX && reader.ReadLineView(line)) builder.Step(count++, line);
  if (reader.Failed()) {
    ResetProcTable(prog, false, 1);
    return TxxReadStatus::ReadError;
  }
  builder.Finish(count);
  prog.State = psRead;
  return TxxReadStatus::Read;
}

}  // namespace

TxxReadStatus ScanProceduresFromFile(TxxFoxProg& prog) {
  std::optional<uint32_t> stamp;
  return ScanFile(prog, stamp);
}

TxxReadStatus ScanProcedures(TxxFoxProg& prog, const TxxEditedText& text, const TxxProgressSink& progress) {
  if (!IsEditedFile(text, prog.FileName)) {
    std::optional<uint32_t> stamp;
    const TxxReadStatus status = ScanFile(prog, stamp);
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
