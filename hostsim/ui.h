// The replacement host's modal windows: menus, message boxes, dialogs, the
// input box, the viewer and the help viewer. Each runs its own key loop over
// the input of the host and draws on the virtual console.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "console.h"
#include "host/far_api.h"

namespace vemlo::sim {

// What a modal window needs of the host around it.
struct UiEnv {
  Console* Screen = nullptr;
  // Next input event; false when the input has ended (windows then close as on Esc).
  std::function<bool(INPUT_RECORD&)> ReadInput;
  // Colour attribute of a palette index (COL_*).
  std::function<int(int)> Color;
  // F1: shows a topic of the plug-in's help file.
  std::function<void(const std::string& topic)> Help;
  // Counts the resizes of the screen; a window that saw one lays itself out
  // again over the editors drawn anew (RedrawBackdrop), and puts back no saved
  // cells when it closes.
  int Resizes = 0;
  std::function<void()> RedrawBackdrop;
  // Earlier entries of the input lines, per history name (newest first).
  std::map<std::string, std::vector<std::string>>* History = nullptr;
};

// An edit item of a dialog whose Param.History names its history (as the host's flag).
inline constexpr unsigned DIF_HISTORY = 0x00040000;

// Menu (host semantics: highlight, separators, check marks, "&" hot keys unless
// FMENU_SHOWAMPERSAND, break keys with break codes, FMENU_WRAPMODE).
int RunMenu(UiEnv& env, int x, int y, int maxHeight, unsigned flags, const std::string& title,
            const std::string& bottom, const std::string& helpTopic, const int* breakKeys,
            int* breakCode, const FarMenuItem* items, int count);

// Message box. Lines: the first is the title, the last `buttons` are button captions
// (the FMSG_MB_* flags add the host's own buttons). A line of the single byte 0x01
// is a separator. Without buttons the box is drawn and the call returns -1 at once.
int RunMessage(UiEnv& env, unsigned flags, const std::string& helpTopic,
               const std::vector<std::string>& lines, int buttons, int focus = 0);

// Dialog with a dialog procedure; returns the index of the closing item, -1 on Esc.
// An edit with DIF_HISTORY offers its earlier entries on Ctrl+Up or Ctrl+Down and
// remembers its text when the dialog closes with a button.
int RunDialog(UiEnv& env, int x1, int y1, int x2, int y2, const std::string& helpTopic,
              FarDialogItem* items, int count, FarDialogProc proc, intptr_t param);
intptr_t DialogSendMessage(HANDLE hDlg, int msg, int param1, intptr_t param2);
intptr_t DialogDefProc(HANDLE hDlg, int msg, int param1, intptr_t param2);

// Input box with per-name history (kept in `history`); true when confirmed.
bool RunInputBox(UiEnv& env, const std::string& title, const std::string& prompt,
                 const std::string& historyName, const std::string& initial, std::string& result,
                 int maxLength, const std::string& helpTopic,
                 std::map<std::string, std::vector<std::string>>& history);

// Read-only viewer of a file (native path) over a rectangle.
void RunViewer(UiEnv& env, const std::string& nativePath, const std::string& title, int x1, int y1,
               int x2, int y2);

// Help viewer for the host's help-file format, starting at `topic`; returns false
// when the file or the topic cannot be found.
bool RunHelpViewer(UiEnv& env, const std::string& nativePath, const std::string& topic);

}  // namespace vemlo::sim
