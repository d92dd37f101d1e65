// Loading tables: versions, sizes, deleted records, names, values, caching and
// the failure messages.
#include <unistd.h>

#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "platform/platform.h"

namespace vemlo::test {
namespace {

const std::vector<DbfFieldSpec> kPeople = {{"NAME", 'C', 8}, {"AGE", 'N', 3}, {"BORN", 'D', 8}};

std::vector<DbfRow> People() {
  return {{{"Ann", " 31", "19950102"}}, {{"Bob  ", "  7", "20190630"}}, {{"Cy", "", ""}}};
}

TEST_F(DbfTest, LoadsEveryKnownVersionWithoutQuestion) {
  for (unsigned char version : {0x03, 0x83, 0x8B, 0xF5}) {
    DbfWriteOptions opt;
    opt.Version = version;
    std::string path = Table("people.dbf", kPeople, People(), opt);
    TxxDBF t;
    LoadDBF(t, false, path);
    EXPECT_TRUE(TakeShown().empty()) << int(version);
    ASSERT_EQ(t.State, dsLoaded) << int(version);
    EXPECT_EQ(t.FileName, path);
    EXPECT_EQ(t.FileDate, int32_t(platform::FileStamp(path).value()));
    ASSERT_EQ(t.Fields.size(), 3u);
    EXPECT_EQ(t.Fields[1].Name, "AGE");
    EXPECT_EQ(t.Fields[1].FieldType, 'N');
    EXPECT_EQ(t.Fields[1].Offset, 9);
    EXPECT_EQ(t.Fields[1].Len, 3);
    EXPECT_EQ(t.Fields[2].Offset, 12);
    EXPECT_EQ(t.RecCount, 3);
    EXPECT_EQ(t.RecNos, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(DBFValueRef(t, 0, 1), "Bob");  // right-trimmed
    EXPECT_EQ(DBFValueRef(t, 1, 0), " 31");  // leading blanks stay
    EXPECT_EQ(DBFValueRef(t, 2, 1), "20190630");
    EXPECT_EQ(DBFValueRef(t, 1, 2), "");
    for (const auto& f : t.Fields) EXPECT_EQ(f.Values.size(), 3u);
  }
}

TEST_F(DbfTest, EmptyTableSizesAndTheMissingEndMark) {
  // 0 records: exactly H bytes, and H + 1 (an end mark) when R >= 2.
  DbfWriteOptions noMark;
  noMark.EndMark = false;
  TxxDBF a;
  LoadDBF(a, false, Table("empty.dbf", kPeople, {}, noMark));
  EXPECT_EQ(a.State, dsLoaded);
  TxxDBF b;
  LoadDBF(b, false, Table("empty1a.dbf", kPeople, {}));
  EXPECT_EQ(b.State, dsLoaded);
  EXPECT_EQ(b.RecCount, 0);
  EXPECT_TRUE(TakeShown().empty());

  // R = 1 leaves no room for the end mark.
  DbfWriteOptions r1;
  r1.RecordLen = 1;
  TxxDBF c;
  host_.Answers = {2};
  LoadDBF(c, false, Table("r1.dbf", kPeople, {}, r1));
  EXPECT_EQ(TakeShown(), std::vector<int>{31});

  // Records without the end mark are one byte short: the size question.
  std::string path = Table("nomark.dbf", kPeople, People(), noMark);
  TxxDBF t;
  host_.Answers = {0};  // Abort
  LoadDBF(t, false, path);
  ASSERT_EQ(host_.Shown.size(), 1u);
  EXPECT_EQ(host_.Shown[0].Flags, 0x30001u);
  EXPECT_EQ(host_.Shown[0].HelpTopic, "ProblemReadDBF");
  EXPECT_EQ(host_.Shown[0].Lines, (std::vector<std::string>{MsgText(0), MsgText(31), path}));
  host_.Shown.clear();
  EXPECT_EQ(t.State, dsFailed);
  EXPECT_TRUE(t.Fields.empty());
  EXPECT_EQ(t.RecCount, 0);

  TxxDBF esc;
  host_.Answers = {-1};
  LoadDBF(esc, false, path);
  EXPECT_EQ(esc.State, dsFailed);
  EXPECT_EQ(TakeShown(), std::vector<int>{31});

  TxxDBF ign;
  host_.Answers = {1, 1, 2};  // Retry twice, then Ignore
  LoadDBF(ign, false, path);
  EXPECT_EQ(TakeShown(), (std::vector<int>{31, 31, 31}));
  EXPECT_EQ(ign.State, dsLoaded);
  EXPECT_EQ(ign.RecCount, 3);
  EXPECT_EQ(DBFValueRef(ign, 0, 2), "Cy");

  // A file up to R - 1 bytes longer than expected is accepted.
  DbfWriteOptions longer;
  longer.Tail = std::string(size_t(1 + 8 + 3 + 8 - 1), 'x');
  TxxDBF l;
  LoadDBF(l, false, Table("longer.dbf", kPeople, People(), longer));
  EXPECT_EQ(l.State, dsLoaded);
  EXPECT_TRUE(TakeShown().empty());
  longer.Tail += 'x';
  TxxDBF l2;
  host_.Answers = {0};
  LoadDBF(l2, false, Table("longer2.dbf", kPeople, People(), longer));
  EXPECT_EQ(TakeShown(), std::vector<int>{31});
}

TEST_F(DbfTest, DeletedRecordsAreSkippedButCounted) {
  std::vector<DbfRow> rows = People();
  rows[0].Deleted = true;
  rows.push_back({{"Dee", "40", ""}, true});
  rows.push_back({{"Eve", "41", ""}});
  TxxDBF t;
  LoadDBF(t, false, Table("del.dbf", kPeople, rows));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.RecCount, 3);
  EXPECT_EQ(t.RecNos, (std::vector<int32_t>{1, 2, 4}));
  EXPECT_EQ(DBFValueRef(t, 0, 0), "Bob");
  EXPECT_EQ(DBFValueRef(t, 0, 2), "Eve");
  for (const auto& f : t.Fields) EXPECT_EQ(f.Values.size(), 3u);
}

TEST_F(DbfTest, FieldNamesAndLookup) {
  std::vector<DbfFieldSpec> fields = {{"ELEVENCHARS", 'C', 4}, {"code", 'N', 5, 2}, {"X", 'L', 1}};
  TxxDBF t;
  LoadDBF(t, false, Table("names.dbf", fields, {{{"abcd", "12.50", "T"}}}));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.Fields[0].Name, "ELEVENCHARS");
  EXPECT_EQ(t.Fields[1].Dec, 2);
  EXPECT_EQ(DBFFieldIndex(t, "  elevenchars "), 0);
  EXPECT_EQ(DBFFieldIndex(t, "CODE"), 1);  // the stored name is lower case
  EXPECT_EQ(DBFFieldIndex(t, "\tx\t"), 2);
  EXPECT_EQ(DBFFieldIndex(t, "ELEVENCHAR"), -1);
  EXPECT_EQ(DBFFieldIndex(t, "   "), -1);
  EXPECT_EQ(DBFFieldIndex(t, ""), -1);
}

TEST_F(DbfTest, ValuesWithPadAndOutOfRangeIndexes) {
  TxxDBF t;
  LoadDBF(t, false, Table("people.dbf", kPeople, People()));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValue(t, 0, 0, false), "Ann");
  EXPECT_EQ(DBFValue(t, 0, 0, true), "Ann     ");
  EXPECT_EQ(DBFValue(t, 0, t.RecCount, false), "");
  EXPECT_EQ(DBFValue(t, 0, t.RecCount, true), "        ");
  EXPECT_EQ(DBFValue(t, 1, -1, true), "   ");
  EXPECT_EQ(DBFValue(t, 3, 0, true), "");
  EXPECT_EQ(DBFValue(t, -1, 0, true), "");
  EXPECT_EQ(DBFValue(t, 3, 0, false), "");
  EXPECT_EQ(DBFValueRef(t, 7, 0), "");
  EXPECT_EQ(DBFValueRef(t, 0, 99), "");
}

