// The procedure list's entries: one item per named procedure entry, the
// editor's bookmarks interleaved where they stand.
#include "fox/insight/proc_entries.h"

#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr char kTriangle = '\x10';

const char* const kTee = "\xC3\xC4";  // ├─
const char* const kBar = "\xB3";      // │

}  // namespace

std::string ProcItemText(const TxxFoxProc& proc, bool isMain, const std::string& params,
                         int width) {
  std::string kind = isMain ? "" : proc.IsFunction ? "func " : "proc ";
  if (proc.Kind == pkClass) kind = "class ";
  if (proc.Visibility == vsProtected) kind = "protected " + kind;
  if (proc.Visibility == vsHidden) kind = "hidden " + kind;
  // Methods hang under their class.
  const std::string tee = proc.Kind == pkMethod ? std::string(kBar) + " " + kTee : kTee;
  std::string text = PadLeftTo(IntToStr(proc.FirstLine + 1LL), 6) + " " + tee + kind +
                     Trim(proc.Name) + " " + (proc.Kind == pkClass ? proc.Params : params);
  const int room = width - 9;
  text = room > 0 ? text.substr(0, static_cast<size_t>(room)) : std::string();
  return TrimRight(text);
}

std::string BookmarkItemText(const TxxBookmark& bm, const std::string& lineText, int width) {
  const std::string digit = IntToStr(bm.Number).substr(0, 1);
  const std::string head =
      PadLeftTo(IntToStr(bm.Line + 1LL), 6) + " " + kBar + " (&" + digit + ") ";
  return head + PadRightTo(TrimLeft(lineText), width - 9 - static_cast<int>(head.size()));
}

int ProcEntryCount(const TxxFoxProcArr& procs) {
  int n = 0;
  for (const TxxFoxProc& proc : procs) n += proc.Kind == pkClassEnd ? 0 : 1;
  return n;
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
      const TxxBookmark& bm = in.Bookmarks[nextMark++];
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

}  // namespace vemlo
