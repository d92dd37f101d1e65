// The structure view, the record view and the record menu of a DBF table.
#include "dbf/views.h"

#include <cstdio>

#include "host/context.h"
#include "host/plugin_options.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

// Writes the lines to a temporary file and shows it in a framed editor window;
// the file goes when the window closes.
void ShowLines(const std::vector<std::string>& lines, const std::string& title, int width) {
  FarTempFile temp;
  if (!temp.Valid()) return;
  {
    platform::OutFile out;
    if (!out.Create(temp.Name())) return;
    for (const std::string& line : lines) out.Write(line + "\r\n");
    if (!out.Close()) return;
  }
  FarFramedView(temp.Name(), title, width, static_cast<int>(lines.size()) + 2, true);
}

// Closes a table handle of the view's own on every path.
struct TableGuard {
  TxxDBF& Table;
  ~TableGuard() { CloseDBF(Table); }
};

}  // namespace

void ViewDBFExternal(const std::string& fileName) {
  const std::string viewer = Option(OptionId::DBFViewerName);
  if (IsBlank(viewer)) {
    FarMessage("DBFViewer", {Msg(MsgId::Title), Msg(MsgId::NoDbfViewer)}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  FarRunProgram("DBFViewer", viewer + " " + platform::ShortPathName(fileName), true);
}

void ShowDBFStructure(const std::string& name) {
  if (name.empty()) {
    FarMessage("DBFStructure", {Msg(MsgId::Title), Msg(MsgId::NoFileName)}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  if (!platform::FileExists(name)) {
    FarMessage("DBFStructure", {Msg(MsgId::Title), Msg(MsgId::FileNotFound), name}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  TxxDBF table;
  TableGuard guard{table};
  LoadDBF(table, true, name);
  if (table.Fields.empty()) return;
  // The containers of the project loaded last, besides the one the table names.
  const std::optional<TxxDbcTable> entry = FindDbcTable(table, Ctx().Project.Databases);
  const std::vector<std::string> lines = DBFStructureLines(table, entry ? &*entry : nullptr);
  int longest = 0;
  for (const std::string& line : lines) longest = Max(longest, static_cast<int>(line.size()));
  ShowLines(lines, platform::ExpandFileName(table.FileName), longest + 1);
}

void ShowDBFRecord(TxxDBF table, int record) {
  if (table.State != dsLoaded) LoadDBF(table, false, DBFReloadName);
  if (table.State != dsLoaded) return;
  std::vector<std::string> lines;
  int longest = 40;
  for (size_t f = 0; f < table.Fields.size(); ++f) {
    lines.push_back(DBFRecordLine(table, static_cast<int>(f), record));
    longest = Max(longest, static_cast<int>(lines.back().size()));
  }
  const std::string title = ExtractFileName(table.FileName) + " " + IntToStr(record + 1) + "/" +
                            IntToStr(table.RecCount);
  ShowLines(lines, title, longest + 1);
}

std::vector<int> DBFFilteredRecords(const TxxDBF& table, int filterField, const std::string& filter) {
  std::vector<int> records;
  const bool filtered = !IsBlank(filter);
  const std::string pattern = UpperCase(Trim(filter));
  for (int r = 0; r < table.RecCount; ++r)
    if (!filtered || WildMatch(UpperCase(Trim(DBFValueRef(table, filterField, r))), pattern)) records.push_back(r);
  return records;
}

std::string DBFBrowseItem(const TxxDBF& table, const std::vector<int>& columns, int record) {
  std::string text;
  for (int c : columns) {
    const int width = DBFFieldWidth(table, c);
    text += PadRightTo(DBFValueRef(table, c, record), Max(width, static_cast<int>(DBFValueRef(table, c, record).size())));
    text += "\xB3";
  }
  return text.substr(0, 127);
}

std::string DBFBrowseTitle(const TxxDBF& table, int width, int filterField, const std::string& filter) {
  std::string part;
  if (!IsBlank(filter) && filterField >= 0 && filterField < static_cast<int>(table.Fields.size()))
    part = " (" + table.Fields[static_cast<size_t>(filterField)].Name + "=\"" + UpperCase(Trim(filter)) + "\")";
  return ShortenPath(table.FileName, Max(20, width - static_cast<int>(part.size()))) + part;
}

int BrowseDBF(TxxDBF table, const std::vector<int>& columns, const std::optional<std::string>& title,
              const char* helpTopic, bool more, int filterField, const std::string& filter, int selected) {
  if (table.State != dsLoaded) LoadDBF(table, false, DBFReloadName);
  if (table.State != dsLoaded || table.RecCount <= 0) return -1;
  const std::vector<int> records = DBFFilteredRecords(table, filterField, filter);
  std::vector<FarMenuItem> items(records.size());
  int width = 20;
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string text = DBFBrowseItem(table, columns, records[i]);
    SetMenuItemText(items[i], text);
    width = Max(width, static_cast<int>(text.size()));
  }
  width = Min(width, FarEditorInfo().WindowSizeX - 8);
  TxxMenuCall call;
  call.HelpTopic = helpTopic;
  call.Title = title ? *title : DBFBrowseTitle(table, width, filterField, filter);
  call.Bottom = more ? "ENTER-more" : "";
  call.Flags = FMENU_SHOWAMPERSAND;
  int result = -1;
  FarMenuLoop(call, items, selected, [&](const TxxMenuChoice& choice) {
    if (!more) {
      result = choice.Item;
      return false;
    }
    ShowDBFRecord(table, records[static_cast<size_t>(choice.Item)]);
    return true;
  });
  return result;
}

}  // namespace vemlo
