#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "fake_editor.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "host/settings_file.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

using test::FakeEditorHost;
using test::TempTree;

uint32_t DosStamp(int year, int month, int day, int hour, int minute) {
  return (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(month) << 21) |
         (static_cast<uint32_t>(day) << 16) | (static_cast<uint32_t>(hour) << 11) |
         (static_cast<uint32_t>(minute) << 5);
}

std::string Dir(const TempTree& tree, const std::string& rel) { return tree.Dos(rel) + "\\"; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl = text.find('\n'); nl != std::string::npos; start = nl + 1, nl = text.find('\n', start)) {
    lines.push_back(text.substr(start, nl - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFoxModel();
    ReleaseIni();
  }
  void TearDown() override {
    ResetFoxModel();
    ReleaseIni();
  }

  // Opens a file of the tree in the fake editor, with its disk text unless given.
  void Edit(FakeEditorHost& host, const std::string& rel, int cursorLine,
            const std::string& text = std::string()) {
    host.FileName = tree.Dos(rel);
    host.Lines = SplitLines(text.empty() ? tree.Read(rel) : text);
    host.CurLine = cursorLine;
    host.CurPos = 0;
  }

  int ProgIndexOf(const std::string& rel) const {
    const std::string name = UpperCase(tree.Dos(rel));
    const TxxFoxProgArr& progs = FoxProj().Progs;
    for (size_t i = 0; i < progs.size(); ++i) {
      if (progs[i].FileName == name) return static_cast<int>(i);
    }
    return -1;
  }

  TempTree tree;
};

TEST_F(ProjectTest, SettingsFileUpTheTreeThenBesideTheModule) {
  tree.Write("A/vemlo.ini", "[PROJ]\n");
  tree.Write("A/B/C/x.prg", "x\n");
  tree.Write("mod/vemlo.ini", "[PROJ]\n");
  FakeEditorHost host(tree.Dos("mod/vemlo.dll"));
  const std::string found = FindSettingsFile(UpperCase(Dir(tree, "A/B/C")));
  EXPECT_EQ(UpperCase(platform::ExpandFileName(found)), UpperCase(tree.Dos("A/vemlo.ini")));
  // A nearer one wins.
  tree.Write("A/B/VEMLO.INI", "[PROJ]\n");
  EXPECT_EQ(UpperCase(FindSettingsFile(UpperCase(Dir(tree, "A/B/C")))),
            UpperCase(tree.Dos("A/B/vemlo.ini")));
  // None up the tree: the one beside the module.
  tree.Write("other/y.prg", "y\n");
  EXPECT_EQ(UpperCase(FindSettingsFile(UpperCase(Dir(tree, "other")))),
            UpperCase(tree.Dos("mod/vemlo.ini")));
  // None at all.
  FakeEditorHost bare(tree.Dos("nomod/vemlo.dll"));
  EXPECT_EQ(FindSettingsFile(UpperCase(Dir(tree, "other"))), "");
}

TEST_F(ProjectTest, MasksWithTheSettingsDirectoryMarker) {
  tree.Write("A/vemlo.ini",
             "[PROJ]\nPrgSearchMask = >\\src\\; .\\*.prg ; >\\src\\one.prg\n"
             "LibSearchMask=\nDBFSearchMask = >\\data\\\n");
  tree.Write("A/src/one.prg", "* one\n");
  tree.Write("A/src/Two.PRG", "* two\n");
  tree.Write("A/src/skip.txt", "no\n");
  tree.Write("A/B/x.prg", "* x\n");
  tree.Write("A/data/t1.dbf", "");
  tree.Write("A/data/T2.DBF", "");
  FakeEditorHost host;
  ASSERT_TRUE(LoadIni(tree.Dos("A/vemlo.ini")));
  const std::string settingsDir = Dir(tree, "A");
  const std::string baseDir = UpperCase(Dir(tree, "A/B"));
  const std::string masks = ReadSearchMask(IniFile(), "PROJ", "PrgSearchMask", settingsDir, baseDir);
  EXPECT_EQ(masks.back(), ';');
  EXPECT_EQ(masks.find(">\\"), std::string::npos);
  EXPECT_EQ(ReadSearchMask(IniFile(), "PROJ", "LibSearchMask", settingsDir, baseDir), "");
  EXPECT_EQ(ReadSearchMask(IniFile(), "PROJ", "Missing", settingsDir, baseDir), "");

  TxxFoxProgArr progs;
  ListProgFiles(masks, progs, false);
  std::multiset<std::string> names;
  for (const TxxFoxProg& p : progs) {
    names.insert(p.FileName);
    EXPECT_EQ(p.FileName, UpperCase(p.FileName));
    EXPECT_EQ(p.State, psNotRead);
    EXPECT_EQ(p.IsLibrary, 0);
    EXPECT_TRUE(p.Procs.empty());
  }
  // one.prg is listed by two items, so it is there twice.
  const std::multiset<std::string> expected = {
      UpperCase(tree.Dos("A/src/one.prg")), UpperCase(tree.Dos("A/src/one.prg")),
      UpperCase(tree.Dos("A/src/Two.PRG")), UpperCase(tree.Dos("A/B/x.prg"))};
  EXPECT_EQ(names, expected);

  TxxFoxProgArr libs;
  ListProgFiles(tree.Dos("A/src/one.prg"), libs, true);  // no ";" at the end
  ASSERT_EQ(libs.size(), 1u);
  EXPECT_EQ(libs[0].IsLibrary, 1);
  EXPECT_EQ(libs[0].FileSize, 6);

  TxxBaseList bases;
  ListBaseFiles(ReadSearchMask(IniFile(), "PROJ", "DBFSearchMask", settingsDir, baseDir), bases);
  std::sort(bases.begin(), bases.end());
  ASSERT_EQ(bases.size(), 2u);
  // Table paths keep the letter case found on disk.
  EXPECT_EQ(ExtractFileName(bases[0]), "T2.DBF");
  EXPECT_EQ(ExtractFileName(bases[1]), "t1.dbf");
}

TEST_F(ProjectTest, DatabaseContainersAddTheirTablesOnceAndTellUnreadableOnes) {
  // The scenario's container (tests/dbf/make_dbc_fixtures.py) and its tables.
  const std::string fixture = std::string(VEMLO_SOURCE_DIR) + "/tests/scenarios/vfp-database/";
  for (const char* rel : {"db/SALES.DBC", "db/SALES.DCT", "db/custacct.dbf", "orders/ordlines.dbf"}) {
    std::FILE* in = std::fopen((fixture + rel).c_str(), "rb");
    ASSERT_TRUE(in) << rel;
    std::string bytes;
    for (int c; (c = std::fgetc(in)) != EOF;) bytes += static_cast<char>(c);
    std::fclose(in);
    tree.Write(std::string("A/") + rel, bytes);
  }
  tree.Write("A/junk.dbc", std::string(64, '\x55'));
  tree.Write("A/vemlo.ini",
             "[PROJ]\nDBFSearchMask=>\\db\\CUSTACCT.DBF\nDBCSearchMask=>\\db\\;>\\junk.dbc;>\\none.dbc\n");
  const auto load = [&](TxxFoxProj& proj) {
    TxxIniFile ini;
    return LoadProject(proj, ini, UpperCase(Dir(tree, "A")), tree.Dos("A/vemlo.ini"));
  };
  TxxFoxProj proj;
  const TxxProjectProblems problems = load(proj);
  // The junk file is told; a mask that finds nothing is silent, as for tables.
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].What, TxxProjectProblem::Kind::Read);
  EXPECT_EQ(problems[0].Read.Status, TxxReadStatus::BadVersion);
  EXPECT_EQ(UpperCase(problems[0].Read.File), UpperCase(tree.Dos("A/junk.dbc")));
  ASSERT_EQ(proj.Databases.size(), 2u);
  EXPECT_EQ(proj.Databases[0].Tables.size(), 2u);
  EXPECT_TRUE(proj.Databases[1].Tables.empty());
  // custacct.dbf is listed by the table mask already (in other letter case).
  ASSERT_EQ(proj.Bases.size(), 2u);
  EXPECT_EQ(ExtractFileName(proj.Bases[0]), "custacct.dbf");
  EXPECT_EQ(UpperCase(proj.Bases[1]), UpperCase(tree.Dos("A/orders/ordlines.dbf")));

  // A table of the container that is not on disk is no project table; the
  // next load starts afresh.
  ASSERT_TRUE(platform::DeleteFile(tree.Dos("A/orders/ordlines.dbf")));
  EXPECT_EQ(load(proj).size(), 1u);
  EXPECT_EQ(proj.Bases.size(), 1u);
  EXPECT_EQ(proj.Databases.size(), 2u);
}

