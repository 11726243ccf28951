// The shank on the recording modeller: its side view by drawing code, the end view and the pieces
// its flats remove, its sheet with three views and its part with the cross hole and flats; a shank
// of a standard code drawn and modelled as the ejector rod.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StdPartsSupport.h"

namespace {

using TCurve = TRecordingModeler::TCurve;
using TCurves = std::vector<TCurve>;

class Shank : public stdtest::TPartsTest
{
protected:
  Shank()
  {
    P.Radius = 10, P.CollarRadius = 15, P.Len = 100, P.ThreadLen = 20, P.ThreadRadius = 8, P.ThreadStep = 1.5;
    P.X90 = 12, P.X89 = 10, P.X88 = 6, P.R61 = 3, P.R97 = 4, P.R98 = 3, P.Y3 = 10, P.Y4 = 3;
  }
  // The side view at the origin, with the part's sizes as its sheet passes them.
  void Side(int tl, bool isSize)
  {
    Md.Reset();
    P.dr2D_V1(0, 0, 0, 1, P.CollarRadius, P.X90, P.X89, P.X88, P.R61, P.Radius, P.ThreadRadius, P.Len,
              P.ThreadLen, 2 * P.Radius - 3, P.Y3, P.Y4, P.R98, P.R97, tl, isSize);
  }
  // The collar's end face in the side view's frame.
  double XL() const { return P.ThreadLen - P.Len; }
  TMTail P{5, &Md, TConstruktor::Empty()};
};

int OfStyle(const TCurves& curves, int style)
{
  int n = 0;
  for (const auto& c : curves)
    n += c.Style == style;
  return n;
}

// The sizes and notes of the side view; a detail's callout makes a leader of its own.
int Annotations(const TRecordingModeler& m)
{
  return m.Count("drDimVL") + m.Count("drDimHL") + m.Count("drRough") + m.Count("drShelf");
}

// The cross holes: circles of the outline's style (a callout's circle is thin).
std::vector<TRecordingModeler::TCall> Holes(const TRecordingModeler& m)
{
  std::vector<TRecordingModeler::TCall> r;
  for (const auto& c : m.Of("drCircle"))
    if (c.A[3] == 1) r.push_back(c);
  return r;
}

bool Near(double a, double b)
{
  return std::fabs(a - b) < 1e-9;
}

TEST_F(Shank, TheBareSideViewIsTheAxisAndOneClosedHalfInStyleOne)
{
  Side(0, false);
  EXPECT_TRUE(DrawingSound(Md));
  ASSERT_EQ(OfStyle(Md.Curves, 3), 1);
  for (const auto& c : Md.Curves) {
    if (c.Style == 3) {
      EXPECT_EQ(std::vector<double>({c.x1, c.y1, c.x2, c.y2}), std::vector<double>({-85, 0, 22, 0}));
    }
  }
  const TCurves outline = TRecordingModeler::Outline(Md.Curves);
  EXPECT_EQ(int(outline.size()) + 1, int(Md.Curves.size())) << "nothing but the axis and style 1";
  EXPECT_EQ(OfStyle(outline, 1), int(outline.size()));
  EXPECT_TRUE(TRecordingModeler::ClosedChain(outline));
  const auto box = TRecordingModeler::Box(outline);
  EXPECT_EQ(std::vector<double>({box.x1, box.y1, box.x2, box.y2}), std::vector<double>({-80, 0, 20, 15}));
  // It starts at the drill point's tip, 2 mm past the bore's bottom, and comes back to it.
  EXPECT_TRUE(Near(outline.front().x1, 8) && Near(outline.front().y1, 0));
  EXPECT_TRUE(Near(outline.back().x2, 8) && Near(outline.back().y2, 0));
  EXPECT_EQ(Md.Count("drCircle") + Md.Count("drGroup") + Annotations(Md), 0);
  // A bore of no depth begins its cone at the end face.
  P.Y3 = 0;
  Side(0, false);
  EXPECT_TRUE(Near(Md.Curves[1].x1, 20) && Near(Md.Curves[1].y1, 0));
  EXPECT_TRUE(TRecordingModeler::ClosedChain(TRecordingModeler::Outline(Md.Curves)));
}

TEST_F(Shank, TheSheetsSideViewHasBothHalvesTheHoleTheZoneAndSeventeenItems)
{
  Side(1, true);
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Count("drGroup"), 0);
  // The bores' diameters, neither value fitting between its arrows, stand on the threaded end's view, its
  // arrow beside the end.
  EXPECT_EQ(Annotations(Md), 17);
  EXPECT_EQ(Md.Count("drWPointer"), 1);
  const auto holes = Holes(Md);
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_EQ(holes[0].A, (std::vector<double>{-74, 0, 3, 1}));
  // The hidden bore in both halves, the root line and drop lines in their negated styles.
  int above = 0, below = 0;
  for (const auto& c : Md.Curves)
    if (c.Style == 4) (c.y1 + c.y2 > 0 ? above : below)++;
  EXPECT_GT(above, 0);
  EXPECT_EQ(above, below);
  EXPECT_GT(OfStyle(Md.Curves, -2), 0);
  EXPECT_GT(OfStyle(Md.Curves, -1), 0);
  // The shoulder's line across the whole diameter, and the zone frame 3 mm outside the collar.
  bool shoulder = false;
  for (const auto& c : Md.Curves)
    shoulder = shoulder || (c.Kind == TCurve::Line && Near(c.x1, -68) && Near(c.x2, -68) && Near(c.y1, 10) &&
                            Near(c.y2, -10));
  EXPECT_TRUE(shoulder);
  TCurves zone;
  for (const auto& c : Md.Curves)
    if (c.Style == 3 && !(c.y1 == 0 && c.y2 == 0)) zone.push_back(c);
  const auto box = TRecordingModeler::Box(zone);
  EXPECT_EQ(std::vector<double>({box.x1, box.y1, box.x2, box.y2}), std::vector<double>({-83, -18, -68, 18}));
  // The thread: "M", its diameter, and the pitch as a drawing writes it.
  bool thread = false;
  for (const auto& c : Md.Of("drDimVL"))
    if (c.S[0] == TString("M")) {
      thread = true;
      EXPECT_EQ(c.A[0], 16.0);
      EXPECT_EQ(c.S[2], TString("&04~1,5-8g"));
    }
  EXPECT_TRUE(thread);
  const auto shelf = Md.Of("drShelf");
  ASSERT_EQ(shelf.size(), 2u);
  EXPECT_EQ(shelf[0].S[0], TString("А"));
  EXPECT_EQ(shelf[1].S[0], TString("HRCэ 42...46"));
  EXPECT_EQ(Md.Of("drCircleShelf")[0].A, (std::vector<double>{1.3, 8, 3, -14, 17}));

