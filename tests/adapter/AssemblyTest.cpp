#include <gtest/gtest.h>

#include <cmath>

#include "AdapterSupport.h"
#include "hxcadkit/core/TPointer.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class AssemblyTest : public ::testing::Test, public HostedModeller
{
protected:
  // A part file with the given mass, saved and closed.
  std::filesystem::path SavedPart(const char* name, double mass)
  {
    const std::filesystem::path file = Dir / name;
    MA.drCreate3D(true, true, T(file), "Полумуфта", "ПМ-01");
    Find(MA.R().Part.get())->Set("mass", mass);
    MA.drSave3D(true, true);
    return file;
  }
  // The placement matrix of a component.
  std::vector<double> Matrix(const txapi::IAPIObject* component)
  {
    std::vector<double> m;
    for (const auto& v : Find(component)->Prop("placement"))
      m.push_back(v.get<double>());
    return m;
  }
};

TEST_F(AssemblyTest, ComponentsArePlacedAsAskedAndMatedByTheirPlanes)
{
  const std::filesystem::path half = SavedPart("half.tpt", 2.5);
  MA.drCreate3D(false, false, T(Dir / "coupling.tas"), "Муфта", "МУ-01");
  ASSERT_TRUE(MA.R().Part);
  const SmartPtr<txapi::IPart> top = MA.R().Part;
  MA.AddDetail(0, 0, 0, T(Dir / "missing.tpt"), false, true);
  EXPECT_FALSE(MA.R().Obj3D);
  MA.AddDetail(10, 0, 0, T(half), true, true);
  const SmartPtr<txapi::IPart> a = MA.R().Obj3D;
  MA.AddDetailAxle(100, 5, 0, T(half), -2, 0, 0, 0.1, -3, 0, true);
  const SmartPtr<txapi::IPart> b = MA.R().Obj3D;
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(MA.R().Part == top); // insertion leaves the current part
  EXPECT_EQ(a->GetName(), L"Полумуфта");
  EXPECT_EQ(a->GetMarking(), L"ПМ-01");
  // Turned round: X and Z reversed.
  EXPECT_EQ(Matrix(a.get()), (std::vector<double>{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 10, 0, 0, 1}));
  // Skewed axes give an orthonormal right-handed frame with X along the first.
  const std::vector<double> m = Matrix(b.get());
  auto dot = [&](int i, int j) { return m[i * 4] * m[j * 4] + m[i * 4 + 1] * m[j * 4 + 1] + m[i * 4 + 2] * m[j * 4 + 2]; };
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(dot(i, j), i == j ? 1.0 : 0.0, 1e-12) << i << j;
  EXPECT_NEAR(m[0], -1.0, 1e-12);
  EXPECT_NEAR(m[0 * 4 + 1] * m[1 * 4 + 2] - m[0 * 4 + 2] * m[1 * 4 + 1], m[8], 1e-12);
  EXPECT_EQ((std::vector<double>{m[12], m[13], m[14]}), (std::vector<double>{100, 5, 0}));
  // Zero axes insert nothing.
  MA.R().Obj3D.reset();
  MA.AddDetailAxle(0, 0, 0, T(half), 0, 0, 0, 0, 1, 0, true);
  EXPECT_FALSE(MA.R().Obj3D);

  SmartPtr<txapi::IModelObject> pa = a->GetDefaultEntity(txapi::o3d_planeYOZ);
  SmartPtr<txapi::IModelObject> pb = b->GetDefaultEntity(txapi::o3d_planeYOZ);
  EXPECT_FALSE(MA.drMate(txapi::mc_Distance, pa, SmartPtr<txapi::IModelObject>(), 0, 1, 5.0, ""));
  ASSERT_TRUE(MA.drMate(txapi::mc_Distance, pa, pb, 1, 1, 5.0, "-(L1)"));
  SmartPtr<txapi::IMateConstraints3D> mates = MA.R().IDoc3D->GetMateConstraints();
  ASSERT_EQ(mates->GetCount(), 1);
  SmartPtr<txapi::IMateConstraint3D> mate = mates->GetItem(0);
  EXPECT_EQ(mate->GetFixing(), 2);
  EXPECT_EQ(mate->GetDirection(), 1);
  EXPECT_EQ(SmartPtr<txapi::IFeature>(mate)->GetVariable(false, false, L"Расстояние")->GetExpression(), L"-(L1)");
  // Whichever side the object is on, its partner is found.
  EXPECT_TRUE(MA.FindMate(mates, txapi::mc_Distance, pb) == pa);
  EXPECT_TRUE(MA.FindMate(mates, txapi::mc_Distance, pa) == pb);
  EXPECT_FALSE(MA.FindMate(mates, txapi::mc_Concentric, pa));
  // A registered variable bound to the value names the distance when no expression is given.
  double gap = 3.0;
  AVariable.AddVar("Зазор", &gap, "");
  ASSERT_TRUE(MA.drMate(txapi::mc_Distance, pb, pa, 0, 0, gap, ""));
  EXPECT_EQ(SmartPtr<txapi::IFeature>(mates->GetItem(1))->GetVariable(false, false, L"Расстояние")->GetExpression(),
            L"Зазор");
  EXPECT_EQ(mates->GetItem(1)->GetFixing(), 1);
  AVariable.AVariables.Count = 0;
  MA.drClear(mates);
  EXPECT_EQ(mates->GetCount(), 0);

  MA.DeleteEntity(SmartPtr<txapi::IModelObject>(b));
  EXPECT_TRUE(txhost::model::Deleted(*Find(b.get())));
  MA.SetHidden(SmartPtr<txapi::IModelObject>(a), true);
  EXPECT_TRUE(SmartPtr<txapi::IModelObject>(a)->GetHidden());
}