const char* const kXPrg =
    "* X.PRG header\n"       // 0
    "* second header line\n" // 1
    "#DEFINE K_X 1\n"        // 2
    "SET TALK OFF\n"         // 3
    "DO p1\n"                // 4
    "* p1 comment\n"         // 5
    "PROCEDURE p1\n"         // 6
    "m.a = 1\n"              // 7
    "RETURN\n"               // 8
    "FUNCTION f2(x)\n"       // 9
    "m.b = x\n"              // 10
    "RETURN m.b\n";          // 11

void WriteProject(const TempTree& tree) {
  tree.Write("A/vemlo.ini",
             "[PROJ]\nPrgSearchMask = .\\*.prg\nLibSearchMask = >\\lib\\\n"
             "[KDF_BASES]\nSearchMask = >\\data\\nothere*.dbf\n");
  tree.Write("A/B/x.prg", kXPrg);
  tree.Write("A/B/y.prg", "PROCEDURE y1\n");
  tree.Write("A/C/z.prg", "PROCEDURE z1\n");
  tree.Write("A/lib/util.prg", "FUNCTION u1\nFUNCTION u2\n");
}

TEST_F(ProjectTest, RefreshLoadsParsesAndBuildsTheInsight) {
  WriteProject(tree);
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 1);
  RefreshModel(false, false, false);
  const TxxFoxProj& proj = FoxProj();
  const TxxInsight& in = Insight();
  EXPECT_EQ(proj.State, 1);
  EXPECT_EQ(proj.Dir, UpperCase(Dir(tree, "A/B")));
  EXPECT_EQ(UpperCase(proj.IniFile), UpperCase(tree.Dos("A/vemlo.ini")));
  EXPECT_EQ(in.FileName, UpperCase(tree.Dos("A/B/x.prg")));
  EXPECT_EQ(in.ProjDir, proj.Dir);
  EXPECT_EQ(in.EditorID, 7);
  ASSERT_EQ(proj.Progs.size(), 3u);  // x, y and the library
  // The dictionary mask that finds nothing is reported with the table's name and the masks.
  const auto warnings = host.Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].HelpTopic, "ProblemResetProj");
  ASSERT_EQ(warnings[0].Lines.size(), 4u);
  EXPECT_EQ(warnings[0].Lines[0], "M0");
  EXPECT_EQ(warnings[0].Lines[1], "M34");
  EXPECT_EQ(warnings[0].Lines[2], "M56");
  EXPECT_EQ(UpperCase(warnings[0].Lines[3]), UpperCase(tree.Dos("A/data/nothere*.dbf")) + ";");
  EXPECT_EQ(host.ProgressBoxes(), 1);  // the first load parses with a progress box

  // The edited file is a library entry now, parsed from the editor text.
  const int x = ProgIndexOf("A/B/x.prg");
  ASSERT_GE(x, 0);
  EXPECT_EQ(in.ProgIndex, x);
  const TxxFoxProg& xp = proj.Progs[x];
  EXPECT_EQ(xp.IsLibrary, 1);
  EXPECT_EQ(xp.State, psRead);
  ASSERT_EQ(xp.Procs.size(), 3u);
  EXPECT_EQ(xp.Procs[0].Name, "X.PRG");
  EXPECT_EQ(xp.Procs[0].LastLine, 4);
  EXPECT_EQ(xp.Procs[1].FirstLine, 5);
  EXPECT_EQ(xp.Procs[2].Name, "f2");
  EXPECT_EQ(xp.Procs[2].Params, "(x)");
  const int lib = ProgIndexOf("A/lib/util.prg");
  ASSERT_GE(lib, 0);
  EXPECT_EQ(proj.Progs[lib].IsLibrary, 1);
  EXPECT_EQ(proj.Progs[lib].Procs.size(), 3u);
  EXPECT_EQ(proj.Progs[lib].Procs[0].Name, "");
  const int y = ProgIndexOf("A/B/y.prg");
  EXPECT_EQ(proj.Progs[y].IsLibrary, 0);
  EXPECT_EQ(proj.Progs[y].Procs[0].Name, "Y");

  // Cursor in the main entry's comment header.
  EXPECT_EQ(in.ProcIndex, 0);
  ASSERT_EQ(in.Defines.size(), 0u);  // the #DEFINE is below the cursor
  ASSERT_EQ(in.Statements.size(), 5u);
  EXPECT_EQ(in.CursorStatement, 1);
  EXPECT_EQ(in.Statements[2].Kind, stDirective);
  EXPECT_EQ(host.CurLine, 1);  // the reads left the cursor where it was

  // Cursor on the last line: the last procedure, its statements only.
  host.CurLine = 11;
  RefreshModel(false, false, false);
  EXPECT_EQ(in.ProcIndex, 2);
  ASSERT_EQ(in.Defines.size(), 1u);
  EXPECT_EQ(in.Defines[0].Name, "K_X");
  ASSERT_EQ(in.Statements.size(), 3u);
  EXPECT_EQ(in.Statements[0].FirstLine, 9);
  EXPECT_EQ(in.CursorStatement, 2);
  ASSERT_EQ(in.Statements[1].Elements.size(), 1u);
  EXPECT_EQ(in.Statements[1].Elements[0].Name, "b");
  EXPECT_EQ(host.ProgressBoxes(), 1);  // no reload, no progress box

  // The whole file.
  RefreshModel(false, false, true);
  EXPECT_EQ(in.Statements.size(), 12u);
  EXPECT_EQ(in.CursorStatement, 11);
  EXPECT_EQ(host.CurLine, 11);
}

