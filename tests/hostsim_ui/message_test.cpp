#include <gtest/gtest.h>

#include "ui_driver.h"

namespace vemlo::sim::test {
namespace {

TEST(Message, NoButtonsDrawsAndReturnsAtOnce) {
  UiDriver d;
  d.Keys({Key(VK_RETURN)});
  const std::vector<std::string> lines = {"Progress", "Reading", "\x01", std::string(50, '\xB0')};
  EXPECT_EQ(RunMessage(d.Env, 0, "", lines, 0), -1);
  EXPECT_EQ(d.ReadCount, 0);
  EXPECT_EQ(d.Input.size(), 1u);
  // The box stays on the screen for its caller to restore.
  const int top = d.FindRow(" Progress ");
  ASSERT_GE(top, 0);
  EXPECT_NE(d.Screen.RowText(top).find('\xC9'), std::string::npos);
  EXPECT_NE(d.Screen.RowText(top + 1).find("Reading"), std::string::npos);
  const std::string sep = d.Screen.RowText(top + 2);
  const size_t l = sep.find('\xC7'), r = sep.find('\xB6');
  ASSERT_NE(l, std::string::npos);
  ASSERT_NE(r, std::string::npos);
  EXPECT_EQ(sep.substr(l + 1, r - l - 1), std::string(r - l - 1, '\xC4'));
  EXPECT_NE(d.Screen.RowText(top + 3).find(std::string(50, '\xB0')), std::string::npos);
  EXPECT_NE(d.Screen.RowText(top + 4).find('\xC8'), std::string::npos);
  // Drawing again over the same box replaces the bar in place.
  const std::vector<std::string> again = {"Progress", "Reading", "\x01", std::string(50, '\xDB')};
  RunMessage(d.Env, 0, "", again, 0);
  EXPECT_EQ(d.FindRow(std::string(50, '\xDB')), top + 3);
}

TEST(Message, ButtonsFocusKeysAndRestore) {
  const std::vector<std::string> lines = {"Question", "Go on?", "&Yes", "No", "Later"};
  {
    UiDriver d;
    const Console before = d.Screen;
    d.Keys({Key(VK_RIGHT), Key(VK_RETURN)});
    EXPECT_EQ(RunMessage(d.Env, 0, "Topic", lines, 3), 1);
    const int row = UiDriver::FindRow(d.Frames[0], "[ Yes ] [ No ] [ Later ]");
    ASSERT_GE(row, 0);
    const size_t yes = d.Frames[0].RowText(row).find("[ Yes ]");
    EXPECT_EQ(d.Frames[0].At(static_cast<int>(yes), row).Attr, 0x30);      // focused
    EXPECT_EQ(d.Frames[0].At(static_cast<int>(yes) + 8, row).Attr, 0x10 + COL_DIALOGTEXT);
    EXPECT_EQ(d.Frames[1].At(static_cast<int>(yes) + 8, row).Attr, 0x30);  // moved on
    EXPECT_EQ(UiDriver::FindRow(d.Frames[0], "Go on?"), row - 1);
    EXPECT_EQ(d.Screen.DumpUtf8(), before.DumpUtf8());
  }
  {
    UiDriver d;  // Tab wraps around, Shift+Tab and Left go back
    d.Keys({Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_LEFT), Key(VK_TAB, SHIFT_PRESSED),
            Key(VK_RETURN)});
    EXPECT_EQ(RunMessage(d.Env, 0, "", lines, 3), 1);
  }
  {
    UiDriver d;  // a caption's letter picks its button, '&' marks its own
    d.Keys({Char('l')});
    EXPECT_EQ(RunMessage(d.Env, 0, "", lines, 3), 2);
    UiDriver e;
    e.Keys({Char('Y')});
    EXPECT_EQ(RunMessage(e.Env, 0, "", lines, 3), 0);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_F1), Key(VK_ESCAPE)});
    EXPECT_EQ(RunMessage(d.Env, 0, "Topic", lines, 3), -1);
    EXPECT_EQ(d.HelpShown, std::vector<std::string>{"Topic"});
  }
  {
    UiDriver d;  // the end of input closes as Escape
    EXPECT_EQ(RunMessage(d.Env, 0, "", lines, 3), -1);
  }
}

