// A DBF table as text.
#include "dbf/dbf_text.h"

#include <cstdio>

#include "lib/xxlib.h"

namespace vemlo {

std::string DBFStructureLine(const TxxDBFField& field) {
  char line[64];
  const char type[2] = {field.FieldType, 0};
  std::snprintf(line, sizeof line, "    %-10s %1s (%3d,%1d), ;  ", field.Name.c_str(), type, field.Len, field.Dec);
  return line;
}

std::string DBFRecordLine(const TxxDBF& table, int field, int record) {
  return PadRightTo(table.Fields[static_cast<size_t>(field)].Name, 10) + " : " +
         DBFValueRef(table, field, record);
}

}  // namespace vemlo
