#include <gtest/gtest.h>

#include <cstring>

#include "ui_driver.h"

namespace vemlo::sim::test {
namespace {

FarMenuItem Item(const char* text, int checked = 0, int selected = 0, int separator = 0) {
  FarMenuItem it;
  strncpy(it.Text, text, sizeof it.Text - 1);
  it.Checked = checked;
  it.Selected = selected;
  it.Separator = separator;
  return it;
}

int Menu(UiDriver& d, const std::vector<FarMenuItem>& items, unsigned flags = 0,
         const int* breakKeys = nullptr, int* breakCode = nullptr, const std::string& title = "Title",
         const std::string& bottom = "Bottom", const std::string& help = "MenuHelp", int maxHeight = 0,
         int x = -1, int y = -1) {
  return RunMenu(d.Env, x, y, maxHeight, flags, title, bottom, help, breakKeys, breakCode,
                 items.data(), static_cast<int>(items.size()));
}

std::vector<FarMenuItem> Sample() {
  return {Item("&Open"), Item("-", 0, 0, 1), Item("Che&ck", 1), Item("Mark", 0x10), Item("A&&B")};
}

TEST(Menu, FrameTitleSeparatorCheckMarksAndRestore) {
  UiDriver d;
  d.Screen.Put(0, 12, 0x07, std::string(80, 'z'));
  const Console before = d.Screen;
  d.Keys({Key(VK_ESCAPE)});
  int code = 5;
  EXPECT_EQ(Menu(d, Sample(), 0, nullptr, &code), -1);
  EXPECT_EQ(code, -1);
  ASSERT_EQ(d.Frames.size(), 1u);
  const Console& f = d.Frames[0];

  const int top = UiDriver::FindRow(f, " Title ");
  ASSERT_GE(top, 0);
  const std::string head = f.RowText(top);
  const size_t x1 = head.find('\xC9'), x2 = head.find('\xBB');
  ASSERT_NE(x1, std::string::npos);
  ASSERT_NE(x2, std::string::npos);
  // Centred on the screen and the title centred in the top border.
  EXPECT_LE(std::abs(static_cast<int>(x1) - (79 - static_cast<int>(x2))), 1);
  const size_t t = head.find(" Title ");
  EXPECT_LE(std::abs(static_cast<int>(t - x1) - static_cast<int>(x2 - (t + 6))), 1);
  EXPECT_EQ(f.At(static_cast<int>(t) + 1, top).Attr, 0x10 + COL_MENUTITLE);

  // Five item rows, the bottom line in the lower border.
  EXPECT_EQ(f.RowText(top + 6).substr(x1, 1), "\xC8");
  EXPECT_NE(f.RowText(top + 6).find(" Bottom "), std::string::npos);
  EXPECT_EQ(f.RowText(top + 2).substr(x1, x2 - x1 + 1),
            "\xC7" + std::string(x2 - x1 - 1, '\xC4') + "\xB6");

  // '&' hides itself and marks the hot character; "&&" is a literal '&'.
  const std::string open = f.RowText(top + 1);
  const size_t o = open.find("Open");
  ASSERT_NE(o, std::string::npos);
  EXPECT_EQ(open.find('&'), std::string::npos);
  EXPECT_EQ(f.At(static_cast<int>(o), top + 1).Attr, 0x1E);      // hot character
  EXPECT_EQ(f.At(static_cast<int>(o) + 1, top + 1).Attr, 0x11);  // highlighted row
  EXPECT_EQ(f.At(static_cast<int>(o), top + 3).Ch, 'C');
  EXPECT_EQ(f.At(static_cast<int>(o) + 3, top + 3).Attr, 0x1E);  // the 'c' of Che&ck
  EXPECT_EQ(f.At(static_cast<int>(o) + 1, top + 3).Attr, 0x10);
  EXPECT_EQ(f.At(static_cast<int>(o) - 1, top + 3).Ch, 0xFB);  // check mark
  EXPECT_EQ(f.At(static_cast<int>(o) - 1, top + 4).Ch, 0x10);  // check character
  EXPECT_EQ(f.At(static_cast<int>(o) - 1, top + 1).Ch, ' ');
  EXPECT_NE(f.RowText(top + 5).find("A&B "), std::string::npos);

  // The screen below comes back, shadow included.
  for (int y = 0; y < 25; ++y) EXPECT_EQ(d.Screen.RowText(y), before.RowText(y)) << y;
  EXPECT_EQ(d.Screen.At(0, 12).Attr, 0x07);
  EXPECT_EQ(d.Screen.At(static_cast<int>(x2) + 1, 12).Attr, 0x07);
  EXPECT_EQ(f.At(static_cast<int>(x2) + 1, 12).Attr, 0x08);  // the shadow while open
}

TEST(Menu, AmpersandShownAndHotKeys) {
  {
    UiDriver d;
    d.Keys({Char('o'), Key(VK_ESCAPE)});
    EXPECT_EQ(Menu(d, Sample(), FMENU_SHOWAMPERSAND), -1);  // no hot keys with the flag
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "&Open"), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "A&&B"), -1);
  }
  {
    UiDriver d;
    d.Keys({Char('c')});  // lower case picks "Che&ck" at once
    int code = 7;
    EXPECT_EQ(Menu(d, Sample(), 0, nullptr, &code), 2);
    EXPECT_EQ(code, -1);
  }
  {
    UiDriver d;
    d.Keys({Key('C', LEFT_ALT_PRESSED)});  // Alt with the letter, no character
    EXPECT_EQ(Menu(d, Sample()), 2);
  }
  {
    UiDriver d;
    d.Keys({Key('C', LEFT_CTRL_PRESSED), Key(VK_RETURN)});  // Ctrl+C is no hot key
    EXPECT_EQ(Menu(d, Sample()), 0);
  }
  {
    UiDriver d;  // Cyrillic hot key, typed in lower case: а (0xA0) against А (0x80)
    d.Keys({Key(0, 0, '\xA0')});
    EXPECT_EQ(Menu(d, {Item("One"), Item("&\x80\x81")}), 1);
  }
}

