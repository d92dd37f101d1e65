#include "server.h"

namespace vemlo::lsp {

Server::Server(Session& session, std::vector<MethodEntry> methods, json (*initialize)(Session&, const json&),
               Writer write)
    : session_(session), methods_(std::move(methods)), initialize_(initialize), write_(std::move(write)) {}

void Server::Send(const json& message) { write_(EncodeFrame(Serialize(message))); }

void Server::Log(const std::string& text) {
  // type 3: information
  Send(NotificationMessage("window/logMessage", {{"type", 3}, {"message", text}}));
}

void Server::Feed(std::string_view bytes) {
  decoder_.Feed(bytes);
  Frame frame;
  while (decoder_.Next(frame)) {
    Queued q;
    if (frame.Malformed) {
      q.Msg.What = Message::Kind::Fault;
      q.Msg.Code = ErrorCode::ParseError;
      q.Msg.Error = "malformed frame: " + frame.Error;
    } else {
      q.Msg = ParseMessage(frame.Body);
    }
    if (q.Msg.What == Message::Kind::Notification && q.Msg.Method == "$/cancelRequest") {
      const json* id = q.Msg.Params.is_object() && q.Msg.Params.contains("id") ? &q.Msg.Params["id"] : nullptr;
      if (id)
        for (Queued& other : queue_)
          if (other.Msg.What == Message::Kind::Request && other.Msg.Id == *id) other.Cancelled = true;
      continue;  // a request already answered, or never seen, needs nothing more
    }
    queue_.push_back(std::move(q));
  }
}

bool Server::HandleNext() {
  if (queue_.empty()) return false;
  Queued q = std::move(queue_.front());
  queue_.pop_front();
  Handle(q);
  return true;
}

const MethodEntry* Server::Find(const std::string& method) const {
  for (const MethodEntry& e : methods_)
    if (method == e.Name) return &e;
  return nullptr;
}

void Server::Handle(Queued& q) {
  const Message& m = q.Msg;
  switch (m.What) {
    case Message::Kind::Fault:
      Send(ErrorMessage(m.Id, m.Code, m.Error));
      return;
    case Message::Kind::Response:
      return;  // the server sends no requests whose answers it waits for
    case Message::Kind::Notification:
      HandleNotification(m);
      return;
    case Message::Kind::Request:
      if (q.Cancelled) {
        Send(ErrorMessage(m.Id, ErrorCode::RequestCancelled, "cancelled"));
        return;
      }
      HandleRequest(m);
      return;
  }
}

void Server::HandleRequest(const Message& m) {
  if (shutdown_) {
    Send(ErrorMessage(m.Id, ErrorCode::InvalidRequest, "the server is shut down"));
    return;
  }
  const json params = m.Params.is_null() ? json::object() : m.Params;
  try {
    if (m.Method == "initialize") {
      if (initialized_) {
        Send(ErrorMessage(m.Id, ErrorCode::InvalidRequest, "initialize was sent twice"));
        return;
      }
      if (!params.is_object()) throw ParamsError{"initialize needs an object of params"};
      json result = initialize_(session_, params);
      initialized_ = true;
      Send(ResultMessage(m.Id, std::move(result)));
      return;
    }
    if (!initialized_) {
      Send(ErrorMessage(m.Id, ErrorCode::ServerNotInitialized, "the server is not initialized"));
      return;
    }
    if (m.Method == "shutdown") {
      shutdown_ = true;
      Send(ResultMessage(m.Id, nullptr));
      return;
    }
    const MethodEntry* e = Find(m.Method);
    if (!e || !e->Request) {
      Send(ErrorMessage(m.Id, ErrorCode::MethodNotFound, "unknown method " + m.Method));
      return;
    }
    Send(ResultMessage(m.Id, e->Request(session_, params)));
  } catch (const ParamsError& e) {
    Send(ErrorMessage(m.Id, ErrorCode::InvalidParams, e.What));
  } catch (const json::exception& e) {
    Send(ErrorMessage(m.Id, ErrorCode::InvalidParams, e.what()));
  } catch (const std::exception& e) {
    Send(ErrorMessage(m.Id, ErrorCode::InternalError, e.what()));
  }
}

void Server::HandleNotification(const Message& m) {
  if (m.Method == "exit") {
    exited_ = true;
    return;
  }
  if (!initialized_ || shutdown_) return;  // dropped, as the protocol wants
  const MethodEntry* e = Find(m.Method);
  if (!e || !e->Notify) return;  // unknown notifications (and all of "$/") are ignored
  const json params = m.Params.is_null() ? json::object() : m.Params;
  try {
    e->Notify(session_, params);
  } catch (const ParamsError& err) {
    Log(m.Method + ": " + err.What);
  } catch (const json::exception& err) {
    Log(m.Method + ": " + err.what());
  } catch (const std::exception& err) {
    Log(m.Method + ": " + err.what());
  }
}

}  // namespace vemlo::lsp
