#include <gtest/gtest.h>

#include "RecordingModeler.h"

TEST(Transf2D, NestedPlacementsActInnermostFirst)
{
  TRecordingModeler m;
  TTransf2D& t = m.R2D().Transf2D;
  double X = 0, Y = 0;
  EXPECT_EQ(t.ScaleMtr(), 1.0);
  EXPECT_EQ(t.AngleMtr(), 0.0);
  t.xyMtr(3.0, 4.0, X, Y);
  EXPECT_EQ(X, 3.0);
  EXPECT_EQ(Y, 4.0);
  m.drDeleteMtr(); // harmless on an empty stack, but counted as an underflow
  EXPECT_EQ(m.TransformDepth(), 0);
  EXPECT_FALSE(m.Balanced());

  TRecordingModeler n;
  n.drMtr(10, 20, 90, 2);
  TTransf2D& u = n.R2D().Transf2D;
  u.xyMtr(1.0, 0.0, X, Y);
  EXPECT_NEAR(X, 10.0, 1e-12);
  EXPECT_NEAR(Y, 22.0, 1e-12);
  EXPECT_NEAR(u.ScaleMtr(), 2.0, 1e-12);
  EXPECT_NEAR(u.AngleMtr(), 90.0, 1e-9);
  n.drMtr(1, 0, 0, 1); // the inner placement moves first, then the outer one
  u.xyMtr(0.0, 0.0, X, Y);
  EXPECT_NEAR(X, 10.0, 1e-12);
  EXPECT_NEAR(Y, 22.0, 1e-12);
  n.drDeleteMtr();
  n.drDeleteMtr();
  EXPECT_TRUE(DrawingSound(n));
}

// The angle form of an arc (radians, style before direction) ends in the points form, and the
// recorded curve is placed, scaled and, under a mirroring placement, reversed.
TEST(Transf2D, ArcByAnglesAndPlacedCurves)
{
  TRecordingModeler m;
  m.drArc(1.0, 1.0, 2.0, 0.0, TMathDef::C_PI / 2, 4, -1);
  const auto a = m.Of("drArc");
  ASSERT_EQ(a.size(), 1u);
  const std::vector<double> want = {1, 1, 2, 3, 1, 1, 3, -1, 4};
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(a[0].A[i], want[i], 1e-12) << i;

  m.Reset();
  m.drMtr(5, 0, 0, 3);
  m.R2D().Transf2D.AMtr.Last().ScaleY(-1); // a mirroring placement
  m.drArc(0, 0, 1, 1, 0, 0, 1, 1, 1);
  m.drCircle(1, 0, 1, 2);
  m.drDeleteMtr();
  const auto& arc = m.Curves[0];
  EXPECT_EQ(arc.Dir, -1);
  EXPECT_NEAR(arc.r, 3.0, 1e-12);
  EXPECT_NEAR(arc.x1, 8.0, 1e-12);
  EXPECT_NEAR(arc.y2, -3.0, 1e-12);
  EXPECT_NEAR(m.Curves[1].cx, 8.0, 1e-12);
  const auto box = TRecordingModeler::Box({arc});
  EXPECT_NEAR(box.x2, 8.0, 1e-12);
  EXPECT_NEAR(box.y1, -3.0, 1e-12);
}
