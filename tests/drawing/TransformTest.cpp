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
