// Reading memo texts: chunks, lines across chunks, and corrupt memo files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "dbf/xxdbf.h"
#include "dbf_writer.h"
#include "fpt_writer.h"
#include "help/vemlohlp.h"
#include "host/reader_reports.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

// Reads a memo block of the bytes given, as lines.
struct MemoFixture {
  test::TempTree tree;
  std::vector<std::string> Read(const std::string& bytes, int64_t block) {
    tree.Write("M.FPT", bytes);
    EXPECT_TRUE(OpenHelpMemo(tree.Dos("M.FPT")));
    std::vector<std::string> lines;
    ReadMemoText(block, [&lines](const std::string& l) {
      lines.push_back(l);
      return true;
    });
    CloseHelpMemo();
    return lines;
  }
};

TEST(MemoReader, ChunksAndLines) {
  MemoFixture f;
  using V = std::vector<std::string>;
  // Exactly 512 bytes: two chunks, the second adds nothing but the final empty line.
  std::string text512 = "first\r\n" + std::string(505, 'x');
  ASSERT_EQ(text512.size(), 512u);
  test::FptFile fpt = test::BuildFpt({{text512, {}}});
  EXPECT_EQ(f.Read(fpt.Bytes, fpt.Blocks[0]), (V{"first", std::string(505, 'x'), ""}));

  // A line that runs over the chunk boundary comes whole; LFs are removed, a bare CR ends a line too.
  std::string spanning = std::string(500, 'a') + std::string(30, 'b') + "\r\nnext\rlast";
  fpt = test::BuildFpt({{"short", {}}, {spanning, {}}});
  EXPECT_EQ(f.Read(fpt.Bytes, fpt.Blocks[1]), (V{std::string(500, 'a') + std::string(30, 'b'), "next", "last", ""}));
  EXPECT_EQ(f.Read(fpt.Bytes, fpt.Blocks[0]), (V{"short", ""}));

  // A zero byte ends a middle chunk's text; in the last chunk the gap is filled with blanks.
  std::string zeroed = std::string(100, 'z') + std::string(1, '\0') + std::string(411, 'q') + std::string("ab\0c", 4);
  fpt = test::BuildFpt({{zeroed, {}}});
  EXPECT_EQ(f.Read(fpt.Bytes, fpt.Blocks[0]), (V{std::string(100, 'z') + "ab  ", ""}));

  // The handler ends the reading.
  fpt = test::BuildFpt({{"one\r\ntwo\r\nthree", {}}});
  f.tree.Write("M.FPT", fpt.Bytes);
  ASSERT_TRUE(OpenHelpMemo(f.tree.Dos("M.FPT")));
  std::vector<std::string> seen;
  ReadMemoText(fpt.Blocks[0], [&seen](const std::string& l) {
    seen.push_back(l);
    return l != "two";
  });
  CloseHelpMemo();
  EXPECT_EQ(seen, (V{"one", "two"}));
}

TEST(MemoReader, CorruptFilesEndTheTopicInsideTheFile) {
  MemoFixture f;
  using V = std::vector<std::string>;
  test::FptFile fpt = test::BuildFpt({{"alpha\r\nbeta", {}}});

  // Block size 0: nothing is read (every block would be the header).
  std::string zeroSize = fpt.Bytes;
  zeroSize[6] = zeroSize[7] = '\0';
  EXPECT_TRUE(f.Read(zeroSize, fpt.Blocks[0]).empty());

  // A block number past the end, also one whose offset overflows 32 bits.
  EXPECT_TRUE(f.Read(fpt.Bytes, 1000).empty());
  std::string bigBlocks = fpt.Bytes;
  bigBlocks[6] = bigBlocks[7] = '\xFF';
  EXPECT_TRUE(f.Read(bigBlocks, 0x7FFFFFFF).empty());
  EXPECT_TRUE(f.Read(fpt.Bytes, -1).empty());

  // A block header that the file cuts: no text.
  EXPECT_TRUE(f.Read(fpt.Bytes.substr(0, static_cast<size_t>(fpt.Blocks[0]) * 64 + 6), fpt.Blocks[0]).empty());

  // A length of gigabytes: the text ends with the file (the block's zero
  // padding becomes blanks), in a handful of lines.
  test::FptFile forged = test::BuildFpt({{"alpha\r\nbeta", 0xFFFFFFF0u}});
  V lines = f.Read(forged.Bytes, forged.Blocks[0]);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "alpha");
  EXPECT_EQ(lines[1].substr(0, 4), "beta");
  EXPECT_TRUE(lines[1].find_first_not_of(' ', 4) == std::string::npos);
  EXPECT_EQ(lines[1].size(), forged.Bytes.size() - (static_cast<size_t>(forged.Blocks[0]) * 64 + 8) - 7);
  EXPECT_EQ(lines[2], "");

  // A file too short for the header.
  EXPECT_TRUE(f.Read("abc", 0).empty());
  // No memo file open: nothing.
  std::vector<std::string> none;
  ReadMemoText(0, [&none](const std::string& l) {
    none.push_back(l);
    return true;
  });
  EXPECT_TRUE(none.empty());
}

// Memo files written by an independent tool read back to the texts written.
TEST(MemoReader, ReadsTablesWrittenByPythonDbf) {
  if (system("/usr/bin/python3 -c 'import dbf' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3-dbf missing";
  test::PluginHost ph;  // the table reader reports through the host
  test::TempTree& tree = ph.Tree();
  const std::string script =
      "import dbf, sys\n"
      "t = dbf.Table(sys.argv[1], 'name C(20); body M', dbf_type='fp')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append(('SHORT', 'line one\\r\\nline two'))\n"
      "t.append(('LONG', ''.join('row %03d of a long memo text\\r\\n' % i for i in range(60))))\n"
      "t.append(('EXACT', 'x' * 510 + '\\r\\n'))\n"
      "t.append(('MARKUP', 'a ~ b # c @ d\\r\\n\\tindented'))\n"
      "t.close()\n"
      // python-dbf leaves out the end-of-file byte, which the table reader would question.
      "open(sys.argv[1], 'ab').write(b'\\x1a')\n";
  tree.Write("make.py", script);
  const std::string cmd = "/usr/bin/python3 '" + tree.Native("make.py") + "' '" + tree.Native("PY.DBF") + "'";
  ASSERT_EQ(system(cmd.c_str()), 0);

  TxxDBF table;
  LoadDBF(table, false, tree.Dos("PY.DBF"));
  ASSERT_EQ(table.State, dsLoaded);
  ASSERT_EQ(table.RecCount, 4);
  ASSERT_TRUE(OpenHelpMemo(HelpMemoPath(tree.Dos("PY.DBF"))));
  auto read = [&](int record) {
    int block = -1;
    EXPECT_TRUE(TryStrToInt(Trim(DBFValueRef(table, 1, record)), block));
    std::string joined;
    ReadMemoText(block, [&joined](const std::string& l) {
      joined += l + "\n";
      return true;
    });
    return joined;
  };
  EXPECT_EQ(read(0), "line one\nline two\n\n");
  std::string longText;
  for (int i = 0; i < 60; ++i) {
    char row[64];
    snprintf(row, sizeof row, "row %03d of a long memo text\n", i);
    longText += row;
  }
  EXPECT_EQ(read(1), longText + "\n\n");
  EXPECT_EQ(read(2), std::string(510, 'x') + "\n\n\n");
  EXPECT_EQ(read(3), "a ~ b # c @ d\n\tindented\n\n");
  CloseHelpMemo();
  CloseDBF(table);
}

}  // namespace
}  // namespace vemlo
