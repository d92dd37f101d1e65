// The terminal edge beyond single keys: bracketed pastes, characters that code
// page 866 lacks, and copies offered to the terminal's clipboard.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "editor.h"
#include "terminal_input.h"
#include "terminal_keys.h"
#include "terminal_mode.h"
#include "terminal_screen.h"

namespace vemlo::sim {
namespace {

TEST(BracketedPaste, ThePasteIsOneEventBetweenTheKeysAroundIt) {
  KeyDecoder d("xterm-256color");
  std::vector<INPUT_RECORD> recs = d.Feed("a\x1b[200~m.x = \x1b[A\r\xD0\x96.\x1b[201~b");
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[0].KeyEvent.AsciiChar, 'a');
  EXPECT_EQ(recs[1].EventType, PASTE_EVENT);
  EXPECT_EQ(recs[2].KeyEvent.AsciiChar, 'b');
  // Escape sequences inside a paste are text, not keys.
  EXPECT_EQ(d.TakePaste(), U"m.x = \x1b[A\rЖ.");
  EXPECT_EQ(d.TakePaste(), U"");
}

TEST(BracketedPaste, AMarkerSplitOverReadsAndAPasteThatNeverEnds) {
  KeyDecoder d("xterm-256color");
  EXPECT_TRUE(d.Feed("\x1b[20").empty());
  EXPECT_TRUE(d.Feed("0~one ").empty());
  EXPECT_FALSE(d.Waiting()) << "a paste waits for its end however long it takes";
  EXPECT_TRUE(d.Feed("two\x1b[20").empty());
  std::vector<INPUT_RECORD> recs = d.Feed("1~");
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(d.TakePaste(), U"one two");
  // The terminal went away in the middle of one: what came of it is a paste.
  d.Feed("\x1b[200~half");
  recs = d.Flush();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].EventType, PASTE_EVENT);
  EXPECT_EQ(d.TakePaste(), U"half");
  // And keys decode again afterwards.
  recs = d.Feed("\x1b[23~");
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].KeyEvent.wVirtualKeyCode, VK_F11);
}

TEST(TypedUnicode, ACharacter866LacksCarriesItsUnicodeAndTypesIt) {
  std::vector<INPUT_RECORD> recs = DecodeKeys("\xE2\x82\xAC\xC3\xA9\xD0\x96");
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[0].KeyEvent.UnicodeChar, U'€');
  EXPECT_EQ(recs[0].KeyEvent.AsciiChar, '?') << "the plug-in sees the conversion to 866";
  EXPECT_EQ(TypedChar(recs[0].KeyEvent), U'€');
  EXPECT_EQ(TypedChar(recs[1].KeyEvent), U'é');
  EXPECT_EQ(static_cast<unsigned char>(recs[2].KeyEvent.AsciiChar), 0x86);
  EXPECT_EQ(TypedChar(recs[2].KeyEvent), U'Ж');
  // A typed "?" is a question mark.
  EXPECT_EQ(TypedChar(DecodeKeys("?")[0].KeyEvent), U'?');
}

TEST(TerminalClipboard, CopiesAreOfferedAsOsc52) {
  EXPECT_EQ(ClipboardSequence(""), "\x1b]52;c;\x07");
  EXPECT_EQ(ClipboardSequence("M"), "\x1b]52;c;TQ==\x07");
  EXPECT_EQ(ClipboardSequence("Ma"), "\x1b]52;c;TWE=\x07");
  EXPECT_EQ(ClipboardSequence("Man"), "\x1b]52;c;TWFu\x07");
  EXPECT_EQ(ClipboardSequence("\xD0\x96\n"), "\x1b]52;c;0JYK\x07");
}

TEST(TerminalModes, PasteMarkingAndTheKeypadAreSwitchedOnAndOffAgain) {
  const std::string enter(kTerminalEnter), leave(kTerminalLeave);
  EXPECT_NE(enter.find("\x1b[?2004h"), std::string::npos);
  EXPECT_NE(enter.find("\x1b="), std::string::npos);
  EXPECT_NE(leave.find("\x1b[?2004l"), std::string::npos);
  EXPECT_NE(leave.find("\x1b>"), std::string::npos);
  EXPECT_EQ(leave.rfind("\x1b[?1049l"), leave.size() - 8) << "the alternate screen goes last";
}

TEST(TerminalInputReady, KeysThatArrivedAreReadyWithoutWaiting) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  {
    TerminalInput input(fds[0], "xterm-256color", {});
    EXPECT_FALSE(input.Ready());
    const std::string bytes = "ab\x1b[200~p\x1b[201~";
    ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    EXPECT_TRUE(input.Ready());
    INPUT_RECORD rec;
    ASSERT_TRUE(input.Read(rec));
    EXPECT_EQ(rec.KeyEvent.AsciiChar, 'a');
    ASSERT_TRUE(input.Read(rec));
    ASSERT_TRUE(input.Read(rec));
    EXPECT_EQ(rec.EventType, PASTE_EVENT);
    EXPECT_EQ(input.PastedText(), U"p");
    EXPECT_FALSE(input.Ready());
  }
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace vemlo::sim