  // A collar as wide as the shank: no collar diameter, shoulder line or shoulder roughness.
  P.CollarRadius = P.Radius;
  Side(1, true);
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Annotations(Md), 16);
  EXPECT_EQ(Md.Of("drDimVL")[0].A[0], 0.0);
  for (const auto& c : Md.Drawn())
    EXPECT_FALSE(c.Kind == TCurve::Line && Near(c.x1, -68) && Near(c.x2, -68)) << "no shoulder line";
}

TEST_F(Shank, OneHalfAfterAClearedTemporaryGroup)
{
  for (const int tl : {11, 21}) {
    SCOPED_TRACE(tl);
    Side(tl, true);
    EXPECT_TRUE(DrawingSound(Md));
    const std::string ops = Md.Ops();
    EXPECT_EQ(ops.find("drMtr drGroup drMtr"), 0u);
    EXPECT_NE(ops.find("drDeleteMtr drEndGroup drClearRegion drLine"), std::string::npos);
    const auto shift = Md.Of("drMtr")[1].A;
    EXPECT_EQ(shift, (std::vector<double>{0.001, tl == 11 ? 0.001 : -0.001, 0, 1}));
    for (const auto& c : Md.Curves) {
      if (c.Style == 3) continue;
      if (tl == 11)
        EXPECT_GE(std::min(c.y1, c.y2), -1e-9);
      else
        EXPECT_LE(std::max(c.y1, c.y2), 1e-9);
    }
    EXPECT_TRUE(Holes(Md).empty());
    EXPECT_EQ(OfStyle(Md.Curves, 3), 1) << "the axis only, no zone";
    EXPECT_EQ(Annotations(Md), 17);
  }
}