// A failed insertion must not leave the assembly's own top part current, or the placement meant
// for the component would move the whole assembly.
TEST_F(AssemblyTest, AFailedInsertionLeavesNoPartToPlace)
{
  MA.drCreate3D(false, false, T(Dir / "coupling.tas"), "", "");
  const txhost::Object* top = Find(MA.R().Part.get());
  EXPECT_FALSE(MA.drCreatePartFromFile(T(Dir / "missing.tpt"), true));
  EXPECT_FALSE(MA.GetPart());
  SmartPtr<txapi::IPlacement3D> place = MA.R().IDoc3D->GetTopPart()->GetPlacement();
  std::vector<double> m = place->GetMatrix();
  m[12] = 50;
  place->SetMatrix(m);
  MA.drPartSetPlacement(place);
  EXPECT_FALSE(top->Has("placement"));

  const std::filesystem::path half = SavedPart("half.tpt", 1.0);
  MA.drGetPart(pNew_Part, txapi::txDocumentAssembly);
  SmartPtr<txapi::IPart> c = MA.drCreatePartFromFile(T(half), false);
  ASSERT_TRUE(c && MA.GetPart() == c);
  MA.drPartSetPlacement(place);
  EXPECT_EQ(Matrix(c.get())[12], 50.0);
}

// The phantom's variables go to the phantom part only; the user's model never sees them.
TEST_F(AssemblyTest, PhantomVariablesStayInThePhantom)
{
  MA.drCreate3D(false, false, T(Dir / "user.tas"), "", "");
  SmartPtr<txapi::ITavrixDocument> phantomDoc = H.Application().GetDocuments()->Add(txapi::txDocumentPart, false);
  SmartPtr<txapi::IPart> phantom = SmartPtr<txapi::ITavrixDocument3D>(phantomDoc)->GetTopPart();
  MA.drSetValue(phantom, "D", 40);
  MA.drSetValue(phantom, "D", 45);
  MA.drSetValue(phantom, "L1", 80);
  SmartPtr<txapi::IFeature> pf = phantom;
  ASSERT_EQ(pf->GetVariables(false, false).size(), 2u);
  EXPECT_EQ(pf->GetVariable(false, false, L"D")->GetValue(), 45.0);
  SmartPtr<txapi::IFeature> user = MA.R().IDoc3D->GetTopPart();
  EXPECT_TRUE(user->GetVariables(false, false).empty());
  // The document's own variables, linked to a variable document through the program variables.
  double d = 12;
  AVariable.AddVar("Диаметр", &d, "вала");
  AVariable.LinkDocName = "vars.tvd";
  AVariable.drAddLinkedVariables(&MA, true);
  AVariable.AVariables.Count = 0;
  AVariable.LinkDocName = TString();
  const auto vars = user->GetVariables(false, false);
  ASSERT_EQ(vars.size(), 1u);
  EXPECT_EQ(vars[0]->GetValue(), 12.0);
  EXPECT_EQ(vars[0]->GetComment(), L"вала");
  EXPECT_EQ(Find(vars[0].get())->Prop("link")[1], "Диаметр");
}

// The mass of a file that is not open must not cost the current document and part (they are
// restored), nor leave the file open.
TEST_F(AssemblyTest, TheMassOfAFileLeavesTheCurrentDocumentAsItWas)
{
  const std::filesystem::path half = SavedPart("half.tpt", 2.5);
  EXPECT_EQ(MA.GetMassFile(T(Dir / "missing.tpt")), 0.0);
  MA.drCreate3D(false, true, T(Dir / "work.tpt"), "", "");
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  const SmartPtr<txapi::ITavrixDocument> work = MA.R().IDoc;
  EXPECT_EQ(MA.GetMassFile(T(half)), 2.5);
  EXPECT_TRUE(MA.R().IDoc == work);
  EXPECT_TRUE(MA.R().IDoc2D && MA.R().Sketch); // the sketch is still being edited
  EXPECT_EQ(H.Documents().size(), 1u);
  Find(MA.R().Part.get())->Set("mass", 7.0);
  MA.drSave3D(false, true);
  EXPECT_EQ(MA.GetMassFile(T(Dir / "work.tpt")), 7.0); // the open one
  EXPECT_EQ(H.Documents().size(), 1u);
}

} // namespace
