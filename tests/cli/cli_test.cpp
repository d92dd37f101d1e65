// The built vemlo program on a copy of the demo project: its answers equal the
// plug-in's (procedure list, structure review listing, formatter, reports) on
// the same files, it writes only for format without --check, and bad
// arguments, damaged tables and junk get a message and an exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "dbf/xxdbf.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "script_process.h"
#include "shell/vemlo.h"

namespace vemlo {
namespace {

const std::string kDemo = std::string(VEMLO_BINARY_DIR) + "/demo";

struct CliRun {
  int Status = -1;
  std::string Out, Err;
};

// Runs vemlo with the arguments (already quoted where needed), the options from
// the tree's own registry file as the plug-in host of the tests reads them.
CliRun Vemlo(const test::TempTree& tree, const std::string& args, bool registry = true) {
  const std::string out = tree.Native("cli.out"), err = tree.Native("cli.err");
  std::string command = test::ShellQuote(VEMLO_CLI_PATH) + " " + args;
  if (registry) command += " --registry " + test::ShellQuote(tree.Native("registry.ini"));
  // In a group of its own, so that the runner's joining of the two streams
  // after it leaves them apart.
  command = "{ " + command + " >" + test::ShellQuote(out) + " 2>" + test::ShellQuote(err) + "; }";
  CliRun r;
  r.Status = test::RunCommand(command).Status;
  r.Out = tree.Read("cli.out");
  r.Err = tree.Read("cli.err");
  std::remove(out.c_str());
  std::remove(err.c_str());
  EXPECT_FALSE(test::HasSanitizerReport(r.Err)) << r.Err;
  return r;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string WithoutCR(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

std::string Q(const std::string& s) { return test::ShellQuote(s); }

// The plug-in on a copy of the demo with `rel` open in its editor; the command
// line runs on the same copy.
struct Demo {
  explicit Demo(const std::string& rel = "demo/src/ORDERS.PRG")
      : Ph(ReadDemo(rel.substr(5)), rel) {
    test::CopyTree(kDemo, Ph.Tree().Native("demo"));
    std::remove(Ph.Tree().Native("demo/registry.ini").c_str());  // the tests' registry is the tree's own
  }
  static std::string ReadDemo(const std::string& rel) {
    std::ifstream in(kDemo + "/" + rel, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Path(const std::string& rel) { return Ph.Tree().Native(rel); }
  CliRun Cli(const std::string& args) { return Vemlo(Ph.Tree(), args); }
  test::PluginHost Ph;
};

// The first lines (from 0) of the entries the procedure list shows.
std::vector<int> EntryLines(const std::string& procsOutput) {
  std::vector<int> lines;
  for (const std::string& l : SplitLines(procsOutput)) lines.push_back(std::stoi(l.substr(0, 6)) - 1);
  return lines;
}

TEST(CliDemo, ProcsEqualsThePluginsProcedureList) {
  Demo d;
  ASSERT_FALSE(Demo::ReadDemo("src/ORDERS.PRG").empty()) << "the demo project is not built";
  const CliRun r = d.Cli("procs " + Q(d.Path("demo/src/ORDERS.PRG")));
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  d.Ph.Keys({"Esc"});
  EXPECT_EQ(DispatchCommand(5), 1);
  const auto menus = d.Ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 1u);
  std::string shown;
  for (std::string line : menus[0].Lines) {
    if (!line.empty() && line[0] == '\x10') line[0] = ' ';  // the cursor's triangle
    shown += line + "\n";
  }
  EXPECT_EQ(r.Out, shown);
  EXPECT_EQ(SplitLines(r.Out).size(), 7u);
  EXPECT_NE(r.Out.find("\xC3\xC4" "func CheckCust (cId)\n"), std::string::npos);
}

TEST(CliDemo, StructEqualsThePluginsListingOfEveryProcedure) {
  for (const char* rel : {"demo/src/ORDERS.PRG", "demo/MAIN.PRG"}) {
    Demo d(rel);
    const CliRun procs = d.Cli("procs " + Q(d.Path(rel)));
    const CliRun r = d.Cli("struct " + Q(d.Path(rel)));
    ASSERT_EQ(r.Status, 0) << r.Err;
    std::vector<std::string> blocks;
    for (size_t at = 0;;) {
      const size_t end = r.Out.find("\n\n", at);
      blocks.push_back(r.Out.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at));
      if (end == std::string::npos) break;
      at = end + 2;
    }
    const std::vector<int> entries = EntryLines(procs.Out);
    ASSERT_EQ(blocks.size(), entries.size()) << rel;
    for (size_t i = 0; i < entries.size(); ++i) {
      FarGotoLine(entries[i], -1, -1, 0, false);
      d.Ph.Keys({"Gray+", "Ctrl+P", "Esc", "Esc"});  // every category, the listing, back
      EXPECT_EQ(DispatchCommand(6), 1);
      EXPECT_EQ(d.Ph.NestedEditorText(), blocks[i]) << rel << " entry at line " << entries[i] + 1;
    }
  }
}

TEST(CliDemo, FormatCheckListsTheFilesAndWritesNothing) {
  Demo d;
  const test::TreeSnapshot before = test::SnapshotTree(d.Path("demo"));
  const std::string orders = d.Path("demo/src/ORDERS.PRG"), utils = d.Path("demo/lib/UTILS.PRG");
  const CliRun r = d.Cli("format --check " + Q(orders) + " " + Q(utils));
  EXPECT_EQ(r.Status, 1) << r.Err;
  EXPECT_EQ(r.Out, orders + "\n" + utils + "\n");
  EXPECT_TRUE(test::TreeDifferences(before, test::SnapshotTree(d.Path("demo"))).empty());
}

TEST(CliDemo, FormatWritesTheFormattersTextAndNothingElse) {
  Demo d;
  const std::string rel = "demo/src/ORDERS.PRG", path = d.Path(rel);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  const test::TreeSnapshot before = test::SnapshotTree(d.Path("demo"));
  // The plug-in's formatter on every procedure of the file, in its editor.
  for (int line : EntryLines(d.Cli("procs " + Q(path)).Out)) {
    FarGotoLine(line, -1, -1, 0, false);
    d.Ph.Keys({"Enter"});  // automatic
    EXPECT_EQ(DispatchCommand(8), 1);
  }
  const std::string expected = d.Ph.Text();
  ASSERT_NE(expected, WithoutCR(d.Ph.Tree().Read(rel)));

  const CliRun r = d.Cli("format " + Q(path));
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  const std::string written = d.Ph.Tree().Read(rel);
  EXPECT_EQ(WithoutCR(written).substr(0, expected.size()), expected);
  EXPECT_EQ(WithoutCR(written).size(), expected.size() + (expected.back() == '\n' ? 0 : 1));
  // Line ends kept, permissions kept, no other file changed or left behind.
  EXPECT_EQ(std::count(written.begin(), written.end(), '\r'), std::count(written.begin(), written.end(), '\n'));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(test::TreeDifferences(before, test::SnapshotTree(d.Path("demo"))), std::vector<std::string>{"changed src/ORDERS.PRG"});
  // Formatted once, it stays: --check finds nothing more.
  const CliRun again = d.Cli("format --check " + Q(path));
  EXPECT_EQ(again.Status, 0);
  EXPECT_EQ(again.Out, "");
}

TEST(CliDemo, FormatOptionsComeFromTheRegistryAndTheCommandLine) {
  Demo d;
  const std::string path = d.Path("demo/src/ORDERS.PRG");
  d.Ph.Tree().Write("registry.ini", "[Software\\Far\\Plugins\\VEM-LO]\nFmtTextStructIndentStep=000t002s\n");
  ASSERT_EQ(d.Cli("format " + Q(path)).Status, 0);
  const std::string two = d.Ph.Tree().Read("demo/src/ORDERS.PRG");
  EXPECT_NE(two.find("\r\n  RELEASE WINDOW wOrder\r\n"), std::string::npos);
  ASSERT_EQ(d.Cli("format --option " + Q("FmtTextStructIndentStep=  0t  4s") + " " + Q(path)).Status, 0);
  EXPECT_NE(d.Ph.Tree().Read("demo/src/ORDERS.PRG").find("\r\n    RELEASE WINDOW wOrder\r\n"), std::string::npos);
  const CliRun bad = d.Cli("format --option NoSuchOption=1 " + Q(path));
  EXPECT_EQ(bad.Status, 2);
  EXPECT_NE(bad.Err.find("NoSuchOption"), std::string::npos);
}

TEST(CliDemo, ReportsEqualThePluginsReports) {
  Demo d;
  const auto pluginReport = [&](int item) {
    std::vector<std::string> keys(static_cast<size_t>(item), "Down");
    keys.push_back("Enter");
    keys.push_back("Esc");
    d.Ph.Keys(keys);
    EXPECT_EQ(DispatchCommand(10), 1);
    return d.Ph.NestedEditorText();
  };
  const CliRun dict = d.Cli("report dict " + Q(d.Path("demo/src")));
  ASSERT_EQ(dict.Status, 0) << dict.Err;
  EXPECT_EQ(dict.Out, pluginReport(1));
  EXPECT_NE(dict.Out.find("\n------ CUSTOMER "), std::string::npos);

  // The edited file is parsed from the plug-in's editor (named as a library
  // there); every other program reads the same from disk.
  const auto others = [](const std::string& report) {
    std::string out;
    bool skip = false;
    for (const std::string& l : SplitLines(report)) {
      if (l.rfind("-----", 0) == 0) skip = l.find("\\SRC\\ORDERS.PRG") != std::string::npos;
      if (!skip) out += l + "\n";
    }
    return out;
  };
  const CliRun procs = d.Cli("report procs " + Q(d.Path("demo")));
  ASSERT_EQ(procs.Status, 0) << procs.Err;
  const std::string plugin = pluginReport(0);
  EXPECT_EQ(others(procs.Out), others(plugin));
  EXPECT_EQ(SplitLines(procs.Out).size(), SplitLines(plugin).size());
  EXPECT_NE(procs.Out.find("\nCheckCust            (cId)\n"), std::string::npos);
  EXPECT_NE(procs.Out.find("\\DEMO\\LIB\\UTILS.PRG\n"), std::string::npos);
}

TEST(CliProject, ReportWithoutAProjectOrItsColumnsFails) {
  test::TempTree tree;
  tree.Write("x/A.PRG", "x = 1\r\n");
  CliRun r = Vemlo(tree, "report procs " + Q(tree.Native("x")));
  EXPECT_EQ(r.Status, 3);
  EXPECT_NE(r.Err.find("vemlo.ini"), std::string::npos);
  tree.Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\x\\\r\n");
  r = Vemlo(tree, "report dict " + Q(tree.Native("x/A.PRG")));
  EXPECT_EQ(r.Status, 3);
  EXPECT_NE(r.Err.find("[KDF_BASES] FieldName_BASE"), std::string::npos);
  EXPECT_EQ(r.Out, "");
  r = Vemlo(tree, "report procs " + Q(tree.Native("x/A.PRG")));
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, std::string(21, '-') + UpperCase(tree.Dos("x/A.PRG")) + "\nA                    ()\n");
  EXPECT_EQ(Vemlo(tree, "report procs " + Q(tree.Native("nowhere"))).Status, 3);
}

TEST(CliCheck, UnbalancedBlocksAsFileLineColumn) {
  test::TempTree tree;
  tree.Write("p/A.PRG",
             "PROCEDURE A\r\n"
             "IF x\r\n"
             "  DO WHILE .T.\r\n"
             "  ENDIF\r\n"
             "\tELSE\r\n"
             "ENDIF\r\n"
             "PROCEDURE B\r\n"
             "DO CASE\r\n"
             "  ELSE\r\n"
             "  LOOP\r\n");
  tree.Write("p/sub/B.spr", "FOR i = 1 TO 3\r\n  EXIT\r\nNEXT\r\nENDDO\r\n");
  tree.Write("p/sub/C.TXT", "ENDIF\r\n");  // not a program file
  tree.Write("p/D.PRG", "IF a\r\nELSE\r\nENDIF\r\n");
  const std::string a = tree.Native("p/A.PRG"), b = tree.Native("p/sub/B.spr");
  CliRun r = Vemlo(tree, "check " + Q(tree.Native("p")));
  EXPECT_EQ(r.Status, 1) << r.Err;
  EXPECT_EQ(r.Out, a + ":3:3: DO WHILE without ENDDO\n" +
                   a + ":5:2: ELSE without IF\n" +
                   a + ":6:1: ENDIF without IF\n" +
                   a + ":8:1: DO CASE without ENDCASE\n" +
                   a + ":9:3: ELSE without IF\n" +
                   a + ":10:3: LOOP outside a loop\n" +
                   b + ":4:1: ENDDO without DO WHILE\n");
  // A balanced file alone; a file given by name whatever its extension.
  r = Vemlo(tree, "check " + Q(tree.Native("p/D.PRG")));
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "");
  r = Vemlo(tree, "check " + Q(tree.Native("p/sub/C.TXT")));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, tree.Native("p/sub/C.TXT") + ":1:1: ENDIF without IF\n");
  // A path that is not there: a message, and the others are still checked.
  r = Vemlo(tree, "check " + Q(tree.Native("p/none.prg")) + " " + Q(tree.Native("p/D.PRG")));
  EXPECT_EQ(r.Status, 3);
  EXPECT_NE(r.Err.find("none.prg"), std::string::npos);
}

TEST(CliCheck, VisualFoxProBlocksAreKnown) {
  test::TempTree tree;
  tree.Write("p/FORMS.PRG",
             "DEFINE CLASS frm AS Form\r\n"
             "Text = .NULL.\r\n"
             "PROCEDURE Init\r\n"
             "TRY\r\n"
             "  FOR EACH o IN THIS.Controls\r\n"
             "  ENDFOR\r\n"
             "CATCH\r\n"
             "ENDTRY\r\n"
             "ENDPROC\r\n"
             "ENDDEFINE\r\n");
  tree.Write("p/BAD.PRG", "PROCEDURE A\r\nTRY\r\nx = 1\r\nPROCEDURE B\r\n  ENDWITH\r\n#IF .T.\r\n");
  const std::string bad = tree.Native("p/BAD.PRG");
  CliRun r = Vemlo(tree, "check " + Q(tree.Native("p/FORMS.PRG")));
  EXPECT_EQ(r.Status, 0) << r.Out;
  r = Vemlo(tree, "check " + Q(bad));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, bad + ":2:1: TRY without ENDTRY\n" + bad + ":5:3: ENDWITH without WITH\n" + bad +
                       ":6:1: #IF without #ENDIF\n");
}

