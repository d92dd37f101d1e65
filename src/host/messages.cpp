// Message texts, message boxes, menus and the multi-select menu.
#include "host/xxfar.h"

#include "host/plugin_options.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

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

int FarMenu(const char* helpTopic, const std::vector<std::string>& items, int selected,
            const std::string& title, unsigned flags) {
  std::vector<FarMenuItem> menu(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SetMenuItemText(menu[i], items[i]);
    menu[i].Selected = static_cast<int>(i) == selected;
    menu[i].Separator = !items[i].empty() && items[i][0] == '-';
  }
  return FarApi().Menu(FarInfo().ModuleNumber, -1, -1, 0, flags, title.c_str(), "",
                       helpTopic ? helpTopic : "", nullptr, nullptr, menu.data(),
                       static_cast<int>(menu.size()));
}

bool FarCheckMenu(const std::string& title, const char* helpTopic, std::vector<FarMenuItem>& items) {
  static const int kBreakKeys[] = {VK_INSERT, VK_SPACE, VK_ADD, VK_SUBTRACT, VK_MULTIPLY, 0};
  const int count = static_cast<int>(items.size());
  int current = 0;
  for (;;) {
    for (int i = 0; i < count; ++i) items[i].Selected = i == current;
    int breakCode = -1;
    int chosen = FarApi().Menu(FarInfo().ModuleNumber, -1, -1, 0, FMENU_SHOWAMPERSAND, title.c_str(),
                               "Space,Ins,+,-,*", helpTopic ? helpTopic : "", kBreakKeys, &breakCode,
                               items.data(), count);
    if (chosen >= 0 && chosen < count) current = chosen;
    switch (breakCode) {
      case 0:
      case 1:
        if (current < count) {
          items[current].Checked = !items[current].Checked;
          current = Min(current + 1, count - 1);
        }
        continue;
      case 2:
        for (FarMenuItem& it : items) it.Checked = 1;
        continue;
      case 3:
        for (FarMenuItem& it : items) it.Checked = 0;
        continue;
      case 4:
        for (FarMenuItem& it : items) it.Checked = !it.Checked;
        continue;
      default:
        break;
    }
    if (chosen < 0) return false;
    bool any = std::any_of(items.begin(), items.end(), [](const FarMenuItem& it) { return it.Checked; });
    if (!any && current < count) items[current].Checked = 1;
    return true;
  }
}

}  // namespace vemlo
