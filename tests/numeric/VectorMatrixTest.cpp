// Vectors and matrices against a plain dense model: random vectors and matrices of every storage
// kind go through the operations alongside the model, and must agree with it element by element
// (a read outside a row's span is zero). The Parts' own examples and fixed faults follow.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "tests/numeric/NumericTestUtil.h"

using numtest::Mat;
using numtest::Values;
using numtest::Vec;

namespace {

using Dense = std::vector<std::vector<double>>;

Dense ToDense(const TMathMatrix& m)
{
  Dense d(size_t(m.Lines), std::vector<double>(size_t(m.Columns), 0.0));
  for (TSize i = 0; i < m.Lines; ++i)
    for (TSize j = 0; j < m.Columns; ++j)
      d[size_t(i)][size_t(j)] = m(i, j);
  return d;
}

// A random matrix of the kind with every stored value set; banded rows get zero heads and tails.
TMathMatrix RandomOfKind(std::mt19937& gen, TSize lines, TSize columns, MathMatrixType type)
{
  std::uniform_real_distribution<double> val(-2, 2);
  std::uniform_int_distribution<int> cut(0, std::max(0, int(columns) / 2));
  TMathMatrix m(lines, columns, type == mt_BANDED ? mt_GENERAL : type);
  // An upper triangle's rows below its last column keep one cell that is structurally zero.
  for (TSize i = 0; i < lines && !(type == mt_RIGHT && i >= columns); ++i)
    for (TSize k = 0; k < m[i].N; ++k)
      m[i].X[k] = val(gen);
  if (type == mt_BANDED) {
    for (TSize i = 0; i < lines; ++i)
      for (TSize j = 0, head = cut(gen), tail = cut(gen); j < columns; ++j)
        if (j < head || j >= columns - tail) m(i, j) = 0.0;
    if (!m.CheckBanded()) m.Type = mt_BANDED;
  }
  return m;
}

// d with everything outside the spans of a kind-matrix of its shape zeroed.
Dense Shaped(Dense d, MathMatrixType kind)
{
  const TMathMatrix shape(TSize(d.size()), d.empty() ? 0 : TSize(d[0].size()), kind);
  for (TSize i = 0; i < shape.Lines; ++i)
    for (TSize j = 0; j < shape.Columns; ++j)
      if (!shape[i].InSpan(j)) d[size_t(i)][size_t(j)] = 0.0;
  return d;
}

void ExpectNear(const Dense& a, const Dense& b, double tol, const char* what)
{
  ASSERT_EQ(a.size(), b.size()) << what;
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < a[i].size(); ++j)
      ASSERT_NEAR(a[i][j], b[i][j], tol) << what << " " << i << "," << j;
}

const MathMatrixType kAllKinds[] = {mt_GENERAL, mt_ORTHOGONAL, mt_RIGHT, mt_LEFT, mt_DIAGONAL, mt_BANDED};

