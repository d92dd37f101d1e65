// The project's settings file kept in the context, and its values for the
// commands: a value asked for while no file was read is reported.
#pragma once

#include <string>

#include "lib/xxini.h"

namespace vemlo {

const TxxIniFile& IniFile();
// Reads the file into the context; false when it could not be read.
bool LoadIni(const std::string& fileName);
void ReleaseIni();
// The value of key in section; false when there is none. With no file read,
// the user is told that the settings file cannot be read.
bool IniValue(const std::string& section, const std::string& key, std::string& value);
void IniValueDef(const std::string& section, const std::string& key, const std::string& def,
                 std::string& value);

}  // namespace vemlo
