// The option table, look-up by id and by name, and the registry storage.
#include "config/options.h"

#include <iterator>

#include "platform/platform.h"

namespace vemlo {

namespace {

struct OptionSpec {
  int Group;
  OptionKind Kind;
  MsgId Caption;
  int LabelWidth;
  const char* Name;
  const char* Value;
  int EditWidth;
  const char* Mask;
};

constexpr OptionSpec kSpecs[] = {
#define VEMLO_OPTION_ROW(group, kind, caption, labelWidth) \
  {group, OptionKind::kind, MsgId::caption, labelWidth, "", "", 0, nullptr},
#define VEMLO_OPTION(name, group, kind, caption, labelWidth, value, editWidth, mask) \
  {group, OptionKind::kind, MsgId::caption, labelWidth, #name, value, editWidth, mask},
#include "config/option_list.inc"
#undef VEMLO_OPTION
#undef VEMLO_OPTION_ROW
};

// The table row of each id: the rows with a name, counted in table order.
constexpr int RowOf(OptionId id) {
  int named = -1;
  for (int row = 0; row < static_cast<int>(std::size(kSpecs)); ++row)
    if (kSpecs[row].Name[0] != 0 && ++named == static_cast<int>(id)) return row;
  return -1;
}

static_assert(RowOf(OptionId::KeyPreview) == 1);
static_assert(RowOf(OptionId::ReviewAddPairList) == static_cast<int>(std::size(kSpecs)) - 1);

}  // namespace

TxxOptions DefaultOptions() {
  TxxOptions options;
  options.reserve(std::size(kSpecs));
  for (const OptionSpec& s : kSpecs)
    options.push_back(TxxPluginOption{s.Group, s.Kind, s.Caption, s.LabelWidth, s.Name, s.Value, s.EditWidth, s.Mask});
  return options;
}

const std::string& OptionValue(const TxxOptions& options, OptionId id) {
  return options.at(static_cast<size_t>(RowOf(id))).Value;
}

bool OptionOn(const TxxOptions& options, OptionId id) {
  for (char c : OptionValue(options, id))
    if (static_cast<unsigned char>(c) > 32) return true;
  return false;
}

std::optional<OptionId> FindOption(const std::string& name) {
  int named = -1;
  for (const OptionSpec& s : kSpecs) {
    if (s.Name[0] == 0) continue;
    ++named;
    if (name == s.Name) return static_cast<OptionId>(named);
  }
  return std::nullopt;
}

void LoadOptionValues(TxxOptions& options, const std::string& key) {
  if (!platform::RegKeyExists(key)) return;
  for (TxxPluginOption& o : options) {
    if (o.Name.empty()) continue;
    std::optional<std::string> value = platform::RegQueryString(key, o.Name);
    if (!value) continue;
    const size_t nul = value->find('\0');
    o.Value = nul == std::string::npos ? *value : value->substr(0, nul);
  }
}

void SaveOptionGroup(const TxxOptions& options, const std::string& key, int group) {
  for (const TxxPluginOption& o : options)
    if (o.Group == group && !o.Name.empty()) platform::RegSetString(key, o.Name, o.Value);
}

}  // namespace vemlo
