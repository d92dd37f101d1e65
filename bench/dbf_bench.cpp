// Loading and sorting a table of 1,000,000 records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "dbf/xxdbf.h"
#include "host/reader_reports.h"
#include "platform/platform.h"

namespace {

constexpr int kRecords = 1000000;

void PutLe(std::string& s, size_t at, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// NAME C 20 (random words, many repeats), CODE N 8, BORN D 8; one record in
// fifty deleted.
std::string WriteTable() {
  static std::string path;
  if (!path.empty()) return path;
  std::string native = (std::filesystem::temp_directory_path() / "vemlo-bench-1m.dbf").string();
  const struct { const char* name; char type; int len; } fields[] = {
      {"NAME", 'C', 20}, {"CODE", 'N', 8}, {"BORN", 'D', 8}};
  const uint32_t recordLen = 1 + 20 + 8 + 8, headerLen = 32 + 32 * 3 + 1;
  std::string head(32, '\0');
  head[0] = 0x03;
  PutLe(head, 4, kRecords, 4);
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
  std::ofstream out(native, std::ios::binary | std::ios::trunc);
  out << head;
  std::mt19937 rng(7);
  char rec[64];
  for (int i = 0; i < kRecords; ++i) {
    std::string name;
    for (int k = 3 + int(rng() % 12); k > 0; --k) name += char('A' + rng() % 6);
    snprintf(rec, sizeof rec, "%c%-20.20s%8d%04d%02d%02d", i % 50 == 7 ? '*' : ' ', name.c_str(), i,
             1950 + int(rng() % 70), 1 + int(rng() % 12), 1 + int(rng() % 28));
    out.write(rec, recordLen);
  }
  out << '\x1A';
  out.close();
  path = vemlo::platform::ToDosPath(native);
  return path;
}

void BM_LoadDBF(benchmark::State& state) {
  std::string path = WriteTable();
  for (auto _ : state) {
    vemlo::TxxDBF t;
    vemlo::LoadDBF(t, false, path);
    if (t.State != vemlo::dsLoaded) state.SkipWithError("table not loaded");
    benchmark::DoNotOptimize(t.RecCount);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadDBF)->Unit(benchmark::kMillisecond);

void BM_ReloadUnchanged(benchmark::State& state) {
  std::string path = WriteTable();
  vemlo::TxxDBF t;
  vemlo::LoadDBF(t, false, path);
  for (auto _ : state) {
    vemlo::LoadDBF(t, false, vemlo::DBFReloadName);
    benchmark::DoNotOptimize(t.State);
  }
}
BENCHMARK(BM_ReloadUnchanged)->Unit(benchmark::kMicrosecond);

void BM_SortDBF(benchmark::State& state) {
  std::string path = WriteTable();
  vemlo::TxxDBF t;
  vemlo::LoadDBF(t, false, path);
  int field = int(state.range(0));
  for (auto _ : state) {
    vemlo::SortDBF(t, field);
    benchmark::DoNotOptimize(t.Order.data());
  }
  state.SetItemsProcessed(state.iterations() * t.RecCount);
}
BENCHMARK(BM_SortDBF)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
