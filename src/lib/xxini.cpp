// The project settings file, parsed once and cached.
#include "lib/xxini.h"

#include "host/xxfar.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {
TxxIniFile g_ini;
}

const TxxIniFile& IniFile() { return g_ini; }

void ReleaseIni() { g_ini = TxxIniFile{}; }

bool LoadIni(const std::string& fileName) {
  ReleaseIni();
  g_ini.FileName = fileName;
  TextFile file;
  if (!OpenTextFile(file, fileName)) {
    g_ini.State = isFailed;
    return false;
  }
  g_ini.Sections.push_back(TxxIniSection{});
  std::string raw;
  while (ReadTextLine(file, raw)) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      TxxIniSection section;
      if (line.size() > 1 && line.back() == ']' && line != "[]")
        section.Name = Trim(line.substr(1, line.size() - 2));
      g_ini.Sections.push_back(std::move(section));
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
    g_ini.Sections.back().Records.push_back(std::move(record));
  }
  g_ini.State = isLoaded;
  return true;
}

bool IniValue(const std::string& section, const std::string& key, std::string& value) {
  if (g_ini.State == isFailed) return false;
  if (g_ini.State != isLoaded) {
    FarMessage("Configure", {Msg(0), Msg(27), g_ini.FileName}, 0, FMSG_WARNING | FMSG_MB_OK);
    return false;
  }
  const std::string wantSection = UpperCase(Trim(section));
  const std::string wantKey = UpperCase(Trim(key));
  for (const TxxIniSection& s : g_ini.Sections) {
    if (UpperCase(s.Name) != wantSection) continue;
    for (const TxxIniRecord& r : s.Records) {
      if (UpperCase(r.Key) != wantKey) continue;
      if (r.Value.empty()) return false;
      value = r.Value;
      return true;
    }
    return false;  // later sections of the same name are never consulted
  }
  return false;
}

void IniValueDef(const std::string& section, const std::string& key, const std::string& def,
                 std::string& value) {
  value = def;
  IniValue(section, key, value);
}

}  // namespace vemlo
