#include "console.h"

#include <algorithm>

#include "codepage.h"

namespace vemlo::sim {

Console::Console(int width, int height) : width_(0), height_(0) { Resize(width, height); }

void Console::Resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  std::vector<Cell> cells(static_cast<size_t>(width) * height);
  for (int y = 0; y < std::min(height, height_); ++y)
    for (int x = 0; x < std::min(width, width_); ++x)
      cells[static_cast<size_t>(y) * width + x] = cells_[static_cast<size_t>(y) * width_ + x];
  width_ = width;
  height_ = height;
  cells_ = std::move(cells);
}

void Console::PutChar(int x, int y, unsigned char attr, unsigned char ch) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  cells_[static_cast<size_t>(y) * width_ + x] = Cell{ch, attr};
}

void Console::Put(int x, int y, unsigned char attr, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i)
    PutChar(x + static_cast<int>(i), y, attr, static_cast<unsigned char>(text[i]));
}

void Console::Fill(int x1, int y1, int x2, int y2, unsigned char ch, unsigned char attr) {
  for (int y = std::max(0, y1); y <= std::min(y2, height_ - 1); ++y)
    for (int x = std::max(0, x1); x <= std::min(x2, width_ - 1); ++x) PutChar(x, y, attr, ch);
}

Cell Console::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Cell{};
  return cells_[static_cast<size_t>(y) * width_ + x];
}

Console::Saved Console::Save(int x1, int y1, int x2, int y2) const {
  Saved s;
  s.X1 = std::clamp(x1, 0, width_ - 1);
  s.Y1 = std::clamp(y1, 0, height_ - 1);
  s.X2 = x2 < 0 ? width_ - 1 : std::min(x2, width_ - 1);
  s.Y2 = y2 < 0 ? height_ - 1 : std::min(y2, height_ - 1);
  for (int y = s.Y1; y <= s.Y2; ++y)
    for (int x = s.X1; x <= s.X2; ++x) s.Cells.push_back(At(x, y));
  return s;
}

void Console::Restore(const Saved& s) {
  size_t i = 0;
  for (int y = s.Y1; y <= s.Y2; ++y)
    for (int x = s.X1; x <= s.X2 && i < s.Cells.size(); ++x, ++i)
      PutChar(x, y, s.Cells[i].Attr, s.Cells[i].Ch);
}

std::string Console::RowText(int y) const {
  std::string row;
  for (int x = 0; x < width_; ++x) row += static_cast<char>(At(x, y).Ch);
  return row;
}

std::string Console::DumpUtf8() const {
  std::string out;
  for (int y = 0; y < height_; ++y) {
    int end = width_;
    while (end > 0 && At(end - 1, y).Ch == ' ' && !At(end - 1, y).Wide) --end;
    for (int x = 0; x < end; ++x) out += CellUtf8(At(x, y));
    out += '\n';
  }
  return out;
}

namespace {

// Glyphs for the control bytes, as a DOS console shows them.
const unsigned kLow[32] = {0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                           0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                           0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                           0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};

struct Range {
  char32_t From, To;
};

// Characters a terminal does not show in one cell: combining marks, zero-width
// and bidirectional controls, and the wide (East Asian) blocks.
constexpr Range kNotSingle[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x0670, 0x0670}, {0x06D6, 0x06ED}, {0x0E31, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1100, 0x115F},
    {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x206F},
    {0x20D0, 0x20FF}, {0x231A, 0x231B}, {0x2329, 0x232A}, {0x23E9, 0x23EC}, {0x2E80, 0x303E},
    {0x3041, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3}, {0xD800, 0xDFFF}, {0xE000, 0xF8FF},
    {0xF900, 0xFAFF}, {0xFE00, 0xFE0F}, {0xFE10, 0xFE19}, {0xFE20, 0xFE6F}, {0xFEFF, 0xFEFF},
    {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0xFFF0, 0xFFFC}, {0x1F000, 0x10FFFF}};

}  // namespace

bool IsSingleCell(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c > 0x10FFFF) return false;
  for (const Range& r : kNotSingle)
    if (c >= r.From && c <= r.To) return false;
  return true;
}

void Console::PutUnicode(int x, int y, unsigned char attr, char32_t ch) {
  unsigned char b;
  if (OemByte(ch, b)) {
    PutChar(x, y, attr, b);
    return;
  }
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  cells_[static_cast<size_t>(y) * width_ + x] = Cell{'?', attr, IsSingleCell(ch) ? ch : 0xFFFD};
}

unsigned Cp866ToUnicode(unsigned char c) {
  if (c < 0x20) return kLow[c];
  if (c == 0x7F) return 0x2302;
  return UnicodeOfOem(c);
}

std::string Cp866ToUtf8(const std::string& oem) {
  std::string out;
  out.reserve(oem.size() * 2);
  for (unsigned char c : oem) AppendUtf8(out, Cp866ToUnicode(c));
  return out;
}

std::string CellUtf8(const Cell& cell) {
  std::string out;
  AppendUtf8(out, cell.Wide ? cell.Wide : Cp866ToUnicode(cell.Ch));
  return out;
}

std::string Utf8ToCp866(const std::string& utf8) {
  std::string out;
  for (char32_t c : FromUtf8(utf8)) {
    unsigned char b;
    out += OemByte(c, b) ? static_cast<char>(b) : '?';
  }
  return out;
}

}  // namespace vemlo::sim
