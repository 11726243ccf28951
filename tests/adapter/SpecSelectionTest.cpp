#include <gtest/gtest.h>

#include <climits>

#include "AdapterSupport.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using Objects = std::vector<SmartPtr<txapi::ITavrixAPIObject>>;

class SpecSelectionTest : public ::testing::Test, public HostedModeller
{
protected:
  void SetUp() override
  {
    MA.drCreate3D(false, true, T(Dir / "shaft.tpt"), "Вал", "В-01");
    Top = MA.R().Part;
  }
  void TearDown() override { drApi::Selector->End(); }
  SmartPtr<txapi::IPart> Top;
};

TEST_F(SpecSelectionTest, SelectedEntriesAreReadWithinTheHostsList)
{
  drApi::TSelectorAPI& s = *drApi::Selector;
  const SmartPtr<txapi::ITavrixAPIObject> plane(Top->GetDefaultEntity(txapi::o3d_planeXOY));
  // Nothing is held yet: every operation does nothing.
  s.Select({plane});
  s.UnChoose(plane);
  EXPECT_EQ(s.GetCount(), 0);
  EXPECT_FALSE(s.Get7(0));
  s.Begin();
  const SmartPtr<txapi::ITavrixAPIObject> doc(MA.R().IDoc3D);
  s.Select({plane, doc, SmartPtr<txapi::ITavrixAPIObject>(Top->GetDefaultEntity(txapi::o3d_planeYOZ))});
  EXPECT_EQ(s.GetCount(), 3);
  const std::pair<int, txapi::txObj3dTypeEnum> types[] = {{-1, txapi::o3d_unknown}, {0, txapi::o3d_planeXOY},
                                                          {1, txapi::o3d_unknown},  {2, txapi::o3d_planeYOZ},
                                                          {3, txapi::o3d_unknown},  {INT_MAX, txapi::o3d_unknown}};
  for (const auto& [i, type] : types) {
    EXPECT_EQ(s.GetObjectType(i), type) << i;
    EXPECT_EQ(bool(s.Get7(i)), type != txapi::o3d_unknown) << i;
  }
  s.Choose(plane);
  s.UnChoose(plane);
  EXPECT_EQ(Find(s.Choose7.get())->CallCount("UnChoose"), 1u);
}

TEST_F(SpecSelectionTest, ThreadsAreSetAndRecordedInTheOpenMacro)
{
  const SmartPtr<txapi::IModelObject> face = Top->GetDefaultEntity(txapi::o3d_planeXOY);
  const SmartPtr<txapi::IPart> part = MA.R().Part;
  MA.R().Part.reset();
  MA.drThread(face);
  EXPECT_FALSE(MA.R().Obj3D);
  MA.R().Part = part;
  drApi::TNestedArrayOf& macros = MA.R().AMacroObject3D;
  macros.Add(SmartPtr<txapi::ITavrixAPIObject>()); // with no level open nothing is recorded
  EXPECT_EQ(macros.AObjects.Count, 0);
  macros.Push(SmartPtr<txapi::ITavrixAPIObject>(part));
  macros.Push(SmartPtr<txapi::ITavrixAPIObject>(part));
  MA.drThread(face);
  ASSERT_TRUE(MA.R().Obj3D);
  txhost::Object* t = Find(MA.R().Obj3D.get());
  EXPECT_EQ(t->Prop("settings"), txhost::Value::parse("[[0,1],[1,1],[2,0]]"));
  EXPECT_EQ(t->RefProp("base"), Find(face.get()));
  ASSERT_EQ(macros.AObjects.Count, 1);
  EXPECT_EQ(macros.AObjects[0].V1, 2);
  macros.AObjects[0].V2.reset();
  macros.AObjects.Clear();
  macros[0].reset();
  macros[1].reset();
  macros.Clear();
}

TEST(AdapterGlobals, StartEmpty)
{
  EXPECT_EQ(drApi::ParametricData.Count, 0);
  EXPECT_EQ(drApi::ADP.Count, 0);
  EXPECT_FALSE(drApi::Selector->Selection7 || drApi::Selector->Choose7);
  EXPECT_EQ(MA.Is(), mAPI);
}

} // namespace
