// xxdbf inside: decoding the values of Visual FoxPro tables.
#include "dbf/vfp_fields.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "config/file_names.h"
#include "help/memo_reader.h"
#include "lib/xxlib.h"

namespace vemlo {
namespace {

constexpr const char* kNull = ".NULL.";
constexpr uint32_t kDayMs = 86400000;
// Julian day numbers of 0001-01-01 and 9999-12-31: the dates a value can show.
constexpr uint32_t kFirstDay = 1721426;
constexpr uint32_t kLastDay = 5373484;
// Records are read in pieces of about this size rather than one read each.
constexpr int64_t kChunkBytes = 256 * 1024;

uint64_t LeBytes(const unsigned char* p, int n) {
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

bool BitSet(const unsigned char* record, size_t recordLen, const TxxVfpLayout& layout, int bit) {
  if (bit < 0 || layout.FlagsLen == 0 || uint32_t(bit / 8) >= layout.FlagsLen) return false;
  size_t at = size_t(layout.FlagsOffset) + size_t(bit / 8);
  return at < recordLen && (record[at] >> (bit % 8)) & 1;
}

// Text up to its first zero byte, right-trimmed.
std::string Trimmed(const unsigned char* p, size_t n) {
  n = strnlen(reinterpret_cast<const char*>(p), n);
  while (n > 0 && p[n - 1] <= 32) --n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

std::string Hex(const unsigned char* p, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

const char* MemoKind(char type) {
  switch (type) {
    case 'G': return "general";
    case 'W': return "blob";
    default: return "memo";
  }
}

std::string MemoText(char type, uint32_t block, platform::InFile& memo) {
  if (block == 0) return {};
  TxxMemoBlock found;
  bool known = FindMemoBlock(memo, block, found) == TxxReadStatus::Read && found.Found;
  return std::string(MemoKind(type)) + " (" + (known ? std::to_string(found.Length) + " bytes" : "?") + ")";
}

bool IsMemoType(char type) { return type == 'M' || type == 'G' || type == 'W'; }

void OpenMemo(const std::string& tablePath, platform::InFile& memo) {
  if (!memo.Open(ChangeFileExt(tablePath, MemoFileExt))) memo.Open(ChangeFileExt(tablePath, UpperCase(MemoFileExt)));
}

}  // namespace

bool IsVfpVersion(unsigned char version) { return version >= 0x30 && version <= 0x32; }

int DBFFieldWidth(const TxxDBF& table, int field) {
  if (field < 0 || size_t(field) >= table.Fields.size()) return 0;
  const TxxDBFField& f = table.Fields[size_t(field)];
  if (!IsVfpVersion(table.Version)) return f.Len;
  int width = f.Len;
  switch (f.FieldType) {
    case 'I': width = 11; break;            // -2147483648
    case 'B': width = 22; break;            // %.15g with an exponent, or the decimals shown
    case 'Y': width = 21; break;            // -922337203685477.5808
    case 'T': width = 17; break;            // YYYYMMDD hh:mm:ss
    case 'Q': width = 2 * int(f.Len); break;  // hex digits
    default:
      if (IsMemoType(f.FieldType) && f.Len == 4) width = 26;  // general (4294967295 bytes)
  }
  if (f.FieldType == 'B' && f.Dec > 0) width = std::max(width, 18 + std::min<int>(f.Dec, 15));
  if (f.Flags & dbfNullable) width = std::max(width, int(strlen(kNull)));
  return width;
}

TxxVfpLayout TakeSystemFields(TxxDBFFieldArr& fields) {
  TxxVfpLayout layout;
  TxxDBFFieldArr listed;
  for (auto& f : fields) {
    if (f.FieldType == '0' || (f.Flags & dbfSystemField)) {
      // The first _NullFlags field holds the bits; other system fields are skipped.
      if (f.FieldType == '0' && layout.FlagsLen == 0) {
        layout.FlagsOffset = uint32_t(f.Offset);
        layout.FlagsLen = f.Len;
      }
      continue;
    }
    listed.push_back(std::move(f));
  }
  int next = 0;
  for (const auto& f : listed) {
    TxxVfpBits bits;
    if (f.FieldType == 'V' || f.FieldType == 'Q') bits.Length = next++;
    if (f.Flags & dbfNullable) bits.Null = next++;
    layout.Bits.push_back(bits);
  }
  fields = std::move(listed);
  return layout;
}

std::string VfpCurrencyText(int64_t tenThousandths) {
  uint64_t magnitude = tenThousandths < 0 ? 0 - uint64_t(tenThousandths) : uint64_t(tenThousandths);
  char text[32];
  snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, tenThousandths < 0 ? "-" : "", magnitude / 10000,
           magnitude % 10000);
  return text;
}

std::string VfpDateTimeText(uint32_t julianDay, uint32_t milliseconds) {
  if (julianDay < kFirstDay || julianDay > kLastDay || milliseconds >= kDayMs) return {};
  // Julian day number to the Gregorian calendar.
  const int64_t j = julianDay;
  const int64_t f = j + 1401 + (((4 * j + 274277) / 146097) * 3) / 4 - 38;
  const int64_t e = 4 * f + 3;
  const int64_t h = 5 * ((e % 1461) / 4) + 2;
  const int64_t day = (h % 153) / 5 + 1;
  const int64_t month = (h / 153 + 2) % 12 + 1;
  const int64_t year = e / 1461 - 4716 + (14 - month) / 12;
  const uint32_t seconds = milliseconds / 1000;
  char text[32];
  snprintf(text, sizeof text, "%04d%02d%02d %02u:%02u:%02u", int(year), int(month), int(day), seconds / 3600,
           seconds / 60 % 60, seconds % 60);
  return text;
}

std::string VfpDoubleText(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char text[400];
  if (decimals > 0)
    snprintf(text, sizeof text, "%.*f", std::min(decimals, 15), value);
  else
    snprintf(text, sizeof text, "%.15g", value);
  return text;
}

std::string VfpValueText(const TxxDBFFieldArr& fields, const TxxVfpLayout& layout, size_t index,
                         const unsigned char* record, size_t recordLen, platform::InFile& memo) {
  const TxxDBFField& f = fields[index];
  const TxxVfpBits bits = index < layout.Bits.size() ? layout.Bits[index] : TxxVfpBits{};
  const size_t offset = uint32_t(f.Offset);
  if (offset >= recordLen) return {};
  const size_t len = std::min<size_t>(f.Len, recordLen - offset);
  const unsigned char* p = record + offset;
  if ((f.Flags & dbfNullable) && BitSet(record, recordLen, layout, bits.Null)) return kNull;
  // A binary value needs all of its bytes.
  const bool whole = len == f.Len;
  switch (f.FieldType) {
    case 'I':
      if (!whole || len != 4) return {};
      return std::to_string(int32_t(uint32_t(LeBytes(p, 4))));
    case 'B': {
      if (!whole || len != 8) return {};
      uint64_t raw = LeBytes(p, 8);
      double value;
      memcpy(&value, &raw, sizeof value);
      return VfpDoubleText(value, f.Dec);
    }
    case 'Y':
      if (!whole || len != 8) return {};
      return VfpCurrencyText(int64_t(LeBytes(p, 8)));
    case 'T':
      if (!whole || len != 8) return {};
      return VfpDateTimeText(uint32_t(LeBytes(p, 4)), uint32_t(LeBytes(p + 4, 4)));
    case 'V':
    case 'Q': {
      size_t n = len;
      if (BitSet(record, recordLen, layout, bits.Length)) {
        // The real length is in the last byte; one that points outside the
        // rest of the field gives no value.
        if (!whole || len == 0 || p[len - 1] >= len) return {};
        n = p[len - 1];
      }
      return f.FieldType == 'V' ? Trimmed(p, n) : Hex(p, n);
    }
    default:
      break;
  }
  if (IsMemoType(f.FieldType) && f.Len == 4) return whole ? MemoText(f.FieldType, uint32_t(LeBytes(p, 4)), memo) : "";
  return Trimmed(p, len);
}

bool ReadVfpRecords(platform::InFile& file, const std::string& tablePath, int64_t firstRecord,
                    int64_t recordCount, uint32_t recordLen, TxxDBFFieldArr& fields,
                    const TxxVfpLayout& layout, std::vector<int32_t>& recNos) {
  const int64_t r = recordLen;
  if (r == 0 || recordCount <= 0) return true;
  platform::InFile memo;
  if (std::any_of(fields.begin(), fields.end(), [](const TxxDBFField& f) { return IsMemoType(f.FieldType); }))
    OpenMemo(tablePath, memo);

  recNos.reserve(size_t(recordCount));
  for (auto& f : fields) f.Values.reserve(size_t(recordCount));
  const int64_t perChunk = std::min(recordCount, std::max<int64_t>(1, kChunkBytes / r));
  std::vector<unsigned char> buffer(size_t(perChunk * r));
  for (int64_t first = 0; first < recordCount;) {
    const int64_t want = std::min(perChunk, recordCount - first);
    const int64_t got = file.ReadAt(firstRecord + first * r, buffer.data(), want * r);
    if (got < 0) return false;
    const int64_t whole = got / r;
    for (int64_t i = 0; i < whole; ++i) {
      const unsigned char* rec = buffer.data() + i * r;
      if (rec[0] != ' ') continue;
      recNos.push_back(int32_t(first + i));
      for (size_t f = 0; f < fields.size(); ++f)
        fields[f].Values.push_back(TxxDBFRecord{VfpValueText(fields, layout, f, rec, size_t(r), memo)});
    }
    if (whole < want) break;
    first += whole;
  }
  return true;
}

}  // namespace vemlo
