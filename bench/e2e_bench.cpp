// End to end: vemlo-edit --script on a generated project of 2,000 files and
// 1,000,000 lines, the edited file in its middle. Three scripts are timed in the
// same run: idle (the cursor placed, no command), one Ctrl+Space (and Esc), and
// 21 of them. Printed: idle_ms, one_ms, many_ms, cold_ms = one - idle (the first
// command: project load and parse) and warm_ms = (many - one) / 20 (one later
// Ctrl+Space with its refresh, list and repaint).
// Argument: 1 = names lower case on disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "bench_project.h"

extern char** environ;

namespace {

using vemlo::bench::MedianMs;
using vemlo::bench::Project;

const std::string kEditor = std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit";

// Runs vemlo-edit on the script; its output goes to `out` (a native path).
bool RunEditor(const std::string& script, const std::string& file, const std::string& registry,
               const std::string& out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {kEditor, "--script", script, "--registry", registry, file};
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

std::string Script(const Project& p, int commands, bool dump) {
  // On "   m.lnI = ..." after "m.lnI": completion of a variable of the procedure.
  std::string s = "goto " + std::to_string(p.CursorLine()) + " 8\n";
  for (int i = 0; i < commands; ++i) s += dump ? "Ctrl+Space\ndump screen\nEsc\n" : "Ctrl+Space\nEsc\n";
  return s;
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
  double idleMs = 0, oneMs = 0, manyMs = 0;
  bool ok = true;
  for (auto _ : state) {
    idleMs = MedianMs(5, [&] { ok &= RunEditor(idle, file, registry, out); });
    oneMs = MedianMs(5, [&] { ok &= RunEditor(one, file, registry, out); });
    manyMs = MedianMs(5, [&] { ok &= RunEditor(many, file, registry, out); });
  }
  if (!ok) state.SkipWithError("vemlo-edit failed");
  state.counters["idle_ms"] = idleMs;
  state.counters["one_ms"] = oneMs;
  state.counters["many_ms"] = manyMs;
  state.counters["cold_ms"] = oneMs - idleMs;
  state.counters["warm_ms"] = (manyMs - oneMs) / 20;
}
BENCHMARK(BM_EditorScript)->ArgName("lower")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
