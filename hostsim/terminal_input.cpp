#include "terminal_input.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vemlo::sim {

namespace {

// SIGWINCH wakes the reader through a pipe; the handler only writes one byte.
int g_wakePipe[2] = {-1, -1};
struct sigaction g_previousWinch;

void OnWinch(int) {
  int savedErrno = errno;
  if (g_wakePipe[1] >= 0) {
    char b = 1;
    [[maybe_unused]] ssize_t n = write(g_wakePipe[1], &b, 1);
  }
  errno = savedErrno;
}

}  // namespace

bool TerminalSize(int fd, int& cols, int& rows) {
  winsize ws{};
  if (ioctl(fd, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) return false;
  cols = ws.ws_col;
  rows = ws.ws_row;
  return true;
}

TerminalInput::TerminalInput(int fd, const std::string& term, Callbacks callbacks)
    : fd_(fd), decoder_(term), callbacks_(std::move(callbacks)) {
  if (g_wakePipe[0] >= 0) throw std::runtime_error("the terminal input is already open");
  if (pipe2(g_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
    throw std::runtime_error(std::string("cannot watch the terminal size: ") + std::strerror(errno));
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnWinch;
  sa.sa_flags = SA_RESTART;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGWINCH, &sa, &g_previousWinch);
}

TerminalInput::~TerminalInput() {
  sigaction(SIGWINCH, &g_previousWinch, nullptr);
  close(g_wakePipe[0]);
  close(g_wakePipe[1]);
  g_wakePipe[0] = g_wakePipe[1] = -1;
}

void TerminalInput::Take(std::vector<INPUT_RECORD> records) {
  for (const INPUT_RECORD& r : records)
    pending_.push_back({r, r.EventType == PASTE_EVENT ? decoder_.TakePaste() : std::u32string()});
}

void TerminalInput::ReadBytes() {
  char buf[4096];
  ssize_t got = read(fd_, buf, sizeof buf);
  if (got > 0) {
    Take(decoder_.Feed(std::string_view(buf, static_cast<size_t>(got))));
  } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
    ended_ = true;  // the terminal went away
    Take(decoder_.Flush());
  }
}

bool TerminalInput::Ready() {
  if (pending_.empty() && !ended_) {
    pollfd fd = {fd_, POLLIN, 0};
    if (poll(&fd, 1, 0) > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR))) ReadBytes();
  }
  return !pending_.empty();
}

bool TerminalInput::Read(INPUT_RECORD& rec) {
  for (;;) {
    if (!pending_.empty()) {
      rec = pending_.front().Rec;
      if (rec.EventType == PASTE_EVENT) pasted_ = std::move(pending_.front().Paste);
      pending_.pop_front();
      return true;
    }
    if (ended_) return false;
    if (!decoder_.Waiting() && callbacks_.Idle) callbacks_.Idle();
    pollfd fds[2] = {{fd_, POLLIN, 0}, {g_wakePipe[0], POLLIN, 0}};
    int n = poll(fds, 2, decoder_.Waiting() ? kEscWaitMs : -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      ended_ = true;
      continue;
    }
    if (n == 0) {
      Take(decoder_.Flush());
      continue;
    }
    if (fds[1].revents & POLLIN) {
      char drain[64];
      while (read(g_wakePipe[0], drain, sizeof drain) > 0) {
      }
      if (callbacks_.Resized) callbacks_.Resized();
      rec = INPUT_RECORD{};
      rec.EventType = WINDOW_BUFFER_SIZE_EVENT;
      return true;
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) ReadBytes();
  }
}

}  // namespace vemlo::sim
