// Shared pieces of the table tests: a temporary folder, and a host that records
// the message boxes it is asked to show and answers them from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "host/far_api.h"
#include "dbf_writer.h"
#include "temp_tree.h"

namespace vemlo::test {

struct ShownMessage {
  unsigned Flags = 0;
  std::string HelpTopic;
  std::vector<std::string> Lines;
};

class RecordingHost : public FarHost {
 public:
  std::vector<ShownMessage> Shown;
  std::deque<int> Answers;  // given to the next boxes in turn; 0 when none is left

  const char* GetMsg(int pluginNumber, int msgId) override;
  int Message(int pluginNumber, unsigned flags, const char* helpTopic, const char* const* items,
              int itemsNumber, int buttonsNumber) override;
  int Menu(int, int, int, int, unsigned, const char*, const char*, const char*, const int*, int*,
           const FarMenuItem*, int) override { return -1; }
  int DialogEx(int, int, int, int, int, const char*, FarDialogItem*, int, unsigned, unsigned,
               FarDialogProc, intptr_t) override { return -1; }
  intptr_t SendDlgMessage(HANDLE, int, int, intptr_t) override { return 0; }
  intptr_t DefDlgProc(HANDLE, int, int, intptr_t) override { return 0; }
  int EditorControl(int, void*) override { return 0; }
  int Editor(const char*, const char*, int, int, int, int, unsigned, int, int) override { return 0; }
  int Viewer(const char*, const char*, int, int, int, int, unsigned) override { return 0; }
  void Text(int, int, int, const char*) override {}
  HANDLE SaveScreen(int, int, int, int) override { return nullptr; }
  void RestoreScreen(HANDLE) override {}
  int Control(HANDLE, int, void*) override { return 0; }
  intptr_t AdvControl(int, int, void*) override { return 0; }
  int ShowHelp(const char*, const char*, unsigned) override { return 0; }
  int InputBox(const char*, const char*, const char*, const char*, char*, int, const char*,
               unsigned) override { return 0; }
  char* MkTemp(char* dest, const char*) override { return dest; }

 private:
  std::map<int, std::string> texts_;
};

// The text RecordingHost gives for message n.
std::string MsgText(int n);

// Each test gets a fresh folder and a recording host installed as the host.
class DbfTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Native path of a file in the test folder, and the DOS path the plug-in uses.
  std::string Native(const std::string& name) const { return tree_.Native(name); }
  std::string Dos(const std::string& name) const;
  // Writes a table and returns its DOS path.
  std::string Table(const std::string& name, const std::vector<DbfFieldSpec>& fields,
                    const std::vector<DbfRow>& rows, const DbfWriteOptions& options = {});
  // The message numbers shown since the last call (the second line of each box).
  std::vector<int> TakeShown();

  RecordingHost host_;

 private:
  TempTree tree_;
};

}  // namespace vemlo::test
