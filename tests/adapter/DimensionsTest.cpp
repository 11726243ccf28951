// Linear, diameter, radius and angle dimensions on the stand-in host.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "Drawing2DSupport.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/geometry/Elements.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using namespace adaptertest;
using txhost::Value;
namespace m2 = txhost::model2d;

constexpr double Pi = std::numbers::pi;
const TString None;

class Dimensions : public ::testing::Test, public Drawing2D
{
public:
  txhost::Object* Last(std::string_view kind) const
  {
    const auto all = Of(kind);
    return all.empty() ? nullptr : all.back();
  }
  // The text of the dimension's line before or after its value.
  static std::string Line(const txhost::Object& d, const char* place)
  {
    for (txhost::Object* l : txhost::model::LiveMembers(d, m2::TextLine))
      if (l->Prop("place") == place) return U8(m2::TextOf(*l));
    return "-";
  }
  // The operations' calls in order, as "Op" names.
  static std::string Ops(const txhost::Object& d)
  {
    std::string s;
    for (const auto& c : d.Log())
      s += (s.empty() ? "" : " ") + c.Op;
    return s;
  }
  void Remembered(const txhost::Object* d) const
  {
    EXPECT_EQ(Obj(MA.R2D().CurDrawingObject), d);
    EXPECT_EQ(Obj(MA.R().Obj3D), d);
  }
};

// Orientation and angle come from the direction (Dx, Dy); the text shift's side from the sign of Pt.
TEST_F(Dimensions, LinearOrientationAngleAndTextShift)
{
  const struct
  {
    double dx, dy;
    int pt, orientation;
    double angle;
    int side, shift;
  } cases[] = {
      {0, 10, -3, txapi::txLinDVertical, Pi / 2, 2, -3},    {10, 0, 3, txapi::txLinDHorizontal, 0, 1, -3},
      {-1, -1, 0, txapi::txLinDParallel, 5 * Pi / 4, 0, 0}, {0, 0, 0, txapi::txLinDVertical, 0, 0, 0},
      {1, -1e-9, 0, txapi::txLinDParallel, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const double v = 40;
    MA.drDimL(v, None, c.dx, c.dy, c.pt, 4, 30, 7.4, 1, 2, 5, 1, 41, 2, 6, 0, "⌀", "h6", "*");
    const txhost::Object* d = Last(m2::LineDimension);
    ASSERT_NE(d, nullptr);
    Remembered(d);
    EXPECT_EQ(d->Prop("orientation"), c.orientation) << c.dx << "," << c.dy;
    EXPECT_NEAR(txhost::model::Number(d->Prop("angle")), c.angle, 1e-12) << c.dx << "," << c.dy;
    EXPECT_EQ(d->Prop("text-shift-side"), c.side);
    EXPECT_EQ(d->Prop("text-shift"), c.shift);
    EXPECT_EQ(Line(*d, "before"), "?");
    // The third text (a reference mark here) follows the tolerance.
    EXPECT_EQ(Line(*d, "after"), "h6*");
    EXPECT_EQ(d->UpdateCount(), 1);
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, Value>>{{"x1", 1.0},
                                                                                   {"y1", 2.0},
                                                                                   {"x2", 41.0},
                                                                                   {"end1-kind", 5},
                                                                                   {"end2-kind", 6},
                                                                                   {"leader-code", 4},
                                                                                   {"leader-angle", 30.0},
                                                                                   {"leader-length", 7.4},
                                                                                   {"end1-on", true},
                                                                                   {"end2-on", false}})
      EXPECT_EQ(d->Prop(k), v) << k;
  }
}

// The overall dimension goes to the active document's current view, places its line by Fn and its text
// Dln away at the angle Fn (from wherever the host has the line when Fn is neither 0 nor 90).
// A chamfer's angle, a deviation or a reference mark given as the third text is not lost, on a linear, a
// diameter or a radius dimension alike; without one the text after the value is the second text alone.
TEST_F(Dimensions, TheThirdTextFollowsTheValue)
{
  const struct
  {
    const char *s2, *s3, *after;
  } cases[] = {{"", "&04~45&01", "&04~45&01"},
               {"", "±0,2", "±0,2"},
               {"h14", "", "h14"},
               {"", "", ""},
               // A count after a tolerance stands apart from it; a mark follows it directly.
               {"H14", "4 отв.", "H14 4 отв."},
               {"h6", "*", "h6*"},
               {"h14", "&03~0,2", "h14&03~0,2"}};
  for (const auto& c : cases) {
    MA.drDimL(10, None, 0, 10, 0, 0, 0, 0, 0, 0, 1, 0, 10, 0, 1, 0, None, c.s2, c.s3);
    MA.drDimD(10, None, 0, 0, 0, 0, 0, 0, "&02", c.s2, c.s3);
    MA.drDimR(5, None, 0, 0, 0, 0, 0, 0, 1, 0, "R", c.s2, c.s3);
    for (const auto kind : {m2::LineDimension, m2::DiametralDimension, m2::RadialDimension}) {
      const txhost::Object* d = Last(kind);
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(Line(*d, "after"), c.after) << kind << ": " << c.s2 << "|" << c.s3;
    }
  }
}

