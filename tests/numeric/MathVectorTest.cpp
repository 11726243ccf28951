#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "hxcadkit/numeric/TVector.h"
#include "tests/numeric/NumericTestUtil.h"

using numtest::Values;
using numtest::Vec;

namespace {

// A packed-or-dense sparse vector of length n with the given values at the given positions.
TSparseMathVector Sparse(TSize n, std::initializer_list<std::pair<TSize, double>> at)
{
  TMathVector v(n, 0.0);
  for (const auto& p : at)
    v.X[p.first] = p.second;
  TSparseMathVector s;
  s.Init(v, 0.0);
  return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Dense vector

TEST(MathVectorDense, SetDimensionKeepsHeadAndFillsTail)
{
  TMathVector v = Vec({1, 2, 3});
  v.SetDimension(5, 2.0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 2, 2}));
  v.SetDimension(2, 9.0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2}));
  for (TSize n : {0, -4}) {
    v.SetDimension(n, 1.0);
    EXPECT_EQ(v.N, 0);
    EXPECT_EQ(v.X, nullptr);
  }
  EXPECT_EQ(TMathVector(-3).X, nullptr);
  EXPECT_EQ(Values(TMathVector(3)), std::vector<double>(3, 0.0)); // new storage reads zero
}

TEST(MathVectorDense, ListAndVectorAssignmentStayInBounds)
{
  TMathVector v(4, 7.0);
  v = {1, 2};
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 7, 7}));
  v = {5, 6, 7, 8, 9, 10};
  EXPECT_EQ(Values(v), (std::vector<double>{5, 6, 7, 8}));
  // Assign copies only from a source at least as long, and says whether it was longer.
  EXPECT_TRUE(v.Assign(Vec({9, 9})));
  EXPECT_EQ(Values(v), (std::vector<double>{5, 6, 7, 8}));
  EXPECT_FALSE(v.Assign(Vec({4, 5, 6, 7, 8})));
  EXPECT_EQ(Values(v), (std::vector<double>{4, 5, 6, 7}));
}

TEST(MathVectorDense, NormsSetZeroAndText)
{
  TMathVector v = Vec({3, -4, 0}), empty(0);
  EXPECT_DOUBLE_EQ(v.Norma(), 5.0);
  EXPECT_DOUBLE_EQ(v.NormaMax(), 4.0);
  EXPECT_EQ(empty * v, 0.0);
  v.SetZero(1);
  v.SetZero(7);
  EXPECT_EQ(Values(v), (std::vector<double>{3, 0, 0}));
  EXPECT_STREQ(Vec({1, -2.5}).toStr().PChar(), "   1.00 .   -2.50 . ");
  EXPECT_STREQ(empty.toStr().PChar(), "");
}

TEST(MathVectorDense, SubVectorDropsFlaggedValues)
{
  TMathVector v = Vec({1, 2, 3, 4}), r(0);
  TArrayOf<bool> del{false, true, false, true};
  v.SubVector(del, r);
  EXPECT_EQ(Values(r), (std::vector<double>{1, 3}));
  // Too few flags: the missing ones keep their values instead of reading past the flags.
  TArrayOf<bool> shortFlags{true};
  v.SubVector(shortFlags, r);
  EXPECT_EQ(Values(r), (std::vector<double>{2, 3, 4}));
  v.SubVector(del, v);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 3}));
}

TEST(MathVectorDense, DeletingThroughBaseFreesDerivedStorage)
{
  std::unique_ptr<TMathVector> p = std::make_unique<TSparseMathVector>();
  TMathVector dense(10, 0.0);
  dense.X[3] = 1.0;
  static_cast<TSparseMathVector&>(*p).Init(dense, 0.0);
  ASSERT_NE(static_cast<TSparseMathVector&>(*p).Positions, nullptr);
  p.reset(); // the sanitizer build reports a leak if Positions survived
}

// ---------------------------------------------------------------------------------------------
// Row spans

