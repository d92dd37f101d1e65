// The menu of data-dictionary bases and project table files.
#include "fox/tools/alias_info.h"

#include <optional>
#include <vector>

#include "dbf/views.h"
#include "dbf/xxdbf.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr const char* kTopic = "DataAliasInfo";

// The project table file named after a base: its name with ".DBF".
std::string BaseTableFile(const TxxFoxProj& proj, const std::string& base) {
  const std::string want = UpperCase(base) + ".DBF";
  for (const std::string& path : proj.Bases)
    if (UpperCase(ExtractFileName(path)) == want) return path;
  return proj.Dir + base + ".DBF";
}

}  // namespace

void ShowDataAliasInfo() {
  const TxxFoxProj& proj = FoxProj();
  const TxxDBF& bases = proj.KdfBases;
  const std::string word = UpperCase(Trim(FarWordAtCursor(IdentChars)));
  const int width = FarEditorInfo().WindowSizeX - 8;

  const int bName = Column(bases, "KDF_BASES", "FieldName_BASE");
  const int bRem = Column(bases, "KDF_BASES", "FieldName_REM");
  const int bCross = Column(bases, "KDF_BASES", "FieldName_CROSS");
  const int b = bases.State == dsLoaded ? bases.RecCount : 0;
  const int f = static_cast<int>(proj.Bases.size());

  std::vector<FarMenuItem> items(static_cast<size_t>(b + f + 1));
  int selected = -1;  // a base of the word wins over a table file of the same name
  for (int i = 0; i < b; ++i) {
    SetMenuItemText(items[static_cast<size_t>(i)],
                    DBFValue(bases, bName, i, true) + "\xB3" + DBFValue(bases, bRem, i, true) + "\xB3");
    if (selected < 0 && UpperCase(Trim(DBFValue(bases, bName, i, false))) == word) selected = i;
  }
  items[static_cast<size_t>(b)].Separator = 1;
  for (int k = 0; k < f; ++k) {
    const std::string& path = proj.Bases[static_cast<size_t>(k)];
    SetMenuItemText(items[static_cast<size_t>(b + 1 + k)], ShortenPath(path, width));
    if (selected < 0 && UpperCase(ExtractFileName(path)) == word + ".DBF") selected = b + 1 + k;
  }
  if (selected < 0) selected = b > 0 ? 0 : 1;

  const TxxDBF& fields = proj.KdfFields;
  const TxxDBF& indexes = proj.KdfIndex;
  enum : int { bkFields = 0, bkIndexes = 1, bkView = 2 };
  TxxMenuCall call;
  call.HelpTopic = kTopic;
  call.Title = ShortenPath(bases.FileName, width);
  call.Bottom = "ENTER-more F-fields I-indexes F3-DBFview";
  call.Flags = FMENU_SHOWAMPERSAND;
  call.BreakKeys = {'F', 'I', VK_F3};
  FarMenuLoop(call, items, selected, [&](const TxxMenuChoice& choice) {
    const int chosen = choice.Item;
    const int breakCode = choice.BreakCode;
    if (chosen < b) {
      const std::string name = Trim(DBFValue(bases, bName, chosen, false));
      if (breakCode == -1) {
        ShowDBFRecord(bases, chosen);
      } else if (breakCode == bkFields) {
        const std::string cross = Trim(DBFValue(bases, bCross, chosen, false));
        const std::vector<int> columns = {
            Column(fields, "KDF_FIELDS", "FieldName_FNAME"), Column(fields, "KDF_FIELDS", "FieldName_FTYPE"),
            Column(fields, "KDF_FIELDS", "FieldName_FLEN"), Column(fields, "KDF_FIELDS", "FieldName_FDEC"),
            Column(fields, "KDF_FIELDS", "FieldName_REM")};
        BrowseDBF(fields, columns, std::nullopt, kTopic, true, Column(fields, "KDF_FIELDS", "FieldName_BASE"),
                  cross.empty() ? name : cross, 0);
      } else if (breakCode == bkIndexes) {
        const std::vector<int> columns = {Column(indexes, "KDF_INDEX", "FieldName_TAG"),
                                          Column(indexes, "KDF_INDEX", "FieldName_KEY")};
        BrowseDBF(indexes, columns, std::nullopt, kTopic, true, Column(indexes, "KDF_INDEX", "FieldName_BASE"),
                  name, 0);
      } else if (breakCode == bkView) {
        const std::string path = BaseTableFile(proj, name);
        if (!platform::FileExists(path))
          FarMessage(kTopic, {Msg(MsgId::Title), Msg(MsgId::FileNotFound), path}, 0, FMSG_WARNING | FMSG_MB_OK);
        else
          ViewDBFExternal(path);
      }
    } else if (chosen > b && chosen <= b + f) {
      const std::string& path = proj.Bases[static_cast<size_t>(chosen - b - 1)];
      if (breakCode == bkFields) ShowDBFStructure(path);
      if (breakCode == bkView) ViewDBFExternal(path);
    }
    return true;
  });
}

}  // namespace vemlo
