#include "documents.h"

#include <algorithm>

namespace vemlo::lsp {
namespace {

// Length of the UTF-8 character at s[i] and its UTF-16 units; a byte that
// starts no valid character is one byte of one unit.
void Utf8Char(std::string_view s, size_t i, size_t& bytes, int& units) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  bytes = 1;
  units = 1;
  size_t n = 0;
  char32_t min = 0;
  if (c >= 0xC2 && c <= 0xDF) n = 2, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, min = 0x10000;
  if (n == 0 || i + n > s.size()) return;
  char32_t cp = c & (0xFF >> (n + 1));
  for (size_t k = 1; k < n; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) return;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return;
  bytes = n;
  units = cp >= 0x10000 ? 2 : 1;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

size_t ByteOfColumn(std::string_view line, bool utf8, int64_t column) {
  if (column <= 0) return 0;
  if (!utf8) return static_cast<size_t>(std::min<int64_t>(column, static_cast<int64_t>(line.size())));
  int64_t units = 0;
  size_t i = 0;
  while (i < line.size()) {
    size_t bytes;
    int n;
    Utf8Char(line, i, bytes, n);
    if (units + n > column) break;
    units += n;
    i += bytes;
  }
  return i;
}

int64_t ColumnOfByte(std::string_view line, bool utf8, size_t byte) {
  byte = std::min(byte, line.size());
  if (!utf8) return static_cast<int64_t>(byte);
  int64_t units = 0;
  size_t i = 0;
  while (i < byte) {
    size_t bytes;
    int n;
    Utf8Char(line, i, bytes, n);
    if (i + bytes > byte) break;
    units += n;
    i += bytes;
  }
  return units;
}

int64_t LineColumns(std::string_view line, bool utf8) { return ColumnOfByte(line, utf8, line.size()); }

Place PlaceOf(const TextDocument& doc, const Position& pos) {
  const int64_t last = static_cast<int64_t>(doc.Lines.size()) - 1;
  if (pos.Line > last) return {static_cast<int>(last), doc.Lines.back().size()};
  const int line = static_cast<int>(std::max<int64_t>(0, pos.Line));
  return {line, ByteOfColumn(doc.Lines[line], doc.Codec.Utf8, pos.Character)};
}

Position PositionOf(const TextDocument& doc, int line, size_t byte) {
  if (doc.Lines.empty()) return {};
  line = std::clamp(line, 0, static_cast<int>(doc.Lines.size()) - 1);
  return {line, ColumnOfByte(doc.Lines[line], doc.Codec.Utf8, byte)};
}

void SetText(TextDocument& doc, std::string_view utf8) {
  doc.Lines = SplitLines(doc.Codec.FromClient ? doc.Codec.FromClient(utf8) : std::string(utf8));
}

void ApplyEdit(TextDocument& doc, const Position& start, const Position& end, std::string_view utf8) {
  Place a = PlaceOf(doc, start), b = PlaceOf(doc, end);
  if (b.Line < a.Line || (b.Line == a.Line && b.Byte < a.Byte)) std::swap(a, b);
  std::vector<std::string> inserted =
      SplitLines(doc.Codec.FromClient ? doc.Codec.FromClient(utf8) : std::string(utf8));
  const std::string head = doc.Lines[a.Line].substr(0, a.Byte);
  const std::string tail = doc.Lines[b.Line].substr(b.Byte);
  inserted.front().insert(0, head);
  inserted.back().append(tail);
  // Replace lines a..b by the inserted ones, reusing the slots they share.
  const size_t oldCount = static_cast<size_t>(b.Line - a.Line) + 1;
  const size_t common = std::min(oldCount, inserted.size());
  for (size_t k = 0; k < common; ++k) doc.Lines[a.Line + k] = std::move(inserted[k]);
  if (inserted.size() > oldCount) {
    doc.Lines.insert(doc.Lines.begin() + a.Line + static_cast<long>(oldCount),
                     std::make_move_iterator(inserted.begin() + static_cast<long>(oldCount)),
                     std::make_move_iterator(inserted.end()));
  } else if (oldCount > inserted.size()) {
    doc.Lines.erase(doc.Lines.begin() + a.Line + static_cast<long>(common),
                    doc.Lines.begin() + a.Line + static_cast<long>(oldCount));
  }
}

std::string ToClientText(const TextCodec& codec, const std::string& bytes) {
  return codec.ToClient ? codec.ToClient(bytes) : bytes;
}

std::string ClientText(const TextDocument& doc) {
  std::string text;
  for (size_t i = 0; i < doc.Lines.size(); ++i) {
    if (i) text += '\n';
    text += ToClientText(doc.Codec, doc.Lines[i]);
  }
  return text;
}

}  // namespace vemlo::lsp
