// The evaluator's solids against volumes worked out by hand.
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

#include "txhost/gl/OffscreenContext.h"

#include <gtest/gtest.h>

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Builder.hxx>
#include <Bnd_Box.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <random>
#include <regex>
#include <sstream>
#include <tuple>

namespace {

using namespace txhost::solid;
constexpr double Pi = std::numbers::pi;

TLoop Rect(double u0, double v0, double u1, double v1)
{
  auto line = [](double a, double b, double c, double d) {
    TCurve2 l;
    l.X1 = a, l.Y1 = b, l.X2 = c, l.Y2 = d;
    return l;
  };
  return {line(u0, v0, u1, v0), line(u1, v0, u1, v1), line(u1, v1, u0, v1), line(u0, v1, u0, v0)};
}

TLoop Round(double x, double y, double r)
{
  TCurve2 c;
  c.Kind = TCurve2::Circle;
  c.Xc = x, c.Yc = y, c.R = r;
  return {c};
}

TLoop Gon(double x, double y, double r, int n)
{
  TLoop loop;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * Pi * k / n, b = 2 * Pi * (k + 1) / n;
    TCurve2 l;
    l.X1 = x + r * std::cos(a), l.Y1 = y + r * std::sin(a), l.X2 = x + r * std::cos(b), l.Y2 = y + r * std::sin(b);
    loop.push_back(l);
  }
  return loop;
}

// A profile on the XOY plane swept along z over [from, to].
TFeature Prism(std::vector<TLoop> loops, double from, double to, bool cut = false, double grow = 0)
{
  TFeature f;
  f.Kind = cut ? "cut" : "boss";
  f.Cut = cut;
  f.Loops = std::move(loops);
  f.From = from, f.To = to, f.Grow = grow;
  return f;
}

TFeature Box(double x0, double y0, double z0, double x1, double y1, double z1, bool cut = false)
{
  return Prism({Rect(x0, y0, x1, y1)}, z0, z1, cut);
}

// A rectangle of the XOY plane (u along x) turned about the x axis.
TFeature Turned(double x0, double r0, double x1, double r1, double angle = 360)
{
  TFeature f;
  f.Shape = TFeature::Rotation;
  f.Kind = "rotated";
  f.Loops = {Rect(x0, r0, x1, r1)};
  f.Angle = angle;
  return f;
}

TEST(SolidPart, RevolvedRectangleIsARing)
{
  const TPartResult p = BuildPart({Turned(0, 5, 20, 10)});
  EXPECT_NEAR(p.Volume, Pi * (100 - 25) * 20, 1e-6 * p.Volume);
  EXPECT_EQ(p.Solids, 1);
  ASSERT_EQ(p.Features.size(), 1u);
  EXPECT_STREQ(p.Features[0].Effect(), "adds");
  // A quarter turn, a quarter of the ring.
  EXPECT_NEAR(BuildPart({Turned(0, 5, 20, 10, -90)}).Volume, Pi * 75 * 5, 1e-6 * p.Volume);
}

// Turned arcs become tori: a ring with a round bead on it, whole, half turned and cut in half, keeps the
// volume of Pappus's rule whichever way its arc is drawn.
TEST(SolidPart, TurnedArcKeepsItsVolumeAsATorus)
{
  TLoop bead = Rect(0, 20, 10, 30);
  bead[2].Kind = TCurve2::Arc;
  bead[2].Xc = 5, bead[2].Yc = 30, bead[2].R = 5;
  const double halfDisc = Pi * 25 / 2, centroid = 30 + 4 * 5 / (3 * Pi);
  const double whole = Pi * (900 - 400) * 10 + halfDisc * 2 * Pi * centroid;
  for (bool clockwise : {false, true}) {
    SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
    TLoop loop = bead;
    if (clockwise) {
      // The same outline the other way round: the arc from (0, 30) to (10, 30) over the top.
      std::reverse(loop.begin(), loop.end());
      for (TCurve2& c : loop)
        std::swap(c.X1, c.X2), std::swap(c.Y1, c.Y2);
      for (TCurve2& c : loop)
        if (c.Kind == TCurve2::Arc) c.Clockwise = true;
    }
    TFeature turned = Turned(0, 20, 10, 30);
    turned.Loops = {loop};
    const TPartResult p = BuildPart({turned});
    EXPECT_NEAR(p.Volume, whole, 1e-6 * whole);
    EXPECT_EQ(p.Solids, 1);
    turned.Angle = 180;
    EXPECT_NEAR(BuildPart({turned}).Volume, whole / 2, 1e-6 * whole);
    turned.Angle = 360;
    const TPartResult cut = BuildPart({turned, Box(-1, -40, -40, 11, 0, 40, true)});
    EXPECT_NEAR(cut.Volume, whole / 2, 1e-6 * whole);
    EXPECT_EQ(cut.Solids, 1);
  }
}

TEST(SolidPart, KeywayCutRemovesTheSegmentAboveItsFloor)
{
  // A shaft of radius 10, 20 long, with a keyway 4 wide whose floor is 8 from the axis.
  const double r = 10, floor = 8, half = 2, length = 20;
  const TPartResult p = BuildPart({Turned(0, 0, length, r), Box(-1, floor, -half, length + 1, r + 1, half, true)});
  auto primitive = [&](double z) { return (z * std::sqrt(r * r - z * z) + r * r * std::asin(z / r)) / 2; };
  const double removed = length * (primitive(half) - primitive(-half) - 2 * half * floor);
  ASSERT_EQ(p.Features.size(), 2u);
  EXPECT_NEAR(p.Features[1].Changed, removed, 1e-5 * removed);
  EXPECT_NEAR(p.Volume, Pi * r * r * length - removed, 1e-5 * p.Volume);
  EXPECT_STREQ(p.Features[1].Effect(), "removes");
}

// A cut of many faces (the teeth of a wheel) from a turned body goes through the body split into sectors
// and merged again: the teeth left are those of the outline.
TEST(SolidPart, ToothedCutOfATurnedBodyLeavesTheOutline)
{
  TFeature teeth = Prism({Rect(-20, -20, 20, 20), Gon(0, 0, 8, 60)}, -1, 21, true);
  teeth.Frame = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}}; // on YOZ, along the turned body's axis
  const TPartResult p = BuildPart({Turned(0, 0, 20, 10), teeth});
  const double outline = 30 * 64 * std::sin(2 * Pi / 60);
  ASSERT_EQ(p.Features.size(), 2u);
  EXPECT_NEAR(p.Features[1].Changed, (Pi * 100 - outline) * 20, 1e-6 * Pi * 100 * 20);
  EXPECT_NEAR(p.Volume, outline * 20, 1e-6 * p.Volume);
  EXPECT_EQ(p.Solids, 1);
}

