#include <gtest/gtest.h>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

std::vector<std::string> Lines(const std::string& path) {
  TextReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  EXPECT_FALSE(reader.Failed());
  return lines;
}

using List = std::vector<std::string>;

constexpr uint32_t Stamp(int y, int mo, int d, int h, int mi, int s) {
  return uint32_t(y - 1980) << 25 | uint32_t(mo) << 21 | uint32_t(d) << 16 | uint32_t(h) << 11 | uint32_t(mi) << 5 |
         uint32_t(s / 2);
}

TEST(PlatformFiles, StampsSizesAndDeletion) {
  test::TempTree tree;
  tree.Write("Data/T.dbf", std::string(1000, 'x'));
  const std::string file = tree.Dos("") + "\\DATA\\t.DBF";
  for (uint32_t stamp : {Stamp(1980, 1, 1, 0, 0, 0), Stamp(1999, 12, 31, 23, 59, 58), Stamp(2024, 2, 29, 12, 0, 2),
                         Stamp(2107, 12, 31, 23, 59, 58)}) {
    ASSERT_TRUE(SetFileStamp(file, stamp)) << stamp;
    EXPECT_EQ(FileStamp(file), stamp);
  }
  // Odd seconds cannot be stored: the stamp holds two-second steps.
  ASSERT_TRUE(SetFileStamp(file, Stamp(2020, 5, 6, 7, 8, 10)));
  EXPECT_EQ(*FileStamp(file) & 0x1F, 5u);
  EXPECT_FALSE(SetFileStamp(file, Stamp(2020, 13, 1, 0, 0, 0)));  // no month 13
  EXPECT_FALSE(SetFileStamp(file, Stamp(2020, 1, 0, 0, 0, 0)));   // no day 0
  EXPECT_FALSE(SetFileStamp(tree.Dos("") + "\\MISSING", Stamp(2020, 1, 1, 0, 0, 0)));
  EXPECT_EQ(FileSize(file), 1000u);
  EXPECT_FALSE(FileSize(tree.Dos("") + "\\DATA"));
  EXPECT_FALSE(FileStamp(tree.Dos("") + "\\DATA\\none.dbf"));
  EXPECT_FALSE(DeleteFile(tree.Dos("") + "\\DATA"));  // folders are not deleted
  EXPECT_TRUE(DeleteFile(file));
  EXPECT_FALSE(tree.Exists("Data/T.dbf"));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFile(file));
}

TEST(PlatformFiles, DirectoriesMadeAndRemovedOnlyWhenEmpty) {
  test::TempTree tree;
  tree.Write("Data/T.dbf", "x");
  const std::string dir = tree.Dos("") + "\\DATA\\VL~00001.TMP";
  EXPECT_TRUE(MakeDirectory(dir));
  EXPECT_TRUE(DirectoryExists(dir));
  EXPECT_FALSE(MakeDirectory(dir));                                // there already
  EXPECT_FALSE(MakeDirectory(tree.Dos("") + "\\DATA\\t.dbf"));      // a file of that name
  EXPECT_FALSE(MakeDirectory(tree.Dos("") + "\\NONE\\SUB"));        // no parent
  OutFile out;
  ASSERT_TRUE(out.Create(dir + "\\VL~HELP.HLF"));
  EXPECT_TRUE(out.Close());
  EXPECT_FALSE(RemoveEmptyDirectory(dir));  // a file is left in it
  EXPECT_TRUE(DirectoryExists(dir));
  EXPECT_FALSE(RemoveEmptyDirectory(dir + "\\VL~HELP.HLF"));  // files are not removed as folders
  EXPECT_TRUE(DeleteFile(dir + "\\vl~help.hlf"));
  EXPECT_TRUE(RemoveEmptyDirectory(dir));
  EXPECT_FALSE(DirectoryExists(dir));
  EXPECT_FALSE(RemoveEmptyDirectory(dir));
  EXPECT_TRUE(tree.Exists("Data/T.dbf"));
}

TEST(PlatformFiles, InFileReadsByOffset) {
  test::TempTree tree;
  tree.Write("t.fpt", "0123456789");
  InFile in;
  EXPECT_FALSE(in.IsOpen());
  EXPECT_EQ(in.Size(), -1);
  char buf[16] = {};
  EXPECT_EQ(in.ReadAt(0, buf, 4), -1);
  ASSERT_TRUE(in.Open(tree.Dos("T.FPT")));
  EXPECT_EQ(in.Size(), 10);
  EXPECT_EQ(in.ReadAt(3, buf, 4), 4);
  EXPECT_EQ(std::string(buf, 4), "3456");
  EXPECT_EQ(in.ReadAt(8, buf, 16), 2);  // a short read at the end
  EXPECT_EQ(std::string(buf, 2), "89");
  EXPECT_EQ(in.ReadAt(10, buf, 4), 0);
  EXPECT_EQ(in.ReadAt(int64_t(1) << 40, buf, 4), 0);  // far beyond the end, 64-bit offset
  EXPECT_EQ(in.ReadAt(-1, buf, 4), -1);
  EXPECT_EQ(in.ReadAt(INT64_MAX - 1, buf, 4), 0);  // no overflow of offset + count
  in.Close();
  EXPECT_FALSE(in.IsOpen());
  EXPECT_FALSE(in.Open(tree.Dos("none.fpt")));
  EXPECT_FALSE(in.Open(tree.Dos("")));  // a folder
}

