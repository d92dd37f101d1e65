// Audit defines from the catalogue of the settings file's AUDIT section.
#include "fox/tools/audit.h"

#include <vector>

#include "dbf/xxdbf.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "host/settings_file.h"

namespace vemlo {

namespace {

constexpr const char* kSection = "AUDIT";

void Warn(const std::vector<std::string>& lines) {
  std::vector<std::string> all = {Msg(MsgId::Title)};
  all.insert(all.end(), lines.begin(), lines.end());
  FarMessage("BrixAudit", all, 0, FMSG_WARNING | FMSG_MB_OK);
}

std::string Setting(const char* key) {
  std::string value;
  IniValueDef(kSection, key, "", value);
  return value;
}

struct AuditEntry {
  std::string Code, Name, Text;
};

}  // namespace

bool IsAuditDefine(const std::string& line, const std::string& mask) {
  const std::string upper = UpperCase(TrimLeft(line));
  if (upper.compare(0, 8, "#DEFINE ") != 0) return false;
  return WildMatch(TrimLeft(upper.substr(8)), mask);
}

void InsertAuditDefines() {
  std::string masks;
  if (!IniValue(kSection, "ProcedrsSearchMask", masks)) return;
  const TxxFoxProj& proj = FoxProj();
  masks = Trim(ResolvePathList(proj.Dir, ReplaceAll(masks, ">\\", ExtractFilePath(proj.IniFile)), true));
  const std::string path = FirstExistingFile(masks);
  if (path.empty()) {
    Warn({Msg(MsgId::FileNotFound), masks});
    return;
  }
  TxxDBF table;
  LoadDBF(table, false, path);
  if (table.State != dsLoaded) {
    Warn({Msg(MsgId::CannotOpen), path});
    return;
  }
  if (table.RecCount == 0) {
    Warn({Msg(MsgId::TableEmpty), path});
    return;
  }
  const int codeCol = DBFFieldIndex(table, Setting("ProcedrsFieldName_CODE"));
  const int nameCol = DBFFieldIndex(table, Setting("ProcedrsFieldName_NAME"));
  if (codeCol < 0 || nameCol < 0) return;
  SortDBF(table, codeCol);

  std::vector<AuditEntry> entries;
  for (int r : table.Order) {
    AuditEntry e{DBFValueRef(table, codeCol, r), DBFValueRef(table, nameCol, r), ""};
    e.Text = (e.Code + " " + e.Name).substr(0, 127);
    entries.push_back(std::move(e));
  }

  // Group entries: codes matching the code mask, else names matching the name mask.
  std::string mask;
  bool byCode = IniValue(kSection, "ProcedrsCodeGroupMask", mask);
  bool byName = !byCode && IniValue(kSection, "ProcedrsNameGroupMask", mask);
  auto isGroup = [&](const AuditEntry& e) {
    return (byCode && WildMatch(e.Code, mask)) || (byName && WildMatch(e.Name, mask));
  };

  std::vector<const AuditEntry*> members;
  std::string title = "PROCEDRS";
  if (byCode || byName) {
    std::vector<size_t> groups;
    std::vector<FarMenuItem> items;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!isGroup(entries[i])) continue;
      groups.push_back(i);
      items.emplace_back();
      SetMenuItemText(items.back(), entries[i].Text);
    }
    TxxMenuCall call;
    call.HelpTopic = "BrixAuditMenu1";
    call.Title = Msg(MsgId::AuditGroups);
    call.Flags = FMENU_SHOWAMPERSAND;
    const int chosen = FarMenuCall(call, items, 0).Item;
    if (chosen < 0 || chosen >= static_cast<int>(groups.size())) return;
    const size_t group = groups[static_cast<size_t>(chosen)];
    title = TrimRight(entries[group].Text);
    for (size_t i = group + 1; i < entries.size() && !isGroup(entries[i]); ++i) members.push_back(&entries[i]);
  } else {
    for (const AuditEntry& e : entries) members.push_back(&e);
  }

  std::vector<FarMenuItem> items(members.size());
  for (size_t i = 0; i < members.size(); ++i) SetMenuItemText(items[i], members[i]->Text);
  if (!FarCheckMenu(title, "BrixAuditMenu2", items)) return;

  const std::string templ = Setting("AuditDefineText");
  FarInsertLine();
  for (size_t i = 0; i < members.size(); ++i) {
    if (!items[i].Checked) continue;
    FarInsertText(ReplaceAll(ReplaceAll(templ, "%CODE%", members[i]->Code), "%NAME%", members[i]->Name));
    FarInsertLine();
  }
  FarRedraw();
}

void InsertAuditCall() {
  std::string mask;
  if (!IniValue(kSection, "AuditDefineMask", mask)) return;
  std::vector<std::string> defines;
  {
    FarSavedPos keep;
    const int total = FarEditorInfo().TotalLines;
    std::string line;
    for (int n = 0; n < total; ++n) {
      if (!FarGotoLine(n, -1, -1, -1, false) || !FarGetLine(-1, line)) break;
      if (IsAuditDefine(line, mask)) defines.push_back(Trim(TrimLeft(line).substr(8)));
    }
  }
  if (defines.empty()) {
    Warn({Msg(MsgId::NoAuditDefine)});
    return;
  }
  const int chosen = FarMenu("", defines, 0, "", FMENU_SHOWAMPERSAND | FMENU_WRAPMODE);
  if (chosen < 0) return;
  const std::string& text = defines[static_cast<size_t>(chosen)];
  const std::string name = text.substr(0, text.find(' '));
  FarInsertText(ReplaceAll(Setting("AuditWriteProcText"), "%DEF%", name));
  FarInsertLine();
  FarRedraw();
}

}  // namespace vemlo
