// A command's overlay per frame, offscreen under Mesa's software rasteriser: 200 status lines and 50
// labels drawn through the widgets, against freeglut's stroke font drawing the same strings at the
// same size in the same context.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GlutStroke.h"
#include "RatioReporter.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txhost/gl/OffscreenContext.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/FrameView.h"
#include "txhost/lib/Host.h"

namespace {

constexpr int Lines = 200, Labels = 50, Size = 512;
std::vector<std::string> Texts;

class TOverlayCommand : public TBaseManager3D
{
public:
  TOverlayCommand() : TBaseManager3D(TString("b"), TString(""), txapi::pnEnterEscHelp, 9, TString("t"), nullptr) {}
};

TOverlayCommand* Command = nullptr;

void Prepare()
{
  for (int i = 0; i < Lines + Labels; ++i)
    Texts.push_back("Coupling MUVP-" + std::to_string(100 + i) + ": D 250, L 120");
  for (int i = 0; i < Lines; ++i)
    Command->StatusBar.LiftBox(TString(Texts[i].c_str()), 0);
  for (int i = 0; i < Labels; ++i) {
    auto* l = new TLabelOGL(Command, nullptr, TString(Texts[Lines + i].c_str()));
    l->Mate3D = false; // placed in pixels, not at a model point
    l->Origin = {10 + i % 2 * 250, Size - 10 - i / 2 * 20};
  }
}

void Overlay(benchmark::State& state)
{
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Command->DispatcherWnd3D.ClosePaintGL(0, {});
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * (Lines + Labels));
}

void GlutOverlay(benchmark::State& state)
{
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, Size, 0, Size, -1, 1);
    glColor3ub(0, 0, 0);
    for (int i = 0; i < Lines + Labels; ++i) {
      // The stroke font's capitals are about 100 units high; scale to the widgets' 24 pixels.
      glPushMatrix();
      glTranslated(i < Lines ? 20 : 10 + i % 2 * 250, i < Lines ? 20 + i * 2.5 : Size - 30 - (i - Lines) / 2 * 20, 0);
      glScaled(0.85 * 0.24, 0.24, 0.24);
      glutStrokeString(GLUT_STROKE_ROMAN, reinterpret_cast<const unsigned char*>(Texts[i].c_str()));
      glPopMatrix();
    }
    glPopMatrix();
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * (Lines + Labels));
}

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  hxgl::TOffscreenContext gl(Size, Size);
  if (!gl.Ok()) {
    std::fprintf(stderr, "bench_widgets: %s\n", gl.Error().c_str());
    return 1;
  }
  txhost::Host host;
  txhost::Object* document = host.NewDocument(txapi::txDocumentAssembly, true);
  txhost::ViewOf(txhost::DocumentFrame(host, *document)) = {0, 0, Size, Size};
  drApi::MA.R().Tavrix7 = &host.Application();
  auto command = std::make_unique<TOverlayCommand>();
  Command = command.get();
  Prepare();
  benchmark::RegisterBenchmark("Overlay", Overlay)->Unit(benchmark::kMillisecond);
  const bool glut = LetStrokeFontsRun();
  if (glut)
    benchmark::RegisterBenchmark("GlutOverlay", GlutOverlay)->Unit(benchmark::kMillisecond);
  else
    std::printf("freeglut's state is laid out differently: no stroke-font baseline\n");
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("Overlay") && t.count("GlutOverlay"))
    std::printf("\noverlay of %d status lines and %d labels: widgets %.2f ms, glutStrokeString %.2f ms, ratio %.2f\n",
                Lines, Labels, t["Overlay"] / 1e6, t["GlutOverlay"] / 1e6, t["Overlay"] / t["GlutOverlay"]);
  command.reset();
  CommandHost.Release();
  drApi::MA.R().Tavrix7 = nullptr;
  benchmark::Shutdown();
  return 0;
}
