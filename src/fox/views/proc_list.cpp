// The procedure list command: the menu of the entries and the jump to the chosen item.
#include "fox/views/proc_list.h"

#include <optional>

#include "fox/insight/proc_param_text.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/xxfar.h"

namespace vemlo {

namespace {

constexpr int kProgressAbove = 20;

}  // namespace

void ShowProcList() {
  const TxxFoxProg* found = CursorProg(FoxProj(), Insight());
  if (!found) return;
  const TxxFoxProg& prog = *found;

  TxxProcList list;
  {
    FarSavedPos saved;  // reading bookmarked lines moves the cursor
    const EditorInfo& info = saved.Info();
    TxxProcListInput in;
    in.Procs = &prog.Procs;
    in.Width = info.WindowSizeX;
    in.Height = info.WindowSizeY;
    in.CursorLine = info.CurLine;
    in.CursorCol = info.CurPos;
    if (OptionOn(OptionId::ShowBookmarks)) FarGetBookmarks(in.Bookmarks);
    const int n = static_cast<int>(prog.Procs.size());
    std::optional<FarProgressGuard> progress;
    if (n > kProgressAbove) progress.emplace(Msg(MsgId::Title), Msg(MsgId::BuildingProcList), n);
    in.ParamText = [&prog](int entry) { return ProcParamText(prog, entry); };
    list = BuildProcList(
        in,
        [](int line) {
          std::string text;
          if (FarGotoLine(line, -1, -1, -1, false)) FarGetLine(-1, text);
          return text;
        },
        [&](int entry) {
          if (progress) FarProgressStep(entry + 1);
        });
  }

  std::vector<std::string> texts;
  texts.reserve(list.Items.size());
  for (const TxxProcListItem& item : list.Items) texts.push_back(item.Text);
  const std::string title = std::string(Msg(MsgId::Procedures)) + " (" +
                            IntToStr(static_cast<long long>(ProcEntryCount(prog.Procs))) + " " +
                            Msg(MsgId::Entries) + ")";
  const int chosen = FarMenu("ProcList", texts, list.Selected, title, 0);
  if (chosen < 0 || chosen >= static_cast<int>(list.Items.size())) return;
  const TxxJumpTarget& t = list.Items[chosen].Target;
  FarJumpTo(TxxEditorJump{t.Line, t.Col, t.Line - t.ScreenOffset, t.LeftPos}, true);
}

}  // namespace vemlo
