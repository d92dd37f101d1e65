// Replaying a key script over the replacement host (the script runner and tests).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "script.h"
#include "sim_host.h"

namespace vemlo::sim {

enum : int {
  kScriptDone = 0,          // the script ran to its end
  kScriptNotFinished = 1,   // every window closed while keys were left
  kScriptOpenError = 2,     // a file could not be opened
  kScriptInputExhausted = 3 // the windows did not close after the script
};

// Carries out one non-key step on the current editor; dumps go to `out`.
void RunDirective(SimHost& host, const ScriptStep& step, std::ostream& out);

// The screen and the editor text in the dump formats.
std::string ScreenDump(SimHost& host);
std::string TextDump(SimHost& host);
// Every modal window the host showed (kind, title, lines), the beeps, and the
// text of the last editor as it was left: what a run did, after the fact.
std::string TranscriptDump(SimHost& host);

// Opens the files (native paths; none: the files already open in the host), the
// first of them current, and runs the editor over them while the script feeds it.
// With keyTimes, the time the host took over each key is put there.
int RunScript(SimHost& host, std::vector<ScriptStep> steps, const std::vector<std::string>& files,
              std::ostream& out, std::string& error, std::vector<KeyTime>* keyTimes = nullptr);

}  // namespace vemlo::sim