TEST(Menu, HighlightNavigationAndWrap) {
  auto items = Sample();
  {
    UiDriver d;
    items[3].Selected = 1;
    d.Keys({Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 3);
    items[3].Selected = 0;
  }
  {
    UiDriver d;  // Down skips the separator; Up at the top stays without wrap.
    d.Keys({Key(VK_DOWN), Key(VK_UP), Key(VK_UP), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 0);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_DOWN), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 2);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_UP), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items, FMENU_WRAPMODE), 4);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_END), Key(VK_DOWN), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items, FMENU_WRAPMODE), 0);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_END), Key(VK_DOWN), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 4);
  }
  {
    UiDriver d;  // a Selected separator is not highlighted
    auto sep = items;
    sep[1].Selected = 1;
    d.Keys({Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, sep), 0);
  }
  {
    UiDriver d;  // events other than key presses change nothing
    INPUT_RECORD mouse;
    mouse.EventType = MOUSE_EVENT;
    mouse.KeyEvent.wVirtualKeyCode = VK_DOWN;
    mouse.KeyEvent.bKeyDown = 1;
    d.Keys({mouse, KeyUp(VK_DOWN), KeyUp(VK_RETURN), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 0);
  }
  {
    UiDriver d;  // input that ends closes as Escape
    d.Keys({Key(VK_DOWN)});
    EXPECT_EQ(Menu(d, items), -1);
  }
}

