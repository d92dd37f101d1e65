// Blocks of the editor: the text of a stream or column block, copying it to the
// clipboard, deleting it, and pasting the clipboard back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor.h"

namespace vemlo::sim {

// The program's own clipboard, shared by its editor windows.
struct Clipboard {
  // Stream text: its lines (a line break between two); a column block: one
  // entry per row, each `Width` screen columns wide.
  std::vector<std::u32string> Lines;
  bool Column = false;
  int Width = 0;
  // Told of each copy as UTF-8 (the terminal's clipboard, through OSC 52).
  std::function<void(const std::string&)> Offer;

  bool Empty() const { return Lines.empty(); }
  // The text as one string, rows or lines separated by "\n".
  std::u32string Joined() const;
};

// The text of the block (false without one).
bool BlockText(const EditorWindow& ed, Clipboard& out);
// Ctrl+Ins: the block, or the cursor line with its line break when there is none.
void CopyToClipboard(const EditorWindow& ed, Clipboard& clip);
// Deletes the block; the cursor goes to its start. False without a block.
bool DeleteBlock(EditorWindow& ed);
// Inserts the clipboard at the cursor: stream text as typed text, a column
// block as a column starting at the cursor's screen column. Text the file's
// code page cannot hold is refused (false, nothing changed).
bool PasteClipboard(EditorWindow& ed, const Clipboard& clip);

}  // namespace vemlo::sim
