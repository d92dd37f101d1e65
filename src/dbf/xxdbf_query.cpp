// xxdbf: questions about a loaded table (field by name, one value, sort order).
#include <algorithm>
#include <cstring>
#include <numeric>

#include "dbf/xxdbf.h"
#include "lib/xxlib.h"

namespace vemlo {
namespace {

// Byte order by unsigned character code (memcmp's order); a prefix is smaller.
int CompareBytes(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

const std::string kEmpty;

}  // namespace

int FindDBFField(const TxxDBF& table, const std::string& name) {
  const std::string wanted = UpperCase(Trim(name));
  if (wanted.empty() || table.State != dsLoaded) return -1;
  for (size_t i = 0; i < table.Fields.size(); ++i)
    if (UpperCase(Trim(table.Fields[i].Name)) == wanted) return int(i);
  return -1;
}

const std::string& DBFValueRef(const TxxDBF& table, int field, int record) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return kEmpty;
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  if (record < 0 || size_t(record) >= values.size()) return kEmpty;
  return values[size_t(record)].Value;
}

// Ascending by value; equal values in reverse load order.
void SortDBF(TxxDBF& table, int field) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return;
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  table.Order.resize(values.size());
  std::iota(table.Order.begin(), table.Order.end(), 0);
  std::sort(table.Order.begin(), table.Order.end(), [&](int32_t a, int32_t b) {
    int c = CompareBytes(values[size_t(a)].Value, values[size_t(b)].Value);
    return c != 0 ? c < 0 : a > b;
  });
}

}  // namespace vemlo
