// The replacement host's editor windows: the open files, the windows the
// plug-in opens over them, the key loop with its undo steps, and the input that
// feeds it (pastes, keys held back while a message box waits).
#include <algorithm>
#include <filesystem>

#include "editor_view.h"
#include "host_util.h"
#include "palette.h"
#include "script.h"
#include "sim_host.h"

namespace vemlo::sim {

using namespace detail;

// ---- Input ----

SimHost::TypeaheadHold::TypeaheadHold(SimHost& host) : host_(host) {
  ++host_.holdDepth_;
  // A paste being typed out is waiting, too.
  for (auto it = host_.pasteKeys_.rbegin(); it != host_.pasteKeys_.rend(); ++it)
    host_.typeahead_.push_front(QueuedEvent{*it, {}});
  host_.pasteKeys_.clear();
  while (host_.input_ && host_.escAfterEnd_ == 0 && host_.input_->Ready()) {
    QueuedEvent ev;
    if (!host_.input_->Read(ev.Rec)) break;
    if (ev.Rec.EventType == PASTE_EVENT) ev.Paste = host_.input_->PastedText();
    host_.typeahead_.push_back(std::move(ev));
  }
}

bool SimHost::ReadInput(INPUT_RECORD& rec) {
  for (;;) {
    if (!pasteKeys_.empty()) {
      rec = pasteKeys_.front();
      pasteKeys_.pop_front();
      return true;
    }
    QueuedEvent ev;
    if (holdDepth_ == 0 && !typeahead_.empty()) {
      ev = std::move(typeahead_.front());
      typeahead_.pop_front();
    } else {
      // A box that waits is on the screen before it takes its first key.
      if (holdDepth_ > 0) Flush();
      if (!input_ || escAfterEnd_ > 0 || !input_->Read(ev.Rec)) {
        if (++escAfterEnd_ > kMaxEscAfterEnd)
          throw InputExhausted("the input ended but the open windows did not close after " +
                               std::to_string(kMaxEscAfterEnd) + " Esc keys");
        rec = KeyEvent(VK_ESCAPE, 0x1B);
        return true;
      }
      if (ev.Rec.EventType == PASTE_EVENT) ev.Paste = input_->PastedText();
    }
    if (ev.Rec.EventType != PASTE_EVENT) {
      rec = ev.Rec;
      return true;
    }
    if (atEditorPrompt_) {
      paste_ = std::move(ev.Paste);
      rec = ev.Rec;
      return true;
    }
    // Any other window takes a paste as typed keys.
    for (size_t i = 0; i < ev.Paste.size(); ++i) {
      const char32_t c = ev.Paste[i];
      if (c == '\r' || c == '\n') {
        if (c == '\r' && i + 1 < ev.Paste.size() && ev.Paste[i + 1] == '\n') ++i;
        pasteKeys_.push_back(KeyEvent(VK_RETURN, '\r'));
        continue;
      }
      if (c < 0x20 && c != '\t') continue;
      INPUT_RECORD key = KeyEvent(0, 0);
      key.KeyEvent = TypedUnicodeEvent(c);
      pasteKeys_.push_back(key);
    }
  }
}

// ---- The windows ----

bool SimHost::OpenEditor(const std::string& nativePath) {
  std::string native = AbsoluteNative(nativePath);
  std::string dos = platform::ToDosPath(native);
  for (size_t i = 0; i < files_.size(); ++i)
    if (files_[i]->FileName == dos) {
      current_ = i;
      return true;
    }
  auto ed = std::make_unique<EditorWindow>();
  ed->Id = nextEditorId_++;
  ed->X2 = screen_.Width() - 1;
  ed->Y2 = screen_.Height() - 1;
  ed->ShowCodePage = options_.FileCodePage.has_value();
  if (!LoadEditorFile(*ed, dos, options_.FileCodePage)) {
    if (std::filesystem::exists(native)) return false;  // there but unreadable
    ed->FileName = dos;  // a new file
    ed->Cp = options_.FileCodePage.value_or(CodePage::Oem866);
  }
  if (options_.PanelPath.empty()) options_.PanelPath = native;
  files_.push_back(std::move(ed));
  current_ = files_.size() - 1;
  return true;
}

EditorWindow* SimHost::CurrentEditor() {
  if (!modal_.empty()) return modal_.back().get();
  return files_.empty() ? nullptr : files_[current_].get();
}

const EditorWindow* SimHost::LatestEditor() const {
  if (!modal_.empty()) return modal_.back().get();
  return files_.empty() ? lastClosed_.get() : files_[current_].get();
}

int SimHost::EditorDepth() const { return (files_.empty() ? 0 : 1) + static_cast<int>(modal_.size()); }

void SimHost::Resize(int width, int height) {
  int oldW = screen_.Width(), oldH = screen_.Height();
  screen_.Resize(width, height);
  ++ui_.Resizes;
  // Windows that filled the old screen fill the new one.
  auto follow = [&](EditorWindow& ed) {
    if (ed.X2 == oldW - 1) ed.X2 = screen_.Width() - 1;
    if (ed.Y2 == oldH - 1) ed.Y2 = screen_.Height() - 1;
    ed.X2 = std::min(ed.X2, screen_.Width() - 1);
    ed.Y2 = std::min(ed.Y2, screen_.Height() - 1);
    ed.X1 = std::min(ed.X1, ed.X2);
    ed.Y1 = std::min(ed.Y1, ed.Y2);
    FollowCursor(ed);
  };
  for (auto& ed : files_) follow(*ed);
  for (auto& ed : modal_) follow(*ed);
}

void SimHost::RedrawCurrentEditor() {
  if (EditorWindow* ed = CurrentEditor()) RenderEditor(*ed, screen_);
  Flush();
}

void SimHost::RedrawBackdrop() {
  screen_.Clear(static_cast<unsigned char>(PaletteColor(COL_EDITORTEXT)));
  if (!files_.empty()) RenderEditor(*files_[current_], screen_);
  for (auto& ed : modal_) RenderEditor(*ed, screen_);
}

SimHost::BackdropOnClose::BackdropOnClose(SimHost& host)
    : host_(host),
      cursorX_(host.screen_.CursorX),
      cursorY_(host.screen_.CursorY),
      cursorVisible_(host.screen_.CursorVisible) {}

SimHost::BackdropOnClose::~BackdropOnClose() {
  host_.RedrawBackdrop();
  host_.screen_.CursorX = cursorX_;
  host_.screen_.CursorY = cursorY_;
  host_.screen_.CursorVisible = cursorVisible_;
}

int SimHost::RunEditor() {
  if (files_.empty()) return EEC_OPEN_ERROR;
  bool saved = false;
  while (!files_.empty()) {
    current_ = std::min(current_, files_.size() - 1);
    EditorWindow& ed = *files_[current_];
    if (RunWindow(ed, true) != WindowEnd::Close) continue;
    saved = saved || ed.SavedChange;
    lastClosed_ = std::move(files_[current_]);
    files_.erase(files_.begin() + static_cast<long>(current_));
  }
  return saved ? EEC_MODIFIED : EEC_NOT_MODIFIED;
}

SimHost::WindowEnd SimHost::RunWindow(EditorWindow& ed, bool topLevel) {
  if (topLevel && ed.ReadOnly && !ed.ReadOnlyWarned) {
    ed.ReadOnlyWarned = true;
    RenderEditor(ed, screen_);
    MessageBox(FMSG_WARNING, {"Editor", ed.FileName, "is a read-only file.",
                              "Shift+F2 saves it under another name.", "OK"}, 1);
  }
  for (;;) {
    RenderEditor(ed, screen_);
    Flush();
    INPUT_RECORD rec;
    {
      FlagOff off(atEditorPrompt_);
      atEditorPrompt_ = true;
      ReadInput(rec);
    }
    if (rec.EventType == PASTE_EVENT) {
      InsertPaste(ed, paste_);
      continue;
    }
    WindowEnd end = WindowEnd::Stay;
    {
      // What the key changes, by the plug-in or by the editor, is one undo step.
      UndoStepGuard step(ed);
      int used = 0;
      if (plugin_.ProcessEditorInput) {
        try {
          used = plugin_.ProcessEditorInput(rec);
        } catch (const InputExhausted&) {
          throw;
        } catch (const std::exception& e) {
          // One key's handling ends here; the editor stays usable.
          ShowError({e.what()});
          used = 1;
        }
      }
      if (!used && rec.EventType == KEY_EVENT && rec.KeyEvent.bKeyDown)
        end = HostKey(ed, rec, topLevel);
    }
    ReportRefusal(ed);
    if (end != WindowEnd::Stay) return end;
  }
}

void SimHost::ReportRefusal(EditorWindow& ed) {
  if (!ed.Refused) return;
  const char32_t c = ed.Refused;
  ed.Refused = 0;
  MessageBox(FMSG_WARNING, {"Editor", "The code page " + CodePageName(ed.Cp) + " of this file has no",
                            "character " + CharacterName(c) + ": it was not inserted.", "OK"}, 1);
}

void SimHost::InsertPaste(EditorWindow& ed, const std::u32string& text) {
  std::u32string clean;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      clean += U'\n';
    } else if (c >= 0x20 || c == '\t' || c == '\n') {
      clean += c;
    }
  }
  UndoStepGuard step(ed);
  ed.Block = {};
  const bool overtype = ed.Overtype;
  ed.Overtype = false;
  InsertTextAtCursor(ed, clean);
  ed.Overtype = overtype;
  ReportRefusal(ed);
}