// A diameter dimensioned from the axis (one end off, the value twice the distance) shows the whole
// diameter: the host gets its open end across the axis. Any other dimension keeps its points.
TEST_F(Dimensions, ADiameterFromTheAxisShowsTheWholeDiameter)
{
  const struct
  {
    double value;
    int t1, t2;
    double gx1, gy1, gx2, gy2; // given
    double hx1, hy1, hx2, hy2; // as the host holds them
  } all[] = {
      {36, 1, 0, 5, 18, 5, 0, 5, 18, 5, -18}, // the bore from the axis, the second end off
      {36, 0, 1, 5, 0, 5, 18, 5, -18, 5, 18}, // the first end off
      {18, 1, 0, 5, 18, 5, 0, 5, 18, 5, 0},   // a radius-long value: as given
      {36, 1, 1, 5, 18, 5, 0, 5, 18, 5, 0},   // both ends on: as given
  };
  for (const auto& c : all) {
    MA.drDimL(c.value, None, 10, 0, 0, 0, 0, 0, c.gx1, c.gy1, c.t1, c.t1 == 0, c.gx2, c.gy2, c.t2, c.t2 == 0,
              "&02", "H14", None);
    const txhost::Object* d = Last(m2::LineDimension);
    ASSERT_NE(d, nullptr);
    Remembered(d);
    EXPECT_EQ(
        std::vector<double>({txhost::model::Number(d->Prop("x1")), txhost::model::Number(d->Prop("y1")),
                             txhost::model::Number(d->Prop("x2")), txhost::model::Number(d->Prop("y2"))}),
        std::vector<double>({c.hx1, c.hy1, c.hx2, c.hy2}))
        << c.value << " " << c.t1 << c.t2;
    EXPECT_EQ(txhost::model::Number(d->Prop("value")), std::fabs(c.hy2 - c.hy1));
  }
}

TEST_F(Dimensions, OverallDimensionPlacesItsLineAndText)
{
  const double r2 = std::sqrt(2.0);
  const struct
  {
    double fn, dln;
    int code, linePoints;
    double tx, ty;
  } cases[] = {{0, 0, 0, 1, 30, -2}, {90, 5, 2, 1, 10, 13}, {45, 2, 2, 0, r2, r2}, {0, 3, 1, 1, 33, -2}};
  txhost::Object& active = H.Create(txhost::model::View, Doc, Doc);
  MA.R().Symbols2DContainer = MA.R().View;
  for (const auto& c : cases) {
    MA.drDimL7(0, None, 0, -12, 1, 1, c.fn, c.dln, 10, 10, 1, 1, 30, 20, 1, 1, "a", "b", "c");
    const txhost::Object* d = Last(m2::LineDimension);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Parent(), &active);
    EXPECT_EQ(d->Prop("orientation"), txapi::txLinDHorizontal);
    EXPECT_EQ(d->Prop("leader-code"), c.code);
    EXPECT_EQ(d->Prop("end1-kind"), 7);
    EXPECT_EQ(d->Prop("end2-kind"), 7);
    EXPECT_EQ(d->Prop("auto-nominal"), true);
    EXPECT_EQ(d->Prop("upper-value"), 0.02);
    EXPECT_EQ(d->Prop("lower-value"), -0.02);
    EXPECT_EQ(d->CallCount("SetLinePoint"), std::size_t(c.linePoints)) << c.fn;
    EXPECT_NEAR(txhost::model::Number(d->Prop("text-x")), c.tx, 1e-12) << c.fn;
    EXPECT_NEAR(txhost::model::Number(d->Prop("text-y")), c.ty, 1e-12) << c.fn;
    EXPECT_EQ(Line(*d, "before"), "-");
  }
  EXPECT_EQ(MA.R().Obj3D, nullptr);
  EXPECT_EQ(MA.R2D().CurDrawingObject, nullptr);
  // Without an active 2D document there is nowhere to put it.
  const std::size_t made = Of(m2::LineDimension).size();
  for (txhost::Object* active :
       {static_cast<txhost::Object*>(nullptr), H.NewDocument(txapi::txDocumentPart, true)}) {
    H.SetActiveDocument(active);
    MA.drDimL7(0, None, 0, -12, 1, 1, 0, 0, 10, 10, 1, 1, 30, 20, 1, 1, None, None, None);
  }
  EXPECT_EQ(H.ObjectsOfKind(m2::LineDimension).size(), made);
}

