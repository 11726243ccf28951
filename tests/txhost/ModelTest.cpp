#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>
#include <sstream>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::Value;
using txhost::test::TempDir;

class ModelTest : public ::testing::Test
{
protected:
  ModelTest() { H.SetDocumentsFolder(Dir.path()); }

  SmartPtr<txapi::IPart> NewPart(txapi::DocumentTypeEnum type, SmartPtr<txapi::ITavrixDocument>& doc)
  {
    doc = H.Application().GetDocuments()->Add(type, true);
    SmartPtr<txapi::ITavrixDocument3D> d3 = doc;
    return d3->GetTopPart();
  }

  // An applied sketch on the plane, open for editing, with the profile of a stepped shaft drawn under two
  // placements: a rectangle 0..20 x 0..5 and the axis line, pushed (100, 0) then turned 90 degrees.
  SmartPtr<txapi::ISketch> DrawProfile(const SmartPtr<txapi::IPart>& part, const SmartPtr<txapi::IModelObject>& plane)
  {
    SmartPtr<txapi::IModelContainer> mc = part;
    SmartPtr<txapi::ISketch> sketch = mc->GetSketches()->Add();
    sketch->SetPlane(plane);
    SmartPtr<txapi::IModelObject>(sketch)->Update();
    SmartPtr<txapi::ITavrixDocument2D> editor = sketch->BeginEdit();
    editor->PushPlacement(100, 0, 0, 1);
    editor->PushPlacement(0, 0, 90, 1);
    SmartPtr<txapi::IDrawingContainer> dc = editor->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    const double pts[][4] = {{0, 0, 20, 0}, {20, 0, 20, 5}, {20, 5, 0, 5}, {0, 5, 0, 0}, {-1, 0, 21, 0}};
    for (const auto& p : pts) {
      SmartPtr<txapi::ILineSegment> l = dc->GetLineSegments()->Add();
      l->SetPoints(p[0], p[1], p[2], p[3]);
      if (&p == &pts[4]) l->SetStyle(txapi::txCSAxial);
      l->Update();
    }
    return sketch;
  }

  TempDir Dir;
  Host H;
};

TEST_F(ModelTest, ARotationFeatureKeepsItsPlacedProfileThroughSaveAndReopen)
{
  SmartPtr<txapi::ITavrixDocument> doc;
  {
    SmartPtr<txapi::IPart> part = NewPart(txapi::txDocumentPart, doc);
    SmartPtr<txapi::IAuxiliaryGeomContainer> aux = part;
    SmartPtr<txapi::IModelObject> plane = aux->Add(txapi::o3d_planeOffset);
    SmartPtr<txapi::IPlane3D> p3 = plane;
    p3->SetBasePlane(part->GetDefaultEntity(txapi::o3d_planeXOZ));
    p3->SetOffset(-7.5);
    plane->Update();
    SmartPtr<txapi::ISketch> sketch = DrawProfile(part, plane);
    EXPECT_TRUE(sketch->EndEdit());
    SmartPtr<txapi::IModelContainer> mc = part;
    SmartPtr<txapi::IRotated> r = mc->GetRotateds()->Add(txapi::o3d_bossRotated);
    r->SetProfile(SmartPtr<txapi::IModelObject>(sketch));
    r->SetSideAngle(0, 360);
    ASSERT_TRUE(SmartPtr<txapi::IModelObject>(r)->Update());
    EXPECT_EQ(SmartPtr<txapi::IFeature>(r)->GetStatus(), 1);
    // An edit that has ended draws nothing more.
    EXPECT_FALSE(SmartPtr<txapi::ISketch>(sketch)->EndEdit());
    ASSERT_TRUE(doc->SaveAs(L"shaft.tpt"));
    ASSERT_TRUE(doc->Close(txapi::txCloseWithoutSaving));
  }
  doc = H.Application().GetDocuments()->Open(txhost::FromPath(Dir / "shaft.tpt"), true, false);
  ASSERT_TRUE(doc);
  const Object* top = H.TopPart(*Object::From(doc.get()));
  const std::vector<Object*> rotations = txhost::model::ModelObjects(*top, {txapi::o3d_bossRotated});
  ASSERT_EQ(rotations.size(), 1u);
  const Value& profile = rotations[0]->Prop("profile");
  ASSERT_EQ(profile.size(), 5u);
  // (20, 5) turned 90 degrees is (-5, 20); pushed to (95, 20).
  EXPECT_NEAR(profile[1]["points"][2].get<double>(), 95.0, 1e-9);
  EXPECT_NEAR(profile[1]["points"][3].get<double>(), 20.0, 1e-9);
  const Object* plane = rotations[0]->RefProp("profile-sketch")->RefProp("plane");
  EXPECT_NEAR(plane->Prop("origin")[1].get<double>(), -7.5, 1e-12);
  std::ostringstream out;
  H.Describe(out, false);
  EXPECT_NE(out.str().find("rotated #"), std::string::npos) << out.str();
}