TEST(PlatformFiles, TextReaderLineEnds) {
  test::TempTree tree;
  tree.Write("mixed.txt", "a\r\nb\nc\rd");
  tree.Write("final.txt", "a\n");
  tree.Write("blank.txt", "\n\r\n\r");
  tree.Write("empty.txt", "");
  tree.Write("crlf.txt", "x\r\r\ny");
  EXPECT_EQ(Lines(tree.Dos("mixed.txt")), (List{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines(tree.Dos("final.txt")), (List{"a"}));
  EXPECT_EQ(Lines(tree.Dos("blank.txt")), (List{"", "", ""}));
  EXPECT_EQ(Lines(tree.Dos("empty.txt")), List{});
  EXPECT_EQ(Lines(tree.Dos("crlf.txt")), (List{"x", "", "y"}));

  // A CR LF split across the reader's buffer is still one line end.
  std::string big(64 * 1024 - 1, 'q');
  tree.Write("split.txt", big + "\r\nnext\r\n");
  EXPECT_EQ(Lines(tree.Dos("split.txt")), (List{big, "next"}));

  TextReader reader;
  std::string line = "stale";
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(reader.Open(tree.Dos("mixed.txt")));
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "b");
  ASSERT_TRUE(reader.Rewind());
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "a");
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(reader.Open(tree.Dos("missing.txt")));
}

// Lines as views: the same lines as copies, also lines far longer than the
// reader's buffer and line ends at its edge, and one reader used for file after file.
TEST(PlatformFiles, TextReaderViewsMatchCopies) {
  test::TempTree tree;
  const std::string huge(300 * 1024 + 7, 'h');
  const std::string edge(64 * 1024 - 1, 'e');
  const std::vector<std::pair<std::string, std::string>> files = {
      {"mixed.txt", "a\r\nb\nc\rd"},
      {"long.txt", "x\r\n" + huge + "\r\n" + huge + "\ry\n"},
      {"edge.txt", edge + "\r" + "\n" + edge + "\n" + edge + "\r\r\n"},
      {"cr.txt", edge + "\r"},
      {"tail.txt", "first\n" + huge},
      {"empty.txt", ""},
  };
  for (const auto& f : files) tree.Write(f.first, f.second);
  TextReader reader;
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& f : files) {
      ASSERT_TRUE(reader.Open(tree.Dos(f.first)));
      List views;
      std::string_view line;
      while (reader.ReadLineView(line)) views.emplace_back(line);
      EXPECT_FALSE(reader.Failed());
      EXPECT_FALSE(reader.ReadLineView(line));
      EXPECT_TRUE(line.empty());
      reader.Close();
      EXPECT_EQ(views, Lines(tree.Dos(f.first))) << f.first;
    }
  }
  EXPECT_EQ(Lines(tree.Dos("long.txt")), (List{"x", huge, huge, "y"}));
  EXPECT_EQ(Lines(tree.Dos("edge.txt")), (List{edge, edge, edge, ""}));
  EXPECT_EQ(Lines(tree.Dos("cr.txt")), (List{edge}));
  EXPECT_EQ(Lines(tree.Dos("tail.txt")), (List{"first", huge}));
  std::string_view line = "stale";
  EXPECT_FALSE(reader.ReadLineView(line));  // closed
  EXPECT_TRUE(line.empty());
}

TEST(PlatformFiles, TextReaderReportsReadErrors) {
  TextReader reader;
  // Reading this process's memory at offset 0 fails with an input/output error.
  if (!reader.Open("Z:\\proc\\self\\mem")) GTEST_SKIP() << "no /proc/self/mem";
  std::string line;
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_TRUE(reader.Failed());
  ASSERT_TRUE(reader.Open("Z:\\proc\\self\\mem"));
  std::string_view view;
  EXPECT_FALSE(reader.ReadLineView(view));
  EXPECT_TRUE(reader.Failed());
}

TEST(PlatformFiles, OutFileCreatesTruncatesAndReportsFailure) {
  test::TempTree tree;
  tree.Write("Out.txt", "old content that is long");
  OutFile out;
  ASSERT_TRUE(out.Create(tree.Dos("OUT.TXT")));  // the existing spelling is reused
  EXPECT_TRUE(out.Write("new"));
  EXPECT_TRUE(out.Write(std::string("\0x", 2)));
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(tree.Read("Out.txt"), std::string("new\0x", 5));
  EXPECT_FALSE(tree.Exists("OUT.TXT"));

  ASSERT_TRUE(out.Create(tree.Dos("Fresh.txt")));
  EXPECT_TRUE(out.Close());
  EXPECT_TRUE(tree.Exists("Fresh.txt"));

  EXPECT_FALSE(out.Create(tree.Dos("nodir/x.txt")));
  EXPECT_FALSE(out.Write("x"));

  // A full device: the write or the close must report it.
  if (out.Create("Z:\\dev\\full")) {
    bool wrote = out.Write(std::string(100000, 'x'));
    bool closed = out.Close();
    EXPECT_FALSE(wrote && closed);
  }
}

}  // namespace
}  // namespace vemlo::platform
