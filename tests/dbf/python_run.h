// Runs a script with Debian's python, the one that sees python3-dbf and
// python3-dbfread, for tests that compare the loader with what they read.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace vemlo::test {

inline constexpr const char* kPython = "/usr/bin/python3";

struct PythonRun {
  bool ModuleMissing = false;  // the script exited 77: a module it imports is not installed
  bool Ok = false;
  std::string Output;  // stdout and stderr together
};

// Writes `script` to `scriptPath`, runs it with `args`, output into `outputPath`.
inline PythonRun RunPython(const std::string& scriptPath, const std::string& script, const std::string& args,
                           const std::string& outputPath) {
  std::ofstream(scriptPath) << script;
  const std::string command = std::string(kPython) + " " + scriptPath + " " + args + " > " + outputPath + " 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream out(outputPath);
  PythonRun run;
  run.Output.assign(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>());
  run.ModuleMissing = WIFEXITED(status) && WEXITSTATUS(status) == 77;
  run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// Hex digits as the scripts print values; "-" stands for an empty value.
inline std::string FromHex(const std::string& hex) {
  if (hex == "-") return {};
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

}  // namespace vemlo::test