TEST(Menu, BreakKeys) {
  const int keys[] = {(PKF_CONTROL << 16) | 'P', VK_SPACE, VK_CONTROL, VK_MENU,
                      (PKF_CONTROL << 16) | VK_UP, 0};
  auto items = Sample();
  {
    UiDriver d;
    int code = 0;
    d.Keys({Key(VK_DOWN), Key('P', RIGHT_CTRL_PRESSED)});
    EXPECT_EQ(Menu(d, items, 0, keys, &code), 2);
    EXPECT_EQ(code, 0);
  }
  {
    UiDriver d;  // P without Ctrl, or with Ctrl and Shift, is not the break key
    int code = 0;
    d.Keys({Key('P', 0, 'p'), Key('P', LEFT_CTRL_PRESSED | SHIFT_PRESSED), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items, 0, keys, &code), 0);
    EXPECT_EQ(code, -1);
  }
  {
    UiDriver d;  // Ctrl pressed alone carries its own bit
    int code = 0;
    d.Keys({KeyUp(VK_CONTROL), Key(VK_CONTROL, LEFT_CTRL_PRESSED)});
    EXPECT_EQ(Menu(d, items, 0, keys, &code), 0);
    EXPECT_EQ(code, 2);
  }
  {
    UiDriver d;
    int code = 0;
    d.Keys({Key(VK_END), Key(VK_MENU, RIGHT_ALT_PRESSED)});
    EXPECT_EQ(Menu(d, items, 0, keys, &code), 4);
    EXPECT_EQ(code, 3);
  }
  {
    UiDriver d;  // Space closes, even with the ampersands shown
    int code = 0;
    d.Keys({Key(VK_SPACE, 0, ' ')});
    EXPECT_EQ(Menu(d, items, FMENU_SHOWAMPERSAND, keys, &code), 0);
    EXPECT_EQ(code, 1);
  }
  {
    UiDriver d;  // a break key wins over the movement of the same key
    int code = 0;
    d.Keys({Key(VK_END), Key(VK_UP, LEFT_CTRL_PRESSED)});
    EXPECT_EQ(Menu(d, items, 0, keys, &code), 4);
    EXPECT_EQ(code, 4);
  }
  {
    UiDriver d;  // a letter break key wins over a hot key
    const int letter[] = {'O', 0};
    int code = 0;
    d.Keys({Key(VK_DOWN), Key('O', 0, 'o')});
    EXPECT_EQ(Menu(d, items, 0, letter, &code), 2);
    EXPECT_EQ(code, 0);
  }
}

TEST(Menu, EmptyListHelpAndPlacement) {
  {
    UiDriver d;
    d.Keys({Key(VK_RETURN)});
    int code = 3;
    EXPECT_EQ(Menu(d, {}, 0, nullptr, &code), -1);
    EXPECT_EQ(code, -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], " Title "), -1);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_F1), Key(VK_ESCAPE)});
    Menu(d, Sample());
    EXPECT_EQ(d.HelpShown, std::vector<std::string>{"MenuHelp"});
  }
  {
    UiDriver d;
    d.Keys({Key(VK_F1), Key(VK_ESCAPE)});
    Menu(d, Sample(), 0, nullptr, nullptr, "Title", "", "");
    EXPECT_TRUE(d.HelpShown.empty());
  }
  {
    UiDriver d;
    d.Keys({Key(VK_ESCAPE)});
    Menu(d, Sample(), 0, nullptr, nullptr, "T", "", "", 0, 5, 3);
    EXPECT_EQ(d.Frames[0].At(5, 3).Ch, 0xC9);
  }
}

TEST(Menu, ScrollsLongLists) {
  std::vector<FarMenuItem> items;
  for (int i = 0; i < 40; ++i) items.push_back(Item(("Item " + std::to_string(i)).c_str()));
  {
    UiDriver d;  // as high as the screen allows, scrolled to show the last item
    d.Keys({Key(VK_END), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items), 39);
    const Console& first = d.Frames[0];
    const int top = UiDriver::FindRow(first, " Title ");
    const int bottom = UiDriver::FindRow(first, " Bottom ");
    EXPECT_EQ(bottom - top - 1, 21);
    EXPECT_EQ(UiDriver::FindRow(first, "Item 21 "), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[1], "Item 39 "), -1);
    EXPECT_EQ(UiDriver::FindRow(d.Frames[1], "Item 0 "), -1);
  }
  {
    UiDriver d;  // a height limit, and paging by the visible rows
    d.Keys({Key(VK_NEXT), Key(VK_NEXT), Key(VK_PRIOR), Key(VK_RETURN)});
    EXPECT_EQ(Menu(d, items, 0, nullptr, nullptr, "Title", "Bottom", "", 5), 4);
    const int top = UiDriver::FindRow(d.Frames[0], " Title ");
    EXPECT_EQ(UiDriver::FindRow(d.Frames[0], " Bottom ") - top - 1, 5);
    EXPECT_NE(UiDriver::FindRow(d.Frames[2], "Item 8 "), -1);
  }
}

}  // namespace
}  // namespace vemlo::sim::test
