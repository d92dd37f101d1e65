// Audit defines and audit calls.
#include <gtest/gtest.h>

#include "dbf_writer.h"
#include "fox/tools/audit.h"
#include "lib/xxlib.h"
#include "plugin_host.h"
#include "shell/vemlo.h"

namespace vemlo {
namespace {

std::vector<sim::ShownWindow> Boxes(test::PluginHost& ph, const std::string& kind) {
  std::vector<sim::ShownWindow> out;
  for (const auto& w : ph.WindowsOf(kind))
    if (!(w.Lines.size() == 2 && w.Lines[1].size() == 50)) out.push_back(w);  // not the progress box
  return out;
}

// A catalogue stored out of order: groups 01, 02, 03 with their members.
void WriteCatalogue(test::PluginHost& ph) {
  ph.Tree().Write("audit/PROCEDRS.DBF", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("audit/PROCEDRS.DBF"), {{"CODE", 'C', 6, 0}, {"NAME", 'C', 20, 0}},
                             {{{"0201", "OrderNew"}},
                              {{"01", "Customers"}},
                              {{"0102", "CustEdit"}},
                              {{"02", "Orders"}},
                              {{"0101", "CustNew"}},
                              {{"0202", "OrderDel"}},
                              {{"03", "Reports"}},
                              {{"0301", "RepDaily"}}}));
}

const char* kIni =
    "[AUDIT]\r\n"
    "ProcedrsSearchMask=>\\audit\\procedrs.dbf\r\n"
    "ProcedrsFieldName_CODE=code\r\n"
    "ProcedrsFieldName_NAME=NAME\r\n"
    "AuditDefineText=#DEFINE %NAME% %CODE%\r\n"
    "AuditDefineMask=AUD_*\r\n"
    "AuditWriteProcText=DO AuditWrite WITH %DEF%\r\n";

TEST(AuditDefines, SecondGroupOffersExactlyItsMembers) {
  test::PluginHost ph("x = 1\r\n");
  WriteCatalogue(ph);
  ph.Tree().Write("vemlo.ini", std::string(kIni) + "ProcedrsCodeGroupMask=??\r\nProcedrsNameGroupMask=C*\r\n");
  // Group menu: Down to the second group; check menu: Space marks the first, Enter.
  ph.Keys({"Down", "Enter", "Down", "Space", "Enter"});
  ASSERT_EQ(DispatchCommand(11), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_GE(menus.size(), 2u);
  const auto& group = menus.front();
  EXPECT_EQ(group.Title, "Audit groups");
  // Only the code mask groups (the name mask C* is not used when both are set).
  ASSERT_EQ(group.Lines.size(), 3u);
  EXPECT_EQ(group.Lines[1], "02 Orders");
  const auto& check = menus.back();
  EXPECT_EQ(check.Title, "02 Orders");
  ASSERT_EQ(check.Lines.size(), 2u);
  EXPECT_EQ(check.Lines[0], "0201 OrderNew");
  EXPECT_EQ(check.Lines[1], "0202 OrderDel");
  // The cursor line is split, then one line per marked member.
  EXPECT_EQ(ph.Text(), "\n#DEFINE OrderDel 0202\nx = 1\n");
}

TEST(AuditDefines, NameMaskAndNoGrouping) {
  test::PluginHost ph("");
  WriteCatalogue(ph);
  ph.Tree().Write("vemlo.ini", std::string(kIni) + "ProcedrsNameGroupMask=Cust*\r\n");
  // Groups by name in code order: Customers, CustNew, CustEdit; the last one's
  // members run to the end of the table. Enter with nothing marked takes the first.
  ph.Keys({"Down", "Down", "Enter", "Enter"});
  ASSERT_EQ(DispatchCommand(11), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].Lines, (std::vector<std::string>{"01 Customers", "0101 CustNew", "0102 CustEdit"}));
  EXPECT_EQ(menus[1].Lines,
            (std::vector<std::string>{"02 Orders", "0201 OrderNew", "0202 OrderDel", "03 Reports", "0301 RepDaily"}));
  EXPECT_EQ(ph.Text(), "\n#DEFINE Orders 02\n");

  test::PluginHost plain("");
  WriteCatalogue(plain);
  plain.Tree().Write("vemlo.ini", ReplaceAll(kIni, "#DEFINE %NAME% %CODE%", "plain"));
  plain.Keys({"Gray+", "Enter"});
  ASSERT_EQ(DispatchCommand(11), 1);
  auto only = plain.WindowsOf("menu");
  ASSERT_EQ(only.size(), 2u);  // shown again after the Gray+ break key
  EXPECT_EQ(only[1].Title, "PROCEDRS");
  EXPECT_EQ(only[1].Lines.size(), 8u);
  EXPECT_EQ(only[1].Lines[0], "01 Customers");  // sorted by code
  EXPECT_EQ(plain.Text(), "\n" + [] {
    std::string s;
    for (int i = 0; i < 8; ++i) s += "plain\n";
    return s;
  }());
}

TEST(AuditDefines, TemplateWithoutPlaceholdersAndWarnings) {
  test::PluginHost ph("");
  WriteCatalogue(ph);
  ph.Tree().Write("vemlo.ini",
                  "[AUDIT]\r\nProcedrsSearchMask=>\\audit\\procedrs.dbf\r\nProcedrsFieldName_CODE=CODE\r\n"
                  "ProcedrsFieldName_NAME=NAME\r\nAuditDefineText=* audit\r\n");
  ph.Keys({"Down", "Space", "Space", "Enter"});
  ASSERT_EQ(DispatchCommand(11), 1);
  EXPECT_EQ(ph.Text(), "\n* audit\n* audit\n");

  test::PluginHost missing("");
  missing.Tree().Write("vemlo.ini", "[AUDIT]\r\nProcedrsSearchMask=>\\none.dbf\r\n");
  missing.Keys({"Enter"});
  DispatchCommand(11);
  auto boxes = Boxes(missing, "message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Lines[0], "File not found");
  EXPECT_EQ(missing.Text(), "");

  test::PluginHost empty("");
  empty.Tree().Write("P.DBF", "");
  ASSERT_TRUE(test::WriteDbf(empty.Tree().Native("P.DBF"), {{"CODE", 'C', 6, 0}}, {}));
  empty.Tree().Write("vemlo.ini", "[AUDIT]\r\nProcedrsSearchMask=p.dbf\r\n");
  empty.Keys({"Enter"});
  DispatchCommand(11);
  boxes = Boxes(empty, "message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Lines[0], "The table has no records");
}

TEST(AuditCall, IndentedDefinesInAnyCase) {
  EXPECT_TRUE(IsAuditDefine("   #define AUD_X 1", "AUD_*"));
  EXPECT_TRUE(IsAuditDefine("#DEFINE aud_y", "AUD_*"));
  EXPECT_FALSE(IsAuditDefine("#DEFINE OTHER 1", "AUD_*"));
  EXPECT_FALSE(IsAuditDefine("#DEFINEAUD_X", "AUD_*"));
  EXPECT_FALSE(IsAuditDefine("* #DEFINE AUD_X", "AUD_*"));

  test::PluginHost ph("  #define aud_open 101 && opening\r\n#DEFINE OTHER 2\r\n#Define AUD_CLOSE\r\nx = 1\r\n");
  ph.Tree().Write("vemlo.ini", kIni);
  EditorSetPosition pos;
  pos.CurLine = 3;
  pos.CurPos = 0;
  ph.Host().EditorControl(ECTL_SETPOSITION, &pos);
  ph.Keys({"Down", "Enter"});
  ASSERT_EQ(DispatchCommand(12), 1);
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].Lines, (std::vector<std::string>{"aud_open 101 && opening", "AUD_CLOSE"}));
  EXPECT_EQ(ph.Text(), "  #define aud_open 101 && opening\n#DEFINE OTHER 2\n#Define AUD_CLOSE\n"
                       "DO AuditWrite WITH AUD_CLOSE\nx = 1\n");

  test::PluginHost none("x = 1\r\n");
  none.Tree().Write("vemlo.ini", kIni);
  none.Keys({"Enter"});
  DispatchCommand(12);
  auto boxes = Boxes(none, "message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Lines[0], "This file has no audit #DEFINE");
}

}  // namespace
}  // namespace vemlo
