#include <gtest/gtest.h>

#include "lib/xxlib.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

std::vector<std::string> ReadAll(TextFile& file) {
  std::vector<std::string> lines;
  std::string line;
  while (ReadTextLine(file, line)) lines.push_back(line);
  return lines;
}

TEST(XxlibTextFile, OpenReadCountAndSeek) {
  test::TempTree tree;
  tree.Write("Main.prg", "one\r\ntwo\nthree\rfour");
  TextFile file;
  ASSERT_TRUE(OpenTextFile(file, tree.Dos("MAIN.PRG")));
  EXPECT_EQ(CountTextLines(file), 4);
  // Counting rewinds: reading starts again at the first line.
  EXPECT_EQ(ReadAll(file), (std::vector<std::string>{"one", "two", "three", "four"}));

  ASSERT_TRUE(SeekTextLine(file, 2));
  std::string line;
  ASSERT_TRUE(ReadTextLine(file, line));
  EXPECT_EQ(line, "three");
  ASSERT_TRUE(SeekTextLine(file, 0));
  ASSERT_TRUE(ReadTextLine(file, line));
  EXPECT_EQ(line, "one");
  EXPECT_TRUE(SeekTextLine(file, 3));
  ASSERT_TRUE(ReadTextLine(file, line));
  EXPECT_EQ(line, "four");
  EXPECT_FALSE(SeekTextLine(file, 4));
  EXPECT_FALSE(SeekTextLine(file, 100));
  CloseTextFile(file);
  EXPECT_FALSE(ReadTextLine(file, line));
  EXPECT_THROW(CountTextLines(file), TextFileError);
}

TEST(XxlibTextFile, EmptyMissingAndBlankNames) {
  test::TempTree tree;
  tree.Write("empty.txt", "");
  TextFile file;
  ASSERT_TRUE(OpenTextFile(file, tree.Dos("empty.txt")));
  EXPECT_EQ(CountTextLines(file), 0);
  EXPECT_FALSE(SeekTextLine(file, 0));
  EXPECT_FALSE(OpenTextFile(file, tree.Dos("missing.txt")));
  EXPECT_FALSE(file.Reader);
  EXPECT_FALSE(OpenTextFile(file, "   "));
  EXPECT_FALSE(OpenTextFile(file, tree.Dos("")));  // a folder is no text file
  try {
    SeekTextLine(file, 0);
    ADD_FAILURE() << "no error for a closed file";
  } catch (const TextFileError&) {
  }
}

TEST(XxlibTextFile, ReadErrorIsRaisedWithTheFileName) {
  // Reading this process's memory at offset 0 fails with an input/output error.
  TextFile file;
  if (!OpenTextFile(file, "Z:\\proc\\self\\mem")) GTEST_SKIP() << "no /proc/self/mem";
  try {
    CountTextLines(file);
    ADD_FAILURE() << "no error raised";
  } catch (const TextFileError& e) {
    EXPECT_EQ(e.FileName, "Z:\\proc\\self\\mem");
  }
}

}  // namespace
}  // namespace vemlo
