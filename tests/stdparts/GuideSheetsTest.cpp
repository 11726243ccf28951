// The sheets, models and previews of the guide parts, the sleeve, the stop pin, the clamp, the
// fitting and the spring, read from what they leave on the recording modeller.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

std::string U8(const TString& s)
{
  return s.Utf8Text();
}

// The texts of every call named op.
std::vector<std::string> Texts(const TRecordingModeler& m, const std::string& op)
{
  std::vector<std::string> r;
  for (const auto& c : m.Of(op))
    for (const TString& s : c.S)
      r.push_back(U8(s));
  return r;
}

bool Has(const std::vector<std::string>& v, const std::string& s)
{
  return std::find(v.begin(), v.end(), s) != v.end();
}

// A modeller that opens every sheet and part.
struct Opening : TRecordingModeler
{
  Opening()
  {
    LeafStampAnswer = true;
    NewPartPlaneAnswer = true;
  }
};

// A pillar of table-5 sizes as its owner completes it.
void Pillar(TSocketLeaderPin& p, bool thread, double key, double fixed)
{
  p.Radius = 10;
  p.FRadius = 12;
  p.OFRadius = 12;
  p.CollarRadius = 15;
  p.CollarHeight = 6;
  p.Len = 60;
  p.OFLen = 20;
  p.FLen = fixed;
  p.Key = key;
  p.ThreadRadius = thread ? 5 : 0;
  p.ThreadLen = thread ? 12 : 0;
  p.Design = true;
}

// --- Guide pillar ------------------------------------------------------------------------------

TEST(GuidePillarSheet, WithoutThreadNoViewAAndDetailA)
{
  Opening m;
  TSocketLeaderPin p(51, &m, nullptr, nullptr);
  Pillar(p, false, 0, 10);
  p.dr2D();
  EXPECT_TRUE(DrawingSound(m));
  const auto texts = Texts(m, "drText");
  EXPECT_FALSE(Has(texts, "Вид А"));
  EXPECT_TRUE(Has(texts, "А(4:1)"));
  EXPECT_EQ(m.Of("drLeafStampView1").at(0).A, (std::vector<double>{51, 0, 80, -15, 1}));

  Opening t;
  TSocketLeaderPin q(51, &t, nullptr, nullptr);
  Pillar(q, true, 26, 10);
  q.dr2D();
  EXPECT_TRUE(DrawingSound(t));
  EXPECT_TRUE(Has(Texts(t, "drText"), "Вид А"));
  EXPECT_TRUE(Has(Texts(t, "drText"), "В(4:1)"));
  // Section Б-Б and detail Г, with their callouts, beside every pillar: the flat and the guide's
  // groove need their sizes without a thread too.
  for (const Opening* o : {&m, &t}) {
    EXPECT_TRUE(Has(Texts(*o, "drText"), "Б-Б"));
    EXPECT_TRUE(Has(Texts(*o, "drCut"), "Б"));
    EXPECT_TRUE(Has(Texts(*o, "drCircleShelf"), "Г"));
  }
  // Without a thread the section's cut stands apart from the groove's callout, not beside it by the end.
  for (const auto& shelf : m.Of("drCircleShelf"))
    if (!shelf.S.empty() && U8(shelf.S[0]) == "Г") {
      for (const auto& cut : m.Of("drCut"))
        EXPECT_GE(std::fabs(cut.A.at(3) - shelf.A.at(0)), 10.0);
    }
}

TEST(GuidePillarSheet, KeyZeroMeansARoundCollar)
{
  Opening m;
  TSocketLeaderPin p(51, &m, nullptr, nullptr);
  Pillar(p, false, 0, 10);
  p.dr2D();
  EXPECT_EQ(m.Count("drWPointer"), 0);
  m.Reset();
  p.dr3D(0);
  EXPECT_EQ(m.Count("drCutExtrusion"), 1) << "the guide's flat only";
  EXPECT_TRUE(DrawingSound(m));

  Opening k;
  TSocketLeaderPin q(51, &k, nullptr, nullptr);
  Pillar(q, false, 26, 10);
  q.dr2D();
  // Without a thread there is no view A to point at.
  EXPECT_EQ(k.Count("drWPointer"), 0);
  // The collar's flats 26 apart: lines at h = sqrt(15^2 - 13^2) along the collar, both sides.
  const double h = std::sqrt(15.0 * 15.0 - 13.0 * 13.0);
  int flats = 0;
  for (const auto& c : k.Of("drLine"))
    if (std::fabs(std::fabs(c.A[1]) - h) < 1e-9 && c.A[1] == c.A[3]) ++flats;
  EXPECT_EQ(flats, 2);
  k.Reset();
  q.dr3D(0);
  EXPECT_EQ(k.Count("drCutExtrusion"), 2);
}