// Holes are drawn as circles: each is a closed loop of the profile, placed like any curve, and the
// extrusion cuts them. A sketch without a closed curve gives a feature that fails, as the host's does.
TEST_F(ModelTest, CirclesAreProfileLoopsAndAnEmptyProfileFails)
{
  SmartPtr<txapi::ITavrixDocument> doc;
  SmartPtr<txapi::IPart> part = NewPart(txapi::txDocumentPart, doc);
  SmartPtr<txapi::IModelContainer> mc = part;
  auto extrude = [&](const std::vector<std::array<double, 3>>& circles) {
    SmartPtr<txapi::ISketch> sketch = mc->GetSketches()->Add();
    sketch->SetPlane(part->GetDefaultEntity(txapi::o3d_planeXOY));
    SmartPtr<txapi::IModelObject>(sketch)->Update();
    SmartPtr<txapi::ITavrixDocument2D> editor = sketch->BeginEdit();
    editor->PushPlacement(100, 0, 0, 1);
    SmartPtr<txapi::ICircles> made = editor->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    for (const auto& c : circles) {
      SmartPtr<txapi::ICircle> circle = made->Add();
      circle->SetCircle(c[0], c[1], c[2]);
      circle->Update();
    }
    sketch->EndEdit();
    SmartPtr<txapi::IExtrusion> e = mc->GetExtrusions()->Add(txapi::o3d_cutExtrusion);
    e->SetProfiles({SmartPtr<txapi::IModelObject>(sketch)});
    e->SetSideDepth(0, 10);
    return std::pair{SmartPtr<txapi::IModelObject>(e)->Update(), Object::From(e.get())};
  };
  const auto [holesApplied, holes] = extrude({{10, 0, 2.5}, {-10, 0, 2.5}});
  EXPECT_TRUE(holesApplied);
  EXPECT_EQ(holes->Prop("status"), 1);
  const Value& profile = holes->Prop("profile");
  ASSERT_EQ(profile.size(), 2u);
  EXPECT_EQ(profile[0]["curve"], "circle");
  EXPECT_EQ(profile[0]["radius"], 2.5);
  EXPECT_EQ(profile[1]["points"][0], 90.0) << "the centre is placed like any curve";
  const auto [emptyApplied, empty] = extrude({});
  EXPECT_FALSE(emptyApplied);
  EXPECT_EQ(empty->Prop("status"), 0);
  EXPECT_TRUE(empty->Applied()) << "made, but failed";
  std::ostringstream out;
  H.Describe(out, false);
  EXPECT_NE(out.str().find("0 lines, 0 arcs, 2 circles"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("0 curves (failed: empty profile)"), std::string::npos) << out.str();
}

TEST_F(ModelTest, ComponentsTakeTheirSourceNamesAndPlacementsAndMatesLinkThem)
{
  SmartPtr<txapi::ITavrixDocument> partDoc;
  SmartPtr<txapi::IPart> source = NewPart(txapi::txDocumentPart, partDoc);
  source->SetName(L"Полумуфта");
  source->SetMarking(L"ПМ-1");
  ASSERT_TRUE(partDoc->SaveAs(L"half.tpt"));
  partDoc->Close(txapi::txCloseWithoutSaving);

  SmartPtr<txapi::ITavrixDocument> asmDoc;
  SmartPtr<txapi::IPart> top = NewPart(txapi::txDocumentAssembly, asmDoc);
  EXPECT_FALSE(top->AddComponent(L"missing.tpt", true));
  SmartPtr<txapi::IPart> a = top->AddComponent(L"half.tpt", true);
  SmartPtr<txapi::IPart> b = top->AddComponent(txhost::FromPath(Dir / "half.tpt"), false);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->GetName(), L"Полумуфта");
  b->SetMarking(L"ПМ-2");
  EXPECT_EQ(b->GetMarking(), L"ПМ-2");
  SmartPtr<txapi::IPlacement3D> place = b->GetPlacement();
  std::vector<double> m = place->GetMatrix();
  m[12] = 40;
  EXPECT_FALSE(place->SetMatrix({1, 2, 3}));
  EXPECT_TRUE(place->SetMatrix(m));
  b->SetPlacement(place);
  EXPECT_EQ(b->GetPlacement()->GetMatrix()[12], 40.0);

  SmartPtr<txapi::ITavrixDocument3D> d3 = asmDoc;
  SmartPtr<txapi::IMateConstraints3D> mates = d3->GetMateConstraints();
  SmartPtr<txapi::IMateConstraint3D> mate = mates->Add(txapi::mc_Distance);
  mate->SetFirstObject(a->GetDefaultEntity(txapi::o3d_planeYOZ));
  EXPECT_FALSE(mate->Update()); // one object is missing
  mate->SetSecondObject(b->GetDefaultEntity(txapi::o3d_planeYOZ));
  mate->SetValue(12.5);
  ASSERT_TRUE(mate->Update());
  const auto vars = SmartPtr<txapi::IFeature>(mate)->GetVariables(false, false);
  ASSERT_EQ(vars.size(), 1u);
  EXPECT_EQ(vars[0]->GetName(), L"Расстояние");
  EXPECT_EQ(vars[0]->GetValue(), 12.5);
  EXPECT_EQ(mates->GetCount(), 1);

  SmartPtr<txapi::IMateConstraint3D> kept = mates->Add(txapi::mc_Coincidence);
  kept->SetFirstObject(a->GetDefaultEntity(txapi::o3d_planeYOZ));
  kept->SetSecondObject(top->GetDefaultEntity(txapi::o3d_planeYOZ));
  ASSERT_TRUE(kept->Update());

  // Specification entries: one of b alone, one of both components.
  SmartPtr<txapi::ISpecificationDescriptions> descriptions = asmDoc;
  SmartPtr<txapi::ISpecificationBaseObjects> entries = descriptions->Add(L"graphic.tsl", 1, L"")->GetBaseObjects();
  SmartPtr<txapi::ISpecificationBaseObject> ofB = entries->Add(25, 0), ofBoth = entries->Add(25, 0);
  ofB->LinkObjects({SmartPtr<txapi::ITavrixAPIObject>(b)}, false);
  ofBoth->LinkObjects({SmartPtr<txapi::ITavrixAPIObject>(a), SmartPtr<txapi::ITavrixAPIObject>(b)}, false);

  // Deleting a component is all or nothing, and never the top part; the mates holding it go with it, and
  // so does an entry that listed it alone, while an entry of others lets go of it.
  EXPECT_FALSE(d3->DeleteObjects({SmartPtr<txapi::IModelObject>(b), SmartPtr<txapi::IModelObject>(top)}));
  EXPECT_EQ(mates->GetCount(), 2);
  EXPECT_EQ(H.ObjectsOfKind("spec-object").size(), 2u);
  EXPECT_TRUE(d3->DeleteObjects({SmartPtr<txapi::IModelObject>(b)}));
  EXPECT_FALSE(entries->FindLinked(SmartPtr<txapi::ITavrixAPIObject>(b)));
  EXPECT_EQ(entries->FindLinked(SmartPtr<txapi::ITavrixAPIObject>(a)), ofBoth);
  std::size_t live = 0;
  for (Object* e : H.ObjectsOfKind("spec-object"))
    live += !txhost::model::Deleted(*e);
  EXPECT_EQ(live, 1u);
  SmartPtr<txapi::IFeature> f = top;
  EXPECT_EQ(f->GetModelObjects({txapi::o3d_part}).size(), 1u);
  EXPECT_EQ(mates->GetCount(), 1);
  EXPECT_FALSE(mates->Remove(mate));
  EXPECT_TRUE(mates->Remove(kept));
  EXPECT_EQ(mates->GetCount(), 0);
}

} // namespace

