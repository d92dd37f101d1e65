// The help unit's state and its memo file.
#include "help/vemlohlp.h"

#include "lib/xxlib.h"

namespace vemlo {

TxxHelpState& HelpState() {
  static TxxHelpState state;
  return state;
}

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
