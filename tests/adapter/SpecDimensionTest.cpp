// The host's driving dimensions of recorded control points: placed, annotated, bound to variables.
#include <gtest/gtest.h>

#include "AdapterSupport.h"
#include "hxcadkit/core/TPointer.h"
#include "txapi/ILineDimensions3D.h"
#include "txapi/ISymbols3DContainer.h"
#include "txhost/lib/Faults.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using txhost::Value;

class SpecDimension : public ::testing::Test, public HostedModeller
{
protected:
  void SetUp() override { MA.drCreate3D(false, true, T(Dir / "shaft.tpt"), "Вал", "В-01"); }
  void TearDown() override { AVariable.AVariables.Count = 0; }

  // A control point with the named variables.
  SmartPtr<txapi::IModelObject> Point(std::vector<const char*> names)
  {
    MA.drPoint3D(0, 0, 0, txapi::txAnnotationSymbolEnum(0), "", false);
    SmartPtr<txapi::IModelObject> p = MA.R().Obj3D;
    for (const char* n : names)
      Variable(*Find(p.get()), n);
    return p;
  }
  void Variable(txhost::Object& owner, const char* name)
  {
    txhost::Object& v = H.Create(txhost::model::Variable, owner.Document(), &owner);
    v.Set("name", name);
    v.Set("value", 0.0);
    v.Set("expression", "");
    v.MarkApplied();
  }
  // A base-line dimension on the point, of the distance, driven by the named variable.
  txhost::Object* Dimension(const SmartPtr<txapi::IModelObject>& point, const char* variable, double distance)
  {
    SmartPtr<txapi::ISymbols3DContainer> s = MA.R().Part;
    SmartPtr<txapi::IBaseLineDimension3D> d = s->GetLineDimensions3D()->Add(txapi::o3d_baselineDimension3D);
    d->SetObject1(point);
    txhost::Object* o = Find(d.get());
    o->Set("distance", distance);
    Variable(*o, variable);
    return o;
  }
  static const txhost::Object& Var(const txhost::Object* d) { return *txhost::model::LiveMembers(*d)[0]; }
};

TEST_F(SpecDimension, CoordinateDimensionsMoveFollowTheirVariablesAndHide)
{
  double x = 10, y = 20;
  AVariable.AddVar("L1", &x, "");
  AVariable.AddVar("L2", &y, "");
  const SmartPtr<txapi::IModelObject> p = Point({"a", "b", "c", "d", "PX", "PY"});
  const SmartPtr<txapi::IModelObject> shortList = Point({"a", "b", "c", "d", "PX"});
  txhost::Object* dx = Dimension(p, "PX", 40);
  txhost::Object* dy = Dimension(p, "PY", 50);
  txhost::Object* other = Dimension(p, "Z", 60);
  txhost::Object* unbound = Dimension(shortList, "PX", 70);
  TADimension3D list(*ADimension3D.Registrator, AVariable);
  list.Add3D(5, 7, p, &x, &y, "h14");
  list.Add3D(0, 0, shortList, &x, &y, "h14");
  list.Add3D(0, 0, SmartPtr<txapi::IModelObject>(), nullptr, nullptr, "h14");
  list.drDimension(100, 200, &MA);

  const Value params = Value::parse("[[0,3],[1,1],[2,5],[3,90],[4,-1]]");
  struct Expect { const txhost::Object* D; double Distance; const char* Expression; bool Hidden; };
  const Expect expected[] = {{dx, 40 + 200 - 7 - 30, "L1", true},
                             {dy, 50 + 100 - 5 - 30, "L2", true},
                             {other, 60, "", false}};
  for (const Expect& e : expected) {
    EXPECT_EQ(e.D->Prop("distance"), e.Distance);
    EXPECT_EQ(Var(e.D).Prop("expression"), e.Expression);
    EXPECT_EQ(e.D->Prop("hidden"), e.Hidden);
    EXPECT_EQ(e.D->Prop("tolerance"), "h14");
    EXPECT_EQ(e.D->Prop("tolerance-on"), 1);
    EXPECT_EQ(e.D->Prop("parameters"), params);
    EXPECT_EQ(e.D->UpdateCount(), 1);
  }
  // A point listing fewer than six variables has no coordinates to bind: its dimension stays as it was.
  EXPECT_EQ(unbound->Prop("distance"), 70);
  EXPECT_TRUE(unbound->Prop("tolerance").is_null());
  EXPECT_EQ(unbound->UpdateCount(), 0);

  // A host failure ends the placing quietly.
  H.GetFaults().ThrowOnCall(txhost::Target::Of(*dx), "SetDistance");
  list.drDimension(100, 200, &MA);
  EXPECT_EQ(dx->UpdateCount(), 1);
  H.GetFaults().Clear();
}

} // namespace
