// vemlo-lsp latency on a generated project of 1,000,000 lines (a main program
// and 99 procedure libraries of 10,000 lines each): completion and hover
// after the first request, each beside a raw read of the same document from
// disk measured in the same run. Usage: lsp_bench [repetitions]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "vemlo-lsp/documents.h"
#include "vemlo-lsp/methods.h"
#include "vemlo-lsp/session.h"
#include "vemlo-lsp/uri.h"

namespace {

namespace fs = std::filesystem;
using vemlo::lsp::json;

constexpr int kFiles = 100;
constexpr int kLinesPerFile = 10000;
constexpr int kProcEvery = 50;

// A program of kLinesPerFile lines: a commented procedure every kProcEvery
// lines with its declarations, a loop, a condition and assignments.
std::string ProgramText(int file) {
  std::string text;
  for (int line = 0; line < kLinesPerFile; ++line) {
    const int k = line % kProcEvery, proc = line / kProcEvery;
    const std::string id = std::to_string(file) + "_" + std::to_string(proc);
    switch (k) {
      case 0: text += "* p" + id + " - procedure " + id + " of the generated project\r\n"; break;
      case 1: text += "PROCEDURE p" + id + "\r\n"; break;
      case 2: text += "PARAMETERS a, b\r\n"; break;
      case 3: text += "PRIVATE lnI, lcText" + id + "\r\n"; break;
      case 4: text += "FOR lnI = 1 TO 10\r\n"; break;
      case 10: text += "ENDFOR\r\n"; break;
      case 11: text += "IF a > b ;\r\n"; break;
      case 12: text += "   AND lnI > 0\r\n"; break;
      case 20: text += "ENDIF\r\n"; break;
      case kProcEvery - 1: text += "RETURN\r\n"; break;
      default: text += "   lcText" + id + " = SUBSTR(a, lnI, 1)  && a comment\r\n"; break;
    }
  }
  return text;
}

struct GeneratedProject {
  GeneratedProject() {
    char tmpl[] = "/tmp/vemlo-lsp-bench-XXXXXX";
    dir = mkdtemp(tmpl);
    fs::create_directories(dir + "/lib");
    std::ofstream(dir + "/vemlo.ini") << "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\nLibSearchMask=>\\lib\\*.prg\r\n";
    for (int f = 0; f < kFiles; ++f) {
      const std::string name = f == 0 ? dir + "/MAIN.PRG" : dir + "/lib/L" + std::to_string(f) + ".PRG";
      std::ofstream(name, std::ios::binary) << ProgramText(f);
    }
  }
  ~GeneratedProject() { fs::remove_all(dir); }
  std::string dir;
};

using Clock = std::chrono::steady_clock;

template <class F>
double MedianMs(int reps, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < reps; ++i) {
    const auto t0 = Clock::now();
    f();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

json Call(vemlo::lsp::Session& s, const char* method, const json& params) {
  for (const vemlo::lsp::MethodEntry& e : vemlo::lsp::Methods())
    if (std::string(e.Name) == method) return e.Request(s, params);
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
  GeneratedProject project;
  const std::string main = project.dir + "/MAIN.PRG";
  std::string bytes;
  {
    std::ifstream in(main, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  vemlo::lsp::Session s;
  vemlo::lsp::Initialize(s, {{"initializationOptions", {{"codePage", "866"}}}});
  const std::string uri = vemlo::lsp::UriOfPath(main);
  const auto t0 = Clock::now();
  vemlo::lsp::DidOpen(s, {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", bytes}}}});
  const double first = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();

  // A call typed in procedure 100 of the main program: "DO p5" completes to
  // the procedures of the libraries that start so; hover on the full name
  // shows that procedure's head and comment, read from its file.
  const int line = 100 * kProcEvery + 30;
  const std::string use = "   DO p57_120";
  vemlo::lsp::DidChange(s, {{"textDocument", {{"uri", uri}, {"version", 2}}},
                            {"contentChanges", json::array({{{"range", {{"start", {{"line", line}, {"character", 0}}},
                                                                        {"end", {{"line", line}, {"character", 0}}}}},
                                                             {"text", use + "\n"}}})}});
  const json completeAt = {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", 8}}}};
  json items;
  const double complete = MedianMs(reps, [&] { items = Call(s, "textDocument/completion", completeAt); });
  const json hoverAt = {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", 8}}}};
  json hover;
  const double hovered = MedianMs(reps, [&] { hover = Call(s, "textDocument/hover", hoverAt); });
  const double raw = MedianMs(reps, [&] {
    std::ifstream in(main, std::ios::binary);
    std::string b(std::istreambuf_iterator<char>(in), {});
    volatile size_t n = vemlo::lsp::SplitLines(b).size();
    (void)n;
  });
  std::printf("vemlo-lsp on %d lines (%d files); median of %d requests after the first\n", kFiles * kLinesPerFile,
              kFiles, reps);
  std::printf("  open + first refresh (project load)  %9.2f ms\n", first);
  std::printf("  completion                           %9.2f ms  (%zu items)  baseline raw read of MAIN.PRG %7.2f ms  ratio %5.1f\n",
              complete, items["items"].size(), raw, complete / raw);
  std::printf("  hover on a library procedure         %9.2f ms  (%s)  baseline raw read of MAIN.PRG %7.2f ms  ratio %5.1f\n",
              hovered, hover.is_null() ? "no answer" : "answered", raw, hovered / raw);
  const bool ok = complete < 20 && hovered < 20 && !items["items"].empty() && !hover.is_null();
  std::printf("  %s: completion and hover under 20 ms\n", ok ? "met" : "NOT met");
  return ok ? 0 : 1;
}
