// DOS paths keep resolving to what is on disk now although the platform
// remembers directory names and the places of files it found before: files and
// folders renamed (also in letter case only), deleted and created, right after
// the previous look and with the same path asked for again.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const std::string& dos) {
  InFile in;
  if (!in.Open(dos)) return "<none>";
  std::string bytes(size_t(in.Size()), '\0');
  in.ReadAt(0, bytes.data(), int64_t(bytes.size()));
  return bytes;
}

void Rename(const test::TempTree& tree, const std::string& from, const std::string& to) {
  ASSERT_EQ(std::rename(tree.Native(from).c_str(), tree.Native(to).c_str()), 0) << from << " -> " << to;
}

TEST(PlatformPathCache, FileRenamedInLetterCaseIsStillFound) {
  test::TempTree tree;
  tree.Write("src/main.prg", "one");
  const std::string dos = tree.Dos("") + "\\SRC\\MAIN.PRG";
  ASSERT_EQ(ReadWhole(dos), "one");
  Rename(tree, "src/main.prg", "src/Main.Prg");
  EXPECT_TRUE(FileExists(dos));
  EXPECT_EQ(ReadWhole(dos), "one");
  EXPECT_EQ(ToNativePath(dos), tree.Native("src/Main.Prg"));
  Rename(tree, "src/Main.Prg", "src/MAIN.PRG");
  EXPECT_EQ(ReadWhole(dos), "one");
  EXPECT_EQ(FileSize(dos), 3u);
}

TEST(PlatformPathCache, FileRenamedAwayOrDeletedIsGoneAndItsNewNameFound) {
  test::TempTree tree;
  tree.Write("src/a.prg", "a");
  const std::string dir = tree.Dos("") + "\\SRC\\";
  ASSERT_TRUE(FileExists(dir + "A.PRG"));
  ASSERT_TRUE(FileStamp(dir + "A.PRG"));
  Rename(tree, "src/a.prg", "src/b.prg");
  EXPECT_FALSE(FileExists(dir + "A.PRG"));
  EXPECT_FALSE(FileStamp(dir + "A.PRG"));
  EXPECT_EQ(ReadWhole(dir + "A.PRG"), "<none>");
  EXPECT_EQ(ReadWhole(dir + "B.PRG"), "a");
  ASSERT_TRUE(DeleteFile(dir + "B.PRG"));
  EXPECT_FALSE(FileExists(dir + "B.PRG"));
  EXPECT_FALSE(FileSize(dir + "B.PRG"));
  // Made again under the old name in another letter case: found again at once.
  tree.Write("src/A.prg", "again");
  EXPECT_EQ(ReadWhole(dir + "A.PRG"), "again");
  EXPECT_EQ(ToNativePath(dir + "a.prg"), tree.Native("src/A.prg"));
}

TEST(PlatformPathCache, FilesCreatedRightAfterALookAreFound) {
  test::TempTree tree;
  tree.Write("src/a.prg", "a");
  const std::string dir = tree.Dos("") + "\\SRC\\";
  // Each name is new to a directory whose names were just read, within the
  // same tick of the file system's clock.
  for (int i = 0; i < 20; ++i) {
    const std::string name = "n" + std::to_string(i) + ".prg";
    EXPECT_FALSE(FileExists(dir + "N" + std::to_string(i) + ".PRG"));
    tree.Write("src/" + name, name);
    EXPECT_TRUE(FileExists(dir + "N" + std::to_string(i) + ".PRG")) << name;
    EXPECT_EQ(ReadWhole(dir + "N" + std::to_string(i) + ".PRG"), name);
  }
  EXPECT_EQ(FindFiles(dir + "N*.PRG").size(), 20u);
}

// A file system clock that ticks in steps can leave a folder's time as it was
// after a change made in the same step as the previous look; such a change is
// still seen while the folder's time is recent.
TEST(PlatformPathCache, AChangeThatKeepsTheFolderTimeIsSeen) {
  test::TempTree tree;
  tree.Write("src/a.prg", "a");
  const std::string dir = tree.Dos("") + "\\SRC\\";
  const std::string native = tree.Native("src");
  ASSERT_TRUE(FileExists(dir + "A.PRG"));
  // Writes a file and puts the folder's time back to what it was before.
  auto writeKeepingTime = [&](const std::string& rel, const std::string& bytes) {
    struct stat before;
    ASSERT_EQ(stat(native.c_str(), &before), 0);
    tree.Write(rel, bytes);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), times, 0), 0);
  };
  writeKeepingTime("src/b.prg", "b");
  EXPECT_TRUE(FileExists(dir + "B.PRG"));
  // The exact spelling made next to a name found in another case.
  tree.Write("src/c.prg", "c");
  ASSERT_EQ(ToNativePath(dir + "C.PRG"), tree.Native("src/c.prg"));
  writeKeepingTime("src/C.PRG", "C");
  EXPECT_EQ(ToNativePath(dir + "C.PRG"), tree.Native("src/C.PRG"));
}

