#include "sim_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "editor_view.h"
#include "language.h"
#include "palette.h"

#ifndef VEMLO_MODULE_DIR
#define VEMLO_MODULE_DIR "plugin"
#endif

namespace vemlo::sim {

namespace {

std::string StripSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string AbsoluteNative(const std::string& path) {
  std::error_code ec;
  auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

// Line ends as stable pointers for GETSTRING.
const char* EolPointer(const std::string& eol) {
  if (eol == "\r\n") return "\r\n";
  if (eol == "\n") return "\n";
  return "";
}

// Keeps a window's rectangle on the screen; -1 for x2/y2 means the screen edge.
void ResolveRect(const Console& screen, int& x1, int& y1, int& x2, int& y2) {
  int w = screen.Width(), h = screen.Height();
  if (x2 < 0 || x2 >= w) x2 = w - 1;
  if (y2 < 0 || y2 >= h) y2 = h - 1;
  x1 = std::clamp(x1, 0, x2);
  y1 = std::clamp(y1, 0, y2);
}

// Saves the whole screen and puts it back when the window above it closes.
class ScreenKeeper {
 public:
  explicit ScreenKeeper(Console& screen) : screen_(screen), saved_(screen.Save(0, 0, -1, -1)) {
    cx_ = screen.CursorX;
    cy_ = screen.CursorY;
  }
  ~ScreenKeeper() {
    screen_.Restore(saved_);
    screen_.CursorX = cx_;
    screen_.CursorY = cy_;
  }
  ScreenKeeper(const ScreenKeeper&) = delete;
  ScreenKeeper& operator=(const ScreenKeeper&) = delete;

 private:
  Console& screen_;
  Console::Saved saved_;
  int cx_, cy_;
};

// Clears a flag for the time of a call and sets it back afterwards.
class FlagOff {
 public:
  explicit FlagOff(bool& flag) : flag_(flag), old_(flag) { flag_ = false; }
  ~FlagOff() { flag_ = old_; }
  FlagOff(const FlagOff&) = delete;
  FlagOff& operator=(const FlagOff&) = delete;

 private:
  bool& flag_;
  bool old_;
};

std::string Str(const char* s) { return s ? s : ""; }

}  // namespace

SimHost::SimHost(SimHostOptions options)
    : options_(std::move(options)),
      moduleDir_(StripSlash(options_.ModuleDir.empty() ? VEMLO_MODULE_DIR : options_.ModuleDir)),
      screen_(options_.Width, options_.Height),
      tempCounter_(1) {
  if (auto messages = LoadLanguageFile(moduleDir_ + "/vemlo_en.lng")) messages_ = *messages;
  moduleName_ = platform::ToDosPath(AbsoluteNative(moduleDir_)) + "\\vemlo.dll";
  ui_.Screen = &screen_;
  ui_.ReadInput = [this](INPUT_RECORD& rec) { return ReadInput(rec); };
  ui_.Color = [](int index) { return PaletteColor(index); };
  ui_.Help = [this](const std::string& topic) {
    Record("help", topic, {HelpFilePath()});
    RunHelpViewer(ui_, HelpFilePath(), topic);
  };
  screen_.Clear(static_cast<unsigned char>(PaletteColor(COL_EDITORTEXT)));
  if (!options_.PanelPath.empty()) options_.PanelPath = AbsoluteNative(options_.PanelPath);
  InstallConsoleBackend();
}

namespace {

// The console belongs to the newest living host; when it goes, the one before
// it takes the console back.
std::vector<std::shared_ptr<platform::ConsoleBackend>>& LiveBackends() {
  static std::vector<std::shared_ptr<platform::ConsoleBackend>> live;
  return live;
}

}  // namespace

SimHost::~SimHost() {
  for (Console::Saved* s : savedScreens_) delete s;
  auto& live = LiveBackends();
  std::erase(live, backend_);
  platform::SetConsoleBackend(live.empty() ? nullptr : live.back());
}

void SimHost::InstallConsoleBackend() {
  backend_ = std::make_shared<platform::ConsoleBackend>();
  backend_->GetSize = [this](int& w, int& h) {
    w = screen_.Width();
    h = screen_.Height();
  };
  backend_->WriteRow = [this](int row, const std::string& text, int attr) {
    std::string line = text;
    line.resize(screen_.Width(), ' ');
    screen_.Put(0, row, static_cast<unsigned char>(attr), line);
  };
  backend_->GetCursor = [this](int& x, int& y) {
    x = screen_.CursorX;
    y = screen_.CursorY;
  };
  backend_->SetCursor = [this](int x, int y) {
    screen_.CursorX = std::clamp(x, 0, screen_.Width() - 1);
    screen_.CursorY = std::clamp(y, 0, screen_.Height() - 1);
  };
  backend_->GetTitle = [this] { return consoleTitle_; };
  backend_->SetTitle = [this](const std::string& t) { consoleTitle_ = t; };
  backend_->WriteOutput = [this](const std::string& t) { WriteTeletype(t); };
  backend_->Beep = [this](unsigned) { ++beeps_; };
  LiveBackends().push_back(backend_);
  platform::SetConsoleBackend(backend_);
}

// Output of external programs and the plug-in's console writes scroll up the screen.
void SimHost::WriteTeletype(const std::string& text) {
  int w = screen_.Width(), h = screen_.Height();
  for (char c : text) {
    if (c == '\r') {
      screen_.CursorX = 0;
      continue;
    }
    if (c != '\n') {
      screen_.PutChar(screen_.CursorX, screen_.CursorY, 0x07, static_cast<unsigned char>(c));
      if (++screen_.CursorX < w) continue;
    }
    screen_.CursorX = 0;
    if (++screen_.CursorY >= h) {
      Console::Saved rest = screen_.Save(0, 1, -1, -1);
      rest.Y1 = 0;
      rest.Y2 = h - 2;
      screen_.Restore(rest);
      screen_.Fill(0, h - 1, w - 1, h - 1, ' ', 0x07);
      screen_.CursorY = h - 1;
    }
  }
}

PluginStartupInfo SimHost::StartupInfo() {
  PluginStartupInfo info;
  info.ModuleName = moduleName_;
  info.ModuleNumber = kModuleNumber;
  info.RootKey = "Software\\Far\\Plugins";
  info.Api = this;
  return info;
}

std::string SimHost::HelpFilePath() const { return moduleDir_ + "/vemlo_en.hlf"; }

void SimHost::Record(std::string kind, std::string title, std::vector<std::string> lines) {
  transcript_.push_back(ShownWindow{std::move(kind), std::move(title), std::move(lines)});
}

void SimHost::Flush() {
  if (present_) present_(screen_);
}

bool SimHost::ReadInput(INPUT_RECORD& rec) {
  if (input_ && escAfterEnd_ == 0 && input_->Read(rec)) return true;
  if (++escAfterEnd_ > kMaxEscAfterEnd)
    throw InputExhausted("the input ended but the open windows did not close after " +
                         std::to_string(kMaxEscAfterEnd) + " Esc keys");
  rec = KeyEvent(VK_ESCAPE, 0x1B);
  return true;
}

// ---- Editor windows ----

bool SimHost::OpenEditor(const std::string& nativePath) {
  std::string native = AbsoluteNative(nativePath);
  std::string dos = platform::ToDosPath(native);
  auto ed = std::make_unique<EditorWindow>();
  ed->Id = nextEditorId_++;
  ed->X2 = screen_.Width() - 1;
  ed->Y2 = screen_.Height() - 1;
  if (!LoadEditorFile(*ed, dos)) {
    if (std::filesystem::exists(native)) return false;  // there but unreadable
    ed->FileName = dos;  // a new file
  }
  if (options_.PanelPath.empty()) options_.PanelPath = native;
  editors_.push_back(std::move(ed));
  return true;
}

void SimHost::Resize(int width, int height) {
  int oldW = screen_.Width(), oldH = screen_.Height();
  screen_.Resize(width, height);
  // Windows that filled the old screen fill the new one.
  for (auto& ed : editors_) {
    if (ed->X2 == oldW - 1) ed->X2 = screen_.Width() - 1;
    if (ed->Y2 == oldH - 1) ed->Y2 = screen_.Height() - 1;
    ed->X1 = std::min(ed->X1, ed->X2);
    ed->Y1 = std::min(ed->Y1, ed->Y2);
    FollowCursor(*ed);
  }
}

const EditorWindow* SimHost::LatestEditor() const {
  return editors_.empty() ? lastClosed_.get() : editors_.back().get();
}

void SimHost::RedrawCurrentEditor() {
  if (EditorWindow* ed = CurrentEditor()) RenderEditor(*ed, screen_);
  Flush();
}

int SimHost::RunEditor() {
  EditorWindow* ed = CurrentEditor();
  if (!ed) return EEC_OPEN_ERROR;
  bool topLevel = editors_.size() == 1;
  // The window leaves the stack however its loop ends.
  struct Pop {
    std::vector<std::unique_ptr<EditorWindow>>& Stack;
    std::unique_ptr<EditorWindow>& Last;
    ~Pop() {
      if (Stack.size() == 1) Last = std::move(Stack.back());
      Stack.pop_back();
    }
  } pop{editors_, lastClosed_};
  for (bool open = true; open;) {
    RenderEditor(*ed, screen_);
    Flush();
    INPUT_RECORD rec;
    {
      FlagOff off(atEditorPrompt_);
      atEditorPrompt_ = true;
      ReadInput(rec);
    }
    if (plugin_.ProcessEditorInput) {
      int used = 0;
      try {
        used = plugin_.ProcessEditorInput(rec);
      } catch (const InputExhausted&) {
        throw;
      } catch (const std::exception& e) {
        // One key's handling ends here; the editor stays usable.
        ShowError(e.what());
        used = 1;
      }
      if (used) continue;
    }
    if (rec.EventType != KEY_EVENT || !rec.KeyEvent.bKeyDown) continue;
    open = !HostKey(*ed, rec, topLevel);
  }
  return ed->SavedChange ? EEC_MODIFIED : EEC_NOT_MODIFIED;
}

bool SimHost::HostKey(EditorWindow& ed, const INPUT_RECORD& rec, bool topLevel) {
  const KEY_EVENT_RECORD& key = rec.KeyEvent;
  unsigned state = key.dwControlKeyState & 0x1F;
  bool alt = state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  bool ctrl = state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  bool shift = state & SHIFT_PRESSED;
  switch (key.wVirtualKeyCode) {
    case VK_F11:
      if (state == 0 && plugin_.OpenPluginMenu) plugin_.OpenPluginMenu();
      return false;
    case VK_F9:
      if (alt && shift && !ctrl && plugin_.Configure) plugin_.Configure();
      return false;
    case VK_F2:
      if (state == 0 && !SaveEditorFile(ed)) ShowError("Cannot save the file " + ed.FileName);
      return false;
    case VK_F1:
      if (state == 0) ShowEditorHelp();
      return false;
    case VK_F10:
    case VK_ESCAPE:
      if (state != 0) return false;
      return !topLevel || !ed.Modified || ConfirmClose(ed);
    default:
      EditorHandleKey(ed, key);
      return false;
  }
}

bool SimHost::ConfirmClose(EditorWindow& ed) {
  if (InputEnded()) return true;  // nobody is left to answer
  const char* lines[] = {"Editor", ed.FileName.c_str(), "Save changes?", "Yes", "No", "Cancel"};
  int answer = Message(kModuleNumber, FMSG_WARNING, "", lines, 6, 3);
  if (answer == 1) return true;
  if (answer != 0) return false;
  if (SaveEditorFile(ed)) return true;
  ShowError("Cannot save the file " + ed.FileName);
  return false;
}

void SimHost::ShowEditorHelp() {
  const char* lines[] = {
      "Editor",
      "F2 save the file                  F10, Esc  close the editor",
      "F11 plug-in menu                  Alt+Shift+F9  plug-in configuration",
      "Shift+arrows, Home, End  stream block",
      "Alt+Shift+arrows  column block    Ins  insert or overtype",
      "Ctrl+Shift+0..9  set a bookmark   RightCtrl+0..9  go to a bookmark",
      "OK"};
  Message(kModuleNumber, 0, "", lines, 7, 1);
}

void SimHost::ShowError(const std::string& text) {
  const char* lines[] = {"Error", text.c_str(), "OK"};
  Message(kModuleNumber, FMSG_WARNING, "", lines, 3, 1);
}

int SimHost::Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                    unsigned, int startLine, int startChar) {
  if (!fileName) return EEC_OPEN_ERROR;
  auto ed = std::make_unique<EditorWindow>();
  if (!LoadEditorFile(*ed, fileName)) return EEC_OPEN_ERROR;
  ResolveRect(screen_, x1, y1, x2, y2);
  ed->Id = nextEditorId_++;
  ed->Title = Str(title);
  ed->X1 = x1;
  ed->Y1 = y1;
  ed->X2 = x2;
  ed->Y2 = y2;
  ed->ShowKeyBar = y2 == screen_.Height() - 1 && y2 - y1 >= 2;
  // Start line and column count from 1; 0 or less leaves the cursor at the start.
  ed->CurLine = std::clamp(startLine - 1, 0, static_cast<int>(ed->Lines.size()) - 1);
  ed->CurPos = std::max(0, startChar - 1);
  FollowCursor(*ed);
  Record("editor", ed->Title, {ed->FileName});
  ScreenKeeper keep(screen_);
  FlagOff prompt(atEditorPrompt_);
  editors_.push_back(std::move(ed));
  return RunEditor();
}

// ---- Editor commands ----

int SimHost::EditorControl(int command, void* param) {
  EditorWindow* ed = CurrentEditor();
  if (!ed) return 0;
  return EditorCommand(*ed, command, param);
}

void SimHost::ProcessEditorKey(EditorWindow& ed, const INPUT_RECORD& rec) {
  // The plug-in sees the event first, as with a typed key; the depth guard keeps a
  // plug-in that hands every event back from recursing without end.
  if (plugin_.ProcessEditorInput && processInputDepth_ < 8) {
    ++processInputDepth_;
    int used = 0;
    try {
      used = plugin_.ProcessEditorInput(rec);
    } catch (...) {
      --processInputDepth_;
      throw;
    }
    --processInputDepth_;
    if (used) return;
  }
  if (rec.EventType == KEY_EVENT) EditorHandleKey(ed, rec.KeyEvent);
}

int SimHost::EditorCommand(EditorWindow& ed, int command, void* param) {
  const int total = static_cast<int>(ed.Lines.size());
  auto lineOf = [&](int n) { return n == -1 ? ed.CurLine : n; };
  auto valid = [&](int n) { return n >= 0 && n < total; };
  switch (command) {
    case ECTL_GETSTRING: {
      auto* gs = static_cast<EditorGetString*>(param);
      if (!gs) return 0;
      int n = lineOf(gs->StringNumber);
      if (!valid(n)) return 0;
      ed.LineBuffer = ed.Lines[n].Text;
      gs->StringText = ed.LineBuffer.c_str();
      gs->StringEOL = EolPointer(ed.Lines[n].Eol);
      gs->StringLength = static_cast<int>(ed.LineBuffer.size());
      SelectionInLine(ed, n, gs->SelStart, gs->SelEnd);
      return 1;
    }
    case ECTL_SETSTRING: {
      auto* ss = static_cast<EditorSetString*>(param);
      if (!ss || ss->StringLength < 0) return 0;
      int n = lineOf(ss->StringNumber);
      if (!valid(n)) return 0;
      std::string text = ss->StringText ? std::string(ss->StringText, ss->StringLength) : "";
      ReplaceLine(ed, n, text, ss->StringEOL);
      return 1;
    }
    case ECTL_INSERTSTRING:
      SplitLineAtCursor(ed, param && *static_cast<int*>(param) != 0);
      return 1;
    case ECTL_DELETESTRING: DeleteCursorLine(ed); return 1;
    case ECTL_DELETECHAR: DeleteCharAtCursor(ed); return 1;
    case ECTL_INSERTTEXT:
      if (!param) return 0;
      InsertTextAtCursor(ed, static_cast<const char*>(param));
      return 1;
    case ECTL_GETINFO: {
      auto* info = static_cast<EditorInfo*>(param);
      if (!info) return 0;
      ed.FileNameBuffer = ed.FileName;
      *info = EditorInfo{};
      info->EditorID = ed.Id;
      info->FileName = ed.FileNameBuffer.c_str();
      info->WindowSizeX = TextCols(ed);
      info->WindowSizeY = TextRows(ed);
      info->TotalLines = total;
      info->CurLine = ed.CurLine;
      info->CurPos = ed.CurPos;
      info->CurTabPos = RealToTab(ed.Lines[ed.CurLine].Text, ed.CurPos, ed.TabSize);
      info->TopScreenLine = ed.TopLine;
      info->LeftPos = ed.LeftPos;
      info->Overtype = ed.Overtype ? 1 : 0;
      info->BlockType = ed.Block.Type;
      info->BlockStartLine = ed.Block.Type == BTYPE_NONE ? 0 : ed.Block.StartLine;
      info->TableNum = -1;
      info->TabSize = ed.TabSize;
      info->BookMarkCount = static_cast<int>(ed.Bookmarks.size());
      info->CurState = (ed.Modified ? 1u : 0u) | (ed.SavedChange ? 2u : 0u);
      return 1;
    }
    case ECTL_SETPOSITION: {
      auto* sp = static_cast<EditorSetPosition*>(param);
      if (!sp) return 0;
      if (sp->CurLine != -1) ed.CurLine = std::clamp(sp->CurLine, 0, total - 1);
      if (sp->CurPos != -1)
        ed.CurPos = std::max(0, sp->CurPos);
      else if (sp->CurTabPos != -1)
        ed.CurPos = TabToReal(ed.Lines[ed.CurLine].Text, std::max(0, sp->CurTabPos), ed.TabSize);
      if (sp->TopScreenLine != -1) ed.TopLine = std::clamp(sp->TopScreenLine, 0, total - 1);
      if (sp->LeftPos != -1) ed.LeftPos = std::max(0, sp->LeftPos);
      if (sp->Overtype != -1) ed.Overtype = sp->Overtype != 0;
      FollowCursor(ed);
      return 1;
    }
    case ECTL_REDRAW:
      RenderEditor(ed, screen_);
      Flush();
      return 1;
    case ECTL_TABTOREAL:
    case ECTL_REALTOTAB: {
      auto* cp = static_cast<EditorConvertPos*>(param);
      if (!cp) return 0;
      int n = lineOf(cp->StringNumber);
      if (!valid(n)) return 0;
      const std::string& t = ed.Lines[n].Text;
      int src = std::max(0, cp->SrcPos);
      cp->DestPos = command == ECTL_REALTOTAB ? RealToTab(t, src, ed.TabSize)
                                              : TabToReal(t, src, ed.TabSize);
      return 1;
    }
    case ECTL_EXPANDTABS: {
      int n = lineOf(param ? *static_cast<int*>(param) : -1);
      if (!valid(n)) return 0;
      std::string expanded = ExpandTabs(ed.Lines[n].Text, ed.TabSize);
      if (expanded != ed.Lines[n].Text) {
        if (n == ed.CurLine) ed.CurPos = RealToTab(ed.Lines[n].Text, ed.CurPos, ed.TabSize);
        ReplaceLine(ed, n, expanded, nullptr);
      }
      return 1;
    }
    case ECTL_SETTITLE: ed.Title = Str(static_cast<const char*>(param)); return 1;
    case ECTL_READINPUT: {
      auto* rec = static_cast<INPUT_RECORD*>(param);
      if (!rec) return 0;
      return ReadInput(*rec) ? 1 : 0;
    }
    case ECTL_PROCESSINPUT: {
      auto* rec = static_cast<const INPUT_RECORD*>(param);
      if (!rec) return 0;
      ProcessEditorKey(ed, *rec);
      if (CurrentEditor() == &ed) {
        RenderEditor(ed, screen_);
        Flush();
      }
      return 1;
    }
    case ECTL_PROCESSKEY: {
      // Host key codes below 256 are the characters and the keys that give them.
      auto code = reinterpret_cast<intptr_t>(param);
      if (code <= 0 || code > 255) return 0;
      int vk = code == '\r' ? VK_RETURN : code == 8 ? VK_BACK : code == 9 ? VK_TAB : 0;
      if (code == 27) return 0;
      INPUT_RECORD rec = KeyEvent(vk, static_cast<char>(code));
      return EditorHandleKey(ed, rec.KeyEvent) ? 1 : 0;
    }
    case ECTL_SETKEYBAR: {
      auto* titles = static_cast<const KeyBarTitles*>(param);
      if (!titles || param == reinterpret_cast<void*>(-1)) {
        ed.KeyBar.reset();
      } else {
        std::vector<std::string> labels;
        for (const char* t : titles->Titles) labels.push_back(Str(t));
        ed.KeyBar = labels;
      }
      RenderEditorKeyBar(ed, screen_);
      return 1;
    }
    case ECTL_GETBOOKMARKS: {
      auto* bm = static_cast<EditorBookMarks*>(param);
      if (!bm) return 0;
      for (size_t i = 0; i < ed.Bookmarks.size(); ++i) {
        const Bookmark& b = ed.Bookmarks[i];
        bool set = b.Line >= 0;
        if (bm->Line) bm->Line[i] = set ? b.Line : -1;
        if (bm->Cursor) bm->Cursor[i] = set ? b.Pos : -1;
        if (bm->ScreenLine) bm->ScreenLine[i] = set ? b.ScreenLine : -1;
        if (bm->LeftPos) bm->LeftPos[i] = set ? b.LeftPos : -1;
      }
      return 1;
    }
    default:
      return 0;  // ECTL_SELECT, ECTL_SETPARAM and unknown commands are not offered
  }
}

// ---- Messages, menus, dialogs ----

const char* SimHost::GetMsg(int, int msgId) {
  if (msgId < 0 || msgId >= static_cast<int>(messages_.size())) return "";
  return messages_[msgId].c_str();
}

int SimHost::Message(int, unsigned flags, const char* helpTopic, const char* const* items,
                     int itemsNumber, int buttonsNumber) {
  std::vector<std::string> lines;
  for (int i = 0; items && i < itemsNumber; ++i) lines.push_back(Str(items[i]));
  buttonsNumber = std::clamp(buttonsNumber, 0, std::max(0, static_cast<int>(lines.size()) - 1));
  Record("message", lines.empty() ? "" : lines[0],
         lines.empty() ? std::vector<std::string>{}
                       : std::vector<std::string>(lines.begin() + 1, lines.end()));
  FlagOff prompt(atEditorPrompt_);
  return RunMessage(ui_, flags, Str(helpTopic), lines, buttonsNumber);
}

int SimHost::Menu(int, int x, int y, int maxHeight, unsigned flags, const char* title,
                  const char* bottom, const char* helpTopic, const int* breakKeys,
                  int* breakCode, const FarMenuItem* item, int itemsNumber) {
  std::vector<std::string> lines;
  for (int i = 0; item && i < itemsNumber; ++i)
    lines.push_back(std::string(item[i].Text, strnlen(item[i].Text, sizeof item[i].Text)));
  Record("menu", Str(title), lines);
  FlagOff prompt(atEditorPrompt_);
  return RunMenu(ui_, x, y, maxHeight, flags, Str(title), Str(bottom), Str(helpTopic), breakKeys,
                 breakCode, item, std::max(0, itemsNumber));
}

int SimHost::DialogEx(int, int x1, int y1, int x2, int y2, const char* helpTopic,
                      FarDialogItem* item, int itemsNumber, unsigned, unsigned,
                      FarDialogProc dlgProc, intptr_t param) {
  std::string title;
  std::vector<std::string> lines;
  for (int i = 0; item && i < itemsNumber; ++i) {
    std::string data(item[i].Data, strnlen(item[i].Data, sizeof item[i].Data));
    if (title.empty() && (item[i].Type == DI_DOUBLEBOX || item[i].Type == DI_SINGLEBOX))
      title = data;
    lines.push_back(data);
  }
  Record("dialog", title, lines);
  FlagOff prompt(atEditorPrompt_);
  return RunDialog(ui_, x1, y1, x2, y2, Str(helpTopic), item, std::max(0, itemsNumber), dlgProc,
                   param);
}

intptr_t SimHost::SendDlgMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  return DialogSendMessage(hDlg, msg, param1, param2);
}