TEST(SolidPart, HolePatternAndTaperedHole)
{
  const TPartResult holes = BuildPart(
      {Box(-50, -50, 0, 50, 50, 10), Prism({Round(25, 25, 5), Round(-25, 25, 5), Round(-25, -25, 5), Round(25, -25, 5)},
                                           -1, 11, true)});
  EXPECT_NEAR(holes.Features[1].Changed, 4 * Pi * 25 * 10, 1e-6 * 1000 * Pi);
  EXPECT_EQ(holes.Solids, 1);
  // A tapered hole widening away from its sketch: radius 5 at the sketch plane, 6 ten deeper.
  const TPartResult cone = BuildPart({Box(-20, -20, 0, 20, 20, 10), Prism({Round(0, 0, 5)}, 0, 10, true, 0.1)});
  EXPECT_NEAR(cone.Features[1].Changed, Pi * 10 / 3 * (25 + 30 + 36), 1e-5 * 300 * Pi);
  // Narrowing below the sketch plane: radius 5 at z = 0 to 4 at z = -10, cut into a block under the plane.
  const TPartResult narrow = BuildPart({Box(-20, -20, -10, 20, 20, 0), Prism({Round(0, 0, 5)}, -10, 0, true, -0.1)});
  EXPECT_NEAR(narrow.Features[1].Changed, Pi * 10 / 3 * (25 + 20 + 16), 1e-5 * 300 * Pi);
  // A tapered square boss with a square hole: the region widens, the hole narrows (sides 10 and 4 at the
  // sketch plane, 12 and 2 ten further).
  const TPartResult frame = BuildPart({Prism({Rect(-5, -5, 5, 5), Rect(-2, -2, 2, 2)}, 0, 10, false, 0.1)});
  auto frustum = [](double a, double b) { return 10.0 / 3 * (a * a + a * b + b * b); };
  EXPECT_NEAR(frame.Volume, frustum(10, 12) - frustum(4, 2), 1e-6 * 1000);
}

TEST(SolidPart, ArcSenseChoosesTheHalfDisc)
{
  // A half disc closed by the line x = 0: counter-clockwise from (0, 5) to (0, -5) it lies at x < 0,
  // clockwise at x > 0. Cut from a block at x > 0, only the clockwise one removes anything; the other only
  // touches the block's face.
  for (bool clockwise : {false, true}) {
    TCurve2 chord;
    chord.X1 = 0, chord.Y1 = -5, chord.X2 = 0, chord.Y2 = 5;
    TCurve2 arc;
    arc.Kind = TCurve2::Arc;
    arc.X1 = 0, arc.Y1 = 5, arc.X2 = 0, arc.Y2 = -5, arc.R = 5, arc.Clockwise = clockwise;
    const TPartResult p = BuildPart({Box(0, -10, 0, 10, 10, 10), Prism({{chord, arc}}, -1, 11, true)});
    ASSERT_EQ(p.Features.size(), 2u);
    EXPECT_TRUE(p.Features[1].Error.empty()) << p.Features[1].Error;
    EXPECT_NEAR(p.Features[1].Tool, 12.5 * Pi * 12, 1e-6 * 150 * Pi);
    EXPECT_NEAR(p.Features[1].Changed, clockwise ? 12.5 * Pi * 10 : 0, 1e-6 * 125 * Pi) << clockwise;
  }
}

// The internal teeth of a sleeve about (cx, cy): z teeth, tips at radius ra and roots at rf, turned half a
// pitch so that a space stands about the sketch's +u direction, where a circle starts.
TLoop InternalTeeth(int z, double ra, double rf, double cx = 0, double cy = 0)
{
  const double pitch = 2 * Pi / z, ha = 2.7 * Pi / 180 * 30 / z, hf = 4.6 * Pi / 180 * 30 / z;
  auto at = [&](double r, double t) { return std::pair{cx + r * std::cos(t), cy + r * std::sin(t)}; };
  TLoop teeth;
  for (int k = 0; k < z; ++k) {
    const double c = (k + 0.5) * pitch;
    TCurve2 up, tip, down, root;
    std::tie(up.X1, up.Y1) = at(rf, c - hf);
    std::tie(up.X2, up.Y2) = at(ra, c - ha);
    tip.Kind = TCurve2::Arc, tip.R = ra, tip.Xc = cx, tip.Yc = cy, tip.X1 = up.X2, tip.Y1 = up.Y2;
    std::tie(tip.X2, tip.Y2) = at(ra, c + ha);
    down.X1 = tip.X2, down.Y1 = tip.Y2;
    std::tie(down.X2, down.Y2) = at(rf, c + hf);
    root.Kind = TCurve2::Arc, root.R = rf, root.Xc = cx, root.Yc = cy, root.X1 = down.X2, root.Y1 = down.Y2;
    std::tie(root.X2, root.Y2) = at(rf, c + pitch - hf);
    if (k == z - 1) std::tie(root.X2, root.Y2) = std::pair{teeth[0].X1, teeth[0].Y1};
    teeth.insert(teeth.end(), {up, tip, down, root});
  }
  return teeth;
}

// A loop's area by the shoelace over the curves' ends, each arc adding its circular segment (every arc
// turns counter-clockwise about its centre).
double Area(const TLoop& loop)
{
  double area = 0;
  for (const TCurve2& c : loop) {
    area += (c.X1 * c.Y2 - c.X2 * c.Y1) / 2;
    if (c.Kind == TCurve2::Arc) {
      const double t = std::remainder(std::atan2(c.Y2 - c.Yc, c.X2 - c.Xc) - std::atan2(c.Y1 - c.Yc, c.X1 - c.Xc), 2 * Pi);
      area += c.R * c.R / 2 * (t - std::sin(t));
    }
  }
  return area;
}

// A sketch on the YOZ plane, swept along x, whose origin stands so that the x axis meets it at (cx, cy).
TFrame AcrossX(double cx = 0, double cy = 0) { return {{0, -cy, cx}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}}; }

