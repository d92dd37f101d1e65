// The procedure list: one item per named procedure entry, the editor's
// bookmarks interleaved where they stand, and the jump to the chosen item.
#include "fox/views/proc_list.h"

#include <optional>

#include "fox/insight/proc_param_text.h"
#include "fox/model/project.h"
#include "host/plugin_options.h"

namespace vemlo {

namespace {

constexpr int kProgressAbove = 20;
constexpr char kTriangle = '\x10';

const char* const kTee = "\xC3\xC4";  // ├─
const char* const kBar = "\xB3";      // │

}  // namespace

std::string ProcItemText(const TxxFoxProc& proc, bool isMain, const std::string& params,
                         int width) {
  const char* kind = isMain ? "" : proc.IsFunction ? "func " : "proc ";
  std::string text = PadLeftTo(IntToStr(proc.FirstLine + 1LL), 6) + " " + kTee + kind +
                     Trim(proc.Name) + " " + params;
  const int room = width - 9;
  text = room > 0 ? text.substr(0, static_cast<size_t>(room)) : std::string();
  return TrimRight(text);
}

std::string BookmarkItemText(const TxxFarBookmark& bm, const std::string& lineText, int width) {
  const std::string digit = IntToStr(bm.Number).substr(0, 1);
  const std::string head =
      PadLeftTo(IntToStr(bm.Line + 1LL), 6) + " " + kBar + " (&" + digit + ") ";
  return head + PadRightTo(TrimLeft(lineText), width - 9 - static_cast<int>(head.size()));
}

TxxProcList BuildProcList(const TxxProcListInput& in,
                          const std::function<std::string(int line)>& lineText,
                          const std::function<void(int entry)>& step) {
  TxxProcList list;
  const TxxFoxProcArr& procs = *in.Procs;
  size_t nextMark = 0;
  int prevMarkLine = -1;
  for (size_t k = 0; k < procs.size(); ++k) {
    if (step) step(static_cast<int>(k));
    const TxxFoxProc& proc = procs[k];
    if (proc.Name.empty()) continue;
    const bool isMain = k == 0;
    const std::string params = in.ParamText ? in.ParamText(static_cast<int>(k)) : std::string();
    TxxProcListItem item;
    item.Text = ProcItemText(proc, isMain, params, in.Width);
    item.Target.Line = isMain ? 0 : Max(0, proc.DeclLine);
    item.Target.ScreenOffset = Min(proc.DeclLine - proc.FirstLine, in.Height - 2);
    list.Items.push_back(std::move(item));
    if (in.CursorLine >= proc.FirstLine) {
      list.Selected = static_cast<int>(list.Items.size()) - 1;
      list.Marked = list.Selected;
    }
    while (nextMark < in.Bookmarks.size() && in.Bookmarks[nextMark].Line <= proc.LastLine) {
      const TxxFarBookmark& bm = in.Bookmarks[nextMark++];
      TxxProcListItem mark;
      mark.Text = BookmarkItemText(bm, lineText(bm.Line), in.Width);
      mark.Target = TxxJumpTarget{Max(0, bm.Line), Max(0, bm.Col), bm.ScreenLine, bm.LeftPos};
      list.Items.push_back(std::move(mark));
      const bool firstOnLine = bm.Line != prevMarkLine;
      prevMarkLine = bm.Line;
      if (bm.Line < in.CursorLine ||
          (bm.Line == in.CursorLine && (firstOnLine || bm.Col <= in.CursorCol)))
        list.Marked = static_cast<int>(list.Items.size()) - 1;
    }
  }
  if (list.Marked >= 0) {
    std::string& text = list.Items[list.Marked].Text;
    if (!text.empty()) text[0] = kTriangle;
  }
  return list;
}

void ShowProcList() {
  TxxFoxProj& proj = FoxProj();
  const TxxInsight& insight = Insight();
  if (insight.ProgIndex < 0 || insight.ProgIndex >= static_cast<int>(proj.Progs.size())) return;
  const TxxFoxProg& prog = proj.Progs[insight.ProgIndex];

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
                            IntToStr(static_cast<long long>(prog.Procs.size())) + " " +
                            Msg(MsgId::Entries) + ")";
  const int chosen = FarMenu("ProcList", texts, list.Selected, title, 0);
  if (chosen < 0 || chosen >= static_cast<int>(list.Items.size())) return;
  const TxxJumpTarget& t = list.Items[chosen].Target;
  FarJumpTo(TxxEditorJump{t.Line, t.Col, t.Line - t.ScreenOffset, t.LeftPos}, true);
}

}  // namespace vemlo
