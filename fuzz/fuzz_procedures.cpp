// Procedure tables: the input is a program file, read from disk, from the
// editor text, and through a line reader; then its #DEFINE lines.
#include "fox/model/program.h"
#include "fuzz_env.h"
#include "host/editor_model.h"
#include "lib/xxlib.h"

using namespace vemlo;

namespace {

void CheckTable(const TxxFoxProg& prog) {
  if (prog.Procs.empty()) __builtin_trap();  // the main entry is always there
}

bool SameTable(const TxxFoxProg& a, const TxxFoxProg& b) {
  if (a.Procs.size() != b.Procs.size()) return false;
  for (size_t i = 0; i < a.Procs.size(); ++i) {
    const TxxFoxProc& x = a.Procs[i];
    const TxxFoxProc& y = b.Procs[i];
    if (x.FirstLine != y.FirstLine || x.LastLine != y.LastLine || x.DeclLine != y.DeclLine ||
        x.Name != y.Name || x.Params != y.Params || x.IsFunction != y.IsFunction)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEnv& env = fuzz::Env();
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  fuzz::ScratchFile file("PROG.PRG", bytes);
  TxxFoxProg fromFile;
  fromFile.FileName = UpperCase(file.Dos());
  ScanProcedures(fromFile);
  CheckTable(fromFile);

  sim::SetEditorText(*env.Host->CurrentEditor(), bytes);
  TxxFoxProg fromEditor;
  fromEditor.FileName = UpperCase(platform::ToDosPath(env.EditedNative));
  ScanProcedures(fromEditor);
  CheckTable(fromEditor);
  sim::SetEditorText(*env.Host->CurrentEditor(), "");

  const std::vector<std::string> lines = fuzz::SplitLines(bytes);
  // The file read from disk gives the table its lines give.
  TxxFoxProg fromLines;
  fromLines.FileName = fromFile.FileName;
  BuildProcTable(fromLines, static_cast<int>(lines.size()), fuzz::VectorLineReader(lines), false);
  if (!SameTable(fromFile, fromLines)) __builtin_trap();

  for (bool editorNames : {false, true}) {
    TxxFoxProg prog;
    prog.FileName = "Z:\\FUZZ\\LIB.PRG";
    prog.IsLibrary = editorNames ? 0 : 1;
    BuildProcTable(prog, static_cast<int>(lines.size()), fuzz::VectorLineReader(lines), editorNames);
    CheckTable(prog);
  }
  (void)CollectDefines(fuzz::VectorLineReader(lines), static_cast<int>(lines.size()));
  return 0;
}
