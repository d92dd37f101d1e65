// Framed views, editing a value in the host editor, external programs, the
// console, the column ruler, dialog items and temporary files.
#include <algorithm>
#include <cstring>

#include "host/xxfar.h"
#include "platform/platform.h"

namespace vemlo {

FarTempFile::FarTempFile() {
  char buffer[520] = {};
  if (FarApi().MkTemp(buffer, "VL~")) name_ = buffer;
}

FarTempFile::~FarTempFile() {
  if (!name_.empty() && platform::FileExists(name_)) platform::DeleteFile(name_);
}

FarTempFolderFile::FarTempFolderFile(const std::string& fileName) {
  char buffer[520] = {};
  if (!FarApi().MkTemp(buffer, "VL~") || !platform::MakeDirectory(buffer)) return;
  folder_ = buffer;
  name_ = folder_ + "\\" + fileName;
}

FarTempFolderFile::~FarTempFolderFile() {
  if (folder_.empty()) return;
  if (platform::FileExists(name_)) platform::DeleteFile(name_);
  platform::RemoveEmptyDirectory(folder_);
}

void FarFramedView(const std::string& fileName, const std::string& title, int width, int height,
                   bool useEditor) {
  EditorInfo ei = FarEditorInfo();
  const int h = Min(height, ei.WindowSizeY - 2);
  const int w = Min(width, ei.WindowSizeX - 3);
  const int top = (ei.WindowSizeY - h) / 2;
  const int left = (ei.WindowSizeX - w) / 2;
  const int color = FarColour(COL_MENUBOX);
  FarHost& api = FarApi();
  api.Text(left - 1, top - 1, color, ("\xDA" + RepeatStr("\xC4", w + 1) + "\xBF").c_str());
  for (int row = top; row <= top + h; ++row)
    api.Text(left - 1, row, color, ("\xB3" + std::string(static_cast<size_t>(Max(0, w + 1)), ' ') + "\xB3").c_str());
  api.Text(left - 1, top + h + 1, color, ("\xC0" + RepeatStr("\xC4", w + 1) + "\xD9").c_str());
  FarFlushText();
  if (useEditor)
    api.Editor(fileName.c_str(), title.c_str(), left, top, left + w, top + h, EF_DISABLEHISTORY, 0, 1);
  else
    api.Viewer(fileName.c_str(), title.c_str(), left, top, left + w, top + h, VF_DISABLEHISTORY);
}

bool FarEditText(std::string& value, const std::string& separator, const std::string& title,
                 int x1, int y1, int x2, int y2, int startLine, int startColumn) {
  FarTempFile temp;
  if (!temp.Valid()) return false;
  {
    platform::OutFile out;
    if (!out.Create(temp.Name())) return false;
    out.Write(separator.empty() ? value : ReplaceAll(value, separator, "\r\n"));
    if (!out.Close()) return false;
  }
  int result = FarApi().Editor(temp.Name().c_str(), title.c_str(), x1, y1, x2, y2, EF_DISABLEHISTORY,
                               startLine, startColumn);
  if (result != EEC_MODIFIED) return false;
  TextFile file;
  if (!OpenTextFile(file, temp.Name())) return false;
  const std::string end = separator.empty() ? std::string("\r\n") : separator;
  std::string line, fresh;
  while (ReadTextLine(file, line)) fresh += line + end;
  if (TextFileFailed(file)) return false;  // half a value would lose the rest
  value = fresh;
  return true;
}

namespace {

// Puts the host's screen back however FarRunProgram ends.
struct ConsoleGuard {
  HANDLE Screen;
  std::string Title;
  ~ConsoleGuard() {
    platform::SetConsoleTitle(Title);
    FarApi().Control(VEMLO_INVALID_HANDLE_VALUE, FCTL_SETUSERSCREEN, nullptr);
    FarApi().RestoreScreen(nullptr);
    FarApi().RestoreScreen(Screen);
  }
};

}  // namespace

bool FarRunProgram(const char* helpTopic, const std::string& commandLine, bool showError) {
  ConsoleGuard guard{FarApi().SaveScreen(0, 0, -1, -1), ""};
  FarClearConsole();
  guard.Title = platform::ConsoleTitle().substr(0, 513);
  platform::SetConsoleTitle(commandLine);
  platform::ConsoleWrite(">\"" + commandLine + "\"\n");
  platform::RunResult run = platform::RunProgram(commandLine);
  if (!run.Started) {
    std::string error = run.Error.substr(0, 200);
    platform::ConsoleWrite(error + "\n");
    if (showError)
      FarMessage(helpTopic, {Msg(MsgId::Title), Msg(MsgId::CannotStartProgram), commandLine, error}, 0, FMSG_WARNING | FMSG_MB_OK);
  }
  return run.Started;
}

void FarClearConsole() {
  int width = 0, height = 0;
  platform::ConsoleSize(width, height);
  const std::string blank(static_cast<size_t>(Max(0, width)), ' ');
  for (int row = 0; row < height; ++row) platform::ConsoleWriteRow(row, blank, 8);
  int x = 0, y = 0;
  platform::ConsoleGetCursor(x, y);
  platform::ConsoleSetCursor(0, y);
}

void FarColumnRuler() {
  FarHost& api = FarApi();
  const int text = FarColour(COL_DIALOGTEXT);
  const int high = FarColour(COL_DIALOGHIGHLIGHTTEXT);
  EditorInfo ei = FarEditorInfo();
  const int x = FarCursorScreenX(ei);
  const int y = FarCursorScreenY(ei) + 2;
  const int tens = ei.WindowSizeX / 10;
  api.Text(x, y, text, RepeatStr("123456789 ", tens + 1).c_str());
  for (int i = 0; i <= tens; ++i) {
    const std::string digit(1, IntToStr(i + 1)[0]);
    api.Text(x + 10 * i + 9, y, high, digit.c_str());
  }
  FarFlushText();
  // Any key closes the ruler, a lone Shift, Ctrl or Alt as well; all but Esc then go to the editor.
  const std::optional<INPUT_RECORD> key = FarReadKey(false);
  FarRedraw();
  if (key && key->KeyEvent.wVirtualKeyCode != VK_ESCAPE) FarProcessInput(*key);
}

void SetDlgItem(FarDialogItem& item, int x1, int y1, int x2, int y2, int type, unsigned flags,
                const char* data, int selected) {
  item = FarDialogItem{};
  item.Type = type;
  item.X1 = x1;
  item.Y1 = y1;
  item.X2 = x2;
  item.Y2 = y2;
  item.Flags = flags;
  item.Param.Selected = selected;
  if (data) {
    size_t n = std::min(std::strlen(data), sizeof(item.Data) - 1);
    std::memcpy(item.Data, data, n);
    item.Data[n] = 0;
  }
}

}  // namespace vemlo
