#include <gtest/gtest.h>

#include <cmath>

#include "AdapterSupport.h"
#include "hxcadkit/geometry/Elements.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class ModellerTest : public ::testing::Test, public HostedModeller
{
};

TEST(ModellerInit, NamesFolderAndFontComeFromTheHost)
{
  {
    HostedModeller m(false);
    const drApi::TRegistryApi& r = MA.R();
    EXPECT_EQ(U8(r.FileName.toWideChar()), "libVUVudirido");
    EXPECT_EQ(U8(r.ModuleName.toWideChar()), "VUVudirido");
    EXPECT_EQ(U8(r.Path.toWideChar()), (m.Dir / "lib").string() + "/");
    EXPECT_EQ(U8(m.Control.Path.toWideChar()), m.Dir.path().string() + "/");
    EXPECT_EQ(U8(r.LibFont.toWideChar()), "#Stamp - Regular");
    ASSERT_EQ(m.H.Messages().size(), 1u);
    EXPECT_EQ(U8(m.H.Messages()[0]), "Не подключена библиотека libVUVudirido");
  }
  HostedModeller m;
  EXPECT_TRUE(m.H.Messages().empty());
  m.H.SetLibraryRecord(L"VUVudirido", m.Dir / "lib", L"Моношрифт");
  MA.Init(m.H.Application(), "VUVudirido", "#Stamp - Regular");
  EXPECT_EQ(U8(MA.R().LibFont.toWideChar()), "Моношрифт");
  MA.LiftBox("Проверка");
  EXPECT_EQ(MA.QuestionBox("Да?", ""), 1);
  // The message goes through the host's translation.
  m.H.RemoveLibraryRecord(L"VUVudirido");
  m.H.SetTranslation(L"Не подключена библиотека ", L"No library ");
  MA.Init(m.H.Application(), "VUVudirido", "#Stamp - Regular");
  ASSERT_GE(m.H.Messages().size(), 2u);
  EXPECT_EQ(U8(m.H.Messages()[0]), "Проверка");
  EXPECT_EQ(U8(m.H.Messages()[1]), "No library libVUVudirido");
  // A host that does not say which library it loads: the file that holds the modeller.
  m.H.SetCurrentLibraryPath("");
  EXPECT_TRUE(MA.Init(m.H.Application(), "VUVudirido", "#Stamp - Regular"));
  EXPECT_EQ(U8(MA.R().FileName.toWideChar()), "test_adapter");
  MA.OpenHelp("help.chm", 1001, 17);
  EXPECT_EQ(m.H.ApplicationObject().CallsOf("ShowHelp").at(0)->Arguments[0], 17);
}

// A command's start takes the host's progress bar and the active document's selection services;
// its end lets them go, after which the selection operations do nothing.
TEST_F(ModellerTest, ACommandHoldsTheSelectionServicesWhileItRuns)
{
  drApi::TSelectorAPI& s = *drApi::Selector;
  s.Choose(SmartPtr<txapi::ITavrixAPIObject>()); // nothing held: nothing happens
  s.UnChooseAll();
  s.UnSelectAll();
  MA.drCreate3D(false, true, T(Dir / "p.tpt"), "", "");
  MA.drGetPart(pTop_Part, txapi::txDocumentPart);
  ASSERT_TRUE(MA.R().ProgressBar && s.Choose7 && s.Selection7);
  s.SetCurrentManagerType(txapi::txChooseManagerSecond);
  s.Choose(SmartPtr<txapi::ITavrixAPIObject>());
  s.Choose(SmartPtr<txapi::ITavrixAPIObject>(MA.R().Part));
  const txhost::Object* doc = Find(MA.R().IDoc.get());
  EXPECT_EQ(doc->CallsOf("Choose").size(), 1u);
  EXPECT_EQ(s.Choose7->GetCurrentManagerType(), txapi::txChooseManagerSecond);
  MA.drEndGetPart(false);
  EXPECT_FALSE(MA.R().ProgressBar || s.Choose7 || s.Selection7);
  s.UnChooseAll();
  EXPECT_EQ(doc->CallsOf("UnChooseAll").size(), 0u);
}

