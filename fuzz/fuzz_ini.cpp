// Settings files: the input is the file; every key of every section is looked
// up again by name, with the plug-in's own section and key names as well.
#include "fuzz_env.h"
#include "host/settings_file.h"

using namespace vemlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Env();
  fuzz::ScratchFile file("VEMLO.INI", std::string(reinterpret_cast<const char*>(data), size));
  ReleaseIni();
  std::string value;
  (void)IniValue("PROJ", "PrgSearchMask", value);  // nothing loaded: a message, no value
  if (!LoadIni(file.Dos())) __builtin_trap();
  const TxxIniFile& ini = IniFile();
  for (const TxxIniSection& s : ini.Sections)
    for (const TxxIniRecord& r : s.Records) {
      if (IniValue(s.Name, r.Key, value) && value.empty()) __builtin_trap();
    }
  static const char* const kKeys[][2] = {
      {"PROJ", "PrgSearchMask"}, {"PROJ", "LibSearchMask"}, {"PROJ", "DBFSearchMask"},
      {"KDF_BASES", "SearchMask"}, {"OPTIONS", "FieldName_ID"}, {"", ""}, {"AUDIT", "AuditDefineMask"}};
  for (const auto& k : kKeys) IniValueDef(k[0], k[1], "def", value);
  ReleaseIni();
  return 0;
}
