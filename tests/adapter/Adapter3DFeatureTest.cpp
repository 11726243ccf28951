// Features of the current sketch, billets, booleans, 3D macros, library objects and the state of model
// objects, on the stand-in host.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "Adapter3DSupport.h"
#include "hxcadkit/core/TPointer.h"
#include "txhost/lib/Scenario.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class Adapter3DTest : public ::testing::Test, public PartModeller
{
protected:
  void SetUp() override { NewPartWithSketch(); }
};

TEST_F(Adapter3DTest, AFullTurnOfTheSketchIsABossRotationForwardAndTheSketchLeavesEditing)
{
  MA.drBaseRotate(7, 360.0);
  txhost::Object& r = Last();
  EXPECT_EQ(r.Kind(), "rotated");
  EXPECT_EQ(txhost::model::TypeOf(r), txapi::o3d_bossRotated);
  EXPECT_EQ(Calls(r, "SetDirection") + Calls(r, "SetSideAngle"), "[0][0,360.0]");
  EXPECT_EQ(r.Prop("status"), 1);
  EXPECT_FALSE(MA.R().IDoc2D || MA.R().DrawingContainer || MA.R().Symbols2DContainer);
  EXPECT_EQ(Find(MA.R().Sketch.get())->Prop("editing"), false);
  // Rotation direction and side follow the angle's sign alone; the kind follows Body and the result.
  struct Case
  {
    int Napr;
    double Angle;
    bool Body;
    txapi::txOperationResultEnum OR;
    std::string Calls;
    int Type;
  };
  for (const Case& c :
       {Case{0, -90, true, txapi::txOperationCut, "[1][1,90.0]", txapi::o3d_cutRotated},
        Case{3, 0, true, txapi::txOperationUnion, "[1][1,0.0]", txapi::o3d_bossRotated},
        Case{1, 45, false, txapi::txOperationCut, "[0][0,45.0]", txapi::o3d_RotatedSurface}}) {
    MA.drRotate(c.Napr, c.Angle, c.Body, c.OR);
    EXPECT_EQ(Calls(Last(), "SetDirection") + Calls(Last(), "SetSideAngle"), c.Calls) << c.Angle;
    EXPECT_EQ(txhost::model::TypeOf(Last()), c.Type);
  }
}

TEST_F(Adapter3DTest, ExtrusionSidesAndTaperFollowTheDirectionAndTheSigns)
{
  struct Case
  {
    txapi::txDirectionTypeEnum Napr;
    txapi::txEndTypeEnum End;
    double Depth, Angle;
    bool Body;
    txapi::txOperationResultEnum OR;
    std::string Sides; // the side-parameter calls in order
    int Type;
  };
  const Case cases[] = {
      {txapi::dtNormal, txapi::etBlind, 10, 0, true, txapi::txOperationNewBody, "[0,0,10.0,0.0,false,null]",
       txapi::o3d_bossExtrusion},
      {txapi::dtReverse, txapi::etUpToSurfaceTo, -5, -3, true, txapi::txOperationCut,
       "[1,4,-5.0,3.0,true,null]", txapi::o3d_cutExtrusion},
      {txapi::dtMiddlePlane, txapi::etThroughAll, 8, 2, true, txapi::txOperationIntersect,
       "[1,1,8.0,2.0,false,null]", txapi::o3d_bossExtrusion},
      {txapi::dtBoth, txapi::etBlind, 7, -1, false, txapi::txOperationCut,
       "[1,0,7.0,1.0,true,null][0,0,7.0,1.0,true,null]", txapi::o3d_ExtrusionSurface},
  };
  for (const Case& c : cases) {
    MA.drExtrusion(c.Napr, c.End, c.Depth, c.Angle, c.Body, c.OR);
    txhost::Object& e = Last();
    EXPECT_EQ(Calls(e, "SetSideParameters"), c.Sides) << c.Napr;
    EXPECT_EQ(Calls(e, "SetSideDepth"), "[0," + std::to_string(int(std::abs(c.Depth))) + ".0][1," +
                                            std::to_string(int(std::abs(c.Depth))) + ".0]");
    EXPECT_EQ(txhost::model::TypeOf(e), c.Type);
    EXPECT_EQ(e.UpdateCount(), 1);
  }
  // The slots forward with their fixed flags.
  MA.drCutExtrusion(txapi::dtNormal, txapi::etBlind, 1, 0);
  EXPECT_EQ(txhost::model::TypeOf(Last()), txapi::o3d_cutExtrusion);
  MA.drSurfaceExtrusion(txapi::dtNormal, txapi::etBlind, 1, 0);
  EXPECT_EQ(txhost::model::TypeOf(Last()), txapi::o3d_ExtrusionSurface);
}

