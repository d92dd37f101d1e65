// The structure review (editor command 6): its menu over the entries of the review.
#include "fox/views/structure_menu.h"

#include <array>

#include "fox/model/project.h"
#include "host/context.h"
#include "host/editor_model.h"
#include "host/plugin_options.h"
#include "host/xxfar.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

struct TxxCategory {
  MsgId Msg;
  unsigned Flags;
};

constexpr std::array<TxxCategory, 10> kCategories = {{
    {MsgId::ReviewCond, efCondOpen | efCondBranch | efCondClose},
    {MsgId::ReviewLoop, efLoopOpen | efLoopJump | efLoopClose},
    {MsgId::ReviewExit, efExit},
    {MsgId::ReviewCall, efCall},
    {MsgId::ReviewPair, efPairOpen | efPairClose},
    {MsgId::ReviewKeyword, efKeyword},
    {MsgId::ReviewStatement, efStatement},
    {MsgId::ReviewComment, efComment},
    {MsgId::ReviewDirective, efDirective},
    {MsgId::ReviewBookmark, efBookmark},
}};
constexpr size_t kRows = kCategories.size();

unsigned AllCategoryFlags() {
  unsigned all = 0;
  for (const TxxCategory& c : kCategories) all |= c.Flags;
  return all;
}

static_assert(kRows == kReviewCategories);

// A key no keyboard sends: stands in for a category text without a key, since
// a 0 would end the break-key list early.
constexpr int kNoKey = 0xFF;

enum : int {
  bkPrint = 10, bkAll = 11, bkNone = 12, bkLeft = 13, bkRight = 14, bkHome = 15, bkEnd = 16,
  bkCtrlLeft = 17, bkCtrlRight = 18, bkCtrlUp = 19, bkCtrlDown = 20,
};
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
  TxxReviewFilter& filter = Ctx().Review;
  std::array<std::string, kRows> texts;
  std::array<TxxCategoryKey, kRows> keys;
  for (size_t r = 0; r < kRows; ++r) {
    texts[r] = Msg(kCategories[r].Msg);
    keys[r] = ParseCategoryKey(texts[r]);
    if (!filter.Initialized[r]) {
      filter.Visible[r] = keys[r].SignPos > 0 && texts[r][keys[r].SignPos - 1] == '+';
      filter.Initialized[r] = true;
    }
  }
  TxxMenuCall call;
  call.HelpTopic = "LangStructure";
  call.Bottom = kBottom;
  call.Flags = bookmarksShown ? 0u : FMENU_SHOWAMPERSAND;
  for (const TxxCategoryKey& k : keys) call.BreakKeys.push_back(k.KeyCode == 0 ? kNoKey : k.KeyCode);
  for (int k : {Ctrl('P'), int(VK_ADD), int(VK_SUBTRACT), int(VK_LEFT), int(VK_RIGHT), int(VK_HOME),
                int(VK_END), Ctrl(VK_LEFT), Ctrl(VK_RIGHT), Ctrl(VK_UP), Ctrl(VK_DOWN)})
    call.BreakKeys.push_back(k);

  int offset = 0;
  for (;;) {
    const std::vector<bool> visible(filter.Visible.begin(), filter.Visible.end());
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
      if (keys[r].SignPos > 0) t[keys[r].SignPos - 1] = filter.Visible[r] ? '+' : '-';
      title += " " + t;
    }
    call.Title = Trim(title);
    const TxxMenuChoice choice = FarMenuCall(call, menu, -1);
    int current = choice.Item;
    const int breakCode = choice.BreakCode;
    if (breakCode < 0) return current >= 0 ? items[current].Entry : -1;

    if (breakCode < static_cast<int>(kRows)) {
      filter.Visible[breakCode] = !filter.Visible[breakCode];
    } else {
      switch (breakCode) {
        case bkPrint: WriteListing(entries, items); break;
        case bkAll: filter.Visible.fill(true); break;
        case bkNone: filter.Visible.fill(false); break;
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
  FarJumpTo(TxxEditorJump{e.Line, e.Col, e.Line - e.ScreenLine, e.LeftPos}, true);
}

void ResetStructCategories() { Ctx().Review = TxxReviewFilter{}; }

void ShowStructureReview() {
  const TxxFoxProj& proj = FoxProj();
  const TxxInsight& insight = Insight();
  if (!CursorProc(proj, insight)) return;

  const TxxReviewOptions options = ReadReviewOptions(PluginOptions());
  TxxLangStructItemArr entries;
  int width = 80;
  bool bookmarksShown = false;
  {
    FarSavedPos saved;  // reading the statements moves the cursor
    TxxStructInput in;
    in.Statements = &insight.Statements;
    in.Read = EditorLineReader();
    in.IsProc = [&proj](const std::string& name) {
      int file = -1, proc = -1;
      return FindFoxProc(name, proj, file, proc);
    };
    if (options.ShowBookmarks) FarGetBookmarks(in.Bookmarks);
    bookmarksShown = !in.Bookmarks.empty();
    in.CursorLine = saved.Info().CurLine;
    width = saved.Info().WindowSizeX;
    entries = BuildStructEntries(in, options);
  }
  const int chosen = RunStructMenu(entries, bookmarksShown, width);
  if (chosen >= 0 && chosen < static_cast<int>(entries.size())) JumpToStructEntry(entries[chosen]);
}

}  // namespace vemlo
