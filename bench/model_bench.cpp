// The source model on a generated project of 2,000 program files and 1,000,000
// lines: the first load and parse, a refresh with nothing changed, a refresh after
// one file changed, and a plain read of the same bytes for comparison.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "platform/platform.h"
#include "sim_host.h"

namespace vemlo {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 2000;
constexpr int kLinesPerFile = 500;  // 1,000,000 lines in all
constexpr int kProcEvery = 50;

std::string FileText(int file, int variant) {
  std::string text;
  text.reserve(kLinesPerFile * 24);
  for (int line = 0; line < kLinesPerFile; ++line) {
    const int k = line % kProcEvery;
    if (k == 0) {
      text.append("* procedure ").append(std::to_string(line / kProcEvery)).append("\r\n");
    } else if (k == 1) {
      text.append("PROCEDURE p").append(std::to_string(file)).append("_");
      text.append(std::to_string(line / kProcEvery)).append("_").append(std::to_string(variant));
      text.append("(a, b)\r\n");
    } else if (k == 2) {
      text += "PRIVATE lnI, lcText\r\n";
    } else if (k == 3) {
      text += "DIMENSION laX(10), laY(2,3)\r\n";
    } else if (k % 7 == 0) {
      text += "IF m.lnI > 1 AND ;\r\n";
    } else if (k % 7 == 1) {
      text += "   m.lnI < 10\r\n";
    } else {
      text.append("   m.lnI = m.lnI + ").append(std::to_string(k)).append("  && step\r\n");
    }
  }
  return text;
}

// The generated project, made once for the whole run. Files are named in upper
// case, as FoxPro projects usually are, and the root is mapped to drive P:.
struct Project {
  Project() {
    std::string pattern = (fs::temp_directory_path() / "vemlo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    Root = pattern;
    setenv("VEMLO_DRIVE_P", Root.c_str(), 1);
    fs::create_directories(Root + "/SRC");
    std::ofstream(Root + "/SRC/vemlo.ini") << "[PROJ]\r\nPrgSearchMask = .\\*.PRG\r\n";
    for (int i = 0; i < kFiles; ++i) {
      const std::string text = FileText(i, 0);
      Bytes += text.size();
      std::ofstream(Native(i), std::ios::binary) << text;
    }
  }
  ~Project() {
    std::error_code ec;
    fs::remove_all(Root, ec);
  }
  static std::string Name(int i) {
    std::string name = "F";
    return name.append(std::to_string(10000 + i)).append(".PRG");
  }
  std::string Native(int i) const { return Root + "/SRC/" + Name(i); }
  std::string Dos(int i) const { return "P:\\SRC\\" + Name(i); }

  std::string Root;
  uint64_t Bytes = 0;
};

Project& TheProject() {
  static Project project;
  return project;
}

// One replacement host with the edited file open, cursor in its middle procedure.
struct Editor {
  Editor() {
    Project& p = TheProject();
    host = std::make_unique<sim::SimHost>();
    host->OpenEditor(p.Native(kFiles / 2));
    host->CurrentEditor()->CurLine = kLinesPerFile / 2 + 5;
    FarSetInfo(host->StartupInfo());
  }
  ~Editor() { FarSetInfo(PluginStartupInfo{}); }
  std::unique_ptr<sim::SimHost> host;
};

void ColdStart() {
  ResetFoxModel();
  ReleaseIni();
}

void BM_PlainRead(benchmark::State& state) {
  Project& p = TheProject();
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    uint64_t total = 0;
    for (int i = 0; i < kFiles; ++i) {
      const int fd = open(p.Native(i).c_str(), O_RDONLY);
      for (ssize_t n; (n = read(fd, buffer.data(), buffer.size())) > 0;) total += n;
      close(fd);
    }
    benchmark::DoNotOptimize(total);
  }
  state.counters["lines/s"] = benchmark::Counter(double(kFiles) * kLinesPerFile,
                                                 benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.Bytes));
}

// Procedure tables of every file from disk, without the project around them.
void BM_ScanProceduresFromFiles(benchmark::State& state) {
  Project& p = TheProject();
  for (auto _ : state) {
    for (int i = 0; i < kFiles; ++i) {
      TxxFoxProg prog;
      prog.FileName = p.Dos(i);
      ScanProceduresFromFile(prog);
      benchmark::DoNotOptimize(prog.Procs.data());
    }
  }
  state.counters["lines/s"] = benchmark::Counter(double(kFiles) * kLinesPerFile,
                                                 benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.Bytes));
}

void BM_ColdLoadAndParse(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    state.PauseTiming();
    ColdStart();
    state.ResumeTiming();
    RefreshModel(false, false, false);
  }
  if (FoxProj().Progs.size() != size_t(kFiles)) state.SkipWithError("project not loaded");
  state.counters["lines/s"] = benchmark::Counter(double(kFiles) * kLinesPerFile,
                                                 benchmark::Counter::kIsIterationInvariantRate);
  ColdStart();
}

void BM_RefreshUnchanged(benchmark::State& state) {
  Editor editor;
  ColdStart();
  RefreshModel(false, false, false);
  for (auto _ : state) RefreshModel(false, false, false);
  state.counters["statements"] = double(Insight().Statements.size());
  ColdStart();
}

void BM_RefreshOneChanged(benchmark::State& state) {
  Editor editor;
  Project& p = TheProject();
  ColdStart();
  RefreshModel(false, false, false);
  uint32_t day = 1;
  int variant = 1;
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(p.Native(7), std::ios::binary) << FileText(7, variant++);
    platform::SetFileStamp(p.Dos(7), (uint32_t(2020 - 1980) << 25) | (1u << 21) |
                                         ((day++ % 28 + 1) << 16));
    state.ResumeTiming();
    RefreshModel(false, false, false);
  }
  ColdStart();
}

// The commands that only look at the edited file.
void BM_RefreshOnlyCurrent(benchmark::State& state) {
  Editor editor;
  ColdStart();
  RefreshModel(false, false, false);
  for (auto _ : state) RefreshModel(true, false, false);
  ColdStart();
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanProceduresFromFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdLoadAndParse)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshOneChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshOnlyCurrent)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vemlo

BENCHMARK_MAIN();
