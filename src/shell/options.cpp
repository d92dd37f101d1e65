// Option values: registry storage, look-up by name, the group menu and dialogs.
#include <cstring>

#include "host/xxfar.h"
#include "platform/platform.h"
#include "shell/vemlocfg.h"
#include "shell/vemlolib.h"

namespace vemlo {

namespace {

constexpr int kX0 = 3;
constexpr int kY0 = 1;
constexpr char kFill = '\xC4';

int g_lastGroup = 0;    // the group menu opens on the last chosen group
int g_dialogGroup = -1; // the group whose dialog is open, for the dialog procedure

std::string CaptionText(const TxxPluginOption& o) {
  std::string c = Msg(o.Caption);
  return o.LabelWidth > 0 ? PadRightTo(c, o.LabelWidth) : c;
}

TxxPluginOption* OptionOfItem(int item) {
  if (item < 0) return nullptr;
  for (TxxPluginOption& o : PluginOptions())
    if (o.Group == g_dialogGroup && o.ItemIndex == item) return &o;
  return nullptr;
}

intptr_t OptionDlgProcImpl(HANDLE dlg, int msg, int param1, intptr_t param2) {
  intptr_t result = FarApi().DefDlgProc(dlg, msg, param1, param2);
  TxxPluginOption* option = OptionOfItem(param1);
  if (msg == DN_BTNCLICK && option && option->Kind == okListButton) {
    SMALL_RECT rect;
    FarApi().SendDlgMessage(dlg, DM_GETDLGRECT, 0, reinterpret_cast<intptr_t>(&rect));
    FarDialogItem frame;
    FarApi().SendDlgMessage(dlg, DM_GETDLGITEM, 0, reinterpret_cast<intptr_t>(&frame));
    FarEditText(option->WorkValue, "\x0C", Msg(option->Caption), rect.Left + frame.X1 + 1,
                rect.Top + frame.Y1 + 1, rect.Left + frame.X2 - 1, rect.Top + frame.Y2 - 1, 0, 0);
  } else if (msg == DN_HELP && option && !option->Name.empty()) {
    result = reinterpret_cast<intptr_t>(option->Name.c_str());
  }
  return result;
}

}  // namespace

intptr_t OptionDlgProc(HANDLE dlg, int msg, int param1, intptr_t param2) {
  return OptionDlgProcImpl(dlg, msg, param1, param2);
}

std::string OptionsKey() { return FarInfo().RootKey + "\\" + SettingsKeyName; }

void LoadOptions() {
  const std::string key = OptionsKey();
  if (!platform::RegKeyExists(key)) return;
  for (TxxPluginOption& o : PluginOptions()) {
    if (o.Name.empty()) continue;
    std::optional<std::string> value = platform::RegQueryString(key, o.Name);
    if (!value) continue;
    size_t nul = value->find('\0');
    o.Value = nul == std::string::npos ? *value : value->substr(0, nul);
  }
}

void SaveOptions(int group) {
  const std::string key = OptionsKey();
  for (const TxxPluginOption& o : PluginOptions())
    if (o.Group == group && !o.Name.empty()) platform::RegSetString(key, o.Name, o.Value);
}

std::string CfgParam(const std::string& name) {
  for (const TxxPluginOption& o : PluginOptions())
    if (!o.Name.empty() && o.Name == name) return o.Value;
  FarMessage("Configure", {Msg(0), "internal error in function CfgParam", "unknown ParamName:", name}, 0,
             FMSG_WARNING | FMSG_MB_OK);
  return "";
}

void ConfigureOptions() {
  int groups = 0;
  for (const TxxPluginOption& o : PluginOptions()) groups = Max(groups, o.Group + 1);
  std::vector<std::string> items(static_cast<size_t>(groups));
  for (const TxxPluginOption& o : PluginOptions())
    if (o.Kind == okGroupTitle) items[static_cast<size_t>(o.Group)] = Msg(o.Caption);
  for (;;) {
    int chosen = FarMenu("Configure", items, g_lastGroup, Msg(0), FMENU_WRAPMODE);
    if (chosen < 0) return;
    g_lastGroup = chosen;
    EditOptionGroup(chosen);
  }
}

void EditOptionGroup(int group) {
  std::vector<TxxPluginOption>& options = PluginOptions();
  std::string title = Msg(0);
  int width = static_cast<int>(std::strlen(Msg(119)) + std::strlen(Msg(120)) + std::strlen(Msg(113))) + 16;
  int count = 0, lines = 0;
  for (const TxxPluginOption& o : options) {
    if (o.Group != group) continue;
    const int m = o.LabelWidth != 0 ? o.LabelWidth : static_cast<int>(std::strlen(Msg(o.Caption)));
    switch (o.Kind) {
      case okGroupTitle: title += std::string(" - ") + Msg(o.Caption); break;
      case okSeparator:
      case okText: count += 1; lines += 1; width = Max(width, m); break;
      case okCheck:
      case okListButton: count += 1; lines += 1; width = Max(width, m + 4); break;
      case okEdit: count += 2; lines += 1; width = Max(width, m + o.EditWidth); break;
      case okEditBelow: count += 2; lines += 2; width = Max(width, Max(m, o.EditWidth)); break;
    }
  }
  if (count == 0) return;
  lines += 2;
  count += 5;

  std::vector<FarDialogItem> items(static_cast<size_t>(count));
  SetDlgItem(items[0], kX0, kY0, kX0 + width + 3, kY0 + lines + 1, DI_DOUBLEBOX, 0, title.c_str(), 0);
  int n = 1, y = kY0 + 1;
  for (TxxPluginOption& o : options) {
    o.ItemIndex = -1;
    if (o.Group != group) continue;
    std::string c = CaptionText(o);
    const int len = static_cast<int>(c.size());
    auto edit = [&](int x, int row) {
      FarDialogItem& it = items[static_cast<size_t>(n)];
      SetDlgItem(it, x, row, x + o.EditWidth - 1, row, o.Mask ? DI_FIXEDIT : DI_EDIT,
                 o.Mask ? static_cast<unsigned>(DIF_MASKEDIT) : 0u, o.Value.c_str(), 0);
      if (o.Mask) it.Param.Mask = o.Mask;
      o.ItemIndex = n++;
    };
    switch (o.Kind) {
      case okGroupTitle:
        break;
      case okSeparator: {
        std::string t = TrimRight(c);
        std::string line = kFill + t + std::string(static_cast<size_t>(Max(0, width + 1 - static_cast<int>(t.size()))), kFill);
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 1, y, kX0 + width + 2, y, DI_TEXT, DIF_BOXCOLOR, line.c_str(), 0);
        ++y;
        break;
      }
      case okText:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + width + 1, y, DI_TEXT, 0, c.c_str(), 0);
        ++y;
        break;
      case okCheck:
        SetDlgItem(items[static_cast<size_t>(n)], kX0 + 2, y, kX0 + width + 1, y, DI_CHECKBOX, 0, c.c_str(),
                   o.Value.empty() ? 0 : 1);
        o.ItemIndex = n++;
        ++y;
        break;
      case okEdit:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + 1 + len, y, DI_TEXT, 0, c.c_str(), 0);
        edit(kX0 + 2 + len, y);
        ++y;
        break;
      case okEditBelow:
        SetDlgItem(items[static_cast<size_t>(n++)], kX0 + 2, y, kX0 + width + 1, y, DI_TEXT, 0, c.c_str(), 0);
        edit(kX0 + 2, y + 1);
        y += 2;
        break;
      case okListButton: {
        std::string b = o.LabelWidth > 0 ? PadRightTo(Msg(o.Caption), o.LabelWidth - 4) : Trim(Msg(o.Caption));
        o.WorkValue = o.Value;
        SetDlgItem(items[static_cast<size_t>(n)], kX0 + 2, y, 0, y, DI_BUTTON, DIF_BTNNOCLOSE, b.c_str(), 0);
        o.ItemIndex = n++;
        ++y;
        break;
      }
    }
  }
  const std::string rule(static_cast<size_t>(width + 2), kFill);
  SetDlgItem(items[static_cast<size_t>(count - 4)], kX0 + 1, kY0 + lines - 1, kX0 + width + 2, kY0 + lines - 1,
             DI_TEXT, DIF_BOXCOLOR, rule.c_str(), 0);
  const int buttons[3] = {119, 120, 113};
  for (int i = 0; i < 3; ++i)
    SetDlgItem(items[static_cast<size_t>(count - 3 + i)], 0, kY0 + lines, 0, kY0 + lines, DI_BUTTON,
               DIF_CENTERGROUP, Msg(buttons[i]), 0);
  items[static_cast<size_t>(count - 3)].DefaultButton = 1;

  g_dialogGroup = group;
  struct GroupReset {
    ~GroupReset() { g_dialogGroup = -1; }
  } reset;
  int closed = FarApi().DialogEx(FarInfo().ModuleNumber, -1, -1, kX0 + width + 3 + kX0 + 1,
                                 kY0 + lines + 1 + kY0 + 1, "Configure", items.data(), count, 0, 0,
                                 OptionDlgProc, 0);
  if (closed == count - 3 || closed == count - 2) {
    for (TxxPluginOption& o : options) {
      if (o.Group != group || o.ItemIndex < 0) continue;
      const FarDialogItem& it = items[static_cast<size_t>(o.ItemIndex)];
      switch (o.Kind) {
        case okCheck: o.Value = it.Param.Selected ? "+" : ""; break;
        case okEdit:
        case okEditBelow: o.Value = std::string(it.Data, strnlen(it.Data, 512)); break;
        case okListButton: o.Value = o.WorkValue; break;
        default: break;
      }
    }
    if (closed == count - 3) SaveOptions(group);
  }
  for (TxxPluginOption& o : options) {
    if (o.Group == group) o.WorkValue.clear();
    o.ItemIndex = -1;
  }
}

}  // namespace vemlo