TEST_F(ModellerTest, ASpiralTakesThePitchFirstAndTheTurnsFromTheHeight)
{
  MA.drCreate3D(true, true, T(Dir / "spring.tpt"), "", "");
  MA.drPlane(txapi::o3d_planeXOY, 0);
  MA.drSpiral3D(MA.GetPlane(), 12, 0, 10);
  EXPECT_FALSE(MA.R().Obj3D);
  MA.drSpiral3D(MA.GetPlane(), -12, 3, 10);
  ASSERT_TRUE(MA.R().Obj3D);
  std::vector<std::string> calls;
  for (const txhost::Call& c : Find(MA.R().Obj3D.get())->Log())
    calls.push_back(c.Op + c.Arguments.dump());
  const std::vector<std::string> want{"SetPlane[{\"$obj\":" + std::to_string(Find(MA.R().Plane.get())->Id()) + "}]",
                                      "SetStep[3.0]", "SetBuildingDirection[false]", "SetHeight[12.0]",
                                      "SetTurnsNumber[4.0]", "SetDiameter[10.0]", "Update[]"};
  EXPECT_EQ(calls, want);
}

// A shaft: a closed profile of lines and an arc, with its axis, drawn under two placements
// into a sketch on XOY at -5 after sketches on the two other standard planes; turned about its
// axis, saved and closed; the file reopens with the feature and its placed profile.
TEST_F(ModellerTest, APartWithARotationRoundTripsThroughItsFile)
{
  const std::filesystem::path file = Dir / "shaft.tpt";
  MA.drCreate3D(true, true, T(file), "Вал", "ВЛ-1");
  ASSERT_TRUE(MA.R().Part);
  MA.drPlaneEskis(txapi::o3d_planeXOZ, 2.5, 0, "");
  MA.drPlaneEskis(txapi::o3d_planeYOZ, 7, 0, "Поперёк");
  MA.drPlaneEskis(txapi::o3d_planeXOY, -5, 0, "");
  ASSERT_TRUE(MA.R().IDoc2D && MA.R().Sketch && MA.R().DrawingContainer);
  EXPECT_EQ(MA.GetPlane()->GetOffset(), -5.0);
  MA.drMtr(10, 0, 0, 1);
  MA.drMtr(0, 0, 90, 2);
  MA.drLine(0, 0, 40, 0, 3);
  MA.drLine(0, 0, 30, 0, 1);
  MA.drLine(30, 0, 30, 10, 1);
  MA.drArc(20, 10, 10, 30, 10, 10, 10, 1, 1);
  MA.drLine(10, 10, 0, 10, 1);
  MA.drLine(0, 10, 0, 0, 1);
  MA.drDeleteMtr();
  MA.drDeleteMtr();
  // The feature's own steps (ending the edit, then the host feature on the sketch).
  MA.drEndEskis();
  EXPECT_FALSE(MA.R().IDoc2D);
  ASSERT_TRUE(MA.R().Sketch);
  SmartPtr<txapi::IModelContainer> mc = MA.R().Part;
  SmartPtr<txapi::IRotated> rot = mc->GetRotateds()->Add(txapi::o3d_bossRotated);
  rot->SetProfile(SmartPtr<txapi::IModelObject>(MA.R().Sketch));
  rot->SetSideAngle(0, 360);
  ASSERT_TRUE(SmartPtr<txapi::IModelObject>(rot)->Update());
  rot.reset();
  mc.reset();
  MA.drSave3D(true, true);
  const drApi::TRegistryApi& r = MA.R();
  EXPECT_FALSE(r.IDoc || r.IDoc3D || r.Part || r.Obj3D || r.Obj || r.Sketch || r.Plane);
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_TRUE(H.Documents().empty());

  SmartPtr<txapi::ITavrixDocument> d = MA.drOpen3D(T(file), true);
  ASSERT_TRUE(d && MA.R().Part);
  EXPECT_EQ(MA.R().Part->GetName(), L"Вал");
  const txhost::Object* top = H.TopPart(*Find(d.get()));
  const auto rotations = txhost::model::ModelObjects(*top, {txapi::o3d_bossRotated});
  ASSERT_EQ(rotations.size(), 1u);
  EXPECT_EQ(rotations[0]->Prop("status"), 1);
  const txhost::Value& profile = rotations[0]->Prop("profile");
  ASSERT_EQ(profile.size(), 6u);
  // p -> 2 R(90) p + (10, 0): (30, 10) lands on (-10, 60), the arc's centre (20, 10) on (-10, 40).
  auto placed = [](double x, double y) { return std::pair{10 - 2 * y, 2 * x}; };
  const auto [ex, ey] = placed(30, 10);
  EXPECT_NEAR(profile[2]["points"][2].get<double>(), ex, 1e-9);
  EXPECT_NEAR(profile[2]["points"][3].get<double>(), ey, 1e-9);
  const auto [cx, cy] = placed(20, 10);
  EXPECT_NEAR(profile[3]["points"][0].get<double>(), cx, 1e-9);
  EXPECT_NEAR(profile[3]["points"][1].get<double>(), cy, 1e-9);
  EXPECT_NEAR(profile[3]["radius"].get<double>(), 20.0, 1e-9);
  const txhost::Object* plane = rotations[0]->RefProp("profile-sketch")->RefProp("plane");
  EXPECT_NEAR(plane->Prop("origin")[2].get<double>(), -5.0, 1e-12);
  EXPECT_EQ(txhost::model::ModelObjects(*top, {txapi::o3d_sketch}).size(), 3u);
}

