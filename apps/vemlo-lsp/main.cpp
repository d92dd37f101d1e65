// vemlo-lsp: the language server over standard input and output.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "methods.h"
#include "server.h"
#include "session.h"

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Reads what standard input holds; with wait, blocks for the first bytes.
// False at the end of the input.
bool ReadInput(vemlo::lsp::Server& server, bool wait) {
  char buffer[1 << 16];
  for (;;) {
    pollfd p{0, POLLIN, 0};
    const int ready = poll(&p, 1, wait ? -1 : 0);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return true;  // nothing more now
    const ssize_t n = read(0, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    server.Feed(std::string_view(buffer, static_cast<size_t>(n)));
    wait = false;
  }
}

void Usage() {
  std::cout << "usage: vemlo-lsp [--stdio]\n"
               "The FoxPro language server of vemlo: speaks the Language Server Protocol\n"
               "over standard input and output; an editor starts it. The client's\n"
               "initializationOptions may carry codePage (866, 1251, 1252, utf-8),\n"
               "registry (the options file) and options (option name: value).\n";
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    }
    if (arg != "--stdio") {
      std::cerr << "vemlo-lsp: unknown argument " << arg << "\n";
      Usage();
      return 2;
    }
  }
  signal(SIGPIPE, SIG_IGN);  // a client gone away ends the writes, not the process
  vemlo::lsp::Session session;
  bool outputOpen = true;
  vemlo::lsp::Server server(session, vemlo::lsp::Methods(), vemlo::lsp::Initialize,
                            [&](const std::string& bytes) {
                              if (outputOpen) outputOpen = WriteAll(1, bytes);
                            });
  session.Send = [&](const vemlo::lsp::json& m) { server.Send(m); };
  bool inputOpen = true;
  while (!server.Exited() && outputOpen) {
    // Read what is there before each message, so cancellations reach queued requests.
    if (inputOpen) inputOpen = ReadInput(server, false);
    if (server.HandleNext()) continue;
    if (!inputOpen) break;
    inputOpen = ReadInput(server, true);
  }
  return server.ExitCode();
}
