// Programs, the beep and the private temporary folder.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/platform.h"

extern char** environ;

namespace vemlo::platform {

RunResult RunProgram(const std::string& commandLine) {
  RunResult result;
  const char* argv[] = {"/bin/sh", "-c", commandLine.c_str(), nullptr};
  pid_t pid = 0;
  int rc = posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ);
  if (rc != 0) {
    result.Error = std::strerror(rc);
    return result;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      result.Error = std::strerror(errno);
      return result;
    }
  }
  // The shell's own codes for a command it could not find or could not execute.
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
    result.Error = "Command not found";
    return result;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 126) {
    result.Error = "Command cannot be executed";
    return result;
  }
  result.Started = true;
  return result;
}

namespace {

std::string& TempNativeDir() {
  static std::string dir;
  return dir;
}

void RemoveTempDirIfEmpty() {
  if (!TempNativeDir().empty()) rmdir(TempNativeDir().c_str());
}

}  // namespace

std::string TempDirectory() {
  static std::once_flag once;
  std::call_once(once, [] {
    // VEMLO_TEMP_DIR names the folder itself, so that scripted runs show the same
    // temporary names every time; the folder must exist.
    const char* fixed = std::getenv("VEMLO_TEMP_DIR");
    if (fixed && *fixed) {
      TempNativeDir() = fixed;
      return;
    }
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vemlo-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      pattern = "/tmp/vemlo-XXXXXX";
      if (!mkdtemp(pattern.data())) pattern = "/tmp";
    }
    if (pattern != "/tmp") {
      TempNativeDir() = pattern;
      std::atexit(RemoveTempDirIfEmpty);
    }
  });
  std::string dir = TempNativeDir().empty() ? std::string("/tmp") : TempNativeDir();
  std::string dos = ToDosPath(dir);
  if (dos.back() != '\\') dos += '\\';
  return dos;
}

}  // namespace vemlo::platform
