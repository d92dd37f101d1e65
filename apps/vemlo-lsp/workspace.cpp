#include "workspace.h"

#include "config/file_names.h"
#include "lib/xxlib.h"
#include "params.h"
#include "platform/platform.h"
#include "uri.h"

namespace vemlo::lsp {

void ReadOptions(Workspace& w, const json& init) {
  w.Options = DefaultOptions();
  if (!init.is_object()) return;
  if (const json* registry = OptionalMember(init, "registry"); registry && registry->is_string()) {
    platform::SetRegistryFile(registry->get<std::string>());
    LoadOptionValues(w.Options, std::string("Software\\Far\\Plugins\\") + SettingsKeyName);
  }
  const json* options = OptionalMember(init, "options");
  if (!options || !options->is_object()) return;
  for (const auto& [name, value] : options->items()) {
    const std::optional<OptionId> id = FindOption(name);
    if (!id) continue;
    std::string text;
    if (value.is_string()) text = value.get<std::string>();
    else if (value.is_boolean()) text = value.get<bool>() ? "+" : "";  // a check box is on when not blank
    else if (value.is_number()) text = value.dump();
    else continue;
    for (TxxPluginOption& o : w.Options)
      if (o.Name == name) o.Value = text;
  }
}

TxxEditedText EditedText(const TextDocument& doc, const Place& cursor) {
  TxxEditedText text;
  text.FileName = UpperCase(platform::ToDosPath(doc.Path));
  text.LineCount = static_cast<int>(doc.Lines.size());
  text.CursorLine = cursor.Line;
  text.CursorCol = static_cast<int>(cursor.Byte);
  const std::vector<std::string>* lines = &doc.Lines;
  text.Read = [lines](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines->size())) return false;
    line = (*lines)[static_cast<size_t>(n)];
    return true;
  };
  return text;
}

ProjectState* RefreshAt(Workspace& w, const TextDocument& doc, const Place& at, bool wholeFile) {
  if (doc.Path.empty()) return nullptr;
  const TxxEditedText text = EditedText(doc, at);
  const std::string dir = ExtractFilePath(text.FileName);
  auto it = w.Projects.find(dir);
  if (it == w.Projects.end()) {
    const std::string settings = FindSettingsFile(dir, "");
    if (settings.empty()) return nullptr;
    it = w.Projects.emplace(dir, ProjectState{}).first;
  }
  ProjectState& p = it->second;
  TxxRefreshRequest request;
  request.WholeFile = wholeFile;
  bool loaded = false;
  if (NeedsProjectLoad(p.Project, text, request)) {
    // Problems of the project's tables leave those tables out; the answers
    // use what could be read.
    LoadProject(p.Project, p.Ini, dir, FindSettingsFile(dir, ""));
    loaded = true;
  }
  RefreshInsight(p.Project, p.Insight, text, request, loaded, {});
  return &p;
}

std::vector<std::string> ProgramLines(const DocumentMap& docs, const std::string& dosName) {
  for (const auto& [uri, doc] : docs)
    if (!doc.Path.empty() && UpperCase(platform::ToDosPath(doc.Path)) == dosName) return doc.Lines;
  std::vector<std::string> lines;
  TextFile file;
  if (!OpenTextFile(file, dosName)) return lines;
  for (std::string line; ReadTextLine(file, line);) lines.push_back(line);
  return lines;
}

std::string NativeOf(const std::string& dosName) { return platform::ToNativePath(dosName); }

}  // namespace vemlo::lsp
