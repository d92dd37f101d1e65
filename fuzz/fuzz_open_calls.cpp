// Open calls before the cursor: the input as one statement text, and as the
// editor text with the cursor at its end and at a position taken from it.
#include "editor.h"
#include "fox/views/param_hint.h"
#include "fuzz_env.h"

using namespace vemlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEnv& env = fuzz::Env();
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const TxxParam& p : OpenCallsIn(text))
    if (p.ParamNo < 1 || p.Name.empty()) __builtin_trap();

  sim::EditorWindow& ed = *env.Host->CurrentEditor();
  sim::SetEditorText(ed, text);
  const int last = static_cast<int>(ed.Lines.size()) - 1;
  sim::MoveCursor(ed, last, static_cast<int>(ed.Lines[static_cast<size_t>(last)].Text.size()));
  (void)ScanOpenCalls();
  if (size >= 2) {
    // A column past the end of its line is padded, as the editor allows.
    sim::MoveCursor(ed, data[0] % (last + 1), data[1]);
    (void)ScanOpenCalls();
  }
  sim::SetEditorText(ed, "");
  return 0;
}
