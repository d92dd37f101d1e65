// vemlolib: the shell's small commands: the key-table menu and the comment block.
#pragma once

#include <string>

namespace vemlo {

void PickFoxKey(bool nameOnly, std::string& result);
void CommentBlock();

}  // namespace vemlo
