// The replacement host: the host interface over a virtual console, a stack of
// editor windows, the language file, the palette, the panels, input history and
// the modal windows of ui.h.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "console.h"
#include "editor.h"
#include "host/far_api.h"
#include "input.h"
#include "platform/platform.h"
#include "ui.h"

namespace vemlo::sim {

// The plug-in's entry points the editor loop calls; empty ones are left out, so
// the host also runs without a plug-in.
struct PluginEntries {
  std::function<int(const INPUT_RECORD&)> ProcessEditorInput;
  std::function<void()> OpenPluginMenu;  // F11
  std::function<void()> Configure;       // Alt+Shift+F9
};
class SimHost;
PluginEntries LinkedPlugin();  // the entry points of vemlo_plugin (plugin_entries.cpp)
// Hands the host to the linked plug-in (SetStartupInfo) and binds its entry points.
void StartLinkedPlugin(SimHost& host);

// A modal window the host showed, for tests and transcripts.
struct ShownWindow {
  std::string Kind;  // "message", "menu", "dialog", "input", "viewer", "help", "editor"
  std::string Title;
  std::vector<std::string> Lines;
};

struct SimHostOptions {
  int Width = 80, Height = 25;
  std::string ModuleDir;  // native path; empty: VEMLO_MODULE_DIR
  std::string PanelPath;  // native path of the file under the panel cursor
};

class SimHost : public FarHost {
 public:
  explicit SimHost(SimHostOptions options = {});
  ~SimHost() override;
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // ---- Setting up ----
  void SetInput(std::unique_ptr<InputSource> input) { input_ = std::move(input); }
  void SetPlugin(PluginEntries plugin) { plugin_ = std::move(plugin); }
  // Called with the console after each flush (the terminal front end presents it).
  void SetPresenter(std::function<void(const Console&)> present) { present_ = std::move(present); }
  PluginStartupInfo StartupInfo();
  const std::string& ModuleDir() const { return moduleDir_; }

  // ---- The editor windows ----
  // Opens a native path as a top-level editor (a missing file gives an empty buffer).
  bool OpenEditor(const std::string& nativePath);
  // Runs the key loop of the current editor until it closes; returns EEC_*.
  int RunEditor();
  EditorWindow* CurrentEditor() { return editors_.empty() ? nullptr : editors_.back().get(); }
  // The current editor, or the top-level one that closed last.
  const EditorWindow* LatestEditor() const;
  int EditorDepth() const { return static_cast<int>(editors_.size()); }
  void RedrawCurrentEditor();
  // A new console size (the terminal was resized); full-screen windows follow it.
  void Resize(int width, int height);

  // ---- State for tests and front ends ----
  Console& Screen() { return screen_; }
  int BeepCount() const { return beeps_; }
  const std::vector<ShownWindow>& Transcript() const { return transcript_; }
  bool InputEnded() const { return escAfterEnd_ > 0; }
  bool ReadInput(INPUT_RECORD& rec);  // the host's input; Esc once the input has ended
  UiEnv& Ui() { return ui_; }
  // True while an editor loop itself waits for a key (no modal window, no plug-in
  // call open): the editor may then be redrawn between keys.
  bool AtEditorPrompt() const { return atEditorPrompt_; }
  std::string ConsoleTitleText() const { return consoleTitle_; }

  // ---- FarHost ----
  const char* GetMsg(int pluginNumber, int msgId) override;
  int Message(int pluginNumber, unsigned flags, const char* helpTopic, const char* const* items,
              int itemsNumber, int buttonsNumber) override;
  int Menu(int pluginNumber, int x, int y, int maxHeight, unsigned flags, const char* title,
           const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
           const FarMenuItem* item, int itemsNumber) override;
  int DialogEx(int pluginNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
               FarDialogItem* item, int itemsNumber, unsigned reserved, unsigned flags,
               FarDialogProc dlgProc, intptr_t param) override;
  intptr_t SendDlgMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) override;
  intptr_t DefDlgProc(HANDLE hDlg, int msg, int param1, intptr_t param2) override;
  int EditorControl(int command, void* param) override;
  int Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
             unsigned flags, int startLine, int startChar) override;
  int Viewer(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
             unsigned flags) override;
  void Text(int x, int y, int color, const char* str) override;
  HANDLE SaveScreen(int x1, int y1, int x2, int y2) override;
  void RestoreScreen(HANDLE hScreen) override;
  int Control(HANDLE hPlugin, int command, void* param) override;
  intptr_t AdvControl(int moduleNumber, int command, void* param) override;
  int ShowHelp(const char* moduleName, const char* topic, unsigned flags) override;
  int InputBox(const char* title, const char* subTitle, const char* historyName,
               const char* srcText, char* destText, int destLength, const char* helpTopic,
               unsigned flags) override;
  char* MkTemp(char* dest, const char* prefix) override;

  static constexpr int kModuleNumber = 1;
  static constexpr int kMaxEscAfterEnd = 1000;

 private:
  int EditorCommand(EditorWindow& ed, int command, void* param);
  void ProcessEditorKey(EditorWindow& ed, const INPUT_RECORD& rec);
  // The host's handling of a key the plug-in left: true when the window closes.
  bool HostKey(EditorWindow& ed, const INPUT_RECORD& rec, bool topLevel);
  bool ConfirmClose(EditorWindow& ed);
  void ShowEditorHelp();
  void ShowError(const std::string& text);
  void Record(std::string kind, std::string title, std::vector<std::string> lines);
  void InstallConsoleBackend();
  void Flush();
  void WriteTeletype(const std::string& text);
  std::string HelpFilePath() const;

  SimHostOptions options_;
  std::string moduleDir_;
  Console screen_;
  UiEnv ui_;
  std::unique_ptr<InputSource> input_;
  PluginEntries plugin_;
  std::function<void(const Console&)> present_;
  std::vector<std::string> messages_;
  std::vector<std::unique_ptr<EditorWindow>> editors_;
  std::unique_ptr<EditorWindow> lastClosed_;
  int nextEditorId_ = 1;
  std::set<Console::Saved*> savedScreens_;
  std::map<std::string, std::vector<std::string>> history_;
  std::vector<ShownWindow> transcript_;
  int beeps_ = 0;
  int escAfterEnd_ = 0;
  unsigned tempCounter_;
  std::set<std::string> tempNames_;
  std::string consoleTitle_;
  PanelInfo panel_;
  PluginPanelItem panelItem_;
  std::string moduleName_;
  std::shared_ptr<platform::ConsoleBackend> backend_;
  int processInputDepth_ = 0;
  bool atEditorPrompt_ = false;
};

}  // namespace vemlo::sim
