// JSON-RPC 2.0 messages of the protocol: a body read into a request, a
// notification, a response (the client's answer to a request of ours) or a
// fault to answer with an error; and the messages the server writes.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace vemlo::lsp {

using json = nlohmann::json;

// The protocol's error codes.
enum class ErrorCode : int {
  ParseError = -32700,
  InvalidRequest = -32600,
  MethodNotFound = -32601,
  InvalidParams = -32602,
  InternalError = -32603,
  ServerNotInitialized = -32002,
  RequestFailed = -32803,
  RequestCancelled = -32800,
};

struct Message {
  enum class Kind { Request, Notification, Response, Fault };
  Kind What = Kind::Fault;
  json Id;  // requests and responses; for a fault the id it named, if any (else null)
  std::string Method;
  json Params;  // null when absent
  // Fault: the error to answer with.
  ErrorCode Code = ErrorCode::InvalidRequest;
  std::string Error;
};

// Arrays and objects nested deeper than this are refused.
inline constexpr int kMaxNesting = 200;

// Reads one body. Never throws: bad JSON and messages of the wrong shape come
// back as faults.
Message ParseMessage(const std::string& body);

json ResultMessage(const json& id, json result);
json ErrorMessage(const json& id, ErrorCode code, const std::string& message);
json NotificationMessage(const std::string& method, json params);
// A message as the body of a frame; text that is not UTF-8 is replaced, never thrown on.
std::string Serialize(const json& message);

// A request's params that do not have the shape the method needs.
struct ParamsError {
  std::string What;
};

}  // namespace vemlo::lsp
