// The host's input box: a title, a prompt and one edit line with a history of
// earlier entries per history name.
#include <algorithm>

#include "ui.h"
#include "ui_draw.h"
#include "ui_edit.h"

namespace vemlo::sim {

bool RunInputBox(UiEnv& env, const std::string& title, const std::string& prompt,
                 const std::string& historyName, const std::string& initial, std::string& result,
                 int maxLength, const std::string& helpTopic,
                 std::map<std::string, std::vector<std::string>>& history) {
  if (!env.Screen) return false;
  Console& con = *env.Screen;
  const size_t limit = maxLength > 1 ? static_cast<size_t>(maxLength - 1) : 0;
  LineEdit edit = MakeLineEdit(initial, limit);

  const int wanted = std::max({60, static_cast<int>(prompt.size()), static_cast<int>(title.size()) + 2});
  int content = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  auto layout = [&] {
    content = std::min(wanted, std::max(con.Width() - 10, 1));
    const int width = content + 10, height = 6;
    x1 = std::max((con.Width() - width) / 2, 0);
    y1 = std::max((con.Height() - height) / 2, 0);
    x2 = x1 + width - 1;
    y2 = y1 + height - 1;
  };
  layout();
  const unsigned char attr = UiColor(env, COL_DIALOGTEXT);

  ScreenGuard guard(env, x1, y1, x2, y2);
  const std::vector<std::string>* past = nullptr;
  if (!historyName.empty()) {
    auto it = history.find(historyName);
    if (it != history.end()) past = &it->second;
  }
  int recalled = -1;  // -1: the text being typed, else an index into the history
  std::string typed;

  for (;;) {
    con.CursorVisible = false;
    con.Fill(x1, y1, x2, y2, ' ', attr);
    DrawBox(con, x1 + 3, y1 + 1, x2 - 3, y2 - 1, attr, true);
    DrawBorderText(con, x1 + 3, x2 - 3, y1 + 1, title, attr);
    con.Put(x1 + 5, y1 + 2, attr, CutTo(prompt, content));
    DrawLineEdit(con, edit, x1 + 5, y1 + 3, content, 0x30, true);
    DrawShadow(con, x1, y1, x2, y2);

    KEY_EVENT_RECORD key;
    bool resized;
    if (!NextKeyOrResize(env, key, resized)) return false;
    if (resized) {
      layout();
      continue;
    }
    const int vk = key.wVirtualKeyCode;
    if (vk == VK_ESCAPE) return false;
    if (vk == VK_RETURN) {
      result = edit.Text;
      if (!historyName.empty() && !edit.Text.empty()) RememberHistory(history[historyName], edit.Text);
      return true;
    }
    if (vk == VK_F1) {
      if (!helpTopic.empty() && env.Help) env.Help(helpTopic);
      continue;
    }
    if (vk == VK_UP || vk == VK_DOWN) {
      if (!past || past->empty()) continue;
      if (recalled < 0) typed = edit.Text;
      const int n = static_cast<int>(past->size());
      recalled = vk == VK_UP ? std::min(recalled + 1, n - 1) : std::max(recalled - 1, -1);
      edit = MakeLineEdit(recalled < 0 ? typed : (*past)[recalled], limit);
      continue;
    }
    EditKey(edit, key);
  }
}

}  // namespace vemlo::sim
