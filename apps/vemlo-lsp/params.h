// Reading the params of a message: members of the shape a method needs, or a
// ParamsError that the server answers with InvalidParams.
#pragma once

#include <string>

#include "documents.h"
#include "rpc.h"

namespace vemlo::lsp {

const json& Member(const json& object, const char* name);
// The member when it is there and not null; else null.
const json* OptionalMember(const json& object, const char* name);
std::string StringMember(const json& object, const char* name);
int64_t IntegerMember(const json& object, const char* name);
// {line, character}: non-negative integers.
Position PositionMember(const json& object, const char* name);
// params.textDocument.uri
std::string DocumentUri(const json& params);

json PositionJson(const Position& p);
json RangeJson(const Position& start, const Position& end);

}  // namespace vemlo::lsp
