#include "dbf_writer.h"

#include <fstream>

namespace vemlo::test {
namespace {

void PutLe(std::string& out, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BuildDbf(const std::vector<DbfFieldSpec>& fields, const std::vector<DbfRow>& rows,
                     const DbfWriteOptions& options) {
  uint32_t recordLen = 1;
  for (const auto& f : fields) recordLen += uint32_t(f.Len);
  uint32_t headerLen = uint32_t(32 + 32 * fields.size() + 1 + size_t(options.ExtraHeaderBytes));

  std::string out(32, '\0');
  out[0] = char(options.Version);
  out[1] = char(126);
  out[2] = 12;
  out[3] = 8;
  PutLe(out, 4, options.RecordCount.value_or(uint32_t(rows.size())), 4);
  PutLe(out, 8, options.HeaderLen.value_or(headerLen), 2);
  PutLe(out, 10, options.RecordLen.value_or(recordLen), 2);

  uint32_t offset = 1;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string d(32, '\0');
    d.replace(0, std::min<size_t>(fields[i].Name.size(), 11), fields[i].Name.substr(0, 11));
    d[11] = fields[i].Type;
    auto forged = options.FieldOffsets.find(int(i));
    PutLe(d, 12, forged != options.FieldOffsets.end() ? forged->second : offset, 4);
    d[16] = char(fields[i].Len);
    d[17] = char(fields[i].Dec);
    d[18] = char(fields[i].Flags);
    out += d;
    offset += uint32_t(fields[i].Len);
  }
  out += '\x0D';
  std::string extra(size_t(options.ExtraHeaderBytes), '\0');
  extra.replace(0, std::min(extra.size(), options.Backlink.size()), options.Backlink.substr(0, extra.size()));
  out += extra;

  for (const auto& row : rows) {
    out += row.Deleted ? '*' : ' ';
    for (size_t i = 0; i < fields.size(); ++i) {
      std::string v = i < row.Values.size() ? row.Values[i] : std::string();
      v.resize(size_t(fields[i].Len), ' ');
      out += v;
    }
  }
  if (options.EndMark) out += '\x1A';
  if (options.TruncateTo >= 0 && size_t(options.TruncateTo) < out.size())
    out.resize(size_t(options.TruncateTo));
  out += options.Tail;
  return out;
}

bool WriteBytes(const std::string& nativePath, const std::string& bytes) {
  std::ofstream f(nativePath, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(f.flush());
}

bool WriteDbf(const std::string& nativePath, const std::vector<DbfFieldSpec>& fields,
              const std::vector<DbfRow>& rows, const DbfWriteOptions& options) {
  return WriteBytes(nativePath, BuildDbf(fields, rows, options));
}

}  // namespace vemlo::test
