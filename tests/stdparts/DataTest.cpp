// The shipped standard-parts file against what its readers need: each table's ranked columns are
// exactly the keys its part class searches by, in order; rows sorted by those keys, no two alike;
// every size a reader takes positive.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StdPartsSupport.h"
#include "tests/TestNames.h"

namespace {

struct TNeeds
{
  int Table;
  std::vector<int> Keys;  // 1-based columns, in the order the class passes them
  std::vector<int> Sizes; // 1-based columns a reader or builder takes as sizes
  int Columns;            // columns a reader or builder reads
  friend void PrintTo(const TNeeds& n, std::ostream* os) { *os << "table " << n.Table; }
};

const TNeeds Shipped[] = {
    {26, {1, 8}, {1, 2, 3, 4, 5, 6, 7, 8}, 8},
    {31, {1, 2}, {1, 2, 3}, 3},
    {33, {1, 2}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12},
    {39, {5, 7}, {3, 5, 7, 8, 9, 10}, 10},
    // Guide parts
    {2, {2, 7}, {1, 2, 3, 4, 5, 6, 7}, 7},
    {3, {5, 6}, {1, 3, 4, 5, 6}, 6},
    {4, {2, 6}, {1, 2, 3, 4, 5, 6}, 6},
    {5, {2, 7, 8}, {1, 2, 3, 4, 6, 7, 8}, 8},
};

class ShippedTable : public ::testing::TestWithParam<TNeeds>
{
protected:
  void SetUp() override { stdtest::LoadShipped(); }
};

TEST_P(ShippedTable, RanksAreTheKeysRowsSortedSizesPositive)
{
  const TNeeds& n = GetParam();
  const TDTable* t = ABaseDetail.GetTable(n.Table);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->Params, n.Columns);
  ASSERT_GE(t->Count, 2);
  EXPECT_NE(t->makeID, 0);

  std::vector<std::pair<int, int>> ranked; // rank, column
  for (int j = 0; j < t->Params; ++j) {
    const int code = int(t->pBase[j]);
    EXPECT_EQ(double(code), t->pBase[j]) << "column " << j + 1;
    if (code / 10 % 10) ranked.emplace_back(code / 10 % 10, j + 1);
  }
  std::sort(ranked.begin(), ranked.end());
  std::vector<int> columns, ranks;
  for (auto [k, j] : ranked) {
    ranks.push_back(k);
    columns.push_back(j);
  }
  EXPECT_EQ(columns, n.Keys);
  for (std::size_t k = 0; k < ranks.size(); ++k)
    EXPECT_EQ(ranks[k], int(k) + 1);

  std::vector<std::vector<double>> keys;
  for (int row = 1; row < t->Count; ++row) {
    std::vector<double> key;
    for (int j : n.Keys)
      key.push_back(ABaseDetail.ParStDet(n.Table, row, j));
    keys.push_back(key);
    for (int j : n.Sizes)
      EXPECT_GT(ABaseDetail.ParStDet(n.Table, row, j), 0.0) << "row " << row << " column " << j;
  }
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

INSTANTIATE_TEST_SUITE_P(StdParts, ShippedTable, ::testing::ValuesIn(Shipped), hxcad::test::CaseNames());

// Values checked against the standards' tables: the pins' end chamfers (GOST 3128-70) and the shortest
// pins of d 2 and 2.5; the cap screws' largest transition diameter da (GOST 11738-84).
TEST(ShippedValues, PinChamfersAndLengthsAndCapScrewTransitionsFollowTheStandards)
{
  stdtest::LoadShipped();
  const std::pair<double, double> chamfers[] = {{2, 0.35}, {2.5, 0.4}, {3, 0.5},  {4, 0.63}, {5, 0.8}, {6, 1.2},
                                                {8, 1.6},  {10, 2.0},  {12, 2.5}, {16, 3.0}, {20, 3.5}};
  // Every row's column `value` is the standard's for the row's diameter.
  auto follows = [](int table, int value, const auto& standard) {
    for (int row = 1; row < ABaseDetail.SocketCount(table); ++row) {
      const double d = ABaseDetail.ParStDet(table, row, 1);
      const auto* v = std::find_if(std::begin(standard), std::end(standard), [d](auto& p) { return p.first == d; });
      ASSERT_NE(v, std::end(standard)) << "table " << table << " d " << d;
      EXPECT_EQ(ABaseDetail.ParStDet(table, row, value), v->second) << "table " << table << " d " << d;
    }
  };
  follows(31, 3, chamfers);
  auto shortest = [](double d) {
    for (int row = 1; row < ABaseDetail.SocketCount(31); ++row)
      if (ABaseDetail.ParStDet(31, row, 1) == d) return ABaseDetail.ParStDet(31, row, 2);
    return 0.0;
  };
  EXPECT_EQ(shortest(2), 4.0);
  EXPECT_EQ(shortest(2.5), 5.0);
  const std::pair<double, double> da[] = {{3, 3.6}, {4, 4.7},   {5, 5.7},   {6, 6.8},   {8, 9.2},
                                          {10, 11.2}, {12, 13.7}, {16, 17.7}, {20, 22.4}, {24, 26.4}};
  follows(33, 9, da);
}

} // namespace
