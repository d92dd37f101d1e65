// The help file written for a topic: header lines, escapes, tabs and See Also links.
#include <gtest/gtest.h>

#include <filesystem>

#include "fpt_writer.h"
#include "help/vemlohlp.h"
#include "host/reader_reports.h"
#include "lib/xxlib.h"
#include "plugin_host.h"

namespace vemlo {
namespace {

// A help base of the given topics, loaded and with its memo file open.
struct HelpFixture {
  test::PluginHost ph;
  explicit HelpFixture(const std::vector<test::HelpTopicSpec>& topics) {
    EXPECT_TRUE(test::WriteHelpBase(ph.Tree().Native("HELP.DBF"), topics));
    TxxHelpState& s = HelpState();
    LoadDBF(s.HelpBase, false, ph.Tree().Dos("HELP.DBF"));
    EXPECT_EQ(s.HelpBase.State, dsLoaded);
    EXPECT_TRUE(OpenHelpMemo(HelpMemoPath(ph.Tree().Dos("HELP.DBF"))));
    s.MaxHelpTopics = 10;
    s.FrameHeaders = true;
  }
  ~HelpFixture() {
    CloseHelpMemo();
    CloseDBF(HelpState().HelpBase);
  }
  std::string Write(int record) {
    EXPECT_TRUE(WriteHelpFile(record, ph.Tree().Dos("OUT.HLF")));
    EXPECT_TRUE(HelpState().HelpTopics.empty());
    return ph.Tree().Read("OUT.HLF");
  }
};

TEST(HelpTopic, BoxBecomesFixedHeaderAndTextIsEscapedAndTabsExpanded) {
  const std::string memo =
      "\r\n  \r\n"
      "\xD6\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xB7\r\n"
      "\xBA SUBSTR() \xBA\r\n"
      "\xBA Function \xBA\r\n"
      "\xD3\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xBD\r\n"
      "\r\n"
      "SUBSTR(<expC>, <expN>)\r\n"
      "a ~ b # c @ d\r\n"
      "\tcol0\r\n"
      "abcde\tx\tz\r\n";
  HelpFixture f({{"SUBSTR()", memo}});
  EXPECT_EQ(f.Write(0),
            "@topic0\r\n"
            "$ #  SUBSTR()  #\r\n"
            "$ #  Function  #\r\n"
            " \r\n"
            " SUBSTR(<expC>, <expN>)\r\n"
            " a ~~ b ## c @@ d\r\n"
            "     col0\r\n"
            " abcde   x   z\r\n"
            " \r\n"
            " \r\n");
  EXPECT_EQ(EscapeHelpText("~#@x"), "~~##@@x");

  // A bare "See Also:" still counts as the See Also line: one empty name.
  HelpFixture h(std::vector<test::HelpTopicSpec>{{"BARE", "See Also:\r\n"}});
  EXPECT_EQ(h.Write(0), "@topic0\r\n See Also: \r\n     \r\n\r\n \r\n \r\n");

  // Without a box at the top, box characters further down are ordinary text.
  HelpFixture g(std::vector<test::HelpTopicSpec>{{"PLAIN", "text\r\n\xBA not a header \xBA\r\n"}});
  EXPECT_EQ(g.Write(0), "@topic0\r\n text\r\n \xBA not a header \xBA\r\n \r\n \r\n");
}

TEST(HelpTopic, TopicsNamingEachOtherAreWrittenOnce) {
  HelpFixture f({{"ALPHA", "Alpha text\r\nSee Also: BETA"},
                 {"BETA", "Beta text\r\nSee Also:  ALPHA ,\tGAMMA,,"},
                 {"\xFE OVERVIEW", "Overview"}});
  EXPECT_EQ(f.Write(0),
            "@topic0\r\n"
            " Alpha text\r\n"
            " See Also: \r\n"
            "     ~BETA~@topic1@\r\n"
            "\r\n"
            " \r\n"
            "@topic1\r\n"
            " Beta text\r\n"
            " See Also: \r\n"
            "     ~ALPHA~@topic0@\r\n"
            "     ~GAMMA~@topic2@\r\n"
            "     \r\n"
            "     \r\n"
            "\r\n"
            " \r\n");
  // GAMMA matches no record: its link stays but it has no topic. A name with
  // the 0xFE mark is found from its third character on.
  EXPECT_EQ(HelpTopicIndex("GAMMA"), -1);
  EXPECT_EQ(HelpTopicIndex("OVERVIEW"), 2);
  EXPECT_EQ(HelpTopicIndex("BETA"), 1);
  EXPECT_EQ(HelpTopicIndex("beta"), -1);
  HelpState().HelpBase.Fields[0].Values[1].Value = "\xFE";  // the mark alone names nothing
  EXPECT_EQ(HelpTopicIndex(""), -1);
}

TEST(HelpTopic, ElevenSeeAlsoNamesStopLinkingAtTheLimit) {
  std::vector<test::HelpTopicSpec> topics = {
      {"MAIN", "Main\r\nSee Also: N1, N2, N3, N4, N5, N6, N7, N8, N9, N2, N10\r\n"}};
  for (int i = 1; i <= 10; ++i)
    topics.push_back({"N" + std::to_string(i), "Topic " + std::to_string(i) + (i == 1 ? "\r\nSee Also: MAIN, N10" : "")});
  HelpFixture f(topics);
  const std::string file = f.Write(0);
  std::string links;
  for (int i = 1; i <= 9; ++i) links += "     ~N" + std::to_string(i) + "~@topic" + std::to_string(i) + "@\r\n";
  EXPECT_NE(file.find(" See Also: \r\n" + links + "     ~N2~@topic2@\r\n     N10\r\n\r\n"), std::string::npos) << file;
  // N1 links back to the chosen topic; N10 is past the limit there too.
  EXPECT_NE(file.find(" See Also: \r\n     ~MAIN~@topic0@\r\n     N10\r\n\r\n"), std::string::npos) << file;
  int topicsWritten = 0;
  for (size_t at = 0; (at = file.find("@topic", at)) != std::string::npos; ++at)
    if (at == 0 || file[at - 1] == '\n') ++topicsWritten;
  EXPECT_EQ(topicsWritten, 10);
  EXPECT_EQ(file.find("@topic10"), std::string::npos);
  EXPECT_EQ(file.find("Topic 10"), std::string::npos);
}

TEST(HelpTopic, BadBlockNumberWritesNoTopic) {
  HelpFixture f(std::vector<test::HelpTopicSpec>{{"GOOD", "Good\r\nSee Also: BAD"}});
  // Forge the block number of a second record: not a number.
  TxxHelpState& s = HelpState();
  s.HelpBase.Fields[0].Values.push_back({"BAD"});
  s.HelpBase.Fields[1].Values.push_back({"  x12"});
  ++s.HelpBase.RecCount;
  const std::string file = f.Write(0);
  EXPECT_NE(file.find("     ~BAD~@topic1@\r\n"), std::string::npos);
  EXPECT_EQ(file.find("@topic1\r\n"), std::string::npos);
  EXPECT_EQ(f.Write(1), "");
}

// A memo file that fails part way: no help viewer, the read error told.
TEST(HelpTopic, MemoReadErrorIsToldAndNothingShown) {
  HelpFixture f(std::vector<test::HelpTopicSpec>{{"ALPHA", "Alpha text"}});
  if (!OpenHelpMemo("Z:\\proc\\self\\mem")) GTEST_SKIP() << "no /proc/self/mem";
  f.ph.Keys({"Enter"});
  ShowHelpTopic(0);
  EXPECT_TRUE(f.ph.WindowsOf("help").empty());
  auto shown = f.ph.WindowsOf("message");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().Lines, (std::vector<std::string>{"A read error stopped the reading of the file",
                                                          f.ph.Tree().Dos("HELP.fpt")}));
  EXPECT_EQ(f.ph.TempFiles(), 0);
}

// The topic shown through the host's help viewer from a temporary file that is gone afterwards.
TEST(HelpTopic, ShownInTheHelpViewerAndDeleted) {
  HelpFixture f({{"ALPHA", "Alpha text\r\nSee Also: BETA"}, {"BETA", "Beta text"}});
  f.ph.Keys({"Esc"});
  ShowHelpTopic(0);
  auto help = f.ph.WindowsOf("help");
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].Title, "topic0");
  EXPECT_NE(help[0].Lines[0].find("VL~"), std::string::npos);
  EXPECT_EQ(f.ph.TempFiles(), 0);
}

// The real host's viewer needs a language header, and finds the topics of
// links among the *.hlf files of the help file's folder.
TEST(HelpTopic, ViewerFileIsAHeadedHelpFileAloneInItsFolder) {
  HelpFixture f({{"ALPHA", "Alpha text\r\nSee Also: BETA"}, {"BETA", "Beta text"}});
  const std::string plain = f.Write(0);
  EXPECT_TRUE(WriteHelpFile(0, f.ph.Tree().Dos("OUT.HLF"), ".Language=English,English\r\n"));
  EXPECT_EQ(f.ph.Tree().Read("OUT.HLF"), ".Language=English,English\r\n" + plain);

  f.ph.Keys({"Esc"});
  ShowHelpTopic(0);
  auto help = f.ph.WindowsOf("help");
  ASSERT_EQ(help.size(), 1u);
  const std::filesystem::path shown = help[0].Lines[0];
  EXPECT_EQ(shown.filename(), "VL~HELP.HLF");
  EXPECT_EQ(shown.parent_path().filename().string().rfind("VL~", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(shown.parent_path()));  // the folder goes with the file
  EXPECT_EQ(f.ph.TempFiles(), 0);
}

}  // namespace
}  // namespace vemlo
