// Test-only FoxPro memo file writer.
#include "fpt_writer.h"

#include "dbf_writer.h"

namespace vemlo::test {

namespace {

void PutBigEndian(std::string& bytes, size_t at, uint32_t value, int n) {
  for (int i = n - 1; i >= 0; --i) {
    bytes[at + static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
}

}  // namespace

FptFile BuildFpt(const std::vector<FptMemo>& memos, int blockSize) {
  FptFile f;
  f.Bytes.assign(512, '\0');
  const size_t bs = blockSize > 0 ? static_cast<size_t>(blockSize) : 512;
  for (const FptMemo& m : memos) {
    size_t at = (f.Bytes.size() + bs - 1) / bs * bs;
    f.Bytes.resize(at, '\0');
    f.Blocks.push_back(static_cast<int>(at / bs));
    f.Bytes.resize(at + 8, '\0');
    PutBigEndian(f.Bytes, at, 1, 4);  // text memo
    PutBigEndian(f.Bytes, at + 4, m.ForgedLength.value_or(static_cast<uint32_t>(m.Text.size())), 4);
    f.Bytes += m.Text;
  }
  size_t end = (f.Bytes.size() + bs - 1) / bs * bs;
  f.Bytes.resize(end, '\0');
  PutBigEndian(f.Bytes, 0, static_cast<uint32_t>(end / bs), 4);
  PutBigEndian(f.Bytes, 6, static_cast<uint32_t>(blockSize), 2);
  return f;
}

bool WriteHelpBase(const std::string& nativeDbfPath, const std::vector<HelpTopicSpec>& topics, int blockSize) {
  std::vector<FptMemo> memos;
  for (const HelpTopicSpec& t : topics) memos.push_back({t.Text, std::nullopt});
  const FptFile fpt = BuildFpt(memos, blockSize);
  std::vector<DbfRow> rows;
  for (size_t i = 0; i < topics.size(); ++i) {
    std::string block = std::to_string(fpt.Blocks[i]);
    rows.push_back({{topics[i].Name, std::string(10 - block.size(), ' ') + block}});
  }
  std::string fptPath = nativeDbfPath;
  const size_t dot = fptPath.rfind('.');
  fptPath = (dot == std::string::npos ? fptPath : fptPath.substr(0, dot)) + ".FPT";
  DbfWriteOptions options;
  options.Version = 0xF5;
  return WriteDbf(nativeDbfPath, {{"TOPIC", 'C', 20, 0}, {"DETAILS", 'M', 10, 0}}, rows, options) &&
         WriteBytes(fptPath, fpt.Bytes);
}

}  // namespace vemlo::test
