// The plane primitives, layers, texts and drawing-object queries on the stand-in host.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "Drawing2DSupport.h"
#include "hxcadkit/geometry/Elements.h"

namespace {

using namespace adaptertest;
using txhost::Value;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

class Primitives : public ::testing::Test, public Drawing2D
{
public:
  std::size_t Drawn() const { return txhost::model::LiveMembers(*View).size(); }
};

// Guards, styles and non-finite input: each call either makes exactly one host object or leaves the
// host and the remembered objects alone.
TEST_F(Primitives, GuardsStylesAndNonFiniteInputDecideWhatReachesTheHost)
{
  const double t = 0.3;
  const struct
  {
    const char* what;
    std::function<void()> call;
    bool made;
  } cases[] = {
      {"line inside the guard", [&] { MA.drLine(0, 0, 0.00005, 0.00008, 1); }, false},
      {"line of style 0", [&] { MA.drLine(0, 0, 10, 0, 0); }, false},
      {"arc of style 0", [&] { MA.drArc(0, 0, 5, 5, 0, 0, 5, 1, 0); }, true},
      {"circle of style 0", [&] { MA.drCircle(0, 0, 5, 0); }, false},
      {"arc with coincident ends", [&] { MA.drArc(0, 0, 5, 5, 0, 5.00001, 0, 1, 1); }, false},
      {"arc by angles, a full turn",
       [&] { MA.TModeler2D::drArc(0, 0, 5, t, t + 2 * std::numbers::pi, 1, 1); }, false},
      {"arc by angles", [&] { MA.TModeler2D::drArc(0, 0, 5, t, t + 1, 1, 1); }, true},
      {"line with a NaN end", [&] { MA.drLine(0, 0, NaN, 5, 1); }, false},
      {"line to infinity", [&] { MA.drLine(0, 0, Inf, 5, 1); }, false},
      {"arc with an infinite radius", [&] { MA.drArc(0, 0, Inf, 5, 0, 0, 5, 1, 1); }, false},
      {"circle about a NaN centre", [&] { MA.drCircle(NaN, 0, 5, 1); }, false},
      {"ellipse of NaN angle", [&] { MA.drEllipse(0, 0, 5, 3, NaN, 1); }, false},
      {"text at infinity", [&] { MA.drText(-Inf, 0, 0, 5, 1, 0, "A"); }, false},
      {"point of NaN", [&] { MA.drPoint(NaN, 1); }, false},
      {"ellipse", [&] { MA.drEllipse(0, 0, 5, 3, 30, 1); }, true},
  };
  MA.drLine(0, 0, 1, 1, 1);
  for (const auto& c : cases) {
    const std::size_t before = Drawn();
    const SmartPtr<txapi::IDrawingObject> last = MA.LastObjRef();
    c.call();
    EXPECT_EQ(Drawn(), before + (c.made ? 1 : 0)) << c.what;
    if (!c.made && std::string(c.what).find("style 0") == std::string::npos) {
      EXPECT_TRUE(MA.LastObjRef() == last) << c.what;
    }
  }
}

TEST_F(Primitives, HostObjectsGetTheirPropertiesInOrderAndAreRemembered)
{
  MA.drLine(1, 2, 3, 4, 2);
  txhost::Object* line = Obj(MA.LastObjRef());
  ASSERT_TRUE(line);
  EXPECT_EQ(line->Log()[0].Arguments, Value::array({1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(line->Prop("style"), 2);
  EXPECT_TRUE(line->Applied());
  EXPECT_EQ(Find(MA.R().LastObj.get()), line);
  // The direction flag: clockwise for every Napr but 1.
  for (int napr : {1, -1, 0, 2}) {
    MA.drArc(0, 0, -5, 5, 0, 0, 5, napr, 1);
    txhost::Object* arc = Obj(MA.LastObjRef());
    ASSERT_EQ(arc->Kind(), "arc");
    EXPECT_EQ(arc->Prop("clockwise"), napr != 1) << napr;
    EXPECT_EQ(arc->Prop("radius"), -5.0);
  }
  MA.drCircle(1, 1, -4, 3);
  txhost::Object* circle = Obj(MA.LastObjRef());
  EXPECT_EQ(circle->Log()[0].Arguments, Value::array({1.0, 1.0, -4.0}));
  EXPECT_EQ(MA.GetType(MA.LastObjRef()), txapi::txDrCircle);
  MA.drEllipse(1, 2, 6, 3, 15, 1);
  EXPECT_EQ(Obj(MA.LastObjRef())->Log()[0].Arguments, Value::array({1.0, 2.0, 6.0, 3.0, 15.0}));

  // Without a view, lines are made; arcs and circles are not.
  MA.R().View.reset();
  const std::size_t before = Drawn();
  MA.drArc(0, 0, 5, 5, 0, 0, 5, 1, 1);
  MA.drCircle(0, 0, 5, 1);
  MA.drLine(0, 0, 9, 9, 1);
  EXPECT_EQ(Drawn(), before + 1);
}

// Collected arcs against the geometry: where they start and end and which way they turn.
TEST_F(Primitives, CollectedCurvesFollowTheDirectionRules)
{
  Collecting col;
  const struct
  {
    double r;
    int napr;
    double sx, sy, ex, ey;
    TArc::TDirection sense;
  } arcs[] = {
      {5, 1, 5, 0, 0, 5, TArc::BackClockWise},
      {5, -1, 0, 5, 5, 0, TArc::BackClockWise},
      {-5, 1, 5, 0, 0, 5, TArc::ByClockWise},
  };
  for (const auto& a : arcs) {
    MA.drArc(0, 0, a.r, 5, 0, 0, 5, a.napr, 1);
    auto* arc = dynamic_cast<TArc*>(col.C.Last());
    ASSERT_TRUE(arc);
    TPoint2D s, e;
    arc->PointOn(0, s);
    arc->PointOn(arc->GetTMax(), e);
    EXPECT_NEAR(s.x, a.sx, 1e-9);
    EXPECT_NEAR(s.y, a.sy, 1e-9);
    EXPECT_NEAR(e.x, a.ex, 1e-9);
    EXPECT_NEAR(e.y, a.ey, 1e-9);
    EXPECT_EQ(arc->GetSense(), a.sense);
  }
  MA.drLine(0, 0, 4, 0, 0);
  EXPECT_EQ(col.C.Last()->Atr, 0);
  const Integer count = col.C.Count;
  MA.drEllipse(0, 0, 5, 3, 0, 1);
  MA.drHatch(0, 45, 2);
  MA.drEndObj();
  MA.drLayer(2);
  EXPECT_EQ(col.C.Count, count);
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  MA.drText(1, 2, 30, 5, 1, 0, TString(u8"Вал №"));
  auto* text = dynamic_cast<TText*>(col.C.Last());
  ASSERT_TRUE(text);
  EXPECT_TRUE(*text->Text == TString(u8"Вал №"));
  EXPECT_EQ(Drawn(), 0u);
}

// Under the adapter's own matrix (no 2D document) collected curves are placed; with a document the
// host places them and the collector keeps the values as given.
TEST_F(Primitives, SelfTransformAppliesOnlyWithoutADocument)
{
  Collecting col;
  SmartPtr<txapi::ITavrixDocument2D> doc = MA.R().IDoc2D;
  MA.R().IDoc2D.reset();
  MA.drMtr(0, 0, 30, 2);
  MA.drCircle(1, 0, 5, 1);
  MA.drArc(1, 0, 5, 6, 0, 1, 5, 1, 1);
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  auto* circle = dynamic_cast<TCircle*>(col.C[0]);
  auto* arc = dynamic_cast<TArc*>(col.C[1]);
  ASSERT_TRUE(circle && arc);
  EXPECT_NEAR(circle->Radius, 10, 1e-12);
  EXPECT_NEAR(circle->x, 2 * c, 1e-12);
  EXPECT_NEAR(circle->y, 2 * s, 1e-12);
  EXPECT_NEAR(arc->Radius, 10, 1e-12);
  EXPECT_NEAR(arc->A1, std::numbers::pi / 6, 1e-9);
  EXPECT_NEAR(arc->A2, std::numbers::pi / 6 + std::numbers::pi / 2, 1e-9);
  MA.drDeleteMtr();
  MA.drMtr(10, 20, 90, 2);
  MA.drText(1, 0, 15, 3, 1, 0, "A");
  auto* text = dynamic_cast<TText*>(col.C.Last());
  EXPECT_NEAR(text->x, 10, 1e-12);
  EXPECT_NEAR(text->y, 22, 1e-12);
  EXPECT_NEAR(text->Angle, 105, 1e-9);
  EXPECT_NEAR(text->Height, 6, 1e-12);
  MA.R2D().OnlySizes2D = true;
  delete col.C.Pop();
  MA.R2D().AContour.Pop();
  const SmartPtr<txapi::IDrawingObject> last = MA.LastObjRef();
  MA.drCircle(0, 0, 5, 1); // nothing at all: not even the remembered object changes
  EXPECT_TRUE(MA.LastObjRef() == last);
  MA.R2D().OnlySizes2D = false;
  MA.R2D().AContour.Push(&col.C);
  MA.R().IDoc2D = doc;
  MA.drCircle(1, 0, 5, 1);
  EXPECT_NEAR(dynamic_cast<TCircle*>(col.C.Last())->Radius, 5, 1e-12);
  MA.R().IDoc2D.reset();
  MA.drDeleteMtr();
  MA.R().IDoc2D = doc;
}

TEST_F(Primitives, LayersTextsAndQueries)
{
  MA.drLine(0, 0, 5, 0, 1);
  SmartPtr<txapi::IDrawingObject> line = MA.LastObjRef();
  MA.drLayer(3);
  EXPECT_TRUE(MA.PrevObjRef() == line);
  EXPECT_FALSE(MA.LastObjRef());
  EXPECT_EQ(View->Prop("layer"), 0); // no layer 3: the view's own layer is made current
  {
    Collecting col;
    MA.drLine(0, 0, 5, 5, 1);
    MA.drLayer(1);
    EXPECT_EQ(H.ObjectsOfKind("layer").size(), 1u);
  }

  // A free text gets its line, height and angle and is applied.
  MA.drText(10, 20, 30, 5, 1, 0, TString(u8"Ступица"));
  const auto texts = Of(txhost::model2d::DrawingText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_TRUE(texts[0]->Applied());
  EXPECT_EQ(texts[0]->Prop("angle"), 30.0);
  EXPECT_EQ(U8(txhost::model2d::TextOf(*texts[0])), "Ступица");
  EXPECT_EQ(Of(txhost::model2d::TextItem)[0]->Prop("height"), 5.0);
  MA.AddLineText(nullptr, "x", 5);
  SmartPtr<txapi::IText> text =
      SmartPtr<txapi::IText>::Attach(static_cast<txapi::IText*>(texts[0]->QueryInterface(txapi::IText::IID)));
  MA.AddLineText(text, "y", 0);
  EXPECT_FALSE(Of(txhost::model2d::TextItem)[1]->Has("height"));

  // Type, view number, deletion and the running number.
  EXPECT_EQ(MA.GetType(line), txapi::txDrLineSeg);
  EXPECT_EQ(MA.GetType(nullptr), 0);
  txhost::Object& view2 = H.Create(txhost::model::View, Doc, Doc);
  view2.Set("number", 2);
  MA.R().View =
      SmartPtr<txapi::IView>::Attach(static_cast<txapi::IView*>(view2.QueryInterface(txapi::IView::IID)));
  MA.R().DrawingContainer = MA.R().View;
  MA.drLine(0, 0, 5, 0, 1);
  EXPECT_EQ(MA.GetNumberView(MA.LastObjRef()), 2);
  MA.drMacro2D(true);
  MA.drLine(0, 0, 5, 0, 1);
  EXPECT_EQ(MA.GetNumberView(MA.LastObjRef()), 0);
  MA.drEndMacro();
  SmartPtr<txapi::IDrawingObject> gone = line;
  MA.drDeleteObj(gone);
  EXPECT_FALSE(gone);
  EXPECT_EQ(Obj(line)->Prop("deleted"), true);
  MA.drDeleteObj(gone);
  const int n = MA.NextInteger();
  EXPECT_EQ(MA.NextInteger(), n + 1);
  EXPECT_EQ(MA.NextInteger(), n + 2);
}

// The value and tolerance of a dimension read from its text, as the host hands it.
TEST_F(Primitives, DimensionValuesAreReadFromTheirTexts)
{
  txhost::Object& dim = H.Create(txhost::model2d::Dimension, Doc, View);
  SmartPtr<txapi::IDrawingObject> ref = SmartPtr<txapi::IDrawingObject>::Attach(
      static_cast<txapi::IDrawingObject*>(dim.QueryInterface(txapi::IDrawingObject::IID)));
  const struct
  {
    bool autoNominal;
    const char *nominal, *upper, *lower;
    bool angle;
    double n, hi, lo;
  } cases[] = {
      {false, "25,5", "", "-0,1", false, 25.5, 0, -0.1},
      {true, "99", "+0.2", "0", false, 12.5, 0.2, 0},
      {false, "30", "1°30'", "-0°15'", true, 30, 1.5, -0.25},
      {false, "1e400", "9", "", false, 1, 9, 0},
  };
  for (const auto& c : cases) {
    dim.Set("auto-nominal", c.autoNominal);
    dim.Set("nominal-value", 12.5);
    dim.Set("nominal-text", c.nominal);
    dim.Set("tolerance", "h14");
    dim.Set("upper", c.upper);
    dim.Set("lower", c.lower);
    double n = -1, hi = -1, lo = -1;
    TString q;
    ASSERT_TRUE(MA.GetDimParam(ref, n, q, hi, lo, c.angle)) << c.nominal;
    EXPECT_NEAR(n, c.n, 1e-12) << c.nominal;
    EXPECT_NEAR(hi, c.hi, 1e-12) << c.nominal;
    EXPECT_NEAR(lo, c.lo, 1e-12) << c.nominal;
    EXPECT_EQ(U8(q.toWideChar()), "h14");
  }
  // A figure too long for a double reads as nothing rather than as infinity.
  dim.Set("auto-nominal", false);
  dim.Set("nominal-text", std::string(400, '9'));
  double n = -1, hi, lo;
  TString q;
  MA.GetDimParam(ref, n, q, hi, lo, false);
  EXPECT_EQ(n, 0.0);
  MA.drLine(0, 0, 1, 0, 1);
  n = -1;
  EXPECT_FALSE(MA.GetDimParam(MA.LastObjRef(), n, q, hi, lo, false));
  EXPECT_FALSE(MA.GetDimParam(nullptr, n, q, hi, lo, false));
  EXPECT_EQ(n, -1);
}

// The part's side: a 3D polyline pending until its end, and the editing of the part in place.
TEST_F(Primitives, PolylinesAndInPlaceEditingNeedAPart)
{
  MA.drPolyline3D(true);
  MA.drPartBeginEditOnPlace();
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  MA.drCreate3D(true, true, T(Dir / "p.tpt"), "Деталь", "Д-1");
  ASSERT_TRUE(MA.R().Part);
  MA.drPolyline3D(true);
  EXPECT_EQ(MA.R2D().APrevCommand.Last(), cmPolyline3D);
  const auto lines = H.ObjectsOfKind(txhost::model2d::PolyLine3D);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->Prop("closed"), true);
  MA.drEndObj();
  EXPECT_TRUE(lines[0]->Applied());
  txhost::Object* part = Find(MA.R().Part.get());
  MA.drPartBeginEditOnPlace();
  EXPECT_EQ(part->Prop("editing-in-place"), true);
  MA.drPartEndEditOnPlace();
  EXPECT_EQ(part->CallsOf("EndEditOnPlace")[0]->Arguments, Value::array({true}));
  EXPECT_EQ(part->Prop("editing-in-place"), false);
  MA.drSave3D(true, true);
}

} // namespace
