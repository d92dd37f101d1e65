// file: URIs and native paths, both ways.
#include <gtest/gtest.h>

#include "vemlo-lsp/uri.h"

namespace vemlo::lsp {
namespace {

TEST(Uri, FileUrisToPaths) {
  EXPECT_EQ(PathOfUri("file:///home/a%20b/X.PRG"), "/home/a b/X.PRG");
  EXPECT_EQ(PathOfUri("FILE://localhost/tmp/x.prg"), "/tmp/x.prg");
  EXPECT_EQ(PathOfUri("file:///tmp/%C3%A9t%c3%a9"), "/tmp/\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(PathOfUri("file:///tmp/x.prg?q#frag"), "/tmp/x.prg");
}

TEST(Uri, OtherUrisNameNoPath) {
  EXPECT_EQ(PathOfUri("untitled:Untitled-1"), std::nullopt);
  EXPECT_EQ(PathOfUri("file://server/share/x"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:///bad%2"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:///bad%zz"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:///nul%00byte"), std::nullopt);
}

TEST(Uri, PathsToUrisAndBack) {
  for (const std::string p : {"/home/me/proj/MAIN.PRG", "/tmp/a b#c%d?e", "/tmp/\xC3\xA9"}) {
    const std::string uri = UriOfPath(p);
    EXPECT_EQ(uri.find(' '), std::string::npos);
    EXPECT_EQ(PathOfUri(uri), p);
  }
  EXPECT_EQ(UriOfPath("/a b"), "file:///a%20b");
}

}  // namespace
}  // namespace vemlo::lsp
