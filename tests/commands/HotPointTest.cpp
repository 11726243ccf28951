#include "CommandTestSupport.h"

#include "hxcadkit/commands/HotPoint.h"
#include "hxcadkit/commands/TPopUpEdit.h"

#include <cmath>
#include <limits>

using namespace commands_test;

namespace {

// The pick radius is 2 / scale about the ray, whatever the ray's direction.
TEST(HotPoint, PickAtScaleFourReachesHalfAUnit)
{
  THotPoint h;
  h.Origin = TPoint3D(1, 2, 3);
  for (const TVector3D& v : {TVector3D(1, 0, 0), TVector3D(0, 1, 0), TVector3D(0, 0, 1)}) {
    const TVector3D across = TVector3D(v.y, v.z, v.x); // perpendicular to each of the three axes
    for (auto [d, hit] : {std::pair{0.5, true}, {0.51, false}}) {
      TPoint3D p = h.Origin;
      p.Move(across, d);
      p.Move(v, -7.0);
      EXPECT_EQ(h.Pick2(p, v, 4.0), hit) << d;
    }
  }
}

TEST(HotPoint, SnappingMovesByWholeSteps)
{
  struct Case
  {
    double Start, Value, Step, Result;
    bool Moved;
  };
  const THotPoint h;
  for (const Case& c : {Case{10, 10.2, 0.5, 10, false}, Case{10, 10.3, 0.5, 10.5, true}, Case{0, -0.3, 0.5, -0.5, true},
                        Case{3, 7.7, 0, 7.7, true}, Case{3, 7.7, -1, 7.7, true}}) {
    double v = c.Value;
    EXPECT_EQ(h.AllowDiskrete2(c.Start, v, c.Step), c.Moved) << c.Value;
    EXPECT_DOUBLE_EQ(v, c.Result) << c.Value;
  }
  // A value far past the int range over a tiny step snaps to a finite multiple instead of an undefined
  // conversion.
  for (double far : {1e20, -1e20, std::numeric_limits<double>::infinity()}) {
    double v = far;
    EXPECT_TRUE(h.AllowDiskrete2(0, v, 1e-9));
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(v > 0, far > 0);
  }
}

TEST(HotPoint, ProjectionAndDragFollowTheRay)
{
  THotPoint h;
  TPoint2D q(7, 7);
  EXPECT_FALSE(h.DirectPointProjection2(TPoint3D(), TVector3D(1, 1, 0), TMtr3D(), q));
  EXPECT_EQ(q.x, 7);
  ASSERT_TRUE(h.DirectPointProjection2(TPoint3D(1, 2, 3), TVector3D(0, 1, -1), TMtr3D(), q));
  EXPECT_EQ(q.x, 1);
  EXPECT_EQ(q.y, 5);
  // A marker at the origin, dragged along x: a ray through (0.6, 0, 5) looking down has moved it.
  h.Direction = TVector3D(1, 0, 0);
  EXPECT_TRUE(h.Move2(TPoint3D(0.6, 0, 5), TVector3D(0, 0, -1), TVector3D(1, 0, 0), 1));
  EXPECT_FALSE(h.Move2(TPoint3D(0.4, 3, 5), TVector3D(0, 0, -1), TVector3D(1, 0, 0), 1));
}

TEST(HotPointData, AddReactivatesTheSamePairAndAppendsNewOnes)
{
  // The registry keeps the addresses for the rest of the program.
  static double x, y, v;
  x = 1, y = 2, v = 3;
  Registrator.Announcement(9101, x, T("X"), T("Абсцисса"));
  Registrator.Announcement(9102, y, T("Y"), T("Ордината"));
  THotPointsData list;
  list.Add2D(x, y, 5);
  ASSERT_EQ(list.Count, 1);
  EXPECT_EQ(list[0].Caption, T("Ордината"));
  EXPECT_EQ(list[0][0].Comment, T("X"));
  EXPECT_EQ(list[0].Origin.z, 5);
  list.Add2DV(x, y, 0, v);
  ASSERT_EQ(list.Count, 2);
  EXPECT_EQ(list[1].Count, 3);
  list.MarkRemoved();
  x = 40;
  list.Add2D(x, y, 6);
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list[0].State, THotPointData::stActive);
  EXPECT_EQ(list[1].State, THotPointData::stRemoved);
  EXPECT_EQ(list[0].Origin.x, 1); // reactivated where it stood
  // Captions do not make two records differ.
  THotPointData d;
  d.Set(TPoint3D(), x, T("a"), y, T("b"));
  EXPECT_EQ(list.IndexData(d), 0);
}

