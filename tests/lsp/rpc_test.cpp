// Reading JSON-RPC messages: each shape the protocol allows, and a fault with
// the right error code for each it does not.
#include <gtest/gtest.h>

#include "vemlo-lsp/rpc.h"

namespace vemlo::lsp {
namespace {

TEST(Rpc, RequestNotificationAndResponseAreTold) {
  Message r = ParseMessage(R"({"jsonrpc":"2.0","id":7,"method":"m","params":{"a":1}})");
  EXPECT_EQ(r.What, Message::Kind::Request);
  EXPECT_EQ(r.Id, 7);
  EXPECT_EQ(r.Method, "m");
  EXPECT_EQ(r.Params["a"], 1);

  Message s = ParseMessage(R"({"jsonrpc":"2.0","id":"x-1","method":"m"})");
  EXPECT_EQ(s.What, Message::Kind::Request);
  EXPECT_EQ(s.Id, "x-1");
  EXPECT_TRUE(s.Params.is_null());

  Message n = ParseMessage(R"({"jsonrpc":"2.0","method":"n","params":[1]})");
  EXPECT_EQ(n.What, Message::Kind::Notification);

  Message a = ParseMessage(R"({"jsonrpc":"2.0","id":3,"result":null})");
  EXPECT_EQ(a.What, Message::Kind::Response);
}

struct FaultCase {
  const char* Body;
  ErrorCode Code;
  json Id;
};

TEST(Rpc, MalformedMessagesBecomeFaultsWithTheirCode) {
  const std::vector<FaultCase> cases = {
      {"{not json", ErrorCode::ParseError, nullptr},
      {"", ErrorCode::ParseError, nullptr},
      {"\"\xFF\xFE\"", ErrorCode::ParseError, nullptr},  // not UTF-8
      {"[1,2]", ErrorCode::InvalidRequest, nullptr},
      {"42", ErrorCode::InvalidRequest, nullptr},
      {R"({"id":1,"method":"m"})", ErrorCode::InvalidRequest, 1},
      {R"({"jsonrpc":"1.0","id":1,"method":"m"})", ErrorCode::InvalidRequest, 1},
      {R"({"jsonrpc":"2.0","id":{"x":1},"method":"m"})", ErrorCode::InvalidRequest, nullptr},
      {R"({"jsonrpc":"2.0","id":1.5,"method":"m"})", ErrorCode::InvalidRequest, nullptr},
      {R"({"jsonrpc":"2.0","id":null,"method":"m"})", ErrorCode::InvalidRequest, nullptr},
      {R"({"jsonrpc":"2.0","id":2,"method":5})", ErrorCode::InvalidRequest, 2},
      {R"({"jsonrpc":"2.0","id":2})", ErrorCode::InvalidRequest, 2},
      {R"({"jsonrpc":"2.0","id":"s","method":"m","params":"text"})", ErrorCode::InvalidRequest, "s"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.Body);
    Message m = ParseMessage(c.Body);
    EXPECT_EQ(m.What, Message::Kind::Fault);
    EXPECT_EQ(m.Code, c.Code);
    EXPECT_EQ(m.Id, c.Id);
    EXPECT_FALSE(m.Error.empty());
  }
}

TEST(Rpc, DeepNestingIsRefusedBeforeParsing) {
  const std::string deep = std::string(kMaxNesting + 1, '[') + std::string(kMaxNesting + 1, ']');
  EXPECT_EQ(ParseMessage(deep).Code, ErrorCode::ParseError);
  // Brackets inside strings do not count, nor do escaped quotes end the string.
  const std::string inString = R"({"jsonrpc":"2.0","method":"m","params":{"t":"\")" + std::string(500, '[') + "\"}}";
  EXPECT_EQ(ParseMessage(inString).What, Message::Kind::Notification);
  const std::string justDeepEnough = R"({"jsonrpc":"2.0","method":"m","params":)" +
                                     std::string(kMaxNesting - 1, '[') + std::string(kMaxNesting - 1, ']') + "}";
  EXPECT_EQ(ParseMessage(justDeepEnough).What, Message::Kind::Notification);
}

TEST(Rpc, SerializeReplacesBytesThatAreNotUtf8) {
  const std::string out = Serialize(ResultMessage(1, "a\xFF" "b"));
  EXPECT_NE(out.find("a\xEF\xBF\xBD" "b"), std::string::npos);
  EXPECT_EQ(json::parse(out)["id"], 1);
}

TEST(Rpc, ErrorMessageCarriesCodeAndId) {
  const json e = ErrorMessage("q", ErrorCode::MethodNotFound, "no");
  EXPECT_EQ(e["id"], "q");
  EXPECT_EQ(e["error"]["code"], -32601);
  EXPECT_EQ(e["error"]["message"], "no");
  EXPECT_FALSE(e.contains("result"));
}

}  // namespace
}  // namespace vemlo::lsp