SimHost::WindowEnd SimHost::HostKey(EditorWindow& ed, const INPUT_RECORD& rec, bool topLevel) {
  const KEY_EVENT_RECORD& key = rec.KeyEvent;
  const unsigned state = key.dwControlKeyState & 0x1F;
  const bool alt = state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  const bool ctrl = state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  const bool shift = state & SHIFT_PRESSED;
  const bool plainShift = shift && !ctrl && !alt;
  switch (key.wVirtualKeyCode) {
    case VK_F11:
      if (state == 0 && plugin_.OpenPluginMenu) plugin_.OpenPluginMenu();
      return WindowEnd::Stay;
    case VK_F9:
      if (alt && shift && !ctrl && plugin_.Configure) plugin_.Configure();
      return WindowEnd::Stay;
    case VK_F2:
      if (state == 0) Save(ed);
      else if (plainShift) SaveAs(ed);
      return WindowEnd::Stay;
    case VK_F1:
      if (state == 0) ShowEditorHelp();
      return WindowEnd::Stay;
    case VK_F4:
      return plainShift && topLevel ? OpenPrompt() : WindowEnd::Stay;
    case VK_F7:
      if (state == 0) SearchDialog(ed, false);
      else if (ctrl && !alt && !shift) SearchDialog(ed, true);
      else if (plainShift) SearchAgain(ed, false);
      else if (alt && !ctrl && !shift) SearchAgain(ed, true);
      return WindowEnd::Stay;
    case VK_F8:
      // The files the plug-in opens are its own, in its code page.
      if (!topLevel) return WindowEnd::Stay;
      if (state == 0) ChangeCodePage(ed, NextCodePage(ed.Cp));
      else if (plainShift) CodePageMenu(ed);
      else if (alt && !ctrl && !shift) GoToPrompt(ed);
      return WindowEnd::Stay;
    case VK_F12:
      return state == 0 && topLevel ? SwitchMenu() : WindowEnd::Stay;
    case VK_F10:
    case VK_ESCAPE:
      if (state != 0) return WindowEnd::Stay;
      if (topLevel && ed.Modified && !ConfirmClose(ed, key.wVirtualKeyCode == VK_ESCAPE))
        return WindowEnd::Stay;
      return WindowEnd::Close;
    default:
      EditorHandleKey(ed, key, &clipboard_);
      return WindowEnd::Stay;
  }
}