TEST_F(ProjectTest, EditorTextWinsAndUnlistedFilesAreAppended) {
  WriteProject(tree);
  tree.Write("A/B/menu.spr", "* on disk\n");
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 0, "PROCEDURE fromEditor\nRETURN\n");
  RefreshModel(false, false, false);
  const TxxFoxProg& xp = FoxProj().Progs[Insight().ProgIndex];
  ASSERT_EQ(xp.Procs.size(), 2u);
  EXPECT_EQ(xp.Procs[1].Name, "fromEditor");
  EXPECT_EQ(Insight().ProcIndex, 1);  // the main entry is empty (LastLine -1)

  const size_t before = FoxProj().Progs.size();
  Edit(host, "A/B/menu.spr", 0, "PROC m1\n");
  RefreshModel(false, false, false);
  ASSERT_EQ(FoxProj().Progs.size(), before + 1);
  EXPECT_EQ(Insight().ProgIndex, static_cast<int>(before));
  const TxxFoxProg& mp = FoxProj().Progs.back();
  EXPECT_EQ(mp.FileName, UpperCase(tree.Dos("A/B/menu.spr")));
  EXPECT_EQ(mp.IsLibrary, 1);
  EXPECT_EQ(mp.State, psRead);
  EXPECT_EQ(mp.Procs.size(), 2u);
  // x.prg stays a library entry until the next reload.
  EXPECT_EQ(FoxProj().Progs[ProgIndexOf("A/B/x.prg")].IsLibrary, 1);
}

