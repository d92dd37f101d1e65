// The parameter text of a FoxPro function from a help base (a topic table
// and its memo file), for the parameter hint.
#pragma once

#include <string>
#include <vector>

#include "dbf/xxdbf.h"

namespace vemlo {

// "(" list ")" from the syntax line of the topic the name abbreviates (four
// letters at least); empty when the base, its memo file or the topic has none.
// The base is read with loadTable; a memo file that fails part way is the
// problem returned, with no text.
TxxReadProblem HelpBaseParamText(const std::string& basePath, const std::string& name,
                                 const TxxTableLoader& loadTable, std::string& text);

// The record of the topic a name abbreviates (four letters at least, a topic
// name of "NAME()" matching NAME); -1 for none. topic: the topic's name found,
// upper case, without "()".
int FindHelpRecord(const TxxDBF& base, const std::string& name, std::string& topic);

// The memo lines of the topic the name abbreviates; no lines when the base,
// its memo file or the topic is missing. A memo file that fails part way is
// the problem returned, with the lines read up to there.
TxxReadProblem HelpBaseTopicLines(const std::string& basePath, const std::string& name,
                                  const TxxTableLoader& loadTable, std::vector<std::string>& lines);

}  // namespace vemlo
