// Database containers built byte by byte: the objects and their property
// blocks, the long names a table gets from its container, and damaged
// containers (bad memo pointers, cut property records, a table that is no
// container, a missing memo file): names without what is lost, never a crash.
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "dbf/dbc.h"
#include "dbf/dbf_text.h"
#include "dbf/vfp_fields.h"
#include "dbf_test_env.h"
#include "fpt_writer.h"
#include "host/reader_reports.h"
#include "python_run.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo::test {
namespace {

std::string Le(uint64_t v, int width) {
  std::string out;
  for (int i = 0; i < width; ++i) out += char((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Prop(unsigned char id, const std::string& value, uint16_t kind = 1) {
  const std::string body = value + std::string(1, '\0');
  return Le(7 + body.size(), 4) + Le(kind, 2) + std::string(1, char(id)) + body;
}

struct DbcObject {
  int Id;
  int Parent;
  std::string Type;
  std::string Name;
  std::string Properties;  // the property block; empty: no memo
  bool Deleted = false;
};

const std::vector<DbfFieldSpec> kObjectColumns = {
    {"OBJECTID", 'I', 4}, {"PARENTID", 'I', 4}, {"OBJECTTYPE", 'C', 10}, {"OBJECTNAME", 'C', 128},
    {"PROPERTY", 'M', 4}, {"CODE", 'M', 4},     {"RIINFO", 'C', 6},      {"USER", 'M', 4}};

DbfWriteOptions Vfp(const std::string& backlink = "") {
  DbfWriteOptions o;
  o.Version = 0x30;
  o.ExtraHeaderBytes = int(kVfpBacklinkLen);
  o.Backlink = backlink;
  return o;
}

class DbcTest : public DbfTest {
 protected:
  // Writes name (a .dbc) and its .dct; a memo pointer is the object's block,
  // or the forged one of pointers (by object index).
  std::string Container(const std::string& name, const std::vector<DbcObject>& objects, bool withMemo = true,
                        const std::map<size_t, uint32_t>& pointers = {}) {
    std::vector<FptMemo> memos;
    for (const DbcObject& o : objects)
      if (!o.Properties.empty()) memos.push_back(FptMemo{o.Properties, std::nullopt});
    const FptFile fpt = BuildFpt(memos);
    std::vector<DbfRow> rows;
    size_t memo = 0;
    for (size_t i = 0; i < objects.size(); ++i) {
      const DbcObject& o = objects[i];
      uint32_t block = o.Properties.empty() ? 0 : uint32_t(fpt.Blocks[memo++]);
      if (auto p = pointers.find(i); p != pointers.end()) block = p->second;
      rows.push_back(DbfRow{{Le(uint32_t(o.Id), 4), Le(uint32_t(o.Parent), 4), o.Type, o.Name, Le(block, 4),
                             Le(0, 4), "", Le(0, 4)},
                            o.Deleted});
    }
    const std::string path = Table(name, kObjectColumns, rows, Vfp());
    if (withMemo) {
      EXPECT_TRUE(WriteBytes(Native(ChangeFileExt(name, ".dct")), fpt.Bytes));
    }
    return path;
  }

  TxxDbc Read(const std::string& path, TxxReadStatus want = TxxReadStatus::Read) {
    TxxDbc dbc;
    EXPECT_EQ(ReadDBC(path, dbc), want) << path;
    EXPECT_TRUE(TakeShown().empty());  // the container reader tells nobody anything
    return dbc;
  }
};

// The container of most tests: a database, a table with three fields (one of
// them deleted), a view, a field of no table and a second table.
std::vector<DbcObject> Shop() {
  return {
      {1, 1, "Database", "Database", Prop(dbcPropertyComment, "The shop")},
      {2, 1, "Table", "customer_accounts",
       Prop(dbcPropertyPath, "data\\cust.dbf") + Prop(0x55, "unknown") + Prop(dbcPropertyComment, "Who buys")},
      {3, 2, "Field", "customer_number", Prop(dbcPropertyComment, "Given once")},
      {4, 2, "Field", "dropped_field", "", true},
      {5, 2, "Field", "customer_full_name", ""},
      {6, 1, "View", "big_ones", ""},
      {7, 42, "Field", "orphan", ""},
      {8, 1, "table", "order_lines", Prop(dbcPropertyComment, "Lines")},
      {9, 8, "FIELD", "order_number", ""},
  };
}

TEST(DbcProperties, RecordsAreReadByLengthAndUnknownIdsSkipped) {
  const std::string block = Prop(dbcPropertyPath, "a\\b.dbf") + Prop(2, "class") + Prop(dbcPropertyComment, "Note", 9);
  TxxDbcProperties p = ParseDbcProperties(block);
  EXPECT_EQ(p.Path, "a\\b.dbf");
  EXPECT_EQ(p.Comment, "Note");
  // A value ends at its first zero byte; trailing blanks go.
  p = ParseDbcProperties(Prop(dbcPropertyComment, std::string("kept  \0lost", 11)));
  EXPECT_EQ(p.Comment, "kept");
  // A value without any zero byte is the whole rest of its record.
  p = ParseDbcProperties(Le(10, 4) + Le(1, 2) + "\x07" + "abc");
  EXPECT_EQ(p.Comment, "abc");
  // The last of two records of one id wins.
  EXPECT_EQ(ParseDbcProperties(Prop(7, "one") + Prop(7, "two")).Comment, "two");
}

TEST(DbcProperties, CutAndForgedRecordsEndTheRunWithWhatCameBefore) {
  const std::string good = Prop(dbcPropertyPath, "t.dbf");
  const std::string comment = Prop(dbcPropertyComment, "a comment");
  // Cut inside the second record: its head, then its value.
  for (size_t cut : {size_t(1), size_t(6), size_t(7), comment.size() - 1}) {
    const TxxDbcProperties p = ParseDbcProperties(good + comment.substr(0, cut));
    EXPECT_EQ(p.Path, "t.dbf") << cut;
    EXPECT_EQ(p.Comment, "") << cut;
  }
  // Lengths too short for a record's head (0 would never move on), and one
  // far past the block.
  for (uint32_t len : {0u, 1u, 6u, 0xFFFFFFFFu, uint32_t(comment.size() + 1)}) {
    const std::string forged = Le(len, 4) + comment.substr(4);
    const TxxDbcProperties p = ParseDbcProperties(good + forged + Prop(dbcPropertyComment, "after"));
    EXPECT_EQ(p.Path, "t.dbf") << len;
    if (len < 7 || len > comment.size() + 7) {
      EXPECT_EQ(p.Comment, "") << len;
    }
  }
  // A length of exactly the head holds an empty value.
  EXPECT_EQ(ParseDbcProperties(Le(7, 4) + Le(1, 2) + "\x07" + Prop(1, "x")).Path, "x");
  EXPECT_EQ(ParseDbcProperties("").Path, "");
  EXPECT_EQ(ParseDbcProperties(std::string(6, '\xFF')).Path, "");
}

TEST_F(DbcTest, TablesGetTheirLiveFieldsInOrderWithPathsAndComments) {
  ASSERT_TRUE(platform::MakeDirectory(Dos("db")));
  const std::string path = Container("db/shop.dbc", Shop());
  const TxxDbc dbc = Read(path);
  ASSERT_EQ(dbc.Tables.size(), 2u);
  const TxxDbcTable& cust = dbc.Tables[0];
  EXPECT_EQ(cust.Name, "customer_accounts");
  EXPECT_EQ(cust.Comment, "Who buys");
  EXPECT_EQ(UpperCase(cust.Path), UpperCase(Dos("db/data/cust.dbf")));
  ASSERT_EQ(cust.Fields.size(), 2u);  // the deleted field is gone
  EXPECT_EQ(cust.Fields[0].Name, "customer_number");
  EXPECT_EQ(cust.Fields[0].Comment, "Given once");
  EXPECT_EQ(cust.Fields[1].Name, "customer_full_name");
  EXPECT_EQ(cust.Fields[1].Comment, "");
  // Object types in any letter case; without a path the table lies beside the container.
  const TxxDbcTable& lines = dbc.Tables[1];
  EXPECT_EQ(lines.Name, "order_lines");
  EXPECT_EQ(UpperCase(lines.Path), UpperCase(Dos("db/order_lines.dbf")));
  ASSERT_EQ(lines.Fields.size(), 1u);
  EXPECT_EQ(lines.Fields[0].Name, "order_number");
  EXPECT_EQ(DbcTablePath({dbc}, "ORDER_LINES"), lines.Path);
  EXPECT_EQ(DbcTablePath({dbc}, "big_ones"), "");  // a view is no table
  EXPECT_EQ(DbcTablePath({dbc}, " "), "");
}

TEST_F(DbcTest, MissingMemoFileGivesNamesWithoutComments) {
  const TxxDbc dbc = Read(Container("shop.dbc", Shop(), false));
  ASSERT_EQ(dbc.Tables.size(), 2u);
  EXPECT_EQ(dbc.Tables[0].Comment, "");
  EXPECT_EQ(UpperCase(dbc.Tables[0].Path), UpperCase(Dos("customer_accounts.dbf")));
  ASSERT_EQ(dbc.Tables[0].Fields.size(), 2u);
  EXPECT_EQ(dbc.Tables[0].Fields[0].Comment, "");
}

TEST_F(DbcTest, BadMemoPointersGiveNoPropertiesForThatObjectOnly) {
  // Object 1 (the first table) points past the memo file, object 2 (its first
  // field) into the memo file's header, object 8 at the last block with a
  // forged length.
  const std::string path = Container("shop.dbc", Shop(), true, {{1, 0x7FFFFFFF}, {2, 1}, {8, 0xFFFFFFFF}});
  const TxxDbc dbc = Read(path);
  ASSERT_EQ(dbc.Tables.size(), 2u);
  EXPECT_EQ(dbc.Tables[0].Name, "customer_accounts");
  EXPECT_EQ(dbc.Tables[0].Comment, "");
  EXPECT_EQ(UpperCase(dbc.Tables[0].Path), UpperCase(Dos("customer_accounts.dbf")));
  ASSERT_EQ(dbc.Tables[0].Fields.size(), 2u);
  EXPECT_EQ(dbc.Tables[0].Fields[0].Comment, "");
  EXPECT_EQ(dbc.Tables[1].Comment, "Lines");  // untouched

  // A memo block whose length is forged far past the file reads what the file holds.
  std::vector<FptMemo> memos = {{Prop(dbcPropertyComment, "Only one"), 0x7FFFFFF0u}};
  const FptFile fpt = BuildFpt(memos);
  ASSERT_TRUE(WriteBytes(Native("one.dct"), fpt.Bytes));
  const std::string one = Table("one.dbc", kObjectColumns,
                                {{{Le(2, 4), Le(1, 4), "Table", "t", Le(uint32_t(fpt.Blocks[0]), 4), Le(0, 4), "",
                                   Le(0, 4)}}},
                                Vfp());
  const TxxDbc forged = Read(one);
  ASSERT_EQ(forged.Tables.size(), 1u);
  EXPECT_EQ(forged.Tables[0].Comment, "Only one");
}

TEST_F(DbcTest, PropertyColumnOutsideTheRecordIsNotRead) {
  DbfWriteOptions o = Vfp();
  o.FieldOffsets[4] = 5000;  // PROPERTY beyond the record
  std::vector<DbfRow> rows = {{{Le(2, 4), Le(1, 4), "Table", "t", Le(1, 4), Le(0, 4), "", Le(0, 4)}}};
  ASSERT_TRUE(WriteBytes(Native("far.dct"), BuildFpt({{Prop(dbcPropertyComment, "x"), std::nullopt}}).Bytes));
  const TxxDbc dbc = Read(Table("far.dbc", kObjectColumns, rows, o));
  ASSERT_EQ(dbc.Tables.size(), 1u);
  EXPECT_EQ(dbc.Tables[0].Comment, "");
}

TEST_F(DbcTest, TablesThatAreNoContainerGiveNothing) {
  // A Visual FoxPro table of other columns, and one whose ids are text.
  EXPECT_TRUE(Read(Table("other.dbc", {{"NAME", 'C', 10}}, {{{"Table"}}}, Vfp())).Tables.empty());
  std::vector<DbfFieldSpec> textIds = kObjectColumns;
  textIds[0] = {"OBJECTID", 'C', 4};
  EXPECT_TRUE(Read(Table("text.dbc", textIds, {{{"2", Le(1, 4), "Table", "t", Le(0, 4), Le(0, 4), "", Le(0, 4)}}},
                         Vfp()))
                  .Tables.empty());
  // A FoxPro 2.x table with the object column names, all as text.
  std::vector<DbfFieldSpec> fox2 = {{"OBJECTID", 'N', 4}, {"PARENTID", 'N', 4}, {"OBJECTTYPE", 'C', 10},
                                    {"OBJECTNAME", 'C', 20}};
  DbfWriteOptions f;
  f.Version = 0x03;
  EXPECT_TRUE(Read(Table("fox2.dbc", fox2, {{{"   2", "   1", "Table", "t"}}}, f)).Tables.empty());
  // Junk, an empty file, a missing file, a folder.
  ASSERT_TRUE(WriteBytes(Native("junk.dbc"), std::string(100, '\x55')));
  EXPECT_TRUE(Read(Dos("junk.dbc"), TxxReadStatus::BadVersion).Tables.empty());
  ASSERT_TRUE(WriteBytes(Native("empty.dbc"), ""));
  EXPECT_TRUE(Read(Dos("empty.dbc"), TxxReadStatus::BadVersion).Tables.empty());
  EXPECT_TRUE(Read(Dos("none.dbc"), TxxReadStatus::Missing).Tables.empty());
  ASSERT_TRUE(platform::MakeDirectory(Dos("dir.dbc")));
  EXPECT_TRUE(Read(Dos("dir.dbc"), TxxReadStatus::Missing).Tables.empty());
}

std::string FileBytes(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(DbcTest, ACutContainerKeepsTheObjectsItHoldsWhole) {
  Container("shop.dbc", Shop());
  const std::string bytes = FileBytes(Native("shop.dbc"));
  ASSERT_TRUE(WriteBytes(Native("cut.dct"), FileBytes(Native("shop.dct"))));
  // The header with its backlink, and records of the flag and the eight columns.
  const size_t header = 32 + 8 * 32 + 1 + size_t(kVfpBacklinkLen);
  const size_t record = 1 + 4 + 4 + 10 + 128 + 4 + 4 + 6 + 4;
  ASSERT_EQ(bytes.size(), header + 9 * record + 1);
  // Whole records held -> tables, fields of the first, fields of the second.
  const struct {
    size_t Whole;
    size_t Tables, First, Second;
  } cuts[] = {{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {5, 1, 2, 0}, {8, 2, 2, 0}, {9, 2, 2, 1}};
  for (const auto& cut : cuts) {
    for (size_t extra : {size_t(0), record / 2}) {
      ASSERT_TRUE(WriteBytes(Native("cut.dbc"), bytes.substr(0, header + cut.Whole * record + extra)));
      const TxxDbc dbc = Read(Dos("cut.dbc"));
      ASSERT_EQ(dbc.Tables.size(), cut.Tables) << cut.Whole;
      if (cut.Tables == 0) continue;
      EXPECT_EQ(dbc.Tables[0].Comment, "Who buys");
      EXPECT_EQ(dbc.Tables[0].Fields.size(), cut.First) << cut.Whole;
      if (cut.Tables > 1) {
        EXPECT_EQ(dbc.Tables[1].Fields.size(), cut.Second) << cut.Whole;
      }
    }
  }
}

TEST_F(DbcTest, TableFindsItsEntryByBacklinkInAnyLetterCaseOrByTheKnownContainers) {
  for (const char* dir : {"db", "db/data", "moved"}) ASSERT_TRUE(platform::MakeDirectory(Dos(dir)));
  Container("db/shop.dbc", Shop());
  const std::vector<DbfFieldSpec> fields = {{"CUSTOMER_N", 'I', 4}, {"CUSTOMER_F", 'C', 30}};
  const std::vector<DbfRow> rows = {{{Le(1, 4), "x"}}};
  TxxDBF t;
  LoadDBF(t, true, Table("db/data/cust.dbf", fields, rows, Vfp("..\\SHOP.DBC")));
  std::optional<TxxDbcTable> entry = FindDbcTable(t, {});
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Fields[1].Name, "customer_full_name");

  // The same table without a backlink: only a known container describes it.
  TxxDBF free;
  LoadDBF(free, true, Table("db/data/cust.dbf", fields, rows, Vfp()));
  EXPECT_FALSE(FindDbcTable(free, {}));
  TxxDbc known;
  ASSERT_EQ(ReadDBC(Dos("db/shop.dbc"), known), TxxReadStatus::Read);
  entry = FindDbcTable(free, {known});
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Name, "customer_accounts");

  // A backlink to a container that is not there falls back to the known ones.
  TxxDBF lost;
  LoadDBF(lost, true, Table("db/data/cust.dbf", fields, rows, Vfp("gone.dbc")));
  EXPECT_FALSE(FindDbcTable(lost, {}));
  EXPECT_TRUE(FindDbcTable(lost, {known}));

  // Moved together with its container, the table is found by its file name.
  Container("moved/shop.dbc", Shop());
  TxxDBF moved;
  LoadDBF(moved, true, Table("moved/cust.dbf", fields, rows, Vfp("shop.dbc")));
  entry = FindDbcTable(moved, {});
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Fields[0].Name, "customer_number");
  // ... but not through a known container, which names another place.
  TxxDBF elsewhere;
  LoadDBF(elsewhere, true, Table("moved/cust.dbf", fields, rows, Vfp()));
  EXPECT_FALSE(FindDbcTable(elsewhere, {known}));

  // A container that lists another number of fields is out of date: no names.
  TxxDBF wider;
  LoadDBF(wider, true, Table("db/data/cust.dbf", {{"A", 'C', 1}, {"B", 'C', 1}, {"C", 'C', 1}}, {{{"a", "b", "c"}}},
                             Vfp("..\\shop.dbc")));
  EXPECT_FALSE(FindDbcTable(wider, {known}));
  // A backlink to something that is no container.
  Table("db/data/plain.dbc", {{"NAME", 'C', 4}}, {{{"x"}}}, Vfp());
  TxxDBF plain;
  LoadDBF(plain, true, Table("db/data/p.dbf", fields, rows, Vfp("plain.dbc")));
  EXPECT_FALSE(FindDbcTable(plain, {}));
  EXPECT_TRUE(TakeShown().empty());
}

TEST_F(DbcTest, StructureLinesTakeTheLongNamesAndComments) {
  TxxDBF t;
  LoadDBF(t, true, Table("s.dbf", {{"CUSTOMER_N", 'I', 4}, {"NAME", 'C', 30}}, {{{Le(1, 4), "x"}}}, Vfp()));
  ASSERT_EQ(t.Fields.size(), 2u);
  const std::vector<std::string> plain = DBFStructureLines(t, nullptr);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[0], DBFStructureLine(t.Fields[0]));
  EXPECT_EQ(plain[1], "    NAME       C ( 30,0), ;  ");

  TxxDbcTable entry{"customers", "", "Who buys", {{"customer_number", "Given once"}, {"name", ""}}};
  const std::vector<std::string> named = DBFStructureLines(t, &entry);
  ASSERT_EQ(named.size(), 3u);
  EXPECT_EQ(named[0], "* customers: Who buys");
  EXPECT_EQ(named[1], "    customer_number I (  4,0), ;  && Given once");
  EXPECT_EQ(named[2], "    name            C ( 30,0), ;  ");
  entry.Comment.clear();
  EXPECT_EQ(DBFStructureLines(t, &entry)[0], "* customers");
  // An entry of another number of fields is not used.
  entry.Fields.pop_back();
  EXPECT_EQ(DBFStructureLines(t, &entry), plain);
}

// The scenarios' container, written by python3-dbf (tests/dbf/make_dbc_fixtures.py):
// python3-dbfread reads the same objects from it as the container reader.
TEST_F(DbcTest, ScenarioContainerAgreesWithPythonDbfread) {
  const std::string source = std::string(VEMLO_SOURCE_DIR) + "/tests/scenarios/vfp-database/db/";
  TxxDbc dbc;
  ASSERT_EQ(ReadDBC(platform::ToDosPath(source + "SALES.DBC"), dbc), TxxReadStatus::Read);
  std::string ours;
  for (const TxxDbcTable& t : dbc.Tables) {
    ours += "Table|" + t.Name + "|" + t.Comment + "\n";
    for (const TxxDbcField& f : t.Fields) ours += "Field|" + f.Name + "|" + f.Comment + "\n";
  }
  EXPECT_NE(ours.find("Field|customer_full_name|Family name first\n"), std::string::npos) << ours;
  EXPECT_EQ(ours.find("dropped"), std::string::npos);
  EXPECT_EQ(ours.find("orphan"), std::string::npos);

  if (access(kPython, X_OK) != 0) GTEST_SKIP() << kPython << " is not installed";
  // dbfread finds a memo file by the table's extension: it reads copies named as a table.
  const auto copy = [&](const std::string& from, const std::string& to) {
    std::ifstream in(source + from, std::ios::binary);
    ASSERT_TRUE(WriteBytes(Native(to), std::string(std::istreambuf_iterator<char>(in), {})));
  };
  copy("SALES.DBC", "sales.dbf");
  copy("SALES.DCT", "sales.fpt");
  const PythonRun run = RunPython(Native("objects.py"), R"(import struct, sys
try:
    import dbfread
except ImportError:
    sys.exit(77)
rows = list(dbfread.DBF(sys.argv[1]))
tables = {r['OBJECTID'] for r in rows if r['OBJECTTYPE'].upper() == 'TABLE'}
def comment(block):
    block = block if isinstance(block, bytes) else (block or '').encode('latin-1')
    text, at = '', 0
    while len(block) - at >= 7:
        n = struct.unpack('<I', block[at:at + 4])[0]
        if n < 7 or n > len(block) - at: break
        if block[at + 6] == 7: text = block[at + 7:at + n].split(b'\0')[0].decode('cp866').strip()
        at += n
    return text
for r in rows:
    kind = r['OBJECTTYPE'].strip().upper()
    if kind == 'TABLE' or (kind == 'FIELD' and r['PARENTID'] in tables):
        print(kind.capitalize() + '|' + r['OBJECTNAME'].strip() + '|' + comment(r['PROPERTY']))
)",
                                   Native("sales.dbf"), Native("objects.txt"));
  if (run.ModuleMissing) GTEST_SKIP() << "python3-dbfread is missing";
  ASSERT_TRUE(run.Ok) << run.Output;
  EXPECT_EQ(ours, run.Output);
}

}  // namespace
}  // namespace vemlo::test