TEST_F(ProjectTest, ReloadOnDirectoryChangeAndForce) {
  WriteProject(tree);
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 0);
  RefreshModel(false, false, false);
  EXPECT_GE(ProgIndexOf("A/B/y.prg"), 0);
  EXPECT_LT(ProgIndexOf("A/C/z.prg"), 0);

  Edit(host, "A/C/z.prg", 0);
  RefreshModel(false, false, false);
  EXPECT_EQ(FoxProj().Dir, UpperCase(Dir(tree, "A/C")));
  EXPECT_LT(ProgIndexOf("A/B/y.prg"), 0);
  EXPECT_LT(ProgIndexOf("A/B/x.prg"), 0);
  EXPECT_GE(ProgIndexOf("A/C/z.prg"), 0);
  EXPECT_EQ(host.ProgressBoxes(), 2);

  // Only-current never reloads, even in another directory, and parses the edited file only.
  Edit(host, "A/B/y.prg", 0, "PROC edited\n");
  RefreshModel(true, false, false);
  EXPECT_EQ(FoxProj().Dir, UpperCase(Dir(tree, "A/C")));
  EXPECT_EQ(FoxProj().Progs[Insight().ProgIndex].Procs[1].Name, "edited");
  EXPECT_EQ(host.ProgressBoxes(), 2);

  // Force reloads in place and parses every file again.
  Edit(host, "A/C/z.prg", 0);
  const int lib = ProgIndexOf("A/lib/util.prg");
  ASSERT_GE(lib, 0);
  tree.Write("A/lib/util.prg", "FUNCTION u9\n");
  const uint32_t stamp = FoxProj().Progs[lib].FileTime;
  ASSERT_TRUE(platform::SetFileStamp(tree.Dos("A/lib/util.prg"), stamp));
  RefreshModel(false, false, false);
  EXPECT_EQ(FoxProj().Progs[lib].Procs[1].Name, "u1");  // unchanged stamp: not parsed again
  RefreshModel(false, true, false);
  EXPECT_EQ(host.ProgressBoxes(), 3);
  ASSERT_EQ(FoxProj().Progs[ProgIndexOf("A/lib/util.prg")].Procs.size(), 2u);
  EXPECT_EQ(FoxProj().Progs[ProgIndexOf("A/lib/util.prg")].Procs[1].Name, "u9");
}

