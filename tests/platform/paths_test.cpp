#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

// Sets an environment variable for the life of the object.
struct ScopedEnv {
  std::string name;
  ScopedEnv(const std::string& n, const std::string& value) : name(n) { setenv(n.c_str(), value.c_str(), 1); }
  ~ScopedEnv() { unsetenv(name.c_str()); }
};

// Changes the current directory for the life of the object.
struct ScopedCwd {
  std::string saved;
  explicit ScopedCwd(const std::string& dir) {
    char buf[4096];
    saved = getcwd(buf, sizeof buf) ? buf : "/";
    EXPECT_EQ(chdir(dir.c_str()), 0);
  }
  ~ScopedCwd() { (void)chdir(saved.c_str()); }
};

TEST(PlatformPaths, ExpandFileNameResolvesDotsTextually) {
  EXPECT_EQ(ExpandFileName("C:\\a\\.\\b\\..\\c"), "C:\\a\\c");
  EXPECT_EQ(ExpandFileName("C:\\a\\b\\"), "C:\\a\\b\\");  // a trailing backslash stays
  EXPECT_EQ(ExpandFileName("C:\\a\\b\\..\\"), "C:\\a\\");
  EXPECT_EQ(ExpandFileName("C:\\..\\..\\x"), "C:\\x");
  EXPECT_EQ(ExpandFileName("C:\\"), "C:\\");
  EXPECT_EQ(ExpandFileName("c:\\Mixed\\CASE.prg"), "c:\\Mixed\\CASE.prg");
  EXPECT_EQ(ExpandFileName("C:\\a\\\\b"), "C:\\a\\b");
  EXPECT_EQ(ExpandFileName("C:\\a\\.."), "C:\\");
  EXPECT_EQ(ExpandFileName("\\usr\\lib"), "Z:\\usr\\lib");  // rooted without a drive: Z:
  EXPECT_EQ(ExpandFileName(""), "");
}

TEST(PlatformPaths, RelativePathsUseTheCurrentDirectory) {
  test::TempTree tree;
  tree.Write("work/sub/x.prg", "x");
  ScopedCwd cwd(tree.Native("work"));
  const std::string work = tree.Dos("work");
  EXPECT_EQ(ExpandFileName("sub\\x.prg"), work + "\\sub\\x.prg");
  EXPECT_EQ(ExpandFileName(".\\sub\\..\\y"), work + "\\y");
  EXPECT_EQ(ExpandFileName("..\\"), tree.Dos("") + "\\");
  EXPECT_EQ(ExpandFileName("Z:sub"), work + "\\sub");  // drive-relative on the current drive
  EXPECT_EQ(ExpandFileName("Q:sub"), "Q:\\sub");        // another drive: its root
  EXPECT_TRUE(FileExists("SUB\\X.PRG"));
}

TEST(PlatformPaths, DriveMapping) {
  test::TempTree tree;
  tree.Write("foxpro/Proj/Main.prg", "x");
  EXPECT_EQ(ToNativePath("Z:\\"), "/");
  EXPECT_EQ(ToNativePath("Z:\\etc\\"), "/etc");
  EXPECT_EQ(ToDosPath("/"), "Z:\\");
  EXPECT_EQ(ToDosPath(tree.Native("foxpro/Proj")), "Z:" + [&] {
    std::string s = tree.Native("foxpro/Proj");
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }());
  // An unmapped drive has no native place.
  unsetenv("VEMLO_DRIVE_C");
  EXPECT_EQ(ToNativePath("C:\\PROJ\\MAIN.PRG"), "");
  EXPECT_FALSE(FileExists("C:\\PROJ\\MAIN.PRG"));
  {
    // Read at each use: setting the variable maps the drive at once.
    ScopedEnv c("VEMLO_DRIVE_C", tree.Native("foxpro") + "/");
    EXPECT_EQ(ToNativePath("C:\\PROJ\\MAIN.PRG"), tree.Native("foxpro/Proj/Main.prg"));
    EXPECT_EQ(ToNativePath("c:\\proj\\..\\"), tree.Native("foxpro"));
    EXPECT_EQ(ToDosPath(tree.Native("foxpro/Proj/Main.prg")), "C:\\Proj\\Main.prg");
    EXPECT_EQ(ToDosPath(tree.Native("foxpro")), "C:\\");
    EXPECT_TRUE(FileExists("C:\\PROJ\\MAIN.PRG"));
    // A directory whose name only starts like the mapped one is not on the drive.
    EXPECT_EQ(ToDosPath(tree.Native("foxprox/a")).substr(0, 3), "Z:\\");
    {
      // The longest mapped root wins.
      ScopedEnv d("VEMLO_DRIVE_D", tree.Native("foxpro/Proj"));
      EXPECT_EQ(ToDosPath(tree.Native("foxpro/Proj/Main.prg")), "D:\\Main.prg");
      EXPECT_EQ(ToDosPath(tree.Native("foxpro/Other")), "C:\\Other");
    }
  }
  EXPECT_FALSE(FileExists("C:\\PROJ\\MAIN.PRG"));
}

TEST(PlatformPaths, ComponentsAreMatchedWithoutLetterCase) {
  test::TempTree tree;
  tree.Write("src/Main.prg", "main");
  tree.Write("Data/x.dbf", "");
  const std::string root = tree.Dos("");
  EXPECT_EQ(ToNativePath(root + "\\SRC\\MAIN.PRG"), tree.Native("src/Main.prg"));
  EXPECT_TRUE(FileExists(root + "\\SRC\\MAIN.PRG"));
  EXPECT_TRUE(DirectoryExists(root + "\\DATA"));
  EXPECT_TRUE(DirectoryExists(root + "\\data\\..\\SRC\\"));
  EXPECT_FALSE(FileExists(root + "\\SRC"));  // a folder is not a file
  EXPECT_FALSE(DirectoryExists(root + "\\SRC\\MAIN.PRG"));
  // A missing component keeps its spelling, and what follows it too.
  EXPECT_EQ(ToNativePath(root + "\\SRC\\New.PRG"), tree.Native("src/New.PRG"));
  EXPECT_EQ(ToNativePath(root + "\\NoDir\\SRC"), tree.Native("NoDir/SRC"));
  EXPECT_FALSE(FileExists(root + "\\SRC\\MAIN.PRX"));
  EXPECT_FALSE(DirectoryExists(root + "\\NODIR"));
  // An exact match is preferred over another spelling.
  tree.Write("src/MAIN.PRG", "upper");
  EXPECT_EQ(ToNativePath(root + "\\src\\MAIN.PRG"), tree.Native("src/MAIN.PRG"));
  EXPECT_EQ(ToNativePath(root + "\\src\\Main.prg"), tree.Native("src/Main.prg"));
  EXPECT_EQ(ShortPathName(root + "\\SRC"), root + "\\SRC");
}

}  // namespace
}  // namespace vemlo::platform