// Diameter, radius and angle dimensions: what each writes, how often it applies, and the rounding of
// their text shifts and leader length.
TEST_F(Dimensions, DiameterRadiusAndAngleValueRules)
{
  MA.drDimD(20, None, 15, 4, 3, 5, 6, 9, "⌀", "H7", None);
  const txhost::Object* d = Last(m2::DiametralDimension);
  ASSERT_NE(d, nullptr);
  Remembered(d);
  EXPECT_EQ(Ops(*d), "SetCentre SetRadius SetStyle SetAngle Update GetTextAfter GetTextBefore SetLeaderCode "
                     "SetLeaderAngle SetTextShiftSide SetTextShift Update");
  for (const auto& [k, v] : std::initializer_list<std::pair<const char*, Value>>{{"xc", 5.0},
                                                                                 {"radius", 10.0},
                                                                                 {"style", 1},
                                                                                 {"angle", 45.0},
                                                                                 {"leader-code", 3},
                                                                                 {"leader-angle", 15.0},
                                                                                 {"text-shift-side", 1},
                                                                                 {"text-shift", -4}})
    EXPECT_EQ(d->Prop(k), v) << k;
  EXPECT_EQ(Line(*d, "after"), "H7");

  const struct
  {
    double drl;
    int shift;
  } radii[] = {{2.5, 3},         {-2.5, -3},        {1e-7, 0},
               {1e300, INT_MAX}, {-1e300, INT_MIN}, {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const auto& c : radii) {
    MA.drDimR(20, None, 15, c.drl, 9, 2, 1, 1, 0, 0, "R", None, None);
    const txhost::Object* r = Last(m2::RadialDimension);
    ASSERT_NE(r, nullptr);
    Remembered(r);
    EXPECT_EQ(r->Prop("radius"), 20.0);
    EXPECT_EQ(r->Prop("text-shift"), c.shift) << c.drl;
    EXPECT_FALSE(r->Has("text-shift-side"));
    EXPECT_EQ(r->UpdateCount(), 2);
  }

  const struct
  {
    double val;
    int napr;
    double dln, leader, angle2;
    int shift;
  } angles[] = {{30, -1, 7.4, 7, 60, 15}, {45, 1, -2.5, -3, 135, 23}, {1e12, 1, 0, 0, 90 + 1e12, INT_MAX}};
  for (const auto& c : angles) {
    MA.drDimA(c.val, c.napr, 90, 99, 1, 2, 10, c.dln, 1, 2, 3, 1, 4, 5, 6, 0, "∠", 7, 8);
    const txhost::Object* a = Last(m2::AngleDimension);
    ASSERT_NE(a, nullptr);
    Remembered(a);
    EXPECT_EQ(View->CallsOf("Add").back()->Arguments, Value::array({txapi::txDrADimension}));
    EXPECT_EQ(a->Prop("radius"), 25.0);
    EXPECT_EQ(a->Prop("angle1"), 90.0);
    EXPECT_EQ(a->Prop("angle2"), c.angle2);
    EXPECT_EQ(a->Prop("leader-length"), c.leader);
    EXPECT_EQ(a->Prop("text-shift"), c.shift);
    EXPECT_EQ(a->Prop("text-shift-side"), 0);
    EXPECT_EQ(a->Prop("direction"), false);
    EXPECT_EQ(a->UpdateCount(), 1);
    EXPECT_EQ(Line(*a, "after"), "-");
  }
  // In a placement enlarged 4 times the arc is still 25 from the vertex on the sheet.
  MA.drMtr(10, 10, 0, 4);
  MA.drDimA(30, -1, 90, 99, 1, 2, 10, 0, 1, 2, 3, 1, 4, 5, 6, 0, "", 7, 8);
  MA.drDeleteMtr();
  EXPECT_EQ(Last(m2::AngleDimension)->Prop("radius"), 25.0 / 4);
}

// An angle whose vertex stands far off what it measures (a slender taper's apex), its measured points on
// its rays: the arc goes where the caller asks, also in an enlarged placement, and each ray is drawn from
// its point to the arc, not from the vertex across the sheet.
TEST_F(Dimensions, AnAngleByPointsOnItsRaysStandsWhereAsked)
{
  const double a1 = 181.5, a2 = 178.5, at = 50, asked = 60, xc = 7, yc = 8;
  const auto on = [&](double a, double& x, double& y) {
    x = xc + at * std::cos(a * Pi / 180), y = yc + at * std::sin(a * Pi / 180);
  };
  double x1, y1, x2, y2;
  on(a1, x1, y1), on(a2, x2, y2);
  MA.drMtr(10, 10, 0, 4);
  MA.drDimA(3, -1, a1, asked, 0, 0, 0, 0, x1, y1, 1, 0, x2, y2, 1, 0, None, xc, yc);
  MA.drDeleteMtr();
  ASSERT_EQ(Of(m2::AngleDimension).size(), 1u);
  EXPECT_EQ(Last(m2::AngleDimension)->Prop("radius"), asked);
  const txhost::SvgLayout l = txhost::LayOut(*Doc);
  const auto arc = std::find_if(l.Lines.begin(), l.Lines.end(),
                                [](const txhost::SvgPolyline& p) { return p.Kind == "dimension-arc"; });
  ASSERT_NE(arc, l.Lines.end());
  int rays = 0;
  for (const txhost::SvgPolyline& p : l.Lines) {
    if (p.Kind != "extension") continue;
    ++rays;
    ASSERT_EQ(p.Points.size(), 2u);
    const auto from = [&](std::size_t i) {
      return std::hypot(p.Points[i].first - arc->CX, p.Points[i].second - arc->CY) / arc->R;
    };
    EXPECT_NEAR(from(0), at / asked, 1e-6);
    EXPECT_NEAR(from(1), 1.0, 1e-6);
  }
  EXPECT_EQ(rays, 2);
}

// The rounding of text shifts against the standard library's: halves away from zero, 0 near 0.
TEST_F(Dimensions, NearestAgreesWithRoundingHalvesAwayFromZero)
{
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> whole(-100000, 100000);
  std::uniform_real_distribution<double> frac(-1, 1);
  for (int i = 0; i < 20000; ++i) {
    const double v = whole(rng) + (i % 4 == 0 ? 0.5 : frac(rng));
    if (std::fabs(v) <= 2e-6) continue;
    ASSERT_EQ(drApi::NearestInt(v), std::lround(v)) << v;
    ASSERT_EQ(drApi::NearestWhole(v), double(std::lround(v))) << v;
  }
  EXPECT_EQ(drApi::NearestInt(1.5e-6), 0);
}

// While curves are being collected, or for a value that is not finite, nothing is made and what was made
// last stays remembered; an empty collector entry does not count, and the overall dimension has no such
// guard.
TEST_F(Dimensions, NothingWhileCollectingOrNotFinite)
{
  MA.drDimD(10, None, 0, 0, 0, 0, 0, 0, None, None, None);
  const txhost::Object* before = Obj(MA.R2D().CurDrawingObject);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  MA.drDimL(1, None, 1, 0, 0, 0, 0, 0, nan, 0, 1, 1, 5, 0, 1, 1, None, None, None);
  MA.drDimD(inf, None, 0, 0, 0, 0, 0, 0, None, None, None);
  MA.drDimA(10, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 1, 1, None, 0, -inf);
  {
    Collecting c;
    MA.drDimL7(0, None, 0, -12, 1, 1, 0, 0, 10, 10, 1, 1, 30, 20, 1, 1, None, None, None);
    MA.drDimL(1, None, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 5, 0, 1, 1, None, None, None);
    MA.drDimD(10, None, 0, 0, 0, 0, 0, 0, None, None, None);
    MA.drDimR(10, None, 0, 0, 0, 0, 0, 0, 0, 0, None, None, None);
    MA.drDimA(10, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 1, 1, None, 0, 0);
  }
  EXPECT_EQ(Of(m2::DiametralDimension).size(), 1u);
  EXPECT_EQ(Of(m2::LineDimension).size(), 1u); // the overall one
  EXPECT_TRUE(Of(m2::RadialDimension).empty() && Of(m2::AngleDimension).empty());
  Remembered(before);
  MA.R2D().AContour.Push(nullptr);
  MA.drDimR(10, None, 0, 0, 0, 0, 0, 0, 0, 0, None, None, None);
  MA.R2D().AContour.Pop();
  EXPECT_EQ(Of(m2::RadialDimension).size(), 1u);
}

// A dimension without its text or settings is still made, applied and remembered.
TEST_F(Dimensions, MissingFacetsSkipOnlyTheirSteps)
{
  auto& f = H.GetFaults();
  for (const std::string_view iid : {txapi::IDimensionText::IID.text(), txapi::IDimensionParams::IID.text()})
    f.RefuseInterface(txhost::Target::OfKind(std::string(m2::LineDimension)), iid);
  MA.drDimL(1, None, 1, 0, 3, 0, 0, 0, 0, 0, 1, 1, 5, 0, 1, 1, "a", "b", None);
  const txhost::Object* d = Last(m2::LineDimension);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->UpdateCount(), 1);
  EXPECT_FALSE(d->Has("text-shift"));
  EXPECT_EQ(Line(*d, "before"), "-");
  Remembered(d);
}

