// Loading a project from its settings file: program, library and table files,
// and the five data-dictionary tables.
#include "fox/model/project.h"

#include <limits>

#include "host/xxfar.h"
#include "host/settings_file.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr const char* kSettingsFileName = "vemlo.ini";
constexpr const char* kDirMarker = ">\\";
constexpr const char* kHelpTopic = "ProblemResetProj";
constexpr MsgId kMsgTitle = MsgId::Title;
constexpr MsgId kMsgNoSettings = MsgId::NoSettingsFile;
constexpr MsgId kMsgNoTable = MsgId::FileNotFound;

void Warn(const std::vector<std::string>& lines) {
  FarMessage(kHelpTopic, lines, 0, FMSG_WARNING | FMSG_MB_OK);
}

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

std::string FindSettingsFile(const std::string& directory) {
  if (!directory.empty()) {
    const std::string dir = IncludeTrailingBackslash(directory);
    // The directory itself first, then its parents up to the root, nearest first.
    for (size_t cut = dir.size(); cut > 0; --cut) {
      if (cut != dir.size() && dir[cut - 1] != '\\') continue;
      const std::string path = dir.substr(0, cut) + kSettingsFileName;
      if (platform::FileExists(path)) return path;
    }
  }
  const std::string beside = ModuleDir() + kSettingsFileName;
  if (platform::FileExists(beside)) return beside;
  return std::string();
}

std::string ReadSearchMask(const std::string& section, const std::string& key,
                           const std::string& settingsDir, const std::string& baseDir) {
  std::string value;
  if (!IniValue(section, key, value)) return std::string();
  value = ReplaceAll(value, kDirMarker, settingsDir);
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

void OpenDictTable(const std::string& masks, TxxDBF& table, MsgId nameMsg) {
  if (masks.empty()) return;
  const std::string path = FirstExistingFile(masks);
  if (path.empty()) Warn({Msg(kMsgTitle), Msg(kMsgNoTable), Msg(nameMsg), masks});
  LoadDBF(table, false, path);
}

void LoadProject(TxxFoxProj& proj, const std::string& dir, const std::string& iniFile) {
  proj.Progs.clear();
  proj.Bases.clear();
  for (const DictTable& dict : kDictTables) LoadDBF(proj.*dict.Table, false, "");
  proj.State = 0;
  proj.Dir = dir;
  proj.IniFile = iniFile;
  if (!LoadIni(iniFile)) {
    Warn({Msg(kMsgTitle), Msg(kMsgNoSettings), iniFile});
    return;
  }
  const std::string iniDir = ExtractFilePath(iniFile);
  ListProgFiles(ReadSearchMask("PROJ", "PrgSearchMask", iniDir, dir), proj.Progs, false);
  ListProgFiles(ReadSearchMask("PROJ", "LibSearchMask", iniDir, dir), proj.Progs, true);
  ListBaseFiles(ReadSearchMask("PROJ", "DBFSearchMask", iniDir, dir), proj.Bases);
  for (const DictTable& dict : kDictTables) {
    OpenDictTable(ReadSearchMask(dict.Section, dict.Key, iniDir, dir), proj.*dict.Table,
                  dict.NameMsg);
  }
  proj.State = 1;
}

}  // namespace vemlo
