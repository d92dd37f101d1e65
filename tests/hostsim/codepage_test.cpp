// Code pages of edited files: every byte comes back as it was, UTF-8 is
// recognised, and the plug-in's 866 view keeps what it did not change.
#include <gtest/gtest.h>

#include "codepage.h"
#include "console.h"

namespace vemlo::sim {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(CodePages, EveryByteOfEverySingleByteCodePageComesBackAsItWas) {
  const std::string bytes = AllBytes();
  for (CodePage cp : {CodePage::Oem866, CodePage::Win1251, CodePage::Win1252}) {
    std::u32string text = DecodeBytes(bytes, cp);
    ASSERT_EQ(text.size(), 256u) << CodePageName(cp);
    std::string back;
    ASSERT_TRUE(EncodeText(text, cp, back)) << CodePageName(cp);
    EXPECT_EQ(back, bytes) << CodePageName(cp);
  }
}

TEST(CodePages, KnownCharactersOfEachCodePage) {
  EXPECT_EQ(DecodeBytes("\x80\xE0\xF0\xC9\x7F", CodePage::Oem866), U"Ар\u0401\u2554\u007F");
  EXPECT_EQ(DecodeBytes("\xC0\xFF\xA8\xB9\x88", CodePage::Win1251), U"Ая\u0401\u2116\u20AC");
  EXPECT_EQ(DecodeBytes("\x80\xE9\x9F", CodePage::Win1252), U"\u20AC\u00E9\u0178");
  // Bytes that are no character in 1251/1252 stand for themselves.
  EXPECT_EQ(DecodeBytes("\x98", CodePage::Win1251), U"\u0098");
  EXPECT_EQ(DecodeBytes("\x81\x8D\x8F\x90\x9D", CodePage::Win1252), U"\u0081\u008D\u008F\u0090\u009D");
}

TEST(CodePages, WhatEachCodePageCanHold) {
  EXPECT_TRUE(CanHold(CodePage::Oem866, U'Ж'));
  EXPECT_FALSE(CanHold(CodePage::Oem866, U'€'));
  EXPECT_FALSE(CanHold(CodePage::Oem866, U'é'));
  EXPECT_TRUE(CanHold(CodePage::Win1251, U'€'));
  EXPECT_FALSE(CanHold(CodePage::Win1251, U'╔'));
  EXPECT_TRUE(CanHold(CodePage::Win1252, U'é'));
  EXPECT_FALSE(CanHold(CodePage::Win1252, U'Ж'));
  EXPECT_TRUE(CanHold(CodePage::Utf8, U'Ж'));
  EXPECT_TRUE(CanHold(CodePage::Utf8, U'\U0001F600'));
  EXPECT_FALSE(CanHold(CodePage::Utf8, 0xD800));  // a lone surrogate is no character
  EXPECT_EQ(FirstUnheld(U"abc€d", CodePage::Oem866), 3u);
  EXPECT_EQ(FirstUnheld(U"abc", CodePage::Oem866), std::u32string::npos);
  std::string out;
  size_t bad = 0;
  EXPECT_FALSE(EncodeText(U"Жx€", CodePage::Win1252, out, &bad));
  EXPECT_EQ(bad, 0u);
}

TEST(CodePages, BrokenUtf8KeepsItsBytes) {
  // A stray continuation byte, a cut sequence, an overlong form, an encoded
  // surrogate: each byte stands for itself and is written back as it was.
  const std::string bytes = "ok \x80 \xD0 end \xC0\xAF \xED\xA0\x80 \xE2\x82";
  std::u32string text = DecodeBytes(bytes, CodePage::Utf8);
  EXPECT_EQ(text.substr(0, 3), U"ok ");
  EXPECT_TRUE(IsByteStandIn(text[3]));
  std::string back;
  ASSERT_TRUE(EncodeText(text, CodePage::Utf8, back));
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(ToOem(DecodeBytes("\x80", CodePage::Utf8)), "?");
}

TEST(CodePages, Utf8IsRecognisedByItsMarkOrByValidBytesBeyondAscii) {
  bool bom = false;
  EXPECT_EQ(DetectCodePage("\xEF\xBB\xBFplain", CodePage::Oem866, bom), CodePage::Utf8);
  EXPECT_TRUE(bom);
  EXPECT_EQ(DetectCodePage("\xD0\x9F\xD1\x80\xD0\xB8", CodePage::Oem866, bom), CodePage::Utf8);
  EXPECT_FALSE(bom);
  // Plain ASCII is no reason for UTF-8; 866 Cyrillic and box characters are no valid UTF-8.
  EXPECT_EQ(DetectCodePage("plain text\r\n", CodePage::Oem866, bom), CodePage::Oem866);
  EXPECT_EQ(DetectCodePage("\x8F\xE0\xA8\xA2\xA5\xE2", CodePage::Oem866, bom), CodePage::Oem866);
  EXPECT_EQ(DetectCodePage("*\xC9\xCD\xCD\xCD\xBB", CodePage::Win1251, bom), CodePage::Win1251);
  EXPECT_EQ(DetectCodePage("", CodePage::Oem866, bom), CodePage::Oem866);
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(CodePages, NamesOnTheCommandLineAndTheF8Order) {
  EXPECT_EQ(ParseCodePage("UTF-8"), CodePage::Utf8);
  EXPECT_EQ(ParseCodePage("utf8"), CodePage::Utf8);
  EXPECT_EQ(ParseCodePage("dos"), CodePage::Oem866);
  EXPECT_EQ(ParseCodePage("1251"), CodePage::Win1251);
  EXPECT_FALSE(ParseCodePage("1250").has_value());
  EXPECT_FALSE(ParseCodePage("").has_value());
  CodePage cp = CodePage::Oem866;
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    cp = NextCodePage(cp);
    seen.push_back(CodePageName(cp));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"1251", "1252", "UTF-8", "866"}));
}

TEST(CodePages, ThePluginsEditKeepsWhatItsViewCouldNotShow) {
  const std::u32string line = U"  x = \"€ and é\"";
  const std::string view = ToOem(line);
  EXPECT_EQ(view, "  x = \"? and ?\"");
  // The formatter takes the indentation away: the rest of the line stays whole.
  EXPECT_EQ(MergeOemEdit(line, view.substr(2)), U"x = \"€ and é\"");
  // A change in the middle keeps both ends.
  EXPECT_EQ(MergeOemEdit(line, "  y = \"? and ?\""), U"  y = \"€ and é\"");
  // Text the plug-in writes itself is read as 866.
  EXPECT_EQ(MergeOemEdit(U"", "\x84\xae\xac"), U"Дом");
  EXPECT_EQ(MergeOemEdit(line, ""), U"");
  EXPECT_EQ(MergeOemEdit(line, view), line);
}

TEST(CodePages, CharacterNamesAndUtf8) {
  EXPECT_EQ(CharacterName(0x20AC), "U+20AC");
  EXPECT_EQ(CharacterName(0x41), "U+0041");
  EXPECT_EQ(CharacterName(0x1F600), "U+1F600");
  EXPECT_EQ(FromUtf8(ToUtf8(U"Жé€\U0001F600")), U"Жé€\U0001F600");
  EXPECT_EQ(FromUtf8("a\xFF"), U"a\uFFFD");
}

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
