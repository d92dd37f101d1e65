// The source model on generated projects (up to 2,000 program files and
// 2,000,000 lines), each figure printed beside a baseline measured in the same
// run:
//   ColdLoadAndParse  first refresh (list, parse every file)  vs  read_ms, an
//                     in-process read loop over the same files (x_read = ratio;
//                     medians of runs that alternate, x_read_cpu of CPU time)
//   ListProject       the listing alone: the fixed cost of a cold load
//   RefreshUnchanged  refresh with nothing changed  vs  stat_ms, one stat of each
//                     file by its native path
//   ScanProcedures    procedure tables of every file, no project  vs  read_ms
// Arguments: files, lines per file, 1 = names lower case on disk.
#include <benchmark/benchmark.h>

#include <fstream>

#include "bench_project.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "lib/xxini.h"
#include "platform/platform.h"
#include "sim_host.h"

namespace vemlo {
namespace {

using bench::MedianMs;
using bench::NowMs;
using bench::Project;

Project& ProjectOf(const benchmark::State& state) {
  return bench::TheProject(int(state.range(0)), int(state.range(1)), state.range(2) != 0);
}

// One replacement host with the middle file open, cursor inside a procedure.
struct Editor {
  explicit Editor(const Project& p) {
    host = std::make_unique<sim::SimHost>();
    host->OpenEditor(p.Native(p.Edited()));
    host->CurrentEditor()->CurLine = p.CursorLine();
    FarSetInfo(host->StartupInfo());
  }
  ~Editor() { FarSetInfo(PluginStartupInfo{}); }
  std::unique_ptr<sim::SimHost> host;
};

void ColdStart() {
  ResetFoxModel();
  ReleaseIni();
}

void PerLine(benchmark::State& state, const Project& p, double ms) {
  state.counters["ns/line"] = ms * 1e6 / (double(p.Files) * p.Lines);
}

void BM_ColdLoadAndParse(benchmark::State& state) {
  Project& p = ProjectOf(state);
  Editor editor(p);
  // Each load is followed by the read loop, so that both see the same machine;
  // medians of wall and CPU time.
  std::vector<double> load, loadCpu, read, readCpu;
  for (auto _ : state) {
    state.PauseTiming();
    ColdStart();
    state.ResumeTiming();
    double start = NowMs(), cpu = bench::ThreadCpuMs();
    RefreshModel(false, false, false);
    load.push_back(NowMs() - start);
    loadCpu.push_back(bench::ThreadCpuMs() - cpu);
    state.PauseTiming();
    start = NowMs(), cpu = bench::ThreadCpuMs();
    benchmark::DoNotOptimize(bench::ReadAll(p));
    read.push_back(NowMs() - start);
    readCpu.push_back(bench::ThreadCpuMs() - cpu);
    state.ResumeTiming();
  }
  if (FoxProj().Progs.size() != size_t(p.Files)) state.SkipWithError("project not loaded");
  const double ms = bench::Median(load), readMs = bench::Median(read);
  state.counters["load_ms"] = ms;
  state.counters["read_ms"] = readMs;
  state.counters["x_read"] = ms / readMs;
  state.counters["x_read_cpu"] = bench::Median(loadCpu) / bench::Median(readCpu);
  PerLine(state, p, ms);
  ColdStart();
}

void BM_ListProject(benchmark::State& state) {
  Project& p = ProjectOf(state);
  Editor editor(p);
  const std::string dir = UpperCase(platform::ToDosPath(p.Dir)) + "\\";
  TxxIniFile ini;
  for (auto _ : state) {
    ColdStart();
    LoadProject(FoxProj(), ini, dir, FindSettingsFile(dir));
  }
  if (FoxProj().Progs.size() != size_t(p.Files)) state.SkipWithError("project not listed");
  ColdStart();
}

void BM_RefreshUnchanged(benchmark::State& state) {
  Project& p = ProjectOf(state);
  Editor editor(p);
  ColdStart();
  RefreshModel(false, false, false);
  const double statMs = MedianMs(21, [&] { benchmark::DoNotOptimize(bench::StatAll(p)); });
  double total = 0;
  for (auto _ : state) {
    const double start = NowMs();
    RefreshModel(false, false, false);
    total += NowMs() - start;
  }
  const double ms = total / double(state.iterations());
  state.counters["stat_ms"] = statMs;
  state.counters["us/file"] = ms * 1e3 / p.Files;
  state.counters["statements"] = double(Insight().Statements.size());
  ColdStart();
}

void BM_RefreshOneChanged(benchmark::State& state) {
  Project& p = ProjectOf(state);
  Editor editor(p);
  ColdStart();
  RefreshModel(false, false, false);
  uint32_t day = 1;
  int variant = 1;
  const std::string dos = platform::ToDosPath(p.Native(7));
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(p.Native(7), std::ios::binary) << bench::ProgramText(7, p.Lines, variant++);
    platform::SetFileStamp(dos, (uint32_t(2020 - 1980) << 25) | (1u << 21) | ((day++ % 28 + 1) << 16));
    state.ResumeTiming();
    RefreshModel(false, false, false);
  }
  ColdStart();
}

// The commands that only look at the edited file.
void BM_RefreshOnlyCurrent(benchmark::State& state) {
  Project& p = ProjectOf(state);
  Editor editor(p);
  ColdStart();
  RefreshModel(false, false, false);
  for (auto _ : state) RefreshModel(true, false, false);
  ColdStart();
}

// Procedure tables of every file from disk, without the project around them.
void BM_ScanProcedures(benchmark::State& state) {
  Project& p = ProjectOf(state);
  const double readMs = MedianMs(5, [&] { benchmark::DoNotOptimize(bench::ReadAll(p)); });
  std::vector<std::string> names;
  for (int i = 0; i < p.Files; ++i) names.push_back(UpperCase(platform::ToDosPath(p.Native(i))));
  double total = 0;
  for (auto _ : state) {
    const double start = NowMs();
    for (const std::string& name : names) {
      TxxFoxProg prog;
      prog.FileName = name;
      ScanProceduresFromFile(prog);
      benchmark::DoNotOptimize(prog.Procs.data());
    }
    total += NowMs() - start;
  }
  const double ms = total / double(state.iterations());
  state.counters["read_ms"] = readMs;
  state.counters["x_read"] = ms / readMs;
  PerLine(state, p, ms);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.Bytes));
}

// The 1,000,000-line project, upper and lower case names on disk.
void OneMillion(benchmark::internal::Benchmark* b) {
  b->ArgNames({"files", "lines", "lower"})->Args({2000, 500, 0})->Args({2000, 500, 1});
}
// Growth in lines (250k to 2M, 2,000 files) and in files (500 to 2,000, 500 lines each).
void Growth(benchmark::internal::Benchmark* b) {
  b->ArgNames({"files", "lines", "lower"});
  for (int lines : {125, 250, 500, 1000}) b->Args({2000, lines, 1});
  for (int files : {500, 1000}) b->Args({files, 500, 1});
  b->Args({2000, 500, 0});
}
void Files(benchmark::internal::Benchmark* b) {
  b->ArgNames({"files", "lines", "lower"});
  for (int lower : {0, 1})
    for (int files : {500, 1000, 2000}) b->Args({files, 500, lower});
}

BENCHMARK(BM_ScanProcedures)->Apply(OneMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdLoadAndParse)->Apply(Growth)->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(BM_ListProject)->Apply(OneMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshUnchanged)->Apply(Files)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshOneChanged)->Apply(OneMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshOnlyCurrent)->Apply(OneMillion)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vemlo

BENCHMARK_MAIN();
