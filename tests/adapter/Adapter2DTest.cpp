// The plane primitives, layers, texts and drawing-object queries on the stand-in host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Drawing2DSupport.h"
#include "txhost/lib/SvgWriter.h"
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

// Every curve style reaches the host as given and the picture draws each as the host would: a line with breaks
// carries one zigzag across the middle of a straight piece long enough for it (plain otherwise), a construction
// line is faint, a thick one thicker than a main line, a dotted one dotted.
TEST_F(Primitives, ThePictureDrawsEachCurveStyle)
{
  MA.drLine(0, 0, 30, 30, txapi::txCSBrokenLine);
  MA.drLine(0, 50, 6, 50, txapi::txCSBrokenLine);
  MA.drCircle(80, 0, 5, txapi::txCSBrokenLine);
  for (int style : {txapi::txCSConstruction, txapi::txCSThick, txapi::txCSDotted, txapi::txCSNormal})
    MA.drLine(0, 60 + style, 40, 60 + style, style);
  EXPECT_EQ(Of(txhost::model::LineSegment).at(4)->Prop("style"), 26);

  std::ostringstream out;
  txhost::WriteSvg(*Doc, out);
  const std::string svg = out.str();
  if (const char* file = std::getenv("HXCAD_SVG_OUT")) std::ofstream(file) << svg;
  // The curves' paths in drawing order: their points (picture y down) and their stroke width and pattern.
  std::vector<std::vector<std::pair<double, double>>> points;
  std::vector<std::string> strokes;
  for (std::size_t at = svg.find("<path d=\"M"); at != std::string::npos; at = svg.find("<path d=\"M", at + 1)) {
    const std::size_t end = svg.find('"', at + 9);
    strokes.push_back(svg.substr(end, svg.find("/>", end) - end));
    std::istringstream d(svg.substr(at + 10, end - at - 10));
    points.emplace_back();
    double x = 0, y = 0;
    char c = 'M', comma = 0;
    while ((c == 'M' || c == 'L') && d >> x >> comma >> y) {
      points.back().emplace_back(x, y);
      if (!(d >> c)) break;
    }
  }
  ASSERT_EQ(points.size(), 7u);
  // The long line with breaks: from end to end along its line, leaving it for 5 mm round its middle with two
  // corners 3 mm off it on either side (the picture keeps six digits).
  const auto& z = points[0];
  ASSERT_EQ(z.size(), 6u);
  auto off = [](std::pair<double, double> q) { return (q.first + q.second) / std::sqrt(2.0); };
  EXPECT_NEAR(z[5].first - z[0].first, 30, 1e-3);
  EXPECT_NEAR(z[5].second - z[0].second, -30, 1e-3);
  EXPECT_NEAR(off(z[1]) + off(z[4]), 0, 1e-3);
  EXPECT_NEAR(std::fabs(off(z[2])), 3, 1e-3);
  EXPECT_NEAR(off(z[2]), -off(z[3]), 1e-3);
  EXPECT_NEAR(std::hypot(z[1].first - z[4].first, z[1].second - z[4].second), 5, 1e-3);
  EXPECT_EQ(points[1].size(), 2u); // too short for a break
  EXPECT_EQ(points[2].size(), 1u); // the circle: arcs only
  auto width = [&](int i) { return std::stod(strokes[i].substr(strokes[i].find("stroke-width=\"") + 14)); };
  EXPECT_EQ(width(0), width(1));
  EXPECT_NE(strokes[3].find("stroke=\"#"), std::string::npos); // not black
  EXPECT_LT(width(3), width(0));
  EXPECT_GT(width(4), width(6));
  EXPECT_NE(strokes[5].find("stroke-dasharray"), std::string::npos);
}

} // namespace
