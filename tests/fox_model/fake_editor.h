// A host with one editor over a list of lines, recording the message boxes it is
// asked to show; enough for the model's refresh without the whole replacement host.
#pragma once

#include <string>
#include <vector>

#include "host/far_api.h"

namespace vemlo::test {

struct ShownMessage {
  unsigned Flags = 0;
  std::string HelpTopic;
  std::vector<std::string> Lines;
};

class FakeEditorHost : public FarHost {
 public:
  // Installs itself as the plug-in's host; `moduleName` is a DOS path.
  explicit FakeEditorHost(const std::string& moduleName = "Z:\\NOWHERE\\VEMLO.DLL");
  ~FakeEditorHost() override;

  std::string FileName;
  std::vector<std::string> Lines;
  int CurLine = 0, CurPos = 0, TopLine = 0, LeftPos = 0;
  int EditorId = 7;
  std::vector<ShownMessage> Messages;
  int LinesRead = 0;  // GETSTRING requests

  // Message boxes that carry one of the warning flags (not progress boxes).
  std::vector<ShownMessage> Warnings() const;
  int ProgressBoxes() const { return progressOpened_; }

  const char* GetMsg(int pluginNumber, int msgId) override;
  int Message(int pluginNumber, unsigned flags, const char* helpTopic, const char* const* items,
              int itemsNumber, int buttonsNumber) override;
  int Menu(int, int, int, int, unsigned, const char*, const char*, const char*, const int*, int*,
           const FarMenuItem*, int) override { return -1; }
  int DialogEx(int, int, int, int, int, const char*, FarDialogItem*, int, unsigned, unsigned,
               FarDialogProc, intptr_t) override { return -1; }
  intptr_t SendDlgMessage(HANDLE, int, int, intptr_t) override { return 0; }
  intptr_t DefDlgProc(HANDLE, int, int, intptr_t) override { return 0; }
  int EditorControl(int command, void* param) override;
  int Editor(const char*, const char*, int, int, int, int, unsigned, int, int) override { return 0; }
  int Viewer(const char*, const char*, int, int, int, int, unsigned) override { return 0; }
  void Text(int, int, int, const char*) override {}
  HANDLE SaveScreen(int, int, int, int) override;
  void RestoreScreen(HANDLE) override {}
  int Control(HANDLE, int, void*) override { return 0; }
  intptr_t AdvControl(int, int, void*) override { return 0; }
  int ShowHelp(const char*, const char*, unsigned) override { return 0; }
  int InputBox(const char*, const char*, const char*, const char*, char*, int, const char*,
               unsigned) override { return 0; }
  char* MkTemp(char*, const char*) override { return nullptr; }

 private:
  std::vector<std::string> msgTexts_;
  std::string lineBuffer_;
  int progressOpened_ = 0;
  int screenHandle_ = 0;
};

}  // namespace vemlo::test
