// F1 lookup in help bases and the parameter text of FoxPro functions.
#include <gtest/gtest.h>

#include "fpt_writer.h"
#include "help/vemlohlp.h"
#include "lib/xxlib.h"
#include "plugin_host.h"
#include "shell/vemlocfg.h"

namespace vemlo {
namespace {

void SetOption(const std::string& name, const std::string& value) {
  for (TxxPluginOption& o : PluginOptions())
    if (o.Name == name) o.Value = value;
}

struct OptionsReset {
  ~OptionsReset() { ResetOptions(); }
};

const char* const kBox = "\xD6\xC4\xC4\xB7\r\n\xBA X \xBA\r\n\xD3\xC4\xC4\xBD\r\n\r\n";

std::vector<test::HelpTopicSpec> Topics() {
  return {{"ALLTRIM()", std::string(kBox) + "ALLTRIM(<expC>)\r\n"},
          {"DO CASE", std::string(kBox) + "DO CASE\r\n"},
          {"SUBSTR()", std::string(kBox) + "SUBSTR(<expC>, <expN1>\r\n    [, <expN2>])  more\r\nnot this)\r\n"},
          {"SUBSTRING", "SUBSTRING(a)"},
          {"UPPER()", "\xC4\xC4\xC4\xC4\r\nUPPER(<expC>)\r\n"},
          {"VAL()", "Returns the value\r\n\r\nVAL(<expC>)\r\n"}};
}

// The progress texts name the topics as they are written.
std::vector<std::string> WrittenTopics(test::PluginHost& ph) {
  std::vector<std::string> names;
  for (const auto& w : ph.WindowsOf("message"))
    if (w.Title == "VEM-LO" && w.Lines.size() == 2 && w.Lines[0].find("Writing the help topics") != std::string::npos &&
        !IsBlank(w.Lines[1]) && static_cast<unsigned char>(Trim(w.Lines[1])[0]) != 0xB0)
      names.push_back(Trim(w.Lines[1]));
  return names;
}

TEST(HelpLookup, BaseChoiceAndTopicMenu) {
  OptionsReset reset;
  test::PluginHost ph("x = SUBSTR(a, 1)\r\n");
  ASSERT_TRUE(test::WriteHelpBase(ph.Tree().Native("ONE.DBF"), Topics()));
  ASSERT_TRUE(test::WriteHelpBase(ph.Tree().Native("TWO.DBF"), {{"ZAP", "Zap"}}));
  const std::string one = ph.Tree().Dos("ONE.DBF"), two = ph.Tree().Dos("TWO.DBF");
  SetOption("FoxHelpBases", " Main help > " + one + " \f\f  \f" + two);

  // Plain F1: the first line's path; Enter shows the topic, Esc leaves the viewer and the menu.
  ph.Keys({"Enter", "Esc", "Esc"});
  EXPECT_TRUE(ShowFoxHelp("substr", false));
  auto menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].Title, one);
  ASSERT_EQ(menus[0].Lines.size(), 6u);
  EXPECT_EQ(menus[0].Lines[2], "SUBSTR()              ");
  EXPECT_EQ(ph.WindowsOf("help").size(), 1u);
  EXPECT_EQ(WrittenTopics(ph), std::vector<std::string>{"SUBSTR()"});
  EXPECT_EQ(ph.TempFiles(), 0);
  EXPECT_EQ(HelpState().HelpBase.State, dsNone);
  EXPECT_FALSE(HelpState().Memo.IsOpen());

  // Shift+F1: both lines as written; the second base is opened.
  ph.Keys({"Down", "Enter", "Esc"});
  EXPECT_TRUE(ShowFoxHelp("x", true));
  menus = ph.WindowsOf("menu");
  ASSERT_EQ(menus.size(), 4u);
  EXPECT_EQ(menus[2].Title, "FoxPro help bases");
  EXPECT_EQ(menus[2].Lines, (std::vector<std::string>{"Main help > " + one, two}));
  EXPECT_EQ(menus[3].Title, two);

  // Escape in the base menu ends the command.
  ph.Keys({"Esc"});
  EXPECT_TRUE(ShowFoxHelp("x", true));
  EXPECT_EQ(ph.WindowsOf("menu").size(), 5u);
}

