// The part classes of the first slice on the shipped tables and the recording modeller: choosing a
// standard size (with its code in the control model), the preview, copying, and the order of
// their sheets' and models' calls, names and markings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "StdPartsSupport.h"
#include "tests/core/TextBaseTestUtil.h"

namespace {

using stdtest::TPartsTest;

std::string Utf8(const TString& s)
{
  return s.Utf8Text();
}

// The row of the shipped table holding those values in those columns.
int RowOf(int table, int c1, double v1, int c2, double v2)
{
  for (int r = 1; r < ABaseDetail.SocketCount(table); ++r)
    if (ABaseDetail.ParStDet(table, r, c1) == v1 && ABaseDetail.ParStDet(table, r, c2) == v2) return r;
  return 0;
}

class StdPartsSet : public TPartsTest
{
};

TEST_F(StdPartsSet, PinTakesDiameterAndLengthAndRecordsItsCode)
{
  TPin p(3, &Md, nullptr);
  const int row = RowOf(31, 1, 6.0, 2, 20.0);
  ASSERT_NE(row, 0);
  EXPECT_EQ(p.Set(31, 3.0, 20.0), row);
  EXPECT_TRUE(p.Design);
  EXPECT_EQ(p.Code, 31000 + row);
  EXPECT_EQ(p.Radius, 3.0);
  EXPECT_EQ(p.Len, 20.0);
  EXPECT_EQ(CM.GetCodeDet(3).ID, 31);
  EXPECT_EQ(CM.GetCodeDet(3).Index, row);
  EXPECT_EQ(CM.GetCodeDet(3).Index2, 0);

  // No row: the sizes and the code stay, Design falls.
  EXPECT_EQ(p.Set(31, 0.5, 20.0), 0);
  EXPECT_FALSE(p.Design);
  EXPECT_EQ(p.Code, 31000 + row);
  EXPECT_EQ(p.Radius, 3.0);
  // A foreign table changes nothing at all.
  p.Design = true;
  EXPECT_EQ(p.Set(33, 3.0, 20.0), 0);
  EXPECT_TRUE(p.Design);
  EXPECT_EQ(p.Code, 31000 + row);
}

TEST_F(StdPartsSet, CapScrewKeysAreSignedByItsArguments)
{
  TScrew s(4, &Md, nullptr);
  const int m10 = RowOf(33, 1, 10.0, 2, 40.0), m8 = RowOf(33, 1, 8.0, 2, 40.0);
  EXPECT_EQ(s.Set(33, 5.0, 40.0), m10);
  EXPECT_EQ(s.Code, 33000 + m10);
  EXPECT_EQ(s.Radius, 5.0);
  EXPECT_EQ(s.HeadRadius, 8.0);
  EXPECT_EQ(s.HeadLen, 10.0);
  EXPECT_EQ(s.Len, 50.0); // under the head, and the head
  // Diameter 9: the column taken as given picks the smaller screw, its negative the larger.
  EXPECT_EQ(s.Set(33, 4.5, 40.0), m8);
  EXPECT_EQ(s.Set(33, -4.5, 40.0), m10);
  EXPECT_EQ(s.Radius, 5.0);
  // A zero length passes column 0: no row.
  EXPECT_EQ(s.Set(33, 5.0, 0.0), 0);
  EXPECT_FALSE(s.Design);

  const int t26 = RowOf(26, 1, 10.0, 8, 40.0);
  EXPECT_EQ(s.Set(26, 5.0, 40.0), t26);
  EXPECT_EQ(s.Code, 26000 + t26);
  EXPECT_EQ(s.HeadRadius, 8.0);
  EXPECT_EQ(s.HeadLen, 10.0);
  // The table's length is under the head there too: the screw is the head longer.
  EXPECT_EQ(s.Len, 50.0);
  EXPECT_EQ(CM.GetCodeDet(4).ID, 26);
  EXPECT_EQ(s.Set(31, 5.0, 40.0), 0);
  EXPECT_TRUE(s.Design);
}

TEST_F(StdPartsSet, SpacerScrewTakesBodyDiameterAndLengthOrARow)
{
  TDistanceScrew d(2, &Md, nullptr);
  const int row = RowOf(39, 5, 16.0, 7, 40.0);
  EXPECT_EQ(d.Set(39, 8.0, 40.0), row);
  EXPECT_EQ(d.Code, 39000 + row);
  EXPECT_EQ(d.Radius, 8.0);
  EXPECT_EQ(d.ThreadRadius, 5.0);
  EXPECT_EQ(d.ThreadLen, 15.0);
  EXPECT_EQ(d.CollarRadius, 12.0);
  EXPECT_EQ(d.CollarHeight, 6.0);
  EXPECT_EQ(d.Len, 40.0 + 6.0 + 15.0);
  EXPECT_EQ(CM.GetCodeDet(2).Index, row);

  // A foreign table or a row the table lacks takes nothing and says so.
  EXPECT_EQ(d.Set(40, 3), 0);
  EXPECT_TRUE(d.Design);
  EXPECT_EQ(d.Set(39, ABaseDetail.SocketCount(39)), 0);
  EXPECT_FALSE(d.Design);
  EXPECT_EQ(d.Code, 39000 + row);
  EXPECT_EQ(d.Set(39, 0), 0);
  EXPECT_EQ(d.Set(39, -2), 0);
  EXPECT_EQ(d.Set(39, 1), 1);
  EXPECT_EQ(d.Code, 39001);
}

// Every part class that looks a size up refuses a size that is not a number or endless in any key:
// no row, Design false, the sizes it held kept (its record unchanged but for Design).
TEST_F(StdPartsSet, SizesThatAreNotNumbersChooseNoRow)
{
  TPin pin(1, &Md, nullptr);
  TScrew screw(1, &Md, nullptr);
  TDistanceScrew spacer(1, &Md, nullptr);
  TSocketLeaderPin pillar(1, &Md, nullptr, nullptr);
  TSocketLeaderPinBushing bush(1, &Md, nullptr);
  TSocketLeaderPinLocatingSleeves sleeve(1, &Md, nullptr, nullptr);
  struct TCase
  {
    TDetail* Part;
    std::function<int(double, double, double)> Set;
    int Keys;
  };
  const TCase cases[] = {
      {&pin, [&](double a, double b, double) { return pin.Set(31, a, b); }, 2},
      {&screw, [&](double a, double b, double) { return screw.Set(33, a, b); }, 2},
      {&screw, [&](double a, double b, double) { return screw.Set(26, a, b); }, 2},
      {&spacer, [&](double a, double b, double) { return spacer.Set(39, a, b); }, 2},
      {&pillar, [&](double a, double b, double c) { return pillar.Set(5, a, b, c); }, 3},
      {&bush, [&](double a, double b, double) { return bush.Set(4, a, b); }, 2},
      {&bush, [&](double a, double b, double) { return bush.Set(2, a, b); }, 2},
      {&sleeve, [&](double a, double b, double) { return sleeve.Set(3, a, b); }, 2},
  };
  for (const TCase& c : cases) {
    for (int k = 0; k < c.Keys; ++k)
      for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        SCOPED_TRACE("key " + std::to_string(k) + " value " + std::to_string(bad));
        // A size of the table first (the pillar's and bushes' by their own keys).
        std::array<double, 3> v{};
        for (const std::array<double, 3>& t : {std::array{10.0, 40.0, 60.0}, std::array{8.0, 20.0, 60.0},
                                               std::array{15.0, 36.0, 60.0}, std::array{10.0, 30.0, 0.0}})
          if (c.Set(t[0], t[1], t[2]) != 0) {
            v = t;
            break;
          }
        ASSERT_NE(v[0], 0.0);
        c.Part->Design = false;
        const auto before = stdtest::Record(*c.Part);
        c.Part->Design = true;
        v[k] = bad;
        EXPECT_EQ(c.Set(v[0], v[1], v[2]), 0);
        EXPECT_FALSE(c.Part->Design);
        EXPECT_EQ(stdtest::Record(*c.Part), before);
      }
  }
}

