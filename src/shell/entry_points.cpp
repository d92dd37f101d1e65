// The plug-in's five entry points, the hot keys and the main menu.
#include <exception>

#include "fox/model/project.h"
#include "fox/views/structure_menu.h"
#include "host/xxfar.h"
#include "lib/xxini.h"
#include "shell/commands.h"
#include "shell/vemlo.h"
#include "shell/vemlocfg.h"
#include "shell/vemlolib.h"

namespace vemlo {

namespace {

bool g_reentry = false;  // set while a typed "." goes back to the editor

// Reports a failure that escaped a command, so that the editor survives it.
void ReportFailure(const std::exception& e) {
  FarMessage("Contents", {Msg(0), e.what()}, 0, FMSG_WARNING | FMSG_MB_OK);
}

void InsertFoxKey(bool nameOnly) {
  std::string text;
  PickFoxKey(nameOnly, text);
  if (text.empty()) return;
  FarInsertText(text);
  FarRedraw();
}

void InsertMenu() {
  int chosen = FarMenu("InsertMENU", {Msg(17), Msg(18)}, 0, "", FMENU_WRAPMODE);
  if (chosen == 0 || chosen == 1) InsertFoxKey(chosen == 1);
}

void ServiceMenu() {
  std::vector<std::string> items;
  for (int m = 19; m <= 24; ++m) items.push_back(Msg(m));
  static const int kCommand[] = {7, -1, 11, 12, -1, 8};
  int chosen = FarMenu("ServiceMENU", items, 0, "", FMENU_WRAPMODE);
  if (chosen >= 0 && chosen < 6 && kCommand[chosen] >= 0) DispatchCommand(kCommand[chosen]);
}

void RunMenuItem(int item) {
  switch (item) {
    case 0: InsertMenu(); break;
    case 1: CommentBlock(); break;
    case 2: DispatchCommand(9); break;
    case 3: ServiceMenu(); break;
    case 4: DispatchCommand(10); break;
    case 5: ShowProjectInfo(); break;
    case 7: DispatchCommand(0); break;
    case 8: DispatchCommand(1); break;
    case 9: DispatchCommand(2); break;
    case 10: DispatchCommand(5); break;
    case 11: DispatchCommand(6); break;
    case 12: FarColumnRuler(); break;
    case 13: DispatchCommand(3); break;
    case 14: DispatchCommand(4); break;
    default: break;
  }
}

}  // namespace

void SetStartupInfo(const PluginStartupInfo& info) {
  FarSetInfo(info);
  LoadOptions();
  ClearBusy();
}

void GetPluginInfo(PluginInfo& info) {
  static const char* menuString = nullptr;
  menuString = Msg(0);
  info = PluginInfo{};
  info.StructSize = 44;
  info.Flags = PF_DISABLEPANELS | PF_EDITOR;
  info.PluginMenuStrings = &menuString;
  info.PluginMenuStringsNumber = 1;
  info.PluginConfigStrings = &menuString;
  info.PluginConfigStringsNumber = 1;
}

HANDLE OpenPlugin(int /*openFrom*/, intptr_t /*item*/) {
  if (PluginBusy()) {
    FarMessage("Contents", {Msg(0), Msg(39)}, 0, FMSG_WARNING | FMSG_MB_OK);
    return VEMLO_INVALID_HANDLE_VALUE;
  }
  try {
    std::vector<std::string> items;
    for (int m = 1; m <= 15; ++m) items.push_back(Msg(m));
    RunMenuItem(FarMenu("Contents", items, 0, Msg(0), FMENU_WRAPMODE));
  } catch (const std::exception& e) {
    ReportFailure(e);
  }
  return VEMLO_INVALID_HANDLE_VALUE;
}

int ProcessEditorInput(const INPUT_RECORD& rec) {
  if (PluginBusy() || g_reentry) return 0;
  if (rec.EventType != KEY_EVENT || !rec.KeyEvent.bKeyDown) return 0;
  const KEY_EVENT_RECORD& key = rec.KeyEvent;
  if (key.wVirtualKeyCode == VK_SHIFT || key.wVirtualKeyCode == VK_CONTROL || key.wVirtualKeyCode == VK_MENU)
    return 0;
  try {
    if (key.AsciiChar == '.' && (key.dwControlKeyState & 0x1F) == 0 && !IsBlank(CfgParam("InsightAutoDropDown"))) {
      INPUT_RECORD copy = rec;
      g_reentry = true;
      struct ReentryReset {
        ~ReentryReset() { g_reentry = false; }
      } reset;
      FarApi().EditorControl(ECTL_PROCESSINPUT, &copy);
      g_reentry = false;
      DispatchTypedTrigger();
      return 1;
    }
    if (IsBlank(CfgParam("KeyPreview"))) return 0;
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

void ResetPluginState() {
  ClearBusy();
  g_reentry = false;
  ResetOptions();
  ReleaseIni();
  ResetFoxModel();
  ResetStructCategories();
}

}  // namespace vemlo
