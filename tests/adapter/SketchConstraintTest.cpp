// The dimensioned shaft-step rectangle in a sketch, driving dimensions and joined points, on the stand-in.
#include <gtest/gtest.h>

#include <map>

#include "Adapter3DSupport.h"
#include "txhost/lib/ConstraintFacets.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Drawing2D.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using txhost::Object;
using txhost::model::LiveMembers;
using txhost::model::Number;

class SketchConstraintTest : public ::testing::Test, public PartModeller
{
protected:
  void SetUp() override
  {
    MA.drCreate3D(true, true, T(Dir / "step.tpt"), "Вал", "В-1");
    Records = ADimension3D.Count;
  }
  void TearDown() override
  {
    ADimension3D.IsParametric = false;
    MA.R2D().OnlySizes2D = false;
    for (Integer i = Records; i < ADimension3D.Count; ++i)
      ADimension3D[i].Point.reset();
    ADimension3D.Count = Records;
  }
  void Parametric(bool only = false)
  {
    ADimension3D.IsParametric = true;
    MA.R2D().OnlySizes2D = only;
  }
  Object* CurrentSketch() const { return Find(MA.R().Sketch.get()); }
  std::vector<Object*> Curves(std::string_view kind) const { return LiveMembers(*CurrentSketch(), kind); }
  // The created joins, in order, as "owner.index type partner.index" with the objects named by labels.
  std::string Constraints(const std::map<const Object*, std::string>& label) const
  {
    std::string s;
    for (Object* c : H.ObjectsOfKind(txhost::constraints::Constraint)) {
      if (!c->Applied() || !c->Has("partners")) continue; // the joins, not the driving dimensions
      s += label.at(c->Parent()) + "." + c->Prop("index").dump() + " " + c->Prop("type").dump() + " " +
           label.at(H.Find(txhost::RefId(c->Prop("partners")[0]))) + "." + c->Prop("partner-index").dump() +
           ";";
    }
    return s;
  }
  static SmartPtr<txapi::IDrawingObject> View(Object& o)
  {
    return SmartPtr<txapi::IDrawingObject>::Attach(
        static_cast<txapi::IDrawingObject*>(o.QueryInterface(txapi::IDrawingObject::IID)));
  }
  // A bare dimension in the sketch being edited, worth v.
  SmartPtr<txapi::IDrawingObject> Dimension(double v)
  {
    Object& d = H.Create(txhost::model2d::Dimension, CurrentSketch()->Document(), CurrentSketch());
    d.Set("value", v);
    return View(d);
  }
  // The start of the variable's name that the last constraint of d drives; "?" when that is no driving one.
  static std::string Named(const Object& d)
  {
    const Object& c = *LiveMembers(d, txhost::constraints::Constraint).back();
    return c.Prop("type") == 13 ? U8(c.Text("variable")).substr(0, 2) : "?";
  }
  // The switches of the sketch's variables.
  std::string Switched() const
  {
    std::string s;
    for (Object* v : Curves(txhost::constraints::SketchVariable))
      s += v->Prop("switch").dump() + ";";
    return s;
  }
  Integer Records = 0;
};

TEST_F(SketchConstraintTest, WithoutParametricDimensionsTheRectangleIsThePlainFormInANewSketch)
{
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOY, 5.0, 1, 2, 1, 9, 1, "h7"); // flat: nothing, not even a sketch
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOY, 5.0, 4, 2, 9, 2, 1, "h7");
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOZ, 5.0, 10, 2, -20, 8, 1, "h7");
  ASSERT_EQ(Count(txhost::model::Sketch), 1u);
  EXPECT_EQ(Number(Find(MA.R().Plane.get())->Prop("offset")), 5.0);
  // Four sides and the two axis lines, which reach 3 past the corners as given, not as ordered.
  std::string axes;
  for (Object* l : Curves(txhost::model::LineSegment))
    if (l->Prop("style") == 3)
      for (const char* k : {"x1", "y1", "x2", "y2"})
        axes += l->Prop(k).dump() + " ";
  EXPECT_EQ(Curves(txhost::model::LineSegment).size(), 6u);
  EXPECT_EQ(axes, "7.0 0.0 -17.0 0.0 0.0 -1.0 0.0 11.0 ");
  EXPECT_EQ(Count(txhost::model::Macro3D) + H.ObjectsOfKind(txhost::constraints::Constraint).size(), 0u);
  // The recorded width and height dimensions sit 15 below and 15 left.
  const Integer n = ADimension3D.ASizePoint.Count;
  const TDimension3D &w = ADimension3D.ASizePoint[n - 2], &h = ADimension3D.ASizePoint[n - 1];
  EXPECT_EQ(std::vector<double>({w.O.y, h.O.x, w.V, h.V}), std::vector<double>({-15, -15, -30, 6}));
}