TEST_F(StdPartsSet, WithoutAControlModelTheCodeIsOnlyThePart)
{
  drApi::PControlModel = nullptr;
  TPin p(3, &Md, nullptr);
  EXPECT_NE(p.Set(31, 3.0, 20.0), 0);
  EXPECT_TRUE(p.Design);
}

TEST_F(StdPartsSet, NewPartsHoldNoCodeAndNoDepth)
{
  TDistanceScrew d(2, &Md, nullptr);
  TPin p(2, &Md, nullptr);
  TScrew s(2, &Md, nullptr);
  TSetScrew z(2, &Md, TConstruktor::Empty());
  for (const TDetail* part : {static_cast<const TDetail*>(&d), static_cast<const TDetail*>(&p),
                              static_cast<const TDetail*>(&s), static_cast<const TDetail*>(&z)}) {
    EXPECT_EQ(part->Code, 0);
    EXPECT_FALSE(part->Design);
  }
  EXPECT_EQ(d.DepthHole, 0.0);
  EXPECT_EQ(*d.Execution.PInt, 0);
  ASSERT_EQ(d.Execution.Count(), 2);
  EXPECT_EQ(Utf8(d.Execution[0]), "Цельный");
  EXPECT_EQ(Utf8(d.Execution[1]), "Сборный");
}

