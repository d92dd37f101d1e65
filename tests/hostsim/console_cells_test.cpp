// The console's cells hold characters 866 lacks as themselves.
#include <gtest/gtest.h>

#include "console.h"

namespace vemlo::sim {
namespace {

TEST(ConsoleCells, CharactersThat866LacksKeepTheirOwnCell) {
  Console con(10, 1);
  con.PutUnicode(0, 0, 0x07, U'Ж');
  con.PutUnicode(1, 0, 0x07, U'€');
  con.PutUnicode(2, 0, 0x07, 0x0301);  // combining: takes no cell of its own
  con.PutUnicode(3, 0, 0x07, 0x4E2D);  // wide
  con.PutUnicode(4, 0, 0x07, 0x009B);  // a C1 control must never reach a terminal
  EXPECT_EQ(con.At(0, 0).Ch, 0x86);
  EXPECT_EQ(con.At(0, 0).Wide, 0u);
  EXPECT_EQ(con.At(1, 0).Ch, '?');
  EXPECT_EQ(con.DumpUtf8(), "Ж€\uFFFD\uFFFD\uFFFD\n");
  EXPECT_EQ(con.RowText(0).substr(0, 5), "\x86????");
}

}  // namespace
}  // namespace vemlo::sim
