#include <cmath>

#include <gtest/gtest.h>

#include "RecordingModeler.h"

// The shared checks catch each way a drawing goes wrong, and pass a sound one.
TEST(RecordingModeler, SharedChecksCatchUnsoundDrawings)
{
  auto profile = [](TRecordingModeler& m, bool closed) {
    m.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
    m.drLine(0, 0, 10, 0, 1);
    m.drLine(10, 0, 10, 5, 1);
    m.drArc(5, 5, 5, 10, 5, 0, 5, 1, 1);
    if (closed) m.drLine(0, 5, 0, 0, 1);
    m.drLine(-2, 0, 12, 0, 3); // the axis bounds nothing
    m.drBaseRotate(0, 360);
  };
  TRecordingModeler good;
  profile(good, true);
  good.drHatch(0, 45, 2);
  good.drRectAngle(0, 0, 1, 1, 1);
  good.drEndObj();
  EXPECT_TRUE(DrawingSound(good));
  EXPECT_EQ(good.Sketches(), 1);
  EXPECT_EQ(good.SketchProfile(0).size(), 5u);

  TRecordingModeler open;
  profile(open, false);
  EXPECT_FALSE(DrawingSound(open));

  TRecordingModeler hatch;
  hatch.drHatch(0, 45, 2);
  hatch.drLine(0, 0, 1, 0, 1);
  hatch.drEndObj();
  EXPECT_FALSE(hatch.HatchesClosed());

  TRecordingModeler macro;
  macro.drMacro2D(true);
  EXPECT_FALSE(DrawingSound(macro));
  macro.drEndMacro();
  EXPECT_TRUE(DrawingSound(macro));
  macro.drEndMacro();
  EXPECT_FALSE(DrawingSound(macro));

  TRecordingModeler nan;
  nan.drCircle(0, std::nan(""), 1, 1);
  EXPECT_FALSE(DrawingSound(nan));

  // The host's guards: a line shorter than 1e-4 each way and a radius below 1e-4 are not drawn.
  TRecordingModeler tiny;
  tiny.drLine(0, 0, 5e-5, 5e-5, 1);
  tiny.drLine(0, 0, 2e-4, 0, 1);
  tiny.drCircle(0, 0, 5e-5, 1);
  EXPECT_EQ(tiny.Drawn().size(), 1u);
}
