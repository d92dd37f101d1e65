// Generated FoxPro projects for the benchmarks, and the in-process baselines
// (read loop, stat loop) that figures are printed beside.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace vemlo::bench {

namespace fs = std::filesystem;

constexpr int kProcEvery = 50;  // one procedure every 50 lines

// A program file of `lines` lines: comment headers, declarations, continued
// IF lines and assignments with end-of-line comments.
inline std::string ProgramText(int file, int lines, int variant) {
  std::string text;
  text.reserve(size_t(lines) * 26);
  for (int line = 0; line < lines; ++line) {
    const int k = line % kProcEvery;
    if (k == 0) {
      text.append("* procedure ").append(std::to_string(line / kProcEvery)).append("\r\n");
    } else if (k == 1) {
      text.append("PROCEDURE p").append(std::to_string(file)).append("_");
      text.append(std::to_string(line / kProcEvery)).append("_").append(std::to_string(variant));
      text.append("(a, b)\r\n");
    } else if (k == 2) {
      text += "PRIVATE lnI, lcText\r\n";
    } else if (k == 3) {
      text += "DIMENSION laX(10), laY(2,3)\r\n";
    } else if (k % 7 == 0) {
      text += "IF m.lnI > 1 AND ;\r\n";
    } else if (k % 7 == 1) {
      text += "   m.lnI < 10\r\n";
    } else {
      text.append("   m.lnI = m.lnI + ").append(std::to_string(k)).append("  && step\r\n");
    }
  }
  return text;
}

// A temporary folder removed with the object.
struct TempRoot {
  TempRoot() {
    std::string pattern = (fs::temp_directory_path() / "vemlo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    Path = pattern;
  }
  ~TempRoot() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string Path;
};

// One generated project: `files` program files of `lines` lines in one source
// folder with the settings file. With lower set, the folder and the file names
// are lower case on disk (as projects kept in git usually are); the model asks
// for them in upper case either way.
struct Project {
  Project(const std::string& root, int files, int lines, bool lower)
      : Files(files), Lines(lines), Lower(lower) {
    Dir = root + (lower ? "/src" : "/SRC");
    fs::create_directories(Dir);
    std::ofstream(Dir + "/vemlo.ini") << "[PROJ]\r\nPrgSearchMask = .\\*.PRG\r\n";
    for (int i = 0; i < files; ++i) {
      const std::string text = ProgramText(i, lines, 0);
      Bytes += text.size();
      std::ofstream(Native(i), std::ios::binary) << text;
    }
  }
  std::string Name(int i) const {
    std::string name = Lower ? "f" : "F";
    return name.append(std::to_string(10000 + i)).append(Lower ? ".prg" : ".PRG");
  }
  std::string Native(int i) const { return Dir + "/" + Name(i); }
  int Edited() const { return Files / 2; }
  // A line inside a procedure in the middle of the edited file.
  int CursorLine() const { return (Lines / 2 / kProcEvery) * kProcEvery + 5; }

  std::string Dir;
  int Files, Lines;
  bool Lower;
  uint64_t Bytes = 0;
};

// Projects made on first use and kept for the run, under one temporary root
// mapped to drive P: (the model sees P:\<case>_<files>_<lines>\SRC\...).
inline Project& TheProject(int files, int lines, bool lower) {
  static TempRoot root;
  static std::map<std::tuple<int, int, bool>, std::unique_ptr<Project>> made;
  setenv("VEMLO_DRIVE_P", root.Path.c_str(), 1);
  auto& slot = made[{files, lines, lower}];
  if (!slot) {
    const std::string sub = root.Path + "/" + (lower ? "lower_" : "upper_") + std::to_string(files) +
                            "_" + std::to_string(lines);
    slot = std::make_unique<Project>(sub, files, lines, lower);
  }
  return *slot;
}

inline double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread: on a shared machine it leaves out the time
// spent waiting for a core.
inline double ThreadCpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The median of the values (0 for none).
inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The median of `runs` timings of fn, in milliseconds.
template <typename Fn>
double MedianMs(int runs, Fn fn) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    fn();
    t.push_back(NowMs() - start);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// Baseline: every file of the project opened, read whole and closed in-process.
inline uint64_t ReadAll(const Project& p) {
  static std::vector<char> buffer(1 << 16);
  uint64_t total = 0;
  for (int i = 0; i < p.Files; ++i) {
    const int fd = open(p.Native(i).c_str(), O_RDONLY);
    for (ssize_t n; (n = read(fd, buffer.data(), buffer.size())) > 0;) total += uint64_t(n);
    close(fd);
  }
  return total;
}

// Baseline: one stat of every file by its native path.
inline uint64_t StatAll(const Project& p) {
  uint64_t sum = 0;
  struct stat st;
  for (int i = 0; i < p.Files; ++i)
    if (stat(p.Native(i).c_str(), &st) == 0) sum += uint64_t(st.st_mtime);
  return sum;
}

}  // namespace vemlo::bench
