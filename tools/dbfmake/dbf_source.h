// vemlo-dbfmake: the table source as read from its text file.
#pragma once

#include <string>
#include <vector>

namespace vemlo::dbfmake {

enum class FieldKind { Plain, Memo, MemoRef };

struct SourceField {
  std::string Name;
  char Type = 'C';
  int Len = 0;
  int Dec = 0;
  FieldKind Kind = FieldKind::Plain;
};

struct SourceRow {
  std::vector<std::string> Values;  // memo fields hold the memo text itself
  bool Deleted = false;
  int Line = 0;
};

struct TableSource {
  unsigned char Version = 0x03;
  int Year = 1995, Month = 1, Day = 1;  // the header's date of last update
  std::vector<SourceField> Fields;
  std::vector<SourceRow> Rows;
  bool HasMemo() const;
};

struct SourceError {
  int Line = 0;
  std::string Text;
};

// Parses the whole source text; on failure fills `error` and returns false.
bool ParseTableSource(const std::string& text, TableSource& table, SourceError& error);

}  // namespace vemlo::dbfmake
