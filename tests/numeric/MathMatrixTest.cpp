#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/numeric/TVector.h"
#include "tests/numeric/NumericTestUtil.h"

using numtest::Mat;
using numtest::MaxDiff;

namespace {

using Dense = std::vector<std::vector<double>>;

// The logical contents of m (0.0 outside the spans).
Dense ToDense(const TMathMatrix& m)
{
  Dense d(size_t(m.Lines), std::vector<double>(size_t(m.Columns), 0.0));
  for (TSize i = 0; i < m.Lines; ++i)
    for (TSize j = 0; j < m.Columns; ++j)
      d[size_t(i)][size_t(j)] = m(i, j);
  return d;
}

// A random matrix of the kind, every stored value set (banded rows are trimmed afterwards).
TMathMatrix RandomOfKind(std::mt19937& gen, TSize lines, TSize columns, MathMatrixType type)
{
  std::uniform_real_distribution<double> val(-2, 2);
  TMathMatrix m(lines, columns, type == mt_BANDED ? mt_GENERAL : type);
  // An upper triangle's rows below its last column keep one cell that is structurally zero.
  for (TSize i = 0; i < lines && !(type == mt_RIGHT && i >= columns); ++i)
    for (TSize k = 0; k < m[i].N; ++k)
      m[i].X[k] = val(gen);
  if (type == mt_BANDED) {
    // Zero a random head and tail of each row so trimming has something to cut.
    std::uniform_int_distribution<int> cut(0, std::max(0, int(columns) / 2));
    for (TSize i = 0; i < lines; ++i) {
      const int head = cut(gen), tail = cut(gen);
      for (TSize j = 0; j < columns; ++j)
        if (j < head || j >= columns - tail) m(i, j) = 0.0;
    }
    if (!m.CheckBanded()) m.Type = mt_BANDED;
  }
  return m;
}

// The logical contents of a, with everything outside the spans of a type-kind matrix zeroed.
Dense Shaped(const Dense& a, MathMatrixType kind)
{
  Dense d = a;
  const TMathMatrix shape(TSize(a.size()), a.empty() ? 0 : TSize(a[0].size()), kind);
  for (TSize i = 0; i < shape.Lines; ++i)
    for (TSize j = 0; j < shape.Columns; ++j)
      if (!shape[i].InSpan(j)) d[size_t(i)][size_t(j)] = 0.0;
  return d;
}

void ExpectNear(const Dense& a, const Dense& b, double tol)
{
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(a[i].size(), b[i].size());
    for (size_t j = 0; j < a[i].size(); ++j)
      EXPECT_NEAR(a[i][j], b[i][j], tol) << i << "," << j;
  }
}

const MathMatrixType kAllKinds[] = {mt_GENERAL, mt_ORTHOGONAL, mt_RIGHT, mt_LEFT, mt_DIAGONAL, mt_BANDED};

} // namespace

// ---------------------------------------------------------------------------------------------
// Storage

