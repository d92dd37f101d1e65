// The commands as a user starts them in the demo's MAIN.PRG (lines and columns
// from 0): line 47 is empty, 71 holds LTRIM(STR(_TALLY)), 82 opens the main
// loop, 86 calls YesNo(, 94 calls CloseDay, 148 names CUSTOMER.
#include "demo_session.h"

namespace vemlo::test {

// The steps after the start are chosen so that, when a message box takes the
// first of them, the rest cannot reach the editor as typing.
const std::vector<DemoCommand>& DemoCommands() {
  static const std::vector<DemoCommand> commands = {
      {"completion", "goto 47 0\nCtrl+Space\n"},
      {"completion-whole-file", "goto 47 0\nCtrl+Alt+Space\n"},
      // "." opens the list by itself (the demo's options switch that on); typing edits.
      {"completion-table-fields", "goto 47 0\ntype article.\n", "F3\n", true},
      {"completion-dictionary-fields", "goto 47 0\ntype ordhist.\n", "", true},
      {"hint-procedure", "goto 86 22\nCtrl+Shift+Space\n"},
      {"hint-function", "goto 71 25\nCtrl+Shift+Space\n"},
      {"f1-procedure", "goto 94 10\nF1\n"},
      {"f1-help", "goto 71 22\nF1\n", "Enter\n"},
      {"f1-choose-base", "goto 71 22\nShift+F1\n", "Enter\nEnter\n"},
      {"procedure-list", "goto 82 0\nCtrl+Shift+Up\n"},
      {"structure-review", "goto 82 0\nCtrl+Shift+Down\n"},
      {"table-structure", "F11\ns\nEnter\n"},
      {"formatter", "goto 120 0\nF11\ns\nEnd\nEnter\n"},
      {"alias-info", "goto 148 14\nF11\nd\n", "End\nEnter\n"},
      {"procedure-report", "F11\nr\n", "Enter\n"},
      {"dictionary-report", "F11\nr\n", "Down\nEnter\n"},
      {"audit-defines", "goto 22 0\nF11\ns\nDown\nEnter\n"},
      {"audit-call", "goto 22 0\nF11\ns\nDown\nDown\nEnter\n"},
      {"project-information", "F11\nn\n"},
      {"insert-key", "F11\ni\nEnter\n", "", true},
      {"comment-block", "select 46 0 48 0\nF11\nc\n", "", true},
  };
  return commands;
}

}  // namespace vemlo::test
