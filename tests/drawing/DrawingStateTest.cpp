#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/core/TPointer.h"

TEST(DetailCode, BitFieldsOfOneWord)
{
  const TDetailCode c(0x1234, 0x1AB, 7);
  EXPECT_EQ(c.Value(), 0x123407ABu);
  TDetailInfo di;
  di.cDetail = 95;
  di.cSuffics = 0x305;
  EXPECT_EQ(TDetailCode::Of(di).Value(), (95u << 16) | 5u);
}

TEST(DimensionList, SizePointsRestartWithOneMarker)
{
  TRecordingModeler m;
  TADimension3D list(Registrator, m, AVariable);
  list.Clear2D(TDetailCode(3, 1));
  ASSERT_EQ(list.ASizePoint.Count, 1);
  list.AddSize(TDimension3D::td2DLinear).V = 5;
  list.AddSize(TDimension3D::td2DLinear).Q = "h14";
  list.Clear2D(TDetailCode(4, 2));
  ASSERT_EQ(list.ASizePoint.Count, 1);
  const TDimension3D& d = list.ASizePoint[0];
  EXPECT_EQ(d.Type, TDimension3D::td2DFromZero);
  EXPECT_EQ(d.Detail2, TDetailCode(4, 2));
  EXPECT_TRUE(d.Q.Empty());
  EXPECT_EQ(d.V, 0.0);
  // The old records behind the count do not come back.
  EXPECT_EQ(list.AddSize(TDimension3D::td2DLinear).V, 0.0);
  EXPECT_TRUE(list.ASizePoint[1].Q.Empty());
}

TEST(DimensionList, ControlPointsNameTheirBoundVariables)
{
  TAVariable vars;
  double width = 10, height = 20, loose = 10;
  vars.AddVar("W", &width, "width");
  vars.AddVar("H", &height, "height");
  TRecordingModeler m;
  TADimension3D list(Registrator, m, vars);
  list.Add3D(1, 2, {}, &width, &height, "h14");
  list.Add3D(3, 4, {}, &loose, nullptr, "");
  ASSERT_EQ(list.Count, 2);
  EXPECT_EQ(list[0].Type, TDimension3D::tdPoint3D);
  EXPECT_EQ(list[0].O.x, 1.0);
  EXPECT_EQ(list[0].O.y, 2.0);
  EXPECT_EQ(list[0].ExpressionX, TString("W"));
  EXPECT_EQ(list[0].ExpressionY, TString("H"));
  EXPECT_EQ(list[0].Q, TString("h14"));
  EXPECT_TRUE(list[1].ExpressionX.Empty()); // an equal value at another address is no variable
  EXPECT_TRUE(list[1].ExpressionY.Empty());
  EXPECT_FALSE(list.IsParametric);

  // Without a host nothing places the dimensions; an installed link gets the list.
  struct TLink : TDimensionLink
  {
    void drDimension(const TADimension3D& l, double LX, double, TModeler3D* M) override
    {
      Seen = l.Count;
      At = LX;
      To = M;
    }
    int Seen = -1;
    double At = 0;
    TModeler3D* To = nullptr;
  } link;
  list.drDimension(5, 6, &m);
  TDimensionLink* before = TDimensionLink::Set(&link);
  list.drDimension(5, 6, &m);
  EXPECT_EQ(TDimensionLink::Set(before), &link);
  EXPECT_EQ(link.Seen, 2);
  EXPECT_EQ(link.At, 5.0);
  EXPECT_EQ(link.To, &m);

  // The program variables become model variables through the modeller.
  vars.drAddLinkedVariables(&m, false);
  EXPECT_EQ(m.Count("drAddVariable"), 0);
  vars.drAddLinkedVariables(&m, true);
  const auto made = m.Of("drAddVariable");
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[1].S[0], TString("H"));
  EXPECT_EQ(made[1].A[0], 20.0);
  EXPECT_EQ(made[1].S[1], TString("height"));
}

TEST(DrawingState, SheetCornersFormatsAndMaterials)
{
  struct Case
  {
    int format, orientation;
    double y;
  };
  for (Case c : {Case{0, 1, 810}, Case{0, 0, 1158}, Case{1, 0, 810}, Case{2, 1, 390}, Case{3, 0, 390},
                 Case{4, 1, 180}, Case{9, 0, 1158}}) {
    double x = 0, y = 0;
    TLeafSelector::Instance().GetLeafLeftUp(c.format, c.orientation, x, y);
    EXPECT_EQ(x, 40.0);
    EXPECT_EQ(y, c.y) << c.format << " " << c.orientation;
  }
  const TArrayOf<TPoint2D>& a = TLeafSelector::Instance().ASize;
  ASSERT_EQ(a.Count, 10);
  EXPECT_EQ(a[0].y, 1186.0);
  EXPECT_EQ(a[9].x, 297.0);
  EXPECT_EQ(a[9].y, 210.0);

  EXPECT_FALSE(MaterialName(0).Empty());
  EXPECT_TRUE(MaterialName(-1).Empty());
  EXPECT_TRUE(MaterialName(AMaterial.Count).Empty());

  TRecordingModeler m;
  m.drSetDC(95, 3);
  EXPECT_EQ(m.R2D().DI.cDetail, 95);
  EXPECT_EQ(m.R2D().DI.cSuffics, 3);
  EXPECT_EQ(m.Is(), mUknown);
  EXPECT_FALSE(m.drAddVariable("D", 1, ""));
}

TEST(DrawingState, PositionLeadersAndTheirEntries)
{
  TControlModel c("state", "help");
  c.Path = "/parts/";
  TRecordingModeler m;
  TPositionDetails p(&m, c);
  p.Add(1, tDetail, 3, 2, 10, 20);
  p.Add(2, tStandart, 4, 8, 30, 40);
  p.dr2D();
  EXPECT_EQ(m.Ops(), "drShelf drPoint drEndObj drSpcObject drShelf drPoint drEndObj drSpcObject");
  const auto shelves = m.Of("drShelf");
  EXPECT_EQ(shelves[0].S[0], TString("3"));
  EXPECT_EQ(m.Of("drPoint")[1].A, (std::vector<double>{30, 40}));
  const auto entries = m.Of("drSpcObject");
  EXPECT_EQ(entries[0].A, (std::vector<double>{tDetail, 3, 2}));
  EXPECT_EQ(entries[0].S[0], c.Path + c.sfDetail(1, 0));
  EXPECT_TRUE(entries[1].S[0].Empty());
  EXPECT_TRUE(DrawingSound(m));
}
