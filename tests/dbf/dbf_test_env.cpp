#include "dbf_test_env.h"

#include "config/messages.h"
#include "host/xxfar.h"
#include "platform/platform.h"

namespace vemlo::test {

std::string MsgText(int n) { return "msg#" + std::to_string(n); }

const char* RecordingHost::GetMsg(int, int msgId) {
  auto it = texts_.find(msgId);
  if (it == texts_.end()) it = texts_.emplace(msgId, MsgText(msgId)).first;
  return it->second.c_str();
}

int RecordingHost::Message(int, unsigned flags, const char* helpTopic, const char* const* items,
                           int itemsNumber, int) {
  ShownMessage m;
  m.Flags = flags;
  m.HelpTopic = helpTopic ? helpTopic : "";
  for (int i = 0; i < itemsNumber; ++i) m.Lines.emplace_back(items[i]);
  Shown.push_back(m);
  if (Answers.empty()) return 0;
  int answer = Answers.front();
  Answers.pop_front();
  return answer;
}

void DbfTest::SetUp() {
  PluginStartupInfo info;
  info.ModuleName = tree_.Dos("vemlo.dll");
  info.Api = &host_;
  FarSetInfo(info);
}

void DbfTest::TearDown() { FarSetInfo(PluginStartupInfo{}); }

std::string DbfTest::Dos(const std::string& name) const { return tree_.Dos(name); }

std::string DbfTest::Table(const std::string& name, const std::vector<DbfFieldSpec>& fields,
                           const std::vector<DbfRow>& rows, const DbfWriteOptions& options) {
  EXPECT_TRUE(WriteDbf(Native(name), fields, rows, options));
  return Dos(name);
}

std::vector<int> DbfTest::TakeShown() {
  std::vector<int> numbers;
  for (const auto& m : host_.Shown) {
    int n = -1;
    for (int k = 0; k < kMessageCount; ++k)
      if (m.Lines.size() > 1 && m.Lines[1] == MsgText(k)) n = k;
    numbers.push_back(n);
  }
  host_.Shown.clear();
  return numbers;
}

}  // namespace vemlo::test
