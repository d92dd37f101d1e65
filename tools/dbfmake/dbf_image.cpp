#include "dbf_image.h"

namespace vemlo::dbfmake {
namespace {

constexpr int kFptHeaderSize = 512;

void PutLe(std::string& out, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

void PutBe(std::string& out, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + size_t(i)] = char((value >> (8 * (width - 1 - i))) & 0xFF);
}

bool RightAligned(const SourceField& f) { return f.Type == 'N' || f.Type == 'F'; }

// Appends one memo block chain to the FPT image and returns its first block.
uint32_t AddMemo(std::string& fpt, const std::string& text) {
  uint32_t block = uint32_t(fpt.size() / kMemoBlockSize);
  std::string head(8, '\0');
  PutBe(head, 0, 1, 4);  // type 1: text
  PutBe(head, 4, uint32_t(text.size()), 4);
  fpt += head;
  fpt += text;
  fpt.resize((fpt.size() + kMemoBlockSize - 1) / kMemoBlockSize * kMemoBlockSize, '\0');
  return block;
}

}  // namespace

bool BuildTableImage(const TableSource& table, TableImage& image, SourceError& error) {
  auto fail = [&](int line, const std::string& text) {
    error.Line = line;
    error.Text = text;
    return false;
  };
  if (table.HasMemo() && table.Version != 0xF5)
    return fail(0, "memo fields need version 0xF5 (a FoxPro table with an FPT file)");

  uint64_t recordLen = 1;
  for (const auto& f : table.Fields) recordLen += uint64_t(f.Len);
  uint64_t headerLen = 32 + 32 * uint64_t(table.Fields.size()) + 1;
  if (recordLen > 0xFFFF) return fail(0, "records longer than 65535 bytes");
  if (headerLen > 0xFFFF) return fail(0, "too many fields");

  image = TableImage{};
  if (table.HasMemo()) {
    image.Fpt.assign(kFptHeaderSize, '\0');
    PutBe(image.Fpt, 6, kMemoBlockSize, 2);
  }

  std::string& dbf = image.Dbf;
  dbf.assign(32, '\0');
  dbf[0] = char(table.Version);
  dbf[1] = char(table.Year - 1900);
  dbf[2] = char(table.Month);
  dbf[3] = char(table.Day);
  PutLe(dbf, 4, uint32_t(table.Rows.size()), 4);
  PutLe(dbf, 8, uint32_t(headerLen), 2);
  PutLe(dbf, 10, uint32_t(recordLen), 2);

  uint32_t offset = 1;
  for (const auto& f : table.Fields) {
    std::string d(32, '\0');
    d.replace(0, f.Name.size(), f.Name);
    d[11] = f.Type;
    PutLe(d, 12, offset, 4);
    d[16] = char(f.Len);
    d[17] = char(f.Dec);
    dbf += d;
    offset += uint32_t(f.Len);
  }
  dbf += '\x0D';

  for (const auto& row : table.Rows) {
    dbf += row.Deleted ? '*' : ' ';
    for (size_t i = 0; i < table.Fields.size(); ++i) {
      const SourceField& f = table.Fields[i];
      std::string value = row.Values[i];
      if (f.Kind != FieldKind::Plain)
        value = value.empty() ? std::string() : std::to_string(AddMemo(image.Fpt, value));
      if (value.size() > size_t(f.Len))
        return fail(row.Line, "value \"" + value + "\" is longer than field " + f.Name + " (" +
                                  std::to_string(f.Len) + ")");
      std::string pad(size_t(f.Len) - value.size(), ' ');
      bool right = RightAligned(f) || f.Kind == FieldKind::Memo;
      dbf += right ? pad + value : value + pad;
    }
  }
  dbf += '\x1A';
  if (!image.Fpt.empty()) PutBe(image.Fpt, 0, uint32_t(image.Fpt.size() / kMemoBlockSize), 4);
  return true;
}

}  // namespace vemlo::dbfmake