// The internal teeth of a sleeve (module 2.5, 30 teeth) cut from a ring turned about the sketch normal.
// The modeller's cut once left the space about +u standing, whose root arc closes the loop across +u.
TEST(SolidPart, ArcAcrossTheSketchAxisIsCut)
{
  const double ra = 35, rf = 41;
  const TLoop teeth = InternalTeeth(30, ra, rf);
  // The ring about x, from radius 35 to 50, 20 long, cut across on the YOZ plane (u = -z, v = y).
  TFeature spaces = Prism({teeth}, -1, 21, true);
  spaces.Frame = AcrossX();
  const TPartResult p = BuildPart({Turned(0, ra, 20, 50), spaces});
  ASSERT_EQ(p.Features.size(), 2u);
  // The loop holds the disc of radius 35 and the spaces.
  const double removed = (Area(teeth) - Pi * ra * ra) * 20;
  EXPECT_NEAR(p.Features[1].Changed, removed, 1e-6 * removed);
  EXPECT_GT(p.Features[1].Changed, 0);
}

// A profile that repeats about the axis of a turned ring (teeth, a circle of holes) removes what its region
// holds within the ring: whether it repeats wholly, in part or not at all, and wherever the sketch's origin
// stands off the axis.
TEST(SolidPart, RepeatingCutOfATurnedRingRemovesItsRegion)
{
  const double ra = 35, rf = 41, rh = 46, R = 50, length = 20, hole = 1.5;
  struct TCase
  {
    const char* Name;
    int Teeth, Holes;
    double Odd; // added to the radius of one hole
    double Cx, Cy;
  };
  for (const TCase& k : {TCase{"teeth", 40, 0, 0, 0, 0}, TCase{"teeth and holes", 30, 10, 0, 0, 0},
                         TCase{"one hole unlike the others", 30, 10, 0.01, 0, 0},
                         TCase{"off the sketch's origin", 24, 8, 0, 3, -2}, TCase{"holes only", 0, 20, 0, 0, 0},
                         TCase{"a hole missing", 30, 9, 0, 0, 0}}) {
    SCOPED_TRACE(k.Name);
    std::vector<TLoop> loops;
    double removed = 0;
    if (k.Teeth > 0) {
      loops.push_back(InternalTeeth(k.Teeth, ra, rf, k.Cx, k.Cy));
      removed += (Area(loops.back()) - Pi * ra * ra) * length;
    }
    // A missing hole leaves its place in the circle empty.
    const int places = k.Holes == 9 ? 10 : k.Holes;
    for (int h = 0; h < k.Holes; ++h) {
      const double a = 2 * Pi * (h + 0.25) / places, r = hole + (h == 3 ? k.Odd : 0);
      loops.push_back(Round(k.Cx + rh * std::cos(a), k.Cy + rh * std::sin(a), r));
      removed += Pi * r * r * length;
    }
    TFeature cut = Prism(loops, -1, length + 1, true);
    cut.Frame = AcrossX(k.Cx, k.Cy);
    const TPartResult p = BuildPart({Turned(0, ra, length, R), cut});
    ASSERT_EQ(p.Features.size(), 2u);
    EXPECT_TRUE(p.Features[1].Error.empty()) << p.Features[1].Error;
    EXPECT_NEAR(p.Features[1].Changed, removed, 1e-7 * removed);
    EXPECT_NEAR(p.Volume, Pi * (R * R - ra * ra) * length - removed, 1e-8 * p.Volume);
    EXPECT_EQ(p.Solids, 1);
  }
}

TEST(SolidPart, ToolTouchingAlongALineOrFaceRemovesNothing)
{
  const TPartResult edge = BuildPart({Box(0, 0, 0, 10, 10, 10), Box(10, 10, 0, 20, 20, 10, true)});
  EXPECT_STREQ(edge.Features[1].Effect(), "nothing");
  EXPECT_NEAR(edge.Volume, 1000, 1e-9);
  const TPartResult face = BuildPart({Box(0, 0, 0, 10, 10, 10), Box(10, 0, 0, 20, 10, 10, true)});
  EXPECT_STREQ(face.Features[1].Effect(), "nothing");
  EXPECT_NEAR(face.Volume, 1000, 1e-9);
  // A round tool whose box overlaps the block's, touching it only along the block's edge at x = y = 10.
  const TPartResult round = BuildPart({Box(0, 0, 0, 10, 10, 10), Prism({Round(15, 15, 5 * std::sqrt(2.0))}, -1, 11, true)});
  EXPECT_STREQ(round.Features[1].Effect(), "nothing") << round.Features[1].Changed << " " << round.Features[1].Error;
  EXPECT_NEAR(round.Volume, 1000, 1e-6);
  // A cut before anything was built has nothing to remove.
  EXPECT_STREQ(BuildPart({Box(0, 0, 0, 1, 1, 1, true)}).Features[0].Effect(), "nothing");
}

TEST(SolidPart, DetachedBossIsASecondSolid)
{
  const TPartResult apart = BuildPart({Box(0, 0, 0, 10, 10, 10), Box(20, 0, 0, 30, 10, 10)});
  EXPECT_EQ(apart.Solids, 2);
  EXPECT_NEAR(apart.Volume, 2000, 1e-9);
  const TPartResult joined = BuildPart({Box(0, 0, 0, 10, 10, 10), Box(5, 0, 0, 30, 10, 10)});
  EXPECT_EQ(joined.Solids, 1);
  EXPECT_NEAR(joined.Features[1].Changed, 2000, 1e-9);
}

TEST(SolidPart, FailuresAreReportedPerFeatureAndSkipped)
{
  TFeature open = Box(0, 0, 0, 5, 5, 5);
  open.Loops[0].pop_back(); // a loop that does not close
  TFeature flat = Box(0, 0, 0, 5, 5, 5);
  flat.To = flat.From;
  const TPartResult p = BuildPart({Box(0, 0, 0, 10, 10, 10), open, flat, Box(0, 0, 0, 5, 5, 5, true)});
  ASSERT_EQ(p.Features.size(), 4u);
  EXPECT_STREQ(p.Features[1].Effect(), "failed");
  EXPECT_STREQ(p.Features[2].Effect(), "failed");
  EXPECT_STREQ(p.Features[3].Effect(), "removes");
  EXPECT_NEAR(p.Volume, 1000 - 125, 1e-9);
}

