// The drawing surface: recording and replay, segment counts, the gradient, the mouse view
// command, and contours and keep-out zones recorded on it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "GLFixture.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Protector.h"

namespace {

// Line segments the drawing hands to the rasteriser, counted in feedback mode.
int LineSegments(const std::function<void()>& draw)
{
  std::vector<GLfloat> buffer(1 << 16);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const int n = glRenderMode(GL_RENDER);
  int lines = 0;
  for (int i = 0; i < n;) {
    const GLfloat token = buffer[i];
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      ++lines;
      i += 5;
    } else {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
  }
  return lines;
}

GLint ModelViewDepth()
{
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  return depth;
}

} // namespace

using GImageTest = GLTest;

TEST_F(GImageTest, RecordsWithTheGuardsAndBoundsTheList)
{
  auto g = std::make_unique<TGImage>();
  g->drArc(1, 2, -5, 10, 80);
  const TGImage::TGElement& arc = g->LElements[0];
  EXPECT_EQ(arc.TE, eArc);
  EXPECT_EQ((std::vector<double>{arc.xc, arc.yc, arc.R, arc.Sa, arc.Ea}),
            (std::vector<double>{1, 2, 5, 80, 10}));
  g->drCircle(0, 0, 0);
  g->drArc(0, 0, 0, 1, 2);
  g->drRectAngle(1, 1, 1, 5);
  g->drText(0, 0, 0, 1, TString(""));
  EXPECT_EQ(g->CountLElement, 1);
  g->drText(0, 0, 0, 1, TString("ab"));
  g->drColorStyle(TColor(10, 20, 30), psDash);
  EXPECT_EQ(*g->LElements[1].S->PChar(), 'a');
  const TGImage::TGElement& cs = g->LElements[2];
  EXPECT_EQ((std::vector<int>{cs.cR, cs.cG, cs.cB, cs.St}), (std::vector<int>{10, 20, 30, psDash}));

  // A full list takes no more; the store is exactly the list's size, so the sanitiser sees
  // any write past it.
  while (g->CountLElement < TGImage::MaxCountLElements)
    g->drLine(0, 0, 1, 1);
  g->drText(0, 0, 0, 1, TString("lost"));
  g->drLine(0, 0, 1, 1);
  EXPECT_EQ(g->CountLElement, TGImage::MaxCountLElements);
  g->drClear();
  EXPECT_EQ(g->CountLElement, 0);
  // Texts still recorded when the surface goes are freed with it (the leak check sees them).
  g->drText(0, 0, 0, 1, TString("kept until the end"));
}

TEST_F(GImageTest, ReplayOfAnEmptyListMakesNoCall)
{
  // Inside glBegin/glEnd nearly every call is an error, so any call of the replay shows.
  TGImage g;
  glBegin(GL_POINTS);
  g.glDraw();
  glEnd();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  g.drLineWidth(2);
  glBegin(GL_POINTS);
  g.glDraw();
  glEnd();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
}

TEST_F(GImageTest, SegmentCountsFollowTheRadiusWithinBounds)
{
  TGImage g;
  // The loop repeats its first vertex, which closes with one more (empty) segment.
  struct TCase
  {
    double R;
    int segments;
  } circles[] = {{9.99, 16}, {10, 32}, {25, 48}, {-15, 32}, {1e9, 4096}};
  for (const TCase& c : circles) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2 * std::abs(c.R), 2 * std::abs(c.R), -2 * std::abs(c.R), 2 * std::abs(c.R), -1, 1);
    EXPECT_EQ(LineSegments([&] { g.giCircle(0, 0, c.R); }), c.segments + 1) << c.R;
  }
  g.giCircle(0, 0, 1e300); // no overflow, no endless loop
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-50, 50, -50, 50, -1, 1);
  EXPECT_EQ(LineSegments([&] { g.giArc(0, 0, 25, 350, 10); }), 32);
  EXPECT_EQ(LineSegments([&] { g.giArc(0, 0, 2e6, 0, 90); }), 0);
}

TEST_F(GImageTest, GradientTopColourRendersAsGiven)
{
  TGImage g;
  g.GradientBk(UpBkColor, TColor(0, 0, 128));
  const hxgl::TImage im = GL.Read();
  const unsigned char* top = im.At(Size / 2, 0);
  const unsigned char* bottom = im.At(Size / 2, Size - 1);
  EXPECT_GE(top[0], 250); // 0xFE taken as a signed byte would clamp to black
  EXPECT_GE(top[1], 250);
  EXPECT_NEAR(bottom[2], 128, 2);
  EXPECT_LE(bottom[0], 2);
}

