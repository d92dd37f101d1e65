// Framing of the base protocol: whole bodies out of any split of the input,
// and one refusal per bad header block with the next frame still read.
#include <gtest/gtest.h>

#include "vemlo-lsp/framing.h"

namespace vemlo::lsp {
namespace {

std::vector<Frame> Decode(const std::string& input, size_t chunk = 0) {
  FrameDecoder d;
  if (chunk == 0) {
    d.Feed(input);
  } else {
    for (size_t i = 0; i < input.size(); i += chunk) d.Feed(std::string_view(input).substr(i, chunk));
  }
  std::vector<Frame> out;
  Frame f;
  while (d.Next(f)) out.push_back(f);
  return out;
}

TEST(Framing, BodiesComeWholeHoweverTheInputIsSplit) {
  const std::string input = EncodeFrame("{\"a\":1}") + EncodeFrame("[2,3]") + EncodeFrame("");
  for (size_t chunk : {0, 1, 2, 7, 25}) {
    SCOPED_TRACE(chunk);
    const auto frames = Decode(input, chunk);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].Body, "{\"a\":1}");
    EXPECT_EQ(frames[1].Body, "[2,3]");
    EXPECT_EQ(frames[2].Body, "");
    for (const Frame& f : frames) EXPECT_FALSE(f.Malformed);
  }
}

TEST(Framing, HeaderNamesIgnoreCaseOtherHeadersAndLineFeedsAlone) {
  const auto frames = Decode(
      "content-LENGTH:  3 \r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\nabc"
      "\r\n\r\nContent-Length: 2\n\nxy");
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Body, "abc");
  EXPECT_EQ(frames[1].Body, "xy");
}

TEST(Framing, BodyBytesAreCountedNotCharacters) {
  const std::string body = "\"\xD0\x96\xE2\x82\xAC\"";  // two characters, six bytes inside quotes
  const auto frames = Decode(EncodeFrame(body) + EncodeFrame("1"), 1);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Body, body);
  EXPECT_EQ(frames[1].Body, "1");
}

struct BadCase {
  const char* Name;
  std::string Input;
};

TEST(Framing, EachBadHeaderBlockIsRefusedOnceAndTheNextFrameIsRead) {
  const std::vector<BadCase> cases = {
      {"no length", "Content-Type: x\r\n\r\n{}"},
      {"length not a number", "Content-Length: abc\r\n\r\n{}"},
      {"negative length", "Content-Length: -5\r\n\r\n{}"},
      {"length with trailing text", "Content-Length: 12x\r\n\r\n{}"},
      {"length beyond the limit", "Content-Length: 999999999999\r\n\r\n{}"},
      {"line without a colon", "Content-Length 2\r\n\r\n{}"},
      {"raw JSON without a header", "{\"jsonrpc\":\"2.0\"}\r\n"},
      {"overlong header line", std::string(kMaxHeaderLine + 10, 'x')},
      {"empty header name", ": 3\r\n\r\nabc"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (size_t chunk : {0, 3}) {
      const auto frames = Decode(c.Input + EncodeFrame("{\"ok\":1}"), chunk);
      ASSERT_EQ(frames.size(), 2u);
      EXPECT_TRUE(frames[0].Malformed);
      EXPECT_FALSE(frames[0].Error.empty());
      EXPECT_FALSE(frames[1].Malformed);
      EXPECT_EQ(frames[1].Body, "{\"ok\":1}");
    }
  }
}

TEST(Framing, AHeaderRightAfterGarbageWithoutALineBreakIsFound) {
  const auto frames = Decode("garbage!Content-Length: 2\r\n\r\nok", 4);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_TRUE(frames[0].Malformed);
  EXPECT_EQ(frames[1].Body, "ok");
}

TEST(Framing, ACutFrameIsHeldUntilItsRestArrives) {
  FrameDecoder d;
  d.Feed("Content-Length: 5\r\n\r\nab");
  Frame f;
  EXPECT_FALSE(d.Next(f));
  EXPECT_TRUE(d.HasPartial());
  d.Feed("cde");
  ASSERT_TRUE(d.Next(f));
  EXPECT_EQ(f.Body, "abcde");
  EXPECT_FALSE(d.HasPartial());
}

TEST(Framing, EncodedFrameCarriesTheByteLength) {
  EXPECT_EQ(EncodeFrame("\xC3\xA9"), "Content-Length: 2\r\n\r\n\xC3\xA9");
}

}  // namespace
}  // namespace vemlo::lsp