TEST_F(StdPartsSet, CopiesTakeWhatEachClassCopies)
{
  TPin a(1, &Md, nullptr), b(1, &Md, nullptr);
  a.Set(31, 3.0, 20.0);
  a.RU = TPoint2D(50, 40);
  b = a;
  EXPECT_EQ(b.Code, a.Code);
  EXPECT_TRUE(b.Design);
  EXPECT_EQ(b.RU.x, 50.0);

  TScrew s(1, &Md, nullptr), t(1, &Md, nullptr);
  s.Set(33, 5.0, 40.0);
  t = s;
  EXPECT_EQ(t.Len, 50.0);
  EXPECT_EQ(t.Code, 0);
  EXPECT_FALSE(t.Design);

  TDistanceScrew d(1, &Md, nullptr), e(1, &Md, nullptr);
  d.Set(39, 8.0, 40.0);
  d.DepthHole = 7.0;
  *d.Execution.PInt = 1;
  d.LD = TPoint2D(-5, -6);
  e = d;
  EXPECT_EQ(e.Len, 61.0);
  EXPECT_EQ(e.LD.y, -6.0);
  EXPECT_EQ(e.DepthHole, 0.0);
  EXPECT_EQ(*e.Execution.PInt, 0);
  EXPECT_EQ(e.Code, 0);
}

TEST_F(StdPartsSet, PreviewsFourCirclesAtTheCornersOrNothing)
{
  TPin p(1, &Md, nullptr);
  p.LD = TPoint2D(-50, -40);
  p.RU = TPoint2D(50, 40);
  p.Radius = 3.0;
  TGImage none;
  p.Show(none, TColor(0xFF));
  EXPECT_EQ(none.CountLElement, 0);

  TScrew s(1, &Md, nullptr);
  s.LD = p.LD;
  s.RU = p.RU;
  for (TDetail* part : {static_cast<TDetail*>(&p), static_cast<TDetail*>(&s)}) {
    part->Design = true;
    if (part == &s) s.Radius = 5.0;
    TGImage gi;
    part->Show(gi, TColor(0xFF));
    ASSERT_EQ(gi.CountLElement, 5);
    EXPECT_EQ(gi.LElements[0].TE, eColorStyle);
    const double at[4][2] = {{50, 40}, {50, -40}, {-50, 40}, {-50, -40}};
    for (int i = 0; i < 4; ++i) {
      const TGImage::TGElement& c = gi.LElements[i + 1];
      EXPECT_EQ(c.TE, eCircle);
      EXPECT_EQ(c.xc, at[i][0]);
      EXPECT_EQ(c.yc, at[i][1]);
      EXPECT_EQ(c.R, part == &s ? 5.0 : 3.0);
    }
  }
  // The spacer screw previews nothing.
  TDistanceScrew d(1, &Md, nullptr);
  d.Design = true;
  TGImage gi;
  static_cast<TDetail&>(d).Show(gi, TColor(0xFF));
  EXPECT_EQ(gi.CountLElement, 0);
}

// --- Models and sheets on the recording modeller ------------------------------------------------

class StdPartsBuild : public TPartsTest
{
protected:
  std::vector<std::string> Ops3D() const
  {
    std::vector<std::string> out;
    for (const auto& c : Md.Calls)
      if (c.Op.rfind("drCreate", 0) == 0 || c.Op == "drBaseRotate" || c.Op == "drPlaneEskis" ||
          c.Op == "drCutExtrusion" || c.Op == "drColor3D" || c.Op == "drSet" || c.Op == "drSave3D" ||
          c.Op == "drClose3D" || c.Op == "AddDetail" || c.Op.rfind("drLeafStamp", 0) == 0 ||
          c.Op == "drCloseViewTDemCloseLeaf")
        out.push_back(c.Op);
    return out;
  }
};

TEST_F(StdPartsBuild, NothingBeyondARefusedDocument)
{
  TPin p(5, &Md, nullptr);
  TScrew s(5, &Md, nullptr);
  TDistanceScrew d(5, &Md, nullptr);
  p.Set(31, 3.0, 20.0);
  s.Set(33, 5.0, 40.0);
  d.Set(39, 8.0, 40.0);
  for (const TDetail* part :
       {static_cast<const TDetail*>(&p), static_cast<const TDetail*>(&s), static_cast<const TDetail*>(&d)}) {
    Md.Reset();
    part->dr3D(1);
    part->dr2D();
    EXPECT_EQ(Md.Count("drCreate3DNewPartPlane"), 1);
    EXPECT_EQ(Md.Calls.size(), part == &d ? 3u : 1u) << Md.Ops();
  }
  // Without a modeller nothing is called at all.
  TPin q(5, nullptr, nullptr);
  q.dr3D(1);
}