// A part read from a file the host did not make can hold features kilometres wide, whose booleans with the
// part's millimetre details ran for hours: such a feature fails at once, and the part keeps the rest.
TEST(SolidPart, AFeatureBeyondTheModelSpaceFailsAtOnce)
{
  TFeature far = Prism({Round(0, 0, 3e6), Round(0, 0, 1)}, 0, 10);
  TFeature deep = Box(0, 0, 0, 5, 5, 5);
  deep.To = 2e6;
  const TFeature through = Prism({Round(5, 5, 1)}, -1e7, 1e7, true);
  const TPartResult p =
      BuildPart({Box(0, 0, 0, 10, 10, 10), far, deep, Box(0, 0, 0, 5, 5, 5, true), through});
  ASSERT_EQ(p.Features.size(), 5u);
  for (int k : {1, 2, 4}) {
    EXPECT_STREQ(p.Features[k].Effect(), "failed") << k;
    EXPECT_NE(p.Features[k].Error.find("space"), std::string::npos) << p.Features[k].Error;
  }
  EXPECT_STREQ(p.Features[3].Effect(), "removes");
  EXPECT_NEAR(p.Volume, 1000 - 125, 1e-9);
}

TPlaced Place(const char* name, const TPartResult& p, std::array<double, 12> m = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0})
{
  return TPlaced{name, p.Shape, m, false, p.Symmetry, p.Volume};
}

TEST(SolidAssembly, ClashesAboveTheToleranceOnly)
{
  const TPartResult a = BuildPart({Box(0, 0, 0, 10, 10, 10)});
  // B overlaps A by 2 x 10 x 10; C only touches A's face; D overlaps A's top by 0.05 mm3, under the tolerance.
  const std::vector<TPlaced> placed{Place("A", a), Place("B", a, {1, 0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0}),
                                    Place("C", a, {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 10, 0}),
                                    Place("D", a, {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, -10, 9.9995})};
  const TAssemblyResult r = CheckAssembly(placed);
  ASSERT_EQ(r.Clashes.size(), 1u);
  EXPECT_EQ(r.Clashes[0].A, 0u);
  EXPECT_EQ(r.Clashes[0].B, 1u);
  EXPECT_NEAR(r.Clashes[0].Volume, 200, 1e-6);
  EXPECT_DOUBLE_EQ(ClashTolerance(10), 0.1);
  EXPECT_DOUBLE_EQ(ClashTolerance(1e6), 1);
}

// Small components close to a large one are split with it all at once; what each pair shares is the same
// as pair by pair, the small ones among themselves included, and touching shares nothing.
TEST(SolidAssembly, SmallPartsAboutALargeOneSplitTogether)
{
  const TPartResult plate = BuildPart({Box(0, 0, 0, 100, 100, 10)});
  const TPartResult post = BuildPart({Box(0, 0, 0, 5, 5, 20)});
  auto at = [&](double x, double y, double z) { return Place("post", post, {1, 0, 0, 0, 1, 0, 0, 0, 1, x, y, z}); };
  // Into the plate by 5, standing on it, under it by 5, and into the plate by 2 and the first post.
  const std::vector<TPlaced> placed{Place("plate", plate), at(10, 10, 5), at(30, 10, 10), at(50, 10, -15),
                                    at(12, 10, 8)};
  const TAssemblyResult r = CheckAssembly(placed);
  EXPECT_TRUE(r.Unchecked.empty());
  std::map<std::pair<std::size_t, std::size_t>, double> shared;
  for (const TClash& c : r.Clashes)
    shared[{c.A, c.B}] = c.Volume;
  const std::map<std::pair<std::size_t, std::size_t>, double> want{
      {{0, 1}, 125}, {{0, 3}, 125}, {{0, 4}, 50}, {{1, 4}, 3 * 5 * 17}};
  ASSERT_EQ(shared.size(), want.size());
  for (const auto& [pair, v] : want)
    EXPECT_NEAR(shared[pair], v, 1e-6) << pair.first << " " << pair.second;
}

// A ring about x from radius 10 to 60, 10 long, drilled through on a circle.
TPartResult DrilledFlange(int holes, double rh, double r)
{
  std::vector<TLoop> circle;
  for (int k = 0; k < holes; ++k)
    circle.push_back(Round(rh * std::cos(2 * Pi * k / holes), rh * std::sin(2 * Pi * k / holes), r));
  TFeature drill = Prism(circle, -1, 11, true);
  drill.Frame = AcrossX();
  return BuildPart({Turned(0, 10, 10, 60), drill});
}

// Pins with washers in the holes of a flange, some of them turned copies of each other about its axis:
// every pair shares what it shares when each cluster is split with the flange anew, the pin that is too
// thick and the one that stands off its hole among them.
TEST(SolidAssembly, TurnedCopiesAboutASymmetricPartShareWhatTheirOriginalsDo)
{
  const int holes = 20;
  const double rh = 50, r = 3;
  const TPartResult flange = DrilledFlange(holes, rh, r);
  ASSERT_EQ(flange.Symmetry.Order, holes);
  const TPartResult pin = BuildPart({Turned(-5, 0, 15, r)}), fat = BuildPart({Turned(-5, 0, 15, r + 0.5)});
  const TPartResult washer = BuildPart({Turned(10, r, 12, 2 * r)});
  // Everything turned a quarter about z and moved, so that the flange's axis is no axis of the world's.
  auto world = [](double y, double z) -> std::array<double, 12> { return {0, 1, 0, -1, 0, 0, 0, 0, 1, 5 + -y, -7, 3 + z}; };
  std::vector<TPlaced> placed{Place("flange", flange, world(0, 0))};
  for (int k = 0; k < holes; ++k) {
    const double a = 2 * Pi * k / holes, off = k == 12 ? 0.5 : 0;
    const double y = (rh + off) * std::cos(a), z = (rh + off) * std::sin(a);
    placed.push_back(Place("pin", k == 5 ? fat : pin, world(y, z)));
    if (k % 2 == 0) placed.push_back(Place("washer", washer, world(y, z)));
  }
  auto shares = [](const TAssemblyResult& r) {
    std::map<std::pair<std::size_t, std::size_t>, double> m;
    for (const TClash& c : r.Clashes)
      m[{c.A, c.B}] = c.Volume;
    return m;
  };
  const TAssemblyResult fast = CheckAssembly(placed);
  for (TPlaced& p : placed)
    p.Symmetry = {};
  const TAssemblyResult reference = CheckAssembly(placed);
  EXPECT_TRUE(fast.Unchecked.empty());
  const auto got = shares(fast), want = shares(reference);
  ASSERT_EQ(got.size(), want.size());
  for (const auto& [pair, v] : want)
    EXPECT_NEAR(got.at(pair), v, 1e-6 * v) << pair.first << " " << pair.second;
  // The thick pin and the one off its hole clash with the flange, nothing else does.
  ASSERT_EQ(want.size(), 2u);
  EXPECT_NEAR(want.begin()->second, Pi * ((r + 0.5) * (r + 0.5) - r * r) * 10, 1e-6 * 100);
}

