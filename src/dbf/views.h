// Views of a DBF table: its structure as FoxPro source lines, one record, a
// menu of its records, and the external viewer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"

namespace vemlo {

// Runs the external table viewer of the options on the file.
void ViewDBFExternal(const std::string& fileName);
void ShowDBFStructure(const std::string& name);
void ShowDBFRecord(TxxDBF table, int record);
// The chosen item's position in the menu, or -1 (always -1 in more mode).
int BrowseDBF(TxxDBF table, const std::vector<int>& columns, const std::optional<std::string>& title,
              const char* helpTopic, bool more, int filterField, const std::string& filter, int selected);

// The text of the views, for the views themselves and their tests.
std::string DBFStructureLine(const TxxDBFField& field);
std::string DBFRecordLine(const TxxDBF& table, int field, int record);
// The records passing the filter (trimmed, upper-cased wildcard pattern on one field).
std::vector<int> DBFFilteredRecords(const TxxDBF& table, int filterField, const std::string& filter);
std::string DBFBrowseItem(const TxxDBF& table, const std::vector<int>& columns, int record);
std::string DBFBrowseTitle(const TxxDBF& table, int width, int filterField, const std::string& filter);

}  // namespace vemlo
