// Tables, each figure beside a baseline of the same run:
//   LoadDBF     loading a table of 1,000,000 records  vs  read_ms, reading its file
//               whole in-process into a fresh buffer of its size (x_read = ratio),
//               and read_warm_ms, reading it in pieces into a buffer kept warm;
//               mem_x_file = memory a loaded table holds / its file size
//   SortDBF     sorting by the character field NAME at 100,000 / 1,000,000 /
//               4,000,000 records: ns/rec and ns/rec/log2n (flat when the sort
//               grows as n log n), medians of wall time, and cpu_ns/rec of CPU
//               time; field 1 is the numeric CODE
// Medians over the iterations: the machines these run on are shared.
// Tables: NAME C 20 (random words, many repeats), CODE N 8, BORN D 8; one record
// in fifty deleted.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "bench_project.h"
#include "dbf/xxdbf.h"
#include "host/reader_reports.h"
#include "platform/platform.h"

namespace {

using vemlo::bench::Median;
using vemlo::bench::ThreadCpuMs;
using vemlo::bench::NowMs;

void PutLe(std::string& s, size_t at, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

struct Table {
  std::string Native, Dos;
  int64_t Size = 0;
};

const Table& TableOf(int records) {
  static vemlo::bench::TempRoot root;
  static std::map<int, Table> made;
  Table& t = made[records];
  if (!t.Native.empty()) return t;
  t.Native = root.Path + "/t" + std::to_string(records) + ".dbf";
  const struct { const char* name; char type; int len; } fields[] = {
      {"NAME", 'C', 20}, {"CODE", 'N', 8}, {"BORN", 'D', 8}};
  const uint32_t recordLen = 1 + 20 + 8 + 8, headerLen = 32 + 32 * 3 + 1;
  std::string head(32, '\0');
  head[0] = 0x03;
  PutLe(head, 4, uint32_t(records), 4);
  PutLe(head, 8, headerLen, 2);
  PutLe(head, 10, recordLen, 2);
  uint32_t offset = 1;
  for (const auto& f : fields) {
    std::string d(32, '\0');
    d.replace(0, strlen(f.name), f.name);
    d[11] = f.type;
    PutLe(d, 12, offset, 4);
    d[16] = char(f.len);
    head += d;
    offset += uint32_t(f.len);
  }
  head += '\x0D';
  std::ofstream out(t.Native, std::ios::binary | std::ios::trunc);
  out << head;
  std::mt19937 rng(7);
  char rec[64];
  for (int i = 0; i < records; ++i) {
    std::string name;
    for (int k = 3 + int(rng() % 12); k > 0; --k) name += char('A' + rng() % 6);
    snprintf(rec, sizeof rec, "%c%-20.20s%8d%04d%02d%02d", i % 50 == 7 ? '*' : ' ', name.c_str(), i,
             1950 + int(rng() % 70), 1 + int(rng() % 12), 1 + int(rng() % 28));
    out.write(rec, recordLen);
  }
  out << '\x1A';
  out.close();
  t.Size = int64_t(std::filesystem::file_size(t.Native));
  t.Dos = vemlo::platform::ToDosPath(t.Native);
  return t;
}

// Baseline: the file read as a program reads it: opened, a fresh buffer of its
// size allocated (as the loader allocates its record buffer, with large pages
// where offered), read whole into it, closed.
uint64_t ReadFile(const Table& t) {
  uint64_t total = 0;
  const int fd = open(t.Native.c_str(), O_RDONLY);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) std::abort();
  vemlo::platform::MemoryBlock buffer(size_t(st.st_size));
  while (total < uint64_t(st.st_size)) {
    const ssize_t n = read(fd, buffer.Data() + total, size_t(st.st_size) - total);
    if (n <= 0) break;
    total += uint64_t(n);
  }
  close(fd);
  return total;
}

// A second baseline, cheaper: the file read in pieces of 256 KiB into one
// buffer kept warm across runs (no fresh memory to fill).
uint64_t ReadFileWarm(const Table& t) {
  static std::vector<char> buffer(256 * 1024);
  uint64_t total = 0;
  const int fd = open(t.Native.c_str(), O_RDONLY);
  for (ssize_t n; (n = read(fd, buffer.data(), buffer.size())) > 0;) total += uint64_t(n);
  close(fd);
  return total;
}

size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// Anonymous memory the process holds (heap and private mappings), in bytes.
size_t AnonymousMemory() {
  std::ifstream status("/proc/self/status");
  std::string key;
  size_t kb = 0;
  while (status >> key) {
    if (key == "RssAnon:") {
      status >> kb;
      break;
    }
  }
  return kb * 1024;
}

// The memory one loaded table holds: the growth of the heap or of the
// process's anonymous memory, whichever is larger, over the first load (the
// table's large blocks are then fresh mappings, counted by both).
size_t TableMemory(const std::string& path) {
  const size_t heap = HeapInUse(), anon = AnonymousMemory();
  vemlo::TxxDBF t;
  vemlo::LoadDBF(t, false, path);
  const size_t heapHeld = HeapInUse() - heap, anonHeld = AnonymousMemory() - anon;
  return std::max(heapHeld, anonHeld);
}

void BM_LoadDBF(benchmark::State& state) {
  const Table& file = TableOf(int(state.range(0)));
  // Measured once, at the first load of the run, before other large blocks come and go.
  static const size_t held = TableMemory(file.Dos);
  // Each load is followed by the baselines, so that all see the same machine;
  // medians of wall and CPU time.
  std::vector<double> load, loadCpu, read, readCpu, warm;
  for (auto _ : state) {
    double start = NowMs(), cpu = ThreadCpuMs();
    {
      vemlo::TxxDBF t;
      vemlo::LoadDBF(t, false, file.Dos);
      if (t.State != vemlo::dsLoaded) state.SkipWithError("table not loaded");
      benchmark::DoNotOptimize(t.RecCount);
    }
    load.push_back(NowMs() - start);
    loadCpu.push_back(ThreadCpuMs() - cpu);
    start = NowMs(), cpu = ThreadCpuMs();
    benchmark::DoNotOptimize(ReadFile(file));
    read.push_back(NowMs() - start);
    readCpu.push_back(ThreadCpuMs() - cpu);
    start = NowMs();
    benchmark::DoNotOptimize(ReadFileWarm(file));
    warm.push_back(NowMs() - start);
  }
  const double ms = Median(load), readMs = Median(read), warmMs = Median(warm);
  state.counters["load_ms"] = ms;
  state.counters["read_ms"] = readMs;
  state.counters["x_read"] = ms / readMs;
  state.counters["x_read_cpu"] = Median(loadCpu) / Median(readCpu);
  state.counters["read_warm_ms"] = warmMs;
  state.counters["x_read_warm"] = ms / warmMs;
  state.counters["mem_x_file"] = double(held) / double(file.Size);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadDBF)->ArgName("records")->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReloadUnchanged(benchmark::State& state) {
  const Table& file = TableOf(1000000);
  vemlo::TxxDBF t;
  vemlo::LoadDBF(t, false, file.Dos);
  for (auto _ : state) {
    vemlo::LoadDBF(t, false, vemlo::DBFReloadName);
    benchmark::DoNotOptimize(t.State);
  }
}
BENCHMARK(BM_ReloadUnchanged)->Unit(benchmark::kMicrosecond);

void BM_SortDBF(benchmark::State& state) {
  const int records = int(state.range(0));
  const Table& file = TableOf(records);
  vemlo::TxxDBF t;
  vemlo::LoadDBF(t, false, file.Dos);
  const int field = int(state.range(1));
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    const double start = NowMs(), startCpu = ThreadCpuMs();
    vemlo::SortDBF(t, field);
    wall.push_back(NowMs() - start);
    cpu.push_back(ThreadCpuMs() - startCpu);
    benchmark::DoNotOptimize(t.Order.data());
  }
  const double n = double(t.RecCount);
  const double nsPerRecord = Median(wall) * 1e6 / n;
  state.counters["ns/rec"] = nsPerRecord;
  state.counters["ns/rec/log2n"] = nsPerRecord / std::log2(n);
  state.counters["cpu_ns/rec"] = Median(cpu) * 1e6 / n;
  state.SetItemsProcessed(state.iterations() * t.RecCount);
}
// Fixed iterations, so that each size has enough runs for a median.
BENCHMARK(BM_SortDBF)->ArgNames({"records", "field"})->Args({100000, 0})->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDBF)->ArgNames({"records", "field"})->Args({1000000, 0})->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDBF)->ArgNames({"records", "field"})->Args({4000000, 0})->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDBF)->ArgNames({"records", "field"})->Args({1000000, 1})->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