// The seat's groove is called out with its detail's letter, with or without a fixed part (it was
// marked "B", and only without one); without a fixed part the collar end gets its roughness.
TEST(GuidePillarSheet, TheSeatsGrooveIsCalledOutAsItsDetail)
{
  Opening m;
  TSocketLeaderPin p(51, &m, nullptr, nullptr);
  Pillar(p, false, 0, 0);
  p.dr2D();
  EXPECT_EQ(Texts(m, "drCircleShelf"), (std::vector<std::string>{"А", "А", "Г"}));
  EXPECT_TRUE(Has(Texts(m, "drRough"), "0,8"));
  Opening f;
  TSocketLeaderPin q(51, &f, nullptr, nullptr);
  Pillar(q, false, 0, 10);
  q.dr2D();
  // The fixed part's groove by the collar is the seat's, called out to the same detail.
  EXPECT_EQ(Texts(f, "drCircleShelf"), (std::vector<std::string>{"А", "А", "А", "Г"}));
}

TEST(GuidePillarModel, LeadInAndFlatFollowTheThread)
{
  for (bool thread : {false, true}) {
    Opening m;
    TSocketLeaderPin p(51, &m, nullptr, nullptr);
    Pillar(p, thread, 0, 10);
    p.dr3D(0);
    EXPECT_TRUE(DrawingSound(m));
    const auto cut = m.Of("drCutExtrusion").at(0);
    // The flat runs from the guide end to 4 short of the seat, with or without a thread.
    EXPECT_DOUBLE_EQ(cut.A[2], p.Len - 4.0);
    const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(m.SketchProfile(0)));
    EXPECT_NEAR(box.x1, -(p.Len + p.OFLen) - p.CollarHeight, 1e-9);
  }
}

TEST(GuidePillarSheet, AClosedSheetDrawsNothing)
{
  TRecordingModeler m;
  TSocketLeaderPin p(51, &m, nullptr, nullptr);
  Pillar(p, true, 26, 10);
  p.dr2D();
  p.dr3D(0);
  EXPECT_EQ(m.Count("drLeafStampView1") + m.Count("drCreate3DNewPartPlane"), 2);
  EXPECT_EQ(m.Count("drMtr") + m.Count("drCloseViewTDemCloseLeaf") + m.Count("drBaseRotate"), 0);
}

// --- Guide bush and plug -----------------------------------------------------------------------

// Whether a line runs along y between the x values.
bool LineAlong(const TRecordingModeler& m, double y, double xa, double xb)
{
  for (const auto& c : m.Curves)
    if (c.Kind == TRecordingModeler::TCurve::Line && std::fabs(c.y1 - y) < 1e-9 &&
        std::fabs(c.y2 - y) < 1e-9 && std::fabs(std::min(c.x1, c.x2) - std::min(xa, xb)) < 1e-9 &&
        std::fabs(std::max(c.x1, c.x2) - std::max(xa, xb)) < 1e-9)
      return true;
  return false;
}

TEST(GuideBushProfile, AShortGuidedLengthRelievesTheBoreInFront)
{
  TRecordingModeler m;
  TDirectPlug P(0, &m, TConstruktor::Empty());
  P.dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12.5, 15, 5, 6, 40, 25, 0, false, 0);
  // Bore guided over the last 25: relieved at 8.5 from the front's chamfer to 15.
  EXPECT_TRUE(LineAlong(m, 8.5, -4.5, 15));
  EXPECT_TRUE(LineAlong(m, 8.0, 15, 40 - 0.5));
  m.Reset();
  P.dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12.5, 15, 5, 6, 40, 50, 0, false, 0);
  EXPECT_FALSE(LineAlong(m, 8.5, -4.5, 15));
}

