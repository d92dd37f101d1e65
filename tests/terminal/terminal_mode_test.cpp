// The terminal's modes on a pseudo-terminal: set up on entry, given back on a
// normal exit and when a signal ends the program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "terminal_mode.h"

namespace vemlo::sim {
namespace {

// Reads the child's output until it ends or `until` appears (up to a few seconds).
std::string ReadUntil(int master, const std::string& until, std::string sofar = {}) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!until.empty() && sofar.find(until) != std::string::npos) break;
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[512];
    ssize_t n = read(master, buf, sizeof buf);
    if (n <= 0) break;  // EIO: the child closed the terminal
    sofar.append(buf, static_cast<size_t>(n));
  }
  return sofar;
}

bool SameModes(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
         a.c_cflag == b.c_cflag;
}

struct Child {
  pid_t Pid = -1;
  int Master = -1;
  ~Child() {
    if (Master >= 0) close(Master);
  }
};

TEST(TerminalMode, NormalExitRestoresModesAndScreen) {
  Child c;
  c.Pid = forkpty(&c.Master, nullptr, nullptr, nullptr);
  ASSERT_GE(c.Pid, 0);
  if (c.Pid == 0) {
    termios before{}, during{}, after{};
    tcgetattr(0, &before);
    {
      TerminalMode mode(0, 1);
      tcgetattr(0, &during);
    }
    tcgetattr(0, &after);
    // 0: restored; 3: raw mode never came; 4: not restored.
    if (during.c_lflag & (ECHO | ICANON | ISIG)) _exit(3);
    _exit(SameModes(before, after) ? 0 : 4);
  }
  std::string out = ReadUntil(c.Master, "");
  int status = 0;
  ASSERT_EQ(waitpid(c.Pid, &status, 0), c.Pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  size_t enter = out.find(kTerminalEnter), leave = out.find(kTerminalLeave);
  ASSERT_NE(enter, std::string::npos);
  ASSERT_NE(leave, std::string::npos);
  EXPECT_LT(enter, leave);
  // The leaving sequence switches off the alternate screen and both keyboard modes.
  for (const char* off : {"\x1b[?1049l", "\x1b[>4;0m", "\x1b[<u", "\x1b[?25h"})
    EXPECT_NE(std::string(kTerminalLeave).find(off), std::string::npos) << off;
}

TEST(TerminalMode, SigtermAndSigintRestoreThenEndTheProgram) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    Child c;
    c.Pid = forkpty(&c.Master, nullptr, nullptr, nullptr);
    ASSERT_GE(c.Pid, 0);
    if (c.Pid == 0) {
      TerminalMode mode(0, 1);
      WriteAll(1, "READY");
      for (;;) pause();
    }
    std::string out = ReadUntil(c.Master, "READY");
    ASSERT_NE(out.find("READY"), std::string::npos) << "signal " << sig;
    kill(c.Pid, sig);
    out = ReadUntil(c.Master, std::string(kTerminalLeave), out);
    int status = 0;
    ASSERT_EQ(waitpid(c.Pid, &status, 0), c.Pid);
    // The signal still ends the program, as it would without the handler.
    ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig;
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_NE(out.find(kTerminalLeave, out.find("READY")), std::string::npos) << "signal " << sig;
    // The pseudo-terminal is back in its cooked modes.
    termios t{};
    ASSERT_EQ(tcgetattr(c.Master, &t), 0);
    EXPECT_TRUE(t.c_lflag & ECHO) << "signal " << sig;
    EXPECT_TRUE(t.c_lflag & ICANON) << "signal " << sig;
  }
}

TEST(TerminalMode, NoTerminalIsAClearErrorAndCanBeRetried) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  try {
    TerminalMode mode(fds[0], fds[1]);
    FAIL() << "a pipe is not a terminal";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("needs a terminal"), std::string::npos) << e.what();
  }
  // Nothing was written to the non-terminal, and no mode is left held.
  pollfd p{fds[0], POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0);
  close(fds[0]);
  close(fds[1]);
  Child c;
  c.Pid = forkpty(&c.Master, nullptr, nullptr, nullptr);
  ASSERT_GE(c.Pid, 0);
  if (c.Pid == 0) {
    { TerminalMode first(0, 1); }
    { TerminalMode second(0, 1); }  // a second session after the first ended
    _exit(0);
  }
  std::string out = ReadUntil(c.Master, "");
  int status = 0;
  ASSERT_EQ(waitpid(c.Pid, &status, 0), c.Pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  size_t first = out.find(kTerminalLeave);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(out.find(kTerminalLeave, first + 1), std::string::npos);
}

}  // namespace
}  // namespace vemlo::sim