// The depth of a parametric extrusion follows the model variable bound to the very double passed.
TEST_F(Adapter3DTest, AParametricDepthLinksBothDistancesOnlyThroughTheRegisteredDouble)
{
  double depth = 12, zero = 0;
  AVariable.AddVar("L", &depth, "");
  AVariable.AddVar("Z", &zero, "");
  ADimension3D.IsParametric = true;
  auto expressions = [&] {
    std::string s;
    for (const auto& v : SmartPtr<txapi::IFeature>(MA.R().Obj3D)->GetVariables(false, false))
      s += U8(v->GetName()) + "=" + U8(v->GetExpression()) + ";";
    return s;
  };
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, depth, 0);
  EXPECT_EQ(expressions(), "Расстояние 1=L;Расстояние 2=L;");
  EXPECT_EQ(Find(MA.R().Sketch.get())->Prop("generative-dimensions"), true);
  EXPECT_EQ(Last().Prop("generative-dimensions"), true);
  const double copy = depth;
  Sketch();
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, copy, 0);
  EXPECT_EQ(expressions(), "Расстояние 1=;Расстояние 2=;");
  EXPECT_EQ(Last().Prop("generative-dimensions"), true); // the dimensions are made all the same
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, zero, 0);
  EXPECT_EQ(expressions(), "Расстояние 1=;Расстояние 2=;"); // a zero distance is left alone
  MA.drSurfaceExtrusion(txapi::dtNormal, txapi::etBlind, depth, 0);
  EXPECT_EQ(expressions(), "Расстояние 1=;Расстояние 2=;");
  ADimension3D.IsParametric = false;
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, depth, 0);
  EXPECT_EQ(expressions(), "Расстояние 1=;Расстояние 2=;");
  EXPECT_FALSE(Last().Has("generative-dimensions"));
  AVariable.AVariables.Count = 0;
}

TEST_F(Adapter3DTest, ASweepCarriesTheSketchOrthogonallyAlongItsPath)
{
  MA.drLine3D(TPoint3D(0, 0, 0), TPoint3D(0, 0, 50), "Путь", false);
  SmartPtr<txapi::IModelObject> path = MA.R().Obj3D;
  MA.drEvolution(path, true, txapi::txOperationUnion);
  txhost::Object& e = Last();
  EXPECT_EQ(txhost::model::TypeOf(e), txapi::o3d_bossEvolution);
  EXPECT_EQ(Calls(e, "SetSketchShiftType") + Calls(e, "SetOperationResult") + Calls(e, "SetPathPartsSwitch"),
            "[2][0][true]");
  EXPECT_EQ(Calls(e, "SetPath"), "[[{\"$obj\":" + std::to_string(Find(path.get())->Id()) + "}]]");
}

