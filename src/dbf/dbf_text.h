// A DBF table as text: a field as a line of a CREATE TABLE statement, a value
// of a record beside its field's name.
#pragma once

#include <string>

#include "dbf/xxdbf.h"

namespace vemlo {

std::string DBFStructureLine(const TxxDBFField& field);
std::string DBFRecordLine(const TxxDBF& table, int field, int record);

}  // namespace vemlo
