// The host interface over the real service table: each call converts the
// plug-in's records to the host's layout and back.
#include "real_host.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "records.h"

namespace vemlo::win {

namespace {

// The last service the plug-in calls through the table: a shorter table
// comes from a host too old for the module.
constexpr size_t kNeededTable = offsetof(abi::PluginStartupInfo, DefDlgProc) + sizeof(void*);

// Services the table left out are not called.
template <typename F>
bool Have(F f) {
  return f != nullptr;
}

}  // namespace

// The host's module number is pointer-wide (the x64 host passes an address),
// the plug-in's copy of it an int: every call hands the host its own value.

bool RealHost::Start(const abi::PluginStartupInfo& info) {
  if (info.StructSize < static_cast<int>(kNeededTable)) return false;
  std::memset(&info_, 0, sizeof info_);
  std::memcpy(&info_, &info, info.StructSize < static_cast<int>(sizeof info_) ? info.StructSize : sizeof info_);
  std::memset(&fsf_, 0, sizeof fsf_);
  if (info.FSF && info.FSF->StructSize > 0) {
    const size_t n = static_cast<size_t>(info.FSF->StructSize) < sizeof fsf_ ? info.FSF->StructSize : sizeof fsf_;
    std::memcpy(&fsf_, info.FSF, n);
  }
  info_.FSF = &fsf_;
  return true;
}

const char* RealHost::GetMsg(int, int msgId) {
  const char* text = Have(info_.GetMsg) ? info_.GetMsg(info_.ModuleNumber, msgId) : nullptr;
  return text ? text : "";
}

int RealHost::Message(int, unsigned flags, const char* helpTopic, const char* const* items,
                      int itemsNumber, int buttonsNumber) {
  if (!Have(info_.Message)) return -1;
  return info_.Message(info_.ModuleNumber, flags, helpTopic, items, itemsNumber, buttonsNumber);
}

int RealHost::Menu(int, int x, int y, int maxHeight, unsigned flags, const char* title,
                   const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
                   const FarMenuItem* item, int itemsNumber) {
  if (!Have(info_.Menu) || itemsNumber < 0) return -1;
  std::vector<abi::FarMenuItem> items(static_cast<size_t>(itemsNumber));
  for (int i = 0; i < itemsNumber; ++i) ToReal(item[i], items[static_cast<size_t>(i)]);
  return info_.Menu(info_.ModuleNumber, x, y, maxHeight, flags, title, bottom, helpTopic, breakKeys, breakCode,
                    items.data(), itemsNumber);
}

int RealHost::DialogEx(int, int x1, int y1, int x2, int y2, const char* helpTopic,
                       FarDialogItem* item, int itemsNumber, unsigned reserved, unsigned flags,
                       FarDialogProc dlgProc, intptr_t param) {
  if (!Have(info_.DialogEx) || itemsNumber < 0) return -1;
  std::vector<abi::FarDialogItem> items(static_cast<size_t>(itemsNumber));
  for (int i = 0; i < itemsNumber; ++i) ToReal(item[i], items[static_cast<size_t>(i)]);

  std::vector<ActiveDialog>& active = ActiveDialogs();
  if (dlgProc) active.push_back(ActiveDialog{nullptr, dlgProc, nullptr});
  const size_t depth = active.size();
  // The entry goes however the dialog ends.
  struct Pop {
    bool Pushed;
    size_t Depth;
    ~Pop() {
      if (Pushed && ActiveDialogs().size() >= Depth) ActiveDialogs().resize(Depth - 1);
    }
  } pop{dlgProc != nullptr, depth};

  const int result = info_.DialogEx(info_.ModuleNumber, x1, y1, x2, y2, helpTopic, items.data(), itemsNumber,
                                    reserved, flags, dlgProc ? DialogTrampoline : nullptr,
                                    static_cast<abi::INT_PTR>(param));
  for (int i = 0; i < itemsNumber; ++i) FromReal(items[static_cast<size_t>(i)], item[i]);
  if (dlgProc && active.size() >= depth && active[depth - 1].Failure) {
    std::exception_ptr failure = active[depth - 1].Failure;
    std::rethrow_exception(failure);
  }
  return result;
}

intptr_t RealHost::SendDlgMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  if (!Have(info_.SendDlgMessage)) return 0;
  if (msg == DM_GETDLGRECT && param2) {
    abi::SMALL_RECT rect{};
    const abi::INT_PTR r = info_.SendDlgMessage(hDlg, msg, param1, reinterpret_cast<abi::INT_PTR>(&rect));
    FromReal(rect, *reinterpret_cast<SMALL_RECT*>(param2));
    return r;
  }
  if (msg == DM_GETDLGITEM && param2) {
    abi::FarDialogItem dlgItem{};
    const abi::INT_PTR r = info_.SendDlgMessage(hDlg, msg, param1, reinterpret_cast<abi::INT_PTR>(&dlgItem));
    FromReal(dlgItem, *reinterpret_cast<FarDialogItem*>(param2));
    return r;
  }
  return info_.SendDlgMessage(hDlg, msg, param1, param2);
}

intptr_t RealHost::DefDlgProc(HANDLE hDlg, int msg, int param1, intptr_t param2) {
  // The host's own records come with the host's messages: they pass unchanged.
  return Have(info_.DefDlgProc) ? info_.DefDlgProc(hDlg, msg, param1, param2) : 0;
}

