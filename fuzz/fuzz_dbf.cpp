// Table loading: the input is a table file, read header-only and whole (the
// size question answered Abort and Ignore), then every value is read and the
// records sorted by a field. The same bytes are read as a database container
// (and its memo file) and as a property block.
#include "dbf/dbc.h"
#include "dbf/vfp_fields.h"
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
    if (IsVfpVersion(table.Version) && field.FieldType == '0') __builtin_trap();  // _NullFlags stays hidden
    for (int r = 0; r <= table.RecCount; ++r) {
      (void)DBFValue(table, f, r, true);
      (void)DBFValueRef(table, f, r);
    }
  }
  (void)DBFValue(table, -1, 0, false);
}

void LoadEveryWay(const std::string& bytes, size_t size);

// What a container gives holds no more than the file does.
void ReadAsContainer(const fuzz::ScratchFile& file, const TxxDBF& table, size_t size) {
  TxxDbc dbc;
  (void)ReadDBC(file.Dos(), dbc);
  size_t objects = 0;
  for (const TxxDbcTable& t : dbc.Tables) {
    objects += 1 + t.Fields.size();
    if (t.Name.empty() || t.Name.size() > kDbcNameLen || t.Comment.size() > size) __builtin_trap();
    for (const TxxDbcField& f : t.Fields)
      if (f.Name.empty() || f.Name.size() > kDbcNameLen || f.Comment.size() > size) __builtin_trap();
  }
  if (objects > size) __builtin_trap();
  const std::optional<TxxDbcTable> entry = FindDbcTable(table, {dbc});
  if (entry && entry->Fields.size() != table.Fields.size()) __builtin_trap();
}

}  // namespace

// The input is read as it is and once more with a Visual FoxPro or FoxBASE
// version byte, so that the binary types, the null bits and the backlink are
// reached whatever the first byte; the input is also the memo file beside the
// table, so that memo sizes come from forged blocks.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzz::ScratchFile memo("T.FPT", bytes);
  fuzz::ScratchFile dct("T.DCT", bytes);
  const TxxDbcProperties properties = ParseDbcProperties(bytes);
  if (properties.Path.size() + properties.Comment.size() > size) __builtin_trap();
  LoadEveryWay(bytes, size);
  if (size > 0) {
    static const unsigned char kVersions[] = {0x30, 0x31, 0x32, 0xFB};
    std::string forced = bytes;
    forced[0] = char(kVersions[size % 4]);
    if (forced != bytes) LoadEveryWay(forced, size);
  }
  return 0;
}

namespace {

void LoadEveryWay(const std::string& bytes, size_t size) {
  fuzz::FuzzEnv& env = fuzz::Env();
  fuzz::ScratchFile file("T.DBF", bytes);

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
  // The input as a container, and the table as one of its own (its backlink
  // may name T.DBC).
  fuzz::ScratchFile container("T.DBC", bytes);
  ReadAsContainer(container, header, size);
  CloseDBF(table);
  CloseDBF(aborted);
  CloseDBF(header);
}

}  // namespace