// With parametric dimensions on, a linear dimension follows the variable bound to the very double it was
// given (by its dimension text) and a radius the variable's name; a copy of equal value links nothing. A
// linear dimension's ends join the parametric contour's curves that meet there.
TEST_F(Dimensions, ParametricLinksGoThroughTheRegisteredDouble)
{
  double length = -40, radius = 5;
  AVariable.AddVar("L", &length, "");
  AVariable.AddVar("R", &radius, "");
  ADimension3D.IsParametric = true;
  // The driving constraint's expression on the last dimension of the kind, and its joined points.
  auto constraints = [&](std::string_view kind, int type) {
    std::string s;
    for (txhost::Object* c : txhost::model::LiveMembers(*Last(kind), "parametric-constraint"))
      if (c->Prop("type") == type && c->Applied())
        s += "[" +
             (type == txapi::txCMergePoints
                  ? std::to_string(int(txhost::model::Number(c->Prop("index")))) + "-" +
                        std::to_string(int(txhost::model::Number(c->Prop("partner-index"))))
              : c->Prop("expression").is_string() ? c->Prop("expression").get<std::string>()
                                                  : "") +
             "]";
    return s;
  };
  MA.drLine(-10, 0, 0, 0, 1);
  const SmartPtr<txapi::IDrawingObject> left = MA.R2D().CurDrawingObject;
  MA.drLine(0, 0, 0, 10, 1);
  const SmartPtr<txapi::IDrawingObject> up = MA.R2D().CurDrawingObject;
  for (const auto& [line, host] : {std::pair{new TLineSeg(-10, 0, 0, 0, 1), left.get()},
                                   std::pair{new TLineSeg(0, 0, 0, 10, 1), up.get()}}) {
    line->Obj = host;
    drApi::ParametricData.Add(line);
  }
  double copy = length;
  for (const double* v : {&length, &copy}) {
    MA.drDimL(*v, None, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 50, 0, 1, 1, None, None, None);
    EXPECT_EQ(constraints(m2::LineDimension, txapi::txCDimWithVariable), v == &length ? "[-(L)]" : "[]");
    EXPECT_EQ(constraints(m2::LineDimension, txapi::txCMergePoints), "[0-1][0-0]");
  }
  double radiusCopy = radius;
  for (const double* v : {&radius, &radiusCopy}) {
    MA.drDimR(*v, None, 0, 0, 0, 0, 0, 0, 0, 0, None, None, None);
    EXPECT_EQ(constraints(m2::RadialDimension, txapi::txCDimWithVariable), v == &radius ? "[R]" : "[]");
    EXPECT_EQ(constraints(m2::RadialDimension, txapi::txCMergePoints), "");
  }
  MA.drDimD(radius, None, 0, 0, 0, 0, 0, 0, None, None, None);
  EXPECT_TRUE(txhost::model::LiveMembers(*Last(m2::DiametralDimension), "parametric-constraint").empty());
  ADimension3D.IsParametric = false;
  MA.drDimL(length, None, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 50, 0, 1, 1, None, None, None);
  EXPECT_EQ(constraints(m2::LineDimension, txapi::txCDimWithVariable), "");
  EXPECT_EQ(constraints(m2::LineDimension, txapi::txCMergePoints), "[0-1][0-0]");
  drApi::ParametricData.Clear();
  AVariable.AVariables.Count = 0;
}

} // namespace
