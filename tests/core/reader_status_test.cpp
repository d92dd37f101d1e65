// The readers' statuses without a host: what each reader returns for a
// missing, corrupt or unreadable file, that a failed read leaves nothing
// half-read, and the problems the project load hands to its front end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "dbf_writer.h"
#include "fox/model/program.h"
#include "fox/model/project.h"
#include "help/memo_reader.h"
#include "lib/xxini.h"
#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

using test::DbfFieldSpec;
using test::DbfRow;
using test::DbfWriteOptions;

// Reading this process's memory at offset 0 fails with an input/output error:
// a regular file that opens and cannot be read.
const char* const kUnreadable = "Z:\\proc\\self\\mem";

bool UnreadableFileOpens() {
  platform::InFile f;
  return f.Open(kUnreadable);
}

const std::vector<DbfFieldSpec> kFields = {{"NAME", 'C', 8}, {"AGE", 'N', 3}};
const std::vector<DbfRow> kRows = {{{"Ann", " 31"}}, {{"Bob", "  7"}}};

TEST(ReadDBF, EachProblemHasItsStatusAndLeavesTheTableFailed) {
  test::TempTree tree;
  TxxDBF t;
  EXPECT_EQ(ReadDBF(t, false, tree.Dos("missing.dbf")), TxxReadStatus::Missing);
  EXPECT_EQ(t.State, dsFailed);
  // Failed stays failed, silently, until another name.
  EXPECT_EQ(ReadDBF(t, false, DBFReloadName), TxxReadStatus::Read);
  EXPECT_EQ(t.State, dsFailed);

  ASSERT_TRUE(test::WriteBytes(tree.Native("v.dbf"), std::string("\x04", 1) + std::string(100, '\0')));
  EXPECT_EQ(ReadDBF(t, false, tree.Dos("v.dbf")), TxxReadStatus::BadVersion);
  EXPECT_EQ(t.State, dsFailed);

  ASSERT_TRUE(test::WriteDbf(tree.Native("ok.dbf"), kFields, kRows));
  EXPECT_EQ(ReadDBF(t, false, tree.Dos("ok.dbf")), TxxReadStatus::Read);
  EXPECT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.RecCount, 2);
  EXPECT_EQ(FindDBFField(t, " age "), 1);
  EXPECT_EQ(FindDBFField(t, "NOSUCH"), -1);
  EXPECT_EQ(ReadDBF(t, false, ""), TxxReadStatus::Read);  // closed and forgotten
  EXPECT_EQ(FindDBFField(t, "AGE"), -1);                    // not loaded: no field
  EXPECT_TRUE(t.FileName.empty());
}

TEST(ReadDBF, TheSizeQuestionIsLeftToTheCaller) {
  test::TempTree tree;
  DbfWriteOptions noMark;
  noMark.EndMark = false;  // one byte short of what the header promises
  ASSERT_TRUE(test::WriteDbf(tree.Native("s.dbf"), kFields, kRows, noMark));
  TxxDBF t;
  EXPECT_EQ(ReadDBF(t, false, tree.Dos("s.dbf")), TxxReadStatus::BadSize);
  EXPECT_EQ(t.State, dsNamed);  // the question is open: nothing is read yet
  EXPECT_TRUE(t.Fields.empty());
  // Asked again, the same question; accepted, the table is read.
  EXPECT_EQ(ReadDBF(t, false, DBFReloadName), TxxReadStatus::BadSize);
  EXPECT_EQ(ReadDBF(t, false, DBFReloadName, TxxSizeCheck::Accept), TxxReadStatus::Read);
  EXPECT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(t, 0, 1), "Bob");
  // Refused: failed, and not read again.
  TxxDBF r;
  EXPECT_EQ(ReadDBF(r, true, tree.Dos("s.dbf")), TxxReadStatus::BadSize);
  FailDBF(r);
  EXPECT_EQ(r.State, dsFailed);
  EXPECT_EQ(ReadDBF(r, true, DBFReloadName, TxxSizeCheck::Accept), TxxReadStatus::Read);
  EXPECT_EQ(r.State, dsFailed);
  EXPECT_TRUE(r.Fields.empty());
}

TEST(ReadDBF, AReadErrorIsNoEndOfFile) {
  if (!UnreadableFileOpens()) GTEST_SKIP() << "no /proc/self/mem";
  TxxDBF t;
  EXPECT_EQ(ReadDBF(t, false, kUnreadable), TxxReadStatus::ReadError);
  EXPECT_EQ(t.State, dsFailed);
  EXPECT_TRUE(t.Fields.empty());
  EXPECT_EQ(t.RecCount, 0);
}