intptr_t SimHost::DefDlgProc(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  return DialogDefProc(hDlg, msg, param1, param2);
}

int SimHost::InputBox(const char* title, const char* subTitle, const char* historyName,
                      const char* srcText, char* destText, int destLength, const char* helpTopic,
                      unsigned) {
  Record("input", Str(title), {Str(subTitle), Str(srcText)});
  if (!destText || destLength <= 0) return 0;
  std::string result;
  FlagOff prompt(atEditorPrompt_);
  if (!RunInputBox(ui_, Str(title), Str(subTitle), Str(historyName), Str(srcText), result,
                   destLength, Str(helpTopic), history_))  // the buffer size, NUL included
    return 0;
  size_t n = std::min(result.size(), static_cast<size_t>(destLength - 1));
  memcpy(destText, result.data(), n);
  destText[n] = 0;
  return 1;
}

int SimHost::Viewer(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                    unsigned) {
  if (!fileName || !platform::FileExists(fileName)) return 0;
  std::string native = platform::ToNativePath(fileName);
  Record("viewer", Str(title), {fileName});
  ResolveRect(screen_, x1, y1, x2, y2);
  ScreenKeeper keep(screen_);
  FlagOff prompt(atEditorPrompt_);
  RunViewer(ui_, native, Str(title), x1, y1, x2, y2);
  return 1;
}

