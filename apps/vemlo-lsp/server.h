// The server's message loop without the I/O: bytes in, frames out. It keeps the
// protocol's lifecycle (initialize, shutdown, exit), answers every request
// once (with a result or an error), notes cancellations of requests still
// queued, and hands the methods it knows to their handlers.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framing.h"
#include "rpc.h"

namespace vemlo::lsp {

struct Session;

// A method the server serves: a request handler answers, a notification
// handler does not. Handlers throw ParamsError (or a json error) on params of
// the wrong shape.
struct MethodEntry {
  const char* Name;
  json (*Request)(Session&, const json& params) = nullptr;
  void (*Notify)(Session&, const json& params) = nullptr;
};

class Server {
 public:
  using Writer = std::function<void(const std::string& bytes)>;
  // initialize answers with what `initialize` returns for the session.
  Server(Session& session, std::vector<MethodEntry> methods, json (*initialize)(Session&, const json&),
         Writer write);

  // Decodes what arrived; a $/cancelRequest marks a queued request at once.
  void Feed(std::string_view bytes);
  // Handles the next queued message; false when none is queued.
  bool HandleNext();
  bool Exited() const { return exited_; }
  // 0 after shutdown then exit, 1 for an exit without shutdown.
  int ExitCode() const { return shutdown_ ? 0 : 1; }
  // Notifications the server sends on its own (diagnostics, log messages).
  void Send(const json& message);

 private:
  struct Queued {
    Message Msg;
    bool Cancelled = false;
  };
  void Handle(Queued& q);
  void HandleRequest(const Message& m);
  void HandleNotification(const Message& m);
  const MethodEntry* Find(const std::string& method) const;
  void Log(const std::string& text);

  Session& session_;
  std::vector<MethodEntry> methods_;
  json (*initialize_)(Session&, const json&);
  Writer write_;
  FrameDecoder decoder_;
  std::deque<Queued> queue_;
  bool initialized_ = false;
  bool shutdown_ = false;
  bool exited_ = false;
};

}  // namespace vemlo::lsp
