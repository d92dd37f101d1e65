#include <gtest/gtest.h>

#include "lib/xxlib.h"

namespace vemlo {
namespace {

TEST(XxlibStrings, CharSetsHoldFoxProNameCharacters) {
  EXPECT_TRUE(AllCharsIn("abc_XYZ019", IdentChars));
  EXPECT_FALSE(InSet(IdentChars, '.'));
  EXPECT_FALSE(InSet(IdentChars, '\xE0'));  // a Cyrillic letter in code page 866
  EXPECT_FALSE(InSet(IdentStartChars, '7'));
  EXPECT_TRUE(InSet(IdentStartChars, '_'));
  EXPECT_EQ(IdentChars.count(), 63u);
  EXPECT_EQ(IdentStartChars.count(), 53u);
  CharSet dotted = WithChars(IdentChars, ".");
  EXPECT_TRUE(InSet(dotted, '.'));
  EXPECT_FALSE(InSet(IdentChars, '.'));  // the original set is not changed
  CharSet made = MakeCharSet("\xFF,");
  EXPECT_TRUE(InSet(made, '\xFF'));
  EXPECT_EQ(made.count(), 2u);
}

TEST(XxlibStrings, TrimmingRemovesControlCharactersAndSpaces) {
  EXPECT_EQ(Trim(" \t\r\n\x01x y\x1F "), "x y");
  EXPECT_EQ(TrimLeft("\x0C a "), "a ");
  EXPECT_EQ(TrimRight(" a \x0C"), " a");
  EXPECT_EQ(Trim("\x80"), "\x80");  // high bytes are text, not blanks
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\x0C\r\n"));
  EXPECT_FALSE(IsBlank(" . "));
  EXPECT_EQ(TrimBlanks(" \t a \r\t ", true, true), "a \r");
  EXPECT_EQ(TrimBlanks("  a  ", true, false), "a  ");
  EXPECT_EQ(TrimBlanks("  a  ", false, true), "  a");
  EXPECT_EQ(TrimBlanks(" \t ", true, false), "");
  EXPECT_EQ(TrimBlanks(" \t ", false, true), "");
  EXPECT_EQ(TrimBlanks(" \t ", false, false), " \t ");
}

TEST(XxlibStrings, UpperCaseChangesLatinLettersOnly) {
  EXPECT_EQ(UpperCase("abz_AZ09{`\xA0\xE0"), "ABZ_AZ09{`\xA0\xE0");
}

TEST(XxlibStrings, IntegerTexts) {
  EXPECT_EQ(IntToStr(-1234567890123LL), "-1234567890123");
  int v = 7;
  EXPECT_TRUE(TryStrToInt("-42", v));
  EXPECT_EQ(v, -42);
  EXPECT_TRUE(TryStrToInt("+2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  v = 7;
  for (const char* bad : {"", "-", " 1", "1 ", "2147483648", "-2147483649", "1x", "99999999999999999999"}) {
    EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
    EXPECT_EQ(v, 7) << bad;
  }
}

TEST(XxlibStrings, PaddingCutsOrFillsToTheWidth) {
  EXPECT_EQ(PadRightTo("abc", 5), "abc  ");
  EXPECT_EQ(PadRightTo("abcdef", 2), "ab");
  EXPECT_EQ(PadRightTo("abc", 3), "abc");
  EXPECT_EQ(PadLeftTo("abc", 5), "  abc");
  EXPECT_EQ(PadLeftTo("abcdef", 2), "ef");
  EXPECT_EQ(PadLeftTo("abcdef", 1), "f");
  EXPECT_EQ(PadRightTo("abc", 0), "");
  EXPECT_EQ(PadLeftTo("abc", 0), "");
  EXPECT_EQ(PadLeftTo("abc", -3), "");
  EXPECT_EQ(RepeatStr("ab", 3), "ababab");
  EXPECT_EQ(RepeatStr("ab", 0), "");
  EXPECT_EQ(RepeatStr("ab", -1), "");
}

TEST(XxlibStrings, SubstringsByPosition) {
  EXPECT_EQ(SubstrFrom("abc", 4, 1), "");
  EXPECT_EQ(SubstrFrom("abc", 0, 2), "");
  EXPECT_EQ(SubstrFrom("abc", -1, 2), "");
  EXPECT_EQ(SubstrFrom("abc", 2, -1), "bc");
  EXPECT_EQ(SubstrFrom("abcdef", 2, 3), "bcd");
  EXPECT_EQ(SubstrFrom("abc", 3, 10), "c");
  EXPECT_EQ(SubstrFrom("abc", 1, 0), "");
  EXPECT_EQ(LastCharIn("a.b.c", MakeCharSet(".")), 4);
  EXPECT_EQ(LastCharIn("abc", MakeCharSet(".")), 0);
  EXPECT_EQ(LastCharIn("", IdentChars), 0);
  EXPECT_EQ(Max(-1, 3), 3);
  EXPECT_EQ(Min(-1, 3), -1);
}

TEST(XxlibStrings, ReplaceAllLeftToRightWithoutRescanning) {
  EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAll("abab", "ab", "abab"), "abababab");
  EXPECT_EQ(ReplaceAll("x.y.z", ".", ""), "xyz");
  EXPECT_EQ(ReplaceAll("Aba", "a", "-"), "Ab-");  // case-sensitive
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "x"), "");
}

TEST(XxlibStrings, WildMatch) {
  EXPECT_TRUE(WildMatch("FOO.PRG", "*.PRG"));
  EXPECT_TRUE(WildMatch("FOO.PRG", "F?O.*"));
  EXPECT_FALSE(WildMatch("FOO", "FOO?"));
  EXPECT_TRUE(WildMatch("", "**"));
  EXPECT_TRUE(WildMatch("", ""));
  EXPECT_FALSE(WildMatch("", "?"));
  EXPECT_FALSE(WildMatch("a", ""));
  EXPECT_FALSE(WildMatch("foo.prg", "*.PRG"));  // case-sensitive
  EXPECT_TRUE(WildMatch("abcbcd", "a*bcd"));   // the first "bc" is not the end
  EXPECT_TRUE(WildMatch("abc", "a*c*"));
  EXPECT_FALSE(WildMatch("abcx", "a*c"));
  EXPECT_TRUE(WildMatch("a*b", "a?b"));
  // Many stars over a long text must not take exponential time.
  EXPECT_FALSE(WildMatch(std::string(200, 'a'), "*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace vemlo
