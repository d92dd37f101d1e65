#include <gtest/gtest.h>
#include <stdlib.h>

#include "lib/xxlib.h"
#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo {
namespace {

// Maps drive C: to a fresh temporary tree for one test.
struct DriveC {
  test::TempTree tree;
  DriveC() { setenv("VEMLO_DRIVE_C", tree.Root.c_str(), 1); }
  ~DriveC() { unsetenv("VEMLO_DRIVE_C"); }
};

TEST(XxlibPaths, FileNameParts) {
  EXPECT_EQ(ExtractFilePath("C:\\DIR\\MAIN.PRG"), "C:\\DIR\\");
  EXPECT_EQ(ExtractFilePath("C:MAIN.PRG"), "C:");
  EXPECT_EQ(ExtractFilePath("MAIN.PRG"), "");
  EXPECT_EQ(ExtractFileName("C:\\DIR\\MAIN.PRG"), "MAIN.PRG");
  EXPECT_EQ(ExtractFileName("C:\\DIR\\"), "");
  EXPECT_EQ(ExtractFileExt("C:\\DIR\\MAIN.PRG"), ".PRG");
  EXPECT_EQ(ExtractFileExt("C:\\DIR.X\\MAIN"), "");  // a dot in a folder is no extension
  EXPECT_EQ(ExtractFileExt("A.B.C"), ".C");
  EXPECT_EQ(ChangeFileExt("C:\\DIR\\MAIN.PRG", ".FXP"), "C:\\DIR\\MAIN.FXP");
  EXPECT_EQ(ChangeFileExt("C:\\DIR.X\\MAIN", ".FXP"), "C:\\DIR.X\\MAIN.FXP");
  EXPECT_EQ(ChangeFileExt("MAIN.PRG", ""), "MAIN");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\DIR"), "C:\\DIR\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\DIR\\"), "C:\\DIR\\");
}

TEST(XxlibPaths, ResolvePath) {
  DriveC drive;
  EXPECT_EQ(ResolvePath("C:\\P\\", "  lib\\ "), "C:\\P\\lib\\");
  EXPECT_EQ(ResolvePath("C:\\P\\", ".\\src"), "C:\\P\\src");
  EXPECT_EQ(ResolvePath("C:\\P\\", "..\\Q\\x.prg"), "C:\\Q\\x.prg");
  EXPECT_EQ(ResolvePath("C:\\P\\SUB\\", "..\\..\\..\\x"), "C:\\x");  // never above the root
  // Absolute paths come back trimmed and otherwise as they are.
  EXPECT_EQ(ResolvePath("C:\\P\\", " D:\\a\\..\\b "), "D:\\a\\..\\b");
  EXPECT_EQ(ResolvePath("C:\\P\\", "\\x\\.\\y"), "\\x\\.\\y");
  // Nothing to resolve against, or nothing to resolve.
  EXPECT_EQ(ResolvePath("  ", " lib "), "lib");
  EXPECT_EQ(ResolvePath("C:\\P\\", "   "), "");
  // A base without its trailing backslash is still taken as a folder.
  EXPECT_EQ(ResolvePath("C:\\P", "lib"), "C:\\P\\lib");
}

TEST(XxlibPaths, ResolvePathListDropsDuplicatesCaseBlind) {
  DriveC drive;
  EXPECT_EQ(ResolvePathList("C:\\P\\", " lib\\ ; .\\src ; lib\\ ", true), "C:\\P\\lib\\;C:\\P\\src;");
  EXPECT_EQ(ResolvePathList("C:\\P\\", "lib\\;LIB\\;;", true), "C:\\P\\lib\\;");
  EXPECT_EQ(ResolvePathList("C:\\P\\", "lib\\;LIB\\", false), "C:\\P\\lib\\;C:\\P\\LIB\\;");
  EXPECT_EQ(ResolvePathList("C:\\P\\", "  ", true), "");
  EXPECT_EQ(ResolvePathList("", " a;b ", true), "a;b");
  EXPECT_EQ(ResolvePathList("C:\\P\\", " ; ; ", true), "");
}

TEST(XxlibPaths, ShortenPath) {
  EXPECT_EQ(ShortenPath("C:\\WORK\\PROJECT\\MAIN.PRG", 12), "C:\\...IN.PRG");
  EXPECT_EQ(ShortenPath("\\WORK\\PROJECT\\MAIN.PRG", 12), "...\\MAIN.PRG");
  EXPECT_EQ(ShortenPath("  C:\\A\\B.PRG  ", 12), "C:\\A\\B.PRG");
  EXPECT_EQ(ShortenPath("C:\\WORK\\PROJECT\\MAIN.PRG", 7), "....PRG");  // no room for the drive
  EXPECT_EQ(ShortenPath("C:\\WORK\\PROJECT\\MAIN.PRG", 8), "C:\\...RG");
  EXPECT_EQ(ShortenPath("C:\\WORK", 3), "...");
  EXPECT_EQ(ShortenPath("C:\\WORK", 2), "..");
  EXPECT_EQ(ShortenPath("C:\\WORK", 0), "");
  EXPECT_EQ(ShortenPath("C:\\WORK", -5), "");
  for (int w = 1; w < 20; ++w) EXPECT_EQ(ShortenPath("C:\\WORK\\PROJECT\\MAIN.PRG", w).size(), size_t(w));
}

TEST(XxlibPaths, FirstExistingFile) {
  DriveC drive;
  drive.tree.Write("proj/Lib/Util.prg", "x");
  drive.tree.Write("proj/Lib/Zeta.prg", "x");
  drive.tree.Write("proj/vemlo.ini", "x");
  // The first item that finds anything wins; its directory part is kept as written.
  EXPECT_EQ(FirstExistingFile("C:\\PROJ\\NONE\\*.PRG; C:\\PROJ\\LIB\\UTIL.*;C:\\PROJ\\*.INI"),
            "C:\\PROJ\\LIB\\Util.prg");
  EXPECT_EQ(FirstExistingFile(" C:\\PROJ\\VEMLO.INI "), "C:\\PROJ\\vemlo.ini");
  EXPECT_EQ(FirstExistingFile("C:\\PROJ\\LIB\\..\\vemlo.ini;"), "C:\\PROJ\\vemlo.ini");
  // Folders are entries too.
  EXPECT_EQ(FirstExistingFile("C:\\PROJ\\L*"), "C:\\PROJ\\Lib");
  EXPECT_EQ(FirstExistingFile("C:\\PROJ\\*.DBF;C:\\NOWHERE\\*.*"), "");
  EXPECT_EQ(FirstExistingFile(""), "");
  EXPECT_EQ(FirstExistingFile(" ; ; "), "");
}

}  // namespace
}  // namespace vemlo
