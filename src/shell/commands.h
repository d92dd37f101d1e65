// The command dispatcher's table, the hot keys and the project information.
#pragma once

#include <string>

#include "host/far_api.h"

namespace vemlo {

// What the model needs before a command runs: no refresh; the project and the
// edited file; the edited file only; statements of the whole file rather than
// of the procedure at the cursor.
struct TxxRefresh {
  bool Model = true;
  bool OnlyCurrent = false;
  bool WholeFile = false;
};
inline constexpr TxxRefresh kRefreshNone{false, false, false};
inline constexpr TxxRefresh kRefreshProject{true, false, false};
inline constexpr TxxRefresh kRefreshCurrentFile{true, true, false};
inline constexpr TxxRefresh kRefreshWholeFile{true, false, true};

// A command of the dispatcher: its code, the refresh it needs, what it runs.
struct TxxCommand {
  int Code;
  TxxRefresh Refresh;
  void (*Run)();
};

// True when the edited file's extension is listed in "FileExtensions".
bool FileExtensionListed(const std::string& fileName);

// The project information message of the main menu.
void ShowProjectInfo();

// What a key of the editor asks for: a command code 0..12, the column ruler, or nothing.
enum : int { kHotKeyNone = -1, kHotKeyRuler = -2 };
int HotKeyAction(const KEY_EVENT_RECORD& key);

}  // namespace vemlo