TEST(MathVectorRow, ReadsOutsideTheSpanAreZero)
{
  const double data[] = {1.5, 2.5, 3.5};
  TRowSparseMathVector r(10, 3, 5, data);
  EXPECT_EQ(r.SI, 3);
  EXPECT_EQ(r.EI, 6);
  const TMathVector& reader = r;
  for (TSize j : {-1, 2, 6, 10})
    EXPECT_EQ(reader[j], 0.0) << j;
  r(4) = 9.0;
  EXPECT_EQ(reader[4], 9.0);
  EXPECT_EQ(reader[5], 3.5);
  TRowSparseMathVector empty(4, 3, 1);
  EXPECT_EQ(empty.N, 0);
  EXPECT_EQ(static_cast<const TMathVector&>(empty)[2], 0.0);
}

TEST(MathVectorRow, TrimKeepsOutermostNonZeros)
{
  struct Case
  {
    std::vector<double> values;
    TSize si, ei;       // the span given
    bool trimmed;       // whether a first trim cuts anything
    TSize newSi, newEi; // the span after it
  };
  const Case cases[] = {
      {{0, 0, 4, 0, 7, 0}, 0, 5, true, 2, 5},
      {{0, 5, 6, 0}, 3, 6, true, 4, 6},
      // Rows with fewer than two values are left as they are.
      {{0, 0, 3, 0}, 0, 3, false, 0, 4},
      {{1e-31, 0, -1e-30, 0}, 0, 3, false, 0, 4},
  };
  for (const Case& c : cases) {
    TRowSparseMathVector r(10, c.si, c.ei, c.values.data());
    EXPECT_EQ(r.BegEndUpdate(), c.trimmed) << c.values[1];
    EXPECT_EQ(r.SI, c.newSi) << c.values[1];
    EXPECT_EQ(r.EI, c.newEi) << c.values[1];
    for (TSize j = c.si; j <= c.ei; ++j)
      EXPECT_EQ(static_cast<const TMathVector&>(r)[j], c.values[size_t(j - c.si)]);
    // Trimming again finds nothing more to cut.
    EXPECT_FALSE(r.BegEndUpdate());
  }
}