TEST_F(SketchConstraintTest, TheFullRoadTiesTheSidesToTheControlCornersAndNothingToADirection)
{
  Parametric();
  const double X1 = -10, Y1 = 4, X2 = 30, Y2 = 12;
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOY, 0.0, X1, Y1, X2, Y2, 1, "");
  // The control geometry in its macro: axis segments and hidden corner points with generated dimensions.
  std::vector<Object*> macros = H.ObjectsOfKind(txhost::model::Macro3D);
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(macros[0]->Text("name"), L"Управление эскизом");
  std::string control;
  for (Object* o : txhost::model::MacroMembers(*macros[0]))
    for (const char* k : {"style", "point", "symbol", "hidden", "generative-dimensions"})
      control += o->Has(k) ? o->Prop(k).dump() + " " : "";
  EXPECT_EQ(control, "3 false 3 false [-10.0,4.0,0.0] 7 true true [30.0,12.0,0.0] 7 true true ");
  ASSERT_EQ(ADimension3D.Count, Records + 2);
  for (Integer i = 0; i < 2; ++i) {
    const TDimension3D& d = ADimension3D[Records + i];
    EXPECT_TRUE(d.Q == TString("h14") && d.Point && d.O.x == (i ? X2 : X1) && d.O.y == (i ? Y2 : Y1)) << i;
  }
  // The corner points are the projected control points; the sides join them and each other.
  std::vector<Object*> points = Curves(txhost::model2d::Point), lines = Curves(txhost::model::LineSegment);
  ASSERT_EQ(points.size() + lines.size(), 8u);
  std::map<const Object*, std::string> label{{points[0], "D1"}, {points[1], "D2"}};
  for (int i = 0; i < 4; ++i)
    label[lines[i]] = "L" + std::to_string(i + 1);
  EXPECT_EQ(Number(points[1]->Prop("x")), X2);
  EXPECT_EQ(Constraints(label),
            "L1.0 10 D1.0;L3.0 10 D2.0;L1.1 10 L2.0;L2.1 10 L3.0;L3.1 10 L4.0;L4.1 10 L1.0;");
  EXPECT_EQ(CurrentSketch()->Prop("editing"), true);
  // Width and height are driving: each ends with a named constraint, and the sketch's variables are on.
  std::string driving;
  for (Object* d : Curves(txhost::model2d::LineDimension))
    driving += Named(*d) + ";";
  EXPECT_EQ(driving, "II;II;");
  EXPECT_EQ(Switched(), "1;1;1;1;");
}

TEST_F(SketchConstraintTest, ASketchThatCannotBeEditedStopsTheRoadAfterItsControlGeometry)
{
  Parametric();
  H.GetFaults().RefuseHandOut("ISketch.BeginEdit");
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOY, 0.0, 0, 0, 10, 5, 1, "");
  EXPECT_EQ(H.ObjectsOfKind(txhost::model::Macro3D).size(), 1u);
  EXPECT_EQ(H.ObjectsOfKind(txhost::model::LineSegment).size(), 0u);
}

TEST_F(SketchConstraintTest, DrivingDimensionsAreNamedByOneRunningCounterAndCarryOnlyAGivenExpression)
{
  NewPartWithSketch("dims.tpt");
  SmartPtr<txapi::IDrawingObject> a = Dimension(1), b = Dimension(2);
  MA.SetDimAssociateVariable(a, "L1");
  const int n = MA.NextInteger();
  MA.SetDimAssociateVariable(b, "");
  auto made = [&](const SmartPtr<txapi::IDrawingObject>& d) {
    std::string s = std::to_string(Find(d.get())->CallCount("PrepareConstraints")) + ":";
    for (Object* c : LiveMembers(*Find(d.get()), txhost::constraints::Constraint))
      s += c->Prop("type").dump() + (c->Applied() ? "+" : "-") + U8(c->Text("variable")) + "=" +
           std::to_string(c->CallCount("SetExpression")) + U8(c->Text("expression")) + ";";
    return s;
  };
  EXPECT_EQ(made(a), "1:14+=0;13+II" + std::to_string(n - 1) + "=1L1;");
  EXPECT_EQ(made(b), "1:14+=0;13+II" + std::to_string(n + 1) + "=0;");
  // The dimensions' part of the road alone makes no geometry and switches the sketch's variables; each of
  // its two dimensions is driven by its own variable and then by another one.
  const std::size_t curves = Curves(txhost::model::LineSegment).size() + Curves(txhost::model2d::Point).size();
  Parametric(true);
  MA.drRectAngleAxleDim3D(txapi::o3d_planeXOY, 0.0, 0, 0, 10, 5, 1, "");
  EXPECT_EQ(Curves(txhost::model::LineSegment).size() + Curves(txhost::model2d::Point).size(), curves);
  std::string vars;
  for (Object* v : Curves(txhost::constraints::SketchVariable))
    vars += U8(v->Text("name")) + "=" + v->Prop("value").dump() + "," + v->Prop("switch").dump() + ";";
  std::string expected = "II" + std::to_string(n - 1) + "=1.0,1;II" + std::to_string(n + 1) + "=2.0,1;";
  for (int i = 2; i < 6; ++i)
    expected += "II" + std::to_string(n + i) + (i < 4 ? "=10.0,1;" : "=5.0,1;");
  EXPECT_EQ(vars, expected);
  // A dimension without a 2D document being edited is left alone.
  SmartPtr<txapi::IDrawingObject> c = Dimension(3);
  MA.drEndEskis();
  const int k = MA.NextInteger();
  MA.SetDimAssociateVariable(c, "L1");
  MA.drConstraint(txapi::txCMergePoints, c, 0, a, 0);
  EXPECT_EQ(Find(c.get())->Log().size(), 0u);
  EXPECT_EQ(MA.NextInteger(), k + 1);
}

TEST_F(SketchConstraintTest, EveryJoinIsOneHostKindAndASingleObjectTakesNone)
{
  NewPartWithSketch("join.tpt");
  std::vector<Object*> l = Curves(txhost::model::LineSegment);
  for (auto k : {txapi::txCMergePoints, txapi::txCHorizontal, txapi::txCVertical}) {
    MA.drConstraint(k, View(*l[1]), 1, View(*l[2]), 0);
    MA.drConstraint(k, View(*l[1]), 0, {}, 0);
  }
  EXPECT_EQ(Constraints({{l[1], "a"}, {l[2], "b"}}), "a.1 10 b.0;a.1 10 b.0;a.1 10 b.0;");
  EXPECT_EQ(l[1]->CallCount("NewConstraint"), 3u);
}

} // namespace
