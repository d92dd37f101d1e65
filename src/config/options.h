// The option table: the plug-in's options with their defaults, their dialog
// layout, and their storage as registry string values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/messages.h"

namespace vemlo {

enum class OptionKind : unsigned char {
  GroupTitle = 0, Separator = 1, Text = 2, Check = 3, Edit = 4, EditBelow = 5, ListButton = 6,
};

// The stored options; a misspelt name does not compile.
enum class OptionId : int {
#define VEMLO_OPTION_ROW(group, kind, caption, labelWidth)
#define VEMLO_OPTION(name, group, kind, caption, labelWidth, value, editWidth, mask) name,
#include "config/option_list.inc"
#undef VEMLO_OPTION
#undef VEMLO_OPTION_ROW
};

// One row of the table with its current value.
struct TxxPluginOption {
  int Group = 0;
  OptionKind Kind = OptionKind::GroupTitle;
  MsgId Caption = MsgId::Title;
  int LabelWidth = 0;
  std::string Name;  // empty for titles, separators and texts
  std::string Value;
  int EditWidth = 0;
  const char* Mask = nullptr;
};
using TxxOptions = std::vector<TxxPluginOption>;

TxxOptions DefaultOptions();
const std::string& OptionValue(const TxxOptions& options, OptionId id);
// A check box option is on when its value is not blank.
bool OptionOn(const TxxOptions& options, OptionId id);
// The option of a registry value name (names compare case-sensitively).
std::optional<OptionId> FindOption(const std::string& name);

// The values stored under a registry key, each up to its first NUL; a value
// that is not stored keeps what the table holds.
void LoadOptionValues(TxxOptions& options, const std::string& key);
void SaveOptionGroup(const TxxOptions& options, const std::string& key, int group);

}  // namespace vemlo
