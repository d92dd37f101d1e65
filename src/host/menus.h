// The typed menu and message layer: message texts, message boxes, one menu
// call with break keys, the menus built on it, the plug-in's help and colours.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/messages.h"
#include "host/far_api.h"

namespace vemlo {

const char* Msg(MsgId id);
// The default sound, when the sound signals are on.
void SignalBeep();
int FarMessage(const char* helpTopic, const std::vector<std::string>& lines, int buttons,
               unsigned flags);

// One call of the host's menu.
struct TxxMenuCall {
  const char* HelpTopic = "";
  std::string Title;
  std::string Bottom;
  unsigned Flags = 0;
  std::vector<int> BreakKeys;  // keys that close the menu besides Enter and Esc
};
struct TxxMenuChoice {
  int Item = -1;       // the item under the cursor when it closed, -1 on Esc
  int BreakCode = -1;  // the index of the break key that closed it, -1 for Enter and Esc
};
// Shows the menu with item `selected` highlighted (-1: the items' own marks).
TxxMenuChoice FarMenuCall(const TxxMenuCall& call, std::vector<FarMenuItem>& items, int selected);
// Shows the menu again after every choice of an item, with the cursor on it,
// until onChoice answers false or the menu is left.
void FarMenuLoop(const TxxMenuCall& call, std::vector<FarMenuItem>& items, int selected,
                 const std::function<bool(const TxxMenuChoice&)>& onChoice);

// A menu of texts (a text "-" is a separator); the chosen index or -1.
int FarMenu(const char* helpTopic, const std::vector<std::string>& items, int selected,
            const std::string& title, unsigned flags);
// A menu whose items are ticked with Space or Ins (+, - and * for all); false on Esc.
bool FarCheckMenu(const std::string& title, const char* helpTopic, std::vector<FarMenuItem>& items);
void SetMenuItemText(FarMenuItem& item, const std::string& text);  // copied up to 127 characters

// The plug-in's help file at a topic.
void FarShowHelp(const char* topic);
// A colour of the host's palette.
int FarColour(int paletteIndex);
// Draws the text written with the host's Text calls.
void FarFlushText();

}  // namespace vemlo
