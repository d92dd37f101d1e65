// Visual FoxPro tables built byte by byte: the versions, the backlink, the
// hidden _NullFlags field and its bits, the binary field types, and forged
// bytes in each of them (an empty value or a clear message, never a crash).
#include <cmath>
#include <cstring>

#include "dbf/vfp_fields.h"
#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "platform/platform.h"

namespace vemlo::test {
namespace {

std::string Le(uint64_t v, int width) {
  std::string out;
  // Bytes past the eighth are zero (a wider field than the value).
  for (int i = 0; i < width; ++i) out += i < 8 ? char((v >> (8 * i)) & 0xFF) : '\0';
  return out;
}

std::string DateTime(uint32_t day, uint32_t ms) { return Le(day, 4) + Le(ms, 4); }

std::string Double(double d) {
  uint64_t raw;
  memcpy(&raw, &d, sizeof raw);
  return Le(raw, 8);
}

DbfWriteOptions Vfp(unsigned char version = 0x30, const std::string& backlink = "") {
  DbfWriteOptions o;
  o.Version = version;
  o.ExtraHeaderBytes = int(kVfpBacklinkLen);
  o.Backlink = backlink;
  return o;
}

TEST_F(DbfTest, VisualFoxProVersionsAreReadAndUnknownBytesStillRefused) {
  const std::vector<DbfFieldSpec> fields = {{"CODE", 'C', 4}};
  for (unsigned char v : {0x30, 0x31, 0x32}) {
    TxxDBF t;
    LoadDBF(t, false, Table("v.dbf", fields, {{{"K1"}}}, Vfp(v)));
    EXPECT_EQ(t.State, dsLoaded) << int(v);
    EXPECT_EQ(t.Version, v);
    EXPECT_EQ(DBFValue(t, 0, 0, false), "K1");
  }
  // FoxBASE tables have no backlink and hold text like dBASE III ones.
  DbfWriteOptions foxbase;
  foxbase.Version = 0xFB;
  TxxDBF fb;
  LoadDBF(fb, false, Table("fb.dbf", fields, {{{"K2"}}}, foxbase));
  EXPECT_EQ(DBFValue(fb, 0, 0, false), "K2");
  EXPECT_TRUE(TakeShown().empty());

  for (unsigned char v : {0x02, 0x04, 0x33, 0x2F, 0xFA}) {
    DbfWriteOptions o;
    o.Version = v;
    TxxDBF t;
    LoadDBF(t, false, Table("bad.dbf", fields, {{{"K"}}}, o));
    EXPECT_EQ(t.State, dsFailed) << int(v);
    EXPECT_EQ(TakeShown(), std::vector<int>{30}) << int(v);
  }
}

TEST_F(DbfTest, BacklinkIsKeptAndACorruptOneCannotReachTheRecords) {
  const std::vector<DbfFieldSpec> fields = {{"CODE", 'C', 4}};
  TxxDBF t;
  LoadDBF(t, true, Table("b.dbf", fields, {{{"K1"}}}, Vfp(0x30, "..\\data\\shop.dbc")));
  EXPECT_EQ(t.Database, "..\\data\\shop.dbc");
  ASSERT_EQ(t.Fields.size(), 1u);

  // A backlink without a zero byte ends where the header ends; the records
  // that follow are not part of it.
  DbfWriteOptions full = Vfp(0x30, std::string(300, 'x'));
  TxxDBF f;
  LoadDBF(f, false, Table("f.dbf", fields, {{{"K2"}}}, full));
  EXPECT_EQ(f.Database, std::string(size_t(kVfpBacklinkLen), 'x'));
  EXPECT_EQ(DBFValue(f, 0, 0, false), "K2");

  // A header that stops inside the backlink area keeps what it covers.
  DbfWriteOptions cut = Vfp(0x30, "abcdefgh");
  cut.ExtraHeaderBytes = 5;
  TxxDBF c;
  LoadDBF(c, false, Table("c.dbf", fields, {{{"K3"}}}, cut));
  EXPECT_EQ(c.Database, "abcde");
  EXPECT_EQ(DBFValue(c, 0, 0, false), "K3");
  // Closing forgets it with the rest of the table.
  CloseDBF(c);
  EXPECT_EQ(c.Database, "");
  EXPECT_TRUE(TakeShown().empty());
}

// A, a nullable C; B, an I that cannot be null; V, a nullable varchar. The bits
// count only the fields that have them: A's null bit 0, V's length bit 1 and
// null bit 2.
const std::vector<DbfFieldSpec> kNullFields = {{"A", 'C', 3, 0, dbfNullable},
                                               {"B", 'I', 4},
                                               {"V", 'V', 5, 0, dbfNullable},
                                               {"_NullFlags", '0', 1, 0, 0x05}};

TEST_F(DbfTest, NullFlagsAreHiddenAndTheirBitsMarkNullsAndShortVarchars) {
  std::vector<DbfRow> rows = {
      {{"abc", Le(7, 4), "hello", std::string(1, '\x00')}},
      {{"abc", Le(7, 4), "hello", std::string(1, '\x01')}},                   // A null
      {{"abc", Le(7, 4), std::string("ab\0\0\x02", 5), std::string(1, '\x02')}},  // V two bytes long
      {{"abc", Le(7, 4), "hello", std::string(1, '\x04')}},                   // V null
      {{"abc", Le(7, 4), std::string("ab\0\0\x05", 5), std::string(1, '\x02')}},  // length outside the field
      {{"abc", Le(7, 4), std::string("ab\0\0\xFF", 5), std::string(1, '\x02')}},  // far outside
      {{"abc", Le(7, 4), "hello", std::string(1, '\xFF')}},                   // forged: every bit set
  };
  TxxDBF t;
  LoadDBF(t, false, Table("n.dbf", kNullFields, rows, Vfp()));
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.Fields.size(), 3u);  // _NullFlags is not listed
  EXPECT_EQ(DBFFieldIndex(t, "_NullFlags"), -1);
  const std::vector<std::vector<std::string>> want = {
      {"abc", "7", "hello"}, {".NULL.", "7", "hello"}, {"abc", "7", "ab"},        {"abc", "7", ".NULL."},
      {"abc", "7", ""},      {"abc", "7", ""},         {".NULL.", "7", ".NULL."},
  };
  ASSERT_EQ(t.RecCount, int(want.size()));
  for (size_t r = 0; r < want.size(); ++r)
    for (size_t f = 0; f < 3; ++f) EXPECT_EQ(DBFValue(t, int(f), int(r), false), want[r][f]) << r << " " << f;
}

TEST_F(DbfTest, NullFlagsOutsideTheRecordMarkNothing) {
  DbfWriteOptions o = Vfp();
  o.FieldOffsets[3] = 5000;  // _NullFlags beyond the record
  TxxDBF t;
  LoadDBF(t, false, Table("o.dbf", kNullFields, {{{"abc", Le(1, 4), "hello", std::string(1, '\xFF')}}}, o));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValue(t, 0, 0, false), "abc");
  EXPECT_EQ(DBFValue(t, 2, 0, false), "hello");