TEST(HelpLookup, PreselectionByFirstLetterAndCase) {
  OptionsReset reset;
  test::PluginHost ph;
  ASSERT_TRUE(test::WriteHelpBase(ph.Tree().Native("ONE.DBF"), Topics()));
  SetOption("FoxHelpBases", ph.Tree().Dos("ONE.DBF"));
  auto chosen = [&ph](const std::string& word) {
    ph.Keys({"Enter", "Esc", "Esc"});
    ShowFoxHelp(word, false);
    std::vector<std::string> names = WrittenTopics(ph);
    return names.empty() ? std::string() : names.back();
  };
  EXPECT_EQ(chosen("SUBSTR"), "SUBSTR()");
  EXPECT_EQ(chosen("substr"), "SUBSTR()");
  EXPECT_EQ(chosen("SUBSTRING"), "SUBSTRING");
  EXPECT_EQ(chosen("do"), "DO CASE");
  EXPECT_EQ(chosen("Val"), "VAL()");
  // No topic of the word's first letter (nor one after it): the first item.
  EXPECT_EQ(chosen("QUIT"), "ALLTRIM()");
  EXPECT_EQ(chosen("ZAP"), "ALLTRIM()");
  EXPECT_EQ(chosen(""), "ALLTRIM()");
  EXPECT_EQ(ph.TempFiles(), 0);
}

TEST(HelpLookup, MissingMemoFileAndNoBases) {
  OptionsReset reset;
  test::PluginHost ph;
  ASSERT_TRUE(test::WriteHelpBase(ph.Tree().Native("ONE.DBF"), Topics()));
  std::remove(ph.Tree().Native("ONE.FPT").c_str());
  SetOption("FoxHelpBases", "label > " + ph.Tree().Dos("ONE.DBF"));
  ph.Keys({"Enter"});
  EXPECT_TRUE(ShowFoxHelp("SUBSTR", false));
  auto boxes = ph.WindowsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "VEM-LO");
  EXPECT_EQ(boxes[0].Lines, (std::vector<std::string>{"Cannot open the file for reading",
                                                      ph.Tree().Dos("ONE.fpt")}));
  EXPECT_TRUE(ph.WindowsOf("menu").empty());
  EXPECT_EQ(HelpState().HelpBase.State, dsNone);

  // No entries, or a label with a blank path: nothing at all.
  SetOption("FoxHelpBases", " \f ");
  EXPECT_TRUE(ShowFoxHelp("SUBSTR", false));
  SetOption("FoxHelpBases", "label >  ");
  EXPECT_TRUE(ShowFoxHelp("SUBSTR", false));
  EXPECT_EQ(ph.WindowsOf("message").size(), 1u);
  EXPECT_TRUE(ph.WindowsOf("menu").empty());
}

TEST(HelpLookup, ParamTextFromTheSyntaxLine) {
  OptionsReset reset;
  test::PluginHost ph;
  ASSERT_TRUE(test::WriteHelpBase(ph.Tree().Native("P.DBF"), Topics()));
  EXPECT_EQ(HelpParamText("SUBSTR"), "");  // no base configured
  SetOption("FoxHelpBaseParams", "  " + ph.Tree().Dos("P.DBF") + " ");
  // Over two lines: joined by one space, up to the first ")".
  EXPECT_EQ(HelpParamText("SUBSTR"), "(<expC>, <expN1> [, <expN2>])");
  EXPECT_EQ(HelpParamText(" subs "), "(<expC>, <expN1> [, <expN2>])");
  EXPECT_EQ(HelpParamText("alltrim"), "(<expC>)");
  // A separator line before the syntax ends the search.
  EXPECT_EQ(HelpParamText("UPPER"), "");
  // The syntax line after other text and a blank line.
  EXPECT_EQ(HelpParamText("VAL"), "(<expC>)");
  EXPECT_EQ(HelpParamText("SUB"), "");  // too short an abbreviation
  EXPECT_EQ(HelpParamText("NOSUCH"), "");
  EXPECT_EQ(HelpState().HelpBase.State, dsNone);
  EXPECT_FALSE(HelpState().Memo.IsOpen());
  std::remove(ph.Tree().Native("P.FPT").c_str());
  EXPECT_EQ(HelpParamText("SUBSTR"), "");
  EXPECT_TRUE(ph.WindowsOf("message").empty());  // silent
}

}  // namespace
}  // namespace vemlo
