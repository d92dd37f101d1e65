// The document store: lines split as the protocol counts them, positions in
// UTF-16 units against bytes, and incremental edits that keep the text equal
// to the client's.
#include <gtest/gtest.h>

#include "vemlo-lsp/documents.h"

namespace vemlo::lsp {
namespace {

TextDocument Doc(const std::string& text, bool utf8 = true) {
  TextDocument d;
  d.Codec.Utf8 = utf8;
  SetText(d, text);
  return d;
}

TEST(Documents, LinesEndAtCrLfLfAndCrAlone) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitLines("\r\r\n\n"), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
}

TEST(Documents, Utf16ColumnsOfUtf8Lines) {
  // a, e-acute (2 bytes), euro (3 bytes), G clef (4 bytes, 2 units), b
  const std::string line = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E" "b";
  EXPECT_EQ(LineColumns(line, true), 6);
  EXPECT_EQ(ByteOfColumn(line, true, 0), 0u);
  EXPECT_EQ(ByteOfColumn(line, true, 2), 3u);
  EXPECT_EQ(ByteOfColumn(line, true, 3), 6u);
  EXPECT_EQ(ByteOfColumn(line, true, 4), 6u);  // inside the surrogate pair: its start
  EXPECT_EQ(ByteOfColumn(line, true, 5), 10u);
  EXPECT_EQ(ByteOfColumn(line, true, 6), 11u);
  EXPECT_EQ(ByteOfColumn(line, true, 600), 11u);
  EXPECT_EQ(ColumnOfByte(line, true, 10), 5);
  EXPECT_EQ(ColumnOfByte(line, true, 7), 3);  // inside a character: its start
}

TEST(Documents, BrokenUtf8CountsOneUnitPerByte) {
  // a lone continuation byte, a cut 3-byte sequence, an overlong form, a surrogate
  const std::string line = "\x80" "\xE2\x82" "\xC0\xAF" "\xED\xA0\x80" "z";
  EXPECT_EQ(LineColumns(line, true), 9);
  EXPECT_EQ(ByteOfColumn(line, true, 8), 8u);
}

TEST(Documents, SingleByteCodePagesCountBytes) {
  const std::string line = "\xB3\xC4\xDA x";
  EXPECT_EQ(LineColumns(line, false), 5);
  EXPECT_EQ(ByteOfColumn(line, false, 3), 3u);
  EXPECT_EQ(ByteOfColumn(line, false, 99), 5u);
}

TEST(Documents, PositionsPastTheEndAreClamped) {
  TextDocument d = Doc("ab\ncd");
  Place p = PlaceOf(d, {1, 99});
  EXPECT_EQ(p.Line, 1);
  EXPECT_EQ(p.Byte, 2u);
  p = PlaceOf(d, {7, 0});
  EXPECT_EQ(p.Line, 1);
  EXPECT_EQ(p.Byte, 2u);
}

TEST(Documents, EditsWithinALineAcrossLinesAndAtTheEnd) {
  TextDocument d = Doc("first\nsecond\nthird");
  ApplyEdit(d, {0, 1}, {0, 3}, "XY");  // fIRst -> fXYst
  EXPECT_EQ(ClientText(d), "fXYst\nsecond\nthird");
  ApplyEdit(d, {0, 2}, {2, 2}, "-");  // across lines
  EXPECT_EQ(ClientText(d), "fX-ird");
  ApplyEdit(d, {0, 6}, {0, 6}, "\r\nnew\nlines\r");  // insert line breaks at the end
  EXPECT_EQ(ClientText(d), "fX-ird\nnew\nlines\n");
  EXPECT_EQ(d.Lines.size(), 4u);
  ApplyEdit(d, {3, 0}, {1, 1}, "");  // reversed range: deletes from (1,1) to (3,0)
  EXPECT_EQ(ClientText(d), "fX-ird\nn");
  ApplyEdit(d, {0, 0}, {99, 99}, "all");
  EXPECT_EQ(ClientText(d), "all");
}

TEST(Documents, EditPositionsCountUtf16Units) {
  TextDocument d = Doc("x\xF0\x9D\x84\x9Ey");
  ApplyEdit(d, {0, 3}, {0, 4}, "Z");  // after the pair
  EXPECT_EQ(ClientText(d), "x\xF0\x9D\x84\x9EZ");
  ApplyEdit(d, {0, 1}, {0, 3}, "");  // the pair itself
  EXPECT_EQ(ClientText(d), "xZ");
}

TEST(Documents, ClientTextGoesThroughTheCodec) {
  TextDocument d;
  d.Codec.Utf8 = false;
  // A toy code page: "\xC3\xA9" (e-acute) is the byte 0xE9; anything else as it is.
  d.Codec.FromClient = [](std::string_view u) {
    std::string out;
    for (size_t i = 0; i < u.size(); ++i) {
      if (u.substr(i, 2) == "\xC3\xA9") out += '\xE9', ++i;
      else out += u[i];
    }
    return out;
  };
  d.Codec.ToClient = [](std::string_view b) {
    std::string out;
    for (char c : b) out += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
    return out;
  };
  SetText(d, "caf\xC3\xA9\nx");
  EXPECT_EQ(d.Lines[0], "caf\xE9");
  ApplyEdit(d, {0, 4}, {0, 4}, "!\xC3\xA9");
  EXPECT_EQ(d.Lines[0], "caf\xE9!\xE9");
  EXPECT_EQ(ClientText(d), "caf\xC3\xA9!\xC3\xA9\nx");
  EXPECT_EQ(PositionOf(d, 0, 5).Character, 5);
}

}  // namespace
}  // namespace vemlo::lsp
