// The project settings file: parsing and look-up.
#include "lib/xxini.h"

#include "lib/xxlib.h"

namespace vemlo {

TxxIniRead ReadIniFile(TxxIniFile& ini, const std::string& fileName) {
  ini = TxxIniFile{};
  ini.FileName = fileName;
  ini.State = isFailed;
  TextFile file;
  if (!OpenTextFile(file, fileName)) return TxxIniRead::CannotOpen;
  TxxIniSectionArr sections(1);
  std::string raw;
  while (ReadTextLine(file, raw)) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      TxxIniSection section;
      if (line.size() > 1 && line.back() == ']' && line != "[]")
        section.Name = Trim(line.substr(1, line.size() - 2));
      sections.push_back(std::move(section));
      continue;
    }
    TxxIniRecord record;
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      record.Key = line;
    } else {
      record.Key = Trim(line.substr(0, eq));
      record.Value = Trim(line.substr(eq + 1));
    }
    sections.back().Records.push_back(std::move(record));
  }
  if (TextFileFailed(file)) return TxxIniRead::ReadError;
  ini.Sections = std::move(sections);
  ini.State = isLoaded;
  return TxxIniRead::Loaded;
}

TxxIniLookup LookupIni(const TxxIniFile& ini, const std::string& section, const std::string& key,
                       std::string& value) {
  if (ini.State == isFailed) return TxxIniLookup::Absent;
  if (ini.State != isLoaded) return TxxIniLookup::NotLoaded;
  const std::string wantSection = UpperCase(Trim(section));
  const std::string wantKey = UpperCase(Trim(key));
  for (const TxxIniSection& s : ini.Sections) {
    if (UpperCase(s.Name) != wantSection) continue;
    for (const TxxIniRecord& r : s.Records) {
      if (UpperCase(r.Key) != wantKey) continue;
      if (r.Value.empty()) return TxxIniLookup::Absent;
      value = r.Value;
      return TxxIniLookup::Found;
    }
    return TxxIniLookup::Absent;  // later sections of the same name are never consulted
  }
  return TxxIniLookup::Absent;
}

}  // namespace vemlo