TEST_F(ProjectTest, ChangedFilesAreParsedOnceAfterTheChange) {
  WriteProject(tree);
  const std::string yDos = tree.Dos("A/B/y.prg");
  const uint32_t s1 = DosStamp(2020, 1, 2, 3, 4);
  const uint32_t s2 = DosStamp(2021, 5, 6, 7, 8);
  const uint32_t s3 = DosStamp(2022, 9, 10, 11, 12);
  ASSERT_TRUE(platform::SetFileStamp(yDos, s1));
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 0);
  RefreshModel(false, false, false);
  const int y = ProgIndexOf("A/B/y.prg");
  ASSERT_GE(y, 0);
  const TxxFoxProg& yp = FoxProj().Progs[y];
  EXPECT_EQ(yp.FileTime, s1);
  EXPECT_EQ(yp.Procs[1].Name, "y1");

  auto rewrite = [&](const std::string& name, uint32_t stamp) {
    tree.Write("A/B/y.prg", "PROCEDURE " + name + "\n");
    ASSERT_TRUE(platform::SetFileStamp(yDos, stamp));
  };
  rewrite("y2", s1);  // same stamp: taken as unchanged
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs[1].Name, "y1");
  rewrite("y3", s2);  // a new stamp: parsed again
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs[1].Name, "y3");
  EXPECT_EQ(yp.FileTime, s1);  // the load's stamp stays
  rewrite("y4", s2);  // parsed at s2 already: not parsed at every refresh
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs[1].Name, "y3");
  rewrite("y5", s3);
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs[1].Name, "y5");
  rewrite("y6", s1);  // back to the load's stamp is a change too
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs[1].Name, "y6");

  // A file that disappears keeps its main entry and is tried again.
  ASSERT_TRUE(platform::DeleteFile(yDos));
  RefreshModel(false, false, false);
  EXPECT_EQ(yp.Procs.size(), 1u);
  tree.Write("A/B/y.prg", "PROCEDURE back\n");
  RefreshModel(false, false, false);
  ASSERT_EQ(yp.Procs.size(), 2u);
  EXPECT_EQ(yp.Procs[1].Name, "back");
}