// Two drilled flanges on one axis, the second turned half a hole's pitch, overlap by a millimetre: they
// share the ring of that millimetre without either's holes, worked out from one sector of each.
TEST(SolidAssembly, FlangesOnOneAxisShareTheirOverlap)
{
  const int holes = 20;
  const double rh = 50, r = 3, overlap = 1;
  const TPartResult flange = DrilledFlange(holes, rh, r);
  const double a = Pi / holes;
  std::vector<TPlaced> placed{Place("flange", flange), Place("turned", flange,
                                                             {1, 0, 0, 0, std::cos(a), std::sin(a), 0, -std::sin(a),
                                                              std::cos(a), 10 - overlap, 0, 0})};
  const double want = (Pi * (60 * 60 - 10 * 10) - 2 * holes * Pi * r * r) * overlap;
  TAssemblyResult got = CheckAssembly(placed);
  ASSERT_EQ(got.Clashes.size(), 1u);
  EXPECT_NEAR(got.Clashes[0].Volume, want, 1e-7 * want);
  for (TPlaced& p : placed)
    p.Symmetry = {};
  got = CheckAssembly(placed);
  ASSERT_EQ(got.Clashes.size(), 1u);
  EXPECT_NEAR(got.Clashes[0].Volume, want, 1e-7 * want);
}

TEST(SolidAssembly, BoltSeatedInItsHoleThroughItsMatrix)
{
  const TPartResult plate = BuildPart({Box(-20, -20, 0, 20, 20, 10), Prism({Round(0, 0, 5)}, -1, 11, true)});
  // The bolt is turned about its own x axis; its matrix stands that axis along world z.
  const TPartResult bolt = BuildPart({Turned(-5, 0, 15, 4)});
  std::vector<TPlaced> placed{Place("plate", plate), Place("bolt", bolt, {0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 0})};
  placed[1].Fastener = true;
  TAssemblyResult r = CheckAssembly(placed);
  EXPECT_TRUE(r.Clashes.empty());
  ASSERT_EQ(r.Seats.size(), 1u);
  EXPECT_EQ(r.Seats[0].Fastener, 1u);
  EXPECT_EQ(r.Seats[0].Part, 0u);
  EXPECT_TRUE(r.Unseated.empty());
  // A millimetre off the hole's axis it only touches the hole's wall: no clash, but not seated either.
  placed[1].Matrix[9] = 1;
  r = CheckAssembly(placed);
  EXPECT_TRUE(r.Clashes.empty());
  EXPECT_TRUE(r.Seats.empty());
  ASSERT_EQ(r.Unseated.size(), 1u);
}

// A fastener stands in a part only where its shank lies in a hole of that part. A hinge pin through a plate
// has a cross hole on the axis of a hole of the fork around it: the pin does not stand in the fork (it was
// seated there, its own cross hole taken for its shank). A conical pin stands in the conical hole it fills,
// with no cylinder of the part on its axis (cones were not looked at).
TEST(SolidAssembly, AFastenerIsSeatedWhereItsShankLiesInAHole)
{
  const TPartResult plate = BuildPart({Box(-20, -20, 0, 20, 20, 10), Prism({Round(0, 0, 5)}, -1, 11, true)});
  // The pin is turned about its own x axis, with a cross hole along its own z at x = 20; its matrix stands
  // it along world z, the cross hole along world x at z = 20.
  TFeature cross = Prism({Round(20, 0, 1)}, -10, 10, true);
  const TPartResult pin = BuildPart({Turned(-5, 0, 25, 4), cross});
  // The fork: a block about z = 20 with a square window the pin passes, and a hole along x on the cross
  // hole's axis.
  TFeature forkHole = Turned(-20, 0, 20, 1);
  forkHole.Cut = true;
  const TPartResult fork =
      BuildPart({Box(-16, -10, -6, 16, 10, 6), Box(-5, -5, -7, 5, 5, 7, true), forkHole});
  // The cone: a conical hole through a plate, narrowing along z, and a pin that fills it with a cylinder
  // below the plate.
  const TPartResult conePlate =
      BuildPart({Box(-20, -20, 30, 20, 20, 40), Prism({Round(0, 0, 6)}, 30, 40, true, -0.1)});
  const TPartResult conePin =
      BuildPart({Prism({Round(0, 0, 6)}, 30, 40, false, -0.1), Prism({Round(0, 0, 6)}, 25, 30)});
  ASSERT_EQ(pin.Solids, 1);
  ASSERT_EQ(fork.Solids, 1);
  ASSERT_EQ(conePin.Solids, 1);
  std::vector<TPlaced> placed{Place("plate", plate), Place("pin", pin, {0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 0}),
                              Place("fork", fork, {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 20}),
                              Place("cone plate", conePlate, {1, 0, 0, 0, 1, 0, 0, 0, 1, 40, 0, 0}),
                              Place("cone pin", conePin, {1, 0, 0, 0, 1, 0, 0, 0, 1, 40, 0, 0})};
  placed[1].Fastener = placed[4].Fastener = true;
  const TAssemblyResult r = CheckAssembly(placed);
  EXPECT_TRUE(r.Clashes.empty());
  std::vector<std::pair<std::size_t, std::size_t>> seats;
  for (const TSeat& s : r.Seats)
    seats.emplace_back(s.Fastener, s.Part);
  EXPECT_EQ(seats, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 0}, {4, 3}}));
  EXPECT_TRUE(r.Unseated.empty());
}