TEST_F(DbfTest, ZeroByteEndsTheRecordText) {
  std::vector<DbfFieldSpec> fields = {{"A", 'C', 4}, {"B", 'C', 4}, {"C", 'C', 4}};
  std::string b("xy\0z", 4);
  TxxDBF t;
  LoadDBF(t, false, Table("zero.dbf", fields, {{{"abcd", b, "efgh"}}, {{"ok", "ok", "ok"}}}));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(t, 0, 0), "abcd");
  EXPECT_EQ(DBFValueRef(t, 1, 0), "xy");
  EXPECT_EQ(DBFValueRef(t, 2, 0), "");
  EXPECT_EQ(DBFValueRef(t, 2, 1), "ok");  // the next record is whole again
}

// A table read in several pieces: runs of deleted records, some across the
// pieces' borders, and zero bytes in live and deleted records, all kept apart.
TEST_F(DbfTest, LargeTablesKeepTheirRecordsAcrossReads) {
  const std::vector<DbfFieldSpec> fields = {{"A", 'C', 10}, {"B", 'C', 5}};
  std::vector<DbfRow> rows;
  std::vector<int32_t> live;
  std::vector<std::string> a, b;
  for (int i = 0; i < 40000; ++i) {
    DbfRow row{{"r" + std::to_string(i), "b" + std::to_string(i % 1000)}};
    std::string wantA = row.Values[0], wantB = row.Values[1];
    if (i % 97 == 0) row.Values[1] = std::string("x\0yz", 4), wantB = "x";
    if (i % 89 == 0) row.Values[0] = std::string("ab\0cd", 5), wantA = "ab", wantB = "";
    row.Deleted = i % 7 == 3 || (i % 1000 >= 500 && i % 1000 < 520) || (i >= 16370 && i < 16400) ||
                  i == 39999;
    if (!row.Deleted) {
      live.push_back(i);
      a.push_back(wantA);
      b.push_back(wantB);
    }
    rows.push_back(row);
  }
  TxxDBF t;
  LoadDBF(t, false, Table("pieces.dbf", fields, rows));
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.RecCount, int(live.size()));
  EXPECT_EQ(t.RecNos, live);
  int wrong = 0;
  for (size_t k = 0; k < live.size(); ++k) {
    if (DBFValueRef(t, 0, int(k)) != a[k] || DBFValueRef(t, 1, int(k)) != b[k]) {
      if (++wrong <= 3) ADD_FAILURE() << "record " << live[k] << ": " << std::string(DBFValueRef(t, 0, int(k)));
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(DbfTest, HeaderOnlyReadKeepsStateNone) {
  TxxDBF t;
  LoadDBF(t, true, Table("people.dbf", kPeople, People()));
  EXPECT_EQ(t.State, dsNone);
  EXPECT_EQ(t.RecCount, 0);
  ASSERT_EQ(t.Fields.size(), 3u);
  EXPECT_EQ(t.Fields[2].Name, "BORN");
  EXPECT_TRUE(t.Fields[0].Values.empty());
  EXPECT_TRUE(t.RecNos.empty());
  // A full load afterwards reads the records.
  LoadDBF(t, false, DBFReloadName);
  EXPECT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.RecCount, 3);
}

// Values are seen in the table's one record buffer: a copy of the handle keeps
// them readable after the original is closed or reloaded, and writing a value
// of one handle changes no other.
TEST_F(DbfTest, CopiesOfALoadedTableKeepTheirValues) {
  std::vector<DbfRow> rows = People();
  rows.insert(rows.begin() + 1, DbfRow{{"Gone", "1", "20000101"}, true});
  std::string path = Table("people.dbf", kPeople, rows);
  TxxDBF t;
  LoadDBF(t, false, path);
  ASSERT_EQ(t.State, dsLoaded);
  TxxDBF copy = t;
  CloseDBF(t);
  EXPECT_TRUE(t.Fields.empty());
  ASSERT_EQ(copy.RecCount, 3);
  EXPECT_EQ(copy.RecNos, (std::vector<int32_t>{0, 2, 3}));
  EXPECT_EQ(DBFValueRef(copy, 0, 0), "Ann");
  EXPECT_EQ(DBFValueRef(copy, 0, 1), "Bob");
  EXPECT_EQ(DBFValue(copy, 0, 2, true), "Cy      ");

  TxxDBF other = copy;
  other.Fields[0].Values[1].Value = "Zoe";
  other.Fields[0].Values.push_back({"Dee"});
  EXPECT_EQ(DBFValueRef(other, 0, 1), "Zoe");
  EXPECT_EQ(DBFValueRef(other, 0, 0), "Ann");
  EXPECT_EQ(DBFValueRef(other, 0, 3), "Dee");
  EXPECT_EQ(other.Fields[0].Values.size(), 4u);
  EXPECT_EQ(other.Fields[1].Values.size(), 3u);
  EXPECT_EQ(DBFValueRef(copy, 0, 1), "Bob");
  EXPECT_EQ(DBFValueRef(copy, 0, 3), "");
  const TxxDBFRecordArr& ages = copy.Fields[1].Values;
  EXPECT_EQ(ages[0].Value, " 31");  // read through a const column: a copy of the value

  LoadDBF(t, false, path);
  EXPECT_EQ(DBFValueRef(t, 0, 1), "Bob");
  EXPECT_TRUE(TakeShown().empty());
}

TEST_F(DbfTest, ReloadsOnlyWhenTheStampChanges) {
  std::string path = Table("people.dbf", kPeople, People());
  const uint32_t stamp = (uint32_t(2024 - 1980) << 25) | (3u << 21) | (15u << 16) | (10u << 11);
  ASSERT_TRUE(platform::SetFileStamp(path, stamp));
  TxxDBF t;
  LoadDBF(t, false, path);
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.FileDate, int32_t(stamp));
  SortDBF(t, 0);
  ASSERT_EQ(t.Order.size(), 3u);

  // New contents under the old stamp: the loaded arrays stand.
  std::vector<DbfRow> changed = People();
  changed[0].Values[0] = "Zed";
  Table("people.dbf", kPeople, changed);
  ASSERT_TRUE(platform::SetFileStamp(path, stamp));
  LoadDBF(t, false, path);
  LoadDBF(t, false, DBFReloadName);
  EXPECT_EQ(DBFValueRef(t, 0, 0), "Ann");
  EXPECT_EQ(t.Order.size(), 3u);

  // A new stamp reloads.
  ASSERT_TRUE(platform::SetFileStamp(path, stamp + 1));
  LoadDBF(t, false, DBFReloadName);
  EXPECT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(t, 0, 0), "Zed");
  EXPECT_EQ(t.FileDate, int32_t(stamp + 1));
  EXPECT_TRUE(t.Order.empty());
  EXPECT_TRUE(TakeShown().empty());
}

