// Numeric tables: construction, the row lookups, the key selection, the choice lists and the
// step lists; and that no lookup reads outside the table.
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>
#include <vector>

#include "hxcadkit/core/TTable.h"
#include "tests/AllocationCount.h"

namespace {

// Rows (key, value): (10, 1), (20, 2), (30, 3), key column 0.
const double Keyed[] = {10, 1, 20, 2, 30, 3};

TTable MakeKeyed()
{
  return TTable(6, 2, 0, Keyed);
}

// The same rows with a third column, for the forms that copy several values.
const double Three[] = {10, 1, 100, 20, 2, 200, 30, 3, 300};

int RowIndex(const TTable& t, const double* row)
{
  return row ? int((row - t.cArray) / t.CountColumn) : -1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction

TEST(TableBuild, StaticArraysEndWithAZeroRow)
{
  static const double rows[] = {5, 50, 6, 60, 7, 70, 0, 0};
  TTable t(rows, 2 * sizeof(double), 0, tcLess);
  EXPECT_FALSE(t.Owner);
  EXPECT_EQ(t.CountRow, 3);
  EXPECT_EQ(t.Count, 8); // the terminating row is scanned too

  static const double nan[] = {std::numeric_limits<double>::quiet_NaN(), 1, 0, 0};
  TTable n(nan, 2 * sizeof(double), 0, tcLess);
  EXPECT_EQ(n.CountRow, 1);

  TTable null(nullptr, 16, 0, tcLess);
  EXPECT_EQ(null.CountRow, 0);
  EXPECT_EQ(null.GetParam(0, 1.0), nullptr);
}

TEST(TableBuild, SetWithoutATerminatingRowGivesAnEmptyTable)
{
  TTable t(6, 2, 0, Keyed);
  t.Set(nullptr, 16, 0, tcEqu);
  EXPECT_EQ(t.Count, 0);
  // Counting stops after about 10000 values when no terminating row turns up.
  std::vector<double> ones(20000, 1.0);
  t.Set(ones.data(), 16, 0, tcEqu);
  EXPECT_EQ(t.Count, 0);
  EXPECT_FALSE(t.MakeSelect(1.0));

  TTable r(6, 2, 0, Keyed);
  r.Release();
  EXPECT_EQ(r.Count, 0);
  EXPECT_EQ(r.Row(0), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Row lookups

namespace {
struct TParamCase
{
  double x;
  bool interval;
  int row;
};

void PrintTo(const TParamCase& c, std::ostream* os)
{
  *os << c.x << (c.interval ? " interval" : "");
}

class GetParamRows : public ::testing::TestWithParam<TParamCase>
{
};
} // namespace

TEST_P(GetParamRows, FirstFittingRowElseTheLast)
{
  TTable t = MakeKeyed();
  EXPECT_EQ(RowIndex(t, t.GetParam(0, GetParam().x, GetParam().interval)), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(Cases, GetParamRows,
                         ::testing::Values(TParamCase{15, false, 1}, TParamCase{35, false, 2},
                                           TParamCase{25, true, 1}, TParamCase{15, true, 0},
                                           TParamCase{std::numeric_limits<double>::quiet_NaN(), false, 0},
                                           TParamCase{-std::numeric_limits<double>::infinity(), true, 0}),
                         hxcad::test::CaseNames());

TEST(TableRows, RowByTwoKeys)
{
  const double d[] = {1, 10, 1, 20, 2, 20, 2, 30};
  TTable t(8, 2, 0, d);
  EXPECT_EQ(RowIndex(t, t.Row(0, 2, 1, 15)), 2);
  EXPECT_EQ(RowIndex(t, t.Row(0, 1, 1, 15, true)), 1);
  EXPECT_EQ(RowIndex(t, t.Row(0, 3, 1, 0)), 3); // none: the last row
}

TEST(TableRows, NumberRowCountsTheRowsBelow)
{
  TTable t = MakeKeyed();
  EXPECT_EQ(t.NumberRow(0, 25), 2);
  EXPECT_EQ(t.NumberRow(0, 5), 0);
  EXPECT_EQ(t.NumberRow(0, 99), 3);
  EXPECT_EQ(t.NumberRow(2, 99), 0); // no such column
  EXPECT_EQ(t.NumberRow(-1, 99), 0);
}

TEST(TableRows, RowByIndexStaysInsideTheTable)
{
  TTable t = MakeKeyed();
  EXPECT_EQ(t.Row(1)[0], 20.0);
  EXPECT_EQ(RowIndex(t, t.Row(3)), 2);
  EXPECT_EQ(RowIndex(t, t.Row(-4)), 0);
}

TEST(TableRows, ColumnsOutsideTheRowFindNothing)
{
  TTable t = MakeKeyed();
  EXPECT_EQ(RowIndex(t, t.GetParam(2, 0)), 2);
  EXPECT_EQ(RowIndex(t, t.GetParam(-1, 0)), 2);
  EXPECT_EQ(RowIndex(t, t.Row(5, 1, 0, 0)), 2);
}

TEST(TableRows, TablesWithoutAWholeRowGiveNoRow)
{
  const double one = 7;
  TTable part(1, 2, 0, &one); // one value of a two-column row
  EXPECT_EQ(part.GetParam(0, 1), nullptr);
  EXPECT_EQ(part.Row(0, 1, 0, 1), nullptr);
  EXPECT_EQ(part.Row(0), nullptr);
  EXPECT_EQ(part.NumberRow(0, 9), 0);
  TTable empty(0, 2, 0, nullptr);
  EXPECT_EQ(empty.GetParam(0, 1, true), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Selection

namespace {
struct TSelectCase
{
  TCompare compare;
  double x;
  int select;
};

void PrintTo(const TSelectCase& c, std::ostream* os)
{
  *os << int(c.compare) << " " << c.x;
}

class MakeSelectRows : public ::testing::TestWithParam<TSelectCase>
{
};
} // namespace

TEST_P(MakeSelectRows, SelectsByTheCompareRule)
{
  TTable t = MakeKeyed();
  t.Compare = GetParam().compare;
  EXPECT_TRUE(t.MakeSelect(GetParam().x));
  EXPECT_EQ(t.Select, GetParam().select);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeSelectRows,
    ::testing::Values(TSelectCase{tcLess, 15, 1}, TSelectCase{tcLess, 99, 3}, TSelectCase{tcMoreEqu, 20, 2},
                      TSelectCase{tcMore, 20, 3}, TSelectCase{tcEqu, 20.000001, 2},
                      TSelectCase{tcEqu, 20.000003, 3},
                      // A key just above x is caught by the "less" test first: the previous row.
                      TSelectCase{tcLessEqu, 19.999999, 1}, TSelectCase{tcLessEqu, 20, 2},
                      TSelectCase{tcEqu, std::numeric_limits<double>::quiet_NaN(), 3}),
                         hxcad::test::CaseNames());

TEST(TableSelect, GetCopiesTheValuesAfterTheKey)
{
  TTable t(9, 3, 0, Three);
  double a = -1, b = -1;
  EXPECT_EQ(t.Get(15, a, b), 2);
  EXPECT_EQ(a, 2.0);
  EXPECT_EQ(b, 200.0);
  t.Compare = tcLess;
  EXPECT_EQ(t.Get(15, a, b), 1);
  EXPECT_EQ(a, 1.0);
}

TEST(TableSelect, GetLeavesOutputsPastTheRowUntouched)
{
  TTable t(9, 3, 0, Three);
  double a = -1, b = -1, c = -1, d = -1, e = -1, f = -1;
  EXPECT_EQ(t.Get(30, a, b, c, d, e, f), 3);
  EXPECT_EQ(a, 3.0);
  EXPECT_EQ(b, 300.0);
  EXPECT_EQ(c, -1.0);
  EXPECT_EQ(f, -1.0);
}

TEST(TableSelect, GetRowNumbersRowsFromTwo)
{
  TTable t(9, 3, 0, Three);
  double a = 0, b = 0;
  t.GetRow(2, a, b);
  EXPECT_EQ(t.Select, 1);
  EXPECT_EQ(a, 1.0);
  t.GetRow(3, a, b);
  EXPECT_EQ(a, 2.0);
  t.GetRow(-5, a, b);
  EXPECT_EQ(t.Select, 0);
  EXPECT_EQ(a, 1.0);
}

// Row numbers past the table used to read past the array.
TEST(TableSelect, RowNumbersPastTheTableGiveTheLastRow)
{
  TTable t(9, 3, 0, Three);
  double a = 0, b = 0;
  t.GetRow(1000, a, b);
  EXPECT_EQ(t.Select, 3);
  EXPECT_EQ(a, 3.0);
  EXPECT_EQ(b, 300.0);
  EXPECT_TRUE(t.MakeSelect(1000));
  EXPECT_EQ(t.Select, 3);
}

// A table shorter than one row used to be read as if it had one.
TEST(TableSelect, TablesWithoutAWholeRowSelectNothing)
{
  const double one = 7;
  TTable part(1, 3, 0, &one);
  double a = -1, b = -1;
  EXPECT_FALSE(part.MakeSelect(7.0));
  EXPECT_EQ(part.Select, -1);
  EXPECT_EQ(part.Get(7.0, a, b), -1);
  EXPECT_EQ(a, -1.0);
  part.GetRow(1, a, b);
  EXPECT_EQ(part.Select, -1);
  EXPECT_EQ(a, -1.0);
  EXPECT_FALSE(part.MakeSelect(1));

  TTable none(nullptr, 24, 0, tcEqu);
  EXPECT_FALSE(none.MakeSelect(1.0));
  EXPECT_EQ(none.Get(1.0, a, b), -1);
}

TEST(TableSelect, AKeyColumnOutsideTheRowSelectsTheLastRow)
{
  TTable t(9, 3, 7, Three);
  EXPECT_TRUE(t.MakeSelect(15.0));
  EXPECT_EQ(t.Select, 3);
}

// ---------------------------------------------------------------------------------------------
// Choice lists

TEST(TableLists, ValuesAsTwoDecimalsInSeven)
{
  TTable t = MakeKeyed();
  TAStr list;
  list.Add(TString("old"));
  t.toLD(1, list, TString());
  ASSERT_EQ(list.Count, 3);
  EXPECT_EQ(list[0], TString("   1.00"));
  EXPECT_EQ(list[2], TString("   3.00"));
  t.toLD(0, list, TString("*"));
  ASSERT_EQ(list.Count, 4);
  EXPECT_EQ(list[0], TString("*"));
  EXPECT_EQ(list[1], TString("  10.00"));
  t.toLD(2, list, TString("*")); // a column past the row: the head only
  EXPECT_EQ(list.Count, 1);
  TTable empty(0, 2, 0, nullptr);
  empty.toLD(0, list, TString("*"));
  EXPECT_EQ(list.Count, 0);
}

TEST(TableLists, ValuesOfTheRowsWithAKey)
{
  const double d[] = {16, 10, 16, 12, 31.5, 14};
  TTable t(6, 2, 1, d);
  TAStr list;
  t.toLDfrom(1, 16, 0, list);
  ASSERT_EQ(list.Count, 2);
  EXPECT_EQ(list[0], TString("  10.00"));
  EXPECT_EQ(list[1], TString("  12.00"));
  TTable k = MakeKeyed();
  k.toLDfrom(1, 20, 0, list);
  ASSERT_EQ(list.Count, 1);
  EXPECT_EQ(list[0], TString("   2.00"));
  k.toLDfrom(5, 20, 0, list);
  EXPECT_EQ(list.Count, 0);
  k.toLDfrom(1, 20, 9, list);
  EXPECT_EQ(list.Count, 0);
}

// Both lists used to grow by the caller's step, rebuilding (and constructing anew) every string
// of the list each time: quadratic in the rows of a table read from a file.
TEST(TableLists, LongListsCostABoundedNumberOfAllocationsPerRow)
{
  if (!hxcadtest::TAllocationCount::Available()) GTEST_SKIP() << "allocations are counted under the sanitizer";
  constexpr int rows = 4000;
  std::vector<double> d;
  for (int i = 0; i < rows; ++i)
    d.insert(d.end(), {7.0, double(i)});
  TTable t(2 * rows, 2, 0, d.data());
  TAStr all, keyed; // no storage and step 0: every growth would take exactly one more slot
  std::uint64_t allocations = 0;
  {
    hxcadtest::TAllocationCount count;
    t.toLD(1, all, TString("*"));
    t.toLDfrom(1, 7.0, 0, keyed);
    allocations = count.Count();
  }
  ASSERT_EQ(all.Count, rows + 1);
  ASSERT_EQ(keyed.Count, rows);
  EXPECT_EQ(all[rows], TString("3999.00"));
  EXPECT_EQ(keyed[0], TString("   0.00"));
  EXPECT_LT(allocations, 20u * rows);
}

// ---------------------------------------------------------------------------------------------
// Step lists

TEST(StepLists, FXTakesTheFirstNodeAtOrBelowX)
{
  auto list = [] { return dXV(30, 3, dXV(20, 2, dXV(10, 1))); };
  EXPECT_EQ(TTable::FX(25, list()), 2.0);
  EXPECT_EQ(TTable::FX(30, list()), 3.0);
  EXPECT_EQ(TTable::FX(5, list()), 1.0); // none: the last node
  EXPECT_EQ(TTable::FX(5, nullptr), 0.0);
}

TEST(StepLists, FX2TakesTheFirstNodeAboveX)
{
  auto list = [] { return dXV(10, 1, dXV(20, 2, dXV(30, 3))); };
  EXPECT_EQ(TTable::FX2(15, list()), 2.0);
  EXPECT_EQ(TTable::FX2(10, list()), 2.0);
  EXPECT_EQ(TTable::FX2(99, list()), 3.0);
  EXPECT_EQ(TTable::FX2(0, nullptr), 0.0);
}
