// Corrupt and forged tables: each one asks the size question or skips data,
// never reads outside what the file holds.
#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "platform/platform.h"

namespace vemlo::test {
namespace {

const std::vector<DbfFieldSpec> kFields = {{"CODE", 'C', 4}, {"QTY", 'N', 6}};

std::vector<DbfRow> Rows(int n) {
  std::vector<DbfRow> rows;
  for (int i = 0; i < n; ++i) rows.push_back({{"K" + std::to_string(i), std::to_string(i * 10)}});
  return rows;
}

struct CorruptCase {
  const char* Name;
  DbfWriteOptions Options;
  int Rows;
  bool Asks;               // the size question is shown
  size_t FieldsAfterIgnore;
  int RecordsAfterIgnore;  // -1: records start inside the header, their count is not defined
};

DbfWriteOptions With(void (*edit)(DbfWriteOptions&)) {
  DbfWriteOptions o;
  edit(o);
  return o;
}

TEST_F(DbfTest, CorruptTablesAskOrSkipAndNeverOverread) {
  const std::vector<CorruptCase> cases = {
      {"header below one descriptor", With([](DbfWriteOptions& o) { o.HeaderLen = 40; }), 3, true, 0, -1},
      {"header below the header itself", With([](DbfWriteOptions& o) { o.HeaderLen = 8; }), 3, true, 0, -1},
      {"header longer than the file", With([](DbfWriteOptions& o) { o.HeaderLen = 60000; }), 3, true, 2, 0},
      {"record length 0", With([](DbfWriteOptions& o) { o.RecordLen = 0; }), 3, true, 2, 0},
      {"record count forged huge", With([](DbfWriteOptions& o) { o.RecordCount = 0xFFFFFFFFu; }), 3, true, 2, 3},
      {"record count one too many", With([](DbfWriteOptions& o) { o.RecordCount = 4; }), 3, true, 2, 3},
      {"truncated inside a record", With([](DbfWriteOptions& o) { o.TruncateTo = 97 + 11 * 2 + 5; }), 3, true, 2, 2},
      {"truncated inside the descriptors", With([](DbfWriteOptions& o) { o.TruncateTo = 32 + 32 + 10; }), 3, true, 1, 0},
      {"truncated right after the header", With([](DbfWriteOptions& o) { o.TruncateTo = 32; }), 3, true, 0, 0},
      {"field count beyond the header area", With([](DbfWriteOptions& o) { o.HeaderLen = 97 + 64; }), 3, true, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string path = Table("bad.dbf", kFields, Rows(c.Rows), c.Options);

    TxxDBF aborted;
    host_.Answers = {0};
    LoadDBF(aborted, false, path);
    EXPECT_EQ(TakeShown(), c.Asks ? std::vector<int>{31} : std::vector<int>{});
    EXPECT_EQ(aborted.State, c.Asks ? dsFailed : dsLoaded);
    if (c.Asks) {
      EXPECT_TRUE(aborted.Fields.empty());
    }

    TxxDBF ignored;
    host_.Answers = {2};
    LoadDBF(ignored, false, path);
    TakeShown();
    EXPECT_EQ(ignored.State, dsLoaded);
    EXPECT_EQ(ignored.Fields.size(), c.FieldsAfterIgnore);
    if (c.RecordsAfterIgnore >= 0)
      EXPECT_EQ(ignored.RecCount, c.RecordsAfterIgnore);
    else
      EXPECT_LE(ignored.RecCount, 10);
    EXPECT_EQ(ignored.RecNos.size(), size_t(ignored.RecCount));
    for (const auto& f : ignored.Fields) EXPECT_EQ(f.Values.size(), size_t(ignored.RecCount));
  }
}

TEST_F(DbfTest, ForgedFieldOffsetsReadClippedToTheRecord) {
  // Record length 11: flag, CODE 4, QTY 6.
  DbfWriteOptions o;
  o.FieldOffsets[0] = 8;           // CODE reaches 1 byte past the record
  o.FieldOffsets[1] = 200;         // QTY starts far beyond it
  TxxDBF t;
  LoadDBF(t, false, Table("offsets.dbf", kFields, {{{"abcd", "123456"}}}, o));
  EXPECT_TRUE(TakeShown().empty());
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(t, 0, 0), "456");
  EXPECT_EQ(DBFValueRef(t, 1, 0), "");

  DbfWriteOptions negative;
  negative.FieldOffsets[1] = 0xFFFFFFF0u;
  TxxDBF n;
  LoadDBF(n, false, Table("negative.dbf", kFields, {{{"abcd", "123456"}}}, negative));
  ASSERT_EQ(n.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(n, 0, 0), "abcd");
  EXPECT_EQ(DBFValueRef(n, 1, 0), "");

  // Offset 0 takes the deletion flag as the field's first byte.
  DbfWriteOptions zero;
  zero.FieldOffsets[0] = 0;
  TxxDBF z;
  LoadDBF(z, false, Table("zero.dbf", kFields, {{{"abcd", "1"}}}, zero));
  ASSERT_EQ(z.State, dsLoaded);
  EXPECT_EQ(DBFValueRef(z, 0, 0), " abc");
}

TEST_F(DbfTest, DescriptorsEndAtTheTerminator) {
  // A header with room after the terminator (a backlink area) announces more
  // descriptors than the table has.
  DbfWriteOptions o;
  o.Version = 0xF5;
  o.ExtraHeaderBytes = 263;
  TxxDBF t;
  LoadDBF(t, false, Table("backlink.dbf", kFields, Rows(2), o));
  EXPECT_TRUE(TakeShown().empty());
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.Fields.size(), 2u);
  EXPECT_EQ(DBFValueRef(t, 1, 1), "10");
}

TEST_F(DbfTest, ManyRecordsAreReadAcrossChunks) {
  // More than one read's worth of records, with a deleted one in every chunk.
  std::vector<DbfFieldSpec> fields = {{"N", 'N', 7}, {"PAD", 'C', 250}};
  std::vector<DbfRow> rows;
  const int n = 5000;
  for (int i = 0; i < n; ++i) rows.push_back({{std::to_string(i), std::string(250, 'a' + i % 26)}, i % 997 == 5});
  TxxDBF t;
  LoadDBF(t, false, Table("big.dbf", fields, rows));
  ASSERT_EQ(t.State, dsLoaded);
  int live = 0;
  for (int i = 0; i < n; ++i) {
    if (rows[size_t(i)].Deleted) continue;
    ASSERT_EQ(t.RecNos[size_t(live)], i);
    ASSERT_EQ(DBFValueRef(t, 0, live), std::to_string(i));
    ASSERT_EQ(DBFValueRef(t, 1, live), rows[size_t(i)].Values[1]);
    ++live;
  }
  EXPECT_EQ(t.RecCount, live);
}

// A read that fails part way is told as such, with the file's name, and
// leaves the table failed and empty: it is not taken for the end of the file.
TEST_F(DbfTest, ReadErrorIsToldAndLeavesNoHalfTable) {
  const std::string unreadable = "Z:\\proc\\self\\mem";
  {
    platform::InFile probe;
    if (!probe.Open(unreadable)) GTEST_SKIP() << "no /proc/self/mem";
  }
  TxxDBF t;
  LoadDBF(t, false, unreadable);
  ASSERT_EQ(host_.Shown.size(), 1u);
  EXPECT_EQ(host_.Shown[0].Flags, 0x10001u);
  EXPECT_EQ(host_.Shown[0].HelpTopic, "ProblemReadDBF");
  EXPECT_EQ(host_.Shown[0].Lines, (std::vector<std::string>{MsgText(0), MsgText(122), unreadable}));
  host_.Shown.clear();
  EXPECT_EQ(t.State, dsFailed);
  EXPECT_TRUE(t.Fields.empty());
  EXPECT_EQ(DBFValue(t, 0, 0, false), "");
  EXPECT_TRUE(TakeShown().empty());  // failed: not read, nor told, again
}

}  // namespace
}  // namespace vemlo::test
