// xxdbf: questions about a loaded table (field by name, one value, sort order).
#include <algorithm>
#include <cstring>

#include "dbf/xxdbf.h"
#include "lib/xxlib.h"

namespace vemlo {
namespace {

// Calls fn with the table loaded: the caller's own handle when it is loaded,
// else a temporary handle read for this call only.
template <typename Fn>
auto WithLoadedTable(const TxxDBF& table, Fn fn) {
  if (table.State == dsLoaded) return fn(table);
  TxxDBF copy;
  copy.FileName = table.FileName;
  copy.State = table.State;
  copy.FileDate = table.FileDate;
  LoadDBF(copy, false, DBFReloadName);
  return fn(copy);
}

}  // namespace

int DBFFieldIndex(const TxxDBF& table, const std::string& name) {
  std::string wanted = UpperCase(Trim(name));
  if (wanted.empty()) return -1;
  return WithLoadedTable(table, [&](const TxxDBF& t) {
    if (t.State != dsLoaded) return -1;
    for (size_t i = 0; i < t.Fields.size(); ++i)
      if (UpperCase(Trim(t.Fields[i].Name)) == wanted) return int(i);
    return -1;
  });
}

std::string DBFValue(const TxxDBF& table, int field, int record, bool pad) {
  return WithLoadedTable(table, [&](const TxxDBF& t) -> std::string {
    if (t.State != dsLoaded || field < 0 || size_t(field) >= t.Fields.size()) return {};
    const std::string value = DBFValueRef(t, field, record);
    return pad ? PadRightTo(value, t.Fields[size_t(field)].Len) : value;
  });
}

DBFText DBFValueRef(const TxxDBF& table, int field, int record) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return DBFText();
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  if (record < 0 || size_t(record) >= values.size()) return DBFText();
  return values.View(size_t(record));
}

// Ascending by value in byte order by unsigned character code (a prefix first);
// equal values in reverse load order. Records are sorted by the first eight
// bytes of their value held beside them; only records that agree there are
// compared in full.
void SortDBF(TxxDBF& table, int field) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return;
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  struct Entry {
    uint64_t Prefix;  // big-endian, zero-filled
    int32_t Record;
  };
  std::vector<Entry> entries(values.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const DBFText v = values.View(i);
    uint64_t prefix = 0;
    for (size_t k = 0; k < 8; ++k)
      prefix = (prefix << 8) | (k < v.size() ? static_cast<unsigned char>(v[k]) : 0u);
    entries[i] = Entry{prefix, int32_t(i)};
  }
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.Prefix != b.Prefix) return a.Prefix < b.Prefix;
    const int c = values.View(size_t(a.Record)).compare(values.View(size_t(b.Record)));
    return c != 0 ? c < 0 : a.Record > b.Record;
  });
  table.Order.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) table.Order[i] = entries[i].Record;
}

}  // namespace vemlo
