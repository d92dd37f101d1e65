// The replacement host's editor: a buffer of Unicode lines with their line ends,
// the file's code page, the cursor and view, blocks, bookmarks, the undo history
// and the window it is shown in. Every change of the lines goes through the
// edits below, which record it for undo.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "codepage.h"
#include "host/far_api.h"

namespace vemlo::sim {

struct EditorLine {
  std::u32string Text;
  std::string Eol;  // "\r\n", "\n", or "" for the last line
  bool operator==(const EditorLine&) const = default;
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

// One change of the lines: line `Line` replaced (Old[0] by New[0]), lines New
// inserted before `Line`, or the lines Old taken out from `Line` on.
struct UndoOp {
  enum class Kind { Set, Insert, Erase } What = Kind::Set;
  int Line = 0;
  std::vector<EditorLine> Old, New;
};

struct CursorPlace {
  int Line = 0, Pos = 0, Top = 0, Left = 0;
};

// What one key or one plug-in call changed; undone and redone as a whole.
struct UndoStep {
  std::vector<UndoOp> Ops;
  CursorPlace Before, After;
  CodePage CpBefore = CodePage::Oem866, CpAfter = CodePage::Oem866;
  bool BomBefore = false, BomAfter = false;
  bool Typing = false;  // typed characters of one line: the next ones join it
  bool Saved = false;   // the file was saved while the step was recorded
};

struct EditorUndo {
  std::vector<UndoStep> Done, Undone;
  std::optional<UndoStep> Open;  // the step being recorded
  int Depth = 0;                 // nested step guards
  long SavedAt = 0;              // Done.size() when the file was last saved; -1: lost
  bool Replaying = false;        // undo/redo at work: nothing is recorded
};

struct EditorWindow {
  int Id = 0;
  std::string FileName;  // DOS path
  std::string Title;     // shown instead of the file name when set
  int X1 = 0, Y1 = 0, X2 = 79, Y2 = 24;  // the window on the screen, title row included
  bool ShowKeyBar = true;                // the last row of the window is the key bar

  std::vector<EditorLine> Lines{EditorLine{}};
  std::string DefaultEol = "\r\n";
  CodePage Cp = CodePage::Oem866;
  bool Bom = false;            // a UTF-8 file that starts with the byte-order mark
  bool ShowCodePage = false;   // the status line names the code page also when it is 866
  bool ReadOnly = false;       // the file carried no write permission when it was opened
  bool ReadOnlyWarned = false;
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
  EditorUndo Undo;
  // A character an edit refused because the code page cannot hold it (0: none);
  // the host tells the user and clears it.
  char32_t Refused = 0;

  std::string LineBuffer;  // what GETSTRING handed out last (866)
  std::string FileNameBuffer;
};

int TextRows(const EditorWindow& ed);  // rows of the text area
int TextCols(const EditorWindow& ed);

// The file's bytes to the editor's text in its code page and back.
void SetEditorText(EditorWindow& ed, const std::string& bytes);
std::string EditorText(const EditorWindow& ed);  // every line with its line end, encoded
// Reading the file by DOS path through the platform layer (`cp` forces a code
// page; without one UTF-8 is recognised and other files are 866), and writing it.
bool LoadEditorFile(EditorWindow& ed, const std::string& dosPath,
                    std::optional<CodePage> cp = std::nullopt);
// Writes the file (to `dosPath`, or its own name); on failure `why` says why, in
// the system's words.
bool SaveEditorFile(EditorWindow& ed, std::string* why = nullptr, const std::string& dosPath = "");
// Changes how the file's bytes are read: the text is what the same bytes give
// in `cp` (one undo step). The bytes written stay the same.
void ReinterpretCodePage(EditorWindow& ed, CodePage cp);

// Column arithmetic on one line: real position <-> tab-expanded screen column.
// Positions past the end of the line count one column each.
int RealToTab(const std::u32string& line, int pos, int tabSize);
int TabToReal(const std::u32string& line, int col, int tabSize);
std::u32string ExpandTabs(const std::u32string& line, int tabSize);

// The selection within line n as the host reports it (-1/-1: none, end -1: runs
// past the end of the line).
void SelectionInLine(const EditorWindow& ed, int n, int& selStart, int& selEnd);

// Edits at the cursor. Each keeps the buffer at one line at least, marks it
// modified and is recorded for undo. Text that the code page cannot hold is
// refused (false, `Refused` set, nothing changed).
bool InsertTextAtCursor(EditorWindow& ed, const std::u32string& text);
void SplitLineAtCursor(EditorWindow& ed, bool indent);
void DeleteCharAtCursor(EditorWindow& ed);
void BackspaceAtCursor(EditorWindow& ed);
void DeleteCursorLine(EditorWindow& ed);
void ReplaceLine(EditorWindow& ed, int n, const std::u32string& text, const char* eol);

// The line edits every change goes through (recorded for undo).
void SetLine(EditorWindow& ed, int n, EditorLine line);
void InsertLines(EditorWindow& ed, int at, std::vector<EditorLine> lines);
void EraseLines(EditorWindow& ed, int at, int count);

// Moves the cursor (clamped to the buffer) and scrolls the view so that it shows it.
void MoveCursor(EditorWindow& ed, int line, int pos);
void FollowCursor(EditorWindow& ed);
void SetBookmark(EditorWindow& ed, int n);
bool GotoBookmark(EditorWindow& ed, int n);

// ---- Undo (editor_undo.cpp) ----
// Everything changed while one is alive (the outermost of nested ones) is one step.
class UndoStepGuard {
 public:
  explicit UndoStepGuard(EditorWindow& ed);
  ~UndoStepGuard();
  UndoStepGuard(const UndoStepGuard&) = delete;
  UndoStepGuard& operator=(const UndoStepGuard&) = delete;

 private:
  EditorWindow& ed_;
  bool active_;
};
void RecordOp(EditorWindow& ed, UndoOp op);
// Marks the open step as typing within one line (consecutive ones are one step).
void MarkTyping(EditorWindow& ed);
bool UndoStepBack(EditorWindow& ed);     // false when there is nothing to undo
bool RedoStepForward(EditorWindow& ed);  // false when there is nothing to redo
void ForgetUndo(EditorWindow& ed);       // a new text: no history
void MarkSaved(EditorWindow& ed);

// Handles a typed key as the editor does (editing, moving, blocks, clipboard,
// bookmarks, undo); false for keys the editor does not use.
struct Clipboard;
bool EditorHandleKey(EditorWindow& ed, const KEY_EVENT_RECORD& key, Clipboard* clipboard = nullptr);
// The character a key event types (its Unicode, else its OEM byte's), 0 for none.
char32_t TypedChar(const KEY_EVENT_RECORD& key);

}  // namespace vemlo::sim
