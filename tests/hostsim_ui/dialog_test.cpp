#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ui_driver.h"
#include "ui_edit.h"

namespace vemlo::sim::test {
namespace {

FarDialogItem DlgItem(int type, int x1, int y1, int x2, int y2, const char* data,
                      unsigned flags = 0) {
  FarDialogItem it;
  it.Type = type;
  it.X1 = x1;
  it.Y1 = y1;
  it.X2 = x2;
  it.Y2 = y2;
  it.Flags = flags;
  strncpy(it.Data, data, sizeof it.Data - 1);
  return it;
}

// The items of an option page: frame, labels, an edit, a masked edit, a check box,
// a button that stays, a rule and three centred buttons.
std::vector<FarDialogItem> OptionPage() {
  std::vector<FarDialogItem> v;
  v.push_back(DlgItem(DI_DOUBLEBOX, 3, 1, 36, 10, "Options"));            // 0
  v.push_back(DlgItem(DI_TEXT, 5, 2, 10, 2, "Name:"));                    // 1
  v.push_back(DlgItem(DI_EDIT, 11, 2, 30, 2, "abc"));                     // 2
  v.back().Focus = 1;
  v.push_back(DlgItem(DI_TEXT, 5, 3, 10, 3, "Indent"));                   // 3
  v.push_back(DlgItem(DI_FIXEDIT, 12, 3, 19, 3, "   t   s", DIF_MASKEDIT));  // 4
  v.back().Param.Mask = "###t###s";
  v.push_back(DlgItem(DI_CHECKBOX, 5, 4, 30, 4, "Flag"));                 // 5
  v.push_back(DlgItem(DI_BUTTON, 5, 5, 0, 5, "List", DIF_BTNNOCLOSE));    // 6
  v.push_back(DlgItem(DI_TEXT, 4, 8, 35, 8, "\xC4\xC4\xC4\xC4", DIF_BOXCOLOR));  // 7
  v.push_back(DlgItem(DI_BUTTON, 0, 9, 0, 9, "Ok", DIF_CENTERGROUP));     // 8
  v.back().DefaultButton = 1;
  v.push_back(DlgItem(DI_BUTTON, 0, 9, 0, 9, "Save", DIF_CENTERGROUP));   // 9
  v.push_back(DlgItem(DI_BUTTON, 0, 9, 0, 9, "Cancel", DIF_CENTERGROUP)); // 10
  v.push_back(DlgItem(DI_TEXT, -1, 7, 0, 7, "Centred"));                  // 11
  return v;
}

struct Call {
  int Msg, P1;
  intptr_t P2;
  std::string Topic;  // DN_HELP: the text param2 points to
};

struct ProcLog {
  std::vector<Call> Calls;
  std::function<intptr_t(HANDLE, int, int, intptr_t)> Hook;
} g_log;

intptr_t LoggingProc(HANDLE h, int msg, int p1, intptr_t p2) {
  g_log.Calls.push_back({msg, p1, p2, msg == DN_HELP ? reinterpret_cast<const char*>(p2) : ""});
  intptr_t def = DialogDefProc(h, msg, p1, p2);
  return g_log.Hook ? g_log.Hook(h, msg, p1, p2) : def;
}

int RunPage(UiDriver& d, std::vector<FarDialogItem>& items, FarDialogProc proc = LoggingProc,
        const std::string& help = "Configure") {
  return RunDialog(d.Env, -1, -1, 40, 12, help, items.data(), static_cast<int>(items.size()), proc, 0);
}

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override { g_log = ProcLog{}; }
  void TearDown() override { g_log = ProcLog{}; }
};

TEST_F(Dialog, LayoutOfFramesTextsAndCentredButtons) {
  UiDriver d;
  const Console before = d.Screen;
  auto items = OptionPage();
  d.Keys({Key(VK_ESCAPE)});
  EXPECT_EQ(RunPage(d, items), -1);
  const Console& f = d.Frames[0];
  // Centred 40 x 12: columns 20..59, rows 6..17.
  EXPECT_EQ(f.At(23, 7).Ch, 0xC9);
  EXPECT_EQ(f.At(56, 16).Ch, 0xBC);
  EXPECT_NE(f.RowText(7).find(" Options "), std::string::npos);
  EXPECT_EQ(f.RowText(8).substr(25, 5), "Name:");
  EXPECT_EQ(f.RowText(8).substr(31, 20), "abc" + std::string(17, ' '));
  EXPECT_EQ(f.At(31, 8).Attr, 0x30);
  EXPECT_EQ(f.CursorX, 34);  // after "abc"
  EXPECT_EQ(f.CursorY, 8);
  EXPECT_EQ(f.RowText(9).substr(32, 8), "   t   s");
  EXPECT_EQ(f.RowText(10).substr(25, 8), "[ ] Flag");
  EXPECT_EQ(f.RowText(11).substr(25, 8), "[ List ]");
  EXPECT_EQ(f.RowText(13).substr(36, 7), "Centred");  // 20 + (40 - 7) / 2
  // 26 columns of buttons centred in 40: from column 20 + 7.
  EXPECT_EQ(f.RowText(15).find("[ Ok ] [ Save ] [ Cancel ]"), 27u);
  EXPECT_EQ(f.At(26, 10).Attr, 0x10 + COL_DIALOGTEXT);
  EXPECT_EQ(f.At(61, 12).Attr, 0x08);  // shadow
  EXPECT_EQ(d.Screen.DumpUtf8(), before.DumpUtf8());
  EXPECT_EQ(d.Screen.At(61, 12).Attr, 0x07);
}

TEST_F(Dialog, EditingFocusAndWriteBack) {
  UiDriver d;
  auto items = OptionPage();
  d.Keys({Key(VK_END), Char('d'), Char('e'), Key(VK_LEFT), Key(VK_BACK), Key(VK_HOME),
          Key(VK_DELETE), Key(VK_TAB)});
  d.Type("12x34");
  d.Keys({Key(VK_TAB), Key(VK_SPACE, 0, ' '), Key(VK_RETURN)});
  EXPECT_EQ(RunPage(d, items), 8);  // Enter off a button: the default button
  EXPECT_STREQ(items[2].Data, "bce");
  EXPECT_STREQ(items[4].Data, "123t4  s");
  EXPECT_EQ(items[5].Param.Selected, 1);
  // The check box told the procedure; Enter on it sent no button press.
  ASSERT_EQ(g_log.Calls.size(), 1u);
  EXPECT_EQ(g_log.Calls[0].Msg, DN_BTNCLICK);
  EXPECT_EQ(g_log.Calls[0].P1, 5);
  EXPECT_EQ(g_log.Calls[0].P2, 1);
  const Console& last = d.Frames.back();
  EXPECT_EQ(last.RowText(10).substr(25, 8), "[x] Flag");
}

TEST_F(Dialog, MaskedFixedEdit) {
  UiDriver d;
  std::vector<FarDialogItem> items = {DlgItem(DI_FIXEDIT, 2, 1, 30, 1, "  1t   sTOO LONG", DIF_MASKEDIT)};
  items[0].Param.Mask = "###t###s";
  d.Keys({Char('5'), Key(VK_END), Char('7'), Key(VK_RIGHT), Char('8'), Key(VK_HOME),
          Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RIGHT), Char('+'), Char('a'), Key(VK_DELETE),
          Key(VK_LEFT), Key(VK_LEFT), Key(VK_BACK), Key(VK_DELETE), Char('9'), Key(VK_ESCAPE)});
  EXPECT_EQ(RunPage(d, items, nullptr), -1);
  EXPECT_STREQ(items[0].Data, "591t+ 8s");
  // The field is as wide as the mask; the cursor follows the slots.
  EXPECT_EQ(d.Frames[0].RowText(7).substr(22, 9), "  1t   s ");
  EXPECT_EQ(d.Frames[0].At(30, 7).Attr, 0x10 + COL_DIALOGTEXT);
  EXPECT_EQ(d.Frames[0].CursorX, 22);
  EXPECT_EQ(d.Frames[1].CursorX, 23);
  EXPECT_EQ(d.Frames[11].CursorX, 27);  // '+' typed at 4, cursor on 5; 'a' refused
  EXPECT_EQ(d.Frames[13].CursorX, 26);  // Left from 5
  EXPECT_EQ(d.Frames[14].CursorX, 24);  // Left again skips the literal 't'

