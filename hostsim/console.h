// The replacement host's virtual console: a grid of cells, each an OEM byte
// (code page 866) with a colour attribute (low nibble foreground, high background).
#pragma once

#include <string>
#include <vector>

namespace vemlo::sim {

struct Cell {
  unsigned char Ch = ' ';
  unsigned char Attr = 0x07;
  bool operator==(const Cell&) const = default;
};

class Console {
 public:
  explicit Console(int width = 80, int height = 25);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void Resize(int width, int height);

  // Writes the bytes of `text` from (x, y) on, clipped to the screen.
  void Put(int x, int y, unsigned char attr, const std::string& text);
  void PutChar(int x, int y, unsigned char attr, unsigned char ch);
  void Fill(int x1, int y1, int x2, int y2, unsigned char ch, unsigned char attr);
  void Clear(unsigned char attr = 0x07) { Fill(0, 0, width_ - 1, height_ - 1, ' ', attr); }
  Cell At(int x, int y) const;

  // A saved rectangle of cells.
  struct Saved {
    int X1 = 0, Y1 = 0, X2 = -1, Y2 = -1;
    std::vector<Cell> Cells;
  };
  Saved Save(int x1, int y1, int x2, int y2) const;  // -1 for x2/y2: to the edge
  void Restore(const Saved& saved);

  // The bytes of one row, and the whole screen as UTF-8 lines.
  std::string RowText(int y) const;
  std::string DumpUtf8() const;

  int CursorX = 0, CursorY = 0;
  bool CursorVisible = true;

 private:
  int width_, height_;
  std::vector<Cell> cells_;
};

// Code page 866 to UTF-8 and back (unmapped code points give '?').
std::string Cp866ToUtf8(const std::string& oem);
std::string Utf8ToCp866(const std::string& utf8);
unsigned Cp866ToUnicode(unsigned char c);

}  // namespace vemlo::sim
