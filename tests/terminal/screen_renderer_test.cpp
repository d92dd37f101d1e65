// Frames from the virtual console to the terminal: code page 866 to UTF-8,
// colours, and only the changed cells.
#include <gtest/gtest.h>

#include <string>

#include "terminal_screen.h"

namespace vemlo::sim {
namespace {

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + what.size())) ++n;
  return n;
}

TEST(ScreenRenderer, ColoursMapTheSixteenConsoleColours) {
  EXPECT_EQ(AttrSgr(0x07), "\x1b[37;40m");   // light grey on black
  EXPECT_EQ(AttrSgr(0x1F), "\x1b[97;44m");   // bright white on blue
  EXPECT_EQ(AttrSgr(0x30), "\x1b[30;46m");   // black on cyan
  EXPECT_EQ(AttrSgr(0x4E), "\x1b[93;41m");   // yellow on red
  EXPECT_EQ(AttrSgr(0xA1), "\x1b[34;102m");  // blue on bright green
  EXPECT_EQ(AttrSgr(0xF0), "\x1b[30;107m");  // bright background: 100-107
  EXPECT_EQ(AttrSgr(0x05), "\x1b[35;40m");   // magenta: red and blue bits
}

TEST(ScreenRenderer, FirstFrameDrawsEverythingInUtf8) {
  Console con(6, 2);
  con.Clear(0x1B);
  con.Put(0, 0, 0x1B, "\xC9\xCD\xBB");  // ╔═╗
  con.Put(0, 1, 0x1E, "\x84\xae\xac");  // Дом
  con.CursorX = 2;
  con.CursorY = 1;
  ScreenRenderer r;
  std::string f = r.Frame(con, 6, 2);
  EXPECT_EQ(f.rfind("\x1b[0m\x1b[2J", 0), 0u) << "a first frame clears the terminal";
  EXPECT_NE(f.find("\x1b[1;1H\x1b[96;44m\xe2\x95\x94\xe2\x95\x90\xe2\x95\x97   "), std::string::npos);
  EXPECT_NE(f.find("\x1b[93;44m\xd0\x94\xd0\xbe\xd0\xbc"), std::string::npos);
  // The cursor is placed last and shown.
  EXPECT_NE(f.find("\x1b[2;3H\x1b[?25h"), std::string::npos);
  EXPECT_EQ(f.substr(f.size() - 12), "\x1b[2;3H\x1b[?25h");
  // The same screen again costs nothing.
  EXPECT_EQ(r.Frame(con, 6, 2), "");
}

TEST(ScreenRenderer, LaterFramesDrawOnlyChangedRuns) {
  Console con(40, 3);
  ScreenRenderer r;
  r.Frame(con, 40, 3);
  con.PutChar(5, 1, 0x07, 'A');
  con.PutChar(30, 1, 0x07, 'B');
  std::string f = r.Frame(con, 40, 3);
  // Two runs far apart: two cursor moves, just the two letters, no clearing.
  EXPECT_EQ(f.find("\x1b[2J"), std::string::npos);
  EXPECT_NE(f.find("\x1b[2;6HA"), std::string::npos);
  EXPECT_NE(f.find("\x1b[2;31HB"), std::string::npos);
  EXPECT_LT(f.size(), 40u);
  // Changes close together go out as one run rather than many moves.
  con.PutChar(10, 2, 0x07, 'x');
  con.PutChar(12, 2, 0x07, 'y');
  f = r.Frame(con, 40, 3);
  EXPECT_NE(f.find("\x1b[3;11Hx y"), std::string::npos);
  // A colour is sent once for a run of cells of that colour.
  con.Fill(0, 0, 9, 0, '-', 0x4F);
  f = r.Frame(con, 40, 3);
  EXPECT_EQ(Count(f, "\x1b[97;41m"), 1u);
  EXPECT_NE(f.find("----------"), std::string::npos);
  // Only the cursor moved: just the move.
  con.CursorX = 7;
  EXPECT_EQ(r.Frame(con, 40, 3), "\x1b[1;8H");
  // A hidden cursor is hidden, and shown again when it comes back.
  con.CursorVisible = false;
  EXPECT_EQ(r.Frame(con, 40, 3), "\x1b[?25l");
  con.CursorVisible = true;
  EXPECT_EQ(r.Frame(con, 40, 3), "\x1b[?25h");
}

TEST(ScreenRenderer, ResizeAndInvalidateRedrawWholeAndClipToTheTerminal) {
  Console con(10, 4);
  con.Fill(0, 0, 9, 3, '#', 0x07);
  ScreenRenderer r;
  r.Frame(con, 10, 4);
  r.Invalidate();
  std::string f = r.Frame(con, 10, 4);
  EXPECT_NE(f.find("\x1b[2J"), std::string::npos);
  EXPECT_EQ(Count(f, "#"), 40u);
  // A console larger than the terminal: only what fits is drawn, the cursor kept inside.
  con.Resize(20, 6);
  con.Fill(0, 0, 19, 5, '#', 0x07);
  con.CursorX = 15;
  con.CursorY = 5;
  f = r.Frame(con, 10, 4);
  EXPECT_EQ(Count(f, "#"), 40u);
  EXPECT_EQ(f.find("\x1b[5;"), std::string::npos) << "nothing below the terminal";
  EXPECT_NE(f.find("\x1b[4;10H"), std::string::npos);
  EXPECT_NE(f.find("\x1b[?25l"), std::string::npos) << "a cursor outside the terminal is hidden";
}

TEST(ScreenRenderer, ControlBytesAreDrawnAsGlyphsNotSent) {
  Console con(4, 1);
  con.Put(0, 0, 0x07, std::string("\x1b\x0d\x07\x7f", 4));
  ScreenRenderer r;
  std::string f = r.Frame(con, 4, 1);
  // ESC, CR, BEL and DEL in a cell must not reach the terminal as controls.
  std::string body = f.substr(f.find("\x1b[37;40m") + 8);
  EXPECT_EQ(body.find('\r'), std::string::npos);
  EXPECT_EQ(body.find('\a'), std::string::npos);
  EXPECT_EQ(body.find('\x7f'), std::string::npos);
  EXPECT_NE(body.find("\xe2\x86\x90"), std::string::npos);  // ← for 0x1B
}

}  // namespace
}  // namespace vemlo::sim
