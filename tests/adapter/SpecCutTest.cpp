// Cut lines gathered in the adapter's fixed buffer, and contours drawn through the global modeller.
#include <gtest/gtest.h>

#include "Drawing2DSupport.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace {

using namespace adaptertest;
using txhost::Value;
namespace m2 = txhost::model2d;

class SpecCut : public ::testing::Test, public Drawing2D
{
protected:
  ~SpecCut() override { MA.NewCut(); }
};

// A line of n points moved by (10, 0): what the buffer and the host keep.
TEST_F(SpecCut, PointsAreStoredMovedAndBoundedByTheBuffer)
{
  MA.drMtr(10, 0, 0, 1);
  const int counts[] = {0, 1, 2, 50, 51, 1000};
  for (int n : counts) {
    const std::size_t before = Of(m2::CutLine).size();
    for (int i = 0; i < n; ++i)
      MA.ACTIf(true, i, 2 * i);
    MA.ACTIf(false, -1, -1);
    const int kept = std::min(n, drApi::CutPointSize);
    ASSERT_EQ(drApi::countCutPoint, kept) << n;
    for (int i = 0; i < kept; ++i)
      EXPECT_TRUE(drApi::CutPoint[i].x == i + 10 && drApi::CutPoint[i].y == 2 * i) << n << ' ' << i;
    MA.DrawCut("А", 1);
    EXPECT_EQ(drApi::countCutPoint, 0);
    const std::vector<txhost::Object*> cuts = Of(m2::CutLine);
    ASSERT_EQ(cuts.size(), before + (n > 0 ? 1 : 0)) << n;
    if (n == 0) continue;
    const Value& points = cuts.back()->Prop("points");
    ASSERT_EQ(points.size(), std::size_t(2 * kept)) << n;
    EXPECT_EQ(points[2 * kept - 2], kept - 1 + 10.0);
  }
  MA.drDeleteMtr();
}

TEST_F(SpecCut, ALineGatheredInsideABoundaryWaitsForIt)
{
  MA.ACT(1, 1);
  MA.ACT(5, 1);
  {
    Collecting boundary;
    MA.DrawCut("Б", -1);
    EXPECT_EQ(drApi::countCutPoint, 2);
  }
  MA.ACT(9, 1);
  MA.DrawCut("Б", -1);
  ASSERT_EQ(Of(m2::CutLine).size(), 1u);
  EXPECT_EQ(Of(m2::CutLine)[0]->Prop("points"), Value::array({1.0, 1.0, 5.0, 1.0, 9.0, 1.0}));
}

TEST_F(SpecCut, ContourItemsDrawInTheGivenStyleOrTheirOwn)
{
  drApi::TContourAPI c;
  c.Add(new TLineSeg(0, 0, 10, 0, 2));
  c.Add(new TCircle(0, 0, 5, 3));
  const std::pair<int, int> items[] = {{0, 0}, {0, 1}, {1, 0}, {2, 0}, {-1, 0}};
  for (const auto& [i, style] : items)
    c.drItem(i, style);
  std::vector<int> styles;
  for (std::string_view kind : {txhost::model::LineSegment, m2::Circle})
    for (txhost::Object* o : Of(kind))
      styles.push_back(o->Prop("style").get<int>());
  EXPECT_EQ(styles, (std::vector<int>{2, 1, 3}));
}

} // namespace

namespace {

class ViewProjections : public ::testing::Test, public HostedModeller
{
protected:
  drApi::TModelerApi& MA = drApi::MA;
};

TEST_F(ViewProjections, StandardMatrixAndKeptProjections)
{
  // No 3D document: nothing applied, the current drawing object emptied.
  MA.SaveAndSetViewProjection(txapi::txVPFront);
  EXPECT_FALSE(MA.R2D().CurDrawingObject);
  MA.drCreate3D(false, true, T(Dir / "shaft.tpt"), "Вал", "В-01");
  txhost::Object* doc = Find(MA.R().IDoc.get());
  MA.SaveAndSetViewProjection(txapi::txVPIsometric);
  txhost::Object* iso = Find(MA.R2D().CurDrawingObject.get());
  ASSERT_NE(iso, nullptr);
  EXPECT_EQ(iso->Prop("type"), 7);
  EXPECT_EQ(doc->Prop("projection"), iso->Id());
  MA.SaveAndSetViewProjection(txapi::txVPNone);
  EXPECT_FALSE(MA.R2D().CurDrawingObject);

  TMtr3D m;
  m.V[3] = 5;
  MA.CreateViewProjection(m);
  const std::vector<txhost::Object*> made = H.ObjectsOfKind("view-projection");
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[1]->Prop("matrix"), Value::parse("[1,0,0,5,0,1,0,0,0,0,1,0,0,0,0,1]"));
  EXPECT_EQ(doc->Prop("projection"), made[1]->Id());

  SmartPtr<txapi::IViewProjection> kept;
  MA.RestoreViewProjection(kept); // empty: nothing
  kept = SmartPtr<txapi::IViewProjection>::Attach(
      static_cast<txapi::IViewProjection*>(iso->QueryInterface(txapi::IViewProjection::IID)));
  MA.RestoreViewProjection(kept);
  EXPECT_FALSE(kept);
  EXPECT_EQ(doc->Prop("projection"), iso->Id());
}

} // namespace