  // A field with no null flag is never null, whatever the bits say.
  std::vector<DbfFieldSpec> plain = kNullFields;
  plain[0].Flags = 0;
  TxxDBF p;
  LoadDBF(p, false, Table("p.dbf", plain, {{{"abc", Le(1, 4), "hello", std::string(1, '\x01')}}}, Vfp()));
  EXPECT_EQ(DBFValue(p, 0, 0, false), "abc");
}

TEST_F(DbfTest, BinaryNumbersAndDateTimesReadAsText) {
  const std::vector<DbfFieldSpec> fields = {{"I", 'I', 4},     {"Y", 'Y', 8}, {"B", 'B', 8},
                                            {"B2", 'B', 8, 2}, {"T", 'T', 8}, {"C", 'C', 4}};
  std::vector<DbfRow> rows = {
      {{Le(uint32_t(-5), 4), Le(uint64_t(-1234567), 8), Double(0.1), Double(3.14159), DateTime(2440588, 3723000),
        "ab"}},
      {{Le(0x80000000u, 4), Le(0x8000000000000000ull, 8), Double(NAN), Double(-2.5), DateTime(0, 0), "x"}},
      {{Le(0x7FFFFFFF, 4), Le(0x7FFFFFFFFFFFFFFFull, 8), Double(INFINITY), Double(1e20), DateTime(1721426, 86399999),
        "y"}},
      // Out of range: before year 1, after 9999, a day with more milliseconds
      // than it has, a time without a day.
      {{Le(0, 4), Le(5, 8), Double(-0.0), Double(0), DateTime(1721425, 0), "1"}},
      {{Le(0, 4), Le(0, 8), Double(1), Double(0), DateTime(5373485, 0), "2"}},
      {{Le(0, 4), Le(0, 8), Double(1), Double(0), DateTime(2440588, 86400000), "3"}},
      {{Le(0, 4), Le(0, 8), Double(1), Double(0), DateTime(0, 1000), "4"}},
      {{Le(0, 4), Le(0, 8), Double(1), Double(0), DateTime(5373484, 0), "5"}},
  };
  TxxDBF t;
  LoadDBF(t, false, Table("b.dbf", fields, rows, Vfp()));
  ASSERT_EQ(t.RecCount, 8);
  auto v = [&](int f, int r) { return DBFValue(t, f, r, false); };
  EXPECT_EQ(v(0, 0), "-5");
  EXPECT_EQ(v(1, 0), "-123.4567");
  EXPECT_EQ(v(2, 0), "0.1");
  EXPECT_EQ(v(3, 0), "3.14");
  EXPECT_EQ(v(4, 0), "19700101 01:02:03");
  EXPECT_EQ(v(5, 0), "ab");
  EXPECT_EQ(v(0, 1), "-2147483648");
  EXPECT_EQ(v(1, 1), "-922337203685477.5808");
  EXPECT_EQ(v(2, 1), "");  // NaN
  EXPECT_EQ(v(3, 1), "-2.50");
  EXPECT_EQ(v(4, 1), "");  // both parts 0: no value
  EXPECT_EQ(v(0, 2), "2147483647");
  EXPECT_EQ(v(1, 2), "922337203685477.5807");
  EXPECT_EQ(v(2, 2), "");
  EXPECT_EQ(v(3, 2), "100000000000000000000.00");
  EXPECT_EQ(v(4, 2), "00010101 23:59:59");
  EXPECT_EQ(v(1, 3), "0.0005");
  EXPECT_EQ(v(2, 3), "-0");
  for (int r = 3; r <= 6; ++r) EXPECT_EQ(v(4, r), "") << r;
  EXPECT_EQ(v(4, 7), "99991231 00:00:00");
}

