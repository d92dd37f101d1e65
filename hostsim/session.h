// A replacement host for tests: create it, open a file, run a script, look at
// the screen, the editor text, the beeps and the windows shown.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script_run.h"
#include "sim_host.h"

namespace vemlo::sim {

class Session {
 public:
  // The host runs alone until StartPlugin().
  explicit Session(SimHostOptions options = {});
  // Hands the host to the linked plug-in (SetStartupInfo) and routes keys through
  // its entry points (defined beside the binding, so that tests of the host alone
  // do not link the plug-in).
  void StartPlugin();

  SimHost& Host() { return *host_; }
  bool Open(const std::string& nativePath) { return host_->OpenEditor(nativePath); }
  // Runs the open editor with the script until it closes; the result is a kScript* code.
  int Run(const std::string& script);
  const std::string& Output() const { return output_; }  // what the dump steps printed
  const std::string& Error() const { return error_; }

  std::string Screen() { return host_->Screen().DumpUtf8(); }
  // The current (or last closed top-level) editor's text with its line ends (OEM bytes).
  std::string Text();
  int Beeps() const { return host_->BeepCount(); }
  const std::vector<ShownWindow>& Windows() const { return host_->Transcript(); }
  // The shown windows of one kind ("message", "menu", ...).
  std::vector<ShownWindow> WindowsOf(const std::string& kind) const;

 private:
  std::unique_ptr<SimHost> host_;
  std::string output_, error_;
};

}  // namespace vemlo::sim
