// The command dispatcher's table and busy flag.
#pragma once

#include <string>

#include "host/far_api.h"

namespace vemlo {

// A command of the dispatcher: what it runs for one command code.
struct TxxCommand {
  int Code;
  void (*Run)();
};

// True when the edited file's extension is listed in "FileExtensions".
bool FileExtensionListed(const std::string& fileName);

void ClearBusy();

// Command 0 for the typed "." trigger.
int DispatchTypedTrigger();

// The project information message of the main menu.
void ShowProjectInfo();

// What a key of the editor asks for: a command code 0..12, the column ruler, or nothing.
enum : int { kHotKeyNone = -1, kHotKeyRuler = -2 };
int HotKeyAction(const KEY_EVENT_RECORD& key);

}  // namespace vemlo
