#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Placement3D.h"
#include "txhost/lib/PlacementChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>

namespace {

using txapi::SmartPtr;
using txhost::Object;
using namespace txhost::place;

::testing::AssertionResult Near(const Vec3& a, const Vec3& b, double tol = 1e-9)
{
  if (Length(Sub(a, b)) <= tol) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << a[0] << ", " << a[1] << ", " << a[2] << ") is not (" << b[0]
                                       << ", " << b[1] << ", " << b[2] << ")";
}

// The decided table, written out: for each standard plane the world axes of sketch u, v and the normal.
struct PlaneRow
{
  int Type;
  Vec3 U, V, N;
};
const PlaneRow PlaneTable[] = {
    {txapi::o3d_planeXOY, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {txapi::o3d_planeXOZ, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
    {txapi::o3d_planeYOZ, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
};

TEST(Placement, StandardPlanesFollowTheTableAndAreRightHanded)
{
  for (const PlaneRow& r : PlaneTable) {
    SCOPED_TRACE(r.Type);
    const std::optional<Frame> f = StandardPlane(r.Type);
    ASSERT_TRUE(f);
    EXPECT_TRUE(Near(f->U, r.U));
    EXPECT_TRUE(Near(f->V, r.V));
    EXPECT_TRUE(Near(f->N, r.N));
    EXPECT_TRUE(Near(Cross(f->U, f->V), f->N)) << "u x v is the normal";
    EXPECT_FALSE(f->Mirrored());
    // The offset side: a plane offset by d lies d along its normal.
    EXPECT_TRUE(Near(Offset(*f, 7.5).At(0, 0), Mul(r.N, 7.5)));
  }
  EXPECT_FALSE(StandardPlane(txapi::o3d_planeOffset));
}

TEST(Placement, TheSketchAngleTurnsTheFrameAboutTheNormal)
{
  const Frame f = Turned(*StandardPlane(txapi::o3d_planeXOY), 30.0);
  const double c = std::cos(std::numbers::pi / 6), s = 0.5;
  EXPECT_TRUE(Near(f.At(1, 0), {c, s, 0}));
  EXPECT_TRUE(Near(f.At(0, 1), {-s, c, 0}));
  // On YOZ a quarter turn takes u (-z) to v (+y) and v to +z.
  const Frame y = Turned(*StandardPlane(txapi::o3d_planeYOZ), 90.0);
  EXPECT_TRUE(Near(y.U, {0, 1, 0}));
  EXPECT_TRUE(Near(y.V, {0, 0, 1}));
  EXPECT_TRUE(Near(y.N, {1, 0, 0}));
}

TEST(Placement, DirectionCodesSweepTheirSides)
{
  const struct
  {
    int Code;
    double From, To;
  } rows[] = {{txapi::dtNormal, 0, 4}, {txapi::dtReverse, -6, 0}, {txapi::dtBoth, -6, 4}, {txapi::dtMiddlePlane, -2, 2}};
  for (const auto& r : rows) {
    const Range s = Sweep(r.Code, 4, -6);
    EXPECT_EQ(s.From, r.From) << r.Code;
    EXPECT_EQ(s.To, r.To) << r.Code;
  }
  EXPECT_EQ(Sweep(9, 4, 6).Length(), 0.0);
  EXPECT_GT(TaperShift(10, true, -5), 0.0) << "outward widens along the sweep, whichever side";
  EXPECT_NEAR(TaperShift(45, false, 3), -3.0, 1e-12);
}

TEST(Placement, AComponentMatrixPlacesPointsAsTheAdapterWritesIt)
{
  // Turned end for end and a quarter: X = -x, Y = +z, Z = X x Y = +y, at (10, 0, 0).
  const std::optional<Matrix> m = MatrixOf({-1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 10, 0, 0, 1});
  ASSERT_TRUE(m);
  EXPECT_TRUE(Near(m->Point({1, 2, 3}), {9, 3, 2}));
  EXPECT_TRUE(Near(m->Direction({0, 0, 1}), {0, 1, 0}));
  EXPECT_FALSE(m->Mirrored());
  const Box b = Apply(*m, Box{{0, 0, 0}, {1, 2, 3}});
  EXPECT_TRUE(Near(b.Lo, {9, 0, 0}));
  EXPECT_TRUE(Near(b.Hi, {10, 3, 2}));
  EXPECT_FALSE(MatrixOf({1, 0, 0}));
  EXPECT_FALSE(MatrixOf(std::vector<double>(16, NAN)));
}

// Points of a 2D arc, placed by a frame and a mirroring matrix one by one, lie on the placed arc where
// turning its start about its axis takes them.
TEST(Placement, AnArcKeepsItsSenseUnderAMirroringFrame)
{
  const Frame yoz = *StandardPlane(txapi::o3d_planeYOZ);
  const Frame mirrored{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
  const Matrix reflect{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {5, 5, 5}};
  ASSERT_TRUE(mirrored.Mirrored());
  ASSERT_TRUE(reflect.Mirrored());
  for (bool clockwise : {false, true})
    for (const Frame* f : {&yoz, &mirrored}) {
      Curve arc{Curve::Kind::Arc, {3, 0}, {0, 3}, {0, 0}, 3, clockwise};
      const Arc3D a = Apply(reflect, PlaceArc(*f, arc));
      const double sweep = clockwise ? -1.5 * std::numbers::pi : 0.5 * std::numbers::pi;
      for (int i = 0; i <= 8; ++i) {
        const double t = sweep * i / 8;
        const Vec3 expected = reflect.Point(f->At(3 * std::cos(t), 3 * std::sin(t)));
        // Rodrigues: the start turned by |t| about the axis.
        const Vec3 r = Sub(a.Start, a.C), k = a.Axis;
        const double th = std::abs(t);
        const Vec3 turned = Add(Add(Mul(r, std::cos(th)), Mul(Cross(k, r), std::sin(th))),
                                Mul(k, Dot(k, r) * (1 - std::cos(th))));
        EXPECT_TRUE(Near(Add(a.C, turned), expected, 1e-9)) << "clockwise " << clockwise << " step " << i;
      }
    }
}

// Loops in any order and direction; nesting by even-odd; a stray line ignored and counted.
TEST(Placement, ProfileLoopsNestByEvenOddAndOpenCurvesAreCounted)
{
  auto line = [](double x1, double y1, double x2, double y2) {
    return Curve{Curve::Kind::Line, {x1, y1}, {x2, y2}};
  };
  std::vector<Curve> c = {line(10, -10, 10, 10), line(-10, 10, -10, -10), line(10, 10, -10, 10),
                          line(10, -10, -10, -10), // outer square, one side reversed
                          Curve{Curve::Kind::Circle, {6, 0}, {6, 0}, {0, 0}, 6},
                          // an inner square made of two arcs and two lines inside the circle
                          Curve{Curve::Kind::Arc, {2, -2}, {2, 2}, {0, 0}, std::sqrt(8.0), false},
                          line(2, 2, -2, 2), line(-2, -2, -2, 2),
                          Curve{Curve::Kind::Arc, {-2, -2}, {2, -2}, {0, 0}, std::sqrt(8.0), false},
                          line(20, 0, 30, 0)};
  const Loops l = FindLoops(c);
  ASSERT_EQ(l.Closed.size(), 3u);
  EXPECT_EQ(l.Open, 1);
  std::vector<int> depths;
  for (const Loop& k : l.Closed)
    depths.push_back(k.Depth);
  std::sort(depths.begin(), depths.end());
  EXPECT_EQ(depths, (std::vector<int>{0, 1, 2}));

  const Frame xoz = *StandardPlane(txapi::o3d_planeXOZ);
  const std::optional<Placed> p = PlaceExtrusion(txapi::o3d_cutExtrusion, xoz, txapi::dtReverse, 1, 3, 0, false, c);
  ASSERT_TRUE(p);
  EXPECT_TRUE(p->Cut);
  EXPECT_EQ(p->OpenCurves, 1);
  EXPECT_TRUE(Near(p->Tool.Lo, {-10, -3, -10}));
  EXPECT_TRUE(Near(p->Tool.Hi, {10, 0, 10}));
  ASSERT_EQ(p->Circles.size(), 1u);
  EXPECT_TRUE(Near(p->Circles[0].Axis, {0, 1, 0}));
  EXPECT_FALSE(PlaceExtrusion(txapi::o3d_bossExtrusion, xoz, 0, 1, 1, 0, false, {line(0, 0, 1, 1)}));
  // A taper outward widens the far end.
  const std::optional<Placed> t = PlaceExtrusion(txapi::o3d_bossExtrusion, xoz, txapi::dtNormal, 10, 10, 45, true,
                                                 {c[4]});
  EXPECT_TRUE(Near(t->Tool.Lo, {-16, 0, -16}));
  EXPECT_TRUE(Near(t->Tool.Hi, {16, 10, 16}));
}

class PlacedInPart : public ::testing::Test
{
protected:
  PlacedInPart() { H.SetDocumentsFolder(Dir.path()); }

  SmartPtr<txapi::IPart> NewPart()
  {
    Doc = H.Application().GetDocuments()->Add(txapi::txDocumentPart, true);
    return SmartPtr<txapi::ITavrixDocument3D>(Doc)->GetTopPart();
  }
  // A sketch on the plane offset by d from the standard plane, turned by the angle, holding a circle of
  // radius 2 at (3, 1); nothing else when axis is false, else a half-disc beside an axis line.
  SmartPtr<txapi::ISketch> Sketch(const SmartPtr<txapi::IPart>& part, int plane, double d, double angle)
  {
    SmartPtr<txapi::IAuxiliaryGeomContainer> aux = part;
    SmartPtr<txapi::IModelObject> o = aux->Add(txapi::o3d_planeOffset);
    SmartPtr<txapi::IPlane3D> p = o;
    p->SetBasePlane(part->GetDefaultEntity(txapi::txObj3dTypeEnum(plane)));
    p->SetOffset(d);
    o->Update();
    SmartPtr<txapi::ISketch> s = SmartPtr<txapi::IModelContainer>(part)->GetSketches()->Add();
    s->SetPlane(o);
    s->SetAngle(angle);
    SmartPtr<txapi::IModelObject>(s)->Update();
    SmartPtr<txapi::ITavrixDocument2D> editor = s->BeginEdit();
    SmartPtr<txapi::ICircles> circles = editor->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    SmartPtr<txapi::ICircle> c = circles->Add();
    c->SetCircle(3, 1, 2);
    c->Update();
    s->EndEdit();
    return s;
  }

  txhost::test::TempDir Dir;
  txhost::Host H;
  SmartPtr<txapi::ITavrixDocument> Doc;
};

// An extrusion on every standard plane, offset, turned, in every direction: its circle lies where the
// table puts it, swept over the code's side; the saved part carries it and print shows it.
TEST_F(PlacedInPart, ExtrusionsArePlacedOnEveryPlaneAndKeptBySaving)
{
  SmartPtr<txapi::IPart> part = NewPart();
  for (const PlaneRow& r : PlaneTable)
    for (int code = 0; code < 4; ++code) {
      SCOPED_TRACE(::testing::Message() << "plane " << r.Type << " code " << code);
      SmartPtr<txapi::ISketch> s = Sketch(part, r.Type, -4, 90);
      SmartPtr<txapi::IExtrusion> e = SmartPtr<txapi::IModelContainer>(part)->GetExtrusions()->Add(txapi::o3d_cutExtrusion);
      e->SetProfiles({SmartPtr<txapi::IModelObject>(s)});
      e->SetSideDepth(0, 6);
      e->SetSideDepth(1, 6);
      e->SetDirectionType(txapi::txDirectionTypeEnum(code));
      ASSERT_TRUE(SmartPtr<txapi::IModelObject>(e)->Update());
      const std::optional<Placed> p = PlacedOf(*Object::From(e.get()));
      ASSERT_TRUE(p);
      // Turned a quarter: sketch (3, 1) lies at 3 v - 1 u.
      const Vec3 centre = Add(Mul(r.N, -4), Sub(Mul(r.V, 3), r.U));
      ASSERT_EQ(p->Circles.size(), 1u);
      EXPECT_TRUE(Near(p->Circles[0].Centre, centre));
      EXPECT_EQ(p->Circles[0].R, 2);
      const Range expected = Sweep(code, 6, 6);
      EXPECT_EQ(p->Sweep.From, expected.From);
      EXPECT_EQ(p->Sweep.To, expected.To);
      // The box reaches the swept ends along the normal.
      EXPECT_NEAR(Dot(p->Tool.Hi, r.N) + Dot(p->Tool.Lo, r.N), 2 * -4 + expected.From + expected.To, 1e-9);
    }
  const std::vector<Placed> before = PlacedFeatures(*H.TopPart(*Object::From(Doc.get())));
  ASSERT_EQ(before.size(), 12u);
  ASSERT_TRUE(Doc->SaveAs((Dir / "placed.tpt").wstring()));
  std::string error;
  Object* back = ReadDocumentFile(H, Dir / "placed.tpt", error);
  ASSERT_TRUE(back) << error;
  const std::vector<Placed> after = PlacedFeatures(*H.TopPart(*back));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_EQ(PlacedToJson(after[i]), PlacedToJson(before[i])) << i;
  EXPECT_EQ(after[0].Loops.size(), 1u) << "the loops found again in the profile";
  std::ostringstream out;
  H.Describe(out, false);
  EXPECT_NE(out.str().find("placed at (-4, 0, 0) u (0, 1, 0) v (0, 0, 1) n (1, 0, 0), sweep [0, 6]"), std::string::npos)
      << out.str();
  // A damaged value is no placement.
  txhost::Value bad = PlacedToJson(after[0]);
  bad["frame"][3] = "x";
  EXPECT_FALSE(PlacedFromJson(bad));
}

// Counts and codes of a placed record, and an extrusion's direction code, from a damaged file: beyond int's
// range they saturate (converted plainly, they were undefined behaviour).
TEST_F(PlacedInPart, CodesBeyondIntsRangeSaturate)
{
  SmartPtr<txapi::IPart> part = NewPart();
  SmartPtr<txapi::IExtrusion> e =
      SmartPtr<txapi::IModelContainer>(part)->GetExtrusions()->Add(txapi::o3d_cutExtrusion);
  e->SetProfiles({SmartPtr<txapi::IModelObject>(Sketch(part, txapi::o3d_planeXOY, 0, 0))});
  e->SetSideDepth(0, 6);
  ASSERT_TRUE(SmartPtr<txapi::IModelObject>(e)->Update());
  Object& feature = *Object::From(e.get());
  const txhost::Value placed = feature.Prop("placed");
  constexpr int Max = std::numeric_limits<int>::max(), Min = std::numeric_limits<int>::min();
  for (const auto& [value, want] :
       {std::pair{1e308, Max}, {3e9, Max}, {-3e9, Min}, {-1e308, Min}, {7.9, 7}}) {
    SCOPED_TRACE(value);
    for (const char* key : {"type", "open"}) {
      txhost::Value v = placed;
      v[key] = value;
      const std::optional<Placed> p = PlacedFromJson(v);
      ASSERT_TRUE(p);
      EXPECT_EQ(std::string(key) == "type" ? p->Type : p->OpenCurves, want);
    }
    // An unknown direction code sweeps nothing; the feature is still placed.
    feature.Set("direction", value);
    EXPECT_TRUE(SmartPtr<txapi::IModelObject>(e)->Update());
  }
}

} // namespace

namespace {

// A placed box-shaped feature: a square of side 2a on XOY about (cx, cy), swept over [from, to] in z.
Placed Square(int type, double cx, double cy, double a, double from, double to)
{
  const Curve sides[] = {{Curve::Kind::Line, {cx - a, cy - a}, {cx + a, cy - a}},
                         {Curve::Kind::Line, {cx + a, cy - a}, {cx + a, cy + a}},
                         {Curve::Kind::Line, {cx + a, cy + a}, {cx - a, cy + a}},
                         {Curve::Kind::Line, {cx - a, cy + a}, {cx - a, cy - a}}};
  Placed p = *PlaceExtrusion(type, Offset(*StandardPlane(txapi::o3d_planeXOY), from), txapi::dtNormal, to - from,
                             0, 0, false, std::vector<Curve>(std::begin(sides), std::end(sides)));
  return p;
}

} // namespace

// A cut that only touches the material cuts nothing; a boss that touches it belongs to the part, one a gap
// away does not.
TEST(PlacementChecks, CutsMustRemoveAndBossesMustTouch)
{
  const Placed body = Square(txapi::o3d_bossExtrusion, 0, 0, 10, 0, 10);
  EXPECT_TRUE(CheckPart({body, Square(txapi::o3d_cutExtrusion, 0, 0, 2, 8, 12)}, "p").empty());
  EXPECT_EQ(CheckPart({body, Square(txapi::o3d_cutExtrusion, 0, 0, 2, 10, 12)}, "p").size(), 1u);
  EXPECT_TRUE(CheckPart({body, Square(txapi::o3d_bossExtrusion, 0, 0, 2, 10, 12)}, "p").empty());
  EXPECT_EQ(CheckPart({body, Square(txapi::o3d_bossExtrusion, 0, 0, 2, 10.5, 12)}, "p").size(), 1u);
}

// A pin turned about its own x axis, placed through a plate with a hole at (0, 20) along x: on the hole's
// axis it passes, beside it it is reported, and a part turned about the main axis is no fastener.
TEST(PlacementChecks, FastenersMeetTheHolesTheyPass)
{
  const Frame xoy = *StandardPlane(txapi::o3d_planeXOY);
  const Curve pin[] = {{Curve::Kind::Line, {-10, 0}, {10, 0}},
                       {Curve::Kind::Line, {10, 0}, {10, 3}},
                       {Curve::Kind::Line, {10, 3}, {-10, 3}},
                       {Curve::Kind::Line, {-10, 3}, {-10, 0}}};
  const Placed turned = *PlaceRotation(txapi::o3d_bossRotated, xoy, 360, {-12, 0}, {12, 0},
                                       std::vector<Curve>(std::begin(pin), std::end(pin)));
  const Frame yoz = *StandardPlane(txapi::o3d_planeYOZ);
  const Placed plate = *PlaceExtrusion(txapi::o3d_bossExtrusion, yoz, txapi::dtBoth, 2, 2, 0, false,
                                       {{Curve::Kind::Circle, {40, 0}, {40, 0}, {0, 0}, 40}});
  // The hole at world (0, 20, 0): sketch u = -z = 0, v = y = 20.
  const Placed hole = *PlaceExtrusion(txapi::o3d_cutExtrusion, yoz, txapi::dtBoth, 5, 5, 0, false,
                                      {{Curve::Kind::Circle, {3, 20}, {3, 20}, {0, 20}, 3}});
  const PlacedComponent platePart{"plate", Matrix{}, {plate, hole}};
  for (double y : {20.0, 21.0}) {
    const PlacedComponent pinPart{"pin", Matrix{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, y, 0}}, {turned}};
    std::vector<int> met;
    const auto findings = CheckFasteners({platePart, pinPart}, {0, 0, 0}, {1, 0, 0}, &met);
    EXPECT_EQ(findings.size(), y == 20.0 ? 0u : 1u) << y;
    EXPECT_EQ(met, (std::vector<int>{0, y == 20.0 ? 1 : 0})) << y;
  }
  const PlacedComponent shaft{"shaft", Matrix{}, {turned}};
  EXPECT_TRUE(CheckFasteners({platePart, shaft}, {0, 0, 0}, {1, 0, 0}).empty()) << "on the main axis";
  const Box slot{{0, 0, 0}, {4, 10, 2}};
  EXPECT_TRUE(StandsIn(Box{{0, 1, 0}, {4, 9, 2}}, slot));
  EXPECT_FALSE(StandsIn(Box{{0, 1, 0}, {4, 9, 2.5}}, slot));
  EXPECT_FALSE(Clash(Box{{4, 0, 0}, {5, 1, 1}}, slot)) << "touching faces do not clash";
}

namespace {

// A boss extrusion of the triangle (0, 0), (1, 0), (0, 1) sketched on YOZ: its slanted side faces along
// u + v, which the table puts at -z + y.
TEST_F(PlacedInPart, BodyFacesTakeTheirNormalsFromTheSketchFrame)
{
  SmartPtr<txapi::IPart> part = NewPart();
  SmartPtr<txapi::ISketch> s = SmartPtr<txapi::IModelContainer>(part)->GetSketches()->Add();
  s->SetPlane(part->GetDefaultEntity(txapi::o3d_planeYOZ));
  SmartPtr<txapi::IModelObject>(s)->Update();
  SmartPtr<txapi::ITavrixDocument2D> editor = s->BeginEdit();
  SmartPtr<txapi::IDrawingContainer> dc = editor->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
  for (const auto& p : {std::array<double, 4>{0, 0, 1, 0}, {1, 0, 0, 1}, {0, 1, 0, 0}}) {
    SmartPtr<txapi::ILineSegment> l = dc->GetLineSegments()->Add();
    l->SetPoints(p[0], p[1], p[2], p[3]);
    l->Update();
  }
  s->EndEdit();
  SmartPtr<txapi::IExtrusion> e = SmartPtr<txapi::IModelContainer>(part)->GetExtrusions()->Add(txapi::o3d_bossExtrusion);
  e->SetProfiles({SmartPtr<txapi::IModelObject>(s)});
  e->SetSideDepth(0, 2);
  ASSERT_TRUE(SmartPtr<txapi::IModelObject>(e)->Update());
  int slanted = 0;
  for (const Object* body : txhost::model::LiveMembers(*Object::From(e.get()), "body"))
    for (const Object* f : txhost::model::LiveMembers(*body, "face")) {
      const txhost::Value& n = f->Prop("normal");
      if (n.is_array() && Length(Sub({n[0].get<double>(), n[1].get<double>(), n[2].get<double>()},
                                     {0, std::sqrt(0.5), -std::sqrt(0.5)})) < 1e-9)
        ++slanted;
    }
  EXPECT_EQ(slanted, 1);
}

} // namespace
