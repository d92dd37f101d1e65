// The methods the server serves and its answer to initialize.
#pragma once

#include <vector>

#include "server.h"

namespace vemlo::lsp {

std::vector<MethodEntry> Methods();
json Initialize(Session& s, const json& params);

}  // namespace vemlo::lsp
