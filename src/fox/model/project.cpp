// Loading a project from its settings file: program, library and table files,
// and the five data-dictionary tables.
#include "fox/model/project.h"

#include <algorithm>
#include <limits>

#include "config/file_names.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

// Every directory-search entry of every item of the list; an item ending with
// "\" means every file of that directory with the default extension.
template <typename Add>
void ForEachListedFile(const std::string& masks, const char* defaultMask, Add add) {
  if (masks.empty()) return;
  std::string list = masks;
  if (list.back() != ';') list += ';';
  size_t start = 0;
  for (size_t end = list.find(';'); end != std::string::npos;
       start = end + 1, end = list.find(';', start)) {
    std::string item = list.substr(start, end - start);
    if (item.empty()) continue;
    if (item.back() == '\\') item += defaultMask;
    const std::string dir = ExtractFilePath(item);
    for (const platform::FindEntry& entry : platform::FindFiles(item, platform::faAnyFile)) {
      add(platform::ExpandFileName(dir + entry.Name), entry);
    }
  }
}

struct DictTable {
  const char* Section;
  const char* Key;
  TxxDBF TxxFoxProj::*Table;
  MsgId NameMsg;
};
constexpr DictTable kDictTables[] = {
    {"KDF_BASES", "SearchMask", &TxxFoxProj::KdfBases, MsgId::InfoKdfBases},
    {"KDF_FIELDS", "SearchMask", &TxxFoxProj::KdfFields, MsgId::InfoKdfFields},
    {"KDF_INDEX", "SearchMask", &TxxFoxProj::KdfIndex, MsgId::InfoKdfIndex},
    {"OPTIONS", "LSearchMask", &TxxFoxProj::LocalOptions, MsgId::InfoLocalOptions},
    {"OPTIONS", "GSearchMask", &TxxFoxProj::GlobalOptions, MsgId::InfoGlobalOptions},
};

}  // namespace

const TxxFoxProg* CursorProg(const TxxFoxProj& proj, const TxxInsight& in) {
  if (in.ProgIndex < 0 || in.ProgIndex >= static_cast<int>(proj.Progs.size())) return nullptr;
  return &proj.Progs[static_cast<size_t>(in.ProgIndex)];
}

const TxxFoxProc* CursorProc(const TxxFoxProj& proj, const TxxInsight& in) {
  const TxxFoxProg* prog = CursorProg(proj, in);
  if (!prog || in.ProcIndex < 0 || in.ProcIndex >= static_cast<int>(prog->Procs.size())) return nullptr;
  return &prog->Procs[static_cast<size_t>(in.ProcIndex)];
}

MsgId ReadStatusMessage(TxxReadStatus status) {
  switch (status) {
    case TxxReadStatus::Missing: return MsgId::FileNotFound;
    case TxxReadStatus::CannotOpen: return MsgId::CannotOpen;
    case TxxReadStatus::BadVersion: return MsgId::DbfBadVersion;
    case TxxReadStatus::BadSize: return MsgId::DbfBadSize;
    case TxxReadStatus::ReadError: return MsgId::ReadError;
    case TxxReadStatus::Read: break;
  }
  return MsgId::Title;
}

std::string FindSettingsFile(const std::string& directory, const std::string& moduleDir) {
  if (!directory.empty()) {
    const std::string dir = IncludeTrailingBackslash(directory);
    // The directory itself first, then its parents up to the root, nearest first.
    for (size_t cut = dir.size(); cut > 0; --cut) {
      if (cut != dir.size() && dir[cut - 1] != '\\') continue;
      const std::string path = dir.substr(0, cut) + SettingsFileName;
      if (platform::FileExists(path)) return path;
    }
  }
  if (moduleDir.empty()) return std::string();
  const std::string beside = IncludeTrailingBackslash(moduleDir) + SettingsFileName;
  if (platform::FileExists(beside)) return beside;
  return std::string();
}

std::string ReadSearchMask(const TxxIniFile& ini, const std::string& section, const std::string& key,
                           const std::string& settingsDir, const std::string& baseDir) {
  std::string value;
  if (LookupIni(ini, section, key, value) != TxxIniLookup::Found) return std::string();
  value = ReplaceAll(value, DirMarker, settingsDir);
  value = Trim(ResolvePathList(baseDir, value, true));
  if (!value.empty() && value.back() != ';') value += ';';
  return value;
}

