// Procedure tables of program files, read from disk or from the editor text.
#include "fox/model/program.h"

#include <algorithm>
#include <climits>
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
      if (first == 'T' && IsTextStart(std::string(trimmed))) {
        textBlock_ = true;
      } else if (first == 'P' || first == 'F' || first == 'H' || first == 'D' || first == 'E' ||
                 classIndex_ >= 0) {
        Declaration(index, std::string(trimmed));
      }
    }
    nextStart_ = index + 1;
  }

  // The last entry reaches to the end of a text of lineCount lines.
  void Finish(int lineCount) { prog_.Procs.back().LastLine = lineCount - 1; }

 private:
  // Most lines start with none of the letters of a declaration word and are
  // passed over at once.
  void Declaration(int index, const std::string& trimmed) {
    const char first = static_cast<char>(trimmed[0] & ~0x20);
    char word = 0;
    unsigned char visibility = vsPublic;
    if (first == 'P' || first == 'F' || first == 'H' || first == 'D' || first == 'E') {
      word = DeclarationWord(trimmed, visibility);
    }
    switch (word) {
      case 'P':
      case 'F':
        Add(index, trimmed, word == 'F', visibility);
        return;
      case 'C':
        AddClass(index, trimmed);
        return;
      case 'E':
        // Comment and directive lines above ENDDEFINE stay with the method above.
        if (classIndex_ >= 0) {
          nextStart_ = index;
          AddEntry(index, pkClassEnd);
        }
        classIndex_ = -1;
        inMethod_ = false;
        return;
      case 'X':
        inMethod_ = false;
        return;
      default:
        if (classIndex_ >= 0 && !inMethod_) AddMember(index, trimmed);
        return;
    }
  }

  TxxFoxProc& AddEntry(int index, unsigned char kind) {
    prog_.Procs.back().LastLine = nextStart_ - 1;
    TxxFoxProc proc;
    proc.DeclLine = index;
    proc.FirstLine = nextStart_;
    proc.Kind = kind;
    prog_.Procs.push_back(std::move(proc));
    return prog_.Procs.back();
  }

  void Add(int index, const std::string& trimmed, bool isFunction, unsigned char visibility) {
    std::string rest;
    PopVisibility(trimmed, rest);
    PopWord(rest);
    rest = TrimLeft(rest);
    // The name ends at a blank or at the parenthesis of a parameter list.
    size_t end = 0;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t' && rest[end] != '(') ++end;
    std::string name = rest.substr(0, end);
    const bool method = classIndex_ >= 0;
    if (method) name = className_ + "." + name;
    TxxFoxProc& proc = AddEntry(index, method ? pkMethod : pkProcedure);
    proc.Name = std::move(name);
    proc.Params = TrimLeft(rest.substr(end));
    proc.IsFunction = isFunction ? 1 : 0;
    proc.Visibility = visibility;
    inMethod_ = method;
    TxxFoxProc& main = prog_.Procs.front();
    if (!method && !main.Name.empty() && main.Name == UpperCase(proc.Name) + ".PRG") {
      main.Name.clear();
    }
  }

  // DEFINE CLASS name AS parent [OF library]
  void AddClass(int index, const std::string& trimmed) {
    std::string rest = trimmed;
    PopWord(rest);
    PopWord(rest);
    className_ = PopWord(rest);
    rest = TrimLeft(rest);
    TxxFoxProc& cls = AddEntry(index, pkClass);
    cls.Name = className_;
    cls.Params = rest;
    if (IsKeyword(rest, "AS")) PopWord(rest);
    cls.Parent = Trim(rest);
    classIndex_ = static_cast<int>(prog_.Procs.size()) - 1;
    inMethod_ = false;
  }

  // Property lines of a class body: `name = value`, DIMENSION name[...], the
  // names of a PROTECTED or HIDDEN list and ADD OBJECT name.
  void AddMember(int index, const std::string& trimmed) {
    std::vector<TxxFoxMember>& members = prog_.Procs[static_cast<size_t>(classIndex_)].Members;
    std::string rest;
    const unsigned char visibility = PopVisibility(trimmed, rest);
    std::vector<std::string> names;
    if (visibility != vsPublic || IsKeyword(rest, "DIMENSION")) {
      if (visibility == vsPublic) PopWord(rest);
      // Each comma-separated piece (commas inside brackets excluded) names one.
      int depth = 0;
      names.emplace_back();
      bool named = false;  // the piece's name is complete
      for (char c : TrimLeft(rest)) {
        if (c == '(' || c == '[') ++depth;
        if ((c == ')' || c == ']') && depth > 0) --depth;
        if (c == ',' && depth == 0) {
          names.emplace_back();
          named = false;
        } else if (!named && InSet(IdentChars, c)) {
          names.back() += c;
        } else if (!names.back().empty() || (c != ' ' && c != '\t')) {
          named = true;
        }
      }
    } else if (IsKeyword(rest, "ADD") && IsKeyword(TrimLeft(rest.substr(3)), "OBJECT")) {
      PopWord(rest);
      PopWord(rest);
      std::string name = PopWord(rest);
      if (IsKeyword(name, "PROTECTED")) name = PopWord(rest);
      names.push_back(name);
    } else {
      size_t end = 0;
      while (end < rest.size() && InSet(IdentChars, rest[end])) ++end;
      size_t eq = end;
      while (eq < rest.size() && (rest[eq] == ' ' || rest[eq] == '\t')) ++eq;
      if (end > 0 && eq < rest.size() && rest[eq] == '=') names.push_back(rest.substr(0, end));
    }
    for (std::string& name : names) {
      if (!name.empty() && InSet(IdentStartChars, name[0])) {
        members.push_back(TxxFoxMember{std::move(name), visibility, index});
      }
    }
  }

  TxxFoxProg& prog_;
  bool textBlock_ = false;
  bool prevContinues_ = false;
  int nextStart_ = 0;
  int classIndex_ = -1;  // the class whose body the lines are in, -1 outside classes
  bool inMethod_ = false;  // between a method's declaration and its ENDPROC
  std::string className_;
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
  // Not read until it is: a file that is gone and comes back with the stamp it
  // had is read again.
  prog.State = psNotRead;
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

std::vector<TxxClassRef> ClassChain(const TxxFoxProj& proj, int progIndex, int procIndex) {
  std::vector<TxxClassRef> chain;
  if (progIndex < 0 || progIndex >= static_cast<int>(proj.Progs.size())) return chain;
  const TxxFoxProcArr& procs = proj.Progs[static_cast<size_t>(progIndex)].Procs;
  if (procIndex < 0 || procIndex >= static_cast<int>(procs.size())) return chain;
  const unsigned char kind = procs[static_cast<size_t>(procIndex)].Kind;
  if (kind != pkClass && kind != pkMethod) return chain;
  int entry = procIndex;
  while (entry >= 0 && procs[static_cast<size_t>(entry)].Kind != pkClass) --entry;
  if (entry < 0) return chain;
  chain.push_back(TxxClassRef{progIndex, entry});
  // A cycle of parents ends the chain at a class already in it.
  for (;;) {
    const TxxClassRef last = chain.back();
    const std::string parent = UpperCase(
        FirstWord(proj.Progs[static_cast<size_t>(last.File)].Procs[static_cast<size_t>(last.Entry)].Parent));
    TxxClassRef next;
    for (size_t f = 0; f < proj.Progs.size() && next.File < 0 && !parent.empty(); ++f) {
      const TxxFoxProcArr& other = proj.Progs[f].Procs;
      for (size_t k = 0; k < other.size(); ++k) {
        if (other[k].Kind == pkClass && UpperCase(other[k].Name) == parent) {
          next = TxxClassRef{static_cast<int>(f), static_cast<int>(k)};
          break;
        }
      }
    }
    if (next.File < 0) break;
    for (const TxxClassRef& c : chain)
      if (c.File == next.File && c.Entry == next.Entry) return chain;
    chain.push_back(next);
  }
  return chain;
}

namespace {

std::string MethodName(const TxxFoxProc& p) { return UpperCase(p.Name.substr(p.Name.find('.') + 1)); }

bool IsIdentifier(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return InSet(IdentChars, c); });
}

