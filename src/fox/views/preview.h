// Source preview: a project procedure or a statement of the current procedure
// in the host's viewer, below the cursor line.
#pragma once

#include <string>

namespace vemlo {

// True when the name is a procedure of the project, shown or not.
bool PreviewProc(const std::string& name);
// The same for a word of the text (FindProcForWord: THIS.Method, Class.Method,
// a method of the cursor's class by its bare name, then procedures).
bool PreviewWord(const std::string& qualifier, const std::string& word);
// Entry procIndex of file fileIndex of the project; false when there is none.
bool PreviewProcAt(int fileIndex, int procIndex);
void PreviewStatement(int statement);

// The viewer's top row for lines firstLine..lastLine with the cursor on screen
// row cursorRow of an editor window windowHeight rows high.
int PreviewTop(int cursorRow, int firstLine, int lastLine, int windowHeight);

}  // namespace vemlo