void ListProgFiles(const std::string& masks, TxxFoxProgArr& progs, bool isLibrary) {
  ForEachListedFile(masks, "*.PRG", [&](const std::string& path, const platform::FindEntry& e) {
    TxxFoxProg prog;
    prog.FileName = UpperCase(path);
    prog.FileSize = e.Size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
                        ? std::numeric_limits<int32_t>::max()
                        : static_cast<int32_t>(e.Size);
    prog.FileTime = e.Time;
    prog.IsLibrary = isLibrary ? 1 : 0;
    progs.push_back(std::move(prog));
  });
}

void ListBaseFiles(const std::string& masks, TxxBaseList& bases) {
  ForEachListedFile(masks, "*.DBF", [&](const std::string& path, const platform::FindEntry&) {
    bases.push_back(path);
  });
}

TxxReadProblems ListDatabases(const std::string& masks, TxxDbcList& databases, TxxBaseList& bases) {
  TxxReadProblems problems;
  ForEachListedFile(masks, "*.DBC", [&](const std::string& path, const platform::FindEntry&) {
    TxxDbc dbc;
    const TxxReadStatus status = ReadDBC(path, dbc);
    if (status != TxxReadStatus::Read) problems.push_back(TxxReadProblem{status, path});
    for (const TxxDbcTable& table : dbc.Tables) {
      const auto same = [&](const std::string& b) { return UpperCase(b) == UpperCase(table.Path); };
      if (platform::FileExists(table.Path) && std::none_of(bases.begin(), bases.end(), same))
        bases.push_back(table.Path);
    }
    databases.push_back(std::move(dbc));
  });
  return problems;
}

TxxProjectProblems LoadProject(TxxFoxProj& proj, TxxIniFile& ini, const std::string& dir,
                               const std::string& iniFile) {
  TxxProjectProblems problems;
  proj.Progs.clear();
  proj.Bases.clear();
  proj.Databases.clear();
  for (const DictTable& dict : kDictTables) ReadDBF(proj.*dict.Table, false, "");
  proj.State = 0;
  proj.Dir = dir;
  proj.IniFile = iniFile;
  if (ReadIniFile(ini, iniFile) != TxxIniRead::Loaded) {
    TxxProjectProblem p;
    p.What = TxxProjectProblem::Kind::NoSettingsFile;
    p.File = iniFile;
    problems.push_back(std::move(p));
    return problems;
  }
  const std::string iniDir = ExtractFilePath(iniFile);
  const auto mask = [&](const char* section, const char* key) {
    return ReadSearchMask(ini, section, key, iniDir, dir);
  };
  ListProgFiles(mask("PROJ", "PrgSearchMask"), proj.Progs, false);
  ListProgFiles(mask("PROJ", "LibSearchMask"), proj.Progs, true);
  ListBaseFiles(mask("PROJ", "DBFSearchMask"), proj.Bases);
  for (TxxReadProblem& read : ListDatabases(mask("PROJ", "DBCSearchMask"), proj.Databases, proj.Bases)) {
    TxxProjectProblem p;
    p.Read = std::move(read);
    problems.push_back(std::move(p));
  }
  for (const DictTable& dict : kDictTables) {
    const std::string masks = mask(dict.Section, dict.Key);
    if (masks.empty()) continue;
    TxxDBF& table = proj.*dict.Table;
    const std::string path = FirstExistingFile(masks);
    if (path.empty()) {
      TxxProjectProblem p;
      p.What = TxxProjectProblem::Kind::NoDictTable;
      p.File = masks;
      p.TableName = dict.NameMsg;
      problems.push_back(std::move(p));
    }
    const TxxReadStatus status = ReadDBF(table, false, path);
    if (status != TxxReadStatus::Read) {
      TxxProjectProblem p;
      p.Read = TxxReadProblem{status, table.FileName, &table, false};
      problems.push_back(std::move(p));
    }
  }
  proj.State = 1;
  return problems;
}

}  // namespace vemlo
