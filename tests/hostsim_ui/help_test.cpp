#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <random>

#include "ui_driver.h"
#include "ui_help.h"

namespace vemlo::sim::test {
namespace {

std::string Text(const HelpLine& line) {
  std::string s;
  for (const HelpSpan& span : line) s += span.Text;
  return s;
}

const char kFile[] =
    ".Language=English,English\r\n"
    ".PluginContents=VEM-LO\r\n"
    "stray text before any topic\r\n"
    "@Contents\r\n"
    "$ #VEM-LO help#\r\n"
    " Plain ~Options~@Opts@ and #bold# text\r\n"
    " Escapes: ~~ ## @@ and a~~b\r\n"
    " ~Missing~@Nowhere@\r\n"
    "@Opts\r\n"
    " Back to ~contents~@contents@.\r\n"
    " ~a~~b##c@@d~@we@@ird@\r\n"
    "@@not a topic\r\n";

TEST(HelpFile, TopicsFixedLinesLinksAndEscapes) {
  const std::vector<HelpTopic> topics = ParseHelpFile(kFile);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[0].Name, "Contents");
  ASSERT_EQ(topics[0].Fixed.size(), 1u);
  const HelpLine& head = topics[0].Fixed[0];
  ASSERT_EQ(head.size(), 2u);
  EXPECT_EQ(head[1].Type, HelpSpan::Highlight);
  EXPECT_EQ(head[1].Text, "VEM-LO help");

  ASSERT_EQ(topics[0].Lines.size(), 3u);
  const HelpLine& l0 = topics[0].Lines[0];
  ASSERT_EQ(l0.size(), 5u);
  EXPECT_EQ(l0[0].Text, " Plain ");
  EXPECT_EQ(l0[1].Type, HelpSpan::Link);
  EXPECT_EQ(l0[1].Text, "Options");
  EXPECT_EQ(l0[1].Target, "Opts");
  EXPECT_EQ(l0[3].Type, HelpSpan::Highlight);
  EXPECT_EQ(l0[3].Text, "bold");
  EXPECT_EQ(Text(topics[0].Lines[1]), " Escapes: ~ # @ and a~b");
  EXPECT_EQ(topics[0].Lines[1].size(), 1u);

  // Escapes inside a link's text and target; "@@" at a line start is text.
  ASSERT_EQ(topics[1].Lines.size(), 3u);
  const HelpLine& odd = topics[1].Lines[1];
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[1].Text, "a~b#c@d");
  EXPECT_EQ(odd[1].Target, "we@ird");
  EXPECT_EQ(Text(topics[1].Lines[2]), "@not a topic");

  EXPECT_EQ(FindHelpTopic(topics, "OPTS"), 1);
  EXPECT_EQ(FindHelpTopic(topics, "contents"), 0);
  EXPECT_EQ(FindHelpTopic(topics, "Opt"), -1);
}

TEST(HelpFile, GeneratedTopicForm) {
  const std::string file =
      "@topic0\r\n$ #  SUBSTR()  #\r\n text 100%% ~~ok\r\n See Also: \r\n     ~AT()~@topic1@\r\n"
      "     LEFT()\r\n\r\n@topic1\r\n body\r\n";
  const auto topics = ParseHelpFile(file);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(FindHelpTopic(topics, "topic1"), 1);
  EXPECT_EQ(Text(topics[0].Fixed[0]), "   SUBSTR()  ");
  ASSERT_EQ(topics[0].Lines.size(), 5u);
  EXPECT_EQ(Text(topics[0].Lines[0]), " text 100%% ~ok");
  EXPECT_EQ(topics[0].Lines[2][1].Target, "topic1");
  EXPECT_EQ(topics[0].Lines[3].size(), 1u);
  EXPECT_TRUE(topics[0].Lines[4].empty());
}

TEST(HelpFile, MalformedMarkupStaysText) {
  EXPECT_EQ(Text(ParseHelpLine("~unclosed")), "~unclosed");
  EXPECT_EQ(Text(ParseHelpLine("~text~ no target")), "~text~ no target");
  EXPECT_EQ(Text(ParseHelpLine("~t~@no end")), "~t~@no end");
  EXPECT_EQ(Text(ParseHelpLine("a@b")), "a@b");
  const HelpLine open = ParseHelpLine("x #to the end");
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open[1].Type, HelpSpan::Highlight);
  EXPECT_TRUE(ParseHelpFile("").empty());
  EXPECT_TRUE(ParseHelpFile(".Language=x\n\n").empty());
  const auto empty = ParseHelpFile("@\n@   \n");
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[1].Name, "");

  // Random markup never breaks the parser, and text never grows.
  std::mt19937 rng(12345);
  const char alphabet[] = "~#@$.\r\n ab";
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(rng() % 64, ' ');
    for (char& c : bytes) c = alphabet[rng() % (sizeof alphabet - 1)];
    size_t total = 0;
    for (const HelpTopic& t : ParseHelpFile(bytes)) {
      for (const HelpLine& l : t.Fixed) total += Text(l).size();
      for (const HelpLine& l : t.Lines) {
        total += Text(l).size();
        for (const HelpSpan& s : l) EXPECT_TRUE(s.Type == HelpSpan::Link || !s.Text.empty());
      }
    }
    ASSERT_LE(total, bytes.size()) << bytes;
  }
}

