// A preview mesh of a million vertices handed to the host's form: TMeshApi::Load against a plain loop that
// narrows the same doubles to floats and shifts the same indices.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "RatioReporter.h"
#include "hxcadkit/commands/MeshDraw.h"

namespace {

constexpr int Vertices = 1000000;
TMeshData Mesh;

void Prepare()
{
  Mesh.Points.SetSize(Vertices, true);
  Mesh.Normals.SetSize(Vertices, true);
  Mesh.TI.SetSize(2 * Vertices, true);
  for (int i = 0; i < Vertices; ++i) {
    Mesh.Points.Add(TPoint3D(i * 0.001, i % 977 * 0.5, -i * 1e-4));
    Mesh.Normals.Add(TVector3D(0, i % 2, 1 - i % 2));
  }
  for (int i = 0; i + 2 < 2 * Vertices; i += 3)
    for (int k = 0; k < 3; ++k)
      Mesh.TI.Add((i / 3 + k) % Vertices);
}

void Load(benchmark::State& state)
{
  for (auto _ : state) {
    TMeshApi a;
    a.Load(Mesh);
    a.Load(Mesh); // the second copy's indices are shifted
    benchmark::DoNotOptimize(a.P.data());
    benchmark::DoNotOptimize(a.IP.data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * Vertices);
}

void PlainLoop(benchmark::State& state)
{
  for (auto _ : state) {
    std::vector<float> p, n;
    std::vector<int> ip;
    for (int copy = 0; copy < 2; ++copy) {
      const int base = int(p.size() / 3);
      for (const TPoint3D& q : Mesh.Points)
        p.insert(p.end(), {float(q.x), float(q.y), float(q.z)});
      for (const TVector3D& q : Mesh.Normals)
        n.insert(n.end(), {float(q.x), float(q.y), float(q.z)});
      for (int i : Mesh.TI)
        ip.push_back(i + base);
    }
    benchmark::DoNotOptimize(p.data());
    benchmark::DoNotOptimize(ip.data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * Vertices);
}

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  Prepare();
  benchmark::RegisterBenchmark("Load", Load)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PlainLoop", PlainLoop)->Unit(benchmark::kMillisecond);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("Load") && t.count("PlainLoop"))
    std::printf("\nTMeshApi::Load of 2 x %d vertices: %.2f ms, plain conversion loop %.2f ms, ratio %.2f\n", Vertices,
                t["Load"] / 1e6, t["PlainLoop"] / 1e6, t["Load"] / t["PlainLoop"]);
  benchmark::Shutdown();
  return 0;
}
