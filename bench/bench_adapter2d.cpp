// The host modeller's plane primitives against the stand-in host's own cost, and its curve
// collector against a plain vector of curves.
// Host: 10^6 drLine/drArc/drCircle calls (in turn) into view 0 of stand-in drawings, 10^4 per
// drawing; baseline: the same objects made straight through the stand-in's collections with the
// same property writes and updates. Collector: 10^6 lines and arcs drawn into an open collector;
// baseline: the equal curves, their arc angles computed beforehand, pushed on a std::vector.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Elements.h"
#include "txapi/txapi.h"
#include "txhost/lib/Host.h"

namespace {

using drApi::MA;
using txapi::SmartPtr;

constexpr int PerDrawing = 10000;
constexpr int Drawings = 100;
constexpr int Collected = 1000000;

// A fresh host with a drawing whose view 0 is the modeller's container.
struct Sheet
{
  Sheet()
  {
    txhost::Object* doc = H.NewDocument(txapi::txDocumentDrawing, true);
    MA.R().IDoc2D = SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
    MA.drOpenView(0);
  }
  ~Sheet()
  {
    drApi::TRegistryApi& r = MA.R();
    r.IDoc2D.reset();
    r.View.reset();
    r.DrawingContainer.reset();
    r.Symbols2DContainer.reset();
    r.LastObj.reset();
    MA.R2D().CurDrawingObject.reset();
  }
  txhost::Host H;
};

double V(int i)
{
  return double(i % 97);
}

void Adapter(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    {
      Sheet s;
      state.ResumeTiming();
      for (int i = 0; i < PerDrawing; ++i)
        switch (i % 3) {
        case 0:
          MA.drLine(V(i), 0, V(i), 10, 1);
          break;
        case 1:
          MA.drArc(V(i), 0, 5, V(i) + 5, 0, V(i), 5, 1, 1);
          break;
        default:
          MA.drCircle(V(i), 0, 5, 1);
          break;
        }
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

void Direct(benchmark::State& state)
{
  for (auto _ : state) {
    state.PauseTiming();
    {
      Sheet s;
      state.ResumeTiming();
      const SmartPtr<txapi::IDrawingContainer> c = MA.R().DrawingContainer;
      for (int i = 0; i < PerDrawing; ++i)
        switch (i % 3) {
        case 0: {
          SmartPtr<txapi::ILineSegment> l = c->GetLineSegments()->Add();
          l->SetPoints(V(i), 0, V(i), 10);
          l->SetStyle(txapi::txCSNormal);
          l->Update();
          break;
        }
        case 1: {
          SmartPtr<txapi::IArc> a = c->GetArcs()->Add();
          a->SetArc(V(i), 0, V(i) + 5, 0, V(i), 5, 5, false);
          a->SetStyle(txapi::txCSNormal);
          a->Update();
          break;
        }
        default: {
          SmartPtr<txapi::ICircle> k = SmartPtr<txapi::ICircles>(c)->Add();
          k->SetCircle(V(i), 0, 5);
          k->SetStyle(txapi::txCSNormal);
          k->Update();
          break;
        }
        }
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

void Collector(benchmark::State& state)
{
  for (auto _ : state) {
    TContour c;
    MA.R2D().AContour.Push(&c);
    for (int i = 0; i < Collected; ++i)
      if (i % 2 == 0)
        MA.drLine(V(i), 0, V(i), 10, 1);
      else
        MA.drArc(V(i), 0, 5, V(i) + 5, 0, V(i), 5, 1, 1);
    MA.R2D().AContour.Pop();
    benchmark::DoNotOptimize(c.Count);
  }
}

void Vector(benchmark::State& state)
{
  for (auto _ : state) {
    std::vector<std::unique_ptr<TCurve2D>> v;
    for (int i = 0; i < Collected; ++i)
      if (i % 2 == 0) {
        v.push_back(std::make_unique<TLineSeg>(V(i), 0, V(i), 10, 1));
      } else {
        auto a = std::make_unique<TArc>(V(i), 0, 5, 0, M_PI / 2, 1);
        a->InitByPositionAngles(0, M_PI / 2, TArc::BackClockWise);
        v.push_back(std::move(a));
      }
    benchmark::DoNotOptimize(v.data());
  }
}

BENCHMARK(Adapter)->Iterations(Drawings)->Unit(benchmark::kMillisecond);
BENCHMARK(Direct)->Iterations(Drawings)->Unit(benchmark::kMillisecond);
BENCHMARK(Collector)->Unit(benchmark::kMillisecond);
BENCHMARK(Vector)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("Adapter") && t.count("Direct"))
      std::printf("\n%d primitive calls into the stand-in: adapter %.0f ms, direct %.0f ms, ratio %.2f\n",
                  PerDrawing * Drawings, t["Adapter"] * Drawings / 1e6, t["Direct"] * Drawings / 1e6,
                  t["Adapter"] / t["Direct"]);
    if (t.count("Collector") && t.count("Vector"))
      std::printf("%d curves collected: collector %.0f ms, std::vector %.0f ms, ratio %.2f\n", Collected,
                  t["Collector"] / 1e6, t["Vector"] / 1e6, t["Collector"] / t["Vector"]);
  });
}
