// Sort order of a loaded table: ascending by unsigned bytes, a prefix first,
// equal values in reverse load order.
#include <algorithm>
#include <random>

#include "dbf_test_env.h"
#include "host/reader_reports.h"

namespace vemlo::test {
namespace {

std::vector<DbfRow> OneColumn(const std::vector<std::string>& values) {
  std::vector<DbfRow> rows;
  for (const auto& v : values) rows.push_back({{v}});
  return rows;
}

// The order as defined: repeatedly pick the smallest unmarked value, the last
// scanned winning among equals.
std::vector<int32_t> ReferenceOrder(const TxxDBF& t, int field) {
  const auto& values = t.Fields[size_t(field)].Values;
  std::vector<bool> marked(values.size());
  std::vector<int32_t> order;
  for (size_t out = 0; out < values.size(); ++out) {
    int best = -1;
    for (size_t i = 0; i < values.size(); ++i) {
      if (marked[i]) continue;
      if (best < 0) {
        best = int(i);
        continue;
      }
      const std::string& a = values[i].Value;
      const std::string& b = values[size_t(best)].Value;
      bool notGreater = std::lexicographical_compare(
          b.begin(), b.end(), a.begin(), a.end(),
          [](char x, char y) { return (unsigned char)x < (unsigned char)y; }) == false;
      if (notGreater) best = int(i);
    }
    marked[size_t(best)] = true;
    order.push_back(best);
  }
  return order;
}

// The same order for large tables: a stable sort by unsigned bytes of the
// records taken in reverse load order.
std::vector<int32_t> StableReferenceOrder(const TxxDBF& t, int field) {
  const auto& values = t.Fields[size_t(field)].Values;
  std::vector<int32_t> order(values.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int32_t(order.size() - 1 - i);
  std::vector<std::string> v;
  for (size_t i = 0; i < values.size(); ++i) v.push_back(values[i].Value);
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    return std::lexicographical_compare(v[size_t(a)].begin(), v[size_t(a)].end(), v[size_t(b)].begin(),
                                        v[size_t(b)].end(), [](char x, char y) {
                                          return (unsigned char)x < (unsigned char)y;
                                        });
  });
  return order;
}

TEST_F(DbfTest, SortOrdersByBytesWithTiesReversed) {
  TxxDBF t;
  LoadDBF(t, false, Table("bab.dbf", {{"V", 'C', 4}}, OneColumn({"B", "A", "B"})));
  ASSERT_EQ(t.State, dsLoaded);
  SortDBF(t, 0);
  EXPECT_EQ(t.Order, (std::vector<int32_t>{1, 2, 0}));

  // Unsigned bytes (cp866 letters after ASCII), a prefix before its extensions,
  // an empty value first.
  TxxDBF u;
  LoadDBF(u, false, Table("bytes.dbf", {{"V", 'C', 4}},
                          OneColumn({"\x80\xA0", "ABC", "AB", "", "z", "AB"})));
  ASSERT_EQ(u.State, dsLoaded);
  SortDBF(u, 0);
  EXPECT_EQ(u.Order, (std::vector<int32_t>{3, 5, 2, 1, 4, 0}));

  // Invalid field numbers leave the order alone.
  SortDBF(u, -1);
  SortDBF(u, 1);
  EXPECT_EQ(u.Order, (std::vector<int32_t>{3, 5, 2, 1, 4, 0}));

  // An empty table sorts to an empty order.
  TxxDBF e;
  LoadDBF(e, false, Table("empty.dbf", {{"V", 'C', 4}}, {}));
  SortDBF(e, 0);
  EXPECT_TRUE(e.Order.empty());
}

TEST_F(DbfTest, SortAgreesWithTheSelectionDefinition) {
  std::mt19937 rng(12345);
  std::vector<std::string> values;
  const std::string alphabet("ab\x80\xE0 ", 5);
  for (int i = 0; i < 700; ++i) {
    std::string v;
    for (int k = int(rng() % 4); k > 0; --k) v += alphabet[rng() % alphabet.size()];
    values.push_back(v);
  }
  TxxDBF t;
  LoadDBF(t, false, Table("random.dbf", {{"V", 'C', 3}, {"W", 'C', 1}}, OneColumn(values)));
  ASSERT_EQ(t.State, dsLoaded);
  for (int field : {0, 1}) {
    SortDBF(t, field);
    EXPECT_EQ(t.Order, ReferenceOrder(t, field)) << field;
  }
}

// Values longer than the eight bytes the sort looks at first: many share them,
// many are equal, some differ only after them or only in length.
TEST_F(DbfTest, SortAgreesWithTheSelectionDefinitionBeyondEightBytes) {
  std::mt19937 rng(99);
  const std::string alphabet("ab\xE0 ~", 5);
  std::vector<std::string> values;
  for (int i = 0; i < 1500; ++i) {
    std::string v = rng() % 2 ? "PREFIX__" : rng() % 2 ? "PREFIX_" : "";
    for (int k = int(rng() % 7); k > 0; --k) v += alphabet[rng() % alphabet.size()];
    values.push_back(v);
  }
  TxxDBF t;
  LoadDBF(t, false, Table("long.dbf", {{"V", 'C', 14}}, OneColumn(values)));
  ASSERT_EQ(t.State, dsLoaded);
  SortDBF(t, 0);
  EXPECT_EQ(t.Order, ReferenceOrder(t, 0));
  EXPECT_EQ(t.Order, StableReferenceOrder(t, 0));
}

// Tables large enough to be sorted by counting, at the first eight bytes and
// again among the values that share them (the reference that is checked
// against the selection definition above).
TEST_F(DbfTest, LargeSortsAgreeWithTheSelectionDefinition) {
  std::mt19937 rng(7);
  const std::string alphabet("AB\xE0 z", 5);
  std::vector<std::string> values;
  for (int i = 0; i < 9000; ++i) {
    std::string v = i % 3 ? "SAME_START_" : "";
    for (int k = int(rng() % 9); k > 0; --k) v += alphabet[rng() % alphabet.size()];
    values.push_back(v);
  }
  TxxDBF t;
  LoadDBF(t, false, Table("large.dbf", {{"V", 'C', 19}, {"N", 'N', 4}}, OneColumn(values)));
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.RecCount, 9000);
  SortDBF(t, 0);
  EXPECT_EQ(t.Order, StableReferenceOrder(t, 0));
  SortDBF(t, 1);  // every value empty: reverse load order
  ASSERT_EQ(t.Order.size(), 9000u);
  EXPECT_EQ(t.Order.front(), 8999);
  EXPECT_EQ(t.Order.back(), 0);
  EXPECT_TRUE(std::is_sorted(t.Order.rbegin(), t.Order.rend()));
}

