// Table loading: the input is a table file, read header-only and whole (the
// size question answered Abort and Ignore), then every value is read and the
// records sorted by a field.
#include "dbf/xxdbf.h"
#include "fuzz_env.h"
#include "host/reader_reports.h"

using namespace vemlo;

namespace {

constexpr int kAbort = 0;
constexpr int kIgnore = 2;

void TouchValues(const TxxDBF& table) {
  for (int f = 0; f < static_cast<int>(table.Fields.size()); ++f) {
    const TxxDBFField& field = table.Fields[static_cast<size_t>(f)];
    if (DBFFieldIndex(table, field.Name) < 0 && !field.Name.empty() && field.Name[0] > ' ')
      __builtin_trap();  // a loaded field must be found by its own name
    for (int r = 0; r <= table.RecCount; ++r) {
      (void)DBFValue(table, f, r, true);
      (void)DBFValueRef(table, f, r);
    }
  }
  (void)DBFValue(table, -1, 0, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEnv& env = fuzz::Env();
  fuzz::ScratchFile file("T.DBF", std::string(reinterpret_cast<const char*>(data), size));

  TxxDBF header;
  env.Host->Answer = kIgnore;
  LoadDBF(header, true, file.Dos());
  // A table read for its header only is loaded again for a value.
  if (!header.Fields.empty()) (void)DBFValue(header, 0, 0, false);

  TxxDBF aborted;
  env.Host->Answer = kAbort;
  LoadDBF(aborted, false, file.Dos());
  TouchValues(aborted);

  TxxDBF table;
  env.Host->Answer = kIgnore;
  LoadDBF(table, false, file.Dos());
  if (table.State == dsLoaded) {
    TouchValues(table);
    if (!table.Fields.empty()) {
      SortDBF(table, static_cast<int>(size % table.Fields.size()));
      if (table.Order.size() != table.Fields[size % table.Fields.size()].Values.size()) __builtin_trap();
    }
    SortDBF(table, -1);
    SortDBF(table, static_cast<int>(table.Fields.size()));
  }
  CloseDBF(table);
  CloseDBF(aborted);
  CloseDBF(header);
  return 0;
}