  EXPECT_TRUE(FitsMask('9', '7'));
  EXPECT_FALSE(FitsMask('9', ' '));
  EXPECT_TRUE(FitsMask('#', '-'));
  EXPECT_FALSE(FitsMask('#', 'x'));
  EXPECT_TRUE(FitsMask('N', ' '));
  EXPECT_FALSE(FitsMask('N', '+'));
  EXPECT_TRUE(FitsMask('A', '\x8F'));
  EXPECT_FALSE(FitsMask('A', '1'));
  EXPECT_TRUE(FitsMask('X', '\xC4'));
  EXPECT_FALSE(IsMaskSlot('t'));
}

TEST_F(Dialog, ButtonThatStaysAndMessagesToTheDialog) {
  UiDriver d;
  auto items = OptionPage();
  SMALL_RECT rect;
  FarDialogItem frame, edit, ok;
  intptr_t afterNested = 0;
  int nestedResult = 99;
  g_log.Hook = [&](HANDLE h, int msg, int p1, intptr_t p2) -> intptr_t {
    if (msg == DN_BTNCLICK && p1 == 6) {
      DialogSendMessage(h, DM_GETDLGRECT, 0, reinterpret_cast<intptr_t>(&rect));
      DialogSendMessage(h, DM_GETDLGITEM, 0, reinterpret_cast<intptr_t>(&frame));
      DialogSendMessage(h, DM_GETDLGITEM, 2, reinterpret_cast<intptr_t>(&edit));
      DialogSendMessage(h, DM_GETDLGITEM, 8, reinterpret_cast<intptr_t>(&ok));
      // Something modal over the dialog: a nested dialog, then scribbles.
      std::vector<FarDialogItem> inner = {DlgItem(DI_EDIT, 1, 1, 10, 1, "in")};
      nestedResult = RunDialog(d.Env, 0, 0, 20, 4, "", inner.data(), 1, nullptr, 0);
      SMALL_RECT again;
      afterNested = DialogSendMessage(h, DM_GETDLGRECT, 0, reinterpret_cast<intptr_t>(&again));
      d.Screen.Fill(0, 0, 79, 24, '#', 0x07);
    }
    return DialogDefProc(h, msg, p1, p2);
  };
  d.Keys({Char('Z'), Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN), Key(VK_ESCAPE),
          Key(VK_ESCAPE)});
  EXPECT_EQ(RunPage(d, items), -1);
  EXPECT_EQ(nestedResult, -1);
  EXPECT_EQ(afterNested, 1);
  EXPECT_EQ(rect.Left, 20);
  EXPECT_EQ(rect.Top, 6);
  EXPECT_EQ(rect.Right, 59);
  EXPECT_EQ(rect.Bottom, 17);
  EXPECT_EQ(frame.Type, DI_DOUBLEBOX);
  EXPECT_EQ(frame.X2, 36);
  EXPECT_STREQ(frame.Data, "Options");
  EXPECT_STREQ(edit.Data, "abcZ");  // the current text, not the one passed in
  EXPECT_EQ(ok.X1, 7);              // where the centred group put it
  ASSERT_EQ(g_log.Calls.size(), 1u);
  EXPECT_EQ(g_log.Calls[0].Msg, DN_BTNCLICK);
  // Still open after the press, and drawn again over the scribbles.
  ASSERT_EQ(d.Frames.size(), 7u);
  EXPECT_EQ(d.Frames[5].RowText(1).substr(1, 3), "in ");  // the nested dialog, at its corner
  EXPECT_EQ(d.Frames[5].At(1, 1).Attr, 0x30);
  EXPECT_NE(d.Frames[6].RowText(7).find(" Options "), std::string::npos);
  EXPECT_EQ(d.Frames[6].RowText(7).substr(0, 20), std::string(20, '#'));
  EXPECT_STREQ(items[2].Data, "abcZ");  // written back on Escape too
  // Handles of closed dialogs are refused.
  SMALL_RECT stale;
  EXPECT_EQ(DialogSendMessage(reinterpret_cast<HANDLE>(&stale), DM_GETDLGRECT, 0,
                              reinterpret_cast<intptr_t>(&stale)), 0);
}