TEST_F(ProjectTest, NoSettingsFileWarnsAndStillParsesTheEditedFile) {
  tree.Write("P/x.prg", kXPrg);
  FakeEditorHost host(tree.Dos("mod/vemlo.dll"));
  Edit(host, "P/x.prg", 7);
  RefreshModel(false, false, false);
  EXPECT_EQ(FoxProj().State, 0);
  EXPECT_EQ(FoxProj().IniFile, "");
  auto warnings = host.Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].HelpTopic, "ProblemResetProj");
  EXPECT_EQ(warnings[0].Lines, (std::vector<std::string>{"M0", "M27", ""}));
  ASSERT_EQ(FoxProj().Progs.size(), 1u);
  EXPECT_EQ(Insight().ProcIndex, 1);
  EXPECT_EQ(Insight().Statements.size(), 4u);
  EXPECT_EQ(Insight().CursorStatement, 2);
  RefreshModel(false, false, false);  // not loaded: tried (and reported) again
  EXPECT_EQ(host.Warnings().size(), 2u);
}

// A program file that fails part way is told after the parse, each refresh
// that tries it again; its table keeps the main entry only.
TEST_F(ProjectTest, ProgramReadErrorIsToldNotTakenForTheEnd) {
  const std::string unreadable = "Z:\\proc\\self\\mem";
  {
    platform::InFile probe;
    if (!probe.Open(unreadable)) GTEST_SKIP() << "no /proc/self/mem";
  }
  tree.Write("A/vemlo.ini", "[PROJ]\nPrgSearchMask = " + unreadable + "\n");
  tree.Write("A/x.prg", "PROCEDURE p1\n");
  FakeEditorHost host;
  Edit(host, "A/x.prg", 0);
  RefreshModel(false, false, false);
  const auto warnings = host.Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].HelpTopic, "ProblemResetProj");
  EXPECT_EQ(warnings[0].Lines, (std::vector<std::string>{"M0", "M122", UpperCase(unreadable)}));
  const TxxFoxProg* mem = nullptr;
  for (const TxxFoxProg& p : FoxProj().Progs)
    if (p.FileName == UpperCase(unreadable)) mem = &p;
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(mem->Procs.size(), 1u);
  EXPECT_NE(mem->State, psRead);
  EXPECT_EQ(FoxProj().Progs[Insight().ProgIndex].Procs.size(), 2u);  // the edited file is parsed
  RefreshModel(false, false, false);
  EXPECT_EQ(host.Warnings().size(), 2u);
}

TEST_F(ProjectTest, ProgressBoxForLongEditorTexts) {
  tree.Write("A/vemlo.ini", "[PROJ]\n");
  std::string text;
  for (int i = 0; i < 6000; ++i) text += (i % 1000 == 0 ? "PROC p" + std::to_string(i) : "x = 1") + "\n";
  tree.Write("A/big.prg", text);
  FakeEditorHost host;
  Edit(host, "A/big.prg", 5999);
  RefreshModel(true, false, false);  // no project pass: the editor parse opens its own box
  EXPECT_EQ(host.ProgressBoxes(), 1);
  EXPECT_FALSE(FarProgressActive());
  EXPECT_EQ(FoxProj().Progs[0].Procs.size(), 7u);
  EXPECT_EQ(Insight().ProcIndex, 6);
  // Inside the project pass the box that is open already serves.
  RefreshModel(false, false, false);
  EXPECT_EQ(host.ProgressBoxes(), 2);
  EXPECT_FALSE(FarProgressActive());
}

