// The host's help-file format, parsed into topics for the help viewer:
// "@name" starts a topic, "$" lines are its fixed header, and every line may hold
// links "~text~@target@", highlights "#text#" and the escapes "~~", "##", "@@".
#pragma once

#include <string>
#include <vector>

namespace vemlo::sim {

struct HelpSpan {
  enum Kind { Plain, Highlight, Link };
  Kind Type = Plain;
  std::string Text;
  std::string Target;  // links only
};

using HelpLine = std::vector<HelpSpan>;

struct HelpTopic {
  std::string Name;
  std::vector<HelpLine> Fixed;  // non-scrolling header lines
  std::vector<HelpLine> Lines;
};

HelpLine ParseHelpLine(const std::string& line);
std::vector<HelpTopic> ParseHelpFile(const std::string& bytes);
// Index of the topic called `name` (case-insensitive), -1 when there is none.
int FindHelpTopic(const std::vector<HelpTopic>& topics, const std::string& name);

}  // namespace vemlo::sim
