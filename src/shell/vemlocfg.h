// vemlocfg: the option table, its registry storage and its dialogs.
#pragma once

#include <string>
#include <vector>

#include "host/far_api.h"

namespace vemlo {

enum : unsigned char {
  okGroupTitle = 0, okSeparator = 1, okText = 2, okCheck = 3, okEdit = 4, okEditBelow = 5,
  okListButton = 6,
};

struct TxxPluginOption {
  int Group = 0;
  unsigned char Kind = 0;
  unsigned char Caption = 0;
  int LabelWidth = 0;
  std::string Name;
  std::string Value;
  int EditWidth = 0;
  const char* Mask = nullptr;
  int ItemIndex = -1;
  std::string WorkValue;
};

std::vector<TxxPluginOption>& PluginOptions();
void ResetOptions();  // back to the defaults
std::string OptionsKey();  // RootKey + "\VEM-LO"
void LoadOptions();
std::string CfgParam(const std::string& name);
void ConfigureOptions();
void EditOptionGroup(int group);
void SaveOptions(int group);
intptr_t OptionDlgProc(HANDLE dlg, int msg, int param1, intptr_t param2);

}  // namespace vemlo
