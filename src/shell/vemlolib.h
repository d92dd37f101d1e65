// vemlolib: the shell's small services: names, the beep, the external table
// viewer, the key-table menu and the comment block.
#pragma once

#include <string>

namespace vemlo {

inline const char* const SettingsKeyName = "VEM-LO";
inline const char* const SettingsFileName = "vemlo.ini";
inline const char* const DirMarker = ">\\";
inline const char* const KeyTableFileName = "FoxKeys.dbf";

void SignalBeep();
void ViewDBFExternal(const std::string& fileName);
void PickFoxKey(bool nameOnly, std::string& result);
void CommentBlock();

}  // namespace vemlo
