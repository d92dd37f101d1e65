#include "fuzz_env.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "platform/platform.h"
#include "shell/vemlo.h"

namespace vemlo::fuzz {

namespace fs = std::filesystem;

namespace {

struct EnvHolder {
  FuzzEnv env;
  std::unique_ptr<FuzzHost> host;
  EnvHolder() {
    std::string pattern = (fs::temp_directory_path() / "vemlo-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    env.Root = pattern;
    platform::SetRegistryFile(env.Native("registry.ini"));
    ResetPluginState();
    host = std::make_unique<FuzzHost>();
    // Any window that waits for a key gets Esc, as from a user who closes it.
    host->SetInput(std::make_unique<sim::FunctionInput>([](INPUT_RECORD& rec) {
      rec = sim::KeyEvent(VK_ESCAPE, 0x1B);
      return true;
    }));
    sim::StartLinkedPlugin(*host);
    env.EditedNative = env.Native("EDIT.PRG");
    if (!host->OpenEditor(env.EditedNative)) throw std::runtime_error("cannot open the editor");
    env.Host = host.get();
  }
  ~EnvHolder() {
    ResetPluginState();
    host.reset();
    std::error_code ec;
    fs::remove_all(env.Root, ec);
  }
};

}  // namespace

std::string FuzzEnv::Dos(const std::string& name) const { return platform::ToDosPath(Native(name)); }

FuzzEnv& Env() {
  static EnvHolder holder;
  return holder.env;
}

ScratchFile::ScratchFile(const std::string& name, const std::string& bytes)
    : native_(Env().Native(name)), dos_(Env().Dos(name)) {
  std::ofstream out(native_, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + native_);
}

ScratchFile::~ScratchFile() {
  std::error_code ec;
  fs::remove(native_, ec);
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      continue;
    }
    line += c;
    open = true;
  }
  if (open) lines.push_back(line);
  return lines;
}

TxxLineReader VectorLineReader(const std::vector<std::string>& lines) {
  return [&lines](int n, std::string& text) {
    if (n < 0 || static_cast<size_t>(n) >= lines.size()) return false;
    text = lines[static_cast<size_t>(n)];
    return true;
  };
}

}  // namespace vemlo::fuzz
