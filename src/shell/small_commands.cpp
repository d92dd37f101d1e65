// The shell's small commands: the key table menu and the comment block.
#include <cstdio>
#include <cstring>

#include "config/file_names.h"
#include "dbf/xxdbf.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "shell/vemlolib.h"

namespace vemlo {

void PickFoxKey(bool nameOnly, std::string& result) {
  result.clear();
  TxxDBF keys;
  LoadDBF(keys, false, ModuleDir() + KeyTableFileName);
  if (keys.State != dsLoaded) return;
  auto field = [&](int f, int r) { return f < static_cast<int>(keys.Fields.size()) ? DBFValueRef(keys, f, r) : std::string(); };
  std::vector<FarMenuItem> items(static_cast<size_t>(keys.RecCount));
  for (int r = 0; r < keys.RecCount; ++r) {
    char text[600];
    std::snprintf(text, sizeof text, "%-15s  %5s  %5s  %5s  %5s  ", field(0, r).c_str(), field(1, r).c_str(),
                  field(2, r).c_str(), field(3, r).c_str(), field(4, r).c_str());
    SetMenuItemText(items[static_cast<size_t>(r)], text);
    items[static_cast<size_t>(r)].Separator = !field(0, r).empty() && field(0, r)[0] == '-';
  }
  TxxMenuCall call;
  call.HelpTopic = "FoxKeys";
  call.Title = "                 ALONE  SHIFT   CTRL    ALT ";
  call.Bottom = "Enter; SpaceBar; Ctrl; Alt";
  call.Flags = FMENU_SHOWAMPERSAND;
  call.BreakKeys = {VK_SPACE, VK_CONTROL, VK_MENU};
  const TxxMenuChoice choice = FarMenuCall(call, items, -1);
  const int chosen = choice.Item;
  const int breakCode = choice.BreakCode;
  if (chosen < 0 || chosen >= keys.RecCount) return;
  static const char* const kPrefix[] = {"", "Shift+", "Ctrl+", "Alt+"};
  const int column = breakCode >= 0 && breakCode <= 2 ? breakCode + 1 : 0;  // 0 Enter, 1 Space, 2 Ctrl, 3 Alt
  const std::string name = kPrefix[column] + Trim(field(0, chosen));
  if (nameOnly)
    result = name;
  else
    result = Trim(field(column + 1, chosen)) + " &&--- " + name;
}

void CommentBlock() {
  EditorInfo ei = FarEditorInfo();
  if (ei.BlockType == BTYPE_NONE) {
    FarMessage("CommentBlock", {Msg(MsgId::Title), Msg(MsgId::SelectBlockFirst)}, 0, FMSG_WARNING | FMSG_MB_OK);
    return;
  }
  char symbol[64] = {};
  const std::string history = std::string(SettingsKeyName) + "\\CommentBlockSymb";
  if (!FarApi().InputBox("", Msg(MsgId::CommentSymbol), history.c_str(), "*** ", symbol, sizeof symbol, "CommentBlock", 0))
    return;
  for (int line = ei.BlockStartLine; line < ei.TotalLines; ++line) {
    EditorGetString egs;
    if (!FarGetLine(line, egs)) break;
    if (egs.SelStart == -1 || (egs.SelStart == 0 && egs.SelEnd == 0)) break;
    FarJumpTo(TxxEditorJump{line, egs.SelStart}, false);
    FarInsertText(symbol);
  }
  FarRedraw();
}

}  // namespace vemlo