// A method (upper-case bare name) of the class chain at the cursor.
bool FindInClassChain(const std::string& bare, const TxxFoxProj& proj, int progIndex, int procIndex,
                      int& fileIndex, int& procIndex2) {
  for (const TxxClassRef& c : ClassChain(proj, progIndex, procIndex)) {
    const TxxFoxProcArr& procs = proj.Progs[static_cast<size_t>(c.File)].Procs;
    for (size_t k = static_cast<size_t>(c.Entry) + 1; k < procs.size() && procs[k].Kind == pkMethod; ++k) {
      if (MethodName(procs[k]) == bare) {
        fileIndex = c.File;
        procIndex2 = static_cast<int>(k);
        return true;
      }
    }
  }
  return false;
}

// The first method of the project whose upper-case name (full or bare) is `wanted`.
bool FindAnyMethod(const std::string& wanted, bool full, const TxxFoxProj& proj, int& fileIndex,
                   int& procIndex) {
  for (size_t f = 0; f < proj.Progs.size(); ++f) {
    const TxxFoxProcArr& procs = proj.Progs[f].Procs;
    for (size_t k = 0; k < procs.size(); ++k) {
      if (procs[k].Kind == pkMethod && (full ? UpperCase(procs[k].Name) : MethodName(procs[k])) == wanted) {
        fileIndex = static_cast<int>(f);
        procIndex = static_cast<int>(k);
        return true;
      }
    }
  }
  return false;
}

}  // namespace

