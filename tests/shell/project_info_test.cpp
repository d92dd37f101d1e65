// The project information message of the main menu.
#include <gtest/gtest.h>

#include "dbf_writer.h"
#include "plugin_host.h"
#include "lib/xxlib.h"
#include "shell/commands.h"

namespace vemlo {
namespace {

// The message boxes shown, without the progress boxes (two lines, a 50-column bar).
std::vector<sim::ShownWindow> Boxes(test::PluginHost& ph) {
  std::vector<sim::ShownWindow> out;
  for (const auto& w : ph.WindowsOf("message"))
    if (!(w.Lines.size() == 2 && w.Lines[1].size() == 50)) out.push_back(w);
  return out;
}

TEST(ProjectInfo, ListsTheSettingsFileAndTheFiveTables) {
  test::PluginHost ph("x = 1\r\n", "src/MAIN.PRG");
  const std::vector<test::DbfFieldSpec> fields = {{"NAME", 'C', 8, 0}};
  for (const char* t : {"dict/KB.DBF", "dict/KF.DBF", "dict/KI.DBF", "opt/LOC.DBF", "opt/GLOB.DBF"}) {
    ph.Tree().Write(t, "");
    ASSERT_TRUE(test::WriteDbf(ph.Tree().Native(t), fields, {{{"A"}}}));
  }
  ph.Tree().Write("vemlo.ini",
                  "[KDF_BASES]\r\nSearchMask=>\\dict\\kb.dbf\r\n"
                  "[KDF_FIELDS]\r\nSearchMask=>\\dict\\KF.*\r\n"
                  "[KDF_INDEX]\r\nSearchMask=>\\dict\\ki.dbf\r\n"
                  "[OPTIONS]\r\nLSearchMask=..\\opt\\loc.dbf\r\nGSearchMask=>\\nothing.dbf;>\\opt\\glob.dbf\r\n");
  ph.Keys({"Enter"});
  ShowProjectInfo();
  auto shown = Boxes(ph);
  ASSERT_EQ(shown.size(), 1u);
  const auto& lines = shown[0].Lines;
  ASSERT_EQ(lines.size(), 13u);  // twelve lines under the title, then the separator
  EXPECT_EQ(lines[0], "Settings file:");
  auto same = [&](const std::string& shownPath, const std::string& rel) {
    return UpperCase(shownPath) == UpperCase(ph.Tree().Dos(rel));
  };
  EXPECT_TRUE(same(lines[1], "vemlo.ini")) << lines[1];
  EXPECT_EQ(lines[2], "Tables (KDF_BASES):");
  EXPECT_TRUE(same(lines[3], "dict/KB.DBF")) << lines[3];
  EXPECT_TRUE(same(lines[5], "dict/KF.DBF")) << lines[5];
  EXPECT_TRUE(same(lines[7], "dict/KI.DBF")) << lines[7];
  EXPECT_TRUE(same(lines[9], "opt/LOC.DBF")) << lines[9];
  EXPECT_TRUE(same(lines[11], "opt/GLOB.DBF")) << lines[11];
  EXPECT_EQ(lines[12], "\x01");
  for (int i : {1, 3, 5, 7, 9, 11}) EXPECT_LE(static_cast<int>(lines[i].size()), 80 - 16);
}

TEST(ProjectInfo, MissingDictionaryTablesWarnAndStayEmpty) {
  test::PluginHost ph("x = 1\r\n");
  ph.Tree().Write("vemlo.ini", "[KDF_BASES]\r\nSearchMask=>\\none.dbf\r\n");
  ph.Keys({"Enter", "Enter"});
  ShowProjectInfo();
  auto shown = Boxes(ph);
  ASSERT_EQ(shown.size(), 2u);
  ASSERT_GE(shown[0].Lines.size(), 3u);
  EXPECT_EQ(shown[0].Lines[0], "File not found");
  EXPECT_EQ(shown[0].Lines[1], "Tables (KDF_BASES):");
  EXPECT_EQ(shown[1].Lines[3], "");  // the base table's path
}

}  // namespace
}  // namespace vemlo
