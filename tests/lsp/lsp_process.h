// The built vemlo-lsp as a child process: frames written to its standard
// input, messages read from its standard output with a time limit.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "vemlo-lsp/framing.h"
#include "vemlo-lsp/rpc.h"

namespace vemlo::lsp::test {

class ServerProcess {
 public:
  // Starts the program with the environment variables added (NAME=value).
  explicit ServerProcess(const std::vector<std::string>& env = {}, const std::string& dir = {});
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  void Write(const std::string& bytes);
  void Send(const json& message) { Write(EncodeFrame(message.dump())); }
  // The next message, or none when nothing came within the time.
  std::optional<json> Read(int timeoutMs = 10000);
  // The answer to request `id`, passing over notifications; none on time-out.
  std::optional<json> ReadAnswer(const json& id, int timeoutMs = 10000);
  json Request(const std::string& method, json params = json::object(), int timeoutMs = 10000);
  void Notify(const std::string& method, json params = json::object());
  void CloseInput();
  // The exit status after the process ended (-1: killed by a signal, or still
  // running after the time, when it is killed).
  int Wait(int timeoutMs = 10000);
  std::string ErrorOutput();  // what it wrote to standard error so far
  bool Running();

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, err_ = -1;
  FrameDecoder frames_;
  std::string errText_;
  int nextId_ = 1000;
  int status_ = -2;
};

}  // namespace vemlo::lsp::test
