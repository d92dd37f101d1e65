// vemlo-edit: the replacement host as a program. In a terminal it is a
// full-screen editor with the plug-in loaded; with --script it replays a key
// script over the editor and prints the dumps the script asks for.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "codepage.h"
#include "platform/platform.h"
#include "script.h"
#include "script_run.h"
#include "sim_host.h"
#include "terminal_run.h"

namespace {

int Usage(const std::string& why) {
  std::cerr << "vemlo-edit: " << why << "\n"
            << "usage: vemlo-edit [--codepage CP] [--registry FILE] [--panel PATH] [--module-dir DIR]\n"
            << "                  FILE...\n"
            << "       vemlo-edit --script KEYS [--size WxH] [--codepage CP] [--registry FILE]\n"
            << "                  [--panel PATH] [--module-dir DIR] [--transcript]\n"
            << "                  [--key-times FILE] FILE...\n"
            << "  --codepage    read the files in code page CP: 866 (DOS), 1251, 1252 or\n"
            << "                UTF-8; without it a UTF-8 file is recognised, others are 866\n"
            << "  --transcript  after the script, print the windows shown, the beeps and\n"
            << "                the final editor text\n"
            << "  --key-times   write to FILE, for each key of the script, its script line\n"
            << "                and the milliseconds until the editor read the next input\n";
  return 2;
}

bool ParseSize(const std::string& s, int& w, int& h) {
  size_t x = s.find_first_of("xX");
  if (x == std::string::npos) return false;
  char* end = nullptr;
  long lw = std::strtol(s.c_str(), &end, 10);
  if (end != s.c_str() + x) return false;
  long lh = std::strtol(s.c_str() + x + 1, &end, 10);
  if (*end != 0) return false;
  if (lw < 20 || lw > 1000 || lh < 5 || lh > 1000) return false;
  w = static_cast<int>(lw);
  h = static_cast<int>(lh);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vemlo::sim;
  SimHostOptions options;
  std::string scriptPath, registry, keyTimesPath;
  bool transcript = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--script") {
      if (!value(scriptPath)) return Usage("--script needs a file");
    } else if (arg == "--key-times") {
      if (!value(keyTimesPath)) return Usage("--key-times needs a file");
    } else if (arg == "--transcript") {
      transcript = true;
    } else if (arg == "--size") {
      if (!value(v) || !ParseSize(v, options.Width, options.Height))
        return Usage("--size takes WxH, e.g. 80x25");
    } else if (arg == "--codepage") {
      if (!value(v) || !(options.FileCodePage = ParseCodePage(v)))
        return Usage("--codepage takes 866, 1251, 1252 or UTF-8");
    } else if (arg == "--registry") {
      if (!value(registry)) return Usage("--registry needs a file");
    } else if (arg == "--panel") {
      if (!value(options.PanelPath)) return Usage("--panel needs a path");
    } else if (arg == "--module-dir") {
      if (!value(options.ModuleDir)) return Usage("--module-dir needs a folder");
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      return Usage("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) return Usage("no file to edit");
  if (!registry.empty()) vemlo::platform::SetRegistryFile(registry);

  if (scriptPath.empty()) {
    SimHost host(options);
    StartLinkedPlugin(host);
    std::string error;
    int status = RunTerminal(host, files, error);
    if (status != 0) std::cerr << "vemlo-edit: " << error << "\n";
    return status;
  }

  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) return Usage("cannot read the script " + scriptPath);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<ScriptStep> steps;
  std::string error;
  if (!ParseScript(text, steps, error)) {
    std::cerr << "vemlo-edit: " << error << "\n";
    return 2;
  }
  SimHost host(options);
  StartLinkedPlugin(host);
  std::vector<KeyTime> keyTimes;
  int status = RunScript(host, std::move(steps), files, std::cout, error,
                         keyTimesPath.empty() ? nullptr : &keyTimes);
  if (!keyTimesPath.empty()) {
    std::ofstream times(keyTimesPath, std::ios::trunc);
    for (const KeyTime& t : keyTimes) times << t.SourceLine << ' ' << t.Ms << '\n';
    if (!times) {
      std::cerr << "vemlo-edit: cannot write " << keyTimesPath << "\n";
      if (status == kScriptDone) status = kScriptOpenError;
    }
  }
  if (transcript) std::cout << TranscriptDump(host);
  std::cout.flush();
  if (status != kScriptDone) std::cerr << "vemlo-edit: " << error << "\n";
  return status;
}