TEST_F(DbfTest, BinaryFieldsCutShortByTheRecordReadAsEmpty) {
  // The record length says 1 + 4 + 3: the T field lacks five of its bytes, the
  // I field beyond the record lacks all.
  const std::vector<DbfFieldSpec> fields = {{"C", 'C', 4}, {"T", 'T', 8}, {"I", 'I', 4}};
  DbfWriteOptions o = Vfp();
  o.RecordLen = 8;
  o.EndMark = false;
  TxxDBF t;
  host_.Answers = {2};
  LoadDBF(t, false, Table("s.dbf", fields, {{{"abcd", DateTime(2440588, 0), Le(9, 4)}}}, o));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValue(t, 0, 0, false), "abcd");
  EXPECT_EQ(DBFValue(t, 1, 0, false), "");
  EXPECT_EQ(DBFValue(t, 2, 0, false), "");

  // A T or I field of the wrong width has no value either.
  const std::vector<DbfFieldSpec> odd = {{"T", 'T', 4}, {"I", 'I', 2}, {"Y", 'Y', 9}};
  TxxDBF w;
  LoadDBF(w, false, Table("w.dbf", odd, {{{Le(2440588, 4), Le(3, 2), Le(7, 9)}}}, Vfp()));
  for (int f = 0; f < 3; ++f) EXPECT_EQ(DBFValue(w, f, 0, false), "") << f;
}

TEST_F(DbfTest, ZeroBytesInAVisualFoxProRecordEndNoOtherField) {
  // In FoxPro 2.x tables a zero byte ends the record's text; binary fields
  // are full of them, so here each field is read on its own.
  const std::vector<DbfFieldSpec> fields = {{"C", 'C', 4}, {"I", 'I', 4}, {"D", 'C', 3}};
  TxxDBF t;
  LoadDBF(t, false, Table("z.dbf", fields, {{{std::string("a\0b", 3), Le(1, 4), "end"}}}, Vfp()));
  EXPECT_EQ(DBFValue(t, 0, 0, false), "a");
  EXPECT_EQ(DBFValue(t, 1, 0, false), "1");
  EXPECT_EQ(DBFValue(t, 2, 0, false), "end");
}

std::string MemoFile(const std::vector<std::string>& texts) {
  // Header block of 512 bytes with the block size 64 (big-endian at 6), then
  // each text in a block of its own: type 1, length, the bytes.
  std::string out(512, '\0');
  out[6] = 0;
  out[7] = 64;
  for (const auto& text : texts) {
    std::string block = std::string("\0\0\0\x01", 4);
    for (int i = 3; i >= 0; --i) block += char((text.size() >> (8 * i)) & 0xFF);
    block += text;
    block.resize((block.size() + 63) / 64 * 64, '\0');
    out += block;
  }
  return out;
}

