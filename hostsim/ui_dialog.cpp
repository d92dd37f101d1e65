// The host's dialog: items laid out relative to the dialog's corner, a focus
// that walks the edits, buttons and check boxes, and a dialog procedure that is
// told of button presses and help requests.
#include <algorithm>
#include <cstring>
#include <vector>

#include "ui.h"
#include "ui_draw.h"
#include "ui_edit.h"

namespace vemlo::sim {
namespace {

struct Dialog {
  UiEnv* Env = nullptr;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  std::vector<FarDialogItem> Items;  // working copies: current text, state, laid-out X
  std::vector<LineEdit> Edits;       // one per item; used by edit items only
  int Focus = -1;
};

// Running dialogs, innermost last; a handle is the address of one of them.
std::vector<Dialog*> g_running;

Dialog* FromHandle(HANDLE h) {
  for (Dialog* d : g_running)
    if (d == h) return d;
  return nullptr;
}

bool IsEdit(const FarDialogItem& it) {
  return it.Type == DI_EDIT || it.Type == DI_FIXEDIT || it.Type == DI_PSWEDIT;
}
bool IsFocusable(const FarDialogItem& it) {
  return IsEdit(it) || it.Type == DI_BUTTON || it.Type == DI_CHECKBOX;
}
bool IsMasked(const FarDialogItem& it) {
  return it.Type == DI_FIXEDIT && (it.Flags & DIF_MASKEDIT) && it.Param.Mask && *it.Param.Mask;
}

std::string DataOf(const FarDialogItem& it) { return std::string(it.Data, strnlen(it.Data, sizeof it.Data)); }

void SetData(FarDialogItem& it, const std::string& text) {
  size_t n = std::min(text.size(), sizeof it.Data - 1);
  memcpy(it.Data, text.data(), n);
  it.Data[n] = 0;
}

std::string ButtonText(const FarDialogItem& it) { return "[ " + DataOf(it) + " ]"; }

int CaptionWidth(const FarDialogItem& it) {
  return static_cast<int>(ParseHotText(ButtonText(it), false).Shown.size());
}

// Buttons flagged DIF_CENTERGROUP on one row are spread as a group across the dialog.
void CentreGroups(Dialog& d) {
  const int width = d.X2 - d.X1 + 1;
  std::vector<int> rows;
  for (const FarDialogItem& it : d.Items)
    if ((it.Flags & DIF_CENTERGROUP) && it.Type == DI_BUTTON) rows.push_back(it.Y1);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int row : rows) {
    int total = -1;
    for (const FarDialogItem& it : d.Items)
      if ((it.Flags & DIF_CENTERGROUP) && it.Type == DI_BUTTON && it.Y1 == row)
        total += CaptionWidth(it) + 1;
    int x = std::max((width - total) / 2, 0);
    for (FarDialogItem& it : d.Items)
      if ((it.Flags & DIF_CENTERGROUP) && it.Type == DI_BUTTON && it.Y1 == row) {
        it.X1 = x;
        it.X2 = x + CaptionWidth(it) - 1;
        x += CaptionWidth(it) + 1;
      }
  }
}

int EditWidth(const FarDialogItem& it) {
  if (IsMasked(it)) return static_cast<int>(strlen(it.Param.Mask));
  return std::max(it.X2 - it.X1 + 1, 1);
}

void Draw(Dialog& d) {
  UiEnv& env = *d.Env;
  Console& con = *env.Screen;
  const unsigned char text = UiColor(env, COL_DIALOGTEXT);
  const unsigned char hot = UiColor(env, COL_DIALOGHIGHLIGHTTEXT);
  const unsigned char frame = text, editAttr = 0x30, focusButton = 0x30;
  con.CursorVisible = false;
  con.Fill(d.X1, d.Y1, d.X2, d.Y2, ' ', text);
  const int width = d.X2 - d.X1 + 1;
  for (size_t i = 0; i < d.Items.size(); ++i) {
    FarDialogItem& it = d.Items[i];
    const bool focused = static_cast<int>(i) == d.Focus;
    const int x = d.X1 + it.X1, y = d.Y1 + it.Y1;
    const std::string data = DataOf(it);
    switch (it.Type) {
      case DI_TEXT: {
        const unsigned char a = (it.Flags & DIF_BOXCOLOR) ? frame : text;
        std::string t = CutTo(data, width);
        const int tx = it.X1 < 0 ? d.X1 + (width - static_cast<int>(t.size())) / 2 : x;
        con.Put(tx, y, a, CutTo(t, d.X2 - tx + 1));
        break;
      }
      case DI_VTEXT:
        for (size_t k = 0; k < data.size(); ++k)
          con.PutChar(x, y + static_cast<int>(k), text, static_cast<unsigned char>(data[k]));
        break;
      case DI_SINGLEBOX:
      case DI_DOUBLEBOX: {
        const int bx2 = d.X1 + it.X2, by2 = d.Y1 + it.Y2;
        DrawBox(con, x, y, bx2, by2, frame, it.Type == DI_DOUBLEBOX);
        DrawBorderText(con, x, bx2, y, data, frame);
        break;
      }
      case DI_EDIT:
      case DI_PSWEDIT:
      case DI_FIXEDIT:
        break;  // drawn last, so that the focused one holds the cursor
      case DI_BUTTON:
        PutHotText(con, x, y, ParseHotText(ButtonText(it), false), d.X2 - x + 1,
                   focused ? focusButton : text, focused ? focusButton : hot);
        break;
      case DI_CHECKBOX: {
        std::string box = it.Param.Selected ? "[x] " : "[ ] ";
        con.Put(x, y, text, box);
        PutHotText(con, x + 4, y, ParseHotText(data, false), d.X2 - x - 3, text, hot);
        break;
      }
      default: break;
    }
  }
  for (size_t i = 0; i < d.Items.size(); ++i) {
    FarDialogItem& it = d.Items[i];
    if (!IsEdit(it)) continue;
    DrawLineEdit(con, d.Edits[i], d.X1 + it.X1, d.Y1 + it.Y1, EditWidth(it), editAttr,
                 static_cast<int>(i) == d.Focus);
  }
  if (d.Focus >= 0 && d.Items[d.Focus].Type == DI_CHECKBOX) {
    con.CursorX = d.X1 + d.Items[d.Focus].X1 + 1;
    con.CursorY = d.Y1 + d.Items[d.Focus].Y1;
    con.CursorVisible = true;
  }
  DrawShadow(con, d.X1, d.Y1, d.X2, d.Y2);
}

// Copies the edits' current text into the working items.
void SyncEdits(Dialog& d) {
  for (size_t i = 0; i < d.Items.size(); ++i)
    if (IsEdit(d.Items[i])) SetData(d.Items[i], d.Edits[i].Text);
}

int MoveFocus(const Dialog& d, int dir) {
  const int n = static_cast<int>(d.Items.size());
  for (int k = 1; k <= n; ++k) {
    int i = ((d.Focus < 0 ? (dir > 0 ? -1 : 0) : d.Focus) + dir * k) % n;
    if (i < 0) i += n;
    if (IsFocusable(d.Items[i])) return i;
  }
  return d.Focus;
}

int DefaultButton(const Dialog& d) {
  for (size_t i = 0; i < d.Items.size(); ++i)
    if (d.Items[i].DefaultButton) return static_cast<int>(i);
  return d.Focus;
}

bool HasHistory(const FarDialogItem& it) {
  return it.Type == DI_EDIT && (it.Flags & DIF_HISTORY) && it.Param.History && *it.Param.History;
}

// Ctrl+Up/Down on an edit with a history: a menu of its earlier entries.
void PickFromHistory(UiEnv& env, const FarDialogItem& it, LineEdit& edit) {
  if (!env.History) return;
  auto found = env.History->find(it.Param.History);
  if (found == env.History->end() || found->second.empty()) return;
  const std::vector<std::string> entries = found->second;
  std::vector<FarMenuItem> items(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t n = std::min(entries[i].size(), sizeof items[i].Text - 1);
    memcpy(items[i].Text, entries[i].data(), n);
  }
  items[0].Selected = 1;
  const int chosen = RunMenu(env, -1, -1, 0, FMENU_SHOWAMPERSAND | FMENU_WRAPMODE, "History", "", "",
                             nullptr, nullptr, items.data(), static_cast<int>(items.size()));
  if (chosen >= 0) edit = MakeLineEdit(entries[chosen], edit.MaxLength);
}

// Pops the dialog off the running stack however the key loop ends.
struct Running {
  explicit Running(Dialog* d) { g_running.push_back(d); }
  ~Running() { g_running.pop_back(); }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;
};

}  // namespace