TEST(PlatformPathCache, FolderRenamedInLetterCaseIsStillFound) {
  test::TempTree tree;
  tree.Write("proj/src/main.prg", "main");
  const std::string dos = tree.Dos("") + "\\PROJ\\SRC\\MAIN.PRG";
  ASSERT_EQ(ReadWhole(dos), "main");
  const std::optional<uint32_t> stamp = FileStamp(dos);
  ASSERT_TRUE(stamp);
  Rename(tree, "proj/src", "proj/Src");
  EXPECT_EQ(FileStamp(dos), stamp);
  EXPECT_EQ(ReadWhole(dos), "main");
  Rename(tree, "proj", "PROJ");
  EXPECT_EQ(FileStamp(dos), stamp);
  EXPECT_TRUE(FileExists(dos));
  EXPECT_EQ(ToNativePath(dos), tree.Native("PROJ/Src/main.prg"));
  EXPECT_EQ(FindFiles(tree.Dos("") + "\\proj\\src\\*.prg").size(), 1u);
  // Moved away, with another folder of the old name in its place.
  Rename(tree, "PROJ", "old");
  tree.Write("proj/src/main.prg", "other");
  EXPECT_EQ(ReadWhole(dos), "other");
  EXPECT_EQ(ToNativePath(dos), tree.Native("proj/src/main.prg"));
}

TEST(PlatformPathCache, ANameSpelledExactlyWinsWhenItAppears) {
  test::TempTree tree;
  tree.Write("src/Main.prg", "mixed");
  const std::string root = tree.Dos("");
  EXPECT_EQ(ToNativePath(root + "\\src\\MAIN.PRG"), tree.Native("src/Main.prg"));
  tree.Write("src/MAIN.PRG", "upper");
  EXPECT_EQ(ToNativePath(root + "\\src\\MAIN.PRG"), tree.Native("src/MAIN.PRG"));
  EXPECT_EQ(ReadWhole(root + "\\src\\MAIN.PRG"), "upper");
  EXPECT_EQ(ReadWhole(root + "\\src\\Main.prg"), "mixed");
}

TEST(PlatformPathCache, ADriveMappedElsewhereIsFollowed) {
  test::TempTree tree;
  tree.Write("one/PROJ/MAIN.PRG", "one");
  tree.Write("two/proj/main.prg", "two");
  setenv("VEMLO_DRIVE_C", tree.Native("one").c_str(), 1);
  EXPECT_EQ(ReadWhole("C:\\PROJ\\MAIN.PRG"), "one");
  setenv("VEMLO_DRIVE_C", tree.Native("two").c_str(), 1);
  EXPECT_EQ(ReadWhole("C:\\PROJ\\MAIN.PRG"), "two");
  EXPECT_EQ(ToNativePath("C:\\PROJ\\MAIN.PRG"), tree.Native("two/proj/main.prg"));
  unsetenv("VEMLO_DRIVE_C");
  EXPECT_FALSE(FileExists("C:\\PROJ\\MAIN.PRG"));
}

TEST(PlatformPathCache, ManyNamesInOtherLetterCaseInOneFolder) {
  test::TempTree tree;
  constexpr int kFiles = 300;
  for (int i = 0; i < kFiles; ++i) tree.Write("src/f" + std::to_string(i) + ".prg", std::to_string(i));
  const std::string dir = tree.Dos("") + "\\SRC\\F";
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < kFiles; ++i) ASSERT_EQ(ReadWhole(dir + std::to_string(i) + ".PRG"), std::to_string(i));
  fs::remove(tree.Native("src/f7.prg"));
  EXPECT_FALSE(FileExists(dir + "7.PRG"));
  EXPECT_TRUE(FileExists(dir + "8.PRG"));
}

}  // namespace
}  // namespace vemlo::platform
