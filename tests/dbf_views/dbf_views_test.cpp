// The structure view, the record view and the record menu of a DBF table.
#include <gtest/gtest.h>

#include "dbf/views.h"
#include "dbf_writer.h"
#include "host/reader_reports.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "plugin_host.h"

namespace vemlo {
namespace {

void WriteCustomers(test::PluginHost& ph) {
  ph.Tree().Write("DATA/CUST.DBF", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("DATA/CUST.DBF"),
                             {{"ID", 'N', 5, 0}, {"NAME", 'C', 12, 0}, {"AMOUNT", 'N', 9, 2}, {"LONG_NAME_X", 'C', 3, 0}},
                             {{{"    1", " abc", "   12.50", "x"}},
                              {{"    2", "Bravo", "    1.00", "y"}},
                              {{"    3", "alpha & co", "    0.00", "z"}}}));
}

TEST(DBFStructure, LinesHaveFixedColumns) {
  TxxDBFField id{"ID", 'N', 0, 5, 0, {}};
  const std::string line = DBFStructureLine(id);
  ASSERT_EQ(line.size(), 29u);
  EXPECT_EQ(line, "    ID         N (  5,0), ;  ");
  EXPECT_EQ(line.substr(4, 10), "ID        ");  // columns 5-14
  EXPECT_EQ(line[15], 'N');                      // column 16
  EXPECT_EQ(line.substr(18, 3), "  5");          // columns 19-21
  EXPECT_EQ(line[22], '0');                      // column 23
  EXPECT_EQ(line[26], ';');                      // column 27
  EXPECT_EQ(line.substr(27), "  ");
  TxxDBFField wide{"LONG_NAME_X", 'C', 0, 254, 0, {}};
  EXPECT_EQ(DBFStructureLine(wide), "    LONG_NAME_X C (254,0), ;  ");
  TxxDBFField money{"AMOUNT", 'N', 0, 12, 2, {}};
  EXPECT_EQ(DBFStructureLine(money), "    AMOUNT     N ( 12,2), ;  ");
}

TEST(DBFStructure, ShownFramedAndTemporaryFileDeleted) {
  test::PluginHost ph;
  WriteCustomers(ph);
  ph.Keys({"Esc"});
  ShowDBFStructure(ph.Tree().Dos("DATA/CUST.DBF"));
  auto editors = ph.WindowsOf("editor");
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(editors[0].Title, ph.Tree().Dos("DATA/CUST.DBF"));
  EXPECT_NE(editors[0].Lines[0].find("VL~"), std::string::npos);
  EXPECT_EQ(ph.TempFiles(), 0);
  // The frame: longest line 30 characters, so 31 columns inside, 4 fields + 2 rows.
  const std::string screen = ph.Screen();
  EXPECT_NE(screen.find("\u250C" + std::string() + [] {
              std::string s;
              for (int i = 0; i < 32; ++i) s += "\u2500";
              return s;
            }() + "\u2510"),
            std::string::npos)
      << screen;

  // No name, a missing file: a warning box each, nothing shown.
  ShowDBFStructure("");
  ShowDBFStructure(ph.Tree().Dos("NOSUCH.DBF"));
  auto boxes = ph.WindowsOf("message");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Title, "VEM-LO");
  EXPECT_EQ(boxes[0].Lines, std::vector<std::string>{"No file name was given"});
  EXPECT_EQ(boxes[1].Lines, (std::vector<std::string>{"File not found", ph.Tree().Dos("NOSUCH.DBF")}));
  EXPECT_EQ(ph.WindowsOf("editor").size(), 1u);
}

TEST(DBFRecord, OneFieldPerLineAtLeastFortyOneWide) {
  test::PluginHost ph;
  WriteCustomers(ph);
  TxxDBF table;
  LoadDBF(table, false, ph.Tree().Dos("DATA/CUST.DBF"));
  ASSERT_EQ(table.State, dsLoaded);
  EXPECT_EQ(DBFRecordLine(table, 0, 1), "ID         :     2");
  EXPECT_EQ(DBFRecordLine(table, 1, 0), "NAME       :  abc");
  EXPECT_EQ(DBFRecordLine(table, 3, 2), "LONG_NAME_ : z");
  EXPECT_EQ(DBFRecordLine(table, 1, 7), "NAME       : ");  // past the values

  // Shown from a handle that is not loaded: the view loads its own copy.
  TxxDBF named;
  named.FileName = table.FileName;
  named.State = dsNamed;
  ph.Keys({"Esc"});
  ShowDBFRecord(named, 1);
  EXPECT_EQ(named.State, dsNamed);
  auto editors = ph.WindowsOf("editor");
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(editors[0].Title, "CUST.DBF 2/3");
  EXPECT_EQ(ph.TempFiles(), 0);
  // Short values: the minimum width of 40 plus one.
  std::string top = "\u250C";
  for (int i = 0; i < 42; ++i) top += "\u2500";
  top += "\u2510";
  EXPECT_NE(ph.Screen().find(top), std::string::npos) << ph.Screen();
  CloseDBF(table);
}

