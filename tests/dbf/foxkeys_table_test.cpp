// The key table generated at build time loads and holds FoxPro's INKEY() codes.
#include <set>

#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo::test {
namespace {

struct KeyCodes {
  const char* Name;
  const char* Alone;
  const char* Shift;
  const char* Ctrl;
  const char* Alt;
};

TEST_F(DbfTest, GeneratedKeyTableHoldsFoxProCodes) {
  TxxDBF t;
  LoadDBF(t, false, platform::ToDosPath(VEMLO_BINARY_DIR "/plugin/FoxKeys.dbf"));
  EXPECT_TRUE(TakeShown().empty());
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.Fields.size(), 5u);
  EXPECT_EQ(t.Fields[0].Len, 15);
  for (int f = 1; f < 5; ++f) EXPECT_EQ(t.Fields[size_t(f)].Len, 5);

  std::map<std::string, int> row;
  int separators = 0;
  for (int r = 0; r < t.RecCount; ++r) {
    std::string name = DBFValueRef(t, 0, r);
    ASSERT_FALSE(name.empty()) << r;
    EXPECT_TRUE(row.emplace(name, r).second) << "duplicate key " << name;
    if (name[0] == '-') {
      ++separators;
      for (int f = 1; f < 5; ++f) EXPECT_EQ(DBFValueRef(t, f, r), "") << name;
      continue;
    }
    for (int f = 1; f < 5; ++f) {
      const std::string& code = DBFValueRef(t, f, r);
      int value = 0;
      EXPECT_TRUE(code.empty() || TryStrToInt(code, value)) << name << " field " << f << ": " << code;
    }
  }
  EXPECT_EQ(separators, 4);
  EXPECT_EQ(DBFValueRef(t, 0, 0)[0], '-');  // the list opens with a group title

  const KeyCodes expected[] = {
      {"F1", "28", "84", "94", "104"},        {"F2", "-1", "85", "95", "105"},
      {"F10", "-9", "93", "103", "113"},      {"F11", "133", "135", "137", "139"},
      {"F12", "134", "136", "138", "140"},    {"UpArrow", "5", "56", "141", "152"},
      {"DnArrow", "24", "50", "145", "160"},  {"LeftArrow", "19", "52", "26", "155"},
      {"RightArrow", "4", "54", "2", "157"},  {"Home", "1", "55", "29", "151"},
      {"End", "6", "49", "23", "159"},        {"PgUp", "18", "57", "31", "153"},
      {"PgDn", "3", "51", "30", "161"},       {"Ins", "22", "48", "146", "162"},
      {"Del", "7", "", "147", "163"},         {"Backspace", "127", "127", "127", "14"},
      {"Tab", "9", "15", "148", "165"},       {"Enter", "13", "13", "10", "166"},
      {"Esc", "27", "27", "27", ""},          {"A", "97", "65", "1", "286"},
      {"Q", "113", "81", "17", "272"},        {"Z", "122", "90", "26", "300"},
  };
  for (const auto& k : expected) {
    SCOPED_TRACE(k.Name);
    auto it = row.find(k.Name);
    ASSERT_NE(it, row.end());
    EXPECT_EQ(DBFValueRef(t, 1, it->second), k.Alone);
    EXPECT_EQ(DBFValueRef(t, 2, it->second), k.Shift);
    EXPECT_EQ(DBFValueRef(t, 3, it->second), k.Ctrl);
    EXPECT_EQ(DBFValueRef(t, 4, it->second), k.Alt);
  }
  // All 26 letters, Ctrl giving 1..26 in alphabet order.
  for (char c = 'A'; c <= 'Z'; ++c) {
    auto it = row.find(std::string(1, c));
    ASSERT_NE(it, row.end()) << c;
    EXPECT_EQ(DBFValueRef(t, 3, it->second), std::to_string(c - 'A' + 1));
  }
}

}  // namespace
}  // namespace vemlo::test
