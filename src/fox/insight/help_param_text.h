// The parameter text of a FoxPro function from a help base (a topic table
// and its memo file), for the parameter hint.
#pragma once

#include <string>

namespace vemlo {

// "(" list ")" from the syntax line of the topic the name abbreviates (four
// letters at least); empty when the base, its memo file or the topic has none.
std::string HelpBaseParamText(const std::string& basePath, const std::string& name);

}  // namespace vemlo
