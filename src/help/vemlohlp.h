// vemlohlp: FoxPro help bases (a topic table with an FPT memo file), topic
// lookup, parameter texts, and the conversion of topics into the host's
// help-file format.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbf/xxdbf.h"
#include "platform/platform.h"

namespace vemlo {

// The help unit's state: one for the plug-in.
struct TxxHelpState {
  TxxDBF HelpBase;                      // the base in use, loaded for one lookup
  platform::InFile Memo;                // its memo file, open for one lookup
  int MemoBlockSize = 0;
  std::vector<std::string> HelpTopics;  // names in the help file being written
  int MaxHelpTopics = 10;
  bool FrameHeaders = true;             // framed title boxes become fixed headers
  platform::OutFile* Out = nullptr;     // the help file being written
  bool WriteFailed = false;
};

TxxHelpState& HelpState();

// ---- Memo files ----
// The memo file of a help table: its path with the extension ".fpt".
std::string HelpMemoPath(const std::string& tablePath);
bool OpenHelpMemo(const std::string& memoPath);
void CloseHelpMemo();

// Receives one memo line; returns false to end the reading.
using TxxMemoLineHandler = std::function<bool(const std::string& line)>;
// Hands the lines of memo block `block` of the open memo file to `handler`,
// read in 512-byte chunks. A corrupt header, block number or length ends the
// text at what the file holds.
void ReadMemoText(int64_t block, const TxxMemoLineHandler& handler);

// ---- Lookup ----
bool ShowFoxHelp(const std::string& word, bool chooseBase);
std::string HelpParamText(const std::string& name);

// ---- Topic viewer ----
void ShowHelpTopic(int record);
// Steps 1-4 of ShowHelpTopic: writes the help file for `record` to `path`,
// after the header lines in `header` (each ended by CR LF); false when the
// file could not be written.
bool WriteHelpFile(int record, const std::string& path, const std::string& header = {});
void WriteHelpTopic(int topic, int record);
int HelpTopicIndex(const std::string& name);
std::string HelpLink(const std::string& name);
std::string EscapeHelpText(const std::string& text);

}  // namespace vemlo
