#include <gtest/gtest.h>

#include "script.h"

#include <chrono>
#include <thread>

namespace vemlo::sim {
namespace {

struct K {
  int Vk;
  char Ch;
  unsigned State;
};

K Parse(const std::string& name) {
  auto key = ParseKeyName(name);
  if (!key) return {-1, 0, 0};
  EXPECT_EQ(key->bKeyDown, 1) << name;
  return {key->wVirtualKeyCode, key->AsciiChar, key->dwControlKeyState};
}

void ExpectKey(const std::string& name, int vk, char ch, unsigned state) {
  K k = Parse(name);
  EXPECT_EQ(k.Vk, vk) << name;
  EXPECT_EQ(k.Ch, ch) << name;
  EXPECT_EQ(k.State, state) << name;
}

TEST(ScriptKeys, FunctionKeysWithEveryPrefix) {
  for (int n = 1; n <= 12; ++n) {
    std::string f = "F" + std::to_string(n);
    ExpectKey(f, VK_F1 + n - 1, 0, 0);
    ExpectKey("Shift+" + f, VK_F1 + n - 1, 0, 0x10);
    ExpectKey("Ctrl+" + f, VK_F1 + n - 1, 0, 0x08);
    ExpectKey("Alt+" + f, VK_F1 + n - 1, 0, 0x02);
    ExpectKey("Ctrl+Shift+" + f, VK_F1 + n - 1, 0, 0x18);
    ExpectKey("Ctrl+Alt+" + f, VK_F1 + n - 1, 0, 0x0A);
    ExpectKey("Alt+Shift+" + f, VK_F1 + n - 1, 0, 0x12);
  }
  EXPECT_EQ(Parse("F13").Vk, -1);
  EXPECT_EQ(Parse("F0").Vk, -1);
}

TEST(ScriptKeys, SidesOfCtrlAndAlt) {
  ExpectKey("RCtrl+LCtrl+Space", VK_SPACE, ' ', 12);
  ExpectKey("LCtrl+Space", VK_SPACE, ' ', 8);
  ExpectKey("RCtrl+Space", VK_SPACE, ' ', 4);
  ExpectKey("Ctrl+Space", VK_SPACE, ' ', 8);
  ExpectKey("Ctrl+Shift+Space", VK_SPACE, ' ', 0x18);
  ExpectKey("Ctrl+Alt+Space", VK_SPACE, 0, 0x0A);
  ExpectKey("RCtrl+RAlt+Space", VK_SPACE, 0, 0x05);
  ExpectKey("LAlt+X", 'X', 'x', 2);
  ExpectKey("RAlt+X", 'X', 'x', 1);
  ExpectKey("RCtrl+5", '5', 0, 4);
  ExpectKey("Ctrl+Shift+0", '0', 0, 0x18);
  ExpectKey("Ctrl", VK_CONTROL, 0, 8);
  ExpectKey("Alt", VK_MENU, 0, 2);
  ExpectKey("Shift+Ctrl+Up", VK_UP, 0, 0x18);
}

TEST(ScriptKeys, NamedKeysLettersDigitsAndPeriod) {
  ExpectKey("Enter", VK_RETURN, '\r', 0);
  ExpectKey("Esc", VK_ESCAPE, 0x1B, 0);
  ExpectKey("Up", VK_UP, 0, 0);
  ExpectKey("Down", VK_DOWN, 0, 0);
  ExpectKey("Left", VK_LEFT, 0, 0);
  ExpectKey("Right", VK_RIGHT, 0, 0);
  ExpectKey("Home", VK_HOME, 0, 0);
  ExpectKey("End", VK_END, 0, 0);
  ExpectKey("PgUp", VK_PRIOR, 0, 0);
  ExpectKey("PgDn", VK_NEXT, 0, 0);
  ExpectKey("Ins", VK_INSERT, 0, 0);
  ExpectKey("Del", VK_DELETE, 0, 0);
  ExpectKey("BS", VK_BACK, 8, 0);
  ExpectKey("Tab", VK_TAB, '\t', 0);
  ExpectKey("Space", VK_SPACE, ' ', 0);
  ExpectKey("Gray+", VK_ADD, '+', 0);
  ExpectKey("Gray-", VK_SUBTRACT, '-', 0);
  ExpectKey("Gray*", VK_MULTIPLY, '*', 0);
  ExpectKey("Shift+Gray+", VK_ADD, '+', 0x10);
  ExpectKey("a", 'A', 'a', 0);
  ExpectKey("Y", 'Y', 'y', 0);
  ExpectKey("Shift+Y", 'Y', 'Y', 0x10);
  ExpectKey("Ctrl+A", 'A', 1, 8);
  ExpectKey("Ctrl+Enter", VK_RETURN, '\n', 8);
  ExpectKey("7", '7', '7', 0);
  ExpectKey("Shift+7", '7', '&', 0x10);
  ExpectKey(".", VK_OEM_PERIOD, '.', 0);
  ExpectKey("Shift+.", VK_OEM_PERIOD, '>', 0x10);
  for (const char* bad : {"", "Enterr", "Ctrl+", "Hyper+A", "ab", "Ctrl+Foo", "+", "Gray/"})
    EXPECT_EQ(Parse(bad).Vk, -1) << bad;
}

TEST(ScriptKeys, TypedCharacters) {
  struct Case {
    unsigned char Ch;
    int Vk;
    unsigned State;
  } cases[] = {{'a', 'A', 0},   {'Z', 'Z', 0x10}, {'5', '5', 0},    {'.', 0xBE, 0},
               {' ', 0x20, 0},  {'(', '9', 0x10}, {';', 0xBA, 0},   {':', 0xBA, 0x10},
               {'"', 0xDE, 0x10}, {'_', 0xBD, 0x10}, {'\\', 0xDC, 0}, {0xA0, 0, 0}};
  for (const Case& c : cases) {
    KEY_EVENT_RECORD k = TypedCharEvent(c.Ch);
    EXPECT_EQ(k.bKeyDown, 1);
    EXPECT_EQ(k.wVirtualKeyCode, c.Vk) << c.Ch;
    EXPECT_EQ(static_cast<unsigned char>(k.AsciiChar), c.Ch);
    EXPECT_EQ(k.dwControlKeyState, c.State) << c.Ch;
  }
}

TEST(ScriptParse, StepsDirectivesAndComments) {
  const std::string text =
      "# a comment\n"
      "\n"
      "F11\r\n"
      "type a.B\n"
      "type Привет\n"
      "  goto 3 4\n"
      "select 1 2 5 6\n"
      "select 7 1 3 2 column\n"
      "bookmark 9 10 11\n"
      "dump screen\n"
      "dump text\n"
      "Esc\n";
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript(text, steps, error)) << error;
  ASSERT_EQ(steps.size(), 1u + 3 + 6 + 6 + 1);
  EXPECT_EQ(steps[0].Key.wVirtualKeyCode, VK_F11);
  EXPECT_EQ(steps[0].SourceLine, 3);
  EXPECT_EQ(steps[2].Key.AsciiChar, '.');
  EXPECT_EQ(steps[3].Key.dwControlKeyState, 0x10u);
  EXPECT_EQ(static_cast<unsigned char>(steps[4].Key.AsciiChar), 0x8F);  // П in code page 866
  const ScriptStep& go = steps[10];
  EXPECT_EQ(go.Kind, StepKind::Goto);
  EXPECT_EQ(go.Args[0], 3);
  EXPECT_EQ(go.Args[1], 4);
  EXPECT_EQ(steps[11].Kind, StepKind::Select);
  EXPECT_FALSE(steps[11].Column);
  EXPECT_TRUE(steps[12].Column);
  EXPECT_EQ(steps[12].Args[3], 2);
  EXPECT_EQ(steps[13].Kind, StepKind::Bookmark);
  EXPECT_EQ(steps[13].Args[0], 9);
  EXPECT_EQ(steps[14].Kind, StepKind::DumpScreen);
  EXPECT_EQ(steps[15].Kind, StepKind::DumpText);
  EXPECT_EQ(steps[15].SourceLine, 11);
  // "type " keeps its blanks.
  ASSERT_TRUE(ParseScript("type  x \n", steps, error));
  EXPECT_EQ(steps.size(), 3u);
}

TEST(ScriptParse, BadLinesNameTheirLine) {
  std::vector<ScriptStep> steps;
  std::string error;
  for (const char* bad : {"F1\nNoSuchKey\n", "F1\ngoto 1\n", "F1\ngoto a b\n",
                          "F1\nselect 1 2 3\n", "F1\nselect 1 2 3 4 diagonal\n",
                          "F1\nbookmark 10 1 1\n", "F1\ndump everything\n", "F1\nEnter Esc\n"}) {
    EXPECT_FALSE(ParseScript(bad, steps, error)) << bad;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

TEST(ScriptInputSource, DirectivesRunWhenTheNextKeyIsRead) {
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript("A\ndump text\ngoto 1 1\nB\ndump screen\n", steps, error));
  std::vector<StepKind> ran;
  ScriptInput input(steps, [&](const ScriptStep& s) { ran.push_back(s.Kind); });
  INPUT_RECORD rec;
  ASSERT_TRUE(input.Read(rec));
  EXPECT_EQ(rec.EventType, KEY_EVENT);
  EXPECT_EQ(rec.KeyEvent.wVirtualKeyCode, 'A');
  EXPECT_TRUE(ran.empty());
  ASSERT_TRUE(input.Read(rec));
  EXPECT_EQ(rec.KeyEvent.wVirtualKeyCode, 'B');
  EXPECT_EQ(ran, (std::vector<StepKind>{StepKind::DumpText, StepKind::Goto}));
  EXPECT_FALSE(input.Finished());
  EXPECT_FALSE(input.Read(rec));
  EXPECT_EQ(ran.size(), 3u);
  EXPECT_TRUE(input.Finished());
}

// Each key's time runs from its delivery to the next read of input; the
// directives read before the next key are not part of it.
TEST(ScriptInputSource, KeysAreTimedUntilTheNextRead) {
  using namespace std::chrono_literals;
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript("A\n# slow\ngoto 1 1\nB\npaste x\n", steps, error));
  ScriptInput input(steps, [](const ScriptStep&) { std::this_thread::sleep_for(300ms); });
  input.TimeKeys();
  INPUT_RECORD rec;
  ASSERT_TRUE(input.Read(rec));  // A
  ASSERT_TRUE(input.Read(rec));  // the directive, then B
  std::this_thread::sleep_for(40ms);
  ASSERT_TRUE(input.Read(rec));  // the paste
  EXPECT_FALSE(input.Read(rec));
  const std::vector<KeyTime> times = input.KeyTimes();
  ASSERT_EQ(times.size(), 3u);
  EXPECT_EQ(times[0].SourceLine, 1);
  EXPECT_EQ(times[1].SourceLine, 4);
  EXPECT_EQ(times[2].SourceLine, 5);
  EXPECT_LT(times[0].Ms, 300);  // the directive's sleep is not A's
  EXPECT_GE(times[1].Ms, 40);
  EXPECT_GE(times[0].Ms, 0);
}

// Without TimeKeys nothing is timed; the last key's time ends when asked for.
TEST(ScriptInputSource, KeyTimesOnlyWhenAskedFor) {
  using namespace std::chrono_literals;
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScript("A\nB\n", steps, error));
  INPUT_RECORD rec;
  ScriptInput plain(steps, nullptr);
  ASSERT_TRUE(plain.Read(rec));
  EXPECT_TRUE(plain.KeyTimes().empty());

  ScriptInput timed(steps, nullptr);
  timed.TimeKeys();
  ASSERT_TRUE(timed.Read(rec));
  std::this_thread::sleep_for(30ms);
  const std::vector<KeyTime> times = timed.KeyTimes();
  ASSERT_EQ(times.size(), 1u);
  EXPECT_GE(times[0].Ms, 30);
}

}  // namespace
}  // namespace vemlo::sim