int SimHost::ShowHelp(const char* moduleName, const char* topic, unsigned flags) {
  std::string path = (flags & FHELP_CUSTOMFILE) && moduleName
                         ? platform::ToNativePath(moduleName)
                         : HelpFilePath();
  std::string name = topic && *topic ? topic : "Contents";
  Record("help", name, {path});
  ScreenKeeper keep(screen_);
  FlagOff prompt(atEditorPrompt_);
  return RunHelpViewer(ui_, path, name) ? 1 : 0;
}

// ---- Screen ----

void SimHost::Text(int x, int y, int color, const char* str) {
  if (!str) {
    Flush();
    return;
  }
  screen_.Put(x, y, static_cast<unsigned char>(color), str);
}

HANDLE SimHost::SaveScreen(int x1, int y1, int x2, int y2) {
  auto* saved = new Console::Saved(screen_.Save(x1, y1, x2, y2));
  savedScreens_.insert(saved);
  return saved;
}

void SimHost::RestoreScreen(HANDLE hScreen) {
  if (!hScreen) {
    RedrawCurrentEditor();
    return;
  }
  auto* saved = static_cast<Console::Saved*>(hScreen);
  auto it = savedScreens_.find(saved);
  if (it == savedScreens_.end()) return;  // not a handle of ours, or restored already
  screen_.Restore(*saved);
  savedScreens_.erase(it);
  delete saved;
}

