// The command dispatcher: the extension test, the busy flag and the command table.
#include <iterator>

#include "dbf/views.h"
#include "fox/insight/completion.h"
#include "fox/insight/param_hint.h"
#include "fox/insight/preview.h"
#include "fox/model/project.h"
#include "fox/tools/alias_info.h"
#include "fox/tools/audit.h"
#include "fox/tools/reports.h"
#include "fox/views/formatter.h"
#include "fox/views/proc_list.h"
#include "fox/views/structure_entries.h"
#include "help/vemlohlp.h"
#include "host/xxfar.h"
#include "lib/xxini.h"
#include "shell/commands.h"
#include "shell/vemlo.h"
#include "shell/vemlocfg.h"

namespace vemlo {

namespace {

bool g_busy = false;
bool g_typedTrigger = false;  // command 0 comes from a typed "."

// The commands that are built; a code without an entry does nothing.
const TxxCommand kCommands[] = {
    {0, [] { FindInsightWord(); CompleteSymbol(g_typedTrigger); }},
    {1, [] { FindInsightWord(); CompleteSymbol(); }},
    {2, ShowParamHint},
    {3, [] { if (std::string w = Trim(FarWordAtCursor(IdentChars)); !PreviewProc(w)) ShowFoxHelp(w, false); }},
    {4, [] { if (std::string w = Trim(FarWordAtCursor(IdentChars)); !PreviewProc(w)) ShowFoxHelp(w, true); }},
    {5, ShowProcList},
    {6, ShowStructureReview},
    {7, [] { ShowDBFStructure(FarPanelFile(true)); }},
    {8, FormatProcedure},
    {9, ShowDataAliasInfo},
    {10, ShowProjectReports},
    {11, InsertAuditDefines},
    {12, InsertAuditCall},
    {-1, nullptr},
};

const TxxCommand* FindCommand(int code) {
  for (const TxxCommand& c : kCommands)
    if (c.Code == code && c.Run) return &c;
  return nullptr;
}

// Keeps the busy flag set while a command runs, however it ends.
struct BusyGuard {
  BusyGuard() { g_busy = true; }
  ~BusyGuard() { g_busy = false; }
};

}  // namespace

bool PluginBusy() { return g_busy; }

void ClearBusy() { g_busy = false; }

bool FileExtensionListed(const std::string& fileName) {
  const std::string listed = UpperCase(CfgParam("FileExtensions")) + ";";
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
  if (code != 7) RefreshModel(code == 5 || code == 8, false, code == 1);
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

void ShowProjectInfo() {
  EditorInfo ei = FarEditorInfo();
  ReleaseIni();
  RefreshModel(false, true, false);
  const TxxFoxProj& proj = FoxProj();
  const int width = ei.WindowSizeX - 16;
  FarMessage("Contents",
             {Msg(0), Msg(55), ShortenPath(proj.IniFile, width), Msg(56), ShortenPath(proj.KdfBases.FileName, width),
              Msg(57), ShortenPath(proj.KdfFields.FileName, width), Msg(58), ShortenPath(proj.KdfIndex.FileName, width),
              Msg(59), ShortenPath(proj.LocalOptions.FileName, width), Msg(60),
              ShortenPath(proj.GlobalOptions.FileName, width), ""},
             0, FMSG_MB_OK);
}

}  // namespace vemlo
