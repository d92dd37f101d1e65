// The plug-in's five entry points, the hot keys and the main menu.
#include <exception>
#include <span>

#include "host/context.h"
#include "host/xxfar.h"
#include "shell/commands.h"
#include "shell/vemlo.h"
#include "shell/vemlocfg.h"
#include "shell/vemlolib.h"

namespace vemlo {

namespace {

// Reports a failure that escaped a command, so that the editor survives it.
void ReportFailure(const std::exception& e) {
  FarMessage("Contents", {Msg(MsgId::Title), e.what()}, 0, FMSG_WARNING | FMSG_MB_OK);
}

void InsertFoxKey(bool nameOnly) {
  std::string text;
  PickFoxKey(nameOnly, text);
  if (text.empty()) return;
  FarInsertText(text);
  FarRedraw();
}

// An item of a menu of the plug-in: its text and either a command code for
// the dispatcher or a routine of its own.
struct TxxMenuEntry {
  MsgId Text;
  int Command;
  void (*Run)();
};
constexpr int kNoCommand = -1;

// Shows the menu of the entries and runs the chosen one.
void RunMenu(const char* helpTopic, const std::string& title, std::span<const TxxMenuEntry> entries) {
  std::vector<std::string> items;
  for (const TxxMenuEntry& e : entries) items.push_back(Msg(e.Text));
  const int chosen = FarMenu(helpTopic, items, 0, title, FMENU_WRAPMODE);
  if (chosen < 0 || chosen >= static_cast<int>(entries.size())) return;
  const TxxMenuEntry& e = entries[static_cast<size_t>(chosen)];
  if (e.Command != kNoCommand)
    DispatchCommand(e.Command);
  else if (e.Run)
    e.Run();
}

constexpr TxxMenuEntry kInsertMenu[] = {
    {MsgId::InsertKeyCode, kNoCommand, [] { InsertFoxKey(false); }},
    {MsgId::InsertKeyName, kNoCommand, [] { InsertFoxKey(true); }},
};

constexpr TxxMenuEntry kServiceMenu[] = {
    {MsgId::ServiceTableStructure, 7, nullptr},
    {MsgId::ServiceSeparator1, kNoCommand, nullptr},
    {MsgId::ServiceAuditDefines, 11, nullptr},
    {MsgId::ServiceAuditCall, 12, nullptr},
    {MsgId::ServiceSeparator2, kNoCommand, nullptr},
    {MsgId::ServiceIndent, 8, nullptr},
};

constexpr TxxMenuEntry kMainMenu[] = {
    {MsgId::MenuInsert, kNoCommand, [] { RunMenu("InsertMENU", "", kInsertMenu); }},
    {MsgId::MenuCommentBlock, kNoCommand, CommentBlock},
    {MsgId::MenuDataAlias, 9, nullptr},
    {MsgId::MenuService, kNoCommand, [] { RunMenu("ServiceMENU", "", kServiceMenu); }},
    {MsgId::MenuReports, 10, nullptr},
    {MsgId::MenuProjectInfo, kNoCommand, ShowProjectInfo},
    {MsgId::MenuSeparator, kNoCommand, nullptr},
    {MsgId::MenuInsight, 0, nullptr},
    {MsgId::MenuInsightWhole, 1, nullptr},
    {MsgId::MenuParamHint, 2, nullptr},
    {MsgId::MenuProcList, 5, nullptr},
    {MsgId::MenuStructure, 6, nullptr},
    {MsgId::MenuRuler, kNoCommand, FarColumnRuler},
    {MsgId::MenuHelpWord, 3, nullptr},
    {MsgId::MenuHelpChooseBase, 4, nullptr},
};

}  // namespace

void SetStartupInfo(const PluginStartupInfo& info) {
  FarSetInfo(info);
  LoadOptions();
  Ctx().Busy = false;
}

void GetPluginInfo(PluginInfo& info) {
  const char** menuStrings = Ctx().MenuStrings;
  menuStrings[0] = Msg(MsgId::Title);
  info = PluginInfo{};
  info.StructSize = 44;
  info.Flags = PF_DISABLEPANELS | PF_EDITOR;
  info.PluginMenuStrings = menuStrings;
  info.PluginMenuStringsNumber = 1;
  info.PluginConfigStrings = menuStrings;
  info.PluginConfigStringsNumber = 1;
}

HANDLE OpenPlugin(int /*openFrom*/, intptr_t /*item*/) {
  if (PluginBusy()) {
    FarMessage("Contents", {Msg(MsgId::Title), Msg(MsgId::CommandRunning)}, 0, FMSG_WARNING | FMSG_MB_OK);
    return VEMLO_INVALID_HANDLE_VALUE;
  }
  try {
    RunMenu("Contents", Msg(MsgId::Title), kMainMenu);
  } catch (const std::exception& e) {
    ReportFailure(e);
  }
  return VEMLO_INVALID_HANDLE_VALUE;
}

int ProcessEditorInput(const INPUT_RECORD& rec) {
  TxxPluginContext& ctx = Ctx();
  if (ctx.Busy || ctx.Reentry) return 0;
  if (rec.EventType != KEY_EVENT || !rec.KeyEvent.bKeyDown) return 0;
  const KEY_EVENT_RECORD& key = rec.KeyEvent;
  if (key.wVirtualKeyCode == VK_SHIFT || key.wVirtualKeyCode == VK_CONTROL || key.wVirtualKeyCode == VK_MENU)
    return 0;
  try {
    if (key.AsciiChar == '.' && (key.dwControlKeyState & 0x1F) == 0 && OptionOn(OptionId::InsightAutoDropDown)) {
      {
        ctx.Reentry = true;
        struct ReentryReset {
          TxxPluginContext& Ctx;
          ~ReentryReset() { Ctx.Reentry = false; }
        } reset{ctx};
        FarProcessInput(rec);
      }
      DispatchCommand(0);
      return 1;
    }
    if (!OptionOn(OptionId::KeyPreview)) return 0;
    const int action = HotKeyAction(key);
    if (action == kHotKeyRuler) {
      FarColumnRuler();
      return 0;
    }
    return action >= 0 ? DispatchCommand(action) : 0;
  } catch (const std::exception& e) {
    ReportFailure(e);
    return 1;
  }
}

int Configure(int /*itemNumber*/) {
  try {
    ConfigureOptions();
  } catch (const std::exception& e) {
    ReportFailure(e);
  }
  return 0;
}

void ResetPluginState() { ResetContext(); }

}  // namespace vemlo
