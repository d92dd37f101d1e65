// The command dispatcher's table and busy flag.
#pragma once

#include <string>

namespace vemlo {

// A command of the dispatcher: what it runs for one command code.
struct TxxCommand {
  int Code;
  void (*Run)();
};

// True when the edited file's extension is listed in "FileExtensions".
bool FileExtensionListed(const std::string& fileName);

void ClearBusy();

}  // namespace vemlo
