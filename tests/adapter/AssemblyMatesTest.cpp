#include <gtest/gtest.h>

#include <sstream>

#include "AdapterSupport.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class AssemblyMatesTest : public ::testing::Test, public HostedModeller
{
protected:
  void SetUp() override
  {
    const std::filesystem::path half = Dir / "half.tpt";
    MA.drCreate3D(true, true, T(half), "Полумуфта", "ПМ-01");
    MA.drSave3D(true, true);
    MA.drCreate3D(false, false, T(Dir / "coupling.tas"), "Муфта", "МУ-01");
    Top = MA.R().Part;
    for (int i = 0; i < 3; ++i) {
      MA.AddDetail(0, 0, 0, T(half), false, true);
      Parts.push_back(MA.R().Obj3D);
    }
  }
  void TearDown() override { AVariable.AVariables.Count = 0; }

  // Each mate as "kind plane direction value expression", the plane being the assembly's.
  std::vector<std::string> Mates()
  {
    std::vector<std::string> out;
    SmartPtr<txapi::IMateConstraints3D> mates = MA.R().IDoc3D->GetMateConstraints();
    for (int i = 0; i < mates->GetCount(); ++i) {
      SmartPtr<txapi::IMateConstraint3D> m = mates->GetItem(i);
      const SmartPtr<txapi::IModelObject> first = m->GetFirstObject();
      std::ostringstream s;
      s << m->GetKind() << (first == Top->GetDefaultEntity(txapi::o3d_planeXOZ) ? " XOZ " : " YOZ ")
        << m->GetDirection() << ' ' << m->GetValue();
      if (SmartPtr<txapi::IFeature> f = m)
        if (SmartPtr<txapi::IVariable> v = f->GetVariable(false, false, L"Расстояние");
            v && !v->GetExpression().empty())
          s << ' ' << U8(v->GetExpression());
      out.push_back(s.str());
    }
    MA.drClear(mates);
    return out;
  }

  SmartPtr<txapi::IPart> Top;
  std::vector<SmartPtr<txapi::IPart>> Parts;
};

TEST_F(AssemblyMatesTest, RecordsAreNumberedPerDetailAndSurviveGrowth)
{
  drApi::TADetailPart list;
  const unsigned copies[] = {0, 1, 2};
  for (unsigned c : copies)
    EXPECT_EQ(list.Add(Parts[c], 7, 1).Copy, c);
  EXPECT_EQ(list.Add(Parts[0], 7, 2).Copy, 0u);
  EXPECT_TRUE(list.PfA(7, 1, 2) == Parts[2]);
  EXPECT_FALSE(list.PfA(7, 2, 1));
  EXPECT_TRUE(list.DE(7, 1, txapi::o3d_planeYOZ) == Parts[0]->GetDefaultEntity(txapi::o3d_planeYOZ));
  EXPECT_FALSE(list.DE(8, 1, txapi::o3d_planeYOZ));
  const int before = Find(Parts[1].get())->RefCount();
  for (int i = 4; i < 300; ++i)
    list.Add(Parts[1], 9, 0);
  EXPECT_EQ(list.Count, 300);
  EXPECT_TRUE(list.PfA(7, 1, 1) == Parts[1]);
  EXPECT_EQ(list[299].Copy, 295u);
  EXPECT_EQ(Find(Parts[1].get())->RefCount(), before + 296);
}

TEST_F(AssemblyMatesTest, StandardMatesFollowAxesOriginsAndVariables)
{
  double L = 10, H = 20, Z = 3;
  AVariable.AddVar("L1", &L, "length");
  AVariable.AddVar("H", &H, "height");
  const TVector3D X(1, 0, 0), mX(-1, 0, 0), Y(0, 1, 0), mY(0, -1, 0), Zv(0, 0, 1);
  struct Case { TVector3D AX, AY; double x, y; bool variables, active, part; std::vector<std::string> mates; };
  const double zero = 0.0, five = 5.0;
  const Case cases[] = {
      {X, Y, 0, 0, false, true, true, {"0 XOZ 1 0", "0 YOZ 1 0"}},
      {TVector3D(0.999995, 0, 0), mY, 0, 0, false, true, true, {"0 XOZ 1 0", "0 YOZ -1 0"}},
      {TVector3D(0.99998, 0, 0), Y, 0, 0, false, true, true, {"0 YOZ 1 0"}},
      {Zv, Y, 0, 0, false, true, true, {"0 YOZ 1 0"}},
      {X, Y, 5, 0, false, true, true, {}},
      {X, Y, 0, 0, false, false, true, {}},
      {X, Y, 0, 0, false, true, false, {}},
      {mX, Y, 0, 0, true, true, true, {"5 YOZ -1 10 -(L1)", "5 XOZ 1 20 H"}},
  };
  for (const Case& c : cases) {
    drApi::TADetailPart list;
    drApi::TDetailPart& r = list.Add(c.part ? Parts[0] : SmartPtr<txapi::IPart>(), 1, 0);
    r.ActiveMate = c.active;
    if (c.variables)
      r.SetPosition(L, H, Z, c.AX, c.AY);
    else
      r.SetPosition(c.x == 0 ? zero : five, c.y == 0 ? zero : five, Z, c.AX, c.AY);
    list.drAllMates();
    EXPECT_EQ(Mates(), c.mates) << c.AX.x << ' ' << c.x;
    // Without a document nothing is mated.
    const SmartPtr<txapi::ITavrixDocument3D> doc = MA.R().IDoc3D;
    MA.R().IDoc3D.reset();
    list.drAllMates();
    MA.R().IDoc3D = doc;
    EXPECT_TRUE(Mates().empty());
  }
}

} // namespace
