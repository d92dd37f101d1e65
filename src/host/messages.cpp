// Message texts, message boxes, the menu call and the menus built on it, help and colours.
#include "host/menus.h"

#include <algorithm>
#include <cstring>

#include "host/plugin_options.h"
#include "host/xxfar.h"
#include "platform/platform.h"

namespace vemlo {

void SignalBeep() {
  if (OptionOn(OptionId::SoundSignals)) platform::MessageBeep(0);
}

const char* Msg(MsgId id) {
  const char* text = FarApi().GetMsg(FarInfo().ModuleNumber, static_cast<int>(id) & 0x7F);
  return text ? text : "";
}

int FarMessage(const char* helpTopic, const std::vector<std::string>& lines, int buttons,
               unsigned flags) {
  std::vector<const char*> items;
  items.reserve(lines.size());
  for (const std::string& l : lines) items.push_back(l.c_str());
  return FarApi().Message(FarInfo().ModuleNumber, flags, helpTopic ? helpTopic : "", items.data(),
                          static_cast<int>(items.size()), buttons);
}

void SetMenuItemText(FarMenuItem& item, const std::string& text) {
  size_t n = std::min(text.size(), sizeof(item.Text) - 1);
  std::memcpy(item.Text, text.data(), n);
  item.Text[n] = 0;
}

TxxMenuChoice FarMenuCall(const TxxMenuCall& call, std::vector<FarMenuItem>& items, int selected) {
  if (selected >= 0)
    for (size_t i = 0; i < items.size(); ++i) items[i].Selected = static_cast<int>(i) == selected;
  std::vector<int> breakKeys = call.BreakKeys;
  breakKeys.push_back(0);
  TxxMenuChoice choice;
  choice.Item = FarApi().Menu(FarInfo().ModuleNumber, -1, -1, 0, call.Flags, call.Title.c_str(), call.Bottom.c_str(),
                              call.HelpTopic ? call.HelpTopic : "", call.BreakKeys.empty() ? nullptr : breakKeys.data(),
                              call.BreakKeys.empty() ? nullptr : &choice.BreakCode, items.data(),
                              static_cast<int>(items.size()));
  if (choice.Item >= static_cast<int>(items.size())) choice.Item = -1;
  return choice;
}

void FarMenuLoop(const TxxMenuCall& call, std::vector<FarMenuItem>& items, int selected,
                 const std::function<bool(const TxxMenuChoice&)>& onChoice) {
  for (;;) {
    const TxxMenuChoice choice = FarMenuCall(call, items, selected);
    if (choice.Item < 0) return;
    selected = choice.Item;
    if (!onChoice(choice)) return;
  }
}

int FarMenu(const char* helpTopic, const std::vector<std::string>& items, int selected,
            const std::string& title, unsigned flags) {
  std::vector<FarMenuItem> menu(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SetMenuItemText(menu[i], items[i]);
    menu[i].Separator = !items[i].empty() && items[i][0] == '-';
  }
  TxxMenuCall call;
  call.HelpTopic = helpTopic;
  call.Title = title;
  call.Flags = flags;
  return FarMenuCall(call, menu, selected).Item;
}

bool FarCheckMenu(const std::string& title, const char* helpTopic, std::vector<FarMenuItem>& items) {
  enum : int { bkSpace = 0, bkIns = 1, bkAll = 2, bkNone = 3, bkInvert = 4 };
  TxxMenuCall call;
  call.HelpTopic = helpTopic;
  call.Title = title;
  call.Bottom = "Space,Ins,+,-,*";
  call.Flags = FMENU_SHOWAMPERSAND;
  call.BreakKeys = {VK_INSERT, VK_SPACE, VK_ADD, VK_SUBTRACT, VK_MULTIPLY};
  const int count = static_cast<int>(items.size());
  int current = 0;
  for (;;) {
    const TxxMenuChoice choice = FarMenuCall(call, items, current);
    if (choice.Item >= 0) current = choice.Item;
    switch (choice.BreakCode) {
      case bkSpace:
      case bkIns:
        if (current < count) {
          items[current].Checked = !items[current].Checked;
          current = Min(current + 1, count - 1);
        }
        continue;
      case bkAll:
        for (FarMenuItem& it : items) it.Checked = 1;
        continue;
      case bkNone:
        for (FarMenuItem& it : items) it.Checked = 0;
        continue;
      case bkInvert:
        for (FarMenuItem& it : items) it.Checked = !it.Checked;
        continue;
      default:
        break;
    }
    if (choice.Item < 0) return false;
    bool any = std::any_of(items.begin(), items.end(), [](const FarMenuItem& it) { return it.Checked; });
    if (!any && current < count) items[current].Checked = 1;
    return true;
  }
}

void FarShowHelp(const char* topic) { FarApi().ShowHelp(FarInfo().ModuleName.c_str(), topic, 0); }

int FarColour(int paletteIndex) {
  return static_cast<int>(FarApi().AdvControl(FarInfo().ModuleNumber, ACTL_GETCOLOR,
                                              reinterpret_cast<void*>(static_cast<intptr_t>(paletteIndex))));
}

void FarFlushText() { FarApi().Text(0, 0, 0, nullptr); }

}  // namespace vemlo
