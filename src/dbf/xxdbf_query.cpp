// xxdbf: questions about a loaded table (field by name, one value, sort order).
#include <algorithm>
#include <cstring>
#include <utility>

#include "dbf/xxdbf.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {
namespace {

constexpr size_t kSortStep = 8;
constexpr size_t kCountingFrom = 4096;  // smaller ranges are sorted by comparison

struct SortEntry {
  uint64_t Bytes = 0;  // kSortStep bytes of the value, big-endian, zero-filled
  uint32_t Left = 0;   // bytes of the value from there on, at most kSortStep + 1
  int32_t Record = 0;
};

struct SortRange {
  size_t Begin, End, Offset;
};

void FillSortEntry(SortEntry& e, const TxxDBFRecordArr& values, size_t offset) {
  const DBFText v = values.View(size_t(e.Record));
  const size_t left = v.size() > offset ? v.size() - offset : 0;
  uint64_t bytes = 0;
  for (size_t k = 0; k < kSortStep; ++k)
    bytes = (bytes << 8) | (k < left ? static_cast<unsigned char>(v[offset + k]) : 0u);
  e.Bytes = bytes;
  e.Left = uint32_t(std::min(left, kSortStep + 1));
}

// By the bytes, then a value that ends within them (a prefix of the other)
// first, then in reverse load order.
bool SortsBefore(const SortEntry& a, const SortEntry& b) {
  if (a.Bytes != b.Bytes) return a.Bytes < b.Bytes;
  if (a.Left != b.Left && (a.Left <= kSortStep || b.Left <= kSortStep)) return a.Left < b.Left;
  return a.Record > b.Record;
}

// Digit 0 is Left, digits 1 to 8 the bytes of Bytes from the lowest.
unsigned SortDigit(const SortEntry& e, int digit) {
  return digit == 0 ? e.Left : unsigned(e.Bytes >> (8 * (digit - 1))) & 0xFFu;
}

// Sorts entries[begin, end) as SortsBefore does, given that they come in
// reverse load order: stable counting sorts by each digit, the lowest first.
void CountingSort(SortEntry* entries, size_t begin, size_t end, platform::MemoryBlock& scratch) {
  constexpr int kDigits = 9;
  const size_t n = end - begin;
  std::vector<size_t> counts(size_t(kDigits) * 256, 0);
  for (size_t i = begin; i < end; ++i)
    for (int d = 0; d < kDigits; ++d) ++counts[size_t(d) * 256 + SortDigit(entries[i], d)];
  if (scratch.Size() < n * sizeof(SortEntry)) scratch = platform::MemoryBlock(n * sizeof(SortEntry));
  SortEntry* from = entries + begin;
  SortEntry* to = reinterpret_cast<SortEntry*>(scratch.Data());
  for (int d = 0; d < kDigits; ++d) {
    size_t* count = counts.data() + size_t(d) * 256;
    if (count[SortDigit(from[0], d)] == n) continue;  // one value of this digit throughout
    size_t at = 0;
    for (int v = 0; v < 256; ++v) at += std::exchange(count[v], at);
    for (size_t i = 0; i < n; ++i) to[count[SortDigit(from[i], d)]++] = from[i];
    std::swap(from, to);
  }
  if (from != entries + begin) std::copy(from, from + n, entries + begin);
}

}  // namespace

int FindDBFField(const TxxDBF& table, const std::string& name) {
  const std::string wanted = UpperCase(Trim(name));
  if (wanted.empty() || table.State != dsLoaded) return -1;
  for (size_t i = 0; i < table.Fields.size(); ++i)
    if (UpperCase(Trim(table.Fields[i].Name)) == wanted) return int(i);
  return -1;
}

DBFText DBFValueRef(const TxxDBF& table, int field, int record) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return DBFText();
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  if (record < 0 || size_t(record) >= values.size()) return DBFText();
  return values.View(size_t(record));
}

// Ascending by value in byte order by unsigned character code (a prefix first);
// equal values in reverse load order. Records are sorted by eight bytes of their
// value and the length left, held beside them; values that agree there and go
// on are sorted again among themselves by their next eight bytes. Large ranges
// are sorted by counting, a byte at a time, so the cost per record does not grow
// with the table.
void SortDBF(TxxDBF& table, int field) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return;
  const TxxDBFRecordArr& values = table.Fields[size_t(field)].Values;
  // Fresh large blocks: filling them costs far less than zeroed vectors.
  const size_t n = values.size();
  platform::MemoryBlock block(n * sizeof(SortEntry)), scratch;
  SortEntry* const entries = reinterpret_cast<SortEntry*>(block.Data());
  // In reverse load order, which the stable sorts keep for equal values.
  for (size_t i = 0; i < n; ++i) entries[i] = SortEntry{0, 0, int32_t(n - 1 - i)};
  std::vector<SortRange> ranges{{0, n, 0}};
  while (!ranges.empty()) {
    const SortRange r = ranges.back();
    ranges.pop_back();
    for (size_t i = r.Begin; i < r.End; ++i) FillSortEntry(entries[i], values, r.Offset);
    if (r.End - r.Begin < kCountingFrom) {
      std::sort(entries + r.Begin, entries + r.End, SortsBefore);
    } else {
      CountingSort(entries, r.Begin, r.End, scratch);
    }
    for (size_t i = r.Begin; i < r.End;) {
      size_t j = i + 1;
      if (entries[i].Left > kSortStep) {
        while (j < r.End && entries[j].Bytes == entries[i].Bytes && entries[j].Left > kSortStep) ++j;
      }
      if (j - i > 1) ranges.push_back(SortRange{i, j, r.Offset + kSortStep});
      i = j;
    }
  }
  table.Order.resize(n);
  for (size_t i = 0; i < n; ++i) table.Order[i] = entries[i].Record;
}

}  // namespace vemlo