bool SimHost::ConfirmClose(EditorWindow& ed, bool escape) {
  if (InputEnded()) return true;  // nobody is left to answer
  // Esc is the key of leaving without more ado: its question starts on "No",
  // so that Esc and Enter never save by accident.
  int answer = MessageBox(FMSG_WARNING, {"Editor", ed.FileName, "Save changes?", "Yes", "No", "Cancel"}, 3,
                          escape ? 1 : 0);
  if (answer == 1) return true;
  if (answer != 0) return false;
  return Save(ed);
}

void SimHost::ShowError(const std::vector<std::string>& lines) {
  std::vector<std::string> box = {"Error"};
  box.insert(box.end(), lines.begin(), lines.end());
  box.push_back("OK");
  MessageBox(FMSG_WARNING, box, 1);
}

int SimHost::Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                    unsigned, int startLine, int startChar) {
  if (!fileName) return EEC_OPEN_ERROR;
  auto ed = std::make_unique<EditorWindow>();
  // The plug-in writes its files in its own code page, 866.
  if (!LoadEditorFile(*ed, fileName, CodePage::Oem866)) return EEC_OPEN_ERROR;
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
  BackdropOnClose backdrop(*this);
  FlagOff prompt(atEditorPrompt_);
  modal_.push_back(std::move(ed));
  // The window leaves the stack however its loop ends.
  struct Pop {
    std::vector<std::unique_ptr<EditorWindow>>& Stack;
    ~Pop() { Stack.pop_back(); }
  } pop{modal_};
  EditorWindow& window = *modal_.back();
  RunWindow(window, false);
  return window.SavedChange ? EEC_MODIFIED : EEC_NOT_MODIFIED;
}

}  // namespace vemlo::sim
