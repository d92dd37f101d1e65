// xxdbf: loading a DBF table into memory, with the checks that keep a corrupt
// or forged file from reading outside what it holds.
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "dbf/vfp_fields.h"
#include "dbf/record_area.h"
#include "dbf/xxdbf.h"
#include "platform/platform.h"

namespace vemlo {
namespace {

constexpr int64_t kHeaderSize = 32;
constexpr int64_t kDescriptorSize = 32;
constexpr unsigned char kDescriptorEnd = 0x0D;

struct DBFHeader {
  unsigned char Version = 0;
  uint32_t RecordCount = 0;
  uint32_t HeaderLen = 0;
  uint32_t RecordLen = 0;
};

uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool KnownVersion(unsigned char v) {
  return v == 0x03 || v == 0x83 || v == 0x8B || v == 0xF5 || v == 0xFB || IsVfpVersion(v);
}

// A header the file's size agrees with. A header shorter than one descriptor
// or a record length of 0 cannot describe a table, so it counts as a mismatch.
bool SizeAgrees(const DBFHeader& h, int64_t fileSize) {
  if (h.HeaderLen < kHeaderSize + kDescriptorSize || h.RecordLen == 0) return false;
  int64_t expected = int64_t(h.RecordCount) * h.RecordLen + h.HeaderLen + (h.RecordCount > 0 ? 1 : 0);
  return fileSize >= expected && fileSize <= expected + h.RecordLen - 1;
}

// The descriptors the header announces, as far as the header and the file hold
// them; the list also ends at the descriptor area's terminator. False when the
// read fails. terminator: where the terminator of the list is (or would be).
bool ReadFields(platform::InFile& file, const DBFHeader& h, int64_t fileSize, TxxDBFFieldArr& fields,
                int64_t& terminator) {
  int64_t areaEnd = std::min<int64_t>(h.HeaderLen, fileSize);
  int64_t count = areaEnd > kHeaderSize ? (areaEnd - kHeaderSize) / kDescriptorSize : 0;
  int64_t announced = int64_t(h.HeaderLen) / kDescriptorSize - 1;
  count = std::max<int64_t>(0, std::min(count, announced));
  std::vector<unsigned char> area(size_t(count * kDescriptorSize));
  int64_t got = count > 0 ? file.ReadAt(kHeaderSize, area.data(), int64_t(area.size())) : 0;
  if (got < 0) return false;
  count = got / kDescriptorSize;

  terminator = kHeaderSize + count * kDescriptorSize;
  for (int64_t i = 0; i < count; ++i) {
    const unsigned char* d = area.data() + i * kDescriptorSize;
    if (d[0] == kDescriptorEnd) {
      terminator = kHeaderSize + i * kDescriptorSize;
      break;
    }
    TxxDBFField f;
    f.Name.assign(reinterpret_cast<const char*>(d), strnlen(reinterpret_cast<const char*>(d), 11));
    f.FieldType = char(d[11]);
    f.Offset = int32_t(Le32(d + 12));
    f.Len = d[16];
    f.Dec = d[17];
    f.Flags = d[18];
    fields.push_back(std::move(f));
  }
  return true;
}

// The records the header announces, as far as the file holds them whole.
int64_t HeldRecords(const DBFHeader& h, int64_t fileSize) {
  if (h.RecordLen == 0 || fileSize <= h.HeaderLen) return 0;
  int64_t held = std::min<int64_t>(h.RecordCount, (fileSize - h.HeaderLen) / h.RecordLen);
  return std::min<int64_t>(held, std::numeric_limits<int32_t>::max());
}

// The database path after the descriptor terminator, up to its first zero
// byte, as far as the header covers it. False when the read fails.
bool ReadBacklink(platform::InFile& file, const DBFHeader& h, int64_t terminator, std::string& database) {
  const int64_t start = terminator + 1;
  const int64_t len = std::min<int64_t>(kVfpBacklinkLen, int64_t(h.HeaderLen) - start);
  database.clear();
  if (len <= 0) return true;
  char link[kVfpBacklinkLen];
  const int64_t got = file.ReadAt(start, link, len);
  if (got < 0) return false;
  database.assign(link, strnlen(link, size_t(got)));
  while (!database.empty() && static_cast<unsigned char>(database.back()) <= 32) database.pop_back();
  return true;
}

// Deleted records and a short read leave room at the end of the record area; it
// is given back when it is more than this share of the area.
constexpr size_t kSpareTenths = 1;

// Records are read this many bytes at a time (whole records), each piece
// sorted out while it is still in the caches.
constexpr size_t kPieceBytes = 256 * 1024;

// Sorts out `count` records read at `at`, numbered from `first`: a record's
// text ends at its first zero byte (the rest is cleared, so that it reads as
// nothing) and the live ones move up over the deleted ones, a run of them at a
// time. Returns how many are live.
size_t KeepLiveRecords(char* at, size_t count, size_t r, size_t first, std::vector<int32_t>& recNos) {
  char* const end = at + count * r;
  for (char* from = at; from < end;) {
    void* zero = memchr(from, 0, size_t(end - from));
    if (!zero) break;
    char* z = static_cast<char*>(zero);
    char* recordEnd = at + (size_t(z - at) / r + 1) * r;
    memset(z, 0, size_t(recordEnd - z));
    from = recordEnd;
  }
  size_t live = 0;
  for (size_t i = 0; i < count;) {
    if (at[i * r] != ' ') {
      ++i;
      continue;
    }
    const size_t runFirst = i;
    while (i < count && at[i * r] == ' ') recNos.push_back(int32_t(first + i++));
    if (live != runFirst) memmove(at + live * r, at + runFirst * r, (i - runFirst) * r);
    live += i - runFirst;
  }
  return live;
}

// Live records of the table, only as many as the file holds whole, in one
// buffer that the fields' values then view; a read that comes short (the file
// shrank) ends the records with what was read. Each piece of the file is read
// straight to where the live records so far end. False when the read fails.
bool ReadRecords(platform::InFile& file, const DBFHeader& h, int64_t fileSize, TxxDBFFieldArr& fields,
                 std::vector<int32_t>& recNos) {
  const size_t r = h.RecordLen;
  const size_t held = size_t(HeldRecords(h, fileSize));
  if (held == 0) return true;

  auto area = std::make_shared<TxxDBFRecordArea>();
  area->RecordLen = r;
  const size_t bytes = held * r;
  area->Bytes = platform::MemoryBlock(bytes);
  char* const base = area->Bytes.Data();
  recNos.reserve(held);
  const size_t pieceRecords = std::max<size_t>(1, kPieceBytes / r);
  size_t live = 0;
  for (size_t next = 0; next < held;) {
    const size_t want = std::min(pieceRecords, held - next);
    char* const at = base + live * r;
    const int64_t got = file.ReadAt(int64_t(h.HeaderLen) + int64_t(next * r), at, int64_t(want * r));
    if (got < 0) return false;
    const size_t whole = size_t(got) / r;
    live += KeepLiveRecords(at, whole, r, next, recNos);
    next += whole;
    if (whole < want) break;
  }
  const size_t used = live * r;
  if (bytes - used > bytes / 10 * kSpareTenths) {
    platform::MemoryBlock fit(used);
    if (used) memcpy(fit.Data(), base, used);
    area->Bytes = std::move(fit);
  }
  for (auto& f : fields) f.Values = TxxDBFRecordArr(area, live, uint32_t(f.Offset), f.Len);
  return true;
}

TxxReadStatus ReadTable(TxxDBF& table, bool headerOnly, TxxSizeCheck sizeCheck) {
  platform::InFile file;
  if (!file.Open(table.FileName)) {
    FailDBF(table);
    return platform::FileExists(table.FileName) ? TxxReadStatus::CannotOpen : TxxReadStatus::Missing;
  }
  std::optional<uint32_t> stamp = platform::FileStamp(table.FileName);
  if (table.State == dsLoaded && stamp && int32_t(*stamp) == table.FileDate) return TxxReadStatus::Read;

  CloseDBF(table);
  table.FileDate = int32_t(stamp.value_or(0));
  const auto fail = [&table](TxxReadStatus status) {
    FailDBF(table);
    return status;
  };

  // A file too short for its 32-byte header is no table of a known version.
  unsigned char raw[kHeaderSize] = {};
  int64_t got = file.ReadAt(0, raw, kHeaderSize);
  if (got < 1 && !platform::FileExists(table.FileName))
    return fail(TxxReadStatus::Missing);  // a directory or a file that vanished
  if (got < 0) return fail(TxxReadStatus::ReadError);
  if (got < kHeaderSize || !KnownVersion(raw[0])) return fail(TxxReadStatus::BadVersion);
  DBFHeader h;
  h.Version = raw[0];
  h.RecordCount = Le32(raw + 4);
  h.HeaderLen = Le16(raw + 8);
  h.RecordLen = Le16(raw + 10);

  int64_t fileSize = file.Size();
  if ((fileSize < 0 || !SizeAgrees(h, fileSize)) && sizeCheck == TxxSizeCheck::Ask) {
    table.State = dsNamed;  // read again to go on
    return TxxReadStatus::BadSize;
  }
  fileSize = std::max<int64_t>(fileSize, 0);

  TxxDBFFieldArr fields;
  int64_t terminator = 0;
  if (!ReadFields(file, h, fileSize, fields, terminator)) return fail(TxxReadStatus::ReadError);
  table.Version = h.Version;
  const bool vfp = IsVfpVersion(h.Version);
  TxxVfpLayout layout;
  if (vfp) {
    layout = TakeSystemFields(fields);
    if (!ReadBacklink(file, h, terminator, table.Database)) return fail(TxxReadStatus::ReadError);
  }
  if (headerOnly) {
    table.Fields = std::move(fields);
    return TxxReadStatus::Read;
  }
  std::vector<int32_t> recNos;
  const bool read = vfp ? ReadVfpRecords(file, table.FileName, h.HeaderLen, HeldRecords(h, fileSize),
                                         h.RecordLen, fields, layout, recNos)
                        : ReadRecords(file, h, fileSize, fields, recNos);
  if (!read) return fail(TxxReadStatus::ReadError);
  table.Fields = std::move(fields);
  table.RecCount = int32_t(recNos.size());
  table.RecNos = std::move(recNos);
  table.State = dsLoaded;
  return TxxReadStatus::Read;
}

}  // namespace

void CloseDBF(TxxDBF& table) {
  table.Fields.clear();
  table.Fields.shrink_to_fit();
  table.Order.clear();
  table.Order.shrink_to_fit();
  table.RecNos.clear();
  table.RecNos.shrink_to_fit();
  table.RecCount = 0;
  table.State = dsNone;
  table.Version = 0;
  table.Database.clear();
}

void FailDBF(TxxDBF& table) {
  CloseDBF(table);
  table.State = dsFailed;
}

void LoadTableWith(const TxxTableLoader& loader, TxxDBF& table, bool headerOnly, const std::string& name) {
  if (loader)
    loader(table, headerOnly, name);
  else
    ReadDBF(table, headerOnly, name);
}

TxxReadStatus ReadDBF(TxxDBF& table, bool headerOnly, const std::string& name, TxxSizeCheck sizeCheck) {
  if (name.empty()) {
    CloseDBF(table);
    table.FileName.clear();
    return TxxReadStatus::Read;
  }
  bool reload = name == DBFReloadName;
  if (reload && table.FileName.empty()) return TxxReadStatus::Read;
  if (!reload && name != table.FileName) {
    table.FileName = name;
    table.State = dsNamed;
  }
  if (table.State == dsFailed) return TxxReadStatus::Read;
  return ReadTable(table, headerOnly, sizeCheck);
}

}  // namespace vemlo
