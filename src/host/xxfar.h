// xxfar: the plug-in's access to the host: the startup record, editor access,
// menus, messages and screen services.
#pragma once

#include <string>
#include <vector>

#include "host/far_api.h"
#include "lib/xxlib.h"

namespace vemlo {

// ---- Startup record (kept by SetStartupInfo) ----
const PluginStartupInfo& FarInfo();
void FarSetInfo(const PluginStartupInfo& info);
FarHost& FarApi();
std::string ModuleDir();  // directory of ModuleName, ending with "\"

// ---- Editor access ----
struct TxxFarBookmark {
  int Number = 0;
  int Line = 0;
  int Col = 0;
  int ScreenLine = 0;
  int LeftPos = 0;
};
using TxxFarBookmarkArr = std::vector<TxxFarBookmark>;

EditorInfo FarEditorInfo();
std::string FarEditorFileName();  // upper case
// Text of line n (-1: the cursor line), read up to its first NUL; false past the end.
bool FarGetLine(int n, std::string& text);
bool FarGetLine(int n, EditorGetString& line);
std::string FarWordAtCursor(const CharSet& charSet);
std::string FarPanelFile(bool active);
bool FarGotoLine(int line, int rowsAbove, int leftPos, int column, bool redraw);
void FarRestorePos(const EditorInfo& info, bool redraw);
bool FarGetBookmarks(TxxFarBookmarkArr& list);
int FarCursorScreenX(const EditorInfo& info);
int FarCursorScreenY(const EditorInfo& info);
void FarRedraw();
void FarInsertText(const std::string& text);
void FarInsertLine();
void FarSetString(int line, const std::string& text);

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

// ---- Messages and menus ----
const char* Msg(int n);
int FarMessage(const char* helpTopic, const std::vector<std::string>& lines, int buttons,
               unsigned flags);
int FarMenu(const char* helpTopic, const std::vector<std::string>& items, int selected,
            const std::string& title, unsigned flags);
bool FarCheckMenu(const std::string& title, const char* helpTopic, std::vector<FarMenuItem>& items);
void SetMenuItemText(FarMenuItem& item, const std::string& text);  // copied up to 127 characters

// The progress box: one for the whole module.
void FarProgressOpen(const std::string& title, const std::string& text, int total);
void FarProgressStep(int current);
void FarProgressText(const std::string& text);
void FarProgressClose();
bool FarProgressActive();
// Closes the progress box on every path out of a scope that opened it.
class FarProgressGuard {
 public:
  FarProgressGuard(const std::string& title, const std::string& text, int total);
  ~FarProgressGuard();
  FarProgressGuard(const FarProgressGuard&) = delete;
  FarProgressGuard& operator=(const FarProgressGuard&) = delete;
};

void FarFramedView(const std::string& fileName, const std::string& title, int width, int height,
                   bool useEditor);
bool FarEditText(std::string& value, const std::string& separator, const std::string& title,
                 int x1, int y1, int x2, int y2, int startLine, int startColumn);
bool FarRunProgram(const char* helpTopic, const std::string& commandLine, bool showError);
void FarClearConsole();
void FarColumnRuler();
void SetDlgItem(FarDialogItem& item, int x1, int y1, int x2, int y2, int type, unsigned flags,
                const char* data, int selected);

// A temporary file name from the host (prefix "VL~"), deleted when this goes out of scope.
// A folder of its own for one temporary file: the folder is named by the
// host's MkTemp, the file inside it by the caller; both go when it is destroyed.
class FarTempFolderFile {
 public:
  explicit FarTempFolderFile(const std::string& fileName);
  ~FarTempFolderFile();
  FarTempFolderFile(const FarTempFolderFile&) = delete;
  FarTempFolderFile& operator=(const FarTempFolderFile&) = delete;
  const std::string& Name() const { return name_; }  // the file's full path
  bool Valid() const { return !name_.empty(); }

 private:
  std::string folder_, name_;
};

class FarTempFile {
 public:
  FarTempFile();
  ~FarTempFile();
  FarTempFile(const FarTempFile&) = delete;
  FarTempFile& operator=(const FarTempFile&) = delete;
  const std::string& Name() const { return name_; }
  bool Valid() const { return !name_.empty(); }

 private:
  std::string name_;
};

}  // namespace vemlo
