// The drawing surface under Mesa's software rasteriser, offscreen:
// - replaying a full list of 524288 recorded lines against the same lines from one vertex
//   array with glDrawArrays;
// - drawing strings with the built-in font against freeglut's stroke font (glutStrokeString)
//   drawing the same strings in the same context.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "GlutStroke.h"
#include "RatioReporter.h"
#include "hxcadkit/geometry/GImage.h"
#include "txhost/gl/OffscreenContext.h"

namespace {

constexpr int Size = 256;
hxgl::TOffscreenContext* Context = nullptr;
std::unique_ptr<TGImage> Surface;
std::vector<GLdouble> Vertices;
const char* const Strings[] = {"The quick brown fox jumps over the lazy dog", "0123456789 +-*/=()",
                               "Coupling MUVP-250: D 250, L 120", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"};
constexpr int Repeats = 25; // string draws per iteration: 4 strings x 25

void Prepare()
{
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> at(0, Size), step(-3, 3);
  Surface = std::make_unique<TGImage>();
  Surface->InitFont();
  while (Surface->CountLElement < TGImage::MaxCountLElements) {
    const double x = at(rng), y = at(rng), x2 = x + step(rng), y2 = y + step(rng);
    Surface->drLine(x, y, x2, y2);
    Vertices.insert(Vertices.end(), {x, y, 0, x2, y2, 0});
  }
}

void Clear()
{
  Context->PixelOrtho();
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3ub(0, 0, 0);
}

void Replay(benchmark::State& state)
{
  for (auto _ : state) {
    Clear();
    Surface->glDraw();
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * TGImage::MaxCountLElements);
}

void VertexArray(benchmark::State& state)
{
  for (auto _ : state) {
    Clear();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_DOUBLE, 0, Vertices.data());
    glDrawArrays(GL_LINES, 0, GLsizei(Vertices.size() / 3));
    glDisableClientState(GL_VERTEX_ARRAY);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * TGImage::MaxCountLElements);
}

void FontText(benchmark::State& state)
{
  std::vector<TString> texts(std::begin(Strings), std::end(Strings));
  for (auto _ : state) {
    Clear();
    for (int r = 0; r < Repeats; ++r)
      for (const TString& t : texts)
        Surface->giTextOut(4, 4 + r * 9, 0, 10, t);
    glFinish();
  }
}

void GlutText(benchmark::State& state)
{
  for (auto _ : state) {
    Clear();
    for (int r = 0; r < Repeats; ++r)
      for (const char* s : Strings) {
        // The stroke font's capitals are about 100 units high; scale to the same 10 pixels.
        glPushMatrix();
        glTranslated(4, 4 + r * 9, 0);
        glScaled(0.085, 0.1, 0.1);
        glutStrokeString(GLUT_STROKE_ROMAN, reinterpret_cast<const unsigned char*>(s));
        glPopMatrix();
      }
    glFinish();
  }
}

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  hxgl::TOffscreenContext gl(Size, Size);
  if (!gl.Ok()) {
    std::fprintf(stderr, "bench_gl: %s\n", gl.Error().c_str());
    return 1;
  }
  Context = &gl;
  Prepare();
  benchmark::RegisterBenchmark("Replay", Replay)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("VertexArray", VertexArray)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FontText", FontText)->Unit(benchmark::kMicrosecond);
  const bool glut = LetStrokeFontsRun();
  if (glut)
    benchmark::RegisterBenchmark("GlutText", GlutText)->Unit(benchmark::kMicrosecond);
  else
    std::printf("freeglut's state is laid out differently: no stroke-font baseline\n");
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.NsPerIteration;
  if (t.count("Replay") && t.count("VertexArray"))
    std::printf("\nreplay of %d recorded lines: %.1f ms, one vertex array %.1f ms, ratio %.2f\n",
                TGImage::MaxCountLElements, t["Replay"] / 1e6, t["VertexArray"] / 1e6,
                t["Replay"] / t["VertexArray"]);
  if (t.count("FontText") && t.count("GlutText"))
    std::printf("%d strings: built-in font %.1f us, glutStrokeString %.1f us, ratio %.2f\n", 4 * Repeats,
                t["FontText"] / 1e3, t["GlutText"] / 1e3, t["FontText"] / t["GlutText"]);
  Surface.reset();
  benchmark::Shutdown();
  return 0;
}