TEST_F(DbfTest, FailuresAreReportedOnceUntilAnotherName) {
  std::string missing = Dos("missing.dbf");
  TxxDBF t;
  LoadDBF(t, false, missing);
  ASSERT_EQ(host_.Shown.size(), 1u);
  EXPECT_EQ(host_.Shown[0].Flags, 0x10001u);
  EXPECT_EQ(host_.Shown[0].HelpTopic, "ProblemReadDBF");
  EXPECT_EQ(host_.Shown[0].Lines, (std::vector<std::string>{MsgText(0), MsgText(34), missing}));
  host_.Shown.clear();
  EXPECT_EQ(t.State, dsFailed);

  // The same name and "<none>" stay silent, even once the file exists.
  Table("missing.dbf", kPeople, People());
  LoadDBF(t, false, missing);
  LoadDBF(t, false, DBFReloadName);
  EXPECT_EQ(t.State, dsFailed);
  EXPECT_TRUE(TakeShown().empty());
  // The by-value operations see the failed state and stay silent too.
  EXPECT_EQ(DBFFieldIndex(t, "NAME"), -1);
  EXPECT_EQ(DBFValue(t, 0, 0, true), "");
  EXPECT_TRUE(TakeShown().empty());

  // Another name leaves the failed state; going back to the old one loads it.
  std::string bad = Dos("bad.dbf");
  WriteBytes(Native("bad.dbf"), std::string("\x04") + std::string(100, '\0'));  // no known version
  LoadDBF(t, false, bad);
  EXPECT_EQ(TakeShown(), std::vector<int>{30});
  EXPECT_EQ(t.State, dsFailed);
  LoadDBF(t, false, missing);
  EXPECT_EQ(t.State, dsLoaded);
  EXPECT_TRUE(TakeShown().empty());

  // An empty name closes and forgets; "<none>" then does nothing.
  LoadDBF(t, false, "");
  EXPECT_EQ(t.State, dsNone);
  EXPECT_TRUE(t.FileName.empty());
  EXPECT_TRUE(t.Fields.empty());
  LoadDBF(t, false, DBFReloadName);
  EXPECT_EQ(t.State, dsNone);
  EXPECT_TRUE(TakeShown().empty());

  // A file too short for a header, and a directory, are no tables.
  WriteBytes(Native("short.dbf"), std::string("\x03\x01\x02", 3));
  TxxDBF s;
  LoadDBF(s, false, Dos("short.dbf"));
  EXPECT_EQ(s.State, dsFailed);
  TxxDBF d;
  LoadDBF(d, false, Dos(""));
  EXPECT_EQ(d.State, dsFailed);
  EXPECT_EQ(TakeShown(), (std::vector<int>{30, 34}));
}

