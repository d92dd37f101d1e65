// The command dispatcher: the extension test, the busy flag and the command table.
#include <iterator>

#include "dbf/views.h"
#include "fox/tools/alias_info.h"
#include "fox/tools/audit.h"
#include "fox/tools/reports.h"
#include "fox/views/formatter_run.h"
#include "fox/views/list_window.h"
#include "fox/views/param_hint.h"
#include "fox/views/preview.h"
#include "fox/views/proc_list.h"
#include "fox/views/structure_menu.h"
#include "help/vemlohlp.h"
#include "host/context.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/settings_file.h"
#include "host/xxfar.h"
#include "shell/commands.h"
#include "shell/vemlo.h"

namespace vemlo {

namespace {

void ShowWordHelp(bool chooseBase) {
  const std::string word = Trim(FarWordAtCursor(IdentChars));
  if (!PreviewWord(FarQualifierAtCursor(IdentChars), word)) ShowFoxHelp(word, chooseBase);
}

bool g_typedTrigger = false;  // command 0 comes from a typed "."

// The commands that are built; a code without an entry does nothing.
const TxxCommand kCommands[] = {
    {0, kRefreshProject, [] { FindInsightWord(); CompleteSymbol(g_typedTrigger); }},
    {1, kRefreshWholeFile, [] { FindInsightWord(); CompleteSymbol(); }},
    {2, kRefreshProject, ShowParamHint},
    {3, kRefreshProject, [] { ShowWordHelp(false); }},
    {4, kRefreshProject, [] { ShowWordHelp(true); }},
    {5, kRefreshCurrentFile, ShowProcList},
    {6, kRefreshProject, ShowStructureReview},
    {7, kRefreshNone, [] { ShowDBFStructure(FarPanelFile(true)); }},
    {8, kRefreshCurrentFile, FormatProcedure},
    {9, kRefreshProject, ShowDataAliasInfo},
    {10, kRefreshProject, ShowProjectReports},
    {11, kRefreshProject, InsertAuditDefines},
    {12, kRefreshProject, InsertAuditCall},
};

const TxxCommand* FindCommand(int code) {
  for (const TxxCommand& c : kCommands)
    if (c.Code == code) return &c;
  return nullptr;
}

// Keeps the busy flag set while a command runs, however it ends.
struct BusyGuard {
  BusyGuard() { Ctx().Busy = true; }
  ~BusyGuard() { Ctx().Busy = false; }
};

}  // namespace

bool PluginBusy() { return Ctx().Busy; }

bool FileExtensionListed(const std::string& fileName) {
  const std::string listed = UpperCase(Option(OptionId::FileExtensions)) + ";";
  // A plain substring test: a file without extension (key ";") always passes.
  const std::string key = UpperCase(ExtractFileExt(fileName)) + ";";
  return listed.find(key) != std::string::npos;
}

int HotKeyAction(const KEY_EVENT_RECORD& key) {
  const unsigned state = key.dwControlKeyState & 0x1F;
  const bool ctrlShift = state == 20 || state == 24;
  switch (key.wVirtualKeyCode) {
    case VK_SPACE:
      if (state == 4 || state == 8) return 0;
      if (state == 5 || state == 10) return 1;
      // Alt+Space too: a terminal cannot tell the two Ctrl keys apart.
      if (state == 12 || state == 1 || state == 2) return kHotKeyRuler;
      if (ctrlShift) return 2;
      return kHotKeyNone;
    case VK_UP: return ctrlShift ? 5 : kHotKeyNone;
    case VK_DOWN: return ctrlShift ? 6 : kHotKeyNone;
    case VK_F1: return state == 0 ? 3 : 4;
    default: return kHotKeyNone;
  }
}

int DispatchCommand(int code) {
  if (!FileExtensionListed(FarEditorFileName())) return 0;
  const TxxCommand* command = FindCommand(code);
  if (!command) return 0;
  BusyGuard busy;
  const TxxRefresh& refresh = command->Refresh;
  if (refresh.Model) RefreshModel(refresh.OnlyCurrent, false, refresh.WholeFile);
  command->Run();
  return 1;
}

int DispatchTypedTrigger() {
  g_typedTrigger = true;
  struct Reset {
    ~Reset() { g_typedTrigger = false; }
  } reset;
  return DispatchCommand(0);
}

// A message box line of this one character is drawn as a separator.
const char* const kSeparatorLine = "\x01";

void ShowProjectInfo() {
  EditorInfo ei = FarEditorInfo();
  ReleaseIni();
  RefreshModel(false, true, false);
  const TxxFoxProj& proj = FoxProj();
  const int width = ei.WindowSizeX - 16;
  FarMessage("Contents",
             {Msg(MsgId::Title), Msg(MsgId::InfoSettingsFile), ShortenPath(proj.IniFile, width),
              Msg(MsgId::InfoKdfBases), ShortenPath(proj.KdfBases.FileName, width),
              Msg(MsgId::InfoKdfFields), ShortenPath(proj.KdfFields.FileName, width),
              Msg(MsgId::InfoKdfIndex), ShortenPath(proj.KdfIndex.FileName, width),
              Msg(MsgId::InfoLocalOptions), ShortenPath(proj.LocalOptions.FileName, width),
              Msg(MsgId::InfoGlobalOptions), ShortenPath(proj.GlobalOptions.FileName, width), kSeparatorLine},
             0, FMSG_MB_OK);
}

}  // namespace vemlo
