#include "terminal_mode.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vemlo::sim {

namespace {

// What the signal handlers need, in plain globals: one terminal at a time.
struct Saved {
  int InFd = -1, OutFd = -1;
  termios Termios{};
  volatile sig_atomic_t Active = 0;
};
Saved g_saved;

// Signals that end the program by default, and those that report a fault: after
// restoring, the first are raised again, the second re-fault into the previous handler.
const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
const int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMaxSignal = 65;
struct sigaction g_previous[kMaxSignal];

// Async-signal-safe: write(2) and tcsetattr(3) only.
void RestoreNow() {
  if (!g_saved.Active) return;
  g_saved.Active = 0;
  size_t done = 0;
  while (done < kTerminalLeave.size()) {
    ssize_t n = write(g_saved.OutFd, kTerminalLeave.data() + done, kTerminalLeave.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  tcsetattr(g_saved.InFd, TCSANOW, &g_saved.Termios);
}

void OnSignal(int sig) {
  int savedErrno = errno;
  RestoreNow();
  sigaction(sig, &g_previous[sig], nullptr);
  bool ending = false;
  for (int s : kEndingSignals) ending = ending || s == sig;
  // The signal stays blocked until this handler returns, then takes effect.
  if (ending) raise(sig);
  errno = savedErrno;
}

template <size_t N>
void Install(const int (&signals)[N]) {
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : signals) sigaction(s, &sa, &g_previous[s]);
}

template <size_t N>
void Uninstall(const int (&signals)[N]) {
  for (int s : signals) sigaction(s, &g_previous[s], nullptr);
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

TerminalMode::TerminalMode(int inFd, int outFd) {
  if (g_saved.Active) throw std::runtime_error("the terminal is already in use");
  termios t;
  if (!isatty(inFd) || !isatty(outFd) || tcgetattr(inFd, &t) != 0)
    throw std::runtime_error("the terminal program needs a terminal (without one, use --script)");
  g_saved.InFd = inFd;
  g_saved.OutFd = outFd;
  g_saved.Termios = t;
  // Raw input: every key reaches the editor, Ctrl+C, Ctrl+S and Ctrl+Z included.
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  t.c_cflag |= CS8;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  Install(kEndingSignals);
  Install(kFaultSignals);
  g_saved.Active = 1;
  if (tcsetattr(inFd, TCSANOW, &t) != 0 || !WriteAll(outFd, kTerminalEnter)) {
    std::string why = std::strerror(errno);
    Restore();
    throw std::runtime_error("cannot set up the terminal: " + why);
  }
}

TerminalMode::~TerminalMode() { Restore(); }

void TerminalMode::Restore() {
  if (!g_saved.Active) return;
  RestoreNow();
  Uninstall(kEndingSignals);
  Uninstall(kFaultSignals);
}

}  // namespace vemlo::sim
