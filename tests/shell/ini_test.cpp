// The settings-file reader.
#include <gtest/gtest.h>

#include "host/settings_file.h"
#include "plugin_host.h"

namespace vemlo {
namespace {

TEST(Ini, RecordsSectionsAndLookups) {
  test::PluginHost ph;
  ph.Tree().Write("vemlo.ini",
                  "top = level\r\n"
                  "; a comment\r\n"
                  "# not a comment\r\n"
                  "[  proj  ]\r\n"
                  "PrgSearchMask = >\\*.prg\r\n"
                  "Two=a=b\r\n"
                  "Empty=\r\n"
                  "JustKey\r\n"
                  "[PROJ]\r\n"
                  "Later=1\r\n"
                  "[open\r\n"
                  "Hidden=1\r\n"
                  "[]\r\n"
                  "Nameless=1\r\n");
  ASSERT_TRUE(LoadIni(ph.Tree().Dos("vemlo.ini")));
  EXPECT_EQ(IniFile().State, isLoaded);
  std::string v = "unchanged";
  EXPECT_TRUE(IniValue("", "TOP", v));
  EXPECT_EQ(v, "level");
  EXPECT_TRUE(IniValue("PROJ", "prgsearchmask", v));
  EXPECT_EQ(v, ">\\*.prg");
  EXPECT_TRUE(IniValue(" Proj ", "two", v));
  EXPECT_EQ(v, "a=b");
  v = "kept";
  EXPECT_FALSE(IniValue("PROJ", "Empty", v));
  EXPECT_EQ(v, "kept");
  EXPECT_FALSE(IniValue("PROJ", "JustKey", v));
  EXPECT_FALSE(IniValue("PROJ", "Later", v));  // only the first PROJ section is searched
  EXPECT_FALSE(IniValue("open", "Hidden", v));
  EXPECT_FALSE(IniValue("PROJ", "# not a comment", v));
  IniValueDef("PROJ", "Empty", "fallback", v);
  EXPECT_EQ(v, "fallback");
  IniValueDef("PROJ", "Two", "fallback", v);
  EXPECT_EQ(v, "a=b");
  // Both malformed headers start nameless sections that follow the named ones.
  ASSERT_EQ(IniFile().Sections.size(), 5u);
  EXPECT_EQ(IniFile().Sections[3].Name, "");
  EXPECT_EQ(IniFile().Sections[4].Records[0].Key, "Nameless");
  EXPECT_EQ(IniFile().Sections[0].Records[1].Key, "# not a comment");
  EXPECT_TRUE(ph.WindowsOf("message").empty());
}

TEST(Ini, FailedLoadIsSilentNothingLoadedWarns) {
  test::PluginHost ph;
  EXPECT_FALSE(LoadIni(ph.Tree().Dos("missing.ini")));
  std::string v;
  EXPECT_FALSE(IniValue("PROJ", "X", v));
  EXPECT_TRUE(ph.WindowsOf("message").empty());

  ReleaseIni();
  ph.Keys({"Enter"});
  EXPECT_FALSE(IniValue("PROJ", "X", v));
  auto shown = ph.WindowsOf("message");
  ASSERT_EQ(shown.size(), 1u);
  ASSERT_GE(shown[0].Lines.size(), 1u);
  EXPECT_EQ(shown[0].Lines[0], "Cannot read the project settings file");
}

}  // namespace
}  // namespace vemlo
