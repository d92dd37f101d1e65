// The help unit's state in the context, and the memo file of the base in use.
#include "help/vemlohlp.h"

#include "host/context.h"
#include "lib/xxlib.h"

namespace vemlo {

TxxHelpState& HelpState() { return Ctx().Help; }

bool OpenHelpMemo(const std::string& memoPath) {
  TxxHelpState& s = HelpState();
  s.Memo.Close();
  return s.Memo.Open(memoPath);
}

void CloseHelpMemo() {
  HelpState().Memo.Close();
}

TxxReadStatus ReadMemoText(int64_t block, const TxxMemoLineHandler& handler) {
  return ReadMemoText(HelpState().Memo, block, handler);
}

}  // namespace vemlo
