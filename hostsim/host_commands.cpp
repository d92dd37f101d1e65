// The editor's commands behind function keys: save and save as, opening and
// switching files, go to, search and replace, the code page, the key list.
#include <algorithm>
#include <cstring>

#include "editor_view.h"
#include "host_util.h"
#include "sim_host.h"
#include "ui_draw.h"

namespace vemlo::sim {

using namespace detail;

namespace {

// A path as the user types it: a DOS path (with a drive) or a native one,
// relative to the working folder.
std::string DosPathOf(const std::string& typed) {
  if (typed.size() >= 3 && std::isalpha(static_cast<unsigned char>(typed[0])) && typed[1] == ':' &&
      typed[2] == '\\')
    return typed;
  return platform::ToDosPath(AbsoluteNative(typed));
}

std::string Trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool ParseNumber(const std::string& s, long& out) {
  if (s.empty() || s.size() > 9) return false;
  out = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

FarDialogItem Item(int type, int x1, int y1, int x2, const std::string& text, unsigned flags = 0) {
  FarDialogItem it;
  it.Type = type;
  it.X1 = x1;
  it.Y1 = y1;
  it.X2 = x2;
  it.Y2 = y1;
  it.Flags = flags;
  const size_t n = std::min(text.size(), sizeof it.Data - 1);
  memcpy(it.Data, text.data(), n);
  return it;
}

std::string DataOf(const FarDialogItem& it) { return std::string(it.Data, strnlen(it.Data, sizeof it.Data)); }

}  // namespace

std::optional<std::string> SimHost::AskLine(const std::string& title, const std::string& prompt,
                                            const std::string& history, const std::string& initial) {
  Record("input", title, {prompt, initial});
  FlagOff off(atEditorPrompt_);
  std::string result;
  if (!RunInputBox(ui_, title, prompt, history, initial, result, 512, "", history_)) return std::nullopt;
  return result;
}

bool SimHost::Save(EditorWindow& ed) {
  if (ed.ReadOnly &&
      MessageBox(FMSG_WARNING, {"Editor", ed.FileName, "is a read-only file.", "Do you wish to overwrite it?",
                                "Yes", "No"}, 2) != 0)
    return false;
  std::string why;
  if (SaveEditorFile(ed, &why)) return true;
  ShowError({"Cannot save the file", ed.FileName, why});
  return false;
}

void SimHost::SaveAs(EditorWindow& ed) {
  auto typed = AskLine("Save as", "Save the file as:", "EditorSaveAs", platform::ToNativePath(ed.FileName));
  if (!typed || Trimmed(*typed).empty()) return;
  const std::string dos = DosPathOf(Trimmed(*typed));
  if (dos != ed.FileName && platform::FileExists(dos) &&
      MessageBox(FMSG_WARNING, {"Editor", dos, "exists already.", "Do you wish to overwrite it?", "Yes", "No"},
                 2) != 0)
    return;
  std::string why;
  if (!SaveEditorFile(ed, &why, dos)) ShowError({"Cannot save the file", dos, why});
}

SimHost::WindowEnd SimHost::OpenPrompt() {
  auto typed = AskLine("Edit", "Open the file:", "EditorOpen", "");
  if (!typed || Trimmed(*typed).empty()) return WindowEnd::Stay;
  const std::string native = platform::ToNativePath(DosPathOf(Trimmed(*typed)));
  if (!OpenEditor(native)) {
    ShowError({"Cannot open the file", native});
    return WindowEnd::Stay;
  }
  return WindowEnd::Switch;
}

SimHost::WindowEnd SimHost::SwitchMenu() {
  std::vector<FarMenuItem> items(files_.size() + 2);
  for (size_t i = 0; i < files_.size(); ++i) {
    const std::string label = (i < 9 ? "&" + std::to_string(i + 1) + " " : "  ") +
                              (files_[i]->Modified ? "*" : " ") + files_[i]->FileName;
    snprintf(items[i].Text, sizeof items[i].Text, "%s", label.c_str());
    items[i].Selected = i == current_;
  }
  items[files_.size()].Separator = 1;
  snprintf(items.back().Text, sizeof items.back().Text, "%s", "&Keys of the editor      F1");
  std::vector<std::string> lines;
  for (const FarMenuItem& it : items) lines.push_back(it.Text);
  Record("menu", "Files", lines);
  int chosen;
  {
    FlagOff off(atEditorPrompt_);
    chosen = RunMenu(ui_, -1, -1, 0, FMENU_WRAPMODE, "Files", "F12", "", nullptr, nullptr, items.data(),
                     static_cast<int>(items.size()));
  }
  if (chosen == static_cast<int>(items.size()) - 1) {
    ShowEditorHelp();
    return WindowEnd::Stay;
  }
  if (chosen < 0 || chosen >= static_cast<int>(files_.size()) || static_cast<size_t>(chosen) == current_)
    return WindowEnd::Stay;
  current_ = static_cast<size_t>(chosen);
  return WindowEnd::Switch;
}

void SimHost::GoToPrompt(EditorWindow& ed) {
  auto typed = AskLine("Go to", "Line, or line,column (+N and -N from here, N% of the file):",
                       "EditorGoTo", "");
  if (!typed) return;
  const std::string text = Trimmed(*typed);
  const size_t comma = text.find(',');
  std::string linePart = Trimmed(text.substr(0, comma));
  const std::string colPart = comma == std::string::npos ? "" : Trimmed(text.substr(comma + 1));
  const int count = static_cast<int>(ed.Lines.size());
  // A line alone goes to its start; a column alone stays on the cursor line.
  int line = ed.CurLine, pos = linePart.empty() ? ed.CurPos : 0;
  long n = 0;
  bool ok = true;
  if (!linePart.empty()) {
    const char sign = linePart[0] == '+' || linePart[0] == '-' ? linePart[0] : 0;
    const bool percent = linePart.back() == '%';
    std::string digits = linePart.substr(sign ? 1 : 0, linePart.size() - (sign ? 1 : 0) - (percent ? 1 : 0));
    ok = ParseNumber(digits, n) && !(sign && percent);
    if (ok && percent) line = static_cast<int>(std::min<long>(n, 100) * (count - 1) / 100);
    else if (ok && sign) line = ed.CurLine + static_cast<int>(sign == '+' ? n : -n);
    else if (ok) line = static_cast<int>(n) - 1;
  }
  if (ok && !colPart.empty()) {
    ok = ParseNumber(colPart, n) && n >= 1;
    if (ok) pos = TabToReal(ed.Lines[std::clamp(line, 0, count - 1)].Text, static_cast<int>(n) - 1, ed.TabSize);
  }
  if (!ok || (linePart.empty() && colPart.empty())) {
    MessageBox(FMSG_WARNING, {"Go to", "\"" + text + "\" is no line or column", "OK"}, 1);
    return;
  }
  line = std::clamp(line, 0, count - 1);
  const int rows = TextRows(ed);
  // A line out of sight comes to the middle of the window.
  if (line < ed.TopLine || line >= ed.TopLine + rows) ed.TopLine = std::max(0, line - rows / 2);
  ed.Block = {};
  MoveCursor(ed, line, pos);
}

void SimHost::SearchDialog(EditorWindow& ed, bool replace) {
  const int width = 64;
  std::vector<FarDialogItem> items = {Item(DI_DOUBLEBOX, 3, 1, width - 4, replace ? "Replace" : "Search")};
  int y = 2;
  items.push_back(Item(DI_TEXT, 5, y++, 0, "Search for:"));
  const int whatItem = static_cast<int>(items.size());
  items.push_back(Item(DI_EDIT, 5, y++, width - 6, ToOem(searchText_), DIF_HISTORY));
  items.back().Param.History = "SearchText";
  items.back().Focus = 1;
  int withItem = -1;
  if (replace) {
    items.push_back(Item(DI_TEXT, 5, y++, 0, "Replace with:"));
    withItem = static_cast<int>(items.size());
    items.push_back(Item(DI_EDIT, 5, y++, width - 6, ToOem(replaceText_), DIF_HISTORY));
    items.back().Param.History = "ReplaceText";
  }
  ++y;
  const int caseItem = static_cast<int>(items.size());
  items.push_back(Item(DI_CHECKBOX, 5, y++, 0, "Case sensitive"));
  items.back().Param.Selected = searchOptions_.CaseSensitive;
  items.push_back(Item(DI_CHECKBOX, 5, y++, 0, "Whole words"));
  items.back().Param.Selected = searchOptions_.WholeWords;
  items.push_back(Item(DI_CHECKBOX, 5, y++, 0, "Reverse search"));
  items.back().Param.Selected = searchOptions_.Reverse;
  ++y;
  const int goItem = static_cast<int>(items.size());
  items.push_back(Item(DI_BUTTON, 0, y, 0, replace ? "Replace" : "Search", DIF_CENTERGROUP));
  items.back().DefaultButton = 1;
  items.push_back(Item(DI_BUTTON, 0, y, 0, "Cancel", DIF_CENTERGROUP));
  items.front().Y2 = y + 1;
  std::vector<std::string> lines;
  for (const FarDialogItem& it : items) lines.push_back(DataOf(it));
  Record("dialog", replace ? "Replace" : "Search", lines);
  int result;
  {
    FlagOff off(atEditorPrompt_);
    result = RunDialog(ui_, -1, -1, width, y + 3, "", items.data(), static_cast<int>(items.size()), nullptr, 0);
  }
  // Enter anywhere presses the default button.
  if (result != goItem) return;
  const std::u32string what = FromOem(DataOf(items[whatItem]));
  if (what.empty()) return;
  searchText_ = what;
  searchOptions_.CaseSensitive = items[caseItem].Param.Selected;
  searchOptions_.WholeWords = items[caseItem + 1].Param.Selected;
  searchOptions_.Reverse = items[caseItem + 2].Param.Selected;
  if (replace) {
    replaceText_ = FromOem(DataOf(items[withItem]));
    Replace(ed, replaceText_);
    return;
  }
  SearchHit hit = FindText(ed, searchText_, searchOptions_, ed.CurLine, ed.CurPos);
  if (hit.Found())
    ShowFound(ed, hit, static_cast<int>(searchText_.size()));
  else
    ShowNotFound();
}

void SimHost::SearchAgain(EditorWindow& ed, bool otherWay) {
  if (searchText_.empty()) {
    SearchDialog(ed, false);
    return;
  }
  SearchOptions o = searchOptions_;
  if (otherWay) o.Reverse = !o.Reverse;
  SearchHit hit = FindText(ed, searchText_, o, ed.CurLine, o.Reverse ? ed.CurPos : ed.CurPos + 1);
  if (hit.Found())
    ShowFound(ed, hit, static_cast<int>(searchText_.size()));
  else
    ShowNotFound();
}

void SimHost::ShowFound(EditorWindow& ed, const SearchHit& hit, int length) {
  const int rows = TextRows(ed);
  if (hit.Line < ed.TopLine || hit.Line >= ed.TopLine + rows) ed.TopLine = std::max(0, hit.Line - rows / 2);
  MoveCursor(ed, hit.Line, hit.Pos);
  ed.Block = EditorBlock{BTYPE_STREAM, hit.Line, hit.Pos, hit.Line, hit.Pos + length};
}

void SimHost::ShowNotFound() {
  MessageBox(0, {"Search", "Could not find the string", "\"" + ToOem(searchText_) + "\"", "OK"}, 1);
}

void SimHost::Replace(EditorWindow& ed, const std::u32string& with) {
  if (size_t bad = FirstUnheld(with, ed.Cp); bad != std::u32string::npos) {
    ed.Refused = with[bad];
    return;
  }
  const SearchOptions& o = searchOptions_;
  const int length = static_cast<int>(searchText_.size());
  int line = ed.CurLine, pos = ed.CurPos;
  bool all = false, found = false;
  for (;;) {
    SearchHit hit = FindText(ed, searchText_, o, line, pos);
    if (!hit.Found()) break;
    found = true;
    int answer = 1;
    if (!all) {
      ShowFound(ed, hit, length);
      // The found line stays in sight above the question.
      const int row = hit.Line - ed.TopLine, rows = TextRows(ed);
      if (row > rows / 4) ed.TopLine = std::max(0, hit.Line - 2);
      RenderEditor(ed, screen_);
      answer = MessageBox(0, {"Replace", "Replace", "\"" + ToOem(searchText_) + "\"", "with",
                              "\"" + ToOem(with) + "\"", "Replace", "All", "Skip", "Cancel"}, 4);
    }
    line = hit.Line;
    if (answer == 0 || answer == 1) {
      all = all || answer == 1;
      EditorLine l = ed.Lines[hit.Line];
      l.Text.replace(hit.Pos, length, with);
      SetLine(ed, hit.Line, std::move(l));
      ed.CurLine = hit.Line;
      ed.CurPos = hit.Pos + static_cast<int>(with.size());
      pos = o.Reverse ? hit.Pos : ed.CurPos;
    } else if (answer == 2) {
      pos = o.Reverse ? hit.Pos : hit.Pos + 1;
    } else {
      break;
    }
  }
  ed.Block = {};
  FollowCursor(ed);
  if (!found) ShowNotFound();
}

void SimHost::ChangeCodePage(EditorWindow& ed, CodePage cp) {
  ed.ShowCodePage = true;
  ReinterpretCodePage(ed, cp);
}

void SimHost::CodePageMenu(EditorWindow& ed) {
  struct Entry {
    CodePage Cp;
    const char* Text;
  };
  static const Entry kEntries[] = {{CodePage::Oem866, "866     DOS, Cyrillic (OEM)"},
                                   {CodePage::Win1251, "1251    Windows, Cyrillic"},
                                   {CodePage::Win1252, "1252    Windows, Western European"},
                                   {CodePage::Utf8, "UTF-8   Unicode"}};
  std::vector<FarMenuItem> items(std::size(kEntries));
  std::vector<std::string> lines;
  for (size_t i = 0; i < items.size(); ++i) {
    snprintf(items[i].Text, sizeof items[i].Text, "%s", kEntries[i].Text);
    items[i].Selected = kEntries[i].Cp == ed.Cp;
    items[i].Checked = kEntries[i].Cp == ed.Cp;
    lines.push_back(kEntries[i].Text);
  }
  Record("menu", "Code pages", lines);
  int chosen;
  {
    FlagOff off(atEditorPrompt_);
    chosen = RunMenu(ui_, -1, -1, 0, FMENU_SHOWAMPERSAND | FMENU_WRAPMODE, "Code pages", "Shift+F8", "",
                     nullptr, nullptr, items.data(), static_cast<int>(items.size()));
  }
  if (chosen >= 0) ChangeCodePage(ed, kEntries[chosen].Cp);
}

void SimHost::ShowEditorHelp() {
  // Two keys a row, or one line (no second column). A key in brackets is the one
  // to press where a terminal cannot send the key before it.
  static const char* kRows[][2] = {
      {"F2  save the file", "Shift+F2  save it under another name"},
      {"Shift+F4  open another file", "F12  switch between the open files"},
      {"F7  search   Ctrl+F7  replace", "Shift+F7, Alt+F7  search on, back"},
      {"Alt+F8  go to a line and column", "F8  next code page  Shift+F8  list"},
      {"Ctrl+Z, Alt+BS  undo", "Ctrl+Shift+Z (Ctrl+Alt+Z)  redo"},
      {"Shift+arrows  stream block", "Alt+Shift+arrows  column block"},
      {"Ctrl+Ins, Ctrl+C  copy", "Shift+Del, Ctrl+X  cut"},
      {"Shift+Ins, Ctrl+V  paste", "Del, Ctrl+D  delete the block"},
      {"Ctrl+Y  delete the line", "Ctrl+U  unmark the block"},
      {"Ctrl+Shift+0..9  set a bookmark", "RightCtrl+0..9 (Ctrl+0..9)  go to it"},
      {"Ins  insert or overtype", "F10, Esc  close the file"},
      {"F11  plug-in menu", "Alt+Shift+F9  plug-in configuration"},
      {"Ctrl+Space  code insight", "Ctrl+Shift+Space  parameter hint"},
      {"Ctrl+Shift+Up  procedure list", "Ctrl+Shift+Down  structure review"},
      {"LCtrl+RCtrl+Space (Alt+Space)  the column ruler", nullptr},
      {"Gray+, Gray- (+, -)  all categories of the structure review", nullptr},
      {"Key table: Ctrl, Alt (Ctrl+Space, Alt+Space)  their columns", nullptr},
      {"(Key): where a terminal cannot send the key before it", nullptr},
  };
  std::vector<std::string> lines = {"Editor"};
  for (const auto& row : kRows) {
    std::string line = row[0];
    if (row[1]) {
      line.resize(std::max<size_t>(line.size() + 1, 35), ' ');
      line += row[1];
    }
    lines.push_back(line);
  }
  lines.push_back("OK");
  MessageBox(FMSG_LEFTALIGN, lines, 1);
}

}  // namespace vemlo::sim
