// The stdcall dialog procedure the host calls, and the table that leads it
// from the host's dialog handle to the plug-in's own procedure.
#include "real_host.h"

namespace vemlo::win {

std::vector<ActiveDialog>& ActiveDialogs() {
  static std::vector<ActiveDialog> dialogs;
  return dialogs;
}

namespace {

ActiveDialog* DialogOf(abi::HANDLE hDlg) {
  std::vector<ActiveDialog>& dialogs = ActiveDialogs();
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
    if (it->Handle == hDlg) return &*it;
  // The first message of a dialog: it belongs to the innermost one not yet seen.
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
    if (!it->Handle) {
      it->Handle = hDlg;
      return &*it;
    }
  return nullptr;
}

}  // namespace

abi::INT_PTR __stdcall DialogTrampoline(abi::HANDLE hDlg, int msg, int param1, abi::INT_PTR param2) {
  ActiveDialog* dialog = DialogOf(hDlg);
  // No exception may cross the host's frames: the first one is kept and raised
  // again when the dialog has closed; until then the host's defaults answer.
  if (!dialog || !dialog->Proc || dialog->Failure) return TheHost().DefDlgProc(hDlg, msg, param1, param2);
  try {
    return dialog->Proc(hDlg, msg, param1, param2);
  } catch (...) {
    // The table may have grown while the procedure ran: find the entry again.
    if (ActiveDialog* again = DialogOf(hDlg)) again->Failure = std::current_exception();
    return TheHost().DefDlgProc(hDlg, msg, param1, param2);
  }
}

}  // namespace vemlo::win
