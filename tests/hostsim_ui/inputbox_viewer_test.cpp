#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "ui_driver.h"

namespace vemlo::sim::test {
namespace {

using History = std::map<std::string, std::vector<std::string>>;

TEST(InputBox, TypingConfirmCancelAndLimit) {
  History history;
  {
    UiDriver d;
    const Console before = d.Screen;
    std::string out = "untouched";
    d.Keys({Key(VK_BACK)});
    d.Type("xy");
    d.Keys({Key(VK_F1), Key(VK_RETURN)});
    EXPECT_TRUE(RunInputBox(d.Env, "Find", "Text to find:", "Find", "abc", out, 80, "FindHelp", history));
    EXPECT_EQ(out, "abxy");
    EXPECT_EQ(history["Find"], std::vector<std::string>{"abxy"});
    EXPECT_EQ(d.HelpShown, std::vector<std::string>{"FindHelp"});
    const Console& f = d.Frames[0];
    const int top = UiDriver::FindRow(f, " Find ");
    ASSERT_GE(top, 0);
    EXPECT_EQ(UiDriver::FindRow(f, "Text to find:"), top + 1);
    const int x = static_cast<int>(f.RowText(top + 2).find("abc"));
    EXPECT_EQ(f.At(x, top + 2).Attr, 0x30);
    EXPECT_EQ(f.CursorX, x + 3);
    EXPECT_EQ(d.Screen.DumpUtf8(), before.DumpUtf8());
  }
  {
    UiDriver d;
    std::string out = "untouched";
    d.Type("zz");
    d.Keys({Key(VK_ESCAPE)});
    EXPECT_FALSE(RunInputBox(d.Env, "Find", "Text:", "Find", "", out, 80, "", history));
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(history["Find"].size(), 1u);
  }
  {
    UiDriver d;  // maxLength counts the closing NUL; input that ends cancels
    std::string out;
    d.Type("123456");
    d.Keys({Key(VK_RETURN)});
    EXPECT_TRUE(RunInputBox(d.Env, "T", "P", "", "", out, 5, "", history));
    EXPECT_EQ(out, "1234");
    UiDriver e;
    e.Type("1");
    EXPECT_FALSE(RunInputBox(e.Env, "T", "P", "", "", out, 5, "", history));
    EXPECT_EQ(history.count(""), 0u);
  }
}

TEST(InputBox, HistoryRecall) {
  History history;
  for (const char* word : {"one", "two", "one"}) {
    UiDriver d;
    std::string out;
    d.Type(word);
    d.Keys({Key(VK_RETURN)});
    ASSERT_TRUE(RunInputBox(d.Env, "T", "P", "Words", "", out, 80, "", history));
  }
  // The newest first, no duplicates.
  EXPECT_EQ(history["Words"], (std::vector<std::string>{"one", "two"}));
  UiDriver d;
  std::string out;
  d.Keys({Key(VK_UP), Key(VK_UP), Key(VK_UP), Key(VK_RETURN)});
  EXPECT_TRUE(RunInputBox(d.Env, "T", "P", "Words", "typed", out, 80, "", history));
  EXPECT_EQ(out, "two");
  EXPECT_EQ(history["Words"], (std::vector<std::string>{"two", "one"}));
  UiDriver e;  // Down past the newest entry brings back what was typed
  e.Keys({Key(VK_UP, LEFT_CTRL_PRESSED), Key(VK_DOWN), Key(VK_RETURN)});
  EXPECT_TRUE(RunInputBox(e.Env, "T", "P", "Words", "typed", out, 80, "", history));
  EXPECT_EQ(out, "typed");
  EXPECT_EQ(history["Words"].front(), "typed");
}

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    char name[] = "/tmp/vemlo_ui_XXXXXX";
    int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) path_.clear();
      close(fd);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

TEST(Viewer, ShowsScrollsAndRestores) {
  std::string text = "a\tb\r\n\x01\xDB\xC4 raw\n";
  for (int i = 2; i < 60; ++i) text += "line " + std::to_string(i) + "\n";
  for (int i = 0; i < 10; ++i) text += "0123456789";
  text += "END\n";
  TempFile file(text);
  UiDriver d;
  d.Screen.Put(0, 3, 0x07, "below");
  const Console before = d.Screen;
  d.Keys({Key(VK_DOWN), Key(VK_NEXT), Key(VK_END), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_HOME),
          Key(VK_F3)});
  RunViewer(d.Env, file.Path(), "", 0, 0, -1, -1);
  ASSERT_EQ(d.Frames.size(), 7u);
  const Console& f = d.Frames[0];
  EXPECT_EQ(f.RowText(0).substr(0, file.Path().size()), file.Path());  // no title: the name
  EXPECT_EQ(f.RowText(1).substr(0, 10), "a       b ");
  EXPECT_EQ(f.RowText(2).substr(0, 8), "\x01\xDB\xC4 raw ");
  EXPECT_EQ(d.Frames[1].RowText(1).substr(0, 8), "\x01\xDB\xC4 raw ");
  EXPECT_EQ(d.Frames[2].RowText(1).substr(0, 8), "line 25 ");  // a page of 24 rows
  EXPECT_EQ(d.Frames[3].RowText(24).substr(0, 3), "012");
  EXPECT_EQ(d.Frames[3].RowText(1).substr(0, 8), "line 37 ");
  EXPECT_EQ(d.Frames[5].RowText(24).substr(0, 3), "234");  // shifted two columns
  EXPECT_EQ(d.Frames[6].RowText(1).substr(0, 1), "a");
  EXPECT_EQ(d.Screen.DumpUtf8(), before.DumpUtf8());
}

TEST(Viewer, RectangleTitleAndMissingFile) {
  TempFile file("first\nsecond\n");
  UiDriver d;
  d.Keys({Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_ESCAPE)});
  RunViewer(d.Env, file.Path(), "My title", 10, 5, 40, 8);
  const Console& f = d.Frames[0];
  EXPECT_EQ(f.RowText(5).substr(10, 8), "My title");
  EXPECT_EQ(f.RowText(6).substr(9, 7), " first ");
  EXPECT_EQ(f.RowText(7).substr(10, 6), "second");
  EXPECT_EQ(f.At(41, 6).Attr, 0x07);  // nothing beyond the rectangle
  // Fewer lines than rows: nothing to scroll.
  EXPECT_EQ(d.Frames[3].RowText(6).substr(10, 5), "first");

  UiDriver e;
  e.Keys({Key(VK_ESCAPE)});
  RunViewer(e.Env, "/nonexistent/dir/file.txt", "", 0, 0, -1, -1);
  EXPECT_EQ(e.ReadCount, 0);
  UiDriver g;  // the end of input closes it
  RunViewer(g.Env, file.Path(), "", 0, 0, -1, -1);
  EXPECT_EQ(g.ReadCount, 1);
}

}  // namespace
}  // namespace vemlo::sim::test
