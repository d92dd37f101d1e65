#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

std::vector<std::string> Names(const std::vector<FindEntry>& entries) {
  std::vector<std::string> names;
  for (const FindEntry& e : entries) names.push_back(e.Name);
  std::sort(names.begin(), names.end());
  return names;
}

using List = std::vector<std::string>;

TEST(PlatformFind, MasksFollowDosRules) {
  test::TempTree tree;
  tree.Write("Src/a.prg", "aaa");
  tree.Write("Src/B.Prg", "");
  tree.Write("Src/c.prgx", "");
  tree.Write("Src/Makefile", "");
  tree.Write("Src/d.spr", "");
  tree.Write("Src/Sub/e.prg", "");
  const std::string dir = tree.Dos("") + "\\SRC\\";
  EXPECT_EQ(Names(FindFiles(dir + "*.PRG")), (List{"B.Prg", "a.prg"}));
  EXPECT_EQ(Names(FindFiles(dir + "*.*", faAnyFile & ~faDirectory)),
            (List{"B.Prg", "Makefile", "a.prg", "c.prgx", "d.spr"}));
  EXPECT_EQ(Names(FindFiles(dir + "*.*")), (List{"B.Prg", "Makefile", "Sub", "a.prg", "c.prgx", "d.spr"}));
  EXPECT_EQ(Names(FindFiles(dir + "?.?R?")), (List{"B.Prg", "a.prg"}));  // "?" is one character, not c.prgx
  EXPECT_EQ(Names(FindFiles(dir + "?.*R*")), (List{"B.Prg", "a.prg", "c.prgx", "d.spr"}));
  EXPECT_EQ(Names(FindFiles(dir + "MAKEFILE.*")), (List{"Makefile"}));
  EXPECT_EQ(Names(FindFiles(dir + "*.")), (List{"Makefile", "Sub"}));
  EXPECT_EQ(Names(FindFiles(dir + "A.PRG")), (List{"a.prg"}));
  EXPECT_EQ(Names(FindFiles(dir + "SUB\\..\\*.SPR")), (List{"d.spr"}));
  // Missing folders and files are reported missing, never found.
  EXPECT_TRUE(FindFiles(dir + "*.DBF").empty());
  EXPECT_TRUE(FindFiles(tree.Dos("") + "\\NOSUCH\\*.*").empty());
  EXPECT_TRUE(FindFiles(dir).empty());
  EXPECT_TRUE(FindFiles("").empty());
}

TEST(PlatformFind, AttributesSizesAndStamps) {
  test::TempTree tree;
  tree.Write("d/file.txt", "12345");
  tree.Write("d/.hidden", "x");
  tree.Write("d/ro.txt", "x");
  tree.Write("d/Sub/x", "");
  ASSERT_EQ(chmod(tree.Native("d/ro.txt").c_str(), 0444), 0);
  const std::string dir = tree.Dos("d") + "\\";
  const uint32_t stamp = (uint32_t(2023 - 1980) << 25) | (7u << 21) | (14u << 16) | (13u << 11) | (45u << 5) | 15u;
  ASSERT_TRUE(SetFileStamp(dir + "FILE.TXT", stamp));

  std::vector<FindEntry> all = FindFiles(dir + "*.*", faAnyFile);
  auto find = [&](const std::string& name) {
    return *std::find_if(all.begin(), all.end(), [&](const FindEntry& e) { return e.Name == name; });
  };
  ASSERT_EQ(Names(all), (List{".hidden", "Sub", "file.txt", "ro.txt"}));
  EXPECT_EQ(find("file.txt").Size, 5u);
  EXPECT_EQ(find("file.txt").Time, stamp);
  EXPECT_EQ(find("file.txt").Attr, uint32_t(faArchive));
  EXPECT_EQ(find("Sub").Attr & (faDirectory | faArchive), uint32_t(faDirectory));
  EXPECT_TRUE(find(".hidden").Attr & faHidden);
  EXPECT_TRUE(find("ro.txt").Attr & faReadOnly);

  // Hidden entries and folders only when asked for.
  EXPECT_EQ(Names(FindFiles(dir + "*.*", faArchive | faReadOnly)), (List{"file.txt", "ro.txt"}));
  EXPECT_EQ(Names(FindFiles(dir + "*.*", faArchive | faDirectory)), (List{"Sub", "file.txt", "ro.txt"}));
}

TEST(PlatformFind, SpecialFilesAreSkipped) {
  test::TempTree tree;
  tree.Write("d/real.prg", "");
  ASSERT_EQ(mkfifo(tree.Native("d/pipe.prg").c_str(), 0644), 0);
  ASSERT_EQ(symlink("nowhere", tree.Native("d/dangling.prg").c_str()), 0);
  EXPECT_EQ(Names(FindFiles(tree.Dos("d") + "\\*.PRG")), (List{"real.prg"}));
  EXPECT_FALSE(FileExists(tree.Dos("d") + "\\PIPE.PRG"));
  TextReader reader;
  EXPECT_FALSE(reader.Open(tree.Dos("d") + "\\pipe.prg"));  // would block otherwise
}

}  // namespace
}  // namespace vemlo::platform