// A table large enough that its first split takes two bytes at once, with many
// equal values, values that agree in their first sixteen bytes and more, and
// values that are prefixes of others.
TEST_F(DbfTest, VeryLargeSortsAgreeWithAStableSort) {
  std::mt19937 rng(2024);
  const std::string alphabet("AB\xE0z ", 5);
  const char* const starts[] = {"", "SAME", "SAME_START_LONG_", "SAME_START_LONG_PART", "\xE0\xE0"};
  std::vector<std::string> values;
  for (int i = 0; i < 300000; ++i) {
    std::string v = starts[rng() % 5];
    for (int k = int(rng() % 6); k > 0; --k) v += alphabet[rng() % alphabet.size()];
    values.push_back(v.substr(0, 24));
  }
  TxxDBF t;
  LoadDBF(t, false, Table("huge.dbf", {{"V", 'C', 24}}, OneColumn(values)));
  ASSERT_EQ(t.State, dsLoaded);
  ASSERT_EQ(t.RecCount, 300000);
  SortDBF(t, 0);
  EXPECT_EQ(t.Order, StableReferenceOrder(t, 0));
}

// A column built in memory may hold bytes a file's record cannot, such as a
// zero byte: "A" still comes before "A" followed by a zero byte.
TEST_F(DbfTest, SortOfValuesHeldInMemory) {
  TxxDBF t;
  t.State = dsLoaded;
  t.Fields.resize(1);
  for (const std::string& v : {std::string("A\0", 2), std::string("A"), std::string("A\0\0", 3),
                               std::string("B"), std::string("A")})
    t.Fields[0].Values.push_back({v});
  t.RecCount = 5;
  SortDBF(t, 0);
  EXPECT_EQ(t.Order, (std::vector<int32_t>{4, 1, 0, 2, 3}));
  EXPECT_EQ(t.Order, ReferenceOrder(t, 0));
}

}  // namespace
}  // namespace vemlo::test
