// The formatter on one procedure of 20,000 lines in automatic mode: through the
// replacement host's editor (every line read and written through the host, the
// progress box stepped per statement), and the line rules alone in memory.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "fox/insight/formatter.h"
#include "fox/views/formatter_run.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "platform/platform.h"
#include "shell/vemlo.h"
#include "sim_host.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ProcedureLines(int count) {
  static const char* const kBody[] = {
      "IF nValue > 1 && positive", "  x = x + 1", "   DO CASE", "CASE x = 1", "y = 'a && b' + ;",
      "      \"c\"", "OTHERWISE", "  * a comment", "ENDCASE", "ELSE", "FOR i = 1 TO 10",
      "z = i && loop", "ENDFOR", "ENDIF", "", "SCAN", "  REPLACE f WITH 1", "ENDSCAN"};
  std::vector<std::string> lines = {"* generated", "PROCEDURE Big", "PARAMETERS nValue"};
  for (int i = 0; static_cast<int>(lines.size()) < count - 1; ++i)
    lines.push_back(kBody[i % (sizeof kBody / sizeof kBody[0])]);
  lines.push_back("RETURN");
  return lines;
}

void BM_FormatInHostEditor(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / ("vemlo-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  vemlo::platform::SetRegistryFile((dir / "registry.ini").string());
  { std::ofstream(dir / "vemlo.ini") << "[PROJ]\n"; }
  const std::vector<std::string> lines = ProcedureLines(static_cast<int>(state.range(0)));
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  for (auto _ : state) {
    state.PauseTiming();
    { std::ofstream(dir / "BIG.PRG", std::ios::binary) << text; }
    vemlo::ResetPluginState();
    vemlo::sim::SimHost host;
    vemlo::sim::StartLinkedPlugin(host);
    host.OpenEditor((dir / "BIG.PRG").string());
    vemlo::RefreshModel(true, false, false);
    state.ResumeTiming();
    vemlo::RunFormatter(false);
    state.PauseTiming();
    std::string line;
    if (!vemlo::FarGetLine(4, line) || line != "\tx = x + 1") state.SkipWithError("not formatted");
    state.ResumeTiming();
  }
  vemlo::ResetPluginState();
  fs::remove_all(dir);
}
BENCHMARK(BM_FormatInHostEditor)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_FormatLinesInMemory(benchmark::State& state) {
  const std::vector<std::string> source = ProcedureLines(static_cast<int>(state.range(0)));
  vemlo::TxxFmtOptions options;
  options.Step.Tabs = 1;
  options.Wrap.Spaces = 8;
  options.CommentColumns = {41, 61};
  for (auto _ : state) {
    std::vector<std::string> lines = source;
    const vemlo::TxxLineReader read = [&](int n, std::string& t) {
      if (n < 0 || n >= static_cast<int>(lines.size())) return false;
      t = lines[n];
      return true;
    };
    vemlo::TxxFoxStringArr statements;
    vemlo::ScanStatements(read, 0, static_cast<int>(lines.size()) - 1, 0, statements);
    vemlo::TxxFmtLines io;
    io.Read = read;
    io.Write = [&](int n, const std::string& t) {
      lines[n] = t;
      return true;
    };
    io.ScreenCol = [&](int n, int pos) {
      int col = 0;
      for (int i = 0; i < pos && i < static_cast<int>(lines[n].size()); ++i)
        col = lines[n][i] == '\t' ? (col / 8 + 1) * 8 : col + 1;
      return col;
    };
    benchmark::DoNotOptimize(vemlo::FormatStatements(statements, options, io));
  }
}
BENCHMARK(BM_FormatLinesInMemory)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
