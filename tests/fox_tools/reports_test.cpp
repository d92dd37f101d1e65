// The procedure report and the data dictionary report.
#include <gtest/gtest.h>

#include "dbf_writer.h"
#include "editor.h"
#include "lib/xxlib.h"
#include "plugin_host.h"
#include "shell/vemlo.h"

namespace vemlo {
namespace {

// Runs command 10, picks a report, and returns the report's text as the editor
// showed it.
std::string Report(test::PluginHost& ph, int item) {
  std::vector<std::string> keys;
  for (int i = 0; i < item; ++i) keys.push_back("Down");
  keys.push_back("Enter");
  ph.Keys(keys);
  EXPECT_EQ(DispatchCommand(10), 1);
  return ph.NestedEditorText();
}

void WriteDictionary(test::PluginHost& ph) {
  ph.Tree().Write("dict/B.DBF", "");
  ph.Tree().Write("dict/F.DBF", "");
  ph.Tree().Write("dict/I.DBF", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("dict/B.DBF"),
                             {{"BASE", 'C', 8, 0}, {"REM", 'C', 12, 0}, {"CROSS", 'C', 8, 0}},
                             {{{"CUST", "Customers", ""}}, {{"HIST", "History", "ORDERS"}}}));
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("dict/F.DBF"),
                             {{"BASE", 'C', 8, 0}, {"FNAME", 'C', 10, 0}, {"FTYPE", 'C', 1, 0},
                              {"FLEN", 'N', 3, 0}, {"FDEC", 'N', 1, 0}, {"REM", 'C', 10, 0}},
                             {{{" cust", "ID", "N", "  5", "0", "Key"}},
                              {{"HIST", "X", "C", " 10", "0", "never"}},
                              {{"Cust", "NAME", "C", " 30", "0", "Name"}}}));
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("dict/I.DBF"),
                             {{"BASE", 'C', 8, 0}, {"TAG", 'C', 6, 0}, {"KEY", 'C', 10, 0}, {"REM", 'C', 6, 0}},
                             {{{"CUST", "ID", "STR(ID)", "pk"}}}));
}

const char* kDictIni =
    "[KDF_BASES]\r\nSearchMask=>\\dict\\b.dbf\r\nFieldName_BASE=BASE\r\nFieldName_REM=REM\r\nFieldName_CROSS=CROSS\r\n"
    "[KDF_FIELDS]\r\nSearchMask=>\\dict\\f.dbf\r\nFieldName_BASE=BASE\r\nFieldName_FNAME=FNAME\r\n"
    "FieldName_FTYPE=FTYPE\r\nFieldName_FLEN=FLEN\r\nFieldName_FDEC=FDEC\r\nFieldName_REM=REM\r\n"
    "[KDF_INDEX]\r\nSearchMask=>\\dict\\i.dbf\r\nFieldName_BASE=BASE\r\nFieldName_KEY=KEY\r\nFieldName_REM=REM\r\n";

TEST(Reports, DataDictionaryAlignsFieldsAndFollowsCrossReferences) {
  test::PluginHost ph("x = 1\r\n");
  WriteDictionary(ph);
  ph.Tree().Write("vemlo.ini", std::string(kDictIni) + "FieldName_TAG=TAG\r\n");
  const std::string text = Report(ph, 1);
  EXPECT_EQ(text,
            "\n"
            "------ CUST     Customers   \n"
            "fields\n"
            "  ID         N (  5,0) Key       \n"
            "  NAME       C ( 30,0) Name      \n"
            "indexes\n"
            "  ID     STR(ID)    pk    \n"
            "\n"
            "------ HIST     History     \n"
            "fields\n"
            "  = ORDERS  \n"
            "indexes\n");
  EXPECT_EQ(ph.TempFiles(), 0);
}

TEST(Reports, NoIndexesWithoutTheTagColumnAndMissingBaseColumnWarns) {
  test::PluginHost ph("x = 1\r\n");
  WriteDictionary(ph);
  ph.Tree().Write("vemlo.ini", kDictIni);
  const std::string text = Report(ph, 1);
  EXPECT_EQ(text.find("indexes"), std::string::npos);
  EXPECT_NE(text.find("fields"), std::string::npos);

  test::PluginHost bare("x = 1\r\n");
  bare.Tree().Write("vemlo.ini", "[PROJ]\r\n");
  bare.Keys({"Down", "Enter", "Enter"});
  EXPECT_EQ(DispatchCommand(10), 1);
  bool warned = false;
  for (const auto& w : bare.WindowsOf("message"))
    if (w.Lines.size() == 2 && w.Lines[1] == "[KDF_BASES] FieldName_BASE") warned = true;
  EXPECT_TRUE(warned);
  EXPECT_TRUE(bare.WindowsOf("editor").empty());
}

// In the edited file a procedure named like the file hides the main entry.
TEST(Reports, ProcedureReportListsNamedEntriesCutToTwenty) {
  test::PluginHost ph("PROCEDURE Main\r\nPARAMETERS a, m.b\r\nRETURN\r\n"
                      "FUNCTION AVeryLongFunctionNameIndeed\r\nRETURN 1\r\n");
  ph.Tree().Write("lib/UTIL.PRG", "* util\r\nPROC Helper\r\nPARA x\r\nRETURN\r\n");
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nLibSearchMask=>\\lib\\\r\n");
  const std::string text = Report(ph, 0);
  const std::string dashes(21, '-');
  const std::string lib = UpperCase(ph.Tree().Dos("lib/UTIL.PRG"));
  const std::string edited = UpperCase(ph.EditedPath());
  EXPECT_EQ(text, dashes + lib + "\n" + "Helper               (x)\n" + dashes + edited + "\n" +
                      "Main                 (a, b)\n"
                      "AVeryLongFunctionNam ()\n");
}

// A class with its parent, its methods under it by their bare names (the
// long ones not cut), and the code after ENDDEFINE a procedure again.
TEST(Reports, ProcedureReportListsClassesWithTheirMethods) {
  test::PluginHost ph("DEFINE CLASS frmOrderEntryWithALongName AS Form OF forms.vcx\r\n"
                      "  Caption = 'x'\r\n"
                      "  PROCEDURE Init(tcTitle)\r\n"
                      "  ENDPROC\r\n"
                      "  PROTECTED FUNCTION Render\r\n"
                      "  LPARAMETERS tnMode\r\n"
                      "  ENDFUNC\r\n"
                      "  HIDDEN PROCEDURE ForgetEverythingAtOnce\r\n"
                      "  ENDPROC\r\n"
                      "ENDDEFINE\r\n"
                      "FUNCTION AfterTheClass(a)\r\n"
                      "RETURN a\r\n");
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\n");
  const std::string text = Report(ph, 0);
  const std::string dashes(21, '-');
  EXPECT_EQ(text, dashes + UpperCase(ph.EditedPath()) + "\n" + "MAIN.PRG             ()\n" +
                      "frmOrderEntryWithALongName AS Form OF forms.vcx\n"
                      "  Init               (tcTitle)\n"
                      "  protected Render   (tnMode)\n"
                      "  hidden ForgetEverythingAtOnce ()\n"
                      "AfterTheClass        (a)\n");
}

}  // namespace
}  // namespace vemlo
