// The help unit's state and its memo file.
#include "help/vemlohlp.h"

#include "host/context.h"
#include "lib/xxlib.h"

namespace vemlo {

TxxHelpState& HelpState() { return Ctx().Help; }

std::string HelpMemoPath(const std::string& tablePath) { return ChangeFileExt(tablePath, ".fpt"); }

bool OpenHelpMemo(const std::string& memoPath) {
  TxxHelpState& s = HelpState();
  s.Memo.Close();
  s.MemoBlockSize = 0;
  return s.Memo.Open(memoPath);
}

void CloseHelpMemo() {
  TxxHelpState& s = HelpState();
  s.Memo.Close();
  s.MemoBlockSize = 0;
}

}  // namespace vemlo
