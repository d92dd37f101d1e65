#include <gtest/gtest.h>

#include "lib/xxlib.h"

namespace vemlo {
namespace {

TEST(XxlibWords, FirstWordAndPopWord) {
  EXPECT_EQ(FirstWord("  DO\tWHILE .T."), "DO");
  EXPECT_EQ(FirstWord("\tUSE x"), "USE");
  EXPECT_EQ(FirstWord("alone"), "alone");
  EXPECT_EQ(FirstWord("   "), "");

  std::string line = "  DO\tWHILE .T.";
  EXPECT_EQ(PopWord(line), "DO");
  EXPECT_EQ(line, "WHILE .T.");
  EXPECT_EQ(PopWord(line), "WHILE");
  EXPECT_EQ(line, ".T.");
  EXPECT_EQ(PopWord(line), ".T.");
  EXPECT_EQ(line, "");
  EXPECT_EQ(PopWord(line), "");
  EXPECT_EQ(line, "");

  // A tab before the first space still ends the word.
  line = "a\tb c";
  EXPECT_EQ(PopWord(line), "a");
  EXPECT_EQ(line, "b c");
}

TEST(XxlibWords, PopTokenLeavesTheSeparatorInFront) {
  const CharSet dotted = WithChars(IdentChars, ".");
  std::string text = ",a, b";
  EXPECT_EQ(PopToken(text, dotted), "a");
  EXPECT_EQ(text, ", b");
  EXPECT_EQ(PopToken(text, dotted), "b");
  EXPECT_EQ(text, "");

  text = "";
  EXPECT_EQ(PopToken(text, dotted), "");
  EXPECT_EQ(text, "");

  text = "m.x  = 1";
  EXPECT_EQ(PopToken(text, dotted), "m.x");
  EXPECT_EQ(text, "= 1");

  // No run at all: empty token and nothing left, so a caller's loop ends.
  text = " ,;( ";
  EXPECT_EQ(PopToken(text, dotted), "");
  EXPECT_EQ(text, "");
}

TEST(XxlibWords, WordAtAnchorInsideAWord) {
  const std::string s = "x = m.alpha+1";
  int right = 0, left = 0;
  EXPECT_EQ(WordAt(s, IdentChars, 8, right, left), "alpha");
  EXPECT_EQ(left, 6);
  EXPECT_EQ(right, 12);

  right = 0, left = 0;
  EXPECT_EQ(WordAt(s, WithChars(IdentChars, "."), 8, right, left), "m.alpha");
  EXPECT_EQ(left, 4);

  // The rightward walk stops after the given bound.
  right = 9, left = 0;
  EXPECT_EQ(WordAt(s, IdentChars, 8, right, left), "alp");
  EXPECT_EQ(right, 10);
  EXPECT_EQ(left, 6);

  // A word that touches both ends of the text.
  right = 0, left = 0;
  EXPECT_EQ(WordAt("name", IdentChars, 1, right, left), "name");
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 5);
}

TEST(XxlibWords, QualifierOfWordAtIsTheWordADotJoinsInFront) {
  const std::string s = "x = THIS.oGrid.Refresh(m.a) .b";
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 17), "oGrid");  // in Refresh
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 10), "THIS");   // in oGrid
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 6), "");        // THIS has none
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 26), "m");
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 9), "");        // on the dot: no word
  EXPECT_EQ(QualifierOfWordAt(s, IdentChars, 30), "");       // a dot after a blank
  EXPECT_EQ(QualifierOfWordAt(".b", IdentChars, 2), "");
  EXPECT_EQ(QualifierOfWordAt("a.b", IdentChars, 9), "");
}

TEST(XxlibWords, WordAtOutsideTheSetOrTheText) {
  int right = 0, left = 0;
  EXPECT_EQ(WordAt("ab + cd", IdentChars, 4, right, left), "");
  EXPECT_EQ(left, 4);
  EXPECT_EQ(right, 4);

  right = 0, left = 0;
  EXPECT_EQ(WordAt("ab", IdentChars, 5, right, left), "");
  EXPECT_EQ(left, 5);
  EXPECT_EQ(right, 5);

  right = 0, left = 0;
  EXPECT_EQ(WordAt("", IdentChars, 1, right, left), "");
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 1);

  right = 0, left = 0;
  EXPECT_EQ(WordAt("ab", IdentChars, 0, right, left), "");
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 0);
}

}  // namespace
}  // namespace vemlo
