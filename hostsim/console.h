// The replacement host's virtual console: a grid of cells, each an OEM byte
// (code page 866) with a colour attribute (low nibble foreground, high background).
// A cell may instead show a character that 866 lacks (text of a file in another
// code page); its OEM byte is then '?'.
#pragma once

#include <string>
#include <vector>

namespace vemlo::sim {

struct Cell {
  unsigned char Ch = ' ';
  unsigned char Attr = 0x07;
  char32_t Wide = 0;  // the character shown when 866 has none, else 0
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
  // A Unicode character: its 866 byte when there is one; a character that takes
  // no single cell of a terminal (controls, combining or wide ones) shows as U+FFFD.
  void PutUnicode(int x, int y, unsigned char attr, char32_t ch);
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

  // The bytes of one row ('?' for a cell of a character 866 lacks), and the whole
  // screen as UTF-8 lines.
  std::string RowText(int y) const;
  std::string DumpUtf8() const;

  int CursorX = 0, CursorY = 0;
  bool CursorVisible = true;

 private:
  int width_, height_;
  std::vector<Cell> cells_;
};

// Code page 866 to UTF-8 and back (unmapped code points give '?'). Control bytes
// are shown as a DOS console shows them (0x01 as U+263A and so on).
std::string Cp866ToUtf8(const std::string& oem);
std::string Utf8ToCp866(const std::string& utf8);
unsigned Cp866ToUnicode(unsigned char c);
// What a cell shows as UTF-8.
std::string CellUtf8(const Cell& cell);
// True when a terminal shows `c` in exactly one cell.
bool IsSingleCell(char32_t c);

}  // namespace vemlo::sim