// Parts of many faces are shown clear from their meshes before any boolean: a ring of 50 sides about a
// core of 100 that stands off by 0.16 mm, one that overlaps it by a known volume, and a small prism inside
// the ring's material (nested: no surfaces meet, yet all of it is shared) each give the boolean's clash.
TEST(SolidAssembly, ManyFacedPartsShownClearOnlyWhenTheyAre)
{
  const auto area = [](double r, int n) { return n * r * r * std::sin(2 * Pi / n) / 2; };
  const TPartResult ring = BuildPart({Prism({Gon(0, 0, 50, 50), Gon(0, 0, 40, 50)}, 0, 10)});
  ASSERT_EQ(ring.Solids, 1);
  ASSERT_NEAR(ring.Volume, (area(50, 50) - area(40, 50)) * 10, 1e-6 * ring.Volume);
  struct TCase
  {
    TFeature Core;
    double Shared;
  };
  for (const TCase& c : {TCase{Prism({Gon(0, 0, 39.8, 100)}, -5, 15), 0},
                         TCase{Prism({Gon(0, 0, 40.3, 100)}, -5, 15), (area(40.3, 100) - area(40, 50)) * 10},
                         TCase{Prism({Gon(45, 0, 2, 100)}, 2, 8), area(2, 100) * 6}}) {
    const TPartResult core = BuildPart({c.Core});
    const std::vector<TPlaced> placed{Place("ring", ring), Place("core", core)};
    const TAssemblyResult r = CheckAssembly(placed);
    EXPECT_TRUE(r.Unchecked.empty());
    if (c.Shared == 0) {
      EXPECT_TRUE(r.Clashes.empty());
    } else {
      ASSERT_EQ(r.Clashes.size(), 1u) << c.Shared;
      EXPECT_NEAR(r.Clashes[0].Volume, c.Shared, 1e-6 * c.Shared);
    }
    const TopoDS_Shape a = PlacedShape(placed[0]), b = PlacedShape(placed[1]);
    EXPECT_EQ(Clear(MeshOf(a), a, MeshOf(b), b), c.Shared == 0) << c.Shared;
  }
}

// A solid that holds a lone vertex at (9.5, 5, 5): the modeller's booleans refuse it.
TPartResult LoneVertex()
{
  BRep_Builder builder;
  TopoDS_Vertex v;
  builder.MakeVertex(v, gp_Pnt(9.5, 5, 5), 1e-7);
  TopoDS_Solid broken;
  builder.MakeSolid(broken);
  builder.Add(broken, v);
  TPartResult part;
  part.Shape = std::make_shared<TShape>(broken);
  part.Solids = 1;
  return part;
}

// A pair the modeller cannot intersect (here a solid that holds a lone vertex) is no clash and no success
// either: it is reported as a fault of that pair. It was once passed over.
TEST(SolidAssembly, PairTheModellerCannotIntersectIsAFault)
{
  const TPartResult a = BuildPart({Box(0, 0, 0, 10, 10, 10)});
  auto part = std::make_shared<TPartResult>(LoneVertex());
  TDocumentResult r;
  r.Assembly = true;
  r.Placed = {Place("A", a), Place("B", *part), Place("C", a, {1, 0, 0, 0, 1, 0, 0, 0, 1, 9, 0, 0})};
  r.Parts = {std::make_shared<TPartResult>(a), part, std::make_shared<TPartResult>(a)};
  r.Checked = std::make_shared<TAssemblyResult>(CheckAssembly(r.Placed));
  ASSERT_EQ(r.Checked->Unchecked.size(), 2u);
  EXPECT_EQ(r.Checked->Unchecked[0].A, 0u);
  EXPECT_EQ(r.Checked->Unchecked[0].B, 1u);
  EXPECT_EQ(r.Checked->Unchecked[1].A, 1u);
  EXPECT_EQ(r.Checked->Unchecked[1].B, 2u);
  // The sound pair is still measured.
  ASSERT_EQ(r.Checked->Clashes.size(), 1u);
  EXPECT_NEAR(r.Checked->Clashes[0].Volume, 100, 1e-6);
  const std::vector<std::string> faults = TEvaluator::Faults(r);
  EXPECT_EQ(std::count_if(faults.begin(), faults.end(),
                          [](const std::string& f) { return f.starts_with("not checked: A and B: "); }),
            1)
      << ::testing::PrintToString(faults);
  EXPECT_EQ(faults.size(), 3u) << ::testing::PrintToString(faults);
}

// Everything a check says, volumes bit for bit, to compare two checks by.
std::string Said(const TAssemblyResult& r)
{
  std::ostringstream out;
  out.precision(17);
  for (const TClash& c : r.Clashes)
    out << "clash " << c.A << " " << c.B << " " << c.Volume << " " << c.Copies << "\n";
  for (const TUnchecked& u : r.Unchecked)
    out << "unchecked " << u.A << " " << u.B << " " << u.Error << "\n";
  for (const TSeat& s : r.Seats)
    out << "seat " << s.Fastener << " " << s.Part << "\n";
  for (std::size_t f : r.Unseated)
    out << "unseated " << f << "\n";
  out << "worked " << r.Worked << " left " << r.LeftOver << "\n";
  return out.str();
}

