// The server's lifecycle and dispatch: every request answered once, faults
// answered with their codes, cancellations of queued requests, and nothing
// served before initialize or after shutdown.
#include <gtest/gtest.h>

#include "lsp_driver.h"

namespace vemlo::lsp {
namespace {

using test::Driver;

int ErrorCodeOf(const json& m) { return m.contains("error") ? m["error"]["code"].get<int>() : 0; }

TEST(Server, RequestsBeforeInitializeAreRefusedAndNotificationsDropped) {
  Driver d;
  EXPECT_EQ(ErrorCodeOf(d.Request("textDocument/hover")), -32002);
  EXPECT_TRUE(d.Notify("textDocument/didOpen", {{"textDocument",
                                                 {{"uri", "file:///x.prg"}, {"version", 1}, {"text", "x"}}}})
                  .empty());
  EXPECT_TRUE(d.session.Documents.empty());
  const json init = d.Initialize();
  EXPECT_EQ(init["result"]["capabilities"]["textDocumentSync"]["change"], 2);
  EXPECT_EQ(ErrorCodeOf(d.Request("initialize", {{"capabilities", json::object()}})), -32600);
}

TEST(Server, UnknownMethodsAndBadParamsGetErrorsAndServingGoesOn) {
  Driver d;
  d.Initialize();
  EXPECT_EQ(ErrorCodeOf(d.Request("no/such/method")), -32601);
  EXPECT_EQ(ErrorCodeOf(d.Request("$/private")), -32601);
  EXPECT_TRUE(d.Notify("no/such/notification").empty());
  // A notification with params of the wrong shape is logged, never answered.
  auto logged = d.Notify("textDocument/didOpen", {{"textDocument", 5}});
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0]["method"], "window/logMessage");
  d.Notify("textDocument/didOpen",
           {{"textDocument", {{"uri", "file:///x.prg"}, {"version", 1}, {"text", "one\ntwo"}}}});
  EXPECT_EQ(d.session.Documents.at("file:///x.prg").Lines.size(), 2u);
}

TEST(Server, EveryBadFrameAndBodyIsAnsweredWithNullId) {
  Driver d;
  d.Initialize();
  auto out = d.Raw("Content-Length: x\r\n\r\n{}" + EncodeFrame("{oops") + EncodeFrame("[]") +
                   EncodeFrame(R"({"jsonrpc":"2.0","id":9,"method":3})"));
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(ErrorCodeOf(out[0]), -32700);
  EXPECT_TRUE(out[0]["id"].is_null());
  EXPECT_EQ(ErrorCodeOf(out[1]), -32700);
  EXPECT_EQ(ErrorCodeOf(out[2]), -32600);
  EXPECT_EQ(ErrorCodeOf(out[3]), -32600);
  EXPECT_EQ(out[3]["id"], 9);
  EXPECT_EQ(ErrorCodeOf(d.Request("shutdown")), 0);
}

TEST(Server, ACancelledQueuedRequestIsAnsweredCancelled) {
  Driver d;
  d.Initialize();
  const std::string req = EncodeFrame(R"({"jsonrpc":"2.0","id":"a","method":"no/such"})");
  const std::string cancel = EncodeFrame(R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":"a"}})");
  const std::string other = EncodeFrame(R"({"jsonrpc":"2.0","id":"b","method":"no/such"})");
  auto out = d.Raw(req + cancel + other);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0]["id"], "a");
  EXPECT_EQ(ErrorCodeOf(out[0]), -32800);
  EXPECT_EQ(out[1]["id"], "b");
  EXPECT_EQ(ErrorCodeOf(out[1]), -32601);
  // A cancel for an answered request, or one never sent, asks for nothing.
  EXPECT_TRUE(d.Raw(cancel).empty());
}

TEST(Server, ShutdownThenExitEndsWithZeroAndRefusesWhatComesBetween) {
  Driver d;
  d.Initialize();
  EXPECT_TRUE(d.Request("shutdown")["result"].is_null());
  EXPECT_EQ(ErrorCodeOf(d.Request("textDocument/hover")), -32600);
  EXPECT_FALSE(d.server.Exited());
  d.Notify("exit");
  EXPECT_TRUE(d.server.Exited());
  EXPECT_EQ(d.server.ExitCode(), 0);
}

TEST(Server, ExitWithoutShutdownEndsWithOne) {
  Driver d;
  d.Initialize();
  d.Notify("exit");
  EXPECT_TRUE(d.server.Exited());
  EXPECT_EQ(d.server.ExitCode(), 1);
}

TEST(Server, IncrementalChangesKeepTheText) {
  Driver d;
  d.Initialize();
  d.Notify("textDocument/didOpen",
           {{"textDocument", {{"uri", "file:///x.prg"}, {"version", 1}, {"text", "IF x\n   y = 1\nENDIF\n"}}}});
  d.Notify("textDocument/didChange",
           {{"textDocument", {{"uri", "file:///x.prg"}, {"version", 2}}},
            {"contentChanges",
             {{{"range", {{"start", {{"line", 1}, {"character", 3}}}, {"end", {{"line", 1}, {"character", 4}}}}},
               {"text", "zz"}},
              {{"range", {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 0}}}}},
               {"text", "* c\n"}}}}});
  const TextDocument& doc = d.session.Documents.at("file:///x.prg");
  EXPECT_EQ(ClientText(doc), "* c\nIF x\n   zz = 1\nENDIF\n");
  EXPECT_EQ(doc.Version, 2);
  // One bad change in a list leaves the text as it was.
  auto out = d.Notify("textDocument/didChange",
                      {{"textDocument", {{"uri", "file:///x.prg"}, {"version", 3}}},
                       {"contentChanges", {{{"text", "gone"}}, {{"range", {{"start", 1}}}, {"text", "x"}}}}});
  EXPECT_EQ(out.size(), 1u);
  EXPECT_EQ(ClientText(doc), "* c\nIF x\n   zz = 1\nENDIF\n");
  d.Notify("textDocument/didClose", {{"textDocument", {{"uri", "file:///x.prg"}}}});
  EXPECT_TRUE(d.session.Documents.empty());
}

}  // namespace
}  // namespace vemlo::lsp
