// The settings file of the context.
#include "host/settings_file.h"

#include "host/context.h"
#include "host/xxfar.h"

namespace vemlo {

const TxxIniFile& IniFile() { return Ctx().Ini; }

bool LoadIni(const std::string& fileName) { return ReadIniFile(Ctx().Ini, fileName) == TxxIniRead::Loaded; }

void ReleaseIni() { Ctx().Ini = TxxIniFile{}; }

bool IniValue(const std::string& section, const std::string& key, std::string& value) {
  const TxxIniFile& ini = Ctx().Ini;
  switch (LookupIni(ini, section, key, value)) {
    case TxxIniLookup::Found: return true;
    case TxxIniLookup::Absent: return false;
    case TxxIniLookup::NotLoaded: break;
  }
  FarMessage("Configure", {Msg(MsgId::Title), Msg(MsgId::NoSettingsFile), ini.FileName}, 0,
             FMSG_WARNING | FMSG_MB_OK);
  return false;
}

void IniValueDef(const std::string& section, const std::string& key, const std::string& def,
                 std::string& value) {
  value = def;
  IniValue(section, key, value);
}

}  // namespace vemlo