// What a memo keeps is what the modeller works out anew, on every way a pair is worked out (a large part
// split with the small ones about it, two many-faced parts shown clear by their meshes, a pair's own boolean,
// a pair the modeller fails on): an unchanged assembly is answered from it alone, and a part moved by any
// amount, or replaced by an equal part of its own, is worked out again.
TEST(SolidAssembly, MemoAnswersAsTheModellerDoesAndWorksOutWhatMoved)
{
  const TPartResult plate = BuildPart({Box(0, 0, 0, 100, 100, 10)});
  const TPartResult post = BuildPart({Box(0, 0, 0, 5, 5, 20)});
  const TPartResult ring = BuildPart({Prism({Gon(0, 0, 50, 50), Gon(0, 0, 40, 50)}, 0, 10)});
  const TPartResult core = BuildPart({Prism({Gon(0, 0, 39.8, 100)}, -5, 15)});
  const TPartResult block = BuildPart({Box(0, 0, 0, 10, 10, 10)});
  const TPartResult broken = LoneVertex();
  auto at = [](double x, double y, double z) -> std::array<double, 12> {
    return {1, 0, 0, 0, 1, 0, 0, 0, 1, x, y, z};
  };
  // The plate and its posts, two blocks that overlap, a block with the broken part, the ring about its core.
  std::vector<TPlaced> placed{Place("plate", plate),
                              Place("post", post, at(10, 10, 5)),
                              Place("post", post, at(30, 10, 10)),
                              Place("post", post, at(50, 10, -15)),
                              Place("post", post, at(12, 10, 8)),
                              Place("block", block, at(0, 300, 0)),
                              Place("block", block, at(8, 300, 0)),
                              Place("block", block, at(0, 400, 0)),
                              Place("broken", broken, at(0, 400, 0)),
                              Place("ring", ring, at(300, 0, 0)),
                              Place("core", core, at(300, 0, 0))};
  placed[1].Fastener = true;
  const std::string fresh = Said(CheckAssembly(placed));
  ASSERT_NE(fresh.find("clash 0 4 "), std::string::npos) << fresh;
  ASSERT_NE(fresh.find("clash 5 6 "), std::string::npos) << fresh;
  ASSERT_NE(fresh.find("unchecked 7 8 "), std::string::npos) << fresh;
  TCheckMemo memo;
  TCheckOptions options;
  options.Memo = &memo;
  EXPECT_EQ(Said(CheckAssembly(placed, options)), fresh);
  EXPECT_EQ(memo.Reused(), 0u);
  // The split of the plate with its posts, the ring and core's meshes, two pairs' booleans.
  const std::size_t kept = memo.Kept();
  EXPECT_EQ(kept, 4u);
  EXPECT_EQ(Said(CheckAssembly(placed, options)), fresh);
  EXPECT_EQ(memo.Kept(), kept);
  EXPECT_EQ(memo.Reused(), kept);
  placed.resize(9); // the ring and core take long to mesh

  // A post moved a millimetre deeper, and then by the least a double can: worked out again, as anew.
  for (const double z : {9.0, std::nextafter(9.0, 10.0)}) {
    placed[4].Matrix[11] = z;
    const std::size_t before = memo.Kept();
    EXPECT_EQ(Said(CheckAssembly(placed, options)), Said(CheckAssembly(placed))) << z;
    EXPECT_EQ(memo.Kept(), before + 1) << z;
  }
  // A block replaced by an equal part of its own: its pair is the modeller's again.
  const TPartResult same = BuildPart({Box(0, 0, 0, 10, 10, 10)});
  placed[6].Shape = same.Shape;
  const std::size_t before = memo.Kept();
  EXPECT_EQ(Said(CheckAssembly(placed, options)), Said(CheckAssembly(placed)));
  EXPECT_EQ(memo.Kept(), before + 1);
}

TEST(SolidFiles, StepKeepsTheVolumeAndPngShowsTheSolid)
{
  const auto dir = std::filesystem::temp_directory_path() / ("solid-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const TPartResult ring = BuildPart({Turned(0, 5, 20, 10)});
  const std::vector<TPlaced> placed{Place("ring", ring, {1, 0, 0, 0, 1, 0, 0, 0, 1, 100, 0, 0})};
  std::string error;
  ASSERT_TRUE(WriteStep(placed, (dir / "ring.step").string(), error)) << error;
  const TShapePtr back = ReadStep((dir / "ring.step").string(), error);
  ASSERT_TRUE(back) << error;
  EXPECT_NEAR(Volume(*back), ring.Volume, 1e-6 * ring.Volume);

  for (bool section : {false, true}) {
    const std::string png = (dir / (section ? "cut.png" : "ring.png")).string();
    ASSERT_TRUE(RenderPng(placed, section, 160, 120, png, error)) << error;
    hxgl::TImage im;
    ASSERT_TRUE(hxgl::ReadPng(png, im));
    ASSERT_EQ(im.Width, 160);
    ASSERT_EQ(im.Height, 120);
    // White background in the corners, the solid shaded (neither white nor black) in the middle, and a
    // fair share of the picture.
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {0, 119}, {159, 119}})
      EXPECT_EQ(im.At(x, y)[0] + im.At(x, y)[1] + im.At(x, y)[2], 3 * 255);
    long shaded = 0;
    for (int y = 0; y < im.Height; ++y)
      for (int x = 0; x < im.Width; ++x) {
        const unsigned char* p = im.At(x, y);
        if (p[0] + p[1] + p[2] < 3 * 250 && p[0] + p[1] + p[2] > 30) ++shaded;
      }
    EXPECT_GT(shaded, im.Width * im.Height / 10) << section;
    EXPECT_LT(shaded, im.Width * im.Height * 9 / 10) << section;
  }
  std::vector<TPlaced> none;
  EXPECT_FALSE(RenderPng(none, false, 10, 10, (dir / "none.png").string(), error));
  EXPECT_FALSE(ReadStep((dir / "missing.step").string(), error));
  std::filesystem::remove_all(dir);
}

// The picture and the STEP file were written by opening the name: a link there to a file outside the folder
// overwrote that file. They are written beside the name and renamed over it, the link replaced.
TEST(SolidFiles, ALinkAtTheNameIsReplacedNotWrittenThrough)
{
  const auto dir = std::filesystem::temp_directory_path() / ("solid-link-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "outside");
  const TPartResult ring = BuildPart({Turned(0, 5, 20, 10)});
  const std::vector<TPlaced> placed{Place("ring", ring, {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0})};
  for (const char* name : {"o.png", "o.step"}) {
    SCOPED_TRACE(name);
    {
      std::ofstream(dir / "outside" / name) << "keep";
    }
    std::filesystem::create_symlink(dir / "outside" / name, dir / name);
    std::string error;
    const std::string file = (dir / name).string();
    ASSERT_TRUE(name[2] == 'p' ? RenderPng(placed, false, 32, 24, file, error)
                               : WriteStep(placed, file, error))
        << error;
    EXPECT_FALSE(std::filesystem::is_symlink(dir / name));
    EXPECT_GT(std::filesystem::file_size(dir / name), 4u);
    EXPECT_EQ(std::filesystem::file_size(dir / "outside" / name), 4u);
  }
  std::filesystem::remove_all(dir);
}

} // namespace