TEST_F(DbfTest, UnreadableFileReportsCannotOpen) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not stop reading";
  std::string path = Table("locked.dbf", kPeople, People());
  ASSERT_EQ(chmod(Native("locked.dbf").c_str(), 0), 0);
  TxxDBF t;
  LoadDBF(t, false, path);
  EXPECT_EQ(t.State, dsFailed);
  EXPECT_EQ(TakeShown(), std::vector<int>{32});
}

TEST_F(DbfTest, ByValueOperationsLoadATemporaryCopy) {
  std::string path = Table("people.dbf", kPeople, People());
  TxxDBF t;
  t.FileName = path;
  EXPECT_EQ(DBFFieldIndex(t, "born"), 2);
  EXPECT_EQ(DBFValue(t, 0, 1, true), "Bob     ");
  EXPECT_EQ(t.State, dsNone);
  EXPECT_TRUE(t.Fields.empty());
  EXPECT_EQ(t.RecCount, 0);

  // A loaded handle is used as it is, without reading the file again.
  LoadDBF(t, false, DBFReloadName);
  ASSERT_EQ(t.State, dsLoaded);
  Table("people.dbf", kPeople, {{{"Other", "1", ""}}});
  // Another valid stamp: flipping the lowest bit keeps the two-second field in
  // 0..29, where adding one would give an invalid 60 seconds at :58.
  ASSERT_TRUE(platform::SetFileStamp(path, uint32_t(t.FileDate) ^ 1u));
  EXPECT_EQ(DBFValue(t, 0, 0, false), "Ann");

  // A handle whose file is gone: each call reports it, the handle stays as it was.
  TxxDBF gone;
  gone.FileName = Dos("gone.dbf");
  EXPECT_EQ(DBFFieldIndex(gone, "NAME"), -1);
  EXPECT_EQ(DBFValue(gone, 0, 0, true), "");
  EXPECT_EQ(TakeShown(), (std::vector<int>{34, 34}));
  EXPECT_EQ(gone.State, dsNone);

  // CloseDBF empties the handle but keeps the name.
  CloseDBF(t);
  EXPECT_EQ(t.State, dsNone);
  EXPECT_EQ(t.FileName, path);
  EXPECT_TRUE(t.Fields.empty() && t.RecNos.empty() && t.Order.empty());
  EXPECT_EQ(t.RecCount, 0);
}

}  // namespace
}  // namespace vemlo::test