class HotPoints : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
};

TEST_F(HotPoints, MarkersFromModelDataActivateTheFirst)
{
  TWidgetCommand c;
  THotPoints points;
  points.Editor = &c;
  points.Mesh = c.MeshDraw.V;
  points.PassiveColor = TColor(0x00FF00);
  points.ActiveColor = TColor(0x0000FF);
  THotPointsData data;
  points.fromModelData(data);
  EXPECT_EQ(points.Count, 0);
  EXPECT_FALSE(points.FindActive(TPoint3D(), TVector3D(0, 0, 1), 1));
  double a = 1, b = 2, e = 3;
  data.Add().Set(TPoint3D(0, 0, 0), a, T("a"));
  data.Add().Set(TPoint3D(10, 0, 0), b, T("b"), e, T("e"));
  EXPECT_FALSE(points.Make(THotPointData()));
  points.fromModelData(data);
  ASSERT_EQ(points.Count, 2);
  EXPECT_EQ(points.ActiveIndex, 0);
  EXPECT_EQ(int(points[0].Color), 0x0000FF);
  EXPECT_EQ(int(points[1].Color), 0x00FF00);
  const auto markers = H.ObjectsOfKind("tessellation-object");
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0]->Prop("color").get<int>(), 0x0000FF);
  // A pick at the second marker moves the activity there.
  EXPECT_TRUE(points.FindActive(TPoint3D(10, 0.3, 50), TVector3D(0, 0, -1), 4));
  EXPECT_EQ(points.ActiveIndex, 1);
  EXPECT_EQ(markers[0]->Prop("color").get<int>(), 0x00FF00);
  // Writing back into a longer list stops at the markers' count.
  data.Add().Set(TPoint3D(), a, T("third"));
  points[1].Origin.y = 9;
  points.toModelData(data);
  EXPECT_EQ(data[1].Origin.y, 9);
  EXPECT_EQ(data[2][0].Comment, T("third"));
  points.RemoveAll();
  EXPECT_EQ(points.Count, 0);
  EXPECT_EQ(c.MeshDraw.Count(), 0);
  EXPECT_EQ(Document->CallsOf("RemoveObjects").size(), 2u);
}

} // namespace

namespace {

// The phantom redraw shows each hot point as a marker; picking that marker opens the point's editor.
TEST_F(HotPoints, PickingAMarkerOpensItsEditor)
{
  THotPointsData data;
  double a = 1;
  data.Add().Set(TPoint3D(1, 2, 3), a, T("a"));
  TWidgetCommand c;
  c.AHotPoint = &data;
  c.RedrawPhantom();
  c.RedrawPhantom(); // the old marker goes, a new one comes
  EXPECT_EQ(H.ObjectsOfKind("tessellation-object").size(), 2u);
  ASSERT_NE(data[0].Id3, 0);
  txhost::Object* marker = H.Find(txhost::ObjectId(data[0].Id3));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->Prop("matrix")[12].get<double>(), 1.0);
  const auto object = txapi::SmartPtr<txapi::ITavrixAPIObject>::Attach(
      static_cast<txapi::ITavrixAPIObject*>(marker->QueryInterface(txapi::ITavrixAPIObject::IID)));
  c.Pick.Moved = true;
  EXPECT_TRUE(c.CanSelect(object));
  ASSERT_NE(c.HotPointEdit, nullptr);
  EXPECT_EQ(c.HotPointEdit->Origin3D.z, 3);
}

} // namespace