TEST(GuideBushProfile, WithoutCollarTheOutlineReturnsStraightToTheFrontFace)
{
  TRecordingModeler m;
  TDirectPlug P(0, &m, TConstruktor::Empty());
  P.dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12.5, 15, 0, 0, 40, 40, 0, false, 0);
  EXPECT_TRUE(DrawingSound(m));
  bool back = false;
  for (const auto& c : m.Of("drLine"))
    back = back || (c.A == std::vector<double>{3, 12.5, 0, 15, 1});
  EXPECT_TRUE(back);
  EXPECT_EQ(m.Count("drCVR"), 0);
}

// The lands either side of the V-groove and behind the collar's groove: none, or one shorter than the least
// line the modeller draws, breaks the outline; one just longer holds.
TEST(GuideBushProfile, ALandTheModellerCannotDrawIsRefused)
{
  // Collar 10, its groove ending at 13; rear chamfer from 29; V-groove 2 wide.
  const double L = 29.5, S = 10.0;
  const struct
  {
    double Xk, L;
    mould::TBushRelation Broken;
  } cases[] = {{28.0, L, mould::bsGroove},
               {28.0, L + 1e-8, mould::bsGroove},
               {28.0 - 2 * LeastLine, L, mould::bsNone},
               {14.0, L, mould::bsGroove},
               {14.0 + 1e-8, L, mould::bsGroove},
               {14.0 + 2 * LeastLine, L, mould::bsNone},
               {0.0, S + 3.5 + 1e-8, mould::bsCollarLength},
               {0.0, S + 3.5 + 2 * LeastLine, mould::bsNone}};
  for (const auto& c : cases)
    EXPECT_EQ(mould::BushBroken({8, 12.5, 15, 0, S, c.L, c.L, c.Xk}), c.Broken) << c.Xk << " " << c.L;
}

TEST(GuidePlug, AddGabInCountsTheMirroredCorners)
{
  TRecordingModeler m;
  TDirectPlug P(0, &m, TConstruktor::Empty());
  P.LD = {10, -40};
  P.RU = {60, 40};
  P.Radius = 5;
  TRect2D G(0, 0, 0, 0);
  P.AddGabIn(G, 2);
  EXPECT_EQ(G.LD.x, 0) << "no size, no extent";
  P.Design = true;
  P.AddGabIn(G, 2);
  EXPECT_EQ(G.LD.x, -67);
  EXPECT_EQ(G.LD.y, -47);
  EXPECT_EQ(G.RU.x, 67);
  EXPECT_EQ(G.RU.y, 47);
}

// Previews drawn through the base interface are the part's own.
TEST(GuidePlug, ShowThroughTheBaseDrawsThePreview)
{
  TRecordingModeler m;
  TDirectPlug P(0, &m, TConstruktor::Empty());
  P.LD = {10, -40};
  P.RU = {60, 40};
  P.Radius = 5;
  TGImage gi;
  const TDetail& d = P;
  d.Show(gi, TColor(0xFF));
  EXPECT_EQ(gi.CountLElement, 0) << "no size, no preview";
  P.Design = true;
  d.Show(gi, TColor(0xFF));
  ASSERT_EQ(gi.CountLElement, 5);
  EXPECT_EQ(gi.LElements[0].TE, eColorStyle);
  const double want[4][2] = {{60, 40}, {10, 40}, {60, -40}, {10, -40}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(gi.LElements[i + 1].xc, want[i][0]);
    EXPECT_EQ(gi.LElements[i + 1].yc, want[i][1]);
    EXPECT_EQ(gi.LElements[i + 1].R, 5);
  }
}

// --- Locating sleeve ---------------------------------------------------------------------------

