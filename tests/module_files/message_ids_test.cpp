// The message ids of the code against the English language file: each name
// stands for the text it was given, and the file holds exactly the messages
// the code knows of.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/messages.h"
#include "language.h"

namespace {

struct NamedMessage {
  const char* Name;
  int Number;
  const char* English;
};

const NamedMessage kMessages[] = {
#define VEMLO_MESSAGE(name, number, english) {#name, number, english},
#include "config/message_list.inc"
#undef VEMLO_MESSAGE
};

std::vector<std::string> Language(const std::string& name) {
  std::ifstream in(std::string(VEMLO_SOURCE_DIR) + "/data/module/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return vemlo::sim::ParseLanguage(s.str());
}

TEST(MessageIds, EachIdNamesItsEnglishText) {
  const std::vector<std::string> en = Language("vemlo_en.lng");
  ASSERT_EQ(static_cast<int>(en.size()), vemlo::kMessageCount);
  std::set<int> numbers;
  for (const NamedMessage& m : kMessages) {
    SCOPED_TRACE(m.Name);
    EXPECT_TRUE(numbers.insert(m.Number).second) << "number " << m.Number << " is named twice";
    ASSERT_GE(m.Number, 0);
    ASSERT_LT(m.Number, vemlo::kMessageCount);
    EXPECT_EQ(en[static_cast<size_t>(m.Number)], m.English);
  }
  // The numbers left out are the file's empty slots.
  for (int n = 0; n < vemlo::kMessageCount; ++n) {
    if (numbers.count(n)) continue;
    EXPECT_EQ(en[static_cast<size_t>(n)], "") << "message " << n << " has no id";
  }
  EXPECT_EQ(static_cast<int>(vemlo::MsgId::Title), 0);
  EXPECT_EQ(static_cast<int>(vemlo::MsgId::IndentLineByLine), 121);
}

// The Russian file has a text wherever the English one has.
TEST(MessageIds, EveryNamedMessageIsTranslated) {
  const std::vector<std::string> ru = Language("vemlo_ru.lng");
  ASSERT_EQ(static_cast<int>(ru.size()), vemlo::kMessageCount);
  for (const NamedMessage& m : kMessages)
    EXPECT_FALSE(ru[static_cast<size_t>(m.Number)].empty()) << m.Name;
}

}  // namespace
