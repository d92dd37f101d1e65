// xxdbf: reads DBF tables into memory, column by column.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/read_status.h"

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
  unsigned char Flags = 0;  // Visual FoxPro field flags (dbfSystemField ...)
};
using TxxDBFFieldArr = std::vector<TxxDBFField>;

// Field flags of Visual FoxPro tables.
enum : unsigned char {
  dbfSystemField = 0x01,  // hidden, like _NullFlags
  dbfNullable = 0x02,
  dbfBinary = 0x04,  // no code-page translation
  dbfAutoIncrement = 0x08,
};

struct TxxDBF {
  std::string FileName;
  unsigned char State = dsNone;
  unsigned char Version = 0;  // the version byte of the file read last
  // Visual FoxPro tables: the database container the table belongs to, as the
  // table names it (a path relative to the table); empty for a free table.
  std::string Database;
  int32_t FileDate = 0;
  int32_t RecCount = 0;
  TxxDBFFieldArr Fields;
  std::vector<int32_t> Order;
  std::vector<int32_t> RecNos;
};

// The name that reads the handle's own file again.
inline const char* const DBFReloadName = "<none>";

enum class TxxSizeCheck { Ask, Accept };
// Reads the table of that name into the handle: an empty name closes it and
// forgets the name, DBFReloadName reads its own file again (if it has one). A
// failed handle stays failed, silently, until another name is given; a loaded
// one is read again only when its file's stamp changed. On a problem the
// handle is left failed and empty, with the problem returned. With Ask, a size
// that does not agree with the header leaves the handle named and returns
// BadSize: read it again with Accept to go on, or fail it.
TxxReadStatus ReadDBF(TxxDBF& table, bool headerOnly, const std::string& name,
                      TxxSizeCheck sizeCheck = TxxSizeCheck::Ask);
void CloseDBF(TxxDBF& table);  // empties the handle; the name stays
void FailDBF(TxxDBF& table);   // empties it and marks it failed
// The field of a loaded table by name (both trimmed, in upper case); -1 when
// the table is not loaded or has no such field.
int FindDBFField(const TxxDBF& table, const std::string& name);
void SortDBF(TxxDBF& table, int field);

// How a routine above the readers reads a table it needs for itself: the
// plug-in tells the problems and asks the size question; without a loader the
// table is read with ReadDBF and a problem leaves it unread.
using TxxTableLoader = std::function<void(TxxDBF& table, bool headerOnly, const std::string& name)>;
void LoadTableWith(const TxxTableLoader& loader, TxxDBF& table, bool headerOnly, const std::string& name);

// The width in characters of a field's values as text: its length, but for the
// binary fields of Visual FoxPro tables the width of their text (a date-time,
// a number, a memo's kind and size) and room for ".NULL." in nullable ones.
int DBFFieldWidth(const TxxDBF& table, int field);

// Cheap access for callers that hold a loaded table (no copy, no reload); empty
// for an index outside the table.
DBFText DBFValueRef(const TxxDBF& table, int field, int record);

}  // namespace vemlo