// ---- Panels and other services ----

int SimHost::Control(HANDLE, int command, void* param) {
  switch (command) {
    case FCTL_GETPANELINFO:
    case FCTL_GETANOTHERPANELINFO: {
      auto* pi = static_cast<PanelInfo*>(param);
      if (!pi) return 0;
      *pi = PanelInfo{};
      panelItem_ = PluginPanelItem{};
      if (!options_.PanelPath.empty()) {
        std::filesystem::path p(options_.PanelPath);
        std::string dir = platform::ToDosPath(p.parent_path().string());
        std::string name = p.filename().string();
        snprintf(pi->CurDir, sizeof pi->CurDir, "%s", dir.c_str());
        snprintf(panelItem_.FileName, sizeof panelItem_.FileName, "%s", name.c_str());
        std::error_code ec;
        auto size = std::filesystem::file_size(p, ec);
        panelItem_.FileSize = ec ? 0 : size;
        pi->ItemsNumber = 1;
        pi->PanelItems = &panelItem_;
      }
      return 1;
    }
    case FCTL_SETUSERSCREEN: return 1;
    default: return 0;
  }
}

intptr_t SimHost::AdvControl(int, int command, void* param) {
  if (command == ACTL_GETCOLOR) return PaletteColor(static_cast<int>(reinterpret_cast<intptr_t>(param)));
  return 0;
}

char* SimHost::MkTemp(char* dest, const char* prefix) {
  if (!dest) return nullptr;
  std::string dir = platform::TempDirectory();
  std::string pre = Str(prefix);
  for (int tries = 0; tries < 0x100000; ++tries) {
    char hex[8];
    snprintf(hex, sizeof hex, "%05X", tempCounter_++ & 0xFFFFF);
    std::string name = dir + pre + hex + ".TMP";
    if (tempNames_.count(name) || platform::FileExists(name) || platform::DirectoryExists(name))
      continue;
    tempNames_.insert(name);
    // The host's buffers hold a full path (260 bytes).
    snprintf(dest, 260, "%s", name.c_str());
    return dest;
  }
  return nullptr;
}

}  // namespace vemlo::sim
