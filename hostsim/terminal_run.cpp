#include "terminal_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>

#include "terminal_input.h"
#include "terminal_mode.h"
#include "terminal_screen.h"

namespace vemlo::sim {

namespace {

// The editor needs room for its title, a few text lines and the key bar; a
// smaller terminal shows the top left of that.
constexpr int kMinWidth = 20, kMinHeight = 5;

struct TerminalView {
  int Cols = 80, Rows = 25;
  ScreenRenderer Renderer;

  void Present(const Console& con) { WriteAll(STDOUT_FILENO, Renderer.Frame(con, Cols, Rows)); }
  void Measure() { TerminalSize(STDOUT_FILENO, Cols, Rows); }
};

void RunEditors(SimHost& host, const std::vector<std::string>& files, std::string& error) {
  TerminalMode mode(STDIN_FILENO, STDOUT_FILENO);
  TerminalView view;
  view.Measure();
  host.Resize(std::max(view.Cols, kMinWidth), std::max(view.Rows, kMinHeight));
  // The host gives its console back to the terminal's edge after every change.
  struct Unbind {
    SimHost& Host;
    ~Unbind() {
      Host.SetPresenter(nullptr);
      Host.SetClipboardSink(nullptr);
      Host.SetInput(nullptr);
    }
  } unbind{host};
  host.SetPresenter([&view](const Console& con) { view.Present(con); });
  // Copies go to the terminal's clipboard too, where it takes OSC 52.
  host.SetClipboardSink([](const std::string& utf8) { WriteAll(STDOUT_FILENO, ClipboardSequence(utf8)); });
  const char* term = std::getenv("TERM");
  TerminalInput::Callbacks callbacks;
  callbacks.Idle = [&] { view.Present(host.Screen()); };
  callbacks.Resized = [&] {
    view.Measure();
    view.Renderer.Invalidate();
    host.Resize(std::max(view.Cols, kMinWidth), std::max(view.Rows, kMinHeight));
    if (host.AtEditorPrompt()) host.RedrawCurrentEditor();
  };
  host.SetInput(std::make_unique<TerminalInput>(STDIN_FILENO, term ? term : "", callbacks));
  for (const std::string& file : files) {
    if (!host.OpenEditor(file)) {
      error = "cannot open " + file;
      return;
    }
  }
  host.SwitchTo(0);
  host.RunEditor();
}

}  // namespace

int RunTerminal(SimHost& host, const std::vector<std::string>& files, std::string& error) {
  error.clear();
  try {
    RunEditors(host, files, error);
  } catch (const std::exception& e) {
    error = e.what();
  }
  return error.empty() ? 0 : 1;
}

}  // namespace vemlo::sim
