// xxdbf: questions about a loaded table (field by name, one value, sort order).
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "dbf/xxdbf.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {
namespace {

// Entries sorted in place of the records: kWords * 8 bytes of the value from
// Offset on, big-endian and zero-filled, the length left from there (capped at
// one more than those bytes: "it goes on"), and the record.
template <int kWords>
struct SortEntry {
  static constexpr size_t kBytes = kWords * 8;
  uint64_t Key[kWords];
  uint32_t Left;
  int32_t Record;
};

constexpr size_t kRadixFrom = 64;  // smaller ranges are sorted by comparison
constexpr size_t kWideFrom = size_t(1) << 18;  // larger ones are split by two bytes

uint64_t BigEndian8(const unsigned char* p) {
  uint64_t v = 0;
  for (int k = 0; k < 8; ++k) v = (v << 8) | p[k];
  return v;
}

template <int kWords>
void FillSortEntry(SortEntry<kWords>& e, const TxxDBFRecordArr& values, size_t offset) {
  constexpr size_t kBytes = SortEntry<kWords>::kBytes;
  const DBFText v = values.View(size_t(e.Record));
  const size_t left = v.size() > offset ? v.size() - offset : 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(v.data()) + offset;
  unsigned char padded[kBytes];
  if (left < kBytes) {
    for (size_t k = 0; k < kBytes; ++k) padded[k] = k < left ? p[k] : 0;
    p = padded;
  }
  for (int w = 0; w < kWords; ++w) e.Key[w] = BigEndian8(p + 8 * w);
  e.Left = uint32_t(std::min(left, kBytes + 1));
}

// By the key bytes, then the length left (a value that ends there comes first),
// then in reverse load order.
template <int kWords>
bool SortsBefore(const SortEntry<kWords>& a, const SortEntry<kWords>& b) {
  for (int w = 0; w < kWords; ++w)
    if (a.Key[w] != b.Key[w]) return a.Key[w] < b.Key[w];
  if (a.Left != b.Left) return a.Left < b.Left;
  return a.Record > b.Record;
}

// Digits from the most significant key byte on (digit d is byte d % 8 of key
// word d / 8); the last digit is Left. A digit taken two bytes wide is the
// byte and the next one of the same word.
struct DigitPick {
  bool Left = false;
  int Word = 0, Shift = 0;
  unsigned Mask = 0xFF;
};

template <int kWords>
DigitPick PickDigit(int digit, int width) {
  if (digit == kWords * 8) return DigitPick{true, 0, 0, 0};
  return DigitPick{false, digit / 8, 64 - 8 * (digit % 8 + width), width == 2 ? 0xFFFFu : 0xFFu};
}

template <int kWords>
unsigned DigitOf(const SortEntry<kWords>& e, const DigitPick& pick) {
  return pick.Left ? e.Left : unsigned(e.Key[pick.Word] >> pick.Shift) & pick.Mask;
}

// A range of entries still to be sorted from digit Digit on, held in the
// scratch buffer when InScratch; Offset: where in the values the keys start.
struct SortRange {
  size_t Begin, End, Offset;
  int Digit;
  bool InScratch;
};

// Sorts the entries as SortsBefore does, given that they come in reverse load
// order: stable counting sorts from the most significant digit on, each range
// split by one digit into ranges that are split again (moving between the
// entries and the scratch buffer), so that after the first splits a range fits
// the caches. Small ranges are sorted by comparison; values that agree in all
// the key bytes and go on are keyed again by their next bytes, which is the
// only time a record is read out of load order.
template <int kWords>
void SortEntries(SortEntry<kWords>* entries, size_t n, const TxxDBFRecordArr& values) {
  using Entry = SortEntry<kWords>;
  constexpr int kLastDigit = kWords * 8;
  constexpr size_t kStep = Entry::kBytes;
  platform::MemoryBlock scratchBlock;
  Entry* scratch = nullptr;
  std::vector<SortRange> ranges{{0, n, 0, 0, false}};
  // Ranges of equal keys that go on are keyed again further in.
  const auto pushTies = [&](size_t begin, size_t end, size_t offset) {
    for (size_t i = begin; i < end;) {
      size_t j = i + 1;
      if (entries[i].Left > kStep) {
        while (j < end && entries[j].Left > kStep &&
               std::equal(entries[j].Key, entries[j].Key + kWords, entries[i].Key))
          ++j;
      }
      if (j - i > 1) ranges.push_back(SortRange{i, j, offset + kStep, -1, false});
      i = j;
    }
  };
  const auto settle = [&](const SortRange& r) {
    if (r.InScratch) std::copy(scratch + r.Begin, scratch + r.End, entries + r.Begin);
  };
  size_t counts[256];
  std::vector<size_t> wideCounts;
  while (!ranges.empty()) {
    SortRange r = ranges.back();
    ranges.pop_back();
    if (r.Digit < 0) {
      for (size_t i = r.Begin; i < r.End; ++i) FillSortEntry(entries[i], values, r.Offset);
      r.Digit = 0;
    }
    Entry* from = r.InScratch ? scratch : entries;
    const size_t m = r.End - r.Begin;
    if (m < kRadixFrom) {
      std::sort(from + r.Begin, from + r.End, SortsBefore<kWords>);
      settle(r);
      pushTies(r.Begin, r.End, r.Offset);
      continue;
    }
    // The next digit that is not the same throughout the range; large ranges
    // are split by two bytes at once, which leaves ranges that fit the caches
    // after fewer passes over the whole.
    size_t* count = counts;
    size_t buckets = 256;
    int width = 1;
    for (; r.Digit <= kLastDigit; r.Digit += width) {
      width = m >= kWideFrom && r.Digit < kLastDigit && r.Digit % 8 != 7 ? 2 : 1;
      const DigitPick pick = PickDigit<kWords>(r.Digit, width);
      if (width == 2 && wideCounts.empty()) wideCounts.resize(size_t(1) << 16);
      count = width == 2 ? wideCounts.data() : counts;
      buckets = width == 2 ? wideCounts.size() : 256;
      std::fill(count, count + buckets, 0);
      for (size_t i = r.Begin; i < r.End; ++i) ++count[DigitOf(from[i], pick)];
      if (count[DigitOf(from[r.Begin], pick)] != m) break;
    }
    if (r.Digit > kLastDigit) {  // all equal: in reverse load order already
      settle(r);
      pushTies(r.Begin, r.End, r.Offset);
      continue;
    }
    if (!scratch) {
      scratchBlock = platform::MemoryBlock(n * sizeof(Entry));
      scratch = reinterpret_cast<Entry*>(scratchBlock.Data());
    }
    Entry* to = r.InScratch ? entries : scratch;
    size_t at = r.Begin;
    for (size_t v = 0; v < buckets; ++v) at += std::exchange(count[v], at);
    const DigitPick pick = PickDigit<kWords>(r.Digit, width);
    for (size_t i = r.Begin; i < r.End; ++i) to[count[DigitOf(from[i], pick)]++] = from[i];
    // count[v] is now the end of the range of digit v.
    for (size_t v = 0, begin = r.Begin; v < buckets; begin = count[v++]) {
      const size_t end = count[v];
      if (end - begin > 1)
        ranges.push_back(SortRange{begin, end, r.Offset, r.Digit + width, !r.InScratch});
      else if (end - begin == 1 && !r.InScratch)
        entries[begin] = scratch[begin];  // one entry: in its place
    }
  }
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
// equal values in reverse load order. The keys are read in one pass over the
// records: eight bytes of each value, or sixteen when the field is longer.
void SortDBF(TxxDBF& table, int field) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return;
  const TxxDBFField& f = table.Fields[size_t(field)];
  const TxxDBFRecordArr& values = f.Values;
  const size_t n = values.size();
  table.Order.resize(n);
  const auto sort = [&](auto entry) {
    using Entry = decltype(entry);
    // A fresh block: filling it costs far less than a zeroed vector.
    platform::MemoryBlock block(n * sizeof(Entry));
    Entry* const entries = reinterpret_cast<Entry*>(block.Data());
    // In reverse load order, which the stable sorts keep for equal values.
    for (size_t i = 0; i < n; ++i) {
      Entry& e = entries[n - 1 - i];
      e.Record = int32_t(i);
      FillSortEntry(e, values, 0);
    }
    SortEntries(entries, n, values);
    for (size_t i = 0; i < n; ++i) table.Order[i] = entries[i].Record;
  };
  if (f.Len > 8)
    sort(SortEntry<2>{});
  else
    sort(SortEntry<1>{});
}

}  // namespace vemlo