TEST(MathMatrixStorage, SpansPerKind)
{
  struct Case
  {
    MathMatrixType type;
    std::vector<std::pair<TSize, TSize>> spans; // SI, EI per row of a 4 x 3 matrix
  };
  const Case cases[] = {
      {mt_GENERAL, {{0, 3}, {0, 3}, {0, 3}, {0, 3}}}, {mt_ORTHOGONAL, {{0, 3}, {0, 3}, {0, 3}, {0, 3}}},
      {mt_BANDED, {{0, 3}, {0, 3}, {0, 3}, {0, 3}}},  {mt_RIGHT, {{0, 3}, {1, 3}, {2, 3}, {0, 1}}},
      {mt_LEFT, {{0, 1}, {0, 2}, {0, 3}, {0, 3}}},    {mt_DIAGONAL, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
  };
  for (const Case& c : cases) {
    TMathMatrix m(4, 3, c.type);
    for (TSize i = 0; i < 4; ++i) {
      EXPECT_EQ(m[i].SI, c.spans[size_t(i)].first) << c.type << " row " << i;
      EXPECT_EQ(m[i].EI, c.spans[size_t(i)].second) << c.type << " row " << i;
    }
    // New storage is zero-filled: even the odd extra cell of an upper triangle reads 0.0.
    EXPECT_EQ(m.NormaMax(), 0.0);
    EXPECT_EQ(m(3, 0), 0.0);
  }
  // Writes outside the spans are dropped.
  TMathMatrix r(3, 3, mt_RIGHT);
  r(2, 0) = 5.0;
  EXPECT_EQ(r(2, 0), 0.0);
  EXPECT_EQ(r.NormaMax(), 0.0);
}

TEST(MathMatrixStorage, SwapsOnlyForFullRowKinds)
{
  TMathMatrix g = Mat(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(g.SwapLines(0, 1));
  EXPECT_TRUE(g.SwapCols(0, 2));
  EXPECT_EQ(ToDense(g), (Dense{{6, 5, 4}, {3, 2, 1}}));
  EXPECT_FALSE(g.SwapCols(2, 2));
  EXPECT_FALSE(g.SwapCols(0, 3));
  EXPECT_FALSE(g.SwapLines(0, 2));
  TMathMatrix r = Mat(2, 2, {1, 2, 3, 4}, mt_RIGHT);
  EXPECT_FALSE(r.SwapLines(0, 1));
  EXPECT_FALSE(r.SwapCols(0, 1));
  EXPECT_EQ(ToDense(r), (Dense{{1, 2}, {0, 4}}));
}

// ---------------------------------------------------------------------------------------------
// Norms, comparison and text

TEST(MathMatrixText, TextAndCheckTolerance)
{
  EXPECT_STREQ(Mat(2, 1, {-1, 0.5}).toStr().PChar(), "-1.0000 * 0.5000 *");
  const TMathMatrix a = Mat(2, 2, {1, 2, 3, 4});
  EXPECT_TRUE(a.Check(Mat(2, 2, {1, 2, 3 + 1e-6, 4})));
  EXPECT_FALSE(a.Check(Mat(2, 2, {1, 2, 3 + 3e-6, 4})));
  EXPECT_FALSE(a.Check(Mat(2, 2, {1, std::nan(""), 3, 4})));
  EXPECT_FALSE(a.Check(Mat(1, 2, {1, 2})));
}

// ---------------------------------------------------------------------------------------------
// Products, sums, transpose

TEST(MathMatrixProduct, EveryKindPairMatchesNaiveLoops)
{
  std::mt19937 gen(121);
  std::uniform_int_distribution<int> dim(1, 7);
  for (MathMatrixType ka : kAllKinds)
    for (MathMatrixType kb : kAllKinds)
      for (int trial = 0; trial < 6; ++trial) {
        const TSize l = dim(gen), n = dim(gen), c = dim(gen);
        const TMathMatrix a = RandomOfKind(gen, l, n, ka), b = RandomOfKind(gen, n, c, kb);
        const TMathMatrix p = a * b;
        ASSERT_EQ(p.Lines, l);
        ASSERT_EQ(p.Columns, c);
        EXPECT_EQ(p.Type, TMathMatrix::ResultType(ka, kb));
        const Dense da = ToDense(a), db = ToDense(b);
        Dense want(size_t(l), std::vector<double>(size_t(c), 0.0));
        for (size_t i = 0; i < size_t(l); ++i)
          for (size_t j = 0; j < size_t(c); ++j)
            for (size_t k = 0; k < size_t(n); ++k)
              want[i][j] += da[i][k] * db[k][j];
        // A triangular or diagonal result keeps only its structure.
        want = Shaped(want, p.Type);
        SCOPED_TRACE(testing::Message() << ka << " x " << kb << " " << l << "x" << n << "x" << c);
        ExpectNear(ToDense(p), want, 1e-12);
        // Same product into a matrix that already has the shape, and into an operand.
        TMathMatrix q(l, c, p.Type);
        const TRowSparseMathVector* row0 = q.Data[0];
        q.SetMultiply(a, b);
        EXPECT_EQ(q.Data[0], row0);
        ExpectNear(ToDense(q), want, 1e-12);
        if (l == n && n == c && ka == mt_GENERAL) {
          TMathMatrix self = a;
          self.SetMultiply(self, b);
          ExpectNear(ToDense(self), want, 1e-12);
        }
      }
}

TEST(MathMatrixSum, KindsAndValues)
{
  std::mt19937 gen(5);
  for (MathMatrixType ka : kAllKinds)
    for (MathMatrixType kb : kAllKinds) {
      const TMathMatrix a = RandomOfKind(gen, 4, 4, ka), b = RandomOfKind(gen, 4, 4, kb);
      const TMathMatrix s = a + b, d = a - b;
      EXPECT_EQ(s.Type, TMathMatrix::ResultType(ka, kb));
      Dense ws = ToDense(a), wd = ToDense(a);
      const Dense db = ToDense(b);
      for (size_t i = 0; i < 4; ++i)
        for (size_t j = 0; j < 4; ++j) {
          ws[i][j] += db[i][j];
          wd[i][j] -= db[i][j];
        }
      ExpectNear(ToDense(s), Shaped(ws, s.Type), 1e-15);
      ExpectNear(ToDense(d), Shaped(wd, s.Type), 1e-15);
    }
}

TEST(MathMatrixTranspose, ShapesKindsAndIdentities)
{
  TMathMatrix g = Mat(2, 3, {1, 2, 3, 4, 5, 6});
  g.Transpose(g); // in place
  EXPECT_EQ(g.Type, mt_GENERAL);
  EXPECT_EQ(ToDense(g), (Dense{{1, 4}, {2, 5}, {3, 6}}));

  EXPECT_EQ(numtest::Transposed(TMathMatrix(3, 3, mt_LEFT)).Type, mt_RIGHT);
  EXPECT_EQ(numtest::Transposed(TMathMatrix(3, 3, mt_RIGHT)).Type, mt_LEFT);
}

TEST(MathMatrixSub, DropsFlaggedRowsAndColumns)
{
  TMathMatrix m = Mat(3, 3, {1, 2, 3, 0, 5, 6, 0, 0, 9}, mt_RIGHT);
  TArrayOf<bool> rows{false, true, false}, cols{true, false, false}, none;
  TMathMatrix r;
  m.SubMatrix(rows, cols, r);
  EXPECT_EQ(r.Type, mt_GENERAL);
  EXPECT_EQ(ToDense(r), (Dense{{2, 3}, {0, 9}}));
  m.SubMatrix(none, cols, m);
  EXPECT_EQ(ToDense(m), (Dense{{2, 3}, {5, 6}, {0, 9}}));
}

TEST(MathMatrixBand, TrimOnlyGeneral)
{
  TMathMatrix full = Mat(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_FALSE(full.CheckBanded());
  EXPECT_EQ(full.Type, mt_GENERAL);

  TMathMatrix band = Mat(3, 4, {1, 2, 0, 0, 0, 3, 4, 0, 0, 0, 5, 6});
  const Dense before = ToDense(band);
  EXPECT_TRUE(band.CheckBanded());
  EXPECT_EQ(band.Type, mt_BANDED);
  EXPECT_EQ(band[1].SI, 1);
  EXPECT_EQ(band[1].EI, 3);
  EXPECT_EQ(ToDense(band), before);

  TMathMatrix right(2, 2, mt_RIGHT), empty;
  EXPECT_FALSE(right.CheckBanded());
  EXPECT_FALSE(empty.CheckBanded());
}
