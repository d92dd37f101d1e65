#include "params.h"

#include <limits>

namespace vemlo::lsp {

const json& Member(const json& object, const char* name) {
  if (!object.is_object()) throw ParamsError{std::string("an object with \"") + name + "\" was expected"};
  const auto it = object.find(name);
  if (it == object.end()) throw ParamsError{std::string("\"") + name + "\" is missing"};
  return *it;
}

const json* OptionalMember(const json& object, const char* name) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(name);
  return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string StringMember(const json& object, const char* name) {
  const json& v = Member(object, name);
  if (!v.is_string()) throw ParamsError{std::string("\"") + name + "\" must be a string"};
  return v.get<std::string>();
}

int64_t IntegerMember(const json& object, const char* name) {
  const json& v = Member(object, name);
  if (v.is_number_unsigned()) {
    const auto u = v.get<uint64_t>();
    if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
      throw ParamsError{std::string("\"") + name + "\" is out of range"};
    return static_cast<int64_t>(u);
  }
  if (!v.is_number_integer()) throw ParamsError{std::string("\"") + name + "\" must be an integer"};
  return v.get<int64_t>();
}

Position PositionMember(const json& object, const char* name) {
  const json& p = Member(object, name);
  Position pos{IntegerMember(p, "line"), IntegerMember(p, "character")};
  if (pos.Line < 0 || pos.Character < 0) throw ParamsError{std::string("\"") + name + "\" is negative"};
  return pos;
}

std::string DocumentUri(const json& params) { return StringMember(Member(params, "textDocument"), "uri"); }

json PositionJson(const Position& p) { return {{"line", p.Line}, {"character", p.Character}}; }

json RangeJson(const Position& start, const Position& end) {
  return {{"start", PositionJson(start)}, {"end", PositionJson(end)}};
}

}  // namespace vemlo::lsp
