// Statement text: normalisation with each flag pair, the class, the names it
// declares; and the statements of the input read as lines.
#include "fox/model/scanner.h"
#include "fuzz_env.h"

using namespace vemlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Env();
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (int flags = 0; flags < 4; ++flags) {
    const std::string once = NormalizeStatement(text, flags & 1, flags & 2);
    (void)ClassifyStatement(once);
  }
  TxxFoxString st;
  st.Text = text;
  st.Kind = ClassifyStatement(text);
  ExtractElements(st);
  (void)IsCommentLine(text);

  const std::vector<std::string> lines = fuzz::SplitLines(text);
  TxxFoxStringArr statements;
  const int cursor = lines.empty() ? 0 : static_cast<int>(size % lines.size());
  const int current = ScanStatements(fuzz::VectorLineReader(lines), 0, kToEndOfText, cursor, statements);
  if (current >= static_cast<int>(statements.size())) __builtin_trap();
  return 0;
}
