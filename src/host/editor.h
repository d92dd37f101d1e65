// The typed editor layer: lines, the word at the cursor, jumps, insertion and
// deletion, bookmarks, the key bar and the editor's keys.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fox/model/edited_text.h"
#include "host/far_api.h"
#include "lib/xxlib.h"

namespace vemlo {

using TxxFarBookmark = TxxBookmark;
using TxxFarBookmarkArr = TxxBookmarkArr;

EditorInfo FarEditorInfo();
std::string FarEditorFileName();  // upper case
// Text of line n (-1: the cursor line), read up to its first NUL; false past the end.
bool FarGetLine(int n, std::string& text);
bool FarGetLine(int n, EditorGetString& line);
std::string FarWordAtCursor(const CharSet& charSet);
// The word a dot joins in front of the word at the cursor (THIS in THIS.Method);
// empty with a block marked on the line, as the word is then the block.
std::string FarQualifierAtCursor(const CharSet& charSet);
std::string FarPanelFile(bool active);
bool FarGetBookmarks(TxxFarBookmarkArr& list);

// Where a jump puts the editor: the cursor's line and column (from 0), the
// window's top line and its left column; -1 leaves a value as it is.
struct TxxEditorJump {
  int Line = -1;
  int Col = -1;
  int Top = -1;
  int Left = -1;
};
void FarJumpTo(const TxxEditorJump& jump, bool redraw);
// To line (from 0) with rowsAbove rows of the window above it (-1: the window
// stays), the left column and the column; false for a line past the text.
bool FarGotoLine(int line, int rowsAbove, int leftPos, int column, bool redraw);
void FarRestorePos(const EditorInfo& info, bool redraw);

// Screen columns: of a position of a line (tabs expanded), and of the cursor
// and its row within the window.
int FarScreenCol(int line, int pos);
int FarCursorScreenX(const EditorInfo& info);
int FarCursorScreenY(const EditorInfo& info);

void FarRedraw();
void FarInsertText(const std::string& text);
void FarInsertLine();
// Deletes count characters at the cursor.
void FarDeleteChars(int count);
void FarSetString(int line, const std::string& text);
// Hands a key event to the editor, as if the plug-in had not taken it.
void FarProcessInput(const INPUT_RECORD& rec);

// The next key pressed in the editor: key releases and other events are
// passed over, and with skipModifiers lone Shift, Ctrl and Alt presses too.
// Empty when the input ends.
std::optional<INPUT_RECORD> FarReadKey(bool skipModifiers = true);
// A modal loop over the editor's keys: each key goes to onKey until it answers
// false. False when the input ended first.
bool FarKeyLoop(const std::function<bool(const INPUT_RECORD&)>& onKey);

// The edited text as the model reads it; its reader moves the cursor, so the
// caller keeps the position saved while it reads.
TxxEditedText EditorText();
TxxLineReader EditorLineReader();

// Saves the editor position and puts it back when it goes out of scope.
class FarSavedPos {
 public:
  explicit FarSavedPos(bool redraw = false);
  ~FarSavedPos();
  FarSavedPos(const FarSavedPos&) = delete;
  FarSavedPos& operator=(const FarSavedPos&) = delete;
  const EditorInfo& Info() const { return info_; }

 private:
  EditorInfo info_;
  bool redraw_;
};

// The key bar shows these labels for F1..F12 (alone, with Ctrl and with
// Ctrl+Alt; the other shifts empty) while this lives.
class FarKeyBarGuard {
 public:
  explicit FarKeyBarGuard(const std::array<std::string, 12>& labels);
  ~FarKeyBarGuard();
  FarKeyBarGuard(const FarKeyBarGuard&) = delete;
  FarKeyBarGuard& operator=(const FarKeyBarGuard&) = delete;

 private:
  std::array<std::string, 12> labels_;
  char empty_[1] = {0};
  KeyBarTitles titles_;
};

}  // namespace vemlo
