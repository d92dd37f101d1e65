// The host interface over the real host's service table.
#pragma once

#include <exception>
#include <vector>

#include "far_abi.h"
#include "host/far_api.h"

namespace vemlo::win {

class RealHost final : public FarHost {
 public:
  // Copies the service table and the standard-function table it points to;
  // false when the table is too short for the services the plug-in calls.
  bool Start(const abi::PluginStartupInfo& info);
  const abi::PluginStartupInfo& Info() const { return info_; }

  const char* GetMsg(int pluginNumber, int msgId) override;
  int Message(int pluginNumber, unsigned flags, const char* helpTopic, const char* const* items,
              int itemsNumber, int buttonsNumber) override;
  int Menu(int pluginNumber, int x, int y, int maxHeight, unsigned flags, const char* title,
           const char* bottom, const char* helpTopic, const int* breakKeys, int* breakCode,
           const FarMenuItem* item, int itemsNumber) override;
  int DialogEx(int pluginNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
               FarDialogItem* item, int itemsNumber, unsigned reserved, unsigned flags,
               FarDialogProc dlgProc, intptr_t param) override;
  intptr_t SendDlgMessage(HANDLE hDlg, int msg, int param1, intptr_t param2) override;
  intptr_t DefDlgProc(HANDLE hDlg, int msg, int param1, intptr_t param2) override;
  int EditorControl(int command, void* param) override;
  int Editor(const char* fileName, const char* title, int x1, int y1, int x2, int y2, unsigned flags,
             int startLine, int startChar) override;
  int Viewer(const char* fileName, const char* title, int x1, int y1, int x2, int y2,
             unsigned flags) override;
  void Text(int x, int y, int color, const char* str) override;
  HANDLE SaveScreen(int x1, int y1, int x2, int y2) override;
  void RestoreScreen(HANDLE hScreen) override;
  int Control(HANDLE hPlugin, int command, void* param) override;
  intptr_t AdvControl(int moduleNumber, int command, void* param) override;
  int ShowHelp(const char* moduleName, const char* topic, unsigned flags) override;
  int InputBox(const char* title, const char* subTitle, const char* historyName, const char* srcText,
               char* destText, int destLength, const char* helpTopic, unsigned flags) override;
  char* MkTemp(char* dest, const char* prefix) override;

 private:
  abi::PluginStartupInfo info_{};
  abi::FarStandardFunctions fsf_{};
  std::vector<PluginPanelItem> panelItems_[2];  // converted items of the last panel request, per panel
};

// The one host of the loaded module.
RealHost& TheHost();

// The dialogs open at the moment, innermost last: the host's dialog handle
// and the plug-in's procedure for it. The host learns only the stdcall
// trampoline; the trampoline finds the procedure here.
struct ActiveDialog {
  HANDLE Handle = nullptr;  // known from the first message the host sends
  FarDialogProc Proc = nullptr;
  std::exception_ptr Failure;  // an exception of the procedure, raised again after the dialog
};
std::vector<ActiveDialog>& ActiveDialogs();
abi::INT_PTR __stdcall DialogTrampoline(abi::HANDLE hDlg, int msg, int param1, abi::INT_PTR param2);

}  // namespace vemlo::win
