// Driving vemlo-edit in tmux: a tmux server of its own per test, keys typed
// and pasted into its pane, the screen read as a person sees it, and a copy of
// the demo project for the program to work on.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace vemlo::test::tmux {

namespace fs = std::filesystem;

// How long a wait lasts before it fails. A passing wait ends as soon as what it
// waits for is there, so the limit is generous: a loaded machine (sanitizers,
// other builds) may take seconds to start a program or draw a window.
inline constexpr int kWaitMs = 30000;

inline std::string Shell(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool HaveTmux() { return std::system("tmux -V >/dev/null 2>&1") == 0; }

// One tmux server of its own, with one 80x25 pane.
class Tmux {
 public:
  Tmux() : socket_("vemlo-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++count_)) {}
  ~Tmux() { Shell(Cmd("kill-server") + " 2>/dev/null"); }

  std::string Cmd(const std::string& args) const {
    return "tmux -u -f /dev/null -L " + socket_ + " " + args;
  }
  void Start(const std::string& command) {
    Shell(Cmd("new-session -d -x 80 -y 25 " +
            Quote("env TERM=xterm-256color LANG=C.UTF-8 " + command) +
            " \\; set-option -w remain-on-exit on"));
  }
  std::string Screen() const { return Shell(Cmd("capture-pane -p")); }
  void Keys(const std::string& keys) const { Shell(Cmd("send-keys " + keys)); }
  // Text typed as it stands, in one write to the terminal.
  void Type(const std::string& text) const { Shell(Cmd("send-keys -l " + Quote(text))); }
  // Text pasted as a terminal pastes it: bracketed, since the program asks for that.
  void Paste(const fs::path& file) const {
    Shell(Cmd("load-buffer -b vemlo " + Quote(file.string())) + " && " + Cmd("paste-buffer -p -d -b vemlo"));
  }
  // Row y of the screen (0-based).
  std::string Row(int y) const {
    std::string s = Screen();
    size_t at = 0;
    for (int i = 0; i < y && at != std::string::npos; ++i) {
      at = s.find('\n', at);
      if (at != std::string::npos) ++at;
    }
    return at == std::string::npos ? "" : s.substr(at, s.find('\n', at) - at);
  }
  // The editor's title row marks a changed text with "*".
  bool WaitModified(bool modified) const {
    return WaitFor([&](const std::string& s) { return !s.empty() && (s[0] == '*') == modified; });
  }
  std::string Show(const std::string& format) const {
    std::string s = Shell(Cmd("display-message -p " + Quote(format)));
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
  }
  bool Dead() const { return Show("#{pane_dead}") == "1"; }
  // The screen once it stopped changing (two captures a little apart agree).
  std::string Stable() const {
    std::string last = Screen();
    for (int i = 0; i < 40; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      std::string now = Screen();
      if (now == last) return now;
      last = now;
    }
    return last;
  }

  // Polls the screen until `pred` holds; false after the timeout.
  template <class Pred>
  bool WaitFor(Pred pred, int timeoutMs = kWaitMs) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
      if (pred(Screen())) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }
  bool WaitForText(const std::string& text, int timeoutMs = kWaitMs) const {
    return WaitFor([&](const std::string& s) { return s.find(text) != std::string::npos; }, timeoutMs);
  }
  bool WaitGone(const std::string& text) const {
    return WaitFor([&](const std::string& s) { return s.find(text) == std::string::npos; });
  }
  bool WaitDead() const {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (std::chrono::steady_clock::now() < end) {
      if (Dead()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    return false;
  }

 private:
  std::string socket_;
  static inline int count_ = 0;
};

// A copy of the demo project, so that nothing a test does reaches the build's demo.
class DemoCopy {
 public:
  DemoCopy() {
    dir_ = fs::temp_directory_path() / ("vemlo-e2e-" + std::to_string(getpid()) + "-" +
                                        std::to_string(++count_));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(fs::path(VEMLO_BINARY_DIR) / "demo", dir_ / "demo", fs::copy_options::recursive);
    fs::copy_file(dir_ / "demo" / "registry.ini", dir_ / "registry.ini");
  }
  ~DemoCopy() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path Main() const { return dir_ / "demo" / "MAIN.PRG"; }
  fs::path Registry() const { return dir_ / "registry.ini"; }
  fs::path Dir() const { return dir_; }
  std::string Command() const {
    return Quote(std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit") + " --registry " +
           Quote((dir_ / "registry.ini").string()) + " " + Quote(Main().string());
  }

 private:
  fs::path dir_;
  static inline int count_ = 0;
};

// Waits until `pred` holds for the file's bytes; false after the timeout.
template <class Pred>
bool WaitFile(const fs::path& p, Pred pred, int timeoutMs = kWaitMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    if (pred(ReadFile(p))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

}  // namespace vemlo::test::tmux