TEST(CliCheck, TheDemoIsBalancedAndItsBranchWithoutOpenerIsTheStructuresQuestionMark) {
  test::TempTree tree;
  test::CopyTree(kDemo, tree.Native("demo"));
  CliRun r = Vemlo(tree, "check " + Q(tree.Native("demo")));
  EXPECT_EQ(r.Status, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out, "");
  tree.Write("Q.PRG", "PROCEDURE Q\r\nIF a\r\nCASE b\r\nENDIF\r\n");
  r = Vemlo(tree, "check " + Q(tree.Native("Q.PRG")));
  EXPECT_EQ(r.Out, tree.Native("Q.PRG") + ":3:1: CASE without DO CASE\n");
  r = Vemlo(tree, "struct " + Q(tree.Native("Q.PRG")));
  const std::vector<std::string> lines = SplitLines(r.Out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[2].find('?'), std::string::npos);  // the review's corner for the same statement
  EXPECT_EQ(lines[2].rfind("3     ", 0), 0u);
}

TEST(CliDbf, StructureAndRecordsOfADemoTable) {
  test::TempTree tree;
  const std::string path = kDemo + "/data/CUSTOMER.DBF";
  const CliRun r = Vemlo(tree, "dbf " + Q(path));
  ASSERT_EQ(r.Status, 0) << r.Err;
  TxxDBF table;
  ASSERT_EQ(ReadDBF(table, false, platform::ToDosPath(path)), TxxReadStatus::Read);
  const std::vector<std::string> lines = SplitLines(r.Out);
  ASSERT_GT(table.RecCount, 2);
  const size_t fields = table.Fields.size();
  ASSERT_EQ(lines.size(), 1 + fields + static_cast<size_t>(table.RecCount) * (2 + fields));
  EXPECT_EQ(lines[0], path + ": " + std::to_string(fields) + " fields, " + std::to_string(table.RecCount) + " records");
  EXPECT_EQ(lines[1], "    CUST_ID    C (  6,0), ;");
  EXPECT_EQ(lines[1 + fields], "");
  EXPECT_EQ(lines[2 + fields], "record 1/" + std::to_string(table.RecCount));
  EXPECT_EQ(lines[3 + fields], "CUST_ID    : C00001");
  // Every record's key, in the table's order.
  const int id = FindDBFField(table, "CUST_ID");
  for (int rec = 0; rec < table.RecCount; ++rec)
    EXPECT_EQ(lines[1 + fields + static_cast<size_t>(rec) * (2 + fields) + 2], "CUST_ID    : " + DBFValueRef(table, id, rec));
  CloseDBF(table);
}

