// xxini: the project settings file reader, one cached file per module.
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

const TxxIniFile& IniFile();
bool LoadIni(const std::string& fileName);
bool IniValue(const std::string& section, const std::string& key, std::string& value);
void IniValueDef(const std::string& section, const std::string& key, const std::string& def,
                 std::string& value);
void ReleaseIni();

}  // namespace vemlo
