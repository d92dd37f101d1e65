// Stamps asked for many files at once agree with each file's own stamp after
// every kind of change: contents written, stamp set, file replaced by a rename,
// deleted and made again, its folder or a folder above renamed or replaced, and
// more changes than the kernel keeps notices of.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t Stamp(int y, int mo, int d, int h, int mi) {
  return uint32_t(y - 1980) << 25 | uint32_t(mo) << 21 | uint32_t(d) << 16 | uint32_t(h) << 11 |
         uint32_t(mi) << 5;
}

std::vector<std::optional<uint32_t>> StampsOf(const std::vector<std::string>& paths) {
  return FileStamps(std::vector<std::string_view>(paths.begin(), paths.end()));
}

class FileStampsTest : public ::testing::Test {
 protected:
  // Files a.prg .. e.prg in proj/src, asked for in upper case, with stamps set
  // to days of 2001 so that every change below is a change of stamp.
  void SetUp() override {
    for (char c = 'a'; c <= 'e'; ++c) {
      const std::string rel = std::string("proj/src/") + c + ".prg";
      tree.Write(rel, std::string(1, c));
      paths.push_back(tree.Dos("") + "\\PROJ\\SRC\\" + char(c - 'a' + 'A') + ".PRG");
      ASSERT_TRUE(SetFileStamp(paths.back(), Stamp(2001, 1, 1 + (c - 'a'), 0, 0)));
    }
    paths.push_back(tree.Dos("") + "\\PROJ\\SRC\\NONE.PRG");
  }

  // The batch agrees with the files one by one, asked twice (the second time
  // from what the first one kept).
  void ExpectAgrees(const char* when) {
    SCOPED_TRACE(when);
    std::vector<std::optional<uint32_t>> each;
    for (const std::string& p : paths) each.push_back(FileStamp(p));
    EXPECT_EQ(StampsOf(paths), each);
    EXPECT_EQ(StampsOf(paths), each);
  }

  void Rename(const std::string& from, const std::string& to) {
    ASSERT_EQ(std::rename(tree.Native(from).c_str(), tree.Native(to).c_str()), 0) << from;
  }

  test::TempTree tree;
  std::vector<std::string> paths;
};

TEST_F(FileStampsTest, ChangesOfTheFilesThemselves) {
  ExpectAgrees("at first");
  EXPECT_FALSE(StampsOf(paths).back());
  ASSERT_TRUE(SetFileStamp(paths[0], Stamp(2002, 2, 2, 2, 2)));
  ExpectAgrees("a stamp set");
  EXPECT_EQ(StampsOf(paths)[0], Stamp(2002, 2, 2, 2, 2));
  std::ofstream(tree.Native("proj/src/b.prg"), std::ios::app) << "more";
  ExpectAgrees("contents written");
  EXPECT_NE(StampsOf(paths)[1], Stamp(2001, 1, 2, 0, 0));
  // Saved the way editors do: a new file renamed over the old one.
  tree.Write("proj/src/c.new", "new c");
  ASSERT_TRUE(SetFileStamp(tree.Dos("proj/src/c.new"), Stamp(2003, 3, 3, 3, 3)));
  Rename("proj/src/c.new", "proj/src/c.prg");
  ExpectAgrees("replaced by a rename");
  EXPECT_EQ(StampsOf(paths)[2], Stamp(2003, 3, 3, 3, 3));
  fs::remove(tree.Native("proj/src/d.prg"));
  ExpectAgrees("deleted");
  EXPECT_FALSE(StampsOf(paths)[3]);
  tree.Write("proj/src/D.Prg", "d again");
  ASSERT_TRUE(SetFileStamp(paths[3], Stamp(2004, 4, 4, 4, 4)));
  ExpectAgrees("made again in another letter case");
  EXPECT_EQ(StampsOf(paths)[3], Stamp(2004, 4, 4, 4, 4));
  tree.Write("proj/src/none.prg", "new");
  ExpectAgrees("a new file");
  EXPECT_TRUE(StampsOf(paths).back());
}

TEST_F(FileStampsTest, ChangesOfTheFolders) {
  ExpectAgrees("at first");
  Rename("proj/src", "proj/Src");
  ExpectAgrees("the folder renamed in letter case");
  EXPECT_EQ(StampsOf(paths)[4], Stamp(2001, 1, 5, 0, 0));
  Rename("proj", "PROJ");
  ExpectAgrees("the folder above renamed in letter case");
  EXPECT_EQ(StampsOf(paths)[0], Stamp(2001, 1, 1, 0, 0));
  // Moved away, and another tree of the same names in its place.
  Rename("PROJ", "old");
  ExpectAgrees("moved away");
  EXPECT_FALSE(StampsOf(paths)[0]);
  tree.Write("proj/src/a.prg", "other a");
  ASSERT_TRUE(SetFileStamp(paths[0], Stamp(2005, 5, 5, 5, 5)));
  ExpectAgrees("another tree in its place");
  EXPECT_EQ(StampsOf(paths)[0], Stamp(2005, 5, 5, 5, 5));
  EXPECT_FALSE(StampsOf(paths)[1]);
  // The old tree back under the old name, while the new one moves aside.
  Rename("proj", "other");
  Rename("old", "Proj");
  ExpectAgrees("the old tree back");
  EXPECT_EQ(StampsOf(paths)[1], Stamp(2001, 1, 2, 0, 0));
}

TEST_F(FileStampsTest, MoreChangesThanTheKernelKeepsNoticesOf) {
  ExpectAgrees("at first");
  // Tens of thousands of notices between two batches: the queue overflows.
  for (int i = 0; i < 20000; ++i)
    ASSERT_TRUE(SetFileStamp(paths[i % 2], Stamp(2006, 1 + i % 12, 1 + i % 28, i % 24, i % 60)));
  ASSERT_TRUE(SetFileStamp(paths[2], Stamp(2007, 7, 7, 7, 7)));
  ExpectAgrees("after the flood");
  EXPECT_EQ(StampsOf(paths)[2], Stamp(2007, 7, 7, 7, 7));
}

TEST_F(FileStampsTest, ADriveMappedElsewhere) {
  tree.Write("one/SRC/A.PRG", "one");
  tree.Write("two/SRC/A.PRG", "two");
  ASSERT_TRUE(SetFileStamp(tree.Dos("one/SRC/A.PRG"), Stamp(2008, 8, 8, 8, 8)));
  ASSERT_TRUE(SetFileStamp(tree.Dos("two/SRC/A.PRG"), Stamp(2009, 9, 9, 9, 9)));
  const std::vector<std::string> onC = {"C:\\SRC\\A.PRG"};
  setenv("VEMLO_DRIVE_C", tree.Native("one").c_str(), 1);
  EXPECT_EQ(StampsOf(onC)[0], Stamp(2008, 8, 8, 8, 8));
  setenv("VEMLO_DRIVE_C", tree.Native("two").c_str(), 1);
  EXPECT_EQ(StampsOf(onC)[0], Stamp(2009, 9, 9, 9, 9));
  unsetenv("VEMLO_DRIVE_C");
  EXPECT_FALSE(StampsOf(onC)[0]);
  EXPECT_TRUE(FileStamps({}).empty());
  // A path relative to the current folder, and one that is no DOS path at all.
  EXPECT_FALSE(StampsOf({"NO-SUCH.PRG", ""})[0]);
}

}  // namespace
}  // namespace vemlo::platform
