// A replacement host with the plug-in started on it, an open editor and a queue
// of input events, for tests that call the plug-in's routines directly.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim_host.h"
#include "temp_tree.h"

namespace vemlo::test {

class PluginHost {
 public:
  // Opens `fileName` (relative to the tree) with `text` in the editor.
  explicit PluginHost(const std::string& text = "", const std::string& fileName = "MAIN.PRG",
                      sim::SimHostOptions options = {});
  ~PluginHost();

  sim::SimHost& Host() { return *host_; }
  TempTree& Tree() { return tree_; }
  std::string EditedPath() const { return edited_; }  // DOS path

  // Queues events: key names as the script runner knows them, or "type TEXT".
  void Keys(const std::vector<std::string>& names);
  size_t PendingKeys() const { return queue_.size(); }
  std::string Screen() { return host_->Screen().DumpUtf8(); }
  std::string Row(int y);  // one screen row as UTF-8, trailing blanks removed
  std::string Text();      // the editor text, lines joined by "\n"
  std::vector<sim::ShownWindow> WindowsOf(const std::string& kind) const;
  int TempFiles();         // files left in the temporary folder
  // The text of the last editor window opened over the edited file, as it was
  // when it last waited for a key (lines joined by "\n").
  const std::string& NestedEditorText() const { return nestedText_; }
  // The screen as it was when the last queued key was read (what a window that
  // has closed since showed while it waited), and one row of it.
  const std::string& ScreenAtLastKey() const { return keyScreen_; }
  std::string RowAtLastKey(int y) const;

 private:
  TempTree tree_;
  std::string edited_;
  std::unique_ptr<sim::SimHost> host_;
  std::deque<INPUT_RECORD> queue_;
  std::string nestedText_;
  std::string keyScreen_;
};

}  // namespace vemlo::test
