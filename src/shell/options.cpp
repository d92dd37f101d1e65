// The configuration menu and the dialogs of the option groups.
#include <cstring>

#include "host/context.h"
#include "host/xxfar.h"
#include "shell/vemlocfg.h"

namespace vemlo {

namespace {

constexpr int kX0 = 3;
constexpr int kY0 = 1;
constexpr char kFill = '\xC4';

std::string CaptionText(const TxxPluginOption& o) {
  std::string c = Msg(o.Caption);
  return o.LabelWidth > 0 ? PadRightTo(c, o.LabelWidth) : c;
}

// The option row of a dialog item of the open group's dialog, -1 for none.
int RowOfItem(int item) {
  const TxxOptionDialogState& d = Ctx().OptionDialog;
  if (item < 0) return -1;
  for (size_t row = 0; row < d.ItemOf.size(); ++row)
    if (d.ItemOf[row] == item) return static_cast<int>(row);
  return -1;
}

}  // namespace

intptr_t OptionDlgProc(HANDLE dlg, int msg, int param1, intptr_t param2) {
  intptr_t result = FarApi().DefDlgProc(dlg, msg, param1, param2);
  const int row = RowOfItem(param1);
  if (row < 0) return result;
  TxxPluginOption& option = PluginOptions()[static_cast<size_t>(row)];
  if (msg == DN_BTNCLICK && option.Kind == OptionKind::ListButton) {
    SMALL_RECT rect;
    FarApi().SendDlgMessage(dlg, DM_GETDLGRECT, 0, reinterpret_cast<intptr_t>(&rect));
    FarDialogItem frame;
    FarApi().SendDlgMessage(dlg, DM_GETDLGITEM, 0, reinterpret_cast<intptr_t>(&frame));
    FarEditText(Ctx().OptionDialog.WorkValue[static_cast<size_t>(row)], "\x0C", Msg(option.Caption),
                rect.Left + frame.X1 + 1, rect.Top + frame.Y1 + 1, rect.Left + frame.X2 - 1,
                rect.Top + frame.Y2 - 1, 0, 0);
  } else if (msg == DN_HELP && !option.Name.empty()) {
    result = reinterpret_cast<intptr_t>(option.Name.c_str());
  }
  return result;
}

void ConfigureOptions() {
  int groups = 0;
  for (const TxxPluginOption& o : PluginOptions()) groups = Max(groups, o.Group + 1);
  std::vector<std::string> items(static_cast<size_t>(groups));
  for (const TxxPluginOption& o : PluginOptions())
    if (o.Kind == OptionKind::GroupTitle) items[static_cast<size_t>(o.Group)] = Msg(o.Caption);
  TxxOptionDialogState& state = Ctx().OptionDialog;
  for (;;) {
    int chosen = FarMenu("Configure", items, state.LastGroup, Msg(MsgId::Title), FMENU_WRAPMODE);
    if (chosen < 0) return;
    state.LastGroup = chosen;
    EditOptionGroup(chosen);
  }
}

void EditOptionGroup(int group) {
  TxxOptions& options = PluginOptions();
  std::string title = Msg(MsgId::Title);
  const MsgId buttons[3] = {MsgId::CfgSave, MsgId::CfgApply, MsgId::CfgCancel};
  int width = 16;
  for (MsgId b : buttons) width += static_cast<int>(std::strlen(Msg(b)));
  int count = 0, lines = 0;
  for (const TxxPluginOption& o : options) {
    if (o.Group != group) continue;
    const int m = o.LabelWidth != 0 ? o.LabelWidth : static_cast<int>(std::strlen(Msg(o.Caption)));
    switch (o.Kind) {
      case OptionKind::GroupTitle: title += std::string(" - ") + Msg(o.Caption); break;
      case OptionKind::Separator:
      case OptionKind::Text: count += 1; lines += 1; width = Max(width, m); break;
      case OptionKind::Check:
      case OptionKind::ListButton: count += 1; lines += 1; width = Max(width, m + 4); break;
      case OptionKind::Edit: count += 2; lines += 1; width = Max(width, m + o.EditWidth); break;
      case OptionKind::EditBelow: count += 2; lines += 2; width = Max(width, Max(m, o.EditWidth)); break;
    }
  }
  if (count == 0) return;
  lines += 2;
  count += 5;

  // The dialog's rows, however the dialog ends.
  TxxOptionDialogState& state = Ctx().OptionDialog;
  struct StateReset {
    TxxOptionDialogState& State;
    ~StateReset() {
      State.Group = -1;
      State.ItemOf.clear();
      State.WorkValue.clear();
    }
  } reset{state};
  state.Group = group;
  state.ItemOf.assign(options.size(), -1);
  state.WorkValue.assign(options.size(), std::string());

  std::vector<FarDialogItem> items(static_cast<size_t>(count));
  SetDlgItem(items[0], kX0, kY0, kX0 + width + 3, kY0 + lines + 1, DI_DOUBLEBOX, 0, title.c_str(), 0);
  int n = 1, y = kY0 + 1;
  for (size_t row = 0; row < options.size(); ++row) {
    const TxxPluginOption& o = options[row];
    if (o.Group != group) continue;
    std::string c = CaptionText(o);
    const int len = static_cast<int>(c.size());
    auto edit = [&](int x, int line) {
      FarDialogItem& it = items[static_cast<size_t>(n)];
      SetDlgItem(it, x, line, x + o.EditWidth - 1, line, o.Mask ? DI_FIXEDIT : DI_EDIT,
                 o.Mask ? static_cast<unsigned>(DIF_MASKEDIT) : 0u, o.Value.c_str(), 0);
      if (o.Mask) it.Param.Mask = o.Mask;
      state.ItemOf[row] = n++;
    };
    switch (o.Kind) {
      case OptionKind::GroupTitle:
        break;
      case OptionKind::Separator: {
        std::string t = TrimRight(c);
        std::string line = kFill + t + std::string(static_cast<size_t>(Max(0, width + 1 - static_cast<int>(t.size()))), kFill);
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 1, y, kX0 + width + 2, y, DI_TEXT, DIF_BOXCOLOR, line.c_str(), 0);
        ++y;
        break;
      }
      case OptionKind::Text:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + width + 1, y, DI_TEXT, 0, c.c_str(), 0);
        ++y;
        break;
      case OptionKind::Check:
        SetDlgItem(items[static_cast<size_t>(n)], kX0 + 2, y, kX0 + width + 1, y, DI_CHECKBOX, 0, c.c_str(),
                   o.Value.empty() ? 0 : 1);
        state.ItemOf[row] = n++;
        ++y;
        break;
      case OptionKind::Edit:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + 1 + len, y, DI_TEXT, 0, c.c_str(), 0);
        edit(kX0 + 2 + len, y);
        ++y;
        break;
      case OptionKind::EditBelow:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + width + 1, y, DI_TEXT, 0, c.c_str(), 0);
        edit(kX0 + 2, y + 1);
        y += 2;
        break;
      case OptionKind::ListButton: {
        std::string b = o.LabelWidth > 0 ? PadRightTo(Msg(o.Caption), o.LabelWidth - 4) : Trim(Msg(o.Caption));
        state.WorkValue[row] = o.Value;
        SetDlgItem(items[static_cast<size_t>(n)], kX0 + 2, y, 0, y, DI_BUTTON, DIF_BTNNOCLOSE, b.c_str(), 0);
        state.ItemOf[row] = n++;
        ++y;
        break;
      }
    }
  }
  const std::string rule(static_cast<size_t>(width + 2), kFill);
  SetDlgItem(items[static_cast<size_t>(count - 4)], kX0 + 1, kY0 + lines - 1, kX0 + width + 2, kY0 + lines - 1,
             DI_TEXT, DIF_BOXCOLOR, rule.c_str(), 0);
  for (int i = 0; i < 3; ++i)
    SetDlgItem(items[static_cast<size_t>(count - 3 + i)], 0, kY0 + lines, 0, kY0 + lines, DI_BUTTON,
               DIF_CENTERGROUP, Msg(buttons[i]), 0);
  items[static_cast<size_t>(count - 3)].DefaultButton = 1;

  int closed = FarApi().DialogEx(FarInfo().ModuleNumber, -1, -1, kX0 + width + 3 + kX0 + 1,
                                 kY0 + lines + 1 + kY0 + 1, "Configure", items.data(), count, 0, 0,
                                 OptionDlgProc, 0);
  if (closed != count - 3 && closed != count - 2) return;
  for (size_t row = 0; row < options.size(); ++row) {
    TxxPluginOption& o = options[row];
    if (o.Group != group || state.ItemOf[row] < 0) continue;
    const FarDialogItem& it = items[static_cast<size_t>(state.ItemOf[row])];
    switch (o.Kind) {
      case OptionKind::Check: o.Value = it.Param.Selected ? "+" : ""; break;
      case OptionKind::Edit:
      case OptionKind::EditBelow: o.Value = std::string(it.Data, strnlen(it.Data, 512)); break;
      case OptionKind::ListButton: o.Value = state.WorkValue[row]; break;
      default: break;
    }
  }
  if (closed == count - 3) SaveOptions(group);
}

}  // namespace vemlo
