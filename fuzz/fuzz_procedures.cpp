// Procedure tables: the input is a program file, read from disk, from the
// editor text, and through a line reader; then its #DEFINE lines.
#include "fox/model/program.h"
#include "fuzz_env.h"
#include "lib/xxlib.h"

using namespace vemlo;

namespace {

void CheckTable(const TxxFoxProg& prog) {
  if (prog.Procs.empty()) __builtin_trap();  // the main entry is always there
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Env();
  return 0;
}

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
