// Code insight over a large project: collecting the candidates of one request
// from a data dictionary of 50,000 fields and a procedure of 5,000 statements,
// and the refiltering and row composition that every typed key costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fox/insight/completion.h"
#include "fox/views/list_window.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "host/settings_file.h"
#include "platform/platform.h"

namespace {

using namespace vemlo;

constexpr int kFields = 50000;
constexpr int kStatements = 5000;
constexpr int kBases = 10;  // BIG holds half of the fields, the other bases share the rest

TxxDBFField Column(const std::string& name) {
  TxxDBFField f;
  f.Name = name;
  f.FieldType = 'C';
  f.Len = 10;
  return f;
}

void AddRow(TxxDBF& t, const std::vector<std::string>& values) {
  for (size_t i = 0; i < values.size(); ++i) t.Fields[i].Values.push_back(TxxDBFRecord{values[i]});
  ++t.RecCount;
}

struct Model {
  TxxFoxProj Proj;
  TxxInsight In;
};

Model& BuildModel() {
  static Model* model = nullptr;
  if (model) return *model;
  model = new Model;
  const std::string ini = (std::filesystem::temp_directory_path() / "vemlo-insight-bench.ini").string();
  std::ofstream(ini) << "[KDF_BASES]\nFieldName_BASE=BASE\nFieldName_REM=REM\nFieldName_CROSS=CROSS\n"
                        "[KDF_FIELDS]\nFieldName_BASE=BASE\nFieldName_FNAME=FNAME\nFieldName_FTYPE=FTYPE\n"
                        "FieldName_FLEN=FLEN\nFieldName_FDEC=FDEC\nFieldName_REM=REM\n";
  LoadIni(platform::ToDosPath(ini));

  TxxDBF& bases = model->Proj.KdfBases;
  bases.State = dsLoaded;
  bases.FileName = "C:\\DICT\\KDF_BASES.DBF";
  bases.Fields = {Column("BASE"), Column("REM"), Column("CROSS")};
  AddRow(bases, {"BIG", "the big one", ""});
  for (int b = 1; b < kBases; ++b) AddRow(bases, {"BASE" + std::to_string(b), "base", ""});
  AddRow(bases, {"HIST", "history of BIG", "BIG"});

  TxxDBF& fields = model->Proj.KdfFields;
  fields.State = dsLoaded;
  fields.FileName = "C:\\DICT\\KDF_FIELDS.DBF";
  fields.Fields = {Column("BASE"), Column("FNAME"), Column("FTYPE"), Column("FLEN"), Column("FDEC"),
                   Column("REM")};
  for (int i = 0; i < kFields; ++i) {
    const std::string base = i % 2 == 0 ? "BIG" : "BASE" + std::to_string(1 + i % (kBases - 1));
    AddRow(fields, {base, "F" + std::to_string(i * 7919 % 100000), "C", "10", "0", "field remark"});
  }

  TxxFoxProg prog;
  prog.FileName = "C:\\PRJ\\MAIN.PRG";
  prog.IsLibrary = 1;
  prog.Procs.resize(1);
  prog.Procs[0].Name = "MAIN.PRG";
  model->Proj.Progs.push_back(prog);
  model->In.FileName = prog.FileName;
  for (int i = 0; i < kStatements; ++i) {
    TxxFoxString st;
    st.FirstLine = st.LastLine = i;
    st.Kind = stOther;
    st.Elements.push_back(TxxFoxElement{"nVar" + std::to_string(i), ekVariable, "= " + std::to_string(i)});
    if (i % 10 == 0) st.Elements.push_back(TxxFoxElement{"laArr" + std::to_string(i), ekArray, "[10]"});
    model->In.Statements.push_back(std::move(st));
  }
  model->In.CursorStatement = kStatements / 2;
  return *model;
}

void Request(benchmark::State& state, const std::string& context) {
  Model& m = BuildModel();
  for (auto _ : state) {
    m.In.Context = context;
    CollectCandidates(m.In, m.Proj, IniFile());
    benchmark::DoNotOptimize(m.In.Candidates.data());
  }
  state.counters["rows"] = static_cast<double>(m.In.Candidates.size());
  m.In.Candidates.clear();
}

void BM_RequestDictionaryFields(benchmark::State& state) { Request(state, "HIST."); }
void BM_RequestVariables(benchmark::State& state) { Request(state, "M."); }
void BM_RequestEmptyContext(benchmark::State& state) { Request(state, ""); }

// One typed key: the list is filtered again by the longer prefix and the
// visible rows are composed for drawing.
void BM_RefilterPerTypedKey(benchmark::State& state) {
  Model& m = BuildModel();
  m.In.Context = "HIST.";
  CollectCandidates(m.In, m.Proj, IniFile());
  TxxSymbToCompleteArr rows = m.In.Candidates;
  m.In.Context = "M.";
  CollectCandidates(m.In, m.Proj, IniFile());
  rows.insert(rows.end(), m.In.Candidates.begin(), m.In.Candidates.end());
  m.In.Candidates.clear();
  TxxInsightList list;
  list.Rows = &rows;
  PlaceInsightList(list, 80, 23, 3, 10, "", "", "");
  const char* const prefixes[] = {"F", "F1", "F12", "F1", "", "N", "NV", "NVA", "NVAR4"};
  size_t k = 0;
  for (auto _ : state) {
    FilterInsightList(list, prefixes[k++ % std::size(prefixes)]);
    for (int i = list.Top; i < list.Top + list.Height; ++i)
      benchmark::DoNotOptimize(InsightRowText(list, i, 0));
  }
  state.counters["rows"] = static_cast<double>(rows.size());
}

BENCHMARK(BM_RequestDictionaryFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RequestVariables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RequestEmptyContext)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefilterPerTypedKey)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
