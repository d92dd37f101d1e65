// The structure review's menu loop over the entries of the review.
#include "fox/views/structure_menu.h"

#include <array>

#include "host/xxfar.h"
#include "platform/platform.h"
#include "shell/vemlolib.h"

namespace vemlo {

namespace {

struct TxxCategory {
  int Msg;
  unsigned Flags;
};

constexpr std::array<TxxCategory, 10> kCategories = {{
    {68, efCondOpen | efCondBranch | efCondClose},
    {69, efLoopOpen | efLoopJump | efLoopClose},
    {70, efExit},
    {71, efCall},
    {72, efPairOpen | efPairClose},
    {73, efKeyword},
    {74, efStatement},
    {75, efComment},
    {76, efDirective},
    {77, efBookmark},
}};
constexpr size_t kRows = kCategories.size();

unsigned AllCategoryFlags() {
  unsigned all = 0;
  for (const TxxCategory& c : kCategories) all |= c.Flags;
  return all;
}

// Kept for as long as the plug-in stays loaded.
struct CategoryState {
  std::array<bool, kRows> Visible{};
  std::array<bool, kRows> Initialized{};
};
CategoryState g_categories;

// A key no keyboard sends: stands in for a category text without a key, since
// a 0 would end the break-key list early.
constexpr int kNoKey = 0xFF;

enum : int {
  bkPrint = 10, bkAll = 11, bkNone = 12, bkLeft = 13, bkRight = 14, bkHome = 15, bkEnd = 16,
  bkCtrlLeft = 17, bkCtrlRight = 18, bkCtrlUp = 19, bkCtrlDown = 20, bkPlus = 21, bkMinus = 22,
};
// "+" and "-" of the main keyboard act as Gray+ and Gray-, for keyboards and
// terminals without a keypad.
constexpr int kPlusKey = (PKF_SHIFT << 16) | 0xBB, kMinusKey = 0xBD;
constexpr int kMaxOffset = 1000;
const char* const kBottom = "<Ctrl-P>Print <Left,Right,Home,End>HScroll <Ctrl-Up,Ctrl-Dn>Prev/Next";

int Ctrl(int vk) { return (PKF_CONTROL << 16) | vk; }

void WriteListing(const TxxLangStructItemArr& entries, const std::vector<TxxStructMenuItem>& items) {
  FarTempFile temp;
  if (!temp.Valid()) return;
  {
    platform::OutFile out;
    if (!out.Create(temp.Name())) return;
    for (const TxxStructMenuItem& item : items) {
      const TxxLangStructItem& e = entries[item.Entry];
      std::string number = IntToStr(e.Line + 1LL);
      if (number.size() < 6) number.append(6 - number.size(), ' ');
      out.Write(number + e.Graph + e.Text + "\r\n");
    }
    if (!out.Close()) return;
  }
  FarApi().Editor(temp.Name().c_str(), "", 0, 0, -1, -1, 0, 1, 1);
}

// The nearest shown item from `from` in direction dir with the same Anchor.
int SameAnchor(const TxxLangStructItemArr& entries, const std::vector<TxxStructMenuItem>& items,
               int from, int dir) {
  const int anchor = entries[items[from].Entry].Anchor;
  for (int i = from + dir; i >= 0 && i < static_cast<int>(items.size()); i += dir)
    if (entries[items[i].Entry].Anchor == anchor) return i;
  return -1;
}

}  // namespace

TxxCategoryKey ParseCategoryKey(const std::string& text) {
  TxxCategoryKey key;
  const size_t plus = text.find('+');
  const size_t minus = text.find('-');
  const int p = plus == std::string::npos ? 0 : static_cast<int>(plus) + 1;
  const int m = minus == std::string::npos ? 0 : static_cast<int>(minus) + 1;
  key.SignPos = Max(p, m);
  if (!text.empty() && (text[0] == 'F' || text[0] == 'f') && key.SignPos >= 3) {
    int n = 0;
    if (!TryStrToInt(Trim(text.substr(1, static_cast<size_t>(key.SignPos) - 2)), n)) n = 13;
    key.KeyCode = 111 + n;
  } else {
    key.KeyCode = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
  }
  return key;
}

bool StructEntryShown(const TxxLangStructItem& e, const std::vector<bool>& visible) {
  if (e.Flags & ~AllCategoryFlags()) return true;
  for (size_t r = 0; r < kRows && r < visible.size(); ++r)
    if (visible[r] && (e.Flags & kCategories[r].Flags)) return true;
  return false;
}

std::vector<TxxStructMenuItem> BuildStructMenuItems(const TxxLangStructItemArr& entries,
                                                    const std::vector<bool>& visible,
                                                    bool bookmarksShown, int offset) {
  std::vector<TxxStructMenuItem> items;
  bool pendingSelection = false;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TxxLangStructItem& e = entries[i];
    if (!StructEntryShown(e, visible)) {
      pendingSelection = pendingSelection || e.Selected;
      continue;
    }
    TxxStructMenuItem item;
    item.Text = PadLeftTo(IntToStr(e.Line + 1LL), 5);
    if (bookmarksShown) {
      if (e.Flags & efBookmark) {
        item.Text += " (&" + IntToStr(e.BookmarkNo).substr(0, 1) + ")";
      } else {
        item.Text += "  &  ";
      }
    }
    item.Text += " ";
    const std::string body = e.Graph + e.Text;
    if (offset < static_cast<int>(body.size())) item.Text += body.substr(static_cast<size_t>(Max(0, offset)));
    if (item.Text.size() > 127) item.Text.resize(127);
    item.Check = e.Mark;
    item.Selected = e.Selected || pendingSelection;
    pendingSelection = false;
    item.Entry = static_cast<int>(i);
    items.push_back(std::move(item));
  }
  return items;
}

