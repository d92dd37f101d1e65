// vemlofox project: the settings file of the edited file's directory, the program,
// library and table files it names, the data-dictionary tables, and the refresh
// that brings them and the insight record up to date before a command.
#pragma once

#include <string>
#include <vector>

#include "config/messages.h"
#include "dbf/dbc.h"
#include "dbf/read_status.h"
#include "dbf/xxdbf.h"
#include "fox/model/edited_text.h"
#include "fox/model/insight.h"
#include "fox/model/program.h"
#include "fox/model/progress.h"
#include "lib/xxini.h"

namespace vemlo {

using TxxBaseList = std::vector<std::string>;

struct TxxFoxProj {
  unsigned char State = 0;  // 1 loaded
  std::string Dir;          // upper case, ending with "\"
  std::string IniFile;      // empty when none was found
  TxxFoxProgArr Progs;
  TxxBaseList Bases;
  TxxDbcList Databases;  // the database containers of the settings file (PROJ DBCSearchMask)
  TxxDBF KdfBases;
  TxxDBF KdfFields;
  TxxDBF KdfIndex;
  TxxDBF LocalOptions;
  TxxDBF GlobalOptions;
};

// Something the project load could not do, for the front end to tell.
struct TxxProjectProblem {
  enum class Kind : unsigned char { NoSettingsFile, NoDictTable, Read };
  Kind What = Kind::Read;
  std::string File;                // NoSettingsFile: the file (empty: none found); NoDictTable: the masks
  MsgId TableName = MsgId::Title;  // NoDictTable: the table's name
  TxxReadProblem Read;             // Read: a table that could not be read
};
using TxxProjectProblems = std::vector<TxxProjectProblem>;

// The message that tells a reader's status (MsgId::Title for Read).
MsgId ReadStatusMessage(TxxReadStatus status);

// The settings file for a folder: in it or the nearest folder above it, else
// the one in the module's folder; empty when there is none.
std::string FindSettingsFile(const std::string& dir, const std::string& moduleDir);
// Loads the project of a folder from its settings file (read into ini): the
// program, library and table files it names and the dictionary tables. The
// problems come in the order they arose; a table's open size question refers
// to the table in proj.
TxxProjectProblems LoadProject(TxxFoxProj& proj, TxxIniFile& ini, const std::string& dir,
                               const std::string& iniFile);
std::string ReadSearchMask(const TxxIniFile& ini, const std::string& section, const std::string& key,
                           const std::string& settingsDir, const std::string& baseDir);
void ListProgFiles(const std::string& masks, TxxFoxProgArr& progs, bool isLibrary);
void ListBaseFiles(const std::string& masks, TxxBaseList& bases);
// Reads the database containers of the list into databases and appends the
// tables they hold that exist (and bases does not list yet) to bases; returns
// the containers that could not be read.
TxxReadProblems ListDatabases(const std::string& masks, TxxDbcList& databases, TxxBaseList& bases);

// What a refresh before a command brings up to date. OnlyCurrent: parse the
// edited file only; Force: load the project again and parse every file;
// WholeFile: statements from the top of the file, not of the procedure.
struct TxxRefreshRequest {
  bool OnlyCurrent = false;
  bool Force = false;
  bool WholeFile = false;
};

// The project needs loading: asked for, never loaded, or another folder.
bool NeedsProjectLoad(const TxxFoxProj& proj, const TxxEditedText& text, const TxxRefreshRequest& request);
// Parses the program files that changed (all after a load, the edited one
// alone for OnlyCurrent) and builds the insight record at the text's cursor.
// A box of progress is asked for while a freshly loaded project is parsed,
// and for a long edited text. The problems are the files that failed part way.
TxxReadProblems RefreshInsight(TxxFoxProj& proj, TxxInsight& in, const TxxEditedText& text,
                               const TxxRefreshRequest& request, bool loaded, const TxxProgressSink& progress);

}  // namespace vemlo