TEST_F(Dialog, ButtonCloses) {
  UiDriver d;
  auto items = OptionPage();
  d.Keys({Key(VK_TAB, SHIFT_PRESSED), Key(VK_UP), Key(VK_RETURN)});  // back to Save
  EXPECT_EQ(RunPage(d, items), 9);
  ASSERT_EQ(g_log.Calls.size(), 1u);
  EXPECT_EQ(g_log.Calls[0].Msg, DN_BTNCLICK);
  EXPECT_EQ(g_log.Calls[0].P1, 9);
  EXPECT_EQ(d.Frames[2].At(35, 15).Attr, 0x30);  // "[ Save ]" focused

  UiDriver e;  // Space presses a button too
  auto again = OptionPage();
  e.Keys({Key(VK_UP), Key(VK_SPACE, 0, ' ')});
  EXPECT_EQ(RunPage(e, again), 10);
}

TEST_F(Dialog, HelpAsksTheProcedure) {
  UiDriver d;
  auto items = OptionPage();
  g_log.Hook = [](HANDLE h, int msg, int p1, intptr_t p2) -> intptr_t {
    if (msg == DN_HELP && p1 == 2) return reinterpret_cast<intptr_t>("EditTopic");
    return DialogDefProc(h, msg, p1, p2);
  };
  d.Keys({Key(VK_F1), Key(VK_TAB), Key(VK_F1), Key(VK_ESCAPE)});
  EXPECT_EQ(RunPage(d, items), -1);
  EXPECT_EQ(d.HelpShown, (std::vector<std::string>{"EditTopic", "Configure"}));
  ASSERT_EQ(g_log.Calls.size(), 2u);
  EXPECT_EQ(g_log.Calls[1].Msg, DN_HELP);
  EXPECT_EQ(g_log.Calls[1].P1, 4);
  EXPECT_EQ(g_log.Calls[1].Topic, "Configure");

  UiDriver e;  // a procedure that answers 0 shows nothing
  auto again = OptionPage();
  g_log.Hook = [](HANDLE, int, int, intptr_t) -> intptr_t { return 0; };
  e.Keys({Key(VK_F1), Key(VK_ESCAPE)});
  RunPage(e, again);
  EXPECT_TRUE(e.HelpShown.empty());
  EXPECT_EQ(DialogDefProc(nullptr, DN_HELP, 0, 1234), 1234);
}

