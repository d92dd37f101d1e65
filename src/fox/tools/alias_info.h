// Data alias information: which data-dictionary base or project table the word
// at the cursor stands for, with its record, fields, indexes and structure.
#pragma once

namespace vemlo {

void ShowDataAliasInfo();

}  // namespace vemlo
