// Names the plug-in finds its files and settings by.
#pragma once

namespace vemlo {

inline const char* const SettingsKeyName = "VEM-LO";      // below the host's settings key
inline const char* const SettingsFileName = "vemlo.ini";  // a project's settings file
inline const char* const DirMarker = ">\\";               // the settings file's folder, in masks
inline const char* const KeyTableFileName = "FoxKeys.dbf";
inline const char* const MemoFileExt = ".fpt";            // a help table's memo file

}  // namespace vemlo
