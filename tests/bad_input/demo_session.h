// A copy of the demo project in a temporary folder, and runs of the script
// runner over it: what each run showed, left behind and changed.
#pragma once

#include <string>
#include <vector>

#include "script_process.h"
#include "temp_tree.h"

namespace vemlo::test {

// One command as a user starts it in the demo's MAIN.PRG: the script steps
// that place the cursor and dispatch it, then those that go on inside it (a
// message box shown while the project loads would take those). `Edits`: the
// command may change the text without a confirmation.
struct DemoCommand {
  const char* Name;
  const char* Start;
  const char* Then = "";
  bool Edits = false;
  std::string Keys() const { return std::string(Start) + Then; }
};
// Every command of the dispatcher (codes 0 to 12, some in more than one way)
// and the main menu's own actions that read project files.
const std::vector<DemoCommand>& DemoCommands();

struct DemoRun {
  ProcessResult Process;
  std::vector<std::string> Windows;  // "kind: title | line | ..." per modal window
  int Beeps = 0;
  std::string FinalText;             // the edited text as the editor was left
  std::vector<std::string> Changed;  // entries of the project, module folder and registry that changed
  int TempFilesLeft = 0;
  bool Parsed = false;               // the transcript was found in the output
};

// The demo project (copied from the build tree), the module folder and the
// options, all private to one test.
struct DemoProject {
  DemoProject();
  std::string Dir() const { return tree.Native("demo"); }
  std::string ModuleDir() const { return tree.Native("module"); }
  std::string Path(const std::string& rel) const { return Dir() + "/" + rel; }

  // Runs `keys` over the editor of `edited` (relative to the project).
  DemoRun Run(const std::string& keys, const std::string& edited = "MAIN.PRG",
              const std::string& panel = "data/CUSTOMER.DBF") const;

  TempTree tree;
};

// The number of the message of the English language file that a line shows, -1 if none.
int MessageNumber(const std::string& utf8Line);
// The message numbers of the reading problems that a run's message boxes show.
std::vector<int> ProblemMessages(const DemoRun& run);

// File damage used by the suites.
void TruncateFile(const std::string& path, double keep);
void PatchByte(const std::string& path, long offset, unsigned char value);
// The file can no longer be read: no read permission, or, for a user who reads
// everything anyway, a symbolic link to nowhere in its place.
void MakeUnreadable(const std::string& path);

}  // namespace vemlo::test