TEST_F(ModellerTest, DocumentsArePickedByTypeAndNameAndReused)
{
  EXPECT_FALSE(MA.drGetPart(pTop_Part, txapi::txDocumentAssembly));
  MA.drCreate3D(false, false, T(Dir / "a.tas"), "Сборка", "СБ");
  ASSERT_TRUE(MA.R().Part);
  SmartPtr<txapi::ITavrixDocument> first = MA.R().IDoc;
  EXPECT_FALSE(MA.drGetPart(pTop_Part, txapi::txDocumentPart));
  EXPECT_FALSE(MA.GetPart());
  EXPECT_TRUE(MA.drGetPart(pNew_Part, txapi::txDocumentAssembly));
  EXPECT_TRUE(MA.IsActive(txapi::txDocumentPart, txapi::txDocumentAssembly));
  // The same name again reuses the open document.
  MA.drCreate3D(false, false, T(Dir / "a.tas"), "Сборка 2", "СБ");
  ASSERT_TRUE(MA.R().Part);
  EXPECT_TRUE(MA.R().IDoc == first);
  EXPECT_EQ(H.Documents().size(), 1u);
  // Of two documents under one name the later one is taken.
  SmartPtr<txapi::ITavrixDocument> second = H.Application().GetDocuments()->Add(txapi::txDocumentAssembly, true);
  second->SaveAs(txhost::FromPath(Dir / "a.tas"));
  EXPECT_TRUE(MA.GetOpenDocument(txapi::txDocumentAssembly, T(Dir / "a.tas")) == second);
  EXPECT_FALSE(MA.GetOpenDocument(txapi::txDocumentPart, T(Dir / "a.tas")));
  MA.drSave3D(false, true);
  EXPECT_TRUE(MA.R().IDoc);
  MA.drColor3D(0x5a5a00, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
  EXPECT_EQ(Find(MA.R().Part.get())->Prop("color")[0], 0x5a5a00);
}

// A sketch left current by one command must not reach the next (a 2D macro refuses to start
// while a sketch is set).
TEST_F(ModellerTest, EndingACommandForgetsTheSketchAndItsEditing)
{
  MA.drCreate3D(true, true, T(Dir / "p.tpt"), "", "");
  ASSERT_TRUE(MA.R().Part);
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 30, "");
  SmartPtr<txapi::ISketch> sketch = MA.R().Sketch;
  ASSERT_TRUE(sketch && MA.R().View);
  MA.drLine(0, 0, 1, 1, 1);
  ASSERT_TRUE(MA.R().LastObj && MA.R2D().CurDrawingObject);
  MA.drEndGetPart(false);
  const drApi::TRegistryApi& r = MA.R();
  EXPECT_FALSE(r.Sketch || r.Plane || r.IDoc2D || r.View || r.DrawingContainer || r.IDoc || r.Part);
  // Nor does the last object drawn stay held.
  EXPECT_FALSE(r.LastObj || MA.R2D().CurDrawingObject);
  EXPECT_FALSE(sketch->EndEdit()); // the edit was ended too
  // A second sketch without a feature in between ends the first one's edit.
  MA.drGetPart(pTop_Part, txapi::txDocumentPart);
  MA.drPlaneEskis(txapi::o3d_planeXOY, 1, 0, "");
  SmartPtr<txapi::ISketch> a = MA.R().Sketch;
  MA.drPlaneEskis(txapi::o3d_planeXOY, 2, 0, "");
  EXPECT_FALSE(a->EndEdit());
  EXPECT_FALSE(a == MA.R().Sketch);
}