TEST_F(Shank, TheEndViewAndTheRemovedPieces)
{
  Md.Reset();
  P.dr2D_V2(0, 0, 0, 1, 15, 0, 0, 0, 3, 0, 0, 0, 0, 17, 0, 0, 0, 0, 1, true);
  EXPECT_TRUE(DrawingSound(Md));
  const auto arcs = Md.Of("drArc");
  ASSERT_EQ(arcs.size(), 2u);
  const double h2 = std::sqrt(13.5 * 13.5 - 8.5 * 8.5), h = std::sqrt(15.0 * 15.0 - 8.5 * 8.5);
  EXPECT_EQ(arcs[0].A, (std::vector<double>{0, 0, 13.5, -8.5, h2, 8.5, h2, -1, 1}));
  EXPECT_EQ(arcs[1].A, (std::vector<double>{0, 0, 13.5, -8.5, -h2, 8.5, -h2, 1, 1}));
  EXPECT_EQ(Md.Of("drRectAngle")[0].A, (std::vector<double>{-8.5, -3, 8.5, 3, 4}));
  EXPECT_EQ(Md.Of("drDimHL")[0].A[1], -29.0 + h);
  // 15 + 12 - 8.5 = 18.5 goes to 19.
  EXPECT_EQ(Md.Of("drDimVL")[0].A[1], 19.0);
  Md.Reset();
  P.dr2D_V2(0, 0, 0, 1, 15, 0, 0, 0, 3, 0, 0, 0, 0, 17, 0, 0, 0, 0, 1, false);
  EXPECT_EQ(Annotations(Md), 0);

  Md.Reset();
  P.dr2D_Hvostovyk_Vo(0, 0, 0, 1, 15, 0, 0, 0, 0, 0, 0, 0, 0, 17);
  const auto rects = Md.Of("drRectAngle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].A, (std::vector<double>{-15, -h, -8.5, h, 1}));
  EXPECT_EQ(rects[1].A, (std::vector<double>{8.5, -h, 15, h, 1}));
  // Flats as wide as the collar take nothing away.
  Md.Reset();
  P.dr2D_Hvostovyk_Vo(0, 0, 0, 1, 15, 0, 0, 0, 0, 0, 0, 0, 0, 30);
  EXPECT_TRUE(Md.Drawn().empty());
  Md.Reset();
  P.dr2D_VZ(0, 0, 0, 1, 1);
  EXPECT_TRUE(Md.Calls.empty());
}

TEST_F(Shank, TheSheetHoldsTheSideViewTheEndViewAndTheDetail)
{
  Md.LeafStampAnswer = true;
  P.dr2D();
  EXPECT_TRUE(DrawingSound(Md));
  // The view's top is the collar's, as far below the frame's as the collar is wide.
  EXPECT_EQ(Md.Of("drLeafStampView1")[0].A, (std::vector<double>{5, 0, 0, -15, 1}));
  EXPECT_EQ(Md.Of("drCloseViewTDemCloseLeaf")[0].S,
            (std::vector<TString>{stdtest::Alone(TDemStr[19]), TString(), TString(), TString()}));
  EXPECT_EQ(Md.Of("drMtr")[0].A, (std::vector<double>{80, 0, 0, 1}));
  // The part from the collar end at 0 to the threaded end at Len, the collar circle 35 mm on.
  const auto side = TRecordingModeler::Box(TRecordingModeler::Outline(Md.Curves));
  EXPECT_TRUE(Near(side.x1, 0));
  const auto axle = Md.Of("drCircleAxle");
  ASSERT_EQ(axle.size(), 1u);
  bool collar = false;
  for (const auto& c : Md.Curves)
    collar = collar || (c.Kind == TCurve::Circle && Near(c.cx, 150) && Near(c.r, 15));
  EXPECT_TRUE(collar);
  // The groove's detail at four times its size, 80 mm below the collar.
  int details = 0;
  for (const auto& m : Md.Of("drMtr"))
    details += m.A == std::vector<double>{40, -95, 0, 4};
  EXPECT_EQ(details, 1);
  EXPECT_EQ(Md.Of("drText").back().S[0], TString("А(4:1)"));

  // A standard code: the rod alone, closed with the same texts.
  P.Code = 2001;
  Md.Reset();
  P.dr2D();
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Count("drCircleAxle") + Md.Count("drText") + Md.Count("drCircle"), 0);
  EXPECT_EQ(Md.Of("drCloseViewTDemCloseLeaf")[0].S,
            (std::vector<TString>{stdtest::Alone(TDemStr[19]), TString(), TString(), TString()}));
}