TEST_F(DbfTest, MemoGeneralAndBlobFieldsShowTheirKindAndSize) {
  const std::vector<DbfFieldSpec> fields = {{"M", 'M', 4}, {"G", 'G', 4}, {"W", 'W', 4}};
  // Blocks: 8 (one of 64), 9 (one of 64), 10 ... the 100-byte one takes two.
  ASSERT_TRUE(WriteBytes(Native("m.fpt"), MemoFile({"memo", std::string(100, 'g'), "blob!"})));
  std::vector<DbfRow> rows = {
      {{Le(8, 4), Le(9, 4), Le(11, 4)}},
      {{Le(0, 4), Le(0, 4), Le(0, 4)}},          // no memo
      {{Le(999, 4), Le(0xFFFFFFFF, 4), Le(1, 4)}},  // beyond the file, and inside its header
  };
  TxxDBF t;
  LoadDBF(t, false, Table("m.dbf", fields, rows, Vfp()));
  ASSERT_EQ(t.RecCount, 3);
  EXPECT_EQ(DBFValue(t, 0, 0, false), "memo (4 bytes)");
  EXPECT_EQ(DBFValue(t, 1, 0, false), "general (100 bytes)");
  EXPECT_EQ(DBFValue(t, 2, 0, false), "blob (5 bytes)");
  for (int f = 0; f < 3; ++f) EXPECT_EQ(DBFValue(t, f, 1, false), "");
  EXPECT_EQ(DBFValue(t, 0, 2, false), "memo (?)");
  EXPECT_EQ(DBFValue(t, 1, 2, false), "general (?)");

  // Without its memo file a memo still shows its kind.
  TxxDBF alone;
  LoadDBF(alone, false, Table("alone.dbf", fields, rows, Vfp()));
  EXPECT_EQ(DBFValue(alone, 0, 0, false), "memo (?)");

  // FoxPro 2.x tables keep their memo pointers as the digits stored.
  DbfWriteOptions fox;
  fox.Version = 0xF5;
  TxxDBF old;
  LoadDBF(old, false, Table("old.dbf", {{"M", 'M', 10}}, {{{"         8"}}}, fox));
  EXPECT_EQ(DBFValue(old, 0, 0, false), "         8");
  EXPECT_TRUE(TakeShown().empty());
}

TEST_F(DbfTest, VarbinaryShowsItsBytesInHex) {
  const std::vector<DbfFieldSpec> fields = {{"Q", 'Q', 4}, {"_NullFlags", '0', 1, 0, dbfSystemField}};
  std::vector<DbfRow> rows = {{{std::string("\x01\xAB\0\0", 4), std::string(1, '\x00')}},
                              {{std::string("\x01\xAB\0\x02", 4), std::string(1, '\x01')}}};
  TxxDBF t;
  LoadDBF(t, false, Table("q.dbf", fields, rows, Vfp(0x32)));
  ASSERT_EQ(t.Fields.size(), 1u);
  EXPECT_EQ(DBFValue(t, 0, 0, false), "01AB0000");
  EXPECT_EQ(DBFValue(t, 0, 1, false), "01AB");
}

}  // namespace
}  // namespace vemlo::test

namespace vemlo::test {
namespace {

TEST_F(DbfTest, PaddedValuesOfBinaryFieldsKeepTheirWholeText) {
  const std::vector<DbfFieldSpec> fields = {{"T", 'T', 8}, {"I", 'I', 4}, {"L", 'L', 1, 0, dbfNullable},
                                            {"C", 'C', 3}, {"_NullFlags", '0', 1, 0, dbfSystemField}};
  std::vector<DbfRow> rows = {{{DateTime(2440588, 0), Le(uint32_t(-2147483647 - 1), 4), "T", "ab", std::string(1, '\x01')}}};
  TxxDBF t;
  LoadDBF(t, false, Table("p.dbf", fields, rows, Vfp()));
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(DBFValue(t, 0, 0, true), "19700101 00:00:00");
  EXPECT_EQ(DBFValue(t, 1, 0, true), "-2147483648");
  EXPECT_EQ(DBFValue(t, 2, 0, true), ".NULL.");
  EXPECT_EQ(DBFValue(t, 3, 0, true), "ab ");
  // Past the last record the padding is blanks of the same width.
  EXPECT_EQ(DBFValue(t, 0, 1, true), std::string(17, ' '));

  // In a FoxPro 2.x table the letters mean nothing: the width is the length.
  DbfWriteOptions fox;
  fox.Version = 0xF5;
  TxxDBF old;
  LoadDBF(old, false, Table("old.dbf", {{"T", 'T', 8}}, {{{"12345678"}}}, fox));
  EXPECT_EQ(DBFFieldWidth(old, 0), 8);
  EXPECT_EQ(DBFValue(old, 0, 0, true), "12345678");
  EXPECT_EQ(DBFFieldWidth(old, 1), 0);
}

}  // namespace
}  // namespace vemlo::test