TEST(LocatingSleeveSheet, AKeyAsWideAsTheCollarLeavesItRound)
{
  for (double key : {20.0, 26.0}) {
    TRecordingModeler m;
    TSocketLeaderPinLocatingSleeves s(0, &m, nullptr, nullptr);
    s.dr2D_V2(0, 0, 0, 1, key, 10, 6, 10, 5, 1, true);
    s.dr2D_Vo(0, 0, 0, 1, key, 6, 10, 1, false);
    EXPECT_TRUE(DrawingSound(m));
    EXPECT_EQ(m.Count("drArc") - 1, 0) << "the thread's arc only";
    EXPECT_EQ(m.Count("drDimHL"), 0) << "no width across flats";
  }
  TRecordingModeler f;
  TSocketLeaderPinLocatingSleeves s(0, &f, nullptr, nullptr);
  s.dr2D_V2(0, 0, 0, 1, 16, 10, 6, 10, 5, 1, true);
  EXPECT_EQ(f.Count("drDimHL"), 1);
}

TEST(LocatingSleeveSheet, TheRowSizesDrawNeitherGrooveNorItsDetail)
{
  Opening m;
  TSocketLeaderPinLocatingSleeves s(31, &m, nullptr, nullptr);
  s.Radius = s.CollarRadius = 10;
  s.Len = s.FLen = 30;
  s.FRadius = 6;
  s.ThreadLen = 12;
  s.ThreadRadius = 5;
  s.dr2D();
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_FALSE(Has(Texts(m, "drCircleShelf"), "Б")) << "no groove to mark";
  // The thread's dimension spans the thread (M10, not the collar's radius and the thread's).
  int threads = 0;
  for (const auto& c : m.Of("drDimVL2"))
    if (U8(c.S.at(0)) == "M") {
      ++threads;
      EXPECT_NEAR(std::fabs(c.A.at(6) - c.A.at(4)), 10.0, 1e-9);
      EXPECT_NEAR(std::fabs(c.A.at(0)), 10.0, 1e-9);
    }
  EXPECT_EQ(threads, 1);
  // No groove, so no detail of it either.
  EXPECT_FALSE(Has(Texts(m, "drText"), "Б(5:1)"));
  EXPECT_EQ(m.Count("drCVR"), 4) << "the relief in both halves and their hatch";
  m.Reset();
  s.dr3D(0);
  EXPECT_EQ(m.Count("drCutExtrusion"), 0) << "no pillar, no flats";
  TSocketLeaderPin pin(0, &m, nullptr, nullptr);
  pin.Key = 16;
  TSocketLeaderPinLocatingSleeves c(31, &m, &pin, nullptr);
  c.Radius = c.CollarRadius = 10;
  c.Len = 30;
  m.Reset();
  c.dr3D(0);
  EXPECT_EQ(m.Count("drCutExtrusion"), 0) << "a pillar's key, but no collar to cut it into";
  c.CollarHeight = 5;
  m.Reset();
  c.dr3D(0);
  EXPECT_EQ(m.Count("drCutExtrusion"), 1);
  EXPECT_TRUE(DrawingSound(m));
}

// --- Stop pin ----------------------------------------------------------------------------------

TEST(StopPinSheet, ItsOwnSheetAndModelDrawTheOutline)
{
  Opening m;
  TStopPin p(23, &m, nullptr);
  p.Radius = 8;
  p.CollarRadius = 12;
  p.CollarHeight = 6;
  p.Len = 30;
  p.dr2D();
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_EQ(m.Count("drDimHL"), 3 + 1) << "its three and the detail's";
  EXPECT_TRUE(Has(Texts(m, "drCircleShelf"), "А"));
  m.Reset();
  p.dr3D(0);
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_GT(TRecordingModeler::Outline(m.SketchProfile(0)).size(), 5u);
  // Other callers' detail numbers still draw nothing.
  m.Reset();
  p.dr2D_GrybkovaOpora_V1(23, 0, 0, 0, 1, 12, 8, 6, 30, 2, 1, true);
  EXPECT_TRUE(m.Calls.empty());
}

TEST(StopPinSheet, TheBareOutlineWithSizesHasNoCallout)
{
  TRecordingModeler m;
  TStopPin(0, &m, nullptr).dr2D_GrybkovaOpora_V1(0, 0, 0, 0, 1, 12, 8, 6, 30, 2, 0, true);
  EXPECT_EQ(m.Count("drCircleShelf"), 0);
  EXPECT_EQ(m.Count("drDimHL"), 3);
  EXPECT_EQ(m.Count("drRough"), 3);
}

