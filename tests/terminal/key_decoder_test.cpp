// Terminal bytes to the host's key events, for the keys the plug-in and the
// editor use, in every form a terminal sends them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script.h"
#include "terminal_keys.h"

namespace vemlo::sim {
namespace {

using namespace std::string_literals;

struct Key {
  int Vk;
  unsigned char Ch;
  unsigned State;
  bool operator==(const Key&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Key& k) {
  return os << "{vk " << std::hex << k.Vk << " ch " << int(k.Ch) << " state " << k.State << std::dec
            << "}";
}

std::vector<Key> Keys(const std::vector<INPUT_RECORD>& recs) {
  std::vector<Key> out;
  for (const INPUT_RECORD& r : recs) {
    EXPECT_EQ(r.EventType, KEY_EVENT);
    EXPECT_EQ(r.KeyEvent.bKeyDown, 1);
    out.push_back({r.KeyEvent.wVirtualKeyCode, static_cast<unsigned char>(r.KeyEvent.AsciiChar),
                   r.KeyEvent.dwControlKeyState});
  }
  return out;
}

std::vector<Key> Decode(const std::string& bytes) { return Keys(DecodeKeys(bytes)); }

// The event the script runner makes for a key name.
Key Named(const std::string& name) {
  auto k = ParseKeyName(name);
  EXPECT_TRUE(k.has_value()) << name;
  return {k->wVirtualKeyCode, static_cast<unsigned char>(k->AsciiChar), k->dwControlKeyState};
}

TEST(KeyDecoder, PlugInHotKeysInEveryEncoding) {
  struct Case {
    std::string Bytes;
    const char* Name;
  };
  const Case cases[] = {
      // Ctrl+Space: the NUL byte, modifyOtherKeys, CSI u.
      {"\x00"s, "Ctrl+Space"},
      {"\x1b[27;5;32~", "Ctrl+Space"},
      {"\x1b[32;5u", "Ctrl+Space"},
      // Ctrl+Shift+Space: modifyOtherKeys, CSI u, and tmux's Ctrl+Shift+@.
      {"\x1b[27;6;32~", "Ctrl+Shift+Space"},
      {"\x1b[32;6u", "Ctrl+Shift+Space"},
      {"\x1b[64;6u", "Ctrl+Shift+Space"},
      // Ctrl+Alt+Space: modifyOtherKeys, CSI u, ESC before NUL.
      {"\x1b[27;7;32~", "Ctrl+Alt+Space"},
      {"\x1b[32;7u", "Ctrl+Alt+Space"},
      {"\x1b\x00"s, "Ctrl+Alt+Space"},
      // Ctrl+Shift+Up/Down.
      {"\x1b[1;6A", "Ctrl+Shift+Up"},
      {"\x1b[1;6B", "Ctrl+Shift+Down"},
      // Shift+F1: CSI 1;2P (xterm's kf13) and the tilde form.
      {"\x1b[1;2P", "Shift+F1"},
      {"\x1b[11;2~", "Shift+F1"},
      // Alt+Shift+F9 opens the configuration.
      {"\x1b[20;4~", "Alt+Shift+F9"},
      // Alt+letter: ESC prefix, CSI u, modifyOtherKeys; an upper-case letter adds Shift.
      {"\x1bx", "Alt+X"},
      {"\x1b[120;3u", "Alt+X"},
      {"\x1b[27;3;120~", "Alt+X"},
      {"\x1bX", "Alt+Shift+X"},
      {"\x1b[97;4u", "Alt+Shift+A"},
      // Ctrl+letter: the C0 byte and modifyOtherKeys.
      {"\x01", "Ctrl+A"},
      {"\x1b[27;5;97~", "Ctrl+A"},
      {"\x1b[27;5;49~", "Ctrl+1"},
      // Ctrl+Shift+digit (bookmarks) as modifyOtherKeys reports it.
      {"\x1b[27;6;51~", "Ctrl+Shift+3"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.Bytes), std::vector<Key>{Named(c.Name)}) << c.Name;
}

TEST(KeyDecoder, EditorKeysAndFunctionKeys) {
  struct Case {
    const char* Bytes;
    const char* Name;
  };
  const Case cases[] = {
      {"\r", "Enter"},       {"\t", "Tab"},          {"\x7f", "BS"},       {"\x1b[Z", "Shift+Tab"},
      {"\x1b[A", "Up"},      {"\x1bOB", "Down"},     {"\x1b[D", "Left"},   {"\x1b[1;2C", "Shift+Right"},
      {"\x1b[H", "Home"},    {"\x1b[F", "End"},      {"\x1b[1~", "Home"},  {"\x1b[4~", "End"},
      {"\x1b[5~", "PgUp"},   {"\x1b[6;5~", "Ctrl+PgDn"}, {"\x1b[2~", "Ins"}, {"\x1b[3~", "Del"},
      {"\x1bOP", "F1"},      {"\x1b[12~", "F2"},     {"\x1b[21~", "F10"},  {"\x1b[23~", "F11"},
      {"\x1b[24;5~", "Ctrl+F12"}, {"\x1b[1;4D", "Alt+Shift+Left"}, {"\x1b[13;5u", "Ctrl+Enter"},
      {"\x1b[27u", "Esc"},   {"\x1bOk", "Gray+"},    {"\x1bOm", "Gray-"},  {"\x1bOj", "Gray*"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.Bytes), std::vector<Key>{Named(c.Name)}) << c.Name;
}

TEST(KeyDecoder, TypedTextBecomesCodePage866Characters) {
  // "Дом ╬" in UTF-8: Cyrillic and a box character each become one OEM byte.
  std::vector<Key> got = Decode("a\xd0\x94\xd0\xbe\xd0\xbc \xe2\x95\xac.Z");
  std::vector<Key> want;
  for (unsigned char c : std::string("a\x84\xae\xac \xce.Z")) {
    KEY_EVENT_RECORD k = TypedCharEvent(c);
    want.push_back({k.wVirtualKeyCode, static_cast<unsigned char>(k.AsciiChar), k.dwControlKeyState});
  }
  EXPECT_EQ(got, want);
  // Printable ASCII arrives exactly as the script's "type" makes it.
  EXPECT_EQ(Decode("A"), (std::vector<Key>{{'A', 'A', SHIFT_PRESSED}}));
  EXPECT_EQ(Decode("."), (std::vector<Key>{{0xBE, '.', 0}}));
  EXPECT_EQ(Decode(" "), std::vector<Key>{Named("Space")});
  // A character the code page lacks is typed as '?', as the conversion gives it.
  EXPECT_EQ(Decode("\xe2\x82\xac"), Decode("?"));
}

TEST(KeyDecoder, EscapeAloneWaitsThenIsEsc) {
  KeyDecoder d("xterm-256color");
  EXPECT_TRUE(d.Feed("\x1b").empty());
  EXPECT_TRUE(d.Waiting());
  EXPECT_EQ(Keys(d.Flush()), std::vector<Key>{Named("Esc")});
  EXPECT_FALSE(d.Waiting());
  // A sequence split over two reads is still one key.
  EXPECT_TRUE(d.Feed("\x1b[1;").empty());
  EXPECT_TRUE(d.Waiting());
  EXPECT_EQ(Keys(d.Feed("6A")), std::vector<Key>{Named("Ctrl+Shift+Up")});
  // So is a UTF-8 character split in the middle.
  EXPECT_TRUE(d.Feed("\xd0").empty());
  EXPECT_EQ(Keys(d.Feed("\x94")).size(), 1u);
  // An unfinished CSI that times out is Alt+[ followed by what came after it.
  EXPECT_TRUE(d.Feed("\x1b[").empty());
  std::vector<Key> forced = Keys(d.Flush());
  ASSERT_EQ(forced.size(), 1u);
  EXPECT_EQ(forced[0].Vk, 0xDB);
  EXPECT_EQ(forced[0].State & LEFT_ALT_PRESSED, unsigned{LEFT_ALT_PRESSED});
  EXPECT_FALSE(d.Waiting());
}

TEST(KeyDecoder, SeveralKeysInOneReadKeepTheirOrder) {
  std::vector<Key> want = {Decode("a")[0], Named("Ctrl+Space"), Named("Up"), Named("F11"),
                           Named("Alt+X"), Named("Esc")};
  EXPECT_EQ(Decode("a\x00\x1b[A\x1b[23~\x1bx\x1b"s), want);
}

TEST(KeyDecoder, ReportsAndJunkGiveNoKeysAndNoHang) {
  // Focus and mouse reports nobody asked for, an unknown CSI, and a sequence
  // longer than any buffer: skipped or taken apart, never a hang.
  EXPECT_TRUE(Decode("\x1b[I\x1b[O").empty());
  EXPECT_TRUE(Decode("\x1b[99;99;99z").empty());
  std::string junk = "\x1b[";
  for (int i = 0; i < 2000; ++i) junk += "1;";
  // The over-long sequence is dropped whole, and the keys around it stay.
  EXPECT_EQ(Decode("a" + junk + "Ab"), (std::vector<Key>{Decode("a")[0], Decode("b")[0]}));
  // Whatever came before, the decoder still reads the next key right.
  KeyDecoder d("xterm-256color");
  d.Feed(junk);
  d.Flush();
  EXPECT_EQ(Keys(d.Feed("\x1b[23~")), std::vector<Key>{Named("F11")});
}

TEST(KeyDecoder, UnknownTerminalStillDecodesXtermSequences) {
  EXPECT_EQ(Keys(DecodeKeys("\x1b[1;6A\x1b[27;5;32~", "no-such-terminal")),
            (std::vector<Key>{Named("Ctrl+Shift+Up"), Named("Ctrl+Space")}));
}

}  // namespace
}  // namespace vemlo::sim