TEST(ReadIniFile, StatusesOfTheSettingsFile) {
  test::TempTree tree;
  TxxIniFile ini;
  std::string v = "kept";
  EXPECT_EQ(LookupIni(ini, "PROJ", "X", v), TxxIniLookup::NotLoaded);
  EXPECT_EQ(ReadIniFile(ini, tree.Dos("none.ini")), TxxIniRead::CannotOpen);
  EXPECT_EQ(ini.State, isFailed);
  EXPECT_EQ(LookupIni(ini, "PROJ", "X", v), TxxIniLookup::Absent);  // failed: no warning due
  tree.Write("a.ini", "[PROJ]\nX = 1\nEmpty =\n");
  EXPECT_EQ(ReadIniFile(ini, tree.Dos("a.ini")), TxxIniRead::Loaded);
  EXPECT_EQ(LookupIni(ini, "proj", "x", v), TxxIniLookup::Found);
  EXPECT_EQ(v, "1");
  EXPECT_EQ(LookupIni(ini, "PROJ", "Empty", v), TxxIniLookup::Absent);
  EXPECT_EQ(v, "1");
  if (!UnreadableFileOpens()) GTEST_SKIP() << "no /proc/self/mem";
  EXPECT_EQ(ReadIniFile(ini, kUnreadable), TxxIniRead::ReadError);
  EXPECT_EQ(ini.State, isFailed);
  EXPECT_TRUE(ini.Sections.empty());
}

TEST(ScanProceduresFromFile, AReadErrorKeepsOnlyTheMainEntry) {
  test::TempTree tree;
  tree.Write("p.prg", "PROCEDURE one\nRETURN\nPROCEDURE two\n");
  TxxFoxProg prog;
  prog.FileName = tree.Dos("p.prg");
  EXPECT_EQ(ScanProceduresFromFile(prog), TxxReadStatus::Read);
  EXPECT_EQ(prog.Procs.size(), 3u);
  prog.FileName = tree.Dos("gone.prg");
  EXPECT_EQ(ScanProceduresFromFile(prog), TxxReadStatus::CannotOpen);
  EXPECT_EQ(prog.Procs.size(), 1u);
  if (!UnreadableFileOpens()) GTEST_SKIP() << "no /proc/self/mem";
  prog.FileName = kUnreadable;
  EXPECT_EQ(ScanProceduresFromFile(prog), TxxReadStatus::ReadError);
  EXPECT_EQ(prog.Procs.size(), 1u);
}

TEST(ReadMemoText, AReadErrorEndsTheTextWithItsStatus) {
  platform::InFile closed;
  int lines = 0;
  const auto count = [&lines](const std::string&) {
    ++lines;
    return true;
  };
  EXPECT_EQ(ReadMemoText(closed, 0, count), TxxReadStatus::Read);  // nothing open: no text
  if (!UnreadableFileOpens()) GTEST_SKIP() << "no /proc/self/mem";
  platform::InFile memo;
  ASSERT_TRUE(memo.Open(kUnreadable));
  EXPECT_EQ(ReadMemoText(memo, 1, count), TxxReadStatus::ReadError);
  EXPECT_EQ(lines, 0);
}

// The project load returns its problems in order, for the front end to tell.
TEST(LoadProject, ProblemsInTheOrderTheyArose) {
  test::TempTree tree;
  TxxFoxProj proj;
  TxxIniFile ini;
  TxxProjectProblems problems = LoadProject(proj, ini, tree.Dos() + "\\", "");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].What, TxxProjectProblem::Kind::NoSettingsFile);
  EXPECT_EQ(problems[0].File, "");
  EXPECT_EQ(proj.State, 0);

  DbfWriteOptions noMark;
  noMark.EndMark = false;
  ASSERT_TRUE(test::WriteDbf(tree.Native("b.dbf"), kFields, kRows, noMark));
  ASSERT_TRUE(test::WriteBytes(tree.Native("i.dbf"), "junk"));
  tree.Write("vemlo.ini",
             "[KDF_BASES]\nSearchMask=>\\b.dbf\n[KDF_FIELDS]\nSearchMask=>\\nothere*.dbf\n"
             "[KDF_INDEX]\nSearchMask=>\\i.dbf\n");
  problems = LoadProject(proj, ini, tree.Dos() + "\\", tree.Dos("vemlo.ini"));
  EXPECT_EQ(proj.State, 1);
  ASSERT_EQ(problems.size(), 3u);
  // The bases table's size question, open on the project's own table.
  EXPECT_EQ(problems[0].What, TxxProjectProblem::Kind::Read);
  EXPECT_EQ(problems[0].Read.Status, TxxReadStatus::BadSize);
  EXPECT_EQ(problems[0].Read.Table, &proj.KdfBases);
  EXPECT_EQ(proj.KdfBases.State, dsNamed);
  // The fields table's masks matched nothing.
  EXPECT_EQ(problems[1].What, TxxProjectProblem::Kind::NoDictTable);
  EXPECT_EQ(problems[1].TableName, MsgId::InfoKdfFields);
  EXPECT_EQ(problems[1].File, tree.Dos("nothere*.dbf") + ";");
  // The index table is no table.
  EXPECT_EQ(problems[2].Read.Status, TxxReadStatus::BadVersion);
  EXPECT_EQ(problems[2].Read.File, tree.Dos("i.dbf"));
  EXPECT_EQ(proj.KdfIndex.State, dsFailed);
}

}  // namespace
}  // namespace vemlo
