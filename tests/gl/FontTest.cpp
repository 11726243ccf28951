// The built-in font: the block, measuring, building the display lists, outline cleaning.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "GLFixture.h"
#include "hxcadkit/geometry/GImage.h"
#include "tests/core/MessageRecorder.h"

namespace {
std::unique_ptr<TFontGlif> LoadedFont()
{
  auto f = std::make_unique<TFontGlif>(0);
  f->Load(FontGlifData, FontGlifDataSize);
  return f;
}
} // namespace

TEST(FontBlock, ReadsWholeWithTheGeneratedFigures)
{
  TKmfData S;
  ASSERT_TRUE(S.fromMemory(FontGlifData, FontGlifDataSize));
  EXPECT_EQ(S.Version(), 96);
  TFontGlif f(0);
  f.fromStream(S);
  EXPECT_EQ(S.Remaining(), 0);
  EXPECT_FALSE(S.ErrorReadFromFileToBufer);
  EXPECT_EQ(f.ListBase, 2000);
  int contours = 0, points = 0, mostPoints = 0, mostContours = 0;
  for (const TCharGlif& g : f.ACharGlif) {
    contours += g.Contours.Count;
    points += g.Points.Count;
    mostPoints = std::max(mostPoints, int(g.Points.Count));
    mostContours = std::max(mostContours, int(g.Contours.Count));
  }
  EXPECT_EQ(FontGlifDataSize, 263280);
  EXPECT_EQ((std::vector<int>{contours, points, mostContours, mostPoints}),
            (std::vector<int>{341, 10049, 7, 238}));
  EXPECT_EQ(f.ACharGlif[0].Points.Count + f.ACharGlif[160].Points.Count, 0);
  EXPECT_TRUE(TFontGlif().ACharGlif[65].Points.Empty());
}

TEST(FontMeasure, LenAndHeightOfKnownStrings)
{
  const auto f = LoadedFont();
  // DejaVu Sans: H is 1493 units high and advances 1541, so 53 and round(54.7) glyph units.
  EXPECT_DOUBLE_EQ(f->Height(TString("H"), 1), 0.53);
  EXPECT_DOUBLE_EQ(f->Len(TString("H"), 1), 0.55);
  EXPECT_DOUBLE_EQ(f->Len(TString("HHH"), 100), 3 * 0.55);
  EXPECT_DOUBLE_EQ(f->Len(TString("HHH"), 2), 2 * 0.55);
  EXPECT_EQ(f->Len(TString(""), 5), 0);
  EXPECT_EQ(f->Len(TString("H"), 0), 0);
  EXPECT_EQ(f->Height(TString("H"), -1), 0);
  // The Cyrillic capital at its code page byte (from the UTF-8 source text).
  EXPECT_DOUBLE_EQ(f->Height(TString("Н"), 1), 0.53);
  const TRect2D r = f->ACharGlif['H'].GetRect();
  EXPECT_EQ(r.LD.y, 53);
  EXPECT_EQ(r.RU.y - r.LD.y, 53);
}

TEST(FontOutline, EveryGlyphTessellatesWithoutError)
{
  // The glyph lists are built without an error or combine callback, so an outline that the
  // tessellator refuses (or that crosses itself and needs new vertices) would lose pieces
  // silently: tessellate each one here with both callbacks watching.
  static int errors, combines;
  const auto f = LoadedFont();
  using TCallback = void (*)();
  for (int c = 0; c < 256; ++c) {
    const TCharGlif& g = f->ACharGlif[c];
    errors = combines = 0;
    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<TCallback>(+[](GLenum) { ++errors; }));
    gluTessCallback(tess, GLU_TESS_COMBINE,
                    reinterpret_cast<TCallback>(+[](GLdouble*, void**, GLfloat*, void** out) {
                      ++combines;
                      *out = nullptr;
                    }));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<TCallback>(+[](void*) {}));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessBeginPolygon(tess, nullptr);
    for (Integer k = 0; k < g.Contours.Count; ++k) {
      gluTessBeginContour(tess);
      const Integer end = k + 1 < g.Contours.Count ? g.Contours[k + 1] : g.Points.Count;
      for (Integer i = g.Contours[k]; i < end; ++i)
        gluTessVertex(tess, const_cast<GLdouble*>(&g.Points[i].x), nullptr);
      gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    EXPECT_EQ(errors + combines, 0) << "glyph " << c;
  }
}

using FontGL = GLTest;

TEST_F(FontGL, InitFontBuildsEveryListOnceWithoutError)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  TGImage g;
  g.InitFont();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(rec.HostBoxes().empty());
  for (int c = 1; c < 256; ++c)
    EXPECT_EQ(bool(glIsList(2000 + c)), !g.Font.ACharGlif[c].Points.Empty()) << c;
  EXPECT_FALSE(glIsList(2000));
  // A second call builds nothing: deleted lists stay deleted.
  glDeleteLists(2001, 255);
  g.InitFont();
  EXPECT_FALSE(glIsList(2065));
  // The model-view matrix is where it was.
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[12], 0);
}

TEST(FontOutline, CleaningKeepsEveryContourOnItsOwnPoints)
{
  TCharGlif g;
  // Two squares; the first carries a doubled corner, the second a point 0.5 from its start.
  const double first[][2] = {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}};
  const double second[][2] = {{20, 20}, {20.5, 20}, {30, 20}, {30, 30}, {20, 30}};
  g.Contours.Add(0);
  for (auto& p : first)
    g.Points.Add(TPoint3D(p[0], p[1], 0));
  g.Contours.Add(g.Points.Count);
  for (auto& p : second)
    g.Points.Add(TPoint3D(p[0], p[1], 0));
  g.CheckSelfInterSect();
  ASSERT_EQ(g.Points.Count, 8);
  ASSERT_EQ(g.Contours.Count, 2);
  EXPECT_EQ(g.Contours[1], 4);
  EXPECT_EQ(g.Points[4].x, 20);
  EXPECT_EQ(g.Points[5].x, 30);
}