class HelpFileOnDisk {
 public:
  explicit HelpFileOnDisk(const std::string& bytes) {
    char name[] = "/tmp/vemlo_help_XXXXXX";
    int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) path_.clear();
      close(fd);
    }
  }
  ~HelpFileOnDisk() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

TEST(HelpViewer, LinksFollowMissingTopicAndBack) {
  HelpFileOnDisk file(kFile);
  UiDriver d;
  const Console before = d.Screen;
  d.Keys({Key(VK_TAB), Key(VK_RETURN), Key(VK_RETURN), Key(VK_TAB, SHIFT_PRESSED), Key(VK_RETURN),
          Key(VK_BACK), Key(VK_ESCAPE)});
  EXPECT_TRUE(RunHelpViewer(d.Env, file.Path(), "contents"));
  ASSERT_EQ(d.Frames.size(), 7u);
  const Console& f = d.Frames[0];
  EXPECT_EQ(f.At(0, 0).Ch, 0xC9);
  EXPECT_EQ(f.RowText(1).substr(2, 12), " VEM-LO help");
  EXPECT_EQ(f.At(3, 1).Attr, 0x3F);
  EXPECT_EQ(f.RowText(2).substr(2, 24), " Plain Options and bold ");
  EXPECT_EQ(f.At(3, 2).Attr, 0x30);
  EXPECT_EQ(f.At(9, 2).Attr, 0x0E);   // the selected link
  EXPECT_EQ(f.At(21, 2).Attr, 0x3F);  // #bold#
  EXPECT_EQ(f.At(20, 2).Attr, 0x30);
  EXPECT_EQ(f.RowText(4).substr(2, 8), " Missing");
  EXPECT_EQ(f.At(3, 4).Attr, 0x3E);
  EXPECT_EQ(d.Frames[1].At(3, 4).Attr, 0x0E);
  EXPECT_EQ(d.Frames[1].At(9, 2).Attr, 0x3E);
  EXPECT_NE(UiDriver::FindRow(d.Frames[2], "Topic not found"), -1);
  EXPECT_NE(UiDriver::FindRow(d.Frames[2], "Nowhere"), -1);
  EXPECT_EQ(UiDriver::FindRow(d.Frames[3], "Topic not found"), -1);
  EXPECT_EQ(d.Frames[4].At(9, 2).Attr, 0x0E);
  EXPECT_EQ(d.Frames[5].RowText(1).substr(2, 17), " Back to contents");
  EXPECT_EQ(d.Frames[5].At(11, 1).Attr, 0x0E);
  // Back in the first topic, on the link that was followed.
  EXPECT_EQ(d.Frames[6].RowText(2).substr(2, 14), " Plain Options");
  EXPECT_EQ(d.Frames[6].At(9, 2).Attr, 0x0E);
  EXPECT_EQ(d.Screen.DumpUtf8(), before.DumpUtf8());
}

TEST(HelpViewer, FixedHeaderStaysWhileTextScrolls) {
  std::string file = "@Long\r\n$Head one\r\n$Head two\r\n";
  for (int i = 0; i < 40; ++i) file += " row " + std::to_string(i) + (i == 30 ? " ~go~@Long@" : "") + "\r\n";
  HelpFileOnDisk disk(file);
  UiDriver d;
  d.Keys({Key(VK_DOWN), Key(VK_TAB), Key(VK_HOME), Key(VK_END), Key(VK_UP), Key(VK_F10)});
  EXPECT_TRUE(RunHelpViewer(d.Env, disk.Path(), "LONG"));
  EXPECT_EQ(d.Frames[0].RowText(1).substr(2, 8), "Head one");
  EXPECT_EQ(d.Frames[0].RowText(3).substr(2, 6), " row 0");
  EXPECT_EQ(d.Frames[1].RowText(2).substr(2, 8), "Head two");
  EXPECT_EQ(d.Frames[1].RowText(3).substr(2, 6), " row 1");
  // Tab brings the link below the screen into view.
  const int linkRow = UiDriver::FindRow(d.Frames[2], " row 30 go");
  ASSERT_GE(linkRow, 3);
  EXPECT_EQ(d.Frames[2].At(10, linkRow).Attr, 0x0E);
  EXPECT_EQ(d.Frames[3].RowText(3).substr(2, 6), " row 0");
  EXPECT_EQ(d.Frames[4].RowText(23).substr(2, 7), " row 39");
  EXPECT_EQ(d.Frames[5].RowText(23).substr(2, 7), " row 38");
}

TEST(HelpViewer, MissingFileOrTopic) {
  UiDriver d;
  d.Keys({Key(VK_ESCAPE)});
  EXPECT_FALSE(RunHelpViewer(d.Env, "/nonexistent/file.hlf", "Contents"));
  HelpFileOnDisk file(kFile);
  EXPECT_FALSE(RunHelpViewer(d.Env, file.Path(), "NoSuchTopic"));
  EXPECT_EQ(d.ReadCount, 0);
  // No topic named: the contents. The end of input closes the viewer.
  UiDriver e;
  EXPECT_TRUE(RunHelpViewer(e.Env, file.Path(), ""));
  EXPECT_EQ(e.Frames[0].RowText(1).substr(2, 12), " VEM-LO help");
}

}  // namespace
}  // namespace vemlo::sim::test
