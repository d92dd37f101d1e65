// xxdbf: reads DBF tables into memory, column by column.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vemlo {

enum : unsigned char { dsNone = 0, dsLoaded = 1, dsNamed = 2, dsFailed = 3 };

// A field's value seen in place: compares and reads like a string view and
// becomes a std::string where one is wanted. It stays valid while the table
// holds its records.
struct DBFText : std::string_view {
  using std::string_view::string_view;
  explicit DBFText(std::string_view v) : std::string_view(v) {}
  operator std::string() const { return std::string(data(), size()); }
};
inline std::string operator+(std::string a, DBFText b) { return a.append(b.data(), b.size()); }
inline std::string operator+(DBFText a, const std::string& b) { return std::string(a) + b; }
inline std::string operator+(const char* a, DBFText b) { return std::string(a) + b; }
inline std::string operator+(DBFText a, const char* b) { return std::string(a) + b; }

struct TxxDBFRecord {
  std::string Value;
};

// The live records of a loaded table in one buffer (inside the reader).
struct TxxDBFRecordArea;

// The values of one field: views into the table's record area, trimmed on the
// right when read, for a loaded table; strings of their own for a table built in
// memory. Writing to a value gives the column strings of its own.
class TxxDBFRecordArr {
 public:
  TxxDBFRecordArr() = default;
  TxxDBFRecordArr(std::shared_ptr<const TxxDBFRecordArea> area, size_t count, uint32_t offset,
                  uint32_t len)
      : area_(std::move(area)), count_(count), offset_(offset), len_(len) {}

  size_t size() const { return area_ ? count_ : own_.size(); }
  bool empty() const { return size() == 0; }
  // The value of record i (i < size()).
  DBFText View(size_t i) const;
  TxxDBFRecord operator[](size_t i) const { return TxxDBFRecord{std::string(View(i))}; }
  TxxDBFRecord& operator[](size_t i);
  void push_back(TxxDBFRecord record);
  void reserve(size_t n);
  void clear();

 private:
  void Own();
  std::shared_ptr<const TxxDBFRecordArea> area_;
  size_t count_ = 0;
  uint32_t offset_ = 0;
  uint32_t len_ = 0;
  std::vector<TxxDBFRecord> own_;
};

struct TxxDBFField {
  std::string Name;  // at most 11 characters
  char FieldType = 0;
  int32_t Offset = 0;
  unsigned char Len = 0;
  unsigned char Dec = 0;
  TxxDBFRecordArr Values;
};
using TxxDBFFieldArr = std::vector<TxxDBFField>;

struct TxxDBF {
  std::string FileName;
  unsigned char State = dsNone;
  int32_t FileDate = 0;
  int32_t RecCount = 0;
  TxxDBFFieldArr Fields;
  std::vector<int32_t> Order;
  std::vector<int32_t> RecNos;
};

inline const char* const DBFReloadName = "<none>";

void LoadDBF(TxxDBF& table, bool headerOnly, const std::string& name);
void CloseDBF(TxxDBF& table);
// These two work as on a copy of the handle: a table that is not loaded is
// loaded for the call only, and the caller's handle stays as it was.
int DBFFieldIndex(const TxxDBF& table, const std::string& name);
std::string DBFValue(const TxxDBF& table, int field, int record, bool pad);
void SortDBF(TxxDBF& table, int field);

// Cheap access for callers that hold a loaded table (no copy, no reload); empty
// for an index outside the table.
DBFText DBFValueRef(const TxxDBF& table, int field, int record);

}  // namespace vemlo
