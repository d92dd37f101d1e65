// Every help topic the plug-in hands to the host is a topic of its help file.
// libstdc++ 12 std::regex trips a false -Wmaybe-uninitialized under the sanitizers.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "shell/vemlocfg.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::set<std::string> HelpFileTopics(const fs::path& file) {
  std::set<std::string> topics;
  std::istringstream in(ReadFile(file));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 1 && line[0] == '@' && line[1] != '@') topics.insert(line.substr(1));
  }
  return topics;
}

// The topic literals of the plug-in's sources: the first argument of the message
// and menu wrappers, the topic constants, and the topic arguments of the host's
// menu, dialog and input box calls.
std::set<std::string> TopicsInSources() {
  const std::regex patterns[] = {
      std::regex(R"re((?:FarMessage|FarMenu|FarRunProgram)\(\s*"([A-Za-z0-9]+)")re"),
      std::regex(R"re(FarCheckMenu\([^;]*?"([A-Za-z0-9]+)")re"),
      std::regex(R"re(Topic[A-Za-z]*\s*=\s*"([A-Za-z0-9]+)")re"),
      std::regex(R"re("([A-Za-z0-9]+)",\s*(?:kBreakKeys|breakKeys|nullptr,\s*nullptr))re"),
      std::regex(R"re(DialogEx\([^;]*?"([A-Za-z0-9]+)")re"),
      std::regex(R"re(InputBox\([^;]*"([A-Za-z0-9]+)",\s*0\))re"),
  };
  std::set<std::string> topics;
  for (const auto& e : fs::recursive_directory_iterator(fs::path(VEMLO_SOURCE_DIR) / "src")) {
    if (e.path().extension() != ".cpp") continue;
    const std::string text = ReadFile(e.path());
    for (const std::regex& re : patterns)
      for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) topics.insert((*it)[1]);
  }
  return topics;
}

TEST(HelpTopics, EveryTopicTheCodeNamesIsInBothHelpFiles) {
  std::set<std::string> used = TopicsInSources();
  // The option dialogs show each option's own topic.
  for (const vemlo::TxxPluginOption& o : vemlo::PluginOptions())
    if (!o.Name.empty()) used.insert(o.Name);
  // The scan must find the topics of the commands, not just a few.
  for (const char* t : {"Contents", "ProblemReadDBF", "ProblemResetProj", "LangStructure", "FoxCodeInsight",
                        "DataAliasInfo", "BrixAuditMenu1", "FOXHelp", "FoxKeys", "CommentBlock"})
    EXPECT_TRUE(used.count(t)) << t << " was not found in the sources";
  used.erase("topic0");  // the first topic of a generated help file, not of ours
  for (const char* file : {"vemlo_en.hlf", "vemlo_ru.hlf"}) {
    const std::set<std::string> topics = HelpFileTopics(fs::path(VEMLO_SOURCE_DIR) / "data" / "module" / file);
    for (const std::string& t : used) EXPECT_TRUE(topics.count(t)) << "topic " << t << " is missing from " << file;
  }
}

}  // namespace