TEST(Message, HostButtonsWarningAndAlignment) {
  {
    UiDriver d;  // the flag's buttons replace the caller's count: all lines are text
    d.Keys({Key(VK_TAB), Key(VK_RETURN)});
    EXPECT_EQ(RunMessage(d.Env, FMSG_MB_OKCANCEL, "", {"T", "one", "two"}, 5), 1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "[ Ok ] [ Cancel ]"), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "two"), -1);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_ESCAPE)});
    RunMessage(d.Env, FMSG_WARNING | FMSG_MB_ABORTRETRYIGNORE, "", {"Problem", "Broken"}, 0);
    const Console& f = d.Frames[0];
    const int row = UiDriver::FindRow(f, "[ Abort ] [ Retry ] [ Ignore ]");
    ASSERT_GE(row, 0);
    const int text = UiDriver::FindRow(f, "Broken");
    const int x = static_cast<int>(f.RowText(text).find("Broken"));
    EXPECT_EQ(f.At(x, text).Attr, 0x4F);
    EXPECT_EQ(f.At(x - 3, text).Attr, 0x4F);
  }
  {
    UiDriver d;
    d.Keys({Key(VK_ESCAPE), Key(VK_ESCAPE)});
    const std::vector<std::string> lines = {"T", "a much longer line of text", "ab"};
    RunMessage(d.Env, FMSG_MB_OK, "", lines, 0);
    RunMessage(d.Env, FMSG_MB_OK | FMSG_LEFTALIGN, "", lines, 0);
    auto column = [&](size_t f, const std::string& s) {
      int row = UiDriver::FindRow(d.Frames[f], s);
      return static_cast<int>(d.Frames[f].RowText(row).find(s));
    };
    const int longX = column(0, "a much"), shortX = column(0, "ab");
    EXPECT_LE(std::abs((shortX - longX) - (26 - 2) / 2), 1);
    EXPECT_EQ(column(1, "ab"), column(1, "a much"));
  }
  {
    UiDriver d;  // yes/no, yes/no/cancel, retry/cancel
    d.Keys({Key(VK_ESCAPE), Key(VK_ESCAPE), Key(VK_ESCAPE)});
    RunMessage(d.Env, FMSG_MB_YESNO, "", {"T", "x"}, 0);
    RunMessage(d.Env, FMSG_MB_YESNOCANCEL, "", {"T", "x"}, 0);
    RunMessage(d.Env, FMSG_MB_RETRYCANCEL, "", {"T", "x"}, 0);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "[ Yes ] [ No ]"), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[1], "[ Yes ] [ No ] [ Cancel ]"), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[2], "[ Retry ] [ Cancel ]"), -1);
  }
}

TEST(Message, LongLinesAndOddCounts) {
  {
    UiDriver d;
    d.Keys({Key(VK_RETURN)});
    std::string longLine = "start" + std::string(300, 'x') + "end";
    EXPECT_EQ(RunMessage(d.Env, 0, "", {"T", longLine, "Ok"}, 1), 0);
    const int row = UiDriver::FindRow(d.Frames[0], "startxxx");
    ASSERT_GE(row, 0);
    EXPECT_EQ(UiDriver::FindRow(d.Frames[0], "end"), -1);
    // The frame still closes inside the screen.
    const std::string r = d.Frames[0].RowText(row);
    EXPECT_NE(r.find('\xBA', r.find("startxxx")), std::string::npos);
  }
  {
    UiDriver d;  // more buttons than lines: the title stays the title
    d.Keys({Key(VK_RETURN)});
    EXPECT_EQ(RunMessage(d.Env, 0, "", {"Only", "Ok"}, 9), 0);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], " Only "), -1);
    EXPECT_NE(UiDriver::FindRow(d.Frames[0], "[ Ok ]"), -1);
  }
  {
    UiDriver d;
    EXPECT_EQ(RunMessage(d.Env, 0, "", {}, 0), -1);
    EXPECT_EQ(RunMessage(d.Env, 0, "", {"T"}, -3), -1);
    EXPECT_EQ(d.ReadCount, 0);
  }
}

}  // namespace
}  // namespace vemlo::sim::test
