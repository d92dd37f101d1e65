// F1 help: the topic menu of a help base; the parameter texts of FoxPro functions from the base of the options.
#include "fox/insight/help_param_text.h"
#include "help/vemlohlp.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "host/plugin_options.h"

namespace vemlo {

namespace {

// Closes the memo file and the help table on every path out of a lookup.
struct HelpBaseGuard {
  ~HelpBaseGuard() {
    CloseHelpMemo();
    CloseDBF(HelpState().HelpBase);
  }
};

std::vector<std::string> HelpBaseEntries() {
  std::vector<std::string> entries;
  const std::string list = Option(OptionId::FoxHelpBases) + "\f";
  size_t from = 0, ff;
  while ((ff = list.find('\f', from)) != std::string::npos) {
    std::string entry = Trim(list.substr(from, ff - from));
    if (!entry.empty()) entries.push_back(entry);
    from = ff + 1;
  }
  return entries;
}

// The first item of W's first letter that sorts after W (an exact match padded
// with blanks sorts after it too); the first item when there is none.
int PreselectedTopic(const std::vector<FarMenuItem>& items, const std::string& word) {
  const std::string w = UpperCase(word);
  if (w.empty()) return 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string text = UpperCase(items[i].Text);
    if (!text.empty() && text[0] == w[0] && text.compare(w) > 0) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace

bool ShowFoxHelp(const std::string& word, bool chooseBase) {
  const std::vector<std::string> entries = HelpBaseEntries();
  if (entries.empty()) return true;
  int choice = 0;
  if (chooseBase) {
    choice = FarMenu("FOXHelp", entries, 0, Msg(MsgId::HelpBasesTitle), FMENU_WRAPMODE);
    if (choice < 0 || choice >= static_cast<int>(entries.size())) return true;
  }
  const std::string& entry = entries[static_cast<size_t>(choice)];
  const size_t gt = entry.find('>');
  const std::string path = gt == std::string::npos ? entry : Trim(entry.substr(gt + 1));
  if (IsBlank(path)) return true;

  TxxHelpState& s = HelpState();
  HelpBaseGuard guard;
  LoadDBF(s.HelpBase, false, path);
  if (s.HelpBase.State != dsLoaded || s.HelpBase.RecCount <= 0) return true;
  const std::string memoPath = HelpMemoPath(path);
  if (!OpenHelpMemo(memoPath)) {
    FarMessage("FOXHelp", {Msg(MsgId::Title), Msg(MsgId::CannotOpen), memoPath}, 0, FMSG_WARNING | FMSG_MB_OK);
    return true;
  }
  s.MaxHelpTopics = 10;
  s.FrameHeaders = true;

  const int width = s.HelpBase.Fields.empty() ? 0 : s.HelpBase.Fields[0].Len;
  std::vector<FarMenuItem> items(static_cast<size_t>(s.HelpBase.RecCount));
  for (size_t i = 0; i < items.size(); ++i)
    SetMenuItemText(items[i], PadRightTo(DBFValueRef(s.HelpBase, 0, static_cast<int>(i)), width) + "  ");
  TxxMenuCall call;
  call.HelpTopic = "FOXHelp";
  call.Title = s.HelpBase.FileName;
  call.Flags = FMENU_SHOWAMPERSAND;
  FarMenuLoop(call, items, PreselectedTopic(items, word), [](const TxxMenuChoice& choice) {
    ShowHelpTopic(choice.Item);
    return true;
  });
  return true;
}

std::string HelpParamText(const std::string& name) {
  std::string text;
  TellReadProblem(HelpBaseParamText(Trim(Option(OptionId::FoxHelpBaseParams)), name, LoadDBF, text), "FOXHelp");
  return text;
}

}  // namespace vemlo
