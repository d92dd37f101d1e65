// xxdbf: reads DBF tables into memory, column by column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// Cheap access for callers that hold a loaded table (no copy, no reload).
const std::string& DBFValueRef(const TxxDBF& table, int field, int record);

}  // namespace vemlo
