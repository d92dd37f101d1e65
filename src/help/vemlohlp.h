// vemlohlp: F1 help from FoxPro help bases (a topic table with an FPT memo
// file): the topic menu, and the conversion of topics into the host's help-file
// format for its help viewer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "help/memo_reader.h"
#include "platform/platform.h"

namespace vemlo {

// The help unit's state, kept in the plug-in context.
struct TxxHelpState {
  TxxDBF HelpBase;                      // the base in use, loaded for one lookup
  platform::InFile Memo;                // its memo file, open for one lookup
  std::vector<std::string> HelpTopics;  // names in the help file being written
  int MaxHelpTopics = 10;
  bool FrameHeaders = true;             // framed title boxes become fixed headers
  platform::OutFile* Out = nullptr;     // the help file being written
  bool WriteFailed = false;
  bool ReadFailed = false;              // the memo file failed part way
};

TxxHelpState& HelpState();

// ---- The memo file of the base in use ----
bool OpenHelpMemo(const std::string& memoPath);
void CloseHelpMemo();
TxxReadStatus ReadMemoText(int64_t block, const TxxMemoLineHandler& handler);

// ---- Lookup ----
bool ShowFoxHelp(const std::string& word, bool chooseBase);
// The parameter text of a FoxPro function from the help base of the options.
std::string HelpParamText(const std::string& name);

// ---- Topic viewer ----
void ShowHelpTopic(int record);
// Steps 1-4 of ShowHelpTopic: writes the help file for `record` to `path`,
// after the header lines in `header` (each ended by CR LF); false when the
// file could not be written or the memo file not read.
bool WriteHelpFile(int record, const std::string& path, const std::string& header = {});
void WriteHelpTopic(int topic, int record);
int HelpTopicIndex(const std::string& name);
std::string HelpLink(const std::string& name);
std::string EscapeHelpText(const std::string& text);

}  // namespace vemlo
