// The help file writer: a help base of four topics whose memo texts are the
// input split at 0x1F bytes; the file is written for the first topic with and
// without framed headers, then read back by the host's help-file parser.
#include <algorithm>

#include "dbf/xxdbf.h"
#include "fuzz_env.h"
#include "help/vemlohlp.h"
#include "host/reader_reports.h"
#include "ui_help.h"

using namespace vemlo;

namespace {

// Names a "See Also:" line of the input can link to.
const char* const kTopics[] = {"MAIN", "ALPHA", "BETA()", "SET TALK"};
constexpr size_t kTopicCount = sizeof kTopics / sizeof kTopics[0];
constexpr size_t kBlockSize = 64;
constexpr size_t kNameLen = 20, kBlockLen = 10;

void PutLe(std::string& out, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

void PutBe(std::string& out, size_t at, uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i, value >>= 8) out[at + size_t(i)] = char(value & 0xFF);
}

// The memo file: a 512-byte header, then each text in its own run of blocks.
std::string BuildFpt(const std::vector<std::string>& texts, std::vector<uint32_t>& blocks) {
  std::string out(512, '\0');
  for (const std::string& t : texts) {
    out.resize((out.size() + kBlockSize - 1) / kBlockSize * kBlockSize, '\0');
    blocks.push_back(uint32_t(out.size() / kBlockSize));
    const size_t at = out.size();
    out.resize(at + 8, '\0');
    PutBe(out, at, 1, 4);
    PutBe(out, at + 4, uint32_t(t.size()), 4);
    out += t;
  }
  out.resize((out.size() + kBlockSize - 1) / kBlockSize * kBlockSize, '\0');
  PutBe(out, 0, uint32_t(out.size() / kBlockSize), 4);
  PutBe(out, 6, uint32_t(kBlockSize), 2);
  return out;
}

// The topic table: TOPIC C(20) and DETAILS M(10), the block number as text.
std::string BuildDbf(const std::vector<uint32_t>& blocks) {
  const uint32_t recordLen = 1 + kNameLen + kBlockLen;
  std::string out(32, '\0');
  out[0] = char(0xF5);
  PutLe(out, 4, uint32_t(blocks.size()), 4);
  PutLe(out, 8, 32 + 2 * 32 + 1, 2);
  PutLe(out, 10, recordLen, 2);
  const struct { const char* Name; char Type; uint32_t Offset, Len; } fields[] = {
      {"TOPIC", 'C', 1, kNameLen}, {"DETAILS", 'M', 1 + kNameLen, kBlockLen}};
  for (const auto& f : fields) {
    std::string d(32, '\0');
    d.replace(0, std::string(f.Name).size(), f.Name);
    d[11] = f.Type;
    PutLe(d, 12, f.Offset, 4);
    d[16] = char(f.Len);
    out += d;
  }
  out += '\x0D';
  for (size_t i = 0; i < blocks.size(); ++i) {
    std::string name = kTopics[i];
    name.resize(kNameLen, ' ');
    std::string block = std::to_string(blocks[i]);
    out += ' ' + name + std::string(kBlockLen - block.size(), ' ') + block;
  }
  out += '\x1A';
  return out;
}

std::vector<std::string> SplitTexts(const std::string& bytes) {
  std::vector<std::string> texts;
  size_t from = 0;
  while (texts.size() + 1 < kTopicCount) {
    const size_t sep = bytes.find('\x1F', from);
    if (sep == std::string::npos) break;
    texts.push_back(bytes.substr(from, sep - from));
    from = sep + 1;
  }
  texts.push_back(bytes.substr(std::min(from, bytes.size())));
  return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEnv& env = fuzz::Env();
  std::vector<std::string> texts = SplitTexts(std::string(reinterpret_cast<const char*>(data), size));
  while (texts.size() < kTopicCount) texts.push_back("See Also: MAIN");
  std::vector<uint32_t> blocks;
  const std::string fpt = BuildFpt(texts, blocks);
  fuzz::ScratchFile memo("HELP.FPT", fpt);
  fuzz::ScratchFile table("HELP.DBF", BuildDbf(blocks));

  TxxHelpState& s = HelpState();
  env.Host->Answer = 0;
  LoadDBF(s.HelpBase, false, table.Dos());
  if (s.HelpBase.State != dsLoaded || s.HelpBase.RecCount != int(kTopicCount)) __builtin_trap();
  if (!OpenHelpMemo(HelpMemoPath(table.Dos()))) __builtin_trap();
  s.MaxHelpTopics = 10;
  for (bool frame : {true, false}) {
    s.FrameHeaders = frame;
    fuzz::ScratchFile out("OUT.HLF", "");
    if (!WriteHelpFile(0, out.Dos())) __builtin_trap();
    if (!s.HelpTopics.empty() || s.Out) __builtin_trap();
    std::string written;
    {
      platform::InFile in;
      if (!in.Open(out.Dos())) __builtin_trap();
      written.resize(size_t(std::max<int64_t>(in.Size(), 0)));
      if (in.ReadAt(0, written.data(), int64_t(written.size())) != int64_t(written.size())) __builtin_trap();
    }
    const std::vector<sim::HelpTopic> topics = sim::ParseHelpFile(written);
    if (sim::FindHelpTopic(topics, "topic0") < 0) __builtin_trap();  // the first topic is always written
  }
  s.FrameHeaders = true;
  CloseHelpMemo();
  CloseDBF(s.HelpBase);
  s.HelpBase.FileName.clear();
  return 0;
}