TEST(CliDbf, DamagedTablesAndJunkGetAMessage) {
  test::TempTree tree;
  std::ifstream in(kDemo + "/data/CUSTOMER.DBF", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string good = s.str();
  ASSERT_GT(good.size(), 100u);
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;
  } cases[] = {
      {"short.dbf", good.substr(0, good.size() - 37), "size does not agree"},
      {"version.dbf", "\x42" + good.substr(1), "not a DBF table"},
      {"tiny.dbf", good.substr(0, 10), "not a DBF table"},
      {"empty.dbf", "", "not a DBF table"},
  };
  for (const Case& c : cases) {
    tree.Write(c.Name, c.Bytes);
    const CliRun r = Vemlo(tree, std::string("dbf ") + Q(tree.Native(c.Name)));
    EXPECT_EQ(r.Status, 3) << c.Name;
    EXPECT_EQ(r.Out, "") << c.Name;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << c.Name << ": " << r.Err;
    EXPECT_EQ(tree.Read(c.Name), c.Bytes) << c.Name;
  }
  const CliRun missing = Vemlo(tree, "dbf " + Q(tree.Native("none.dbf")));
  EXPECT_EQ(missing.Status, 3);
  EXPECT_NE(missing.Err.find("File not found"), std::string::npos);
  EXPECT_EQ(Vemlo(tree, "dbf " + Q(tree.Root)).Status, 3);
}

