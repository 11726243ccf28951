// The solvers against LAPACK on the same random dense systems (n = 50, 100, 200), and the exact
// triangle tests against CGAL's double kernels on the same 10^6 random pairs. Each subject and its
// baseline start from a fresh copy of the input inside the timed loop.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Simple_cartesian.h>
#include <CGAL/intersections.h>
#include <lapacke.h>

#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "hxcadkit/geometry/Mathemat3d.h"
#include "hxcadkit/numeric/TVector2.h"

namespace {

std::vector<double> RandomValues(size_t count, unsigned seed)
{
  std::mt19937_64 g(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<double> v(count);
  for (double& x : v)
    x = u(g);
  return v;
}

// A row-major n x n system with its right-hand side.
struct TSystem
{
  int n;
  std::vector<double> a, b;
  explicit TSystem(int size) : n(size), a(RandomValues(size_t(n * n), 7)), b(RandomValues(size_t(n), 8)) {}
  void Fill(TMathMatrix& m, int columns) const
  {
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        m(i, j) = a[size_t(i * n + j)];
    if (columns > n)
      for (int i = 0; i < n; ++i)
        m(i, n) = b[size_t(i)];
  }
};

const TSystem& System(int n)
{
  static std::map<int, TSystem> systems;
  return systems.try_emplace(n, n).first->second;
}

// ---- Solvers ----------------------------------------------------------------------------------

void Gauss(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  for (auto _ : state) {
    TMathMatrix A(s.n, s.n, mt_GENERAL);
    s.Fill(A, s.n);
    TMathVector x(s.n);
    std::copy(s.b.begin(), s.b.end(), x.X);
    benchmark::DoNotOptimize(TLinearEquations::SolveGauss(A, x, 1e-12));
  }
}

void Dgesv(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  std::vector<int> piv(size_t(s.n));
  for (auto _ : state) {
    std::vector<double> a = s.a, b = s.b;
    benchmark::DoNotOptimize(LAPACKE_dgesv(LAPACK_ROW_MAJOR, s.n, 1, a.data(), s.n, piv.data(), b.data(), 1));
  }
}

// The Givens QR of the augmented matrix [A b] and the back substitution: a least-squares solve.
void GivensQR(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  for (auto _ : state) {
    TMathMatrix R(s.n, s.n + 1, mt_GENERAL), x(s.n, 1, mt_GENERAL);
    s.Fill(R, s.n + 1);
    qr_dcmp(R);
    benchmark::DoNotOptimize(Solve(R, x, s.n, 1e-300));
  }
}

// The Givens QR that accumulates the orthogonal factor, and the square solve with both factors.
void GivensQRQ(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  for (auto _ : state) {
    TMathMatrix R(s.n, s.n, mt_GENERAL), Q;
    s.Fill(R, s.n);
    qr_dcmp(R, Q, true);
    TMathVector x(s.n);
    std::copy(s.b.begin(), s.b.end(), x.X);
    qr_lequ(R, Q, x);
    benchmark::DoNotOptimize(x.X);
  }
}

// The rank-revealing QR solver of TLinearEquations.
void RRQR(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  TLinearEquations le(s.n, s.n);
  for (auto _ : state) {
    s.Fill(le.A, s.n);
    std::copy(s.b.begin(), s.b.end(), le.B.X);
    benchmark::DoNotOptimize(le.SolveQR(1e-12));
  }
}

void Dgels(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  for (auto _ : state) {
    std::vector<double> a = s.a, b = s.b;
    benchmark::DoNotOptimize(LAPACKE_dgels(LAPACK_ROW_MAJOR, 'N', s.n, s.n, 1, a.data(), s.n, b.data(), 1));
  }
}

// The singular values and both factors.
void Svd(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  const size_t n1 = size_t(s.n + 1);
  std::vector<double> a(n1 * n1), v(n1 * n1), w(n1);
  std::vector<double*> ap(n1), vp(n1);
  for (size_t i = 0; i < n1; ++i) {
    ap[i] = &a[i * n1];
    vp[i] = &v[i * n1];
  }
  for (auto _ : state) {
    for (int i = 0; i < s.n; ++i)
      std::copy_n(&s.a[size_t(i * s.n)], s.n, ap[size_t(i + 1)] + 1);
    benchmark::DoNotOptimize(svdcmp(ap.data(), s.n, s.n, w.data(), vp.data()));
  }
}

void Dgesvd(benchmark::State& state)
{
  const TSystem& s = System(int(state.range(0)));
  std::vector<double> sv(size_t(s.n)), u(size_t(s.n * s.n)), vt(u), super(size_t(s.n));
  for (auto _ : state) {
    std::vector<double> a = s.a;
    benchmark::DoNotOptimize(LAPACKE_dgesvd(LAPACK_ROW_MAJOR, 'S', 'S', s.n, s.n, a.data(), s.n, sv.data(),
                                            u.data(), s.n, vt.data(), s.n, super.data()));
  }
}

// ---- Triangles --------------------------------------------------------------------------------

constexpr int Pairs = 1000000;
using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using Plain = CGAL::Simple_cartesian<double>;

// 10^6 pairs in a box where about half of them meet.
const std::vector<std::array<double, 18>>& TrianglePairs()
{
  static const std::vector<std::array<double, 18>> pairs = [] {
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> u(0, 4), d(-3, 3);
    std::vector<std::array<double, 18>> v(Pairs);
    for (auto& p : v)
      for (int t = 0; t < 2; ++t) {
        const double c[3] = {u(g), u(g), u(g)};
        for (int k = 0; k < 9; ++k)
          p[size_t(9 * t + k)] = c[k % 3] + d(g);
      }
    return v;
  }();
  return pairs;
}

long Meeting[3];

void TriTri(benchmark::State& state)
{
  const auto& pairs = TrianglePairs();
  for (auto _ : state) {
    long n = 0;
    for (const auto& p : pairs)
      n += tri_tri_overlap_test_3d(&p[0], &p[3], &p[6], &p[9], &p[12], &p[15]);
    Meeting[0] = n;
  }
}

template <class K, int slot> void Cgal(benchmark::State& state)
{
  const auto& pairs = TrianglePairs();
  using P = typename K::Point_3;
  std::vector<std::array<typename K::Triangle_3, 2>> tris;
  tris.reserve(pairs.size());
  for (const auto& p : pairs)
    tris.push_back(
        {typename K::Triangle_3(P(p[0], p[1], p[2]), P(p[3], p[4], p[5]), P(p[6], p[7], p[8])),
         typename K::Triangle_3(P(p[9], p[10], p[11]), P(p[12], p[13], p[14]), P(p[15], p[16], p[17]))});
  for (auto _ : state) {
    long n = 0;
    for (const auto& t : tris)
      n += CGAL::do_intersect(t[0], t[1]);
    Meeting[slot] = n;
  }
}

BENCHMARK(Gauss)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(Dgesv)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(GivensQR)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(GivensQRQ)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(RRQR)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(Dgels)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(Svd)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(Dgesvd)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(TriTri)->Unit(benchmark::kMillisecond);
BENCHMARK(Cgal<Epick, 1>)->Name("CgalEpick")->Unit(benchmark::kMillisecond);
BENCHMARK(Cgal<Plain, 2>)->Name("CgalDouble")->Unit(benchmark::kMillisecond);

} // namespace

// Keeps the times under the full run names ("Gauss/50"), as the ratios pair sizes.
class TSizedRatios : public TRatioReporter
{
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    TRatioReporter::ReportRuns(runs);
    for (const auto& [name, ns] : ByName)
      NsPerIteration[name] = ns;
  }
};

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TSizedRatios reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  const char* pairs[][2] = {{"Gauss", "Dgesv"},
                            {"GivensQR", "Dgels"},
                            {"GivensQRQ", "Dgels"},
                            {"RRQR", "Dgels"},
                            {"Svd", "Dgesvd"}};
  std::printf("\n");
  for (const auto& p : pairs)
    for (int n : {50, 100, 200}) {
      const std::string a = std::string(p[0]) + "/" + std::to_string(n),
                        b = std::string(p[1]) + "/" + std::to_string(n);
      if (t.count(a) && t.count(b)) std::printf("n = %3d  %-8s / %-6s  %.2f\n", n, p[0], p[1], t[a] / t[b]);
    }
  for (const char* base : {"CgalEpick", "CgalDouble"})
    if (t.count("TriTri") && t.count(base) && Meeting[0] > 0)
      std::printf("%d triangle pairs: tri_tri_overlap_test_3d %.1f ns per pair, %s %.1f ns, ratio %.2f\n",
                  Pairs, t["TriTri"] / Pairs, base, t[base] / Pairs, t["TriTri"] / t[base]);
  std::printf("pairs that meet: exact test %ld, CGAL exact predicates %ld, CGAL plain doubles %ld\n",
              Meeting[0], Meeting[1], Meeting[2]);
  benchmark::Shutdown();
  return 0;
}