TEST_F(Shank, ThePartHasItsCrossHoleAndFlats)
{
  Md.NewPartPlaneAnswer = true;
  P.dr3D(0);
  EXPECT_TRUE(DrawingSound(Md));
  ASSERT_EQ(Md.Sketches(), 3);
  EXPECT_EQ(OfStyle(Md.SketchProfile(0), 3), 1) << "one axis under the revolved half";
  const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_EQ(std::vector<double>({box.x1, box.y1, box.x2, box.y2}), std::vector<double>({-80, 0, 20, 15}));
  const auto planes = Md.Of("drPlaneEskis");
  ASSERT_EQ(planes.size(), 2u);
  EXPECT_EQ(std::vector<double>(planes[0].A.begin(), planes[0].A.begin() + 3),
            (std::vector<double>{3, -15, 0}));
  EXPECT_EQ(std::vector<double>(planes[1].A.begin(), planes[1].A.begin() + 3),
            (std::vector<double>{1, 80, 0}));
  EXPECT_EQ(Md.Of("drCircle")[0].A, (std::vector<double>{-74, 0, 3, 1}));
  const auto cuts = Md.Of("drCutExtrusion");
  ASSERT_EQ(cuts.size(), 2u);
  // The cross hole across the whole collar; the flats from the collar's end face back.
  EXPECT_EQ(cuts[0].A, (std::vector<double>{0, 0, 30, 0}));
  EXPECT_EQ(cuts[1].A, (std::vector<double>{1, 0, 10, 0}));
  const double h = std::sqrt(15.0 * 15.0 - 8.5 * 8.5);
  const auto rects = Md.Of("drRectAngle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].A, (std::vector<double>{-15, -h, -8.5, h, 1}));
  EXPECT_EQ(rects[1].A, (std::vector<double>{8.5, -h, 15, h, 1}));

  // No cross hole for a radius within 2e-6 of none; the flats all the same.
  for (const double r : {0.0, 2e-6, -2e-6}) {
    P.R61 = r;
    Md.Reset();
    P.dr3D(0);
    EXPECT_EQ(Md.Sketches(), 2) << r;
    EXPECT_EQ(Md.Count("drCutExtrusion"), 1) << r;
    EXPECT_EQ(Md.Of("drPlaneEskis")[0].A[0], 1) << r;
  }
  P.R61 = 3e-6;
  Md.Reset();
  P.dr3D(0);
  EXPECT_EQ(Md.Count("drCutExtrusion"), 2);

  // Flats as wide as the collar cut nothing that could be seen.
  P.CollarRadius = P.Radius - 1.5;
  Md.Reset();
  P.dr3D(0);
  EXPECT_TRUE(DrawingSound(Md));
  for (const auto& c : Md.Drawn())
    EXPECT_NE(c.Sketch, 2);
}

TEST_F(Shank, AStandardCodeRevolvesTheRodTurnedAndCutsOnlyItsFlats)
{
  P.Code = 2001;
  Md.NewPartPlaneAnswer = true;
  P.dr3D(0);
  EXPECT_TRUE(DrawingSound(Md));
  const auto turned = Md.Of("drMtr")[0].A;
  EXPECT_EQ(turned, (std::vector<double>{0, 0, 180, 1}));
  ASSERT_EQ(Md.Sketches(), 2);
  EXPECT_FALSE(Md.SketchProfile(0).empty());
  EXPECT_EQ(OfStyle(Md.SketchProfile(0), 3), 1);
  const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_LE(box.x2, 1e-9) << "turned over to the left";
  EXPECT_EQ(Md.Of("drPlaneEskis")[0].A[0], 1);
  EXPECT_EQ(Md.Count("drCutExtrusion"), 1);
  EXPECT_EQ(Md.Count("drCircle"), 0);
}

TEST_F(Shank, NothingButTheOpeningCallWhenNothingOpens)
{
  for (const int code : {0, 2001}) {
    P.Code = code;
    Md.Reset();
    P.dr2D();
    for (const auto& c : Md.Calls)
      EXPECT_TRUE(c.Op == "drLeafStampView1" || c.Op == "drLeafStamp") << c.Op;
    Md.Reset();
    P.dr3D(0);
    ASSERT_EQ(Md.Calls.size(), 1u);
    EXPECT_EQ(Md.Calls[0].Op, "drCreate3DNewPartPlane");
  }
}

// Sizes that would put no number into the modeller: the views draw nothing and the frames stay
// balanced; a pitch that is no number still makes a text.
TEST_F(Shank, SizesThatAreNoNumberDrawNothing)
{
  Md.LeafStampAnswer = Md.NewPartPlaneAnswer = true;
  for (Real* f : {&P.CollarRadius, &P.Len, &P.Y3, &P.R61, &P.X88}) {
    const Real keep = *f;
    for (const double v : {std::nan(""), 1e300, -1e300}) {
      *f = v;
      Md.Reset();
      P.dr2D();
      P.dr3D(0);
      EXPECT_TRUE(DrawingSound(Md)) << v;
    }
    *f = keep;
  }
  P.ThreadStep = std::nan("");
  Md.Reset();
  P.dr2D();
  EXPECT_TRUE(DrawingSound(Md));
}

} // namespace