// Macros nest; each inner one is recorded in its parent once, in the order of the parent's members, and a
// macro the host refuses still pairs with its end (it never closes the enclosing one).
TEST_F(Adapter3DTest, NestedMacrosEachJoinTheirParentOnceInPlace)
{
  MA.drMacro3D("A", true);
  MA.drBaseRotate(0, 360);
  const txhost::Object* a1 = &Last();
  MA.drMacro3D("B", false);
  MA.drMacro3D("C", true);
  Sketch();
  const txhost::Object* c0 = Find(MA.R().Sketch.get());
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, 3, 0);
  const txhost::Object* c1 = &Last();
  MA.drEndMacro3D();
  H.GetFaults().RefuseHandOut("IMacroObjects3D.Add");
  MA.drMacro3D("refused", true);
  MA.drEndMacro3D();
  H.GetFaults().Clear();
  MA.drEndMacro3D();
  Sketch();
  const txhost::Object* a2s = Find(MA.R().Sketch.get());
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, 4, 0);
  const txhost::Object* a2 = &Last();
  MA.drEndMacro3D();
  MA.drEndMacro3D(); // none open: nothing
  EXPECT_EQ(MA.R().AMacroObject3D.Count, 0);
  EXPECT_EQ(Recorded(), 0);
  const auto macros = txhost::model::LiveMembers(PartObject(), txhost::model::Macro3D);
  ASSERT_EQ(macros.size(), 3u);
  auto ref = [](const txhost::Object* o) { return "{\"$obj\":" + std::to_string(o->Id()) + "}"; };
  const txhost::Object *a = macros[0], *b = macros[1], *c = macros[2];
  EXPECT_EQ(a->Prop("members").dump(), "[" + ref(a1) + "," + ref(b) + "," + ref(a2s) + "," + ref(a2) + "]");
  EXPECT_EQ(b->Prop("members").dump(), "[" + ref(c) + "]");
  EXPECT_EQ(c->Prop("members").dump(), "[" + ref(c0) + "," + ref(c1) + "]");
  EXPECT_EQ(Calls(*b, "SetStaffVisible") + Calls(*b, "SetName"), "[false][\"B\"]");
  for (const txhost::Object* m : macros)
    EXPECT_EQ(m->UpdateCount(), 1);
  // With no part, the macro still takes a level and its end pops it.
  MA.drEndGetPart(false);
  MA.drMacro3D("none", true);
  EXPECT_EQ(MA.R().AMacroObject3D.Count, 1);
  MA.drEndMacro3D();
  EXPECT_EQ(MA.R().AMacroObject3D.Count, 0);
}