TEST_F(Dialog, EdgeCases) {
  {
    UiDriver d;  // no default button: Enter closes with the focused item
    std::vector<FarDialogItem> items = {DlgItem(DI_TEXT, 1, 1, 5, 1, "x"), DlgItem(DI_EDIT, 1, 2, 5, 2, "")};
    d.Keys({Key(VK_RETURN)});
    EXPECT_EQ(RunPage(d, items, nullptr), 1);
  }
  {
    UiDriver d;  // nothing focusable, no items, the end of input
    std::vector<FarDialogItem> items = {DlgItem(DI_TEXT, 1, 1, 5, 1, "x")};
    d.Keys({Key(VK_TAB), Key(VK_RETURN)});
    EXPECT_EQ(RunPage(d, items, nullptr), -1);
    EXPECT_EQ(RunDialog(d.Env, -1, -1, 20, 5, "", nullptr, 0, nullptr, 0), -1);
  }
  {
    UiDriver d;  // an edit holds 511 bytes at most
    std::vector<FarDialogItem> items = {DlgItem(DI_EDIT, 1, 1, 30, 1, std::string(509, 'a').c_str())};
    d.Type("bcde");
    d.Keys({Key(VK_ESCAPE)});
    RunPage(d, items, nullptr);
    EXPECT_EQ(std::string(items[0].Data), std::string(509, 'a') + "bc");
    // The field scrolled to keep the cursor in view.
    EXPECT_EQ(d.Frames.back().CursorX, 20 + 1 + 29);
  }
  {
    UiDriver d;  // a fixed-width field without a mask stops at its width
    std::vector<FarDialogItem> items = {DlgItem(DI_FIXEDIT, 1, 1, 4, 1, "ab")};
    d.Type("cdef");
    d.Keys({Key(VK_ESCAPE)});
    RunPage(d, items, nullptr);
    EXPECT_STREQ(items[0].Data, "abcd");
  }
  {
    UiDriver d;  // absolute corners
    std::vector<FarDialogItem> items = {DlgItem(DI_DOUBLEBOX, 0, 0, 9, 3, "")};
    d.Keys({Key(VK_ESCAPE)});
    RunDialog(d.Env, 5, 2, 14, 5, "", items.data(), 1, nullptr, 0);
    EXPECT_EQ(d.Frames[0].At(5, 2).Ch, 0xC9);
    EXPECT_EQ(d.Frames[0].At(14, 5).Ch, 0xBC);
  }
}

}  // namespace
}  // namespace vemlo::sim::test
