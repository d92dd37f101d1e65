#include "rpc.h"

#include <algorithm>

namespace vemlo::lsp {
namespace {

Message Fault(ErrorCode code, std::string error, json id = nullptr) {
  Message m;
  m.What = Message::Kind::Fault;
  m.Code = code;
  m.Error = std::move(error);
  m.Id = std::move(id);
  return m;
}

bool ValidId(const json& id) { return id.is_string() || id.is_number_integer() || id.is_number_unsigned(); }

// The deepest nesting of arrays and objects in a JSON text (outside strings),
// looked at before parsing so that a hostile body cannot make a huge tree.
int NestingDepth(const std::string& text) {
  int depth = 0, deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

Message ParseMessage(const std::string& body) {
  if (NestingDepth(body) > kMaxNesting)
    return Fault(ErrorCode::ParseError, "the body nests deeper than " + std::to_string(kMaxNesting) + " levels");
  json j = json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (j.is_discarded()) return Fault(ErrorCode::ParseError, "the body is not JSON");
  if (!j.is_object()) return Fault(ErrorCode::InvalidRequest, "a message must be a JSON object");
  const auto version = j.find("jsonrpc");
  const auto id = j.find("id");
  const auto method = j.find("method");
  const auto params = j.find("params");
  json idValue = (id != j.end() && ValidId(*id)) ? *id : json(nullptr);
  if (version == j.end() || *version != "2.0")
    return Fault(ErrorCode::InvalidRequest, "\"jsonrpc\" must be \"2.0\"", idValue);
  if (id != j.end() && !id->is_null() && !ValidId(*id))
    return Fault(ErrorCode::InvalidRequest, "\"id\" must be a number or a string");
  if (method == j.end()) {
    if (id != j.end() && (j.contains("result") || j.contains("error"))) {
      Message m;
      m.What = Message::Kind::Response;
      m.Id = idValue;
      return m;
    }
    return Fault(ErrorCode::InvalidRequest, "a message without \"method\"", idValue);
  }
  if (!method->is_string()) return Fault(ErrorCode::InvalidRequest, "\"method\" must be a string", idValue);
  if (params != j.end() && !params->is_object() && !params->is_array())
    return Fault(ErrorCode::InvalidRequest, "\"params\" must be an object or an array", idValue);
  Message m;
  m.Method = method->get<std::string>();
  m.Params = params != j.end() ? *params : json(nullptr);
  if (id == j.end()) {
    m.What = Message::Kind::Notification;
  } else if (id->is_null()) {
    return Fault(ErrorCode::InvalidRequest, "a request with a null \"id\"");
  } else {
    m.What = Message::Kind::Request;
    m.Id = *id;
  }
  return m;
}

json ResultMessage(const json& id, json result) {
  return json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

json ErrorMessage(const json& id, ErrorCode code, const std::string& message) {
  return json{{"jsonrpc", "2.0"},
              {"id", id},
              {"error", {{"code", static_cast<int>(code)}, {"message", message}}}};
}

json NotificationMessage(const std::string& method, json params) {
  return json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

std::string Serialize(const json& message) {
  return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace vemlo::lsp
