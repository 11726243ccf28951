#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hxcadkit/numeric/MathMatrix.h"

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
TMathMatrix Random(std::mt19937& gen, TSize lines, TSize columns, MathMatrixType type)
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

Dense NaiveProduct(const Dense& a, const Dense& b, size_t inner, size_t cols)
{
  Dense c(a.size(), std::vector<double>(cols, 0.0));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < cols; ++j)
      for (size_t k = 0; k < inner; ++k)
        c[i][j] += a[i][k] * b[k][j];
  return c;
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
      EXPECT_EQ(m[i].D, 3);
    }
    // New storage is zero-filled: even the odd extra cell of an upper triangle reads 0.0.
    EXPECT_EQ(m.NormaMax(), 0.0);
    EXPECT_EQ(m(3, 0), 0.0);
  }
  TMathMatrix r(4, 3, mt_RIGHT);
  EXPECT_EQ(r(2, 0), 0.0);
}

TEST(MathMatrixStorage, WritesOutsideSpansAreDropped)
{
  TMathMatrix r(3, 3, mt_RIGHT);
  r(2, 0) = 5.0;
  EXPECT_EQ(r(2, 0), 0.0);
  EXPECT_EQ(r.NormaMax(), 0.0);
}

TEST(MathMatrixStorage, EmptyAndDefaultMatrices)
{
  TMathMatrix d;
  EXPECT_EQ(d.Data, nullptr);
  EXPECT_EQ(d.Norma1(), 0.0);
  EXPECT_EQ(d.NormaEukl(), 0.0);
  EXPECT_STREQ(d.toStr().PChar(), "");
  TMathMatrix neg(-2, 5, mt_GENERAL);
  EXPECT_EQ(neg.Data, nullptr);
  TMathMatrix noCols(2, 0, mt_GENERAL);
  EXPECT_EQ(noCols.NormaMax(), 0.0);
  TMathMatrix copy(d);
  copy = noCols;
  EXPECT_EQ(copy.Lines, 2);
}

TEST(MathMatrixStorage, AssignmentAddsAndDropsRows)
{
  std::mt19937 gen(1);
  const TMathMatrix big = Random(gen, 5, 4, mt_LEFT), small = Random(gen, 2, 3, mt_GENERAL);
  TMathMatrix m = small;
  m = big;
  EXPECT_EQ(m.Type, mt_LEFT);
  ExpectNear(ToDense(m), ToDense(big), 0);
  m = small;
  EXPECT_EQ(m.Lines, 2);
  ExpectNear(ToDense(m), ToDense(small), 0);
  m = m;
  ExpectNear(ToDense(m), ToDense(small), 0);
}

TEST(MathMatrixStorage, ListAssignmentRowByRow)
{
  TMathMatrix m(2, 3, mt_GENERAL);
  m = {1, 2, 3, 4};
  EXPECT_EQ(ToDense(m), (Dense{{1, 2, 3}, {4, 0, 0}}));
}

TEST(MathMatrixStorage, SwapsOnlyForFullRowKinds)
{
  TMathMatrix g(2, 3, mt_GENERAL);
  g = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(g.SwapLines(0, 1));
  EXPECT_EQ(ToDense(g), (Dense{{4, 5, 6}, {1, 2, 3}}));
  EXPECT_TRUE(g.SwapCols(0, 2));
  EXPECT_EQ(ToDense(g), (Dense{{6, 5, 4}, {3, 2, 1}}));
  EXPECT_FALSE(g.SwapCols(2, 2));
  EXPECT_FALSE(g.SwapCols(0, 3));
  EXPECT_FALSE(g.SwapLines(0, 2));
  TMathMatrix r(2, 2, mt_RIGHT);
  r = {1, 2, 3, 4};
  EXPECT_FALSE(r.SwapLines(0, 1));
  EXPECT_FALSE(r.SwapCols(0, 1));
  EXPECT_EQ(ToDense(r), (Dense{{1, 2}, {0, 4}}));
}

