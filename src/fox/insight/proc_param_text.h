// The parameter list of a project procedure, read from the PARAMETERS statement
// that follows its head.
#pragma once

#include <string>

#include "fox/model/edited_text.h"
#include "fox/model/program.h"

namespace vemlo {

// "(" list ")", "()" when the procedure has no PARAMETERS statement; empty only
// when the procedure's file on disk cannot be opened or read (or procIndex is
// out of range). The edited file is read from the edited text, any other from disk.
std::string ProcParamText(const TxxFoxProg& prog, int procIndex, const TxxEditedText& edited);

// The same over any text: lines firstLine..lastLine are searched for the
// statement, continuation lines are taken up to contLimit.
std::string ParamTextFromLines(const TxxLineReader& read, int firstLine, int lastLine,
                               int contLimit);

}  // namespace vemlo