TEST_F(GImageTest, MoveDragPansByTheCursorTravel)
{
  TGImage g;
  TGImage::TKeys drag;
  drag.Drag = true;
  g.SetCommand(TGImage::cMove);
  g.MouseDown(drag, 100, 100);
  EXPECT_EQ(ModelViewDepth(), 2);
  g.MouseMove(drag, 110, 90);
  g.MouseUp(drag, 110, 90);
  EXPECT_EQ(ModelViewDepth(), 1);
  EXPECT_NEAR(g.mtrMatrix.V[12], 10, 1e-6);
  EXPECT_NEAR(g.mtrMatrix.V[13], 10, 1e-6);
}

TEST_F(GImageTest, CommandCyclesAndDragsLeaveTheMatrixStackAsFound)
{
  TGImage g;
  TGImage::TKeys cycle;
  cycle.Switch = true;
  const TGImage::GICommands after[] = {TGImage::cMove, TGImage::cScale, TGImage::cMove};
  for (TGImage::GICommands c : after) {
    g.MouseDown(cycle, 5, 5);
    EXPECT_EQ(g.Command, c);
  }
  g.SetCommand(TGImage::cRotate);
  g.MouseDown(cycle, 5, 5);
  EXPECT_EQ(g.Command, TGImage::cRotate);

  std::mt19937 rng(7);
  for (int step = 0; step < 400; ++step) {
    TGImage::TKeys k;
    k.Drag = rng() % 2;
    k.Switch = rng() % 4 == 0;
    k.Pick = rng() % 8 == 0;
    const int x = int(rng() % Size), y = int(rng() % Size);
    switch (rng() % 3) {
    case 0:
      g.MouseDown(k, x, y);
      break;
    case 1:
      g.MouseMove(k, x, y);
      break;
    default:
      g.MouseUp(k, x, y);
      ASSERT_EQ(ModelViewDepth(), 1) << "step " << step;
      if (step % 50 == 0) g.SetCommand(TGImage::GICommands(rng() % 4));
    }
  }
  g.Set3D(false);
  EXPECT_FALSE(g.IsSet3D());
  EXPECT_TRUE(TGImage().IsSet3D());
}

TEST_F(GImageTest, ContourMembersAndZonesRecordWithTheirPens)
{
  auto* c = new TContour;
  c->Add(new TLineSeg(0, 0, 10, 0, 1));
  c->Add(new TCircle(5, 5, 3, 2));
  c->Add(new TArc(0, 0, -4, 0, std::numbers::pi / 2, 3));
  c->Add(new TText(1, 2, 30, 5, TString("T")));
  c->Add(new TLineSeg(0, 0, 0, 10, 9));
  c->Refresh();
  TGImage g;
  c->GIdrItems(g, 0);
  std::vector<int> kinds, pens;
  for (int i = 0; i < g.CountLElement; ++i) {
    kinds.push_back(g.LElements[i].TE);
    if (g.LElements[i].TE == eSetStyle) pens.push_back(g.LElements[i].St);
  }
  EXPECT_EQ(kinds, (std::vector<int>{eSetStyle, eLine, eSetStyle, eCircle, eSetStyle, eArc, eSetStyle, eColor,
                                     eTextOut, eSetStyle, eLine}));
  EXPECT_EQ(pens, (std::vector<int>{psSolid, psThinSolid, psDashDot, psThinSolid, psThinSolid}));
  // The clockwise arc is recorded counter-clockwise from its end to its start.
  const TGImage::TGElement& arc = g.LElements[5];
  const TArc* a = static_cast<const TArc*>((*c)[2]);
  EXPECT_EQ(arc.R, 4);
  EXPECT_NEAR(arc.Sa, a->GetA2() * 180 / std::numbers::pi, 1e-9);
  EXPECT_NEAR(arc.Ea, a->GetA1() * 180 / std::numbers::pi, 1e-9);

  TProtector zones;
  zones.AddProtectContour(c);
  g.drClear();
  zones.Draw(g);
  EXPECT_EQ(g.CountLElement, 11);
  EXPECT_EQ(g.LElements[2].St, psDashDot);
}
