// vemlofox project: the settings file of the edited file's directory, the program,
// library and table files it names, the data-dictionary tables, and the refresh
// that brings them and the insight record up to date before a command.
#pragma once

#include <string>
#include <vector>

#include "config/messages.h"
#include "dbf/xxdbf.h"
#include "fox/model/insight.h"
#include "fox/model/program.h"

namespace vemlo {

using TxxBaseList = std::vector<std::string>;

struct TxxFoxProj {
  unsigned char State = 0;  // 1 loaded
  std::string Dir;          // upper case, ending with "\"
  std::string IniFile;      // empty when none was found
  TxxFoxProgArr Progs;
  TxxBaseList Bases;
  TxxDBF KdfBases;
  TxxDBF KdfFields;
  TxxDBF KdfIndex;
  TxxDBF LocalOptions;
  TxxDBF GlobalOptions;
};

std::string FindSettingsFile(const std::string& dir);
void LoadProject(TxxFoxProj& proj, const std::string& dir, const std::string& iniFile);
std::string ReadSearchMask(const std::string& section, const std::string& key,
                           const std::string& settingsDir, const std::string& baseDir);
void ListProgFiles(const std::string& masks, TxxFoxProgArr& progs, bool isLibrary);
void ListBaseFiles(const std::string& masks, TxxBaseList& bases);
void OpenDictTable(const std::string& masks, TxxDBF& table, MsgId nameMsg);

// onlyCurrent: parse the edited file only; force: reload the project and parse
// every file; wholeFile: statements from the top of the file, not the procedure.
void RefreshModel(bool onlyCurrent, bool force, bool wholeFile);

}  // namespace vemlo
