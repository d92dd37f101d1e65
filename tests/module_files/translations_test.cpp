// The Russian language and help files against the English ones: same messages
// and topics, working links, distinct menu hot keys, the category key form.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/messages.h"
#include "language.h"
#include "ui_help.h"

namespace {

std::string ReadBytes(const std::string& name) {
  std::ifstream in(std::string(VEMLO_SOURCE_DIR) + "/data/module/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Upper case in code page 866, Latin and Cyrillic: menu hot keys ignore case.
unsigned char Upper866(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xA0 && c <= 0xAF) return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xEF) return static_cast<unsigned char>(c - 0x50);
  if (c == 0xF1) return 0xF0;
  return c;
}

// The hot key of a menu text: the character after its "&", 0 when none.
unsigned char HotKey(const std::string& text) {
  size_t amp = text.find('&');
  return amp == std::string::npos || amp + 1 >= text.size() ? 0 : Upper866(static_cast<unsigned char>(text[amp + 1]));
}

size_t SignPosition(const std::string& text) {
  size_t plus = text.find('+'), minus = text.find('-');
  if (plus == std::string::npos) return minus;
  if (minus == std::string::npos) return plus;
  return std::max(plus, minus);
}

const std::string kRussianHeader = ".Language=Russian,Russian (\x90\xE3\xE1\xE1\xAA\xA8\xA9)";

TEST(Translations, RussianLanguageFileMatchesTheEnglishOne) {
  const std::string ruBytes = ReadBytes("vemlo_ru.lng");
  ASSERT_NE(ruBytes.find(kRussianHeader + "\r\n"), std::string::npos) << "header in code page 866";
  const std::vector<std::string> en = vemlo::sim::ParseLanguage(ReadBytes("vemlo_en.lng"));
  const std::vector<std::string> ru = vemlo::sim::ParseLanguage(ruBytes);
  ASSERT_EQ(static_cast<int>(en.size()), vemlo::kMessageCount);
  ASSERT_EQ(ru.size(), en.size());
  EXPECT_EQ(ru[0], "VEM-LO");
  for (size_t i = 0; i < en.size(); ++i) {
    // Empty slots and separators stay where they are; hot keys stay hot keys.
    EXPECT_EQ(ru[i].empty(), en[i].empty()) << "message " << i;
    EXPECT_EQ(ru[i] == "-", en[i] == "-") << "message " << i;
    EXPECT_EQ(HotKey(ru[i]) != 0, HotKey(en[i]) != 0) << "message " << i;
    for (char c : ru[i]) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "message " << i;
  }
  // The category captions: key, sign, caption with no further sign.
  for (size_t i = 68; i <= 77; ++i) {
    SCOPED_TRACE("message " + std::to_string(i));
    ASSERT_GE(ru[i].size(), 3u);
    EXPECT_EQ(ru[i][0], en[i][0]);
    EXPECT_EQ(SignPosition(ru[i]), 1u);
    EXPECT_EQ(ru[i][1], en[i][1]);
    EXPECT_EQ(ru[i].find_first_of("+-", 2), std::string::npos);
  }
}

TEST(Translations, MenuHotKeysAreDistinctInEachMenu) {
  const std::vector<std::string> ru = vemlo::sim::ParseLanguage(ReadBytes("vemlo_ru.lng"));
  ASSERT_EQ(static_cast<int>(ru.size()), vemlo::kMessageCount);
  const std::vector<std::vector<int>> menus = {
      {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15},  // main menu
      {17, 18},                                         // Insert
      {19, 21, 22, 24},                                 // Service
      {25, 26},                                         // reports
      {114, 121},                                       // formatter modes
  };
  for (const std::vector<int>& menu : menus) {
    std::set<unsigned char> keys;
    for (int m : menu) {
      unsigned char key = HotKey(ru[static_cast<size_t>(m)]);
      EXPECT_NE(key, 0) << "message " << m;
      EXPECT_TRUE(keys.insert(key).second) << "message " << m << " repeats a hot key";
    }
  }
}

TEST(Translations, RussianHelpFileHasEveryTopicAndWorkingLinks) {
  const std::string ruBytes = ReadBytes("vemlo_ru.hlf");
  ASSERT_EQ(ruBytes.rfind(kRussianHeader + "\r\n", 0), 0u);
  const std::vector<vemlo::sim::HelpTopic> en = vemlo::sim::ParseHelpFile(ReadBytes("vemlo_en.hlf"));
  const std::vector<vemlo::sim::HelpTopic> ru = vemlo::sim::ParseHelpFile(ruBytes);
  ASSERT_GT(en.size(), 40u);
  ASSERT_EQ(ru.size(), en.size());
  for (size_t i = 0; i < en.size(); ++i) {
    SCOPED_TRACE(en[i].Name);
    EXPECT_EQ(ru[i].Name, en[i].Name);
    EXPECT_FALSE(ru[i].Fixed.empty());
    EXPECT_FALSE(ru[i].Lines.empty());
    for (const vemlo::sim::HelpLine& line : ru[i].Lines)
      for (const vemlo::sim::HelpSpan& span : line) {
        if (span.Type == vemlo::sim::HelpSpan::Link) {
          EXPECT_GE(vemlo::sim::FindHelpTopic(ru, span.Target), 0) << span.Target;
        }
      }
  }
  // The option defaults shown in the help are the same box-drawing bytes.
  for (const char* bytes : {"\"\xDA\xB3\xC3\xC0\xC4\"", "\"\xD6\xBA\xC7\xC7\xD3\xC4\"", "\"<\xCD\""})
    EXPECT_NE(ruBytes.find(bytes), std::string::npos) << bytes;
}

}  // namespace