// A saved part keeps its features with their sketches: reopened, it describes the same; inserted as a
// billet, it brings its body.
TEST_F(Adapter3DTest, ASavedPartReopensAndInsertsAsTheSameModel)
{
  MA.drBaseRotate(0, 360);
  MA.drSave3D(false, true);
  std::ostringstream before;
  H.Describe(before, false);
  MA.drSave3D(true, true);
  MA.drOpen3D(T(Dir / "p.tpt"), true);
  std::ostringstream after;
  H.Describe(after, false);
  // The same rotation of the same five curves, with a body of the same faces (numbers aside).
  auto rotation = [](const std::string& s) {
    const std::size_t at = s.find("rotated #");
    // Object numbers ("#123") are dropped, the '#' kept.
    std::string out;
    bool number = false;
    for (char c : s.substr(at, s.find('\n', at) - at)) {
      number = (number || c == '#') && (c == '#' || std::isdigit(static_cast<unsigned char>(c)));
      if (!number || c == '#') out += c;
    }
    return out;
  };
  EXPECT_EQ(rotation(after.str()), rotation(before.str()));
  EXPECT_EQ(rotation(after.str()), "rotated # type 28 profile #, 5 curves, angles 360 0, body # of 3 faces");
  MA.drSave3D(true, true);

  NewPartWithSketch("q.tpt");
  TString name = T(Dir / "p.tpt");
  MA.drMacro3D("M", true);
  MA.drPutStorage(name, true, true);
  EXPECT_EQ(Recorded(), 1);
  txhost::Object& b = Last();
  EXPECT_EQ(b.Prop("mirror"), true);
  ASSERT_EQ(txhost::model::Bodies(PartObject()).size(), 1u);
  EXPECT_EQ(txhost::model::LiveMembers(*txhost::model::Bodies(PartObject())[0], txhost::model::Face).size(),
            3u);
  MA.drEndMacro3D();
  // A missing file or a folder forgets the last object and adds nothing.
  for (const std::filesystem::path& p : {Dir / "none.tpt", Dir.path()}) {
    TString n = T(p);
    MA.drPutStorage(n, false, false);
    EXPECT_FALSE(MA.R().Obj3D);
  }
  EXPECT_EQ(Count(txhost::model::Billet), 1u);
  // Read back, the billet keeps its body even when applied again without its source.
  MA.drSave3D(true, true);
  MA.drOpen3D(T(Dir / "q.tpt"), true);
  txhost::Object* billet = txhost::model::LiveMembers(PartObject(), txhost::model::Billet).at(0);
  ASSERT_TRUE(SmartPtr<txapi::IModelObject>::Attach(
                  static_cast<txapi::IModelObject*>(billet->QueryInterface(txapi::IModelObject::IID)))
                  ->Update());
  ASSERT_EQ(txhost::model::Bodies(PartObject()).size(), 1u);
  EXPECT_EQ(txhost::model::LiveMembers(*txhost::model::Bodies(PartObject())[0], txhost::model::Face).size(),
            3u);

  // The feature tree printed by a scenario.
  txhost::Scenario s;
  std::string error;
  ASSERT_TRUE(txhost::ParseScenario("open p.tpt as p\nprint\n", "tree", Dir.path(), s, error)) << error;
  std::ostringstream out;
  txhost::ScenarioPlayer player(H, out);
  ASSERT_TRUE(player.Play(s, error)) << error;
  EXPECT_NE(out.str().find("rotated #"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("body #"), std::string::npos) << out.str();
}

// Booleans take the caller's body of each part; a part or body that is missing makes nothing.
TEST_F(Adapter3DTest, ABooleanCombinesTheChosenBodiesAndNothingOutOfRange)
{
  MA.drBaseRotate(0, 360);
  const txhost::Object& body0 = *txhost::model::Bodies(PartObject()).at(0);
  Sketch();
  MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, 5, 0);
  const txhost::Object& body1 = *txhost::model::Bodies(PartObject()).at(1);
  SmartPtr<txapi::IPart> p = MA.R().Part;
  MA.drBoolean(txapi::txUnion, p, 0, p, 1);
  txhost::Object& b = Last();
  EXPECT_EQ(Calls(b, "SetOperands"), "[[{\"$obj\":" + std::to_string(body0.Id()) +
                                         "},{\"$obj\":" + std::to_string(body1.Id()) + "}]]");
  EXPECT_EQ(Calls(b, "SetBooleanType"), "[3]");
  for (auto [i, j] : {std::pair{0, 2}, std::pair{-1, 0}, std::pair{5, 0}}) {
    MA.drBoolean(txapi::txIntersect, p, i, p, j);
    EXPECT_EQ(&Last(), &b);
  }
  MA.drBoolean(txapi::txIntersect, {}, 0, p, 0);
  EXPECT_EQ(&Last(), &b);
  EXPECT_EQ(Count(txhost::model::Boolean), 1u);
}

TEST_F(Adapter3DTest, LibraryObjectsAreLabelledLeftUnappliedAndRecordedNowhere)
{
  MA.drMacro3D("M", true);
  SmartPtr<txapi::IModelObject> a = MA.drPlugin("{guid-a}", 7);
  EXPECT_EQ(a.get(), MA.R().Obj3D.get());
  SmartPtr<txapi::IModelObject> b = MA.drPluginWF("{guid-b}", 8);
  EXPECT_EQ(Recorded(), 0);
  MA.drEndMacro3D();
  const std::string file = U8(MA.R().FileName.toWideChar()), path = U8(MA.R().PathFileName.toWideChar());
  const txhost::Object &oa = *Find(a.get()), &ob = *Find(b.get());
  EXPECT_EQ(Calls(oa, "Add") + Calls(oa, "SetObjectTypeId") + Calls(oa, "SetLibraryFileName") +
                Calls(oa, "SetSecondText") + Calls(oa, "SetCommand"),
            "[\"{guid-a}\"][\"" + file + "\"][\"\"][7]");
  EXPECT_EQ(Calls(ob, "SetLibraryFileName") + Calls(ob, "SetSecondText"),
            "[\"" + path + "\"][\"" + file + "\"]");
  EXPECT_EQ(txhost::model::TypeOf(oa), txapi::o3d_UserObjectOperation);
  EXPECT_EQ(txhost::model::TypeOf(ob), txapi::o3d_UserWireFrame3D);
  EXPECT_FALSE(oa.Applied() || ob.Applied());
  MA.drBaseRotate(0, 360);
  EXPECT_NE(a.get(), MA.R().Obj3D.get()); // the result is the caller's own reference
}