int RealHost::EditorControl(int command, void* param) {
  if (!Have(info_.EditorControl)) return 0;
  auto call = [&](void* p) { return info_.EditorControl(command, p); };
  if (!param) return call(nullptr);
  switch (command) {
    case ECTL_GETSTRING: {
      EditorGetString& s = *static_cast<EditorGetString*>(param);
      abi::EditorGetString real{};
      real.StringNumber = s.StringNumber;
      const int r = call(&real);
      if (r) FromReal(real, s);
      return r;
    }
    case ECTL_SETSTRING: {
      abi::EditorSetString real{};
      ToReal(*static_cast<EditorSetString*>(param), real);
      return call(&real);
    }
    case ECTL_GETINFO: {
      abi::EditorInfo real{};
      const int r = call(&real);
      if (r) FromReal(real, *static_cast<EditorInfo*>(param));
      return r;
    }
    case ECTL_SETPOSITION: {
      abi::EditorSetPosition real{};
      ToReal(*static_cast<EditorSetPosition*>(param), real);
      return call(&real);
    }
    case ECTL_TABTOREAL:
    case ECTL_REALTOTAB: {
      EditorConvertPos& pos = *static_cast<EditorConvertPos*>(param);
      abi::EditorConvertPos real{};
      ToReal(pos, real);
      const int r = call(&real);
      FromReal(real, pos);
      return r;
    }
    case ECTL_READINPUT: {
      abi::INPUT_RECORD real{};
      const int r = call(&real);
      if (r) FromReal(real, *static_cast<INPUT_RECORD*>(param));
      return r;
    }
    case ECTL_PROCESSINPUT: {
      abi::INPUT_RECORD real{};
      ToReal(*static_cast<const INPUT_RECORD*>(param), real);
      const int r = call(&real);
      // The real host repaints the editor after a processed key only when it
      // next reads input, over whatever the plug-in draws meanwhile (a list,
      // a hint box); redrawing now puts the editor under the plug-in's window.
      info_.EditorControl(ECTL_REDRAW, nullptr);
      return r;
    }
    case ECTL_SETKEYBAR: {
      // -1 (restore the host's own titles) is no record.
      if (param == reinterpret_cast<void*>(-1)) return call(param);
      abi::KeyBarTitles real{};
      ToReal(*static_cast<KeyBarTitles*>(param), real);
      return call(&real);
    }
    case ECTL_GETBOOKMARKS: {
      EditorBookMarks& marks = *static_cast<EditorBookMarks*>(param);
      static_assert(sizeof(long) == sizeof(abi::LONG));
      abi::EditorBookMarks real{};
      real.Line = reinterpret_cast<abi::LONG*>(marks.Line);
      real.Cursor = reinterpret_cast<abi::LONG*>(marks.Cursor);
      real.ScreenLine = reinterpret_cast<abi::LONG*>(marks.ScreenLine);
      real.LeftPos = reinterpret_cast<abi::LONG*>(marks.LeftPos);
      return call(&real);
    }
    default:
      // Texts, numbers and records the plug-in shares with the host as they are.
      return call(param);
  }
}

int RealHost::Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                     unsigned flags, int startLine, int startChar) {
  if (!Have(info_.Editor)) return EEC_OPEN_ERROR;
  return info_.Editor(fileName, title, x1, y1, x2, y2, flags, startLine, startChar);
}

int RealHost::Viewer(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
                     unsigned flags) {
  return Have(info_.Viewer) ? info_.Viewer(fileName, title, x1, y1, x2, y2, flags) : 0;
}

void RealHost::Text(int x, int y, int color, const char* str) {
  if (Have(info_.Text)) info_.Text(x, y, color, str);
}

HANDLE RealHost::SaveScreen(int x1, int y1, int x2, int y2) {
  return Have(info_.SaveScreen) ? info_.SaveScreen(x1, y1, x2, y2) : nullptr;
}

void RealHost::RestoreScreen(HANDLE hScreen) {
  if (Have(info_.RestoreScreen)) info_.RestoreScreen(hScreen);
}

int RealHost::Control(HANDLE hPlugin, int command, void* param) {
  if (!Have(info_.Control)) return 0;
  if ((command == FCTL_GETPANELINFO || command == FCTL_GETANOTHERPANELINFO) && param) {
    abi::PanelInfo real{};
    const int r = info_.Control(hPlugin, command, &real);
    PanelInfo& out = *static_cast<PanelInfo*>(param);
    if (!r) return r;
    FromReal(real, out);
    // The items stay valid until the next request for the same panel.
    std::vector<PluginPanelItem>& items = panelItems_[command == FCTL_GETPANELINFO ? 0 : 1];
    items.clear();
    if (real.PanelItems && real.ItemsNumber > 0) {
      items.resize(static_cast<size_t>(real.ItemsNumber));
      for (int i = 0; i < real.ItemsNumber; ++i) FromReal(real.PanelItems[i], items[static_cast<size_t>(i)]);
      out.PanelItems = items.data();
    } else {
      out.ItemsNumber = 0;
    }
    return r;
  }
  return info_.Control(hPlugin, command, param);
}

intptr_t RealHost::AdvControl(int, int command, void* param) {
  return Have(info_.AdvControl) ? info_.AdvControl(info_.ModuleNumber, command, param) : 0;
}

int RealHost::ShowHelp(const char* moduleName, const char* topic, unsigned flags) {
  return Have(info_.ShowHelp) ? info_.ShowHelp(moduleName, topic, flags) : 0;
}

int RealHost::InputBox(const char* title, const char* subTitle, const char* historyName, const char* srcText,
                       char* destText, int destLength, const char* helpTopic, unsigned flags) {
  if (!Have(info_.InputBox)) return 0;
  return info_.InputBox(title, subTitle, historyName, srcText, destText, destLength, helpTopic, flags);
}

char* RealHost::MkTemp(char* dest, const char* prefix) {
  return Have(fsf_.MkTemp) ? fsf_.MkTemp(dest, prefix) : nullptr;
}

}  // namespace vemlo::win
