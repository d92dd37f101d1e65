// xxini: the project settings file reader: sections of key = value records.
#pragma once

#include <string>
#include <vector>

namespace vemlo {

enum : unsigned char { isNone = 0, isLoaded = 1, isFailed = 3 };

struct TxxIniRecord {
  std::string Key;
  std::string Value;
};
using TxxIniRecordArr = std::vector<TxxIniRecord>;

struct TxxIniSection {
  std::string Name;
  TxxIniRecordArr Records;
};
using TxxIniSectionArr = std::vector<TxxIniSection>;

struct TxxIniFile {
  unsigned char State = isNone;
  std::string FileName;
  TxxIniSectionArr Sections;
};

enum class TxxIniRead { Loaded, CannotOpen, ReadError };
// Reads the file into ini (what it held before is dropped). A file that cannot
// be opened or read to its end leaves ini failed, with no sections.
TxxIniRead ReadIniFile(TxxIniFile& ini, const std::string& fileName);

enum class TxxIniLookup { Found, Absent, NotLoaded };
// The non-empty value of key in the first section of that name (both compared
// trimmed and in upper case); value is set only when it is Found. A failed
// file answers Absent, a file never read NotLoaded.
TxxIniLookup LookupIni(const TxxIniFile& ini, const std::string& section, const std::string& key,
                       std::string& value);

}  // namespace vemlo
