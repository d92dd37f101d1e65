// The built server fed malformed frames, bad JSON and unknown methods: each
// one answered, the server still serving afterwards, ending cleanly.
#include <gtest/gtest.h>

#include "lsp_process.h"

namespace vemlo::lsp {
namespace {

using test::ServerProcess;

int ErrorCodeOf(const json& m) { return m.contains("error") ? m["error"]["code"].get<int>() : 0; }

json InitParams() {
  return {{"processId", nullptr}, {"rootUri", nullptr}, {"capabilities", json::object()}};
}

TEST(ProtocolProcess, EveryBadMessageIsAnsweredAndTheServerGoesOn) {
  ServerProcess p;
  const json init = p.Request("initialize", InitParams());
  ASSERT_TRUE(init.contains("result")) << init.dump();
  p.Notify("initialized");

  struct Bad {
    const char* What;
    std::string Bytes;
    int Code;
  };
  const std::vector<Bad> bad = {
      {"no Content-Length", "Content-Type: x\r\n\r\n{}", -32700},
      {"Content-Length not a number", "Content-Length: many\r\n\r\n{}", -32700},
      {"header line of junk", "\x01\x02\x03 junk\r\n\r\n", -32700},
      {"body not JSON", EncodeFrame("{\"jsonrpc\":\"2.0\",\"id\":"), -32700},
      {"body not UTF-8", EncodeFrame("{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"\xFF\"}"), -32700},
      {"binary body", EncodeFrame(std::string("\0\x1b[2J\xC0\xC1", 7)), -32700},
      {"JSON array", EncodeFrame("[{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"shutdown\"}]"), -32600},
      {"no jsonrpc member", EncodeFrame(R"({"id":5,"method":"shutdown"})"), -32600},
      {"method of wrong type", EncodeFrame(R"({"jsonrpc":"2.0","id":6,"method":[]})"), -32600},
      {"unknown method", EncodeFrame(R"({"jsonrpc":"2.0","id":7,"method":"vemlo/noSuchThing"})"), -32601},
      {"params of wrong type", EncodeFrame(R"({"jsonrpc":"2.0","id":8,"method":"shutdown","params":3})"), -32600},
      {"nesting far too deep", EncodeFrame(std::string(100000, '[')), -32700},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.What);
    p.Write(b.Bytes);
    auto answer = p.Read();
    ASSERT_TRUE(answer.has_value()) << "no answer";
    EXPECT_EQ(ErrorCodeOf(*answer), b.Code) << answer->dump();
    // Still serving: an unknown request is answered with its own id.
    const json probe = p.Request("vemlo/probe");
    EXPECT_EQ(ErrorCodeOf(probe), -32601) << probe.dump();
  }
  // Notifications of unknown methods and garbage in between frames give nothing
  // and break nothing.
  p.Notify("vemlo/unknownNotification", {{"x", 1}});
  EXPECT_TRUE(p.Request("shutdown")["result"].is_null());
  p.Notify("exit");
  EXPECT_EQ(p.Wait(), 0);
  EXPECT_EQ(p.ErrorOutput(), "");
}

TEST(ProtocolProcess, TheEndOfTheInputEndsTheServerWithoutShutdown) {
  ServerProcess p;
  p.Write("Content-Length: 10\r\n\r\n{\"js");  // a frame cut by the end of the input
  p.CloseInput();
  EXPECT_EQ(p.Wait(), 1);
}

}  // namespace
}  // namespace vemlo::lsp