// The host places what a 2D document makes by the pushes it received; without one the adapter
// places its own. A push made under one document and popped under another leaves both stacks
// as they were.
TEST_F(ModellerTest, PlacementsStayBalancedWhenTheDocumentChanges)
{
  MA.drCreate3D(true, true, T(Dir / "p.tpt"), "", "");
  ASSERT_TRUE(MA.R().Part);
  MA.drMtr(5, 0, 0, 1); // no 2D document: the adapter's own
  double x = 1, y = 1;
  GetCurveTransform()->xyMtr(x, y, x, y); // the curves follow the same frame
  EXPECT_EQ(std::pair(x, y), std::pair(6.0, 1.0));
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  const txhost::Object* editor = Find(MA.R().IDoc2D.get());
  MA.drMtr(0, 0, 90, 1);
  EXPECT_EQ(editor->Prop("placements").size(), 1u);
  MA.drEndEskis();
  MA.drDeleteMtr();
  EXPECT_EQ(editor->Prop("placements").size(), 1u); // that document is no longer drawn into
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  const txhost::Object* second = Find(MA.R().IDoc2D.get());
  MA.drDeleteMtr(); // the entry pushed with no document
  MA.drDeleteMtr(); // an empty stack does nothing
  EXPECT_EQ(MA.R2D().Transf2D.AMtr.Count, 0);
  EXPECT_TRUE(second->Prop("placements").empty());
  MA.drLine(1, 2, 3, 4, 1);
  const txhost::Object* line = Find(MA.R().LastObj.get());
  ASSERT_NE(line, nullptr);
  EXPECT_FALSE(line->Has("frame"));
}

TEST_F(ModellerTest, AuxiliaryGeometryIsRecordedInTheOpenMacro)
{
  MA.drCreate3D(true, true, T(Dir / "p.tpt"), "", "");
  ASSERT_TRUE(MA.R().Part);
  drApi::TNestedArrayOf& macros = MA.R().AMacroObject3D;
  macros.Add(SmartPtr<txapi::ITavrixAPIObject>(MA.R().Part)); // nothing open: not recorded
  macros.Push(SmartPtr<txapi::ITavrixAPIObject>(MA.R().Part));
  MA.drLine3D(TPoint3D(0, 0, 0), TPoint3D(1, 2, 3), "Ось", true);
  MA.drPoint3D(1, 1, 1, txapi::txAnnotationSymbolCross, "", false);
  SmartPtr<txapi::IModelObject> point = MA.R().Obj3D;
  macros.Push(SmartPtr<txapi::ITavrixAPIObject>()); // a macro the host refused
  MA.drPlane(txapi::o3d_planeXOZ, 3);
  EXPECT_EQ(macros.Objects().size(), 0u); // given up, not handed on
  macros.Pop();
  const auto objects = macros.Objects();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->GetName(), L"Ось");
  EXPECT_TRUE(objects[0]->GetHidden());
  EXPECT_TRUE(objects[1] == point);
  EXPECT_EQ(macros.AObjects.Count, 0);
  macros[0].reset();
  macros.Count = 0;
  MA.drPlanePerpendEdgeVertex(objects[0], point);
  EXPECT_EQ(txhost::model::TypeOf(*Find(MA.R().Plane.get())), txapi::o3d_planePerpendicular);
  EXPECT_EQ(MA.FindEntity(MA.R().Part, txapi::o3d_unknown, "Ось")->GetType(), txapi::o3d_lineSegment3D);
  EXPECT_FALSE(MA.FindEntity(MA.R().Part, txapi::o3d_point3D, "Ось"));
  EXPECT_EQ(MA.GetObjects(SmartPtr<txapi::IModelObject>(MA.R().Part), txapi::o3d_point3D).size(), 1u);
}

} // namespace

