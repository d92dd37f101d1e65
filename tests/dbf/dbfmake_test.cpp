// The table build tool: what it writes is read back by the loader and, for the
// memo file, checked byte by byte and against python3-dbfread.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "lib/xxlib.h"

namespace vemlo::test {
namespace {

constexpr const char* kTool = VEMLO_BINARY_DIR "/tools/vemlo-dbfmake";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t Be32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | (unsigned char)s[at + i];
  return v;
}

class DbfMakeTest : public DbfTest {
 protected:
  // Runs the tool on a source text; returns its exit code, its messages in `log`.
  int Make(const std::string& source, const std::string& output, std::string& log) {
    WriteBytes(Native("source.txt"), source);
    std::string command = std::string(kTool) + " " + Native("source.txt") + " " + Native(output) +
                          " 2> " + Native("tool.log");
    int status = std::system(command.c_str());
    log = ReadFile(Native("tool.log"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

const char* const kHelpSource =
    "# a help base\r\n"
    "version 0xF5\r\n"
    "field TOPIC C 12\r\n"
    "field TEXT memoref\r\n"
    "field NOTE M\r\n"
    "field QTY N 5 1\r\n"
    "row SET TALK | <<END | <<NOTE | 1.5\r\n"
    "SET TALK ON \\| OFF\r\n"
    "  indented \x8F\xE0\xA8\r\n"
    "END\r\n"
    "Short note\r\n"
    "NOTE\r\n"
    "deleted GONE | old text | | 2\r\n"
    "row A\\|B\\\\C | | inline memo | \r\n"
    "row \\x20lead | <<X | | -3\r\n"
    "\r\n"
    "X\r\n";

TEST_F(DbfMakeTest, WritesTablesWithMemoBlocks) {
  std::string log;
  ASSERT_EQ(Make(kHelpSource, "help.dbf", log), 0) << log;
  TxxDBF t;
  LoadDBF(t, false, Dos("help.dbf"));
  EXPECT_TRUE(TakeShown().empty());
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.Fields.size(), 4u);
  EXPECT_EQ(t.Fields[1].FieldType, 'N');
  EXPECT_EQ(t.Fields[1].Len, 8);
  EXPECT_EQ(t.Fields[2].FieldType, 'M');
  EXPECT_EQ(t.Fields[2].Len, 10);
  EXPECT_EQ(t.Fields[3].Dec, 1);
  ASSERT_EQ(t.RecCount, 3);
  EXPECT_EQ(t.RecNos, (std::vector<int32_t>{0, 2, 3}));
  EXPECT_EQ(DBFValueRef(t, 0, 0), "SET TALK");
  EXPECT_EQ(DBFValueRef(t, 0, 1), "A|B\\C");
  EXPECT_EQ(DBFValueRef(t, 0, 2), " lead");
  EXPECT_EQ(DBFValue(t, 3, 0, true), "  1.5");  // numbers aligned right
  EXPECT_EQ(DBFValueRef(t, 1, 1), "");           // no memo, no block

  const std::string fpt = ReadFile(Native("help.fpt"));
  ASSERT_GE(fpt.size(), 512u);
  EXPECT_EQ(Be32(fpt, 0) * 64, fpt.size());  // next free block
  EXPECT_EQ((unsigned char)fpt[6] << 8 | (unsigned char)fpt[7], 64);
  auto memo = [&](const std::string& field) {
    std::string digits = Trim(field);
    EXPECT_FALSE(digits.empty());
    size_t at = size_t(std::stoul(digits)) * 64;
    EXPECT_LE(at + 8, fpt.size());
    if (at + 8 > fpt.size()) return std::string();
    EXPECT_EQ(Be32(fpt, at), 1u);
    uint32_t len = Be32(fpt, at + 4);
    EXPECT_LE(at + 8 + len, fpt.size());
    return fpt.substr(at + 8, len);
  };
  EXPECT_EQ(memo(DBFValueRef(t, 1, 0)), "SET TALK ON \\| OFF\r\n  indented \x8F\xE0\xA8");
  EXPECT_EQ(memo(DBFValueRef(t, 2, 0)), "Short note");
  EXPECT_EQ(memo(DBFValueRef(t, 2, 1)), "inline memo");
  EXPECT_EQ(DBFValueRef(t, 1, 2), "");  // an empty memo text writes no block
  EXPECT_EQ(Trim(DBFValueRef(t, 1, 0)), std::to_string(512 / 64));  // the first block after the header

  // dbfread follows the memo blocks on its own.
  if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "/usr/bin/python3 is not installed";
  std::ofstream(Native("read.py")) <<
      "import sys\n"
      "try:\n    import dbfread\nexcept ImportError:\n    sys.exit(77)\n"
      "t = dbfread.DBF(sys.argv[1], encoding='cp866', load=True)\n"
      "for r in t.records:\n    sys.stdout.buffer.write(repr(r['NOTE']).encode() + b'\\n')\n";
  std::string command = "/usr/bin/python3 " + Native("read.py") + " " + Native("help.dbf") + " > " +
                        Native("read.out") + " 2>&1";
  int status = std::system(command.c_str());
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) GTEST_SKIP() << "python3-dbfread is missing";
  ASSERT_EQ(status, 0) << ReadFile(Native("read.out"));
  EXPECT_EQ(ReadFile(Native("read.out")), "'Short note'\n'inline memo'\nNone\n");
}

TEST_F(DbfMakeTest, RejectsBadSourcesWithTheirLine) {
  struct BadSource {
    const char* Source;
    const char* Message;
  };
  const BadSource cases[] = {
      {"field A C 3\nrow abcd\n", ":2: value \"abcd\" is longer than field A"},
      {"field A C 3\nfield B C 2\nrow x\n", ":3: row has 1 values for 2 fields"},
      {"version 0xF5\nfield A M\nrow <<END\ntext\n", ":3: memo text <<END has no closing line"},
      {"field A M\nrow x\n", ":0: memo fields need version 0xF5"},
      {"row x\n", ":1: a row before any field"},
      {"field TWELVECHARSX C 3\n", ":1: field name longer than 11 characters"},
      {"field A C\n", ":1: field A needs a length"},
      {"field A X 300\n", ":1: field length must be 1 to 255"},
      {"field A C 3\nfield a C 3\n", ":2: field a is declared twice"},
      {"version 300\n", ":1: version must be a byte"},
      {"colour red\n", ":1: unknown keyword \"colour\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source);
    std::string log;
    EXPECT_EQ(Make(c.Source, "bad.dbf", log), 1);
    EXPECT_NE(log.find(c.Message), std::string::npos) << log;
    EXPECT_NE(access(Native("bad.dbf").c_str(), F_OK), 0) << "a table was written";
  }
}

}  // namespace
}  // namespace vemlo::test