TEST_F(Adapter3DTest, ColourExclusionVisibilityAndReset)
{
  MA.drBaseRotate(0, 360);
  SmartPtr<txapi::IModelObject> good = MA.R().Obj3D;
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  MA.drLine(0, 0, 1, 1, 1);
  MA.drRotate(0, 360, true, txapi::txOperationUnion); // no axis: a failed feature
  SmartPtr<txapi::IModelObject> failed = MA.R().Obj3D;
  ASSERT_TRUE(drApi::ErrorEntity(failed));
  const std::string colour = "[255,0.8,0.6,0.95,0.95,0.5,0.8]";
  EXPECT_FALSE(MA.SetExludedOrColor(good, 255, 0.5));
  EXPECT_FALSE(MA.SetExludedOrColor(failed, 255, 0.5));
  EXPECT_EQ(Calls(*Find(good.get()), "SetExcluded") + Calls(*Find(good.get()), "SetColorParams"), "[true]");
  EXPECT_EQ(Calls(*Find(failed.get()), "SetExcluded") + Calls(*Find(failed.get()), "SetColorParams"), colour);
  EXPECT_EQ(Find(good.get())->UpdateCount(), 2);
  EXPECT_EQ(Find(failed.get())->UpdateCount(), 2);
  EXPECT_TRUE(MA.SetExludedOrColor({}, 255, 0.5));
  SmartPtr<txapi::IModelObject> plane = MA.R().Part->GetDefaultEntity(txapi::o3d_planeXOY);
  MA.SetColor(plane, 1, 1.0); // no colour parameters: nothing, not even an update
  EXPECT_EQ(Find(plane.get())->UpdateCount(), 0);
  drApi::TAOfComEntity chosen;
  chosen.Add(good);
  chosen.SetColor(255);
  EXPECT_EQ(Calls(*Find(good.get()), "SetColorParams"), "[255,0.8,0.6,0.95,0.95,1.0,0.8]");
  MA.SetHidden(good, true);
  MA.SetHidden(good, false);
  EXPECT_EQ(Find(good.get())->Prop("hidden"), false);
  MA.SetExcluded(good);
  MA.ReSet(good);
  EXPECT_EQ(Find(good.get())->CallCount("Reset"), 1u);
  EXPECT_EQ(Find(good.get())->UpdateCount(), 6); // reset applies nothing
}

TEST_F(Adapter3DTest, ALinearDimensionOfThePartJoinsTheOpenMacro)
{
  MA.drBaseRotate(0, 360);
  SmartPtr<txapi::IModelObject> rotation = MA.R().Obj3D;
  MA.drMacro3D("M", true);
  MA.drDimL3D(rotation, {});
  EXPECT_EQ(Recorded(), 1);
  txhost::Object& d = Last();
  EXPECT_EQ(Calls(d, "Add") + Calls(d, "SetObject1") + Calls(d, "SetObject2"),
            "[{\"$obj\":" + std::to_string(Find(rotation.get())->Id()) + "}][null]");
  EXPECT_TRUE(d.Applied());
  MA.drEndMacro3D();
  MA.drEndGetPart(false);
  MA.R().Obj3D = rotation;
  MA.drDimL3D(rotation, rotation); // no part: the last object stays
  EXPECT_EQ(MA.R().Obj3D.get(), rotation.get());
}

} // namespace