TEST_F(StdPartsBuild, PinIsARevolvedGreyPartNamedByItsSizes)
{
  Md.NewPartPlaneAnswer = true;
  TPin p(5, &Md, nullptr);
  p.Set(31, 3.0, 20.0);
  p.dr3D(1);
  EXPECT_EQ(Ops3D(), (std::vector<std::string>{"drCreate3DNewPartPlane", "drBaseRotate", "drColor3D", "drSet",
                                               "drSave3D"}));
  const auto create = Md.Of("drCreate3DNewPartPlane")[0];
  EXPECT_EQ(create.A, (std::vector<double>{5, 0, 1, 3, 0}));
  EXPECT_EQ(Md.Of("drBaseRotate")[0].A, (std::vector<double>{0, 360}));
  EXPECT_EQ(Md.Of("drColor3D")[0].A, (std::vector<double>{0x909090, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8}));
  const auto set = Md.Of("drSet")[0];
  EXPECT_EQ(Utf8(set.S[0]), "Штифт    6.00m6*  20.00 ГОСТ 3128-70");
  EXPECT_EQ(Utf8(set.S[1]), "");
  EXPECT_EQ(Utf8(set.S[2]), "");
  EXPECT_EQ(set.A[0], 25);
  EXPECT_EQ(Md.Of("drSave3D")[0].A, (std::vector<double>{1, 0}));
  EXPECT_TRUE(DrawingSound(Md));
  EXPECT_EQ(Md.Sketches(), 1);
  // The chamfer of a 6 mm pin in its table (1.2), not a fixed 1 mm; a 2 mm pin gets its 0.35.
  const auto corners = stdtest::Corners(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_NE(std::find(corners.begin(), corners.end(), std::pair(1.2, 3.0)), corners.end());
  Md.Reset();
  p.Set(31, 1.0, 10.0);
  p.dr3D(1);
  const auto small = stdtest::Corners(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_NE(std::find(small.begin(), small.end(), std::pair(0.35, 1.0)), small.end());
}

TEST_F(StdPartsBuild, CapScrewCutsItsSocketAndIsMarkedByWholeSizes)
{
  Md.NewPartPlaneAnswer = true;
  TScrew s(6, &Md, nullptr);
  s.Set(33, 5.0, 40.0);
  s.dr3D(1);
  EXPECT_EQ(Ops3D(), (std::vector<std::string>{"drCreate3DNewPartPlane", "drBaseRotate", "drPlaneEskis",
                                               "drCutExtrusion", "drColor3D", "drSet", "drSave3D"}));
  EXPECT_EQ(Md.Of("drPlaneEskis")[0].A, (std::vector<double>{1, 10, 0}));
  // The socket of M10 from the table: 8 across flats, 5 deep.
  EXPECT_EQ(Md.Of("drCutExtrusion")[0].A, (std::vector<double>{1, 0, 5, 0}));
  const auto hexagon = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(1)));
  EXPECT_NEAR(hexagon.x2 - hexagon.x1, 8.0, 1e-9);
  // Named and marked by the length under the head, which the model holds below its head.
  const auto set = Md.Of("drSet")[0];
  EXPECT_EQ(Utf8(set.S[0]), "Винт М  10.00*  40.00 ГОСТ7805-70");
  EXPECT_EQ(Utf8(set.S[2]), "SM-1040");
  EXPECT_TRUE(DrawingSound(Md));
  const auto body = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(0)));
  EXPECT_NEAR(body.x2 - body.x1, 50.0, 1e-9);

  // The thread length is the length up to 20; the whole sizes are cut, not rounded. A thread the
  // table lacks keeps the head's proportions for its socket.
  Md.Reset();
  s.Radius = 2.5;
  s.Len = 18.9;
  s.dr3D(1);
  EXPECT_EQ(Utf8(Md.Of("drSet")[0].S[2]), "SM-0508");
  Md.Reset();
  s.Radius = 4.5;
  s.dr3D(1);
  EXPECT_EQ(Md.Of("drCutExtrusion")[0].A, (std::vector<double>{1, 0, 20.0 / 3, 0}));
  Md.Reset();
  s.Radius = 5.0;
  s.Len = 50.0;
  s.dr3D(1);
  EXPECT_EQ(Utf8(Md.Of("drSet")[0].S[2]), "SM-1040");
  // Sizes from a damaged record are refused, with their reason, before any document opens.
  Md.Reset();
  s.Radius = std::nan("");
  s.Len = 1e300;
  tbtest::TMessageLog log;
  s.dr3D(1);
  EXPECT_TRUE(Md.Calls.empty()) << Md.Ops();
  EXPECT_EQ(log.Count("Недопустимые размеры: винт: "), 1);
}