TEST(DBFBrowse, FilterItemsAndTitle) {
  test::PluginHost ph;
  WriteCustomers(ph);
  TxxDBF table;
  LoadDBF(table, false, ph.Tree().Dos("DATA/CUST.DBF"));
  ASSERT_EQ(table.State, dsLoaded);
  // Values trimmed and upper-cased, the pattern too.
  EXPECT_EQ(DBFFilteredRecords(table, 1, " a* "), (std::vector<int>{0, 2}));
  EXPECT_EQ(DBFFilteredRecords(table, 1, "?RAVO"), (std::vector<int>{1}));
  EXPECT_EQ(DBFFilteredRecords(table, 1, "  "), (std::vector<int>{0, 1, 2}));
  // A filter field outside the table: the value is empty.
  EXPECT_TRUE(DBFFilteredRecords(table, 9, "A*").empty());
  EXPECT_EQ(DBFFilteredRecords(table, -1, "*"), (std::vector<int>{0, 1, 2}));

  EXPECT_EQ(DBFBrowseItem(table, {1, 0}, 0), " abc        \xB3    1\xB3");
  EXPECT_EQ(DBFBrowseItem(table, {}, 0), "");
  EXPECT_EQ(DBFBrowseTitle(table, 60, 1, " b* "), table.FileName + " (NAME=\"B*\")");
  EXPECT_EQ(DBFBrowseTitle(table, 60, 9, "b*"), table.FileName);
  EXPECT_EQ(DBFBrowseTitle(table, 60, 1, ""), table.FileName);

  ph.Keys({"Down", "Enter"});
  EXPECT_EQ(BrowseDBF(table, {1, 2}, std::nullopt, "Topic", false, 1, "a*", 0), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  // Items 23 wide, less the 12 of the filter part: the path is shortened to 20.
  EXPECT_EQ(menus[0].Title, ShortenPath(table.FileName, 20) + " (NAME=\"A*\")");
  EXPECT_EQ(menus[0].Lines, (std::vector<std::string>{" abc        \xB3   12.50 \xB3", "alpha & co  \xB3    0.00 \xB3"}));

  // A filter no record passes: an empty menu.
  ph.Keys({"Esc"});
  EXPECT_EQ(BrowseDBF(table, {1}, std::string("Own title"), "Topic", false, 1, "Q*", 0), -1);
  menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[1].Title, "Own title");
  EXPECT_TRUE(menus[1].Lines.empty());
  CloseDBF(table);
}

TEST(DBFBrowse, MoreModeShowsRecordsAndComesBack) {
  test::PluginHost ph;
  WriteCustomers(ph);
  TxxDBF table;
  table.FileName = ph.Tree().Dos("DATA/CUST.DBF");
  table.State = dsNamed;
  // Enter on the third item: the record view; Esc there, Esc in the menu.
  ph.Keys({"Down", "Down", "Enter", "Esc", "Esc"});
  EXPECT_EQ(BrowseDBF(table, {0}, std::nullopt, "Topic", true, -1, "", 0), -1);
  auto editors = ph.WindowsOf("editor");
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(editors[0].Title, "CUST.DBF 3/3");
  EXPECT_EQ(ph.WindowsOf("menu").size(), 2u);
  EXPECT_EQ(ph.TempFiles(), 0);

  // An empty table shows nothing.
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("EMPTY.DBF"), {{"ID", 'N', 5, 0}}, {}));
  TxxDBF empty;
  empty.FileName = ph.Tree().Dos("EMPTY.DBF");
  empty.State = dsNamed;
  EXPECT_EQ(BrowseDBF(empty, {0}, std::nullopt, "Topic", true, -1, "", 0), -1);
  EXPECT_EQ(ph.WindowsOf("menu").size(), 2u);

  // A selected position past the last item: Enter picks what the host highlights.
  ph.Keys({"Enter"});
  table.State = dsNamed;
  const int chosen = BrowseDBF(table, {0}, std::nullopt, "Topic", false, -1, "", 7);
  EXPECT_GE(chosen, 0);
  EXPECT_LT(chosen, 3);
}

}  // namespace
}  // namespace vemlo
