// One-line edit field shared by the dialog and the input box: free text with
// horizontal scrolling, or a fixed-width field shaped by a mask.
#pragma once

#include <string>

#include "console.h"
#include "host/far_api.h"

namespace vemlo::sim {

struct LineEdit {
  std::string Text;
  std::string Mask;     // empty for free text
  size_t MaxLength = 511;
  int Pos = 0;          // cursor offset in Text
  int Left = 0;         // first offset shown
  bool Password = false;
  // The text given at the start is taken whole: a typed character replaces it
  // (as the host does with the last entry of a history field); any other key keeps it.
  bool Fresh = false;
};

// A free-text field (cursor at the end) or a masked one (cursor on the first slot).
LineEdit MakeLineEdit(const std::string& text, size_t maxLength);
LineEdit MakeMaskedEdit(const std::string& text, const std::string& mask);

// True when the key was an editing key and was handled.
bool EditKey(LineEdit& edit, const KEY_EVENT_RECORD& key);
// Draws the field over `width` columns and, when focused, puts the cursor there.
void DrawLineEdit(Console& con, LineEdit& edit, int x, int y, int width, unsigned char attr,
                  bool focused);

// Whether `c` may stand at a mask position: '9' digit, '#' digit, blank, '+' or '-',
// 'N' digit or blank, 'A' letter, 'X' any character; other mask bytes are literals.
bool IsMaskSlot(char maskChar);
bool FitsMask(char maskChar, unsigned char c);

}  // namespace vemlo::sim