TEST_F(StdPartsBuild, OnePieceSpacerRevolvesItsProfileAndCutsTheSlot)
{
  Md.NewPartPlaneAnswer = true;
  Md.LeafStampAnswer = true;
  TDistanceScrew d(7, &Md, nullptr);
  d.Set(39, 8.0, 40.0);
  d.dr2D();
  EXPECT_EQ(Ops3D(),
            (std::vector<std::string>{"drLeafStampView1", "drLeafStamp", "drCloseViewTDemCloseLeaf"}));
  EXPECT_EQ(Md.Of("drLeafStampView1")[0].A, (std::vector<double>{7, 0, 10, 0, 1}));

  Md.Reset();
  d.dr3D(1);
  EXPECT_EQ(Ops3D(), (std::vector<std::string>{"drCreate3DNewPartPlane", "drBaseRotate", "drPlaneEskis",
                                               "drCutExtrusion", "drColor3D", "drClose3D"}));
  EXPECT_EQ(Md.Of("drPlaneEskis")[0].A, (std::vector<double>{3, 12, 0}));
  EXPECT_EQ(Md.Of("drMtr")[0].A, (std::vector<double>{15 - 61, 0, 0, 1}));
  EXPECT_EQ(Md.Of("drRectAngle")[0].A, (std::vector<double>{0, -1.25, 3, 1.25, 1}));
  EXPECT_EQ(Md.Of("drCutExtrusion")[0].A, (std::vector<double>{1, 0, 24, 0}));
  EXPECT_EQ(Md.Of("drClose3D")[0].A, (std::vector<double>{1, 0}));
  // The revolve has the one-piece screw's outline: collar, body and thread, 61 long.
  const auto outline = TRecordingModeler::Outline(Md.SketchProfile(0));
  EXPECT_TRUE(TRecordingModeler::ClosedChain(outline));
  const auto box = TRecordingModeler::Box(outline);
  EXPECT_NEAR(box.x2 - box.x1, 61.0, 1e-9);
  EXPECT_NEAR(box.y2, 12.0, 1e-9);
  EXPECT_TRUE(DrawingSound(Md));
}

TEST_F(StdPartsBuild, AssembledSpacerMakesThreePartsAndPlacesThem)
{
  Md.NewPartPlaneAnswer = true;
  TDistanceScrew d(7, &Md, nullptr);
  d.Set(39, 8.0, 40.0);
  *d.Execution.PInt = 1;
  d.dr3D(1);
  EXPECT_EQ(Md.Count("drCreate3D"), 3);
  EXPECT_EQ(Md.Count("drColor3D"), 0);
  const auto adds = Md.Of("AddDetail");
  ASSERT_EQ(adds.size(), 3u);
  const double z0 = 61.0 - 6.0 - 15.0;
  EXPECT_EQ(adds[0].A, (std::vector<double>{0, 0, z0 + 3, 7, 1, 0}));
  EXPECT_EQ(adds[1].A, (std::vector<double>{0, 0, z0 + 3, 7, 2, 0}));
  EXPECT_EQ(adds[2].A, (std::vector<double>{0, 0, z0, 7, 3, 0}));
  EXPECT_EQ(Ops3D().back(), "drClose3D");
  // The spacer's own document revolves nothing: the first revolve belongs to the first part.
  const std::vector<std::string> ops = Ops3D();
  EXPECT_EQ(ops[1], "drCreate3D");
  EXPECT_TRUE(DrawingSound(Md));
  // The washer lies between the shank (5.5 for the thread's 5) and the collar (12); the bush takes the
  // M10 shank with its clearance (5.5) out to the body (8): radii, not the halves the ring's diameters
  // made of them.
  ASSERT_GE(Md.Sketches(), 3);
  const auto washer = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(Md.Sketches() - 2)));
  const auto bush = TRecordingModeler::Box(TRecordingModeler::Outline(Md.SketchProfile(Md.Sketches() - 1)));
  EXPECT_NEAR(washer.y1, 5.5, 1e-9);
  EXPECT_NEAR(washer.y2, 12.0, 1e-9);
  EXPECT_NEAR(bush.y1, 5.5, 1e-9);
  EXPECT_NEAR(bush.y2, 8.0, 1e-9);
}

} // namespace