int RunDialog(UiEnv& env, int x1, int y1, int x2, int y2, const std::string& helpTopic,
              FarDialogItem* items, int count, FarDialogProc proc, intptr_t /*param*/) {
  if (!env.Screen) return -1;
  Console& con = *env.Screen;
  if (!items) count = 0;
  count = std::max(count, 0);
  Dialog d;
  d.Env = &env;
  const bool centred = x1 == -1 && y1 == -1;
  auto centre = [&] {
    const int w = std::clamp(x2, 1, con.Width()), h = std::clamp(y2, 1, con.Height());
    d.X1 = (con.Width() - w) / 2;
    d.Y1 = (con.Height() - h) / 2;
    d.X2 = d.X1 + w - 1;
    d.Y2 = d.Y1 + h - 1;
  };
  if (centred) {
    centre();
  } else {
    d.X1 = x1;
    d.Y1 = y1;
    d.X2 = std::max(x2, x1);
    d.Y2 = std::max(y2, y1);
  }
  d.Items.assign(items, items + count);
  d.Edits.resize(count);
  for (int i = 0; i < count; ++i) {
    FarDialogItem& it = d.Items[i];
    it.Data[sizeof it.Data - 1] = 0;
    if (IsMasked(it))
      d.Edits[i] = MakeMaskedEdit(DataOf(it), it.Param.Mask);
    else if (IsEdit(it))
      // A fixed-width field without a mask holds no more than it shows.
      d.Edits[i] = MakeLineEdit(DataOf(it), it.Type == DI_FIXEDIT
                                                ? static_cast<size_t>(EditWidth(it))
                                                : sizeof it.Data - 1);
    d.Edits[i].Password = it.Type == DI_PSWEDIT;
    d.Edits[i].Fresh = HasHistory(it) && !d.Edits[i].Text.empty();
  }
  CentreGroups(d);
  for (int i = 0; i < count && d.Focus < 0; ++i)
    if (d.Items[i].Focus && IsFocusable(d.Items[i])) d.Focus = i;
  if (d.Focus < 0) d.Focus = MoveFocus(d, 1);

  ScreenGuard guard(env, d.X1, d.Y1, d.X2, d.Y2);
  Running running(&d);
  HANDLE self = &d;
  auto send = [&](int msg, int p1, intptr_t p2) {
    SyncEdits(d);
    return proc ? proc(self, msg, p1, p2) : DialogDefProc(self, msg, p1, p2);
  };

  int result = -1;
  for (;;) {
    Draw(d);
    KEY_EVENT_RECORD key;
    bool resized;
    if (!NextKeyOrResize(env, key, resized)) break;
    if (resized) {
      if (centred) centre();
      continue;
    }
    const int vk = key.wVirtualKeyCode;
    const int mods = ModifierBits(key.dwControlKeyState);
    FarDialogItem* focused = d.Focus >= 0 ? &d.Items[d.Focus] : nullptr;
    if (vk == VK_ESCAPE) break;
    if ((vk == VK_UP || vk == VK_DOWN) && mods == PKF_CONTROL && focused && HasHistory(*focused)) {
      PickFromHistory(env, *focused, d.Edits[d.Focus]);
      continue;
    }
    if (vk == VK_F1) {
      intptr_t topic = send(DN_HELP, d.Focus, reinterpret_cast<intptr_t>(helpTopic.c_str()));
      if (topic != 0) {
        std::string name(reinterpret_cast<const char*>(topic));
        if (!name.empty() && env.Help) env.Help(name);
      }
      continue;
    }
    if (vk == VK_TAB || vk == VK_DOWN || vk == VK_UP) {
      const bool back = vk == VK_UP || (vk == VK_TAB && (mods & PKF_SHIFT));
      d.Focus = MoveFocus(d, back ? -1 : 1);
      continue;
    }
    const bool press = vk == VK_RETURN || (vk == VK_SPACE && focused && focused->Type == DI_BUTTON);
    if (press && focused && focused->Type == DI_BUTTON) {
      const int index = d.Focus;
      send(DN_BTNCLICK, index, 0);
      // The procedure may have run something modal over the dialog: Draw repaints.
      if (!(d.Items[index].Flags & DIF_BTNNOCLOSE)) {
        result = index;
        break;
      }
      continue;
    }
    if (vk == VK_RETURN) {
      result = DefaultButton(d);
      break;
    }
    if (!focused) continue;
    if (focused->Type == DI_CHECKBOX && vk == VK_SPACE) {
      focused->Param.Selected = !focused->Param.Selected;
      send(DN_BTNCLICK, d.Focus, focused->Param.Selected);
      continue;
    }
    if (IsEdit(*focused)) EditKey(d.Edits[d.Focus], key);
  }

  SyncEdits(d);
  if (result >= 0 && env.History)
    for (const FarDialogItem& it : d.Items)
      if (HasHistory(it) && it.Data[0]) RememberHistory((*env.History)[it.Param.History], DataOf(it));
  // The host writes the current text and check states back into the caller's items.
  for (int i = 0; i < count; ++i) {
    if (IsEdit(d.Items[i])) memcpy(items[i].Data, d.Items[i].Data, sizeof items[i].Data);
    if (d.Items[i].Type == DI_CHECKBOX) items[i].Param.Selected = d.Items[i].Param.Selected;
  }
  return result;
}

intptr_t DialogSendMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  Dialog* d = FromHandle(hDlg);
  if (!d) return 0;
  switch (msg) {
    case DM_GETDLGRECT: {
      auto* r = reinterpret_cast<SMALL_RECT*>(param2);
      if (!r) return 0;
      r->Left = static_cast<short>(d->X1);
      r->Top = static_cast<short>(d->Y1);
      r->Right = static_cast<short>(d->X2);
      r->Bottom = static_cast<short>(d->Y2);
      return 1;
    }
    case DM_GETDLGITEM: {
      auto* out = reinterpret_cast<FarDialogItem*>(param2);
      if (!out || param1 < 0 || param1 >= static_cast<int>(d->Items.size())) return 0;
      SyncEdits(*d);
      *out = d->Items[param1];
      return 1;
    }
    default: return 0;
  }
}

intptr_t DialogDefProc(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  switch (msg) {
    case DN_HELP: return param2;
    case DN_BTNCLICK: return 1;
    default: return DialogSendMessage(hDlg, msg, param1, param2);
  }
}

}  // namespace vemlo::sim
