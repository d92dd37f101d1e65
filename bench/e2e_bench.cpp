// End to end: vemlo-edit --script on a generated project of 2,000 files and
// 1,000,000 lines, the edited file in its middle. Whole runs are timed: idle
// (the cursor placed, no command), one Ctrl+Space (and Esc), and 21 of them:
// idle_ms, one_ms, many_ms, and cold_ms = one - idle (the first command: project
// load and parse). The 21-command script also runs with --key-times, the editor
// timing each key itself (from the key to its next read of input), and between
// the commands a Right and a Left, keys that only move the cursor, as the
// baseline of the same run: key_cold_ms = the first Ctrl+Space, key_warm_ms =
// the median of the 20 later ones (refresh, list and repaint), key_idle_ms = the
// median of the cursor keys; medians again over the runs.
// Argument: 1 = names lower case on disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>

#include "bench_project.h"

extern char** environ;

namespace {

using vemlo::bench::Median;
using vemlo::bench::MedianMs;
using vemlo::bench::Project;

const std::string kEditor = std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit";

// Runs vemlo-edit on the script; its output goes to `out` (a native path).
bool RunEditor(const std::string& script, const std::string& file, const std::string& registry,
               const std::string& out, const std::string& keyTimes = "") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {kEditor, "--script", script, "--registry", registry};
  if (!keyTimes.empty()) args.insert(args.end(), {"--key-times", keyTimes});
  args.push_back(file);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, kEditor.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The script line of each Ctrl+Space and of each cursor key in Script(..., true).
struct KeyLines {
  std::vector<int> Commands, Cursor;
};

std::string Script(const Project& p, int commands, bool dump, bool cursorKeys = false,
                   KeyLines* lines = nullptr) {
  // On "   m.lnI = ..." after "m.lnI": completion of a variable of the procedure.
  std::string s = "goto " + std::to_string(p.CursorLine()) + " 8\n";
  int line = 1;
  for (int i = 0; i < commands; ++i) {
    s += "Ctrl+Space\n";
    if (lines) lines->Commands.push_back(line + 1);
    line += 1;
    if (dump) s += "dump screen\n", ++line;
    s += "Esc\n", ++line;
    if (cursorKeys && i + 1 < commands) {
      s += "Right\nLeft\n";
      if (lines) lines->Cursor.insert(lines->Cursor.end(), {line + 1, line + 2});
      line += 2;
    }
  }
  return s;
}

// The key times vemlo-edit wrote: script line -> milliseconds.
std::map<int, double> ReadKeyTimes(const std::string& path) {
  std::map<int, double> times;
  std::ifstream in(path);
  int line = 0;
  double ms = 0;
  while (in >> line >> ms) times[line] = ms;
  return times;
}

void BM_EditorScript(benchmark::State& state) {
  const Project& p = vemlo::bench::TheProject(2000, 500, state.range(0) != 0);
  const std::string dir = p.Dir + "/..";
  const std::string registry = dir + "/registry.ini", out = dir + "/out.txt";
  std::ofstream(registry) << "";
  const std::string file = p.Native(p.Edited());
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir + "/" + name) << text;
    return dir + "/" + name;
  };
  const std::string idle = write("idle.keys", Script(p, 0, false));
  const std::string one = write("one.keys", Script(p, 1, false));
  const std::string many = write("many.keys", Script(p, 21, false));

  // The list must really open, with a variable of the procedure in it (its source "private").
  if (!RunEditor(write("check.keys", Script(p, 1, true)), file, registry, out)) {
    state.SkipWithError("vemlo-edit failed");
    return;
  }
  std::stringstream screen;
  screen << std::ifstream(out).rdbuf();
  if (screen.str().find("│private") == std::string::npos) {
    state.SkipWithError("no completion list on the screen");
    return;
  }
  KeyLines lines;
  const std::string timed = write("timed.keys", Script(p, 21, false, true, &lines));
  const std::string timesFile = dir + "/key-times.txt";
  double idleMs = 0, oneMs = 0, manyMs = 0;
  std::vector<double> keyCold, keyWarm, keyIdle;
  bool ok = true;
  for (auto _ : state) {
    idleMs = MedianMs(5, [&] { ok &= RunEditor(idle, file, registry, out); });
    oneMs = MedianMs(5, [&] { ok &= RunEditor(one, file, registry, out); });
    manyMs = MedianMs(5, [&] { ok &= RunEditor(many, file, registry, out); });
    for (int run = 0; run < 5; ++run) {
      ok &= RunEditor(timed, file, registry, out, timesFile);
      const std::map<int, double> times = ReadKeyTimes(timesFile);
      std::vector<double> warm, cursor;
      for (size_t i = 0; i < lines.Commands.size(); ++i) {
        const auto t = times.find(lines.Commands[i]);
        if (t == times.end()) ok = false;
        else if (i == 0) keyCold.push_back(t->second);
        else warm.push_back(t->second);
      }
      for (int l : lines.Cursor) {
        const auto t = times.find(l);
        if (t == times.end()) ok = false;
        else cursor.push_back(t->second);
      }
      keyWarm.push_back(Median(warm));
      keyIdle.push_back(Median(cursor));
    }
  }
  if (!ok) state.SkipWithError("vemlo-edit failed");
  state.counters["idle_ms"] = idleMs;
  state.counters["one_ms"] = oneMs;
  state.counters["many_ms"] = manyMs;
  state.counters["cold_ms"] = oneMs - idleMs;
  state.counters["warm_ms"] = (manyMs - oneMs) / 20;
  state.counters["key_cold_ms"] = Median(keyCold);
  state.counters["key_warm_ms"] = Median(keyWarm);
  state.counters["key_idle_ms"] = Median(keyIdle);
}
BENCHMARK(BM_EditorScript)->ArgName("lower")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
