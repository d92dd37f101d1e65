// A DBF table as text: a field as a line of a CREATE TABLE statement, a value
// of a record beside its field's name.
#pragma once

#include <string>
#include <vector>

#include "dbf/dbc.h"
#include "dbf/xxdbf.h"

namespace vemlo {

std::string DBFStructureLine(const TxxDBFField& field);
// The structure of a table, a line per field. With its entry in a database
// container: a comment line with the table's long name and comment first, the
// long field names (padded to the longest) and each field's comment after it.
std::vector<std::string> DBFStructureLines(const TxxDBF& table, const TxxDbcTable* entry);
std::string DBFRecordLine(const TxxDBF& table, int field, int record);

}  // namespace vemlo