namespace {

struct TRecordedProgress : drApi::TCommandProgressLink
{
  void NextProgress(const TString& text) override { Lines.push_back("progress " + U8(text.toWideChar())); }
  void SetPrompt(const TString& text) override { Lines.push_back("prompt " + U8(text.toWideChar())); }
  std::vector<std::string> Lines;
};

// A part is reported to the running command while it is made; a rotation without an axis line
// is a feature in error.
TEST_F(ModellerTest, ProgressReachesTheRunningCommandAndFailedFeaturesAreKnown)
{
  TRecordedProgress progress;
  drApi::TCommandProgressLink* previous = drApi::TCommandProgressLink::Set(&progress);
  MA.drCreate3D(true, true, T(Dir / "p.tpt"), "Втулка", "");
  MA.Prompt("Укажите точку");
  drApi::TCommandProgressLink::Set(previous);
  MA.Progress("после");
  EXPECT_EQ(progress.Lines, (std::vector<std::string>{"progress Втулка", "prompt Укажите точку"}));

  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  MA.drLine(0, 0, 10, 0, 1);
  MA.drEndEskis();
  SmartPtr<txapi::IModelContainer> mc = MA.R().Part;
  SmartPtr<txapi::IRotated> rot = mc->GetRotateds()->Add(txapi::o3d_bossRotated);
  rot->SetProfile(SmartPtr<txapi::IModelObject>(MA.R().Sketch));
  SmartPtr<txapi::IModelObject>(rot)->Update();
  EXPECT_TRUE(drApi::ErrorEntity(SmartPtr<txapi::IModelObject>(rot)));
  EXPECT_FALSE(drApi::ErrorEntity(SmartPtr<txapi::IModelObject>(MA.R().Sketch)));
  EXPECT_FALSE(drApi::ErrorEntity(SmartPtr<txapi::IModelObject>()));
}

// Faces of a box corner: a and b share an edge, c touches neither. A split line of a and b is
// made and recorded only when the host applies it.
TEST_F(ModellerTest, FacesLinkThroughTheirEdgesAndSplitWhereTheHostAgrees)
{
  MA.drCreate3D(true, true, T(Dir / "box.tpt"), "", "");
  txhost::Object* part = Find(MA.R().Part.get());
  auto make = [&](std::string_view kind, int type) -> txhost::Object& {
    txhost::Object& o = H.Create(kind, part->Document(), part);
    o.Set("type", type);
    o.MarkApplied();
    return o;
  };
  txhost::Object& a = make(txhost::model::Face, txapi::o3d_face);
  txhost::Object& b = make(txhost::model::Face, txapi::o3d_face);
  make(txhost::model::Face, txapi::o3d_face); // c
  txhost::Object& e = make(txhost::model::Edge, txapi::o3d_edge);
  e.Set("faces", txhost::Value::array({txhost::RefValue(&a), txhost::RefValue(&b)}));
  a.Set("edges", txhost::Value::array({txhost::RefValue(&e)}));
  b.Set("edges", txhost::Value::array({txhost::RefValue(&e)}));
  const auto faces = MA.GetObjects(SmartPtr<txapi::IModelObject>(MA.R().Part), txapi::o3d_face);
  ASSERT_EQ(faces.size(), 3u);
  SmartPtr<txapi::IFace> fa = faces[0], fb = faces[1], fc = faces[2];
  EXPECT_TRUE(drApi::GetLinkEdge(fa, fb, 0));
  EXPECT_FALSE(drApi::GetLinkEdge(fa, fb, 1));
  EXPECT_FALSE(drApi::GetLinkEdge(fa, fc, 0));
  drApi::TAOfComEntity chosen;
  EXPECT_FALSE(chosen.IsLinked(fb));
  chosen.Add(faces[0]);
  EXPECT_TRUE(chosen.IsLinked(fb));
  EXPECT_FALSE(chosen.IsLinked(fc));
  SmartPtr<txapi::IModelObject> again = fa;
  EXPECT_EQ(chosen.IndexOfByEqu(again), 0);
  SmartPtr<txapi::IModelObject> other = faces[2];
  EXPECT_EQ(chosen.IndexOfByEqu(other), -1);
  chosen[0].reset();
  chosen.Count = 0;

  MA.drPlane(txapi::o3d_planeXOY, 0);
  H.GetFaults().FailUpdate(txhost::Target::OfKind(std::string(txhost::model::SplitLine)));
  MA.drSplitFaceObjects({fa, fb}, {MA.R().Plane}, txapi::dtBoth);
  EXPECT_FALSE(MA.R().Obj3D);
  H.GetFaults().Clear();
  MA.drSplitFaceObjects({fa, fb}, {MA.R().Plane}, txapi::dtBoth);
  ASSERT_TRUE(MA.R().Obj3D);
  EXPECT_EQ(Find(MA.R().Obj3D.get())->Prop("faces").size(), 2u);
}

} // namespace
