// An in-process server for the tests: messages in, the server's messages out.
#pragma once

#include <string>
#include <vector>

#include "vemlo-lsp/framing.h"
#include "vemlo-lsp/methods.h"
#include "vemlo-lsp/rpc.h"
#include "vemlo-lsp/server.h"
#include "vemlo-lsp/session.h"

namespace vemlo::lsp::test {

struct Driver {
  Session session;
  std::vector<json> out;
  FrameDecoder outFrames;
  Server server{session, Methods(), vemlo::lsp::Initialize, [this](const std::string& bytes) {
                  outFrames.Feed(bytes);
                  Frame f;
                  while (outFrames.Next(f)) out.push_back(json::parse(f.Body));
                }};
  int nextId = 1;

  Driver() { session.Send = [this](const json& m) { server.Send(m); }; }

  // Feeds raw bytes and handles everything queued; returns what was written.
  std::vector<json> Raw(const std::string& bytes) {
    out.clear();
    server.Feed(bytes);
    while (server.HandleNext()) {
    }
    return out;
  }
  std::vector<json> Send(const json& message) { return Raw(EncodeFrame(message.dump())); }
  // A request's answer (the last message naming its id).
  json Request(const std::string& method, json params = json::object()) {
    const int id = nextId++;
    auto msgs = Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
    for (auto it = msgs.rbegin(); it != msgs.rend(); ++it)
      if (it->contains("id") && (*it)["id"] == id) return *it;
    return nullptr;
  }
  std::vector<json> Notify(const std::string& method, json params = json::object()) {
    return Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
  }
  json Initialize(json options = json::object()) {
    json r = Request("initialize", {{"processId", nullptr}, {"rootUri", nullptr}, {"capabilities", json::object()},
                                    {"initializationOptions", std::move(options)}});
    Notify("initialized");
    return r;
  }
};

}  // namespace vemlo::lsp::test