int RunStructMenu(TxxLangStructItemArr& entries, bool bookmarksShown, int windowWidth) {
  std::array<std::string, kRows> texts;
  std::array<TxxCategoryKey, kRows> keys;
  for (size_t r = 0; r < kRows; ++r) {
    texts[r] = Msg(kCategories[r].Msg);
    keys[r] = ParseCategoryKey(texts[r]);
    if (!g_categories.Initialized[r]) {
      g_categories.Visible[r] = keys[r].SignPos > 0 && texts[r][keys[r].SignPos - 1] == '+';
      g_categories.Initialized[r] = true;
    }
  }
  std::vector<int> breakKeys;
  for (const TxxCategoryKey& k : keys) breakKeys.push_back(k.KeyCode == 0 ? kNoKey : k.KeyCode);
  for (int k : {Ctrl('P'), int(VK_ADD), int(VK_SUBTRACT), int(VK_LEFT), int(VK_RIGHT), int(VK_HOME),
                int(VK_END), Ctrl(VK_LEFT), Ctrl(VK_RIGHT), Ctrl(VK_UP), Ctrl(VK_DOWN), kPlusKey, kMinusKey})
    breakKeys.push_back(k);
  breakKeys.push_back(0);

  int offset = 0;
  for (;;) {
    const std::vector<bool> visible(g_categories.Visible.begin(), g_categories.Visible.end());
    const std::vector<TxxStructMenuItem> items =
        BuildStructMenuItems(entries, visible, bookmarksShown, offset);
    std::vector<FarMenuItem> menu(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      SetMenuItemText(menu[i], items[i].Text);
      menu[i].Checked = items[i].Check == ' ' ? 0 : static_cast<unsigned char>(items[i].Check);
      menu[i].Selected = items[i].Selected;
    }
    std::string title;
    for (size_t r = 0; r < kRows; ++r) {
      std::string t = texts[r];
      if (keys[r].SignPos > 0) t[keys[r].SignPos - 1] = g_categories.Visible[r] ? '+' : '-';
      title += " " + t;
    }
    title = Trim(title);
    int breakCode = -1;
    int current = FarApi().Menu(FarInfo().ModuleNumber, -1, -1, 0,
                                bookmarksShown ? 0u : FMENU_SHOWAMPERSAND, title.c_str(), kBottom,
                                "LangStructure", breakKeys.data(), &breakCode, menu.data(),
                                static_cast<int>(menu.size()));
    if (current >= static_cast<int>(items.size())) current = -1;
    if (breakCode < 0) return current >= 0 ? items[current].Entry : -1;

    if (breakCode < static_cast<int>(kRows)) {
      g_categories.Visible[breakCode] = !g_categories.Visible[breakCode];
    } else {
      switch (breakCode) {
        case bkPrint: WriteListing(entries, items); break;
        case bkAll:
        case bkPlus: g_categories.Visible.fill(true); break;
        case bkNone:
        case bkMinus: g_categories.Visible.fill(false); break;
        case bkLeft: offset = Max(0, offset - 4); break;
        case bkRight: offset = Min(kMaxOffset, offset + 4); break;
        case bkHome: offset = 0; break;
        case bkEnd:
          if (current >= 0) {
            const TxxLangStructItem& e = entries[items[current].Entry];
            offset = Max(0, static_cast<int>(e.Graph.size() + TrimRight(e.Text).size()) + 20 -
                                windowWidth);
          }
          break;
        case bkCtrlUp:
        case bkCtrlDown: {
          const int dir = breakCode == bkCtrlUp ? -1 : 1;
          if (current < 0) break;
          const bool atEdge = dir < 0 ? current == 0 : current == static_cast<int>(items.size()) - 1;
          if (atEdge) break;
          const int target = SameAnchor(entries, items, current, dir);
          if (target < 0) {
            SignalBeep();
          } else {
            current = target;
          }
          break;
        }
        default: break;
      }
    }
    for (TxxLangStructItem& e : entries) e.Selected = false;
    if (current >= 0) entries[items[current].Entry].Selected = true;
  }
}

void JumpToStructEntry(const TxxLangStructItem& e) {
  EditorSetPosition pos;
  pos.CurLine = e.Line;
  pos.CurPos = e.Col;
  pos.TopScreenLine = e.Line - e.ScreenLine;
  pos.LeftPos = e.LeftPos;
  FarApi().EditorControl(ECTL_SETPOSITION, &pos);
  FarRedraw();
}

void ResetStructCategories() { g_categories = CategoryState{}; }

}  // namespace vemlo