// --- Fitting and clamp -------------------------------------------------------------------------

TEST(FittingProfile, HexagonFacesAndChamfers)
{
  TRecordingModeler m;
  TFitting f(0, &m);
  f.dr2D_Shtucer_V1(0, 0, 0, 1, 7, 6, 4.4, 3, 45, 1, false);
  const double a = std::sqrt(8.1 * 8.1 - 49.0);
  EXPECT_NEAR(a, 4.0755, 1e-4);
  // The chamfer leaves the end face at the 30 degrees its angle gives: from the flats' circle (7) to the
  // corners' (8.1) it runs 1.1 tan 30 along the axis.
  const double d = 1.1 * std::tan(std::acos(-1.0) / 6.0);
  bool edge = false;
  for (const auto& c : m.Of("drLine"))
    edge = edge || (std::fabs(c.A[0] - (d - 8.0)) < 1e-9 && c.A[2] == 0 && std::fabs(c.A[1] - a) < 1e-12);
  EXPECT_TRUE(edge) << "the face edge from e - 8 = " << d - 8.0 << " to 0";
  // Corners on the corner circle: no chamfer arcs, nothing infinite.
  TRecordingModeler e;
  TFitting(0, &e).dr2D_Shtucer_V1(0, 0, 0, 1, 8.1, 6, 4.4, 3, 45, 1, false);
  EXPECT_TRUE(DrawingSound(e));
  EXPECT_EQ(m.Count("drArc"), e.Count("drArc") + 3);
}

TEST(FittingSheet, SheetAndModel)
{
  Opening m;
  TFitting f(36, &m);
  f.dr2D();
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_TRUE(Has(Texts(m, "drDimVL"), "&04~1,25-8g"));
  m.Reset();
  f.dr3D(0);
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_EQ(m.Ops().find("drBaseRotate") < m.Ops().find("drCutExtrusion"), true);
}

TEST(ClampModel, OnlyTheCuttingSquareIsSketched)
{
  Opening m;
  TClamper c(40, &m);
  c.dr2D();
  EXPECT_EQ(m.Count("drCloseViewTDemCloseLeaf"), 1);
  EXPECT_EQ(m.Count("drLine") + m.Count("drMtr"), 0) << "an empty sheet";
  m.Reset();
  c.dr3D(0);
  EXPECT_TRUE(DrawingSound(m));
  EXPECT_EQ(m.Count("drRectAngle"), 1);
  EXPECT_EQ(m.Count("drCutExtrusion"), 2);
  const auto set = m.Of("drSet").at(0);
  EXPECT_EQ(U8(set.S[1]), "FZM");
  EXPECT_EQ(U8(set.S[2]), "FZM(SM-06020)");
  TClamper d(41, &m);
  d.Design = true;
  d.Code = 3;
  c = d;
  EXPECT_FALSE(c.Design);
  EXPECT_EQ(c.Code, 0);
}

TEST(WireSpringPart, NeitherSheetNorModelOfItsOwn)
{
  Opening m;
  TWiredSpring s(0, &m);
  s.dr2D();
  s.dr3D(0);
  EXPECT_TRUE(m.Calls.empty());
}

} // namespace

namespace {

// The flat's outline on a pillar with a seat starts on its first quarter arc, so the arc is drawn
// between two points of its circle.
TEST(GuidePillarProfile, TheFlatOutlineStartsOnItsArc)
{
  TRecordingModeler m;
  TSocketLeaderPin(0, &m, nullptr, nullptr)
      .dr2D_LeaderPin_V1(0, 0, 0, 1, 10, 12, 15, 8, 60, 20, 6, 16, 11, false, 0, 0, 0);
  int quarter = 0;
  for (const auto& c : m.Curves)
    if (c.Kind == TRecordingModeler::TCurve::Arc && std::fabs(c.r - 1.053565375285274) < 1e-9) {
      ++quarter;
      EXPECT_NEAR(std::hypot(c.x1 - c.cx, c.y1 - c.cy), c.r, 1e-9);
      EXPECT_NEAR(std::hypot(c.x2 - c.cx, c.y2 - c.cy), c.r, 1e-9);
    }
  EXPECT_EQ(quarter, 2);
}

} // namespace
