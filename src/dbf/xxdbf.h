// xxdbf: reads DBF tables into memory, column by column.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbf/read_status.h"

namespace vemlo {

enum : unsigned char { dsNone = 0, dsLoaded = 1, dsNamed = 2, dsFailed = 3 };

struct TxxDBFRecord {
  std::string Value;
};
using TxxDBFRecordArr = std::vector<TxxDBFRecord>;

struct TxxDBFField {
  std::string Name;  // at most 11 characters
  char FieldType = 0;
  int32_t Offset = 0;
  unsigned char Len = 0;
  unsigned char Dec = 0;
  unsigned char Flags = 0;  // Visual FoxPro field flags (dbfSystemField ...)
  TxxDBFRecordArr Values;
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

// Cheap access for callers that hold a loaded table (no copy, no reload).
const std::string& DBFValueRef(const TxxDBF& table, int field, int record);

}  // namespace vemlo
