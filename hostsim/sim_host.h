// The replacement host: the host interface over a virtual console, the open
// files and the editor windows the plug-in opens over them, the language file,
// the palette, the panels, input history, the clipboard and the modal windows
// of ui.h.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "console.h"
#include "editor.h"
#include "editor_blocks.h"
#include "editor_search.h"
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
  // The code page files are read in; none: UTF-8 where recognised, else 866.
  std::optional<CodePage> FileCodePage;
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
  // Opens a native path as one more file (a missing file gives an empty buffer)
  // and makes it the current one; a file open already only becomes current.
  bool OpenEditor(const std::string& nativePath);
  // Runs the editor over the open files (F12 switches between them) until every
  // one is closed; returns EEC_*.
  int RunEditor();
  // The editor the keys go to: the newest window the plug-in opened, else the
  // current file.
  EditorWindow* CurrentEditor();
  // The current editor, or the file that closed last.
  const EditorWindow* LatestEditor() const;
  // The current file's window (1) and the windows the plug-in opened over it.
  int EditorDepth() const;
  int FileCount() const { return static_cast<int>(files_.size()); }
  void SwitchTo(int file) { current_ = std::clamp<size_t>(static_cast<size_t>(std::max(0, file)), 0, files_.empty() ? 0 : files_.size() - 1); }
  void RedrawCurrentEditor();
  // The editors drawn again from their text (after a resize, or when a window
  // of the plug-in closed); what the plug-in drew over them goes.
  void RedrawBackdrop();
  // A new console size (the terminal was resized); full-screen windows follow it.
  void Resize(int width, int height);

  // ---- State for tests and front ends ----
  Console& Screen() { return screen_; }
  int BeepCount() const { return beeps_; }
  const std::vector<ShownWindow>& Transcript() const { return transcript_; }
  bool InputEnded() const { return escAfterEnd_ > 0; }
  // The host's input; Esc once the input has ended. A paste reaches the editor as
  // one paste event (its text: PastedText) and any other window as typed keys.
  bool ReadInput(INPUT_RECORD& rec);
  const std::u32string& PastedText() const { return paste_; }
  Clipboard& TheClipboard() { return clipboard_; }
  // The terminal's clipboard is offered each copy (UTF-8).
  void SetClipboardSink(std::function<void(const std::string&)> sink) { clipboard_.Offer = std::move(sink); }
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
  enum class WindowEnd { Stay, Close, Switch };
  struct QueuedEvent {
    INPUT_RECORD Rec;
    std::u32string Paste;
  };
  // Keys that were waiting when a message box that waits opened: the box takes
  // only keys that come after it showed, and these follow in their order after it.
  class TypeaheadHold {
   public:
    explicit TypeaheadHold(SimHost& host);
    ~TypeaheadHold() { --host_.holdDepth_; }
    TypeaheadHold(const TypeaheadHold&) = delete;
    TypeaheadHold& operator=(const TypeaheadHold&) = delete;

   private:
    SimHost& host_;
  };
  // When a viewer or editor the plug-in opened closes, the editors below are
  // drawn again, as the real host does: what the plug-in drew around it goes.
  class BackdropOnClose {
   public:
    explicit BackdropOnClose(SimHost& host);
    ~BackdropOnClose();
    BackdropOnClose(const BackdropOnClose&) = delete;
    BackdropOnClose& operator=(const BackdropOnClose&) = delete;

   private:
    SimHost& host_;
    int cursorX_, cursorY_;
    bool cursorVisible_;
  };

  int EditorCommand(EditorWindow& ed, int command, void* param);
  void ProcessEditorKey(EditorWindow& ed, const INPUT_RECORD& rec);
  // The key loop of one window, until it closes (or, for a file, another is chosen).
  WindowEnd RunWindow(EditorWindow& ed, bool topLevel);
  // The host's handling of a key the plug-in left.
  WindowEnd HostKey(EditorWindow& ed, const INPUT_RECORD& rec, bool topLevel);
  bool ConfirmClose(EditorWindow& ed, bool escape);
  void ShowEditorHelp();
  void ShowError(const std::vector<std::string>& lines);
  // Shows a message box (focus: the button first focused) and records it.
  int MessageBox(unsigned flags, const std::vector<std::string>& lines, int buttons, int focus = 0,
                 const std::string& helpTopic = "");
  void ReportRefusal(EditorWindow& ed);
  void InsertPaste(EditorWindow& ed, const std::u32string& text);
  // The editor's commands (host_commands.cpp).
  bool Save(EditorWindow& ed);
  void SaveAs(EditorWindow& ed);
  WindowEnd OpenPrompt();
  WindowEnd SwitchMenu();
  void GoToPrompt(EditorWindow& ed);
  void SearchDialog(EditorWindow& ed, bool replace);
  void SearchAgain(EditorWindow& ed, bool otherWay);
  void Replace(EditorWindow& ed, const std::u32string& with);
  void ShowFound(EditorWindow& ed, const SearchHit& hit, int length);
  void ShowNotFound();
  void CodePageMenu(EditorWindow& ed);
  void ChangeCodePage(EditorWindow& ed, CodePage cp);
  std::optional<std::string> AskLine(const std::string& title, const std::string& prompt,
                                     const std::string& history, const std::string& initial);
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
  std::vector<std::unique_ptr<EditorWindow>> files_;  // the open files
  size_t current_ = 0;
  std::vector<std::unique_ptr<EditorWindow>> modal_;  // windows the plug-in opened
  std::unique_ptr<EditorWindow> lastClosed_;
  Clipboard clipboard_;
  SearchOptions searchOptions_;
  std::u32string searchText_, replaceText_;
  std::deque<QueuedEvent> typeahead_;
  std::deque<INPUT_RECORD> pasteKeys_;  // a paste typed out for a window other than the editor
  int holdDepth_ = 0;
  std::u32string paste_;
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