namespace {

// A profile of the XOY plane whose outer side is a zigzag of so many teeth between the radii lo and hi, over
// x from 0 to 110 and down to the radius 22.5, turned about the x axis: a body of thousands of cone faces,
// whose booleans run for long.
TFeature Zigzag(int teeth, double lo = 60, double hi = 75)
{
  std::vector<std::array<double, 2>> at{{0, 22.5}, {110, 22.5}, {110, lo}};
  const double w = 110.0 / teeth;
  for (int k = 0; k < teeth; ++k) {
    at.push_back({110 - (k + 0.5) * w, hi});
    at.push_back({110 - (k + 1) * w, lo});
  }
  at.push_back({0, 22.5});
  TLoop loop;
  for (std::size_t k = 0; k + 1 < at.size(); ++k) {
    TCurve2 l;
    l.X1 = at[k][0], l.Y1 = at[k][1], l.X2 = at[k + 1][0], l.Y2 = at[k + 1][1];
    loop.push_back(l);
  }
  TFeature f;
  f.Shape = TFeature::Rotation;
  f.Kind = "rotated";
  f.Loops = {loop};
  return f;
}

// The matrix of a turn by the angle (degrees) about the axis x (0), y (1) or z (2).
std::array<double, 12> TurnedAbout(int axis, double degrees)
{
  const double a = degrees * Pi / 180, c = std::cos(a), s = std::sin(a);
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  std::array<double, 12> m{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  // Rows are the images of the unit axes: u turns towards v.
  m[3 * u + u] = c, m[3 * u + v] = s, m[3 * v + u] = -s, m[3 * v + v] = c;
  return m;
}

} // namespace

// The modeller's long operations keep to the time they are given, a part's features as the components'
// check: a cut across a body of thousands of faces, and the common of two such bodies turned against each
// other, each run for many seconds unstopped. What the time leaves is marked, and meanwhile progress is said.
TEST(SolidLimits, ABooleanThatOutlastsItsTimeStopsThere)
{
  std::ostringstream said;
  TLimits limits;
  limits.Seconds = 3.5;
  limits.Progress = &said;
  double start = ProcessorSeconds();
  const TPartResult part = BuildPart(
      {Zigzag(1000), Prism({Round(55, 0, 5)}, -100, 100, true), Box(-1, -1, -1, 1, 1, 1, true)}, limits);
  const double spent = ProcessorSeconds() - start;
  EXPECT_LT(spent, limits.Seconds + 2);
  ASSERT_EQ(part.Features.size(), 3u);
  EXPECT_STREQ(part.Features[0].Effect(), "adds");
  EXPECT_STREQ(part.Features[1].Effect(), "not worked out");
  EXPECT_STREQ(part.Features[2].Effect(), "not worked out");
  EXPECT_EQ(part.Late, 2u);
  EXPECT_EQ(part.FirstLate, 1u);
  // Said while the cut ran: the feature it was at, and the time (how many seconds depends on the machine's
  // load: the lines come every three seconds of the clock, the limit is the processor's time).
  EXPECT_TRUE(std::regex_search(said.str(), std::regex("solids: features of the part built: 1 of 3, [0-9]+ s\n")))
      << said.str();

  const TPartResult body = BuildPart({Zigzag(300)});
  ASSERT_EQ(body.Late, 0u);
  TCheckOptions brief;
  brief.Seconds = 0.5;
  start = ProcessorSeconds();
  const TAssemblyResult r = CheckAssembly({Place("a", body), Place("b", body, TurnedAbout(1, 0.37))}, brief);
  EXPECT_LT(ProcessorSeconds() - start, brief.Seconds + 2);
  EXPECT_TRUE(r.TimedOut);
  EXPECT_EQ(r.LeftOver, 1u);
  EXPECT_TRUE(r.Clashes.empty());
}

// The pairs the time leaves are named from the first of them in order, though the check meets them in two
// passes: the boxes compared (where meshing two many-faced parts took the time), then the close pairs worked
// out. It named the first left in the first pass, after clashes of pairs before it.
TEST(SolidLimits, TheFirstPairLeftIsTheLeastInOrder)
{
  const TPartResult block = BuildPart({Box(0, 0, 0, 10, 10, 10)});
  const TPartResult ring = BuildPart({Prism({Gon(0, 0, 50, 400), Gon(0, 0, 40, 400)}, 0, 10)});
  const TPartResult core = BuildPart({Prism({Gon(0, 0, 39.8, 400)}, -5, 15)});
  auto at = [](double x) -> std::array<double, 12> { return {1, 0, 0, 0, 1, 0, 0, 0, 1, x, 0, 0}; };
  const std::vector<TPlaced> placed{Place("block", block, at(-500)), Place("block", block, at(-495)),
                                    Place("ring", ring), Place("core", core), Place("block", block, at(42))};
  TCheckOptions brief;
  brief.Seconds = 0.01;
  const TAssemblyResult r = CheckAssembly(placed, brief);
  ASSERT_TRUE(r.TimedOut);
  EXPECT_EQ(r.FirstLeftOver.A, 0u);
  EXPECT_EQ(r.FirstLeftOver.B, 1u);
}

// Points classified by a part's mesh, against the modeller's own classification of the solid: they differ
// only within the mesh's slack of the surface, on a body of many cone faces with holes across it.
TEST(SolidLimits, TheMeshTellsInsideAsTheSolidDoesAwayFromItsSurface)
{
  const TPartResult part = BuildPart({Zigzag(12, 50, 62), Prism({Round(55, 0, 8)}, -100, 100, true)});
  ASSERT_EQ(part.Late, 0u);
  const TopoDS_Shape& solid = part.Shape->S;
  const TMesh mesh = MeshOf(solid, 2e-3);
  ASSERT_GT(mesh.Slack, 0);
  const TMeshInside inside(mesh);
  ASSERT_TRUE(inside.Usable());
  TopExp_Explorer shell(solid, TopAbs_SHELL);
  ASSERT_TRUE(shell.More());
  BRepClass3d_SolidClassifier exact(solid);
  Bnd_Box box;
  BRepBndLib::Add(solid, box);
  double lo[3], hi[3];
  box.Get(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
  // Deterministic points over the box and a little past it.
  std::mt19937 random(87);
  std::size_t in = 0, differ = 0;
  for (int k = 0; k < 3000; ++k) {
    gp_Pnt p;
    for (int a = 0; a < 3; ++a)
      p.SetCoord(a + 1, std::uniform_real_distribution<double>(lo[a] - 5, hi[a] + 5)(random));
    exact.Perform(p, 1e-7);
    if (exact.State() == TopAbs_ON) continue;
    const bool solidIn = exact.State() == TopAbs_IN;
    in += solidIn;
    if (inside.Inside(p) == solidIn) continue;
    ++differ;
    BRepExtrema_DistShapeShape distance(BRepBuilderAPI_MakeVertex(p).Vertex(), shell.Current());
    ASSERT_TRUE(distance.IsDone());
    EXPECT_LE(distance.Value(), mesh.Slack) << p.X() << " " << p.Y() << " " << p.Z();
  }
  EXPECT_GT(in, 300u);
  EXPECT_LT(differ, 30u);
}