TEST(MathMatrixStorage, SetLineAndColumn)
{
  TMathMatrix m(3, 2, mt_GENERAL);
  TMathVector v(2, 0.0);
  v = {7, 8};
  m.SetLine(1, v);
  m.SetLine(5, v);
  TMathVector c(3, 0.0);
  c = {1, 2, 3};
  m.SetColumn(0, c);
  EXPECT_EQ(ToDense(m), (Dense{{1, 0}, {2, 8}, {3, 0}}));
  m.SetZero();
  EXPECT_EQ(m.NormaMax(), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Norms and text

TEST(MathMatrixNorms, SmallExample)
{
  TMathMatrix m(2, 2, mt_GENERAL);
  m = {1, -2, 3, 0};
  EXPECT_DOUBLE_EQ(m.Norma1(), 3.0);
  EXPECT_DOUBLE_EQ(m.NormaMax(), 3.0);
  EXPECT_DOUBLE_EQ(m.NormaEukl(), std::sqrt(14.0));
  EXPECT_DOUBLE_EQ(m.clNorma2(0), std::sqrt(10.0));
  EXPECT_DOUBLE_EQ(m.ColumnNorma1(0, 1), 2.0);
  EXPECT_DOUBLE_EQ(m.ColumnNorma2(1, 0), 9.0);
  EXPECT_DOUBLE_EQ(m.ColumnNormaEukl(0, 0), std::sqrt(10.0));
  EXPECT_EQ(m.ColumnNormaEukl(2, 0), 0.0);
}

TEST(MathMatrixNorms, ColumnNormDoesNotOverflow)
{
  TMathMatrix m(2, 1, mt_GENERAL);
  m = {1e200, 1e200};
  EXPECT_TRUE(std::isfinite(m.clNorma2(0)));
  EXPECT_NEAR(m.clNorma2(0) / 1e200, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(m.ColumnNormaEukl(0, 0) / 1e200, std::sqrt(2.0), 1e-15);
}

TEST(MathMatrixText, SevenWideFourDecimals)
{
  TMathMatrix m(1, 2, mt_GENERAL);
  m = {1, 2};
  EXPECT_STREQ(m.toStr().PChar(), " 1.0000  2.0000 *");
  TMathMatrix two(2, 1, mt_GENERAL);
  two = {-1, 0.5};
  EXPECT_STREQ(two.toStr().PChar(), "-1.0000 * 0.5000 *");
}

TEST(MathMatrixText, CheckTolerance)
{
  TMathMatrix a(2, 2, mt_GENERAL);
  a = {1, 2, 3, 4};
  TMathMatrix b(a);
  b(1, 0) += 1e-6;
  EXPECT_TRUE(a.Check(b));
  b(1, 0) += 2e-6;
  EXPECT_FALSE(a.Check(b));
  b = a;
  b(0, 1) = std::nan("");
  EXPECT_FALSE(a.Check(b));
  TMathMatrix smaller(1, 2, mt_GENERAL);
  smaller = {1, 2};
  EXPECT_FALSE(a.Check(smaller));
}

// ---------------------------------------------------------------------------------------------
// Products, sums, transpose

TEST(MathMatrixProduct, DiagonalAndOrthogonalKinds)
{
  TMathMatrix d1(3, 3, mt_DIAGONAL), d2(3, 3, mt_DIAGONAL);
  for (TSize i = 0; i < 3; ++i) {
    d1(i, i) = i + 1;
    d2(i, i) = 10 * (i + 1);
  }
  TMathMatrix p = d1 * d2;
  EXPECT_EQ(p.Type, mt_DIAGONAL);
  EXPECT_EQ(ToDense(p), (Dense{{10, 0, 0}, {0, 40, 0}, {0, 0, 90}}));
  TMathMatrix o(3, 3, mt_ORTHOGONAL);
  EXPECT_EQ((o * o).Type, mt_GENERAL);
  EXPECT_EQ((d1 * o).Type, mt_GENERAL);
}

TEST(MathMatrixProduct, EveryKindPairMatchesNaiveLoops)
{
  std::mt19937 gen(121);
  std::uniform_int_distribution<int> dim(1, 7);
  for (MathMatrixType ka : kAllKinds)
    for (MathMatrixType kb : kAllKinds)
      for (int trial = 0; trial < 6; ++trial) {
        const TSize l = dim(gen), n = dim(gen), c = dim(gen);
        const TMathMatrix a = Random(gen, l, n, ka), b = Random(gen, n, c, kb);
        const TMathMatrix p = a * b;
        ASSERT_EQ(p.Lines, l);
        ASSERT_EQ(p.Columns, c);
        EXPECT_EQ(p.Type, TMathMatrix::ResultType(ka, kb));
        Dense want = NaiveProduct(ToDense(a), ToDense(b), size_t(n), size_t(c));
        // A triangular or diagonal result keeps only its structure.
        const TMathMatrix shape(l, c, p.Type);
        for (TSize i = 0; i < l; ++i)
          for (TSize j = 0; j < c; ++j)
            if (!shape[i].InSpan(j)) want[size_t(i)][size_t(j)] = 0.0;
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

TEST(MathMatrixProduct, DotProdRange)
{
  TMathMatrix a(1, 3, mt_GENERAL), b(3, 1, mt_GENERAL);
  a = {1, 2, 3};
  b = {4, 5, 6};
  EXPECT_DOUBLE_EQ(dot_prod(a, b, 0, 0, 0, 2, 0.0), 32.0);
  EXPECT_DOUBLE_EQ(dot_prod(a, b, 0, 0, 1, 1, 1.0), 11.0);
  EXPECT_DOUBLE_EQ(dot_prod(a, b, 0, 0, 2, 1, 7.0), 7.0);
}

TEST(MathMatrixProduct, MatrixVectorMatchesNaive)
{
  std::mt19937 gen(9);
  std::uniform_int_distribution<int> dim(1, 8);
  std::uniform_real_distribution<double> val(-1, 1);
  for (MathMatrixType k : kAllKinds)
    for (int trial = 0; trial < 10; ++trial) {
      const TSize l = dim(gen), c = dim(gen);
      const TMathMatrix m = Random(gen, l, c, k);
      const Dense d = ToDense(m);
      TMathVector x(c), y(l);
      for (TSize j = 0; j < c; ++j)
        x.X[j] = val(gen);
      for (TSize i = 0; i < l; ++i)
        y.X[i] = val(gen);
      TMathVector r(l), t(c);
      m.Multiply(x, r);
      m.TranspMultiply(y, t);
      for (TSize i = 0; i < l; ++i) {
        double s = 0;
        for (TSize j = 0; j < c; ++j)
          s += d[size_t(i)][size_t(j)] * x.X[j];
        EXPECT_NEAR(r.X[i], s, 1e-12);
      }
      for (TSize j = 0; j < c; ++j) {
        double s = 0;
        for (TSize i = 0; i < l; ++i)
          s += d[size_t(i)][size_t(j)] * y.X[i];
        EXPECT_NEAR(t.X[j], s, 1e-12);
      }
    }
}

TEST(MathMatrixProduct, MultiplyGrowsShortResult)
{
  TMathMatrix m(3, 2, mt_GENERAL);
  m = {1, 2, 3, 4, 5, 6};
  TMathVector x(2, 1.0), r(0);
  m.Multiply(x, r);
  ASSERT_EQ(r.N, 3);
  EXPECT_EQ(r.X[2], 11.0);
}

TEST(MathMatrixSum, KindsAndValues)
{
  std::mt19937 gen(5);
  for (MathMatrixType ka : kAllKinds)
    for (MathMatrixType kb : kAllKinds) {
      const TMathMatrix a = Random(gen, 4, 4, ka), b = Random(gen, 4, 4, kb);
      const TMathMatrix s = a + b, d = a - b;
      EXPECT_EQ(s.Type, TMathMatrix::ResultType(ka, kb));
      const Dense da = ToDense(a), db = ToDense(b), ds = ToDense(s), dd = ToDense(d);
      const TMathMatrix shape(4, 4, s.Type);
      for (TSize i = 0; i < 4; ++i)
        for (TSize j = 0; j < 4; ++j) {
          const bool in = shape[i].InSpan(j);
          EXPECT_DOUBLE_EQ(ds[i][j], in ? da[i][j] + db[i][j] : 0.0);
          EXPECT_DOUBLE_EQ(dd[i][j], in ? da[i][j] - db[i][j] : 0.0);
        }
    }
}

TEST(MathMatrixSum, InPlaceAndScale)
{
  TMathMatrix o(2, 2, mt_ORTHOGONAL), g(2, 2, mt_GENERAL);
  o = {1, 2, 3, 4};
  g = {1, 1, 1, 1};
  o += g;
  EXPECT_EQ(o.Type, mt_GENERAL);
  EXPECT_EQ(ToDense(o), (Dense{{2, 3}, {4, 5}}));
  o -= g;
  o *= 2.0;
  EXPECT_EQ(ToDense(o), (Dense{{2, 4}, {6, 8}}));
  TMathMatrix small(1, 1, mt_GENERAL);
  small = {10};
  o += small;
  EXPECT_EQ(ToDense(o), (Dense{{12, 4}, {6, 8}}));
  // A smaller right operand of + reads as zero where it has no rows.
  EXPECT_EQ(ToDense(o + small), (Dense{{22, 4}, {6, 8}}));
}

TEST(MathMatrixTranspose, ShapesKindsAndIdentities)
{
  TMathMatrix g(2, 3, mt_GENERAL);
  g = {1, 2, 3, 4, 5, 6};
  TMathMatrix t;
  g.Transpose(t);
  EXPECT_EQ(t.Type, mt_GENERAL);
  EXPECT_EQ(ToDense(t), (Dense{{1, 4}, {2, 5}, {3, 6}}));

  std::mt19937 gen(7);
  TMathMatrix l = Random(gen, 3, 3, mt_LEFT);
  l.Transpose(t);
  EXPECT_EQ(t.Type, mt_RIGHT);
  for (TSize i = 0; i < 3; ++i)
    EXPECT_EQ(t[i].N, 3); // full rows
  TMathMatrix back;
  t.Transpose(back);
  EXPECT_EQ(back.Type, mt_LEFT);
  ExpectNear(ToDense(back), ToDense(l), 0);

  std::uniform_int_distribution<int> dim(1, 6);
  for (MathMatrixType ka : kAllKinds)
    for (int trial = 0; trial < 5; ++trial) {
      const TSize l1 = dim(gen), n = dim(gen), c = dim(gen);
      const TMathMatrix a = Random(gen, l1, n, ka), b = Random(gen, n, c, mt_GENERAL);
      TMathMatrix at, att;
      a.Transpose(at);
      at.Transpose(att);
      ExpectNear(ToDense(att), ToDense(a), 0);
      // (A B)^T = B^T A^T
      TMathMatrix ab = a * b, abt, bt;
      ab.Transpose(abt);
      b.Transpose(bt);
      TMathMatrix general_at(at);
      general_at.Type = mt_GENERAL;
      ExpectNear(ToDense(abt), ToDense(bt * general_at), 1e-12);
    }
  // In place.
  g.Transpose(g);
  EXPECT_EQ(ToDense(g), (Dense{{1, 4}, {2, 5}, {3, 6}}));
}

TEST(MathMatrixSub, DropsFlaggedRowsAndColumns)
{
  TMathMatrix m(3, 3, mt_RIGHT);
  m = {1, 2, 3, 0, 5, 6, 0, 0, 9};
  TArrayOf<bool> rows{false, true, false}, cols{true, false, false};
  TMathMatrix r;
  m.SubMatrix(rows, cols, r);
  EXPECT_EQ(r.Type, mt_GENERAL);
  EXPECT_EQ(ToDense(r), (Dense{{2, 3}, {0, 9}}));
  TArrayOf<bool> none;
  m.SubMatrix(none, cols, m);
  EXPECT_EQ(ToDense(m), (Dense{{2, 3}, {5, 6}, {0, 9}}));
}

TEST(MathMatrixBand, TrimOnlyGeneral)
{
  TMathMatrix full(2, 3, mt_GENERAL);
  full = {1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(full.CheckBanded());
  EXPECT_EQ(full.Type, mt_GENERAL);

  TMathMatrix band(3, 4, mt_GENERAL);
  band = {1, 2, 0, 0, 0, 3, 4, 0, 0, 0, 5, 6};
  const Dense before = ToDense(band);
  EXPECT_TRUE(band.CheckBanded());
  EXPECT_EQ(band.Type, mt_BANDED);
  EXPECT_EQ(band[1].SI, 1);
  EXPECT_EQ(band[1].EI, 3);
  ExpectNear(ToDense(band), before, 0);
  // Already banded: nothing more is trimmed.
  band(0, 0) = 0.0;
  EXPECT_TRUE(band.CheckBanded());
  EXPECT_EQ(band[0].SI, 0);

  TMathMatrix right(2, 2, mt_RIGHT);
  EXPECT_FALSE(right.CheckBanded());
  TMathMatrix empty;
  EXPECT_FALSE(empty.CheckBanded());
}