TEST(MathMatrixModel, EveryKindAgreesWithTheDenseModel)
{
  std::mt19937 gen(121);
  std::uniform_int_distribution<int> dim(1, 7), coin(0, 1);
  std::uniform_real_distribution<double> val(-1, 1);
  for (MathMatrixType ka : kAllKinds)
    for (MathMatrixType kb : kAllKinds)
      for (int trial = 0; trial < 4; ++trial) {
        SCOPED_TRACE(testing::Message() << ka << " " << kb << " #" << trial);
        const TSize l = dim(gen), n = dim(gen), c = dim(gen);
        const TMathMatrix a = RandomOfKind(gen, l, n, ka), b = RandomOfKind(gen, n, c, kb);
        const TMathMatrix b2 = RandomOfKind(gen, l, n, kb);
        const Dense A = ToDense(a), B = ToDense(b), B2 = ToDense(b2);
        Dense P(size_t(l), std::vector<double>(size_t(c), 0.0)), S = A, D = A;
        Dense T(size_t(n), std::vector<double>(size_t(l), 0.0));
        for (size_t i = 0; i < size_t(l); ++i)
          for (size_t j = 0; j < size_t(n); ++j) {
            for (size_t k = 0; k < size_t(c); ++k)
              P[i][k] += A[i][j] * B[j][k];
            S[i][j] += B2[i][j];
            D[i][j] -= B2[i][j];
            T[j][i] = A[i][j];
          }
        // Products, sums and differences keep only the structure of their kind.
        const TMathMatrix p = a * b, s = a + b2, d = a - b2;
        EXPECT_EQ(p.Type, TMathMatrix::ResultType(ka, kb));
        ExpectNear(ToDense(p), Shaped(P, p.Type), 1e-12, "product");
        ExpectNear(ToDense(s), Shaped(S, s.Type), 1e-15, "sum");
        ExpectNear(ToDense(d), Shaped(D, s.Type), 1e-15, "difference");
        TMathMatrix q(l, c, p.Type);
        const TRowSparseMathVector* row0 = q.Data[0];
        q.SetMultiply(a, b);
        EXPECT_EQ(q.Data[0], row0); // the storage that fits is reused
        ExpectNear(ToDense(q), ToDense(p), 0.0, "SetMultiply");
        const TMathMatrix t = numtest::Transposed(a);
        ExpectNear(ToDense(t), T, 0.0, "transpose");
        EXPECT_EQ(t.Type, ka == mt_LEFT ? mt_RIGHT : ka == mt_RIGHT ? mt_LEFT : mt_GENERAL);

        // Products with vectors, norms, and the matrix without flagged rows and columns.
        TMathVector x(n), y(l), r, rt;
        for (TSize j = 0; j < n; ++j)
          x[j] = val(gen);
        for (TSize i = 0; i < l; ++i)
          y[i] = val(gen);
        a.Multiply(x, r);
        a.TranspMultiply(y, rt);
        double norm1 = 0, normMax = 0, sq = 0;
        for (size_t i = 0; i < size_t(l); ++i) {
          double ri = 0, rowSum = 0;
          for (size_t j = 0; j < size_t(n); ++j) {
            ri += A[i][j] * x[TSize(j)];
            rowSum += std::fabs(A[i][j]);
            normMax = std::max(normMax, std::fabs(A[i][j]));
            sq += A[i][j] * A[i][j];
          }
          norm1 = std::max(norm1, rowSum);
          EXPECT_NEAR(r[TSize(i)], ri, 1e-12);
        }
        for (size_t j = 0; j < size_t(n); ++j) {
          double tj = 0, col = 0;
          for (size_t i = 0; i < size_t(l); ++i) {
            tj += A[i][j] * y[TSize(i)];
            col += A[i][j] * A[i][j];
          }
          EXPECT_NEAR(rt[TSize(j)], tj, 1e-12);
          EXPECT_NEAR(a.clNorma2(TSize(j)), std::sqrt(col), 1e-12);
          EXPECT_NEAR(a.ColumnNorma2(0, TSize(j)), col, 1e-12);
        }
        EXPECT_NEAR(a.Norma1(), norm1, 1e-12);
        EXPECT_EQ(a.NormaMax(), normMax);
        EXPECT_NEAR(a.NormaEukl(), std::sqrt(sq), 1e-12);
        TArrayOf<bool> dropRow, dropCol;
        Dense kept;
        for (TSize i = 0; i < l; ++i)
          dropRow.Add(coin(gen) == 1);
        for (TSize j = 0; j < n; ++j)
          dropCol.Add(coin(gen) == 1);
        for (TSize i = 0; i < l; ++i) {
          if (dropRow[i]) continue;
          kept.emplace_back();
          for (TSize j = 0; j < n; ++j)
            if (!dropCol[j]) kept.back().push_back(A[size_t(i)][size_t(j)]);
        }
        TMathMatrix sub;
        a.SubMatrix(dropRow, dropCol, sub);
        EXPECT_EQ(sub.Type, mt_GENERAL);
        if (!kept.empty() && !kept[0].empty()) ExpectNear(ToDense(sub), kept, 0.0, "SubMatrix");

        // Row and column exchanges exist only for the kinds with full rows.
        TMathMatrix e(a);
        const bool full = ka == mt_GENERAL || ka == mt_ORTHOGONAL;
        Dense E = A;
        const TSize i1 = dim(gen) % l, i2 = dim(gen) % l, j1 = dim(gen) % n, j2 = dim(gen) % n;
        EXPECT_EQ(e.SwapLines(i1, i2), full);
        EXPECT_EQ(e.SwapCols(j1, j2), full && j1 != j2);
        if (full) {
          std::swap(E[size_t(i1)], E[size_t(i2)]);
          for (auto& row : E)
            std::swap(row[size_t(j1)], row[size_t(j2)]);
        }
        ExpectNear(ToDense(e), E, 0.0, "exchanges");
      }
}

