#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "hxcadkit/numeric/MathVector.h"

namespace {

TMathVector Vec(std::initializer_list<double> l)
{
  TMathVector v(TSize(l.size()), 0.0);
  v = l;
  return v;
}

std::vector<double> Values(const TMathVector& v)
{
  return std::vector<double>(v.X, v.X + v.N);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Dense vector: size, assignment, storage

TEST(MathVectorDense, NewStorageReadsZero)
{
  TMathVector v(4);
  EXPECT_EQ(Values(v), std::vector<double>(4, 0.0));
  TMathVector none(-3);
  EXPECT_EQ(none.N, 0);
  EXPECT_EQ(none.X, nullptr);
}

TEST(MathVectorDense, SetDimensionKeepsHeadAndFillsTail)
{
  TMathVector v = Vec({1, 2, 3});
  v.SetDimension(5, 2.0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 2, 2}));
  v.SetDimension(2, 9.0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2}));
  const double* before = v.X;
  v.SetDimension(2, 9.0);
  EXPECT_EQ(v.X, before);
  v.SetDimension(0, 1.0);
  EXPECT_EQ(v.N, 0);
  EXPECT_EQ(v.X, nullptr);
  v.SetDimension(-4, 1.0);
  EXPECT_EQ(v.N, 0);
}

TEST(MathVectorDense, ListAssignmentFillsFrontOnly)
{
  TMathVector v(4, 7.0);
  v = {1, 2};
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 7, 7}));
  v = {5, 6, 7, 8, 9, 10};
  EXPECT_EQ(Values(v), (std::vector<double>{5, 6, 7, 8}));
  TMathVector empty(0);
  empty = {1, 2};
  EXPECT_EQ(empty.N, 0);
}

TEST(MathVectorDense, AssignmentResizesAndCopiesDeep)
{
  TMathVector a = Vec({1, 2, 3});
  TMathVector b(1, 4.0);
  b = a;
  a.X[0] = 100;
  EXPECT_EQ(Values(b), (std::vector<double>{1, 2, 3}));
  b = b;
  EXPECT_EQ(Values(b), (std::vector<double>{1, 2, 3}));
}

TEST(MathVectorDense, AssignCopiesOnlyFromLongEnoughSource)
{
  TMathVector target = Vec({1, 2, 3});
  EXPECT_TRUE(target.Assign(Vec({9, 9})));
  EXPECT_EQ(Values(target), (std::vector<double>{1, 2, 3}));
  EXPECT_FALSE(target.Assign(Vec({4, 5, 6, 7})));
  EXPECT_EQ(Values(target), (std::vector<double>{4, 5, 6}));
}

TEST(MathVectorDense, NormsDotAndSetZero)
{
  TMathVector v = Vec({3, -4, 0});
  EXPECT_DOUBLE_EQ(v.SqrNorma(), 25.0);
  EXPECT_DOUBLE_EQ(v.Norma(), 5.0);
  EXPECT_DOUBLE_EQ(v.NormaMax(), 4.0);
  EXPECT_DOUBLE_EQ(v * Vec({1, 1, 1}), -1.0);
  TMathVector empty(0);
  EXPECT_EQ(empty.Norma(), 0.0);
  EXPECT_EQ(empty.NormaMax(), 0.0);
  EXPECT_EQ(empty * v, 0.0);
  v.SetZero(1);
  EXPECT_EQ(Values(v), (std::vector<double>{3, 0, 0}));
  v.SetZero(7);
  EXPECT_EQ(Values(v), (std::vector<double>{3, 0, 0}));
}

TEST(MathVectorDense, TextHasSevenWideTwoDecimalFields)
{
  EXPECT_STREQ(Vec({1, -2.5}).toStr().PChar(), "   1.00 .   -2.50 . ");
  EXPECT_STREQ(TMathVector(0).toStr().PChar(), "");
}