TEST(CliInput, JunkAndMissingProgramFilesNeverCrash) {
  test::TempTree tree;
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) % 256);
  junk += std::string(200000, 'x') + ";\r\nIF\r\n\x1A";
  tree.Write("J.PRG", junk);
  for (const char* command : {"procs", "struct", "check", "format --check"}) {
    const CliRun r = Vemlo(tree, std::string(command) + " " + Q(tree.Native("J.PRG")));
    EXPECT_GE(r.Status, 0) << command;
    EXPECT_LE(r.Status, 1) << command << ": " << r.Err;
    const CliRun none = Vemlo(tree, std::string(command) + " " + Q(tree.Native("none.prg")));
    EXPECT_EQ(none.Status, 3) << command;
    EXPECT_NE(none.Err.find("none.prg"), std::string::npos) << command;
  }
  EXPECT_EQ(tree.Read("J.PRG"), junk);
}

TEST(CliUsage, BadArgumentsGiveTheUsageAndTwo) {
  test::TempTree tree;
  tree.Write("A.PRG", "x = 1\r\n");
  const std::string a = Q(tree.Native("A.PRG"));
  for (const std::string& args : std::vector<std::string>{"", "bogus", "procs", "procs " + a + " " + a,
                                  "struct", "format", "check", "dbf", "report", "report both", "report procs a b",
                                  "procs --check " + a, "procs --wrong " + a, "format --option " + a,
                                  "format --option =1 " + a}) {
    const CliRun r = Vemlo(tree, args, false);
    EXPECT_EQ(r.Status, 2) << args;
    EXPECT_EQ(r.Out, "") << args;
    EXPECT_NE(r.Err.find("Try 'vemlo --help'"), std::string::npos) << args;
  }
  EXPECT_EQ(Vemlo(tree, "procs " + a + " --registry", false).Status, 2);
  EXPECT_EQ(tree.Read("A.PRG"), "x = 1\r\n");
}

TEST(CliUsage, HelpForTheProgramAndEachCommand) {
  test::TempTree tree;
  const CliRun all = Vemlo(tree, "--help", false);
  EXPECT_EQ(all.Status, 0);
  for (const char* command : {"procs", "struct", "format", "check", "report", "dbf"}) {
    EXPECT_NE(all.Out.find(std::string("vemlo ") + command + " "), std::string::npos) << command;
    for (const std::string& args : {std::string(command) + " --help", std::string("help ") + command}) {
      const CliRun r = Vemlo(tree, args, false);
      EXPECT_EQ(r.Status, 0) << args;
      EXPECT_EQ(r.Out.rfind(std::string("usage: vemlo ") + command, 0), 0u) << args << ": " << r.Out;
      EXPECT_NE(r.Out.find("--registry"), std::string::npos);
    }
  }
  EXPECT_NE(Vemlo(tree, "format --help", false).Out.find("--check"), std::string::npos);
}

}  // namespace
}  // namespace vemlo