bool FindMethod(const std::string& name, const TxxFoxProj& proj, int progIndex, int procIndex,
                int& fileIndex, int& procIndex2) {
  fileIndex = -1;
  procIndex2 = -1;
  std::string bare = UpperCase(Trim(name));
  if (bare.compare(0, 5, "THIS.") == 0) bare.erase(0, 5);
  if (bare.empty() || bare.find('.') != std::string::npos) return false;
  return FindInClassChain(bare, proj, progIndex, procIndex, fileIndex, procIndex2) ||
         FindAnyMethod(bare, false, proj, fileIndex, procIndex2);
}

bool FindProcForWord(const std::string& qualifier, const std::string& word, const TxxFoxProj& proj,
                     int progIndex, int procIndex, int& fileIndex, int& procIndex2) {
  fileIndex = -1;
  procIndex2 = -1;
  std::string full = UpperCase(Trim(word));
  if (!Trim(qualifier).empty()) full = UpperCase(Trim(qualifier)) + "." + full;
  const size_t dot = full.rfind('.');
  const std::string owner = dot == std::string::npos ? std::string() : full.substr(0, dot);
  const std::string bare = dot == std::string::npos ? full : full.substr(dot + 1);
  if (IsIdentifier(bare)) {
    if (IsIdentifier(owner) && owner != "THIS" && FindAnyMethod(full, true, proj, fileIndex, procIndex2))
      return true;
    if (FindInClassChain(bare, proj, progIndex, procIndex, fileIndex, procIndex2)) return true;
  }
  if (FindFoxProc(word, proj, fileIndex, procIndex2)) return true;
  return IsIdentifier(bare) && FindAnyMethod(bare, false, proj, fileIndex, procIndex2);
}

bool FindFoxProc(const std::string& name, const TxxFoxProj& proj, int& fileIndex,
                 int& procIndex) {
  fileIndex = -1;
  procIndex = -1;
  std::string wanted = UpperCase(Trim(name));
  if (wanted.empty()) return false;
  // Class.Method reads like a file name with an extension: methods come first.
  if (wanted.find('.') != std::string::npos) {
    for (size_t f = 0; f < proj.Progs.size(); ++f) {
      const TxxFoxProcArr& procs = proj.Progs[f].Procs;
      for (size_t p = 0; p < procs.size(); ++p) {
        if (procs[p].Kind == pkMethod && UpperCase(procs[p].Name) == wanted) {
          fileIndex = static_cast<int>(f);
          procIndex = static_cast<int>(p);
          return true;
        }
      }
    }
  }
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
