// Converting help-base topics into a help file for the host's help viewer:
// one "@topicN" per topic, See Also names as links, framed title boxes as
// fixed header lines.
#include "help/vemlohlp.h"
#include "host/reader_reports.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

constexpr unsigned char kBoxTop = 0xD6;     // the framed title box's top line
constexpr unsigned char kBoxSide = 0xBA;    // its sides
constexpr unsigned char kBoxBottom = 0xD3;  // its bottom line
// The real host opens a help file only when it names its language; the
// topics are what it shows, so any language name serves.
constexpr const char* kHelpFileHeader = ".Language=English,English\r\n";

void Emit(const std::string& line) {
  TxxHelpState& s = HelpState();
  if (!s.Out || s.WriteFailed) return;
  if (!s.Out->Write(line + "\r\n")) s.WriteFailed = true;
}

std::string ExpandTabs(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\t')
      out.append(static_cast<size_t>(4 - out.size() % 4), ' ');
    else
      out += c;
  }
  return out;
}

std::string SeeAlsoLines(const std::string& line) {
  std::string out = "See Also: \r\n";
  const std::string names = SubstrFrom(line, 11, static_cast<int>(line.size()));
  size_t from = 0;
  for (;;) {
    const size_t comma = names.find(',', from);
    const std::string name = names.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    out += "     " + HelpLink(TrimBlanks(name, true, true)) + "\r\n";
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return out;
}

// The conversion state of one topic's lines.
struct TopicLines {
  int Count = 0;
  bool Frame = false;
};

bool WriteMemoLine(TopicLines& t, const std::string& text) {
  if (HelpState().WriteFailed) return false;
  if (t.Count == 0 && IsBlank(text)) return true;  // leading blank lines are dropped
  const bool seeAlso = PadRightTo(text, 10) == "See Also: ";
  const std::string line = seeAlso ? SeeAlsoLines(text) : EscapeHelpText(ExpandTabs(text));
  const unsigned char first = line.empty() ? 0 : static_cast<unsigned char>(line[0]);
  if (t.Count == 0 && first == kBoxTop && HelpState().FrameHeaders) t.Frame = true;
  ++t.Count;
  if (!t.Frame || line.empty()) {
    Emit(" " + line);
  } else if (first == kBoxSide) {
    Emit("$ #" + ReplaceAll(line, "\xBA", " ") + "#");
  } else if (first == kBoxBottom) {
    t.Frame = false;
  } else if (first != kBoxTop) {
    t.Frame = false;
    Emit(" " + line);
  }
  return true;
}

}  // namespace

std::string EscapeHelpText(const std::string& text) {
  return ReplaceAll(ReplaceAll(ReplaceAll(text, "~", "~~"), "#", "##"), "@", "@@");
}

int HelpTopicIndex(const std::string& name) {
  const TxxDBF& base = HelpState().HelpBase;
  for (int i = 0; i < base.RecCount; ++i) {
    const std::string& value = DBFValueRef(base, 0, i);
    if (value == name) return i;
    if (!value.empty() && static_cast<unsigned char>(value[0]) == 0xFE && value.size() >= 2 &&
        value.substr(2) == name)
      return i;
  }
  return -1;
}

std::string HelpLink(const std::string& name) {
  if (IsBlank(name)) return {};
  std::vector<std::string>& topics = HelpState().HelpTopics;
  size_t k = 0;
  while (k < topics.size() && topics[k] != name) ++k;
  if (k == topics.size()) {
    if (static_cast<int>(topics.size()) >= HelpState().MaxHelpTopics) return EscapeHelpText(name);
    topics.push_back(name);
  }
  return "~" + EscapeHelpText(name) + "~@topic" + IntToStr(static_cast<long long>(k)) + "@";
}

void WriteHelpTopic(int topic, int record) {
  TxxHelpState& s = HelpState();
  if (record == -1) {
    if (topic < 0 || topic >= static_cast<int>(s.HelpTopics.size())) return;
    record = HelpTopicIndex(s.HelpTopics[static_cast<size_t>(topic)]);
    if (record == -1) return;  // a link to it leads nowhere
  }
  const size_t known = s.HelpTopics.size();
  FarProgressText(DBFValueRef(s.HelpBase, 0, record));
  int block = -1;
  if (!TryStrToInt(Trim(DBFValueRef(s.HelpBase, 1, record)), block) || block < 0) return;
  Emit("@topic" + IntToStr(topic));
  TopicLines lines;
  if (ReadMemoText(block, [&lines](const std::string& text) { return WriteMemoLine(lines, text); }) !=
      TxxReadStatus::Read)
    s.ReadFailed = true;
  // Depth first: the names this topic added are written here, those they add by
  // their own calls, so every linked topic is written once.
  const size_t added = s.HelpTopics.size();
  for (size_t c = known; c < added && !s.WriteFailed && !s.ReadFailed; ++c) WriteHelpTopic(static_cast<int>(c), -1);
}

bool WriteHelpFile(int record, const std::string& path, const std::string& header) {
  TxxHelpState& s = HelpState();
  struct Reset {
    ~Reset() {
      HelpState().HelpTopics.clear();
      HelpState().Out = nullptr;
    }
  } reset;
  if (record < 0 || record >= s.HelpBase.RecCount) return false;
  s.HelpTopics = {DBFValueRef(s.HelpBase, 0, record)};
  platform::OutFile out;
  if (!out.Create(path)) return false;
  s.Out = &out;
  s.WriteFailed = !header.empty() && !out.Write(header);
  s.ReadFailed = false;
  {
    FarProgressGuard progress(Msg(MsgId::Title), Msg(MsgId::WritingHelpTopics), s.MaxHelpTopics);
    WriteHelpTopic(0, record);
  }
  s.Out = nullptr;
  const bool closed = out.Close();
  return closed && !s.WriteFailed && !s.ReadFailed;
}

void ShowHelpTopic(int record) {
  // The real host looks the topic of a link up among the *.hlf files of the
  // help file's folder: the file is named so, alone in a folder of its own.
  FarTempFolderFile temp("VL~HELP.HLF");
  if (!temp.Valid()) return;
  if (!WriteHelpFile(record, temp.Name(), kHelpFileHeader)) {
    if (HelpState().ReadFailed)
      TellReadProblem(TxxReadProblem{TxxReadStatus::ReadError, HelpMemoPath(HelpState().HelpBase.FileName)}, "FOXHelp");
    return;
  }
  FarApi().ShowHelp(temp.Name().c_str(), "topic0", FHELP_CUSTOMFILE);
}

}  // namespace vemlo
