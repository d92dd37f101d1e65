// The parameter text of a FoxPro function from a help base (a topic table
// and its memo file), for the parameter hint.
#pragma once

#include <string>

#include "dbf/xxdbf.h"

namespace vemlo {

// "(" list ")" from the syntax line of the topic the name abbreviates (four
// letters at least); empty when the base, its memo file or the topic has none.
// The base is read with loadTable; a memo file that fails part way is the
// problem returned, with no text.
TxxReadProblem HelpBaseParamText(const std::string& basePath, const std::string& name,
                                 const TxxTableLoader& loadTable, std::string& text);

}  // namespace vemlo
