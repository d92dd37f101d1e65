#include "lsp_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace vemlo::lsp::test {
namespace {

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ServerProcess::ServerProcess(const std::vector<std::string>& env, const std::string& dir) {
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
    execl(VEMLO_LSP_PATH, VEMLO_LSP_PATH, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  in_ = inPipe[1];
  out_ = outPipe[0];
  err_ = errPipe[0];
  fcntl(err_, F_SETFL, O_NONBLOCK);
  signal(SIGPIPE, SIG_IGN);
}

ServerProcess::~ServerProcess() {
  if (Running()) {
    kill(pid_, SIGKILL);
    Wait(5000);
  }
  for (int fd : {in_, out_, err_})
    if (fd >= 0) close(fd);
}

void ServerProcess::Write(const std::string& bytes) {
  size_t done = 0;
  while (in_ >= 0 && done < bytes.size()) {
    const ssize_t n = write(in_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::optional<json> ServerProcess::Read(int timeoutMs) {
  const int64_t end = NowMs() + timeoutMs;
  for (;;) {
    Frame f;
    if (frames_.Next(f)) {
      if (f.Malformed) return json{{"malformed", f.Error}};
      return json::parse(f.Body, nullptr, false);
    }
    const int64_t left = end - NowMs();
    if (left <= 0 || out_ < 0) return std::nullopt;
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buf[65536];
    const ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) {
      close(out_);
      out_ = -1;
      continue;
    }
    frames_.Feed(std::string_view(buf, static_cast<size_t>(n)));
  }
}

std::optional<json> ServerProcess::ReadAnswer(const json& id, int timeoutMs) {
  const int64_t end = NowMs() + timeoutMs;
  while (NowMs() < end) {
    auto m = Read(static_cast<int>(end - NowMs()));
    if (!m) return std::nullopt;
    if (m->contains("id") && (*m)["id"] == id && !m->contains("method")) return m;
  }
  return std::nullopt;
}

json ServerProcess::Request(const std::string& method, json params, int timeoutMs) {
  const int id = nextId_++;
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
  return ReadAnswer(id, timeoutMs).value_or(json());
}

void ServerProcess::Notify(const std::string& method, json params) {
  Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

void ServerProcess::CloseInput() {
  if (in_ >= 0) close(in_);
  in_ = -1;
}

bool ServerProcess::Running() {
  if (status_ != -2) return false;
  int st;
  const pid_t r = waitpid(pid_, &st, WNOHANG);
  if (r == 0) return true;
  status_ = r == pid_ && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return false;
}

int ServerProcess::Wait(int timeoutMs) {
  const int64_t end = NowMs() + timeoutMs;
  while (Running()) {
    if (NowMs() > end) {
      kill(pid_, SIGKILL);
      int st;
      waitpid(pid_, &st, 0);
      status_ = -1;
      break;
    }
    usleep(10000);
  }
  return status_;
}

std::string ServerProcess::ErrorOutput() {
  char buf[4096];
  for (ssize_t n; err_ >= 0 && (n = read(err_, buf, sizeof buf)) > 0;) errText_.append(buf, static_cast<size_t>(n));
  return errText_;
}

}  // namespace vemlo::lsp::test
