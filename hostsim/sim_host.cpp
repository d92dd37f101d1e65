#include "sim_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "editor_view.h"
#include "host_util.h"
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

}  // namespace

namespace detail {

std::string AbsoluteNative(const std::string& path) {
  std::error_code ec;
  auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

void ResolveRect(const Console& screen, int& x1, int& y1, int& x2, int& y2) {
  int w = screen.Width(), h = screen.Height();
  if (x2 < 0 || x2 >= w) x2 = w - 1;
  if (y2 < 0 || y2 >= h) y2 = h - 1;
  x1 = std::clamp(x1, 0, x2);
  y1 = std::clamp(y1, 0, y2);
}

}  // namespace detail

using namespace detail;

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
  ui_.RedrawBackdrop = [this] { RedrawBackdrop(); };
  ui_.History = &history_;
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
  return MessageBox(flags, lines, buttonsNumber, 0, Str(helpTopic));
}

int SimHost::MessageBox(unsigned flags, const std::vector<std::string>& lines, int buttons, int focus,
                        const std::string& helpTopic) {
  Record("message", lines.empty() ? "" : lines[0],
         lines.empty() ? std::vector<std::string>{}
                       : std::vector<std::string>(lines.begin() + 1, lines.end()));
  FlagOff prompt(atEditorPrompt_);
  const bool waits = buttons > 0 || (flags & 0x000F0000u) != 0;
  if (!waits) {
    // A box that does not wait is on the screen while the work it announces runs.
    int result = RunMessage(ui_, flags, helpTopic, lines, buttons);
    Flush();
    return result;
  }
  TypeaheadHold hold(*this);
  return RunMessage(ui_, flags, helpTopic, lines, buttons, focus);
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
  BackdropOnClose backdrop(*this);
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