TEST(MathMatrixStorage, SpansPerKindAndBands)
{
  // SI, EI of each row of a 4 x 3 matrix.
  const std::pair<MathMatrixType, std::vector<std::pair<TSize, TSize>>> cases[] = {
      {mt_GENERAL, {{0, 3}, {0, 3}, {0, 3}, {0, 3}}},  {mt_BANDED, {{0, 3}, {0, 3}, {0, 3}, {0, 3}}},
      {mt_RIGHT, {{0, 3}, {1, 3}, {2, 3}, {0, 1}}},    {mt_LEFT, {{0, 1}, {0, 2}, {0, 3}, {0, 3}}},
      {mt_DIAGONAL, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
  };
  for (const auto& [type, spans] : cases) {
    const TMathMatrix m(4, 3, type);
    for (TSize i = 0; i < 4; ++i)
      EXPECT_EQ(std::make_pair(m[i].SI, m[i].EI), spans[size_t(i)]) << type << " row " << i;
    EXPECT_EQ(m.NormaMax(), 0.0); // new storage reads zero, the odd cell of an upper triangle too
  }
  TMathMatrix r(3, 3, mt_RIGHT);
  r(2, 0) = 5.0; // a write outside the spans is dropped
  EXPECT_EQ(r.NormaMax(), 0.0);

  TMathMatrix full = Mat(2, 3, {1, 2, 3, 4, 5, 6}), band = Mat(3, 4, {1, 2, 0, 0, 0, 3, 4, 0, 0, 0, 5, 6});
  EXPECT_FALSE(full.CheckBanded());
  EXPECT_EQ(full.Type, mt_GENERAL);
  const Dense before = ToDense(band);
  EXPECT_TRUE(band.CheckBanded());
  EXPECT_EQ(band.Type, mt_BANDED);
  EXPECT_EQ(std::make_pair(band[1].SI, band[1].EI), std::make_pair(1, 3));
  EXPECT_EQ(ToDense(band), before);
  EXPECT_FALSE(r.CheckBanded());
}

TEST(MathMatrixText, TextAndCheckTolerance)
{
  EXPECT_STREQ(Mat(2, 1, {-1, 0.5}).toStr().PChar(), "-1.0000 * 0.5000 *");
  const TMathMatrix a = Mat(2, 2, {1, 2, 3, 4});
  EXPECT_TRUE(a.Check(Mat(2, 2, {1, 2, 3 + 1e-6, 4})));
  EXPECT_FALSE(a.Check(Mat(2, 2, {1, 2, 3 + 3e-6, 4})));
  EXPECT_FALSE(a.Check(Mat(2, 2, {1, std::nan(""), 3, 4})));
  EXPECT_FALSE(a.Check(Mat(1, 2, {1, 2})));
}

TEST(MathVectorModel, DenseAndSparseVectorsAgreeWithTheModel)
{
  std::mt19937 gen(120);
  std::uniform_int_distribution<int> size(0, 16), coin(0, 3);
  std::uniform_real_distribution<double> val(-1, 1);
  auto random = [&](TSize n) {
    std::vector<double> m(size_t(n), 0.0);
    const int keep = coin(gen);
    for (double& x : m)
      if (coin(gen) < keep) x = val(gen);
    return m;
  };
  auto vec = [](const std::vector<double>& m) {
    TMathVector v(TSize(m.size()));
    std::copy(m.begin(), m.end(), v.X);
    return v;
  };
  for (int trial = 0; trial < 400; ++trial) {
    SCOPED_TRACE(trial);
    const std::vector<double> ma = random(size(gen)), mb = random(TSize(ma.size()));
    const TSize n = TSize(ma.size());
    TMathVector a = vec(ma);

    // Resizing keeps the head and fills the tail; Assign copies only from a long enough source.
    const TSize m = size(gen) - 2;
    std::vector<double> resized(ma);
    resized.resize(size_t(std::max(m, 0)), 0.5);
    TMathVector r(a);
    r.SetDimension(m, 0.5);
    EXPECT_EQ(Values(r), resized);
    TMathVector target(n, 9.0);
    const bool shorter = r.N < n;
    EXPECT_EQ(target.Assign(r), shorter);
    EXPECT_EQ(Values(target), shorter ? std::vector<double>(size_t(n), 9.0)
                                      : std::vector<double>(resized.begin(), resized.begin() + n));

    // The values whose flag is false, the missing flags counting as false.
    TArrayOf<bool> drop;
    std::vector<double> kept;
    const TSize flags = n ? size(gen) % (n + 1) : 0;
    for (TSize i = 0; i < n; ++i) {
      if (i < flags) drop.Add(coin(gen) == 0);
      if (i >= flags || !drop[i]) kept.push_back(ma[size_t(i)]);
    }
    TMathVector sub;
    a.SubVector(drop, sub);
    EXPECT_EQ(Values(sub), kept);

    // Packing: kept dense below 8 values or with more than three quarters non-zero.
    TSize count = 0;
    for (double x : ma)
      count += std::fabs(x) > 1e-30;
    TSparseMathVector sa, sb;
    sa.Init(a, 0.0);
    sb.Init(vec(mb), 0.0);
    const bool packed = count > 0 && n >= 8 && count <= 3 * n / 4;
    EXPECT_EQ(sa.IsPacked(), packed);
    EXPECT_EQ(sa.N, count == 0 ? 0 : packed ? count : n);
    TSize cursor = 0;
    double dot = 0;
    for (TSize j = 0; j < n; ++j) {
      EXPECT_EQ(sa.Elem(j, cursor), ma[size_t(j)]);
      dot += ma[size_t(j)] * mb[size_t(j)];
    }
    EXPECT_NEAR(sa * sb, dot, 1e-12);
    EXPECT_NEAR(sb * sa, dot, 1e-12);
    if (sa.N > 0) {
      EXPECT_NEAR(sa * vec(mb), dot, 1e-12);
    }

    // Adding and subtracting a sparse vector, and element-wise arithmetic.
    TMathVector t = vec(mb);
    t -= sa;
    t += sb;
    t *= 2.0;
    for (TSize j = 0; j < n; ++j)
      EXPECT_NEAR(t[j], 2 * (2 * mb[size_t(j)] - ma[size_t(j)]), 1e-15);
  }
}

TEST(MathVectorRow, SpansReadsAndTrims)
{
  const double data[] = {1.5, 2.5, 3.5};
  TRowSparseMathVector r(10, 3, 5, data);
  EXPECT_EQ(std::make_pair(r.SI, r.EI), std::make_pair(3, 6));
  const TMathVector& reader = r;
  for (TSize j : {-1, 2, 6, 10})
    EXPECT_EQ(reader[j], 0.0) << j;
  EXPECT_EQ(reader[5], 3.5);
  TRowSparseMathVector tail(4, 2, 3);
  EXPECT_TRUE(tail.Assign(Vec({1, 2, 3, 4})));
  EXPECT_EQ(Values(tail), (std::vector<double>{3, 4}));
  EXPECT_FALSE(tail.Assign(Vec({1, 2, 3})));
  EXPECT_DOUBLE_EQ(r * Vec({1, 1, 1, 1, 10}), 26.5); // column 5 lies past the short operand

  // Trimming keeps the outermost values above 1e-30; one value or none is left alone.
  const std::tuple<std::vector<double>, TSize, TSize, bool, TSize, TSize> cases[] = {
      {{0, 0, 4, 0, 7, 0}, 0, 5, true, 2, 5},
      {{0, 5, 6, 0}, 3, 6, true, 4, 6},
      {{0, 0, 3, 0}, 0, 3, false, 0, 4},
      {{1e-31, 0, -1e-30, 0}, 0, 3, false, 0, 4},
  };
  for (const auto& [values, si, ei, trimmed, newSi, newEi] : cases) {
    TRowSparseMathVector row(10, si, ei, values.data());
    EXPECT_EQ(row.BegEndUpdate(), trimmed);
    EXPECT_EQ(std::make_pair(row.SI, row.EI), std::make_pair(newSi, newEi));
    for (TSize j = si; j <= ei; ++j)
      EXPECT_EQ(static_cast<const TMathVector&>(row)[j], values[size_t(j - si)]);
    EXPECT_FALSE(row.BegEndUpdate());
  }
}

TEST(MathVectorMembers, ArithmeticSwapsAndRowSpans)
{
  TMathVector v = Vec({1, 2, 3});
  ((((v += Vec({1, 1})) -= 1.0) *= 4.0) /= 2.0) += 0.5; // a shorter operand counts as zeros
  EXPECT_EQ(Values(v), (std::vector<double>{2.5, 4.5, 4.5}));
  EXPECT_TRUE(v.Swap(0, 2));
  EXPECT_FALSE(v.Swap(0, 3));
  TMathVector w = Vec({7});
  EXPECT_TRUE(v.Swap(w));
  EXPECT_EQ(v.size(), 1);
  EXPECT_EQ(std::vector<double>(w.begin(), w.end()), (std::vector<double>{4.5, 4.5, 2.5}));

  const double data[] = {5, 6};
  TRowSparseMathVector r(10, 3, 4, data), s(6, 0, 0);
  EXPECT_EQ(r.BegNonZero(), 3);
  EXPECT_EQ(r.EndNonZero(), 4);
  EXPECT_EQ(r.Dimension(), 10);
  EXPECT_FALSE(r.Swap(w)); // a row exchanges only with a row
  EXPECT_TRUE(r.Swap(s));
  EXPECT_EQ(static_cast<const TMathVector&>(s)[4], 6.0);
  r.Init(8, 2, 5, nullptr);
  EXPECT_EQ(std::make_pair(r.N, r.EndNonZero()), std::make_pair(4, 5));
  EXPECT_EQ(r.NormaMax(), 0.0);

  TMathVector four(4, 7.0), none(0);
  four = {1, 2};
  none = {1, 2};
  EXPECT_EQ(Values(four), (std::vector<double>{1, 2, 7, 7}));
  EXPECT_EQ(none.N, 0);
}

TEST(MathVectorRegression, DeletingThroughTheBaseFreesDerivedStorage)
{
  std::unique_ptr<TMathVector> p = std::make_unique<TSparseMathVector>();
  TMathVector dense(10, 0.0);
  dense.X[3] = 1.0;
  static_cast<TSparseMathVector&>(*p).Init(dense, 0.0);
  ASSERT_NE(static_cast<TSparseMathVector&>(*p).Positions, nullptr);
  p.reset(); // the sanitizer build reports a leak if Positions survived

  // A cursor handed in below the start is taken from the start.
  TSparseMathVector s;
  s.Init(dense, 0.0);
  TSize bad = -5;
  EXPECT_EQ(s.Elem(3, bad), 1.0);
}

} // namespace