TEST(MathVectorDense, SubVectorDropsFlaggedValues)
{
  TMathVector v = Vec({1, 2, 3, 4});
  TArrayOf<bool> del{false, true, false, true};
  TMathVector r(0);
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

TEST(MathVectorRow, SpanAndReads)
{
  const double data[] = {1.5, 2.5, 3.5};
  TRowSparseMathVector r(10, 3, 5, data);
  EXPECT_EQ(r.SI, 3);
  EXPECT_EQ(r.EI, 6);
  EXPECT_EQ(r.N, 3);
  EXPECT_EQ(r.D, 10);
  const TMathVector& reader = r;
  EXPECT_EQ(reader[2], 0.0);
  EXPECT_EQ(reader[6], 0.0);
  EXPECT_EQ(reader[-1], 0.0);
  EXPECT_EQ(reader[5], 3.5);
  r(4) = 9.0;
  EXPECT_EQ(reader[4], 9.0);
}

TEST(MathVectorRow, EmptySpanIsSafe)
{
  TRowSparseMathVector r(4, 3, 1);
  EXPECT_EQ(r.N, 0);
  EXPECT_EQ(static_cast<const TMathVector&>(r)[2], 0.0);
  EXPECT_FALSE(r.BegEndUpdate());
}

TEST(MathVectorRow, CopyToDenseTakesLogicalColumns)
{
  const double data[] = {7, 8};
  TRowSparseMathVector r(6, 1, 2, data);
  TMathVector v(r);
  EXPECT_EQ(Values(v), (std::vector<double>{0, 7}));
  TRowSparseMathVector c(r);
  EXPECT_EQ(c.SI, 1);
  EXPECT_EQ(c.EI, 3);
  EXPECT_EQ(Values(c), (std::vector<double>{7, 8}));
  TRowSparseMathVector d(3, 0, 0);
  d = r;
  EXPECT_EQ(d.SI, 1);
  EXPECT_EQ(d.EI, 3);
  EXPECT_EQ(d.D, 6);
  EXPECT_EQ(Values(d), (std::vector<double>{7, 8}));
}

TEST(MathVectorRow, TrimKeepsOutermostNonZeros)
{
  const double data[] = {0, 0, 4, 0, 7, 0};
  TRowSparseMathVector r(6, 0, 5, data);
  EXPECT_TRUE(r.BegEndUpdate());
  EXPECT_EQ(r.SI, 2);
  EXPECT_EQ(r.EI, 5);
  EXPECT_EQ(r.N, 3);
  EXPECT_EQ(Values(r), (std::vector<double>{4, 0, 7}));
  // Trimming again finds nothing more to cut.
  EXPECT_FALSE(r.BegEndUpdate());
}

TEST(MathVectorRow, TrimOffsetSpanKeepsColumns)
{
  const double data[] = {0, 5, 6, 0};
  TRowSparseMathVector r(10, 3, 6, data);
  EXPECT_TRUE(r.BegEndUpdate());
  EXPECT_EQ(r.SI, 4);
  EXPECT_EQ(r.EI, 6);
  EXPECT_EQ(static_cast<const TMathVector&>(r)[4], 5.0);
  EXPECT_EQ(static_cast<const TMathVector&>(r)[5], 6.0);
}

TEST(MathVectorRow, TrimLeavesRowsWithFewerThanTwoValues)
{
  struct Case
  {
    std::vector<double> values;
  };
  const Case cases[] = {{{0, 0, 3, 0}}, {{0, 0, 0, 0}}, {{1e-31, 0, -1e-30, 0}}, {{1, 0, 0, 2}}};
  for (const Case& c : cases) {
    TRowSparseMathVector r(4, 0, 3, c.values.data());
    EXPECT_FALSE(r.BegEndUpdate());
    EXPECT_EQ(r.SI, 0);
    EXPECT_EQ(r.EI, 4);
    EXPECT_EQ(Values(r), c.values);
  }
}

TEST(MathVectorRow, AssignReadsTheSpanColumns)
{
  TRowSparseMathVector full(3, 0, 2);
  EXPECT_TRUE(full.Assign(Vec({1, 2, 3})));
  EXPECT_EQ(Values(full), (std::vector<double>{1, 2, 3}));
  EXPECT_FALSE(full.Assign(Vec({1, 2})));
  TRowSparseMathVector tail(4, 2, 3);
  EXPECT_TRUE(tail.Assign(Vec({1, 2, 3, 4})));
  EXPECT_EQ(Values(tail), (std::vector<double>{3, 4}));
  tail.SetZero();
  EXPECT_EQ(Values(tail), (std::vector<double>{0, 0}));
}

TEST(MathVectorRow, DotWithDenseUsesSpanOnly)
{
  const double data[] = {2, 3};
  TRowSparseMathVector r(5, 1, 2, data);
  EXPECT_DOUBLE_EQ(r * Vec({10, 1, 1, 10, 10}), 5.0);
  EXPECT_DOUBLE_EQ(r * Vec({10, 1}), 2.0);
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
  const Case cases[] = {{7, 1, false, 7}, {8, 6, true, 6},    {8, 7, false, 8},
                        {8, 2, true, 2},  {16, 12, true, 12}, {16, 13, false, 16}};
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

TEST(MathVectorSparse, AllZeroPacksToEmpty)
{
  TMathVector v(9, 1e-31);
  TSparseMathVector s;
  s.Init(v, 0.5);
  EXPECT_EQ(s.N, 0);
  EXPECT_EQ(s.X, nullptr);
  TSize cursor = 0;
  EXPECT_EQ(s.Elem(3, cursor), 0.0);
}

TEST(MathVectorSparse, ElemCursorWalksOnce)
{
  TMathVector v(12, 0.0);
  v.X[1] = 10;
  v.X[4] = 40;
  v.X[9] = 90;
  TSparseMathVector s;
  s.Init(v, 0.0);
  ASSERT_TRUE(s.IsPacked());
  ASSERT_EQ(s.N, 3);
  TSize cursor = 0;
  std::vector<double> seen;
  for (TSize j = 0; j <= 10; ++j)
    seen.push_back(s.Elem(j, cursor));
  EXPECT_EQ(seen, (std::vector<double>{0, 10, 0, 0, 40, 0, 0, 0, 0, 90, 0}));
  EXPECT_EQ(cursor, 3);
  EXPECT_EQ(s.Elem(11, cursor), 0.0);
  TSize bad = -5;
  EXPECT_EQ(s.Elem(4, bad), 40.0);
}

TEST(MathVectorSparse, CopiesAreDeep)
{
  TMathVector v(10, 0.0);
  v.X[2] = 1;
  v.X[7] = 2;
  TSparseMathVector a;
  a.Init(v, 0.0);
  TSparseMathVector b(a);
  TSparseMathVector c;
  c = a;
  a.X[0] = 50;
  a.Positions[0] = 3;
  for (const TSparseMathVector* s : {&b, &c}) {
    ASSERT_TRUE(s->IsPacked());
    EXPECT_EQ(s->Positions[0], 2);
    EXPECT_EQ(s->X[0], 1.0);
  }
}

TEST(MathVectorSparse, AddAndSubtractIntoDense)
{
  TMathVector v(10, 0.0);
  v.X[1] = 1;
  v.X[8] = 2;
  TSparseMathVector s;
  s.Init(v, 0.0);
  TMathVector t(5, 1.0);
  t -= s; // position 8 is past t's end: the walk stops there
  EXPECT_EQ(Values(t), (std::vector<double>{1, 0, 1, 1, 1}));
  t += s;
  EXPECT_EQ(Values(t), (std::vector<double>{1, 1, 1, 1, 1}));
  TSparseMathVector dense;
  dense.Init(Vec({1, 2, 3}), 0.0);
  TMathVector u(5, 10.0);
  u -= dense;
  EXPECT_EQ(Values(u), (std::vector<double>{9, 8, 7, 10, 10}));
}

TEST(MathVectorSparse, SubtractSameFormOnly)
{
  TMathVector v(10, 0.0), w(10, 0.0);
  v.X[1] = 5;
  v.X[3] = 7;
  w.X[1] = 1;
  w.X[3] = 2;
  TSparseMathVector a, b;
  a.Init(v, 0.0);
  b.Init(w, 0.0);
  a -= b;
  EXPECT_EQ(a.X[0], 4.0);
  EXPECT_EQ(a.X[1], 5.0);
  TMathVector other(10, 0.0);
  other.X[2] = 1;
  other.X[3] = 1;
  TSparseMathVector c;
  c.Init(other, 0.0);
  a -= c; // different positions: left alone
  EXPECT_EQ(a.X[0], 4.0);
  TSparseMathVector d;
  d.Init(Vec({1, 1, 1}), 0.0);
  a -= d; // different form: left alone
  EXPECT_EQ(a.X[1], 5.0);
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
    double naive = 0;
    for (TSize i = 0; i < n; ++i)
      naive += a.X[i] * b.X[i];
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