// The same commands with the kernel's change notices and without them (every
// stamp then asked afresh, as on a file system whose changes are not reported).
class ProjectOnDiskTest : public ProjectTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    if (!GetParam()) setenv("VEMLO_CHANGE_NOTICES", "0", 1);
  }
  void TearDown() override {
    unsetenv("VEMLO_CHANGE_NOTICES");
    ProjectTest::TearDown();
  }

  void Rename(const std::string& from, const std::string& to) {
    ASSERT_EQ(std::rename(tree.Native(from).c_str(), tree.Native(to).c_str()), 0) << from;
  }

  // The procedure names of a listed file after its main entry.
  std::vector<std::string> ProcsOf(const std::string& rel) const {
    const int index = ProgIndexOf(rel);
    std::vector<std::string> names;
    if (index < 0) return {"(not listed)"};
    const TxxFoxProg& prog = FoxProj().Progs[size_t(index)];
    for (size_t i = 1; i < prog.Procs.size(); ++i) names.push_back(prog.Procs[i].Name);
    return names;
  }
};

using Names = std::vector<std::string>;

TEST_P(ProjectOnDiskTest, RenamedDeletedAndNewFilesAreSeenByTheNextCommand) {
  WriteProject(tree);
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 0);
  RefreshModel(false, false, false);
  ASSERT_EQ(ProcsOf("A/B/y.prg"), Names{"y1"});

  // Renamed away: the listed name has nothing left at the next command; the
  // next load lists the new name.
  Rename("A/B/y.prg", "A/B/w.prg");
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/B/y.prg"), Names{});
  // Made right after the listing, in a folder whose names were just read.
  tree.Write("A/B/n.prg", "PROCEDURE n1\n");
  RefreshModel(false, true, false);
  EXPECT_EQ(ProcsOf("A/B/y.prg"), Names{"(not listed)"});
  EXPECT_EQ(ProcsOf("A/B/w.prg"), Names{"y1"});
  EXPECT_EQ(ProcsOf("A/B/n.prg"), Names{"n1"});

  // Deleted, then made again under its name, and renamed back over an old name.
  ASSERT_TRUE(platform::DeleteFile(tree.Dos("A/B/n.prg")));
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/B/n.prg"), Names{});
  tree.Write("A/B/n.prg", "PROCEDURE n2\n");
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/B/n.prg"), Names{"n2"});
  tree.Write("A/B/v.prg", "PROCEDURE v1\n");
  ASSERT_TRUE(platform::SetFileStamp(tree.Dos("A/B/v.prg"), DosStamp(2003, 3, 3, 3, 3)));
  Rename("A/B/v.prg", "A/B/w.prg");
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/B/w.prg"), Names{"v1"});
}

TEST_P(ProjectOnDiskTest, LetterCaseChangedOnDiskIsSeenByTheNextCommand) {
  WriteProject(tree);
  FakeEditorHost host;
  Edit(host, "A/B/x.prg", 0);
  RefreshModel(false, false, false);
  ASSERT_EQ(ProcsOf("A/lib/util.prg"), (Names{"u1", "u2"}));

  // The library's folder in upper case: its file is still there and current.
  Rename("A/lib", "A/LIB");
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/lib/util.prg"), (Names{"u1", "u2"}));
  // A change made in the renamed folder is read from it.
  tree.Write("A/LIB/util.prg", "FUNCTION u3\n");
  ASSERT_TRUE(platform::SetFileStamp(tree.Dos("A/LIB/util.prg"), DosStamp(2004, 4, 4, 4, 4)));
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/lib/util.prg"), Names{"u3"});

  // The file's own name in mixed case, then the folder back in lower case.
  Rename("A/LIB/util.prg", "A/LIB/Util.Prg");
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/lib/util.prg"), Names{"u3"});
  Rename("A/LIB", "A/Lib");
  tree.Write("A/Lib/Util.Prg", "FUNCTION u4\n");
  ASSERT_TRUE(platform::SetFileStamp(tree.Dos("A/Lib/Util.Prg"), DosStamp(2005, 5, 5, 5, 5)));
  RefreshModel(false, false, false);
  EXPECT_EQ(ProcsOf("A/lib/util.prg"), Names{"u4"});
  // The next load finds it under its new spelling.
  RefreshModel(false, true, false);
  EXPECT_EQ(ProcsOf("A/lib/util.prg"), Names{"u4"});
}

INSTANTIATE_TEST_SUITE_P(Notices, ProjectOnDiskTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "WithChangeNotices" : "WithoutChangeNotices";
                         });

}  // namespace
}  // namespace vemlo
