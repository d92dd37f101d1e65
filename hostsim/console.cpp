#include "console.h"

#include <algorithm>

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
    std::string row = RowText(y);
    while (!row.empty() && row.back() == ' ') row.pop_back();
    out += Cp866ToUtf8(row);
    out += '\n';
  }
  return out;
}

namespace {

// Unicode code points of bytes 0x80..0xFF of code page 866.
const unsigned kHigh[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425,
    0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430,
    0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441, 0x0442,
    0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D,
    0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

// Glyphs for the control bytes, as a DOS console shows them.
const unsigned kLow[32] = {0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                           0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                           0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                           0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

unsigned Cp866ToUnicode(unsigned char c) {
  if (c < 0x20) return kLow[c];
  if (c < 0x80) return c == 0x7F ? 0x2302 : c;
  return kHigh[c - 0x80];
}

std::string Cp866ToUtf8(const std::string& oem) {
  std::string out;
  out.reserve(oem.size() * 2);
  for (unsigned char c : oem) AppendUtf8(out, Cp866ToUnicode(c));
  return out;
}

std::string Utf8ToCp866(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned cp;
    size_t len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else { out += '?'; ++i; continue; }
    if (i + len > utf8.size()) { out += '?'; break; }
    bool ok = true;
    for (size_t k = 1; k < len; ++k) {
      unsigned char d = static_cast<unsigned char>(utf8[i + k]);
      if ((d & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok) { out += '?'; ++i; continue; }
    i += len;
    if (cp < 0x80) { out += static_cast<char>(cp); continue; }
    char mapped = '?';
    for (int k = 0; k < 128; ++k)
      if (kHigh[k] == cp) { mapped = static_cast<char>(0x80 + k); break; }
    out += mapped;
  }
  return out;
}

}  // namespace vemlo::sim
