// A scripted scene recorded on the surface and replayed offscreen, against a committed image.
// Set HXCAD_UPDATE_GOLDEN=1 to rewrite the image after a deliberate change, then look at it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "GLFixture.h"
#include "hxcadkit/geometry/GImage.h"

namespace {
void RecordScene(TGImage& g)
{
  for (int s = psSolid; s <= psClear; ++s) {
    g.drStyle(TPenStyles(s));
    g.drLine(8, 250 - 8 * s, 120, 250 - 8 * s);
  }
  g.drStyle(psThinSolid);
  g.drLineWidth(2);
  g.drColor(0, 128, 0);
  g.drLine(8, 180, 120, 180);
  g.drLineWidth(1);
  for (double R : {5.0, 9.99, 10.0, 25.0, 40.0})
    g.drCircle(190, 200, R);
  g.drColorStyle(clNone, psDashDot);
  g.drArc(60, 110, 40, 30, 150);
  g.drArc(60, 110, -30, 30, 150);
  g.drStyle(psSolid);
  g.drArc(190, 110, 35, 350, 10);
  g.drRectAngle(150, 80, 230, 140);
  g.drColor(0, 0, 0);
  g.drText(8, 40, 0, 24, TString("Hxq 123"));
  g.drText(8, 8, 0, 24, TString("Щиток №5 ° €"));
  g.drColor(160, 0, 0);
  g.drText(190, 40, 45, 24, TString("Ґґ"));
}
} // namespace

using GoldenScene = GLTest;

TEST_F(GoldenScene, RecordedSceneReplaysAsTheCommittedImage)
{
  TGImage g;
  g.InitFont();
  g.GradientBk(TColor(255, 255, 255), TColor(150, 190, 230));
  RecordScene(g);
  g.glDraw();
  g.glDraw(); // replay leaves the list as it was and draws the same again
  const hxgl::TImage im = GL.Read();
  const std::string path = std::string(HXCAD_TEST_DATA) + "/gl/scene.png";
  if (std::getenv("HXCAD_UPDATE_GOLDEN")) {
    ASSERT_TRUE(hxgl::WritePng(path, im));
  }
  hxgl::TImage golden;
  ASSERT_TRUE(hxgl::ReadPng(path, golden)) << path;
  // A few pixels may differ where another rasteriser rounds an edge the other way.
  const hxgl::TImageDiff d = hxgl::Compare(im, golden, 24);
  EXPECT_TRUE(d.SameSize);
  EXPECT_LE(d.Over, 40) << "worst channel difference " << d.Worst;
}
