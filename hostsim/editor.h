// The replacement host's editor: a buffer of byte lines with their line ends,
// the cursor and view, blocks, bookmarks and the window it is shown in.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/far_api.h"

namespace vemlo::sim {

struct EditorLine {
  std::string Text;
  std::string Eol;  // "\r\n", "\n", or "" for the last line
};

struct Bookmark {
  int Line = -1;  // -1: not set
  int Pos = 0;
  int ScreenLine = 0;
  int LeftPos = 0;
};

// A block. Stream blocks run from (StartLine, StartPos) up to, not including,
// (EndLine, EndPos) in real positions; column blocks cover the lines StartLine..EndLine
// and the screen columns StartPos..EndPos - 1.
struct EditorBlock {
  int Type = BTYPE_NONE;
  int StartLine = 0, StartPos = 0, EndLine = 0, EndPos = 0;
};

struct EditorWindow {
  int Id = 0;
  std::string FileName;  // DOS path
  std::string Title;     // shown instead of the file name when set
  int X1 = 0, Y1 = 0, X2 = 79, Y2 = 24;  // the window on the screen, title row included
  bool ShowKeyBar = true;                // the last row of the window is the key bar

  std::vector<EditorLine> Lines{EditorLine{}};
  std::string DefaultEol = "\r\n";
  int CurLine = 0, CurPos = 0;  // CurPos may lie beyond the end of the line
  int TopLine = 0, LeftPos = 0;
  bool Overtype = false;
  int TabSize = 8;
  EditorBlock Block;
  int AnchorLine = 0, AnchorPos = 0;  // where a block made with Shift keys started
  std::array<Bookmark, 10> Bookmarks{};
  bool Modified = false;    // changed since the last save
  bool SavedChange = false; // F2 wrote a change
  std::optional<std::vector<std::string>> KeyBar;  // 12 plain labels set by the plug-in

  std::string LineBuffer;  // what GETSTRING handed out last
  std::string FileNameBuffer;
};

int TextRows(const EditorWindow& ed);  // rows of the text area
int TextCols(const EditorWindow& ed);

// Reading and writing the file by DOS path through the platform layer.
bool LoadEditorFile(EditorWindow& ed, const std::string& dosPath);
bool SaveEditorFile(EditorWindow& ed);
void SetEditorText(EditorWindow& ed, const std::string& bytes);
std::string EditorText(const EditorWindow& ed);  // every line with its line end

// Column arithmetic on one line: real position <-> tab-expanded screen column.
// Positions past the end of the line count one column each.
int RealToTab(const std::string& line, int pos, int tabSize);
int TabToReal(const std::string& line, int col, int tabSize);
std::string ExpandTabs(const std::string& line, int tabSize);

// The selection within line n as the host reports it (-1/-1: none, end -1: runs
// past the end of the line).
void SelectionInLine(const EditorWindow& ed, int n, int& selStart, int& selEnd);

// Edits at the cursor. Each keeps the buffer at one line at least and marks it modified.
void InsertTextAtCursor(EditorWindow& ed, const std::string& text);
void SplitLineAtCursor(EditorWindow& ed, bool indent);
void DeleteCharAtCursor(EditorWindow& ed);
void BackspaceAtCursor(EditorWindow& ed);
void DeleteCursorLine(EditorWindow& ed);
void ReplaceLine(EditorWindow& ed, int n, const std::string& text, const char* eol);

// Moves the cursor (clamped to the buffer) and scrolls the view so that it shows it.
void MoveCursor(EditorWindow& ed, int line, int pos);
void FollowCursor(EditorWindow& ed);
void SetBookmark(EditorWindow& ed, int n);
bool GotoBookmark(EditorWindow& ed, int n);

// Handles a typed key as the editor does (editing, moving, blocks, bookmarks);
// false for keys the editor does not use.
bool EditorHandleKey(EditorWindow& ed, const KEY_EVENT_RECORD& key);

}  // namespace vemlo::sim