// A modeller makes solids within its space: a feature reaching a kilometre from the origin, or to no finite
// place, is made but failed, without a body or a placed form, as one the host cannot build from.
TEST_F(ModelTest, AFeatureBeyondTheModellersSpaceFailsWithoutABody)
{
  SmartPtr<txapi::ITavrixDocument> doc;
  SmartPtr<txapi::IPart> part = NewPart(txapi::txDocumentPart, doc);
  SmartPtr<txapi::IModelContainer> mc = part;
  auto cylinder = [&](double x, double r, double depth) {
    SmartPtr<txapi::ISketch> sketch = mc->GetSketches()->Add();
    sketch->SetPlane(part->GetDefaultEntity(txapi::o3d_planeXOY));
    SmartPtr<txapi::IModelObject>(sketch)->Update();
    SmartPtr<txapi::ITavrixDocument2D> editor = sketch->BeginEdit();
    SmartPtr<txapi::ICircles> made = editor->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    SmartPtr<txapi::ICircle> circle = made->Add();
    circle->SetCircle(x, 0, r);
    circle->Update();
    sketch->EndEdit();
    SmartPtr<txapi::IExtrusion> e = mc->GetExtrusions()->Add(txapi::o3d_bossExtrusion);
    e->SetProfiles({SmartPtr<txapi::IModelObject>(sketch)});
    e->SetSideDepth(0, depth);
    const bool made3d = SmartPtr<txapi::IModelObject>(e)->Update();
    const Object* f = Object::From(e.get());
    EXPECT_EQ(made3d, f->Prop("status") == 1);
    EXPECT_EQ(made3d, !txhost::model::LiveMembers(*f, "body").empty());
    EXPECT_EQ(made3d, !f->Prop("placed").is_null());
    return made3d;
  };
  EXPECT_TRUE(cylinder(0, 10, 20));
  EXPECT_TRUE(cylinder(9e5, 1e4, 9e5)) << "large, yet within the space";
  EXPECT_FALSE(cylinder(2e6, 10, 20));
  EXPECT_FALSE(cylinder(0, 10, 1e12));
  EXPECT_FALSE(cylinder(0, 1e300, 20));
}
