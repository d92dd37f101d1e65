#include "session.h"

#include <sstream>

namespace vemlo::sim {

Session::Session(SimHostOptions options) : host_(std::make_unique<SimHost>(std::move(options))) {}

int Session::Run(const std::string& script) {
  std::vector<ScriptStep> steps;
  if (!ParseScript(script, steps, error_)) return kScriptOpenError;
  std::ostringstream out;
  int status = RunScript(*host_, std::move(steps), {}, out, error_);
  output_ += out.str();
  return status;
}

std::string Session::Text() {
  const EditorWindow* ed = host_->LatestEditor();
  return ed ? EditorText(*ed) : "";
}

std::vector<ShownWindow> Session::WindowsOf(const std::string& kind) const {
  std::vector<ShownWindow> out;
  for (const ShownWindow& w : host_->Transcript())
    if (w.Kind == kind) out.push_back(w);
  return out;
}

}  // namespace vemlo::sim
