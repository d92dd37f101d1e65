#include <gtest/gtest.h>

#include "host_fixture.h"
#include "language.h"

namespace vemlo::sim {
namespace {

TEST(Language, HeaderCommentsEscapesAndOrder) {
  const std::string file =
      "// a comment line\r\n"
      ".Language=English,English\r\n"
      "\r\n"
      "\"Title\"\r\n"
      "  \"say \\\"hi\\\"\"   // trailing text is ignored\r\n"
      "\"back\\\\slash\\n\"\r\n"
      "\"\"\r\n"
      "not a message\r\n"
      "\"\x8F\xE0\xA8\xA2\xA5\xE2\"\n"
      "\"unclosed";
  auto m = ParseLanguage(file);
  ASSERT_EQ(m.size(), 6u);
  EXPECT_EQ(m[0], "Title");
  EXPECT_EQ(m[1], "say \"hi\"");
  EXPECT_EQ(m[2], "back\\slash\\n");  // only \" and \\ are escapes
  EXPECT_EQ(m[3], "");
  EXPECT_EQ(m[4], "\x8F\xE0\xA8\xA2\xA5\xE2");  // OEM bytes stay as they are
  EXPECT_EQ(m[5], "unclosed");
}

TEST(Language, ByteOrderMarkAndMissingFile) {
  auto m = ParseLanguage("\xEF\xBB\xBF.Language=English,English\n\"one\"\n");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], "one");
  EXPECT_FALSE(LoadLanguageFile("/nonexistent/dir/vemlo_en.lng").has_value());
}

TEST(Language, HostGetMsgFromModuleFolder) {
  vemlo::test::TempTree tree;
  tree.Write("module/vemlo_en.lng", ".Language=English,English\n\"VEM-LO\"\n\"&Insert\"\n");
  SimHostOptions options;
  options.ModuleDir = tree.Native("module");
  SimHost host(options);
  EXPECT_STREQ(host.GetMsg(host.kModuleNumber, 0), "VEM-LO");
  EXPECT_STREQ(host.GetMsg(host.kModuleNumber, 1), "&Insert");
  EXPECT_STREQ(host.GetMsg(host.kModuleNumber, 2), "");
  EXPECT_STREQ(host.GetMsg(host.kModuleNumber, -1), "");
  PluginStartupInfo info = host.StartupInfo();
  EXPECT_EQ(info.ModuleName, tree.Dos("module") + "\\vemlo.dll");
  EXPECT_EQ(info.RootKey, "Software\\Far\\Plugins");
  EXPECT_EQ(info.Api, &host);

  SimHostOptions none;
  none.ModuleDir = tree.Native("elsewhere");
  SimHost bare(none);
  EXPECT_STREQ(bare.GetMsg(1, 0), "");
}

}  // namespace
}  // namespace vemlo::sim
