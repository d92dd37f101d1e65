#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/platform.h"
#include "temp_tree.h"

namespace vemlo::platform {
namespace {

const std::string kKey = "Software\\Far\\Plugins\\VEM-LO";

TEST(PlatformRegistry, RoundTripWithEscapesAndKeptLines) {
  test::TempTree tree;
  const std::string file = tree.Native("cfg/vemlo/registry.ini");
  SetRegistryFile(file);
  EXPECT_FALSE(RegKeyExists(kKey));  // a missing file means no keys
  EXPECT_FALSE(RegQueryString(kKey, "FileExtensions"));

  const std::string list = std::string(".prg\x0C.spr\x0C") + "C:\\FOX\\";
  ASSERT_TRUE(RegSetString(kKey, "FileExtensions", list));  // creates the folder
  ASSERT_TRUE(RegSetString(kKey, "Empty", ""));
  ASSERT_TRUE(RegSetString(kKey, "Trailing", " x = y \x80 "));
  EXPECT_EQ(RegQueryString(kKey, "FileExtensions"), list);
  EXPECT_EQ(RegQueryString(kKey, "EMPTY"), "");
  EXPECT_EQ(RegQueryString(kKey, "Trailing"), " x = y \x80 ");
  EXPECT_TRUE(RegKeyExists("software\\far\\plugins\\vem-lo"));
  EXPECT_TRUE(RegKeyExists("Software\\Far"));  // a parent key exists with its children
  EXPECT_FALSE(RegKeyExists("Software\\Fa"));
  EXPECT_EQ(RegQueryString("SOFTWARE\\FAR\\PLUGINS\\VEM-LO", "fileextensions"), list);

  const std::string text = tree.Read("cfg/vemlo/registry.ini");
  EXPECT_NE(text.find("[Software\\Far\\Plugins\\VEM-LO]\n"), std::string::npos);
  EXPECT_NE(text.find("FileExtensions=.prg\\x0C.spr\\x0CC:\\\\FOX\\\\\n"), std::string::npos);

  // Unknown lines and other keys survive a rewrite; an edit changes the value in place.
  tree.Write("cfg/vemlo/registry.ini", "; kept comment\n" + text + "garbage line\n[Other]\nA=1\n");
  ASSERT_TRUE(RegSetString(kKey, "fileExtensions", "new"));
  ASSERT_TRUE(RegSetString(kKey, "Added", "a\\b"));
  ASSERT_TRUE(RegSetString("Other\\Sub", "B", "2"));
  const std::string after = tree.Read("cfg/vemlo/registry.ini");
  EXPECT_EQ(after.rfind("; kept comment\n", 0), 0u);
  EXPECT_NE(after.find("garbage line\n"), std::string::npos);
  EXPECT_EQ(after.find(".prg"), std::string::npos);
  EXPECT_EQ(RegQueryString(kKey, "FileExtensions"), "new");
  EXPECT_EQ(RegQueryString(kKey, "Added"), "a\\b");
  EXPECT_EQ(RegQueryString("Other", "A"), "1");
  EXPECT_EQ(RegQueryString("Other\\Sub", "B"), "2");
  EXPECT_FALSE(RegQueryString("Other", "B"));
  EXPECT_EQ(test::CountFiles(tree.Native("cfg/vemlo")), 1);  // no temporary file left

  // No stale cache: a change made behind our back is seen at once.
  tree.Write("cfg/vemlo/registry.ini", "[" + kKey + "]\r\nFileExtensions=\\x41\\\\\\q\r\n");
  EXPECT_EQ(RegQueryString(kKey, "FileExtensions"), "A\\\\q");
  SetRegistryFile("");
}

TEST(PlatformRegistry, NamesThatWouldBreakTheFormatRoundTrip) {
  test::TempTree tree;
  SetRegistryFile(tree.Native("r.ini"));
  ASSERT_TRUE(RegSetString(kKey, "a=b", "1"));
  ASSERT_TRUE(RegSetString(kKey, "[x]", "]"));
  ASSERT_TRUE(RegSetString(kKey, "line\nbreak", "v\r\n"));
  EXPECT_EQ(RegQueryString(kKey, "a=b"), "1");
  EXPECT_EQ(RegQueryString(kKey, "a"), std::nullopt);
  EXPECT_EQ(RegQueryString(kKey, "[x]"), "]");
  EXPECT_EQ(RegQueryString(kKey, "line\nbreak"), "v\r\n");
  EXPECT_FALSE(RegKeyExists("x"));
  EXPECT_FALSE(RegSetString("bad\nkey", "n", "v"));
  EXPECT_FALSE(RegSetString(kKey, "", "v"));
  SetRegistryFile("");
}

TEST(PlatformRegistry, FileChosenByEnvironment) {
  test::TempTree tree;
  SetRegistryFile("");
  setenv("VEMLO_REGISTRY", tree.Native("env.ini").c_str(), 1);
  ASSERT_TRUE(RegSetString(kKey, "N", "v"));
  EXPECT_TRUE(tree.Exists("env.ini"));
  unsetenv("VEMLO_REGISTRY");
  const char* oldXdg = getenv("XDG_CONFIG_HOME");
  std::string saved = oldXdg ? oldXdg : "";
  setenv("XDG_CONFIG_HOME", tree.Native("xdg").c_str(), 1);
  EXPECT_FALSE(RegQueryString(kKey, "N"));
  ASSERT_TRUE(RegSetString(kKey, "N", "w"));
  EXPECT_TRUE(tree.Exists("xdg/vemlo/registry.ini"));
  if (oldXdg)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vemlo::platform
