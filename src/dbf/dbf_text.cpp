// A DBF table as text.
#include "dbf/dbf_text.h"

#include <algorithm>
#include <cstdio>

#include "lib/xxlib.h"

namespace vemlo {

std::string DBFStructureLine(const TxxDBFField& field) {
  char line[64];
  const char type[2] = {field.FieldType, 0};
  std::snprintf(line, sizeof line, "    %-10s %1s (%3d,%1d), ;  ", field.Name.c_str(), type, field.Len, field.Dec);
  return line;
}

std::vector<std::string> DBFStructureLines(const TxxDBF& table, const TxxDbcTable* entry) {
  std::vector<std::string> lines;
  if (entry && entry->Fields.size() != table.Fields.size()) entry = nullptr;
  if (!entry) {
    for (const TxxDBFField& field : table.Fields) lines.push_back(DBFStructureLine(field));
    return lines;
  }
  lines.push_back("* " + entry->Name + (entry->Comment.empty() ? "" : ": " + entry->Comment));
  size_t width = 0;
  for (const TxxDbcField& f : entry->Fields) width = std::max(width, f.Name.size());
  for (size_t i = 0; i < table.Fields.size(); ++i) {
    TxxDBFField named = table.Fields[i];
    named.Name = PadRightTo(entry->Fields[i].Name, static_cast<int>(width));
    const std::string& comment = entry->Fields[i].Comment;
    lines.push_back(DBFStructureLine(named) + (comment.empty() ? "" : "&& " + comment));
  }
  return lines;
}

std::string DBFRecordLine(const TxxDBF& table, int field, int record) {
  return PadRightTo(table.Fields[static_cast<size_t>(field)].Name, 10) + " : " +
         DBFValueRef(table, field, record);
}

}  // namespace vemlo