TEST(MathVectorRow, AssignAndDotReadOnlyTheSpanColumns)
{
  TRowSparseMathVector tail(4, 2, 3);
  EXPECT_TRUE(tail.Assign(Vec({1, 2, 3, 4})));
  EXPECT_EQ(Values(tail), (std::vector<double>{3, 4}));
  EXPECT_FALSE(tail.Assign(Vec({1, 2, 3})));
  const double data[] = {2, 3};
  const TRowSparseMathVector r(5, 1, 2, data);
  EXPECT_DOUBLE_EQ(r * Vec({10, 1, 1, 10, 10}), 5.0);
  EXPECT_DOUBLE_EQ(r * Vec({10, 1}), 2.0); // a short dense operand is not overrun
  EXPECT_EQ(r * TMathVector(0), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Packed sparse vectors

TEST(MathVectorSparse, PackingThresholds)
{
  struct Case
  {
    TSize size, nonZero;
    bool packed;
    TSize n;
  };
  // An all-zero vector keeps nothing at all.
  const Case cases[] = {{7, 1, false, 7},   {8, 6, true, 6},     {8, 7, false, 8}, {8, 2, true, 2},
                        {16, 12, true, 12}, {16, 13, false, 16}, {9, 0, false, 0}};
  for (const Case& c : cases) {
    TMathVector v(c.size, 0.0);
    for (TSize i = 0; i < c.nonZero; ++i)
      v.X[(i * 5) % c.size] = i + 1.0;
    TSparseMathVector s;
    s.Init(v, 1.0);
    EXPECT_EQ(s.IsPacked(), c.packed) << c.size << " " << c.nonZero;
    EXPECT_EQ(s.N, c.n) << c.size << " " << c.nonZero;
    TSize cursor = 0;
    for (TSize j = 0; j < c.size; ++j)
      EXPECT_EQ(s.Elem(j, cursor), v.X[j]);
  }
}

TEST(MathVectorSparse, ElemCursorWalksOnceAndSurvivesABadStart)
{
  const TSparseMathVector s = Sparse(12, {{1, 10}, {4, 40}, {9, 90}});
  ASSERT_TRUE(s.IsPacked());
  TSize cursor = 0;
  std::vector<double> seen;
  for (TSize j = 0; j <= 11; ++j)
    seen.push_back(s.Elem(j, cursor));
  EXPECT_EQ(seen, (std::vector<double>{0, 10, 0, 0, 40, 0, 0, 0, 0, 90, 0, 0}));
  EXPECT_EQ(cursor, 3);
  TSize bad = -5;
  EXPECT_EQ(s.Elem(4, bad), 40.0);
}

TEST(MathVectorSparse, AddAndSubtractStayInBounds)
{
  const TSparseMathVector s = Sparse(10, {{1, 1}, {8, 2}});
  TMathVector t(5, 1.0);
  t -= s; // position 8 is past t's end: the walk stops there
  EXPECT_EQ(Values(t), (std::vector<double>{1, 0, 1, 1, 1}));
  t += s;
  EXPECT_EQ(Values(t), (std::vector<double>{1, 1, 1, 1, 1}));

  // Sparse minus sparse needs the same positions; otherwise the left operand is left alone.
  TSparseMathVector a = Sparse(10, {{1, 5}, {3, 7}});
  a -= Sparse(10, {{1, 1}, {3, 2}});
  EXPECT_EQ(a.X[0], 4.0);
  EXPECT_EQ(a.X[1], 5.0);
  a -= Sparse(10, {{2, 1}, {3, 1}});
  EXPECT_EQ(a.X[0], 4.0);
}

TEST(MathVectorSparse, DotProductsMatchDense)
{
  std::mt19937 gen(120);
  std::uniform_real_distribution<double> val(-1, 1);
  std::uniform_int_distribution<int> size(0, 24);
  for (int trial = 0; trial < 300; ++trial) {
    const TSize n = size(gen);
    TMathVector a(n, 0.0), b(n, 0.0);
    const double keepA = (trial % 4) / 4.0, keepB = ((trial / 4) % 4) / 4.0;
    for (TSize i = 0; i < n; ++i) {
      if (val(gen) < 2 * keepA - 1) a.X[i] = val(gen);
      if (val(gen) < 2 * keepB - 1) b.X[i] = val(gen);
    }
    const double naive = a * b;
    TSparseMathVector sa, sb;
    sa.Init(a, 0.0);
    sb.Init(b, 0.0);
    EXPECT_NEAR(sa * sb, naive, 1e-12) << trial;
    EXPECT_NEAR(sb * sa, naive, 1e-12) << trial;
    if (sa.N > 0) {
      EXPECT_NEAR(sa * b, naive, 1e-12) << trial;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Element-wise arithmetic, exchanges and the row's own accessors

TEST(MathVectorMembers, ArithmeticSwapsAndRowSpans)
{
  TMathVector v = Vec({1, 2, 3});
  ((((v += Vec({1, 1})) -= 1.0) *= 4.0) /= 2.0) += 0.5; // a shorter operand counts as zeros
  EXPECT_EQ(Values(v), (std::vector<double>{2.5, 4.5, 4.5}));
  v -= Vec({0.5, 0.5, 0.5, 9});
  EXPECT_EQ(Values(v), (std::vector<double>{2, 4, 4}));
  EXPECT_TRUE(v.Swap(0, 2));
  EXPECT_FALSE(v.Swap(0, 3));
  EXPECT_EQ(Values(v), (std::vector<double>{4, 4, 2}));
  TMathVector w = Vec({7});
  EXPECT_TRUE(v.Swap(w));
  EXPECT_EQ(v.size(), 1);
  EXPECT_EQ(std::vector<double>(w.begin(), w.end()), (std::vector<double>{4, 4, 2}));

  const double data[] = {5, 6};
  TRowSparseMathVector r(10, 3, 4, data), s(6, 0, 0);
  EXPECT_EQ(r.BegNonZero(), 3);
  EXPECT_EQ(r.EndNonZero(), 4);
  EXPECT_EQ(r.Dimension(), 10);
  EXPECT_FALSE(r.Swap(w)); // a row exchanges only with a row
  EXPECT_TRUE(r.Swap(s));
  EXPECT_EQ(s.BegNonZero(), 3);
  EXPECT_EQ(static_cast<const TMathVector&>(s)[4], 6.0);
  r.Init(8, 2, 5, nullptr);
  EXPECT_EQ(r.N, 4);
  EXPECT_EQ(r.EndNonZero(), 5);
  EXPECT_EQ(r.NormaMax(), 0.0);
}
